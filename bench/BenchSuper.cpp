// Ciclos simulados por segundo de la máquina superescalar.

#include <benchmark/benchmark.h>

#include <string>

#include "bench/TObservadorCopia.h"
#include "loader/TCodigo.h"
#include "observation/TMultiplexorObservadores.h"
#include "observation/TRecolectorEstadisticas.h"
#include "observation/TRegistradorDiagrama.h"
#include "superscalar/TInstantaneaSuper.h"
#include "superscalar/TMaquinaSuper.h"

namespace {

// Bucle que llena las estaciones: cadenas largas de multiplicaciones de las que
// dependen sumas, cargas y almacenamientos de cada vuelta.
const char* const programaQueLlena =
    "10\n"
    "DADDUI R2 R0 #500\n"
    "BUCLE: DADDUI R1 R1 #1\n"
    "MULTI R3 R3 R1\n"
    "ADDI R4 R4 R3\n"
    "MULTF F1 F1 F2\n"
    "ADDF F3 F3 F1\n"
    "LF F4 0(R1)\n"
    "SF F3 512(R1)\n"
    "ADDF F5 F5 F4\n"
    "BNE R1 R2 BUCLE\n";

// Bucle solo de sumas enteras y saltos, de latencia 1: deja vacías las demás estructuras.
const char* const programaEntero =
    "4\n"
    "DADDUI R2 R0 #1000\n"
    "BUCLE: DADDUI R1 R1 #1\n"
    "ADDI R3 R3 R1\n"
    "BNE R1 R2 BUCLE\n";

void configurarMaxima(TMaquinaSuper& m) {
  m.numUF.fill(MAX_UF);
  m.latUF.fill(MAX_LATENCIA);
  m.emision = MAX_EMISION;
}

// Un observador que no hace nada: lo que cuesta a la máquina tener uno
// enganchado (calcula los motivos de espera y llama a cada suceso).
TObservadorCiclo observadorVacio;

// Ejecuta ciclos sin parar; al completar, resetea y vuelve a empezar. Con
// state.range(0) = 1, con el observador vacío enganchado; con 2, con el
// registrador del diagrama (con su límite de filas por defecto); con 3, con
// uno que solo copia cada suceso (el suelo de cualquier registrador). Con 4 y
// 5, como en el programa: el recolector de estadísticas, solo o con el
// registrador, a través del multiplexor.
void medir(benchmark::State& state, TMaquinaSuper& m, const TCodigo& codigo) {
  TRegistradorDiagrama diagrama(false);
  TObservadorCopia copia;
  TRecolectorEstadisticas estadisticas(m);
  TMultiplexorObservadores soloEstadisticas, estadisticasYDiagrama;
  soloEstadisticas.anadir(&estadisticas);
  estadisticasYDiagrama.anadir(&estadisticas);
  estadisticasYDiagrama.anadir(&diagrama);
  TObservadorCiclo* const observadores[] = {nullptr, &observadorVacio, &diagrama, &copia, &soloEstadisticas,
                                            &estadisticasYDiagrama};
  m.observador = observadores[state.range(0)];
  m.codigo = &codigo;
  m.memoria.sembrar(1);
  m.reset(true);
  int64_t ciclos = 0;
  int64_t ejecuciones = 0;
  int64_t enROB = 0;
  for (auto _ : state) {
    const int8_t r = m.ejecutarCiclo();
    ++ciclos;
    enROB += m.rob.numElementos();
    if (r != CICLO_NORMAL) {
      ++ejecuciones;
      m.reset(true);
    }
  }
  state.counters["ciclos/s"] = benchmark::Counter(static_cast<double>(ciclos), benchmark::Counter::kIsRate);
  state.counters["ejecuciones"] = static_cast<double>(ejecuciones);
  // El coste por ciclo sigue a las entradas vivas, no a la capacidad.
  state.counters["ROB_medio"] = static_cast<double>(enROB) / static_cast<double>(ciclos > 0 ? ciclos : 1);
  state.counters["ROB_capacidad"] = m.rob.capacidad();
}

void cargarEjemplo(benchmark::State& state, TCodigo& c, const char* nombre) {
  if (c.cargar(std::string(ORVEX_DIR_EJEMPLOS) + "/" + nombre) != 0) state.SkipWithError("no carga el ejemplo");
}

void BM_DefectoProductoEscalar(benchmark::State& state) {
  TCodigo c;
  cargarEjemplo(state, c, "producto_escalar.pla");
  TMaquinaSuper m;
  medir(state, m, c);
}
BENCHMARK(BM_DefectoProductoEscalar)->ArgName("observador")->DenseRange(0, 5);

void BM_DefectoVectorSuma(benchmark::State& state) {
  TCodigo c;
  cargarEjemplo(state, c, "vector_suma.pla");
  TMaquinaSuper m;
  medir(state, m, c);
}
BENCHMARK(BM_DefectoVectorSuma)->ArgName("observador")->DenseRange(0, 5);

// El mismo bucle con las estructuras más grandes, casi vacías: el coste por ciclo
// no debe crecer con su capacidad.
void BM_MaximaVectorSuma(benchmark::State& state) {
  TCodigo c;
  cargarEjemplo(state, c, "vector_suma.pla");
  TMaquinaSuper m;
  configurarMaxima(m);
  medir(state, m, c);
}
BENCHMARK(BM_MaximaVectorSuma)->ArgName("observador")->DenseRange(0, 5);

// El coste por ciclo no debe crecer con la capacidad de estructuras vacías: el
// mismo bucle entero con la configuración por defecto y con 10 unidades de
// latencia 100 en los tipos que no usa (ROB de más de 4000 entradas, casi vacío).
void BM_DefectoBucleEntero(benchmark::State& state) {
  TCodigo c;
  if (c.cargarTexto(programaEntero) != 0) state.SkipWithError("no carga el programa");
  TMaquinaSuper m;
  medir(state, m, c);
}
BENCHMARK(BM_DefectoBucleEntero)->ArgName("observador")->DenseRange(0, 5);

void BM_GrandeVaciaBucleEntero(benchmark::State& state) {
  TCodigo c;
  if (c.cargarTexto(programaEntero) != 0) state.SkipWithError("no carga el programa");
  TMaquinaSuper m;
  for (int t : {tufMultEntera, tufSumaFlotante, tufMultFlotante, tufMemoria}) {
    m.numUF[static_cast<size_t>(t)] = MAX_UF;
    m.latUF[static_cast<size_t>(t)] = MAX_LATENCIA;
  }
  medir(state, m, c);
}
BENCHMARK(BM_GrandeVaciaBucleEntero)->ArgName("observador")->DenseRange(0, 5);

void BM_MaximaEstacionesLlenas(benchmark::State& state) {
  TCodigo c;
  if (c.cargarTexto(programaQueLlena) != 0) state.SkipWithError("no carga el programa");
  TMaquinaSuper m;
  configurarMaxima(m);
  medir(state, m, c);
}
BENCHMARK(BM_MaximaEstacionesLlenas)->ArgName("observador")->DenseRange(0, 5);

// Lo que cuesta tomar una instantánea (para la repetición y los puntos de
// control): a mitad de producto_escalar con la configuración por defecto
// (range 0) y con el ROB de la configuración mayor casi lleno (range 1).
void BM_CapturarInstantanea(benchmark::State& state) {
  TCodigo c;
  if (state.range(0) == 0) {
    cargarEjemplo(state, c, "producto_escalar.pla");
  } else if (c.cargarTexto(programaQueLlena) != 0) {
    state.SkipWithError("no carga el programa");
  }
  TMaquinaSuper m;
  if (state.range(0) != 0) configurarMaxima(m);
  m.codigo = &c;
  m.memoria.sembrar(1);
  m.reset(true);
  for (int i = 0; i < (state.range(0) == 0 ? 40 : 2000); ++i) m.ejecutarCiclo();
  TInstantaneaSuper s;
  for (auto _ : state) {
    m.capturar(s);
    benchmark::DoNotOptimize(s.rob.entradas.data());
  }
  state.counters["ROB"] = m.rob.numElementos();
  state.counters["bytes"] = static_cast<double>(s.tamano());
}
BENCHMARK(BM_CapturarInstantanea)->ArgName("mayor")->Arg(0)->Arg(1);

}  // namespace

BENCHMARK_MAIN();
