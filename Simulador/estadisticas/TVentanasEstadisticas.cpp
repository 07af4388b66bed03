#include "Simulador/estadisticas/TVentanasEstadisticas.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>

#include "Simulador/aplicacion/TIconos.h"
#include "Simulador/aplicacion/TOrdenesPrincipal.h"
#include "Simulador/aplicacion/TServicioDialogos.h"
#include "Simulador/control/TControladorMaquina.h"
#include "Simulador/estadisticas/TfrmComparacion.h"
#include "Simulador/estadisticas/TfrmEstadisticas.h"
#include "Simulador/estadisticas/TfrmExploracion.h"
#include "observation/TRecolectorEstadisticas.h"
#include "reports/TComprobacionResultado.h"
#include "session/TComparacionMaquinas.h"
#include "session/TSesionSuper.h"
#include "session/TSesionVLIW.h"

namespace {

// Una ejecución que no termina en tantos ciclos no se compara entera.
constexpr int64_t MAX_CICLOS = 1000000;

}  // namespace

TVentanasEstadisticas::TVentanasEstadisticas(QMdiArea& a, TControladorMaquina& superescalar,
                                             TControladorMaquina& vliw, TServicioDialogos& servicio, QWidget& v)
    : QObject(&v),
      area(a),
      ctlSuper(superescalar),
      ctlVLIW(vliw),
      dialogos(servicio),
      ventana(v),
      recSuper(std::make_unique<TRecolectorEstadisticas>(*superescalar.maquinaSuper())),
      recVLIW(std::make_unique<TRecolectorEstadisticas>(*vliw.maquinaVLIW())) {
  setObjectName(QStringLiteral("ventanasEstadisticas"));
  ctlSuper.anadirObservador(recSuper.get());
  ctlVLIW.anadirObservador(recVLIW.get());
}

TVentanasEstadisticas::~TVentanasEstadisticas() {
  destruirTodas();
  ctlSuper.quitarObservador(recSuper.get());
  ctlVLIW.quitarObservador(recVLIW.get());
}

TControladorMaquina& TVentanasEstadisticas::controlador(TTipoMaquina m) const {
  return m == TTipoMaquina::vliw ? ctlVLIW : ctlSuper;
}

const TRecolectorEstadisticas& TVentanasEstadisticas::recolector(TTipoMaquina m) const {
  return m == TTipoMaquina::vliw ? *recVLIW : *recSuper;
}

TfrmEstadisticas* TVentanasEstadisticas::frmEstadisticas(TTipoMaquina m) const {
  return m == TTipoMaquina::vliw ? estVLIW : estSuper;
}

TfrmComparacion* TVentanasEstadisticas::frmComparacion() const { return comparacion; }
TfrmExploracion* TVentanasEstadisticas::frmExploracion() const { return exploracion; }

void TVentanasEstadisticas::anadir(QMdiSubWindow* v) {
  v->setWindowIcon(TIconos::programa());
  area.addSubWindow(v);
  v->show();
  v->showNormal();
  area.setActiveSubWindow(v);
}

TfrmEstadisticas* TVentanasEstadisticas::mostrarEstadisticas(TTipoMaquina m) {
  QPointer<TfrmEstadisticas>& ranura = m == TTipoMaquina::vliw ? estVLIW : estSuper;
  if (!ranura) {
    ranura = new TfrmEstadisticas(recolector(m), controlador(m), dialogos);
    anadir(ranura);
  } else {
    ranura->showNormal();
    area.setActiveSubWindow(ranura);
  }
  return ranura;
}

TDatosIniciales TVentanasEstadisticas::datosDePartida(TTipoMaquina m, uint32_t& semilla) const {
  TControladorMaquina& c = controlador(m);
  const TSesion& s = c.sesion();
  semilla = s.semilla();
  if (s.hayEstadoInicial()) {
    if (m == TTipoMaquina::vliw) return TDatosIniciales::de(static_cast<const TSesionVLIW&>(s).estadoInicial());
    return TDatosIniciales::de(static_cast<const TSesionSuper&>(s).estadoInicial());
  }
  // Sin ejecución todavía: la que empezaría ahora.
  return c.limpiarAlIniciar() ? TDatosIniciales{} : TDatosIniciales::de(c.maquina());
}

TVeredicto TVentanasEstadisticas::comprobarResultado(TTipoMaquina m, const TCodigo& programa) {
  TControladorMaquina& c = controlador(m);
  const TSesion& s = c.sesion();
  TVeredicto v;
  if (m == TTipoMaquina::vliw && c.maquinaVLIW()->codigo.numInstrucciones == 0) {
    dialogos.mensaje(&ventana, QStringLiteral("No hay programa VLIW que comprobar"),
                     QStringLiteral("Cree o cargue un programa VLIW (Configurar, Instrucciones VLIW)."));
    return v;
  }
  if (s.estado() == estTerminada && s.hayEstadoInicial()) {
    // La ejecución de la ventana, tal como terminó.
    if (m == TTipoMaquina::vliw)
      v = TComprobacionResultado::comprobar(programa, static_cast<const TSesionVLIW&>(s).estadoInicial(),
                                            s.ediciones(), *c.maquinaVLIW(), true, recVLIW->descartadas());
    else
      v = TComprobacionResultado::comprobar(programa, static_cast<const TSesionSuper&>(s).estadoInicial(),
                                            s.ediciones(), *c.maquinaSuper(), true);
  } else {
    // Sin terminar: hasta el final en máquinas propias, sin tocar la de la ventana.
    uint32_t semilla = 0;
    const TDatosIniciales datos = datosDePartida(m, semilla);
    TComparacionMaquinas copia(programa);
    copia.configurar(TConfiguracionMaquina::de(*ctlSuper.maquinaSuper()),
                     TConfiguracionMaquina::de(static_cast<const TMaquina&>(*ctlVLIW.maquinaVLIW())));
    if (m == TTipoMaquina::vliw) {
      copia.copiarProgramaVLIW(c.maquinaVLIW()->codigo);
      copia.ejecutarVLIW(datos, semilla, MAX_CICLOS);
      if (!copia.resultadoVLIW.ejecutada) {
        dialogos.mensaje(&ventana, QString::fromStdString(copia.resultadoVLIW.motivo));
        return v;
      }
      v = copia.resultadoVLIW.veredicto;
    } else {
      copia.ejecutarSuper(datos, semilla, MAX_CICLOS);
      v = copia.resultadoSuper.veredicto;
    }
    v.avisos.insert(v.avisos.begin(), "la ejecución de la ventana no ha terminado: se ha ejecutado hasta el final "
                                      "aparte, desde los mismos datos de partida y con la misma semilla");
  }
  dialogos.mensaje(&ventana, QString::fromStdString(v.titulo()), QString::fromStdString(v.texto()));
  return v;
}

TfrmComparacion* TVentanasEstadisticas::compararMaquinas(const TCodigo& programa) {
  uint32_t semilla = 0;
  const TDatosIniciales datos = datosDePartida(TTipoMaquina::superescalar, semilla);
  auto c = std::make_unique<TComparacionMaquinas>(programa);
  c->configurar(TConfiguracionMaquina::de(*ctlSuper.maquinaSuper()),
                TConfiguracionMaquina::de(static_cast<const TMaquina&>(*ctlVLIW.maquinaVLIW())));
  c->copiarProgramaVLIW(ctlVLIW.maquinaVLIW()->codigo);
  c->ejecutar(datos, semilla, MAX_CICLOS);
  if (!comparacion) {
    comparacion = new TfrmComparacion(dialogos);
    anadir(comparacion);
  } else {
    comparacion->showNormal();
    area.setActiveSubWindow(comparacion);
  }
  comparacion->mostrar(std::move(c));
  return comparacion;
}

TfrmExploracion* TVentanasEstadisticas::mostrarExploracion(const TCodigo& programa) {
  // Una exploración nueva parte del programa y la configuración de ahora.
  if (exploracion && !exploracion->enMarcha()) {
    delete exploracion;
  } else if (exploracion) {
    exploracion->showNormal();
    area.setActiveSubWindow(exploracion);
    return exploracion;
  }
  uint32_t semilla = 0;
  const TDatosIniciales datos = datosDePartida(TTipoMaquina::superescalar, semilla);
  exploracion = new TfrmExploracion(programa, TConfiguracionMaquina::de(*ctlSuper.maquinaSuper()), datos, semilla,
                                    dialogos);
  anadir(exploracion);
  return exploracion;
}

void TVentanasEstadisticas::destruirTodas() {
  delete estSuper;
  delete estVLIW;
  delete comparacion;
  delete exploracion;
}

void TVentanasEstadisticas::conectar(const TOrdenesPrincipal& o, std::function<TTipoMaquina()> seleccionada,
                                     std::function<const TCodigo*()> programa) {
  connect(o.actVerEstadisticas, &QAction::triggered, this, [this, seleccionada] { mostrarEstadisticas(seleccionada()); });
  connect(o.actComprobar, &QAction::triggered, this, [this, seleccionada, programa] {
    if (const TCodigo* p = programa()) comprobarResultado(seleccionada(), *p);
  });
  connect(o.actComparar, &QAction::triggered, this, [this, programa] {
    if (const TCodigo* p = programa()) compararMaquinas(*p);
  });
  connect(o.actExplorar, &QAction::triggered, this, [this, programa] {
    if (const TCodigo* p = programa()) mostrarExploracion(*p);
  });
}
