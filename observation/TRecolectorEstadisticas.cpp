#include "observation/TRecolectorEstadisticas.h"

#include <algorithm>
#include <limits>
#include <map>

#include "superscalar/TMaquinaSuper.h"
#include "vliw/TMaquinaVLIW.h"

namespace {

template <typename T>
T acotado(int64_t v) {
  return static_cast<T>(std::clamp<int64_t>(v, 0, std::numeric_limits<T>::max()));
}

size_t ix(int i) { return static_cast<size_t>(i); }

}  // namespace

TRecolectorEstadisticas::TRecolectorEstadisticas(const TMaquinaSuper& m) : maquina(m), super(&m) {}
TRecolectorEstadisticas::TRecolectorEstadisticas(const TMaquinaVLIW& m) : maquina(m), vliw(&m) {}

TRecolectorEstadisticas::TContadores TRecolectorEstadisticas::contadoresMaquina() const {
  TContadores c;
  if (super) {
    c.completadas = super->estadisticas.instruccionesConfirmadas;
    c.fallosCache = super->estadisticas.fallosCache;
    c.saltos = super->estadisticas.saltosConfirmados;
    c.fallosPrediccion = super->estadisticas.fallosPrediccion;
  } else {
    c.completadas = vliw->estadisticas.operacionesEjecutadas;
    c.fallosCache = vliw->estadisticas.fallosCache;
    c.saltos = vliw->estadisticas.saltosTomados;
  }
  return c;
}

// Tras volver atrás, la máquina aún no está en el ciclo al que se vuelve (la
// sesión repite hasta él sin observadores): lo contado hasta allí es la suma
// de las muestras que quedan.
void TRecolectorEstadisticas::recontarBase() {
  base = TContadores{};
  for (const TMuestraCiclo& m : historia) {
    base.completadas += m.completadas;
    base.fallosCache += m.fallosCache;
    base.saltos += m.saltos;
    base.fallosPrediccion += m.fallosPrediccion;
  }
}

void TRecolectorEstadisticas::reiniciada() {
  historia.clear();
  operacionesDescartadas.clear();
  largaDeSecuencia.clear();
  actual = TMuestraCiclo{};
  base = contadoresMaquina();
  ++cambios;
}

void TRecolectorEstadisticas::inicioCiclo(int32_t ciclo) {
  actual = TMuestraCiclo{};
  actual.ciclo = ciclo;
}

void TRecolectorEstadisticas::finCiclo(int32_t ciclo, int8_t /*resultado*/) {
  actual.ciclo = ciclo;
  const TContadores c = contadoresMaquina();
  actual.completadas = acotado<uint16_t>(c.completadas - base.completadas);
  actual.fallosCache = acotado<uint16_t>(c.fallosCache - base.fallosCache);
  actual.saltos = acotado<uint8_t>(c.saltos - base.saltos);
  actual.fallosPrediccion = acotado<uint8_t>(c.fallosPrediccion - base.fallosPrediccion);
  base = c;

  int64_t etapasOcupadas = 0;
  for (int t = 0; t < NUM_TIPOS_UF; ++t) {
    int64_t ocupadas = 0;
    for (const TUnidadFuncional& u : maquina.uf[ix(t)]) {
      if (u.ocupadas > 0) ++ocupadas;
      etapasOcupadas += u.ocupadas;
    }
    actual.unidadesOcupadas[ix(t)] = acotado<uint8_t>(ocupadas);
  }
  if (super) {
    actual.ocupacion = acotado<uint16_t>(super->rob.numElementos());
    for (int t = 0; t < NUM_TIPOS_UF; ++t)
      actual.estaciones[ix(t)] = acotado<uint16_t>(static_cast<int64_t>(super->er[ix(t)].size()));
  } else {
    actual.ocupacion = acotado<uint16_t>(etapasOcupadas);
  }
  historia.push_back(actual);
  actual = TMuestraCiclo{};
  ++cambios;
}

void TRecolectorEstadisticas::vueltaAtras(int32_t ciclo) {
  historia.erase(std::find_if(historia.begin(), historia.end(), [ciclo](const TMuestraCiclo& m) { return m.ciclo > ciclo; }),
                 historia.end());
  operacionesDescartadas.erase(
      std::remove_if(operacionesDescartadas.begin(), operacionesDescartadas.end(),
                     [ciclo](const TOperacionDescartada& d) { return d.ciclo > ciclo; }),
      operacionesDescartadas.end());
  recontarBase();
  actual = TMuestraCiclo{};
  ++cambios;
}

// ---------------------------------------------------------------- sucesos

void TRecolectorEstadisticas::anulada(const TInstruccion&) {
  if (actual.perdidas < std::numeric_limits<uint16_t>::max()) ++actual.perdidas;
}

void TRecolectorEstadisticas::emisionDetenida(const TEspera& motivo, int32_t emitidas) {
  actual.emitidas = acotado<uint16_t>(emitidas);
  // Solo se detuvo si no llenó la anchura: un decodificador que se vació
  // emitiéndolo todo no ha parado nada.
  const int32_t anchura = std::clamp(super ? super->emision : 0, MIN_EMISION, MAX_EMISION);
  actual.parada = emitidas < anchura ? motivo : TEspera{};
}

void TRecolectorEstadisticas::largaDetenida(int64_t, int32_t, const TEspera& motivo) { actual.parada = motivo; }

void TRecolectorEstadisticas::largaEmitida(int64_t secuencia, int32_t larga) {
  actual.largaEmitida = true;
  if (secuencia < 0) return;
  const size_t s = static_cast<size_t>(secuencia);
  if (largaDeSecuencia.size() <= s) largaDeSecuencia.resize(s + 1, -1);
  largaDeSecuencia[s] = larga;
}

void TRecolectorEstadisticas::operacionEmitida(int64_t, int32_t, const TOperacionVLIW&) {
  if (actual.emitidas < std::numeric_limits<uint16_t>::max()) ++actual.emitidas;
}

void TRecolectorEstadisticas::operacionDescartada(int64_t secuenciaLarga, int32_t, const TOperacionVLIW& op) {
  if (actual.perdidas < std::numeric_limits<uint16_t>::max()) ++actual.perdidas;
  TOperacionDescartada d;
  d.ciclo = actual.ciclo;
  if (secuenciaLarga >= 0 && static_cast<size_t>(secuenciaLarga) < largaDeSecuencia.size())
    d.larga = largaDeSecuencia[static_cast<size_t>(secuenciaLarga)];
  d.direccion = op.direccion;
  d.codOp = op.codOp;
  d.texto = op.texto();
  const TDescripcionInstruccion& desc = op.descripcion();
  if (desc.escribeRegistro())
    d.destino = (desc.destino.flotante() ? "F" : "R") + std::to_string(op.op[desc.destino.campo]);
  operacionesDescartadas.push_back(std::move(d));
}

// ---------------------------------------------------------------- curvas

namespace {

size_t pasoDeMuestreo(size_t n, size_t maxPuntos) {
  const size_t m = std::max<size_t>(maxPuntos, 1);
  return std::max<size_t>((n + m - 1) / m, 1);
}

// El último ciclo siempre entra: la curva acaba donde acaba la ejecución.
bool tocaMuestra(size_t i, size_t n, size_t paso) { return (i + 1) % paso == 0 || i + 1 == n; }

}  // namespace

std::vector<TPuntoCurva> TRecolectorEstadisticas::curvaIPC(int32_t ventana, size_t maxPuntos) const {
  std::vector<TPuntoCurva> curva;
  const size_t n = historia.size();
  const size_t w = static_cast<size_t>(std::max(ventana, 1));
  const size_t paso = pasoDeMuestreo(n, maxPuntos);
  int64_t suma = 0;
  for (size_t i = 0; i < n; ++i) {
    suma += historia[i].completadas;
    if (i >= w) suma -= historia[i - w].completadas;
    if (!tocaMuestra(i, n, paso)) continue;
    const size_t ciclos = std::min(i + 1, w);
    curva.push_back({historia[i].ciclo, static_cast<double>(suma) / static_cast<double>(ciclos)});
  }
  return curva;
}

std::vector<TPuntoCurva> TRecolectorEstadisticas::curvaOcupacion(size_t maxPuntos) const {
  std::vector<TPuntoCurva> curva;
  const size_t n = historia.size();
  const size_t paso = pasoDeMuestreo(n, maxPuntos);
  for (size_t i = 0; i < n; ++i)
    if (tocaMuestra(i, n, paso)) curva.push_back({historia[i].ciclo, static_cast<double>(historia[i].ocupacion)});
  return curva;
}

// ---------------------------------------------------------------- resumen

std::string TRecolectorEstadisticas::nombreParada(const TEspera& m) {
  const auto tipo = [&] {
    return m.tipo >= 0 && m.tipo < NUM_TIPOS_UF ? nombresTipoUF[static_cast<size_t>(m.tipo)] : std::string("?");
  };
  switch (m.motivo) {
    case espROBLleno: return "Reorder buffer lleno";
    case espEstacionLlena: return "E. R. " + tipo() + " llena";
    case espDecodificadorVacio: return "Decodificador vacío";
    case espNaT: return "NaT en " + std::string(m.tipo == 1 ? "F" : "R") + std::to_string(m.dato);
    case espUnidadOcupada: return "Unidad " + tipo() + " ocupada";
    default: return "Otra causa";
  }
}

TResumenEstadisticas TRecolectorEstadisticas::resumen() const {
  TResumenEstadisticas r;
  r.superescalar = superescalar();
  r.ciclos = static_cast<int64_t>(historia.size());
  for (int t = 0; t < NUM_TIPOS_UF; ++t) r.numUnidades[ix(t)] = static_cast<int32_t>(maquina.uf[ix(t)].size());
  if (super) {
    r.anchura = std::clamp(super->emision, MIN_EMISION, MAX_EMISION);
    r.rob.capacidad = super->capacidadROB();
    for (int t = 0; t < NUM_TIPOS_UF; ++t) r.estaciones[ix(t)].capacidad = super->capacidadER(t);
  } else {
    r.huecosPorLarga = maquina.totalUF();
  }

  // Clave de orden de cada causa: la de la superescalar en el orden del cauce;
  // en la VLIW, las unidades ocupadas y después los NaT, R antes que F.
  std::map<std::pair<int32_t, int32_t>, std::pair<TEspera, int64_t>> paradas;
  std::array<int64_t, NUM_TIPOS_UF> sumaUnidades{}, sumaEstaciones{};
  int64_t sumaROB = 0;
  for (const TMuestraCiclo& m : historia) {
    r.fallosCache += m.fallosCache;
    r.emitidas += m.emitidas;
    if (super) {
      r.confirmadas += m.completadas;
      r.saltosConfirmados += m.saltos;
      r.fallosPrediccion += m.fallosPrediccion;
      r.anuladas += m.perdidas;
      sumaROB += m.ocupacion;
      r.rob.maxima = std::max<int32_t>(r.rob.maxima, m.ocupacion);
      for (int t = 0; t < NUM_TIPOS_UF; ++t) {
        sumaEstaciones[ix(t)] += m.estaciones[ix(t)];
        r.estaciones[ix(t)].maxima = std::max<int32_t>(r.estaciones[ix(t)].maxima, m.estaciones[ix(t)]);
      }
    } else {
      r.operacionesEjecutadas += m.completadas;
      r.operacionesDescartadas += m.perdidas;
      r.saltosTomados += m.saltos;
      if (m.largaEmitida) ++r.largasEmitidas;
    }
    for (int t = 0; t < NUM_TIPOS_UF; ++t) sumaUnidades[ix(t)] += m.unidadesOcupadas[ix(t)];
    if (m.parada.motivo != espNinguno) {
      ++r.ciclosParada;
      std::pair<int32_t, int32_t> clave;
      switch (m.parada.motivo) {
        case espROBLleno: clave = {0, 0}; break;
        case espEstacionLlena: clave = {1, m.parada.tipo}; break;
        case espDecodificadorVacio: clave = {2, 0}; break;
        case espUnidadOcupada: clave = {3, m.parada.tipo}; break;
        case espNaT: clave = {4 + m.parada.tipo, m.parada.dato}; break;
        default: clave = {9, m.parada.motivo}; break;
      }
      auto& p = paradas[clave];
      p.first = m.parada;
      ++p.second;
    }
  }
  r.operacionesEmitidas = super ? 0 : r.emitidas;
  for (const auto& [clave, p] : paradas) r.paradas.emplace_back(nombreParada(p.first), p.second);
  if (r.ciclos > 0) {
    const double n = static_cast<double>(r.ciclos);
    r.rob.media = static_cast<double>(sumaROB) / n;
    for (int t = 0; t < NUM_TIPOS_UF; ++t) {
      r.estaciones[ix(t)].media = static_cast<double>(sumaEstaciones[ix(t)]) / n;
      if (r.numUnidades[ix(t)] > 0)
        r.usoUnidades[ix(t)] = static_cast<double>(sumaUnidades[ix(t)]) / (n * r.numUnidades[ix(t)]);
    }
  }
  return r;
}
