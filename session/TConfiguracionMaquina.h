#pragma once
// La configuración de una máquina como un valor: lo que se copia para
// ejecutar el mismo programa en otra máquina sin tocar la de la ventana
// (comparar las dos máquinas, explorar un parámetro en un hilo de trabajo).

#include <array>
#include <cstdint>
#include <string>

#include "machine/TMaquina.h"

class TMaquinaSuper;

struct TConfiguracionMaquina {
  std::array<int32_t, NUM_TIPOS_UF> numUF = NUM_UF_DEFECTO;
  std::array<int32_t, NUM_TIPOS_UF> latUF = LAT_UF_DEFECTO;
  int32_t latFalloCache = LAT_FALLO_DEFECTO;
  int32_t porcentajeFallos = 0;
  int32_t emision = 4;  // solo superescalar

  static TConfiguracionMaquina de(const TMaquina& maquina);
  static TConfiguracionMaquina de(const TMaquinaSuper& maquina);
  // Configura sin resetear: la máquina se dimensiona en su próximo reset.
  void ponerEn(TMaquina& maquina) const;
  void ponerEn(TMaquinaSuper& maquina) const;
  // "unidades 2,2,2,2,2,1; latencias 1,2,4,6,4,2; fallo de caché 9 (0 %)", y la emisión en la superescalar.
  std::string texto(bool superescalar) const;
};
