#include "Simulador/aplicacion/TLineaOrdenes.h"

#include <QDir>
#include <QFileInfo>
#include <cstring>

namespace {

bool esVLIW(const QString& ruta) { return ruta.endsWith(QStringLiteral(".vliw"), Qt::CaseInsensitive); }

// Un programa VLIW solo significa algo con su programa fuente: el del mismo
// nombre en su carpeta (lo que abre un doble clic sobre un *.vliw).
QString fuenteDe(const QString& vliw) {
  const QFileInfo f(vliw);
  for (const char* extension : {".pla", ".bun"}) {
    const QString candidato = f.dir().filePath(f.completeBaseName() + QLatin1String(extension));
    if (QFileInfo(candidato).isFile()) return candidato;
  }
  return {};
}

}  // namespace

TLineaOrdenes TLineaOrdenes::leer(const QStringList& argumentos) {
  TLineaOrdenes l;
  auto fallo = [&l](const QString& mensaje) {
    l.accion = error;
    l.mensajeError = mensaje;
    return l;
  };
  bool soloFicheros = false;
  for (const QString& a : argumentos) {
    if (!soloFicheros && (a == QLatin1String("--help") || a == QLatin1String("-h"))) {
      l.accion = ayuda;
      return l;
    }
    if (!soloFicheros && (a == QLatin1String("--version") || a == QLatin1String("-v"))) {
      l.accion = version;
      return l;
    }
    // Tras «--», un nombre que empiece por guion es un fichero.
    if (!soloFicheros && a == QLatin1String("--")) {
      soloFicheros = true;
      continue;
    }
    if (!soloFicheros && a.startsWith(QLatin1Char('-')) && a.size() > 1)
      return fallo(QStringLiteral("opción desconocida: %1").arg(a));
    QString& destino = esVLIW(a) ? l.programaVLIW : l.programa;
    if (!destino.isEmpty()) return fallo(QStringLiteral("sobra %1: se abre un programa fuente y un programa VLIW").arg(a));
    destino = a;
  }
  if (l.programa.isEmpty() && !l.programaVLIW.isEmpty()) l.programa = fuenteDe(l.programaVLIW);
  return l;
}

TLineaOrdenes::TAccion TLineaOrdenes::pideAyudaOVersion(int argc, const char* const* argv) {
  // Las opciones de Qt (-platform…) aún no se han quitado: solo se buscan estas.
  for (int i = 1; i < argc && std::strcmp(argv[i], "--") != 0; ++i) {
    if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) return ayuda;
    if (std::strcmp(argv[i], "--version") == 0 || std::strcmp(argv[i], "-v") == 0) return version;
  }
  return arrancar;
}

QString TLineaOrdenes::textoAyuda() {
  return QStringLiteral(
      "Uso: orvex [PROGRAMA.pla | PROGRAMA.bun] [PROGRAMA.vliw]\n"
      "\n"
      "Orvex: Simulador para Planificación Dinámica y Estática.\n"
      "\n"
      "Sin argumentos abre el simulador. Con un programa fuente lo abre como\n"
      "«Archivo, Abrir...»; con un programa VLIW, lo carga después como «Cargar\n"
      "Programa VLIW...». Un programa VLIW solo, sin su fuente, se abre con el\n"
      "programa fuente del mismo nombre de su carpeta (PROGRAMA.pla o PROGRAMA.bun).\n"
      "\n"
      "Opciones:\n"
      "  -h, --help     muestra esta ayuda y termina\n"
      "  -v, --version  muestra la versión y termina\n");
}

QString TLineaOrdenes::textoVersion() { return QStringLiteral("Orvex 1.0\n"); }
