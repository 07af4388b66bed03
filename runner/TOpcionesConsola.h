#pragma once
// Opciones de orvex-run, leídas de la línea de órdenes.

#include <array>
#include <climits>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "machine/TMaquina.h"

// Valor inicial de un registro o de una palabra de memoria (--set).
struct TValorInicial {
  char banco = 'R';  // 'R', 'F' o 'M'
  int32_t indice = 0;
  int32_t entero = 0;  // para R
  float flotante = 0;  // para F y M
};

class TOpcionesConsola {
public:
  enum TAccion { accEjecutar, accAyuda, accVersion };

  TAccion accion = accEjecutar;
  bool vliw = false;
  std::string programa;
  std::string programaVLIW;
  // --auto-schedule: el programa VLIW es la planificación automática del
  // fuente (en vez de -p), que -o guarda además en un fichero.
  bool planificarAuto = false;
  std::string salidaPlanificacion;
  std::array<int32_t, NUM_TIPOS_UF> unidades = NUM_UF_DEFECTO;
  std::array<int32_t, NUM_TIPOS_UF> latencias = LAT_UF_DEFECTO;
  int32_t latenciaFallo = LAT_FALLO_DEFECTO;
  int32_t emision = 4;
  int32_t porcentajeFallos = 0;
  std::optional<uint32_t> semilla;
  std::vector<TValorInicial> valores;
  int64_t maxCiclos = 100000;
  bool comprobar = false;
  bool verificar = false;  // --verify: el resultado frente al código secuencial
  bool comparar = false;   // --compare: las dos máquinas, una tras otra
  bool traza = false;
  bool json = false;
  bool estado = false;  // --state: las estructuras al final, en el informe JSON
  // --timeline: el diagrama instrucción × ciclo tras la traza, en el formato de
  // --timeline-format y limitado a los ciclos de --timeline-cycles.
  enum TFormatoDiagrama { diagJSON, diagTexto, diagCSV, diagTabla, diagSVG };
  bool diagrama = false;
  TFormatoDiagrama formatoDiagrama = diagJSON;
  int32_t diagramaDesde = 0;
  int32_t diagramaHasta = INT32_MAX;

  // Lee los argumentos (sin el nombre del programa). Devuelve false con un
  // mensaje en error si la orden está mal formada.
  bool analizar(const std::vector<std::string>& argumentos, std::string& error);

  static const char* textoAyuda();
};
