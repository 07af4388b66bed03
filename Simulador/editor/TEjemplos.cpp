#include "Simulador/editor/TEjemplos.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {
// La cabecera cabe de sobra; no hace falta leer un fichero entero para un menú.
constexpr qint64 LECTURA_CABECERA = 4096;
}  // namespace

QList<TEjemplo> TEjemplos::listar(const QString& carpeta) {
  QList<TEjemplo> ejemplos;
  const QDir dir(carpeta);
  const QFileInfoList ficheros =
      dir.entryInfoList({QStringLiteral("*.pla"), QStringLiteral("*.bun")}, QDir::Files | QDir::Readable, QDir::Name);
  for (const QFileInfo& f : ficheros) {
    const QString ruta = f.absoluteFilePath();
    ejemplos.append({ruta, f.fileName(), pista(ruta), programaVLIW(ruta)});
  }
  return ejemplos;
}

QString TEjemplos::programaVLIW(const QString& ruta) {
  const QFileInfo fuente(ruta);
  const QFileInfo vliw(fuente.dir(), fuente.completeBaseName() + QStringLiteral(".vliw"));
  return vliw.isFile() ? vliw.absoluteFilePath() : QString();
}

QString TEjemplos::pista(const QString& ruta) {
  QFile f(ruta);
  if (!f.open(QIODevice::ReadOnly)) return QString();
  return pistaDe(f.read(LECTURA_CABECERA), QFileInfo(ruta).fileName());
}

QString TEjemplos::pistaDe(const QByteArray& contenido, const QString& nombre) {
  const QString primera = QString::fromUtf8(contenido).section(QLatin1Char('\n'), 0, 0).trimmed();
  if (!primera.startsWith(QStringLiteral("//"))) return QString();
  QString pista = primera.mid(2).trimmed();
  // «nombre.pla — Qué enseña.»: el nombre ya lo dice el menú.
  if (pista.startsWith(nombre)) {
    QString resto = pista.mid(nombre.size()).trimmed();
    for (const QString& separador : {QStringLiteral("—"), QStringLiteral("-"), QStringLiteral(":")})
      if (resto.startsWith(separador)) return resto.mid(separador.size()).trimmed();
  }
  return pista;
}

QStringList TEjemplos::carpetasCandidatas() {
  QStringList carpetas;
  carpetas << QDir::current().absoluteFilePath(QStringLiteral("examples"));
  if (QCoreApplication::instance()) {
    const QDir programa(QCoreApplication::applicationDirPath());
    carpetas << QDir::cleanPath(programa.absoluteFilePath(QStringLiteral("../share/orvex/ejemplos")));
  }
  carpetas << QDir(QStringLiteral(ORVEX_DIR_DATOS_INSTALADOS)).absoluteFilePath(QStringLiteral("ejemplos"));
  carpetas.removeDuplicates();
  return carpetas;
}

QString TEjemplos::buscarCarpeta() {
  for (const QString& c : carpetasCandidatas())
    if (QFileInfo(c).isDir()) return c;
  return QString();
}
