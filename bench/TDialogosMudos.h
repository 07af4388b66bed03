#pragma once
// El servicio de diálogos de las medidas de ventanas: ninguna pregunta se
// responde que sí y ningún diálogo se abre. Un mensaje no debería salir
// nunca en una medida: si sale, se dice.

#include <QColor>
#include <QString>
#include <cstdio>
#include <optional>

#include "Simulador/aplicacion/TServicioDialogos.h"

class TDialogosMudos : public TServicioDialogos {
public:
  void mensaje(QWidget*, const QString& texto, const QString&) override {
    std::fprintf(stderr, "mensaje inesperado: %s\n", qPrintable(texto));
  }
  bool confirmar(QWidget*, const QString&) override { return false; }
  TRespuestaCambios preguntarCambios(QWidget*, const QString&, const QString&, const QString&) override {
    return TRespuestaCambios::cancelar;
  }
  QString abrirFichero(QWidget*, const QString&, const QString&) override { return {}; }
  QString guardarFichero(QWidget*, const QString&, const QString&, const QString&) override { return {}; }
  std::optional<QColor> elegirColor(QWidget*, const QColor&) override { return std::nullopt; }
  int pedirCantidad(QWidget*, const QString&, const QString&, int, int, int, int&) override { return RESULTADO_CANCELAR; }
  int preguntarGuardarCambio(QWidget*) override { return RESULTADO_CANCELAR; }
  int ejecutarModal(QDialog&) override { return RESULTADO_CANCELAR; }
};
