#pragma once
// Ventana de un componente de una máquina: registros de propósito general
// (tipo 0), de punto flotante (1) o memoria (2), con un panel editable que
// ocupa toda la ventana. La ventana principal la crea sobre la máquina
// seleccionada y llama a actualizar() tras cada ciclo.

#include <QMdiSubWindow>

class TEdicionMaquina;
class TMaquina;
class TServicioDialogos;
class TdlgIntervalo;
class TfrmSelecMaquina;

class TfrmComponente : public QMdiSubWindow {
  Q_OBJECT
public:
  static constexpr int TEMA_AYUDA = 14;
  enum Tipo { GPR = 0, FPR = 1, MEMORIA = 2 };

  // La máquina, sus ediciones, «dialogos» y «dlgIntervalo» deben vivir más que
  // la ventana (la ventana principal destruye sus ventanas hijas antes que las máquinas).
  TfrmComponente(const TMaquina& maquina, TEdicionMaquina& ediciones, int tipo, TServicioDialogos& dialogos,
                 TdlgIntervalo& dlgIntervalo, QWidget* padre = nullptr);

  // Vuelve a leer los valores de la máquina (refrescar del panel).
  void actualizar();

  const TMaquina& maquina;
  const int tipo;
  TfrmSelecMaquina* frmSelec;
};
