#include <gtest/gtest.h>

#include <array>
#include <filesystem>

#include "AyudaSuper.h"

// Los programas de ejemplo, ejecutados hasta el final en distintas
// configuraciones, dejan los registros y la memoria del intérprete de referencia.

namespace {

struct TConfiguracion {
  const char* nombre;
  int32_t unidades;  // 0: las de defecto
  int32_t latencia;  // 0: las de defecto
  int32_t emision;
  int32_t porcentajeFallos;
};

const TConfiguracion configuraciones[] = {
    {"defecto", 0, 0, 4, 0},
    {"minima", 1, 1, 2, 0},
    {"ancha", 10, 7, 16, 0},
    {"fallos", 0, 0, 4, 100},
    {"lenta y con fallos", 1, 13, 3, 50},
};

}  // namespace

TEST(SuperEjemplos, ResultadosDeLaReferencia) {
  namespace fs = std::filesystem;
  int programas = 0;
  for (const auto& f : fs::directory_iterator(ORVEX_DIR_EJEMPLOS)) {
    const std::string ext = f.path().extension().string();
    if (ext != ".pla" && ext != ".bun") continue;
    TCodigo c;
    ASSERT_EQ(c.cargar(f.path().string()), 0) << f.path();
    ++programas;
    bool hayCargas = false;
    for (const auto& i : c.instrucciones) hayCargas = hayCargas || esCarga(i.codOp);
    for (const auto& conf : configuraciones) {
      SCOPED_TRACE(f.path().filename().string() + " / " + conf.nombre);
      TMaquinaSuper m;
      if (conf.unidades > 0) m.numUF.fill(conf.unidades);
      if (conf.latencia > 0) m.latUF.fill(conf.latencia);
      m.emision = conf.emision;
      m.memoria.porcentajeFallos = conf.porcentajeFallos;
      preparar(m, &c);
      const TInterpreteReferencia esperado = ejecutarEnOrden(c, m);
      ASSERT_EQ(ejecutarHastaFin(m), CICLO_COMPLETADO);
      esperarEstado(m, esperado);
      EXPECT_EQ(m.estadisticas.instruccionesConfirmadas, esperado.ejecutadas);
      esperarVacia(m);
      if (conf.porcentajeFallos == 100 && hayCargas) {
        EXPECT_GT(m.estadisticas.fallosCache, 0);
      }
    }
  }
  EXPECT_GE(programas, 5);
}

// Los resultados que anuncian las cabeceras de los ejemplos.
TEST(SuperEjemplos, ResultadosAnunciados) {
  auto ejecutar = [](const char* nombre, TMaquinaSuper& m, TCodigo& c) {
    ASSERT_EQ(c.cargar(std::string(ORVEX_DIR_EJEMPLOS) + "/" + nombre), 0);
    preparar(m, &c);
    ASSERT_EQ(ejecutarHastaFin(m), CICLO_COMPLETADO);
  };
  {
    TMaquinaSuper m;
    TCodigo c;
    ejecutar("producto_escalar.pla", m, c);
    EXPECT_EQ(m.memoria.datos[32], 125.0f);
  }
  {
    TMaquinaSuper m;
    TCodigo c;
    ejecutar("bucle_saltos.pla", m, c);
    EXPECT_EQ(m.gpr.valor[4], 21);
    EXPECT_EQ(m.gpr.valor[5], 720);
    EXPECT_EQ(m.memoria.datos[0], 21.0f);
    EXPECT_EQ(m.memoria.datos[1], 720.0f);
    EXPECT_EQ(m.memoria.datos[2], 1.0f);
    EXPECT_EQ(m.estadisticas.saltosConfirmados, 7);
  }
  {
    TMaquinaSuper m;
    TCodigo c;
    ejecutar("vector_suma.pla", m, c);
    for (int i = 0; i < 8; ++i) EXPECT_EQ(m.memoria.datos[static_cast<size_t>(i)], 3.0f + static_cast<float>(i));
  }
  {
    TMaquinaSuper m;
    TCodigo c;
    ejecutar("fallos_cache.pla", m, c);
    EXPECT_EQ(m.fpr.valor[0], 21.0f);
    EXPECT_EQ(m.memoria.datos[60], 21.0f);
  }
  {
    TMaquinaSuper m;
    TCodigo c;
    ejecutar("etiquetas_mixtas.pla", m, c);
    EXPECT_EQ(m.memoria.datos[10], 15.0f);
    EXPECT_EQ(m.memoria.datos[11], 10.0f);
  }
  {
    TMaquinaSuper m;
    TCodigo c;
    ejecutar("desenrollado.bun", m, c);
    for (int i = 0; i < 8; ++i)
      EXPECT_EQ(m.memoria.datos[static_cast<size_t>(i)], 2.0f * static_cast<float>(i + 1));
  }
}
