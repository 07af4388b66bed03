// Ciclos por segundo de la máquina VLIW con un bucle planificado y la
// configuración por defecto.

#include <benchmark/benchmark.h>

#include <memory>
#include <utility>
#include <vector>

#include "bench/TObservadorCopia.h"
#include "loader/TCodigo.h"
#include "observation/TRegistradorDiagrama.h"
#include "vliw/TMaquinaVLIW.h"

namespace {

// Suma F2 a las 1000 palabras de la memoria.
const char* const PROGRAMA =
    "7\n"
    "      DADDUI R1 R0 #0\n"
    "      DADDUI R2 R0 #1000\n"
    "LOOP: LF     F0 0(R1)\n"
    "      ADDF   F4 F0 F2\n"
    "      SF     F4 0(R1)\n"
    "      DADDUI R1 R1 #1\n"
    "      BNE    R1 R2 LOOP\n";

struct TColocacion {
  int32_t direccion;
  int32_t unidad;
  int32_t destino;
};

// Las operaciones leen sus registros al salir de la unidad: el DADDUI que
// avanza R1 va tres instrucciones largas detrás del SF que lo usa.
const std::vector<std::vector<TColocacion>> PLANIFICACION = {
    {{0, 0, 0}, {1, 1, 0}},
    {{2, 0, 0}}, {}, {}, {},
    {{3, 0, 0}}, {}, {}, {},
    {{4, 0, 0}}, {}, {},
    {{5, 0, 0}},
    {{6, 0, 1}},
    {},
};

void construir(TMaquinaVLIW& m, const TCodigo& s) {
  m.borrarCodigo();
  m.codigo.crear(static_cast<int32_t>(PLANIFICACION.size()));
  for (size_t i = 0; i < PLANIFICACION.size(); ++i)
    for (const TColocacion& c : PLANIFICACION[i]) {
      auto op = std::make_unique<TOperacionVLIW>(s.instrucciones[static_cast<size_t>(c.direccion)]);
      op->tipoUF = s.tipoUF(c.direccion);
      op->numUnidad = c.unidad;
      if (esSalto(op->codOp)) {
        op->op[2] = c.destino;
        op->predVerdadero = 1;
        op->predFalso = 2;
      }
      m.codigo.instrucciones[i].anadir(std::move(op));
    }
}

TObservadorCiclo observadorVacio;

// range(0): porcentaje de fallos; range(1) = 1: con un observador vacío
// enganchado; 2: con el registrador del diagrama; 3: con uno que solo copia
// cada suceso.
void BM_CiclosVLIW(benchmark::State& estado) {
  TCodigo s;
  if (s.cargarTexto(PROGRAMA) != CARGA_OK) {
    estado.SkipWithError("el programa no carga");
    return;
  }
  TMaquinaVLIW m;
  construir(m, s);
  m.memoria.sembrar(1);
  m.memoria.porcentajeFallos = static_cast<int32_t>(estado.range(0));
  TRegistradorDiagrama diagrama(true);
  TObservadorCopia copia;
  TObservadorCiclo* const observadores[] = {nullptr, &observadorVacio, &diagrama, &copia};
  m.observador = observadores[estado.range(1)];
  int64_t ciclos = 0, ejecuciones = 0;
  for (auto _ : estado) {
    if (m.ejecutarCiclo() == CICLO_COMPLETADO) {
      m.reset(false);
      ++ejecuciones;
    }
    ++ciclos;
  }
  estado.counters["ciclos/s"] = benchmark::Counter(static_cast<double>(ciclos), benchmark::Counter::kIsRate);
  estado.counters["ejecuciones"] = static_cast<double>(ejecuciones);
}

}  // namespace

BENCHMARK(BM_CiclosVLIW)->ArgNames({"fallos%", "observador"})->ArgsProduct({{0, 10}, {0, 1, 2, 3}});

BENCHMARK_MAIN();
