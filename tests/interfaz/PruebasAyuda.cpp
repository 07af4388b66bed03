// El fichero de ayuda y su visor.

#include <QListWidget>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTabWidget>
#include <QToolButton>
#include <QTextBrowser>
#include <QtTest>

#include "Simulador/ayuda/TFicheroAyuda.h"
#include "Simulador/ayuda/TfrmAyuda.h"

namespace {
const QString RUTA_AYUDA = QStringLiteral(ORVEX_DIR_FUENTES "/Ayuda/ORVEX.HLP");

const char* const EJEMPLO = R"(ORVEX-AYUDA 1
%% comentario
@tema 0 Contenido
@indice inicio
<p>Vea <a href="tema:7">el siete</a>.</p>
@tema 7 Menú Ventana
@indice ventanas; mosaico
@indice Cascada
<p>Siete.</p>
)";
}  // namespace

class PruebasAyuda : public QObject {
  Q_OBJECT
private slots:
  void leeTemasIndiceYCuerpo() {
    TFicheroAyuda f;
    QString error;
    QVERIFY2(f.cargarTexto(QString::fromUtf8(EJEMPLO), error), qPrintable(error));
    QCOMPARE(f.temas.size(), 2);
    QCOMPARE(f.tema(7)->titulo, QStringLiteral("Menú Ventana"));
    QCOMPARE(f.tema(7)->indice, QStringList({QStringLiteral("ventanas; mosaico"), QStringLiteral("Cascada")}));
    QVERIFY(f.tema(0)->cuerpo.contains(QStringLiteral("tema:7")));
    QVERIFY(!f.tema(3));
    // El índice, en orden alfabético sin distinguir mayúsculas.
    const auto entradas = f.entradasIndice();
    QCOMPARE(entradas.size(), 3);
    QCOMPARE(entradas[0].first, QStringLiteral("Cascada"));
    QCOMPARE(entradas[0].second, 7);
  }

  void rechazaFicherosMalFormados_data() {
    QTest::addColumn<QString>("texto");
    QTest::addColumn<QString>("motivo");
    QTest::newRow("sin firma") << "@tema 1 Uno\n" << "línea 1:";
    QTest::newRow("número") << "ORVEX-AYUDA 1\n@tema x Uno\n" << "línea 2: número de tema no válido";
    QTest::newRow("sin título") << "ORVEX-AYUDA 1\n@tema 4\n" << "línea 2: el tema 4 no tiene título";
    QTest::newRow("repetido") << "ORVEX-AYUDA 1\n@tema 4 A\n@tema 4 B\n" << "línea 3: tema 4 repetido";
    QTest::newRow("texto suelto") << "ORVEX-AYUDA 1\nhola\n@tema 1 A\n" << "línea 2: texto antes del primer tema";
    QTest::newRow("orden") << "ORVEX-AYUDA 1\n@tema 1 A\n@titulo B\n" << "línea 3: orden desconocida: @titulo";
    QTest::newRow("vacío") << "ORVEX-AYUDA 1\n" << "ningún tema";
  }
  void rechazaFicherosMalFormados() {
    QFETCH(QString, texto);
    QFETCH(QString, motivo);
    TFicheroAyuda f;
    QString error;
    QVERIFY(!f.cargarTexto(texto, error));
    QVERIFY2(error.contains(motivo), qPrintable(error));
    QVERIFY(f.temas.isEmpty());
  }

  // La ayuda que se distribuye: tiene los temas de cada ventana, menú y barra,
  // todos sus enlaces llevan a temas que existen y cada tema está en el índice.
  void laAyudaDistribuidaEsCompleta() {
    TFicheroAyuda f;
    QString error;
    QVERIFY2(f.cargar(RUTA_AYUDA, error), qPrintable(error));
    for (int n : {0, 1, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 21}) QVERIFY2(f.tema(n), qPrintable(QString::number(n)));
    const QRegularExpression enlace(QStringLiteral("href=\"tema:(\\d+)\""));
    for (const TTemaAyuda& t : f.temas) {
      QVERIFY2(t.numero == 0 || !t.indice.isEmpty(), qPrintable(t.titulo));
      QVERIFY2(t.cuerpo.size() > 200, qPrintable(t.titulo));
      for (auto it = enlace.globalMatch(t.cuerpo); it.hasNext();) {
        const int destino = it.next().captured(1).toInt();
        QVERIFY2(f.tema(destino), qPrintable(QStringLiteral("%1 -> %2").arg(t.numero).arg(destino)));
      }
    }
  }

  void visorMuestraTemasContenidoYBusqueda() {
    QTemporaryDir dir;
    const QString ruta = dir.filePath(QStringLiteral("ORVEX.HLP"));
    QFile fichero(ruta);
    QVERIFY(fichero.open(QIODevice::WriteOnly));
    fichero.write(EJEMPLO);
    fichero.close();

    TfrmAyuda visor;
    QString error;
    QVERIFY(visor.cargar(ruta, error));
    QCOMPARE(visor.lstContenido->count(), 2);
    QVERIFY(visor.mostrarTema(7));
    QCOMPARE(visor.temaActual(), 7);
    QVERIFY(visor.txtTema->toPlainText().contains(QStringLiteral("Siete.")));
    // Un tema que no existe lleva al contenido.
    QVERIFY(!visor.mostrarTema(99));
    QCOMPARE(visor.temaActual(), 0);
    // Un enlace del cuerpo abre su tema; Atrás vuelve.
    emit visor.txtTema->anchorClicked(QUrl(QStringLiteral("tema:7")));
    QCOMPARE(visor.temaActual(), 7);
    visor.butAtras->click();
    QCOMPARE(visor.temaActual(), 0);
    visor.butAdelante->click();
    QCOMPARE(visor.temaActual(), 7);

    // Búsqueda con clave vacía: todas las entradas del índice.
    visor.mostrarBusqueda(QString());
    QCOMPARE(visor.tabs->currentIndex(), 1);
    QCOMPARE(visor.lstIndice->count(), 3);
    // El filtro no distingue mayúsculas ni acentos.
    visor.txtBuscar->setText(QStringLiteral("CÁSCADA"));
    QCOMPARE(visor.lstIndice->count(), 1);
    QTest::keyClick(visor.txtBuscar, Qt::Key_Return);
    QCOMPARE(visor.temaActual(), 7);

    visor.mostrarComoUsar();
    QCOMPARE(visor.temaActual(), int(TfrmAyuda::TEMA_COMO_USAR));
    QVERIFY(visor.txtTema->toPlainText().contains(QStringLiteral("Cómo usar la Ayuda")));
  }

  void rutasDeBusqueda() {
    const QStringList rutas = TFicheroAyuda::rutasCandidatas();
    QVERIFY(rutas.size() >= 2);
    QCOMPARE(rutas.first(), QDir::current().absoluteFilePath(QStringLiteral("Ayuda/ORVEX.HLP")));
    QVERIFY(rutas.contains(QDir(QCoreApplication::applicationDirPath()).absoluteFilePath(QStringLiteral("Ayuda/ORVEX.HLP"))));
    QVERIFY(rutas.last().endsWith(QStringLiteral("orvex/Ayuda/ORVEX.HLP")));
  }
};

QTEST_MAIN(PruebasAyuda)
#include "PruebasAyuda.moc"
