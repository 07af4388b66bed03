#pragma once
// Planificador de listas: construye a partir del programa secuencial un
// programa VLIW para una configuración de la máquina, sin intervención del
// alumno. Sirve de referencia para juzgar una planificación hecha a mano.
//
// Lo que garantiza el programa que deja (con la configuración con que se
// planificó, llevada a los límites de los diálogos):
//  - comprobarConfiguracion y comprobarCodigo de TMaquinaVLIW dan 0;
//  - ejecutado en la máquina VLIW, con cualquier porcentaje de fallos de caché
//    y cualquier latencia de fallo no mayor que la planificada, deja los mismos
//    registros y la misma memoria que el programa secuencial ejecutado en
//    orden (si acaba y no accede fuera de la memoria; si accede, la ejecución
//    se detiene, aunque quizá con operaciones posteriores ya hechas);
//  - cada bloque básico ocupa instrucciones largas consecutivas, en el orden de
//    los bloques; un salto va a la primera instrucción larga del bloque destino
//    (más allá del final si el destino no existe) y las demás operaciones de su
//    bloque se emiten antes que él o en su sombra; un bloque sin salto sigue en
//    la primera instrucción larga del bloque siguiente;
//  - ninguna operación lleva guarda; cada salto pone un par de registros de
//    predicado (1 y 2, 3 y 4, … 61 y 62, y vuelta a empezar) que nada lee;
//  - instrucciones largas vacías solo donde lo exigen una latencia, la sombra
//    de un salto o las reglas que protegen de los fallos de caché.
//
// Reglas (véase el .cpp): dentro de un bloque se respetan las dependencias
// verdaderas, anti y de salida sobre registros y el orden de cada carga y cada
// almacenamiento respecto de los almacenamientos, contando el ciclo en que cada
// operación lee sus registros (al salir de su unidad) y no el de su emisión.
// Con fallos que cuestan ciclos, todas las cargas van a la unidad de memoria 0
// y las esperas se calculan con una cota del retraso que pueden sufrir (o se
// ahorran tras una operación que lee el destino de una carga, que no se emite
// hasta que termina); la sombra de un salto nunca puede pararse. Lo que cada
// bloque deja en vuelo pasa a sus sucesores, también hacia atrás en los
// bucles, por un punto fijo.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "loader/TCodigo.h"
#include "machine/TMaquina.h"
#include "vliw/TCodigoVLIW.h"

class TMaquinaVLIW;

// Resultados de planificar.
constexpr int32_t PLANIFICACION_OK = 0;
// El programa no cabe en MAX_INSTRUCCIONES_LARGAS instrucciones largas (el
// máximo que admite un fichero *.vliw); el destino queda vacío.
constexpr int32_t PLANIFICACION_DEMASIADO_LARGA = -1;

// Un bloque básico del programa planificado.
struct TBloquePlanificado {
  int32_t bloque = 0;              // número de bloque de su primera instrucción
  int32_t primeraInstruccion = 0;  // en el programa secuencial
  int32_t numOperaciones = 0;      // salto incluido
  int32_t primeraLarga = 0;        // índice de su primera instrucción larga
  int32_t longitud = 0;            // instrucciones largas, con la sombra del salto
  // Cota inferior de la longitud del bloque por sí solo, para cualquier
  // planificación correcta cuando los fallos no cuestan: la mayor entre el
  // camino crítico por latencias (dependencias verdaderas, anti, de salida y
  // de memoria, hasta la última emisión o hasta el salto más su sombra) y las
  // instrucciones largas que necesita el tipo de unidad más cargado. No cuenta
  // lo que deja en vuelo el bloque anterior ni las esperas por los fallos.
  int32_t cotaInferior = 0;
};

class TPlanificadorVLIW {
public:
  // Lo que se dice cuando el programa no cabe (PLANIFICACION_DEMASIADO_LARGA),
  // en la interfaz y en orvex-run, con el detalle debajo.
  static constexpr const char* MENSAJE_DEMASIADO_LARGA = "No se puede planificar el programa automáticamente";
  static std::string detalleDemasiadoLarga();

  // Configuración con la que se planifica (se lleva a los límites de los
  // diálogos; la máquina VLIW tiene siempre una sola unidad de salto).
  std::array<int32_t, NUM_TIPOS_UF> numUF = NUM_UF_DEFECTO;
  std::array<int32_t, NUM_TIPOS_UF> latUF = LAT_UF_DEFECTO;
  int32_t latFalloCache = LAT_FALLO_DEFECTO;

  // Un elemento por bloque básico, en orden, tras la última planificación.
  std::vector<TBloquePlanificado> bloques;

  TPlanificadorVLIW() = default;
  // Toma numUF, latUF y latFalloCache de la máquina.
  explicit TPlanificadorVLIW(const TMaquina& maquina);

  // Deja en «destino» la planificación de «codigo». Si destino es el programa
  // de una máquina, hay que vaciar antes sus unidades (mejor la otra forma).
  int32_t planificar(const TCodigo& codigo, TCodigoVLIW& destino);
  // Con la configuración de la máquina, sobre su propio programa (vacía antes
  // sus unidades, como borrarCodigo).
  int32_t planificar(const TCodigo& codigo, TMaquinaVLIW& maquina);

  // Sumas sobre los bloques de la última planificación.
  int64_t longitudTotal() const;
  int64_t cotaTotal() const;
  int64_t operacionesTotales() const;
};
