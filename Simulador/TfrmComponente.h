#pragma once
// Ventana de un componente de la máquina seleccionada: registros de propósito
// general (tipo 0), de punto flotante (1) o memoria (2). De momento solo
// resume; el panel editable se añade aquí sin tocar la ventana principal, que
// la crea sobre una máquina y llama a actualizar() tras cada ciclo.

#include <QMdiSubWindow>

class QLabel;
class TMaquina;

class TfrmComponente : public QMdiSubWindow {
  Q_OBJECT
public:
  static constexpr int TEMA_AYUDA = 14;
  enum Tipo { GPR = 0, FPR = 1, MEMORIA = 2 };

  TfrmComponente(TMaquina& maquina, int tipo, QWidget* padre = nullptr);

  void actualizar();

  TMaquina& maquina;
  const int tipo;

private:
  QLabel* labValores;
};
