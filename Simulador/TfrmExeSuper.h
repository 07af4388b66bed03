#pragma once
// Ventana de ejecución superescalar. De momento solo resume el estado de la
// máquina; las vistas de colas, ROB, estaciones y unidades se añaden aquí sin
// tocar la ventana principal, que solo llama a actualizar().

#include <QMdiSubWindow>

class QLabel;
class TMaquinaSuper;

class TfrmExeSuper : public QMdiSubWindow {
  Q_OBJECT
public:
  static constexpr int TEMA_AYUDA = 15;

  // Se crea al empezar una ejecución, con la máquina recién reseteada.
  TfrmExeSuper(TMaquinaSuper& maquina, QWidget* padre = nullptr);

  // Relee la máquina; la ventana principal la llama tras cada ciclo.
  void actualizar();

  TMaquinaSuper& maquina;

private:
  QLabel* labEstado;
};
