#pragma once
// Estado común de las dos máquinas: configuración, unidades funcionales, bancos de
// registros, memoria, contador de programa, ciclo y marcas de ejecución.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "machine/TMemoria.h"
#include "machine/TObservadorCiclo.h"
#include "machine/TRegistros.h"
#include "machine/TTipos.h"
#include "machine/TUnidadFuncional.h"

// Resultados de un ciclo.
constexpr int8_t CICLO_NORMAL = 0;
constexpr int8_t CICLO_BREAKPOINT = -1;
constexpr int8_t CICLO_COMPLETADO = -2;
constexpr int8_t CICLO_VACIANDO = -3;  // solo la máquina VLIW
constexpr int8_t CICLO_ERROR = -4;     // error en ejecución; el mensaje queda en mensajeError

// Límites de configuración que imponen los diálogos.
constexpr int32_t MIN_UF = 1, MAX_UF = 10;
constexpr int32_t MIN_LATENCIA = 1, MAX_LATENCIA = 100;
constexpr int32_t MIN_LAT_FALLO = 0, MAX_LAT_FALLO = 100;

constexpr std::array<int32_t, NUM_TIPOS_UF> NUM_UF_DEFECTO = {2, 2, 2, 2, 2, 1};
constexpr std::array<int32_t, NUM_TIPOS_UF> LAT_UF_DEFECTO = {1, 2, 4, 6, 4, 2};
constexpr int32_t LAT_FALLO_DEFECTO = 9;

class TMaquina {
public:
  std::array<int32_t, NUM_TIPOS_UF> numUF = NUM_UF_DEFECTO;
  std::array<int32_t, NUM_TIPOS_UF> latUF = LAT_UF_DEFECTO;
  int32_t latFalloCache = LAT_FALLO_DEFECTO;
  std::array<std::vector<TUnidadFuncional>, NUM_TIPOS_UF> uf;
  TRegistros<int32_t> gpr;
  TRegistros<float> fpr;
  TMemoria memoria;
  uint32_t pc = 0;
  int32_t ciclo = 0;
  bool enEjecucion = false;
  bool paradaBreakpoint = false;
  std::string mensajeError;  // motivo del último CICLO_ERROR; vacío si no lo hubo
  // Quien quiere saber qué pasa en cada ciclo; no se posee. Sin él las máquinas
  // no calculan nada de más.
  TObservadorCiclo* observador = nullptr;

  TMaquina();
  virtual ~TMaquina() = default;
  TMaquina(const TMaquina&) = delete;
  TMaquina& operator=(const TMaquina&) = delete;

  // Vuelve al principio de una ejecución; con limpiar, registros y memoria a cero.
  // Las estructuras dimensionadas por la configuración se reconstruyen aquí.
  virtual void reset(bool limpiar);

  // Un ciclo; devuelve uno de los códigos CICLO_*.
  virtual int8_t ejecutarCiclo() = 0;

  int32_t totalUF() const;

  // Parada de una unidad de memoria tras un fallo: nunca negativa.
  int32_t paradaPorFallo(const TUnidadFuncional& unidad) const {
    const int32_t p = latFalloCache - unidad.latencia;
    return p > 0 ? p : 0;
  }

  // Configuración dentro de los límites de los diálogos (las máquinas se
  // dimensionan con ella; valores absurdos se llevan al límite más cercano).
  void acotarConfiguracion();

protected:
  // Las máquinas derivadas lo llaman al final de su reset, cuando todo está en su sitio.
  void notificarReinicio();
};
