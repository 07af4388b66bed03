#pragma once
// Lo que una instantánea guarda del estado común de las dos máquinas:
// configuración, unidades (sin sus etapas, que cada máquina guarda a su modo),
// registros, memoria con sus marcas de fallo, generador de fallos, pc, ciclo y
// marcas de la ejecución. Se compara bit a bit (un NaN es igual a sí mismo).

#include <array>
#include <bitset>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "machine/TMemoria.h"
#include "machine/TRegistros.h"
#include "machine/TTipos.h"

class TMaquina;

struct TInstantaneaUnidad {
  int32_t salida = 0;
  int32_t parada = 0;
  int32_t ocupadas = 0;
  int32_t latencia = 0;

  bool operator==(const TInstantaneaUnidad& o) const {
    return salida == o.salida && parada == o.parada && ocupadas == o.ocupadas && latencia == o.latencia;
  }
};

class TInstantaneaMaquina {
public:
  std::array<int32_t, NUM_TIPOS_UF> numUF{};
  std::array<int32_t, NUM_TIPOS_UF> latUF{};
  int32_t latFalloCache = 0;
  std::array<std::vector<TInstantaneaUnidad>, NUM_TIPOS_UF> unidades;
  std::array<int32_t, NUM_REGISTROS> gpr{}, gprNuevo{};
  std::array<float, NUM_REGISTROS> fpr{}, fprNuevo{};
  std::bitset<NUM_REGISTROS> gprPendiente, fprPendiente;
  std::array<float, TAM_MEMORIA> memoria{};
  std::bitset<TAM_MEMORIA> fallo;
  int32_t porcentajeFallos = 0;
  std::mt19937 generador;
  uint32_t pc = 0;
  int32_t ciclo = 0;
  bool enEjecucion = false;
  bool paradaBreakpoint = false;
  std::string mensajeError;

  bool operator==(const TInstantaneaMaquina& o) const;
  bool operator!=(const TInstantaneaMaquina& o) const { return !(*this == o); }

  // Toma o devuelve la parte común; las unidades quedan vacías al restaurar
  // (cada máquina vuelve a poner sus etapas).
  void capturar(const TMaquina& m);
  void restaurar(TMaquina& m) const;
};

// Igualdad bit a bit de dos tablas de flotantes.
template <size_t N>
bool mismosBits(const std::array<float, N>& a, const std::array<float, N>& b);
