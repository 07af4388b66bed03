// La ventana principal conducida sin pantalla: órdenes, ticks y respuestas de guion.

#include <QComboBox>
#include <QDockWidget>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTabWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>
#include <QToolBar>
#include <QtTest>
#include <memory>
#include <stdexcept>

#include "Simulador/Main.h"
#include "Simulador/aplicacion/TAplicacion.h"
#include "Simulador/ayuda/TfrmAyuda.h"
#include "Simulador/codigo/TModeloCodigo.h"
#include "Simulador/codigo/TRejillaCodigo.h"
#include "Simulador/comunes/TSpinNumero.h"
#include "Simulador/dialogos/TAboutBox.h"
#include "TServicioDialogosGuion.h"
#include "loader/TCodigo.h"
#include "superscalar/TMaquinaSuper.h"
#include "vliw/TMaquinaVLIW.h"

namespace {

const int SUPER = TfrmPrincipal::SUPERESCALAR;
const int VLIW = TfrmPrincipal::VLIW;

// Tres instrucciones: la VLIW ejecuta copias de la 0 (DADDUI, +Entera) y, para
// el error de dirección, la 1 y la 2.
const char* const SECUENCIAL = R"(3
INICIO: DADDUI R1 R0 #1
        DADDUI R2 R0 #2000
        LF     F0 0(R2)
)";
// Una sola instrucción: la superescalar la confirma en el ciclo 6.
const char* const UNA_ADDI = "1\nADDI R1 R2 R3\n";

const QString COMPLETADA = QStringLiteral("Ejecución completada");
const QString BREAKPOINT = QStringLiteral("Ejecución detenida: BREAKPOINT");
const QString REINICIAR = QStringLiteral("Esto detendrá la ejecución actual e iniciará una nueva. ¿Desea reiniciar?");

// Objeto cuyo manejo de eventos falla: para la red de seguridad de la aplicación.
class TLanzador : public QObject {
public:
  bool event(QEvent*) override { throw std::runtime_error("fallo de prueba"); }
};

}  // namespace

class PruebasPrincipal : public QObject {
  Q_OBJECT

  QTemporaryDir dir;
  std::unique_ptr<TServicioDialogosGuion> dialogos;
  std::unique_ptr<TfrmPrincipal> v;

  QString fichero(const QString& nombre, const QByteArray& texto) {
    const QString ruta = dir.filePath(nombre);
    QFile f(ruta);
    if (!f.open(QIODevice::WriteOnly)) qFatal("no se puede escribir %s", qPrintable(ruta));
    f.write(texto);
    return ruta;
  }

  void abrir(const QString& ruta) {
    dialogos->ficherosAbrir << ruta;
    v->actAbrir->trigger();
  }

  // Programa secuencial y, para la VLIW, n instrucciones largas de un DADDUI.
  void prepararVLIW(int n, int breakpointEn = -1) {
    abrir(fichero(QStringLiteral("sec.pla"), SECUENCIAL));
    cargarVLIW(n, breakpointEn);
  }

  // Solo el programa VLIW, sobre el programa secuencial ya abierto.
  void cargarVLIW(int n, int breakpointEn = -1) {
    QByteArray texto = QByteArray::number(n) + '\n';
    for (int i = 0; i < n; ++i) texto += "1\t0 0 0 0\n";
    QVERIFY(v->maquinaVLIW->cargarCodigo(fichero(QStringLiteral("p.vliw"), texto).toStdString(), *v->codigo));
    if (breakpointEn >= 0) v->maquinaVLIW->codigo.instruccion(breakpointEn)->breakpoint = true;
    v->seleccionarMaquina(VLIW);
  }

  // Programa largo para la máquina m (la superescalar, un ejemplo con bucles).
  void prepararLargo(int m) {
    if (m == VLIW) {
      prepararVLIW(20);
      return;
    }
    abrir(QStringLiteral(ORVEX_DIR_EJEMPLOS "/vector_suma.pla"));
    QVERIFY(v->codigo);
  }

  void tick(int m) {
    if (m == VLIW) v->timSimulVLIWTimer();
    else v->timSimulSuperTimer();
  }

  QList<QMdiSubWindow*> ventanas() const { return v->mdiArea->subWindowList(); }

  // Las ventanas cerradas por el usuario se destruyen en diferido.
  static void destruirPendientes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

  void compruebaBloqueo(int m, bool enMarcha) {
    QCOMPARE(v->actAbrir->isEnabled(), !enMarcha);
    QCOMPARE(v->cboMaquina->isEnabled(), !enMarcha);
    QCOMPARE(v->mnuSelMaquina->isEnabled(), !enMarcha);
    QCOMPARE(v->actSelSuper->isEnabled(), !enMarcha);
    QCOMPARE(v->actSelVLIW->isEnabled(), !enMarcha);
    if (m == SUPER) {
      QCOMPARE(v->actConfSuper->isEnabled(), !enMarcha);
      QVERIFY(v->actConfVLIW->isEnabled());
    } else {
      QCOMPARE(v->actConfVLIW->isEnabled(), !enMarcha);
      QCOMPARE(v->mnuInstVLIW->isEnabled(), !enMarcha);
      QCOMPARE(v->actNuevoVLIW->isEnabled(), !enMarcha);
      QVERIFY(v->actConfSuper->isEnabled());
    }
    // Lo que nunca se bloquea.
    for (QAction* a : {v->actIni, v->actPaso, v->actPausa, v->actParar, v->actFalloCache, v->mnuCompGPR,
                       v->opcReset, v->actVerBB})
      QVERIFY2(a->isEnabled(), qPrintable(a->objectName()));
  }

  static void porMaquina() {
    QTest::addColumn<int>("m");
    QTest::newRow("superescalar") << SUPER;
    QTest::newRow("VLIW") << VLIW;
  }

private slots:
  void init() {
    dialogos = std::make_unique<TServicioDialogosGuion>();
    qobject_cast<TAplicacion*>(QCoreApplication::instance())->setServicioDialogos(dialogos.get());
    v = std::make_unique<TfrmPrincipal>(*dialogos);
    v->resize(892, 564);
    v->show();
  }

  void cleanup() {
    QCOMPARE(dialogos->sinRespuesta, 0);
    v.reset();
    qobject_cast<TAplicacion*>(QCoreApplication::instance())->setServicioDialogos(nullptr);
    dialogos.reset();
  }

  // ------------------------------------------------------------ arranque

  void estadoDeArranque() {
    QCOMPARE(v->windowTitle(), QStringLiteral("Orvex: Simulador para Planificación Dinámica y Estática"));
    QCOMPARE(int(v->maquinaActual), SUPER);
    QVERIFY(v->maquinaSuper && v->maquinaVLIW && !v->codigo);
    QCOMPARE(v->maquinaSuper->emision, 4);
    QCOMPARE(v->maquinaSuper->totalUF(), 11);
    QCOMPARE(v->maquinaVLIW->latFalloCache, 9);
    QCOMPARE(v->maquinaSuper->memoria.porcentajeFallos, 0);
    QCOMPARE(v->maquinaVLIW->memoria.porcentajeFallos, 0);
    QVERIFY(!v->tobEjecucion->isVisible());
    QVERIFY(v->tobEstandar->isVisible());
    QVERIFY(!v->opcionBarEjecucion->isChecked() && !v->opcionBarEjecucion->isEnabled());
    QVERIFY(v->opcionBarEstandar->isChecked());
    QVERIFY(!v->panCodigo->isVisible());
    QCOMPARE(v->panTitulo->text(), QStringLiteral("Código Secuencial"));
    QVERIFY(!v->mnuEjecutar->isEnabled() && !v->mnuInstVLIW->isEnabled());
    QVERIFY(!v->actVerCodigo->isEnabled() && v->actVerCodigo->isChecked());
    QVERIFY(v->actSelSuper->isChecked() && !v->actSelVLIW->isChecked());
    QCOMPARE(v->cboMaquina->currentText(), QStringLiteral("Superescalar"));
    QCOMPARE(v->cboComponentes->currentIndex(), -1);
    QCOMPARE(v->txtCiclo->text(), QStringLiteral("0"));
    QVERIFY(v->txtCiclo->isReadOnly());
    QCOMPARE(v->spiVelocidad->value(), 5);
    QVERIFY(!v->timSimulSuper->isActive() && !v->timSimulVLIW->isActive());
    QVERIFY(!v->opcReset->isChecked() && v->opcChkCodigoVLIW->isChecked());
    QVERIFY(ventanas().isEmpty());
    QVERIFY(v->AboutBox && !v->AboutBox->isVisible());
    QCOMPARE(v->grdInstrucciones->model()->rowCount(), 0);
    // Sin programa están disponibles abrir, configurar, % de fallos y opciones.
    for (QAction* a : {v->actAbrir, v->actConfSuper, v->actConfVLIW, v->actFalloCache, v->opcReset})
      QVERIFY(a->isEnabled());
    for (QAction* a : {v->actIni, v->actPaso, v->actPausa, v->actParar, v->actSelSuper, v->actSelVLIW,
                       v->mnuCompMem, v->actNuevoVLIW, v->actCargarVLIW})
      QVERIFY2(!a->isEnabled(), qPrintable(a->objectName()));
    QVERIFY(dialogos->apuntes.isEmpty());
  }

  void ordenesConTextoAtajoYPista_data() {
    QTest::addColumn<QString>("nombre");
    QTest::addColumn<QString>("texto");
    QTest::addColumn<QString>("atajo");
    QTest::addColumn<QString>("pista");
    QTest::newRow("abrir") << "actAbrir" << "&Abrir..." << "Ctrl+A" << "Abrir un nuevo fichero";
    QTest::newRow("bb") << "actVerBB" << "Bloques Básicos" << "Ctrl+B" << "Colorea los bloques básicos del código";
    QTest::newRow("código") << "actVerCodigo" << "Código Secuencial" << "" << "Muestra/Oculta el código secuencial";
    QTest::newRow("conf super") << "actConfSuper" << "Configurar Super&escalar" << "Alt+F2"
                                << "Establecer los parámetros de la Máquina Superescalar";
    QTest::newRow("conf vliw") << "actConfVLIW" << "Configurar VLI&W" << "Alt+F3"
                               << "Establecer los parámetros de la Máquina VLIW";
    QTest::newRow("nuevo") << "actNuevoVLIW" << "Crear &Nuevo Programa VLIW" << ""
                           << "Abre la ventana para crear códigos VLIW";
    QTest::newRow("cargar") << "actCargarVLIW" << "Car&gar Programa VLIW..." << ""
                            << "Carga la configuración de las máquinas desde un fichero";
    QTest::newRow("fallos") << "actFalloCache" << "% Fallos Caché Datos" << "Ctrl+F"
                            << "Establece el porcentaje de fallos de caché";
    QTest::newRow("iniciar") << "actIni" << "Iniciar" << "F9" << "Comenzar Ejecución Continua";
    QTest::newRow("paso") << "actPaso" << "Paso a Paso" << "F8" << "Ejecución Paso a Paso";
    QTest::newRow("pausa") << "actPausa" << "Pausa" << "F7" << "Pausar la Ejecución";
    QTest::newRow("parar") << "actParar" << "Parar" << "F6" << "Terminar la Ejecución";
    QTest::newRow("sel super") << "actSelSuper" << "Seleccionar Superescalar" << "F2"
                               << "Seleccionar Máquina Superescalar";
    QTest::newRow("sel vliw") << "actSelVLIW" << "Seleccionar VLIW" << "F3" << "Seleccionar Máquina VLIW";
    QTest::newRow("cascada") << "actCascada" << "&Cascada" << "" << "Coloca todas las ventanas en cascada";
    QTest::newRow("mosaico") << "actMosaico" << "&Mosaico" << "" << "Alinea las ventanas";
    QTest::newRow("contenido") << "actContenidoAyuda" << "&Contenido" << "F1" << "Contenido de la ayuda";
    QTest::newRow("buscar") << "actBuscarAyuda" << "&Buscar Ayuda sobre..." << ""
                            << "Buscar un tema específico en la ayuda";
    QTest::newRow("cómo") << "actComoAyuda" << "Cómo &usar la Ayuda" << "" << "Funcionamiento de la ayuda";
    QTest::newRow("salir") << "opcSalir" << "&Salir" << "" << "Salir del programa";
    QTest::newRow("reset") << "opcReset" << "&Resetear máquina al iniciar" << ""
                           << "Pone la memoria y registros de la memoria a 0 con cada nueva ejecución";
    QTest::newRow("chequear") << "opcChkCodigoVLIW" << "C&hequear código VLIW" << ""
                              << "Indica si se comprueban las inconsistencias en el código VLIW automáticamente";
    QTest::newRow("memoria") << "mnuCompMem" << "&Memoria" << "Alt+F5" << "";
    QTest::newRow("gpr") << "mnuCompGPR" << "Registros de Propósito &General" << "Alt+F6" << "";
    QTest::newRow("fpr") << "mnuCompFPR" << "Registros de Punto &Flotante" << "Alt+F7" << "";
    QTest::newRow("restaurar") << "opcRestaurarTodo" << "&Restaurar todo" << ""
                               << "Restaura todas las ventanas minimizadas";
    QTest::newRow("acerca") << "opcAcerca" << "&Acerca..." << "" << "Muestra la información del programa";
  }
  void ordenesConTextoAtajoYPista() {
    QFETCH(QString, nombre);
    QFETCH(QString, texto);
    QFETCH(QString, atajo);
    QFETCH(QString, pista);
    auto* a = v->findChild<QAction*>(nombre);
    QVERIFY(a);
    QCOMPARE(a->text(), texto);
    QCOMPARE(a->shortcut().toString(), atajo);
    QCOMPARE(a->statusTip(), pista);
  }

  void menusYBarras() {
    QStringList menus;
    for (QAction* a : v->menuBar()->actions()) menus << a->text();
    QCOMPARE(menus, QStringList({"&Archivo", "&Ver", "&Configurar", "&Ejecutar", "Ve&ntana", "A&yuda"}));
    QStringList ejecutar;
    for (QAction* a : v->mnuEjecutar->actions()) ejecutar << a->text();
    QCOMPARE(ejecutar, QStringList({"Seleccionar Máquina", "Iniciar", "Pausa", "Paso a Paso", "Parar", "Componentes"}));
    QCOMPARE(v->mnuOpciones->menuAction()->statusTip(), QStringLiteral("Otras opciones de configuración"));
    QCOMPARE(v->tobEjecucion->actions().mid(0, 4),
             QList<QAction*>({v->actIni, v->actPaso, v->actPausa, v->actParar}));
    QCOMPARE(v->tobEstandar->actions().value(0), v->actAbrir);
    // Cada botón de barra tiene un icono.
    for (QToolBar* b : {v->tobEstandar, v->tobEjecucion})
      for (QAction* a : b->actions())
        if (!a->isSeparator() && !b->widgetForAction(a)->inherits("QLabel") && a->parent() == v.get())
          QVERIFY2(!a->icon().isNull(), qPrintable(a->objectName()));
    QCOMPARE(v->txtCiclo->toolTip(), QStringLiteral("Ciclo de la máquina"));
    QCOMPARE(v->spiVelocidad->toolTip(), QStringLiteral("Velocidad de Ejecución"));
    QCOMPARE(v->cboComponentes->toolTip(), QStringLiteral("Componentes"));
    QCOMPARE(v->cboMaquina->toolTip(), QStringLiteral("Máquina Simulada"));
    QCOMPARE(v->grdInstrucciones->toolTip(), QStringLiteral("Código Secuencial"));
    QCOMPARE(v->txtCiclo->width(), 44);
  }

  // Antes de abrir un programa, F9 no hace nada; después, funciona aunque la
  // barra de ejecución esté oculta.
  void atajosSiguenAlMenuEjecutar() {
    v->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(v.get()));
    QTest::keyClick(v.get(), Qt::Key_F9);
    QTest::keyClick(v.get(), Qt::Key_F8);
    QVERIFY(!v->timSimulSuper->isActive());
    QCOMPARE(v->maquinaSuper->ciclo, 0);
    QVERIFY(ventanas().isEmpty());
    QVERIFY(!v->opcionBarEjecucion->isEnabled());

    prepararVLIW(5);
    v->opcionBarEjecucion->trigger();
    QVERIFY(!v->tobEjecucion->isVisible() && !v->opcionBarEjecucion->isChecked());
    QTest::keyClick(v.get(), Qt::Key_F8);
    QCOMPARE(v->maquinaVLIW->ciclo, 1);
    dialogos->confirmaciones << false;
    QTest::keyClick(v.get(), Qt::Key_F9);
    QCOMPARE(dialogos->de(QStringLiteral("confirmar")).size(), 1);
    QVERIFY(v->timSimulVLIW->isActive());
  }

  // ------------------------------------------------------------ abrir

  void abrirUnPrograma() {
    QDir().mkpath(dir.filePath(QStringLiteral("sub")));
    // En Linux «\» es un carácter más del nombre: el título toma lo que hay detrás.
    const QString ruta = fichero(QStringLiteral("sub/carpeta\\etiquetas.pla"), SECUENCIAL);
    abrir(ruta);
    QCOMPARE(dialogos->de(QStringLiteral("abrir")),
             QStringList(QStringLiteral("Ficheros fuente|*.pla|Ficheros fuente VLIW (con bundles)|*.bun")));
    QVERIFY(dialogos->mensajes().isEmpty());
    QVERIFY(v->codigo);
    QCOMPARE(v->maquinaSuper->codigo, v->codigo.get());
    QCOMPARE(v->panTitulo->text(), QStringLiteral("etiquetas.pla"));
    QAbstractItemModel* m = v->grdInstrucciones->model();
    QCOMPARE(m->rowCount(), 3);
    QCOMPARE(m->index(0, 0).data().toString(), QStringLiteral("0 [INICIO:]"));
    QCOMPARE(m->index(2, 1).data().toString(), QStringLiteral("LF"));
    QCOMPARE(m->index(1, 4).data().toString(), QStringLiteral("#2000"));
    QVERIFY(v->tobEjecucion->isVisible());
    QVERIFY(v->opcionBarEjecucion->isEnabled() && v->opcionBarEjecucion->isChecked());
    QVERIFY(v->panCodigo->isVisible());
    QVERIFY(v->actVerCodigo->isEnabled() && v->actVerCodigo->isChecked());
    QVERIFY(v->mnuEjecutar->isEnabled() && v->mnuInstVLIW->isEnabled());
    QVERIFY(v->actIni->isEnabled() && v->actSelVLIW->isEnabled());
    // El panel enseña las cinco columnas enteras.
    QTRY_VERIFY(v->panCodigo->width() >= v->grdInstrucciones->horizontalHeader()->length());

    // Un diálogo cancelado no cambia nada.
    const TCodigo* antes = v->codigo.get();
    v->actAbrir->trigger();
    QCOMPARE(v->codigo.get(), antes);
    dialogos->sinRespuesta = 0;
  }

  void abrirFalladoNoCambiaNada_data() {
    QTest::addColumn<QByteArray>("texto");
    QTest::addColumn<QString>("detalle");
    QTest::newRow("errores") << QByteArray("2\nADDI R1 R2\n") << "línea ";
    QTest::newRow("no existe") << QByteArray() << "no se puede abrir el fichero";
  }
  void abrirFalladoNoCambiaNada() {
    QFETCH(QByteArray, texto);
    QFETCH(QString, detalle);
    abrir(fichero(QStringLiteral("bueno.pla"), UNA_ADDI));
    const TCodigo* antes = v->codigo.get();
    const QString malo = texto.isEmpty() ? dir.filePath(QStringLiteral("no_existe.pla"))
                                         : fichero(QStringLiteral("malo.pla"), texto);
    abrir(malo);
    QCOMPARE(dialogos->mensajes(), QStringList(QStringLiteral("FICHERO DE CODIGO CON ERRORES O NO VÁLIDO")));
    QVERIFY2(dialogos->apuntes.last().detalle.startsWith(detalle), qPrintable(dialogos->apuntes.last().detalle));
    QCOMPARE(v->codigo.get(), antes);
    QCOMPARE(v->maquinaSuper->codigo, antes);
    QCOMPARE(v->grdInstrucciones->model()->rowCount(), 1);
    QCOMPARE(v->panTitulo->text(), QStringLiteral("bueno.pla"));
  }

  void abrirCierraElEditorYConservaElProgramaVLIW() {
    prepararVLIW(4);
    v->actNuevoVLIW->trigger();
    QVERIFY(v->frmInstVLIW);
    QCOMPARE(int(v->maquinaActual), VLIW);
    cargarVLIW(4);  // «nuevo» lo vació
    QVERIFY(v->frmInstVLIW);
    abrir(fichero(QStringLiteral("otro.pla"), UNA_ADDI));
    QVERIFY(!v->frmInstVLIW);
    QCOMPARE(v->maquinaVLIW->codigo.numInstrucciones, 4);
    QCOMPARE(v->grdInstrucciones->model()->rowCount(), 1);
  }

  // ------------------------------------------------------------ tabla de estados

  void iniciarDesdeListo_data() { porMaquina(); }
  void iniciarDesdeListo() {
    QFETCH(int, m);
    prepararLargo(m);
    v->seleccionarMaquina(m);
    v->txtCiclo->setText(QStringLiteral("77"));
    v->actIni->trigger();
    TMaquina& maq = v->maquina(m);
    QVERIFY(maq.enEjecucion && !maq.paradaBreakpoint);
    QVERIFY(v->timer(m)->isActive());
    QCOMPARE(v->timer(m)->interval(), 600);
    QCOMPARE(maq.ciclo, 0);  // el primer ciclo llega con el primer tick
    QCOMPARE(v->txtCiclo->text(), QStringLiteral("77"));
    QCOMPARE(ventanas().size(), 1);
    compruebaBloqueo(m, true);
    tick(m);
    QCOMPARE(maq.ciclo, 1);
    QCOMPARE(v->txtCiclo->text(), QStringLiteral("1"));
    QVERIFY(v->timer(m)->isActive());
    QVERIFY(dialogos->mensajes().isEmpty());
  }

  void pasoDesdeListo_data() { porMaquina(); }
  void pasoDesdeListo() {
    QFETCH(int, m);
    prepararLargo(m);
    v->seleccionarMaquina(m);
    v->actPaso->trigger();
    TMaquina& maq = v->maquina(m);
    QCOMPARE(maq.ciclo, 1);
    QCOMPARE(v->txtCiclo->text(), QStringLiteral("1"));
    QVERIFY(maq.enEjecucion);
    QVERIFY(!v->timer(m)->isActive());
    QCOMPARE(ventanas().size(), 1);
    compruebaBloqueo(m, true);
    v->actPaso->trigger();
    QCOMPARE(maq.ciclo, 2);
    // Un paso con el temporizador en marcha añade un ciclo y no lo toca.
    v->actIni->trigger();
    QCOMPARE(dialogos->de(QStringLiteral("confirmar")), QStringList(REINICIAR));
    dialogos->sinRespuesta = 0;  // sin respuesta: No
    QVERIFY(v->timer(m)->isActive());
    v->actPaso->trigger();
    QCOMPARE(maq.ciclo, 3);
    QVERIFY(v->timer(m)->isActive());
  }

  void tickHastaCompletar_data() { porMaquina(); }
  void tickHastaCompletar() {
    QFETCH(int, m);
    int ultimo = 3;  // una ADDI: ciclo 6 en la superescalar, 3 en la VLIW
    if (m == VLIW) {
      prepararVLIW(1);
    } else {
      abrir(fichero(QStringLiteral("addi.pla"), UNA_ADDI));
      ultimo = 6;
    }
    TMaquina& maq = v->maquina(m);
    bool temporizadorParado = false;
    dialogos->alMostrarMensaje = [&](const QString&) { temporizadorParado = !v->timer(m)->isActive(); };
    v->actIni->trigger();
    for (int i = 1; i < ultimo; ++i) tick(m);
    QVERIFY(dialogos->mensajes().isEmpty());
    QVERIFY(v->timer(m)->isActive());
    tick(m);
    QCOMPARE(dialogos->mensajes(), QStringList(COMPLETADA));
    QVERIFY(temporizadorParado);
    QVERIFY(!maq.enEjecucion);
    QCOMPARE(v->txtCiclo->text(), QString::number(ultimo));
    QCOMPARE(ventanas().size(), 1);  // el estado final sigue a la vista
    compruebaBloqueo(m, false);

    // Un paso tras completar empieza otra ejecución desde una máquina reseteada.
    dialogos->olvidar();
    v->actPaso->trigger();
    QCOMPARE(maq.ciclo, 1);
    QVERIFY(maq.enEjecucion);
    QVERIFY(dialogos->mensajes().isEmpty());
  }

  void pasoQueCompletaParaElTemporizador() {
    prepararVLIW(1);
    v->actIni->trigger();
    v->actPaso->trigger();
    v->actPaso->trigger();
    v->actPaso->trigger();
    QCOMPARE(dialogos->mensajes(), QStringList(COMPLETADA));
    QVERIFY(!v->timSimulVLIW->isActive());
    QVERIFY(!v->maquinaVLIW->enEjecucion);
    compruebaBloqueo(VLIW, false);
  }

  void breakpointYReanudacionSinPregunta() {
    prepararVLIW(6, 2);
    TMaquinaVLIW& maq = *v->maquinaVLIW;
    v->actIni->trigger();
    tick(VLIW);
    tick(VLIW);
    QVERIFY(dialogos->mensajes().isEmpty());
    tick(VLIW);  // la instrucción larga 2 está en el punto de emisión
    QCOMPARE(dialogos->mensajes(), QStringList(BREAKPOINT));
    QVERIFY(!v->timSimulVLIW->isActive());
    QVERIFY(maq.enEjecucion && maq.paradaBreakpoint);
    compruebaBloqueo(VLIW, true);
    // Un paso en el breakpoint no da mensaje y lo deja marcado.
    v->actPaso->trigger();
    QCOMPARE(dialogos->mensajes().size(), 1);
    QVERIFY(maq.paradaBreakpoint);
    const int ciclo = maq.ciclo;
    v->actIni->trigger();
    QVERIFY(dialogos->de(QStringLiteral("confirmar")).isEmpty());
    QVERIFY(v->timSimulVLIW->isActive());
    QVERIFY(maq.enEjecucion && !maq.paradaBreakpoint);
    QCOMPARE(maq.ciclo, ciclo);
  }

  void reiniciarPregunta_data() {
    QTest::addColumn<bool>("pausada");
    QTest::addColumn<bool>("respuesta");
    QTest::newRow("en marcha, No") << false << false;
    QTest::newRow("en marcha, Sí") << false << true;
    QTest::newRow("detenida, No") << true << false;
    QTest::newRow("detenida, Sí") << true << true;
  }
  void reiniciarPregunta() {
    QFETCH(bool, pausada);
    QFETCH(bool, respuesta);
    prepararVLIW(10);
    v->actIni->trigger();
    tick(VLIW);
    tick(VLIW);
    if (pausada) v->actPausa->trigger();
    QCOMPARE(v->timSimulVLIW->isActive(), !pausada);
    QMdiSubWindow* ventana = v->frmExeVLIW;
    dialogos->confirmaciones << respuesta;
    v->actIni->trigger();
    QCOMPARE(dialogos->de(QStringLiteral("confirmar")), QStringList(REINICIAR));
    QVERIFY(v->timSimulVLIW->isActive());
    QVERIFY(v->maquinaVLIW->enEjecucion);
    QCOMPARE(v->maquinaVLIW->ciclo, respuesta ? 0 : 2);
    QCOMPARE(v->frmExeVLIW.data() == ventana, !respuesta);  // Sí: ventana nueva
    QCOMPARE(ventanas().size(), 1);
  }

  void pausaYParar() {
    prepararVLIW(10);
    // Pausa y parar desde «listo»: pausa no hace nada; parar cierra y pone "0".
    v->actPausa->trigger();
    QVERIFY(ventanas().isEmpty());
    v->actIni->trigger();
    tick(VLIW);
    v->actPausa->trigger();
    QVERIFY(!v->timSimulVLIW->isActive());
    QVERIFY(v->maquinaVLIW->enEjecucion);
    compruebaBloqueo(VLIW, true);
    v->actParar->trigger();
    QVERIFY(!v->maquinaVLIW->enEjecucion);
    QVERIFY(!v->frmExeVLIW);
    QCOMPARE(v->txtCiclo->text(), QStringLiteral("0"));
    QCOMPARE(v->maquinaVLIW->ciclo, 1);  // parar no resetea
    compruebaBloqueo(VLIW, false);

    v->actPaso->trigger();
    v->actParar->trigger();
    v->actParar->trigger();
    QVERIFY(ventanas().isEmpty());
    QVERIFY(dialogos->mensajes().isEmpty());
  }

  void ventanaCerradaSeRecreaEnElSiguienteCiclo() {
    prepararVLIW(10);
    v->actIni->trigger();
    tick(VLIW);
    v->frmExeVLIW->close();
    destruirPendientes();
    QVERIFY(!v->frmExeVLIW);
    tick(VLIW);
    QVERIFY(v->frmExeVLIW);
    v->frmExeVLIW->close();
    destruirPendientes();
    v->actPaso->trigger();
    QVERIFY(v->frmExeVLIW);
  }

  void ordenDeRefresco() {
    prepararVLIW(10);
    v->mnuCompMemClick();
    v->mnuCompFPRClick();
    v->mnuCompGPRClick();
    v->actNuevoVLIW->trigger();
    cargarVLIW(10);
    QStringList orden;
    connect(v.get(), &TfrmPrincipal::vistaActualizada, this, [&](QWidget* w) { orden << w->objectName(); });
    v->actIni->trigger();
    tick(VLIW);
    QCOMPARE(orden, QStringList({"frmExeVLIW", "frmCompGPR", "frmCompFPR", "frmCompMem", "frmInstVLIW"}));
    QCOMPARE(v->frmInstVLIW->filaActual, 1);
    orden.clear();
    v->actPaso->trigger();
    QCOMPARE(orden, QStringList({"frmExeVLIW", "frmCompGPR", "frmCompFPR", "frmCompMem", "frmInstVLIW"}));
    // La superescalar no toca el editor.
    v->actParar->trigger();
    v->seleccionarMaquina(SUPER);
    orden.clear();
    v->actPaso->trigger();
    QCOMPARE(orden, QStringList({"frmExeSuper", "frmCompGPR", "frmCompFPR", "frmCompMem"}));
  }

  // Un fallo dentro de un tick se informa con su mensaje y deja la ejecución detenida.
  void falloEnUnTick() {
    prepararVLIW(10);
    v->actIni->trigger();
    auto conexion = connect(v.get(), &TfrmPrincipal::vistaActualizada, this,
                            [](QWidget*) { throw std::runtime_error("vista rota"); });
    tick(VLIW);
    disconnect(conexion);
    QCOMPARE(dialogos->mensajes(),
             QStringList(QStringLiteral(
                 "Excepción no controlada en fichero \"Simulador/Main.cpp\", función \"TfrmPrincipal::timSimulVLIWTimer")));
    QCOMPARE(dialogos->apuntes.last().detalle, QStringLiteral("vista rota"));
    QVERIFY(!v->timSimulVLIW->isActive());
    QVERIFY(v->maquinaVLIW->enEjecucion);
    compruebaBloqueo(VLIW, true);
    // Se puede reiniciar: pregunta, porque no está en un breakpoint.
    dialogos->confirmaciones << true;
    v->actIni->trigger();
    QVERIFY(v->timSimulVLIW->isActive());
  }

  void cicloConErrorTerminaLaEjecucion_data() {
    QTest::addColumn<bool>("conPaso");
    QTest::newRow("tick") << false;
    QTest::newRow("paso") << true;
  }
  void cicloConErrorTerminaLaEjecucion() {
    QFETCH(bool, conPaso);
    abrir(fichero(QStringLiteral("sec.pla"), SECUENCIAL));
    // R2 = 2000 y, dos instrucciones largas después, LF F0 0(R2).
    QVERIFY(v->maquinaVLIW->cargarCodigo(
        fichero(QStringLiteral("e.vliw"), "3\n1\t1 0 0 0\n0\n1\t2 4 0 0\n").toStdString(), *v->codigo));
    v->seleccionarMaquina(VLIW);
    if (!conPaso) v->actIni->trigger();
    for (int i = 0; i < 10 && dialogos->mensajes().isEmpty(); ++i) {
      if (conPaso) v->actPaso->trigger();
      else tick(VLIW);
    }
    QCOMPARE(dialogos->mensajes().size(), 1);
    QCOMPARE(dialogos->mensajes().first(), QString::fromStdString(v->maquinaVLIW->mensajeError));
    QVERIFY(dialogos->mensajes().first().contains(QStringLiteral("2000")));
    QVERIFY(!v->timSimulVLIW->isActive());
    QVERIFY(!v->maquinaVLIW->enEjecucion);
    QVERIFY(v->frmExeVLIW);
    compruebaBloqueo(VLIW, false);
  }

  // ------------------------------------------------------------ guardas VLIW

  void vliwSinProgramaNoArranca() {
    abrir(fichero(QStringLiteral("sec.pla"), SECUENCIAL));
    v->seleccionarMaquina(VLIW);
    v->maquinaVLIW->ciclo = 9;
    v->actIni->trigger();
    v->actPaso->trigger();
    QCOMPARE(dialogos->mensajes(), QStringList({"Debe completar el código VLIW antes de ejecutar",
                                                "Debe completar el código VLIW antes de ejecutar"}));
    QCOMPARE(v->maquinaVLIW->ciclo, 9);
    QVERIFY(!v->maquinaVLIW->enEjecucion && !v->timSimulVLIW->isActive());
    QVERIFY(ventanas().isEmpty());
  }

  void vliwConEdicionesSinAceptar_data() {
    QTest::addColumn<int>("respuesta");
    QTest::newRow("Guardar") << 1;
    QTest::newRow("Cancelar") << 2;
  }
  void vliwConEdicionesSinAceptar() {
    QFETCH(int, respuesta);
    prepararVLIW(3);
    v->abrirEditorVLIW();
    v->frmInstVLIW->borrarCelda(0, 0);  // hay ediciones sin aceptar
    dialogos->respuestasGuardarCambio << respuesta;
    v->actIni->trigger();
    QCOMPARE(dialogos->de(QStringLiteral("guardarCambio")).size(), 1);
    QVERIFY(!v->frmInstVLIW->cambiosPendientes());
    QVERIFY(!v->maquinaVLIW->enEjecucion && !v->timSimulVLIW->isActive());
    QCOMPARE(v->maquinaVLIW->ciclo, 0);
    // La orden se da otra vez y ahora sí arranca.
    v->actPaso->trigger();
    QCOMPARE(v->maquinaVLIW->ciclo, 1);
    QVERIFY(v->frmInstVLIW->edicionBloqueada());
  }

  void vliwConUnidadesQueNoExisten() {
    prepararVLIW(3);
    v->maquinaVLIW->numUF[0] = 1;
    v->maquinaVLIW->reset(false);
    // Ahora una operación pide la unidad 1 de +Entera, que ya no existe.
    v->maquinaVLIW->codigo.instruccion(0)->operaciones[0]->numUnidad = 1;
    v->maquinaVLIW->ciclo = 4;
    v->actPaso->trigger();
    v->actIni->trigger();
    QCOMPARE(dialogos->mensajes(),
             QStringList({"La configuración actual de la máquina no permite ejecutar ese código",
                          "La configuración actual de la máquina no permite ejecutar ese código"}));
    QCOMPARE(v->maquinaVLIW->ciclo, 4);  // sin reset
    QVERIFY(!v->maquinaVLIW->enEjecucion);
  }

  // ------------------------------------------------------------ bloqueos por máquina

  void bloqueosSiguenACadaMaquina() {
    prepararVLIW(20);
    v->seleccionarMaquina(SUPER);
    v->actIni->trigger();  // superescalar en marcha
    QVERIFY(v->maquinaSuper->enEjecucion);
    // Las órdenes de programa VLIW siguen disponibles y seleccionan la VLIW.
    QVERIFY(v->actNuevoVLIW->isEnabled());
    v->actNuevoVLIW->trigger();
    QCOMPARE(int(v->maquinaActual), VLIW);
    QVERIFY(v->timSimulSuper->isActive());
    cargarVLIW(20);  // «nuevo» lo vació
    QCOMPARE(int(v->maquinaActual), VLIW);
    v->actIni->trigger();  // las dos en marcha
    QVERIFY(v->maquinaVLIW->enEjecucion);
    QVERIFY(v->frmInstVLIW->edicionBloqueada());
    // Termina la superescalar: lo de la VLIW y lo compartido siguen bloqueados.
    v->pararSuper();
    QVERIFY(v->actConfSuper->isEnabled());
    QVERIFY(!v->actConfVLIW->isEnabled());
    QVERIFY(!v->mnuInstVLIW->isEnabled() && !v->actNuevoVLIW->isEnabled());
    QVERIFY(v->frmInstVLIW->edicionBloqueada());
    QVERIFY(!v->actAbrir->isEnabled() && !v->cboMaquina->isEnabled());
    v->pararVLIW();
    QVERIFY(v->actAbrir->isEnabled() && v->cboMaquina->isEnabled() && v->mnuInstVLIW->isEnabled());
    QVERIFY(!v->frmInstVLIW->edicionBloqueada());
  }

  void configuracionSeCierraAlBloquear_data() { porMaquina(); }
  void configuracionSeCierraAlBloquear() {
    QFETCH(int, m);
    prepararLargo(m);
    v->seleccionarMaquina(m);
    v->actConfSuper->trigger();
    v->actConfVLIW->trigger();
    v->actConfSuper->trigger();  // ya abierta: no se duplica
    QCOMPARE(ventanas().size(), 2);
    v->actIni->trigger();
    QCOMPARE(v->frmConfSuper.isNull(), m == SUPER);
    QCOMPARE(v->frmConfVLIW.isNull(), m == VLIW);
  }

  // ------------------------------------------------------------ selección de máquina

  void seleccionarMaquina() {
    prepararVLIW(5);
    v->seleccionarMaquina(SUPER);
    v->actPaso->trigger();
    v->mnuCompGPRClick();
    v->mnuCompMemClick();
    QPointer<TfrmComponente> gpr = v->frmCompGPR;
    QCOMPARE(&gpr->maquina, static_cast<TMaquina*>(v->maquinaSuper.get()));
    QVERIFY(v->frmExeSuper);
    v->actPararExecute();
    // Elegir la misma máquina no hace nada.
    emit v->cboMaquina->activated(0);
    QCOMPARE(v->frmCompGPR.data(), gpr.data());
    emit v->cboMaquina->activated(1);
    QCOMPARE(int(v->maquinaActual), VLIW);
    QVERIFY(v->actSelVLIW->isChecked());
    QCOMPARE(v->cboMaquina->currentIndex(), 1);
    QVERIFY(!v->frmExeSuper);
    QVERIFY(gpr.isNull());
    QVERIFY(v->frmCompGPR && v->frmCompMem && !v->frmCompFPR);
    QCOMPARE(&v->frmCompGPR->maquina, static_cast<TMaquina*>(v->maquinaVLIW.get()));
    QCOMPARE(&v->frmCompMem->maquina, static_cast<TMaquina*>(v->maquinaVLIW.get()));
    QVERIFY(v->frmCompGPR->isVisible());
    // Un cambio de índice por programa no selecciona nada.
    v->cboMaquina->setCurrentIndex(0);
    QCOMPARE(int(v->maquinaActual), VLIW);
    v->cboMaquina->setCurrentIndex(1);
    // La combinación de componentes abre la ventana de su entrada.
    emit v->cboComponentes->activated(2);
    QVERIFY(v->frmCompFPR);
    QCOMPARE(v->frmCompFPR->tipo, int(TfrmComponente::FPR));
    v->actSelSuper->trigger();
    QCOMPARE(int(v->maquinaActual), SUPER);
    QCOMPARE(v->cboMaquina->currentIndex(), 0);
    QCOMPARE(ventanas().size(), 3);
  }

  // ------------------------------------------------------------ velocidad, % de fallos, opciones

  void velocidadFijaElIntervalo() {
    prepararVLIW(20);
    v->spiVelocidad->setValue(10);
    v->actIni->trigger();
    QCOMPARE(v->timSimulVLIW->interval(), 100);
    v->spiVelocidad->setValue(1);
    QCOMPARE(v->timSimulVLIW->interval(), 100);  // hasta el siguiente tick
    tick(VLIW);
    QCOMPARE(v->timSimulVLIW->interval(), 1000);
    QCOMPARE(TfrmPrincipal::intervaloDeVelocidad(5), 600);
  }

  void porcentajeDeFallos() {
    v->maquinaSuper->memoria.porcentajeFallos = 12;
    dialogos->cantidades << std::nullopt;
    v->actFalloCache->trigger();
    QCOMPARE(dialogos->preguntasCantidad.size(), 1);
    const TPreguntaCantidad p = dialogos->preguntasCantidad.first();
    QCOMPARE(p.titulo, QStringLiteral("% Fallos caché"));
    QCOMPARE(p.texto, QStringLiteral("% Fallos"));
    QCOMPARE(p.valor, 12);
    QCOMPARE(p.minimo, 0);
    QCOMPARE(p.maximo, 100);
    QCOMPARE(v->maquinaSuper->memoria.porcentajeFallos, 12);
    QCOMPARE(v->maquinaVLIW->memoria.porcentajeFallos, 0);
    dialogos->cantidades << 30;
    v->actFalloCache->trigger();
    QCOMPARE(v->maquinaSuper->memoria.porcentajeFallos, 30);
    QCOMPARE(v->maquinaVLIW->memoria.porcentajeFallos, 30);
  }

  void opcionResetearAlIniciar() {
    prepararVLIW(2);
    v->maquinaVLIW->gpr.valor[7] = 7;
    v->actPaso->trigger();
    QCOMPARE(v->maquinaVLIW->gpr.valor[7], 7);
    v->actParar->trigger();
    v->opcReset->trigger();
    QVERIFY(v->resetearAlIniciar());
    v->actPaso->trigger();
    QCOMPARE(v->maquinaVLIW->gpr.valor[7], 0);
    v->opcChkCodigoVLIW->trigger();
    QVERIFY(!v->chequearCodigoVLIW());
  }

  // ------------------------------------------------------------ rejilla y panel

  void dobleClicPoneYQuitaBreakpoints() {
    abrir(fichero(QStringLiteral("sec.pla"), SECUENCIAL));
    TRejillaCodigo* r = v->grdInstrucciones;
    const QPoint celda = r->visualRect(r->model()->index(1, 3)).center();
    QTest::mouseDClick(r->viewport(), Qt::LeftButton, {}, celda);
    QVERIFY(v->codigo->instrucciones[1].breakpoint);
    QCOMPARE(r->fondoCelda(1, 0), QColor(255, 0, 0));
    // También durante una ejecución.
    v->actIni->trigger();
    QTest::mouseDClick(r->viewport(), Qt::LeftButton, {}, celda);
    QVERIFY(!v->codigo->instrucciones[1].breakpoint);
    QCOMPARE(r->fondoCelda(1, 0), r->palette().color(QPalette::Button));
    // La cabecera no es una instrucción.
    QTest::mouseDClick(r->horizontalHeader()->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
    for (const TInstruccion& i : v->codigo->instrucciones) QVERIFY(!i.breakpoint);
  }

  void panelYBloquesBasicos() {
    abrir(fichero(QStringLiteral("sec.pla"), SECUENCIAL));
    QTest::mouseDClick(v->panTitulo, Qt::LeftButton);
    QVERIFY(!v->panCodigo->isVisible());
    QVERIFY(!v->actVerCodigo->isChecked());
    v->actVerCodigo->trigger();
    QVERIFY(v->panCodigo->isVisible() && v->actVerCodigo->isChecked());
    v->actVerBB->trigger();
    QVERIFY(v->grdInstrucciones->bloquesBasicos() && v->verBloquesBasicos());
    v->actVerBB->trigger();
    QVERIFY(!v->grdInstrucciones->bloquesBasicos());
    v->opcionBarEstandar->trigger();
    QVERIFY(!v->tobEstandar->isVisible());
    v->opcionBarEstandar->trigger();
    QVERIFY(v->tobEstandar->isVisible());
  }

  // ------------------------------------------------------------ ventanas

  void mosaicoYRestaurarTodo() {
    prepararVLIW(2);
    v->mnuCompGPRClick();
    v->mnuCompFPRClick();
    v->mnuCompMemClick();
    v->actMosaico->trigger();
    const QRect area = v->mdiArea->viewport()->rect();
    int y = 0;
    for (QMdiSubWindow* w : ventanas()) {
      QCOMPARE(w->geometry().width(), area.width());
      QCOMPARE(w->geometry().top(), y);
      y += area.height() / 3;
    }
    v->actCascada->trigger();
    v->frmCompGPR->showMinimized();
    v->frmCompMem->showMinimized();
    v->frmCompGPR->move(300, 10);
    v->opcRestaurarTodo->trigger();
    QCOMPARE(v->frmCompGPR->geometry().bottom(), area.bottom());
    QCOMPARE(v->frmCompMem->geometry().bottom(), area.bottom());
    QCOMPARE(v->frmCompGPR->geometry().left(), 0);
    QVERIFY(v->frmCompMem->geometry().left() >= v->frmCompGPR->geometry().right());
  }

  // ------------------------------------------------------------ ayuda y «Acerca de»

  void ayuda() {
    v->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(v.get()));
    const QString antes = QDir::currentPath();
    QVERIFY(QDir::setCurrent(QStringLiteral(ORVEX_DIR_FUENTES)));
    v->actContenidoAyuda->trigger();
    QVERIFY(v->frmAyuda);
    QCOMPARE(v->frmAyuda->temaActual(), 0);
    v->actBuscarAyuda->trigger();
    QCOMPARE(v->frmAyuda->tabs->currentIndex(), 1);
    QCOMPARE(v->frmAyuda->lstIndice->count(), v->frmAyuda->fichero().entradasIndice().size());
    v->actComoAyuda->trigger();
    QCOMPARE(v->frmAyuda->temaActual(), int(TfrmAyuda::TEMA_COMO_USAR));
    // El tema de lo que está delante.
    prepararVLIW(2);
    v->actPaso->trigger();
    v->mdiArea->setActiveSubWindow(v->frmExeVLIW);
    v->frmExeVLIW->widget()->setFocus();
    QCOMPARE(v->temaAyudaActivo(), 16);
    v->actTemaAyuda->trigger();
    QCOMPARE(v->frmAyuda->temaActual(), 16);
    v->grdInstrucciones->setFocus();
    QCOMPARE(v->temaAyudaActivo(), 11);
    QVERIFY(QDir::setCurrent(antes));
    QVERIFY(dialogos->mensajes().isEmpty());
  }

  void ayudaQueNoSeEncuentra() {
    const QString antes = QDir::currentPath();
    QVERIFY(QDir::setCurrent(dir.path()));
    v->actContenidoAyuda->trigger();
    QVERIFY(QDir::setCurrent(antes));
    if (QFileInfo::exists(TFicheroAyuda::rutasCandidatas().last())) QSKIP("hay una ayuda instalada");
    QVERIFY(!v->frmAyuda);
    QCOMPARE(dialogos->mensajes(), QStringList(QStringLiteral("No se encuentra el fichero de ayuda Ayuda/ORVEX.HLP")));
  }

  void acercaDe() {
    dialogos->respuestasModal << 1;
    v->opcAcerca->trigger();
    QCOMPARE(dialogos->de(QStringLiteral("modal")), QStringList(QStringLiteral("AboutBox")));
  }

  // Un fallo fuera de un tick llega a la aplicación, se muestra y el bucle sigue.
  void falloFueraDeUnTick() {
    TLanzador lanzador;
    QEvent evento(QEvent::User);
    QVERIFY(!QCoreApplication::sendEvent(&lanzador, &evento));
    QCOMPARE(dialogos->mensajes(), QStringList(QStringLiteral("fallo de prueba")));
  }
};

int main(int argc, char** argv) {
  TAplicacion aplicacion(argc, argv);
  PruebasPrincipal pruebas;
  return QTest::qExec(&pruebas, argc, argv);
}

#include "PruebasPrincipal.moc"
