#include "Simulador/aplicacion/TAplicacion.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <QWidget>
#include <cstdio>

#include "Simulador/aplicacion/TServicioDialogos.h"

TAplicacion::TAplicacion(int& argc, char** argv) : QApplication(argc, argv) { instalarTraducciones(); }

bool TAplicacion::instalarTraducciones() {
  // En español aunque el sistema no lo esté: la interfaz entera lo está.
  auto* traductor = new QTranslator(QCoreApplication::instance());
  if (!traductor->load(QLocale(QLocale::Spanish, QLocale::Spain), QStringLiteral("qtbase"), QStringLiteral("_"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete traductor;
    return false;
  }
  QCoreApplication::installTranslator(traductor);
  return true;
}

bool TAplicacion::notify(QObject* receptor, QEvent* evento) {
  // Una excepción no debe cruzar el código de Qt: se detiene aquí.
  try {
    return QApplication::notify(receptor, evento);
  } catch (...) {
    informarFallo(dialogos, std::current_exception());
    return false;
  }
}

QString TAplicacion::textoFallo(std::exception_ptr fallo) {
  try {
    if (fallo) std::rethrow_exception(fallo);
  } catch (const std::exception& e) {
    const QString texto = QString::fromLocal8Bit(e.what());
    if (!texto.isEmpty()) return texto;
  } catch (...) {
  }
  return QStringLiteral("Error inesperado");
}

void TAplicacion::informarFallo(TServicioDialogos* servicio, std::exception_ptr fallo) {
  const QString texto = textoFallo(fallo);
  if (servicio) servicio->mensaje(QApplication::activeWindow(), texto);
  else std::fprintf(stderr, "%s\n", texto.toLocal8Bit().constData());
}
