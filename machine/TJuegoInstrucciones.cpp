#include "machine/TJuegoInstrucciones.h"

#include <cstring>

int32_t codigoDeMnemonico(const char* texto, size_t longitud) {
  for (int32_t c = NOP + 1; c < NUM_COD_OP; ++c) {
    const char* m = juegoInstrucciones[static_cast<size_t>(c)].mnemonico;
    if (std::strlen(m) == longitud && std::memcmp(m, texto, longitud) == 0) return c;
  }
  return COD_OP_NINGUNO;
}
