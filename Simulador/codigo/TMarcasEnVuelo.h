#pragma once
// Dónde está una máquina en el código secuencial tras un ciclo: lo que la
// rejilla del código y el editor de código marcan durante una ejecución. Son
// números de instrucción del programa cargado, siempre dentro de él.

#include <cstdint>
#include <vector>

class TMaquinaSuper;
class TMaquinaVLIW;

struct TMarcasEnVuelo {
  // Bits de la marca de una instrucción.
  static constexpr uint8_t SIGUIENTE = 1;   // la que se buscará (superescalar) o la que espera emitirse (VLIW)
  static constexpr uint8_t CONFIRMADA = 2;  // confirmada en el último ciclo (superescalar)

  std::vector<int32_t> siguientes;
  std::vector<int32_t> confirmadas;

  bool vacias() const { return siguientes.empty() && confirmadas.empty(); }
  // Las listas son de unas pocas instrucciones: buscar en ellas es lo barato.
  uint8_t marca(int32_t instruccion) const;
  // La primera y la última instrucción marcadas; false si no hay ninguna.
  bool extension(int32_t& primera, int32_t& ultima) const;
  bool operator==(const TMarcasEnVuelo& otras) const;
  bool operator!=(const TMarcasEnVuelo& otras) const { return !(*this == otras); }

  // Sin una ejecución en curso no hay nada en vuelo.
  static TMarcasEnVuelo de(const TMaquinaSuper& maquina);
  // Las operaciones de la instrucción larga en «pc». Un programa VLIW hecho
  // para otro programa secuencial puede nombrar instrucciones que no existen:
  // se quedan sin marca.
  static TMarcasEnVuelo de(const TMaquinaVLIW& maquina, int32_t numInstrucciones);
};
