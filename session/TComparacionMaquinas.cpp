#include "session/TComparacionMaquinas.h"

#include <cstdio>

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
  ejecutarSuper(datos, semilla, maxCiclos);
  ejecutarVLIW(datos, semilla, maxCiclos);
}

void TComparacionMaquinas::ejecutarSuper(const TDatosIniciales& datos, uint32_t semilla, int64_t maxCiclos) {
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
}

void TComparacionMaquinas::ejecutarVLIW(const TDatosIniciales& datos, uint32_t semilla, int64_t maxCiclos) {
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

namespace {

std::string decimal(double v, int decimales) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.*f", decimales, v);
  return buf;
}

std::string textoFinal(const TResultadoMaquina& r) {
  if (!r.ejecutada) return r.motivo.empty() ? "sin ejecutar" : r.motivo;
  switch (r.final) {
    case finCompletado: return "terminada";
    case finMaxCiclos: return "sin terminar (límite de ciclos)";
    default: return "detenida por un error";
  }
}

std::string textoVeredicto(const TResultadoMaquina& r) {
  if (!r.ejecutada) return "-";
  if (r.veredicto.igual) return "igual al código secuencial";
  const size_t n = r.veredicto.diferencias.size();
  return "distinto: " + std::to_string(n) + (n == 1 ? " diferencia" : " diferencias");
}

}  // namespace

std::vector<std::array<std::string, 3>> TComparacionMaquinas::tabla() const {
  const TResultadoMaquina& s = resultadoSuper;
  const TResultadoMaquina& v = resultadoVLIW;
  auto numero = [](const TResultadoMaquina& r, int64_t n) { return r.ejecutada ? std::to_string(n) : "-"; };
  std::vector<std::array<std::string, 3>> t;
  t.push_back({"Ejecución", textoFinal(s), textoFinal(v)});
  t.push_back({"Ciclos", numero(s, s.ciclos), numero(v, v.ciclos)});
  t.push_back({"Instrucciones confirmadas / operaciones ejecutadas", numero(s, s.completadas), numero(v, v.completadas)});
  t.push_back({"Instrucciones largas emitidas", "-", numero(v, v.largas)});
  t.push_back({"IPC (operaciones por ciclo en la VLIW)", s.ejecutada ? decimal(s.ipc, 3) : "-",
               v.ejecutada ? decimal(v.ipc, 3) : "-"});
  const double a = aceleracionVLIW();
  t.push_back({"Aceleración (ciclos de la otra / ciclos de esta)", a > 0 ? decimal(1.0 / a, 3) : "-",
               a > 0 ? decimal(a, 3) : "-"});
  t.push_back({"Resultado", textoVeredicto(s), textoVeredicto(v)});
  t.push_back({"Configuración", s.configuracion, v.configuracion});
  return t;
}

void TComparacionMaquinas::escribirTexto(std::ostream& salida) const {
  salida << "Comparación de las dos máquinas\n";
  for (const auto& fila : tabla())
    salida << fila[0] << ": superescalar " << fila[1] << "; VLIW " << fila[2] << '\n';
}

void TComparacionMaquinas::escribirCSV(std::ostream& salida) const {
  auto campo = [](const std::string& t) {
    std::string c = "\"";
    for (char ch : t) c += ch == '"' ? std::string("\"\"") : std::string(1, ch);
    return c + '"';
  };
  salida << "magnitud,superescalar,vliw\n";
  for (const auto& fila : tabla()) salida << campo(fila[0]) << ',' << campo(fila[1]) << ',' << campo(fila[2]) << '\n';
}
