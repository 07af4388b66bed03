#include "Simulador/Main.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenu>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <utility>

#include "Simulador/aplicacion/TGestorVentanas.h"
#include "Simulador/aplicacion/TIconos.h"
#include "Simulador/aplicacion/TOrdenesPrincipal.h"
#include "Simulador/aplicacion/TServicioDialogos.h"
#include "Simulador/ayuda/TAyudaContexto.h"
#include "Simulador/ayuda/TfrmAyuda.h"
#include "Simulador/codigo/TMarcadorEnVuelo.h"
#include "Simulador/codigo/TModeloCodigo.h"
#include "Simulador/codigo/TPanelCodigo.h"
#include "Simulador/codigo/TRejillaCodigo.h"
#include "Simulador/componentes/TfrmComponente.h"
#include "Simulador/comunes/TSpinNumero.h"
#include "Simulador/control/TControladorMaquina.h"
#include "Simulador/control/TDocumentoVLIW.h"
#include "Simulador/dialogos/TAboutBox.h"
#include "Simulador/editor/TEjemplos.h"
#include "Simulador/editor/TfrmEditorCodigo.h"
#include "Simulador/estadisticas/TVentanasEstadisticas.h"
#include "loader/TCodigo.h"
#include "superscalar/TMaquinaSuper.h"
#include "vliw/TMaquinaVLIW.h"

namespace {

// Fichero que nombra el mensaje de un fallo dentro de un tic: el de sus manejadores.
const char* const FICHERO_MAIN = "Simulador/Main.cpp";

const QString MSG_FICHERO_ERRONEO = QStringLiteral("FICHERO DE CODIGO CON ERRORES O NO VÁLIDO");

}  // namespace

TfrmPrincipal::TfrmPrincipal(TServicioDialogos& servicio, QWidget* padre) : QMainWindow(padre), dialogos(servicio) {
  setObjectName(QStringLiteral("frmPrincipal"));
  setWindowTitle(QStringLiteral("Orvex: Simulador para Planificación Dinámica y Estática"));
  setWindowIcon(TIconos::programa());
  setProperty("temaAyuda", 1);

  // Máquinas con su configuración por defecto: primero la VLIW, luego la superescalar.
  maquinaVLIW = std::make_unique<TMaquinaVLIW>();
  maquinaSuper = std::make_unique<TMaquinaSuper>();
  maquinaVLIW->memoria.porcentajeFallos = 0;
  maquinaSuper->memoria.porcentajeFallos = 0;
  controlVLIW = new TControladorMaquina(*maquinaVLIW, dialogos, this);
  controlSuper = new TControladorMaquina(*maquinaSuper, dialogos, this);
  documento = new TDocumentoVLIW(*maquinaVLIW, dialogos, this);
  controlVLIW->setComprobacionPrevia([this] { return documento->listoParaEjecutar(); });

  mdiArea = new QMdiArea(this);
  mdiArea->setObjectName(QStringLiteral("mdiArea"));
  setCentralWidget(mdiArea);
  ordenes = new TOrdenesPrincipal(*this);
  panCodigo = new TPanelCodigo(this);
  addDockWidget(Qt::LeftDockWidgetArea, panCodigo);
  resizeDocks({panCodigo}, {TPanelCodigo::ANCHO_INICIAL}, Qt::Horizontal);
  panCodigo->hide();
  statusBar()->setObjectName(QStringLiteral("staPrincipal"));
  statusBar()->setSizeGripEnabled(true);
  ayuda = new TAyudaContexto(*this, *mdiArea, dialogos);
  for (QMenu* m : ordenes->menus()) ayuda->vigilarMenu(m);

  // Estado de arranque: barra de ejecución oculta y su entrada deshabilitada,
  // el código sin mostrar hasta que se abra el primer programa.
  ordenes->tobEjecucion->hide();
  ordenes->opcionBarEjecucion->setEnabled(false);
  ordenes->actVerCodigo->setEnabled(false);

  gestor = new TGestorVentanas(*mdiArea, *controlSuper, *controlVLIW, *documento, dialogos, *this);
  ventanasEstadisticas = new TVentanasEstadisticas(*mdiArea, *controlSuper, *controlVLIW, dialogos, *this);
  marcador = new TMarcadorEnVuelo(*controlSuper, *controlVLIW, *panCodigo->grdInstrucciones->modelo(), this);
  const QString carpetaEjemplos = TEjemplos::buscarCarpeta();
  ordenes->ponerEjemplos(carpetaEjemplos.isEmpty() ? QList<TEjemplo>() : TEjemplos::listar(carpetaEjemplos));
  AboutBox = new TAboutBox(this);
  conectarOrdenes();
  conectarControlador(*controlSuper);
  conectarControlador(*controlVLIW);
  actualizarOrdenes();
}

TfrmPrincipal::~TfrmPrincipal() {
  controlSuper->temporizador()->stop();
  controlVLIW->temporizador()->stop();
  // Las ventanas hijas leen las máquinas y el programa: se destruyen antes que ellos.
  gestor->destruirTodas();
  // Desengancha los recolectores mientras sus máquinas y controladores existen.
  delete ventanasEstadisticas;
  delete ayuda->visor();
  panCodigo->mostrarPrograma(nullptr, QString());
  controlSuper->asignarPrograma(nullptr);
}

void TfrmPrincipal::mostrar() {
  resize(892, 564);
  if (const QScreen* pantalla = screen())
    move(pantalla->availableGeometry().center() - QPoint(892 / 2, 564 / 2));
  showMaximized();
}

TControladorMaquina& TfrmPrincipal::controlador(TTipoMaquina m) const {
  return m == TTipoMaquina::vliw ? *controlVLIW : *controlSuper;
}

// ---------------------------------------------------------------- construcción

void TfrmPrincipal::conectarOrdenes() {
  const TOrdenesPrincipal& o = *ordenes;
  const std::pair<QAction*, void (TfrmPrincipal::*)()> manejadores[] = {
      {o.actAbrir, &TfrmPrincipal::actAbrirExecute}, {o.actVerBB, &TfrmPrincipal::actVerBBExecute},
      {o.actVerCodigo, &TfrmPrincipal::actVerCodigoExecute}, {o.actConfSuper, &TfrmPrincipal::actConfSuperExecute},
      {o.actConfVLIW, &TfrmPrincipal::actConfVLIWExecute}, {o.actNuevoVLIW, &TfrmPrincipal::actNuevoVLIWExecute},
      {o.actCargarVLIW, &TfrmPrincipal::actCargarVLIWExecute}, {o.actFalloCache, &TfrmPrincipal::actFalloCacheExecute},
      {o.actIni, &TfrmPrincipal::actIniExecute}, {o.actPaso, &TfrmPrincipal::actPasoExecute},
      {o.actPausa, &TfrmPrincipal::actPausaExecute}, {o.actParar, &TfrmPrincipal::actPararExecute},
      {o.actSelSuper, &TfrmPrincipal::actSelSuperExecute}, {o.actSelVLIW, &TfrmPrincipal::actSelVLIWExecute},
      {o.actCascada, &TfrmPrincipal::actCascadaExecute}, {o.actMosaico, &TfrmPrincipal::actMosaicoExecute},
      {o.actContenidoAyuda, &TfrmPrincipal::actContenidoAyudaExecute},
      {o.actBuscarAyuda, &TfrmPrincipal::actBuscarAyudaExecute}, {o.actComoAyuda, &TfrmPrincipal::actComoAyudaExecute},
      {o.actTemaAyuda, &TfrmPrincipal::actTemaAyudaExecute}, {o.opcSalir, &TfrmPrincipal::FileExit},
      {o.opcionBarEstandar, &TfrmPrincipal::opcionBarEstandarClick},
      {o.opcionBarEjecucion, &TfrmPrincipal::opcionBarEjecucionClick}, {o.mnuCompMem, &TfrmPrincipal::mnuCompMemClick},
      {o.mnuCompGPR, &TfrmPrincipal::mnuCompGPRClick}, {o.mnuCompFPR, &TfrmPrincipal::mnuCompFPRClick},
      {o.opcRestaurarTodo, &TfrmPrincipal::WindowArrange}, {o.opcAcerca, &TfrmPrincipal::HelpAbout},
      {o.actNuevoPrograma, &TfrmPrincipal::actNuevoProgramaExecute},
      {o.actEditarPrograma, &TfrmPrincipal::actEditarProgramaExecute},
      {o.actEnsamblar, &TfrmPrincipal::actEnsamblarExecute},
      {o.actVerEstadisticas, &TfrmPrincipal::actVerEstadisticasExecute},
      {o.actComprobar, &TfrmPrincipal::actComprobarExecute},
      {o.actComparar, &TfrmPrincipal::actCompararExecute},
      {o.actExplorar, &TfrmPrincipal::actExplorarExecute},
  };
  for (const auto& [accion, manejador] : manejadores) connect(accion, &QAction::triggered, this, manejador);
  // Las opciones se leen cuando hacen falta: se siguen también si se marcan por programa.
  connect(o.opcReset, &QAction::toggled, this, &TfrmPrincipal::opcResetClick);
  connect(o.opcChkCodigoVLIW, &QAction::toggled, this, &TfrmPrincipal::opcChkCodigoVLIWClick);
  // activated: solo la elección del usuario, también de la misma entrada.
  connect(o.cboMaquina, &QComboBox::activated, this, &TfrmPrincipal::cboMaquinaChange);
  connect(o.cboComponentes, &QComboBox::activated, this, &TfrmPrincipal::cboComponentesChange);
  connect(o.spiVelocidad, &TSpinNumero::valueChanged, this, &TfrmPrincipal::spiVelocidadChange);
  connect(controlSuper->temporizador(), &QTimer::timeout, this, &TfrmPrincipal::timSimulSuperTimer);
  connect(controlVLIW->temporizador(), &QTimer::timeout, this, &TfrmPrincipal::timSimulVLIWTimer);
  connect(panCodigo, &TPanelCodigo::tituloDobleClic, o.actVerCodigo, &QAction::trigger);
  connect(panCodigo->grdInstrucciones, &TRejillaCodigo::dobleClicInstruccion, this,
          &TfrmPrincipal::grdInstruccionesDblClick);
  connect(o.mnuEjemplos, &QMenu::triggered, this, &TfrmPrincipal::mnuEjemplosClick);
  connect(gestor, &TGestorVentanas::editorCodigoCambiado, this, [this] {
    TfrmEditorCodigo* e = gestor->frmEditorCodigo();
    marcador->setEditor(e);
    actualizarOrdenes();
    // «Guardar como» del texto del programa cargado: el programa ya tiene fichero.
    if (e) connect(e, &TfrmEditorCodigo::rutaCambiada, this, [this, e](const QString& ruta) {
      if (!e->programaVinculado() || ruta.isEmpty()) return;
      rutaPrograma = ruta;
      panCodigo->panTitulo->setText(e->nombre());
    });
  });
}

// Las vistas siguen la ejecución por su cuenta (el gestor); la ventana, sus
// bloqueos y el ciclo. Tras «Parar» la máquina no se resetea, pero el ciclo vuelve a "0".
void TfrmPrincipal::conectarControlador(TControladorMaquina& c) {
  const TTipoMaquina m = c.tipo();
  connect(&c, &TControladorMaquina::estadoCambiado, this, [this, m](bool enMarcha) { bloquearControles(m, enMarcha); });
  connect(&c, &TControladorMaquina::cicloEjecutado, this,
          [this, &c] { ordenes->txtCiclo->setText(QString::number(c.maquina().ciclo)); });
  connect(&c, &TControladorMaquina::ejecucionTerminada, this, [this](TFinEjecucion fin) {
    if (fin == TFinEjecucion::parada) ordenes->txtCiclo->setText(QStringLiteral("0"));
  });
}

// ---------------------------------------------------------------- operaciones

void TfrmPrincipal::actualizarOrdenes() {
  ordenes->actualizar(codigo != nullptr, controlSuper->enEjecucion(), controlVLIW->enEjecucion(),
                      gestor->frmEditorCodigo() != nullptr);
}

bool TfrmPrincipal::algunaEnMarcha() const { return controlSuper->enEjecucion() || controlVLIW->enEjecucion(); }

bool TfrmPrincipal::abrirPrograma(const QString& ruta) {
  auto nuevo = std::make_unique<TCodigo>();
  if (nuevo->cargar(QFile::encodeName(ruta).toStdString()) != CARGA_OK) {
    dialogos.mensaje(this, MSG_FICHERO_ERRONEO, QString::fromStdString(nuevo->detalleError));
    return false;
  }
  instalarPrograma(std::move(nuevo), ruta);
  return true;
}

void TfrmPrincipal::instalarPrograma(std::unique_ptr<TCodigo> nuevo, const QString& ruta, TfrmEditorCodigo* deEditor) {
  // El editor VLIW se refiere al programa que se va a sustituir: se cierra antes.
  gestor->cerrarEditorVLIW();

  std::unique_ptr<TCodigo> anterior = std::move(codigo);
  codigo = std::move(nuevo);
  panCodigo->mostrarPrograma(codigo.get(), ruta.isEmpty() && deEditor ? deEditor->nombre() : ruta);
  controlSuper->asignarPrograma(codigo.get());
  anterior.reset();
  rutaPrograma = ruta;
  fuentePrograma = deEditor ? deEditor->texto() : QString();
  // El editor enmarca lo que está en vuelo solo si su texto es este programa.
  if (deEditor) deEditor->vincularPrograma(*codigo);
  else if (TfrmEditorCodigo* e = gestor->frmEditorCodigo()) e->vincularSiEs(*codigo);
  marcador->actualizar();

  ordenes->opcionBarEjecucion->setEnabled(true);
  ordenes->opcionBarEjecucion->setChecked(true);
  ordenes->tobEjecucion->show();
  panCodigo->show();
  ordenes->actVerCodigo->setEnabled(true);
  ordenes->actVerCodigo->setChecked(true);
  actualizarOrdenes();
  resizeDocks({panCodigo}, {panCodigo->anchoNecesario()}, Qt::Horizontal);
}

void TfrmPrincipal::seleccionarMaquina(TTipoMaquina m) {
  if (m == seleccionada) return;
  seleccionada = m;
  ordenes->cboMaquina->setCurrentIndex(static_cast<int>(m));
  (m == TTipoMaquina::vliw ? ordenes->actSelVLIW : ordenes->actSelSuper)->setChecked(true);
  gestor->seleccionarMaquina(m);
  marcador->seleccionarMaquina(m);
}

void TfrmPrincipal::bloquearControles(TTipoMaquina m, bool enMarcha) {
  if (m == TTipoMaquina::vliw) gestor->bloquearEditorVLIW(enMarcha);
  gestor->cerrarConfiguracion(m);
  actualizarOrdenes();
}

// ---------------------------------------------------------------- manejadores

void TfrmPrincipal::actAbrirExecute() {
  const QString ruta = dialogos.abrirFichero(this, QString::fromUtf8(FILTRO_FUENTES));
  if (!ruta.isEmpty()) abrirPrograma(ruta);
}

void TfrmPrincipal::actIniExecute() { controladorActual().iniciar(); }
void TfrmPrincipal::actPasoExecute() { controladorActual().paso(); }
void TfrmPrincipal::actPausaExecute() { controladorActual().pausa(); }
void TfrmPrincipal::actPararExecute() { controladorActual().parar(); }

void TfrmPrincipal::actSelSuperExecute() { seleccionarMaquina(TTipoMaquina::superescalar); }
void TfrmPrincipal::actSelVLIWExecute() { seleccionarMaquina(TTipoMaquina::vliw); }

void TfrmPrincipal::cboMaquinaChange(int indice) {
  if (indice == 0 || indice == 1) seleccionarMaquina(static_cast<TTipoMaquina>(indice));
}

void TfrmPrincipal::cboComponentesChange(int indice) {
  static const int tipos[3] = {TfrmComponente::MEMORIA, TfrmComponente::GPR, TfrmComponente::FPR};
  if (indice >= 0 && indice < 3) gestor->mostrarComponente(tipos[indice]);
}

void TfrmPrincipal::timSimulSuperTimer() { controlSuper->tic(FICHERO_MAIN, "TfrmPrincipal::timSimulSuperTimer"); }
void TfrmPrincipal::timSimulVLIWTimer() { controlVLIW->tic(FICHERO_MAIN, "TfrmPrincipal::timSimulVLIWTimer"); }

void TfrmPrincipal::spiVelocidadChange(int valor) {
  controlSuper->setVelocidad(valor);
  controlVLIW->setVelocidad(valor);
}

void TfrmPrincipal::actFalloCacheExecute() {
  int valor = 0;
  if (dialogos.pedirCantidad(this, QStringLiteral("% Fallos caché"), QStringLiteral("% Fallos"),
                             maquinaSuper->memoria.porcentajeFallos, 0, 100, valor) != RESULTADO_ACEPTAR)
    return;
  // Las dos máquinas tienen siempre el mismo porcentaje.
  controlSuper->cambiarPorcentajeFallos(valor);
  controlVLIW->cambiarPorcentajeFallos(valor);
}

void TfrmPrincipal::actNuevoVLIWExecute() {
  if (!codigo || controlVLIW->enEjecucion() || !documento->nuevo()) return;
  gestor->abrirEditorVLIW(*codigo);
  seleccionarMaquina(TTipoMaquina::vliw);
}

void TfrmPrincipal::actCargarVLIWExecute() {
  if (!codigo || controlVLIW->enEjecucion() || !documento->cargar(*codigo)) return;
  gestor->abrirEditorVLIW(*codigo);
  seleccionarMaquina(TTipoMaquina::vliw);
}

void TfrmPrincipal::mnuCompGPRClick() { gestor->mostrarComponente(TfrmComponente::GPR); }
void TfrmPrincipal::mnuCompFPRClick() { gestor->mostrarComponente(TfrmComponente::FPR); }
void TfrmPrincipal::mnuCompMemClick() { gestor->mostrarComponente(TfrmComponente::MEMORIA); }

void TfrmPrincipal::actConfSuperExecute() {
  if (!controlSuper->enEjecucion()) gestor->mostrarConfiguracion(TTipoMaquina::superescalar);
}

void TfrmPrincipal::actConfVLIWExecute() {
  if (!controlVLIW->enEjecucion()) gestor->mostrarConfiguracion(TTipoMaquina::vliw);
}

void TfrmPrincipal::opcResetClick(bool marcada) {
  controlSuper->setLimpiarAlIniciar(marcada);
  controlVLIW->setLimpiarAlIniciar(marcada);
}

void TfrmPrincipal::opcChkCodigoVLIWClick(bool marcada) { documento->setChequear(marcada); }

void TfrmPrincipal::actVerBBExecute() {
  panCodigo->grdInstrucciones->setBloquesBasicos(ordenes->actVerBB->isChecked());
  gestor->setBloquesBasicos(ordenes->actVerBB->isChecked());
}

void TfrmPrincipal::actVerCodigoExecute() { panCodigo->setVisible(ordenes->actVerCodigo->isChecked()); }

void TfrmPrincipal::opcionBarEstandarClick() {
  ordenes->tobEstandar->setVisible(ordenes->opcionBarEstandar->isChecked());
}

void TfrmPrincipal::opcionBarEjecucionClick() {
  ordenes->tobEjecucion->setVisible(ordenes->opcionBarEjecucion->isChecked());
}

void TfrmPrincipal::actVerEstadisticasExecute() { ventanasEstadisticas->mostrarEstadisticas(seleccionada); }

void TfrmPrincipal::actComprobarExecute() {
  if (codigo) ventanasEstadisticas->comprobarResultado(seleccionada, *codigo);
}

void TfrmPrincipal::actCompararExecute() {
  if (codigo) ventanasEstadisticas->compararMaquinas(*codigo);
}

void TfrmPrincipal::actExplorarExecute() {
  if (codigo) ventanasEstadisticas->mostrarExploracion(*codigo);
}

void TfrmPrincipal::actCascadaExecute() { gestor->cascada(); }
void TfrmPrincipal::actMosaicoExecute() { gestor->mosaico(); }
void TfrmPrincipal::WindowArrange() { gestor->restaurarTodo(); }

void TfrmPrincipal::actContenidoAyudaExecute() { ayuda->contenido(); }
void TfrmPrincipal::actBuscarAyudaExecute() { ayuda->buscar(); }
void TfrmPrincipal::actComoAyudaExecute() { ayuda->comoUsar(); }
void TfrmPrincipal::actTemaAyudaExecute() { ayuda->mostrarTema(ayuda->temaActivo()); }

void TfrmPrincipal::HelpAbout() { dialogos.ejecutarModal(*AboutBox); }

void TfrmPrincipal::FileExit() { close(); }

void TfrmPrincipal::closeEvent(QCloseEvent* evento) {
  if (!gestor->puedeCerrarEditorCodigo() || !documento->puedeDescartarse()) {
    evento->ignore();
    return;
  }
  QMainWindow::closeEvent(evento);
}

void TfrmPrincipal::grdInstruccionesDblClick(int instruccion) {
  if (!codigo || !codigo->indiceValido(instruccion)) return;
  const bool marca = !codigo->instrucciones[static_cast<size_t>(instruccion)].breakpoint;
  controlSuper->cambiarBreakpoint(instruccion, marca);
  panCodigo->grdInstrucciones->modelo()->refrescar();
  panCodigo->grdInstrucciones->viewport()->update();
}

// ---------------------------------------------------------------- editor de código y ejemplos

void TfrmPrincipal::actNuevoProgramaExecute() {
  TfrmEditorCodigo* e = gestor->frmEditorCodigo();
  // Uno recién creado ya está vacío; en el que hay se pregunta por sus cambios.
  if (e) e->nuevo();
  gestor->mostrarEditorCodigo();
}

void TfrmPrincipal::actEditarProgramaExecute() {
  if (!codigo) return;
  TfrmEditorCodigo* e = gestor->frmEditorCodigo();
  const bool yaLoTiene = e && e->programaVinculado();
  e = gestor->mostrarEditorCodigo();
  if (yaLoTiene) return;
  // Un programa que salió de un texto sin fichero vuelve como ese texto.
  if (!(rutaPrograma.isEmpty() ? e->nuevo(fuentePrograma) : e->abrir(rutaPrograma))) return;
  if (!e->vincularSiEs(*codigo))
    statusBar()->showMessage(
        QStringLiteral("El fichero ha cambiado desde que se cargó el programa: el editor no marcará su ejecución"));
  marcador->setEditor(e);
}

void TfrmPrincipal::actEnsamblarExecute() {
  TfrmEditorCodigo* e = gestor->frmEditorCodigo();
  if (!e || algunaEnMarcha()) return;
  auto nuevo = std::make_unique<TCodigo>();
  // Con errores no se carga nada: el error queda marcado en el editor.
  if (e->cargarEn(*nuevo) != CARGA_OK) {
    statusBar()->showMessage(QStringLiteral("No se ha cargado el programa: ") + e->detalleError());
    return;
  }
  const QString resumen = QStringLiteral("Programa cargado desde el editor: %1, %2 instrucciones")
                              .arg(e->nombre())
                              .arg(nuevo->numInstrucciones);
  instalarPrograma(std::move(nuevo), e->ruta(), e);
  statusBar()->showMessage(resumen);
}

void TfrmPrincipal::mnuEjemplosClick(QAction* ejemplo) {
  const QString ruta = ejemplo->data().toString();
  if (ruta.isEmpty() || algunaEnMarcha()) return;
  const QString vliw = TEjemplos::programaVLIW(ruta);
  // Su programa VLIW sustituye al que hay: se pregunta antes de cambiar nada.
  if (!vliw.isEmpty() && !documento->puedeDescartarse()) return;
  if (!abrirPrograma(ruta) || vliw.isEmpty()) return;
  if (documento->cargarFichero(*codigo, vliw))
    statusBar()->showMessage(QStringLiteral("%1 cargado con su programa VLIW %2 (F3 selecciona la máquina VLIW)")
                                 .arg(QFileInfo(ruta).fileName(), QFileInfo(vliw).fileName()));
}
