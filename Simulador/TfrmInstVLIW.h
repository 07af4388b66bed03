#pragma once
// Editor de instrucciones largas. De momento solo lleva lo que usa la ventana
// principal: el estado «con cambios sin aceptar» (el botón Guardar
// deshabilitado), el bloqueo durante una ejecución VLIW y el resaltado de la
// instrucción emitida. La rejilla de edición se añade aquí.

#include <QMdiSubWindow>

class QLabel;
class QPushButton;
class TCodigo;
class TMaquinaVLIW;

class TfrmInstVLIW : public QMdiSubWindow {
  Q_OBJECT
public:
  static constexpr int TEMA_AYUDA = 21;

  // El programa secuencial debe vivir mientras viva el editor: la ventana
  // principal cierra el editor antes de sustituirlo.
  TfrmInstVLIW(const TCodigo& codigo, TMaquinaVLIW& maquina, QWidget* padre = nullptr);

  // Descarta las ediciones sin aceptar y vuelve a mostrar el programa VLIW.
  void refrescar();
  // Guarda las ediciones en el programa VLIW de la máquina.
  void aplicarCambios();
  // Bloquea (true) o desbloquea la edición mientras la máquina VLIW ejecuta.
  void bloquearEdicion(bool enEjecucion);
  // Resalta la instrucción larga que la máquina acaba de emitir.
  void mostrarInstruccionActual();
  // Hay ediciones sin aceptar: exactamente cuando «Guardar» está deshabilitado.
  bool cambiosPendientes() const;
  bool edicionBloqueada() const;

  const TCodigo& codigo;
  TMaquinaVLIW& maquina;
  QPushButton* butGuardar;
  int filaActual = -1;  // fila de la rejilla resaltada (pc), -1 si ninguna

protected:
  // Mientras la máquina VLIW ejecuta, cerrar solo minimiza.
  void closeEvent(QCloseEvent* evento) override;

private:
  QLabel* labEstado;
  QWidget* contenido;
};
