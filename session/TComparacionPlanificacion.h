#pragma once
// La planificación del alumno frente a la automática: las dos ejecutadas en una
// copia de la máquina VLIW, desde el mismo estado (configuración, registros y
// memoria) y con la misma semilla de fallos, hasta que terminan, fallan o
// llegan al límite de ciclos. La máquina original no se toca.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "loader/TCodigo.h"
#include "reports/TComprobacionResultado.h"
#include "vliw/TCodigoVLIW.h"
#include "vliw/TInstantaneaVLIW.h"
#include "vliw/TMaquinaVLIW.h"

struct TEjecucionPlanificada {
  // SESION_OK si se ejecutó; si no, el motivo por el que no pudo empezar
  // (SESION_SIN_PROGRAMA, SESION_CONFIGURACION) o PLANIFICACION_DEMASIADO_LARGA.
  int32_t inicio = 0;
  bool terminada = false;  // acabó el programa (no un error ni el límite)
  std::string error;       // el de la máquina, si se detuvo por uno
  int32_t ciclos = 0;
  // Del programa: instrucciones largas y operaciones que contiene.
  int32_t instruccionesLargas = 0;
  int32_t operaciones = 0;
  TEstadisticasVLIW estadisticas;  // de la ejecución
  // La máquina al final y su estado de partida, para comprobar su resultado
  // (nula si no empezó).
  std::unique_ptr<TMaquinaVLIW> maquina;
  TInstantaneaVLIW inicial;
  // «Comprobar resultado» de esta ejecución frente al código secuencial.
  TVeredicto veredicto;

  // Operaciones por instrucción larga del programa, y de las emitidas en la ejecución.
  double densidad() const;
  double operacionesPorEmitida() const;
};

class TComparacionPlanificacion {
public:
  static constexpr int32_t LIMITE_CICLOS = 1000000;

  TEjecucionPlanificada alumno;
  TEjecucionPlanificada automatica;

  // Planifica «secuencial» con la configuración de «maquina» y ejecuta las
  // dos. «limpiar» es la opción de resetear la máquina al iniciar. El
  // programa de «maquina» debe ser el que se cargó sobre «secuencial».
  void comparar(const TMaquinaVLIW& maquina, const TCodigo& secuencial, bool limpiar, uint32_t semilla,
                int32_t limiteCiclos = LIMITE_CICLOS);

  // Las operaciones de un programa VLIW.
  static int32_t operacionesDe(const TCodigoVLIW& programa);

private:
  // Una copia de «origen» con el programa que pone «programar» (false si no
  // pudo: «inicio» queda con su código), ejecutada en «destino».
  static void ejecutar(const TMaquinaVLIW& origen, const TCodigo& secuencial,
                       const std::function<int32_t(TMaquinaVLIW&)>& programar, bool limpiar, uint32_t semilla,
                       int32_t limiteCiclos, TEjecucionPlanificada& destino);
};
