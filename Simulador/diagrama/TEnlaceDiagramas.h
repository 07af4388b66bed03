#pragma once
// Los diagramas de las dos máquinas y lo que los une al resto de la ventana:
// cada registrador se engancha a su controlador desde el arranque (la ventana
// abierta tarde enseña la ejecución entera), la selección del diagrama y la del
// código secuencial o el reorder buffer se siguen, y un ciclo pedido en el
// diagrama lleva la máquina a ese ciclo.

#include <QObject>
#include <QPointer>
#include <memory>

#include "Simulador/control/TTipoMaquina.h"

class TControladorMaquina;
class TGestorVentanas;
class TRegistradorDiagrama;
class TRejillaCodigo;
class TfrmDiagrama;
class TfrmExeSuper;

class TEnlaceDiagramas : public QObject {
  Q_OBJECT
public:
  TEnlaceDiagramas(TControladorMaquina& controlSuper, TControladorMaquina& controlVLIW, TGestorVentanas& gestor,
                   TRejillaCodigo& codigo, QObject* padre);
  // Desengancha los registradores: debe destruirse antes que los controladores.
  ~TEnlaceDiagramas() override;

  const TRegistradorDiagrama& registrador(TTipoMaquina m) const;
  // Abre (o trae delante) el diagrama de la máquina m.
  void mostrar(TTipoMaquina m);

private:
  void conectarDiagrama(TfrmDiagrama* ventana);
  void conectarEjecucion(QWidget* vista);
  TControladorMaquina& controlador(TTipoMaquina m) const { return m == TTipoMaquina::vliw ? controlVLIW : controlSuper; }

  TControladorMaquina& controlSuper;
  TControladorMaquina& controlVLIW;
  TGestorVentanas& gestor;
  TRejillaCodigo& codigo;
  std::unique_ptr<TRegistradorDiagrama> diagramaSuper;
  std::unique_ptr<TRegistradorDiagrama> diagramaVLIW;
  // La ventana de ejecución superescalar cuya selección ya sigue el diagrama.
  QPointer<TfrmExeSuper> exeConectada;
};
