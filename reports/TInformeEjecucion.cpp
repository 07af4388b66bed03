#include "reports/TInformeEjecucion.h"

#include <cstdio>

#include "reports/TComprobacionResultado.h"
#include "reports/TEscritorJSON.h"
#include "reports/TEstadoJSON.h"
#include "superscalar/TMaquinaSuper.h"
#include "vliw/TMaquinaVLIW.h"

namespace {

std::string decimal(double v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.3f", v);
  return buf;
}

// Instrucciones (u operaciones) por ciclo; 0 sin ciclos.
double porCiclo(int64_t n, const TMaquina& m) {
  return m.ciclo > 0 ? static_cast<double>(n) / static_cast<double>(m.ciclo) : 0.0;
}

// Lo que abre el objeto JSON: máquina, resultado, ciclos, error, registros y memoria.
void cabeceraJSON(TEscritorJSON& j, const TMaquina& m, bool superescalar, TFinalEjecucion final) {
  j.abrirObjeto();
  j.clave("machine");
  j.valor(superescalar ? "super" : "vliw");
  j.clave("result");
  j.valor(final == finCompletado ? "completed" : final == finMaxCiclos ? "max-cycles" : "error");
  j.clave("cycles");
  j.valor(static_cast<int64_t>(m.ciclo));
  if (final == finError) {
    j.clave("error");
    j.valor(m.mensajeError);
  }
  j.clave("gpr");
  j.abrirLista();
  for (int32_t v : m.gpr.valor) j.valor(static_cast<int64_t>(v));
  j.cerrarLista();
  j.clave("fpr");
  j.abrirLista();
  for (float v : m.fpr.valor) j.valorFlotante(v);
  j.cerrarLista();
  j.clave("memory");
  j.abrirObjeto();
  for (int i = 0; i < TAM_MEMORIA; ++i) {
    const float v = m.memoria.datos[static_cast<size_t>(i)];
    if (v == 0.0f) continue;
    j.clave(std::to_string(i));
    j.valorFlotante(v);
  }
  j.cerrarObjeto();
}

void contador(TEscritorJSON& j, const char* nombre, int64_t v) {
  j.clave(nombre);
  j.valor(v);
}

void cerrarJSON(std::ostream& salida, TEscritorJSON& j, double rendimiento, const TVeredicto* verificacion) {
  j.clave("ipc");
  j.valorFlotante(static_cast<float>(rendimiento));
  j.cerrarObjeto();  // stats
  if (verificacion != nullptr) TInformeEjecucion::escribirVeredictoJSON(j, *verificacion);
  j.cerrarObjeto();
  salida << '\n';
}

void resultadoTexto(std::ostream& salida, const TMaquina& m, bool superescalar, TFinalEjecucion final) {
  salida << "Máquina: " << (superescalar ? "superescalar" : "VLIW") << '\n';
  switch (final) {
    case finCompletado: salida << "Resultado: ejecución completada en " << m.ciclo << " ciclos\n"; break;
    case finMaxCiclos:
      salida << "Resultado: sin terminar tras " << m.ciclo << " ciclos (límite de --max-cycles)\n";
      break;
    case finError: salida << "Resultado: ejecución detenida por un error en el ciclo " << m.ciclo << '\n'; break;
  }
}

// Registros y memoria distintos de cero, o la frase que dice que no hay ninguno.
void valoresTexto(std::ostream& salida, const TMaquina& m) {
  bool alguno = false;
  auto linea = [&](const std::string& nombre, const std::string& valor) {
    if (!alguno) salida << "Registros y memoria distintos de cero:\n";
    alguno = true;
    salida << "  " << nombre << " = " << valor << '\n';
  };
  for (int i = 0; i < NUM_REGISTROS; ++i)
    if (m.gpr.valor[static_cast<size_t>(i)] != 0)
      linea("R" + std::to_string(i), std::to_string(m.gpr.valor[static_cast<size_t>(i)]));
  for (int i = 0; i < NUM_REGISTROS; ++i)
    if (m.fpr.valor[static_cast<size_t>(i)] != 0.0f)
      linea("F" + std::to_string(i), TEscritorJSON::flotante(m.fpr.valor[static_cast<size_t>(i)]));
  for (int i = 0; i < TAM_MEMORIA; ++i)
    if (m.memoria.datos[static_cast<size_t>(i)] != 0.0f)
      linea("M" + std::to_string(i), TEscritorJSON::flotante(m.memoria.datos[static_cast<size_t>(i)]));
  if (!alguno) salida << "Todos los registros y la memoria están a cero.\n";
}

}  // namespace

void TInformeEjecucion::escribirVeredictoJSON(TEscritorJSON& j, const TVeredicto& v) {
  j.clave("verify");
  j.abrirObjeto();
  j.clave("equal");
  j.valor(v.igual);
  j.clave("differences");
  j.abrirLista();
  for (const TDiferencia& d : v.diferencias) {
    j.abrirObjeto();
    j.clave("where");
    j.valor(d.donde());
    if (d.banco == 'R') {
      j.clave("expected");
      j.valor(static_cast<int64_t>(d.esperadoEntero));
      j.clave("got");
      j.valor(static_cast<int64_t>(d.obtenidoEntero));
    } else {
      j.clave("expected");
      j.valorFlotante(d.esperado);
      j.clave("got");
      j.valorFlotante(d.obtenido);
    }
    j.cerrarObjeto();
  }
  j.cerrarLista();
  if (!v.pista.empty()) {
    j.clave("hint");
    j.valor(v.pista);
  }
  j.cerrarObjeto();
}

void TInformeEjecucion::escribirJSON(std::ostream& salida, const TMaquinaSuper& m, TFinalEjecucion final,
                                     bool conEstado, const TVeredicto* verificacion) {
  TEscritorJSON j(salida);
  cabeceraJSON(j, m, true, final);
  j.clave("predictor");
  j.abrirLista();
  for (int32_t p : m.prediccion) j.valor(static_cast<int64_t>(p));
  j.cerrarLista();
  if (conEstado) {
    j.clave("state");
    TEstadoJSON::escribir(j, m);
  }
  j.clave("stats");
  j.abrirObjeto();
  const TEstadisticasSuper& e = m.estadisticas;
  contador(j, "instructions_committed", e.instruccionesConfirmadas);
  contador(j, "branches_committed", e.saltosConfirmados);
  contador(j, "mispredictions", e.fallosPrediccion);
  contador(j, "cache_misses", e.fallosCache);
  cerrarJSON(salida, j, porCiclo(e.instruccionesConfirmadas, m), verificacion);
}

void TInformeEjecucion::escribirJSON(std::ostream& salida, const TMaquinaVLIW& m, TFinalEjecucion final,
                                     const TComprobacionVLIW* comprobacion, bool conEstado,
                                     const TVeredicto* verificacion) {
  TEscritorJSON j(salida);
  cabeceraJSON(j, m, false, final);
  if (comprobacion != nullptr) {
    j.clave("check");
    j.abrirObjeto();
    j.clave("code");
    j.valor(static_cast<int64_t>(comprobacion->codigo));
    j.clave("message");
    j.valor(comprobacion->mensaje);
    j.cerrarObjeto();
  }
  if (conEstado) {
    j.clave("state");
    TEstadoJSON::escribir(j, m);
  }
  j.clave("stats");
  j.abrirObjeto();
  const TEstadisticasVLIW& e = m.estadisticas;
  contador(j, "long_instructions_issued", e.instruccionesEmitidas);
  contador(j, "operations_executed", e.operacionesEjecutadas);
  contador(j, "operations_discarded", e.operacionesDescartadas);
  contador(j, "stall_cycles", e.ciclosParada);
  contador(j, "cache_misses", e.fallosCache);
  contador(j, "jumps_taken", e.saltosTomados);
  cerrarJSON(salida, j, porCiclo(e.operacionesEjecutadas, m), verificacion);
}

void TInformeEjecucion::escribirTexto(std::ostream& salida, const TMaquinaSuper& m, TFinalEjecucion final) {
  resultadoTexto(salida, m, true, final);
  const TEstadisticasSuper& e = m.estadisticas;
  salida << "Instrucciones confirmadas: " << e.instruccionesConfirmadas << " (IPC "
         << decimal(porCiclo(e.instruccionesConfirmadas, m)) << ")\n"
         << "Saltos confirmados: " << e.saltosConfirmados << "; fallos de predicción: " << e.fallosPrediccion << '\n'
         << "Cargas con fallo de caché: " << e.fallosCache << '\n';
  valoresTexto(salida, m);
}

void TInformeEjecucion::escribirTexto(std::ostream& salida, const TMaquinaVLIW& m, TFinalEjecucion final) {
  resultadoTexto(salida, m, false, final);
  const TEstadisticasVLIW& e = m.estadisticas;
  salida << "Instrucciones largas emitidas: " << e.instruccionesEmitidas << "; ciclos de parada: " << e.ciclosParada
         << '\n'
         << "Operaciones ejecutadas: " << e.operacionesEjecutadas << " (por ciclo "
         << decimal(porCiclo(e.operacionesEjecutadas, m)) << "); descartadas por predicado: "
         << e.operacionesDescartadas << '\n'
         << "Saltos tomados: " << e.saltosTomados << "; cargas con fallo de caché: " << e.fallosCache << '\n';
  valoresTexto(salida, m);
}
