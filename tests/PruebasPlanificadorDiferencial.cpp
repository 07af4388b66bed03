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
  const TTanda t = tanda(91000, 1500, GetParam());
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

// Programas sin restricciones (cualquier registro, también escribir R0,
// valores extremos, saltos hacia atrás que quizá no acaban) en configuraciones
// amplias: la planificación siempre pasa las comprobaciones, la máquina no se
// sale de sus invariantes y, si la referencia acaba, coincide con ella.
TEST_P(PlanificadorDiferencial, ProgramasAmpliosComoLaReferencia) {
  const TTanda t = tanda(17, 300, GetParam());
  int64_t comparados = 0;
  for (int64_t k = 0; k < t.casos; ++k) {
    const uint32_t semilla = t.semilla + static_cast<uint32_t>(k);
    TAzarSemilla azar(semilla);
    TGeneradorProgramas generador(azar, true);
    const TProgramaGenerado p = generador.generar();
    const auto c = p.cargar();
    ASSERT_NE(c, nullptr) << p.fuente;
    TMaquinaVLIW m;
    configurar(m, azar);
    for (auto& u : m.numUF) u = azar.entre32(1, 10);
    m.reset(true);
    p.ponerIniciales(m);
    // La máquina anula R0 tras cada operación: con otro valor al empezar, lo
    // que lee cada una dependería de los tiempos y no del orden del programa.
    m.gpr.valor[0] = 0;
    const TResultado r = ejecutarPlanificado(m, *c, 800, 1500);
    ASSERT_EQ(r.fallo, "") << describir(semilla, p, m);
    comparados += r.comparado;
  }
  std::cout << "  " << comparados << " de " << t.casos << " comparados con la referencia\n";
}

INSTANTIATE_TEST_SUITE_P(Trozo, PlanificadorDiferencial, ::testing::Range(0, TROZOS));

// Cada ejemplo, con la configuración por defecto, las dos extremas y otras al
// azar, sin fallos y con todos fallando, desde estados iniciales al azar.
TEST(PlanificadorEjemplos, CadaEjemploComoLaReferencia) {
  namespace fs = std::filesystem;
  int ejemplos = 0;
  for (const auto& f : fs::directory_iterator(ORVEX_DIR_EJEMPLOS)) {
    const std::string ext = f.path().extension().string();
    if (ext != ".pla" && ext != ".bun") continue;
    TCodigo c;
    ASSERT_EQ(c.cargar(f.path().string()), CARGA_OK) << f.path();
    ++ejemplos;
    TAzarSemilla azar(static_cast<uint32_t>(ejemplos) * 7919u);
    for (int caso = 0; caso < 40; ++caso) {
      TMaquinaVLIW m;
      if (caso == 1) {
        m.numUF.fill(MIN_UF);
        m.latUF.fill(MIN_LATENCIA);
        m.latFalloCache = MIN_LAT_FALLO;
      } else if (caso == 2 || caso == 3) {
        m.numUF.fill(MAX_UF);
        m.latUF.fill(MAX_LATENCIA);
        m.latFalloCache = MAX_LAT_FALLO;
      } else if (caso == 4) {
        m.latFalloCache = MAX_LAT_FALLO;
      } else if (caso > 4) {
        configurar(m, azar);
      }
      if (caso < 5) m.memoria.porcentajeFallos = caso % 2 == 0 ? 100 : 0;
      m.memoria.sembrar(azar.palabra());
      m.reset(true);
      // Los ejemplos preparan sus datos; lo demás empieza con cualquier cosa.
      for (int r = 1; r < NUM_REGISTROS; ++r) {
        m.gpr.valor[static_cast<size_t>(r)] = azar.entre32(-50, 50);
        m.fpr.valor[static_cast<size_t>(r)] = static_cast<float>(azar.entre(-80, 80)) / 4.0f;
      }
      for (int w = 0; w < 200; ++w) m.memoria.datos[static_cast<size_t>(w)] = static_cast<float>(azar.entre(-9, 9));
      const TResultado r = ejecutarPlanificado(m, c, 100000);
      ASSERT_EQ(r.fallo, "") << f.path().filename() << ", caso " << caso << ": " << planificador::describir(m);
      ASSERT_TRUE(r.comparado) << f.path().filename() << ", caso " << caso;
    }
  }
  EXPECT_GE(ejemplos, 7);
}
