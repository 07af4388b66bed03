#pragma once
// Una instrucción del programa secuencial tal como la deja el cargador.

#include <cstdint>
#include <string>

#include "machine/TJuegoInstrucciones.h"
#include "machine/TTipos.h"

class TInstruccion {
public:
  int32_t direccion = 0;  // posición en el programa, desde 0
  int32_t bloque = 0;     // bloque básico que la contiene
  int32_t codOp = NOP;
  int32_t op[3] = {0, 0, 0};  // significado según el código (registros, desplazamiento, bloque destino)
  std::string textoCodOp;
  std::string textoOp[3];
  std::string etiqueta;  // con sus dos puntos finales, o vacía
  bool breakpoint = false;
  TColor color = COLOR_POR_DEFECTO;  // resaltado del usuario en las vistas superescalares
  // Número de la instancia dinámica: la superescalar lo pone al buscar la copia
  // (0, 1, 2… en orden de búsqueda); −1 en el programa.
  int64_t secuencia = -1;

  // Texto de una línea: mnemónico y operandos separados por un blanco.
  std::string texto() const;
  TTipoUF tipoUnidad() const { return tipoUFDe(codOp); }
  const TDescripcionInstruccion& descripcion() const { return descripcionDe(codOp); }
};
