// La línea de órdenes de orvex: qué abre, qué responde y qué rechaza.

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "Simulador/aplicacion/TLineaOrdenes.h"

class PruebasLineaOrdenes : public QObject {
  Q_OBJECT

  QTemporaryDir dir;

  QString crear(const QString& nombre) {
    const QString ruta = dir.filePath(nombre);
    QFile f(ruta);
    if (!f.open(QIODevice::WriteOnly)) qFatal("no se puede crear %s", qPrintable(ruta));
    return ruta;
  }

private slots:
  void sinArgumentosArrancaComoSiempre() {
    const TLineaOrdenes l = TLineaOrdenes::leer({});
    QCOMPARE(l.accion, TLineaOrdenes::arrancar);
    QVERIFY(l.programa.isEmpty() && l.programaVLIW.isEmpty());
  }

  // El programa fuente y el VLIW, en cualquier orden (un gestor de ficheros
  // los pasa como quiere); el VLIW se reconoce por su extensión.
  void programaYProgramaVLIW() {
    for (const QStringList& args : {QStringList{"a.pla", "b.vliw"}, QStringList{"b.vliw", "a.pla"}}) {
      const TLineaOrdenes l = TLineaOrdenes::leer(args);
      QCOMPARE(l.accion, TLineaOrdenes::arrancar);
      QCOMPARE(l.programa, QStringLiteral("a.pla"));
      QCOMPARE(l.programaVLIW, QStringLiteral("b.vliw"));
    }
    QCOMPARE(TLineaOrdenes::leer({"x.bun"}).programa, QStringLiteral("x.bun"));
    QCOMPARE(TLineaOrdenes::leer({"P.VLIW", "p.pla"}).programaVLIW, QStringLiteral("P.VLIW"));
    // Tras «--», lo que empieza por guion es un fichero.
    QCOMPARE(TLineaOrdenes::leer({"--", "-raro.pla"}).programa, QStringLiteral("-raro.pla"));
  }

  // Un programa VLIW solo (el doble clic sobre un *.vliw) trae el fuente del
  // mismo nombre de su carpeta, .pla antes que .bun; si no lo hay, nada.
  void programaVLIWSoloBuscaSuFuente() {
    const QString vliw = crear(QStringLiteral("suma.vliw"));
    QVERIFY(TLineaOrdenes::leer({vliw}).programa.isEmpty());
    const QString bun = crear(QStringLiteral("suma.bun"));
    QCOMPARE(TLineaOrdenes::leer({vliw}).programa, bun);
    const QString pla = crear(QStringLiteral("suma.pla"));
    QCOMPARE(TLineaOrdenes::leer({vliw}).programa, pla);
    QCOMPARE(TLineaOrdenes::leer({vliw}).programaVLIW, vliw);
  }

  void ayudaYVersion() {
    QCOMPARE(TLineaOrdenes::leer({"--help"}).accion, TLineaOrdenes::ayuda);
    QCOMPARE(TLineaOrdenes::leer({"a.pla", "-h"}).accion, TLineaOrdenes::ayuda);
    QCOMPARE(TLineaOrdenes::leer({"--version"}).accion, TLineaOrdenes::version);
    QCOMPARE(TLineaOrdenes::leer({"-v"}).accion, TLineaOrdenes::version);
    QVERIFY(TLineaOrdenes::textoAyuda().startsWith(QStringLiteral("Uso: orvex ")));
    QCOMPARE(TLineaOrdenes::textoVersion(), QStringLiteral("Orvex 1.0\n"));
    // Antes de crear la aplicación las opciones de Qt siguen ahí: no estorban.
    const char* const conQt[] = {"orvex", "-platform", "offscreen", "--version"};
    QCOMPARE(TLineaOrdenes::pideAyudaOVersion(4, conQt), TLineaOrdenes::version);
    const char* const trasGuiones[] = {"orvex", "--", "--help"};
    QCOMPARE(TLineaOrdenes::pideAyudaOVersion(3, trasGuiones), TLineaOrdenes::arrancar);
    const char* const nada[] = {"orvex", "a.pla"};
    QCOMPARE(TLineaOrdenes::pideAyudaOVersion(2, nada), TLineaOrdenes::arrancar);
  }

  void loQueNoSeEntiende() {
    TLineaOrdenes l = TLineaOrdenes::leer({"--raro"});
    QCOMPARE(l.accion, TLineaOrdenes::error);
    QCOMPARE(l.mensajeError, QStringLiteral("opción desconocida: --raro"));
    l = TLineaOrdenes::leer({"a.pla", "b.pla"});
    QCOMPARE(l.accion, TLineaOrdenes::error);
    QVERIFY(l.mensajeError.contains(QStringLiteral("b.pla")));
    QCOMPARE(TLineaOrdenes::leer({"a.vliw", "b.vliw"}).accion, TLineaOrdenes::error);
  }
};

QTEST_GUILESS_MAIN(PruebasLineaOrdenes)
#include "PruebasLineaOrdenes.moc"
