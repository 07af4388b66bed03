#pragma once
// «Comparar máquinas»: el programa en la superescalar y su programa VLIW en
// la VLIW, cada una con su configuración, desde los mismos registros y
// memoria y con la misma semilla de fallos, hasta su final y sin ventanas.
// Las máquinas son propias: las de la ventana no se tocan. De cada una quedan
// sus ciclos, su IPC y el veredicto frente al código secuencial.

#include <array>
#include <cstdint>
#include <ostream>
#include <vector>
#include <string>

#include "loader/TCodigo.h"
#include "observation/TRecolectorEstadisticas.h"
#include "reports/TComprobacionResultado.h"
#include "reports/TInformeEjecucion.h"
#include "session/TConfiguracionMaquina.h"
#include "session/TDatosIniciales.h"
#include "superscalar/TMaquinaSuper.h"
#include "vliw/TMaquinaVLIW.h"

struct TResultadoMaquina {
  bool ejecutada = false;
  std::string motivo;  // por qué no se ejecutó (sin programa VLIW, configuración que no vale)
  TFinalEjecucion final = finCompletado;
  int32_t ciclos = 0;
  int64_t completadas = 0;  // instrucciones confirmadas u operaciones ejecutadas
  int64_t largas = 0;       // VLIW: instrucciones largas emitidas
  double ipc = 0.0;
  std::string configuracion;
  TVeredicto veredicto;
};

class TComparacionMaquinas {
public:
  // El programa se copia.
  explicit TComparacionMaquinas(const TCodigo& programa);
  TComparacionMaquinas(const TComparacionMaquinas&) = delete;
  TComparacionMaquinas& operator=(const TComparacionMaquinas&) = delete;

  // La configuración de cada máquina; la VLIW, también con una copia de su programa.
  void configurar(const TConfiguracionMaquina& super, const TConfiguracionMaquina& vliw);
  void copiarProgramaVLIW(const TCodigoVLIW& origen);

  // Las dos, hasta su final o «maxCiclos».
  void ejecutar(const TDatosIniciales& datos, uint32_t semilla, int64_t maxCiclos);
  // Solo una («Comprobar resultado» de una ejecución que no ha terminado).
  void ejecutarSuper(const TDatosIniciales& datos, uint32_t semilla, int64_t maxCiclos);
  void ejecutarVLIW(const TDatosIniciales& datos, uint32_t semilla, int64_t maxCiclos);

  // Ciclos de la superescalar entre ciclos de la VLIW (más de 1: la VLIW es más
  // rápida); 0 si alguna no ha terminado.
  double aceleracionVLIW() const;

  // Las dos columnas lado a lado: {magnitud, superescalar, VLIW}, como las
  // enseñan la ventana, el texto que se copia y el CSV.
  std::vector<std::array<std::string, 3>> tabla() const;
  void escribirTexto(std::ostream& salida) const;
  void escribirCSV(std::ostream& salida) const;

  // Hasta el final, sin parar en breakpoints; un error o el límite también acaban.
  static TFinalEjecucion correr(TMaquina& maquina, int64_t maxCiclos);

  TCodigo programa;
  TMaquinaSuper super;
  TMaquinaVLIW vliw;
  TRecolectorEstadisticas recolectorVLIW;
  TResultadoMaquina resultadoSuper, resultadoVLIW;
};
