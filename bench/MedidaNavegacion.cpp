// Lo que cuesta navegar por el tiempo: «Retroceder un ciclo» y «Ir al ciclo…»
// en ejecuciones de 100 000 y 1 000 000 de ciclos, con la configuración por
// defecto y con la mayor (el reorder buffer lleno), y la memoria de los puntos
// de control. Mediana de varias repeticiones; nada se ejecuta con observador.
//
//   build/release/bench/orvex_medida_navegacion [ciclos...]

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "loader/TCodigo.h"
#include "session/TSesionSuper.h"
#include "superscalar/TMaquinaSuper.h"

namespace {

// Un bucle largo con cargas que fallan de vez en cuando.
const char* const programaLargo =
    "6\n"
    "DADDUI R2 R0 #2000000\n"
    "BUCLE: DADDUI R1 R1 #1\n"
    "LF F1 0(R0)\n"
    "ADDF F2 F2 F1\n"
    "ADDI R3 R3 R1\n"
    "BNE R1 R2 BUCLE\n";

// El bucle que llena las estaciones y el reorder buffer de la configuración mayor.
const char* const programaQueLlena =
    "10\n"
    "DADDUI R2 R0 #2000000\n"
    "BUCLE: DADDUI R1 R1 #1\n"
    "MULTI R3 R3 R1\n"
    "ADDI R4 R4 R3\n"
    "MULTF F1 F1 F2\n"
    "ADDF F3 F3 F1\n"
    "LF F4 0(R0)\n"
    "SF F3 512(R0)\n"
    "ADDF F5 F5 F4\n"
    "BNE R1 R2 BUCLE\n";

using Reloj = std::chrono::steady_clock;

double msDesde(Reloj::time_point t) {
  return std::chrono::duration<double, std::milli>(Reloj::now() - t).count();
}

double mediana(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

// Memoria residente del proceso, en MB.
double residenteMB() {
  std::ifstream f("/proc/self/statm");
  long total = 0, residente = 0;
  f >> total >> residente;
  return static_cast<double>(residente) * 4096.0 / (1024.0 * 1024.0);
}

void medir(const char* nombre, const char* fuente, bool mayor, int32_t ciclos) {
  TCodigo codigo;
  if (codigo.cargarTexto(fuente) != 0) {
    std::fprintf(stderr, "el programa no carga: %s\n", codigo.detalleError.c_str());
    std::exit(1);
  }
  TMaquinaSuper m;
  if (mayor) {
    m.numUF.fill(MAX_UF);
    m.latUF.fill(MAX_LATENCIA);
    m.emision = MAX_EMISION;
  }
  m.memoria.porcentajeFallos = 10;
  TSesionSuper s(m, &codigo);
  const double antes = residenteMB();
  s.iniciar(true, 1u);
  auto t = Reloj::now();
  s.ejecutar(ciclos, false);
  const double msEjecutar = msDesde(t);
  if (m.ciclo != ciclos) {
    std::fprintf(stderr, "la ejecución acabó en el ciclo %d\n", m.ciclo);
    std::exit(1);
  }

  // «Retroceder un ciclo» en el ciclo más lejano: cada vez se vuelve a él
  // (un ciclo hacia delante, fuera de la medida).
  std::vector<double> retroceder;
  for (int i = 0; i < 31; ++i) {
    s.irACiclo(ciclos);
    t = Reloj::now();
    s.retroceder();
    retroceder.push_back(msDesde(t));
  }
  // «Ir al ciclo…» a ciclos al azar, en las dos direcciones.
  std::mt19937 azar(7);
  std::vector<double> saltos;
  for (int i = 0; i < 31; ++i) {
    const int32_t c = std::uniform_int_distribution<int32_t>(0, ciclos)(azar);
    t = Reloj::now();
    s.irACiclo(c);
    saltos.push_back(msDesde(t));
  }
  std::printf("%-28s %8d ciclos: %6.0f ms hacia delante (%.2f M ciclos/s); retroceder mediana %.2f ms (máx %.2f); "
              "ir al ciclo mediana %.2f ms (máx %.2f); %zu puntos cada %d ciclos, %.1f MB (residente +%.1f MB)\n",
              nombre, ciclos, msEjecutar, ciclos / msEjecutar / 1000.0, mediana(retroceder),
              *std::max_element(retroceder.begin(), retroceder.end()), mediana(saltos),
              *std::max_element(saltos.begin(), saltos.end()), s.numPuntos(), s.intervaloPuntos(),
              static_cast<double>(s.memoriaPuntos()) / (1024.0 * 1024.0), residenteMB() - antes);
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<int32_t> ciclos;
  for (int i = 1; i < argc; ++i) ciclos.push_back(std::atoi(argv[i]));
  if (ciclos.empty()) ciclos = {100000, 1000000};
  for (int32_t n : ciclos) {
    medir("por defecto", programaLargo, false, n);
    medir("mayor, ROB lleno", programaQueLlena, true, n);
  }
  return 0;
}
