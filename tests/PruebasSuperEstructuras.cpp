#include <gtest/gtest.h>

#include "AyudaSuper.h"

// Tamaños que siguen a la configuración, y lo que reset deja.

namespace {

std::vector<int32_t> capacidadesER(const TMaquinaSuper& m) {
  std::vector<int32_t> v;
  for (int t = 0; t < NUM_TIPOS_UF; ++t) v.push_back(m.capacidadER(t));
  return v;
}

}  // namespace

TEST(SuperEstructuras, TamanosSegunLaConfiguracion) {
  TMaquinaSuper m;
  EXPECT_EQ(m.emision, 4);
  EXPECT_EQ(m.codigo, nullptr);
  EXPECT_EQ(capacidadesER(m), (std::vector<int32_t>{4, 6, 10, 14, 10, 3}));
  EXPECT_EQ(m.rob.capacidad(), 47);
  EXPECT_EQ(m.capacidadROB(), 47);
  EXPECT_EQ(m.prefetch.capacidad(), 8);
  EXPECT_EQ(m.decoder.capacidad(), 4);
  ASSERT_EQ(m.aluDir.size(), 2u);
  for (const auto& u : m.aluDir) {
    EXPECT_EQ(u.latencia, 1);
    EXPECT_EQ(u.tipo, 0);
  }
  for (int r = 0; r < NUM_REGISTROS; ++r) {
    EXPECT_EQ(m.robGPR[static_cast<size_t>(r)], -1);
    EXPECT_EQ(m.robFPR[static_cast<size_t>(r)], -1);
  }
  for (int32_t p : m.prediccion) EXPECT_EQ(p, 0);

  // Cambiar la configuración no se ve hasta el siguiente reset.
  m.emision = 16;
  m.numUF.fill(1);
  m.latUF.fill(1);
  m.latUF[tufSumaEntera] = 3;
  EXPECT_EQ(m.rob.capacidad(), 47);
  EXPECT_EQ(m.decoder.capacidad(), 4);
  m.reset(false);
  EXPECT_EQ(m.prefetch.capacidad(), 32);
  EXPECT_EQ(m.decoder.capacidad(), 16);
  EXPECT_EQ(capacidadesER(m), (std::vector<int32_t>{4, 2, 2, 2, 2, 2}));
  EXPECT_EQ(m.rob.capacidad(), 14);
  ASSERT_EQ(m.aluDir.size(), 1u);
  EXPECT_EQ(m.aluDir[0].latencia, 3);

  // Configuraciones absurdas se acotan a los límites de los diálogos.
  m.emision = 1;
  m.numUF.fill(0);
  m.latUF.fill(1000);
  m.reset(true);
  EXPECT_EQ(m.emision, MIN_EMISION);
  EXPECT_EQ(m.decoder.capacidad(), 2);
  EXPECT_EQ(m.capacidadER(tufMemoria), 101);
  EXPECT_EQ(m.capacidadER(-1), 0);
  EXPECT_EQ(m.capacidadER(NUM_TIPOS_UF), 0);
  m.emision = 99;
  m.reset(true);
  EXPECT_EQ(m.emision, MAX_EMISION);
}

TEST(SuperEstructuras, ResetDescartaUnaEjecucionAMedias) {
  auto c = compilar("5\nLF F1 0(R0)\nMULTF F2 F1 F1\nBNE R1 R0 X\nSF F2 1(R0)\nX: ADDI R3 R3 R3\n");
  TMaquinaSuper m;
  preparar(m, c.get());
  m.gpr.valor[1] = 1;
  m.gpr.valor[7] = 7;
  m.memoria.porcentajeFallos = 100;
  for (int i = 0; i < 8; ++i) m.ejecutarCiclo();
  ASSERT_FALSE(m.rob.vacia());
  ASSERT_TRUE(m.fpr.pendiente[2]);
  m.prediccion[2] = 3;
  m.reset(false);  // sin limpiar, las marcas de renombrado también desaparecen
  esperarVacia(m);
  for (const auto& unidades : m.uf)
    for (const auto& u : unidades) EXPECT_EQ(u.ocupadas, 0);
  EXPECT_EQ(m.gpr.valor[7], 7);
  EXPECT_EQ(m.prediccion[2], 0);
  EXPECT_EQ(m.robFPR[2], -1);
  EXPECT_EQ(m.estadisticas.instruccionesConfirmadas, 0);
  EXPECT_EQ(m.estadisticas.fallosCache, 0);
  EXPECT_TRUE(m.confirmadasCiclo.empty());
  EXPECT_EQ(m.ciclo, 0);
  EXPECT_EQ(m.pc, 0u);
  EXPECT_EQ(m.codigo, c.get());
  // La ejecución siguiente parte de cero y termina bien.
  m.memoria.porcentajeFallos = 0;
  EXPECT_EQ(ejecutarHastaFin(m), CICLO_COMPLETADO);
}
