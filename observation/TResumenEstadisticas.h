#pragma once
// Lo que se sabe de una ejecución al final de un ciclo, sumado desde el
// principio: contadores, ocupaciones y paradas por causa. Lo calcula el
// recolector de estadísticas y lo enseñan la ventana, el texto para un informe
// y el CSV.

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "machine/TTipos.h"

// Ocupación de una estructura a lo largo de la ejecución (al final de cada ciclo).
struct TOcupacion {
  double media = 0.0;
  int32_t maxima = 0;
  int32_t capacidad = 0;
};

struct TResumenEstadisticas {
  bool superescalar = true;
  int64_t ciclos = 0;
  int64_t fallosCache = 0;
  // Unidades de cada tipo y la parte del tiempo en que cada tipo tuvo alguna
  // etapa ocupada, de 0 a 1 (ciclos × unidades ocupadas / ciclos × unidades).
  std::array<int32_t, NUM_TIPOS_UF> numUnidades{};
  std::array<double, NUM_TIPOS_UF> usoUnidades{};
  // Ciclos de parada por causa, en el orden en que se enseñan; solo las que ocurrieron.
  std::vector<std::pair<std::string, int64_t>> paradas;
  int64_t ciclosParada = 0;

  // Superescalar.
  int32_t anchura = 0;
  int64_t confirmadas = 0;
  int64_t emitidas = 0;
  int64_t saltosConfirmados = 0;
  int64_t fallosPrediccion = 0;
  int64_t anuladas = 0;
  TOcupacion rob;
  std::array<TOcupacion, NUM_TIPOS_UF> estaciones{};

  // VLIW.
  int64_t largasEmitidas = 0;
  int64_t operacionesEmitidas = 0;
  int64_t operacionesEjecutadas = 0;
  int64_t operacionesDescartadas = 0;
  int64_t saltosTomados = 0;
  int32_t huecosPorLarga = 0;  // unidades configuradas: una operación por unidad

  // Instrucciones confirmadas (superescalar) u operaciones ejecutadas (VLIW) por ciclo.
  double ipc() const {
    return ciclos > 0 ? static_cast<double>(superescalar ? confirmadas : operacionesEjecutadas) /
                            static_cast<double>(ciclos)
                      : 0.0;
  }
  double cpi() const {
    const int64_t n = superescalar ? confirmadas : operacionesEjecutadas;
    return n > 0 ? static_cast<double>(ciclos) / static_cast<double>(n) : 0.0;
  }
  // Parte de los saltos confirmados que el predictor acertó; 1 sin saltos.
  double aciertoPrediccion() const {
    return saltosConfirmados > 0
               ? 1.0 - static_cast<double>(fallosPrediccion) / static_cast<double>(saltosConfirmados)
               : 1.0;
  }
  double operacionesPorLarga() const {
    return largasEmitidas > 0 ? static_cast<double>(operacionesEmitidas) / static_cast<double>(largasEmitidas) : 0.0;
  }
  double huecosOcupados() const {
    const int64_t huecos = largasEmitidas * huecosPorLarga;
    return huecos > 0 ? static_cast<double>(operacionesEmitidas) / static_cast<double>(huecos) : 0.0;
  }
};
