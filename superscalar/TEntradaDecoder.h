#pragma once

#include <memory>

#include "machine/TInstruccion.h"

// Entrada de la cola del decodificador: posee la copia hasta que se emite.
class TEntradaDecoder {
public:
  std::unique_ptr<TInstruccion> instruccion;
};
