#include "session/TComparacionPlanificacion.h"

#include <sstream>

#include "machine/TInstantaneaMaquina.h"
#include "observation/TRecolectorEstadisticas.h"
#include "session/TSesionVLIW.h"
#include "vliw/TPlanificadorVLIW.h"

double TEjecucionPlanificada::densidad() const {
  return instruccionesLargas > 0 ? static_cast<double>(operaciones) / instruccionesLargas : 0.0;
}

double TEjecucionPlanificada::operacionesPorEmitida() const {
  const int64_t emitidas = estadisticas.instruccionesEmitidas;
  return emitidas > 0 ? static_cast<double>(estadisticas.operacionesEjecutadas + estadisticas.operacionesDescartadas) /
                            static_cast<double>(emitidas)
                      : 0.0;
}

int32_t TComparacionPlanificacion::operacionesDe(const TCodigoVLIW& programa) {
  int32_t n = 0;
  for (int32_t i = 0; i < programa.numInstrucciones; ++i)
    if (const TInstruccionLarga* larga = programa.instruccion(i)) n += larga->numOperaciones();
  return n;
}

void TComparacionPlanificacion::comparar(const TMaquinaVLIW& maquina, const TCodigo& secuencial, bool limpiar,
                                         uint32_t semilla, int32_t limiteCiclos) {
  // El programa del alumno se copia por su forma escrita, la de los *.vliw.
  std::stringstream texto;
  maquina.codigo.guardar(texto);
  ejecutar(
      maquina, secuencial,
      [&](TMaquinaVLIW& m) {
        return m.codigo.cargar(texto, secuencial) ? SESION_OK : SESION_SIN_PROGRAMA;
      },
      limpiar, semilla, limiteCiclos, alumno);
  ejecutar(
      maquina, secuencial, [&](TMaquinaVLIW& m) { return TPlanificadorVLIW(m).planificar(secuencial, m); }, limpiar,
      semilla, limiteCiclos, automatica);
}

void TComparacionPlanificacion::ejecutar(const TMaquinaVLIW& origen, const TCodigo& secuencial,
                                         const std::function<int32_t(TMaquinaVLIW&)>& programar, bool limpiar,
                                         uint32_t semilla, int32_t limiteCiclos, TEjecucionPlanificada& destino) {
  destino = TEjecucionPlanificada{};
  destino.maquina = std::make_unique<TMaquinaVLIW>();
  TMaquinaVLIW& m = *destino.maquina;
  // La parte común (configuración, registros, memoria) de la original; su
  // ejecución, si la hay, no cuenta: se empieza de nuevo.
  TInstantaneaMaquina estado;
  estado.capturar(origen);
  estado.restaurar(m);
  m.enEjecucion = false;
  m.paradaBreakpoint = false;
  m.predicados = origen.predicados;
  m.natGPR = origen.natGPR;
  m.natFPR = origen.natFPR;
  destino.inicio = programar(m);
  if (destino.inicio != SESION_OK) return;
  // Los breakpoints del alumno no detienen la comparación.
  for (TInstruccionLarga& larga : m.codigo.instrucciones) larga.breakpoint = false;
  destino.instruccionesLargas = m.codigo.numInstrucciones;
  destino.operaciones = operacionesDe(m.codigo);

  // Las operaciones descartadas son la pista del veredicto.
  TRecolectorEstadisticas recolector(m);
  m.observador = &recolector;
  TSesionVLIW sesion(m);
  destino.inicio = sesion.iniciar(limpiar, semilla);
  if (destino.inicio == SESION_OK) {
    destino.inicial = sesion.estadoInicial();
    sesion.ejecutar(limiteCiclos, false);
  }
  m.observador = nullptr;
  if (destino.inicio != SESION_OK) return;
  destino.terminada = sesion.estado() == estTerminada;
  destino.veredicto = TComprobacionResultado::comprobar(secuencial, destino.inicial, {}, m, destino.terminada,
                                                        recolector.descartadas());
  if (sesion.estado() == estError) destino.error = m.mensajeError;
  destino.ciclos = m.ciclo;
  destino.estadisticas = m.estadisticas;
}
