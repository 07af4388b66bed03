#pragma once

#include <cstdint>

#include "machine/TInstruccion.h"

// Una operación de una instrucción larga: copia de una instrucción del programa
// secuencial colocada en una unidad y, opcionalmente, guardada por un predicado.
// En los saltos, op[2] es el índice de la instrucción larga destino.
class TOperacionVLIW : public TInstruccion {
public:
  int8_t tipoUF = 0;
  int32_t numUnidad = 0;
  int32_t predicado = 0;      // 0: incondicional
  int32_t predVerdadero = 0;  // solo saltos
  int32_t predFalso = 0;      // solo saltos

  TOperacionVLIW() = default;
  explicit TOperacionVLIW(const TInstruccion& instruccion) : TInstruccion(instruccion) {}
};
