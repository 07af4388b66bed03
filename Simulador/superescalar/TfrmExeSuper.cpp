#include "Simulador/superescalar/TfrmExeSuper.h"

#include <QEvent>
#include <QHeaderView>
#include <QLabel>
#include <QSplitter>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "Simulador/aplicacion/TServicioDialogos.h"
#include "Simulador/componentes/TRejillaSelec.h"
#include "Simulador/componentes/TfrmSelecROBReg.h"
#include "Simulador/comunes/TColumnaVistas.h"
#include "Simulador/comunes/TPanelRejilla.h"
#include "Simulador/comunes/TRejillaEjecucion.h"
#include "Simulador/comunes/TVistaInstruccion.h"
#include "Simulador/comunes/TfrmUF.h"
#include "Simulador/control/TEdicionMaquina.h"
#include "Simulador/superescalar/TModeloCola.h"
#include "Simulador/superescalar/TModeloPrediccion.h"
#include "Simulador/superescalar/TModeloROB.h"
#include "Simulador/superescalar/TfrmER.h"
#include "superscalar/TMaquinaSuper.h"

namespace {

QString nombreTipo(int t) { return QString::fromStdString(nombresTipoUF[static_cast<size_t>(t)]); }

}  // namespace

TfrmExeSuper::TfrmExeSuper(const TMaquinaSuper& m, TEdicionMaquina& e, TServicioDialogos& d,
                           TdlgIntervalo& dlgIntervalo, QTimer* timer, QWidget* padre)
    : QMdiSubWindow(padre), maquina(m), ediciones(e), dialogos(d), temporizador(timer) {
  setObjectName(QStringLiteral("frmExeSuper"));
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(QStringLiteral("Ejecución Superescalar"));
  setProperty("temaAyuda", TEMA_AYUDA);

  // ---- zona izquierda: colas, renombrado y predicción, reorder buffer
  panPrefetch = new TPanelRejilla(QStringLiteral("Prefetch"), QStringLiteral("Unidad de Prefetch"));
  panPrefetch->setObjectName(QStringLiteral("panPrefetch"));
  modeloPrefetch = new TModeloCola(maquina, TModeloCola::Prefetch, this);
  panPrefetch->setModelo(modeloPrefetch);
  panDecoder = new TPanelRejilla(QStringLiteral("Decodificador"), QStringLiteral("Decodificador"));
  panDecoder->setObjectName(QStringLiteral("panDecoder"));
  modeloDecoder = new TModeloCola(maquina, TModeloCola::Decodificador, this);
  panDecoder->setModelo(modeloDecoder);
  for (TPanelRejilla* p : {panPrefetch, panDecoder}) {
    p->grdRejilla->horizontalHeader()->hide();
    p->grdRejilla->horizontalHeader()->setStretchLastSection(true);
  }

  frmSelecROBGPR = new TfrmSelecROBReg(dialogos, dlgIntervalo);
  frmSelecROBGPR->setObjectName(QStringLiteral("frmSelecROBGPR"));
  frmSelecROBGPR->asignar(
      [this](int32_t i) { return i >= 0 && i < NUM_REGISTROS ? maquina.robGPR[static_cast<size_t>(i)] : -1; },
      NUM_REGISTROS, QStringLiteral("ROB<->GPR"),
      [this](int32_t i) { return i >= 0 && i < NUM_REGISTROS && maquina.gpr.pendiente[static_cast<size_t>(i)]; });
  frmSelecROBFPR = new TfrmSelecROBReg(dialogos, dlgIntervalo);
  frmSelecROBFPR->setObjectName(QStringLiteral("frmSelecROBFPR"));
  frmSelecROBFPR->asignar(
      [this](int32_t i) { return i >= 0 && i < NUM_REGISTROS ? maquina.robFPR[static_cast<size_t>(i)] : -1; },
      NUM_REGISTROS, QStringLiteral("ROB<->FPR"),
      [this](int32_t i) { return i >= 0 && i < NUM_REGISTROS && maquina.fpr.pendiente[static_cast<size_t>(i)]; });

  panPrediccion = new TPanelRejilla(QStringLiteral("Predicción Salto"), QStringLiteral("Tabla de Predicción de Salto"));
  panPrediccion->setObjectName(QStringLiteral("panPrediccion"));
  modeloPrediccion = new TModeloPrediccion(maquina, this);
  panPrediccion->setModelo(modeloPrediccion);
  panPrediccion->grdRejilla->verticalHeader()->show();
  panPrediccion->grdRejilla->setTextoEsquina(QStringLiteral("Dir."));
  panPrediccion->grdRejilla->ajustarColumnas(48);
  panPrediccion->grdRejilla->horizontalHeader()->setStretchLastSection(true);

  panROB = new TPanelRejilla(QStringLiteral("Reorder Buffer"), QStringLiteral("Reorder Buffer"));
  panROB->setObjectName(QStringLiteral("panROB"));
  modeloROB = new TModeloROB(maquina, this);
  panROB->setModelo(modeloROB);
  TRejillaEjecucion* rob = panROB->grdRejilla;
  rob->setSelectionBehavior(QAbstractItemView::SelectRows);
  rob->verticalHeader()->show();
  rob->setTextoEsquina(QStringLiteral("Nº"));
  rob->ajustarColumnas(44);
  rob->fijarAnchoColumna(TModeloROB::ColValor, 112);
  rob->horizontalHeader()->setStretchLastSection(true);
  connect(rob, &TRejillaEjecucion::dobleClicFila, this, &TfrmExeSuper::colorearFila);

  auto* filaColas = new QSplitter(Qt::Horizontal);
  filaColas->setChildrenCollapsible(false);
  filaColas->addWidget(panPrefetch);
  filaColas->addWidget(panDecoder);
  auto* filaTablas = new QSplitter(Qt::Horizontal);
  filaTablas->setChildrenCollapsible(false);
  filaTablas->addWidget(frmSelecROBGPR);
  filaTablas->addWidget(frmSelecROBFPR);
  filaTablas->addWidget(panPrediccion);
  izquierda = new QSplitter(Qt::Vertical);
  izquierda->setChildrenCollapsible(false);
  izquierda->addWidget(filaColas);
  izquierda->addWidget(filaTablas);
  izquierda->addWidget(panROB);
  izquierda->setStretchFactor(2, 1);

  // ---- columna central: estaciones de reserva; derecha: unidades funcionales
  colER = new TColumnaVistas;
  colUF = new TColumnaVistas;
  for (int t = 0; t < NUM_TIPOS_UF; ++t) {
    frmER[static_cast<size_t>(t)] = new TfrmER(maquina, t);
    colER->anadir(frmER[static_cast<size_t>(t)]);
    auto* uf = new TfrmUF([this, t]() -> const std::vector<TUnidadFuncional>& { return maquina.uf[static_cast<size_t>(t)]; },
                          t, nombreTipo(t));
    uf->setObjectName(QStringLiteral("frmUF%1").arg(t));
    frmUF[static_cast<size_t>(t)] = uf;
    colUF->anadir(uf);
  }
  // Las unidades de direcciones llevan el tipo 0 en la pista.
  frmALUDir = new TfrmUF([this]() -> const std::vector<TUnidadFuncional>& { return maquina.aluDir; }, tufSumaEntera,
                         QStringLiteral("ALU Dir."));
  frmALUDir->setObjectName(QStringLiteral("frmALUDir"));
  colUF->anadir(frmALUDir);

  auto* principal = new QSplitter(Qt::Horizontal);
  principal->setObjectName(QStringLiteral("splPrincipal"));
  principal->setChildrenCollapsible(false);
  principal->addWidget(izquierda);
  principal->addWidget(TColumnaVistas::conTitulo(QStringLiteral("E. R."), QStringLiteral("Estaciones de Reserva"), colER));
  principal->addWidget(TColumnaVistas::conTitulo(QStringLiteral("U. F."), QStringLiteral("Unidades Funcionales"), colUF));
  principal->setStretchFactor(0, 3);
  principal->setStretchFactor(1, 4);
  principal->setStretchFactor(2, 2);
  // Sin esto el mínimo de la ventana sería la suma de los de todas sus rejillas,
  // y el área de ventanas (que respeta el mínimo de cada hija) crecería más
  // allá de la ventana principal.
  principal->setMinimumSize(160, 120);
  setWidget(principal);
  resize(900, 600);

  // Anchos iniciales de las zonas; los altos, cuando la zona tenga el suyo.
  filaColas->setSizes({180, 180});
  filaTablas->setSizes({120, 120, 120});
  principal->setSizes({360, 420, 220});
  izquierda->installEventFilter(this);
}

void TfrmExeSuper::repartirAltos() {
  const int total = izquierda->height() - 2 * izquierda->handleWidth();
  const int altoTablas = frmSelecROBGPR->grdSelec->altoFila() * 9 + 2 * TPanelRejilla::ALTO_TITULO + 8;
  const int resto = std::max(0, total - altoTablas);
  // Con una emisión ancha las colas tienen decenas de filas: se desplazan y el
  // reorder buffer, que es lo que más se mira, conserva su sitio.
  const int altoColas = std::min(panPrefetch->alturaCompleta(), resto / 2);
  izquierda->setSizes({altoColas, altoTablas, std::max(0, resto - altoColas)});
}

bool TfrmExeSuper::eventFilter(QObject* objeto, QEvent* evento) {
  // Una vez, con el primer alto de verdad; después, lo que el usuario arrastre.
  if (objeto == izquierda && evento->type() == QEvent::Resize && !altosRepartidos && izquierda->isVisible() &&
      izquierda->height() > 0) {
    altosRepartidos = true;
    repartirAltos();
  }
  return QMdiSubWindow::eventFilter(objeto, evento);
}

void TfrmExeSuper::showEvent(QShowEvent* evento) {
  QMdiSubWindow::showEvent(evento);
  if (primeraVez) {
    primeraVez = false;
    // Se abre maximizada (dentro del área: antes de mostrarse no tiene dónde).
    showMaximized();
  }
}

void TfrmExeSuper::actualizar() {
  for (int t = 0; t < NUM_TIPOS_UF; ++t) {
    frmUF[static_cast<size_t>(t)]->actualizar();
    frmER[static_cast<size_t>(t)]->actualizar();
  }
  frmALUDir->actualizar();
  modeloROB->refrescar();
  modeloPrefetch->refrescar();
  modeloDecoder->refrescar();
  frmSelecROBGPR->refrescar();
  frmSelecROBFPR->refrescar();
  modeloPrediccion->refrescar();
}

void TfrmExeSuper::colorearFila(int fila) {
  const TEntradaROB* entrada = modeloROB->entrada(fila);
  if (!entrada || !entrada->instruccion) return;
  const int32_t etiqueta = modeloROB->numero(fila);
  // Nada avanza mientras el usuario elige: el temporizador se para y se reanuda después.
  const bool corria = temporizador && temporizador->isActive();
  if (corria) temporizador->stop();
  const TInstruccion* ins = entrada->instruccion.get();
  if ((ins->color >> 24) == 0) {  // color por defecto
    const QColor inicial = palette().color(QPalette::Base);
    const std::optional<QColor> elegido = dialogos.elegirColor(this, inicial);
    // El diálogo es modal y el ciclo está parado, pero la fila se vuelve a
    // mirar sin tocar la entrada anterior por si el ROB hubiera cambiado.
    const TEntradaROB* sigue = modeloROB->entrada(fila);
    if (elegido && elegido->isValid() && sigue == entrada && sigue->instruccion.get() == ins)
      ediciones.colorearEnVuelo(etiqueta, TVistaInstruccion::deQColor(*elegido));
  } else {
    ediciones.colorearEnVuelo(etiqueta, COLOR_POR_DEFECTO);
  }
  repintarColores();
  if (corria && temporizador) temporizador->start();
}

void TfrmExeSuper::repintarColores() {
  panROB->grdRejilla->viewport()->update();
  for (TfrmER* e : frmER) e->grdRejilla->viewport()->update();
  for (TfrmUF* u : frmUF) u->grdRejilla->viewport()->update();
  frmALUDir->grdRejilla->viewport()->update();
}
