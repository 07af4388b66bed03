#pragma once

#include <cstdint>

#include "machine/TInstruccion.h"

// Entrada de una estación de reserva. La instrucción pertenece a su entrada del ROB.
class TEntradaER {
public:
  TInstruccion* instruccion = nullptr;
  int32_t qj = -1;  // etiqueta del ROB que producirá el operando j; -1 si vj ya vale
  int32_t qk = -1;
  float vj = 0.0f;
  float vk = 0.0f;
  int32_t a = -1;       // desplazamiento y luego dirección efectiva; bloque destino en saltos
  int32_t tagROB = -1;
  int32_t uf = -1;      // unidad que la tiene: j de su tipo, numUF[Mem] + i para la ALU de direcciones i
  int32_t etapaUF = 0;  // etapa de esa unidad donde se insertó
};
