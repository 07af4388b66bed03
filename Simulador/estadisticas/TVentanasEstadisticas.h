#pragma once
// Las estadísticas en la ventana principal: un recolector por máquina,
// enganchado a su controlador desde el principio (registra siempre, aunque no
// haya ventana), las ventanas «Estadísticas» de cada máquina, «Comparar
// máquinas» y «Explorar configuración», y la orden «Comprobar resultado».

#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>

#include "Simulador/control/TTipoMaquina.h"
#include "reports/TComprobacionResultado.h"

class QMdiArea;
class QMdiSubWindow;
class QWidget;
class TCodigo;
class TOrdenesPrincipal;
class TControladorMaquina;
class TRecolectorEstadisticas;
class TServicioDialogos;
class TfrmComparacion;
class TfrmEstadisticas;
class TfrmExploracion;
struct TDatosIniciales;

class TVentanasEstadisticas : public QObject {
  Q_OBJECT
public:
  // Todo lo que se le da vive más que este objeto.
  TVentanasEstadisticas(QMdiArea& area, TControladorMaquina& superescalar, TControladorMaquina& vliw,
                        TServicioDialogos& dialogos, QWidget& ventana);
  ~TVentanasEstadisticas() override;

  const TRecolectorEstadisticas& recolector(TTipoMaquina m) const;
  TfrmEstadisticas* frmEstadisticas(TTipoMaquina m) const;
  TfrmComparacion* frmComparacion() const;
  TfrmExploracion* frmExploracion() const;

  // «Estadísticas», «Comprobar resultado», «Comparar máquinas» y «Explorar
  // configuración...» llegan aquí; «seleccionada» da la máquina de la ventana
  // principal y «programa» el programa abierto (nullptr si no hay).
  void conectar(const TOrdenesPrincipal& ordenes, std::function<TTipoMaquina()> seleccionada,
                std::function<const TCodigo*()> programa);

  // La ventana de estadísticas de la máquina m, creada si no existe y delante.
  TfrmEstadisticas* mostrarEstadisticas(TTipoMaquina m);
  // El programa secuencial frente a la ejecución de la máquina m: la terminada
  // si la hay; si no, una ejecución hasta el final en una máquina propia desde
  // los mismos datos de partida y la misma semilla. Enseña el veredicto.
  TVeredicto comprobarResultado(TTipoMaquina m, const TCodigo& programa);
  // Las dos máquinas con su configuración actual, sin ventanas; enseña el resultado.
  TfrmComparacion* compararMaquinas(const TCodigo& programa);
  // La ventana de exploración sobre el programa y la configuración superescalar actuales.
  TfrmExploracion* mostrarExploracion(const TCodigo& programa);

  // Destruye las ventanas (leen las máquinas): antes que ellas.
  void destruirTodas();

private:
  TControladorMaquina& controlador(TTipoMaquina m) const;
  // Los registros y la memoria con que empezó (o empezaría) la ejecución de m, y su semilla.
  TDatosIniciales datosDePartida(TTipoMaquina m, uint32_t& semilla) const;
  void anadir(QMdiSubWindow* ventana);

  QMdiArea& area;
  TControladorMaquina& ctlSuper;
  TControladorMaquina& ctlVLIW;
  TServicioDialogos& dialogos;
  QWidget& ventana;
  std::unique_ptr<TRecolectorEstadisticas> recSuper;
  std::unique_ptr<TRecolectorEstadisticas> recVLIW;
  QPointer<TfrmEstadisticas> estSuper;
  QPointer<TfrmEstadisticas> estVLIW;
  QPointer<TfrmComparacion> comparacion;
  QPointer<TfrmExploracion> exploracion;
};
