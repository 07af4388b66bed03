#include "Simulador/aplicacion/TFicherosRecientes.h"

#include <QFileInfo>
#include <QSettings>

namespace {

const QString CLAVE = QStringLiteral("ficherosRecientes");

QSettings configuracion() { return QSettings(QStringLiteral("Orvex"), QStringLiteral("Orvex")); }

// La misma ruta escrita de dos formas es un solo fichero.
QString normalizada(const QString& ruta) { return QFileInfo(ruta).absoluteFilePath(); }

}  // namespace

TFicherosRecientes::TFicherosRecientes(QObject* padre) : QObject(padre) {
  setObjectName(QStringLiteral("ficherosRecientes"));
  // Una lista escrita a mano (o por otra versión) no puede crecer sin límite.
  for (const QString& r : configuracion().value(CLAVE).toStringList())
    if (!r.isEmpty() && !rutas.contains(normalizada(r)) && rutas.size() < MAXIMO) rutas << normalizada(r);
}

void TFicherosRecientes::anadir(const QString& ruta) {
  const QString r = normalizada(ruta);
  rutas.removeAll(r);
  rutas.prepend(r);
  while (rutas.size() > MAXIMO) rutas.removeLast();
  guardar();
}

void TFicherosRecientes::quitar(const QString& ruta) {
  if (rutas.removeAll(normalizada(ruta)) > 0) guardar();
}

void TFicherosRecientes::guardar() {
  QSettings c = configuracion();
  c.setValue(CLAVE, rutas);
  emit cambiada();
}
