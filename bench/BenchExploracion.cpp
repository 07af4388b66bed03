// Lo que tarda «Explorar configuración»: 15 valores de la anchura de emisión
// (2…16) sobre un programa de unos 10 000 ciclos, como lo ejecuta el hilo de
// trabajo. También lo que cuesta el recolector de estadísticas enganchado.

#include <benchmark/benchmark.h>

#include <string>

#include "loader/TCodigo.h"
#include "observation/TRecolectorEstadisticas.h"
#include "session/TExploracion.h"
#include "superscalar/TMaquinaSuper.h"

namespace {

// Bucle con dependencias entre vueltas y una carga por vuelta: unos 10 000
// ciclos con la configuración por defecto y anchura 2.
TCodigo programa(int vueltas) {
  const std::string fuente = "9\nDADDUI R2 R0 #" + std::to_string(vueltas) +
                             "\nBUCLE: DADDUI R1 R1 #1\nMULTI R3 R3 R1\nADDI R4 R4 R3\nMULTF F1 F1 F2\n"
                             "ADDF F3 F3 F1\nLF F4 8(R0)\nADDF F5 F5 F4\nBNE R1 R2 BUCLE\n";
  TCodigo c;
  c.cargarTexto(fuente);
  return c;
}

void BM_Exploracion15Anchuras(benchmark::State& state) {
  const TCodigo p = programa(static_cast<int>(state.range(0)));
  TConfiguracionMaquina base;
  base.porcentajeFallos = 10;
  TExploracion e(p, base, TDatosIniciales{}, 1);
  e.parametro = parEmision;
  e.desde = 2;
  e.hasta = 16;
  int64_t ciclosPrimera = 0;
  for (auto _ : state) {
    const auto puntos = e.ejecutar();
    ciclosPrimera = puntos.front().ciclos;
    if (puntos.size() != 15 || puntos.front().final != finCompletado) state.SkipWithError("la exploración no terminó");
    benchmark::DoNotOptimize(puntos.data());
  }
  state.counters["ciclos_anchura_2"] = static_cast<double>(ciclosPrimera);
}
BENCHMARK(BM_Exploracion15Anchuras)->Arg(1700)->Unit(benchmark::kMillisecond);

// Un ciclo de la superescalar con el recolector enganchado (0: sin observador).
void BM_CicloConRecolector(benchmark::State& state) {
  const TCodigo p = programa(1000);
  TMaquinaSuper m;
  TRecolectorEstadisticas rec(m);
  m.observador = state.range(0) != 0 ? &rec : nullptr;
  m.codigo = &p;
  m.memoria.sembrar(1);
  m.reset(true);
  // Al terminar se vuelve a empezar: el reset vacía también la historia del recolector.
  for (auto _ : state)
    if (m.ejecutarCiclo() != CICLO_NORMAL) m.reset(true);
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_CicloConRecolector)->Arg(0)->Arg(1);

}  // namespace

BENCHMARK_MAIN();
