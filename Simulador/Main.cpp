#include "Simulador/Main.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QDockWidget>
#include <QFile>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>
#include <algorithm>

#include "Simulador/aplicacion/TAplicacion.h"
#include "Simulador/aplicacion/TIconos.h"
#include "Simulador/aplicacion/TServicioDialogos.h"
#include "Simulador/ayuda/TfrmAyuda.h"
#include "Simulador/codigo/TModeloCodigo.h"
#include "Simulador/codigo/TRejillaCodigo.h"
#include "Simulador/comunes/TPanelRejilla.h"
#include "Simulador/comunes/TSpinNumero.h"
#include "Simulador/dialogos/TAboutBox.h"
#include "Simulador/dialogos/TdlgIntervalo.h"
#include "Simulador/vliw/TdlgSaltoVLIW.h"
#include "loader/TCodigo.h"
#include "superscalar/TMaquinaSuper.h"
#include "vliw/TMaquinaVLIW.h"

namespace {

// Fichero que nombra el mensaje de un fallo dentro de un tick.
const char* const FICHERO_MAIN = "Simulador/Main.cpp";

const QString MSG_COMPLETADA = QStringLiteral("Ejecución completada");
const QString MSG_BREAKPOINT = QStringLiteral("Ejecución detenida: BREAKPOINT");
const QString MSG_REINICIAR =
    QStringLiteral("Esto detendrá la ejecución actual e iniciará una nueva. ¿Desea reiniciar?");
const QString MSG_FICHERO_ERRONEO = QStringLiteral("FICHERO DE CODIGO CON ERRORES O NO VÁLIDO");
const QString MSG_SIN_VLIW = QStringLiteral("Debe completar el código VLIW antes de ejecutar");
const QString MSG_CONFIGURACION =
    QStringLiteral("La configuración actual de la máquina no permite ejecutar ese código");
const QString MSG_ERROR_CARGA_VLIW = QString::fromUtf8(TMaquinaVLIW::MENSAJE_ERROR_CARGA);
const QString MSG_GUARDAR_VLIW =
    QStringLiteral("El programa VLIW ha cambiado desde la última vez que se guardó o se cargó. ¿Desea guardarlo?");

QAction* nuevaAccion(QObject* padre, const char* nombre, const QString& texto, const QString& pista,
                     const QKeySequence& atajo = QKeySequence(), const QIcon& icono = QIcon()) {
  auto* a = new QAction(icono, texto, padre);
  a->setObjectName(QString::fromLatin1(nombre));
  a->setStatusTip(pista);
  a->setToolTip(pista);
  if (!atajo.isEmpty()) a->setShortcut(atajo);
  return a;
}

// Nombre del fichero sin carpeta, sea cual sea el separador de la ruta.
QString nombreSinCarpeta(const QString& ruta) {
  const qsizetype corte = std::max(ruta.lastIndexOf(QLatin1Char('/')), ruta.lastIndexOf(QLatin1Char('\\')));
  return ruta.mid(corte + 1);
}

}  // namespace

TfrmPrincipal::TfrmPrincipal(TServicioDialogos& servicio, QWidget* padre)
    : QMainWindow(padre), dialogos(servicio) {
  setObjectName(QStringLiteral("frmPrincipal"));
  setWindowTitle(QStringLiteral("Orvex: Simulador para Planificación Dinámica y Estática"));
  setWindowIcon(TIconos::programa());

  // Máquinas con su configuración por defecto: primero la VLIW, luego la superescalar.
  maquinaVLIW = std::make_unique<TMaquinaVLIW>();
  maquinaSuper = std::make_unique<TMaquinaSuper>();
  maquinaVLIW->memoria.porcentajeFallos = 0;
  maquinaSuper->memoria.porcentajeFallos = 0;

  mdiArea = new QMdiArea(this);
  mdiArea->setObjectName(QStringLiteral("mdiArea"));
  setCentralWidget(mdiArea);

  timSimulSuper = new QTimer(this);
  timSimulSuper->setObjectName(QStringLiteral("timSimulSuper"));
  timSimulVLIW = new QTimer(this);
  timSimulVLIW->setObjectName(QStringLiteral("timSimulVLIW"));
  connect(timSimulSuper, &QTimer::timeout, this, &TfrmPrincipal::timSimulSuperTimer);
  connect(timSimulVLIW, &QTimer::timeout, this, &TfrmPrincipal::timSimulVLIWTimer);

  crearAcciones();
  crearMenus();
  crearBarras();
  crearPanelCodigo();
  statusBar()->setObjectName(QStringLiteral("staPrincipal"));
  statusBar()->setSizeGripEnabled(true);

  // Estado de arranque: barra de ejecución oculta, su entrada desmarcada y
  // deshabilitada; la máquina superescalar seleccionada.
  tobEjecucion->hide();
  opcionBarEjecucion->setChecked(false);
  opcionBarEjecucion->setEnabled(false);
  cboMaquina->setCurrentIndex(maquinaActual);
  actSelSuper->setChecked(true);
  actVerCodigo->setEnabled(false);  // hasta que se abra el primer programa
  asignarTemasAyuda();

  dlgSaltoVLIW = new TdlgSaltoVLIW(this);
  dlgIntervalo = new TdlgIntervalo(dialogos, this);
  AboutBox = new TAboutBox(this);
  actualizarOrdenes();
}

TfrmPrincipal::~TfrmPrincipal() {
  timSimulSuper->stop();
  timSimulVLIW->stop();
  // Las ventanas hijas leen las máquinas y el programa: se destruyen antes que ellos.
  for (QMdiSubWindow* v : mdiArea->subWindowList()) delete v;
  delete frmAyuda.data();
  grdInstrucciones->modelo()->asignar(nullptr);
  maquinaSuper->codigo = nullptr;
}

void TfrmPrincipal::mostrar() {
  resize(892, 564);
  if (const QScreen* pantalla = screen())
    move(pantalla->availableGeometry().center() - QPoint(892 / 2, 564 / 2));
  showMaximized();
}

// ---------------------------------------------------------------- construcción

void TfrmPrincipal::crearAcciones() {
  actAbrir = nuevaAccion(this, "actAbrir", QStringLiteral("&Abrir..."), QStringLiteral("Abrir un nuevo fichero"),
                         QKeySequence(Qt::CTRL | Qt::Key_A), TIconos::abrir());
  actVerBB = nuevaAccion(this, "actVerBB", QStringLiteral("Bloques Básicos"),
                         QStringLiteral("Colorea los bloques básicos del código"), QKeySequence(Qt::CTRL | Qt::Key_B),
                         TIconos::bloquesBasicos());
  actVerBB->setCheckable(true);
  actVerCodigo = nuevaAccion(this, "actVerCodigo", QStringLiteral("Código Secuencial"),
                             QStringLiteral("Muestra/Oculta el código secuencial"), QKeySequence(),
                             TIconos::codigoSecuencial());
  actVerCodigo->setCheckable(true);
  actVerCodigo->setChecked(true);
  actConfSuper = nuevaAccion(this, "actConfSuper", QStringLiteral("Configurar Super&escalar"),
                             QStringLiteral("Establecer los parámetros de la Máquina Superescalar"),
                             QKeySequence(Qt::ALT | Qt::Key_F2), TIconos::confSuper());
  actConfVLIW = nuevaAccion(this, "actConfVLIW", QStringLiteral("Configurar VLI&W"),
                            QStringLiteral("Establecer los parámetros de la Máquina VLIW"),
                            QKeySequence(Qt::ALT | Qt::Key_F3), TIconos::confVLIW());
  actNuevoVLIW = nuevaAccion(this, "actNuevoVLIW", QStringLiteral("Crear &Nuevo Programa VLIW"),
                             QStringLiteral("Abre la ventana para crear códigos VLIW"));
  actCargarVLIW = nuevaAccion(this, "actCargarVLIW", QStringLiteral("Car&gar Programa VLIW..."),
                              QStringLiteral("Carga la configuración de las máquinas desde un fichero"));
  actFalloCache = nuevaAccion(this, "actFalloCache", QStringLiteral("% Fallos Caché Datos"),
                              QStringLiteral("Establece el porcentaje de fallos de caché"),
                              QKeySequence(Qt::CTRL | Qt::Key_F), TIconos::falloCache());
  actIni = nuevaAccion(this, "actIni", QStringLiteral("Iniciar"), QStringLiteral("Comenzar Ejecución Continua"),
                       QKeySequence(Qt::Key_F9), TIconos::iniciar());
  actPaso = nuevaAccion(this, "actPaso", QStringLiteral("Paso a Paso"), QStringLiteral("Ejecución Paso a Paso"),
                        QKeySequence(Qt::Key_F8), TIconos::paso());
  actPausa = nuevaAccion(this, "actPausa", QStringLiteral("Pausa"), QStringLiteral("Pausar la Ejecución"),
                         QKeySequence(Qt::Key_F7), TIconos::pausa());
  actParar = nuevaAccion(this, "actParar", QStringLiteral("Parar"), QStringLiteral("Terminar la Ejecución"),
                         QKeySequence(Qt::Key_F6), TIconos::parar());
  actSelSuper = nuevaAccion(this, "actSelSuper", QStringLiteral("Seleccionar Superescalar"),
                            QStringLiteral("Seleccionar Máquina Superescalar"), QKeySequence(Qt::Key_F2));
  actSelVLIW = nuevaAccion(this, "actSelVLIW", QStringLiteral("Seleccionar VLIW"),
                           QStringLiteral("Seleccionar Máquina VLIW"), QKeySequence(Qt::Key_F3));
  actSelSuper->setCheckable(true);
  actSelVLIW->setCheckable(true);
  auto* grupoMaquina = new QActionGroup(this);
  grupoMaquina->addAction(actSelSuper);
  grupoMaquina->addAction(actSelVLIW);
  actCascada = nuevaAccion(this, "actCascada", QStringLiteral("&Cascada"),
                           QStringLiteral("Coloca todas las ventanas en cascada"));
  actMosaico = nuevaAccion(this, "actMosaico", QStringLiteral("&Mosaico"), QStringLiteral("Alinea las ventanas"));
  actContenidoAyuda = nuevaAccion(this, "actContenidoAyuda", QStringLiteral("&Contenido"),
                                  QStringLiteral("Contenido de la ayuda"), QKeySequence(Qt::Key_F1), TIconos::ayuda());
  actBuscarAyuda = nuevaAccion(this, "actBuscarAyuda", QStringLiteral("&Buscar Ayuda sobre..."),
                               QStringLiteral("Buscar un tema específico en la ayuda"));
  actComoAyuda = nuevaAccion(this, "actComoAyuda", QStringLiteral("Cómo &usar la Ayuda"),
                             QStringLiteral("Funcionamiento de la ayuda"));
  actTemaAyuda = nuevaAccion(this, "actTemaAyuda", QStringLiteral("Ayuda de la ventana activa"),
                             QStringLiteral("Abre el tema de ayuda de la ventana activa"),
                             QKeySequence(Qt::SHIFT | Qt::Key_F1));
  addAction(actTemaAyuda);  // sin menú: solo el atajo

  opcSalir = nuevaAccion(this, "opcSalir", QStringLiteral("&Salir"), QStringLiteral("Salir del programa"));
  opcionBarEstandar = nuevaAccion(this, "opcionBarEstandar", QStringLiteral("Estándar"), QString());
  opcionBarEstandar->setCheckable(true);
  opcionBarEstandar->setChecked(true);
  opcionBarEjecucion = nuevaAccion(this, "opcionBarEjecucion", QStringLiteral("Ejecución"), QString());
  opcionBarEjecucion->setCheckable(true);
  opcReset = nuevaAccion(this, "opcReset", QStringLiteral("&Resetear máquina al iniciar"),
                         QStringLiteral("Pone la memoria y registros de la memoria a 0 con cada nueva ejecución"));
  opcReset->setCheckable(true);
  opcChkCodigoVLIW =
      nuevaAccion(this, "opcChkCodigoVLIW", QStringLiteral("C&hequear código VLIW"),
                  QStringLiteral("Indica si se comprueban las inconsistencias en el código VLIW automáticamente"));
  opcChkCodigoVLIW->setCheckable(true);
  opcChkCodigoVLIW->setChecked(true);
  mnuCompMem = nuevaAccion(this, "mnuCompMem", QStringLiteral("&Memoria"), QString(),
                           QKeySequence(Qt::ALT | Qt::Key_F5), TIconos::memoria());
  mnuCompGPR = nuevaAccion(this, "mnuCompGPR", QStringLiteral("Registros de Propósito &General"), QString(),
                           QKeySequence(Qt::ALT | Qt::Key_F6), TIconos::registrosGPR());
  mnuCompFPR = nuevaAccion(this, "mnuCompFPR", QStringLiteral("Registros de Punto &Flotante"), QString(),
                           QKeySequence(Qt::ALT | Qt::Key_F7), TIconos::registrosFPR());
  opcRestaurarTodo = nuevaAccion(this, "opcRestaurarTodo", QStringLiteral("&Restaurar todo"),
                                 QStringLiteral("Restaura todas las ventanas minimizadas"));
  opcAcerca = nuevaAccion(this, "opcAcerca", QStringLiteral("&Acerca..."),
                          QStringLiteral("Muestra la información del programa"));

  connect(actAbrir, &QAction::triggered, this, &TfrmPrincipal::actAbrirExecute);
  connect(actVerBB, &QAction::triggered, this, &TfrmPrincipal::actVerBBExecute);
  connect(actVerCodigo, &QAction::triggered, this, &TfrmPrincipal::actVerCodigoExecute);
  connect(actConfSuper, &QAction::triggered, this, &TfrmPrincipal::actConfSuperExecute);
  connect(actConfVLIW, &QAction::triggered, this, &TfrmPrincipal::actConfVLIWExecute);
  connect(actNuevoVLIW, &QAction::triggered, this, &TfrmPrincipal::actNuevoVLIWExecute);
  connect(actCargarVLIW, &QAction::triggered, this, &TfrmPrincipal::actCargarVLIWExecute);
  connect(actFalloCache, &QAction::triggered, this, &TfrmPrincipal::actFalloCacheExecute);
  connect(actIni, &QAction::triggered, this, &TfrmPrincipal::actIniExecute);
  connect(actPaso, &QAction::triggered, this, &TfrmPrincipal::actPasoExecute);
  connect(actPausa, &QAction::triggered, this, &TfrmPrincipal::actPausaExecute);
  connect(actParar, &QAction::triggered, this, &TfrmPrincipal::actPararExecute);
  connect(actSelSuper, &QAction::triggered, this, &TfrmPrincipal::actSelSuperExecute);
  connect(actSelVLIW, &QAction::triggered, this, &TfrmPrincipal::actSelVLIWExecute);
  connect(actCascada, &QAction::triggered, this, &TfrmPrincipal::actCascadaExecute);
  connect(actMosaico, &QAction::triggered, this, &TfrmPrincipal::actMosaicoExecute);
  connect(actContenidoAyuda, &QAction::triggered, this, &TfrmPrincipal::actContenidoAyudaExecute);
  connect(actBuscarAyuda, &QAction::triggered, this, &TfrmPrincipal::actBuscarAyudaExecute);
  connect(actComoAyuda, &QAction::triggered, this, &TfrmPrincipal::actComoAyudaExecute);
  connect(actTemaAyuda, &QAction::triggered, this, &TfrmPrincipal::actTemaAyudaExecute);
  connect(opcSalir, &QAction::triggered, this, &TfrmPrincipal::FileExit);
  connect(opcionBarEstandar, &QAction::triggered, this, &TfrmPrincipal::opcionBarEstandarClick);
  connect(opcionBarEjecucion, &QAction::triggered, this, &TfrmPrincipal::opcionBarEjecucionClick);
  connect(mnuCompMem, &QAction::triggered, this, &TfrmPrincipal::mnuCompMemClick);
  connect(mnuCompGPR, &QAction::triggered, this, &TfrmPrincipal::mnuCompGPRClick);
  connect(mnuCompFPR, &QAction::triggered, this, &TfrmPrincipal::mnuCompFPRClick);
  connect(opcRestaurarTodo, &QAction::triggered, this, &TfrmPrincipal::WindowArrange);
  connect(opcAcerca, &QAction::triggered, this, &TfrmPrincipal::HelpAbout);
}

void TfrmPrincipal::crearMenus() {
  QMenuBar* barra = menuBar();
  barra->setObjectName(QStringLiteral("menPrincipal"));
  auto nuevo = [](QMenu* menu, const char* nombre, const QString& pista = QString()) {
    menu->setObjectName(QString::fromLatin1(nombre));
    menu->menuAction()->setStatusTip(pista);
    return menu;
  };

  mnuArchivo = nuevo(barra->addMenu(QStringLiteral("&Archivo")), "mnuArchivo");
  mnuArchivo->addAction(actAbrir);
  mnuArchivo->addSeparator();
  mnuArchivo->addAction(opcSalir);

  mnuVer = nuevo(barra->addMenu(QStringLiteral("&Ver")), "mnuVer");
  mnuVer->addAction(actVerBB);
  mnuBarras = nuevo(mnuVer->addMenu(QStringLiteral("Barras de &Herramientas")), "mnuBarras");
  mnuBarras->addAction(opcionBarEstandar);
  mnuBarras->addAction(opcionBarEjecucion);
  mnuVer->addAction(actVerCodigo);

  mnuConfigurar = nuevo(barra->addMenu(QStringLiteral("&Configurar")), "mnuConfigurar");
  mnuConfigurar->addAction(actConfSuper);
  mnuConfigurar->addAction(actConfVLIW);
  mnuConfigurar->addSeparator();
  mnuInstVLIW = nuevo(mnuConfigurar->addMenu(QStringLiteral("&Instrucciones VLIW")), "mnuInstVLIW");
  mnuInstVLIW->addAction(actNuevoVLIW);
  mnuInstVLIW->addAction(actCargarVLIW);
  mnuOpciones = nuevo(mnuConfigurar->addMenu(QStringLiteral("&Opciones")), "mnuOpciones",
                      QStringLiteral("Otras opciones de configuración"));
  mnuOpciones->addAction(opcReset);
  mnuOpciones->addAction(opcChkCodigoVLIW);
  mnuOpciones->addSeparator();
  mnuOpciones->addAction(actFalloCache);

  mnuEjecutar = nuevo(barra->addMenu(QStringLiteral("&Ejecutar")), "mnuEjecutar");
  mnuSelMaquina = nuevo(mnuEjecutar->addMenu(QStringLiteral("Seleccionar Máquina")), "mnuSelMaquina");
  mnuSelMaquina->addAction(actSelSuper);
  mnuSelMaquina->addAction(actSelVLIW);
  mnuEjecutar->addAction(actIni);
  mnuEjecutar->addAction(actPausa);
  mnuEjecutar->addAction(actPaso);
  mnuEjecutar->addAction(actParar);
  mnuComponentes = nuevo(mnuEjecutar->addMenu(QStringLiteral("Componentes")), "mnuComponentes");
  mnuComponentes->addAction(mnuCompMem);
  mnuComponentes->addAction(mnuCompGPR);
  mnuComponentes->addAction(mnuCompFPR);

  mnuVentana = nuevo(barra->addMenu(QStringLiteral("Ve&ntana")), "mnuVentana");
  mnuVentana->addAction(actMosaico);
  mnuVentana->addAction(actCascada);
  mnuVentana->addAction(opcRestaurarTodo);

  mnuAyuda = nuevo(barra->addMenu(QStringLiteral("A&yuda")), "mnuAyuda");
  mnuAyuda->addAction(actContenidoAyuda);
  mnuAyuda->addAction(actBuscarAyuda);
  mnuAyuda->addAction(actComoAyuda);
  mnuAyuda->addSeparator();
  mnuAyuda->addAction(opcAcerca);

  // Mayúsculas+F1 con un menú desplegado abre el tema de ese menú.
  for (QMenu* m : {mnuArchivo, mnuVer, mnuBarras, mnuConfigurar, mnuInstVLIW, mnuOpciones, mnuEjecutar,
                   mnuSelMaquina, mnuComponentes, mnuVentana, mnuAyuda})
    m->installEventFilter(this);
}

void TfrmPrincipal::crearBarras() {
  tobEstandar = new QToolBar(QStringLiteral("Estándar"), this);
  tobEstandar->setObjectName(QStringLiteral("tobEstandar"));
  tobEjecucion = new QToolBar(QStringLiteral("Ejecución"), this);
  tobEjecucion->setObjectName(QStringLiteral("tobEjecucion"));
  for (QToolBar* b : {tobEstandar, tobEjecucion}) {
    b->setMovable(false);
    b->setFloatable(false);
    b->setMinimumHeight(28);
    b->setIconSize(QSize(22, 22));
  }
  addToolBar(Qt::TopToolBarArea, tobEstandar);
  addToolBarBreak(Qt::TopToolBarArea);
  addToolBar(Qt::TopToolBarArea, tobEjecucion);

  tobEstandar->addAction(actAbrir);
  tobEstandar->addSeparator();
  tobEstandar->addAction(actVerBB);
  tobEstandar->addAction(actVerCodigo);
  tobEstandar->addSeparator();
  tobEstandar->addAction(actConfSuper);
  tobEstandar->addAction(actConfVLIW);
  tobEstandar->addAction(actFalloCache);

  tobEjecucion->addAction(actIni);
  tobEjecucion->addAction(actPaso);
  tobEjecucion->addAction(actPausa);
  tobEjecucion->addAction(actParar);
  tobEjecucion->addSeparator();
  tobEjecucion->addWidget(new QLabel(QStringLiteral(" Ciclo: "), tobEjecucion));
  txtCiclo = new QLineEdit(QStringLiteral("0"), tobEjecucion);
  txtCiclo->setObjectName(QStringLiteral("txtCiclo"));
  txtCiclo->setReadOnly(true);
  txtCiclo->setFixedWidth(44);
  txtCiclo->setToolTip(QStringLiteral("Ciclo de la máquina"));
  txtCiclo->setStatusTip(QStringLiteral("Ciclo de la máquina"));
  tobEjecucion->addWidget(txtCiclo);
  tobEjecucion->addSeparator();
  tobEjecucion->addWidget(new QLabel(QStringLiteral(" Velocidad: "), tobEjecucion));
  spiVelocidad = new TSpinNumero(tobEjecucion);
  spiVelocidad->setObjectName(QStringLiteral("spiVelocidad"));
  spiVelocidad->setRange(1, 10);
  spiVelocidad->setValue(5);
  spiVelocidad->setValorVacio(5);
  spiVelocidad->setToolTip(QStringLiteral("Velocidad de Ejecución"));
  spiVelocidad->setStatusTip(QStringLiteral("Velocidad de Ejecución"));
  tobEjecucion->addWidget(spiVelocidad);
  tobEjecucion->addSeparator();
  cboComponentes = new QComboBox(tobEjecucion);
  cboComponentes->setObjectName(QStringLiteral("cboComponentes"));
  cboComponentes->addItems({QStringLiteral("Memoria"), QStringLiteral("Registros de Propósito General"),
                            QStringLiteral("Registros de Punto Flotante")});
  cboComponentes->setCurrentIndex(-1);
  cboComponentes->setPlaceholderText(QStringLiteral("Componentes"));
  cboComponentes->setToolTip(QStringLiteral("Componentes"));
  cboComponentes->setStatusTip(QStringLiteral("Componentes"));
  cboComponentes->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  tobEjecucion->addWidget(cboComponentes);
  cboMaquina = new QComboBox(tobEjecucion);
  cboMaquina->setObjectName(QStringLiteral("cboMaquina"));
  cboMaquina->addItems({QStringLiteral("Superescalar"), QStringLiteral("VLIW")});
  cboMaquina->setToolTip(QStringLiteral("Máquina Simulada"));
  cboMaquina->setStatusTip(QStringLiteral("Máquina Simulada"));
  tobEjecucion->addWidget(cboMaquina);
  // activated: solo la elección del usuario, también de la misma entrada.
  connect(cboMaquina, &QComboBox::activated, this, &TfrmPrincipal::cboMaquinaChange);
  connect(cboComponentes, &QComboBox::activated, this, &TfrmPrincipal::cboComponentesChange);

  // Los botones de las barras dan su pista en la barra de estado, no en un globo.
  for (QToolBar* b : {tobEstandar, tobEjecucion})
    for (QAction* a : b->actions())
      if (QWidget* w = b->widgetForAction(a); w && !a->isSeparator() && w->inherits("QToolButton"))
        w->installEventFilter(this);
}

void TfrmPrincipal::crearPanelCodigo() {
  panCodigo = new QDockWidget(this);
  panCodigo->setObjectName(QStringLiteral("panCodigo"));
  panCodigo->setFeatures(QDockWidget::NoDockWidgetFeatures);
  panCodigo->setAllowedAreas(Qt::LeftDockWidgetArea);
  panTitulo = TPanelRejilla::crearTitulo(QStringLiteral("Código Secuencial"), panCodigo);
  panTitulo->installEventFilter(this);
  panCodigo->setTitleBarWidget(panTitulo);
  grdInstrucciones = new TRejillaCodigo(panCodigo);
  panCodigo->setWidget(grdInstrucciones);
  addDockWidget(Qt::LeftDockWidgetArea, panCodigo);
  resizeDocks({panCodigo}, {185}, Qt::Horizontal);
  panCodigo->hide();
  connect(grdInstrucciones, &TRejillaCodigo::dobleClicInstruccion, this, &TfrmPrincipal::grdInstruccionesDblClick);
}

void TfrmPrincipal::asignarTemasAyuda() {
  setProperty("temaAyuda", 1);
  const QList<QPair<QObject*, int>> temas = {
      {mnuArchivo, 3},    {mnuVer, 4},      {mnuBarras, 4},   {mnuConfigurar, 5},  {mnuInstVLIW, 5},
      {mnuOpciones, 5},   {mnuEjecutar, 6}, {mnuSelMaquina, 6}, {mnuComponentes, 6}, {mnuVentana, 7},
      {mnuAyuda, 8},      {tobEstandar, 9}, {tobEjecucion, 10}, {grdInstrucciones, 11}};
  for (const auto& [objeto, tema] : temas) objeto->setProperty("temaAyuda", tema);
}

// Único sitio que decide qué órdenes están disponibles. Una orden dentro de un
// menú deshabilitado también lo está (QMenu no deshabilita los atajos de sus
// acciones, así que se hace aquí).
void TfrmPrincipal::actualizarOrdenes() {
  const bool hayPrograma = codigo != nullptr;
  const bool superEnMarcha = maquinaSuper->enEjecucion;
  const bool vliwEnMarcha = maquinaVLIW->enEjecucion;
  const bool alguna = superEnMarcha || vliwEnMarcha;

  actAbrir->setEnabled(!alguna);
  actConfSuper->setEnabled(!superEnMarcha);
  actConfVLIW->setEnabled(!vliwEnMarcha);

  mnuInstVLIW->setEnabled(hayPrograma && !vliwEnMarcha);
  for (QAction* a : {actNuevoVLIW, actCargarVLIW}) a->setEnabled(mnuInstVLIW->isEnabled());

  mnuEjecutar->setEnabled(hayPrograma);
  for (QAction* a : {actIni, actPaso, actPausa, actParar, mnuCompMem, mnuCompGPR, mnuCompFPR})
    a->setEnabled(hayPrograma);
  mnuComponentes->setEnabled(hayPrograma);
  mnuSelMaquina->setEnabled(hayPrograma && !alguna);
  actSelSuper->setEnabled(mnuSelMaquina->isEnabled());
  actSelVLIW->setEnabled(mnuSelMaquina->isEnabled());
  cboMaquina->setEnabled(!alguna);
}

// ---------------------------------------------------------------- operaciones

TMaquina& TfrmPrincipal::maquina(int m) const {
  return m == VLIW ? static_cast<TMaquina&>(*maquinaVLIW) : static_cast<TMaquina&>(*maquinaSuper);
}

QTimer* TfrmPrincipal::timer(int m) const { return m == VLIW ? timSimulVLIW : timSimulSuper; }

int TfrmPrincipal::intervalo() const { return intervaloDeVelocidad(spiVelocidad->value()); }

bool TfrmPrincipal::verBloquesBasicos() const { return actVerBB->isChecked(); }
bool TfrmPrincipal::chequearCodigoVLIW() const { return opcChkCodigoVLIW->isChecked(); }
bool TfrmPrincipal::resetearAlIniciar() const { return opcReset->isChecked(); }

template <typename T>
void TfrmPrincipal::cerrar(QPointer<T>& ranura) {
  if (!ranura) return;
  if (ranura->close()) delete ranura.data();
}

void TfrmPrincipal::anadirVentana(QMdiSubWindow* ventana) {
  ventana->setWindowIcon(TIconos::programa());
  mdiArea->addSubWindow(ventana);
  ventana->show();
}

void TfrmPrincipal::centrarEnArea(QMdiSubWindow* ventana) {
  const QRect area = mdiArea->viewport()->rect();
  ventana->move(std::max(0, area.center().x() - ventana->width() / 2),
                std::max(0, area.center().y() - ventana->height() / 2));
}

bool TfrmPrincipal::abrirPrograma(const QString& ruta) {
  auto nuevo = std::make_unique<TCodigo>();
  if (nuevo->cargar(QFile::encodeName(ruta).toStdString()) != CARGA_OK) {
    dialogos.mensaje(this, MSG_FICHERO_ERRONEO, QString::fromStdString(nuevo->detalleError));
    return false;
  }
  // El editor VLIW se refiere al programa que se va a sustituir: se cierra antes.
  cerrar(frmInstVLIW);

  panTitulo->setText(nombreSinCarpeta(ruta));
  std::unique_ptr<TCodigo> anterior = std::move(codigo);
  codigo = std::move(nuevo);
  grdInstrucciones->modelo()->asignar(codigo.get());
  maquinaSuper->codigo = codigo.get();
  anterior.reset();

  opcionBarEjecucion->setEnabled(true);
  opcionBarEjecucion->setChecked(true);
  tobEjecucion->show();
  panCodigo->show();
  actVerCodigo->setEnabled(true);
  actVerCodigo->setChecked(true);
  actualizarOrdenes();
  resizeDocks({panCodigo}, {grdInstrucciones->anchoNecesario()}, Qt::Horizontal);
  return true;
}

void TfrmPrincipal::seleccionarMaquina(int m) {
  if (m != SUPERESCALAR && m != VLIW) return;
  if (m == maquinaActual) return;
  maquinaActual = static_cast<uint8_t>(m);
  cboMaquina->setCurrentIndex(m);
  if (m == SUPERESCALAR) {
    actSelSuper->setChecked(true);
    cerrar(frmExeVLIW);
  } else {
    actSelVLIW->setChecked(true);
    cerrar(frmExeSuper);
  }
  // Las ventanas de componentes pasan a la máquina nueva, en este orden.
  for (int tipo : {TfrmComponente::MEMORIA, TfrmComponente::GPR, TfrmComponente::FPR}) {
    QPointer<TfrmComponente>& ranura = ranuraComponente(tipo);
    if (!ranura) continue;
    cerrar(ranura);
    ranura = new TfrmComponente(maquina(maquinaActual), tipo, dialogos, *dlgIntervalo);
    anadirVentana(ranura);
  }
}

void TfrmPrincipal::bloquearControles(int m, bool enMarcha) {
  if (m == SUPERESCALAR) {
    cerrar(frmConfSuper);
  } else {
    if (frmInstVLIW) frmInstVLIW->bloquearEdicion(enMarcha);
    cerrar(frmConfVLIW);
  }
  actualizarOrdenes();
}

bool TfrmPrincipal::hayVentanaEjecucion(int m) const {
  return m == VLIW ? !frmExeVLIW.isNull() : !frmExeSuper.isNull();
}

void TfrmPrincipal::cerrarVentanaEjecucion(int m) {
  if (m == VLIW) cerrar(frmExeVLIW);
  else cerrar(frmExeSuper);
}

void TfrmPrincipal::crearVentanaEjecucion(int m) {
  cerrarVentanaEjecucion(m);
  if (m == VLIW) {
    frmExeVLIW = new TfrmExeVLIW(*maquinaVLIW, dialogos, *dlgIntervalo);
    anadirVentana(frmExeVLIW);
  } else {
    frmExeSuper = new TfrmExeSuper(*maquinaSuper, dialogos, *dlgIntervalo, timSimulSuper);
    anadirVentana(frmExeSuper);
  }
}

// Guardas de iniciar y paso en la VLIW; true si se puede seguir.
bool TfrmPrincipal::guardasVLIW() {
  if (maquinaVLIW->codigo.numInstrucciones == 0) {
    dialogos.mensaje(this, MSG_SIN_VLIW);
    return false;
  }
  if (frmInstVLIW && frmInstVLIW->cambiosPendientes()) {
    if (dialogos.preguntarGuardarCambio(this) == RESULTADO_ACEPTAR) frmInstVLIW->aplicarCambios();
    else frmInstVLIW->refrescar();
    return false;
  }
  // Un programa para más unidades de las configuradas no se ejecuta nunca.
  if (maquinaVLIW->comprobarConfiguracion() == CHEQUEO_CONFIGURACION) {
    dialogos.mensaje(this, MSG_CONFIGURACION);
    return false;
  }
  return true;
}

void TfrmPrincipal::iniciar(int m) {
  TMaquina& maq = maquina(m);
  QTimer* t = timer(m);
  if (maq.enEjecucion) {
    t->stop();
    if (maq.paradaBreakpoint) {
      maq.enEjecucion = true;
      maq.paradaBreakpoint = false;
      t->start(intervalo());
      return;
    }
    if (!dialogos.confirmar(this, MSG_REINICIAR)) {
      t->start(intervalo());
      return;
    }
  }
  maq.reset(resetearAlIniciar());
  maq.enEjecucion = true;
  maq.paradaBreakpoint = false;
  crearVentanaEjecucion(m);
  bloquearControles(m, true);
  t->start(intervalo());
}

void TfrmPrincipal::iniciarSuper() { iniciar(SUPERESCALAR); }

void TfrmPrincipal::iniciarVLIW() {
  if (guardasVLIW()) iniciar(VLIW);
}

void TfrmPrincipal::terminarEjecucion(int m, const QString& mensaje) {
  // El temporizador se para antes de cualquier mensaje: los ticks no se anidan
  // y un paso que acaba la ejecución no deja ticks sobre una máquina parada.
  timer(m)->stop();
  maquina(m).enEjecucion = false;
  dialogos.mensaje(this, mensaje);
  bloquearControles(m, false);
}

void TfrmPrincipal::paso(int m) {
  TMaquina& maq = maquina(m);
  if (!maq.enEjecucion) {
    maq.reset(resetearAlIniciar());
    maq.enEjecucion = true;
    maq.paradaBreakpoint = false;
    bloquearControles(m, true);
    if (hayVentanaEjecucion(m)) crearVentanaEjecucion(m);
  }
  const int8_t r = maq.ejecutarCiclo();
  if (r == CICLO_COMPLETADO) {
    terminarEjecucion(m, MSG_COMPLETADA);
  } else if (r == CICLO_ERROR) {
    terminarEjecucion(m, QString::fromStdString(maq.mensajeError));
  } else if (r == CICLO_BREAKPOINT) {
    // Sin mensaje en un paso; si el temporizador corría, la ejecución queda en
    // el breakpoint como cuando lo encuentra un tick.
    timer(m)->stop();
  }
  refrescarVistas(m);
  txtCiclo->setText(QString::number(maq.ciclo));
}

void TfrmPrincipal::pasoSuper() { paso(SUPERESCALAR); }

void TfrmPrincipal::pasoVLIW() {
  if (guardasVLIW()) paso(VLIW);
}

void TfrmPrincipal::pausa(int m) { timer(m)->stop(); }
void TfrmPrincipal::pausaSuper() { pausa(SUPERESCALAR); }
void TfrmPrincipal::pausaVLIW() { pausa(VLIW); }

void TfrmPrincipal::parar(int m) {
  timer(m)->stop();
  maquina(m).enEjecucion = false;
  cerrarVentanaEjecucion(m);
  bloquearControles(m, false);
  txtCiclo->setText(QStringLiteral("0"));
}

void TfrmPrincipal::pararSuper() { parar(SUPERESCALAR); }
void TfrmPrincipal::pararVLIW() { parar(VLIW); }

void TfrmPrincipal::refrescarVistas(int m) {
  if (!hayVentanaEjecucion(m)) crearVentanaEjecucion(m);
  if (m == VLIW) {
    frmExeVLIW->actualizar();
    emit vistaActualizada(frmExeVLIW);
  } else {
    frmExeSuper->actualizar();
    emit vistaActualizada(frmExeSuper);
  }
  for (TfrmComponente* v : {frmCompGPR.data(), frmCompFPR.data(), frmCompMem.data()}) {
    if (!v) continue;
    v->actualizar();
    emit vistaActualizada(v);
  }
  if (m == VLIW && frmInstVLIW) {
    frmInstVLIW->mostrarInstruccionActual();
    emit vistaActualizada(frmInstVLIW);
  }
}

void TfrmPrincipal::tick(int m, const char* funcion) {
  TMaquina& maq = maquina(m);
  QTimer* t = timer(m);
  try {
    const int8_t r = maq.ejecutarCiclo();
    if (r == CICLO_COMPLETADO) {
      terminarEjecucion(m, MSG_COMPLETADA);
    } else if (r == CICLO_ERROR) {
      // Una dirección fuera de la memoria termina la ejecución como un final fallido.
      terminarEjecucion(m, QString::fromStdString(maq.mensajeError));
    } else if (r == CICLO_BREAKPOINT) {
      t->stop();
      dialogos.mensaje(this, MSG_BREAKPOINT);
    }
    refrescarVistas(m);
    txtCiclo->setText(QString::number(maq.ciclo));
    t->setInterval(intervalo());
  } catch (...) {
    t->stop();
    const QString texto = QStringLiteral("Excepción no controlada en fichero \"%1\", función \"%2")
                              .arg(QString::fromLatin1(FICHERO_MAIN), QString::fromLatin1(funcion));
    dialogos.mensaje(this, texto, TAplicacion::textoFallo(std::current_exception()));
  }
}

// ---------------------------------------------------------------- manejadores

void TfrmPrincipal::actAbrirExecute() {
  const QString ruta = dialogos.abrirFichero(this, QString::fromUtf8(FILTRO_FUENTES));
  if (!ruta.isEmpty()) abrirPrograma(ruta);
}

void TfrmPrincipal::actIniExecute() {
  if (maquinaActual == VLIW) iniciarVLIW();
  else iniciarSuper();
}

void TfrmPrincipal::actPasoExecute() {
  if (maquinaActual == VLIW) pasoVLIW();
  else pasoSuper();
}

void TfrmPrincipal::actPausaExecute() {
  if (maquinaActual == VLIW) pausaVLIW();
  else pausaSuper();
}

void TfrmPrincipal::actPararExecute() {
  if (maquinaActual == VLIW) pararVLIW();
  else pararSuper();
}

void TfrmPrincipal::actSelSuperExecute() { seleccionarMaquina(SUPERESCALAR); }
void TfrmPrincipal::actSelVLIWExecute() { seleccionarMaquina(VLIW); }
void TfrmPrincipal::cboMaquinaChange(int indice) { seleccionarMaquina(indice); }

void TfrmPrincipal::cboComponentesChange(int indice) {
  static const int tipos[3] = {TfrmComponente::MEMORIA, TfrmComponente::GPR, TfrmComponente::FPR};
  if (indice >= 0 && indice < 3) mostrarComponente(tipos[indice]);
}

void TfrmPrincipal::timSimulSuperTimer() { tick(SUPERESCALAR, "TfrmPrincipal::timSimulSuperTimer"); }
void TfrmPrincipal::timSimulVLIWTimer() { tick(VLIW, "TfrmPrincipal::timSimulVLIWTimer"); }

void TfrmPrincipal::actFalloCacheExecute() {
  int valor = 0;
  if (dialogos.pedirCantidad(this, QStringLiteral("% Fallos caché"), QStringLiteral("% Fallos"),
                             maquinaSuper->memoria.porcentajeFallos, 0, 100, valor) != RESULTADO_ACEPTAR)
    return;
  maquinaSuper->memoria.porcentajeFallos = valor;
  maquinaVLIW->memoria.porcentajeFallos = valor;
}

void TfrmPrincipal::actNuevoVLIWExecute() {
  if (!codigo || maquinaVLIW->enEjecucion) return;
  if (!resolverCambiosVLIW()) return;
  maquinaVLIW->borrarCodigo();
  revisionVLIWGuardada = ++revisionVLIW;  // vacío: nada que guardar
  abrirEditorVLIW();
  seleccionarMaquina(VLIW);
}

void TfrmPrincipal::actCargarVLIWExecute() {
  if (!codigo || maquinaVLIW->enEjecucion) return;
  if (!resolverCambiosVLIW()) return;
  const QString ruta = dialogos.abrirFichero(this, QString::fromUtf8(FILTRO_VLIW));
  if (ruta.isEmpty()) return;
  const bool cargado = maquinaVLIW->cargarCodigo(QFile::encodeName(ruta).toStdString(), *codigo);
  // Lo que hay en memoria es lo del fichero (o nada, si no se pudo leer).
  revisionVLIWGuardada = ++revisionVLIW;
  if (!cargado) {
    dialogos.mensaje(this, MSG_ERROR_CARGA_VLIW);
    if (frmInstVLIW) frmInstVLIW->refrescar();
    return;
  }
  if (maquinaVLIW->comprobarConfiguracion() == CHEQUEO_CONFIGURACION) {
    dialogos.mensaje(this, MSG_CONFIGURACION);
    maquinaVLIW->borrarCodigo();
    if (frmInstVLIW) frmInstVLIW->refrescar();
    return;
  }
  if (chequearCodigoVLIW()) {
    int32_t larga = 0, operacion = 0;
    const int32_t r = maquinaVLIW->comprobarCodigo(larga, operacion);
    const std::string aviso = TMaquinaVLIW::mensajeChequeo(r, larga, operacion);
    // Solo avisa: el programa se queda cargado.
    if (!aviso.empty()) dialogos.mensaje(this, QString::fromStdString(aviso));
  }
  abrirEditorVLIW();
  seleccionarMaquina(VLIW);
}

bool TfrmPrincipal::programaVLIWSinGuardar() const {
  return maquinaVLIW->codigo.numInstrucciones > 0 && revisionVLIW != revisionVLIWGuardada;
}

bool TfrmPrincipal::guardarProgramaVLIW() {
  if (!TfrmInstVLIW::guardarPrograma(dialogos, this, maquinaVLIW->codigo)) return false;
  revisionVLIWGuardada = revisionVLIW;
  return true;
}

bool TfrmPrincipal::resolverCambiosVLIW() {
  if (frmInstVLIW && frmInstVLIW->cambiosPendientes()) {
    if (dialogos.preguntarGuardarCambio(this) == RESULTADO_ACEPTAR) frmInstVLIW->aplicarCambios();
    else frmInstVLIW->refrescar();
  }
  if (!programaVLIWSinGuardar() || !dialogos.confirmar(this, MSG_GUARDAR_VLIW)) return true;
  return guardarProgramaVLIW();
}

TfrmInstVLIW* TfrmPrincipal::abrirEditorVLIW() {
  // Sus columnas son las unidades configuradas: una operación de una unidad
  // que no existe no tendría dónde mostrarse (y se perdería al aceptar).
  if (maquinaVLIW->comprobarConfiguracion() == CHEQUEO_CONFIGURACION) {
    dialogos.mensaje(this, MSG_CONFIGURACION);
    cerrarEditorVLIW();
    return nullptr;
  }
  if (frmInstVLIW) {
    frmInstVLIW->refrescar();
  } else {
    frmInstVLIW = new TfrmInstVLIW(*codigo, *maquinaVLIW, dialogos, *dlgSaltoVLIW);
    frmInstVLIW->chequearCodigo = [this] { return chequearCodigoVLIW(); };
    frmInstVLIW->setBloquesBasicos(verBloquesBasicos());
    connect(frmInstVLIW, &TfrmInstVLIW::programaCambiado, this, [this] { ++revisionVLIW; });
    connect(frmInstVLIW, &TfrmInstVLIW::programaGuardado, this, [this] { revisionVLIWGuardada = revisionVLIW; });
    anadirVentana(frmInstVLIW);
    frmInstVLIW->bloquearEdicion(maquinaVLIW->enEjecucion);
  }
  frmInstVLIW->showNormal();
  frmInstVLIW->ajustarTamano();
  mdiArea->setActiveSubWindow(frmInstVLIW);
  return frmInstVLIW;
}

void TfrmPrincipal::cerrarEditorVLIW() { cerrar(frmInstVLIW); }

QPointer<TfrmComponente>& TfrmPrincipal::ranuraComponente(int tipo) {
  if (tipo == TfrmComponente::GPR) return frmCompGPR;
  if (tipo == TfrmComponente::FPR) return frmCompFPR;
  return frmCompMem;
}

void TfrmPrincipal::mostrarComponente(int tipo) {
  QPointer<TfrmComponente>& ranura = ranuraComponente(tipo);
  if (!ranura) {
    ranura = new TfrmComponente(maquina(maquinaActual), tipo, dialogos, *dlgIntervalo);
    anadirVentana(ranura);
  }
  ranura->showNormal();
  mdiArea->setActiveSubWindow(ranura);
}

void TfrmPrincipal::mnuCompGPRClick() { mostrarComponente(TfrmComponente::GPR); }
void TfrmPrincipal::mnuCompFPRClick() { mostrarComponente(TfrmComponente::FPR); }
void TfrmPrincipal::mnuCompMemClick() { mostrarComponente(TfrmComponente::MEMORIA); }

void TfrmPrincipal::actConfSuperExecute() {
  if (maquinaSuper->enEjecucion) return;
  if (!frmConfSuper) {
    frmConfSuper = new TfrmConfSuper(*maquinaSuper);
    anadirVentana(frmConfSuper);
    centrarEnArea(frmConfSuper);
  }
  frmConfSuper->showNormal();
  mdiArea->setActiveSubWindow(frmConfSuper);
}

void TfrmPrincipal::actConfVLIWExecute() {
  if (maquinaVLIW->enEjecucion) return;
  if (!frmConfVLIW) {
    frmConfVLIW = new TfrmConfVLIW(*maquinaVLIW);
    frmConfVLIW->limpiarAlAplicar = [this] { return resetearAlIniciar(); };
    // El reset rehace las unidades: lo que está hecho sobre ellas se cierra
    // antes (el editor pregunta por sus ediciones con las columnas de siempre).
    connect(frmConfVLIW, &TfrmConfVLIW::aplicando, this, [this] {
      cerrarEditorVLIW();
      cerrar(frmExeVLIW);
    });
    anadirVentana(frmConfVLIW);
    centrarEnArea(frmConfVLIW);
  }
  frmConfVLIW->showNormal();
  mdiArea->setActiveSubWindow(frmConfVLIW);
}

void TfrmPrincipal::actVerBBExecute() {
  grdInstrucciones->setBloquesBasicos(actVerBB->isChecked());
  if (frmInstVLIW) frmInstVLIW->setBloquesBasicos(actVerBB->isChecked());
}

void TfrmPrincipal::actVerCodigoExecute() { panCodigo->setVisible(actVerCodigo->isChecked()); }

void TfrmPrincipal::opcionBarEstandarClick() { tobEstandar->setVisible(opcionBarEstandar->isChecked()); }
void TfrmPrincipal::opcionBarEjecucionClick() { tobEjecucion->setVisible(opcionBarEjecucion->isChecked()); }

void TfrmPrincipal::actCascadaExecute() { mdiArea->cascadeSubWindows(); }

// Mosaico horizontal: las ventanas no minimizadas, una encima de otra, a lo ancho.
void TfrmPrincipal::actMosaicoExecute() {
  QList<QMdiSubWindow*> ventanas;
  for (QMdiSubWindow* v : mdiArea->subWindowList())
    if (v->isVisible() && !v->isMinimized()) ventanas << v;
  if (ventanas.isEmpty()) return;
  const QRect area = mdiArea->viewport()->rect();
  const int alto = area.height() / static_cast<int>(ventanas.size());
  int y = 0;
  for (QMdiSubWindow* v : ventanas) {
    if (v->isMaximized()) v->showNormal();
    v->setGeometry(0, y, area.width(), alto);
    y += alto;
  }
}

// Coloca los iconos de las ventanas minimizadas en fila a lo largo del borde inferior.
void TfrmPrincipal::WindowArrange() {
  const QRect area = mdiArea->viewport()->rect();
  int x = 0, y = area.bottom() + 1;
  for (QMdiSubWindow* v : mdiArea->subWindowList()) {
    if (!v->isMinimized()) continue;
    const QSize tam = v->size();
    if (x > 0 && x + tam.width() > area.width()) {
      x = 0;
      y -= tam.height();
    }
    if (x == 0 && y == area.bottom() + 1) y -= tam.height();
    v->move(x, y);
    x += tam.width();
  }
}

TfrmAyuda* TfrmPrincipal::ayuda() {
  if (frmAyuda) return frmAyuda;
  const QString ruta = TFicheroAyuda::buscar();
  if (ruta.isEmpty()) {
    dialogos.mensaje(this, QStringLiteral("No se encuentra el fichero de ayuda %1").arg(TFicheroAyuda::rutaRelativa()),
                     QStringLiteral("Se ha buscado en:\n") + TFicheroAyuda::rutasCandidatas().join(QLatin1Char('\n')));
    return nullptr;
  }
  auto* visor = new TfrmAyuda(this);
  QString error;
  if (!visor->cargar(ruta, error)) {
    delete visor;
    dialogos.mensaje(this, QStringLiteral("El fichero de ayuda %1 no es válido").arg(ruta), error);
    return nullptr;
  }
  visor->setAttribute(Qt::WA_DeleteOnClose);
  frmAyuda = visor;
  return frmAyuda;
}

namespace {
void traerAlFrente(QWidget* w) {
  w->show();
  w->raise();
  w->activateWindow();
}
}  // namespace

void TfrmPrincipal::actContenidoAyudaExecute() {
  if (TfrmAyuda* visor = ayuda()) {
    visor->mostrarContenido();
    traerAlFrente(visor);
  }
}

void TfrmPrincipal::actBuscarAyudaExecute() {
  if (TfrmAyuda* visor = ayuda()) {
    visor->mostrarBusqueda(QString());
    traerAlFrente(visor);
  }
}

void TfrmPrincipal::actComoAyudaExecute() {
  if (TfrmAyuda* visor = ayuda()) {
    visor->mostrarComoUsar();
    traerAlFrente(visor);
  }
}

bool TfrmPrincipal::mostrarTemaAyuda(int numero) {
  TfrmAyuda* visor = ayuda();
  if (!visor) return false;
  const bool existe = visor->mostrarTema(numero);
  traerAlFrente(visor);
  return existe;
}

int TfrmPrincipal::temaAyudaActivo() const {
  for (const QWidget* w = QApplication::focusWidget(); w; w = w->parentWidget()) {
    if (w == this) break;
    const QVariant tema = w->property("temaAyuda");
    if (tema.isValid()) return tema.toInt();
  }
  if (const QMdiSubWindow* activa = mdiArea->activeSubWindow()) {
    const QVariant tema = activa->property("temaAyuda");
    if (tema.isValid()) return tema.toInt();
  }
  return property("temaAyuda").toInt();
}

void TfrmPrincipal::actTemaAyudaExecute() { mostrarTemaAyuda(temaAyudaActivo()); }

void TfrmPrincipal::HelpAbout() { dialogos.ejecutarModal(*AboutBox); }

void TfrmPrincipal::FileExit() { close(); }

void TfrmPrincipal::closeEvent(QCloseEvent* evento) {
  if (!resolverCambiosVLIW()) {
    evento->ignore();
    return;
  }
  QMainWindow::closeEvent(evento);
}

void TfrmPrincipal::grdInstruccionesDblClick(int instruccion) {
  if (!codigo || !codigo->indiceValido(instruccion)) return;
  TInstruccion& ins = codigo->instrucciones[static_cast<size_t>(instruccion)];
  ins.breakpoint = !ins.breakpoint;
  grdInstrucciones->modelo()->refrescar();
  grdInstrucciones->viewport()->update();
}

bool TfrmPrincipal::eventFilter(QObject* objeto, QEvent* evento) {
  if (objeto == panTitulo && evento->type() == QEvent::MouseButtonDblClick) {
    actVerCodigo->trigger();
    return true;
  }
  if (evento->type() == QEvent::ToolTip && objeto->inherits("QToolButton")) return true;
  if (evento->type() == QEvent::KeyPress && qobject_cast<QMenu*>(objeto)) {
    const auto* tecla = static_cast<QKeyEvent*>(evento);
    if (tecla->key() == Qt::Key_F1 && (tecla->modifiers() & Qt::ShiftModifier)) {
      const int tema = objeto->property("temaAyuda").toInt();
      for (QWidget* w = QApplication::activePopupWidget(); w; w = QApplication::activePopupWidget()) w->close();
      mostrarTemaAyuda(tema);
      return true;
    }
  }
  return QMainWindow::eventFilter(objeto, evento);
}
