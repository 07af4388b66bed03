#include "machine/TUnidadFuncional.h"

void TUnidadFuncional::inicializar(int32_t lat) {
  latencia = lat < 1 ? 1 : lat;
  salida = latencia - 1;
  ocupadas = 0;
  etapas.assign(static_cast<size_t>(latencia), nullptr);
}

void TUnidadFuncional::avanzar() {
  if (latencia <= 0) return;
  if (parada > 0) {
    --parada;
    return;
  }
  parada = 0;  // una parada negativa no debe bloquear la unidad para siempre
  TInstruccion*& s = etapas[static_cast<size_t>(salida)];
  if (s != nullptr) {
    s = nullptr;
    --ocupadas;
  }
  salida = (salida + latencia - 1) % latencia;
}

int32_t TUnidadFuncional::insertar(TInstruccion* instruccion) {
  const int32_t e = etapaEntrada();
  etapas[static_cast<size_t>(e)] = instruccion;
  if (instruccion != nullptr) ++ocupadas;
  return e;
}

void TUnidadFuncional::vaciar() {
  for (auto& e : etapas) e = nullptr;
  salida = latencia - 1;
  parada = 0;
  ocupadas = 0;
}
