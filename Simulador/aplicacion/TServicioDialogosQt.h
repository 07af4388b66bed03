#pragma once
// Los diálogos de verdad: los de Qt y los propios de Orvex.

#include "Simulador/aplicacion/TServicioDialogos.h"

class TServicioDialogosQt : public TServicioDialogos {
public:
  void mensaje(QWidget* padre, const QString& texto, const QString& detalle) override;
  bool confirmar(QWidget* padre, const QString& pregunta) override;
  TRespuestaCambios preguntarCambios(QWidget* padre, const QString& pregunta, const QString& guardar,
                                     const QString& descartar) override;
  QString abrirFichero(QWidget* padre, const QString& filtro, const QString& carpeta = QString()) override;
  QString guardarFichero(QWidget* padre, const QString& filtro, const QString& sufijo,
                         const QString& carpeta = QString()) override;
  std::optional<QColor> elegirColor(QWidget* padre, const QColor& inicial) override;
  int pedirCantidad(QWidget* padre, const QString& titulo, const QString& texto, int valor, int minimo,
                    int maximo, int& cantidad) override;
  int preguntarGuardarCambio(QWidget* padre) override;
  int ejecutarModal(QDialog& dialogo) override;
};
