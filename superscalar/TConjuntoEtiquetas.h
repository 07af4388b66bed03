#pragma once
// Conjunto de etiquetas del ROB (huecos 0 … tam−1) que se recorre en el orden
// del ROB, desde su cabeza y dando la vuelta. Con la configuración mayor hay
// miles de huecos y casi todos fuera del conjunto: un resumen de palabras no
// vacías evita mirarlas una a una.

#include <cstdint>
#include <vector>

class TConjuntoEtiquetas {
public:
  // Vacía el conjunto y lo hace de «tam» huecos.
  void redimensionar(int32_t tam) {
    huecos = tam > 0 ? tam : 0;
    const size_t n = (static_cast<size_t>(huecos) + 63) / 64;
    palabras.assign(n, 0);
    resumen.assign((n + 63) / 64, 0);
    cuenta = 0;
  }

  void limpiar() {
    if (cuenta == 0) return;
    for (size_t s = 0; s < resumen.size(); ++s) {
      for (uint64_t b = resumen[s]; b != 0; b &= b - 1) palabras[s * 64 + static_cast<size_t>(__builtin_ctzll(b))] = 0;
      resumen[s] = 0;
    }
    cuenta = 0;
  }

  // Fuera de rango, sin efecto.
  void poner(int32_t i) {
    if (!valida(i)) return;
    uint64_t& p = palabras[palabra(i)];
    const uint64_t bit = uint64_t{1} << (i & 63);
    if ((p & bit) != 0) return;
    p |= bit;
    resumen[palabra(i) / 64] |= uint64_t{1} << (palabra(i) & 63);
    ++cuenta;
  }

  void quitar(int32_t i) {
    if (!valida(i)) return;
    uint64_t& p = palabras[palabra(i)];
    const uint64_t bit = uint64_t{1} << (i & 63);
    if ((p & bit) == 0) return;
    p &= ~bit;
    if (p == 0) resumen[palabra(i) / 64] &= ~(uint64_t{1} << (palabra(i) & 63));
    --cuenta;
  }

  bool contiene(int32_t i) const {
    return valida(i) && (palabras[palabra(i)] & (uint64_t{1} << (i & 63))) != 0;
  }
  bool vacio() const { return cuenta == 0; }
  int32_t numElementos() const { return cuenta; }

  // Llama a f(etiqueta) en orden desde «inicio», dando la vuelta, hasta que f
  // devuelva false. f puede quitar etiquetas (la actual o cualquier otra), no poner.
  template <typename F>
  void recorrer(int32_t inicio, F&& f) const {
    if (cuenta == 0 || !valida(inicio)) return;
    const size_t w0 = palabra(inicio);
    const uint64_t alto = ~uint64_t{0} << (inicio & 63);
    if (!visitarPalabra(w0, palabras[w0] & alto, f)) return;
    if (!visitarTramo(w0 + 1, palabras.size(), f)) return;
    if (!visitarTramo(0, w0, f)) return;
    visitarPalabra(w0, palabras[w0] & ~alto, f);
  }

private:
  std::vector<uint64_t> palabras;
  std::vector<uint64_t> resumen;  // bit w: palabras[w] no está vacía
  int32_t cuenta = 0;
  int32_t huecos = 0;

  static size_t palabra(int32_t i) { return static_cast<size_t>(i) >> 6; }
  bool valida(int32_t i) const { return i >= 0 && i < huecos; }

  template <typename F>
  static bool visitarPalabra(size_t w, uint64_t bits, F& f) {
    for (; bits != 0; bits &= bits - 1)
      if (!f(static_cast<int32_t>(w * 64 + static_cast<size_t>(__builtin_ctzll(bits))))) return false;
    return true;
  }

  // Las palabras no vacías de [desde, hasta), en orden.
  template <typename F>
  bool visitarTramo(size_t desde, size_t hasta, F& f) const {
    for (size_t s = desde / 64; s * 64 < hasta; ++s) {
      uint64_t b = resumen[s];
      if (s == desde / 64) b &= ~uint64_t{0} << (desde & 63);
      if ((s + 1) * 64 > hasta) b &= (hasta & 63) != 0 ? (uint64_t{1} << (hasta & 63)) - 1 : ~uint64_t{0};
      for (; b != 0; b &= b - 1) {
        const size_t w = s * 64 + static_cast<size_t>(__builtin_ctzll(b));
        if (!visitarPalabra(w, palabras[w], f)) return false;
      }
    }
    return true;
  }
};
