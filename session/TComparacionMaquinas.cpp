#include "session/TComparacionMaquinas.h"

TComparacionMaquinas::TComparacionMaquinas(const TCodigo& p) : programa(p), recolectorVLIW(vliw) {
  super.codigo = &programa;
}

void TComparacionMaquinas::configurar(const TConfiguracionMaquina& cs, const TConfiguracionMaquina& cv) {
  cs.ponerEn(super);
  cv.ponerEn(static_cast<TMaquina&>(vliw));
  vliw.numUF[tufSalto] = 1;  // la VLIW tiene siempre una unidad de salto
}

void TComparacionMaquinas::copiarProgramaVLIW(const TCodigoVLIW& origen) {
  vliw.borrarCodigo();
  vliw.codigo.crear(origen.numInstrucciones);
  for (int32_t i = 0; i < origen.numInstrucciones; ++i) {
    const TInstruccionLarga* de = origen.instruccion(i);
    TInstruccionLarga* a = vliw.codigo.instruccion(i);
    if (!de || !a) continue;
    a->breakpoint = de->breakpoint;
    for (const auto& op : de->operaciones)
      if (op) a->anadir(std::make_unique<TOperacionVLIW>(*op));
  }
}

TFinalEjecucion TComparacionMaquinas::correr(TMaquina& m, int64_t maxCiclos) {
  m.enEjecucion = true;
  while (m.ciclo < maxCiclos) {
    const int8_t r = m.ejecutarCiclo();
    if (r == CICLO_COMPLETADO) {
      m.enEjecucion = false;
      return finCompletado;
    }
    if (r == CICLO_ERROR) {
      m.enEjecucion = false;
      return finError;
    }
  }
  return finMaxCiclos;
}

namespace {

// Reset sin limpiar, los datos de partida y la semilla; devuelve el estado de partida.
TInstantaneaMaquina preparar(TMaquina& m, const TDatosIniciales& datos, uint32_t semilla) {
  m.reset(false);
  datos.ponerEn(m);
  m.memoria.sembrar(semilla);
  TInstantaneaMaquina inicial;
  inicial.capturar(m);
  return inicial;
}

}  // namespace

void TComparacionMaquinas::ejecutar(const TDatosIniciales& datos, uint32_t semilla, int64_t maxCiclos) {
  resultadoSuper = TResultadoMaquina{};
  resultadoSuper.configuracion = TConfiguracionMaquina::de(super).texto(true);
  {
    const TInstantaneaMaquina inicial = preparar(super, datos, semilla);
    TResultadoMaquina& r = resultadoSuper;
    r.final = correr(super, maxCiclos);
    r.ejecutada = true;
    r.ciclos = super.ciclo;
    r.completadas = super.estadisticas.instruccionesConfirmadas;
    r.ipc = r.ciclos > 0 ? static_cast<double>(r.completadas) / r.ciclos : 0.0;
    r.veredicto = TComprobacionResultado::comprobar(programa, inicial, {}, super, r.final == finCompletado);
  }

  resultadoVLIW = TResultadoMaquina{};
  TResultadoMaquina& r = resultadoVLIW;
  r.configuracion = TConfiguracionMaquina::de(vliw).texto(false);
  if (vliw.codigo.numInstrucciones == 0) {
    r.motivo = TMaquinaVLIW::MENSAJE_CODIGO_VACIO;
    return;
  }
  if (vliw.comprobarConfiguracion() != CHEQUEO_OK) {
    r.motivo = TMaquinaVLIW::MENSAJE_CONFIGURACION;
    return;
  }
  // El recolector da las operaciones descartadas: son la pista del veredicto.
  vliw.observador = &recolectorVLIW;
  const TInstantaneaMaquina inicial = preparar(vliw, datos, semilla);
  r.final = correr(vliw, maxCiclos);
  vliw.observador = nullptr;
  r.ejecutada = true;
  r.ciclos = vliw.ciclo;
  r.completadas = vliw.estadisticas.operacionesEjecutadas;
  r.largas = vliw.estadisticas.instruccionesEmitidas;
  r.ipc = r.ciclos > 0 ? static_cast<double>(r.completadas) / r.ciclos : 0.0;
  r.veredicto = TComprobacionResultado::comprobar(programa, inicial, {}, vliw, r.final == finCompletado,
                                                  recolectorVLIW.descartadas());
}

double TComparacionMaquinas::aceleracionVLIW() const {
  if (!resultadoSuper.ejecutada || !resultadoVLIW.ejecutada || resultadoSuper.final != finCompletado ||
      resultadoVLIW.final != finCompletado || resultadoVLIW.ciclos == 0)
    return 0.0;
  return static_cast<double>(resultadoSuper.ciclos) / resultadoVLIW.ciclos;
}
