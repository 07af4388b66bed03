#include "session/TExploracion.h"

#include <algorithm>
#include <cstdio>

#include "superscalar/TMaquinaSuper.h"

TExploracion::TExploracion(const TCodigo& p, const TConfiguracionMaquina& b, const TDatosIniciales& d, uint32_t s)
    : programa(p), base(b), datos(d), semilla(s) {}

void TExploracion::rango(TParametroExploracion parametro, int32_t& minimo, int32_t& maximo) {
  switch (parametro) {
    case parEmision: minimo = MIN_EMISION; maximo = MAX_EMISION; break;
    case parUnidades: minimo = MIN_UF; maximo = MAX_UF; break;
    case parLatencia: minimo = MIN_LATENCIA; maximo = MAX_LATENCIA; break;
    case parLatenciaFallo: minimo = MIN_LAT_FALLO; maximo = MAX_LAT_FALLO; break;
    default: minimo = 0; maximo = 100; break;
  }
}

std::string TExploracion::nombre(TParametroExploracion parametro, int32_t tipo) {
  const std::string t =
      tipo >= 0 && tipo < NUM_TIPOS_UF ? nombresTipoUF[static_cast<size_t>(tipo)] : std::string("?");
  switch (parametro) {
    case parEmision: return "Anchura de emisión";
    case parUnidades: return "Unidades " + t;
    case parLatencia: return "Latencia " + t;
    case parLatenciaFallo: return "Latencia de fallo de caché";
    default: return "Porcentaje de fallos de caché";
  }
}

TConfiguracionMaquina TExploracion::configuracionCon(int32_t valor) const {
  TConfiguracionMaquina c = base;
  const size_t t = static_cast<size_t>(std::clamp(tipo, 0, NUM_TIPOS_UF - 1));
  switch (parametro) {
    case parEmision: c.emision = valor; break;
    case parUnidades: c.numUF[t] = valor; break;
    case parLatencia: c.latUF[t] = valor; break;
    case parLatenciaFallo: c.latFalloCache = valor; break;
    case parPorcentajeFallos: c.porcentajeFallos = valor; break;
  }
  return c;
}

bool TExploracion::correrPunto(int32_t valor, const std::atomic<bool>* cancelar, TPuntoExploracion& p) const {
  TMaquinaSuper m;
  configuracionCon(valor).ponerEn(m);
  m.codigo = &programa;
  m.reset(false);
  datos.ponerEn(m);
  m.memoria.sembrar(semilla);
  p = TPuntoExploracion{};
  p.valor = valor;
  p.final = finMaxCiclos;
  // Mirar el aviso de cancelar cada pocos ciclos cuesta nada y corta pronto.
  constexpr int32_t CADA = 256;
  while (m.ciclo < maxCiclos) {
    if (cancelar && m.ciclo % CADA == 0 && cancelar->load(std::memory_order_relaxed)) return false;
    const int8_t r = m.ejecutarCiclo();
    if (r == CICLO_COMPLETADO) {
      p.final = finCompletado;
      break;
    }
    if (r == CICLO_ERROR) {
      p.final = finError;
      break;
    }
  }
  p.ciclos = m.ciclo;
  p.confirmadas = m.estadisticas.instruccionesConfirmadas;
  p.ipc = p.ciclos > 0 ? static_cast<double>(p.confirmadas) / p.ciclos : 0.0;
  return true;
}

TPuntoExploracion TExploracion::ejecutarPunto(int32_t valor) const {
  TPuntoExploracion p;
  correrPunto(valor, nullptr, p);
  return p;
}

std::vector<TPuntoExploracion> TExploracion::ejecutar(const std::atomic<bool>* cancelar,
                                                      const std::function<void(const TPuntoExploracion&)>& alTerminar) const {
  int32_t minimo = 0, maximo = 0;
  rango(parametro, minimo, maximo);
  const int32_t a = std::clamp(std::min(desde, hasta), minimo, maximo);
  const int32_t b = std::clamp(std::max(desde, hasta), minimo, maximo);
  std::vector<TPuntoExploracion> puntos;
  for (int32_t v = a; v <= b; ++v) {
    if (cancelar && cancelar->load()) break;
    TPuntoExploracion p;
    if (!correrPunto(v, cancelar, p)) break;
    puntos.push_back(p);
    if (alTerminar) alTerminar(p);
  }
  return puntos;
}

void TExploracion::escribirCSV(std::ostream& salida, const std::string& nombreParametro,
                               const std::vector<TPuntoExploracion>& puntos) {
  salida << '"' << nombreParametro << "\",ciclos,instrucciones,ipc,resultado\n";
  for (const TPuntoExploracion& p : puntos) {
    char ipc[32];
    std::snprintf(ipc, sizeof ipc, "%.4f", p.ipc);
    salida << p.valor << ',' << p.ciclos << ',' << p.confirmadas << ',' << ipc << ','
           << (p.final == finCompletado ? "completed" : p.final == finMaxCiclos ? "max-cycles" : "error") << '\n';
  }
}
