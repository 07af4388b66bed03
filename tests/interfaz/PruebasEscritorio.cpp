// Lo que se instala para el escritorio: los tipos de los ficheros de Orvex (el
// XML de shared-mime-info) y la entrada que los declara, para que un doble clic
// en un gestor de ficheros abra el programa con ellos.

#include <QFile>
#include <QMimeDatabase>
#include <QRegularExpression>
#include <QtTest>

class PruebasEscritorio : public QObject {
  Q_OBJECT

  QString lineaDeLaEntrada(const QString& clave) {
    QFile f(QStringLiteral(ORVEX_DIR_FUENTES "/Simulador/orvex.desktop"));
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text)) return {};
    for (const QString& linea : QString::fromUtf8(f.readAll()).split(QLatin1Char('\n')))
      if (linea.startsWith(clave + QLatin1Char('='))) return linea.mid(clave.size() + 1);
    return {};
  }

private slots:
  // Con solo el XML instalado (la prueba apunta XDG_DATA_DIRS a una copia), cada
  // extensión es su tipo, y *.pla gana a otros tipos del sistema con esa extensión.
  void tiposDeLosFicheros() {
    const QMimeDatabase tipos;
    const QList<QPair<QString, QString>> esperados = {{"p.pla", "text/x-orvex-fuente"},
                                                      {"p.bun", "text/x-orvex-bundles"},
                                                      {"p.vliw", "text/x-orvex-vliw"}};
    for (const auto& [fichero, tipo] : esperados) {
      const QMimeType t = tipos.mimeTypeForFile(fichero, QMimeDatabase::MatchExtension);
      QCOMPARE(t.name(), tipo);
      QVERIFY(t.inherits(QStringLiteral("text/plain")));
    }
  }

  // La entrada de escritorio declara los tres tipos y recibe los ficheros.
  void entradaDeEscritorio() {
    const QStringList mime = lineaDeLaEntrada(QStringLiteral("MimeType")).split(QLatin1Char(';'), Qt::SkipEmptyParts);
    QCOMPARE(mime, QStringList({"text/x-orvex-fuente", "text/x-orvex-bundles", "text/x-orvex-vliw"}));
    QCOMPARE(lineaDeLaEntrada(QStringLiteral("Exec")), QStringLiteral("orvex %F"));
  }
};

QTEST_GUILESS_MAIN(PruebasEscritorio)
#include "PruebasEscritorio.moc"
