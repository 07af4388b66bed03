// Orvex: simulador docente de planificación dinámica y estática.

#include <QLocale>
#include <QTimer>
#include <cstdio>
#include <exception>

#include "Simulador/Main.h"
#include "Simulador/aplicacion/TAplicacion.h"
#include "Simulador/aplicacion/TIconos.h"
#include "Simulador/aplicacion/TLineaOrdenes.h"
#include "Simulador/aplicacion/TServicioDialogosQt.h"

int main(int argc, char** argv) {
  // Antes de crear la aplicación: la ayuda y la versión responden sin pantalla.
  switch (TLineaOrdenes::pideAyudaOVersion(argc, argv)) {
    case TLineaOrdenes::ayuda:
      std::fputs(TLineaOrdenes::textoAyuda().toLocal8Bit().constData(), stdout);
      return 0;
    case TLineaOrdenes::version:
      std::fputs(TLineaOrdenes::textoVersion().toLocal8Bit().constData(), stdout);
      return 0;
    default:
      break;
  }

  TAplicacion aplicacion(argc, argv);
  TAplicacion::setApplicationName(QStringLiteral("Orvex"));
  TAplicacion::setApplicationVersion(QStringLiteral("1.0"));
  TAplicacion::setWindowIcon(TIconos::programa());
  // Los números reales se muestran y se leen con el separador del sistema.
  QLocale::setDefault(QLocale::system());

  // Qt ya ha quitado sus propias opciones.
  const TLineaOrdenes orden = TLineaOrdenes::leer(TAplicacion::arguments().mid(1));
  if (orden.accion == TLineaOrdenes::error) {
    std::fprintf(stderr, "orvex: %s\nPruebe «orvex --help».\n", orden.mensajeError.toLocal8Bit().constData());
    return 2;
  }

  TServicioDialogosQt dialogos;
  aplicacion.setServicioDialogos(&dialogos);
  try {
    TfrmPrincipal ventana(dialogos);
    ventana.mostrar();
    // Con el bucle de eventos en marcha: la ventana ya tiene su tamaño y sus
    // mensajes, si los hay, salen encima de ella.
    if (!orden.programa.isEmpty() || !orden.programaVLIW.isEmpty())
      QTimer::singleShot(0, &ventana, [&ventana, &orden] { ventana.abrirDesdeFuera(orden.programa, orden.programaVLIW); });
    return TAplicacion::exec();
  } catch (...) {
    // Un fallo durante el arranque se muestra y termina el programa.
    TAplicacion::informarFallo(&dialogos, std::current_exception());
    return 1;
  }
}
