#include "Simulador/vliw/TPlanificacionAutomatica.h"

#include <QAction>

#include "Simulador/aplicacion/TOrdenesPrincipal.h"
#include "Simulador/aplicacion/TServicioDialogos.h"
#include "Simulador/control/TControladorMaquina.h"
#include "Simulador/control/TDocumentoVLIW.h"
#include "Simulador/vliw/TdlgComparacionVLIW.h"
#include "session/TComparacionPlanificacion.h"
#include "session/TSesion.h"

TPlanificacionAutomatica::TPlanificacionAutomatica(TControladorMaquina& c, TDocumentoVLIW& d,
                                                   std::function<const TCodigo*()> p, TServicioDialogos& s,
                                                   QWidget& v)
    : QObject(&v), control(c), documento(d), programa(std::move(p)), dialogos(s), ventana(v) {}

void TPlanificacionAutomatica::conectar(const TOrdenesPrincipal& o) {
  connect(o.actPlanificarVLIW, &QAction::triggered, this, &TPlanificacionAutomatica::planificar);
  connect(o.actCompararVLIW, &QAction::triggered, this, &TPlanificacionAutomatica::comparar);
}

bool TPlanificacionAutomatica::disponible() const { return programa() && !control.enEjecucion(); }

void TPlanificacionAutomatica::planificar() {
  if (disponible() && documento.planificar(*programa())) emit planificado();
}

void TPlanificacionAutomatica::comparar() {
  // Como al ejecutar: sin programa VLIW, o con ediciones sin aceptar, se dice antes.
  if (!disponible() || !documento.listoParaEjecutar()) return;
  const TMaquinaVLIW* maquina = control.maquinaVLIW();
  if (!maquina) return;
  TComparacionPlanificacion comparacion;
  comparacion.comparar(*maquina, *programa(), control.limpiarAlIniciar(), control.sesion().semilla());
  TdlgComparacionVLIW dialogo(&ventana);
  dialogo.mostrar(comparacion);
  dialogos.ejecutarModal(dialogo);
}
