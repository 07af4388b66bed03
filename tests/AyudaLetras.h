#pragma once
// Reconstruye, solo con los sucesos del observador, la letra y el motivo de
// espera de cada instrucción dinámica al final de cada ciclo: lo que dibujará
// el diagrama instrucción × ciclo. Las pruebas lo contrastan con el estado de
// las máquinas y con tiempos conocidos.

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "machine/TInstruccion.h"
#include "machine/TObservadorCiclo.h"

namespace letras {

struct TFila {
  int32_t primerCiclo = 0;
  std::string letras;
  std::vector<TEspera> motivos;  // uno por letra
  char actual = ' ';
  TEspera motivo;
  bool abierta = true;

  void pasarA(char letra, TEspera m = TEspera{}) {
    actual = letra;
    motivo = m;
  }
};

// Texto breve de un motivo, para los mensajes de las pruebas.
inline std::string texto(const TEspera& e) {
  static const char* const nombres[] = {"-",     "ROB",   "ER",  "orden", "dec.lleno", "dec.vacio", "j",  "k",
                                        "unidad", "alm?", "alm=", "fallo", "confirmar", "NaT",       "ocupada"};
  std::string t = nombres[static_cast<int>(e.motivo)];
  if (e.tipo >= 0) t += ":" + std::to_string(e.tipo);
  if (e.dato >= 0) t += "#" + std::to_string(e.dato);
  return t;
}

class TRegistrador : public TObservadorCiclo {
public:
  // Superescalar: por secuencia. VLIW: instrucciones largas por secuencia y
  // operaciones por (secuencia de la larga, índice).
  std::map<int64_t, TFila> filas;
  std::map<int64_t, TFila> largas;
  std::map<std::pair<int64_t, int32_t>, TFila> operaciones;
  std::vector<std::pair<TEspera, int32_t>> emisiones;  // emisionDetenida de cada ciclo
  int32_t ciclo = 0;

  void reiniciada() override {
    filas.clear();
    largas.clear();
    operaciones.clear();
    emisiones.clear();
  }
  void inicioCiclo(int32_t c) override { ciclo = c; }

  void buscada(const TInstruccion& i) override {
    TFila& f = filas[i.secuencia];
    f.primerCiclo = ciclo;
    f.pasarA('P');
  }
  void decodificada(const TInstruccion& i) override { fila(i).pasarA('D'); }
  void emitida(const TInstruccion& i, int32_t) override { fila(i).pasarA('R'); }
  void enUnidadDirecciones(const TInstruccion& i, int32_t) override { fila(i).pasarA('A'); }
  void direccionCalculada(const TInstruccion& i, int32_t) override { fila(i).pasarA('R'); }
  void enUnidad(const TInstruccion& i, int32_t, int32_t) override { fila(i).pasarA('E'); }
  void falloCache(const TInstruccion& i, int32_t d) override { fila(i).pasarA('M', TEspera{espFalloCache, -1, d}); }
  void resultadoEscrito(const TInstruccion& i, int32_t) override { fila(i).pasarA('W'); }
  void confirmada(const TInstruccion& i, int32_t) override { fila(i).pasarA('C'); }
  void anulada(const TInstruccion& i) override { fila(i).pasarA('X'); }
  void espera(const TInstruccion& i, const TEspera& m) override { fila(i).motivo = m; }
  void emisionDetenida(const TEspera& m, int32_t n) override { emisiones.push_back({m, n}); }

  void largaEnEmision(int64_t s, int32_t) override {
    TFila& f = largas[s];
    f.primerCiclo = ciclo;
  }
  void largaDetenida(int64_t s, int32_t, const TEspera& m) override { anotar(largas[s], 'S', m); }
  void largaEmitida(int64_t s, int32_t) override {
    anotar(largas[s], 'I', TEspera{});
    largas[s].abierta = false;
  }
  void operacionEmitida(int64_t s, int32_t i, const TOperacionVLIW&) override {
    TFila& f = operaciones[{s, i}];
    f.primerCiclo = ciclo;
    f.pasarA('I');
  }
  void operacionFalloCache(int64_t s, int32_t i, const TOperacionVLIW&, int32_t d) override {
    operaciones[{s, i}].pasarA('M', TEspera{espFalloCache, -1, d});
  }
  void operacionEjecutada(int64_t s, int32_t i, const TOperacionVLIW&) override { operaciones[{s, i}].pasarA('W'); }
  void operacionDescartada(int64_t s, int32_t i, const TOperacionVLIW&) override { operaciones[{s, i}].pasarA('X'); }

  void finCiclo(int32_t, int8_t) override {
    for (auto& [s, f] : filas) cerrarCiclo(f, "CX");
    for (auto& [s, f] : operaciones) {
      cerrarCiclo(f, "WX");
      // Lo que sigue en su unidad sin ejecutarse pasa a E (salvo la espera de un fallo).
      if (f.abierta && f.actual == 'I') f.pasarA('E');
    }
  }

  // La fila de la superescalar con esa secuencia, o vacía.
  std::string de(int64_t secuencia) const {
    auto it = filas.find(secuencia);
    return it == filas.end() ? std::string() : it->second.letras;
  }

private:
  TFila& fila(const TInstruccion& i) { return filas[i.secuencia]; }

  static void anotar(TFila& f, char letra, const TEspera& m) {
    f.letras += letra;
    f.motivos.push_back(m);
  }
  static void cerrarCiclo(TFila& f, const char* finales) {
    if (!f.abierta) return;
    anotar(f, f.actual, f.motivo);
    if (f.actual == finales[0] || f.actual == finales[1]) f.abierta = false;
  }
};

}  // namespace letras
