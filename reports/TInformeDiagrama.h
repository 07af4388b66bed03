#pragma once
// El diagrama instrucción × ciclo guardado por un registrador, escrito para
// fuera: líneas JSON (orvex-run --timeline), un gráfico de texto, CSV del
// diagrama y de la tabla de instrucciones y una imagen SVG. Todo se limita a
// un intervalo de ciclos: las filas se recortan a él y las que no tienen ahí
// ninguna letra no salen.

#include <climits>
#include <cstdint>
#include <ostream>

class TRegistradorDiagrama;

struct TIntervaloCiclos {
  int32_t desde = 0;
  int32_t hasta = INT32_MAX;
};

class TInformeDiagrama {
public:
  // Una línea por fila en orden de secuencia: seq, pc, first, stages, text y,
  // si esperó, waits (desde, hasta y motivo); en la VLIW, ops en orden de tipo
  // de unidad y número de unidad.
  static void escribirJSON(std::ostream& salida, const TRegistradorDiagrama& r, TIntervaloCiclos intervalo = {});
  // El texto de cada instrucción y una columna por ciclo.
  static void escribirTexto(std::ostream& salida, const TRegistradorDiagrama& r, TIntervaloCiclos intervalo = {});
  static void escribirCSV(std::ostream& salida, const TRegistradorDiagrama& r, TIntervaloCiclos intervalo = {});
  static void escribirTablaCSV(std::ostream& salida, const TRegistradorDiagrama& r, TIntervaloCiclos intervalo = {});
  static void escribirSVG(std::ostream& salida, const TRegistradorDiagrama& r, TIntervaloCiclos intervalo = {});

  // El intervalo dado, recortado a los ciclos observados (desde > hasta si no
  // queda ninguno).
  static TIntervaloCiclos ajustar(const TRegistradorDiagrama& r, TIntervaloCiclos intervalo);
};
