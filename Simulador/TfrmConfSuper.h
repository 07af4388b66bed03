#pragma once
// Configuración de la máquina superescalar: unidades, latencias, fallo de caché
// y anchura de emisión. La ventana principal la abre, la cierra al empezar o
// acabar una ejecución superescalar y olvida su puntero cuando se destruye.

#include <QMdiSubWindow>

class TMaquinaSuper;

class TfrmConfSuper : public QMdiSubWindow {
  Q_OBJECT
public:
  static constexpr int TEMA_AYUDA = 12;

  TfrmConfSuper(TMaquinaSuper& maquina, QWidget* padre = nullptr);

  TMaquinaSuper& maquina;
};
