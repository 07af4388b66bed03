#pragma once
// Las estadísticas de una ejecución como filas «magnitud, valor»: las mismas
// para la rejilla de la ventana, el texto que se copia para un informe de
// prácticas y el CSV que se exporta.

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "observation/TResumenEstadisticas.h"

enum TFormatoFila : int8_t {
  filaEntero = 0,
  filaDecimal = 1,     // tres decimales
  filaPorcentaje = 2,  // el valor es una parte de 1; se enseña por cien, con un decimal
};

struct TFilaEstadistica {
  std::string nombre;
  double valor = 0.0;
  TFormatoFila formato = filaEntero;
};

class TInformeEstadisticas {
public:
  static std::vector<TFilaEstadistica> filas(const TResumenEstadisticas& resumen);
  // El valor con el separador decimal dado (',' en la ventana, '.' en el CSV).
  static std::string valorTexto(const TFilaEstadistica& fila, char separadorDecimal);
  // Un título y una línea por fila, «magnitud: valor».
  static void escribirTexto(std::ostream& salida, const TResumenEstadisticas& resumen, char separadorDecimal = ',');
  // Cabecera «magnitud,valor» y una línea por fila, con punto decimal.
  static void escribirCSV(std::ostream& salida, const TResumenEstadisticas& resumen);
};
