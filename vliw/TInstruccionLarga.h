#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "vliw/TOperacionVLIW.h"

// Operaciones que la máquina VLIW emite juntas, en el orden en que se prueban y emiten.
class TInstruccionLarga {
public:
  std::vector<std::unique_ptr<TOperacionVLIW>> operaciones;
  bool breakpoint = false;
  // Línea del fichero *.vliw en que empieza, para los mensajes; 0 si no viene de uno.
  int32_t linea = 0;

  void anadir(std::unique_ptr<TOperacionVLIW> operacion) { operaciones.push_back(std::move(operacion)); }
  int32_t numOperaciones() const { return static_cast<int32_t>(operaciones.size()); }
};
