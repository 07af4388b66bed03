#include "machine/TTipos.h"

#include <cstring>

#include "machine/TJuegoInstrucciones.h"

const std::array<std::string, NUM_TIPOS_UF> nombresTipoUF = {
    "+Entera", "xEntera", "+Flotante", "xFlotante", "Mem", "Salto"};

const std::array<std::string, NUM_COD_OP> nombresCodOp = [] {
  std::array<std::string, NUM_COD_OP> nombres;
  for (size_t c = 0; c < nombres.size(); ++c) nombres[c] = juegoInstrucciones[c].mnemonico;
  return nombres;
}();

int32_t codigoDeMnemonico(const char* texto, size_t longitud) {
  for (int32_t c = NOP + 1; c < NUM_COD_OP; ++c) {
    const char* m = juegoInstrucciones[static_cast<size_t>(c)].mnemonico;
    if (std::strlen(m) == longitud && std::memcmp(m, texto, longitud) == 0) return c;
  }
  return COD_OP_NINGUNO;
}

const std::array<TColor, 6> paletaBloques = {
    colorRGB(0, 239, 208),  colorRGB(136, 208, 239), colorRGB(68, 208, 68),
    colorRGB(0, 208, 239),  colorRGB(136, 239, 208), colorRGB(136, 239, 68)};

TColor colorDeBloque(int32_t bloque) {
  int32_t i = bloque % 6;
  if (i < 0) i += 6;
  return paletaBloques[static_cast<size_t>(i)];
}
