#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "machine/TInstruccion.h"

// Etapas de una entrada del reorder buffer.
constexpr uint8_t ETAPA_ISSUE = 0;
constexpr uint8_t ETAPA_EXEC = 1;
constexpr uint8_t ETAPA_WRITE = 2;
constexpr uint8_t ETAPA_COMMIT = 3;  // solo para la tabla de nombres: ninguna entrada la lleva
extern const std::array<std::string, 4> nombresEtapa;

// Entrada del reorder buffer; su etiqueta es el hueco que ocupa en la cola.
class TEntradaROB {
public:
  std::unique_ptr<TInstruccion> instruccion;  // la copia en vuelo; se destruye con la entrada
  bool listo = false;
  float valor = 0.0f;     // resultado, valor a almacenar, o 1,0/0,0 para un salto tomado/no tomado
  int32_t destino = -1;   // registro destino, -1 si no escribe registro
  int32_t dirMem = -1;    // dirección efectiva de una carga o almacenamiento (se muestra en «Direc.»)
  bool dirCalculada = false;  // la unidad de direcciones ya terminó (dirMem puede valer -1)
  uint8_t etapa = ETAPA_ISSUE;
};
