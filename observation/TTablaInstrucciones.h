#pragma once
// La tabla de libro que sale del diagrama: para cada instrucción de la
// superescalar, sus ciclos de emisión, inicio y fin de ejecución, escritura y
// confirmación; en la VLIW, para cada instrucción larga y cada operación, su
// ciclo de emisión, sus ciclos de parada y su ciclo final. −1: no llegó.

#include <cstdint>
#include <string>
#include <vector>

#include "observation/TRegistradorDiagrama.h"

struct TFilaTabla {
  int64_t secuencia = 0;  // de la instrucción o de la instrucción larga
  int32_t op = -1;        // VLIW: la operación dentro de la larga (−1 la larga)
  TClaseFila clase = filaSuper;
  int32_t pc = 0;
  std::string texto;
  int32_t emision = -1;
  // Superescalar.
  int32_t inicioEjecucion = -1;
  int32_t finEjecucion = -1;
  int32_t escritura = -1;
  int32_t confirmacion = -1;
  // VLIW: ciclos S de la larga o M de una operación; final: la W o la X de una
  // operación, la última de sus operaciones en una larga.
  int32_t paradas = 0;
  int32_t final = -1;
  // Anulada (superescalar) o descartada (operación VLIW); -1 en las dos si sigue en la máquina.
  bool anulada = false;
  bool terminada = false;
};

class TTablaInstrucciones {
public:
  // La fila de una posición de la vista del registrador.
  static TFilaTabla fila(const TRegistradorDiagrama& r, int64_t posicionVista);
  // Las filas de la vista con alguna letra entre los dos ciclos (incluidos).
  static std::vector<TFilaTabla> filas(const TRegistradorDiagrama& r, int32_t desde, int32_t hasta);
};
