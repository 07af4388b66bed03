// La ventana principal conducida sin pantalla: órdenes, ticks y respuestas de guion.

#include <QColorDialog>
#include <QComboBox>
#include <QFileDialog>
#include <QMessageBox>
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
#include <QScrollBar>
#include <QSettings>
#include <QTimer>
#include <QToolBar>
#include <QtTest>
#include <memory>
#include <stdexcept>

#include "AyudaPrincipal.h"
#include "Simulador/aplicacion/TAplicacion.h"
#include "Simulador/codigo/TModeloCodigo.h"
#include "TServicioDialogosGuion.h"
#include "loader/TCodigo.h"
#include "superscalar/TMaquinaSuper.h"
#include "vliw/TMaquinaVLIW.h"

namespace {

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
  std::unique_ptr<TPrincipalEnPrueba> c;

  QString fichero(const QString& nombre, const QByteArray& texto) {
    const QString ruta = dir.filePath(nombre);
    QFile f(ruta);
    if (!f.open(QIODevice::WriteOnly)) qFatal("no se puede escribir %s", qPrintable(ruta));
    f.write(texto);
    return ruta;
  }

  void abrir(const QString& ruta) {
    dialogos->ficherosAbrir << ruta;
    c->actAbrir->trigger();
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
    QVERIFY(c->vliw().cargarCodigo(fichero(QStringLiteral("p.vliw"), texto).toStdString(), *v->programa()));
    if (breakpointEn >= 0) c->vliw().codigo.instruccion(breakpointEn)->breakpoint = true;
    v->seleccionarMaquina(VLIW);
  }

  // Programa largo para la máquina m (la superescalar, un ejemplo con bucles).
  void prepararLargo(TTipoMaquina m) {
    if (m == VLIW) {
      prepararVLIW(20);
      return;
    }
    abrir(QStringLiteral(ORVEX_DIR_EJEMPLOS "/vector_suma.pla"));
    QVERIFY(v->programa());
  }

  void tick(TTipoMaquina m) { c->tic(m); }

  QList<QMdiSubWindow*> ventanas() const { return c->mdiArea->subWindowList(); }

  // Las ventanas cerradas por el usuario se destruyen en diferido.
  static void destruirPendientes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

  void compruebaBloqueo(TTipoMaquina m, bool enMarcha) {
    QCOMPARE(c->actAbrir->isEnabled(), !enMarcha);
    QCOMPARE(c->cboMaquina->isEnabled(), !enMarcha);
    QCOMPARE(c->mnuSelMaquina->isEnabled(), !enMarcha);
    QCOMPARE(c->actSelSuper->isEnabled(), !enMarcha);
    QCOMPARE(c->actSelVLIW->isEnabled(), !enMarcha);
    if (m == SUPER) {
      QCOMPARE(c->actConfSuper->isEnabled(), !enMarcha);
      QVERIFY(c->actConfVLIW->isEnabled());
    } else {
      QCOMPARE(c->actConfVLIW->isEnabled(), !enMarcha);
      QCOMPARE(c->mnuInstVLIW->isEnabled(), !enMarcha);
      QCOMPARE(c->actNuevoVLIW->isEnabled(), !enMarcha);
      QVERIFY(c->actConfSuper->isEnabled());
    }
    // Lo que nunca se bloquea.
    for (QAction* a : {c->actIni, c->actPaso, c->actPausa, c->actParar, c->actFalloCache, c->mnuCompGPR,
                       c->opcReset, c->actVerBB})
      QVERIFY2(a->isEnabled(), qPrintable(a->objectName()));
  }

  static void porMaquina() {
    QTest::addColumn<TTipoMaquina>("m");
    QTest::newRow("superescalar") << SUPER;
    QTest::newRow("VLIW") << VLIW;
  }

private slots:
  void init() {
    dialogos = std::make_unique<TServicioDialogosGuion>();
    qobject_cast<TAplicacion*>(QCoreApplication::instance())->setServicioDialogos(dialogos.get());
    v = std::make_unique<TfrmPrincipal>(*dialogos);
    c = std::make_unique<TPrincipalEnPrueba>(*v);
    v->resize(892, 564);
    v->show();
  }

  void cleanup() {
    QCOMPARE(dialogos->sinRespuesta, 0);
    c.reset();
    v.reset();
    qobject_cast<TAplicacion*>(QCoreApplication::instance())->setServicioDialogos(nullptr);
    dialogos.reset();
  }

  // ------------------------------------------------------------ arranque

  void estadoDeArranque() {
    QCOMPARE(v->windowTitle(), QStringLiteral("Orvex: Simulador para Planificación Dinámica y Estática"));
    QCOMPARE(int(v->maquinaActual()), int(SUPER));
    QVERIFY(v->controlador(SUPER).maquinaSuper() && v->controlador(VLIW).maquinaVLIW() && !v->programa());
    QCOMPARE(c->super().emision, 4);
    QCOMPARE(c->super().totalUF(), 11);
    QCOMPARE(c->vliw().latFalloCache, 9);
    QCOMPARE(c->super().memoria.porcentajeFallos, 0);
    QCOMPARE(c->vliw().memoria.porcentajeFallos, 0);
    QVERIFY(!c->tobEjecucion->isVisible());
    QVERIFY(c->tobEstandar->isVisible());
    QVERIFY(!c->opcionBarEjecucion->isChecked() && !c->opcionBarEjecucion->isEnabled());
    QVERIFY(c->opcionBarEstandar->isChecked());
    QVERIFY(!c->panCodigo->isVisible());
    QCOMPARE(c->panTitulo->text(), QStringLiteral("Código Secuencial"));
    QVERIFY(!c->mnuEjecutar->isEnabled() && !c->mnuInstVLIW->isEnabled());
    QVERIFY(!c->actVerCodigo->isEnabled() && c->actVerCodigo->isChecked());
    QVERIFY(c->actSelSuper->isChecked() && !c->actSelVLIW->isChecked());
    QCOMPARE(c->cboMaquina->currentText(), QStringLiteral("Superescalar"));
    QCOMPARE(c->cboComponentes->currentIndex(), -1);
    QCOMPARE(c->txtCiclo->text(), QStringLiteral("0"));
    QVERIFY(c->txtCiclo->isReadOnly());
    QCOMPARE(c->spiVelocidad->value(), 5);
    QVERIFY(!c->timSimulSuper->isActive() && !c->timSimulVLIW->isActive());
    QVERIFY(!c->opcReset->isChecked() && c->opcChkCodigoVLIW->isChecked());
    QVERIFY(ventanas().isEmpty());
    QVERIFY(c->AboutBox && !c->AboutBox->isVisible());
    QCOMPARE(c->grdInstrucciones->model()->rowCount(), 0);
    // Sin programa están disponibles abrir, configurar, % de fallos y opciones.
    for (QAction* a : {c->actAbrir, c->actConfSuper, c->actConfVLIW, c->actFalloCache, c->opcReset})
      QVERIFY(a->isEnabled());
    for (QAction* a : {c->actIni, c->actPaso, c->actPausa, c->actParar, c->actSelSuper, c->actSelVLIW,
                       c->mnuCompMem, c->actNuevoVLIW, c->actCargarVLIW})
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
                            << "Carga un programa VLIW desde un fichero";
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
    for (QAction* a : c->mnuEjecutar->actions())
      if (!a->isSeparator()) ejecutar << a->text();
    QCOMPARE(ejecutar, QStringList({"Seleccionar Máquina", "Iniciar", "Pausa", "Paso a Paso", "Parar",
                                    "Retroceder un ciclo", "Ir al ciclo…", "Ejecutar hasta el final", "Componentes",
                                    "Comprobar resultado", "Comparar máquinas", "Explorar configuración..."}));
    QCOMPARE(c->mnuOpciones->menuAction()->statusTip(), QStringLiteral("Otras opciones de configuración"));
    QCOMPARE(c->tobEjecucion->actions().mid(0, 4),
             QList<QAction*>({c->actIni, c->actPaso, c->actPausa, c->actParar}));
    QCOMPARE(c->tobEstandar->actions().value(0), c->actAbrir);
    // Cada botón de barra tiene un icono.
    for (QToolBar* b : {c->tobEstandar, c->tobEjecucion})
      for (QAction* a : b->actions())
        if (!a->isSeparator() && !b->widgetForAction(a)->inherits("QLabel") && a->parent() == v.get())
          QVERIFY2(!a->icon().isNull(), qPrintable(a->objectName()));
    QCOMPARE(c->txtCiclo->toolTip(), QStringLiteral("Ciclo de la máquina"));
    QCOMPARE(c->spiVelocidad->toolTip(), QStringLiteral("Velocidad de Ejecución"));
    QCOMPARE(c->cboComponentes->toolTip(), QStringLiteral("Componentes"));
    QCOMPARE(c->cboMaquina->toolTip(), QStringLiteral("Máquina Simulada"));
    QCOMPARE(c->grdInstrucciones->toolTip(), QStringLiteral("Código Secuencial"));
    QCOMPARE(c->txtCiclo->width(), 44);
  }

  // Antes de abrir un programa, F9 no hace nada; después, funciona aunque la
  // barra de ejecución esté oculta.
  void atajosSiguenAlMenuEjecutar() {
    v->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(v.get()));
    QTest::keyClick(v.get(), Qt::Key_F9);
    QTest::keyClick(v.get(), Qt::Key_F8);
    QVERIFY(!c->timSimulSuper->isActive());
    QCOMPARE(c->super().ciclo, 0);
    QVERIFY(ventanas().isEmpty());
    QVERIFY(!c->opcionBarEjecucion->isEnabled());

    prepararVLIW(5);
    c->opcionBarEjecucion->trigger();
    QVERIFY(!c->tobEjecucion->isVisible() && !c->opcionBarEjecucion->isChecked());
    QTest::keyClick(v.get(), Qt::Key_F8);
    QCOMPARE(c->vliw().ciclo, 1);
    dialogos->confirmaciones << false;
    QTest::keyClick(v.get(), Qt::Key_F9);
    QCOMPARE(dialogos->de(QStringLiteral("confirmar")).size(), 1);
    QVERIFY(c->timSimulVLIW->isActive());
  }

  // ------------------------------------------------------------ ficheros recientes

  // Los ocho últimos programas abiertos, el más reciente primero, guardados
  // entre sesiones; una entrada que ya no existe se quita con un mensaje.
  // Nada más se recuerda: una ventana nueva arranca sin programa.
  void ficherosRecientes() {
    QSettings(QStringLiteral("Orvex"), QStringLiteral("Orvex")).remove(QStringLiteral("ficherosRecientes"));
    c.reset();
    v = std::make_unique<TfrmPrincipal>(*dialogos);
    c = std::make_unique<TPrincipalEnPrueba>(*v);
    QMenu* menu = c->hijo<QMenu>("mnuRecientes");
    auto textos = [&] {
      QStringList t;
      for (QAction* a : menu->actions()) t << a->text();
      return t;
    };
    QVERIFY(!menu->isEnabled() && menu->actions().isEmpty());
    QStringList archivo;
    for (QAction* a : c->hijo<QMenu>("mnuArchivo")->actions()) archivo << a->text();
    QCOMPARE(archivo.mid(0, 2), QStringList({"&Abrir...", "Ficheros &recientes"}));

    for (int i = 0; i < 9; ++i) abrir(fichero(QStringLiteral("p%1.pla").arg(i), UNA_ADDI));
    QVERIFY(menu->isEnabled());
    QCOMPARE(textos(), QStringList({"&1 p8.pla", "&2 p7.pla", "&3 p6.pla", "&4 p5.pla", "&5 p4.pla", "&6 p3.pla",
                                    "&7 p2.pla", "&8 p1.pla"}));
    QCOMPARE(menu->actions().first()->statusTip(), dir.filePath(QStringLiteral("p8.pla")));
    // Un fichero que no carga no entra; uno abierto otra vez sube sin repetirse.
    abrir(fichero(QStringLiteral("malo.pla"), "2\nADDI R1\n"));
    menu->actions().at(5)->trigger();
    QCOMPARE(c->panTitulo->text(), QStringLiteral("p3.pla"));
    QCOMPARE(textos().mid(0, 3), QStringList({"&1 p3.pla", "&2 p8.pla", "&3 p7.pla"}));
    QCOMPARE(textos().size(), 8);

    // Otra sesión: la misma lista, y arranca exactamente como siempre.
    c.reset();
    v = std::make_unique<TfrmPrincipal>(*dialogos);
    c = std::make_unique<TPrincipalEnPrueba>(*v);
    menu = c->hijo<QMenu>("mnuRecientes");
    QCOMPARE(textos().mid(0, 3), QStringList({"&1 p3.pla", "&2 p8.pla", "&3 p7.pla"}));
    QVERIFY(!v->programa() && !c->panCodigo->isVisible() && !c->mnuEjecutar->isEnabled());

    // Una entrada cuyo fichero ya no está: mensaje, y fuera de la lista (también guardada).
    QVERIFY(QFile::remove(dir.filePath(QStringLiteral("p8.pla"))));
    dialogos->olvidar();
    menu->actions().at(1)->trigger();
    QCOMPARE(dialogos->mensajes(),
             QStringList(QStringLiteral("El fichero ya no existe: se quita de los ficheros recientes")));
    QCOMPARE(dialogos->apuntes.last().detalle, dir.filePath(QStringLiteral("p8.pla")));
    QVERIFY(!v->programa());
    QCOMPARE(textos().size(), 7);
    QVERIFY(!textos().contains(QStringLiteral("p8.pla")));
    QCOMPARE(QSettings(QStringLiteral("Orvex"), QStringLiteral("Orvex")).value(QStringLiteral("ficherosRecientes")).toStringList().size(), 7);

    // Se abre como con «&Abrir...», y con él se bloquea durante una ejecución.
    menu->actions().at(0)->trigger();
    QCOMPARE(c->panTitulo->text(), QStringLiteral("p3.pla"));
    c->actIni->trigger();
    QVERIFY(!menu->isEnabled());
    c->actParar->trigger();
    QVERIFY(menu->isEnabled());
  }

  // Abrir desde fuera (línea de órdenes, doble clic) es abrir y cargar como
  // con las órdenes, sin diálogos de ficheros.
  void abrirDesdeFuera() {
    const QString pla = fichero(QStringLiteral("sec.pla"), SECUENCIAL);
    const QString vliw = fichero(QStringLiteral("sec.vliw"), "1\n1\t0 0 0 0\n");
    v->abrirDesdeFuera(pla, vliw);
    QCOMPARE(c->panTitulo->text(), QStringLiteral("sec.pla"));
    QCOMPARE(c->vliw().codigo.numInstrucciones, 1);
    QVERIFY(c->frmInstVLIW());
    QCOMPARE(int(v->maquinaActual()), int(VLIW));
    QVERIFY(dialogos->de(QStringLiteral("abrir")).isEmpty());
    QCOMPARE(c->hijo<QMenu>("mnuRecientes")->actions().first()->statusTip(), pla);
    // Los fallos, con los mensajes de siempre.
    v->abrirDesdeFuera(pla, fichero(QStringLiteral("malo.vliw"), "1\n1\t2 0 0 0\n"));
    QCOMPARE(dialogos->mensajes(), QStringList(QStringLiteral("Error al cargar el código VLIW")));
    dialogos->olvidar();
    v->abrirDesdeFuera(dir.filePath(QStringLiteral("no_existe.pla")), vliw);
    QCOMPARE(dialogos->mensajes(), QStringList(QStringLiteral("FICHERO DE CÓDIGO CON ERRORES O NO VÁLIDO")));
    dialogos->olvidar();
    v->abrirDesdeFuera(QString(), vliw);
    QCOMPARE(dialogos->mensajes().size(), 1);
    QVERIFY(dialogos->mensajes().first().contains(QStringLiteral("Cargar Programa VLIW...")));
  }

  // Los diálogos de ficheros empiezan en la carpeta del programa actual (los
  // de programas VLIW, en la del último que se cargó o guardó).
  void dialogosEmpiezanEnLaCarpetaDelPrograma() {
    const QString carpeta = dir.filePath(QStringLiteral("curso"));
    const QString otra = dir.filePath(QStringLiteral("entregas"));
    QVERIFY(QDir().mkpath(carpeta) && QDir().mkpath(otra));
    auto ultimo = [&](const char* tipo) {
      const QList<TDialogoApuntado>& a = dialogos->apuntes;
      for (qsizetype i = a.size() - 1; i >= 0; --i)
        if (a[i].tipo == QLatin1String(tipo)) return a[i].carpeta;
      return QStringLiteral("(ninguno)");
    };
    abrir(fichero(QStringLiteral("curso/sec.pla"), SECUENCIAL));
    QCOMPARE(ultimo("abrir"), QString());  // sin programa todavía: donde decida el diálogo
    dialogos->ficherosAbrir << QString();
    c->actAbrir->trigger();
    QCOMPARE(ultimo("abrir"), carpeta);
    dialogos->ficherosAbrir << QString();
    c->actCargarVLIW->trigger();
    QCOMPARE(ultimo("abrir"), carpeta);
    c->actNuevoVLIW->trigger();
    c->frmInstVLIW()->soltarInstruccion(0, 0, 0);
    c->frmInstVLIW()->butAceptar->click();
    dialogos->ficherosGuardar << otra + QStringLiteral("/p.vliw");
    c->frmInstVLIW()->butGuardar->click();
    QCOMPARE(ultimo("guardar"), carpeta);
    dialogos->ficherosAbrir << QString();
    c->actCargarVLIW->trigger();
    QCOMPARE(ultimo("abrir"), otra);
    dialogos->ficherosAbrir << QString();
    c->actAbrir->trigger();
    QCOMPARE(ultimo("abrir"), carpeta);
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
    QVERIFY(v->programa());
    QCOMPARE(c->super().codigo, v->programa());
    QCOMPARE(c->panTitulo->text(), QStringLiteral("etiquetas.pla"));
    QAbstractItemModel* m = c->grdInstrucciones->model();
    QCOMPARE(m->rowCount(), 3);
    QCOMPARE(m->index(0, 0).data().toString(), QStringLiteral("0 [INICIO:]"));
    QCOMPARE(m->index(2, 1).data().toString(), QStringLiteral("LF"));
    QCOMPARE(m->index(1, 4).data().toString(), QStringLiteral("#2000"));
    QVERIFY(c->tobEjecucion->isVisible());
    QVERIFY(c->opcionBarEjecucion->isEnabled() && c->opcionBarEjecucion->isChecked());
    QVERIFY(c->panCodigo->isVisible());
    QVERIFY(c->actVerCodigo->isEnabled() && c->actVerCodigo->isChecked());
    QVERIFY(c->mnuEjecutar->isEnabled() && c->mnuInstVLIW->isEnabled());
    QVERIFY(c->actIni->isEnabled() && c->actSelVLIW->isEnabled());
    // El panel enseña las cinco columnas enteras.
    QTRY_VERIFY(c->panCodigo->width() >= c->grdInstrucciones->horizontalHeader()->length());

    // Un diálogo cancelado no cambia nada.
    const TCodigo* antes = v->programa();
    c->actAbrir->trigger();
    QCOMPARE(v->programa(), antes);
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
    const TCodigo* antes = v->programa();
    const QString malo = texto.isEmpty() ? dir.filePath(QStringLiteral("no_existe.pla"))
                                         : fichero(QStringLiteral("malo.pla"), texto);
    abrir(malo);
    QCOMPARE(dialogos->mensajes(), QStringList(QStringLiteral("FICHERO DE CÓDIGO CON ERRORES O NO VÁLIDO")));
    QVERIFY2(dialogos->apuntes.last().detalle.startsWith(detalle), qPrintable(dialogos->apuntes.last().detalle));
    QCOMPARE(v->programa(), antes);
    QCOMPARE(c->super().codigo, antes);
    QCOMPARE(c->grdInstrucciones->model()->rowCount(), 1);
    QCOMPARE(c->panTitulo->text(), QStringLiteral("bueno.pla"));
  }

  void abrirCierraElEditorYConservaElProgramaVLIW() {
    prepararVLIW(4);
    c->actNuevoVLIW->trigger();
    QVERIFY(c->frmInstVLIW());
    QCOMPARE(int(v->maquinaActual()), int(VLIW));
    cargarVLIW(4);  // «nuevo» lo vació
    QVERIFY(c->frmInstVLIW());
    abrir(fichero(QStringLiteral("otro.pla"), UNA_ADDI));
    QVERIFY(!c->frmInstVLIW());
    QCOMPARE(c->vliw().codigo.numInstrucciones, 4);
    QCOMPARE(c->grdInstrucciones->model()->rowCount(), 1);
  }

  // ------------------------------------------------------------ tabla de estados

  void iniciarDesdeListo_data() { porMaquina(); }
  void iniciarDesdeListo() {
    QFETCH(TTipoMaquina, m);
    prepararLargo(m);
    v->seleccionarMaquina(m);
    c->txtCiclo->setText(QStringLiteral("77"));
    c->actIni->trigger();
    TMaquina& maq = c->maquina(m);
    QVERIFY(maq.enEjecucion && !maq.paradaBreakpoint);
    QVERIFY(c->timer(m)->isActive());
    QCOMPARE(c->timer(m)->interval(), 600);
    QCOMPARE(maq.ciclo, 0);  // el primer ciclo llega con el primer tick
    QCOMPARE(c->txtCiclo->text(), QStringLiteral("77"));
    QCOMPARE(ventanas().size(), 1);
    compruebaBloqueo(m, true);
    tick(m);
    QCOMPARE(maq.ciclo, 1);
    QCOMPARE(c->txtCiclo->text(), QStringLiteral("1"));
    QVERIFY(c->timer(m)->isActive());
    QVERIFY(dialogos->mensajes().isEmpty());
  }

  void pasoDesdeListo_data() { porMaquina(); }
  void pasoDesdeListo() {
    QFETCH(TTipoMaquina, m);
    prepararLargo(m);
    v->seleccionarMaquina(m);
    c->actPaso->trigger();
    TMaquina& maq = c->maquina(m);
    QCOMPARE(maq.ciclo, 1);
    QCOMPARE(c->txtCiclo->text(), QStringLiteral("1"));
    QVERIFY(maq.enEjecucion);
    QVERIFY(!c->timer(m)->isActive());
    QCOMPARE(ventanas().size(), 1);
    compruebaBloqueo(m, true);
    c->actPaso->trigger();
    QCOMPARE(maq.ciclo, 2);
    // Un paso con el temporizador en marcha añade un ciclo y no lo toca.
    c->actIni->trigger();
    QCOMPARE(dialogos->de(QStringLiteral("confirmar")), QStringList(REINICIAR));
    dialogos->sinRespuesta = 0;  // sin respuesta: No
    QVERIFY(c->timer(m)->isActive());
    c->actPaso->trigger();
    QCOMPARE(maq.ciclo, 3);
    QVERIFY(c->timer(m)->isActive());
  }

  void tickHastaCompletar_data() { porMaquina(); }
  void tickHastaCompletar() {
    QFETCH(TTipoMaquina, m);
    int ultimo = 3;  // una ADDI: ciclo 6 en la superescalar, 3 en la VLIW
    if (m == VLIW) {
      prepararVLIW(1);
    } else {
      abrir(fichero(QStringLiteral("addi.pla"), UNA_ADDI));
      ultimo = 6;
    }
    TMaquina& maq = c->maquina(m);
    bool temporizadorParado = false;
    dialogos->alMostrarMensaje = [&](const QString&) { temporizadorParado = !c->timer(m)->isActive(); };
    c->actIni->trigger();
    for (int i = 1; i < ultimo; ++i) tick(m);
    QVERIFY(dialogos->mensajes().isEmpty());
    QVERIFY(c->timer(m)->isActive());
    tick(m);
    QCOMPARE(dialogos->mensajes(), QStringList(COMPLETADA));
    QVERIFY(temporizadorParado);
    QVERIFY(!maq.enEjecucion);
    QCOMPARE(c->txtCiclo->text(), QString::number(ultimo));
    QCOMPARE(ventanas().size(), 1);  // el estado final sigue a la vista
    compruebaBloqueo(m, false);

    // Un paso tras completar empieza otra ejecución desde una máquina reseteada.
    dialogos->olvidar();
    c->actPaso->trigger();
    QCOMPARE(maq.ciclo, 1);
    QVERIFY(maq.enEjecucion);
    QVERIFY(dialogos->mensajes().isEmpty());
  }

  void pasoQueCompletaParaElTemporizador() {
    prepararVLIW(1);
    c->actIni->trigger();
    c->actPaso->trigger();
    c->actPaso->trigger();
    c->actPaso->trigger();
    QCOMPARE(dialogos->mensajes(), QStringList(COMPLETADA));
    QVERIFY(!c->timSimulVLIW->isActive());
    QVERIFY(!c->vliw().enEjecucion);
    compruebaBloqueo(VLIW, false);
  }

  void breakpointYReanudacionSinPregunta() {
    prepararVLIW(6, 2);
    TMaquinaVLIW& maq = c->vliw();
    c->actIni->trigger();
    tick(VLIW);
    tick(VLIW);
    QVERIFY(dialogos->mensajes().isEmpty());
    tick(VLIW);  // la instrucción larga 2 está en el punto de emisión
    QCOMPARE(dialogos->mensajes(), QStringList(BREAKPOINT));
    QVERIFY(!c->timSimulVLIW->isActive());
    QVERIFY(maq.enEjecucion && maq.paradaBreakpoint);
    compruebaBloqueo(VLIW, true);
    // Un paso en el breakpoint no da mensaje y lo deja marcado.
    c->actPaso->trigger();
    QCOMPARE(dialogos->mensajes().size(), 1);
    QVERIFY(maq.paradaBreakpoint);
    const int ciclo = maq.ciclo;
    c->actIni->trigger();
    QVERIFY(dialogos->de(QStringLiteral("confirmar")).isEmpty());
    QVERIFY(c->timSimulVLIW->isActive());
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
    c->actIni->trigger();
    tick(VLIW);
    tick(VLIW);
    if (pausada) c->actPausa->trigger();
    QCOMPARE(c->timSimulVLIW->isActive(), !pausada);
    QMdiSubWindow* ventana = c->frmExeVLIW();
    dialogos->confirmaciones << respuesta;
    c->actIni->trigger();
    QCOMPARE(dialogos->de(QStringLiteral("confirmar")), QStringList(REINICIAR));
    QVERIFY(c->timSimulVLIW->isActive());
    QVERIFY(c->vliw().enEjecucion);
    QCOMPARE(c->vliw().ciclo, respuesta ? 0 : 2);
    QCOMPARE(c->frmExeVLIW() == ventana, !respuesta);  // Sí: ventana nueva
    QCOMPARE(ventanas().size(), 1);
  }

  void pausaYParar() {
    prepararVLIW(10);
    // Pausa y parar desde «listo»: pausa no hace nada; parar cierra y pone "0".
    c->actPausa->trigger();
    QVERIFY(ventanas().isEmpty());
    c->actIni->trigger();
    tick(VLIW);
    c->actPausa->trigger();
    QVERIFY(!c->timSimulVLIW->isActive());
    QVERIFY(c->vliw().enEjecucion);
    compruebaBloqueo(VLIW, true);
    c->actParar->trigger();
    QVERIFY(!c->vliw().enEjecucion);
    QVERIFY(!c->frmExeVLIW());
    QCOMPARE(c->txtCiclo->text(), QStringLiteral("0"));
    QCOMPARE(c->vliw().ciclo, 1);  // parar no resetea
    compruebaBloqueo(VLIW, false);

    c->actPaso->trigger();
    c->actParar->trigger();
    c->actParar->trigger();
    QVERIFY(ventanas().isEmpty());
    QVERIFY(dialogos->mensajes().isEmpty());
  }

  void ventanaCerradaSeRecreaEnElSiguienteCiclo() {
    prepararVLIW(10);
    c->actIni->trigger();
    tick(VLIW);
    c->frmExeVLIW()->close();
    destruirPendientes();
    QVERIFY(!c->frmExeVLIW());
    tick(VLIW);
    QVERIFY(c->frmExeVLIW());
    c->frmExeVLIW()->close();
    destruirPendientes();
    c->actPaso->trigger();
    QVERIFY(c->frmExeVLIW());
  }

  void ordenDeRefresco() {
    prepararVLIW(10);
    c->mnuCompMem->trigger();
    c->mnuCompFPR->trigger();
    c->mnuCompGPR->trigger();
    c->actNuevoVLIW->trigger();
    cargarVLIW(10);
    QStringList orden;
    connect(&c->ventanas(), &TGestorVentanas::vistaActualizada, this, [&](QWidget* w) { orden << w->objectName(); });
    c->actIni->trigger();
    tick(VLIW);
    QCOMPARE(orden, QStringList({"frmExeVLIW", "frmCompGPR", "frmCompFPR", "frmCompMem", "frmInstVLIW"}));
    QCOMPARE(c->frmInstVLIW()->filaActual, 1);
    orden.clear();
    c->actPaso->trigger();
    QCOMPARE(orden, QStringList({"frmExeVLIW", "frmCompGPR", "frmCompFPR", "frmCompMem", "frmInstVLIW"}));
    // La superescalar no toca el editor.
    c->actParar->trigger();
    v->seleccionarMaquina(SUPER);
    orden.clear();
    c->actPaso->trigger();
    QCOMPARE(orden, QStringList({"frmExeSuper", "frmCompGPR", "frmCompFPR", "frmCompMem"}));
  }

  // Cuando una ejecución se para en un breakpoint o termina, todas las vistas
  // (ejecución, componentes, la fila del editor, la casilla de ciclo) enseñan
  // ya el último ciclo mientras el mensaje está abierto.
  void vistasAlDiaAntesDelMensaje_data() {
    QTest::addColumn<TTipoMaquina>("m");
    QTest::addColumn<bool>("breakpoint");
    QTest::newRow("VLIW en un breakpoint") << VLIW << true;
    QTest::newRow("VLIW completada") << VLIW << false;
    QTest::newRow("superescalar completada") << SUPER << false;
  }
  void vistasAlDiaAntesDelMensaje() {
    QFETCH(TTipoMaquina, m);
    QFETCH(bool, breakpoint);
    abrir(fichero(QStringLiteral("sec.pla"), m == VLIW ? SECUENCIAL : UNA_ADDI));
    if (m == VLIW) {
      // LF F0 y dos DADDUI: el NaT de F0 cambia mientras tanto.
      dialogos->ficherosAbrir << fichero(QStringLiteral("p.vliw"), "3\n1\t2 4 0 0\n1\t0 0 0 0\n1\t0 0 0 0\n");
      c->actCargarVLIW->trigger();
      QVERIFY(c->frmInstVLIW());
      if (breakpoint) c->frmInstVLIW()->dobleClicFila(1);
    }
    c->mnuCompGPR->trigger();
    c->mnuCompFPR->trigger();
    QStringList sucesos;
    connect(&c->ventanas(), &TGestorVentanas::vistaActualizada, this,
            [&](QWidget* w) { sucesos << w->objectName(); });
    QString ciclo;
    int filaEditor = -1;
    dialogos->alMostrarMensaje = [&](const QString& texto) {
      sucesos << texto;
      ciclo = c->txtCiclo->text();
      if (c->frmInstVLIW()) filaEditor = c->frmInstVLIW()->filaActual;
    };
    c->actIni->trigger();
    for (int i = 0; i < 100 && c->timer(m)->isActive(); ++i) {
      sucesos.clear();
      tick(m);
    }
    QCOMPARE(dialogos->mensajes(), QStringList(breakpoint ? BREAKPOINT : COMPLETADA));
    QStringList vistas{m == VLIW ? "frmExeVLIW" : "frmExeSuper", "frmCompGPR", "frmCompFPR"};
    if (m == VLIW) vistas << "frmInstVLIW";
    QCOMPARE(sucesos, vistas + QStringList(dialogos->mensajes()));
    QCOMPARE(ciclo, QString::number(c->maquina(m).ciclo));
    if (m == VLIW) QCOMPARE(filaEditor, int(c->vliw().pc));
  }

  // Un fallo dentro de un tick se informa con su mensaje y deja la ejecución detenida.
  void falloEnUnTick() {
    prepararVLIW(10);
    c->actIni->trigger();
    auto conexion = connect(&c->ventanas(), &TGestorVentanas::vistaActualizada, this,
                            [](QWidget*) { throw std::runtime_error("vista rota"); });
    tick(VLIW);
    disconnect(conexion);
    QCOMPARE(dialogos->mensajes(),
             QStringList(QStringLiteral(
                 "Excepción no controlada en fichero \"Simulador/Main.cpp\", función \"TfrmPrincipal::timSimulVLIWTimer")));
    QCOMPARE(dialogos->apuntes.last().detalle, QStringLiteral("vista rota"));
    QVERIFY(!c->timSimulVLIW->isActive());
    QVERIFY(c->vliw().enEjecucion);
    compruebaBloqueo(VLIW, true);
    // Se puede reiniciar: pregunta, porque no está en un breakpoint.
    dialogos->confirmaciones << true;
    c->actIni->trigger();
    QVERIFY(c->timSimulVLIW->isActive());
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
    QVERIFY(c->vliw().cargarCodigo(
        fichero(QStringLiteral("e.vliw"), "3\n1\t1 0 0 0\n0\n1\t2 4 0 0\n").toStdString(), *v->programa()));
    v->seleccionarMaquina(VLIW);
    if (!conPaso) c->actIni->trigger();
    for (int i = 0; i < 10 && dialogos->mensajes().isEmpty(); ++i) {
      if (conPaso) c->actPaso->trigger();
      else tick(VLIW);
    }
    QCOMPARE(dialogos->mensajes().size(), 1);
    QCOMPARE(dialogos->mensajes().first(), QString::fromStdString(c->vliw().mensajeError));
    QVERIFY(dialogos->mensajes().first().contains(QStringLiteral("2000")));
    QVERIFY(!c->timSimulVLIW->isActive());
    QVERIFY(!c->vliw().enEjecucion);
    QVERIFY(c->frmExeVLIW());
    compruebaBloqueo(VLIW, false);
  }

  // ------------------------------------------------------------ guardas VLIW

  void vliwSinProgramaNoArranca() {
    abrir(fichero(QStringLiteral("sec.pla"), SECUENCIAL));
    v->seleccionarMaquina(VLIW);
    c->vliw().ciclo = 9;
    c->actIni->trigger();
    c->actPaso->trigger();
    QCOMPARE(dialogos->mensajes(), QStringList({"Debe completar el código VLIW antes de ejecutar",
                                                "Debe completar el código VLIW antes de ejecutar"}));
    QCOMPARE(c->vliw().ciclo, 9);
    QVERIFY(!c->vliw().enEjecucion && !c->timSimulVLIW->isActive());
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
    c->ventanas().abrirEditorVLIW(*v->programa());
    c->frmInstVLIW()->borrarCelda(0, 0);  // hay ediciones sin aceptar
    dialogos->respuestasGuardarCambio << respuesta;
    c->actIni->trigger();
    QCOMPARE(dialogos->de(QStringLiteral("guardarCambio")).size(), 1);
    QVERIFY(!c->frmInstVLIW()->cambiosPendientes());
    QVERIFY(!c->vliw().enEjecucion && !c->timSimulVLIW->isActive());
    QCOMPARE(c->vliw().ciclo, 0);
    // La orden se da otra vez y ahora sí arranca.
    c->actPaso->trigger();
    QCOMPARE(c->vliw().ciclo, 1);
    QVERIFY(c->frmInstVLIW()->edicionBloqueada());
  }

  void vliwConUnidadesQueNoExisten() {
    prepararVLIW(3);
    c->vliw().numUF[0] = 1;
    c->vliw().reset(false);
    // Ahora una operación pide la unidad 1 de +Entera, que ya no existe.
    c->vliw().codigo.instruccion(0)->operaciones[0]->numUnidad = 1;
    c->vliw().ciclo = 4;
    c->actPaso->trigger();
    c->actIni->trigger();
    QCOMPARE(dialogos->mensajes(),
             QStringList({"La configuración actual de la máquina no permite ejecutar ese código",
                          "La configuración actual de la máquina no permite ejecutar ese código"}));
    QCOMPARE(c->vliw().ciclo, 4);  // sin reset
    QVERIFY(!c->vliw().enEjecucion);
  }

  // ------------------------------------------------------------ bloqueos por máquina

  void bloqueosSiguenACadaMaquina() {
    prepararVLIW(20);
    v->seleccionarMaquina(SUPER);
    c->actIni->trigger();  // superescalar en marcha
    QVERIFY(c->super().enEjecucion);
    // Las órdenes de programa VLIW siguen disponibles y seleccionan la VLIW.
    QVERIFY(c->actNuevoVLIW->isEnabled());
    c->actNuevoVLIW->trigger();
    QCOMPARE(int(v->maquinaActual()), int(VLIW));
    QVERIFY(c->timSimulSuper->isActive());
    cargarVLIW(20);  // «nuevo» lo vació
    QCOMPARE(int(v->maquinaActual()), int(VLIW));
    c->actIni->trigger();  // las dos en marcha
    QVERIFY(c->vliw().enEjecucion);
    QVERIFY(c->frmInstVLIW()->edicionBloqueada());
    // «Parar» termina primero la seleccionada: lo de la superescalar y lo
    // compartido siguen bloqueados.
    c->actParar->trigger();
    QVERIFY(!c->vliw().enEjecucion && c->super().enEjecucion);
    QVERIFY(c->actConfVLIW->isEnabled() && c->mnuInstVLIW->isEnabled());
    QVERIFY(!c->frmInstVLIW()->edicionBloqueada());
    QVERIFY(!c->actConfSuper->isEnabled());
    QVERIFY(!c->actAbrir->isEnabled() && !c->cboMaquina->isEnabled());
    // Otra vez: llega a la superescalar, la única que ejecuta.
    c->actParar->trigger();
    QVERIFY(!c->super().enEjecucion);
    QVERIFY(c->actAbrir->isEnabled() && c->cboMaquina->isEnabled() && c->actConfSuper->isEnabled());
  }

  // La barra de estado enseña siempre la máquina seleccionada, su ciclo y cómo
  // está su ejecución, también con la barra «Ejecución» oculta.
  void barraDeEstadoConLaMaquinaSuCicloYSuEstado() {
    QLabel* estado = c->hijo<QLabel>("labEstado");
    QCOMPARE(estado->text(), QStringLiteral("Máquina superescalar, ciclo 0: sin programa"));
    prepararVLIW(6, 3);
    QCOMPARE(estado->text(), QStringLiteral("Máquina VLIW, ciclo 0: lista"));
    c->opcionBarEjecucion->trigger();
    QVERIFY(!c->tobEjecucion->isVisible());
    c->actIni->trigger();
    QCOMPARE(estado->text(), QStringLiteral("Máquina VLIW, ciclo 0: en marcha"));
    tick(VLIW);
    QCOMPARE(estado->text(), QStringLiteral("Máquina VLIW, ciclo 1: en marcha"));
    c->actPausa->trigger();
    QCOMPARE(estado->text(), QStringLiteral("Máquina VLIW, ciclo 1: detenida"));
    dialogos->confirmaciones << false;  // la pregunta de reiniciar: No, sigue
    c->actIni->trigger();
    QCOMPARE(estado->text(), QStringLiteral("Máquina VLIW, ciclo 1: en marcha"));
    for (int i = 0; i < 20 && c->timSimulVLIW->isActive(); ++i) tick(VLIW);
    QCOMPARE(dialogos->mensajes(), QStringList(BREAKPOINT));
    QCOMPARE(estado->text(), QStringLiteral("Máquina VLIW, ciclo %1: en breakpoint").arg(c->vliw().ciclo));
    c->actIni->trigger();  // reanuda sin preguntar
    QCOMPARE(estado->text(), QStringLiteral("Máquina VLIW, ciclo %1: en marcha").arg(c->vliw().ciclo));
    // Un fallo dentro de un tic la deja detenida.
    auto conexion = connect(&c->ventanas(), &TGestorVentanas::vistaActualizada, this,
                            [](QWidget*) { throw std::runtime_error("vista rota"); });
    tick(VLIW);
    disconnect(conexion);
    QVERIFY(!c->timSimulVLIW->isActive());
    // El ciclo, el último que llegó a enseñarse.
    QCOMPARE(estado->text(), QStringLiteral("Máquina VLIW, ciclo %1: detenida").arg(c->txtCiclo->text()));
    c->actParar->trigger();
    QCOMPARE(estado->text(), QStringLiteral("Máquina VLIW, ciclo 0: lista"));
    c->actSelSuper->trigger();
    QCOMPARE(estado->text(), QStringLiteral("Máquina superescalar, ciclo 0: lista"));
  }

  // Una orden VLIW selecciona la VLIW con la superescalar en marcha, y la
  // selección queda bloqueada: pausa y parar (menú, barra y teclas) siguen
  // llegando a la superescalar, y la casilla de ciclo enseña el de la VLIW.
  void pausaYPararLleganALaMaquinaQueEjecuta() {
    prepararLargo(SUPER);
    v->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(v.get()));
    c->actIni->trigger();
    for (int i = 0; i < 3; ++i) tick(SUPER);
    QCOMPARE(c->txtCiclo->text(), QStringLiteral("3"));
    c->actNuevoVLIW->trigger();
    QCOMPARE(int(v->maquinaActual()), int(VLIW));
    QVERIFY(!c->cboMaquina->isEnabled() && !c->actSelSuper->isEnabled());
    QCOMPARE(c->txtCiclo->text(), QStringLiteral("0"));
    tick(SUPER);
    QCOMPARE(c->txtCiclo->text(), QStringLiteral("0"));
    QCOMPARE(c->super().ciclo, 4);

    QTest::keyClick(v.get(), Qt::Key_F7);
    QVERIFY(!c->timSimulSuper->isActive());
    QVERIFY(c->super().enEjecucion);
    c->actIni->trigger();  // la VLIW, sin programa: solo su aviso
    QVERIFY(!c->timSimulSuper->isActive());
    c->actParar->trigger();
    QVERIFY(!c->super().enEjecucion);
    QVERIFY(!c->frmExeSuper());
    QVERIFY(c->cboMaquina->isEnabled() && c->actSelSuper->isEnabled() && c->actAbrir->isEnabled());
    QCOMPARE(c->super().ciclo, 4);  // parar no resetea

    // Cada máquina conserva lo que enseña: la VLIW su último ciclo, la
    // superescalar "0" tras parar.
    cargarVLIW(1);
    while (c->vliw().enEjecucion || c->vliw().ciclo == 0) c->actPaso->trigger();
    const QString final = QString::number(c->vliw().ciclo);
    QCOMPARE(c->txtCiclo->text(), final);
    c->actSelSuper->trigger();
    QCOMPARE(c->txtCiclo->text(), QStringLiteral("0"));
    c->actSelVLIW->trigger();
    QCOMPARE(c->txtCiclo->text(), final);
    QCOMPARE(dialogos->mensajes(), QStringList({QStringLiteral("Debe completar el código VLIW antes de ejecutar"),
                                                QStringLiteral("Ejecución completada")}));
  }

  void configuracionSeCierraAlBloquear_data() { porMaquina(); }
  void configuracionSeCierraAlBloquear() {
    QFETCH(TTipoMaquina, m);
    prepararLargo(m);
    v->seleccionarMaquina(m);
    c->actConfSuper->trigger();
    c->actConfVLIW->trigger();
    c->actConfSuper->trigger();  // ya abierta: no se duplica
    QCOMPARE(ventanas().size(), 2);
    c->actIni->trigger();
    QCOMPARE(!c->frmConfSuper(), m == SUPER);
    QCOMPARE(!c->frmConfVLIW(), m == VLIW);
  }

  // ------------------------------------------------------------ selección de máquina

  void seleccionarMaquina() {
    prepararVLIW(5);
    v->seleccionarMaquina(SUPER);
    c->actPaso->trigger();
    c->mnuCompGPR->trigger();
    c->mnuCompMem->trigger();
    QPointer<TfrmComponente> gpr = c->frmCompGPR();
    QCOMPARE(&gpr->maquina, static_cast<TMaquina*>(&c->super()));
    QVERIFY(c->frmExeSuper());
    c->manejar("actPararExecute");
    // Elegir la misma máquina no hace nada.
    emit c->cboMaquina->activated(0);
    QCOMPARE(c->frmCompGPR(), gpr.data());
    emit c->cboMaquina->activated(1);
    QCOMPARE(int(v->maquinaActual()), int(VLIW));
    QVERIFY(c->actSelVLIW->isChecked());
    QCOMPARE(c->cboMaquina->currentIndex(), 1);
    QVERIFY(!c->frmExeSuper());
    QVERIFY(gpr.isNull());
    QVERIFY(c->frmCompGPR() && c->frmCompMem() && !c->frmCompFPR());
    QCOMPARE(&c->frmCompGPR()->maquina, static_cast<TMaquina*>(&c->vliw()));
    QCOMPARE(&c->frmCompMem()->maquina, static_cast<TMaquina*>(&c->vliw()));
    QVERIFY(c->frmCompGPR()->isVisible());
    // Un cambio de índice por programa no selecciona nada.
    c->cboMaquina->setCurrentIndex(0);
    QCOMPARE(int(v->maquinaActual()), int(VLIW));
    c->cboMaquina->setCurrentIndex(1);
    // La combinación de componentes abre la ventana de su entrada.
    emit c->cboComponentes->activated(2);
    QVERIFY(c->frmCompFPR());
    QCOMPARE(c->frmCompFPR()->tipo, int(TfrmComponente::FPR));
    c->actSelSuper->trigger();
    QCOMPARE(int(v->maquinaActual()), int(SUPER));
    QCOMPARE(c->cboMaquina->currentIndex(), 0);
    QCOMPARE(ventanas().size(), 3);
  }

  // ------------------------------------------------------------ velocidad, % de fallos, opciones

  void velocidadFijaElIntervalo() {
    prepararVLIW(20);
    c->spiVelocidad->setValue(10);
    c->actIni->trigger();
    QCOMPARE(c->timSimulVLIW->interval(), 100);
    c->spiVelocidad->setValue(1);
    QCOMPARE(c->timSimulVLIW->interval(), 100);  // hasta el siguiente tick
    tick(VLIW);
    QCOMPARE(c->timSimulVLIW->interval(), 1000);
    QCOMPARE(TControladorMaquina::intervaloDeVelocidad(5), 600);
  }

  void porcentajeDeFallos() {
    c->super().memoria.porcentajeFallos = 12;
    dialogos->cantidades << std::nullopt;
    c->actFalloCache->trigger();
    QCOMPARE(dialogos->preguntasCantidad.size(), 1);
    const TPreguntaCantidad p = dialogos->preguntasCantidad.first();
    QCOMPARE(p.titulo, QStringLiteral("% Fallos caché"));
    QCOMPARE(p.texto, QStringLiteral("% Fallos"));
    QCOMPARE(p.valor, 12);
    QCOMPARE(p.minimo, 0);
    QCOMPARE(p.maximo, 100);
    QCOMPARE(c->super().memoria.porcentajeFallos, 12);
    QCOMPARE(c->vliw().memoria.porcentajeFallos, 0);
    dialogos->cantidades << 30;
    c->actFalloCache->trigger();
    QCOMPARE(c->super().memoria.porcentajeFallos, 30);
    QCOMPARE(c->vliw().memoria.porcentajeFallos, 30);
  }

  void opcionResetearAlIniciar() {
    prepararVLIW(2);
    c->vliw().gpr.valor[7] = 7;
    c->actPaso->trigger();
    QCOMPARE(c->vliw().gpr.valor[7], 7);
    c->actParar->trigger();
    c->opcReset->trigger();
    QVERIFY(c->controlador(VLIW).limpiarAlIniciar());
    c->actPaso->trigger();
    QCOMPARE(c->vliw().gpr.valor[7], 0);
    c->opcChkCodigoVLIW->trigger();
    QVERIFY(!v->documentoVLIW().chequear());
  }

  // ------------------------------------------------------------ rejilla y panel

  void dobleClicPoneYQuitaBreakpoints() {
    abrir(fichero(QStringLiteral("sec.pla"), SECUENCIAL));
    TRejillaCodigo* r = c->grdInstrucciones;
    const QPoint celda = r->visualRect(r->model()->index(1, 3)).center();
    QTest::mouseDClick(r->viewport(), Qt::LeftButton, {}, celda);
    QVERIFY(v->programa()->instrucciones[1].breakpoint);
    QCOMPARE(r->fondoCelda(1, 0), QColor(255, 0, 0));
    // También durante una ejecución.
    c->actIni->trigger();
    QTest::mouseDClick(r->viewport(), Qt::LeftButton, {}, celda);
    QVERIFY(!v->programa()->instrucciones[1].breakpoint);
    QCOMPARE(r->fondoCelda(1, 0), r->palette().color(QPalette::Button));
    // La cabecera no es una instrucción.
    QTest::mouseDClick(r->horizontalHeader()->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
    for (const TInstruccion& i : v->programa()->instrucciones) QVERIFY(!i.breakpoint);
  }

  void panelYBloquesBasicos() {
    abrir(fichero(QStringLiteral("sec.pla"), SECUENCIAL));
    QTest::mouseDClick(c->panTitulo, Qt::LeftButton);
    QVERIFY(!c->panCodigo->isVisible());
    QVERIFY(!c->actVerCodigo->isChecked());
    c->actVerCodigo->trigger();
    QVERIFY(c->panCodigo->isVisible() && c->actVerCodigo->isChecked());
    c->actVerBB->trigger();
    QVERIFY(c->grdInstrucciones->bloquesBasicos() && c->actVerBB->isChecked());
    c->actVerBB->trigger();
    QVERIFY(!c->grdInstrucciones->bloquesBasicos());
    c->opcionBarEstandar->trigger();
    QVERIFY(!c->tobEstandar->isVisible());
    c->opcionBarEstandar->trigger();
    QVERIFY(c->tobEstandar->isVisible());
  }

  // ------------------------------------------------------------ ventanas

  void mosaicoYRestaurarTodo() {
    prepararVLIW(2);
    c->mnuCompGPR->trigger();
    c->mnuCompFPR->trigger();
    c->mnuCompMem->trigger();
    c->actMosaico->trigger();
    const QRect area = c->mdiArea->viewport()->rect();
    int y = 0;
    for (QMdiSubWindow* w : ventanas()) {
      QCOMPARE(w->geometry().width(), area.width());
      QCOMPARE(w->geometry().top(), y);
      y += area.height() / 3;
    }
    c->actCascada->trigger();
    c->frmCompGPR()->showMinimized();
    c->frmCompMem()->showMinimized();
    c->frmCompGPR()->move(300, 10);
    c->opcRestaurarTodo->trigger();
    QCOMPARE(c->frmCompGPR()->geometry().bottom(), area.bottom());
    QCOMPARE(c->frmCompMem()->geometry().bottom(), area.bottom());
    QCOMPARE(c->frmCompGPR()->geometry().left(), 0);
    QVERIFY(c->frmCompMem()->geometry().left() >= c->frmCompGPR()->geometry().right());
  }

  // Cada ventana del área aparece al final de «Ve&ntana», la activa marcada;
  // elegirla la trae delante aunque la de ejecución esté maximizada o ella
  // minimizada.
  void listaDeVentanasEnElMenuVentana() {
    QMenu* menu = c->hijo<QMenu>("mnuVentana");
    auto entradas = [&] {
      emit menu->aboutToShow();
      QList<QAction*> lista;
      for (QAction* a : menu->actions())
        if (a->property("ventana").isValid()) lista << a;
      return lista;
    };
    QVERIFY(entradas().isEmpty());
    prepararVLIW(5);
    c->actNuevoVLIW->trigger();
    c->actSelSuper->trigger();
    c->mnuCompGPR->trigger();
    c->actIni->trigger();
    QVERIFY(c->frmExeSuper()->isMaximized());
    QList<QAction*> lista = entradas();
    QStringList textos;
    for (QAction* a : lista) textos << a->text();
    QCOMPARE(textos, QStringList({"&1 Instrucciones VLIW", "&2 Componente: Registros de Propósito General",
                                  "&3 Ejecución Superescalar"}));
    QVERIFY(!lista[0]->isChecked() && lista[2]->isChecked());
    QCOMPARE(menu->actions().at(menu->actions().indexOf(lista[0]) - 1)->isSeparator(), true);
    lista[0]->trigger();
    QCOMPARE(c->mdiArea->activeSubWindow(), static_cast<QMdiSubWindow*>(c->frmInstVLIW()));
    c->frmCompGPR()->showMinimized();
    entradas()[1]->trigger();
    QVERIFY(!c->frmCompGPR()->isMinimized());
    QCOMPARE(c->mdiArea->activeSubWindow(), static_cast<QMdiSubWindow*>(c->frmCompGPR()));
    // La lista se rehace: sin las que se cerraron.
    c->actParar->trigger();
    QCOMPARE(entradas().size(), 2);
  }

  // A 1024 × 768, con tres unidades de memoria: el editor abierto por
  // «Cargar Programa VLIW...» queda entero dentro del área visible, «Cascada»
  // no lo aprieta por debajo de su tamaño, y lo que se sale se alcanza
  // desplazando el área.
  void ventanasAlAlcanceEnUnaPantallaPequena() {
    v->resize(1024, 768);
    abrir(fichero(QStringLiteral("sec.pla"), SECUENCIAL));
    QCoreApplication::processEvents();  // el panel del código toma su ancho
    c->actConfVLIW->trigger();
    c->frmConfVLIW()->spiUF[tufMemoria]->setValue(3);
    c->frmConfVLIW()->butAceptar->click();
    destruirPendientes();
    dialogos->ficherosAbrir << fichero(QStringLiteral("mem2.vliw"), "1\n1\t2 4 2 0\n");
    c->mnuCompGPR->trigger();
    c->mnuCompMem->trigger();
    c->actCargarVLIW->trigger();
    TfrmInstVLIW* e = c->frmInstVLIW();
    QVERIFY(e);
    QCoreApplication::processEvents();
    const QRect visible = c->mdiArea->viewport()->rect();
    QVERIFY2(visible.contains(e->geometry()), qPrintable(QStringLiteral("%1,%2 %3x%4 en %5x%6")
                                                             .arg(e->x()).arg(e->y()).arg(e->width())
                                                             .arg(e->height()).arg(visible.width())
                                                             .arg(visible.height())));
    const QSize tamano = e->size();

    c->mdiArea->setActiveSubWindow(e);  // delante: último en la cascada
    c->actCascada->trigger();
    QCoreApplication::processEvents();
    QCOMPARE(e->size(), tamano);
    for (QMdiSubWindow* w : ventanas()) {
      QVERIFY(w->x() >= 0 && w->y() >= 0);
      QVERIFY2(w->width() >= w->minimumSizeHint().width() && w->height() >= w->minimumSizeHint().height(),
               qPrintable(w->objectName()));
    }
    // Lo que queda fuera del área se alcanza desplazándola.
    QScrollBar* horizontal = c->mdiArea->horizontalScrollBar();
    QScrollBar* vertical = c->mdiArea->verticalScrollBar();
    QVERIFY(horizontal->maximum() > 0);  // el editor, el último de la cascada, se sale por la derecha
    horizontal->setValue(horizontal->maximum());
    vertical->setValue(vertical->maximum());
    QCoreApplication::processEvents();
    const QRect guardar(e->butGuardar->mapTo(c->mdiArea->viewport(), QPoint(0, 0)), e->butGuardar->size());
    QVERIFY(c->mdiArea->viewport()->rect().contains(guardar));

    // «Mosaico» tampoco deja una ventana por debajo de su mínimo.
    c->actMosaico->trigger();
    for (QMdiSubWindow* w : ventanas())
      QVERIFY2(w->height() >= w->minimumSizeHint().height(), qPrintable(w->objectName()));
  }

  // Los diálogos propios de Qt hablan español, como las preguntas: el «OK» de
  // cada mensaje, los de ficheros y el selector de color.
  void dialogosDeQtEnEspanol() {
    QMessageBox caja(QMessageBox::Information, QStringLiteral("Orvex"), QStringLiteral("x"),
                     QMessageBox::Ok | QMessageBox::Cancel);
    QCOMPARE(caja.button(QMessageBox::Ok)->text(), QStringLiteral("Aceptar"));
    QCOMPARE(caja.button(QMessageBox::Cancel)->text(), QStringLiteral("Cancelar"));
    auto textos = [](const QWidget& w) {
      QStringList t;
      for (const QLabel* l : w.findChildren<QLabel*>()) t << l->text();
      for (const QAbstractButton* b : w.findChildren<QAbstractButton*>()) t << b->text();
      return t;
    };
    QFileDialog ficheros(nullptr, QStringLiteral("Abrir"));
    ficheros.setOption(QFileDialog::DontUseNativeDialog);
    const QStringList deFicheros = textos(ficheros);
    for (const char* t : {"Ver en:", "&Nombre de fichero:", "&Abrir", "Cancelar"})
      QVERIFY2(deFicheros.contains(QString::fromUtf8(t)), t);
    QColorDialog color;
    color.setOption(QColorDialog::DontUseNativeDialog);
    const QStringList deColor = textos(color);
    for (const char* t : {"Colores &básicos", "Tomar un color de la &pantalla", "Aceptar"})
      QVERIFY2(deColor.contains(QString::fromUtf8(t)), t);
  }

  // ------------------------------------------------------------ ayuda y «Acerca de»

  void ayuda() {
    v->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(v.get()));
    const QString antes = QDir::currentPath();
    QVERIFY(QDir::setCurrent(QStringLiteral(ORVEX_DIR_FUENTES)));
    c->actContenidoAyuda->trigger();
    QVERIFY(c->frmAyuda());
    QCOMPARE(c->frmAyuda()->temaActual(), 0);
    c->actBuscarAyuda->trigger();
    QCOMPARE(c->frmAyuda()->tabs->currentIndex(), 1);
    QCOMPARE(c->frmAyuda()->lstIndice->count(), c->frmAyuda()->fichero().entradasIndice().size());
    c->actComoAyuda->trigger();
    QCOMPARE(c->frmAyuda()->temaActual(), int(TfrmAyuda::TEMA_COMO_USAR));
    // El tema de lo que está delante.
    prepararVLIW(2);
    c->actPaso->trigger();
    c->mdiArea->setActiveSubWindow(c->frmExeVLIW());
    c->frmExeVLIW()->widget()->setFocus();
    QCOMPARE(c->ayuda().temaActivo(), 16);
    c->actTemaAyuda->trigger();
    QCOMPARE(c->frmAyuda()->temaActual(), 16);
    c->grdInstrucciones->setFocus();
    QCOMPARE(c->ayuda().temaActivo(), 11);
    // Con un menú desplegado, Mayúsculas+F1 abre el tema del menú y lo cierra.
    c->mnuEjecutar->popup(v->mapToGlobal(QPoint(10, 10)));
    QVERIFY(QTest::qWaitForWindowExposed(c->mnuEjecutar));
    QTest::keyClick(c->mnuEjecutar, Qt::Key_F1, Qt::ShiftModifier);
    QCOMPARE(c->frmAyuda()->temaActual(), 6);
    QVERIFY(!c->mnuEjecutar->isVisible());
    QVERIFY(QDir::setCurrent(antes));
    QVERIFY(dialogos->mensajes().isEmpty());
  }

  void ayudaQueNoSeEncuentra() {
    const QString antes = QDir::currentPath();
    QVERIFY(QDir::setCurrent(dir.path()));
    c->actContenidoAyuda->trigger();
    QVERIFY(QDir::setCurrent(antes));
    if (QFileInfo::exists(TFicheroAyuda::rutasCandidatas().last())) QSKIP("hay una ayuda instalada");
    QVERIFY(!c->frmAyuda());
    QCOMPARE(dialogos->mensajes(), QStringList(QStringLiteral("No se encuentra el fichero de ayuda Ayuda/ORVEX.HLP")));
  }

  void acercaDe() {
    dialogos->respuestasModal << 1;
    c->opcAcerca->trigger();
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
