#pragma once
// Ventana de ejecución VLIW. De momento solo resume el estado de la máquina;
// las vistas de unidades, NaT y predicados se añaden aquí sin tocar la ventana
// principal, que solo llama a actualizar().

#include <QMdiSubWindow>

class QLabel;
class TMaquinaVLIW;

class TfrmExeVLIW : public QMdiSubWindow {
  Q_OBJECT
public:
  static constexpr int TEMA_AYUDA = 16;

  TfrmExeVLIW(TMaquinaVLIW& maquina, QWidget* padre = nullptr);

  // Relee la máquina; la ventana principal la llama tras cada ciclo.
  void actualizar();

  TMaquinaVLIW& maquina;

private:
  QLabel* labEstado;
};
