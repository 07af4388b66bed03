#include "observation/TRegistradorDiagrama.h"

#include <cstring>

#include "machine/TInstruccion.h"
#include "vliw/TOperacionVLIW.h"

namespace {

// Un hueco nuevo ya tiene sitio para el recorrido típico con algunas esperas.
constexpr size_t TRAMOS_INICIALES = 16;
// Cotas de lo que se indexa con datos de los sucesos: un programa o un ROB
// absurdos no deben hacer crecer las tablas sin medida.
constexpr int32_t MAX_DIRECCION = 1 << 20;
constexpr int32_t MAX_ETIQUETA = 1 << 16;
// Un tramo en el archivo: número de bloque en la parte alta y posición en él.
constexpr int DESPLAZAMIENTO_BLOQUE = 32;
constexpr int64_t MASCARA_POSICION = (int64_t{1} << DESPLAZAMIENTO_BLOQUE) - 1;

bool esperaDeOtraInstruccion(TMotivoEspera m) {
  return m == espOperandoJ || m == espOperandoK || m == espAlmacenamientoSinDireccion ||
         m == espAlmacenamientoMismaDireccion;
}

const std::string SIN_TEXTO;

// ¿Es «t» el texto de la instrucción? Sin construirlo.
bool mismoTexto(const std::string& t, const TInstruccion& ins) {
  size_t p = 0;
  auto sigue = [&](const std::string& trozo, bool conBlanco) {
    if (conBlanco) {
      if (p >= t.size() || t[p] != ' ') return false;
      ++p;
    }
    if (t.compare(p, trozo.size(), trozo) != 0) return false;
    p += trozo.size();
    return true;
  };
  if (!sigue(ins.textoCodOp, false) || !sigue(ins.textoOp[0], true)) return false;
  for (int k = 1; k < 3; ++k)
    if (!ins.textoOp[k].empty() && !sigue(ins.textoOp[k], true)) return false;
  return p == t.size();
}

}  // namespace

TRegistradorDiagrama::TRegistradorDiagrama(bool v, int64_t maxFilas)
    : vliw(v), limiteFilas(std::max<int64_t>(1, maxFilas)) {}

TRegistradorDiagrama::~TRegistradorDiagrama() = default;

void TRegistradorDiagrama::setMaxFilas(int64_t n) { limiteFilas = std::max<int64_t>(1, n); }

// ---------------------------------------------------------------------------
// Almacenamiento

int32_t TRegistradorDiagrama::nuevoHueco() {
  if (!huecosLibres.empty()) {
    const int32_t h = huecosLibres.back();
    huecosLibres.pop_back();
    huecos[static_cast<size_t>(h)].clear();
    return h;
  }
  huecos.emplace_back();
  huecos.back().reserve(TRAMOS_INICIALES);
  return static_cast<int32_t>(huecos.size() - 1);
}

const TTramoDiagrama* TRegistradorDiagrama::tramosDe(const TFilaDiagrama& f, int32_t& n) const {
  if (f.viva) {
    const auto& v = huecos[static_cast<size_t>(f.tramos)];
    n = static_cast<int32_t>(v.size());
    return v.data();
  }
  const int64_t bloque = (f.tramos >> DESPLAZAMIENTO_BLOQUE) - primerBloque;
  n = f.numTramos;
  return bloques[static_cast<size_t>(bloque)].tramos.get() + (f.tramos & MASCARA_POSICION);
}

// La fila deja la máquina: sus tramos pasan seguidos al último bloque del
// archivo (a uno nuevo si no caben) y su hueco queda libre.
void TRegistradorDiagrama::terminar(TFilaDiagrama& f, int64_t secuencia) {
  if (!f.viva) return;
  const int32_t hueco = static_cast<int32_t>(f.tramos);
  auto& v = huecos[static_cast<size_t>(hueco)];
  const auto n = static_cast<int64_t>(v.size());
  if (bloques.empty() || bloques.back().usados + n > bloques.back().capacidad) {
    TBloque b;
    if (!bloquesLibres.empty() && bloquesLibres.back().capacidad >= n) {
      b = std::move(bloquesLibres.back());
      bloquesLibres.pop_back();
    } else {
      b.capacidad = std::max<int64_t>(TRAMOS_POR_BLOQUE, n);
      b.tramos = std::make_unique<TTramoDiagrama[]>(static_cast<size_t>(b.capacidad));
    }
    b.usados = 0;
    b.ultimaSecuencia = -1;
    bloques.push_back(std::move(b));
  }
  TBloque& b = bloques.back();
  if (n > 0) std::memcpy(b.tramos.get() + b.usados, v.data(), static_cast<size_t>(n) * sizeof(TTramoDiagrama));
  const int64_t numero = primerBloque + static_cast<int64_t>(bloques.size()) - 1;
  f.tramos = (numero << DESPLAZAMIENTO_BLOQUE) | b.usados;
  f.numTramos = static_cast<int32_t>(n);
  f.viva = false;
  b.usados += n;
  b.ultimaSecuencia = std::max(b.ultimaSecuencia, secuencia);
  huecosLibres.push_back(hueco);
}

void TRegistradorDiagrama::reabrir(TFilaDiagrama& f, int32_t hasta) {
  int32_t n = 0;
  const TTramoDiagrama* t = tramosDe(f, n);
  const int32_t h = nuevoHueco();
  auto& v = huecos[static_cast<size_t>(h)];
  for (int32_t i = 0; i < n && t[i].ciclo <= hasta; ++i) v.push_back(t[i]);
  f.tramos = h;
  f.numTramos = 0;
  f.viva = true;
}

// Olvida lo posterior a «hasta» en una fila que empieza antes.
void TRegistradorDiagrama::recortar(TFilaDiagrama& f, int32_t hasta) {
  if (!f.viva) {
    if (f.ultimo <= hasta) return;
    reabrir(f, hasta);
  } else {
    auto& v = huecoDe(f);
    while (!v.empty() && v.back().ciclo > hasta) v.pop_back();
  }
  f.ultimo = f.clase == filaLarga ? std::min(f.ultimo, hasta) : -1;
}

bool TRegistradorDiagrama::ocupada(const TFilaDiagrama& f) const {
  if (f.viva) return true;
  if (f.clase != filaLarga) return false;
  for (int32_t k = 0; k < f.numOps; ++k)
    if (operacion(f, k).viva) return true;
  return false;
}

void TRegistradorDiagrama::quitarFilasDesde(int64_t i) {
  if (i < 0) i = 0;
  while (numFilas() > i) {
    TFilaDiagrama& f = filas.back();
    if (f.viva) huecosLibres.push_back(static_cast<int32_t>(f.tramos));
    if (f.clase == filaLarga) {
      while (!ops.empty() && baseOps + static_cast<int64_t>(ops.size()) > f.primeraOp) {
        if (ops.back().viva) huecosLibres.push_back(static_cast<int32_t>(ops.back().tramos));
        ops.pop_back();
      }
    }
    filas.pop_back();
  }
  if (largaEnPunto >= numFilas()) largaEnPunto = -1;
  if (filas.empty()) {
    baseOps += static_cast<int64_t>(ops.size());
    ops.clear();
    siguienteVista = baseVista;
  } else {
    const TFilaDiagrama& u = filas.back();
    siguienteVista = u.vista + 1 + u.numOps;
  }
}

bool TRegistradorDiagrama::admitir(int64_t s) {
  if (s < 0) return false;
  if (!filas.empty()) {
    const int64_t siguiente = base + numFilas();
    if (s == siguiente) return true;
    if (s >= base && s < siguiente) {
      // La máquina volvió atrás sin avisar: lo buscado desde entonces no ocurrió.
      quitarFilasDesde(s - base);
      return true;
    }
    // Un salto en la numeración (el observador estuvo desenganchado): se empieza de nuevo.
    descartadas += numFilas();
    quitarFilasDesde(0);
  }
  base = s;
  baseVista = siguienteVista;
  return true;
}

TFilaDiagrama* TRegistradorDiagrama::filaDe(int64_t secuencia) {
  const int64_t i = secuencia - base;
  if (i < 0 || i >= numFilas()) return nullptr;
  TFilaDiagrama& f = filas[static_cast<size_t>(i)];
  return f.viva ? &f : nullptr;
}

TFilaDiagrama* TRegistradorDiagrama::operacionDe(int64_t secuenciaLarga, int32_t indice) {
  const int64_t i = secuenciaLarga - base;
  if (i < 0 || i >= numFilas()) return nullptr;
  const TFilaDiagrama& l = filas[static_cast<size_t>(i)];
  if (l.clase != filaLarga) return nullptr;
  for (int32_t k = 0; k < l.numOps; ++k) {
    TFilaDiagrama& o = ops[static_cast<size_t>(l.primeraOp - baseOps + k)];
    if (o.indice == indice) return o.viva ? &o : nullptr;
  }
  return nullptr;
}

namespace {

// Campo a campo: copiar un tramo montado en la pila justo después de escribirlo
// por partes obliga al procesador a esperar a esas escrituras (se nota: es el
// suceso más frecuente).
void rellenar(TTramoDiagrama& t, int32_t ciclo, char letra, const TEspera& motivo, int32_t distancia) {
  t.ciclo = ciclo;
  t.letra = letra;
  t.motivo = motivo.motivo;
  t.tipo = motivo.tipo;
  t.dato = motivo.dato;
  t.distancia = distancia;
}

}  // namespace

void TRegistradorDiagrama::pasarA(TFilaDiagrama& f, char letra, const TEspera& motivo, int32_t distancia) {
  auto& v = huecoDe(f);
  if (!v.empty()) {
    TTramoDiagrama& u = v.back();
    // Varios sucesos en un ciclo: vale el último.
    if (u.ciclo == ciclo) {
      rellenar(u, ciclo, letra, motivo, distancia);
      return;
    }
    if (u.letra == letra && u.espera() == motivo) return;
  }
  rellenar(v.emplace_back(), ciclo, letra, motivo, distancia);
}

void TRegistradorDiagrama::anotarEspera(TFilaDiagrama& f, const TEspera& motivo, int32_t distancia) {
  auto& v = huecoDe(f);
  if (v.empty()) return;
  TTramoDiagrama& u = v.back();
  if (u.espera() == motivo) return;
  if (u.ciclo == ciclo) {
    u.motivo = motivo.motivo;
    u.tipo = motivo.tipo;
    u.dato = motivo.dato;
    u.distancia = distancia;
    return;
  }
  const char letra = u.letra;
  rellenar(v.emplace_back(), ciclo, letra, motivo, distancia);
}

void TRegistradorDiagrama::recordarTexto(const TInstruccion& ins) {
  const int32_t d = ins.direccion;
  if (d < 0 || d >= MAX_DIRECCION) return;
  const auto i = static_cast<size_t>(d);
  if (i >= textos.size()) {
    textos.resize(i + 1);
    textoAlDia.resize(i + 1, 0);
  }
  if (textoAlDia[i]) return;
  textoAlDia[i] = 1;
  if (!mismoTexto(textos[i], ins)) textos[i] = ins.texto();
}

void TRegistradorDiagrama::cerrarLarga() {
  if (largaEnPunto < 0) return;
  TFilaDiagrama& f = filas[static_cast<size_t>(largaEnPunto)];
  terminar(f, base + largaEnPunto);
  largaEnPunto = -1;
}

// Se descartan de golpe las que sobran sobre el límite más una holgura (así
// el trabajo es por bloques, no por ciclo), empezando por la más antigua y
// parando en la primera que sigue en la máquina.
void TRegistradorDiagrama::descartarAntiguas() {
  const int64_t holgura = std::max<int64_t>(limiteFilas / 4, 16);
  if (numFilas() <= limiteFilas + holgura) return;
  const int64_t sobran = numFilas() - limiteFilas;
  int64_t k = 0;
  while (k < sobran && !ocupada(filas[static_cast<size_t>(k)])) ++k;
  if (k == 0) return;
  filas.descartar(static_cast<size_t>(k));
  base += k;
  descartadas += k;
  if (largaEnPunto >= 0) largaEnPunto -= k;
  const TFilaDiagrama& primera = filas.front();
  if (vliw) {
    ops.descartar(static_cast<size_t>(primera.primeraOp - baseOps));
    baseOps = primera.primeraOp;
    baseVista = primera.vista;
  }
  // Los bloques cuyas filas ya no están; nunca el que se está llenando.
  while (bloques.size() > 1 && bloques.front().ultimaSecuencia < base) {
    if (bloquesLibres.size() < 2) bloquesLibres.push_back(std::move(bloques.front()));
    bloques.pop_front();
    ++primerBloque;
  }
}

void TRegistradorDiagrama::vaciar() {
  filas.clear();
  ops.clear();
  huecosLibres.clear();
  for (size_t i = huecos.size(); i > 0; --i) huecosLibres.push_back(static_cast<int32_t>(i - 1));
  while (!bloques.empty()) {
    if (bloquesLibres.size() < 2) bloquesLibres.push_back(std::move(bloques.front()));
    bloques.pop_front();
  }
  primerBloque = 0;
  base = baseOps = baseVista = siguienteVista = 0;
  descartadas = 0;
  ciclo = cicloFinal = 0;
  largaEnPunto = -1;
  // Los textos se conservan: casi siempre se repite el mismo programa, y
  // rehacerlos costaría una asignación por instrucción en cada reset.
  std::fill(textoAlDia.begin(), textoAlDia.end(), 0);
  secuenciaDeEtiqueta.clear();
}

size_t TRegistradorDiagrama::memoria() const {
  size_t n = sizeof(*this) + (filas.capacity() + ops.capacity()) * sizeof(TFilaDiagrama);
  for (const auto& h : huecos) n += sizeof(h) + h.capacity() * sizeof(TTramoDiagrama);
  for (const auto& b : bloques) n += sizeof(b) + static_cast<size_t>(b.capacidad) * sizeof(TTramoDiagrama);
  for (const auto& b : bloquesLibres) n += sizeof(b) + static_cast<size_t>(b.capacidad) * sizeof(TTramoDiagrama);
  for (const auto& t : textos) n += sizeof(t) + t.capacity();
  n += secuenciaDeEtiqueta.capacity() * sizeof(int64_t) + huecosLibres.capacity() * sizeof(int32_t);
  return n;
}

// ---------------------------------------------------------------------------
// Lectura

std::vector<TTramoVisible> TRegistradorDiagrama::tramos(const TFilaDiagrama& f, int32_t desde, int32_t hasta) const {
  std::vector<TTramoVisible> v;
  recorrer(f, desde, hasta, [&](const TTramoVisible& t) { v.push_back(t); });
  return v;
}

char TRegistradorDiagrama::letra(const TFilaDiagrama& f, int32_t c, TTramoVisible* tramo) const {
  char l = ' ';
  recorrer(f, c, c, [&](const TTramoVisible& t) {
    l = t.letra;
    if (tramo) *tramo = t;
  });
  return l;
}

std::string TRegistradorDiagrama::letras(const TFilaDiagrama& f) const {
  std::string s;
  recorrer(f, f.primero, finDe(f), [&](const TTramoVisible& t) { s.append(static_cast<size_t>(t.hasta - t.desde + 1), t.letra); });
  return s;
}

const std::string& TRegistradorDiagrama::texto(int32_t direccion) const {
  if (direccion < 0 || static_cast<size_t>(direccion) >= textos.size()) return SIN_TEXTO;
  return textos[static_cast<size_t>(direccion)];
}

std::string TRegistradorDiagrama::textoDe(const TFilaDiagrama& f) const {
  if (f.clase != filaLarga) return texto(f.pc);
  std::string t;
  for (int32_t k = 0; k < f.numOps; ++k) {
    if (k > 0) t += " | ";
    t += texto(operacion(f, k).pc);
  }
  return t;
}

int64_t TRegistradorDiagrama::numFilasVista() const {
  if (!vliw) return numFilas();
  if (filas.empty()) return 0;
  const TFilaDiagrama& u = filas.back();
  return u.vista - baseVista + 1 + u.numOps;
}

TRegistradorDiagrama::TPosicion TRegistradorDiagrama::enVista(int64_t posicion) const {
  if (posicion < 0 || posicion >= numFilasVista()) return {};
  if (!vliw) return {posicion, -1};
  // La última larga que empieza en la posición o antes.
  int64_t a = 0, b = numFilas() - 1;
  while (a < b) {
    const int64_t m = (a + b + 1) / 2;
    if (fila(m).vista - baseVista <= posicion) a = m;
    else b = m - 1;
  }
  const int64_t resto = posicion - (fila(a).vista - baseVista);
  return {a, static_cast<int32_t>(resto - 1)};
}

int64_t TRegistradorDiagrama::posicionEnVista(int64_t i) const {
  if (i < 0 || i >= numFilas()) return -1;
  return vliw ? fila(i).vista - baseVista : i;
}

// ---------------------------------------------------------------------------
// Sucesos de las dos máquinas

void TRegistradorDiagrama::reiniciada() {
  vaciar();
  ++reinicios;
}

void TRegistradorDiagrama::inicioCiclo(int32_t c) { ciclo = c; }

void TRegistradorDiagrama::finCiclo(int32_t c, int8_t) {
  cicloFinal = c;
  // Una larga que no recibió nada en este ciclo ya no está en el punto de
  // emisión: un salto la dejó atrás o el programa se acabó.
  if (largaEnPunto >= 0 && filas[static_cast<size_t>(largaEnPunto)].ultimo < c) cerrarLarga();
  descartarAntiguas();
}

void TRegistradorDiagrama::vueltaAtras(int32_t c) {
  if (c < 0) c = 0;
  if (c >= cicloFinal) {
    ciclo = cicloFinal = c;
    return;
  }
  // Lo que empezó después de c no ha ocurrido.
  int64_t quedan = numFilas();
  while (quedan > 0 && fila(quedan - 1).primero > c) --quedan;
  quitarFilasDesde(quedan);
  while (!ops.empty() && ops.back().primero > c) {
    if (ops.back().viva) huecosLibres.push_back(static_cast<int32_t>(ops.back().tramos));
    ops.pop_back();
  }
  const int64_t finOps = baseOps + static_cast<int64_t>(ops.size());
  for (size_t k = 0; k < ops.size(); ++k)
    if (finDe(ops[k]) > c) recortar(ops[k], c);

  largaEnPunto = -1;
  secuenciaDeEtiqueta.assign(secuenciaDeEtiqueta.size(), -1);
  for (int64_t i = 0; i < numFilas(); ++i) {
    TFilaDiagrama& f = filas[static_cast<size_t>(i)];
    if (f.clase == filaLarga) {
      f.numOps = static_cast<int32_t>(std::max<int64_t>(0, std::min<int64_t>(f.numOps, finOps - f.primeraOp)));
      // La única larga con letras en c o después es la que estaba en el punto
      // de emisión en c: emitida en c o, si no, todavía allí.
      if (f.ultimo < c) continue;
      if (f.viva) recortar(f, c);
      else reabrir(f, c);
      f.ultimo = c;
      int32_t n = 0;
      const TTramoDiagrama* t = tramosDe(f, n);
      if (n > 0 && t[n - 1].letra == LETRA_EMITIDA) terminar(f, base + i);
      else largaEnPunto = i;
      continue;
    }
    if (finDe(f) > c) recortar(f, c);
    if (f.viva && f.etiqueta >= 0) {
      // La etiqueta sigue siendo suya si ya estaba emitida en c.
      int32_t n = 0;
      const TTramoDiagrama* t = tramosDe(f, n);
      const bool emitida = n > 0 && t[n - 1].letra != LETRA_PREFETCH && t[n - 1].letra != LETRA_DECODIFICADOR;
      if (!emitida) f.etiqueta = -1;
      else if (static_cast<size_t>(f.etiqueta) < secuenciaDeEtiqueta.size())
        secuenciaDeEtiqueta[static_cast<size_t>(f.etiqueta)] = base + i;
    }
  }
  if (!filas.empty()) {
    const TFilaDiagrama& u = filas.back();
    siguienteVista = u.vista + 1 + u.numOps;
  }
  ciclo = cicloFinal = c;
}

// ---------------------------------------------------------------------------
// Superescalar

void TRegistradorDiagrama::buscada(const TInstruccion& ins) {
  if (!admitir(ins.secuencia)) return;
  const int32_t hueco = nuevoHueco();
  TFilaDiagrama& f = filas.emplace_back();
  f.clase = filaSuper;
  f.pc = ins.direccion;
  f.primero = ciclo;
  f.tramos = hueco;
  rellenar(huecoDe(f).emplace_back(), ciclo, LETRA_PREFETCH, TEspera{}, 0);
  recordarTexto(ins);
}

void TRegistradorDiagrama::decodificada(const TInstruccion& ins) {
  if (TFilaDiagrama* f = filaDe(ins.secuencia)) pasarA(*f, LETRA_DECODIFICADOR);
}

void TRegistradorDiagrama::emitida(const TInstruccion& ins, int32_t etiqueta) {
  TFilaDiagrama* f = filaDe(ins.secuencia);
  if (!f) return;
  pasarA(*f, LETRA_ESTACION);
  if (etiqueta < 0 || etiqueta >= MAX_ETIQUETA) return;
  f->etiqueta = etiqueta;
  const auto e = static_cast<size_t>(etiqueta);
  if (e >= secuenciaDeEtiqueta.size()) secuenciaDeEtiqueta.resize(e + 1, -1);
  secuenciaDeEtiqueta[e] = ins.secuencia;
}

void TRegistradorDiagrama::enUnidadDirecciones(const TInstruccion& ins, int32_t) {
  if (TFilaDiagrama* f = filaDe(ins.secuencia)) pasarA(*f, LETRA_DIRECCION);
}

void TRegistradorDiagrama::direccionCalculada(const TInstruccion& ins, int32_t) {
  if (TFilaDiagrama* f = filaDe(ins.secuencia)) pasarA(*f, LETRA_ESTACION);
}

void TRegistradorDiagrama::enUnidad(const TInstruccion& ins, int32_t, int32_t) {
  if (TFilaDiagrama* f = filaDe(ins.secuencia)) pasarA(*f, LETRA_EJECUCION);
}

void TRegistradorDiagrama::falloCache(const TInstruccion& ins, int32_t direccion) {
  if (TFilaDiagrama* f = filaDe(ins.secuencia)) pasarA(*f, LETRA_FALLO, TEspera{espFalloCache, -1, direccion});
}

void TRegistradorDiagrama::resultadoEscrito(const TInstruccion& ins, int32_t) {
  if (TFilaDiagrama* f = filaDe(ins.secuencia)) pasarA(*f, LETRA_ESCRITA);
}

void TRegistradorDiagrama::confirmada(const TInstruccion& ins, int32_t) {
  TFilaDiagrama* f = filaDe(ins.secuencia);
  if (!f) return;
  pasarA(*f, LETRA_CONFIRMADA);
  f->ultimo = ciclo;
  terminar(*f, ins.secuencia);
}

void TRegistradorDiagrama::anulada(const TInstruccion& ins) {
  TFilaDiagrama* f = filaDe(ins.secuencia);
  if (!f) return;
  pasarA(*f, LETRA_ANULADA);
  f->ultimo = ciclo;
  terminar(*f, ins.secuencia);
}

void TRegistradorDiagrama::espera(const TInstruccion& ins, const TEspera& motivo) {
  TFilaDiagrama* f = filaDe(ins.secuencia);
  if (!f) return;
  int32_t distancia = 0;
  if (esperaDeOtraInstruccion(motivo.motivo) && motivo.dato >= 0 &&
      static_cast<size_t>(motivo.dato) < secuenciaDeEtiqueta.size()) {
    const int64_t productor = secuenciaDeEtiqueta[static_cast<size_t>(motivo.dato)];
    if (productor >= 0 && productor < ins.secuencia && ins.secuencia - productor <= INT32_MAX)
      distancia = static_cast<int32_t>(ins.secuencia - productor);
  }
  anotarEspera(*f, motivo, distancia);
}

// ---------------------------------------------------------------------------
// VLIW

void TRegistradorDiagrama::largaEnEmision(int64_t secuencia, int32_t l) {
  cerrarLarga();
  if (!admitir(secuencia)) return;
  TFilaDiagrama f;
  f.clase = filaLarga;
  f.pc = l;
  f.primero = ciclo;
  f.ultimo = ciclo;
  f.tramos = nuevoHueco();
  f.primeraOp = baseOps + static_cast<int64_t>(ops.size());
  f.vista = siguienteVista++;
  filas.push_back(f);
  largaEnPunto = numFilas() - 1;
}

void TRegistradorDiagrama::largaDetenida(int64_t secuencia, int32_t, const TEspera& motivo) {
  TFilaDiagrama* f = filaDe(secuencia);
  if (!f || f->clase != filaLarga) return;
  auto& v = huecoDe(*f);
  // Otro ciclo detenida por lo mismo: el tramo se alarga.
  if (!v.empty() && v.back().letra == LETRA_DETENIDA && v.back().espera() == motivo && f->ultimo == ciclo - 1) {
    f->ultimo = ciclo;
    return;
  }
  pasarA(*f, LETRA_DETENIDA, motivo);
  f->ultimo = ciclo;
}

void TRegistradorDiagrama::largaEmitida(int64_t secuencia, int32_t) {
  TFilaDiagrama* f = filaDe(secuencia);
  if (!f || f->clase != filaLarga) return;
  pasarA(*f, LETRA_EMITIDA);
  f->ultimo = ciclo;
  terminar(*f, secuencia);
  if (largaEnPunto >= 0 && &filas[static_cast<size_t>(largaEnPunto)] == f) largaEnPunto = -1;
}

void TRegistradorDiagrama::operacionEmitida(int64_t secuenciaLarga, int32_t indice, const TOperacionVLIW& op) {
  TFilaDiagrama* l = filaDe(secuenciaLarga);
  // Las operaciones de una larga van seguidas: solo la última puede emitirlas.
  if (!l || l->clase != filaLarga || secuenciaLarga != base + numFilas() - 1) return;
  TFilaDiagrama o;
  o.clase = filaOperacion;
  o.pc = op.direccion;
  o.primero = ciclo;
  o.tipoUF = op.tipoUF;
  o.unidad = static_cast<int8_t>(std::clamp<int32_t>(op.numUnidad, -1, INT8_MAX));
  o.indice = static_cast<int16_t>(std::clamp<int32_t>(indice, -1, INT16_MAX));
  o.tramos = nuevoHueco();
  ops.push_back(o);
  rellenar(huecoDe(o).emplace_back(), ciclo, LETRA_EMITIDA, TEspera{}, 0);
  ++l->numOps;
  ++siguienteVista;
  recordarTexto(op);
}

void TRegistradorDiagrama::operacionFalloCache(int64_t secuenciaLarga, int32_t indice, const TOperacionVLIW&,
                                               int32_t direccion) {
  if (TFilaDiagrama* o = operacionDe(secuenciaLarga, indice))
    pasarA(*o, LETRA_FALLO, TEspera{espFalloCache, -1, direccion});
}

void TRegistradorDiagrama::operacionEjecutada(int64_t secuenciaLarga, int32_t indice, const TOperacionVLIW&) {
  TFilaDiagrama* o = operacionDe(secuenciaLarga, indice);
  if (!o) return;
  pasarA(*o, LETRA_ESCRITA);
  o->ultimo = ciclo;
  terminar(*o, secuenciaLarga);
}

void TRegistradorDiagrama::operacionDescartada(int64_t secuenciaLarga, int32_t indice, const TOperacionVLIW&) {
  TFilaDiagrama* o = operacionDe(secuenciaLarga, indice);
  if (!o) return;
  pasarA(*o, LETRA_ANULADA);
  o->ultimo = ciclo;
  terminar(*o, secuenciaLarga);
}
