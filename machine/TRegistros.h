#pragma once
// Banco de 64 registros con escritura en dos fases: lo escrito en un ciclo se
// deja en «nuevo» y no se ve hasta actualizar(). La máquina VLIW lo usa así; la
// superescalar solo usa «pendiente» como marca de renombrado.

#include <array>
#include <cstdint>

constexpr int NUM_REGISTROS = 64;

template <typename T>
class TRegistros {
public:
  std::array<T, NUM_REGISTROS> valor{};
  std::array<T, NUM_REGISTROS> nuevo{};
  std::array<bool, NUM_REGISTROS> pendiente{};

  static bool indiceValido(int64_t i) { return i >= 0 && i < NUM_REGISTROS; }

  // Hace visibles a la vez todas las escrituras pendientes del ciclo.
  void actualizar() {
    for (int i = 0; i < NUM_REGISTROS; ++i)
      if (pendiente[i]) {
        valor[i] = nuevo[i];
        pendiente[i] = false;
      }
  }

  // Valores a cero y nada pendiente; «nuevo» no se toca.
  void limpiar() {
    valor.fill(T{});
    pendiente.fill(false);
  }

  // Escritura diferida hasta actualizar(); el llamador garantiza 0 <= i < 64.
  void escribirPendiente(int i, T v) {
    nuevo[i] = v;
    pendiente[i] = true;
  }
};
