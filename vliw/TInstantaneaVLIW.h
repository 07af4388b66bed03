#pragma once
// Todo el estado de la máquina VLIW en un valor comparable. Las etapas ocupadas
// se guardan como la operación del programa que tienen (instrucción larga e
// índice) con la instancia que la emitió; el programa no cambia en una ejecución.

#include <bitset>
#include <cstdint>
#include <vector>

#include "machine/TInstantaneaMaquina.h"
#include "vliw/TMaquinaVLIW.h"

class TInstantaneaVLIW : public TInstantaneaMaquina {
public:
  struct TEtapaOcupada {
    int8_t tipo = 0;
    int32_t unidad = 0;
    int32_t etapa = 0;
    TOrigenEtapa origen;
    bool operator==(const TEtapaOcupada& o) const {
      return tipo == o.tipo && unidad == o.unidad && etapa == o.etapa && origen == o.origen;
    }
  };

  std::bitset<NUM_REGISTROS> predicados, natGPR, natFPR;
  std::vector<TEtapaOcupada> etapas;
  TEstadisticasVLIW estadisticas;
  int32_t emitidaCiclo = -1;
  int64_t secuenciaEnEmision = -1;
  int64_t contadorSecuencia = 0;

  bool operator==(const TInstantaneaVLIW& o) const {
    return TInstantaneaMaquina::operator==(o) && predicados == o.predicados && natGPR == o.natGPR &&
           natFPR == o.natFPR && etapas == o.etapas && estadisticas == o.estadisticas &&
           emitidaCiclo == o.emitidaCiclo && secuenciaEnEmision == o.secuenciaEnEmision &&
           contadorSecuencia == o.contadorSecuencia;
  }
  bool operator!=(const TInstantaneaVLIW& o) const { return !(*this == o); }
  size_t tamano() const {
    size_t n = sizeof(*this) + mensajeError.size() + etapas.size() * sizeof(TEtapaOcupada);
    for (const auto& v : unidades) n += v.size() * sizeof(TInstantaneaUnidad);
    return n;
  }
};
