#include "session/TSesion.h"

#include <algorithm>
#include <chrono>
#include <iterator>
#include <random>

#include "machine/TRegistros.h"

uint32_t TSesion::semillaNueva() {
  // random_device puede no tener fuente en algún sistema: entonces, el reloj.
  try {
    std::random_device fuente;
    return fuente();
  } catch (...) {
    return static_cast<uint32_t>(std::chrono::steady_clock::now().time_since_epoch().count());
  }
}

int8_t TSesion::iniciar(bool limpiar, std::optional<uint32_t> semilla) {
  const int8_t r = puedeIniciar();
  if (r != SESION_OK) return r;
  maquina.reset(limpiar);
  semillaActual = semilla ? *semilla : semillaNueva();
  maquina.memoria.sembrar(semillaActual);
  maquina.enEjecucion = true;
  maquina.paradaBreakpoint = false;
  historial.clear();
  estadoActual = estEnMarcha;
  guardarInicial();
  conEstadoInicial = true;
  puntos.clear();
  bytesPuntos = 0;
  intervalo = intervaloInicial > 0 ? intervaloInicial : 1;
  lejano = maquina.ciclo;
  estadoFinal = estPreparada;
  tomarPunto();
  return SESION_OK;
}

// El ciclo y lo que su resultado hace con el estado. Cada ciclo sigue desde un
// breakpoint: la máquina solo pone la marca, nunca la mira.
int8_t TSesion::ciclo(bool respetarBreakpoints) {
  maquina.paradaBreakpoint = false;
  const int8_t r = maquina.ejecutarCiclo();
  switch (r) {
    case CICLO_COMPLETADO:
      maquina.enEjecucion = false;
      estadoActual = estTerminada;
      break;
    case CICLO_ERROR:
      maquina.enEjecucion = false;
      estadoActual = estError;
      break;
    case CICLO_BREAKPOINT:
      if (respetarBreakpoints) estadoActual = estEnBreakpoint;
      break;
    default: break;  // CICLO_NORMAL y CICLO_VACIANDO: sigue
  }
  // La marca de la máquina sigue al estado: un paso dado en un breakpoint la
  // deja puesta, como la ejecución.
  maquina.paradaBreakpoint = estadoActual == estEnBreakpoint;
  if (maquina.ciclo >= lejano) {
    lejano = maquina.ciclo;
    if (!enCurso()) estadoFinal = estadoActual;
  }
  // El punto, antes de las ediciones del ciclo; después, las que se hicieron
  // en él la vez anterior (tras volver atrás, seguir repite la historia).
  if (maquina.ciclo % intervalo == 0 && !puntos.empty() && maquina.ciclo > puntos.back().ciclo) tomarPunto();
  if (!historial.empty() && historial.back().ciclo >= maquina.ciclo) aplicarEdicionesDe(maquina.ciclo);
  return r;
}

void TSesion::aplicarEdicionesDe(int32_t c) {
  auto e = std::lower_bound(historial.begin(), historial.end(), c,
                            [](const TEdicion& h, int32_t x) { return h.ciclo < x; });
  for (; e != historial.end() && e->ciclo == c; ++e) aplicar(*e);
}

int8_t TSesion::paso(bool respetarBreakpoints) {
  if (!enCurso()) {
    const int8_t r = iniciar(limpiarAlIniciar);
    if (r != SESION_OK) return r;
    estadoActual = estPausada;
  }
  // Un paso en un breakpoint deja la ejecución en él (Iniciar reanudará sin
  // preguntar), salvo que el ciclo la termine.
  return ciclo(respetarBreakpoints);
}

int8_t TSesion::ejecutar(int64_t ciclos, bool respetarBreakpoints) {
  int8_t r = CICLO_NORMAL;
  for (int64_t i = 0; i < ciclos; ++i) {
    r = paso(respetarBreakpoints);
    if (r == CICLO_COMPLETADO || r == CICLO_ERROR || r <= SESION_SIN_PROGRAMA) break;
    if (r == CICLO_BREAKPOINT && respetarBreakpoints) break;
  }
  return r;
}

void TSesion::pausar() {
  if (estadoActual == estEnMarcha) estadoActual = estPausada;
}

void TSesion::reanudar() {
  if (estadoActual != estPausada && estadoActual != estEnBreakpoint) return;
  maquina.paradaBreakpoint = false;
  estadoActual = estEnMarcha;
}

void TSesion::parar() {
  maquina.enEjecucion = false;
  estadoActual = estPreparada;
  // Tras parar ya no se navega: la memoria de los puntos se devuelve.
  puntos.clear();
  bytesPuntos = 0;
}

// ---------------------------------------------------------------------------
// Ediciones

bool TSesion::aplicar(const TEdicion& e) {
  const auto i = static_cast<size_t>(e.indice);
  switch (e.tipo) {
    case edRegistroEntero:
      // R0 vale siempre 0.
      if (!TRegistros<int32_t>::indiceValido(e.indice) || e.indice == 0) return false;
      maquina.gpr.valor[i] = e.entero;
      return true;
    case edRegistroFlotante:
      if (!TRegistros<float>::indiceValido(e.indice)) return false;
      maquina.fpr.valor[i] = e.flotante;
      return true;
    case edMemoria:
      if (!TMemoria::direccionValida(e.indice)) return false;
      maquina.memoria.datos[i] = e.flotante;
      return true;
    case edPorcentajeFallos:
      if (e.entero < 0 || e.entero > 100) return false;
      maquina.memoria.porcentajeFallos = e.entero;
      return true;
    default: return false;
  }
}

bool TSesion::editar(TEdicion e) {
  if (!aplicar(e)) return false;
  if (enCurso()) {
    e.ciclo = maquina.ciclo;
    // Tras volver a un ciclo anterior, lo que venía después ya no ocurrirá.
    historial.erase(std::find_if(historial.begin(), historial.end(), [&](const TEdicion& h) { return h.ciclo > e.ciclo; }),
                    historial.end());
    historial.push_back(e);
    olvidarFuturo();
  } else if (puedeNavegar() && maquina.ciclo == lejano) {
    // Con la ejecución ya acabada: se registra en su último ciclo, para que ir
    // atrás y volver al final la repita. Después no hay futuro que olvidar.
    e.ciclo = maquina.ciclo;
    historial.push_back(e);
  }
  return true;
}

bool TSesion::editarRegistroEntero(int32_t registro, int32_t valor) {
  TEdicion e;
  e.tipo = edRegistroEntero;
  e.indice = registro;
  e.entero = valor;
  return editar(e);
}

bool TSesion::editarRegistroFlotante(int32_t registro, float valor) {
  TEdicion e;
  e.tipo = edRegistroFlotante;
  e.indice = registro;
  e.flotante = valor;
  return editar(e);
}

bool TSesion::editarMemoria(int32_t direccion, float valor) {
  TEdicion e;
  e.tipo = edMemoria;
  e.indice = direccion;
  e.flotante = valor;
  return editar(e);
}

bool TSesion::editarPorcentajeFallos(int32_t porcentaje) {
  TEdicion e;
  e.tipo = edPorcentajeFallos;
  e.entero = porcentaje;
  return editar(e);
}

bool TSesion::editarBreakpoint(int32_t instruccion, bool activo) {
  TEdicion e;
  e.tipo = edBreakpoint;
  e.indice = instruccion;
  e.entero = activo ? 1 : 0;
  return editar(e);
}

// ---------------------------------------------------------------------------
// Repetición

bool TSesion::repetir(int32_t hastaCiclo) {
  if (!conEstadoInicial || !restaurarInicial()) return false;
  estadoActual = estPausada;
  aplicarEdicionesDe(maquina.ciclo);
  avanzarRepitiendo(hastaCiclo);
  return true;
}

int8_t TSesion::avanzarRepitiendo(int32_t hasta) {
  // Cada ciclo aplica tras él las ediciones registradas en él.
  int8_t r = CICLO_NORMAL;
  while (maquina.ciclo < hasta && enCurso()) r = ciclo(false);
  return r;
}

// ---------------------------------------------------------------------------
// Navegación en el tiempo

bool TSesion::puedeNavegar() const {
  return conEstadoInicial && !puntos.empty() &&
         (enCurso() || estadoActual == estTerminada || estadoActual == estError);
}

void TSesion::tomarPunto() {
  TPunto p;
  p.ciclo = maquina.ciclo;
  auto foto = fotografiar();
  p.bytes = tamanoFoto(*foto);
  p.foto = std::move(foto);
  bytesPuntos += p.bytes;
  puntos.push_back(std::move(p));
  // Por encima del límite, la mitad de los puntos: el intervalo se dobla y la
  // repetición más larga con él, pero la memoria queda acotada.
  while (bytesPuntos > limiteMemoria && puntos.size() > 2) {
    intervalo *= 2;
    std::vector<TPunto> quedan;
    bytesPuntos = 0;
    for (TPunto& q : puntos)
      if (q.ciclo % intervalo == 0 || &q == &puntos.front()) {
        bytesPuntos += q.bytes;
        quedan.push_back(std::move(q));
      }
    puntos = std::move(quedan);
  }
}

// Una edición cambia lo que pasará después del ciclo actual: lo guardado de
// más allá ya no vale.
void TSesion::olvidarFuturo() {
  const int32_t c = maquina.ciclo;
  while (puntos.size() > 1 && puntos.back().ciclo > c) {
    bytesPuntos -= puntos.back().bytes;
    puntos.pop_back();
  }
  lejano = c;
  estadoFinal = estPreparada;
}

const TSesion::TPunto* TSesion::puntoHasta(int32_t c) const {
  auto p = std::upper_bound(puntos.begin(), puntos.end(), c, [](int32_t x, const TPunto& q) { return x < q.ciclo; });
  return p == puntos.begin() ? nullptr : &*std::prev(p);
}

bool TSesion::volverAPunto(int32_t c) {
  const TPunto* p = puntoHasta(c);
  if (p == nullptr || !revelar(*p->foto)) return false;
  // Los breakpoints no están en la instantánea: los de partida más sus
  // ediciones anteriores al punto; después, todas las del ciclo del punto.
  restaurarBreakpoints();
  for (const TEdicion& e : historial) {
    if (e.ciclo >= p->ciclo) break;
    if (e.tipo == edBreakpoint) aplicar(e);
  }
  estadoActual = estPausada;
  aplicarEdicionesDe(p->ciclo);
  return true;
}

int32_t TSesion::irACiclo(int32_t c) {
  if (!puedeNavegar() || c < 0) return -1;
  if (estadoFinal != estPreparada && c > lejano) c = lejano;
  if (c < maquina.ciclo) {
    // Los observadores no ven la repetición: se les dice adónde se volvió.
    TObservadorCiclo* observador = maquina.observador;
    maquina.observador = nullptr;
    const bool vuelto = volverAPunto(c);
    if (vuelto) avanzarRepitiendo(c);
    maquina.observador = observador;
    if (!vuelto) return -1;
    if (observador != nullptr) observador->vueltaAtras(maquina.ciclo);
  } else if (enCurso()) {
    estadoActual = estPausada;
    // Sin observador que deba ver cada ciclo, lo ya recorrido se salta desde
    // el punto de control más cercano por debajo de c.
    const TPunto* p = puntoHasta(c);
    if (maquina.observador == nullptr && p != nullptr && p->ciclo > maquina.ciclo) volverAPunto(c);
    avanzarRepitiendo(c);
  }
  if (maquina.ciclo == lejano && estadoFinal != estPreparada) {
    estadoActual = estadoFinal;
    maquina.enEjecucion = false;
  } else if (enCurso()) {
    estadoActual = estPausada;
  }
  // Saltar no para en breakpoints: no queda ninguno marcado.
  maquina.paradaBreakpoint = false;
  return maquina.ciclo;
}

bool TSesion::retroceder() {
  if (!puedeNavegar() || maquina.ciclo <= 0) return false;
  return irACiclo(maquina.ciclo - 1) >= 0;
}
