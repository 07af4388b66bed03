#pragma once
// Reparte los sucesos de una máquina entre varios observadores (el diagrama y
// las estadísticas, por ejemplo), en el orden en que se añadieron.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "machine/TObservadorCiclo.h"

class TMultiplexorObservadores : public TObservadorCiclo {
public:
  // No se poseen. Añadir dos veces el mismo lo llama dos veces.
  void anadir(TObservadorCiclo* observador);
  void quitar(TObservadorCiclo* observador);
  bool vacio() const { return observadores.empty(); }
  size_t numObservadores() const { return observadores.size(); }

  void reiniciada() override;
  void inicioCiclo(int32_t ciclo) override;
  void finCiclo(int32_t ciclo, int8_t resultado) override;
  void vueltaAtras(int32_t ciclo) override;

  void buscada(const TInstruccion& ins) override;
  void decodificada(const TInstruccion& ins) override;
  void emitida(const TInstruccion& ins, int32_t etiqueta) override;
  void enUnidadDirecciones(const TInstruccion& ins, int32_t unidad) override;
  void direccionCalculada(const TInstruccion& ins, int32_t direccion) override;
  void enUnidad(const TInstruccion& ins, int32_t tipo, int32_t unidad) override;
  void falloCache(const TInstruccion& ins, int32_t direccion) override;
  void resultadoEscrito(const TInstruccion& ins, int32_t etiqueta) override;
  void confirmada(const TInstruccion& ins, int32_t etiqueta) override;
  void anulada(const TInstruccion& ins) override;
  void espera(const TInstruccion& ins, const TEspera& motivo) override;
  void emisionDetenida(const TEspera& motivo, int32_t emitidas) override;

  void largaEnEmision(int64_t secuencia, int32_t larga) override;
  void largaDetenida(int64_t secuencia, int32_t larga, const TEspera& motivo) override;
  void largaEmitida(int64_t secuencia, int32_t larga) override;
  void operacionEmitida(int64_t secuenciaLarga, int32_t indice, const TOperacionVLIW& op) override;
  void operacionFalloCache(int64_t secuenciaLarga, int32_t indice, const TOperacionVLIW& op,
                           int32_t direccion) override;
  void operacionEjecutada(int64_t secuenciaLarga, int32_t indice, const TOperacionVLIW& op) override;
  void operacionDescartada(int64_t secuenciaLarga, int32_t indice, const TOperacionVLIW& op) override;

private:
  std::vector<TObservadorCiclo*> observadores;
};
