#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>

#include "AyudaPlanificador.h"

// La planificación automática de programas generados (con bucles) y de los
// ejemplos, en configuraciones al azar con fallos de caché, acaba como la
// ejecución secuencial. Un caso se repite con
//   ORVEX_SEMILLA=<semilla del caso> ORVEX_CASOS=1 tests/orvex_pruebas_planificador --gtest_filter=…

using namespace planificador;
using diferencial::TAzarSemilla;
using diferencial::TGeneradorProgramas;
using diferencial::TProgramaGenerado;

namespace {

constexpr int64_t LIMITE_PASOS = 1500;

int64_t variable(const char* nombre, int64_t porDefecto) {
  const char* v = std::getenv(nombre);
  if (v == nullptr || *v == '\0') return porDefecto;
  char* fin = nullptr;
  const long long n = std::strtoll(v, &fin, 10);
  return (fin != nullptr && *fin == '\0' && n >= 0) ? n : porDefecto;
}

struct TTanda {
  uint32_t semilla;
  int64_t casos;
};

constexpr int TROZOS = 3;

TTanda tanda(uint32_t semillaPorDefecto, int64_t casosPorDefecto, int trozo) {
  const int64_t total = variable("ORVEX_CASOS", casosPorDefecto * TROZOS);
  const auto base = static_cast<uint32_t>(variable("ORVEX_SEMILLA", semillaPorDefecto));
  const int64_t desde = total * trozo / TROZOS, hasta = total * (trozo + 1) / TROZOS;
  return {base + static_cast<uint32_t>(desde), hasta - desde};
}

std::string describir(uint32_t semilla, const TProgramaGenerado& p, const TMaquinaVLIW& m) {
  std::string s = "semilla del caso " + std::to_string(semilla) + "\n" + planificador::describir(m) + "\n";
  for (const auto& v : p.iniciales)
    s += std::string(1, v.banco) + std::to_string(v.indice) + "=" +
         (v.banco == 'R' ? std::to_string(v.entero) : std::to_string(v.flotante)) + " ";
  s += "\nNOP en";
  for (int32_t i : p.nops) s += " " + std::to_string(i);
  return s + "\n" + p.fuente;
}

class PlanificadorDiferencial : public ::testing::TestWithParam<int> {};

}  // namespace

TEST_P(PlanificadorDiferencial, ProgramasGeneradosComoLaReferencia) {
  const TTanda t = tanda(91000, 500, GetParam());
  std::cout << "planificados: semilla base " << t.semilla << ", " << t.casos << " casos\n";
  int64_t comparados = 0, detenidos = 0, conFallosCaros = 0;
  for (int64_t k = 0; k < t.casos; ++k) {
    const uint32_t semilla = t.semilla + static_cast<uint32_t>(k);
    TAzarSemilla azar(semilla);
    TGeneradorProgramas generador(azar, false);
    const TProgramaGenerado p = generador.generar();
    const auto c = p.cargar();
    ASSERT_NE(c, nullptr) << p.fuente;
    TMaquinaVLIW m;
    configurar(m, azar);
    m.reset(true);
    p.ponerIniciales(m);
    const TResultado r = ejecutarPlanificado(m, *c, LIMITE_PASOS);
    ASSERT_EQ(r.fallo, "") << describir(semilla, p, m);
    comparados += r.comparado;
    detenidos += r.detenido;
    conFallosCaros += r.comparado && m.memoria.porcentajeFallos > 0 && m.latFalloCache > m.latUF[tufMemoria];
  }
  std::cout << "  " << comparados << " comparados, " << conFallosCaros << " con fallos que cuestan, " << detenidos
            << " detenidos fuera de la memoria\n";
  if (t.casos >= 100) {
    EXPECT_GT(comparados, t.casos / 2);
    EXPECT_GT(conFallosCaros, t.casos / 5);
  }
}

INSTANTIATE_TEST_SUITE_P(Trozo, PlanificadorDiferencial, ::testing::Range(0, TROZOS));
