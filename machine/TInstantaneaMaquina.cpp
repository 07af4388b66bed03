#include "machine/TInstantaneaMaquina.h"

#include <cstring>

#include "machine/TMaquina.h"

template <size_t N>
bool mismosBits(const std::array<float, N>& a, const std::array<float, N>& b) {
  return std::memcmp(a.data(), b.data(), sizeof(float) * N) == 0;
}

template bool mismosBits(const std::array<float, NUM_REGISTROS>&, const std::array<float, NUM_REGISTROS>&);
template bool mismosBits(const std::array<float, TAM_MEMORIA>&, const std::array<float, TAM_MEMORIA>&);

bool TInstantaneaMaquina::operator==(const TInstantaneaMaquina& o) const {
  return numUF == o.numUF && latUF == o.latUF && latFalloCache == o.latFalloCache && unidades == o.unidades &&
         gpr == o.gpr && gprNuevo == o.gprNuevo && mismosBits(fpr, o.fpr) && mismosBits(fprNuevo, o.fprNuevo) &&
         gprPendiente == o.gprPendiente && fprPendiente == o.fprPendiente && mismosBits(memoria, o.memoria) &&
         fallo == o.fallo && porcentajeFallos == o.porcentajeFallos && generador == o.generador && pc == o.pc &&
         ciclo == o.ciclo && enEjecucion == o.enEjecucion && paradaBreakpoint == o.paradaBreakpoint &&
         mensajeError == o.mensajeError;
}

void TInstantaneaMaquina::capturar(const TMaquina& m) {
  numUF = m.numUF;
  latUF = m.latUF;
  latFalloCache = m.latFalloCache;
  for (size_t t = 0; t < unidades.size(); ++t) {
    auto& v = unidades[t];
    v.clear();
    for (const TUnidadFuncional& u : m.uf[t]) v.push_back({u.salida, u.parada, u.ocupadas, u.latencia});
  }
  gpr = m.gpr.valor;
  gprNuevo = m.gpr.nuevo;
  fpr = m.fpr.valor;
  fprNuevo = m.fpr.nuevo;
  for (size_t i = 0; i < NUM_REGISTROS; ++i) {
    gprPendiente[i] = m.gpr.pendiente[i];
    fprPendiente[i] = m.fpr.pendiente[i];
  }
  memoria = m.memoria.datos;
  for (size_t i = 0; i < TAM_MEMORIA; ++i) fallo[i] = m.memoria.fallo[i];
  porcentajeFallos = m.memoria.porcentajeFallos;
  generador = m.memoria.estadoGenerador();
  pc = m.pc;
  ciclo = m.ciclo;
  enEjecucion = m.enEjecucion;
  paradaBreakpoint = m.paradaBreakpoint;
  mensajeError = m.mensajeError;
}

void TInstantaneaMaquina::restaurar(TMaquina& m) const {
  m.numUF = numUF;
  m.latUF = latUF;
  m.latFalloCache = latFalloCache;
  for (size_t t = 0; t < unidades.size(); ++t) {
    auto& v = m.uf[t];
    v.assign(unidades[t].size(), TUnidadFuncional{});
    for (size_t k = 0; k < v.size(); ++k) {
      const TInstantaneaUnidad& s = unidades[t][k];
      v[k].tipo = static_cast<uint8_t>(t);
      v[k].inicializar(s.latencia);
      v[k].salida = s.salida;
      v[k].parada = s.parada;
      v[k].ocupadas = s.ocupadas;  // las etapas las pone cada máquina

    }
  }
  m.gpr.valor = gpr;
  m.gpr.nuevo = gprNuevo;
  m.fpr.valor = fpr;
  m.fpr.nuevo = fprNuevo;
  for (size_t i = 0; i < NUM_REGISTROS; ++i) {
    m.gpr.pendiente[i] = gprPendiente[i];
    m.fpr.pendiente[i] = fprPendiente[i];
  }
  m.memoria.datos = memoria;
  for (size_t i = 0; i < TAM_MEMORIA; ++i) m.memoria.fallo[i] = fallo[i];
  m.memoria.porcentajeFallos = porcentajeFallos;
  m.memoria.restaurarGenerador(generador);
  m.pc = pc;
  m.ciclo = ciclo;
  m.enEjecucion = enEjecucion;
  m.paradaBreakpoint = paradaBreakpoint;
  m.mensajeError = mensajeError;
}
