#pragma once
// Los registros y la memoria con los que empieza una ejecución, para empezar
// otra igual en otra máquina.

#include <array>
#include <cstdint>

#include "machine/TInstantaneaMaquina.h"
#include "machine/TMaquina.h"

struct TDatosIniciales {
  std::array<int32_t, NUM_REGISTROS> gpr{};
  std::array<float, NUM_REGISTROS> fpr{};
  std::array<float, TAM_MEMORIA> memoria{};

  static TDatosIniciales de(const TMaquina& maquina);
  static TDatosIniciales de(const TInstantaneaMaquina& instantanea);
  // Valores, sin marcas pendientes; R0 queda a 0.
  void ponerEn(TMaquina& maquina) const;
};
