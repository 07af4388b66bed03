#include "observation/TMultiplexorObservadores.h"

#include <algorithm>

void TMultiplexorObservadores::anadir(TObservadorCiclo* observador) {
  if (observador != nullptr && observador != this) observadores.push_back(observador);
}

void TMultiplexorObservadores::quitar(TObservadorCiclo* observador) {
  observadores.erase(std::remove(observadores.begin(), observadores.end(), observador), observadores.end());
}

void TMultiplexorObservadores::reiniciada() {
  for (TObservadorCiclo* o : observadores) o->reiniciada();
}

void TMultiplexorObservadores::inicioCiclo(int32_t ciclo) {
  for (TObservadorCiclo* o : observadores) o->inicioCiclo(ciclo);
}

void TMultiplexorObservadores::finCiclo(int32_t ciclo, int8_t resultado) {
  for (TObservadorCiclo* o : observadores) o->finCiclo(ciclo, resultado);
}

void TMultiplexorObservadores::vueltaAtras(int32_t ciclo) {
  for (TObservadorCiclo* o : observadores) o->vueltaAtras(ciclo);
}

void TMultiplexorObservadores::buscada(const TInstruccion& ins) {
  for (TObservadorCiclo* o : observadores) o->buscada(ins);
}

void TMultiplexorObservadores::decodificada(const TInstruccion& ins) {
  for (TObservadorCiclo* o : observadores) o->decodificada(ins);
}

void TMultiplexorObservadores::emitida(const TInstruccion& ins, int32_t etiqueta) {
  for (TObservadorCiclo* o : observadores) o->emitida(ins, etiqueta);
}

void TMultiplexorObservadores::enUnidadDirecciones(const TInstruccion& ins, int32_t unidad) {
  for (TObservadorCiclo* o : observadores) o->enUnidadDirecciones(ins, unidad);
}

void TMultiplexorObservadores::direccionCalculada(const TInstruccion& ins, int32_t direccion) {
  for (TObservadorCiclo* o : observadores) o->direccionCalculada(ins, direccion);
}

void TMultiplexorObservadores::enUnidad(const TInstruccion& ins, int32_t tipo, int32_t unidad) {
  for (TObservadorCiclo* o : observadores) o->enUnidad(ins, tipo, unidad);
}

void TMultiplexorObservadores::falloCache(const TInstruccion& ins, int32_t direccion) {
  for (TObservadorCiclo* o : observadores) o->falloCache(ins, direccion);
}

void TMultiplexorObservadores::resultadoEscrito(const TInstruccion& ins, int32_t etiqueta) {
  for (TObservadorCiclo* o : observadores) o->resultadoEscrito(ins, etiqueta);
}

void TMultiplexorObservadores::confirmada(const TInstruccion& ins, int32_t etiqueta) {
  for (TObservadorCiclo* o : observadores) o->confirmada(ins, etiqueta);
}

void TMultiplexorObservadores::anulada(const TInstruccion& ins) {
  for (TObservadorCiclo* o : observadores) o->anulada(ins);
}

void TMultiplexorObservadores::espera(const TInstruccion& ins, const TEspera& motivo) {
  for (TObservadorCiclo* o : observadores) o->espera(ins, motivo);
}

void TMultiplexorObservadores::emisionDetenida(const TEspera& motivo, int32_t emitidas) {
  for (TObservadorCiclo* o : observadores) o->emisionDetenida(motivo, emitidas);
}

void TMultiplexorObservadores::largaEnEmision(int64_t secuencia, int32_t larga) {
  for (TObservadorCiclo* o : observadores) o->largaEnEmision(secuencia, larga);
}

void TMultiplexorObservadores::largaDetenida(int64_t secuencia, int32_t larga, const TEspera& motivo) {
  for (TObservadorCiclo* o : observadores) o->largaDetenida(secuencia, larga, motivo);
}

void TMultiplexorObservadores::largaEmitida(int64_t secuencia, int32_t larga) {
  for (TObservadorCiclo* o : observadores) o->largaEmitida(secuencia, larga);
}

void TMultiplexorObservadores::operacionEmitida(int64_t secuenciaLarga, int32_t indice, const TOperacionVLIW& op) {
  for (TObservadorCiclo* o : observadores) o->operacionEmitida(secuenciaLarga, indice, op);
}

void TMultiplexorObservadores::operacionFalloCache(int64_t secuenciaLarga, int32_t indice, const TOperacionVLIW& op, int32_t direccion) {
  for (TObservadorCiclo* o : observadores) o->operacionFalloCache(secuenciaLarga, indice, op, direccion);
}

void TMultiplexorObservadores::operacionEjecutada(int64_t secuenciaLarga, int32_t indice, const TOperacionVLIW& op) {
  for (TObservadorCiclo* o : observadores) o->operacionEjecutada(secuenciaLarga, indice, op);
}

void TMultiplexorObservadores::operacionDescartada(int64_t secuenciaLarga, int32_t indice, const TOperacionVLIW& op) {
  for (TObservadorCiclo* o : observadores) o->operacionDescartada(secuenciaLarga, indice, op);
}
