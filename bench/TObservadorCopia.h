#pragma once
// Lo mínimo que puede hacer quien guarda lo que pasa en cada ciclo: copiar cada
// suceso, en 16 bytes (secuencia recortada, letra, motivo y dos datos), a un
// anillo que nadie lee, y anotar dónde acaba cada ciclo. Lo que cuesta a la
// máquina es el suelo de cualquier registrador enganchado como observador: el
// diagrama no puede costar menos.

#include <cstdint>
#include <vector>

#include "machine/TInstruccion.h"
#include "machine/TObservadorCiclo.h"
#include "vliw/TOperacionVLIW.h"

class TObservadorCopia : public TObservadorCiclo {
public:
  void finCiclo(int32_t c, int8_t) override { finDeCiclo[static_cast<size_t>(c) & (TAM - 1)] = pos; }

  void buscada(const TInstruccion& i) override { poner(2, i.secuencia, i.direccion); }
  void decodificada(const TInstruccion& i) override { poner(3, i.secuencia, 0); }
  void emitida(const TInstruccion& i, int32_t t) override { poner(4, i.secuencia, t); }
  void enUnidadDirecciones(const TInstruccion& i, int32_t u) override { poner(5, i.secuencia, u); }
  void direccionCalculada(const TInstruccion& i, int32_t d) override { poner(6, i.secuencia, d); }
  void enUnidad(const TInstruccion& i, int32_t t, int32_t u) override { poner(7, i.secuencia, t, u); }
  void falloCache(const TInstruccion& i, int32_t d) override { poner(8, i.secuencia, d); }
  void resultadoEscrito(const TInstruccion& i, int32_t t) override { poner(9, i.secuencia, t); }
  void confirmada(const TInstruccion& i, int32_t t) override { poner(10, i.secuencia, t); }
  void anulada(const TInstruccion& i) override { poner(11, i.secuencia, 0); }
  void espera(const TInstruccion& i, const TEspera& e) override { poner(12, i.secuencia, 0, e.dato, e.motivo, e.tipo); }

  void largaEnEmision(int64_t s, int32_t l) override { poner(13, s, l); }
  void largaDetenida(int64_t s, int32_t l, const TEspera& e) override { poner(14, s, l, e.dato, e.motivo, e.tipo); }
  void largaEmitida(int64_t s, int32_t l) override { poner(15, s, l); }
  void operacionEmitida(int64_t s, int32_t k, const TOperacionVLIW& op) override { poner(16, s, k, op.direccion); }
  void operacionFalloCache(int64_t s, int32_t k, const TOperacionVLIW&, int32_t d) override { poner(17, s, k, d); }
  void operacionEjecutada(int64_t s, int32_t k, const TOperacionVLIW&) override { poner(18, s, k); }
  void operacionDescartada(int64_t s, int32_t k, const TOperacionVLIW&) override { poner(19, s, k); }

private:
  struct TSuceso {
    uint32_t secuencia;
    int32_t a, dato;
    int8_t clase, motivo, tipo, relleno;
  };
  static constexpr size_t TAM = size_t{1} << 15;

  void poner(int8_t clase, int64_t s, int32_t a, int32_t dato = -1, int8_t motivo = 0, int8_t tipo = -1) {
    TSuceso& r = anillo[pos++ & (TAM - 1)];
    r.clase = clase;
    r.secuencia = static_cast<uint32_t>(s);
    r.a = a;
    r.dato = dato;
    r.motivo = motivo;
    r.tipo = tipo;
  }

  std::vector<TSuceso> anillo = std::vector<TSuceso>(TAM);
  std::vector<size_t> finDeCiclo = std::vector<size_t>(TAM);
  size_t pos = 0;
};
