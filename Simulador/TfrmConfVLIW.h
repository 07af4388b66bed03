#pragma once
// Configuración de la máquina VLIW: unidades, latencias y fallo de caché. La
// ventana principal la abre, la cierra al empezar o acabar una ejecución VLIW y
// olvida su puntero cuando se destruye.

#include <QMdiSubWindow>

class TMaquinaVLIW;

class TfrmConfVLIW : public QMdiSubWindow {
  Q_OBJECT
public:
  static constexpr int TEMA_AYUDA = 13;

  TfrmConfVLIW(TMaquinaVLIW& maquina, QWidget* padre = nullptr);

  TMaquinaVLIW& maquina;
};
