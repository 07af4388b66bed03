#pragma once
// Analizador léxico de los ficheros fuente (*.pla, *.bun). Clasifica palabras,
// registros, inmediatos, direcciones, etiquetas y el número de instrucciones;
// descarta todo lo demás. Toma la coincidencia más larga y, a igual longitud,
// el patrón que va antes en TToken.

#include <cstddef>
#include <string>

enum TToken : int {
  tokFin = 0,
  tokInmediato = 1,  // "#" y dígitos
  tokRegF = 2,       // F o f y dígitos
  tokRegR = 3,       // R o r y dígitos
  tokIdent = 4,      // letra y letras o dígitos
  tokEtiqueta = 5,   // identificador seguido de ":"
  tokDireccion = 6,  // dígitos opcionales, "(", R o r, dígitos, ")"
  tokNumero = 7,     // dígitos al principio de una línea
};

struct TLexema {
  TToken token = tokFin;
  std::string texto;
  int linea = 1;  // línea donde empieza, desde 1; la del último token para tokFin
  // Columna en bytes donde empieza, desde 1; para tokFin, la que sigue al último
  // token. Con el texto, sitúa el token en el fuente (el editor subraya los errores).
  int columna = 1;
};

class TScanner {
public:
  // Lee el fichero entero y empieza desde cero. false si no se puede abrir.
  bool abrir(const std::string& nombreFichero);
  // Igual que abrir, sobre un texto en memoria.
  void abrirTexto(std::string texto);
  TLexema siguiente();
  void cerrar();

private:
  std::string buffer;
  size_t pos = 0;
  bool inicioLinea = true;
  int linea = 1;
  int lineaUltimo = 1;  // el fin de fichero se sitúa en la línea del último token
  size_t posLinea = 0;  // posición donde empieza la línea actual
  int columnaTrasUltimo = 1;
};
