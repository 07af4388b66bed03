#pragma once
// Todo el estado de la máquina superescalar en un valor comparable, para repetir
// una ejecución ciclo a ciclo y para volver a un ciclo anterior. Las copias en
// vuelo se guardan como su posición en el programa más lo que puede diferir de
// él (breakpoint, color, secuencia) y se rehacen del programa al restaurar; las
// etapas de las unidades salen de las entradas de estación que las nombran.

#include <array>
#include <cstdint>
#include <vector>

#include "machine/TInstantaneaMaquina.h"
#include "superscalar/TEntradaER.h"
#include "superscalar/TMaquinaSuper.h"

class TInstantaneaSuper : public TInstantaneaMaquina {
public:
  // Una copia en vuelo: la instrucción «direccion» del programa con sus diferencias.
  struct TCopia {
    int32_t direccion = 0;
    bool breakpoint = false;
    TColor color = COLOR_POR_DEFECTO;
    int64_t secuencia = -1;
    bool operator==(const TCopia& o) const {
      return direccion == o.direccion && breakpoint == o.breakpoint && color == o.color && secuencia == o.secuencia;
    }
  };
  struct TEntradaROBGuardada {
    TCopia copia;
    bool listo = false;
    float valor = 0.0f;
    int32_t destino = -1;
    int32_t dirMem = -1;
    bool dirCalculada = false;
    uint8_t etapa = 0;
    bool operator==(const TEntradaROBGuardada& o) const;
  };
  // Una entrada de estación sin su puntero: la instrucción es la de su entrada del ROB.
  struct TEntradaERGuardada {
    int32_t qj, qk;
    float vj, vk;
    int32_t a, tagROB, uf, etapaUF;
    bool operator==(const TEntradaERGuardada& o) const;
  };
  // Una cola: huecos de inicio y fin (la etiqueta es el hueco) y sus entradas en orden.
  template <typename E>
  struct TColaGuardada {
    int32_t tam = 0, inicio = 0, fin = 0;
    std::vector<E> entradas;
    bool operator==(const TColaGuardada& o) const {
      return tam == o.tam && inicio == o.inicio && fin == o.fin && entradas == o.entradas;
    }
  };

  int32_t emision = 0;
  int32_t anchura = 0;
  bool detenidaPorError = false;
  std::array<int32_t, NUM_REGISTROS> robGPR{}, robFPR{};
  std::array<int32_t, TAM_PREDICCION> prediccion{};
  TColaGuardada<TCopia> prefetch, decoder;
  TColaGuardada<TEntradaROBGuardada> rob;
  std::array<std::vector<TEntradaERGuardada>, NUM_TIPOS_UF> er;
  std::vector<TInstantaneaUnidad> aluDir;
  TEstadisticasSuper estadisticas;
  std::vector<int32_t> confirmadasCiclo;
  int64_t contadorSecuencia = 0;

  bool operator==(const TInstantaneaSuper& o) const;
  bool operator!=(const TInstantaneaSuper& o) const { return !(*this == o); }
  // Bytes que ocupa, aproximadamente (sin la reserva de los vectores).
  size_t tamano() const;
};
