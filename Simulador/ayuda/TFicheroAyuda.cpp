#include "Simulador/ayuda/TFicheroAyuda.h"

#include <QCollator>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

#ifndef ORVEX_DIR_DATOS_INSTALADOS
#define ORVEX_DIR_DATOS_INSTALADOS "/usr/local/share/orvex"
#endif

namespace {
const QString FIRMA = QStringLiteral("ORVEX-AYUDA 1");
const QString RUTA = QStringLiteral("Ayuda/ORVEX.HLP");

QString enLinea(int linea, const QString& motivo) {
  return QStringLiteral("línea %1: %2").arg(linea).arg(motivo);
}
}  // namespace

bool TFicheroAyuda::cargarTexto(const QString& texto, QString& error) {
  temas.clear();
  QList<TTemaAyuda> leidos;
  const QStringList lineas = texto.split(QLatin1Char('\n'));
  if (lineas.isEmpty() || lineas.first().trimmed() != FIRMA) {
    error = enLinea(1, QStringLiteral("no es un fichero de ayuda de Orvex"));
    return false;
  }
  for (qsizetype i = 1; i < lineas.size(); ++i) {
    QString linea = lineas[i];
    if (linea.endsWith(QLatin1Char('\r'))) linea.chop(1);
    const int numLinea = static_cast<int>(i) + 1;
    if (linea.startsWith(QStringLiteral("%%"))) continue;
    if (linea.startsWith(QStringLiteral("@tema"))) {
      const QString resto = linea.mid(5).trimmed();
      const qsizetype blanco = resto.indexOf(QLatin1Char(' '));
      bool ok = false;
      const int numero = resto.left(blanco < 0 ? resto.size() : blanco).toInt(&ok);
      const QString titulo = blanco < 0 ? QString() : resto.mid(blanco + 1).trimmed();
      if (!ok || numero < 0) {
        error = enLinea(numLinea, QStringLiteral("número de tema no válido"));
        return false;
      }
      if (titulo.isEmpty()) {
        error = enLinea(numLinea, QStringLiteral("el tema %1 no tiene título").arg(numero));
        return false;
      }
      if (std::any_of(leidos.cbegin(), leidos.cend(), [numero](const TTemaAyuda& t) { return t.numero == numero; })) {
        error = enLinea(numLinea, QStringLiteral("tema %1 repetido").arg(numero));
        return false;
      }
      leidos.append(TTemaAyuda{numero, titulo, {}, {}});
      continue;
    }
    if (linea.startsWith(QStringLiteral("@indice"))) {
      const QString entrada = linea.mid(7).trimmed();
      if (leidos.isEmpty() || entrada.isEmpty()) {
        error = enLinea(numLinea, QStringLiteral("entrada de índice fuera de un tema o vacía"));
        return false;
      }
      leidos.last().indice << entrada;
      continue;
    }
    if (linea.startsWith(QLatin1Char('@'))) {
      error = enLinea(numLinea, QStringLiteral("orden desconocida: %1").arg(linea.section(QLatin1Char(' '), 0, 0)));
      return false;
    }
    if (leidos.isEmpty()) {
      if (linea.trimmed().isEmpty()) continue;
      error = enLinea(numLinea, QStringLiteral("texto antes del primer tema"));
      return false;
    }
    leidos.last().cuerpo += linea + QLatin1Char('\n');
  }
  if (leidos.isEmpty()) {
    error = QStringLiteral("el fichero no tiene ningún tema");
    return false;
  }
  temas = leidos;
  error.clear();
  return true;
}

bool TFicheroAyuda::cargar(const QString& ruta, QString& error) {
  temas.clear();
  QFile fichero(ruta);
  if (!fichero.open(QIODevice::ReadOnly)) {
    error = QStringLiteral("no se puede abrir el fichero");
    return false;
  }
  return cargarTexto(QString::fromUtf8(fichero.readAll()), error);
}

const TTemaAyuda* TFicheroAyuda::tema(int numero) const {
  for (const TTemaAyuda& t : temas)
    if (t.numero == numero) return &t;
  return nullptr;
}

QList<QPair<QString, int>> TFicheroAyuda::entradasIndice() const {
  QList<QPair<QString, int>> entradas;
  for (const TTemaAyuda& t : temas)
    for (const QString& e : t.indice) entradas.append({e, t.numero});
  QCollator orden{QLocale(QLocale::Spanish, QLocale::Spain)};
  orden.setCaseSensitivity(Qt::CaseInsensitive);
  std::stable_sort(entradas.begin(), entradas.end(),
                   [&orden](const auto& a, const auto& b) { return orden.compare(a.first, b.first) < 0; });
  return entradas;
}

QString TFicheroAyuda::rutaRelativa() { return QDir::toNativeSeparators(RUTA); }

QStringList TFicheroAyuda::rutasCandidatas() {
  QStringList rutas;
  rutas << QDir::current().absoluteFilePath(RUTA);
  if (QCoreApplication::instance()) {
    const QDir programa(QCoreApplication::applicationDirPath());
    rutas << programa.absoluteFilePath(RUTA);
    // Instalación con otro prefijo: <prefijo>/bin/orvex y <prefijo>/share/orvex/Ayuda.
    rutas << QDir::cleanPath(programa.absoluteFilePath(QStringLiteral("../share/orvex/") + RUTA));
  }
  rutas << QDir(QStringLiteral(ORVEX_DIR_DATOS_INSTALADOS)).absoluteFilePath(RUTA);
  rutas.removeDuplicates();
  return rutas;
}

QString TFicheroAyuda::buscar() {
  for (const QString& ruta : rutasCandidatas())
    if (QFileInfo(ruta).isFile()) return ruta;
  return QString();
}
