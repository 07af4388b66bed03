#include "machine/TTipos.h"

#include "machine/TJuegoInstrucciones.h"

const std::array<std::string, NUM_TIPOS_UF> nombresTipoUF = {
    "+Entera", "xEntera", "+Flotante", "xFlotante", "Mem", "Salto"};

const std::array<std::string, NUM_COD_OP> nombresCodOp = [] {
  std::array<std::string, NUM_COD_OP> nombres;
  for (size_t c = 0; c < nombres.size(); ++c) nombres[c] = juegoInstrucciones[c].mnemonico;
  return nombres;
}();

const std::array<TColor, 6> paletaBloques = {
    colorRGB(0, 239, 208),  colorRGB(136, 208, 239), colorRGB(68, 208, 68),
    colorRGB(0, 208, 239),  colorRGB(136, 239, 208), colorRGB(136, 239, 68)};

TColor colorDeBloque(int32_t bloque) {
  int32_t i = bloque % 6;
  if (i < 0) i += 6;
  return paletaBloques[static_cast<size_t>(i)];
}
