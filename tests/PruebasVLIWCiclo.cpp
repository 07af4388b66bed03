#include <gtest/gtest.h>

#include <climits>

#include "AyudaVLIW.h"

using ayuda::cicloDeEmision;
using ayuda::construir;
using ayuda::ejecutar;
using ayuda::secuencial;

TEST(CicloVLIW, UnaSumaAcabaEnElTercerCiclo) {
  const TCodigo s = secuencial("1\nADDI R1 R2 R3\n");
  TMaquinaVLIW m;
  m.gpr.valor[2] = 2;
  m.gpr.valor[3] = 3;
  construir(m.codigo, s, {{{0}}});
  EXPECT_EQ(m.ejecutarCiclo(), CICLO_NORMAL);
  EXPECT_EQ(m.emitidaCiclo, 0);
  EXPECT_EQ(m.ejecutarCiclo(), CICLO_VACIANDO);
  EXPECT_EQ(m.emitidaCiclo, -1);
  EXPECT_EQ(m.gpr.valor[1], 5);
  EXPECT_EQ(m.ejecutarCiclo(), CICLO_COMPLETADO);
  EXPECT_EQ(m.ciclo, 3);
  EXPECT_EQ(m.estadisticas.instruccionesEmitidas, 1);
  EXPECT_EQ(m.estadisticas.operacionesEjecutadas, 1);
}

TEST(CicloVLIW, InstruccionLargaVaciaSeEmiteEnUnCiclo) {
  TMaquinaVLIW m;
  m.codigo.crear(2);
  EXPECT_EQ(m.ejecutarCiclo(), CICLO_NORMAL);
  EXPECT_EQ(m.ejecutarCiclo(), CICLO_NORMAL);
  EXPECT_EQ(m.ejecutarCiclo(), CICLO_COMPLETADO);
  EXPECT_EQ(m.estadisticas.instruccionesEmitidas, 2);
}

// El lector de R1 va justo detrás del LI: espera al bit NaT.
class CicloVLIWNaT : public ::testing::Test {
protected:
  TCodigo s = secuencial("2\nLI R1 0(R0)\nADDI R2 R1 R1\n");
  TMaquinaVLIW m;
  std::vector<int32_t> emitidas;

  void SetUp() override {
    m.memoria.sembrar(7);
    m.memoria.datos[0] = 7.9f;
    construir(m.codigo, s, {{{0}}, {{1}}});
  }
};

TEST_F(CicloVLIWNaT, SinFalloElLectorSeEmiteCuatroCiclosDespues) {
  ASSERT_EQ(ejecutar(m, &emitidas), CICLO_COMPLETADO);
  EXPECT_EQ(cicloDeEmision(emitidas, 0), 1);
  EXPECT_EQ(cicloDeEmision(emitidas, 1), 5);
  EXPECT_EQ(m.gpr.valor[2], 14);
  EXPECT_EQ(m.estadisticas.ciclosParada, 3);
  EXPECT_EQ(m.estadisticas.fallosCache, 0);
  EXPECT_FALSE(m.natGPR[1]);
}

TEST_F(CicloVLIWNaT, ConFalloElLectorSeEmiteNueveCiclosDespues) {
  m.memoria.porcentajeFallos = 100;
  ASSERT_EQ(ejecutar(m, &emitidas), CICLO_COMPLETADO);
  EXPECT_EQ(cicloDeEmision(emitidas, 1), 10);
  EXPECT_EQ(m.gpr.valor[2], 14);
  EXPECT_EQ(m.estadisticas.ciclosParada, 8);
  EXPECT_EQ(m.estadisticas.fallosCache, 1);
}

TEST_F(CicloVLIWNaT, FalloMasCortoQueLaLatenciaNoCuestaNada) {
  m.memoria.porcentajeFallos = 100;
  m.latFalloCache = 2;  // parada negativa: se toma como cero
  m.reset(false);
  ASSERT_EQ(ejecutar(m, &emitidas), CICLO_COMPLETADO);
  EXPECT_EQ(cicloDeEmision(emitidas, 1), 5);
  EXPECT_EQ(m.estadisticas.fallosCache, 1);
  EXPECT_EQ(m.gpr.valor[2], 14);
  EXPECT_EQ(m.uf[tufMemoria][0].parada, 0);
}

// Unidad de memoria 0 parada por un fallo, con otra carga ya dentro.
class CicloVLIWUnidadParada : public ::testing::Test {
protected:
  TCodigo s = secuencial(
      "5\nLF F1 0(R0)\nMULTI R4 R5 R5\nLF F2 1(R0)\nLF F3 2(R0)\nDADDUI R6 R6 #1\n");
  TMaquinaVLIW m;
  std::vector<int32_t> emitidas;

  void SetUp() override {
    m.memoria.porcentajeFallos = 100;
    m.gpr.valor[5] = 3;
    m.memoria.datos[0] = 1.5f;
  }
  // LF F2 y MULTI entran en el ciclo 4, justo antes de que falle LF F1.
  void programa(int32_t unidadLF3) {
    construir(m.codigo, s, {{{0, 0}}, {{4}}, {}, {{2, 0}, {1}}, {{3, unidadLF3}}, {{4}}});
  }
};

TEST_F(CicloVLIWUnidadParada, BloqueaSoloLoQueNecesitaEsaUnidad) {
  programa(0);
  for (int c = 1; c <= 6; ++c) m.ejecutarCiclo();
  // En plena parada la multiplicación entera sigue su curso.
  EXPECT_GT(m.uf[tufMemoria][0].parada, 0);
  EXPECT_EQ(m.gpr.valor[4], 9);
  ASSERT_EQ(ejecutar(m, &emitidas), CICLO_COMPLETADO);
  // LF F1 falla en el ciclo 5 y termina en el 10: hasta entonces la unidad 0 no acepta.
  EXPECT_EQ(cicloDeEmision(emitidas, 4) + 6, 10);
  EXPECT_EQ(m.fpr.valor[1], 1.5f);
  EXPECT_EQ(m.estadisticas.ciclosParada, 5);
}

TEST_F(CicloVLIWUnidadParada, LaOtraUnidadDeMemoriaSigueAceptando) {
  programa(1);
  ASSERT_EQ(ejecutar(m, &emitidas), CICLO_COMPLETADO);
  EXPECT_EQ(cicloDeEmision(emitidas, 4), 5);
  EXPECT_EQ(cicloDeEmision(emitidas, 5), 6);
}

TEST(CicloVLIW, R0NoGuardaNadaYF0EsUnRegistroNormal) {
  const TCodigo s = secuencial("3\nDADDUI R0 R0 #5\nADDF F0 F1 F1\nADDI R2 R0 R0\n");
  TMaquinaVLIW m;
  m.fpr.valor[1] = 1.25f;
  construir(m.codigo, s, {{{0}, {1}}, {{2}}});
  ASSERT_EQ(ejecutar(m), CICLO_COMPLETADO);
  EXPECT_EQ(m.gpr.valor[0], 0);
  EXPECT_EQ(m.gpr.valor[2], 0);
  EXPECT_EQ(m.fpr.valor[0], 2.5f);
}

TEST(CicloVLIW, AritmeticaEnteraCircularYConversiones) {
  const TCodigo s = secuencial(
      "4\nADDI R3 R1 R2\nMULTI R4 R1 R1\nSI R1 0(R0)\nLI R5 1(R0)\n");
  TMaquinaVLIW m;
  m.gpr.valor[1] = INT_MAX;
  m.gpr.valor[2] = 1;
  m.memoria.datos[1] = -2.7f;
  construir(m.codigo, s, {{{0}, {1}, {2, 0}, {3, 1}}});
  ASSERT_EQ(ejecutar(m), CICLO_COMPLETADO);
  EXPECT_EQ(m.gpr.valor[3], INT_MIN);
  EXPECT_EQ(m.gpr.valor[4], 1);
  EXPECT_EQ(m.memoria.datos[0], 2147483648.0f);
  EXPECT_EQ(m.gpr.valor[5], -2);
}

TEST(CicloVLIW, DosAccesosAMemoriaEnElMismoCicloVanEnOrdenDeUnidad) {
  const TCodigo s = secuencial("2\nSF F1 5(R0)\nLF F2 5(R0)\n");
  TMaquinaVLIW m;
  m.fpr.valor[1] = 4.0f;
  m.memoria.datos[5] = 1.0f;
  construir(m.codigo, s, {{{1, 1}, {0, 0}}});
  ASSERT_EQ(ejecutar(m), CICLO_COMPLETADO);
  EXPECT_EQ(m.fpr.valor[2], 4.0f);

  // Con las unidades al revés, la carga lee el valor antiguo.
  m.reset(false);
  m.memoria.datos[5] = 1.0f;
  construir(m.codigo, s, {{{0, 1}, {1, 0}}});
  ASSERT_EQ(ejecutar(m), CICLO_COMPLETADO);
  EXPECT_EQ(m.fpr.valor[2], 1.0f);
  EXPECT_EQ(m.memoria.datos[5], 4.0f);
}

// Salto en la instrucción larga 0 (latencia 2): se resuelve en el ciclo 3.
class CicloVLIWSalto : public ::testing::Test {
protected:
  TCodigo s = secuencial(
      "4\nBEQ R1 R2 FIN\nADDI R3 R3 R4\nDADDUI R5 R5 #1\nFIN: DADDUI R6 R6 #1\n");
  TMaquinaVLIW m;
  std::vector<int32_t> emitidas;

  void SetUp() override { m.gpr.valor[4] = 1; }
  void noTomado() { m.gpr.valor[2] = 1; }
};

TEST_F(CicloVLIWSalto, TomadoEmiteElDestinoEnElCicloDeResolucion) {
  construir(m.codigo, s, {{{0, 0, 0, 3, 1, 2}}, {{1, 0, 1}}, {{2}}, {{3}}});
  ASSERT_EQ(ejecutar(m, &emitidas), CICLO_COMPLETADO);
  EXPECT_EQ(emitidas[3], 3);
  EXPECT_EQ(cicloDeEmision(emitidas, 2), -1);
  EXPECT_EQ(m.gpr.valor[3], 1);  // guardada por p1 y fuera de la sombra: se ejecuta
  EXPECT_EQ(m.gpr.valor[5], 0);
  EXPECT_TRUE(m.predicados[1]);
  EXPECT_FALSE(m.predicados[2]);
  EXPECT_EQ(m.estadisticas.saltosTomados, 1);
}

TEST_F(CicloVLIWSalto, NoTomadoSigueEnOrden) {
  noTomado();
  construir(m.codigo, s, {{{0, 0, 0, 3, 1, 2}}, {{1, 0, 1}}, {{2}}, {{3}}});
  ASSERT_EQ(ejecutar(m, &emitidas), CICLO_COMPLETADO);
  EXPECT_EQ(emitidas[3], 2);
  EXPECT_EQ(m.gpr.valor[3], 0);
  EXPECT_EQ(m.gpr.valor[5], 1);
  EXPECT_FALSE(m.predicados[1]);
  EXPECT_TRUE(m.predicados[2]);
  EXPECT_EQ(m.estadisticas.saltosTomados, 0);
  EXPECT_EQ(m.estadisticas.operacionesDescartadas, 1);
}

TEST_F(CicloVLIWSalto, OperacionGuardadaDentroDeLaSombraSeDescartaSiempre) {
  // En la instrucción larga del salto, la ADDI sale en el ciclo 2, antes de resolverse.
  construir(m.codigo, s, {{{0, 0, 0, 3, 1, 2}, {1, 0, 1}}, {}, {{2}}, {{3}}});
  ASSERT_EQ(ejecutar(m), CICLO_COMPLETADO);
  EXPECT_EQ(m.gpr.valor[3], 0);
  EXPECT_EQ(m.estadisticas.operacionesDescartadas, 1);
}

TEST_F(CicloVLIWSalto, SaltoConGuardaFalsaSeDescarta) {
  construir(m.codigo, s, {{{0, 0, 7, 3, 1, 2}}, {}, {{2}}, {{3}}});
  ASSERT_EQ(ejecutar(m, &emitidas), CICLO_COMPLETADO);
  EXPECT_EQ(emitidas[3], 2);
  EXPECT_FALSE(m.predicados[1]);
  EXPECT_FALSE(m.predicados[2]);
  EXPECT_EQ(m.gpr.valor[5], 1);
  EXPECT_EQ(m.estadisticas.saltosTomados, 0);
}

TEST_F(CicloVLIWSalto, MismoRegistroParaLosDosPredicados) {
  construir(m.codigo, s, {{{0, 0, 0, 1, 4, 4}}});
  ASSERT_EQ(ejecutar(m), CICLO_COMPLETADO);
  EXPECT_FALSE(m.predicados[4]);  // tomado

  noTomado();
  m.reset(false);
  ASSERT_EQ(ejecutar(m), CICLO_COMPLETADO);
  EXPECT_TRUE(m.predicados[4]);
}

TEST_F(CicloVLIWSalto, SaltoFueraDelProgramaTerminaAlVaciarseLasUnidades) {
  for (int32_t destino : {50, -1}) {
    SCOPED_TRACE(destino);
    m.reset(false);
    construir(m.codigo, s, {{{0, 0, 0, destino, 1, 2}, {1, 0, 0}}, {}, {{2}}});
    EXPECT_EQ(m.ejecutarCiclo(), CICLO_NORMAL);
    EXPECT_EQ(m.ejecutarCiclo(), CICLO_NORMAL);
    EXPECT_EQ(m.ejecutarCiclo(), CICLO_VACIANDO);
    EXPECT_EQ(m.ejecutarCiclo(), CICLO_COMPLETADO);
    EXPECT_EQ(m.gpr.valor[5], 0);
  }
}

TEST_F(CicloVLIWSalto, BreakpointSeDaEnCadaCicloQueLaInstruccionEsperaYAlEmitirse) {
  // La instrucción larga 1 lee R1, que carga un LI: espera con el breakpoint puesto.
  const TCodigo t = secuencial("2\nLI R1 0(R0)\nADDI R2 R1 R1\n");
  construir(m.codigo, t, {{{0}}, {{1}}});
  m.codigo.instruccion(1)->breakpoint = true;
  EXPECT_EQ(m.ejecutarCiclo(), CICLO_NORMAL);
  for (int c = 2; c <= 5; ++c) {
    EXPECT_EQ(m.ejecutarCiclo(), CICLO_BREAKPOINT) << c;
    EXPECT_TRUE(m.paradaBreakpoint);
    m.paradaBreakpoint = false;
  }
  EXPECT_EQ(m.emitidaCiclo, 1);
  EXPECT_EQ(m.ejecutarCiclo(), CICLO_VACIANDO);
}

// Cargas descartadas por predicado falso y su bit NaT.
TEST(CicloVLIWCargaDescartada, LimpiaElNaTYLaEjecucionNoSeCuelga) {
  const TCodigo s = secuencial("2\nLI R1 0(R0)\nADDI R2 R1 R1\n");
  TMaquinaVLIW m;
  std::vector<int32_t> emitidas;
  construir(m.codigo, s, {{{0, 0, 9}}, {{1}}});
  ASSERT_EQ(ejecutar(m, &emitidas), CICLO_COMPLETADO);
  EXPECT_EQ(cicloDeEmision(emitidas, 1), 5);
  EXPECT_FALSE(m.natGPR[1]);
}

TEST(CicloVLIWCargaDescartada, ParDeCargasConvertidasSigueEsperandoALaQueLlega) {
  // Salto tomado: p1 cierto, p2 falso. Las dos cargas salen en el mismo ciclo;
  // la de p1 falla y la de p2 se descarta sin soltar el NaT de R1.
  const TCodigo s = secuencial(
      "4\nBEQ R0 R0 A\nA: LI R1 0(R0)\nLI R1 1(R0)\nADDI R2 R1 R1\n");
  for (int32_t unidadBuena : {0, 1}) {
    SCOPED_TRACE(unidadBuena);
    TMaquinaVLIW m;
    std::vector<int32_t> emitidas;
    m.memoria.porcentajeFallos = 100;
    m.memoria.datos[0] = 6.0f;
    m.memoria.datos[1] = 100.0f;
    construir(m.codigo, s,
              {{{0, 0, 0, 2, 1, 2}}, {}, {{1, unidadBuena, 1}, {2, 1 - unidadBuena, 2}}, {{3}}});
    ASSERT_EQ(ejecutar(m, &emitidas), CICLO_COMPLETADO);
    EXPECT_EQ(cicloDeEmision(emitidas, 2), 3);
    EXPECT_EQ(cicloDeEmision(emitidas, 3), 12);
    EXPECT_EQ(m.gpr.valor[2], 12);
  }
}

TEST(CicloVLIWCargaDescartada, LaMismaCargaDosVecesEnVueloCuentaPorEtapas) {
  // Un bucle de una instrucción larga pone la misma carga (guarda p5, siempre
  // falsa) dos veces en la unidad 0: la primera, al descartarse, no suelta el NaT.
  const TCodigo s = secuencial(
      "4\nA: LI R1 0(R0)\nDADDUI R6 R6 #1\nBNE R6 R7 A\nADDI R2 R1 R1\n");
  TMaquinaVLIW m;
  std::vector<int32_t> emitidas;
  m.gpr.valor[7] = 2;
  construir(m.codigo, s, {{{0, 0, 5}, {1}, {2, 0, 0, 0, 1, 2}}, {}, {{3}}});
  ASSERT_EQ(ejecutar(m, &emitidas), CICLO_COMPLETADO);
  EXPECT_EQ(emitidas[3], 0);
  EXPECT_EQ(cicloDeEmision(emitidas, 2), 7);
  EXPECT_EQ(m.estadisticas.operacionesDescartadas, 2);
}

TEST(CicloVLIWErrores, DireccionFueraDeRangoDetieneLaEjecucion) {
  const TCodigo s = secuencial("3\nDADDUI R1 R1 #1\nSF F1 2000(R0)\nLF F2 0(R3)\n");
  TMaquinaVLIW m;
  m.fpr.valor[1] = 3.0f;
  // El DADDUI termina en el mismo ciclo que el SF, antes que él.
  construir(m.codigo, s, {{{1}}, {}, {}, {{0}}});
  int8_t r = CICLO_NORMAL;
  for (int i = 0; i < 10 && r != CICLO_ERROR; ++i) r = m.ejecutarCiclo();
  ASSERT_EQ(r, CICLO_ERROR);
  EXPECT_EQ(m.ciclo, 5);
  EXPECT_EQ(m.mensajeError,
            "Dirección de memoria fuera de rango (2000) en la operación 1 de la instrucción larga 0");
  EXPECT_EQ(m.ejecutarCiclo(), CICLO_ERROR);
  EXPECT_EQ(m.ciclo, 5);
  for (float v : m.memoria.datos) ASSERT_EQ(v, 0.0f);

  // La escritura que quedó a medias no aparece en la ejecución siguiente.
  m.reset(false);
  EXPECT_TRUE(m.mensajeError.empty());
  construir(m.codigo, s, {{{2}}});
  ASSERT_EQ(ejecutar(m), CICLO_COMPLETADO);
  EXPECT_EQ(m.gpr.valor[1], 0);

  m.gpr.valor[3] = -5;
  m.reset(false);
  construir(m.codigo, s, {{{2}}});
  ASSERT_EQ(ejecutar(m), CICLO_ERROR);
  EXPECT_EQ(m.mensajeError,
            "Dirección de memoria fuera de rango (-5) en la operación 2 de la instrucción larga 0");
}

TEST(CicloVLIWErrores, ProgramaQueLaConfiguracionNoPermiteNoSeEjecuta) {
  const TCodigo s = secuencial("1\nLF F1 0(R0)\n");
  TMaquinaVLIW m;
  construir(m.codigo, s, {{{0, 1}}});
  EXPECT_EQ(m.comprobarConfiguracion(), CHEQUEO_OK);
  m.numUF[tufMemoria] = 1;
  EXPECT_EQ(m.comprobarConfiguracion(), CHEQUEO_CONFIGURACION);
  m.reset(false);
  EXPECT_EQ(m.ejecutarCiclo(), CICLO_ERROR);
  EXPECT_EQ(m.mensajeError, TMaquinaVLIW::MENSAJE_CONFIGURACION);
  EXPECT_EQ(m.uf[tufMemoria][0].ocupadas, 0);
}

TEST(CicloVLIWErrores, OperacionesHechasAManoNoSalenDeLasTablas) {
  const TCodigo s = secuencial("3\nADDI R1 R2 R3\nBNE R1 R2 X\nX: ADDI R1 R1 R1\n");
  auto probar = [&](auto estropear, const std::string& mensaje) {
    TMaquinaVLIW m;
    construir(m.codigo, s, {{{0}, {1, 0, 0, 0, 1, 2}}});
    estropear(m.codigo.instruccion(0)->operaciones);
    EXPECT_EQ(m.ejecutarCiclo(), CICLO_ERROR);
    EXPECT_EQ(m.mensajeError, mensaje);
  };
  const std::string invalida = "Operación no válida en la operación 0 de la instrucción larga 0";
  probar([](auto& ops) { ops[0]->predicado = 64; }, invalida);
  probar([](auto& ops) { ops[0]->op[1] = -1; }, invalida);
  probar([](auto& ops) { ops[0]->tipoUF = 4; }, invalida);
  probar([](auto& ops) { ops[0]->tipoUF = 9; }, invalida);
  probar([](auto& ops) { ops[0]->numUnidad = -1; }, invalida);
  probar([](auto& ops) { ops[1]->predFalso = 200; },
         "Operación no válida en la operación 1 de la instrucción larga 0");
  probar([](auto& ops) { ops[0]->numUnidad = 40; }, TMaquinaVLIW::MENSAJE_CONFIGURACION);
  probar(
      [&](auto& ops) {
        ops.push_back(std::make_unique<TOperacionVLIW>(*ops[0]));
        ops.back()->direccion = 2;
      },
      "Unidad funcional repetida en la operación 2 de la instrucción larga 0");
}

TEST(CicloVLIWPrograma, CambiarElProgramaVaciaLasUnidades) {
  const TCodigo s = secuencial("2\nLI R1 0(R0)\nMULTF F1 F2 F3\n");
  TMaquinaVLIW m;
  construir(m.codigo, s, {{{0}, {1}}});
  m.ejecutarCiclo();
  ASSERT_TRUE(m.natGPR[1]);
  m.borrarCodigo();
  EXPECT_EQ(m.codigo.numInstrucciones, 0);
  for (const auto& unidades : m.uf)
    for (const auto& u : unidades) {
      EXPECT_EQ(u.ocupadas, 0);
      for (const TInstruccion* e : u.etapas) EXPECT_EQ(e, nullptr);
    }
  EXPECT_FALSE(m.natGPR[1]);
  EXPECT_EQ(m.ejecutarCiclo(), CICLO_COMPLETADO);

  m.reset(false);
  construir(m.codigo, s, {{{0}, {1}}});
  m.ejecutarCiclo();
  ASSERT_EQ(m.uf[tufMultFlotante][0].ocupadas, 1);
  EXPECT_FALSE(m.cargarCodigo("/no/existe.vliw", s));
  EXPECT_EQ(m.codigo.numInstrucciones, 0);
  EXPECT_EQ(m.uf[tufMultFlotante][0].ocupadas, 0);
}

TEST(CicloVLIWPrograma, ResetDejaElProgramaYPoneACeroEstadoYContadores) {
  const TCodigo s = secuencial("3\nLI R1 0(R0)\nBEQ R0 R0 X\nX: LI R1 0(R0)\n");
  TMaquinaVLIW m;
  m.numUF[tufSalto] = 4;
  m.reset(true);
  EXPECT_EQ(m.uf[tufSalto].size(), 1u);
  EXPECT_EQ(m.numUF[tufSalto], 1);
  construir(m.codigo, s, {{{0}, {1, 0, 0, 0, 3, 4}}});
  m.ejecutarCiclo();
  m.ejecutarCiclo();
  m.predicados[9] = true;
  m.reset(false);
  EXPECT_EQ(m.codigo.numInstrucciones, 1);
  EXPECT_FALSE(m.natGPR[1]);
  EXPECT_TRUE(m.predicados[0]);
  for (int i = 1; i < NUM_REGISTROS; ++i) EXPECT_FALSE(m.predicados[static_cast<size_t>(i)]);
  EXPECT_EQ(m.estadisticas.instruccionesEmitidas, 0);
  EXPECT_EQ(m.emitidaCiclo, -1);
  EXPECT_EQ(m.ciclo, 0);
}
