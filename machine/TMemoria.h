#pragma once
// Memoria de datos de 1024 palabras de simple precisión con fallos de caché simulados.

#include <array>
#include <cstdint>
#include <random>

constexpr int TAM_MEMORIA = 1024;

class TMemoria {
public:
  std::array<float, TAM_MEMORIA> datos{};
  std::array<bool, TAM_MEMORIA> fallo{};  // la palabra acaba de fallar y su reintento está por llegar
  int32_t porcentajeFallos = 0;           // 0 … 100

  // Siembra el generador con el reloj.
  TMemoria();

  // Fija la semilla del generador de fallos, para repetir una ejecución exactamente.
  void sembrar(uint32_t semilla) { generador.seed(semilla); }
  // El estado del generador, para las instantáneas de la máquina.
  const std::mt19937& estadoGenerador() const { return generador; }
  void restaurarGenerador(const std::mt19937& estado) { generador = estado; }

  static bool direccionValida(int64_t a) { return a >= 0 && a < TAM_MEMORIA; }

  // Palabras a cero; «fallo» y «porcentajeFallos» no cambian.
  void limpiar() { datos.fill(0.0f); }

  // Prueba de fallo de una lectura de la palabra a: true si falla. El reintento de
  // una lectura que acaba de fallar siempre acierta. Precondición: direccionValida(a).
  bool accesoFalla(int32_t a);

private:
  std::mt19937 generador;
};
