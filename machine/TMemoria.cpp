#include "machine/TMemoria.h"

#include <chrono>

TMemoria::TMemoria()
    : generador(static_cast<uint32_t>(
          std::chrono::system_clock::now().time_since_epoch().count())) {}

bool TMemoria::accesoFalla(int32_t a) {
  if (!direccionValida(a)) return false;
  // mt19937 da la misma secuencia en cualquier plataforma; el módulo basta para 0 … 99.
  const int32_t r = static_cast<int32_t>(generador() % 100u);
  const size_t i = static_cast<size_t>(a);
  if (porcentajeFallos > r && !fallo[i]) {
    fallo[i] = true;
    return true;
  }
  fallo[i] = false;
  return false;
}
