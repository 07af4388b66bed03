#pragma once
// Planificación automática frente al intérprete de referencia: configuraciones
// dentro de los límites de los diálogos (también fallos caros) y la ejecución
// de lo planificado, comparada con la secuencial. Sin GoogleTest: cada
// comprobación devuelve el primer fallo como texto, vacío si no lo hay.

#include <algorithm>
#include <cstdint>
#include <string>

#include "AyudaDiferencial.h"
#include "vliw/TPlanificadorVLIW.h"

namespace planificador {

using diferencial::TAzar;

// Unidades 1 … 10 y latencias 1 … 100, casi siempre pequeñas para que las
// ejecuciones sean cortas; la latencia de fallo por debajo, igual o por encima
// de la de memoria, a veces hasta 100, y fallos al 0, 30 o 100 %.
inline void configurar(TMaquinaVLIW& m, TAzar& azar) {
  for (auto& u : m.numUF) u = azar.siPorCiento(15) ? azar.entre32(1, 10) : azar.entre32(1, 3);
  m.numUF[tufSalto] = 1;
  for (auto& l : m.latUF) l = azar.siPorCiento(8) ? azar.entre32(1, 100) : azar.entre32(1, 8);
  const int32_t latMem = m.latUF[tufMemoria];
  switch (azar.entre(0, 4)) {
    case 0: m.latFalloCache = azar.entre32(0, latMem); break;
    case 1: m.latFalloCache = std::min(100, latMem + azar.entre32(1, 8)); break;
    case 2: m.latFalloCache = azar.entre32(latMem, 100); break;
    default: m.latFalloCache = std::min(100, latMem + azar.entre32(1, 20)); break;
  }
  const int32_t porcentajes[] = {0, 30, 100, 100};
  m.memoria.porcentajeFallos = porcentajes[azar.entre(0, 3)];
  m.memoria.sembrar(azar.palabra());
}

struct TResultado {
  std::string fallo;       // vacío si todo cuadra
  bool comparado = false;  // la referencia terminó dentro de la memoria
  bool detenido = false;   // la referencia se detuvo en un acceso fuera de la memoria
  int64_t ciclos = 0;
  int64_t ejecutadas = 0;
};

// Planifica «c» con la configuración de la máquina (ya reseteada y con sus
// valores iniciales), pasa las dos comprobaciones y ejecuta. Si la referencia
// termina en «limitePasos», la máquina acaba con sus registros y su memoria;
// si se detiene fuera de la memoria, la máquina también se detiene (quizá con
// operaciones posteriores ya hechas, así que no se comparan valores).
inline TResultado ejecutarPlanificado(TMaquinaVLIW& m, const TCodigo& c, int64_t limitePasos,
                                      int64_t ciclosSinComparar = 2000) {
  TResultado r;
  TPlanificadorVLIW planificador(m);
  const int32_t resultado = planificador.planificar(c, m);
  if (resultado != PLANIFICACION_OK) {
    r.fallo = "planificar devuelve " + std::to_string(resultado);
    return r;
  }
  if (m.comprobarConfiguracion() != CHEQUEO_OK) {
    r.fallo = "la planificación no cabe en la configuración";
    return r;
  }
  int32_t larga = 0, operacion = 0;
  const int32_t chequeo = m.comprobarCodigo(larga, operacion);
  if (chequeo != CHEQUEO_OK) {
    r.fallo = "el comprobador la rechaza: " + TMaquinaVLIW::mensajeChequeo(chequeo, larga, operacion);
    return r;
  }
  for (const TBloquePlanificado& b : planificador.bloques)
    if (b.longitud < b.cotaInferior) {
      r.fallo = "bloque " + std::to_string(b.bloque) + " más corto que su cota";
      return r;
    }

  TInterpreteReferencia ref(modoVLIW);
  ref.copiarEstado(m);
  const int8_t fin = ref.ejecutar(c, limitePasos);
  r.ejecutadas = ref.ejecutadas;
  r.comparado = fin == REFERENCIA_TERMINADA;
  r.detenido = fin == REFERENCIA_ERROR;
  // Holgada: cada instrucción ejecutada no cuesta más que un bloque entero con
  // todas sus esperas y un fallo en cada carga.
  int32_t maxBloque = 1;
  for (const TBloquePlanificado& b : planificador.bloques) maxBloque = std::max(maxBloque, b.longitud);
  const int32_t maxLat = *std::max_element(m.latUF.begin(), m.latUF.end());
  const int64_t cota = r.comparado || r.detenido
                           ? 100 + (ref.ejecutadas + 2) * (maxBloque + 2 * (maxLat + m.latFalloCache) + 2)
                           : ciclosSinComparar;

  int8_t res = CICLO_NORMAL;
  for (int64_t i = 0; i < cota && res != CICLO_COMPLETADO && res != CICLO_ERROR; ++i) {
    res = m.ejecutarCiclo();
    m.paradaBreakpoint = false;
    if (m.ciclo % 8 == 0) r.fallo = diferencial::invariantesVLIW(m);
    if (!r.fallo.empty()) return r;
  }
  r.ciclos = m.ciclo;
  if (res == CICLO_COMPLETADO) r.fallo = diferencial::natLimpios(m);
  if (!r.fallo.empty() || !(r.comparado || r.detenido)) return r;

  if (r.detenido) {
    if (res != CICLO_ERROR) r.fallo = "la referencia se detiene fuera de la memoria y la máquina da " + std::to_string(res);
    return r;
  }
  if (res != CICLO_COMPLETADO) {
    r.fallo = res == CICLO_ERROR ? "la máquina se detiene: " + m.mensajeError
                                 : "la máquina no termina en " + std::to_string(cota) + " ciclos";
    return r;
  }
  r.fallo = ref.diferenciaCon(m);
  if (r.fallo.empty()) r.fallo = diferencial::cicloDeMas(m, res, ref);
  return r;
}

inline std::string describir(const TMaquinaVLIW& m) {
  std::string s = "unidades";
  for (int32_t u : m.numUF) s += " " + std::to_string(u);
  s += ", latencias";
  for (int32_t l : m.latUF) s += " " + std::to_string(l);
  return s + ", fallo " + std::to_string(m.latFalloCache) + ", " + std::to_string(m.memoria.porcentajeFallos) + " %";
}

}  // namespace planificador
