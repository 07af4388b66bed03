#pragma once
// Toda edición del usuario sobre una máquina (registros, memoria, el color de
// una instrucción en vuelo, breakpoints, porcentaje de fallos) pasa por aquí en
// lugar de escribir la máquina desde la vista: quien la implementa puede
// apuntar cada edición con su ciclo para repetir la ejecución. Las vistas la
// reciben al crearse.

#include <cstdint>

class TEdicionMaquina {
public:
  virtual ~TEdicionMaquina() = default;

  // Un índice fuera del banco o de la memoria no escribe nada.
  virtual void escribirRegistroEntero(int32_t registro, int32_t valor) = 0;
  virtual void escribirRegistroReal(int32_t registro, float valor) = 0;
  virtual void escribirMemoria(int32_t direccion, float valor) = 0;
  // Color de la instrucción en vuelo de esa entrada del reorder buffer; solo
  // la máquina superescalar tiene colores.
  virtual void colorearEnVuelo(int32_t etiquetaROB, uint32_t color) = 0;
  // Breakpoint de una instrucción del programa que ejecuta la máquina: la
  // secuencial en la superescalar, la instrucción larga en la VLIW.
  virtual void cambiarBreakpoint(int32_t instruccion, bool marca) = 0;
  virtual void cambiarPorcentajeFallos(int32_t porcentaje) = 0;
};
