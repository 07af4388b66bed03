#include <gtest/gtest.h>

#include <cstdlib>
#include <iostream>
#include <string>

#include "AyudaDiferencial.h"

// Programas y configuraciones generados al azar, reproducibles desde una
// semilla: las dos máquinas acaban con los registros y la memoria del
// intérprete de referencia. Cada caso usa la semilla base más su número, así
// que un fallo se repite solo con
//   ORVEX_SEMILLA=<semilla del caso> ORVEX_CASOS=1 tests/orvex_pruebas_diferenciales --gtest_filter=…
// ORVEX_CASOS fija los casos de cada clase de prueba, repartidos en trozos (por
// defecto los de la suite), y
// ORVEX_SEMILLA la semilla base.

using namespace diferencial;

namespace {

constexpr int64_t LIMITE_PASOS = 3000;  // un caso que no acaba antes no se compara

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

// Cada prueba reparte la tanda en trozos para que ctest las corra en paralelo.
constexpr int TROZOS = 3;

TTanda tanda(uint32_t semillaPorDefecto, int64_t casosPorDefecto, int trozo) {
  const int64_t total = variable("ORVEX_CASOS", casosPorDefecto * TROZOS);
  const auto base = static_cast<uint32_t>(variable("ORVEX_SEMILLA", semillaPorDefecto));
  const int64_t desde = total * trozo / TROZOS, hasta = total * (trozo + 1) / TROZOS;
  return {base + static_cast<uint32_t>(desde), hasta - desde};
}

// Un programa que la referencia termina dentro de la zona exacta de la
// superescalar; se descartan los que se salen (casi todos por un LI de una
// palabra fraccionaria o un producto que se va de los enteros exactos).
struct TCasoExacto {
  TProgramaGenerado programa;
  std::unique_ptr<TCodigo> codigo;
  int descartados = 0;
};

TCasoExacto casoExacto(TAzar& azar, TModoReferencia modo) {
  TGeneradorProgramas generador(azar, false);
  TCasoExacto caso;
  for (;;) {
    caso.programa = generador.generar();
    caso.codigo = caso.programa.cargar();
    if (caso.codigo == nullptr) {
      ADD_FAILURE() << "el generador escribe un programa que no carga:\n" << caso.programa.fuente;
      return caso;
    }
    TMaquinaVLIW limpia;  // solo para tomar de ella el estado inicial
    caso.programa.ponerIniciales(limpia);
    TInterpreteReferencia ref(modo);
    ref.copiarEstado(limpia);
    if (ref.ejecutar(*caso.codigo, LIMITE_PASOS) != REFERENCIA_LIMITE && ref.exacto) return caso;
    ++caso.descartados;
  }
}

std::string describir(uint32_t semilla, const TProgramaGenerado& p, const TMaquina& m) {
  std::string s = "semilla del caso " + std::to_string(semilla) + "\nunidades";
  for (int32_t u : m.numUF) s += " " + std::to_string(u);
  s += ", latencias";
  for (int32_t l : m.latUF) s += " " + std::to_string(l);
  s += ", fallo " + std::to_string(m.latFalloCache) + ", " + std::to_string(m.memoria.porcentajeFallos) + " %\n";
  for (const auto& v : p.iniciales)
    s += std::string(1, v.banco) + std::to_string(v.indice) + "=" +
         (v.banco == 'R' ? std::to_string(v.entero) : std::to_string(v.flotante)) + " ";
  s += "\nNOP en";
  for (int32_t i : p.nops) s += " " + std::to_string(i);
  return s + "\n" + p.fuente;
}

// Uno de cada cinco casos es la segunda ejecución de la máquina: la primera se
// corta a medias y la segunda empieza sin limpiar registros ni memoria, a
// veces con otra configuración, como cuando el alumno para y vuelve a empezar.
template <typename Reconfigurar>
bool interrumpir(TMaquina& m, TAzar& azar, Reconfigurar reconfigurar) {
  if (!azar.siPorCiento(20)) return false;
  const int64_t ciclos = azar.entre(1, 300);
  for (int64_t i = 0; i < ciclos; ++i) {
    const int8_t r = m.ejecutarCiclo();
    if (r == CICLO_COMPLETADO || r == CICLO_ERROR) break;
  }
  if (azar.siPorCiento(50)) reconfigurar();
  m.reset(false);
  return true;
}

class Diferencial : public ::testing::TestWithParam<int> {};

}  // namespace

TEST_P(Diferencial, SuperescalarComoLaReferencia) {
  const TTanda t = tanda(20240611, 1500, GetParam());
  std::cout << "superescalar: semilla base " << t.semilla << ", " << t.casos << " casos\n";
  int64_t detenidos = 0, descartados = 0, instrucciones = 0, segundas = 0;
  for (int64_t k = 0; k < t.casos; ++k) {
    const uint32_t semilla = t.semilla + static_cast<uint32_t>(k);
    TAzarSemilla azar(semilla);
    TCasoExacto caso = casoExacto(azar, modoSuperescalar);
    ASSERT_NE(caso.codigo, nullptr);
    descartados += caso.descartados;
    TMaquinaSuper m;
    configurarSuper(m, azar);
    m.codigo = caso.codigo.get();
    m.reset(true);
    caso.programa.ponerIniciales(m);
    const bool segunda = interrumpir(m, azar, [&] { configurarSuper(m, azar); });
    const TResultadoCaso r = compararSuper(m, *caso.codigo, LIMITE_PASOS, 0);
    ASSERT_EQ(r.fallo, "") << describir(semilla, caso.programa, m) << (segunda ? "\n(segunda ejecución)" : "");
    // Tras una ejecución cortada el estado de partida puede sacar el caso de la zona exacta.
    ASSERT_TRUE(r.comparado || segunda);
    segundas += segunda && r.comparado;
    detenidos += r.detenido;
    instrucciones += r.ejecutadas;
  }
  std::cout << "  " << instrucciones << " instrucciones, " << detenidos << " detenidos fuera de la memoria, "
            << segundas << " comparados tras una ejecución cortada, " << descartados << " programas descartados\n";
  // La tanda cubre también las paradas por una dirección fuera de la memoria.
  if (t.casos >= 200) {
    EXPECT_GT(detenidos, t.casos / 50);
  }
}

TEST_P(Diferencial, VLIWComoLaReferencia) {
  const TTanda t = tanda(7031, 1500, GetParam());
  std::cout << "VLIW: semilla base " << t.semilla << ", " << t.casos << " casos\n";
  int64_t detenidos = 0, instrucciones = 0;
  for (int64_t k = 0; k < t.casos; ++k) {
    const uint32_t semilla = t.semilla + static_cast<uint32_t>(k);
    TAzarSemilla azar(semilla);
    TCasoExacto caso = casoExacto(azar, modoVLIW);
    ASSERT_NE(caso.codigo, nullptr);
    TMaquinaVLIW m;
    configurarVLIW(m, azar);
    m.reset(true);
    caso.programa.ponerIniciales(m);
    planificarEnSerie(m, *caso.codigo, azar);
    const bool segunda = interrumpir(m, azar, [&] { configurarVLIW(m, azar); });
    const TResultadoCaso r = compararVLIW(m, *caso.codigo, azar, LIMITE_PASOS, 0);
    ASSERT_EQ(r.fallo, "") << describir(semilla, caso.programa, m) << (segunda ? "\n(segunda ejecución)" : "");
    ASSERT_TRUE(r.comparado);
    detenidos += r.detenido;
    instrucciones += r.ejecutadas;
  }
  std::cout << "  " << instrucciones << " instrucciones, " << detenidos << " detenidos fuera de la memoria\n";
  if (t.casos >= 200) {
    EXPECT_GT(detenidos, t.casos / 50);
  }
}

// La misma comparación con una planificación compacta, varias operaciones por
// instrucción larga: lo que el comprobador acepta y respeta el orden de
// memoria da el resultado del programa secuencial.
TEST_P(Diferencial, VLIWCompactaComoLaReferencia) {
  const TTanda t = tanda(4242, 1000, GetParam());
  std::cout << "VLIW compacta: semilla base " << t.semilla << ", " << t.casos << " casos\n";
  int64_t comparados = 0, operaciones = 0, largas = 0;
  for (int64_t k = 0; k < t.casos; ++k) {
    const uint32_t semilla = t.semilla + static_cast<uint32_t>(k);
    TAzarSemilla azar(semilla);
    TCasoExacto caso = casoExacto(azar, modoVLIW);
    ASSERT_NE(caso.codigo, nullptr);
    TMaquinaVLIW m;
    configurarVLIW(m, azar);
    m.reset(true);
    caso.programa.ponerIniciales(m);
    const TResultadoCaso r = compararVLIW(m, *caso.codigo, azar, LIMITE_PASOS, 3000, true, true);
    ASSERT_EQ(r.fallo, "") << describir(semilla, caso.programa, m);
    comparados += r.comparado;
    operaciones += caso.codigo->numInstrucciones;
    largas += m.codigo.numInstrucciones;
  }
  std::cout << "  " << comparados << " comparados (los demás acaban fuera de la memoria), " << operaciones
            << " operaciones en " << largas << " instrucciones largas\n";
}

// Programas sin restricciones (cualquier registro, también R0, inmediatos y
// valores iniciales extremos, NaN, saltos hacia atrás que no acaban) en
// configuraciones amplias: la máquina nunca se sale de sus invariantes, y
// cuando la referencia acaba dentro de la zona exacta, coincide con ella.
TEST_P(Diferencial, SuperescalarConValoresExtremos) {
  const TTanda t = tanda(77, 150, GetParam());
  std::cout << "superescalar amplia: semilla base " << t.semilla << ", " << t.casos << " casos\n";
  int64_t comparados = 0;
  for (int64_t k = 0; k < t.casos; ++k) {
    const uint32_t semilla = t.semilla + static_cast<uint32_t>(k);
    TAzarSemilla azar(semilla);
    TGeneradorProgramas generador(azar, true);
    const TProgramaGenerado p = generador.generar();
    const auto c = p.cargar();
    ASSERT_NE(c, nullptr) << p.fuente;
    TMaquinaSuper m;
    configurarSuper(m, azar);
    for (auto& u : m.numUF) u = azar.entre32(1, 10);
    for (auto& l : m.latUF) l = azar.entre32(1, azar.siPorCiento(10) ? 100 : 12);
    m.emision = azar.entre32(2, 16);
    m.latFalloCache = azar.entre32(0, 100);
    m.codigo = c.get();
    m.reset(true);
    p.ponerIniciales(m);
    const TResultadoCaso r = compararSuper(m, *c, 2000, 3000);
    ASSERT_EQ(r.fallo, "") << describir(semilla, p, m);
    comparados += r.comparado;
  }
  std::cout << "  " << comparados << " comparados con la referencia\n";
}

INSTANTIATE_TEST_SUITE_P(Trozo, Diferencial, ::testing::Range(0, TROZOS));
