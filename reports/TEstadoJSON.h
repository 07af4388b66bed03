#pragma once
// Las estructuras de una máquina en un momento dado, como un objeto JSON (la
// clave «state» del informe de orvex-run --state): lo que enseñan las ventanas
// de ejecución, para comparar dos ejecuciones o responder qué tiene la máquina
// tras un ciclo. Las colas y listas van de la entrada más antigua a la más
// nueva; las etapas de una unidad, de la entrada a la salida.

class TEscritorJSON;
class TMaquinaSuper;
class TMaquinaVLIW;

class TEstadoJSON {
public:
  // prefetch, decoder, rob, stations, units (con «ALU Dir.») y rename.
  static void escribir(TEscritorJSON& j, const TMaquinaSuper& maquina);
  // units, nat y predicates.
  static void escribir(TEscritorJSON& j, const TMaquinaVLIW& maquina);
};
