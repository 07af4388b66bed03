#pragma once
// Las órdenes de la planificación automática: «Planificar Automáticamente»
// (la planificación pasa a ser el programa VLIW, sin guardar) y «Comparar con
// la planificación automática» (las dos ejecutadas desde el estado actual de
// la máquina, una al lado de la otra).

#include <QObject>
#include <functional>

class QWidget;
class TCodigo;
class TControladorMaquina;
class TDocumentoVLIW;
class TOrdenesPrincipal;
class TServicioDialogos;

class TPlanificacionAutomatica : public QObject {
  Q_OBJECT
public:
  // «programa» da el programa secuencial abierto (nullptr si no hay).
  TPlanificacionAutomatica(TControladorMaquina& controlVLIW, TDocumentoVLIW& documento,
                           std::function<const TCodigo*()> programa, TServicioDialogos& dialogos, QWidget& ventana);

  void planificar();
  void comparar();
  // Sus dos órdenes del menú «Instrucciones VLIW» llegan aquí.
  void conectar(const TOrdenesPrincipal& ordenes);

signals:
  // La planificación es ya el programa VLIW: hay que enseñarla en su editor.
  void planificado();

private:
  bool disponible() const;

  TControladorMaquina& control;
  TDocumentoVLIW& documento;
  std::function<const TCodigo*()> programa;
  TServicioDialogos& dialogos;
  QWidget& ventana;
};
