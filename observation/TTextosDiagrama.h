#pragma once
// Lo que se dice de cada celda del diagrama: el nombre de su etapa, el motivo
// de una espera en palabras y el color de cada letra. Lo comparten la ventana
// del diagrama, las pistas, los ficheros exportados y orvex-run.

#include <string>

#include "machine/TObservadorCiclo.h"
#include "machine/TTipos.h"
#include "observation/TRegistradorDiagrama.h"

class TTextosDiagrama {
public:
  // La etapa de una letra en una fila de esa clase («En la estación de reserva»).
  static std::string etapa(char letra, TClaseFila clase);
  // El motivo de una espera, en una frase. distancia > 0: cuántas filas antes
  // está la instrucción que se espera.
  static std::string motivo(const TEspera& espera, int32_t distancia = 0);
  // Lo que enseña la pista de una celda: la etapa y, si espera, por qué.
  static std::string pista(const TTramoVisible& tramo, TClaseFila clase);
  // Color de fondo de una letra (el de una celda vacía para las desconocidas).
  static TColor color(char letra);
  // Nombre de una unidad: «Mem 0»; el tipo TIPO_UNIDAD_DIRECCIONES es el de
  // cálculo de direcciones.
  static std::string unidad(int32_t tipo, int32_t numero);
};
