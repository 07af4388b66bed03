// Orvex: simulador docente de planificación dinámica y estática.

#include <QLocale>
#include <exception>

#include "Simulador/Main.h"
#include "Simulador/aplicacion/TAplicacion.h"
#include "Simulador/aplicacion/TIconos.h"
#include "Simulador/aplicacion/TServicioDialogosQt.h"

int main(int argc, char** argv) {
  TAplicacion aplicacion(argc, argv);
  TAplicacion::setApplicationName(QStringLiteral("Orvex"));
  TAplicacion::setApplicationVersion(QStringLiteral("1.0"));
  TAplicacion::setWindowIcon(TIconos::programa());
  // Los números reales se muestran y se leen con el separador del sistema.
  QLocale::setDefault(QLocale::system());

  TServicioDialogosQt dialogos;
  aplicacion.setServicioDialogos(&dialogos);
  try {
    TfrmPrincipal ventana(dialogos);
    ventana.mostrar();
    return TAplicacion::exec();
  } catch (...) {
    // Un fallo durante el arranque se muestra y termina el programa.
    TAplicacion::informarFallo(&dialogos, std::current_exception());
    return 1;
  }
}
