#pragma once
// Vocabulario común a todo el modelo: tipos de unidad funcional, códigos de
// operación y las tablas de nombres que muestran todas las ventanas.

#include <array>
#include <cstdint>
#include <string>

enum TTipoUF : int8_t {
  tufSumaEntera = 0,
  tufMultEntera = 1,
  tufSumaFlotante = 2,
  tufMultFlotante = 3,
  tufMemoria = 4,
  tufSalto = 5,
};

constexpr int NUM_TIPOS_UF = 6;

enum TCodOp : int32_t {
  NOP = 0,
  ADDI = 1,
  ADDF = 2,
  DADDUI = 3,
  MULTI = 4,
  MULTF = 5,
  SI = 6,
  SF = 7,
  LI = 8,
  LF = 9,
  BNE = 10,
  BEQ = 11,
};

constexpr int NUM_COD_OP = 12;
// Dentro del cargador significa «el texto no es un mnemónico»; nunca se guarda.
constexpr int32_t COD_OP_NINGUNO = 12;

extern const std::array<std::string, NUM_TIPOS_UF> nombresTipoUF;
// Los mnemónicos, tomados de la tabla del juego de instrucciones (TJuegoInstrucciones).
extern const std::array<std::string, NUM_COD_OP> nombresCodOp;

// Color en formato 0xAARRGGBB. El alfa 0 significa «color por defecto» (el fondo
// estándar de ventana del sistema), que el modelo no conoce.
using TColor = uint32_t;
constexpr TColor COLOR_POR_DEFECTO = 0;
constexpr TColor colorRGB(int r, int g, int b) {
  return 0xFF000000u | (static_cast<uint32_t>(r & 0xFF) << 16) |
         (static_cast<uint32_t>(g & 0xFF) << 8) | static_cast<uint32_t>(b & 0xFF);
}

// Paleta de bloques básicos: el bloque b se pinta con la entrada b mod 6.
extern const std::array<TColor, 6> paletaBloques;
TColor colorDeBloque(int32_t bloque);
