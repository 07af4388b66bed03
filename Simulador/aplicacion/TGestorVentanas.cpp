#include "Simulador/aplicacion/TGestorVentanas.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStyle>
#include <algorithm>

#include "Simulador/aplicacion/TIconos.h"
#include "Simulador/componentes/TfrmComponente.h"
#include "Simulador/comunes/TAreaTrabajo.h"
#include "Simulador/control/TControladorMaquina.h"
#include "Simulador/control/TDocumentoVLIW.h"
#include "Simulador/dialogos/TdlgIntervalo.h"
#include "Simulador/dialogos/TfrmConfSuper.h"
#include "Simulador/dialogos/TfrmConfVLIW.h"
#include "Simulador/editor/TEditorFuente.h"
#include "Simulador/editor/TfrmEditorCodigo.h"
#include "Simulador/superescalar/TfrmExeSuper.h"
#include "Simulador/vliw/TdlgSaltoVLIW.h"
#include "Simulador/vliw/TfrmExeVLIW.h"
#include "Simulador/vliw/TfrmInstVLIW.h"
#include "superscalar/TMaquinaSuper.h"
#include "vliw/TMaquinaVLIW.h"

TGestorVentanas::TGestorVentanas(QMdiArea& a, TControladorMaquina& s, TControladorMaquina& v, TDocumentoVLIW& doc,
                                 TServicioDialogos& d, QWidget& ventana)
    : QObject(&ventana), area(a), ctlSuper(s), ctlVLIW(v), documento(doc), dialogos(d) {
  setObjectName(QStringLiteral("gestorVentanas"));
  dlgSalto = new TdlgSaltoVLIW(&ventana);
  dlgIntervalos = new TdlgIntervalo(dialogos, &ventana);
  // Las vistas siguen cada ejecución por las señales de su controlador.
  for (TControladorMaquina* c : {&ctlSuper, &ctlVLIW}) {
    const TTipoMaquina m = c->tipo();
    connect(c, &TControladorMaquina::ejecucionIniciada, this,
            [this, m](bool continua) { renovarVentanaEjecucion(m, continua); });
    connect(c, &TControladorMaquina::cicloEjecutado, this, [this, m] { refrescarVistas(m); });
    connect(c, &TControladorMaquina::ejecucionTerminada, this, [this, m](TFinEjecucion fin) {
      if (fin == TFinEjecucion::parada) cerrarVentanaEjecucion(m);
    });
  }
}

template <typename T>
void TGestorVentanas::cerrar(QPointer<T>& ranura) {
  if (!ranura) return;
  if (ranura->close()) delete ranura.data();
}

TControladorMaquina& TGestorVentanas::controlador(TTipoMaquina m) const {
  return m == TTipoMaquina::vliw ? ctlVLIW : ctlSuper;
}

void TGestorVentanas::anadir(QMdiSubWindow* ventana) {
  ventana->setWindowIcon(TIconos::programa());
  area.addSubWindow(ventana);
  ventana->show();
  // El área coloca cada ventana nueva donde menos tapa, aunque no quepa.
  TAreaTrabajo::ponerAlAlcance(*ventana);
}

void TGestorVentanas::centrar(QMdiSubWindow* ventana) {
  const QRect r = area.viewport()->rect();
  ventana->move(std::max(0, r.center().x() - ventana->width() / 2),
                std::max(0, r.center().y() - ventana->height() / 2));
  TAreaTrabajo::ponerAlAlcance(*ventana);
}

void TGestorVentanas::mostrarDelante(QMdiSubWindow* ventana) {
  ventana->showNormal();
  area.setActiveSubWindow(ventana);
}

TfrmExeSuper* TGestorVentanas::frmExeSuper() const { return exeSuper; }
TfrmExeVLIW* TGestorVentanas::frmExeVLIW() const { return exeVLIW; }
TfrmInstVLIW* TGestorVentanas::frmInstVLIW() const { return instVLIW; }
TfrmConfSuper* TGestorVentanas::frmConfSuper() const { return confSuper; }
TfrmConfVLIW* TGestorVentanas::frmConfVLIW() const { return confVLIW; }
TfrmComponente* TGestorVentanas::frmCompGPR() const { return compGPR; }
TfrmComponente* TGestorVentanas::frmCompFPR() const { return compFPR; }
TfrmComponente* TGestorVentanas::frmCompMem() const { return compMem; }
TfrmEditorCodigo* TGestorVentanas::frmEditorCodigo() const { return editorCodigo; }

// ---------------------------------------------------------------- ejecución

void TGestorVentanas::renovarVentanaEjecucion(TTipoMaquina m, bool crear) {
  const bool habia = m == TTipoMaquina::vliw ? !exeVLIW.isNull() : !exeSuper.isNull();
  if (!crear && !habia) return;
  cerrarVentanaEjecucion(m);
  if (m == TTipoMaquina::vliw) {
    exeVLIW = new TfrmExeVLIW(*ctlVLIW.maquinaVLIW(), dialogos, *dlgIntervalos);
    anadir(exeVLIW);
  } else {
    exeSuper = new TfrmExeSuper(*ctlSuper.maquinaSuper(), ctlSuper, dialogos, *dlgIntervalos, ctlSuper.temporizador());
    anadir(exeSuper);
  }
}

void TGestorVentanas::cerrarVentanaEjecucion(TTipoMaquina m) {
  if (m == TTipoMaquina::vliw) cerrar(exeVLIW);
  else cerrar(exeSuper);
}

void TGestorVentanas::refrescarVistas(TTipoMaquina m) {
  if (m == TTipoMaquina::vliw) {
    if (!exeVLIW) renovarVentanaEjecucion(m, true);
    exeVLIW->actualizar();
    emit vistaActualizada(exeVLIW);
  } else {
    if (!exeSuper) renovarVentanaEjecucion(m, true);
    exeSuper->actualizar();
    emit vistaActualizada(exeSuper);
  }
  for (TfrmComponente* v : {compGPR.data(), compFPR.data(), compMem.data()}) {
    if (!v) continue;
    v->actualizar();
    emit vistaActualizada(v);
  }
  if (m == TTipoMaquina::vliw && instVLIW) {
    instVLIW->mostrarInstruccionActual();
    emit vistaActualizada(instVLIW);
  }
}

// ---------------------------------------------------------------- máquina seleccionada

QPointer<TfrmComponente>& TGestorVentanas::ranuraComponente(int tipo) {
  if (tipo == TfrmComponente::GPR) return compGPR;
  if (tipo == TfrmComponente::FPR) return compFPR;
  return compMem;
}

TfrmComponente* TGestorVentanas::nuevoComponente(int tipo) {
  TControladorMaquina& c = controlador(seleccionada);
  auto* v = new TfrmComponente(c.maquina(), c, tipo, dialogos, *dlgIntervalos);
  anadir(v);
  return v;
}

void TGestorVentanas::seleccionarMaquina(TTipoMaquina m) {
  seleccionada = m;
  cerrarVentanaEjecucion(m == TTipoMaquina::vliw ? TTipoMaquina::superescalar : TTipoMaquina::vliw);
  for (int tipo : {TfrmComponente::MEMORIA, TfrmComponente::GPR, TfrmComponente::FPR}) {
    QPointer<TfrmComponente>& ranura = ranuraComponente(tipo);
    if (!ranura) continue;
    cerrar(ranura);
    ranura = nuevoComponente(tipo);
  }
}

void TGestorVentanas::mostrarComponente(int tipo) {
  QPointer<TfrmComponente>& ranura = ranuraComponente(tipo);
  if (!ranura) ranura = nuevoComponente(tipo);
  mostrarDelante(ranura);
}

// ---------------------------------------------------------------- configuración y editor

void TGestorVentanas::mostrarConfiguracion(TTipoMaquina m) {
  if (m == TTipoMaquina::superescalar) {
    if (!confSuper) {
      confSuper = new TfrmConfSuper(*ctlSuper.maquinaSuper());
      anadir(confSuper);
      centrar(confSuper);
    }
    mostrarDelante(confSuper);
    return;
  }
  if (!confVLIW) {
    confVLIW = new TfrmConfVLIW(*ctlVLIW.maquinaVLIW());
    confVLIW->limpiarAlAplicar = [this] { return ctlVLIW.limpiarAlIniciar(); };
    // El reset rehace las unidades: lo que está hecho sobre ellas se cierra
    // antes (el editor pregunta por sus ediciones con las columnas de siempre).
    connect(confVLIW, &TfrmConfVLIW::aplicando, this, [this] {
      cerrarEditorVLIW();
      cerrar(exeVLIW);
    });
    anadir(confVLIW);
    centrar(confVLIW);
  }
  mostrarDelante(confVLIW);
}

void TGestorVentanas::cerrarConfiguracion(TTipoMaquina m) {
  if (m == TTipoMaquina::vliw) cerrar(confVLIW);
  else cerrar(confSuper);
}

TfrmInstVLIW* TGestorVentanas::abrirEditorVLIW(const TCodigo& secuencial) {
  // Sus columnas son las unidades configuradas: una operación de una unidad
  // que no existe no tendría dónde mostrarse (y se perdería al aceptar).
  if (!documento.cabeEnLaConfiguracion()) {
    cerrarEditorVLIW();
    return nullptr;
  }
  if (instVLIW) {
    instVLIW->refrescar();
  } else {
    instVLIW = new TfrmInstVLIW(secuencial, *ctlVLIW.maquinaVLIW(), ctlVLIW, dialogos, *dlgSalto);
    documento.vincularEditor(instVLIW);
    instVLIW->setBloquesBasicos(bloquesBasicos);
    anadir(instVLIW);
    instVLIW->bloquearEdicion(ctlVLIW.enEjecucion());
  }
  instVLIW->showNormal();
  instVLIW->ajustarTamano();
  area.setActiveSubWindow(instVLIW);
  return instVLIW;
}

void TGestorVentanas::cerrarEditorVLIW() { cerrar(instVLIW); }

void TGestorVentanas::bloquearEditorVLIW(bool enEjecucion) {
  if (instVLIW) instVLIW->bloquearEdicion(enEjecucion);
}

void TGestorVentanas::setBloquesBasicos(bool activos) {
  bloquesBasicos = activos;
  if (instVLIW) instVLIW->setBloquesBasicos(activos);
}

// ---------------------------------------------------------------- editor de código

TfrmEditorCodigo* TGestorVentanas::mostrarEditorCodigo() {
  if (!editorCodigo) {
    editorCodigo = new TfrmEditorCodigo(dialogos);
    // La ranura se vacía ya: cuando llega «destroyed», QPointer aún puede no saberlo.
    connect(editorCodigo, &QObject::destroyed, this, [this] {
      editorCodigo = nullptr;
      emit editorCodigoCambiado();
    });
    anadir(editorCodigo);
    emit editorCodigoCambiado();
  }
  mostrarDelante(editorCodigo);
  editorCodigo->txtFuente->setFocus();
  return editorCodigo;
}

bool TGestorVentanas::puedeCerrarEditorCodigo() { return !editorCodigo || editorCodigo->puedeCerrar(); }

// ---------------------------------------------------------------- disposición

QList<QMdiSubWindow*> TGestorVentanas::ventanasAOrdenar(QMdiArea::WindowOrder orden) const {
  QList<QMdiSubWindow*> ventanas;
  for (QMdiSubWindow* v : area.subWindowList(orden))
    if (v->isVisible() && !v->isMinimized()) ventanas << v;
  return ventanas;
}

// Cada ventana conserva su tamaño (la de Qt las encoge hasta que caben todas):
// lo que no cabe se alcanza desplazando el área. La de delante sigue delante.
void TGestorVentanas::cascada() {
  const QList<QMdiSubWindow*> ventanas = ventanasAOrdenar(QMdiArea::StackingOrder);
  if (ventanas.isEmpty()) return;
  const QRect r = area.viewport()->rect();
  const int paso = area.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, ventanas.constFirst()) + 4;
  int i = 0;
  for (QMdiSubWindow* v : ventanas) {
    if (v->isMaximized()) v->showNormal();
    v->resize(v->size().expandedTo(v->minimumSizeHint()));
    v->move(r.left() + i * paso, r.top() + i * paso);
    v->raise();
    ++i;
  }
  area.setActiveSubWindow(ventanas.constLast());
}

// Mosaico horizontal: una encima de otra, a lo ancho; ninguna por debajo de su
// mínimo (si no caben, el área se desplaza).
void TGestorVentanas::mosaico() {
  const QList<QMdiSubWindow*> ventanas = ventanasAOrdenar(QMdiArea::CreationOrder);
  if (ventanas.isEmpty()) return;
  const QRect r = area.viewport()->rect();
  const int alto = r.height() / static_cast<int>(ventanas.size());
  int y = r.top();
  for (QMdiSubWindow* v : ventanas) {
    if (v->isMaximized()) v->showNormal();
    const QSize minimo = v->minimumSizeHint().expandedTo(v->minimumSize());
    v->setGeometry(r.left(), y, std::max(r.width(), minimo.width()), std::max(alto, minimo.height()));
    y += v->height();
  }
}

void TGestorVentanas::restaurarTodo() {
  const QRect r = area.viewport()->rect();
  int x = 0, y = r.bottom() + 1;
  for (QMdiSubWindow* v : area.subWindowList()) {
    if (!v->isMinimized()) continue;
    const QSize tam = v->size();
    if (x > 0 && x + tam.width() > r.width()) {
      x = 0;
      y -= tam.height();
    }
    if (x == 0 && y == r.bottom() + 1) y -= tam.height();
    v->move(x, y);
    x += tam.width();
  }
}

QList<QPair<QMdiSubWindow*, QString>> TGestorVentanas::ventanasConNombre() const {
  static const char* const componentes[3] = {"Registros de Propósito General", "Registros de Punto Flotante",
                                             "Memoria"};
  QList<QPair<QMdiSubWindow*, QString>> lista;
  for (QMdiSubWindow* v : area.subWindowList(QMdiArea::CreationOrder)) {
    QString nombre = v->windowTitle();
    // Las tres se llaman «Componente»: se dice cuál es cuál.
    if (const auto* c = qobject_cast<const TfrmComponente*>(v); c && c->tipo >= 0 && c->tipo < 3)
      nombre += QStringLiteral(": ") + QString::fromUtf8(componentes[c->tipo]);
    lista << qMakePair(v, nombre);
  }
  return lista;
}

void TGestorVentanas::activar(QMdiSubWindow* ventana) {
  if (!ventana || !area.subWindowList().contains(ventana)) return;
  if (ventana->isMinimized()) ventana->showNormal();
  ventana->show();
  area.setActiveSubWindow(ventana);
  ventana->raise();
}

void TGestorVentanas::destruirTodas() {
  for (QMdiSubWindow* v : area.subWindowList()) delete v;
}
