#pragma once
// «Comprobar resultado»: el programa secuencial en el intérprete de referencia,
// desde los mismos registros y memoria con los que empezó la ejecución, frente
// a los registros y la memoria finales de la máquina. El veredicto lleva cada
// diferencia y, cuando la primera tiene una causa conocida en la VLIW (una
// operación descartada por su predicado, un valor leído antes de que su
// productor terminara), una pista.
//
// Cada máquina se compara con las reglas de valores del intérprete que le
// corresponden: la superescalar lleva todo valor como flotante de simple
// precisión y trunca los enteros al confirmar; la VLIW hace aritmética entera
// de 32 bits con desbordamiento circular. Los enteros se comparan por su
// valor y los flotantes bit a bit (un NaN es igual a sí mismo, 0 y -0 difieren).

#include <cstdint>
#include <string>
#include <vector>

#include "machine/TInstantaneaMaquina.h"
#include "observation/TRecolectorEstadisticas.h"
#include "session/TEdicion.h"

class TCodigo;
class TMaquina;
class TMaquinaSuper;
class TMaquinaVLIW;

struct TDiferencia {
  char banco = 'R';  // 'R', 'F' o 'M'
  int32_t indice = 0;
  int32_t esperadoEntero = 0, obtenidoEntero = 0;  // banco R
  float esperado = 0.0f, obtenido = 0.0f;          // bancos F y M

  std::string donde() const { return std::string(1, banco) + std::to_string(indice); }
  std::string textoEsperado() const;
  std::string textoObtenido() const;
};

struct TVeredicto {
  bool vliw = false;
  bool igual = false;
  std::vector<TDiferencia> diferencias;
  std::string pista;                // vacía si la primera diferencia no tiene causa conocida
  std::vector<std::string> avisos;  // lo que hace dudar de la comparación

  // "El programa VLIW calcula lo mismo que el código secuencial", o cuántas diferencias hay.
  std::string titulo() const;
  // El veredicto entero: título, diferencias (como mucho «maximo»), pista y avisos.
  std::string texto(size_t maximo = 50) const;
};

class TComprobacionResultado {
public:
  // Instrucciones que puede ejecutar el intérprete antes de darse por vencido.
  static constexpr int64_t LIMITE_REFERENCIA = 50000000;

  // «inicial»: el estado de partida de la ejecución. Las ediciones de
  // registros y memoria registradas en el ciclo 0 (antes del primero) se
  // aplican a ese estado; las posteriores solo dan un aviso. «terminada»: la
  // máquina terminó (si no, también hay aviso).
  static TVeredicto comprobar(const TCodigo& programa, const TInstantaneaMaquina& inicial,
                              const std::vector<TEdicion>& ediciones, const TMaquinaSuper& final, bool terminada);
  static TVeredicto comprobar(const TCodigo& programa, const TInstantaneaMaquina& inicial,
                              const std::vector<TEdicion>& ediciones, const TMaquinaVLIW& final, bool terminada,
                              const std::vector<TOperacionDescartada>& descartadas);

private:
  static TVeredicto comparar(bool vliw, const TCodigo& programa, const TInstantaneaMaquina& inicial,
                             const std::vector<TEdicion>& ediciones, const TMaquina& final, bool terminada,
                             std::string& motivoInexacto);
  static std::string pistaVLIW(const TVeredicto& v, const TMaquinaVLIW& final,
                               const std::vector<TOperacionDescartada>& descartadas);
};
