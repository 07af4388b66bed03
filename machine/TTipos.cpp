#include "machine/TTipos.h"

const std::array<std::string, NUM_TIPOS_UF> nombresTipoUF = {
    "+Entera", "xEntera", "+Flotante", "xFlotante", "Mem", "Salto"};

const std::array<std::string, NUM_COD_OP> nombresCodOp = {
    "NOP", "ADDI", "ADDF", "DADDUI", "MULTI", "MULTF", "SI", "SF", "LI", "LF", "BNE", "BEQ"};

TTipoUF tipoUFDe(int32_t codOp) {
  switch (codOp) {
    case ADDF: return tufSumaFlotante;
    case MULTI: return tufMultEntera;
    case MULTF: return tufMultFlotante;
    case SI:
    case SF:
    case LI:
    case LF: return tufMemoria;
    case BNE:
    case BEQ: return tufSalto;
    default: return tufSumaEntera;
  }
}

const std::array<TColor, 6> paletaBloques = {
    colorRGB(0, 239, 208),  colorRGB(136, 208, 239), colorRGB(68, 208, 68),
    colorRGB(0, 208, 239),  colorRGB(136, 239, 208), colorRGB(136, 239, 68)};

TColor colorDeBloque(int32_t bloque) {
  int32_t i = bloque % 6;
  if (i < 0) i += 6;
  return paletaBloques[static_cast<size_t>(i)];
}
