#pragma once

#include <memory>

#include "machine/TInstruccion.h"

// Entrada de la cola de prefetch: posee la copia de la instrucción hasta pasarla al decodificador.
class TEntradaPrefetch {
public:
  std::unique_ptr<TInstruccion> instruccion;
};
