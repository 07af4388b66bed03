#pragma once
// Unidad funcional segmentada: un anillo de «latencia» etapas. Las instrucciones
// no se desplazan; se mueve el índice de salida hacia atrás una etapa por ciclo.
// La unidad nunca libera las instrucciones a las que apuntan sus etapas.

#include <cstdint>
#include <vector>

#include "machine/TInstruccion.h"

class TUnidadFuncional {
public:
  int32_t ocupadas = 0;  // etapas con instrucción
  int32_t salida = 0;    // índice de la etapa de salida
  int32_t parada = 0;    // ciclos de parada que quedan
  uint8_t tipo = 0;      // código de TTipoUF
  int32_t latencia = 0;
  std::vector<TInstruccion*> etapas;  // vacía hasta inicializar

  // latencia >= 1. «parada» no cambia.
  void inicializar(int32_t lat);

  // Un ciclo: con parada, solo la descuenta; si no, vacía la etapa de salida y retrocede.
  void avanzar();

  // Escribe en la etapa de entrada, que el llamador ha visto libre (puedeAceptar).
  // Devuelve el índice de esa etapa.
  int32_t insertar(TInstruccion* instruccion);

  void vaciar();

  int32_t etapaEntrada() const { return latencia > 0 ? (salida + 1) % latencia : 0; }
  bool puedeAceptar() const { return latencia > 0 && etapas[static_cast<size_t>(etapaEntrada())] == nullptr; }
  TInstruccion* enSalida() const { return latencia > 0 ? etapas[static_cast<size_t>(salida)] : nullptr; }
  // Etapa que se muestra en la fila r (1 … latencia) de las vistas: 1 es la entrada.
  TInstruccion* etapaVista(int32_t r) const {
    return latencia > 0 ? etapas[static_cast<size_t>((salida + r) % latencia)] : nullptr;
  }
};
