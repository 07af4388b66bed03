#pragma once
// El informe final de una ejecución, en texto para leerlo o en un objeto JSON
// para un programa: resultado, ciclos, contadores de la máquina y registros y
// memoria. Es lo que imprime orvex-run y lo que la interfaz puede exportar.

#include <cstdint>
#include <ostream>
#include <string>

class TMaquinaSuper;
class TMaquinaVLIW;
struct TVeredicto;
class TEscritorJSON;

enum TFinalEjecucion : int8_t {
  finCompletado = 0,
  finMaxCiclos = 1,  // se agotó el límite de ciclos sin terminar
  finError = 2,      // la máquina se detuvo por un error (mensajeError)
};

// El resultado de comprobar una planificación VLIW, si se comprobó.
struct TComprobacionVLIW {
  int32_t codigo = 0;
  std::string mensaje;
};

class TInformeEjecucion {
public:
  static void escribirTexto(std::ostream& salida, const TMaquinaSuper& maquina, TFinalEjecucion final);
  static void escribirTexto(std::ostream& salida, const TMaquinaVLIW& maquina, TFinalEjecucion final);
  // Un objeto en una línea. El de la VLIW lleva «check» solo si se da la
  // comprobación; con «conEstado», «state» lleva las estructuras (TEstadoJSON);
  // los dos llevan «verify» solo si se da el veredicto.
  static void escribirJSON(std::ostream& salida, const TMaquinaSuper& maquina, TFinalEjecucion final,
                           bool conEstado = false, const TVeredicto* verificacion = nullptr);
  static void escribirJSON(std::ostream& salida, const TMaquinaVLIW& maquina, TFinalEjecucion final,
                           const TComprobacionVLIW* comprobacion = nullptr, bool conEstado = false,
                           const TVeredicto* verificacion = nullptr);
  // El objeto «verify»: equal, differences y, si la hay, hint.
  static void escribirVeredictoJSON(TEscritorJSON& j, const TVeredicto& veredicto);
};
