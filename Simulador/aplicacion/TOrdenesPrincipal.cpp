#include "Simulador/aplicacion/TOrdenesPrincipal.h"

#include <QAction>
#include <QActionGroup>
#include <QComboBox>
#include <QEvent>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QProgressBar>
#include <QPointer>
#include <QStatusBar>
#include <QToolBar>

#include "Simulador/aplicacion/TIconos.h"
#include "Simulador/comunes/TSpinNumero.h"
#include "Simulador/editor/TEjemplos.h"

namespace {

QAction* nuevaAccion(QObject* padre, const char* nombre, const QString& texto, const QString& pista,
                     const QKeySequence& atajo = QKeySequence(), const QIcon& icono = QIcon()) {
  auto* a = new QAction(icono, texto, padre);
  a->setObjectName(QString::fromLatin1(nombre));
  a->setStatusTip(pista);
  a->setToolTip(pista);
  if (!atajo.isEmpty()) a->setShortcut(atajo);
  return a;
}

QAction* nuevaOpcion(QObject* padre, const char* nombre, const QString& texto, const QString& pista, bool marcada) {
  QAction* a = nuevaAccion(padre, nombre, texto, pista);
  a->setCheckable(true);
  a->setChecked(marcada);
  return a;
}

QMenu* nombrar(QMenu* menu, const char* nombre, int tema, const QString& pista = QString()) {
  menu->setObjectName(QString::fromLatin1(nombre));
  menu->menuAction()->setStatusTip(pista);
  menu->setProperty("temaAyuda", tema);
  return menu;
}

void ponerPista(QWidget* w, const QString& pista) {
  w->setToolTip(pista);
  w->setStatusTip(pista);
}

}  // namespace

TOrdenesPrincipal::TOrdenesPrincipal(QMainWindow& ventana) : QObject(&ventana) {
  setObjectName(QStringLiteral("ordenesPrincipal"));
  crearAcciones(ventana);
  crearMenus(ventana);
  crearBarras(ventana);
  // Al arrancar: barra de ejecución oculta y su entrada deshabilitada, el
  // código sin mostrar hasta que se abra el primer programa.
  tobEjecucion->hide();
  opcionBarEjecucion->setEnabled(false);
  actVerCodigo->setEnabled(false);
}

void TOrdenesPrincipal::habilitarVistasPrograma() {
  opcionBarEjecucion->setEnabled(true);
  opcionBarEjecucion->setChecked(true);
  tobEjecucion->show();
  actVerCodigo->setEnabled(true);
  actVerCodigo->setChecked(true);
}

void TOrdenesPrincipal::crearAcciones(QMainWindow& v) {
  actAbrir = nuevaAccion(&v, "actAbrir", QStringLiteral("&Abrir..."), QStringLiteral("Abrir un nuevo fichero"),
                         QKeySequence(Qt::CTRL | Qt::Key_A), TIconos::abrir());
  actNuevoPrograma = nuevaAccion(&v, "actNuevoPrograma", QStringLiteral("Nuevo Programa"),
                                 QStringLiteral("Abre el editor de código con un programa vacío"),
                                 QKeySequence(Qt::CTRL | Qt::Key_N));
  actEditarPrograma = nuevaAccion(&v, "actEditarPrograma", QStringLiteral("Editar Programa"),
                                  QStringLiteral("Abre el fuente del programa cargado en el editor de código"));
  actEnsamblar = nuevaAccion(&v, "actEnsamblar", QStringLiteral("Ensamblar y Cargar"),
                             QStringLiteral("Carga como programa el texto del editor de código, sin guardarlo"),
                             QKeySequence(Qt::CTRL | Qt::Key_E));
  actVerBB = nuevaAccion(&v, "actVerBB", QStringLiteral("Bloques Básicos"),
                         QStringLiteral("Colorea los bloques básicos del código"), QKeySequence(Qt::CTRL | Qt::Key_B),
                         TIconos::bloquesBasicos());
  actVerBB->setCheckable(true);
  actVerCodigo = nuevaAccion(&v, "actVerCodigo", QStringLiteral("Código Secuencial"),
                             QStringLiteral("Muestra/Oculta el código secuencial"), QKeySequence(),
                             TIconos::codigoSecuencial());
  actVerCodigo->setCheckable(true);
  actVerCodigo->setChecked(true);
  actVerDiagrama = nuevaAccion(&v, "actVerDiagrama", QStringLiteral("&Diagrama de Ejecución"),
                               QStringLiteral("Muestra el diagrama instrucción × ciclo de la máquina seleccionada"),
                               QKeySequence(Qt::CTRL | Qt::Key_D), TIconos::diagrama());
  actConfSuper = nuevaAccion(&v, "actConfSuper", QStringLiteral("Configurar Super&escalar"),
                             QStringLiteral("Establecer los parámetros de la Máquina Superescalar"),
                             QKeySequence(Qt::ALT | Qt::Key_F2), TIconos::confSuper());
  actConfVLIW = nuevaAccion(&v, "actConfVLIW", QStringLiteral("Configurar VLI&W"),
                            QStringLiteral("Establecer los parámetros de la Máquina VLIW"),
                            QKeySequence(Qt::ALT | Qt::Key_F3), TIconos::confVLIW());
  actNuevoVLIW = nuevaAccion(&v, "actNuevoVLIW", QStringLiteral("Crear &Nuevo Programa VLIW"),
                             QStringLiteral("Abre la ventana para crear códigos VLIW"));
  actCargarVLIW = nuevaAccion(&v, "actCargarVLIW", QStringLiteral("Car&gar Programa VLIW..."),
                              QStringLiteral("Carga un programa VLIW desde un fichero"));
  actPlanificarVLIW = nuevaAccion(&v, "actPlanificarVLIW", QStringLiteral("&Planificar Automáticamente"),
                                  QStringLiteral("Planifica el programa para la configuración VLIW actual y lo "
                                                 "abre en el editor"));
  actCompararVLIW = nuevaAccion(&v, "actCompararVLIW", QStringLiteral("&Comparar con la planificación automática"),
                                QStringLiteral("Ejecuta el programa VLIW y la planificación automática y los "
                                               "compara"));
  actFalloCache = nuevaAccion(&v, "actFalloCache", QStringLiteral("% Fallos Caché Datos"),
                              QStringLiteral("Establece el porcentaje de fallos de caché"),
                              QKeySequence(Qt::CTRL | Qt::Key_F), TIconos::falloCache());
  actIni = nuevaAccion(&v, "actIni", QStringLiteral("Iniciar"), QStringLiteral("Comenzar Ejecución Continua"),
                       QKeySequence(Qt::Key_F9), TIconos::iniciar());
  actPaso = nuevaAccion(&v, "actPaso", QStringLiteral("Paso a Paso"), QStringLiteral("Ejecución Paso a Paso"),
                        QKeySequence(Qt::Key_F8), TIconos::paso());
  actPausa = nuevaAccion(&v, "actPausa", QStringLiteral("Pausa"), QStringLiteral("Pausar la Ejecución"),
                         QKeySequence(Qt::Key_F7), TIconos::pausa());
  actParar = nuevaAccion(&v, "actParar", QStringLiteral("Parar"), QStringLiteral("Terminar la Ejecución"),
                         QKeySequence(Qt::Key_F6), TIconos::parar());
  // Navegación en el tiempo: Mayúsculas con la tecla de la orden hacia
  // delante (F8, F9); Ctrl+G, «ir a», como en los editores.
  actRetroceder = nuevaAccion(&v, "actRetroceder", QStringLiteral("Retroceder un ciclo"),
                              QStringLiteral("Deja la máquina como estaba tras el ciclo anterior"),
                              QKeySequence(Qt::SHIFT | Qt::Key_F8), TIconos::retroceder());
  actIrACiclo = nuevaAccion(&v, "actIrACiclo", QStringLiteral("Ir al ciclo…"),
                            QStringLiteral("Lleva la máquina a cualquier ciclo, hacia atrás o hacia delante"),
                            QKeySequence(Qt::CTRL | Qt::Key_G), TIconos::irACiclo());
  actHastaElFinal = nuevaAccion(&v, "actHastaElFinal", QStringLiteral("Ejecutar hasta el final"),
                                QStringLiteral("Ejecuta a toda velocidad hasta el final, un breakpoint o el límite de ciclos"),
                                QKeySequence(Qt::SHIFT | Qt::Key_F9), TIconos::hastaElFinal());
  actSelSuper = nuevaOpcion(&v, "actSelSuper", QStringLiteral("Seleccionar Superescalar"),
                            QStringLiteral("Seleccionar Máquina Superescalar"), true);
  actSelSuper->setShortcut(QKeySequence(Qt::Key_F2));
  actSelVLIW = nuevaOpcion(&v, "actSelVLIW", QStringLiteral("Seleccionar VLIW"),
                           QStringLiteral("Seleccionar Máquina VLIW"), false);
  actSelVLIW->setShortcut(QKeySequence(Qt::Key_F3));
  auto* grupoMaquina = new QActionGroup(&v);
  grupoMaquina->addAction(actSelSuper);
  grupoMaquina->addAction(actSelVLIW);
  actCascada = nuevaAccion(&v, "actCascada", QStringLiteral("&Cascada"),
                           QStringLiteral("Coloca todas las ventanas en cascada"));
  actMosaico = nuevaAccion(&v, "actMosaico", QStringLiteral("&Mosaico"), QStringLiteral("Alinea las ventanas"));
  actContenidoAyuda = nuevaAccion(&v, "actContenidoAyuda", QStringLiteral("&Contenido"),
                                  QStringLiteral("Contenido de la ayuda"), QKeySequence(Qt::Key_F1), TIconos::ayuda());
  actBuscarAyuda = nuevaAccion(&v, "actBuscarAyuda", QStringLiteral("&Buscar Ayuda sobre..."),
                               QStringLiteral("Buscar un tema específico en la ayuda"));
  actComoAyuda = nuevaAccion(&v, "actComoAyuda", QStringLiteral("Cómo &usar la Ayuda"),
                             QStringLiteral("Funcionamiento de la ayuda"));
  actTemaAyuda = nuevaAccion(&v, "actTemaAyuda", QStringLiteral("Ayuda de la ventana activa"),
                             QStringLiteral("Abre el tema de ayuda de la ventana activa"),
                             QKeySequence(Qt::SHIFT | Qt::Key_F1));
  v.addAction(actTemaAyuda);  // sin menú: solo el atajo

  opcSalir = nuevaAccion(&v, "opcSalir", QStringLiteral("&Salir"), QStringLiteral("Salir del programa"));
  opcionBarEstandar = nuevaOpcion(&v, "opcionBarEstandar", QStringLiteral("Estándar"), QString(), true);
  opcionBarEjecucion = nuevaOpcion(&v, "opcionBarEjecucion", QStringLiteral("Ejecución"), QString(), false);
  opcReset = nuevaOpcion(&v, "opcReset", QStringLiteral("&Resetear máquina al iniciar"),
                         QStringLiteral("Pone la memoria y registros de la memoria a 0 con cada nueva ejecución"), false);
  opcChkCodigoVLIW =
      nuevaOpcion(&v, "opcChkCodigoVLIW", QStringLiteral("C&hequear código VLIW"),
                  QStringLiteral("Indica si se comprueban las inconsistencias en el código VLIW automáticamente"), true);
  opcLimiteCiclos = nuevaAccion(&v, "opcLimiteCiclos", QStringLiteral("&Límite de ciclos..."),
                                QStringLiteral("Ciclos que da como mucho «Ejecutar hasta el final»"));
  mnuCompMem = nuevaAccion(&v, "mnuCompMem", QStringLiteral("&Memoria"), QString(), QKeySequence(Qt::ALT | Qt::Key_F5),
                           TIconos::memoria());
  mnuCompGPR = nuevaAccion(&v, "mnuCompGPR", QStringLiteral("Registros de Propósito &General"), QString(),
                           QKeySequence(Qt::ALT | Qt::Key_F6), TIconos::registrosGPR());
  mnuCompFPR = nuevaAccion(&v, "mnuCompFPR", QStringLiteral("Registros de Punto &Flotante"), QString(),
                           QKeySequence(Qt::ALT | Qt::Key_F7), TIconos::registrosFPR());
  opcRestaurarTodo = nuevaAccion(&v, "opcRestaurarTodo", QStringLiteral("&Restaurar todo"),
                                 QStringLiteral("Restaura todas las ventanas minimizadas"));
  opcAcerca = nuevaAccion(&v, "opcAcerca", QStringLiteral("&Acerca..."),
                          QStringLiteral("Muestra la información del programa"));
  actVerEstadisticas = nuevaAccion(&v, "actVerEstadisticas", QStringLiteral("E&stadísticas"),
                                   QStringLiteral("Estadísticas de la ejecución en la máquina seleccionada"),
                                   QKeySequence(Qt::CTRL | Qt::Key_T));
  actComprobar = nuevaAccion(&v, "actComprobar", QStringLiteral("Comprobar resultado"),
                             QStringLiteral("Compara los registros y la memoria finales con los del código secuencial"),
                             QKeySequence(Qt::CTRL | Qt::Key_R));
  actComparar = nuevaAccion(&v, "actComparar", QStringLiteral("Comparar máquinas"),
                            QStringLiteral("Ejecuta el programa en las dos máquinas y las muestra lado a lado"));
  actExplorar = nuevaAccion(&v, "actExplorar", QStringLiteral("Explorar configuración..."),
                            QStringLiteral("Ejecuta el programa una vez por cada valor de un parámetro de la "
                                           "máquina superescalar"));
}

void TOrdenesPrincipal::crearMenus(QMainWindow& v) {
  QMenuBar* barra = v.menuBar();
  barra->setObjectName(QStringLiteral("menPrincipal"));

  mnuArchivo = nombrar(barra->addMenu(QStringLiteral("&Archivo")), "mnuArchivo", 3);
  mnuArchivo->addAction(actAbrir);
  mnuRecientes = nombrar(mnuArchivo->addMenu(QStringLiteral("Ficheros &recientes")), "mnuRecientes", 3,
                         QStringLiteral("Vuelve a abrir uno de los últimos programas abiertos"));
  mnuRecientes->setEnabled(false);
  mnuArchivo->addAction(actNuevoPrograma);
  mnuArchivo->addAction(actEditarPrograma);
  mnuArchivo->addAction(actEnsamblar);
  mnuEjemplos = nombrar(mnuArchivo->addMenu(QStringLiteral("Ejemplos")), "mnuEjemplos", 3,
                        QStringLiteral("Programas de ejemplo comentados, listos para ejecutar"));
  // La pista de cada ejemplo, también como globo: el menú no tiene otro sitio.
  mnuEjemplos->setToolTipsVisible(true);
  mnuArchivo->addSeparator();
  mnuArchivo->addAction(opcSalir);

  mnuVer = nombrar(barra->addMenu(QStringLiteral("&Ver")), "mnuVer", 4);
  mnuVer->addAction(actVerBB);
  mnuBarras = nombrar(mnuVer->addMenu(QStringLiteral("Barras de &Herramientas")), "mnuBarras", 4);
  mnuBarras->addAction(opcionBarEstandar);
  mnuBarras->addAction(opcionBarEjecucion);
  mnuVer->addAction(actVerCodigo);
  mnuVer->addAction(actVerDiagrama);
  mnuVer->addAction(actVerEstadisticas);

  mnuConfigurar = nombrar(barra->addMenu(QStringLiteral("&Configurar")), "mnuConfigurar", 5);
  mnuConfigurar->addAction(actConfSuper);
  mnuConfigurar->addAction(actConfVLIW);
  mnuConfigurar->addSeparator();
  mnuInstVLIW = nombrar(mnuConfigurar->addMenu(QStringLiteral("&Instrucciones VLIW")), "mnuInstVLIW", 5);
  mnuInstVLIW->addAction(actNuevoVLIW);
  mnuInstVLIW->addAction(actCargarVLIW);
  mnuInstVLIW->addSeparator();
  mnuInstVLIW->addAction(actPlanificarVLIW);
  mnuInstVLIW->addAction(actCompararVLIW);
  mnuOpciones = nombrar(mnuConfigurar->addMenu(QStringLiteral("&Opciones")), "mnuOpciones", 5,
                        QStringLiteral("Otras opciones de configuración"));
  mnuOpciones->addAction(opcReset);
  mnuOpciones->addAction(opcChkCodigoVLIW);
  mnuOpciones->addAction(opcLimiteCiclos);
  mnuOpciones->addSeparator();
  mnuOpciones->addAction(actFalloCache);

  mnuEjecutar = nombrar(barra->addMenu(QStringLiteral("&Ejecutar")), "mnuEjecutar", 6);
  mnuSelMaquina = nombrar(mnuEjecutar->addMenu(QStringLiteral("Seleccionar Máquina")), "mnuSelMaquina", 6);
  mnuSelMaquina->addAction(actSelSuper);
  mnuSelMaquina->addAction(actSelVLIW);
  mnuEjecutar->addAction(actIni);
  mnuEjecutar->addAction(actPausa);
  mnuEjecutar->addAction(actPaso);
  mnuEjecutar->addAction(actParar);
  mnuEjecutar->addSeparator();
  mnuEjecutar->addAction(actRetroceder);
  mnuEjecutar->addAction(actIrACiclo);
  mnuEjecutar->addAction(actHastaElFinal);
  mnuEjecutar->addSeparator();
  mnuComponentes = nombrar(mnuEjecutar->addMenu(QStringLiteral("Componentes")), "mnuComponentes", 6);
  mnuComponentes->addAction(mnuCompMem);
  mnuComponentes->addAction(mnuCompGPR);
  mnuComponentes->addAction(mnuCompFPR);
  mnuEjecutar->addSeparator();
  mnuEjecutar->addAction(actComprobar);
  mnuEjecutar->addAction(actComparar);
  mnuEjecutar->addAction(actExplorar);

  mnuVentana = nombrar(barra->addMenu(QStringLiteral("Ve&ntana")), "mnuVentana", 7);
  mnuVentana->addAction(actMosaico);
  mnuVentana->addAction(actCascada);
  mnuVentana->addAction(opcRestaurarTodo);

  mnuAyuda = nombrar(barra->addMenu(QStringLiteral("A&yuda")), "mnuAyuda", 8);
  mnuAyuda->addAction(actContenidoAyuda);
  mnuAyuda->addAction(actBuscarAyuda);
  mnuAyuda->addAction(actComoAyuda);
  mnuAyuda->addSeparator();
  mnuAyuda->addAction(opcAcerca);
}

void TOrdenesPrincipal::crearBarras(QMainWindow& v) {
  v.statusBar()->setObjectName(QStringLiteral("staPrincipal"));
  v.statusBar()->setSizeGripEnabled(true);
  labEstado = new QLabel(v.statusBar());
  labEstado->setObjectName(QStringLiteral("labEstado"));
  labEstado->setToolTip(QStringLiteral("Máquina seleccionada, su ciclo y el estado de su ejecución"));
  v.statusBar()->addPermanentWidget(labEstado);
  barProgreso = new QProgressBar(v.statusBar());
  barProgreso->setObjectName(QStringLiteral("barProgreso"));
  barProgreso->setMaximumWidth(220);
  barProgreso->setFormat(QStringLiteral("Ciclo %v"));
  barProgreso->hide();
  v.statusBar()->addPermanentWidget(barProgreso);
  tobEstandar = new QToolBar(QStringLiteral("Estándar"), &v);
  tobEstandar->setObjectName(QStringLiteral("tobEstandar"));
  tobEstandar->setProperty("temaAyuda", 9);
  tobEjecucion = new QToolBar(QStringLiteral("Ejecución"), &v);
  tobEjecucion->setObjectName(QStringLiteral("tobEjecucion"));
  tobEjecucion->setProperty("temaAyuda", 10);
  for (QToolBar* b : {tobEstandar, tobEjecucion}) {
    b->setMovable(false);
    b->setFloatable(false);
    b->setMinimumHeight(28);
    b->setIconSize(QSize(22, 22));
  }
  v.addToolBar(Qt::TopToolBarArea, tobEstandar);
  v.addToolBarBreak(Qt::TopToolBarArea);
  v.addToolBar(Qt::TopToolBarArea, tobEjecucion);

  tobEstandar->addAction(actAbrir);
  tobEstandar->addSeparator();
  tobEstandar->addAction(actVerBB);
  tobEstandar->addAction(actVerCodigo);
  tobEstandar->addAction(actVerDiagrama);
  tobEstandar->addSeparator();
  tobEstandar->addAction(actConfSuper);
  tobEstandar->addAction(actConfVLIW);
  tobEstandar->addAction(actFalloCache);

  tobEjecucion->addAction(actIni);
  tobEjecucion->addAction(actPaso);
  tobEjecucion->addAction(actPausa);
  tobEjecucion->addAction(actParar);
  tobEjecucion->addAction(actRetroceder);
  tobEjecucion->addAction(actIrACiclo);
  tobEjecucion->addAction(actHastaElFinal);
  tobEjecucion->addSeparator();
  tobEjecucion->addWidget(new QLabel(QStringLiteral(" Ciclo: "), tobEjecucion));
  txtCiclo = new QLineEdit(QStringLiteral("0"), tobEjecucion);
  txtCiclo->setObjectName(QStringLiteral("txtCiclo"));
  txtCiclo->setReadOnly(true);
  txtCiclo->setFixedWidth(44);
  ponerPista(txtCiclo, QStringLiteral("Ciclo de la máquina"));
  tobEjecucion->addWidget(txtCiclo);
  tobEjecucion->addSeparator();
  tobEjecucion->addWidget(new QLabel(QStringLiteral(" Velocidad: "), tobEjecucion));
  spiVelocidad = new TSpinNumero(tobEjecucion);
  spiVelocidad->setObjectName(QStringLiteral("spiVelocidad"));
  spiVelocidad->setRange(1, 10);
  spiVelocidad->setValue(5);
  spiVelocidad->setValorVacio(5);
  ponerPista(spiVelocidad, QStringLiteral("Velocidad de Ejecución"));
  tobEjecucion->addWidget(spiVelocidad);
  tobEjecucion->addSeparator();
  cboComponentes = new QComboBox(tobEjecucion);
  cboComponentes->setObjectName(QStringLiteral("cboComponentes"));
  cboComponentes->addItems({QStringLiteral("Memoria"), QStringLiteral("Registros de Propósito General"),
                            QStringLiteral("Registros de Punto Flotante")});
  cboComponentes->setCurrentIndex(-1);
  cboComponentes->setPlaceholderText(QStringLiteral("Componentes"));
  ponerPista(cboComponentes, QStringLiteral("Componentes"));
  cboComponentes->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  tobEjecucion->addWidget(cboComponentes);
  cboMaquina = new QComboBox(tobEjecucion);
  cboMaquina->setObjectName(QStringLiteral("cboMaquina"));
  cboMaquina->addItems({QStringLiteral("Superescalar"), QStringLiteral("VLIW")});
  ponerPista(cboMaquina, QStringLiteral("Máquina Simulada"));
  tobEjecucion->addWidget(cboMaquina);

  for (QToolBar* b : {tobEstandar, tobEjecucion})
    for (QAction* a : b->actions())
      if (QWidget* w = b->widgetForAction(a); w && !a->isSeparator() && w->inherits("QToolButton"))
        w->installEventFilter(this);
}

void TOrdenesPrincipal::ponerEjemplos(const QList<TEjemplo>& ejemplos) {
  mnuEjemplos->clear();
  for (const TEjemplo& e : ejemplos) {
    QString texto = e.nombre;
    texto.replace(QLatin1Char('&'), QStringLiteral("&&"));
    if (!e.rutaVLIW.isEmpty()) texto += QStringLiteral(" (con VLIW)");
    QAction* a = mnuEjemplos->addAction(texto);
    a->setData(e.ruta);
    a->setStatusTip(e.pista);
    a->setToolTip(e.pista.isEmpty() ? e.nombre : e.pista);
  }
  if (ejemplos.isEmpty())
    mnuEjemplos->addAction(QStringLiteral("No se encuentra la carpeta de ejemplos"))->setEnabled(false);
}

void TOrdenesPrincipal::actualizar(bool hayPrograma, bool superEnMarcha, bool vliwEnMarcha, bool hayEditor) {
  const bool alguna = superEnMarcha || vliwEnMarcha;
  actAbrir->setEnabled(!alguna);
  // Cargar un programa, del editor o de un ejemplo, es como abrirlo. Editar sí
  // se puede durante una ejecución: lo editado se carga cuando termine.
  actEnsamblar->setEnabled(!alguna && hayEditor);
  mnuEjemplos->setEnabled(!alguna);
  actEditarPrograma->setEnabled(hayPrograma);
  // Abre un programa como «&Abrir...»: con él se bloquea.
  mnuRecientes->setEnabled(!alguna && hayRecientes);
  actConfSuper->setEnabled(!superEnMarcha);
  actConfVLIW->setEnabled(!vliwEnMarcha);

  // Una orden dentro de un menú deshabilitado también lo está: QMenu no
  // deshabilita los atajos de sus acciones, así que se hace aquí.
  mnuInstVLIW->setEnabled(hayPrograma && !vliwEnMarcha);
  for (QAction* a : {actNuevoVLIW, actCargarVLIW, actPlanificarVLIW, actCompararVLIW})
    a->setEnabled(mnuInstVLIW->isEnabled());

  mnuEjecutar->setEnabled(hayPrograma);
  for (QAction* a : {actIni, actPaso, actPausa, actParar, actRetroceder, actIrACiclo, actHastaElFinal, mnuCompMem,
                     mnuCompGPR, mnuCompFPR})
    a->setEnabled(hayPrograma);
  // Las tres trabajan con máquinas propias: se pueden usar con una ejecución en marcha.
  for (QAction* a : {actVerEstadisticas, actComprobar, actComparar, actExplorar}) a->setEnabled(hayPrograma);
  mnuComponentes->setEnabled(hayPrograma);
  mnuSelMaquina->setEnabled(hayPrograma && !alguna);
  actSelSuper->setEnabled(mnuSelMaquina->isEnabled());
  actSelVLIW->setEnabled(mnuSelMaquina->isEnabled());
  cboMaquina->setEnabled(!alguna);
}

void TOrdenesPrincipal::listarVentanas(const QList<QPair<QMdiSubWindow*, QString>>& ventanas,
                                       const QMdiSubWindow* activa) {
  for (QAction* a : entradasVentanas) {
    mnuVentana->removeAction(a);
    delete a;
  }
  entradasVentanas.clear();
  if (ventanas.isEmpty()) return;
  entradasVentanas << mnuVentana->addSeparator();
  int n = 0;
  for (const auto& [ventana, nombre] : ventanas) {
    ++n;
    // Las nueve primeras con su número como tecla de acceso, como en los programas de varios documentos.
    const QString texto = n <= 9 ? QStringLiteral("&%1 %2").arg(n).arg(nombre) : nombre;
    QAction* a = mnuVentana->addAction(texto);
    a->setCheckable(true);
    a->setChecked(ventana == activa);
    a->setStatusTip(QStringLiteral("Trae delante la ventana %1").arg(nombre));
    a->setProperty("ventana", QVariant::fromValue(static_cast<QObject*>(ventana)));
    QPointer<QMdiSubWindow> destino(ventana);
    connect(a, &QAction::triggered, this, [this, destino] {
      if (destino) emit ventanaElegida(destino);
    });
    entradasVentanas << a;
  }
}

void TOrdenesPrincipal::listarRecientes(const QStringList& rutas) {
  mnuRecientes->clear();
  hayRecientes = !rutas.isEmpty();
  int n = 0;
  for (const QString& ruta : rutas) {
    ++n;
    QAction* a = mnuRecientes->addAction(QStringLiteral("&%1 %2").arg(n).arg(QFileInfo(ruta).fileName()));
    a->setStatusTip(ruta);
    a->setToolTip(ruta);
    connect(a, &QAction::triggered, this, [this, ruta] { emit recienteElegido(ruta); });
  }
  mnuRecientes->setEnabled(hayRecientes && actAbrir->isEnabled());
}

void TOrdenesPrincipal::mostrarEstado(bool vliw, int32_t ciclo, const QString& estado) {
  labEstado->setText(QStringLiteral("Máquina %1, ciclo %2: %3")
                         .arg(vliw ? QStringLiteral("VLIW") : QStringLiteral("superescalar"))
                         .arg(ciclo)
                         .arg(estado));
}

QList<QMenu*> TOrdenesPrincipal::menus() const {
  return {mnuArchivo,  mnuEjemplos, mnuRecientes,  mnuVer,         mnuBarras,  mnuConfigurar, mnuInstVLIW,
          mnuOpciones, mnuEjecutar, mnuSelMaquina, mnuComponentes, mnuVentana, mnuAyuda};
}

bool TOrdenesPrincipal::eventFilter(QObject* objeto, QEvent* evento) {
  if (evento->type() == QEvent::ToolTip && objeto->inherits("QToolButton")) return true;
  return QObject::eventFilter(objeto, evento);
}
