#include "vliw/TCodigoVLIW.h"

TInstruccionLarga* TCodigoVLIW::instruccion(int64_t i) {
  if (i < 0 || i >= numInstrucciones) return nullptr;
  return &instrucciones[static_cast<size_t>(i)];
}

const TInstruccionLarga* TCodigoVLIW::instruccion(int64_t i) const {
  if (i < 0 || i >= numInstrucciones) return nullptr;
  return &instrucciones[static_cast<size_t>(i)];
}

void TCodigoVLIW::borrar() {
  instrucciones.clear();
  numInstrucciones = 0;
}

void TCodigoVLIW::crear(int32_t n) {
  borrar();
  if (n <= 0) return;
  instrucciones.resize(static_cast<size_t>(n));
  numInstrucciones = n;
}

bool TCodigoVLIW::cargar(const std::string&, const TCodigo&) {
  borrar();
  return false;
}

bool TCodigoVLIW::guardar(const std::string&) const { return false; }
