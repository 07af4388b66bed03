// El editor de código dentro de la ventana principal, sin pantalla: "Nuevo
// Programa", "Editar Programa", "Ensamblar y Cargar" (igual que abrir el mismo
// texto), los cambios sin guardar con «Cancelar» en cada camino, las marcas de
// lo que está en vuelo en las dos máquinas y el submenú "Ejemplos".

#include <QDir>
#include <QImage>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTextBlock>
#include <QtTest>
#include <functional>
#include <memory>

#include "AyudaPrincipal.h"
#include "Simulador/aplicacion/TAplicacion.h"
#include "Simulador/codigo/TMarcasEnVuelo.h"
#include "Simulador/codigo/TModeloCodigo.h"
#include "Simulador/control/TProgramaFuente.h"
#include "Simulador/editor/TEditorFuente.h"
#include "Simulador/editor/TEjemplos.h"
#include "Simulador/editor/TdlgGuardarPrograma.h"
#include "Simulador/editor/TfrmEditorCodigo.h"
#include "TServicioDialogosGuion.h"
#include "loader/TCodigo.h"

namespace {

const QString EJEMPLOS = QStringLiteral(ORVEX_DIR_EJEMPLOS);
const QString COMPLETADA = QStringLiteral("Ejecución completada");
const char* const UNA_ADDI = "1\nADDI R1 R2 R3\n";
const char* const DOS_ADDI = "2\nADDI R1 R2 R3\nADDI R4 R1 R1\n";

QByteArray leer(const QString& ruta) {
  QFile f(ruta);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<no se lee>");
}

// Una ventana principal con su guion de diálogos.
struct TVentana {
  std::unique_ptr<TServicioDialogosGuion> dialogos = std::make_unique<TServicioDialogosGuion>();
  std::unique_ptr<TfrmPrincipal> v;
  std::unique_ptr<TPrincipalEnPrueba> c;

  TVentana() {
    v = std::make_unique<TfrmPrincipal>(*dialogos);
    c = std::make_unique<TPrincipalEnPrueba>(*v);
    v->resize(1000, 700);
    v->show();
  }
  ~TVentana() {
    // Lo que quede sin guardar no debe preguntar al destruirse.
    if (TfrmEditorCodigo* e = editor()) e->txtFuente->document()->setModified(false);
    c.reset();
    v.reset();
  }

  QAction* accion(const char* nombre) const { return c->hijo<QAction>(nombre); }
  QMenu* menu(const char* nombre) const { return c->hijo<QMenu>(nombre); }
  TfrmEditorCodigo* editor() const { return v->ventanas().frmEditorCodigo(); }
  const TModeloCodigo& modelo() const { return *c->grdInstrucciones->modelo(); }

  void abrir(const QString& ruta) {
    dialogos->ficherosAbrir << ruta;
    accion("actAbrir")->trigger();
  }
  // Sustituye todo el texto del editor como lo haría el alumno: cuenta como cambio.
  void teclear(const QString& texto) const {
    QTextCursor cursor(editor()->txtFuente->document());
    cursor.select(QTextCursor::Document);
    cursor.insertText(texto);
  }
  // Responde a la próxima pregunta por los cambios sin guardar del editor.
  void responder(TdlgGuardarPrograma::TRespuesta r) const {
    dialogos->respuestasModal << (r == TdlgGuardarPrograma::Cancelar ? RESULTADO_CANCELAR : RESULTADO_ACEPTAR);
    dialogos->alEjecutarModal = [r](QDialog& d) {
      auto* dlg = qobject_cast<TdlgGuardarPrograma*>(&d);
      QVERIFY(dlg);
      (r == TdlgGuardarPrograma::Guardar     ? dlg->butGuardar
       : r == TdlgGuardarPrograma::NoGuardar ? dlg->butNoGuardar
                                             : dlg->butCancelar)
          ->click();
    };
  }
  int preguntasEditor() const { return static_cast<int>(dialogos->de(QStringLiteral("modal")).size()); }
  QAction* ejemplo(const QString& nombre) const {
    for (QAction* a : menu("mnuEjemplos")->actions())
      if (a->data().toString().endsWith(QLatin1Char('/') + nombre)) return a;
    qFatal("no está el ejemplo %s", qPrintable(nombre));
  }
  // Hasta «Ejecución completada», con los tics del temporizador.
  bool ejecutar(TTipoMaquina m) const {
    v->seleccionarMaquina(m);
    accion("actIni")->trigger();
    for (int i = 0; i < 20000 && c->timer(m)->isActive(); ++i) c->tic(m);
    return dialogos->mensajes().contains(COMPLETADA) && !c->controlador(m).enEjecucion();
  }
  // Las marcas de cada fila de la rejilla del código.
  QList<int> marcasRejilla() const {
    QList<int> marcas;
    for (int f = 0; f < modelo().rowCount(); ++f)
      marcas << modelo().index(f, 0).data(TModeloCodigo::RolEnVuelo).toInt();
    return marcas;
  }
};

// Las marcas que deben verse, instrucción a instrucción.
QList<int> esperadas(const TMarcasEnVuelo& m, int n) {
  QList<int> marcas;
  for (int i = 0; i < n; ++i) marcas << m.marca(i);
  return marcas;
}

}  // namespace

class PruebasEditorEnPrincipal : public QObject {
  Q_OBJECT

  QTemporaryDir dir;
  std::unique_ptr<TVentana> w;

  QString fichero(const QString& nombre, const QByteArray& texto) {
    const QString ruta = dir.filePath(nombre);
    QDir().mkpath(QFileInfo(ruta).path());
    QFile f(ruta);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) qFatal("no se puede escribir %s", qPrintable(ruta));
    f.write(texto);
    return ruta;
  }

  static void destruirPendientes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

private slots:
  void initTestCase() {
    // Los ejemplos se buscan primero en "examples" de la carpeta de trabajo.
    QVERIFY(QDir::setCurrent(QStringLiteral(ORVEX_DIR_FUENTES)));
    // Salir cierra la ventana de verdad; la prueba sigue con otra.
    QApplication::setQuitOnLastWindowClosed(false);
  }

  void init() {
    w = std::make_unique<TVentana>();
    qobject_cast<TAplicacion*>(QCoreApplication::instance())->setServicioDialogos(w->dialogos.get());
  }

  void cleanup() {
    QCOMPARE(w->dialogos->sinRespuesta, 0);
    w.reset();
    qobject_cast<TAplicacion*>(QCoreApplication::instance())->setServicioDialogos(nullptr);
  }

  // ------------------------------------------------------------ órdenes

  void menuArchivoYDisponibilidad() {
    QStringList textos;
    for (QAction* a : w->menu("mnuArchivo")->actions()) textos << a->text();
    QCOMPARE(textos, QStringList({"&Abrir...", "Ficheros &recientes", "Nuevo Programa", "Editar Programa",
                                  "Ensamblar y Cargar", "Ejemplos", "", "&Salir"}));
    QCOMPARE(w->accion("actNuevoPrograma")->shortcut().toString(), QStringLiteral("Ctrl+N"));
    QCOMPARE(w->accion("actEnsamblar")->shortcut().toString(), QStringLiteral("Ctrl+E"));
    for (const char* nombre : {"actNuevoPrograma", "actEditarPrograma", "actEnsamblar"})
      QVERIFY(!w->accion(nombre)->statusTip().isEmpty());
    // Arranca como siempre, sin ventanas; sin programa no hay nada que editar
    // y sin editor nada que ensamblar.
    QVERIFY(w->c->mdiArea->subWindowList().isEmpty());
    QVERIFY(w->accion("actNuevoPrograma")->isEnabled());
    QVERIFY(!w->accion("actEditarPrograma")->isEnabled());
    QVERIFY(!w->accion("actEnsamblar")->isEnabled());
    QVERIFY(w->menu("mnuEjemplos")->isEnabled());

    w->accion("actNuevoPrograma")->trigger();
    QVERIFY(w->editor() && w->editor()->texto().isEmpty());
    QCOMPARE(w->c->mdiArea->activeSubWindow(), w->editor());
    QVERIFY(w->accion("actEnsamblar")->isEnabled());
    w->editor()->close();
    destruirPendientes();
    QVERIFY(!w->editor());
    QVERIFY(!w->accion("actEnsamblar")->isEnabled());
  }

  // ------------------------------------------------------------ ensamblar y cargar

  // El texto del editor, sin guardar, se carga como lo cargaría "&Abrir..." si
  // estuviera en un fichero: la misma rejilla, los mismos bloqueos, las mismas
  // máquinas al ejecutarlo.
  void ensamblarComoAbrir_data() {
    QTest::addColumn<QString>("ejemplo");
    QTest::newRow("vector_suma") << "vector_suma.pla";
    QTest::newRow("etiquetas_mixtas") << "etiquetas_mixtas.pla";
    QTest::newRow("desenrollado") << "desenrollado.bun";
  }
  void ensamblarComoAbrir() {
    QFETCH(QString, ejemplo);
    // Lo editado: una instrucción más al final (y el número de instrucciones).
    const QByteArray original = leer(EJEMPLOS + QLatin1Char('/') + ejemplo);
    const QRegularExpressionMatch cuenta =
        QRegularExpression(QStringLiteral("^(\\d+)"), QRegularExpression::MultilineOption).match(QString::fromUtf8(original));
    QVERIFY(cuenta.hasMatch());
    QString texto = QString::fromUtf8(original);
    texto.replace(cuenta.capturedStart(1), cuenta.capturedLength(1), QString::number(cuenta.captured(1).toInt() + 1));
    const QByteArray editado = texto.toUtf8() + "        ADDI R63 R63 R62\n";
    const QString enEditor = fichero(QStringLiteral("editor/") + ejemplo, original);
    const QString abierto = fichero(QStringLiteral("abierto/") + ejemplo, editado);

    TVentana a;
    a.abrir(abierto);
    QVERIFY(a.v->programa());
    w->accion("actNuevoPrograma")->trigger();
    QVERIFY(w->editor()->abrir(enEditor));
    w->teclear(QString::fromUtf8(editado));
    // Con su tecla, desde el propio editor.
    w->v->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w->v.get()));
    QTest::keyClick(w->editor()->txtFuente, Qt::Key_E, Qt::ControlModifier);
    QVERIFY(w->v->programa());
    QVERIFY(w->dialogos->apuntes.isEmpty());

    // Sin guardar: el fichero sigue como estaba y el editor abierto, con sus cambios.
    QCOMPARE(leer(enEditor), original);
    QVERIFY(w->editor() && w->editor()->isVisible() && w->editor()->modificado());

    const QAbstractItemModel& ma = a.modelo();
    const QAbstractItemModel& mb = w->modelo();
    QCOMPARE(mb.rowCount(), ma.rowCount());
    QCOMPARE(mb.rowCount(), int(w->v->programa()->numInstrucciones));
    QCOMPARE(mb.index(mb.rowCount() - 1, 4).data().toString(), QStringLiteral("R62"));
    for (int f = 0; f < ma.rowCount(); ++f)
      for (int col = 0; col < TModeloCodigo::NUM_COLUMNAS; ++col)
        for (int rol : {int(Qt::DisplayRole), int(TModeloCodigo::RolBloque), int(TModeloCodigo::RolEtiqueta)})
          QCOMPARE(mb.index(f, col).data(rol), ma.index(f, col).data(rol));
    QCOMPARE(w->c->panTitulo->text(), a.c->panTitulo->text());
    QCOMPARE(w->c->super().codigo, w->v->programa());
    QVERIFY(w->c->panCodigo->isVisible() && w->c->tobEjecucion->isVisible());
    for (QAction* acc : a.v->findChildren<QAction*>()) {
      if (acc->objectName().isEmpty()) continue;
      QAction* otra = w->v->findChild<QAction*>(acc->objectName());
      QVERIFY2(otra, qPrintable(acc->objectName()));
      QVERIFY2(otra->isEnabled() == acc->isEnabled() || acc->objectName() == QLatin1String("actEnsamblar"),
               qPrintable(acc->objectName()));
      QCOMPARE(otra->isChecked(), acc->isChecked());
    }

    QVERIFY(a.ejecutar(SUPER));
    QVERIFY(w->ejecutar(SUPER));
    QCOMPARE(w->c->super().ciclo, a.c->super().ciclo);
    QCOMPARE(w->c->super().gpr.valor, a.c->super().gpr.valor);
    QCOMPARE(w->c->super().fpr.valor, a.c->super().fpr.valor);
    QCOMPARE(w->c->super().memoria.datos, a.c->super().memoria.datos);
  }

  // Con errores no se carga nada ni sale ningún cuadro: el error queda en el
  // editor y se dice en la barra de estado.
  void ensamblarConErrores_data() {
    QTest::addColumn<QString>("texto");
    QTest::addColumn<int>("linea");
    QTest::newRow("operando") << "2\nADDI R1 R2 R3\nADDF F1 R2 F3\n" << 3;
    QTest::newRow("vacío") << "" << 1;
  }
  void ensamblarConErrores() {
    QFETCH(QString, texto);
    QFETCH(int, linea);
    w->abrir(fichero(QStringLiteral("bueno.pla"), UNA_ADDI));
    const TCodigo* antes = w->v->programa();
    w->accion("actNuevoPrograma")->trigger();
    w->teclear(texto);
    w->dialogos->olvidar();
    w->accion("actEnsamblar")->trigger();
    QCOMPARE(w->v->programa(), antes);
    QCOMPARE(w->modelo().rowCount(), 1);
    QCOMPARE(w->c->panTitulo->text(), QStringLiteral("bueno.pla"));
    QVERIFY(w->dialogos->apuntes.isEmpty());
    QVERIFY(w->editor() && !w->editor()->correcto());
    QCOMPARE(w->editor()->lineaError(), linea);
    const QString estado = w->v->statusBar()->currentMessage();
    QVERIFY2(estado.contains(w->editor()->detalleError()) && !w->editor()->detalleError().isEmpty(),
             qPrintable(estado));
  }

  // Como "&Abrir...", bloqueado mientras alguna máquina tiene una ejecución
  // empezada (también detenida tras un paso); editar sí se puede.
  void ensamblarBloqueadoDuranteUnaEjecucion_data() {
    QTest::addColumn<TTipoMaquina>("m");
    QTest::addColumn<bool>("continua");
    QTest::newRow("superescalar en marcha") << SUPER << true;
    QTest::newRow("VLIW tras un paso") << VLIW << false;
  }
  void ensamblarBloqueadoDuranteUnaEjecucion() {
    QFETCH(TTipoMaquina, m);
    QFETCH(bool, continua);
    w->ejemplo(QStringLiteral("vector_suma.pla"))->trigger();
    w->v->seleccionarMaquina(m);
    w->accion("actNuevoPrograma")->trigger();
    w->teclear(QString::fromLatin1(DOS_ADDI));
    w->accion(continua ? "actIni" : "actPaso")->trigger();
    QVERIFY(w->c->controlador(m).enEjecucion());
    const TCodigo* antes = w->v->programa();
    QVERIFY(!w->accion("actEnsamblar")->isEnabled());
    QVERIFY(!w->menu("mnuEjemplos")->isEnabled());
    QVERIFY(w->accion("actEditarPrograma")->isEnabled() && w->accion("actNuevoPrograma")->isEnabled());
    // La orden llamada aunque esté deshabilitada (un atajo que se colara).
    w->v->findChild<TProgramaFuente*>()->ensamblar();
    QCOMPARE(w->v->programa(), antes);
    QVERIFY(w->c->controlador(m).enEjecucion());

    w->accion("actParar")->trigger();
    QVERIFY(w->accion("actEnsamblar")->isEnabled() && w->menu("mnuEjemplos")->isEnabled());
    w->accion("actEnsamblar")->trigger();
    QCOMPARE(w->modelo().rowCount(), 2);
  }

  // ------------------------------------------------------------ editar programa

  void editarElProgramaCargado() {
    const QString ruta = fichero(QStringLiteral("uno.pla"), UNA_ADDI);
    w->abrir(ruta);
    w->accion("actEditarPrograma")->trigger();
    TfrmEditorCodigo* e = w->editor();
    QVERIFY(e);
    QCOMPARE(e->ruta(), QFileInfo(ruta).absoluteFilePath());
    QVERIFY(e->programaVinculado() && !e->modificado());
    // Otra vez: lo trae delante sin volver a leer el fichero ni perder lo escrito.
    w->teclear(QStringLiteral("// cambio\n") + QString::fromLatin1(UNA_ADDI));
    w->accion("actEditarPrograma")->trigger();
    QVERIFY(e->texto().startsWith(QStringLiteral("// cambio")));
    QCOMPARE(w->preguntasEditor(), 0);

    // Un programa ensamblado desde un texto sin fichero vuelve como ese texto
    // aunque el editor haya pasado a otro.
    w->responder(TdlgGuardarPrograma::NoGuardar);
    w->accion("actNuevoPrograma")->trigger();
    w->teclear(QString::fromLatin1(DOS_ADDI));
    w->accion("actEnsamblar")->trigger();
    QCOMPARE(w->modelo().rowCount(), 2);
    w->responder(TdlgGuardarPrograma::NoGuardar);
    w->accion("actNuevoPrograma")->trigger();
    QVERIFY(e->texto().isEmpty() && !e->programaVinculado());
    w->accion("actEditarPrograma")->trigger();
    QCOMPARE(e->texto(), QString::fromLatin1(DOS_ADDI));
    QVERIFY(e->ruta().isEmpty() && e->modificado() && e->programaVinculado());
    QCOMPARE(w->c->panTitulo->text(), QStringLiteral("Sin título"));

    // Guardado con nombre, el programa cargado pasa a tener ese fichero.
    const QString guardado = dir.filePath(QStringLiteral("guardado.pla"));
    w->dialogos->ficherosGuardar << guardado;
    QVERIFY(e->guardarComo());
    QCOMPARE(w->c->panTitulo->text(), QStringLiteral("guardado.pla"));
    w->accion("actNuevoPrograma")->trigger();
    w->accion("actEditarPrograma")->trigger();
    QCOMPARE(e->ruta(), QFileInfo(guardado).absoluteFilePath());
    QVERIFY(e->programaVinculado() && !e->modificado());
  }

  // Si el fichero ya no es el programa cargado, se abre lo que hay, pero sin marcas.
  void editarUnFicheroQueHaCambiado() {
    const QString ruta = fichero(QStringLiteral("uno.pla"), UNA_ADDI);
    w->abrir(ruta);
    fichero(QStringLiteral("uno.pla"), DOS_ADDI);
    w->accion("actEditarPrograma")->trigger();
    QCOMPARE(w->editor()->texto(), QString::fromLatin1(DOS_ADDI));
    QVERIFY(!w->editor()->programaVinculado());
    QVERIFY(w->v->statusBar()->currentMessage().contains(QStringLiteral("ha cambiado")));
  }

  // ------------------------------------------------------------ cambios sin guardar

  // «Cancelar» deja el editor abierto, con su texto y sus cambios, en cada camino.
  void cancelarNoPierdeNada_data() {
    QTest::addColumn<QString>("camino");
    QTest::newRow("cerrar el editor") << "cerrar";
    QTest::newRow("programa nuevo") << "nuevo";
    QTest::newRow("editar otro programa") << "editar";
    QTest::newRow("salir") << "salir";
  }
  void cancelarNoPierdeNada() {
    QFETCH(QString, camino);
    const QString ruta = fichero(QStringLiteral("uno.pla"), UNA_ADDI);
    w->abrir(ruta);
    w->accion("actEditarPrograma")->trigger();
    TfrmEditorCodigo* e = w->editor();
    const QString escrito = QStringLiteral("// sin guardar\n") + QString::fromLatin1(UNA_ADDI);
    w->teclear(escrito);
    // Editar otro programa: el cargado pasa a ser otro.
    if (camino == QLatin1String("editar")) w->abrir(fichero(QStringLiteral("dos.pla"), DOS_ADDI));
    // Un programa VLIW sin guardar: salir, cancelado en el editor, ni lo pregunta.
    if (camino == QLatin1String("salir")) {
      w->dialogos->ficherosAbrir << EJEMPLOS + QStringLiteral("/suma_bucle.pla");
      w->c->actAbrir->trigger();
      w->dialogos->ficherosAbrir << fichero(QStringLiteral("p.vliw"), "1\n1\t0 0 0 0\n");
      w->c->actCargarVLIW->trigger();
      emit w->c->frmInstVLIW()->programaCambiado();
      QVERIFY(w->v->documentoVLIW().sinGuardar());
    }
    w->dialogos->olvidar();

    w->responder(TdlgGuardarPrograma::Cancelar);
    if (camino == QLatin1String("cerrar")) QVERIFY(!e->close());
    else if (camino == QLatin1String("nuevo")) w->accion("actNuevoPrograma")->trigger();
    else if (camino == QLatin1String("editar")) w->accion("actEditarPrograma")->trigger();
    else QVERIFY(!w->v->close());
    destruirPendientes();

    QCOMPARE(w->preguntasEditor(), 1);
    QCOMPARE(w->dialogos->apuntes.size(), 1);
    QCOMPARE(w->editor(), e);
    QVERIFY(e->isVisible() && w->v->isVisible());
    QCOMPARE(e->texto(), escrito);
    QVERIFY(e->modificado());
    QCOMPARE(e->ruta(), QFileInfo(ruta).absoluteFilePath());
    QCOMPARE(leer(ruta), QByteArray(UNA_ADDI));
  }

  // ------------------------------------------------------------ marcas en vuelo

  // Superescalar: la instrucción que se buscará y las confirmadas en el último
  // ciclo, en la rejilla y en el editor, ciclo a ciclo y con una sola
  // notificación; nada al terminar.
  void marcasEnVueloSuperescalar() {
    w->ejemplo(QStringLiteral("vector_suma.pla"))->trigger();
    w->accion("actEditarPrograma")->trigger();
    TfrmEditorCodigo* e = w->editor();
    QVERIFY(e->programaVinculado());
    const TCodigo& programa = *w->v->programa();
    const int n = programa.numInstrucciones;
    QSignalSpy cambios(w->c->grdInstrucciones->model(), &QAbstractItemModel::dataChanged);
    bool vistaConfirmada = false;
    for (int ciclo = 1; !w->dialogos->mensajes().contains(COMPLETADA); ++ciclo) {
      QVERIFY(ciclo < 500);
      cambios.clear();
      w->accion("actPaso")->trigger();
      if (!w->c->super().enEjecucion) break;
      const TMarcasEnVuelo deLaMaquina = TMarcasEnVuelo::de(w->c->super());
      QCOMPARE(w->marcasRejilla(), esperadas(deLaMaquina, n));
      // El primer paso también empieza la ejecución: dos refrescos.
      QVERIFY(cambios.size() <= (ciclo == 1 ? 2 : 1));
      vistaConfirmada = vistaConfirmada || !deLaMaquina.confirmadas.empty();
      for (int i = 0; i < n; ++i)
        QCOMPARE(int(e->txtFuente->marcaDeLinea(programa.lineas[size_t(i)] - 1)), int(deLaMaquina.marca(i)));
    }
    QVERIFY(vistaConfirmada);
    QCOMPARE(w->marcasRejilla(), QList<int>(n, 0));
    QVERIFY(e->txtFuente->enVuelo().vacias());
  }

  // La marca es un marco y un símbolo: el color del bloque básico se sigue viendo.
  void lasMarcasNoTapanLosBloques() {
    w->ejemplo(QStringLiteral("vector_suma.pla"))->trigger();
    w->c->actVerBB->trigger();
    w->accion("actPaso")->trigger();
    const int fila = w->modelo().enVuelo().siguientes.at(0);
    TRejillaCodigo* g = w->c->grdInstrucciones;
    QCoreApplication::processEvents();
    g->scrollTo(g->model()->index(fila, 2));
    const QRect celda = g->visualRect(g->model()->index(fila, 2));
    const QImage imagen = g->viewport()->grab().toImage();
    const QColor bloque = TRejillaCodigo::colorBloque(w->v->programa()->instrucciones[size_t(fila)].bloque);
    QCOMPARE(imagen.pixelColor(celda.left() + 3, celda.center().y()), bloque);
    QCOMPARE(imagen.pixelColor(celda.left() + 3, celda.top()), TRejillaCodigo::colorEnVuelo(TMarcasEnVuelo::SIGUIENTE));
  }

  // Las marcas del editor siguen a sus líneas mientras se escribe.
  void lasMarcasSiguenALasLineas() {
    w->ejemplo(QStringLiteral("vector_suma.pla"))->trigger();
    w->accion("actEditarPrograma")->trigger();
    TfrmEditorCodigo* e = w->editor();
    w->accion("actPaso")->trigger();
    const int siguiente = w->modelo().enVuelo().siguientes.at(0);
    const int linea = w->v->programa()->lineas[size_t(siguiente)] - 1;
    QCOMPARE(int(e->txtFuente->marcaDeLinea(linea)), int(TMarcasEnVuelo::SIGUIENTE));
    QTextCursor cursor(e->txtFuente->document());
    cursor.insertText(QStringLiteral("// una\n// dos\n"));
    QCOMPARE(int(e->txtFuente->marcaDeLinea(linea)), 0);
    QCOMPARE(int(e->txtFuente->marcaDeLinea(linea + 2)), int(TMarcasEnVuelo::SIGUIENTE));
    // Otro programa en el editor ya no es el cargado.
    w->responder(TdlgGuardarPrograma::NoGuardar);
    w->accion("actNuevoPrograma")->trigger();
    QVERIFY(!e->programaVinculado() && e->txtFuente->enVuelo().vacias());
  }

  // VLIW: las operaciones de la instrucción larga en el punto de emisión.
  void marcasEnVueloVLIW() {
    w->ejemplo(QStringLiteral("conflicto_memoria.pla"))->trigger();
    w->v->seleccionarMaquina(VLIW);
    w->accion("actEditarPrograma")->trigger();
    TfrmEditorCodigo* e = w->editor();
    const TCodigo& programa = *w->v->programa();
    const int n = programa.numInstrucciones;
    int maximo = 0;
    for (int ciclo = 1; ciclo < 6; ++ciclo) {
      w->accion("actPaso")->trigger();
      const TMaquinaVLIW& m = w->c->vliw();
      QList<int> marcas(n, 0);
      if (const TInstruccionLarga* larga = m.codigo.instruccion(m.pc))
        for (const auto& op : larga->operaciones) marcas[op->direccion] = TMarcasEnVuelo::SIGUIENTE;
      QCOMPARE(w->marcasRejilla(), marcas);
      maximo = std::max(maximo, int(marcas.count(int(TMarcasEnVuelo::SIGUIENTE))));
      for (int i = 0; i < n; ++i)
        QCOMPARE(int(e->txtFuente->marcaDeLinea(programa.lineas[size_t(i)] - 1)), marcas[i]);
    }
    QVERIFY(maximo >= 2);
    // Las marcas son las de la máquina seleccionada.
    w->v->seleccionarMaquina(SUPER);
    QCOMPARE(w->marcasRejilla(), QList<int>(n, 0));
    w->v->seleccionarMaquina(VLIW);
    QVERIFY(w->marcasRejilla() != QList<int>(n, 0));
    w->accion("actParar")->trigger();
    QCOMPARE(w->marcasRejilla(), QList<int>(n, 0));
  }

  // ------------------------------------------------------------ ejemplos

  // Cada ejemplo, con su pista; elegirlo abre algo que se ejecuta hasta el
  // final, también en la VLIW cuando trae su programa.
  void ejemplosSeCarganYSeEjecutan() {
    const QList<TEjemplo> ejemplos = TEjemplos::listar(QDir::current().absoluteFilePath(QStringLiteral("examples")));
    QVERIFY(ejemplos.size() >= 10);
    QCOMPARE(w->menu("mnuEjemplos")->actions().size(), ejemplos.size());
    int conVLIW = 0;
    for (int i = 0; i < ejemplos.size(); ++i) {
      const TEjemplo& ej = ejemplos[i];
      init();  // el primer clic tras arrancar
      QAction* entrada = w->menu("mnuEjemplos")->actions().at(i);
      QCOMPARE(entrada->text(), ej.nombre + (ej.rutaVLIW.isEmpty() ? QString() : QStringLiteral(" (con VLIW)")));
      QVERIFY(!entrada->statusTip().isEmpty());
      QCOMPARE(entrada->statusTip(), ej.pista);
      entrada->trigger();
      QVERIFY2(w->v->programa(), qPrintable(ej.nombre));
      QCOMPARE(w->c->panTitulo->text(), ej.nombre);
      QVERIFY2(w->ejecutar(SUPER), qPrintable(ej.nombre));
      if (ej.rutaVLIW.isEmpty()) {
        QCOMPARE(w->c->vliw().codigo.numInstrucciones, 0);
        continue;
      }
      ++conVLIW;
      QVERIFY(w->c->vliw().codigo.numInstrucciones > 0);
      QVERIFY(!w->v->documentoVLIW().sinGuardar());
      w->dialogos->olvidar();
      QVERIFY2(w->ejecutar(VLIW), qPrintable(ej.nombre));
    }
    QVERIFY(conVLIW >= 2);
  }

  // Un programa VLIW sin guardar se pregunta antes de sustituirlo; cancelar no
  // cambia nada, ni el programa secuencial.
  void ejemploConVLIWPreguntaPorElQueHay() {
    w->abrir(EJEMPLOS + QStringLiteral("/suma_bucle.pla"));
    w->dialogos->ficherosAbrir << fichero(QStringLiteral("p.vliw"), "1\n1\t0 0 0 0\n");
    w->c->actCargarVLIW->trigger();
    emit w->c->frmInstVLIW()->programaCambiado();
    const TCodigo* antes = w->v->programa();
    w->dialogos->respuestasCambios << TRespuestaCambios::guardar;  // guardarlo, y cancelar el nombre
    w->ejemplo(QStringLiteral("vector_suma.pla"))->trigger();
    QCOMPARE(w->dialogos->de(QStringLiteral("cambios")).size(), 1);
    QCOMPARE(w->dialogos->sinRespuesta, 1);
    w->dialogos->sinRespuesta = 0;
    QCOMPARE(w->v->programa(), antes);
    QCOMPARE(w->c->vliw().codigo.numInstrucciones, 1);
    QVERIFY(w->c->frmInstVLIW());
  }
};

int main(int argc, char** argv) {
  TAplicacion aplicacion(argc, argv);
  PruebasEditorEnPrincipal pruebas;
  return QTest::qExec(&pruebas, argc, argv);
}

#include "PruebasEditorEnPrincipal.moc"
