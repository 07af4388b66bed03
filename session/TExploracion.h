#pragma once
// «Explorar configuración»: el mismo programa en la máquina superescalar una
// vez por cada valor de un parámetro (anchura de emisión, unidades o latencia
// de un tipo, latencia de fallo, porcentaje de fallos), con la misma semilla
// y los mismos datos en cada ejecución para que la curva no sea ruido. Cada
// ejecución usa su propia máquina y la copia del programa: se puede llevar a
// un hilo de trabajo sin tocar nada de la ventana.

#include <atomic>
#include <cstdint>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "loader/TCodigo.h"
#include "reports/TInformeEjecucion.h"
#include "session/TConfiguracionMaquina.h"
#include "session/TDatosIniciales.h"

enum TParametroExploracion : int8_t {
  parEmision = 0,
  parUnidades = 1,         // de un tipo
  parLatencia = 2,         // de un tipo
  parLatenciaFallo = 3,
  parPorcentajeFallos = 4,
};
constexpr int NUM_PARAMETROS_EXPLORACION = 5;

struct TPuntoExploracion {
  int32_t valor = 0;
  int32_t ciclos = 0;
  int64_t confirmadas = 0;
  double ipc = 0.0;
  TFinalEjecucion final = finCompletado;
};

class TExploracion {
public:
  // Todo se copia.
  TExploracion(const TCodigo& programa, const TConfiguracionMaquina& base, const TDatosIniciales& datos,
               uint32_t semilla);

  TParametroExploracion parametro = parEmision;
  int32_t tipo = 0;  // tipo de unidad, para parUnidades y parLatencia
  int32_t desde = 2;
  int32_t hasta = 16;
  int64_t maxCiclos = 100000;

  // Valores que admite el parámetro (los de los diálogos de configuración).
  static void rango(TParametroExploracion parametro, int32_t& minimo, int32_t& maximo);
  // "Anchura de emisión", "Unidades +Flotante", "Latencia Mem"…
  static std::string nombre(TParametroExploracion parametro, int32_t tipo);

  // La configuración base con el parámetro a ese valor.
  TConfiguracionMaquina configuracionCon(int32_t valor) const;
  TPuntoExploracion ejecutarPunto(int32_t valor) const;
  // De «desde» a «hasta» (acotados al rango del parámetro). Tras cada punto se
  // llama a «alTerminar» (si lo hay); «cancelar», mirado entre ciclos, corta la
  // ejecución en curso y la deja fuera. Devuelve los puntos terminados.
  std::vector<TPuntoExploracion> ejecutar(const std::atomic<bool>* cancelar = nullptr,
                                          const std::function<void(const TPuntoExploracion&)>& alTerminar = {}) const;

  static void escribirCSV(std::ostream& salida, const std::string& nombreParametro,
                          const std::vector<TPuntoExploracion>& puntos);

private:
  bool correrPunto(int32_t valor, const std::atomic<bool>* cancelar, TPuntoExploracion& punto) const;

  TCodigo programa;
  TConfiguracionMaquina base;
  TDatosIniciales datos;
  uint32_t semilla;
};
