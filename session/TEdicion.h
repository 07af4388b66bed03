#pragma once
// Una edición que hace el usuario: qué cambió, dónde y a qué valor, y tras qué
// ciclo de la ejecución en curso (se aplica antes del ciclo siguiente).

#include <cstdint>

#include "machine/TTipos.h"

enum TTipoEdicion : int8_t {
  edRegistroEntero = 0,    // indice: registro R; entero: valor
  edRegistroFlotante = 1,  // indice: registro F; flotante: valor
  edMemoria = 2,           // indice: palabra; flotante: valor
  edPorcentajeFallos = 3,  // entero: porcentaje
  edPrediccion = 4,        // superescalar. indice: entrada; entero: estado 0 … 3
  edBreakpoint = 5,        // indice: instrucción (superescalar) o instrucción larga (VLIW); entero: 0 o 1
  edColor = 6,             // superescalar. indice: etiqueta del ROB; color: el nuevo
};

struct TEdicion {
  int32_t ciclo = 0;
  TTipoEdicion tipo = edRegistroEntero;
  int32_t indice = 0;
  int32_t entero = 0;
  float flotante = 0.0f;
  TColor color = COLOR_POR_DEFECTO;
};
