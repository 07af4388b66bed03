#include "machine/TMaquina.h"

#include <algorithm>

TMaquina::TMaquina() { TMaquina::reset(true); }

void TMaquina::reset(bool limpiar) {
  acotarConfiguracion();
  pc = 0;
  for (int t = 0; t < NUM_TIPOS_UF; ++t) {
    auto& unidades = uf[static_cast<size_t>(t)];
    unidades.assign(static_cast<size_t>(numUF[static_cast<size_t>(t)]), TUnidadFuncional{});
    for (auto& u : unidades) {
      u.tipo = static_cast<uint8_t>(t);
      u.inicializar(latUF[static_cast<size_t>(t)]);
    }
  }
  ciclo = 0;
  paradaBreakpoint = false;
  enEjecucion = false;
  mensajeError.clear();
  if (limpiar) {
    gpr.limpiar();
    fpr.limpiar();
    memoria.limpiar();
  }
}

void TMaquina::notificarReinicio() {
  if (observador) observador->reiniciada();
}

int32_t TMaquina::totalUF() const {
  int32_t total = 0;
  for (int32_t n : numUF) total += n;
  return total;
}

void TMaquina::acotarConfiguracion() {
  for (auto& n : numUF) n = std::clamp(n, MIN_UF, MAX_UF);
  for (auto& l : latUF) l = std::clamp(l, MIN_LATENCIA, MAX_LATENCIA);
  latFalloCache = std::clamp(latFalloCache, MIN_LAT_FALLO, MAX_LAT_FALLO);
  memoria.porcentajeFallos = std::clamp(memoria.porcentajeFallos, 0, 100);
}
