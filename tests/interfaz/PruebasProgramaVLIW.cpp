// Las órdenes de programa VLIW de la ventana principal, las preguntas por los
// cambios, la configuración VLIW con el editor abierto y el camino completo de
// un alumno: del ejemplo al resultado en la ventana de registros.

#include <QAbstractItemView>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTableWidget>
#include <QTimer>
#include <QtTest>
#include <csignal>
#include <memory>

#include <sys/resource.h>

#include "AyudaPrincipal.h"
#include "Simulador/aplicacion/TAplicacion.h"
#include "Simulador/comunes/TSpinNumero.h"
#include "Simulador/vliw/TModeloInstVLIW.h"
#include "Simulador/vliw/TdlgSaltoVLIW.h"
#include "TServicioDialogosGuion.h"
#include "loader/TCodigo.h"
#include "vliw/TMaquinaVLIW.h"

namespace {

const QString DATOS = QStringLiteral(ORVEX_DIR_FUENTES "/tests/datos/");
const QString EJEMPLOS = QStringLiteral(ORVEX_DIR_EJEMPLOS "/");

const QString GUARDAR_VLIW =
    QStringLiteral("El programa VLIW ha cambiado desde la última vez que se guardó o se cargó. ¿Desea guardarlo?");
const QString CONFIGURACION = QStringLiteral("La configuración actual de la máquina no permite ejecutar ese código");

// Columnas del editor con la configuración por defecto.
enum { SUMA_ENT0 = 0, SUMA_ENT1 = 1, MEM0 = 8, SALTO0 = 10 };

// Líneas de texto que enseña una ventana: etiquetas y filas de sus rejillas.
QStringList textosDe(const QWidget* w) {
  QStringList lineas;
  for (const QLabel* l : w->findChildren<QLabel*>()) lineas << l->text().split(QLatin1Char('\n'));
  for (const QAbstractItemView* v : w->findChildren<QAbstractItemView*>()) {
    const QAbstractItemModel* m = v->model();
    if (!m) continue;
    for (int f = 0; f < m->rowCount(); ++f) {
      QStringList fila{m->headerData(f, Qt::Vertical).toString()};
      for (int c = 0; c < m->columnCount(); ++c) fila << m->index(f, c).data().toString();
      lineas << fila.join(QLatin1Char(' '));
    }
  }
  return lineas;
}

// Mientras vive, ningún fichero del proceso puede pasar de «bytes»: una
// escritura más allá falla (EFBIG) como con un disco lleno.
class TLimiteFicheros {
public:
  explicit TLimiteFicheros(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &anterior);
    senal = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limite = anterior;
    limite.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limite);
  }
  ~TLimiteFicheros() {
    setrlimit(RLIMIT_FSIZE, &anterior);
    std::signal(SIGXFSZ, senal);
  }
  TLimiteFicheros(const TLimiteFicheros&) = delete;
  TLimiteFicheros& operator=(const TLimiteFicheros&) = delete;

private:
  rlimit anterior{};
  void (*senal)(int) = SIG_DFL;
};

}  // namespace

Q_DECLARE_METATYPE(TRespuestaCambios)

class PruebasProgramaVLIW : public QObject {
  Q_OBJECT

  QTemporaryDir dir;
  std::unique_ptr<TServicioDialogosGuion> dialogos;
  std::unique_ptr<TfrmPrincipal> v;
  std::unique_ptr<TPrincipalEnPrueba> c;

  void abrir(const QString& ruta) {
    dialogos->ficherosAbrir << ruta;
    c->actAbrir->trigger();
    QVERIFY(v->programa());
  }

  void cargar(const QString& ruta) {
    dialogos->ficherosAbrir << ruta;
    c->actCargarVLIW->trigger();
  }

  TfrmInstVLIW& editor() const { return *c->frmInstVLIW(); }
  TModeloInstVLIW& rejilla() const { return *c->frmInstVLIW()->modelo; }

  // Un programa VLIW aceptado en el editor: distinto del último guardado o cargado.
  void aceptarUnPrograma() {
    abrir(DATOS + QStringLiteral("una_suma.pla"));
    c->actNuevoVLIW->trigger();
    editor().soltarInstruccion(0, 0, SUMA_ENT0);
    editor().aplicarCambios();
    QCOMPARE(c->vliw().codigo.numInstrucciones, 1);
    QVERIFY(v->documentoVLIW().sinGuardar());
  }

  QByteArray leer(const QString& ruta) {
    QFile f(ruta);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }

  // Ticks hasta que la máquina VLIW termina (o un límite).
  void ejecutarHastaCompletar() {
    c->actIni->trigger();
    for (int i = 0; i < 1000 && c->timSimulVLIW->isActive(); ++i) c->tic(VLIW);
    QVERIFY(!c->timSimulVLIW->isActive());
    QCOMPARE(dialogos->mensajes().last(), QStringLiteral("Ejecución completada"));
  }

private slots:
  void init() {
    dialogos = std::make_unique<TServicioDialogosGuion>();
    qobject_cast<TAplicacion*>(QCoreApplication::instance())->setServicioDialogos(dialogos.get());
    v = std::make_unique<TfrmPrincipal>(*dialogos);
    c = std::make_unique<TPrincipalEnPrueba>(*v);
    v->resize(1100, 700);
    v->show();
  }

  void cleanup() {
    QCOMPARE(dialogos->sinRespuesta, 0);
    c.reset();
    v.reset();
    qobject_cast<TAplicacion*>(QCoreApplication::instance())->setServicioDialogos(nullptr);
    dialogos.reset();
  }

  // ------------------------------------------------------------ órdenes

  void dialogoDeSaltosCreadoOcultoAlArrancar() {
    QVERIFY(c->dlgSaltoVLIW);
    QCOMPARE(c->dlgSaltoVLIW->parent(), v.get());
    QVERIFY(!c->dlgSaltoVLIW->isVisible());
  }

  void nuevoVaciaElProgramaYAbreElEditor() {
    abrir(DATOS + QStringLiteral("una_suma.pla"));
    QVERIFY(c->vliw().cargarCodigo((DATOS + QStringLiteral("una_suma.vliw")).toStdString(), *v->programa()));
    c->actNuevoVLIW->trigger();
    QCOMPARE(c->vliw().codigo.numInstrucciones, 0);
    QVERIFY(c->frmInstVLIW());
    QCOMPARE(rejilla().numFilas(), 7);
    QCOMPARE(int(v->maquinaActual()), int(VLIW));
    QVERIFY(dialogos->apuntes.size() == 1 && dialogos->apuntes.first().tipo == QStringLiteral("abrir"));
  }

  void cargarCanceladoNoHaceNada() {
    abrir(DATOS + QStringLiteral("una_suma.pla"));
    dialogos->ficherosAbrir << QString();
    c->actCargarVLIW->trigger();
    QCOMPARE(dialogos->apuntes.last().texto, QStringLiteral("Programa VLIW|*.vliw"));
    QVERIFY(!c->frmInstVLIW());
    QCOMPARE(int(v->maquinaActual()), int(SUPER));
  }

  void cargarUnFicheroErroneo() {
    abrir(DATOS + QStringLiteral("una_suma.pla"));
    c->manejar("actNuevoVLIWExecute");  // con el editor abierto
    QVERIFY(c->vliw().cargarCodigo((DATOS + QStringLiteral("una_suma.vliw")).toStdString(), *v->programa()));
    cargar(DATOS + QStringLiteral("tipo_erroneo.vliw"));
    QCOMPARE(dialogos->mensajes(), QStringList(QStringLiteral("Error al cargar el código VLIW")));
    // Debajo, la línea y lo que estaba mal, como con los programas fuente.
    QCOMPARE(dialogos->apuntes.last().detalle,
             QStringLiteral("línea 2: la instrucción 0 (ADDI R1 R2 R3) va en una unidad +Entera, no xFlotante"));
    QCOMPARE(c->vliw().codigo.numInstrucciones, 0);
    QCOMPARE(rejilla().numFilas(), 7);  // el editor enseña el programa, ya vacío
    c->actIni->trigger();
    QCOMPARE(dialogos->mensajes().last(), QStringLiteral("Debe completar el código VLIW antes de ejecutar"));
  }

  void cargarUnProgramaParaMasUnidades() {
    abrir(DATOS + QStringLiteral("una_suma.pla"));
    cargar(DATOS + QStringLiteral("unidad_5.vliw"));
    QCOMPARE(dialogos->mensajes(), QStringList(CONFIGURACION));
    QCOMPARE(dialogos->apuntes.last().detalle, QStringLiteral("línea 2: unidad +Entera 5 fuera de la configuración"));
    QCOMPARE(c->vliw().codigo.numInstrucciones, 0);
    QVERIFY(!c->frmInstVLIW());
  }

  void cargarAvisaUnaVezYConservaElPrograma_data() {
    QTest::addColumn<bool>("chequear");
    QTest::newRow("con comprobación") << true;
    QTest::newRow("sin comprobación") << false;
  }
  void cargarAvisaUnaVezYConservaElPrograma() {
    QFETCH(bool, chequear);
    abrir(DATOS + QStringLiteral("dependencia.pla"));
    c->opcChkCodigoVLIW->setChecked(chequear);
    cargar(DATOS + QStringLiteral("dependencia.vliw"));
    QCOMPARE(dialogos->mensajes(),
             chequear ? QStringList(QStringLiteral("Dependencia verdadera en la operación 1 de la instrucción larga 0"))
                      : QStringList());
    QCOMPARE(c->vliw().codigo.numInstrucciones, 1);
    QVERIFY(c->frmInstVLIW());
    QCOMPARE(rejilla().numFilas(), 1);
    QCOMPARE(rejilla().index(0, SUMA_ENT1).data().toString(), QStringLiteral("1"));
    QCOMPARE(int(v->maquinaActual()), int(VLIW));
    QVERIFY(!v->documentoVLIW().sinGuardar());
  }

  // Una comprobación sin problemas también se dice, en la barra de estado (tras
  // «Aceptar» y tras cargar); con un problema o sin comprobar, nada.
  void comprobacionLimpiaEnLaBarraDeEstado() {
    const QString correcto = QStringLiteral("Código VLIW correcto: sin problemas de planificación");
    QStatusBar* barra = v->statusBar();
    aceptarUnPrograma();
    QCOMPARE(barra->currentMessage(), correcto);
    barra->clearMessage();
    editor().soltarInstruccion(0, 0, SUMA_ENT1);
    editor().butAceptar->click();  // la misma suma dos veces en una instrucción larga: sin dependencia
    QCOMPARE(barra->currentMessage(), correcto);
    barra->clearMessage();
    c->opcChkCodigoVLIW->setChecked(false);
    editor().soltarInstruccion(0, 0, SUMA_ENT0);
    editor().butAceptar->click();
    QVERIFY(barra->currentMessage().isEmpty());
    c->opcChkCodigoVLIW->setChecked(true);

    dialogos->respuestasCambios << TRespuestaCambios::descartar;
    abrir(DATOS + QStringLiteral("dependencia.pla"));
    cargar(DATOS + QStringLiteral("dependencia.vliw"));
    QVERIFY(barra->currentMessage().isEmpty());
    cargar(DATOS + QStringLiteral("una_suma.vliw"));
    QCOMPARE(barra->currentMessage(), correcto);
  }

  void elEditorNuncaMuestraUnProgramaQueNoCabe() {
    abrir(DATOS + QStringLiteral("dependencia.pla"));
    cargar(DATOS + QStringLiteral("dependencia.vliw"));  // usa +Entera 1
    QVERIFY(c->frmInstVLIW());
    c->ventanas().cerrarEditorVLIW();
    dialogos->olvidar();
    c->vliw().numUF[tufSumaEntera] = 1;
    c->vliw().reset(false);
    QVERIFY(!c->ventanas().abrirEditorVLIW(*v->programa()));
    QCOMPARE(dialogos->mensajes(), QStringList(CONFIGURACION));
    QVERIFY(!c->frmInstVLIW());
    QCOMPARE(c->vliw().codigo.numInstrucciones, 1);
    // Con la configuración de antes vuelve a verse.
    c->vliw().numUF[tufSumaEntera] = 2;
    c->vliw().reset(false);
    QVERIFY(c->ventanas().abrirEditorVLIW(*v->programa()));
    QCOMPARE(rejilla().index(0, SUMA_ENT1).data().toString(), QStringLiteral("1"));
  }

  void bloquesBasicosLlegaAlEditor() {
    abrir(DATOS + QStringLiteral("una_suma.pla"));
    c->actNuevoVLIW->trigger();
    editor().soltarInstruccion(0, 0, SUMA_ENT0);
    const QColor antes = editor().fondoCelda(0, SUMA_ENT0);
    c->actVerBB->trigger();
    QCOMPARE(editor().fondoCelda(0, SUMA_ENT0), QColor(0, 239, 208));
    c->actVerBB->trigger();
    QCOMPARE(editor().fondoCelda(0, SUMA_ENT0), antes);
  }

  // ------------------------------------------------------------ preguntas por los cambios

  void unaRejillaNuevaSinTocarNoPregunta() {
    abrir(DATOS + QStringLiteral("una_suma.pla"));
    c->actNuevoVLIW->trigger();
    QVERIFY(!editor().butGuardar->isEnabled());
    dialogos->olvidar();
    c->actNuevoVLIW->trigger();
    c->ventanas().cerrarEditorVLIW();
    QVERIFY(dialogos->apuntes.isEmpty());
  }

  void nuevoConUnProgramaSinGuardar_data() {
    QTest::addColumn<TRespuestaCambios>("respuesta");
    QTest::addColumn<QString>("fichero");  // vacío: se cancela el diálogo de guardar
    QTest::addColumn<bool>("sigue");
    QTest::newRow("no guardar") << TRespuestaCambios::descartar << QString() << true;
    QTest::newRow("guardar") << TRespuestaCambios::guardar << QStringLiteral("guardado") << true;
    QTest::newRow("guardar y cancelar") << TRespuestaCambios::guardar << QString() << false;
    QTest::newRow("cancelar") << TRespuestaCambios::cancelar << QString() << false;
  }
  void nuevoConUnProgramaSinGuardar() {
    QFETCH(TRespuestaCambios, respuesta);
    QFETCH(QString, fichero);
    QFETCH(bool, sigue);
    const bool guardar = respuesta == TRespuestaCambios::guardar;
    aceptarUnPrograma();
    dialogos->olvidar();
    dialogos->respuestasCambios << respuesta;
    const QString ruta = fichero.isEmpty() ? QString() : dir.filePath(fichero + QStringLiteral(".vliw"));
    if (guardar) dialogos->ficherosGuardar << ruta;
    c->actNuevoVLIW->trigger();
    QCOMPARE(dialogos->de(QStringLiteral("cambios")), QStringList(GUARDAR_VLIW));
    QCOMPARE(dialogos->de(QStringLiteral("guardar")).size(), guardar ? 1 : 0);
    if (!ruta.isEmpty()) QCOMPARE(leer(ruta), QByteArray("1\n1\t0 0 0 0\n"));
    QCOMPARE(c->vliw().codigo.numInstrucciones, sigue ? 0 : 1);
    QCOMPARE(rejilla().numFilas(), sigue ? 7 : 1);
    QCOMPARE(v->documentoVLIW().sinGuardar(), !sigue);
  }

  void loGuardadoOCargadoNoPregunta() {
    aceptarUnPrograma();
    const QString ruta = dir.filePath(QStringLiteral("p.vliw"));
    dialogos->ficherosGuardar << ruta;
    editor().butGuardarClick();
    QVERIFY(!v->documentoVLIW().sinGuardar());
    dialogos->olvidar();
    cargar(ruta);
    QVERIFY(!v->documentoVLIW().sinGuardar());
    c->actNuevoVLIW->trigger();
    QVERIFY(dialogos->de(QStringLiteral("confirmar")).isEmpty());
    // Cambiar un breakpoint no cambia el fichero: tampoco pregunta.
    cargar(ruta);
    editor().dobleClicFila(0);
    QVERIFY(c->vliw().codigo.instruccion(0)->breakpoint);
    QVERIFY(!v->documentoVLIW().sinGuardar());
  }

  // Sustituir el programa pregunta con vuelta atrás por las ediciones sin
  // aceptar; descartadas, siguen en el editor mientras no se carga nada.
  void edicionesSinAceptarAntesDeCargar_data() {
    QTest::addColumn<TRespuestaCambios>("respuesta");
    QTest::newRow("aceptarlas") << TRespuestaCambios::guardar;
    QTest::newRow("descartarlas") << TRespuestaCambios::descartar;
    QTest::newRow("cancelar") << TRespuestaCambios::cancelar;
  }
  void edicionesSinAceptarAntesDeCargar() {
    QFETCH(TRespuestaCambios, respuesta);
    abrir(DATOS + QStringLiteral("una_suma.pla"));
    c->actNuevoVLIW->trigger();
    editor().soltarInstruccion(0, 2, SUMA_ENT1);
    dialogos->olvidar();
    dialogos->respuestasCambios << respuesta;
    // Aceptadas, hacen un programa sin guardar: se pregunta también por él.
    if (respuesta == TRespuestaCambios::guardar) dialogos->respuestasCambios << TRespuestaCambios::descartar;
    if (respuesta != TRespuestaCambios::cancelar) dialogos->ficherosAbrir << QString();
    c->actCargarVLIW->trigger();
    QCOMPARE(dialogos->de(QStringLiteral("cambios")).size(), respuesta == TRespuestaCambios::guardar ? 2 : 1);
    QCOMPARE(dialogos->de(QStringLiteral("abrir")).size(), respuesta == TRespuestaCambios::cancelar ? 0 : 1);
    QCOMPARE(c->vliw().codigo.numInstrucciones, respuesta == TRespuestaCambios::guardar ? 3 : 0);
    QCOMPARE(editor().cambiosPendientes(), respuesta != TRespuestaCambios::guardar);
  }

  // Con lo que se carga, las ediciones descartadas sí desaparecen.
  void cargarTrasDescartarLasEdiciones() {
    abrir(DATOS + QStringLiteral("una_suma.pla"));
    c->actNuevoVLIW->trigger();
    editor().soltarInstruccion(0, 2, SUMA_ENT1);
    dialogos->respuestasCambios << TRespuestaCambios::descartar;
    cargar(DATOS + QStringLiteral("una_suma.vliw"));
    QVERIFY(!editor().cambiosPendientes());
    QCOMPARE(c->vliw().codigo.numInstrucciones, 1);
    QCOMPARE(rejilla().numFilas(), 1);
  }

  void salirPregunta() {
    aceptarUnPrograma();
    // Guardar y cancelar el diálogo: no se sale.
    dialogos->respuestasCambios << TRespuestaCambios::guardar;
    dialogos->ficherosGuardar << QString();
    QVERIFY(!v->close());
    QVERIFY(v->isVisible());
    // No guardar: se sale.
    dialogos->respuestasCambios << TRespuestaCambios::descartar;
    QVERIFY(v->close());
    QCOMPARE(dialogos->de(QStringLiteral("cambios")), QStringList({GUARDAR_VLIW, GUARDAR_VLIW}));
  }

  // Guardar encima de un programa viejo con un fallo a medio escribir (el
  // límite de tamaño de los ficheros del proceso): el viejo queda intacto, no
  // queda ningún temporal y se avisa; sin el fallo, se sustituye.
  void guardarEncimaConUnFalloDejaElViejo() {
    QTemporaryDir carpeta;
    const QString ruta = carpeta.filePath(QStringLiteral("viejo.vliw"));
    const QByteArray viejo = "1\n1\t0 0 0 0\n";
    {
      QFile f(ruta);
      QVERIFY(f.open(QIODevice::WriteOnly) && f.write(viejo) == viejo.size());
    }
    aceptarUnPrograma();
    editor().soltarInstruccion(0, 0, SUMA_ENT1);
    editor().butAceptar->click();
    dialogos->olvidar();
    dialogos->ficherosGuardar << ruta;
    {
      TLimiteFicheros limite(8);
      editor().butGuardar->click();
    }
    QCOMPARE(dialogos->mensajes(), QStringList(QStringLiteral("No se pudo guardar el fichero")));
    QVERIFY(dialogos->apuntes.last().detalle.contains(ruta));
    QCOMPARE(leer(ruta), viejo);
    QCOMPARE(QDir(carpeta.path()).entryList(QDir::Files | QDir::Hidden), QStringList(QStringLiteral("viejo.vliw")));
    QVERIFY(v->documentoVLIW().sinGuardar());
    dialogos->ficherosGuardar << ruta;
    editor().butGuardar->click();
    QCOMPARE(leer(ruta), QByteArray("1\n2\t0 0 0 0\t0 0 1 0\n"));
    QVERIFY(!v->documentoVLIW().sinGuardar());
  }

  // Cada pregunta del camino de salida tiene vuelta atrás: cancelarla (Escape)
  // deja el programa abierto con el programa VLIW y las ediciones del editor.
  void salirNuncaPierdeElProgramaVLIW() {
    aceptarUnPrograma();
    editor().soltarInstruccion(0, 0, SUMA_ENT1);
    QAction* salir = c->hijo<QAction>("opcSalir");
    auto sigueTodo = [&](int instrucciones) {
      QVERIFY(v->isVisible());
      QVERIFY(editor().cambiosPendientes());
      QVERIFY(rejilla().operacion(0, SUMA_ENT1));
      QCOMPARE(c->vliw().codigo.numInstrucciones, instrucciones);
      QVERIFY(v->documentoVLIW().sinGuardar());
    };
    // Cancelar la pregunta por las ediciones.
    dialogos->respuestasCambios << TRespuestaCambios::cancelar;
    salir->trigger();
    sigueTodo(1);
    QCOMPARE(dialogos->de(QStringLiteral("cambios")).size(), 1);
    // Descartar las ediciones y cancelar la del programa: tampoco se pierden.
    dialogos->olvidar();
    dialogos->respuestasCambios << TRespuestaCambios::descartar << TRespuestaCambios::cancelar;
    salir->trigger();
    sigueTodo(1);
    QCOMPARE(dialogos->de(QStringLiteral("cambios")).last(), GUARDAR_VLIW);
    // Guardar y cancelar el diálogo de ficheros.
    dialogos->olvidar();
    dialogos->respuestasCambios << TRespuestaCambios::descartar << TRespuestaCambios::guardar;
    dialogos->ficherosGuardar << QString();
    salir->trigger();
    sigueTodo(1);
    // Aceptarlas y guardar: se sale con todo en el fichero.
    dialogos->olvidar();
    const QString ruta = dir.filePath(QStringLiteral("salida.vliw"));
    dialogos->respuestasCambios << TRespuestaCambios::guardar << TRespuestaCambios::guardar;
    dialogos->ficherosGuardar << ruta;
    salir->trigger();
    QVERIFY(!v->isVisible());
    QCOMPARE(leer(ruta), QByteArray("1\n2\t0 0 0 0\t0 0 1 0\n"));
  }

  void salirConEdicionesSinAceptar() {
    abrir(DATOS + QStringLiteral("una_suma.pla"));
    c->actNuevoVLIW->trigger();
    editor().soltarInstruccion(0, 0, SUMA_ENT0);
    // Descartadas: el programa, vacío, no tiene nada que guardar.
    dialogos->respuestasCambios << TRespuestaCambios::descartar;
    QVERIFY(v->close());
    QCOMPARE(dialogos->de(QStringLiteral("cambios")).size(), 1);
    QVERIFY(dialogos->de(QStringLiteral("guardarCambio")).isEmpty());
  }

  // ------------------------------------------------------------ configuración VLIW

  void aceptarLaConfiguracionCierraLoHechoSobreLasUnidades() {
    abrir(DATOS + QStringLiteral("una_suma.pla"));
    cargar(DATOS + QStringLiteral("una_suma.vliw"));
    ejecutarHastaCompletar();
    QVERIFY(c->frmExeVLIW() && c->frmInstVLIW());
    c->actConfVLIW->trigger();
    QVERIFY(c->frmConfVLIW());
    c->frmConfVLIW()->spiUF[tufMemoria]->setValue(3);
    c->frmConfVLIW()->butAceptar->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!c->frmConfVLIW() && !c->frmInstVLIW() && !c->frmExeVLIW());
    QCOMPARE(int(c->vliw().uf[tufMemoria].size()), 3);
    QCOMPARE(c->vliw().codigo.numInstrucciones, 1);
    // Al volver a abrir el editor: Mem 0, Mem 1 y Mem 2.
    cargar(DATOS + QStringLiteral("una_suma.vliw"));
    QCOMPARE(rejilla().titulo(MEM0), QStringLiteral("Mem 0"));
    QCOMPARE(rejilla().titulo(MEM0 + 2), QStringLiteral("Mem 2"));
    QCOMPARE(rejilla().titulo(MEM0 + 3), QStringLiteral("Salto 0"));
    // Y la ejecución siguiente tiene su ventana nueva.
    ejecutarHastaCompletar();
    QVERIFY(c->frmExeVLIW());
  }

  void configuracionConEdicionesSinAceptar() {
    abrir(DATOS + QStringLiteral("una_suma.pla"));
    cargar(DATOS + QStringLiteral("una_suma.vliw"));
    editor().soltarInstruccion(0, 0, SUMA_ENT1);
    c->actConfVLIW->trigger();
    c->frmConfVLIW()->spiUF[tufSumaEntera]->setValue(1);
    dialogos->respuestasGuardarCambio << RESULTADO_ACEPTAR;
    c->frmConfVLIW()->butAceptar->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    // Las ediciones se aceptaron con las columnas que tenían…
    QCOMPARE(dialogos->de(QStringLiteral("guardarCambio")).size(), 1);
    QVERIFY(!c->frmInstVLIW());
    QCOMPARE(c->vliw().codigo.instruccion(0)->numOperaciones(), 2);
    // …y ahora usan una unidad que no existe: no se ejecuta ni se enseña.
    dialogos->olvidar();
    c->actPaso->trigger();
    QCOMPARE(dialogos->mensajes(), QStringList(CONFIGURACION));
    QVERIFY(!c->ventanas().abrirEditorVLIW(*v->programa()));
  }

  void configuracionVLIWConResetearAlIniciar() {
    abrir(DATOS + QStringLiteral("una_suma.pla"));
    c->vliw().gpr.valor[4] = 9;
    c->opcReset->setChecked(true);
    c->actConfVLIW->trigger();
    c->frmConfVLIW()->butAceptar->click();
    QCOMPARE(c->vliw().gpr.valor[4], 0);
  }

  void configuracionVLIWBloqueadaDuranteSuEjecucion() {
    abrir(DATOS + QStringLiteral("una_suma.pla"));
    cargar(DATOS + QStringLiteral("una_suma.vliw"));
    c->actConfVLIW->trigger();
    c->actIni->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!c->frmConfVLIW());
    QVERIFY(!c->actConfVLIW->isEnabled());
    c->manejar("actConfVLIWExecute");
    QVERIFY(!c->frmConfVLIW());
    // La superescalar sí se puede configurar mientras tanto.
    c->actConfSuper->trigger();
    QVERIFY(c->frmConfSuper());
  }

  // ------------------------------------------------------------ el camino de un alumno

  void caminoDeUnAlumno() {
    // Abre un ejemplo y crea un programa VLIW nuevo.
    abrir(EJEMPLOS + QStringLiteral("suma_bucle.pla"));
    c->actNuevoVLIW->trigger();
    TfrmInstVLIW* e = c->frmInstVLIW();
    QVERIFY(e);
    // Arrastra las instrucciones (la ADDI, por error, junto al DADDUI que escribe R1).
    e->soltarInstruccion(0, 0, SUMA_ENT0);
    e->soltarInstruccion(1, 0, SUMA_ENT1);
    e->soltarInstruccion(2, 1, SUMA_ENT0);
    e->soltarInstruccion(3, 2, SUMA_ENT0);
    e->soltarInstruccion(4, 2, SUMA_ENT1);
    // El salto, con destino la instrucción larga 2.
    dialogos->respuestasModal << RESULTADO_ACEPTAR;
    dialogos->alEjecutarModal = [](QDialog& d) {
      auto* salto = qobject_cast<TdlgSaltoVLIW*>(&d);
      QVERIFY(salto);
      salto->spiDestino->setValue(2);
    };
    e->soltarInstruccion(5, 3, SALTO0);
    e->soltarInstruccion(6, 5, MEM0);
    // Acepta y la comprobación avisa.
    e->butAceptar->click();
    QCOMPARE(dialogos->mensajes(),
             QStringList(QStringLiteral("Dependencia verdadera en la operación 4 de la instrucción larga 2")));
    QCOMPARE(rejilla().numFilas(), 6);
    // Lo arregla: la ADDI a la instrucción larga siguiente.
    e->borrarCelda(2, SUMA_ENT1);
    e->soltarInstruccion(4, 3, SUMA_ENT0);
    e->butAceptar->click();
    QCOMPARE(dialogos->mensajes().size(), 1);
    // Guarda.
    const QString ruta = dir.filePath(QStringLiteral("suma_bucle.vliw"));
    dialogos->ficherosGuardar << ruta;
    e->butGuardar->click();
    QCOMPARE(leer(ruta), QByteArray("6\n2\t0 0 0 0\t1 0 1 0\n1\t2 0 0 0\n1\t3 0 0 0\n2\t4 0 0 0\t5 5 0 0 2 1 2\n0\n"
                                    "1\t6 4 0 0\n"));
    // Vuelve a abrir el programa secuencial (el editor se cierra) y carga lo guardado.
    abrir(EJEMPLOS + QStringLiteral("suma_bucle.pla"));
    QVERIFY(!c->frmInstVLIW());
    cargar(ruta);
    QCOMPARE(dialogos->mensajes().size(), 1);
    QVERIFY(c->frmInstVLIW());
    QCOMPARE(rejilla().numFilas(), 6);
    QCOMPARE(rejilla().operacion(3, SALTO0)->op[2], 2);
    // Lo ejecuta hasta el final y lee el resultado en la ventana de registros.
    c->mnuCompGPR->trigger();
    ejecutarHastaCompletar();
    QCOMPARE(c->vliw().gpr.valor[3], 15);
    QCOMPARE(c->vliw().memoria.datos[0], 15.0f);
    QVERIFY(c->frmCompGPR());
    const QStringList lineas = textosDe(c->frmCompGPR());
    QVERIFY2(!lineas.filter(QRegularExpression(QStringLiteral("^R3\\b.*\\b15\\b"))).isEmpty(),
             qPrintable(lineas.join(QLatin1Char('|'))));
  }

  // ------------------------------------------------------------ planificación automática

  // La planificación pasa a ser el programa, sin guardar (se pregunta antes
  // por el que había), y su editor dice cuántas instrucciones largas y
  // casillas ocupa.
  void planificarAutomaticamenteAbreLaPlanificacion() {
    aceptarUnPrograma();
    dialogos->respuestasCambios << TRespuestaCambios::cancelar;
    c->hijo<QAction>("actPlanificarVLIW")->trigger();
    QCOMPARE(dialogos->de(QStringLiteral("cambios")).size(), 1);
    QCOMPARE(c->vliw().codigo.numInstrucciones, 1);

    abrir(EJEMPLOS + QStringLiteral("vector_suma.pla"));
    dialogos->respuestasCambios << TRespuestaCambios::descartar;
    c->hijo<QAction>("actPlanificarVLIW")->trigger();
    QVERIFY(c->vliw().codigo.numInstrucciones > 1);
    QVERIFY(v->documentoVLIW().sinGuardar());  // no está en ningún fichero
    QVERIFY(c->frmInstVLIW());
    QCOMPARE(rejilla().numFilas(), c->vliw().codigo.numInstrucciones);
    QCOMPARE(int(v->maquinaActual()), int(VLIW));
    int ocupadas = 0;
    for (const TInstruccionLarga& larga : c->vliw().codigo.instrucciones) ocupadas += larga.numOperaciones();
    const int casillas = rejilla().numFilas() * rejilla().numColumnas();
    QCOMPARE(editor().labResumen->text(), QStringLiteral("%1 instrucciones largas\n%2 de %3 casillas ocupadas (%4 %)")
                                              .arg(rejilla().numFilas())
                                              .arg(ocupadas)
                                              .arg(casillas)
                                              .arg(100 * ocupadas / casillas));
    // Se ejecuta hasta el final, como uno hecho a mano.
    ejecutarHastaCompletar();
  }

  // La comparación ejecuta las dos desde el mismo estado y no toca la máquina.
  void compararConLaAutomatica() {
    abrir(EJEMPLOS + QStringLiteral("vector_suma.pla"));
    cargar(EJEMPLOS + QStringLiteral("vector_suma.vliw"));
    const int32_t cicloAntes = c->vliw().ciclo;
    QStringList columnas, ciclos, finales, veredictos;
    dialogos->alEjecutarModal = [&](QDialog& d) {
      auto* tabla = d.findChild<QTableWidget*>(QStringLiteral("grdComparacion"));
      if (!tabla) return;
      for (int k = 0; k < 2; ++k) {
        columnas << tabla->horizontalHeaderItem(k)->text();
        ciclos << tabla->item(0, k)->text();
        finales << tabla->item(tabla->rowCount() - 2, k)->text();
        veredictos << tabla->item(tabla->rowCount() - 1, k)->text();
      }
    };
    dialogos->respuestasModal << RESULTADO_CANCELAR;
    c->hijo<QAction>("actCompararVLIW")->trigger();
    QCOMPARE(columnas, QStringList({QStringLiteral("Tu planificación"), QStringLiteral("Automática")}));
    QCOMPARE(finales, QStringList({QStringLiteral("terminada"), QStringLiteral("terminada")}));
    const QString igual = QStringLiteral("El programa VLIW calcula lo mismo que el código secuencial");
    QCOMPARE(veredictos, QStringList({igual, igual}));
    QVERIFY(ciclos[0].toInt() > 0 && ciclos[1].toInt() > 0);
    QCOMPARE(c->vliw().ciclo, cicloAntes);
    QVERIFY(!c->controlador(VLIW).enEjecucion());

    // Sin programa VLIW, lo mismo que al ejecutar: se dice y no se compara.
    dialogos->alEjecutarModal = nullptr;
    c->actNuevoVLIW->trigger();
    const qsizetype modales = dialogos->de(QStringLiteral("modal")).size();
    c->hijo<QAction>("actCompararVLIW")->trigger();
    QCOMPARE(dialogos->mensajes().last(), QStringLiteral("Debe completar el código VLIW antes de ejecutar"));
    QCOMPARE(dialogos->de(QStringLiteral("modal")).size(), modales);
  }
};

int main(int argc, char** argv) {
  TAplicacion aplicacion(argc, argv);
  PruebasProgramaVLIW pruebas;
  return QTest::qExec(&pruebas, argc, argv);
}

#include "PruebasProgramaVLIW.moc"
