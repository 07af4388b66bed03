#include "Simulador/Main.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QMdiArea>
#include <QLineEdit>
#include <QMenu>
#include <QScreen>
#include <QTimer>
#include <QToolBar>
#include <utility>

#include "Simulador/aplicacion/TGestorVentanas.h"
#include "Simulador/aplicacion/TIconos.h"
#include "Simulador/aplicacion/TIndicadorEstado.h"
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
#include "Simulador/control/TProgramaFuente.h"
#include "Simulador/diagrama/TEnlaceDiagramas.h"
#include "Simulador/dialogos/TAboutBox.h"
#include "Simulador/editor/TfrmEditorCodigo.h"
#include "Simulador/estadisticas/TVentanasEstadisticas.h"
#include "Simulador/vliw/TPlanificacionAutomatica.h"
#include "loader/TCodigo.h"
#include "superscalar/TMaquinaSuper.h"
#include "vliw/TMaquinaVLIW.h"

namespace {

// Fichero que nombra el mensaje de un fallo dentro de un tic: el de sus manejadores.
const char* const FICHERO_MAIN = "Simulador/Main.cpp";

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
  // Una ventana mayor que el área (o que quedó fuera al encogerla) se alcanza desplazándola.
  mdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  mdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setCentralWidget(mdiArea);
  ordenes = new TOrdenesPrincipal(*this);
  panCodigo = new TPanelCodigo(this);
  addDockWidget(Qt::LeftDockWidgetArea, panCodigo);
  resizeDocks({panCodigo}, {TPanelCodigo::ANCHO_INICIAL}, Qt::Horizontal);
  panCodigo->hide();
  ayuda = new TAyudaContexto(*this, *mdiArea, dialogos);
  for (QMenu* m : ordenes->menus()) ayuda->vigilarMenu(m);

  gestor = new TGestorVentanas(*mdiArea, *controlSuper, *controlVLIW, *documento, dialogos, *this);
  ventanasEstadisticas = new TVentanasEstadisticas(*mdiArea, *controlSuper, *controlVLIW, dialogos, *this);
  marcador = new TMarcadorEnVuelo(*controlSuper, *controlVLIW, *panCodigo->grdInstrucciones->modelo(), this);
  diagramas = new TEnlaceDiagramas(*controlSuper, *controlVLIW, *gestor, *panCodigo->grdInstrucciones, this);
  fuente = new TProgramaFuente(*documento, *gestor, dialogos, *this);
  fuente->setOcupado([this] { return algunaEnMarcha(); });
  AboutBox = new TAboutBox(this);
  indicador = new TIndicadorEstado(*ordenes, *controlSuper, *controlVLIW, [this] { return programa() != nullptr; }, this);
  conectarOrdenes();
  conectarControlador(*controlSuper);
  conectarControlador(*controlVLIW);
  actualizarOrdenes();
  indicador->refrescar();
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
  delete diagramas;
  // Los controladores desenganchan su reparto de la máquina al destruirse: antes que ellas.
  delete controlSuper;
  delete controlVLIW;
}

void TfrmPrincipal::mostrar() {
  resize(892, 564);
  if (const QScreen* pantalla = screen())
    move(pantalla->availableGeometry().center() - QPoint(892 / 2, 564 / 2));
  showMaximized();
}

TCodigo* TfrmPrincipal::programa() const { return fuente->codigo(); }

TControladorMaquina& TfrmPrincipal::controlador(TTipoMaquina m) const {
  return m == TTipoMaquina::vliw ? *controlVLIW : *controlSuper;
}

// ---------------------------------------------------------------- construcción

void TfrmPrincipal::conectarOrdenes() {
  const TOrdenesPrincipal& o = *ordenes;
  const std::pair<QAction*, void (TfrmPrincipal::*)()> manejadores[] = {
      {o.actVerBB, &TfrmPrincipal::actVerBBExecute},
      {o.actVerCodigo, &TfrmPrincipal::actVerCodigoExecute},
      {o.actVerDiagrama, &TfrmPrincipal::actVerDiagramaExecute}, {o.actConfSuper, &TfrmPrincipal::actConfSuperExecute},
      {o.actConfVLIW, &TfrmPrincipal::actConfVLIWExecute}, {o.actNuevoVLIW, &TfrmPrincipal::actNuevoVLIWExecute},
      {o.actCargarVLIW, &TfrmPrincipal::actCargarVLIWExecute},
 {o.actFalloCache, &TfrmPrincipal::actFalloCacheExecute},
      {o.actIni, &TfrmPrincipal::actIniExecute}, {o.actPaso, &TfrmPrincipal::actPasoExecute},
      {o.actPausa, &TfrmPrincipal::actPausaExecute}, {o.actParar, &TfrmPrincipal::actPararExecute},
      {o.actRetroceder, &TfrmPrincipal::actRetrocederExecute}, {o.actIrACiclo, &TfrmPrincipal::actIrACicloExecute},
      {o.actHastaElFinal, &TfrmPrincipal::actHastaElFinalExecute},
      {o.opcLimiteCiclos, &TfrmPrincipal::opcLimiteCiclosExecute},
      {o.actSelSuper, &TfrmPrincipal::actSelSuperExecute}, {o.actSelVLIW, &TfrmPrincipal::actSelVLIWExecute},
      {o.actCascada, &TfrmPrincipal::actCascadaExecute}, {o.actMosaico, &TfrmPrincipal::actMosaicoExecute},
      {o.actContenidoAyuda, &TfrmPrincipal::actContenidoAyudaExecute},
      {o.actBuscarAyuda, &TfrmPrincipal::actBuscarAyudaExecute}, {o.actComoAyuda, &TfrmPrincipal::actComoAyudaExecute},
      {o.actTemaAyuda, &TfrmPrincipal::actTemaAyudaExecute}, {o.opcSalir, &TfrmPrincipal::FileExit},
      {o.opcionBarEstandar, &TfrmPrincipal::opcionBarEstandarClick},
      {o.opcionBarEjecucion, &TfrmPrincipal::opcionBarEjecucionClick}, {o.mnuCompMem, &TfrmPrincipal::mnuCompMemClick},
      {o.mnuCompGPR, &TfrmPrincipal::mnuCompGPRClick}, {o.mnuCompFPR, &TfrmPrincipal::mnuCompFPRClick},
      {o.opcRestaurarTodo, &TfrmPrincipal::WindowArrange}, {o.opcAcerca, &TfrmPrincipal::HelpAbout},
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
  // La lista de ventanas de «Ve&ntana», al día cada vez que se abre.
  connect(o.mnuVentana, &QMenu::aboutToShow, this,
          [this] { ordenes->listarVentanas(gestor->ventanasConNombre(), mdiArea->activeSubWindow()); });
  connect(ordenes, &TOrdenesPrincipal::ventanaElegida, gestor, &TGestorVentanas::activar);
  // Lo que trae un programa lo hace el programa fuente; aquí solo se enseña.
  fuente->conectar(*ordenes);
  auto* automatica = new TPlanificacionAutomatica(*controlVLIW, *documento, [this] { return programa(); }, dialogos, *this);
  automatica->conectar(o);
  ventanasEstadisticas->conectar(o, [this] { return seleccionada; }, [this] { return programa(); });
  connect(automatica, &TPlanificacionAutomatica::planificado, this, &TfrmPrincipal::mostrarEditorVLIW);
  connect(fuente, &TProgramaFuente::instalado, this, &TfrmPrincipal::mostrarPrograma);
  connect(fuente, &TProgramaFuente::editorVinculado, marcador, &TMarcadorEnVuelo::setEditor);
  connect(fuente, &TProgramaFuente::tituloCambiado, panCodigo->panTitulo, &QLabel::setText);
  connect(fuente, &TProgramaFuente::vliwCargado, this, &TfrmPrincipal::mostrarEditorVLIW);
  connect(panCodigo->grdInstrucciones, &TRejillaCodigo::dobleClicInstruccion, this,
          &TfrmPrincipal::grdInstruccionesDblClick);
  connect(gestor, &TGestorVentanas::editorCodigoCambiado, this, [this] {
    marcador->setEditor(gestor->frmEditorCodigo());
    actualizarOrdenes();
  });
}

// Las vistas siguen la ejecución por su cuenta (el gestor); la ventana, sus bloqueos.
void TfrmPrincipal::conectarControlador(TControladorMaquina& c) {
  const TTipoMaquina m = c.tipo();
  connect(&c, &TControladorMaquina::estadoCambiado, this, [this, m](bool enMarcha) { bloquearControles(m, enMarcha); });
}

// ---------------------------------------------------------------- operaciones

TControladorMaquina& TfrmPrincipal::controladorEnMarcha() const {
  // Una orden VLIW puede seleccionar la VLIW con la superescalar en marcha, y
  // la selección queda bloqueada mientras tanto: sin esto nada la alcanzaría.
  TControladorMaquina& actual = controladorActual();
  TControladorMaquina& otro =
      controlador(seleccionada == TTipoMaquina::vliw ? TTipoMaquina::superescalar : TTipoMaquina::vliw);
  return !actual.enEjecucion() && otro.enEjecucion() ? otro : actual;
}

void TfrmPrincipal::actualizarOrdenes() {
  ordenes->actualizar(programa() != nullptr, controlSuper->enEjecucion(), controlVLIW->enEjecucion(),
                      gestor->frmEditorCodigo() != nullptr);
}

bool TfrmPrincipal::algunaEnMarcha() const { return controlSuper->enEjecucion() || controlVLIW->enEjecucion(); }

void TfrmPrincipal::mostrarPrograma(TCodigo* nuevo, const QString& titulo) {
  panCodigo->mostrarPrograma(nuevo, titulo);
  controlSuper->asignarPrograma(nuevo);
  marcador->actualizar();
  ordenes->habilitarVistasPrograma();
  panCodigo->show();
  actualizarOrdenes();
  indicador->refrescar();
  resizeDocks({panCodigo}, {panCodigo->anchoNecesario()}, Qt::Horizontal);
}

void TfrmPrincipal::mostrarEditorVLIW() {
  gestor->abrirEditorVLIW(*programa());
  seleccionarMaquina(TTipoMaquina::vliw);
}

void TfrmPrincipal::abrirDesdeFuera(const QString& rutaFuente, const QString& rutaVLIW) {
  fuente->abrirDesdeFuera(rutaFuente, rutaVLIW);
}

void TfrmPrincipal::seleccionarMaquina(TTipoMaquina m) {
  if (m == seleccionada) return;
  seleccionada = m;
  ordenes->cboMaquina->setCurrentIndex(static_cast<int>(m));
  (m == TTipoMaquina::vliw ? ordenes->actSelVLIW : ordenes->actSelSuper)->setChecked(true);
  gestor->seleccionarMaquina(m);
  marcador->seleccionarMaquina(m);
  indicador->seleccionar(m);
}

void TfrmPrincipal::bloquearControles(TTipoMaquina m, bool enMarcha) {
  if (m == TTipoMaquina::vliw) gestor->bloquearEditorVLIW(enMarcha);
  gestor->cerrarConfiguracion(m);
  actualizarOrdenes();
}

// ---------------------------------------------------------------- manejadores

// Cada orden puede poner en marcha o parar el temporizador sin otra señal: la
// barra de estado se mira después de todas.
void TfrmPrincipal::actIniExecute() {
  controladorActual().iniciar();
  indicador->refrescar();
}

void TfrmPrincipal::actPasoExecute() {
  controladorActual().paso();
  indicador->refrescar();
}

void TfrmPrincipal::actPausaExecute() {
  controladorEnMarcha().pausa();
  indicador->refrescar();
}

void TfrmPrincipal::actPararExecute() {
  controladorEnMarcha().parar();
  indicador->refrescar();
}

void TfrmPrincipal::actRetrocederExecute() { controladorActual().retroceder(); }
void TfrmPrincipal::actHastaElFinalExecute() { controladorActual().ejecutarHastaElFinal(); }

void TfrmPrincipal::actIrACicloExecute() { controladorActual().pedirCiclo(); }

void TfrmPrincipal::opcLimiteCiclosExecute() {
  if (controlSuper->pedirLimiteCiclos()) controlVLIW->setLimiteCiclos(controlSuper->limiteCiclos());
}

void TfrmPrincipal::actSelSuperExecute() { seleccionarMaquina(TTipoMaquina::superescalar); }
void TfrmPrincipal::actSelVLIWExecute() { seleccionarMaquina(TTipoMaquina::vliw); }

void TfrmPrincipal::cboMaquinaChange(int indice) {
  if (indice == 0 || indice == 1) seleccionarMaquina(static_cast<TTipoMaquina>(indice));
}

void TfrmPrincipal::cboComponentesChange(int indice) {
  static const int tipos[3] = {TfrmComponente::MEMORIA, TfrmComponente::GPR, TfrmComponente::FPR};
  if (indice >= 0 && indice < 3) gestor->mostrarComponente(tipos[indice]);
}

void TfrmPrincipal::timSimulSuperTimer() {
  controlSuper->tic(FICHERO_MAIN, "TfrmPrincipal::timSimulSuperTimer");
  indicador->refrescar();  // un fallo dentro del tic para el temporizador sin otra señal
}

void TfrmPrincipal::timSimulVLIWTimer() {
  controlVLIW->tic(FICHERO_MAIN, "TfrmPrincipal::timSimulVLIWTimer");
  indicador->refrescar();
}

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
  if (programa() && !controlVLIW->enEjecucion() && documento->nuevo()) mostrarEditorVLIW();
}

void TfrmPrincipal::actCargarVLIWExecute() {
  if (programa() && !controlVLIW->enEjecucion() && documento->cargar(*programa())) mostrarEditorVLIW();
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

const TRegistradorDiagrama& TfrmPrincipal::registradorDiagrama(TTipoMaquina m) const {
  return diagramas->registrador(m);
}

void TfrmPrincipal::actVerDiagramaExecute() { diagramas->mostrar(seleccionada); }

void TfrmPrincipal::actVerCodigoExecute() { panCodigo->setVisible(ordenes->actVerCodigo->isChecked()); }

void TfrmPrincipal::opcionBarEstandarClick() {
  ordenes->tobEstandar->setVisible(ordenes->opcionBarEstandar->isChecked());
}

void TfrmPrincipal::opcionBarEjecucionClick() {
  ordenes->tobEjecucion->setVisible(ordenes->opcionBarEjecucion->isChecked());
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
  const TCodigo* codigo = programa();
  if (!codigo || !codigo->indiceValido(instruccion)) return;
  const bool marca = !codigo->instrucciones[static_cast<size_t>(instruccion)].breakpoint;
  controlSuper->cambiarBreakpoint(instruccion, marca);
  panCodigo->grdInstrucciones->modelo()->refrescar();
  panCodigo->grdInstrucciones->viewport()->update();
}
