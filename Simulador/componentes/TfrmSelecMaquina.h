#pragma once
// Panel editable de los registros enteros (tipo 0), los de punto flotante (1)
// o la memoria (2) de una máquina. «Guardar cambios» pide que se escriban en
// la máquina solo las filas que el usuario ha editado, y solo si todas convierten.

#include "Simulador/componentes/TfrmSelec.h"

class TEdicionMaquina;
class TMaquina;

class TfrmSelecMaquina : public TfrmSelec {
  Q_OBJECT
public:
  static constexpr int GPR = 0;
  static constexpr int FPR = 1;
  static constexpr int MEMORIA = 2;
  static const char* const MENSAJE_INVALIDO;

  TfrmSelecMaquina(TServicioDialogos& dialogos, TdlgIntervalo& dlgIntervalo, QWidget* padre = nullptr);

  // Enlaza con la máquina, que se lee, y con quien escribe en ella (los dos
  // viven más que el panel), y muestra.
  void asignar(const TMaquina& maquina, TEdicionMaquina& ediciones, int tipo);

  // Texto de cero de la columna de valores de este tipo.
  QString textoCero() const;
  // El texto convierte al tipo del panel.
  bool convierte(const QString& texto) const;

  const TMaquina* maquina = nullptr;
  TEdicionMaquina* ediciones = nullptr;
  int tipo = GPR;
  QString prefijo;

public slots:
  void butAceptarClick() override;
  void butResetClick() override;

protected:
  QString nombreElemento(int32_t i) const override;
  QString valorElemento(int32_t i) const override;
  bool celdaActualValida() override;
};
