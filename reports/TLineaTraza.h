#pragma once
// La línea JSON que resume un ciclo: número, código de resultado, pc y, en la
// superescalar, las instrucciones confirmadas; en la VLIW, la instrucción larga
// emitida (o null).

#include <cstdint>
#include <ostream>

class TMaquinaSuper;
class TMaquinaVLIW;

class TLineaTraza {
public:
  // Tras el ciclo que devolvió «resultado»; termina la línea.
  static void escribir(std::ostream& salida, const TMaquinaSuper& maquina, int8_t resultado);
  static void escribir(std::ostream& salida, const TMaquinaVLIW& maquina, int8_t resultado);
};
