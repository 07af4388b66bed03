// Captura de la ventana principal en un escenario: orvex-captura ESCENARIO FICHERO.png
// La ventana es la de verdad; solo los diálogos responden solos (el de abrir
// elige el ejemplo del escenario y los mensajes se anotan en la salida de errores).
// Para capturar sin pantalla: xvfb-run -a orvex-captura superescalar docs/principal.png

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QScrollBar>
#include <QSettings>
#include <QTabWidget>
#include <QTableView>
#include <QTreeView>
#include <QTextBlock>
#include <QToolTip>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>

#include "Simulador/Main.h"
#include "Simulador/aplicacion/TAplicacion.h"
#include "Simulador/aplicacion/TGestorVentanas.h"
#include "Simulador/aplicacion/TOrdenesPrincipal.h"
#include "Simulador/aplicacion/TServicioDialogos.h"
#include "Simulador/componentes/TfrmComponente.h"
#include "Simulador/comunes/TSpinNumero.h"
#include "Simulador/control/TControladorMaquina.h"
#include "Simulador/diagrama/TModeloDiagrama.h"
#include "Simulador/diagrama/TfrmDiagrama.h"
#include "Simulador/diagrama/TRejillaDiagrama.h"
#include "Simulador/dialogos/TfrmConfSuper.h"
#include "Simulador/dialogos/TfrmConfVLIW.h"
#include "Simulador/superescalar/TfrmExeSuper.h"
#include "Simulador/vliw/TModeloInstVLIW.h"
#include "Simulador/vliw/TdlgSaltoVLIW.h"
#include "Simulador/vliw/TfrmExeVLIW.h"
#include "Simulador/vliw/TfrmInstVLIW.h"
#include "Simulador/editor/TEditorFuente.h"
#include "Simulador/editor/TEjemplos.h"
#include "Simulador/editor/TfrmEditorCodigo.h"
#include "Simulador/estadisticas/TVentanasEstadisticas.h"
#include "Simulador/estadisticas/TfrmEstadisticas.h"
#include "Simulador/estadisticas/TfrmExploracion.h"
#include "loader/TCodigo.h"
#include "superscalar/TMaquinaSuper.h"
#include "vliw/TMaquinaVLIW.h"

namespace {

class TDialogosAutomaticos : public TServicioDialogos {
public:
  QStringList ficheros;
  QStringList ficherosGuardar;
  QStringList mensajes;
  // Responde a los diálogos propios (el de saltos); sin ella, se cancelan.
  std::function<int(QDialog&)> alEjecutarModal;

  void mensaje(QWidget*, const QString& texto, const QString& detalle) override {
    mensajes << texto;
    std::fprintf(stderr, "mensaje: %s %s\n", qPrintable(texto), qPrintable(detalle));
  }
  bool confirmar(QWidget*, const QString&) override { return true; }
  TRespuestaCambios preguntarCambios(QWidget*, const QString&, const QString&, const QString&) override {
    return TRespuestaCambios::descartar;
  }
  QString abrirFichero(QWidget*, const QString&, const QString&) override {
    return ficheros.isEmpty() ? QString() : ficheros.takeFirst();
  }
  QString guardarFichero(QWidget*, const QString&, const QString&, const QString&) override {
    return ficherosGuardar.isEmpty() ? QString() : ficherosGuardar.takeFirst();
  }
  QList<QColor> colores;  // respuestas del selector de color, en orden
  std::optional<QColor> elegirColor(QWidget*, const QColor&) override {
    if (colores.isEmpty()) return std::nullopt;
    return colores.takeFirst();
  }
  int pedirCantidad(QWidget*, const QString&, const QString&, int, int, int, int&) override { return RESULTADO_CANCELAR; }
  int preguntarGuardarCambio(QWidget*) override { return RESULTADO_CANCELAR; }
  int ejecutarModal(QDialog& d) override { return alEjecutarModal ? alEjecutarModal(d) : RESULTADO_CANCELAR; }
};

const QString EJEMPLOS = QStringLiteral(ORVEX_DIR_EJEMPLOS);

// Diálogos que un escenario deja a la vista encima de la ventana: se pintan
// sobre su captura en el sitio que ocupan (sin gestor de ventanas no hay marcos
// que copiar de la pantalla).
QList<QWidget*> encima;

// Una orden de la ventana, como si se eligiera en su menú.
void orden(TfrmPrincipal& v, const char* nombre) {
  if (auto* a = v.findChild<QAction*>(QLatin1String(nombre))) a->trigger();
  else std::fprintf(stderr, "la ventana no tiene la orden %s\n", nombre);
}

TMaquinaSuper& super(TfrmPrincipal& v) { return *v.controlador(TTipoMaquina::superescalar).maquinaSuper(); }
TMaquinaVLIW& vliw(TfrmPrincipal& v) { return *v.controlador(TTipoMaquina::vliw).maquinaVLIW(); }

// Un tic de la máquina m: su temporizador vence y llega al manejador de la ventana.
void tic(TfrmPrincipal& v, TTipoMaquina m) {
  QMetaObject::invokeMethod(v.controlador(m).temporizador(), "timeout", Qt::DirectConnection);
}

// Ejecuta ticks hasta que la máquina m termina (o un límite de seguridad).
bool ejecutarHastaCompletar(TfrmPrincipal& v, TDialogosAutomaticos& d, TTipoMaquina m) {
  for (int i = 0; i < 100000 && !d.mensajes.contains(QStringLiteral("Ejecución completada")); ++i) {
    tic(v, m);
    if (!v.controlador(m).temporizador()->isActive()) break;
  }
  return d.mensajes.contains(QStringLiteral("Ejecución completada"));
}

// Abre un ejemplo con la orden de verdad, respondiendo al diálogo de ficheros.
bool abrirEjemplo(TfrmPrincipal& v, TDialogosAutomaticos& d, const QString& nombre) {
  d.ficheros << EJEMPLOS + QStringLiteral("/") + nombre;
  orden(v, "actAbrir");
  return v.programa() != nullptr;
}

// Cada escenario deja la ventana como debe salir en la captura; false si falla.
using TEscenario = std::function<bool(TfrmPrincipal&, TDialogosAutomaticos&)>;

bool escenarioSuperescalar(TfrmPrincipal& v, TDialogosAutomaticos& d) {
  if (!abrirEjemplo(v, d, QStringLiteral("vector_suma.pla"))) return false;
  orden(v, "actVerBB");
  orden(v, "mnuCompGPR");
  orden(v, "mnuCompMem");
  orden(v, "actIni");
  if (!ejecutarHastaCompletar(v, d, TTipoMaquina::superescalar)) return false;
  // El panel de código toma su ancho al procesar los eventos: el mosaico, después.
  QApplication::processEvents();
  orden(v, "actMosaico");
  return true;
}

bool escenarioVLIW(TfrmPrincipal& v, TDialogosAutomaticos& d) {
  if (!abrirEjemplo(v, d, QStringLiteral("vector_suma.pla"))) return false;
  if (!vliw(v).cargarCodigo((EJEMPLOS + QStringLiteral("/vector_suma.vliw")).toStdString(), *v.programa()))
    return false;
  v.seleccionarMaquina(TTipoMaquina::vliw);
  orden(v, "mnuCompFPR");
  orden(v, "mnuCompMem");
  orden(v, "actIni");
  if (!ejecutarHastaCompletar(v, d, TTipoMaquina::vliw)) return false;
  // El panel de código toma su ancho al procesar los eventos: el mosaico, después.
  QApplication::processEvents();
  orden(v, "actMosaico");
  return true;
}

// Lo que hace un alumno con suma_bucle.pla: un programa VLIW nuevo, arrastrando
// cada instrucción a su unidad; sin corregir, la ADDI va con el DADDUI que
// escribe R1 (la comprobación lo señala).
TfrmInstVLIW* construirSumaBucle(TfrmPrincipal& v, TDialogosAutomaticos& d, bool corregido) {
  // Más ancha que la de los otros escenarios: caben las once columnas del editor.
  v.resize(1280, 760);
  if (!abrirEjemplo(v, d, QStringLiteral("suma_bucle.pla"))) return nullptr;
  QApplication::processEvents();  // el panel del código ya ocupa su sitio
  orden(v, "actNuevoVLIW");
  TfrmInstVLIW* e = v.ventanas().frmInstVLIW();
  if (!e) return nullptr;
  const int sumaEnt0 = e->columnaDe(0, tufSumaEntera), sumaEnt1 = e->columnaDe(1, tufSumaEntera);
  e->soltarInstruccion(0, 0, sumaEnt0);
  e->soltarInstruccion(1, 0, sumaEnt1);
  e->soltarInstruccion(2, 1, sumaEnt0);
  e->soltarInstruccion(3, 2, sumaEnt0);
  if (corregido) e->soltarInstruccion(4, 3, sumaEnt0);
  else e->soltarInstruccion(4, 2, sumaEnt1);
  d.alEjecutarModal = [](QDialog& dialogo) {
    if (auto* salto = qobject_cast<TdlgSaltoVLIW*>(&dialogo)) salto->spiDestino->setValue(2);
    return RESULTADO_ACEPTAR;
  };
  e->soltarInstruccion(5, 3, e->columnaDe(0, tufSalto));
  e->soltarInstruccion(6, 5, e->columnaDe(0, tufMemoria));
  e->move(0, 0);
  return e;
}

// El editor con el programa a medio hacer y los parámetros del salto a la vista.
bool escenarioEditorVLIW(TfrmPrincipal& v, TDialogosAutomaticos& d) {
  TfrmInstVLIW* e = construirSumaBucle(v, d, false);
  if (!e) return false;
  const int salto = e->columnaDe(0, tufSalto);
  const TOperacionVLIW* op = e->modelo->operacion(3, salto);
  if (!op) return false;
  TdlgSaltoVLIW& dlg = v.ventanas().dlgSaltoVLIW();
  dlg.preparar(op->op[2], e->modelo->numFilas() - 1, op->predVerdadero, op->predFalso, op->predicado);
  dlg.setModal(false);
  dlg.show();
  dlg.move(v.geometry().center() + QPoint(60, -40));
  encima << &dlg;
  return true;
}

// La planificación automática de producto_escalar.pla en el editor VLIW, con
// los bloques básicos coloreados y su resumen de casillas ocupadas.
bool escenarioPlanificacionAutomatica(TfrmPrincipal& v, TDialogosAutomaticos& d) {
  v.resize(1280, 800);
  if (!abrirEjemplo(v, d, QStringLiteral("producto_escalar.pla"))) return false;
  orden(v, "actVerBB");
  orden(v, "actPlanificarVLIW");
  TfrmInstVLIW* e = v.ventanas().frmInstVLIW();
  return e && e->modelo->numFilas() > 0 && vliw(v).codigo.numInstrucciones == e->modelo->numFilas();
}

// «Aceptar» con la ADDI mal colocada: el aviso de la comprobación.
bool escenarioChequeoVLIW(TfrmPrincipal& v, TDialogosAutomaticos& d) {
  TfrmInstVLIW* e = construirSumaBucle(v, d, false);
  if (!e) return false;
  e->butAceptar->click();
  if (d.mensajes.isEmpty()) return false;
  auto* caja = new QMessageBox(QMessageBox::Information, QStringLiteral("Orvex"), d.mensajes.last(), QMessageBox::Ok, &v);
  caja->setModal(false);
  caja->show();
  caja->adjustSize();
  caja->move(v.geometry().center() - caja->rect().center() + QPoint(120, 40));
  encima << caja;
  return true;
}

// Corregido, guardado, vuelto a cargar y ejecutado: R3 = 15 en los registros.
bool escenarioResultadoVLIW(TfrmPrincipal& v, TDialogosAutomaticos& d) {
  static QTemporaryDir dir;
  TfrmInstVLIW* e = construirSumaBucle(v, d, true);
  if (!e || !dir.isValid()) return false;
  e->butAceptar->click();
  if (!d.mensajes.isEmpty()) return false;
  const QString fichero = dir.filePath(QStringLiteral("suma_bucle.vliw"));
  d.ficherosGuardar << fichero;
  e->butGuardar->click();
  d.ficheros << EJEMPLOS + QStringLiteral("/suma_bucle.pla") << fichero;
  orden(v, "actAbrir");
  orden(v, "actCargarVLIW");
  if (!v.ventanas().frmInstVLIW() || vliw(v).codigo.numInstrucciones != 6) return false;
  orden(v, "mnuCompGPR");
  orden(v, "mnuCompMem");
  orden(v, "actIni");
  if (!ejecutarHastaCompletar(v, d, TTipoMaquina::vliw)) return false;
  if (vliw(v).gpr.valor[3] != 15) return false;
  // El editor arriba y las demás ventanas en fila debajo.
  const TGestorVentanas& g = v.ventanas();
  g.frmInstVLIW()->move(0, 0);
  int x = 0;
  const int y = g.frmInstVLIW()->height() + 4;
  for (QMdiSubWindow* w : {static_cast<QMdiSubWindow*>(g.frmExeVLIW()), static_cast<QMdiSubWindow*>(g.frmCompGPR()),
                           static_cast<QMdiSubWindow*>(g.frmCompMem())}) {
    if (!w) continue;
    w->move(x, y);
    w->resize(w->width(), std::min(w->height(), v.findChild<QMdiArea*>()->viewport()->height() - y));
    x += w->width() + 4;
  }
  return true;
}

// Las dos configuraciones abiertas, y en el editor una marca de breakpoint y
// la latencia de la ADDF resaltada (Ctrl+clic).
bool escenarioConfiguracion(TfrmPrincipal& v, TDialogosAutomaticos& d) {
  d.ficheros << EJEMPLOS + QStringLiteral("/vector_suma.pla") << EJEMPLOS + QStringLiteral("/vector_suma.vliw");
  v.resize(1280, 760);
  orden(v, "actAbrir");
  QApplication::processEvents();
  orden(v, "actCargarVLIW");
  TfrmInstVLIW* e = v.ventanas().frmInstVLIW();
  if (!e) return false;
  e->dobleClicFila(15);
  const int sumaFlot = e->columnaDe(0, tufSumaFlotante);
  e->ctrlClicCelda(15, sumaFlot);
  e->move(0, 0);
  e->resize(e->width(), 224);
  QApplication::processEvents();
  e->grdInstrucciones->scrollTo(e->modelo->index(13, 0), QAbstractItemView::PositionAtTop);
  orden(v, "actConfSuper");
  orden(v, "actConfVLIW");
  TfrmConfSuper* confSuper = v.ventanas().frmConfSuper();
  TfrmConfVLIW* confVLIW = v.ventanas().frmConfVLIW();
  if (!confSuper || !confVLIW) return false;
  confSuper->move(0, e->height() + 4);
  confVLIW->move(confSuper->width() + 4, e->height() + 4);
  return true;
}

// Ejecución superescalar a medias: varias instrucciones en vuelo y una coloreada.
bool escenarioEjecucionSuperescalar(TfrmPrincipal& v, TDialogosAutomaticos& d) {
  v.resize(1400, 860);
  if (!abrirEjemplo(v, d, QStringLiteral("producto_escalar.pla"))) return false;
  orden(v, "mnuCompFPR");
  orden(v, "actIni");
  // Hasta que el bucle principal tenga varias vueltas en vuelo.
  for (int i = 0; i < 200 && super(v).rob.numElementos() < 12; ++i) tic(v, TTipoMaquina::superescalar);
  QTimer* t = v.controlador(TTipoMaquina::superescalar).temporizador();
  if (!v.ventanas().frmExeSuper() || !t->isActive()) return false;
  t->stop();
  // Se colorea, como con un doble clic, una suma entera que está en su unidad:
  // se ve en el ROB, en su estación y en la unidad.
  const auto& rob = super(v).rob;
  for (int fila = 0; fila < rob.numElementos(); ++fila) {
    const TEntradaROB* e = rob.enOrden(fila);
    if (e->etapa == ETAPA_EXEC && e->instruccion->tipoUnidad() == tufSumaEntera) {
      d.colores << QColor(255, 196, 120);
      v.ventanas().frmExeSuper()->colorearFila(fila);
      return true;
    }
  }
  return false;
}

// Ejecución VLIW a medias del ejemplo de suma de vectores.
bool escenarioEjecucionVLIW(TfrmPrincipal& v, TDialogosAutomaticos& d) {
  v.resize(1100, 760);
  if (!abrirEjemplo(v, d, QStringLiteral("vector_suma.pla"))) return false;
  if (!vliw(v).cargarCodigo((EJEMPLOS + QStringLiteral("/vector_suma.vliw")).toStdString(), *v.programa()))
    return false;
  v.seleccionarMaquina(TTipoMaquina::vliw);
  orden(v, "mnuCompGPR");
  orden(v, "actIni");
  // Hasta un ciclo con una carga en vuelo (su NaT a V) y otras operaciones en las unidades.
  auto enVuelo = [&v] {
    int n = 0;
    for (const auto& tipo : vliw(v).uf)
      for (const TUnidadFuncional& u : tipo) n += u.ocupadas;
    return n;
  };
  auto hayNaT = [&v] {
    for (int r = 0; r < NUM_REGISTROS; ++r)
      if (vliw(v).natGPR[static_cast<size_t>(r)] || vliw(v).natFPR[static_cast<size_t>(r)]) return true;
    return false;
  };
  for (int i = 0; i < 60 && !(hayNaT() && enVuelo() >= 2); ++i) tic(v, TTipoMaquina::vliw);
  QTimer* t = v.controlador(TTipoMaquina::vliw).temporizador();
  if (!v.ventanas().frmExeVLIW() || !t->isActive()) return false;
  t->stop();
  return true;
}

// El editor de código con vector_suma.pla y sus bloques básicos, tras cambiar
// el F2 de la ADDF por R2 como lo teclearía un alumno: el error marcado en su
// sitio y su pista.
bool escenarioEditorCodigo(TfrmPrincipal& v, TDialogosAutomaticos& d) {
  v.resize(1100, 720);
  if (!abrirEjemplo(v, d, QStringLiteral("vector_suma.pla"))) return false;
  auto* e = new TfrmEditorCodigo(d);
  v.findChild<QMdiArea*>()->addSubWindow(e);
  if (!e->abrir(EJEMPLOS + QStringLiteral("/vector_suma.pla")) || !e->correcto()) return false;
  e->show();
  QApplication::processEvents();  // el panel del código ya ocupa su sitio
  e->move(0, 0);
  e->resize(v.findChild<QMdiArea*>()->viewport()->width(), v.findChild<QMdiArea*>()->viewport()->height());
  QTextDocument* documento = e->txtFuente->document();
  const QTextCursor addf = documento->find(QStringLiteral("ADDF   F4 F0 F2"));
  if (addf.isNull()) return false;
  QTextCursor f2(documento);
  f2.setPosition(addf.selectionEnd() - 2);
  f2.setPosition(addf.selectionEnd(), QTextCursor::KeepAnchor);
  f2.insertText(QStringLiteral("R2"));
  e->timAnalisisTimer();
  if (e->correcto()) return false;
  e->irA(e->lineaError(), 1);
  QApplication::processEvents();
  // La pista que se ve con el puntero sobre la línea del error.
  QTextCursor token(documento->findBlockByNumber(e->txtFuente->lineaError()));
  token.setPosition(token.position() + e->txtFuente->inicioError());
  const QRect junto = e->txtFuente->cursorRect(token);
  auto* pista = new QLabel(e->detalleError(), nullptr, Qt::ToolTip);
  pista->setPalette(QToolTip::palette());
  pista->setFont(QToolTip::font());
  pista->setFrameStyle(QFrame::Box | QFrame::Plain);
  pista->setMargin(3);
  pista->adjustSize();
  pista->move(e->txtFuente->viewport()->mapToGlobal(junto.bottomRight() + QPoint(24, 4)));
  pista->show();
  encima << pista;
  return true;
}

// El diagrama de la máquina m ocupando el área de trabajo, tras «ciclos» ciclos
// del ejemplo ya abierto, con la pista de la celda (fila, ciclo) a la vista.
TfrmDiagrama* diagramaTras(TfrmPrincipal& v, TTipoMaquina m, int ciclos) {
  orden(v, "actIni");
  for (int i = 0; i < ciclos && v.controlador(m).temporizador()->isActive(); ++i) tic(v, m);
  v.controlador(m).temporizador()->stop();
  orden(v, "actVerDiagrama");
  TfrmDiagrama* d = v.ventanas().frmDiagrama(m);
  if (!d) return nullptr;
  QApplication::processEvents();
  d->showMaximized();
  QApplication::processEvents();
  return d;
}

void pistaDeCelda(TfrmDiagrama& d, int fila, int32_t ciclo) {
  const int columna = d.modelo->columnaDeCiclo(ciclo);
  d.grdDiagrama->scrollTo(d.modelo->index(fila, columna));
  QApplication::processEvents();
  const QRect celda = d.grdDiagrama->visualRect(d.modelo->index(fila, columna));
  auto* pista = new QLabel(d.modelo->pista(fila, columna), nullptr, Qt::ToolTip);
  pista->setPalette(QToolTip::palette());
  pista->setFont(QToolTip::font());
  pista->setFrameStyle(QFrame::Box | QFrame::Plain);
  pista->setMargin(3);
  pista->adjustSize();
  pista->move(d.grdDiagrama->viewport()->mapToGlobal(celda.bottomRight() + QPoint(6, 6)));
  pista->show();
  encima << pista;
}

// producto_escalar.pla en la superescalar: esperas por operandos y filas anuladas
// tras un fallo de predicción; la pista de una suma que espera su operando.
bool escenarioDiagramaSuperescalar(TfrmPrincipal& v, TDialogosAutomaticos& d) {
  v.resize(1300, 800);
  if (!abrirEjemplo(v, d, QStringLiteral("producto_escalar.pla"))) return false;
  TfrmDiagrama* diagrama = diagramaTras(v, TTipoMaquina::superescalar, 40);
  if (!diagrama) return false;
  diagrama->grdDiagrama->scrollToTop();
  // La primera celda de espera por un operando.
  const TModeloDiagrama& m = *diagrama->modelo;
  for (int f = 0; f < m.rowCount(); ++f)
    for (int c = 0; c < m.columnCount(); ++c)
      if (m.celda(f, c).tramo.espera.motivo == espOperandoJ || m.celda(f, c).tramo.espera.motivo == espOperandoK) {
        pistaDeCelda(*diagrama, f, m.cicloDeColumna(c));
        return true;
      }
  return false;
}

// vector_suma en la VLIW: instrucciones largas detenidas por NaT y sus operaciones.
bool escenarioDiagramaVLIW(TfrmPrincipal& v, TDialogosAutomaticos& d) {
  v.resize(1300, 800);
  if (!abrirEjemplo(v, d, QStringLiteral("vector_suma.pla"))) return false;
  if (!vliw(v).cargarCodigo((EJEMPLOS + QStringLiteral("/vector_suma.vliw")).toStdString(), *v.programa()))
    return false;
  v.seleccionarMaquina(TTipoMaquina::vliw);
  TfrmDiagrama* diagrama = diagramaTras(v, TTipoMaquina::vliw, 30);
  if (!diagrama) return false;
  diagrama->grdDiagrama->scrollToTop();
  const TModeloDiagrama& m = *diagrama->modelo;
  for (int f = 0; f < m.rowCount(); ++f)
    for (int c = 0; c < m.columnCount(); ++c)
      if (m.celda(f, c).letra == 'S') {
        pistaDeCelda(*diagrama, f, m.cicloDeColumna(c));
        return true;
      }
  return true;
}

// La tabla de libro de producto_escalar.pla terminado.
bool escenarioTablaInstrucciones(TfrmPrincipal& v, TDialogosAutomaticos& d) {
  v.resize(1300, 720);
  if (!abrirEjemplo(v, d, QStringLiteral("producto_escalar.pla"))) return false;
  orden(v, "actIni");
  if (!ejecutarHastaCompletar(v, d, TTipoMaquina::superescalar)) return false;
  orden(v, "actVerDiagrama");
  TfrmDiagrama* diagrama = v.ventanas().frmDiagrama(TTipoMaquina::superescalar);
  if (!diagrama) return false;
  diagrama->showMaximized();
  diagrama->pagPestanas->setCurrentWidget(diagrama->grdTabla);
  QApplication::processEvents();
  diagrama->grdTabla->scrollToTop();
  return true;
}

// Un ejemplo elegido en "Archivo, Ejemplos", con la carpeta de ejemplos del código fuente.
bool elegirEjemplo(TfrmPrincipal& v, const QString& nombre) {
  auto* ordenes = v.findChild<TOrdenesPrincipal*>();
  if (!ordenes) return false;
  ordenes->ponerEjemplos(TEjemplos::listar(EJEMPLOS));
  for (QAction* a : ordenes->mnuEjemplos->actions())
    if (a->data().toString().endsWith(QLatin1Char('/') + nombre)) {
      a->trigger();
      return v.programa() != nullptr;
    }
  return false;
}

// La rejilla del código y el editor con las marcas de lo que está en vuelo, con
// los bloques básicos coloreados, junto a la ventana de ejecución de la máquina.
bool escenarioEnVuelo(TfrmPrincipal& v, const QString& ejemplo, TTipoMaquina m, const std::function<bool()>& parar) {
  v.resize(1280, 800);
  if (!elegirEjemplo(v, ejemplo)) return false;
  v.seleccionarMaquina(m);
  orden(v, "actVerBB");
  orden(v, "actEditarPrograma");
  TfrmEditorCodigo* e = v.ventanas().frmEditorCodigo();
  if (!e || !e->programaVinculado()) return false;
  for (int i = 0; i < 200 && !parar(); ++i) orden(v, "actPaso");
  if (!parar() || !v.controlador(m).enEjecucion()) return false;
  QApplication::processEvents();  // el panel del código ya ocupa su sitio
  QMdiArea* area = v.findChild<QMdiArea*>();
  const int ancho = area->viewport()->width(), alto = area->viewport()->height();
  e->setGeometry(0, 0, ancho * 2 / 5, alto);
  QMdiSubWindow* exe = m == TTipoMaquina::vliw ? static_cast<QMdiSubWindow*>(v.ventanas().frmExeVLIW())
                                               : static_cast<QMdiSubWindow*>(v.ventanas().frmExeSuper());
  if (!exe) return false;
  exe->setGeometry(ancho * 2 / 5, 0, ancho - ancho * 2 / 5, alto);
  return true;
}

bool escenarioEnVueloSuperescalar(TfrmPrincipal& v, TDialogosAutomaticos&) {
  // Un ciclo del segundo bucle que confirma dos instrucciones con otras en el ROB.
  return escenarioEnVuelo(v, QStringLiteral("vector_suma.pla"), TTipoMaquina::superescalar, [&v] {
    const TMaquinaSuper& s = super(v);
    return s.confirmadasCiclo.size() >= 2 && s.rob.numElementos() >= 4 && s.pc > 9 && s.codigo &&
           s.codigo->indiceValido(s.pc);
  });
}

bool escenarioEnVueloVLIW(TfrmPrincipal& v, TDialogosAutomaticos&) {
  // Una instrucción larga de varias operaciones esperando a emitirse.
  return escenarioEnVuelo(v, QStringLiteral("conflicto_memoria.pla"), TTipoMaquina::vliw, [&v] {
    const TInstruccionLarga* larga = vliw(v).codigo.instruccion(vliw(v).pc);
    return vliw(v).ciclo > 1 && larga && larga->numOperaciones() >= 3;
  });
}

// Un ejemplo ejecutado hasta el final en la máquina m, con la ventana de
// estadísticas de esa máquina maximizada.
bool escenarioEstadisticas(TfrmPrincipal& v, TDialogosAutomaticos& d, TTipoMaquina m) {
  const bool enVLIW = m == TTipoMaquina::vliw;
  if (!abrirEjemplo(v, d, enVLIW ? QStringLiteral("vector_suma.pla") : QStringLiteral("producto_escalar.pla")))
    return false;
  if (enVLIW) {
    if (!vliw(v).cargarCodigo((EJEMPLOS + QStringLiteral("/vector_suma.vliw")).toStdString(), *v.programa()))
      return false;
    orden(v, "actSelVLIW");
    // Con fallos de caché hay paradas por NaT que enseñar.
    vliw(v).memoria.porcentajeFallos = 40;
  }
  orden(v, "actIni");
  if (!ejecutarHastaCompletar(v, d, m)) return false;
  orden(v, "actVerEstadisticas");
  TfrmEstadisticas* f = v.estadisticas().frmEstadisticas(m);
  if (!f) return false;
  f->showMaximized();
  return true;
}

bool escenarioEstadisticasSuper(TfrmPrincipal& v, TDialogosAutomaticos& d) {
  return escenarioEstadisticas(v, d, TTipoMaquina::superescalar);
}

bool escenarioEstadisticasVLIW(TfrmPrincipal& v, TDialogosAutomaticos& d) {
  return escenarioEstadisticas(v, d, TTipoMaquina::vliw);
}

bool escenarioComparacion(TfrmPrincipal& v, TDialogosAutomaticos& d) {
  if (!abrirEjemplo(v, d, QStringLiteral("vector_suma.pla"))) return false;
  if (!vliw(v).cargarCodigo((EJEMPLOS + QStringLiteral("/vector_suma.vliw")).toStdString(), *v.programa()))
    return false;
  orden(v, "actComparar");
  auto* f = v.findChild<QMdiSubWindow*>(QStringLiteral("frmComparacion"));
  if (!f) return false;
  f->resize(770, 380);
  f->move(4, 4);
  return true;
}

bool escenarioExploracion(TfrmPrincipal& v, TDialogosAutomaticos& d) {
  if (!abrirEjemplo(v, d, QStringLiteral("producto_escalar.pla"))) return false;
  orden(v, "actExplorar");
  TfrmExploracion* f = v.estadisticas().frmExploracion();
  if (!f) return false;
  f->showMaximized();
  bool cancelada = true;
  QEventLoop espera;
  QObject::connect(f, &TfrmExploracion::exploracionTerminada, &espera, [&](bool c) {
    cancelada = c;
    espera.quit();
  });
  if (!f->explorar()) return false;
  espera.exec();
  return !cancelada && f->puntos().size() == 15;
}

// Un aula con proyector: la ventana a 1024 × 768, el editor VLIW con tres
// unidades de memoria y dos componentes en cascada; el editor se sale del área
// y el área se desplaza hasta que se alcanza su botón «Guardar».
bool escenarioArea1024(TfrmPrincipal& v, TDialogosAutomaticos& d) {
  v.resize(1024, 768);
  d.ficheros << EJEMPLOS + QStringLiteral("/vector_suma.pla") << EJEMPLOS + QStringLiteral("/vector_suma.vliw");
  orden(v, "actAbrir");
  QApplication::processEvents();
  orden(v, "actConfVLIW");
  TfrmConfVLIW* conf = v.ventanas().frmConfVLIW();
  if (!conf) return false;
  conf->spiUF[tufMemoria]->setValue(3);
  conf->butAceptar->click();
  QApplication::processEvents();
  orden(v, "mnuCompGPR");
  orden(v, "mnuCompMem");
  orden(v, "actCargarVLIW");
  TfrmInstVLIW* e = v.ventanas().frmInstVLIW();
  if (!e) return false;
  QApplication::processEvents();
  // «Cascada» no encoge las ventanas: el editor, delante y por tanto el último,
  // se sale del área.
  v.findChild<QMdiArea*>()->setActiveSubWindow(e);
  orden(v, "actCascada");
  QApplication::processEvents();
  auto* area = v.findChild<QMdiArea*>();
  area->horizontalScrollBar()->setValue(area->horizontalScrollBar()->maximum());
  area->verticalScrollBar()->setValue(area->verticalScrollBar()->maximum());
  QApplication::processEvents();
  const QRect guardar(e->butGuardar->mapTo(area->viewport(), QPoint(0, 0)), e->butGuardar->size());
  std::fprintf(stderr, "área %dx%d, editor %d,%d %dx%d, «Guardar» en %d,%d %dx%d\n", area->viewport()->width(),
               area->viewport()->height(), e->x(), e->y(), e->width(), e->height(), guardar.x(), guardar.y(),
               guardar.width(), guardar.height());
  return area->viewport()->rect().contains(guardar);
}

// «Abrir...» con el diálogo de ficheros de Qt (el que se usa sin un escritorio
// que dé el suyo), en español como todo lo demás, en la carpeta de los ejemplos.
bool escenarioDialogoFicheros(TfrmPrincipal& v, TDialogosAutomaticos& d) {
  // Los tipos de Orvex como si estuviera instalado (si no, el sistema toma los
  // *.pla por listas de reproducción): su XML en una carpeta de datos propia.
  static QTemporaryDir datos;
  const QString paquetes = datos.filePath(QStringLiteral("mime/packages"));
  if (!QDir().mkpath(paquetes) ||
      !QFile::copy(EJEMPLOS + QStringLiteral("/../Simulador/orvex-mime.xml"), paquetes + QStringLiteral("/orvex.xml")))
    return false;
  qputenv("XDG_DATA_DIRS", (datos.path() + QStringLiteral(":/usr/share")).toLocal8Bit());
  v.resize(1024, 700);
  if (!abrirEjemplo(v, d, QStringLiteral("vector_suma.pla"))) return false;
  auto* dialogo = new QFileDialog(&v, QStringLiteral("Abrir"), EJEMPLOS,
                                  QStringLiteral("Ficheros fuente (*.pla);;Ficheros fuente VLIW (con bundles) (*.bun)"));
  dialogo->setOption(QFileDialog::DontUseNativeDialog);
  dialogo->setModal(false);
  dialogo->resize(780, 420);
  dialogo->show();
  if (auto* lista = dialogo->findChild<QTreeView*>(QStringLiteral("treeView"))) {
    lista->header()->resizeSection(0, 230);
    lista->header()->resizeSection(2, 200);
  }
  dialogo->move(v.geometry().center() - dialogo->rect().center());
  encima << dialogo;
  return true;
}

// Una máquina ancha: «Emisión» 16 a 1400 × 900. Las colas de prefetch y del
// decodificador (32 y 16 filas) se desplazan y el reorder buffer conserva su
// sitio; en las tablas de renombrado, las etiquetas viejas en gris.
bool escenarioEmision16(TfrmPrincipal& v, TDialogosAutomaticos& d) {
  v.resize(1400, 900);
  if (!abrirEjemplo(v, d, QStringLiteral("producto_escalar.pla"))) return false;
  orden(v, "actConfSuper");
  TfrmConfSuper* conf = v.ventanas().frmConfSuper();
  if (!conf) return false;
  conf->spiEmision->setValue(16);
  conf->butAceptar->click();
  QApplication::processEvents();
  orden(v, "actIni");
  // Hasta que el bucle haya confirmado algo (etiquetas viejas) y tenga más en vuelo.
  for (int i = 0; i < 300 && (super(v).rob.numElementos() < 20 || super(v).estadisticas.instruccionesConfirmadas < 8);
       ++i)
    tic(v, TTipoMaquina::superescalar);
  QTimer* t = v.controlador(TTipoMaquina::superescalar).temporizador();
  if (!v.ventanas().frmExeSuper() || !t->isActive()) return false;
  t->stop();
  return super(v).emision == 16;
}

const std::map<QString, TEscenario> ESCENARIOS = {
    {QStringLiteral("envuelo-superescalar"), escenarioEnVueloSuperescalar},
    {QStringLiteral("envuelo-vliw"), escenarioEnVueloVLIW},
    {QStringLiteral("emision-16"), escenarioEmision16},
    {QStringLiteral("dialogo-ficheros"), escenarioDialogoFicheros},
    {QStringLiteral("area-1024"), escenarioArea1024},
    {QStringLiteral("editor-codigo"), escenarioEditorCodigo},
    {QStringLiteral("ejecucion-superescalar"), escenarioEjecucionSuperescalar},
    {QStringLiteral("ejecucion-vliw"), escenarioEjecucionVLIW},
    {QStringLiteral("superescalar"), escenarioSuperescalar},
    {QStringLiteral("vliw"), escenarioVLIW},
    {QStringLiteral("editor-vliw"), escenarioEditorVLIW},
    {QStringLiteral("planificacion-automatica"), escenarioPlanificacionAutomatica},
    {QStringLiteral("chequeo-vliw"), escenarioChequeoVLIW},
    {QStringLiteral("resultado-vliw"), escenarioResultadoVLIW},
    {QStringLiteral("configuracion"), escenarioConfiguracion},
    {QStringLiteral("diagrama-superescalar"), escenarioDiagramaSuperescalar},
    {QStringLiteral("diagrama-vliw"), escenarioDiagramaVLIW},
    {QStringLiteral("tabla-instrucciones"), escenarioTablaInstrucciones},
    {QStringLiteral("estadisticas-superescalar"), escenarioEstadisticasSuper},
    {QStringLiteral("estadisticas-vliw"), escenarioEstadisticasVLIW},
    {QStringLiteral("comparacion"), escenarioComparacion},
    {QStringLiteral("exploracion"), escenarioExploracion},
};

}  // namespace

int main(int argc, char** argv) {
  QApplication aplicacion(argc, argv);
  TAplicacion::instalarTraducciones();
  // Lo que abre el programa no toca la lista de ficheros recientes del usuario.
  QTemporaryDir configuracion;
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, configuracion.path());
  QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain));
  const QStringList args = QApplication::arguments();
  if (args.size() != 3 || ESCENARIOS.count(args[1]) == 0) {
    QStringList nombres;
    for (const auto& [nombre, escenario] : ESCENARIOS) nombres << nombre;
    std::fprintf(stderr, "uso: orvex-captura {%s} FICHERO.png\n", qPrintable(nombres.join(QLatin1Char('|'))));
    return 2;
  }
  TDialogosAutomaticos dialogos;
  TfrmPrincipal ventana(dialogos);
  ventana.resize(1100, 720);
  ventana.move(0, 0);
  ventana.show();
  ventana.activateWindow();
  QApplication::processEvents();
  if (!ESCENARIOS.at(args[1])(ventana, dialogos)) {
    std::fprintf(stderr, "el escenario %s no ha terminado como se esperaba\n", qPrintable(args[1]));
    return 1;
  }
  // Deja que se repinte todo antes de capturar. Con un bucle propio: salir de
  // la aplicación cerraría la ventana, que puede preguntar por un programa sin guardar.
  QEventLoop espera;
  QTimer::singleShot(300, &espera, &QEventLoop::quit);
  espera.exec();
  QPixmap imagen = ventana.grab();
  {
    QPainter p(&imagen);
    for (QWidget* w : encima) {
      const QRect sitio(w->geometry().topLeft() - ventana.geometry().topLeft(), w->size());
      p.drawPixmap(sitio.topLeft(), w->grab());
      p.setPen(QColor(80, 80, 80));
      p.drawRect(sitio.adjusted(-1, -1, 0, 0));
    }
  }
  if (!imagen.save(args[2])) {
    std::fprintf(stderr, "no se puede escribir %s\n", qPrintable(args[2]));
    return 1;
  }
  return 0;
}
