#include "Simulador/diagrama/TEnlaceDiagramas.h"

#include <QItemSelectionModel>

#include "Simulador/aplicacion/TGestorVentanas.h"
#include "Simulador/codigo/TRejillaCodigo.h"
#include "Simulador/comunes/TPanelRejilla.h"
#include "Simulador/comunes/TRejillaEjecucion.h"
#include "Simulador/control/TControladorMaquina.h"
#include "Simulador/diagrama/TModeloDiagrama.h"
#include "Simulador/diagrama/TfrmDiagrama.h"
#include "Simulador/superescalar/TModeloROB.h"
#include "Simulador/superescalar/TfrmExeSuper.h"
#include "observation/TRegistradorDiagrama.h"
#include "superscalar/TEntradaROB.h"

TEnlaceDiagramas::TEnlaceDiagramas(TControladorMaquina& s, TControladorMaquina& v, TGestorVentanas& g,
                                   TRejillaCodigo& c, QObject* padre)
    : QObject(padre),
      controlSuper(s),
      controlVLIW(v),
      gestor(g),
      codigo(c),
      diagramaSuper(std::make_unique<TRegistradorDiagrama>(false)),
      diagramaVLIW(std::make_unique<TRegistradorDiagrama>(true)) {
  controlSuper.anadirObservador(diagramaSuper.get());
  controlVLIW.anadirObservador(diagramaVLIW.get());
  connect(&gestor, &TGestorVentanas::diagramaAbierto, this, &TEnlaceDiagramas::conectarDiagrama);
  // La ventana de ejecución se crea de nuevo en cada ejecución: se conecta la que haya.
  connect(&gestor, &TGestorVentanas::vistaActualizada, this, &TEnlaceDiagramas::conectarEjecucion);
}

TEnlaceDiagramas::~TEnlaceDiagramas() {
  controlSuper.quitarObservador(diagramaSuper.get());
  controlVLIW.quitarObservador(diagramaVLIW.get());
}

const TRegistradorDiagrama& TEnlaceDiagramas::registrador(TTipoMaquina m) const {
  return m == TTipoMaquina::vliw ? *diagramaVLIW : *diagramaSuper;
}

void TEnlaceDiagramas::mostrar(TTipoMaquina m) { gestor.mostrarDiagrama(m, registrador(m)); }

void TEnlaceDiagramas::conectarEjecucion(QWidget* vista) {
  // Una fila elegida en el reorder buffer marca su instrucción en el diagrama.
  auto* exe = qobject_cast<TfrmExeSuper*>(vista);
  if (!exe || exe == exeConectada) return;
  exeConectada = exe;
  connect(exe->panROB->grdRejilla->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [this, exe](const QModelIndex& actual) {
            TfrmDiagrama* d = gestor.frmDiagrama(TTipoMaquina::superescalar);
            const TEntradaROB* e = actual.isValid() ? exe->modeloROB->entrada(actual.row()) : nullptr;
            if (d && e && e->instruccion) d->seleccionarSecuencia(e->instruccion->secuencia);
          });
}

void TEnlaceDiagramas::conectarDiagrama(TfrmDiagrama* ventana) {
  connect(ventana, &TfrmDiagrama::instruccionSeleccionada, &codigo, [this, ventana](int32_t direccion) {
    if (direccion < codigo.model()->rowCount()) codigo.selectRow(direccion);
    // En vuelo, también su fila del reorder buffer.
    TfrmExeSuper* exe = gestor.frmExeSuper();
    const int64_t secuencia = ventana->modelo->secuenciaSeleccionada();
    if (!exe || ventana->modelo->registrador().esVLIW() || secuencia < 0) return;
    for (int i = 0; i < exe->modeloROB->rowCount(); ++i) {
      const TEntradaROB* e = exe->modeloROB->entrada(i);
      if (e && e->instruccion && e->instruccion->secuencia == secuencia) exe->panROB->grdRejilla->selectRow(i);
    }
  });
  connect(codigo.selectionModel(), &QItemSelectionModel::currentRowChanged, ventana,
          [ventana](const QModelIndex& actual) { ventana->resaltarInstruccion(actual.isValid() ? actual.row() : -1); });
  const QModelIndex actual = codigo.currentIndex();
  ventana->resaltarInstruccion(actual.isValid() ? actual.row() : -1);
  // Pulsar un ciclo del diagrama lleva allí a su máquina (en las dos direcciones).
  TControladorMaquina& c = controlador(ventana->modelo->registrador().esVLIW() ? TTipoMaquina::vliw
                                                                               : TTipoMaquina::superescalar);
  connect(ventana, &TfrmDiagrama::cicloPedido, &c, [&c](int32_t ciclo) { c.irACiclo(ciclo); });
}
