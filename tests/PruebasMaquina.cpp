#include <gtest/gtest.h>

#include "machine/TMaquina.h"

namespace {

// La base no tiene ciclo propio: basta uno vacío para probarla.
class TMaquinaMinima : public TMaquina {
public:
  int8_t ejecutarCiclo() override {
    ++ciclo;
    return CICLO_NORMAL;
  }
};

}  // namespace

TEST(MaquinaBase, ValoresTrasConstruir) {
  TMaquinaMinima m;
  EXPECT_EQ(m.ciclo, 0);
  EXPECT_EQ(m.pc, 0u);
  EXPECT_EQ(m.totalUF(), 11);
  EXPECT_EQ(m.latFalloCache, 9);
  EXPECT_EQ(m.memoria.porcentajeFallos, 0);
  EXPECT_FALSE(m.enEjecucion);
  for (int t = 0; t < NUM_TIPOS_UF; ++t) {
    const auto& unidades = m.uf[static_cast<size_t>(t)];
    ASSERT_EQ(static_cast<int>(unidades.size()), NUM_UF_DEFECTO[static_cast<size_t>(t)]);
    for (const auto& u : unidades) {
      EXPECT_EQ(u.tipo, t);
      EXPECT_EQ(u.latencia, LAT_UF_DEFECTO[static_cast<size_t>(t)]);
      EXPECT_EQ(u.ocupadas, 0);
    }
  }
}

TEST(MaquinaBase, ResetConYSinLimpiar) {
  TMaquinaMinima m;
  m.gpr.valor[4] = 7;
  m.fpr.valor[2] = 1.5f;
  m.memoria.datos[9] = 3.0f;
  m.memoria.porcentajeFallos = 40;
  m.pc = 5;
  m.ejecutarCiclo();
  m.enEjecucion = m.paradaBreakpoint = true;
  m.reset(false);
  EXPECT_EQ(m.gpr.valor[4], 7);
  EXPECT_EQ(m.fpr.valor[2], 1.5f);
  EXPECT_EQ(m.memoria.datos[9], 3.0f);
  EXPECT_EQ(m.pc, 0u);
  EXPECT_EQ(m.ciclo, 0);
  EXPECT_FALSE(m.enEjecucion);
  EXPECT_FALSE(m.paradaBreakpoint);
  m.reset(true);
  EXPECT_EQ(m.gpr.valor[4], 0);
  EXPECT_EQ(m.fpr.valor[2], 0.0f);
  EXPECT_EQ(m.memoria.datos[9], 0.0f);
  EXPECT_EQ(m.memoria.porcentajeFallos, 40);
}

TEST(MaquinaBase, ResetReconstruyeLasUnidadesConLaConfiguracion) {
  TMaquinaMinima m;
  m.numUF[tufMemoria] = 3;
  m.latUF[tufMemoria] = 7;
  m.uf[tufSumaEntera][0].parada = 5;
  m.reset(false);
  ASSERT_EQ(m.uf[tufMemoria].size(), 3u);
  for (const auto& u : m.uf[tufMemoria]) {
    EXPECT_EQ(u.latencia, 7);
    EXPECT_EQ(u.tipo, tufMemoria);
  }
  EXPECT_EQ(m.uf[tufSumaEntera][0].parada, 0);
  EXPECT_EQ(m.totalUF(), 12);
}

TEST(MaquinaBase, ConfiguracionAbsurdaSeAcota) {
  TMaquinaMinima m;
  m.numUF[0] = 0;
  m.numUF[1] = 1000000;
  m.latUF[2] = -4;
  m.latFalloCache = 500;
  m.memoria.porcentajeFallos = 250;
  m.reset(true);
  EXPECT_EQ(m.numUF[0], MIN_UF);
  EXPECT_EQ(m.numUF[1], MAX_UF);
  EXPECT_EQ(m.latUF[2], MIN_LATENCIA);
  EXPECT_EQ(m.latFalloCache, MAX_LAT_FALLO);
  EXPECT_EQ(m.memoria.porcentajeFallos, 100);
}

TEST(MaquinaBase, ParadaPorFalloNuncaNegativa) {
  TMaquinaMinima m;
  const TUnidadFuncional& mem = m.uf[tufMemoria][0];
  EXPECT_EQ(m.paradaPorFallo(mem), 5);
  m.latFalloCache = 4;
  EXPECT_EQ(m.paradaPorFallo(mem), 0);
  m.latFalloCache = 0;
  EXPECT_EQ(m.paradaPorFallo(mem), 0);
}
