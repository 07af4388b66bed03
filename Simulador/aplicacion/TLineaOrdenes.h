#pragma once
// La línea de órdenes de orvex: «orvex [PROGRAMA.pla|.bun] [PROGRAMA.vliw]»,
// «--help» y «--version». Se lee dos veces: antes de crear la aplicación, para
// que la ayuda y la versión respondan sin pantalla, y después, con lo que Qt
// deja de ella (sus propias opciones, como -platform, ya quitadas).

#include <QString>
#include <QStringList>

class TLineaOrdenes {
public:
  enum TAccion { arrancar, ayuda, version, error };

  // «argumentos» sin el nombre del programa. Sin argumentos: arrancar, sin
  // nada que abrir, exactamente como siempre.
  static TLineaOrdenes leer(const QStringList& argumentos);
  // Solo «--help» o «--version» (lo que se mira antes de crear la aplicación).
  static TAccion pideAyudaOVersion(int argc, const char* const* argv);

  static QString textoAyuda();
  static QString textoVersion();

  TAccion accion = arrancar;
  QString programa;      // fuente *.pla o *.bun; vacío si no se da
  QString programaVLIW;  // *.vliw; vacío si no se da
  QString mensajeError;  // con accion == error
};
