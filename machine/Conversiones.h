#pragma once
// Conversiones numéricas sin comportamiento indefinido: todo paso de flotante a
// entero y toda aritmética entera de 32 bits de las máquinas pasa por aquí.

#include <cmath>
#include <cstdint>
#include <limits>

// Truncamiento hacia cero; NaN da 0 y lo que no cabe en 32 bits se satura.
inline int32_t flotanteAEntero(double v) {
  if (std::isnan(v)) return 0;
  if (v >= 2147483648.0) return std::numeric_limits<int32_t>::max();
  if (v <= -2147483649.0) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(v);
}

// Suma y producto de 32 bits con desbordamiento circular (complemento a dos).
inline int32_t sumaEntera(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}

inline int32_t multEntera(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) * static_cast<uint32_t>(b));
}

// Dirección efectiva exacta (base + desplazamiento) sin desbordamiento.
inline int64_t direccionEfectiva(int32_t base, int32_t desplazamiento) {
  return static_cast<int64_t>(base) + static_cast<int64_t>(desplazamiento);
}
