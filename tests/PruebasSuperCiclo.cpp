#include <gtest/gtest.h>

#include "AyudaSuper.h"

// Tiempos al ciclo con la configuración por defecto: los alumnos los comparan
// con lo que calculan a mano.

TEST(SuperCiclo, AddiSolaRecorreUnaEtapaPorCiclo) {
  auto c = compilar("1\nADDI R3 R1 R2\n");
  TMaquinaSuper m;
  preparar(m, c.get());
  m.gpr.valor[1] = 2;
  m.gpr.valor[2] = 5;

  EXPECT_EQ(m.ejecutarCiclo(), CICLO_NORMAL);  // 1: búsqueda
  EXPECT_EQ(m.prefetch.numElementos(), 1);
  EXPECT_EQ(m.ejecutarCiclo(), CICLO_NORMAL);  // 2: decodificación
  EXPECT_TRUE(m.prefetch.vacia());
  EXPECT_EQ(m.decoder.numElementos(), 1);
  EXPECT_EQ(m.ejecutarCiclo(), CICLO_NORMAL);  // 3: emisión
  ASSERT_EQ(m.rob.numElementos(), 1);
  TEntradaROB* e = m.rob.enOrden(0);
  EXPECT_EQ(e->etapa, ETAPA_ISSUE);
  EXPECT_EQ(e->destino, 3);
  EXPECT_TRUE(m.gpr.pendiente[3]);
  EXPECT_EQ(m.robGPR[3], m.rob.huecoEnOrden(0));
  ASSERT_EQ(m.er[tufSumaEntera].size(), 1u);
  EXPECT_EQ(m.er[tufSumaEntera][0].vj, 2.0f);
  EXPECT_EQ(m.er[tufSumaEntera][0].vk, 5.0f);
  EXPECT_EQ(m.ejecutarCiclo(), CICLO_NORMAL);  // 4: empieza en la unidad 0
  EXPECT_EQ(e->etapa, ETAPA_EXEC);
  EXPECT_EQ(m.er[tufSumaEntera][0].uf, 0);
  EXPECT_EQ(m.uf[tufSumaEntera][0].ocupadas, 1);
  EXPECT_EQ(m.ejecutarCiclo(), CICLO_NORMAL);  // 5: escritura
  EXPECT_EQ(e->etapa, ETAPA_WRITE);
  EXPECT_TRUE(e->listo);
  EXPECT_EQ(e->valor, 7.0f);
  EXPECT_TRUE(m.er[tufSumaEntera].empty());
  EXPECT_EQ(m.gpr.valor[3], 0);  // nada es visible antes de confirmar
  EXPECT_EQ(m.ejecutarCiclo(), CICLO_COMPLETADO);  // 6: confirmación
  EXPECT_EQ(m.ciclo, 6);
  EXPECT_EQ(m.gpr.valor[3], 7);
  EXPECT_EQ(m.confirmadasCiclo, std::vector<int32_t>{0});
  EXPECT_EQ(m.estadisticas.instruccionesConfirmadas, 1);
  esperarVacia(m);

  // Después de completar, los ciclos solo cuentan.
  EXPECT_EQ(m.ejecutarCiclo(), CICLO_COMPLETADO);
  EXPECT_EQ(m.ciclo, 7);
  EXPECT_TRUE(m.confirmadasCiclo.empty());
}

TEST(SuperCiclo, CargaYAlmacenamientoSolos) {
  auto carga = compilar("1\nLI R3 4(R1)\n");
  TMaquinaSuper m;
  preparar(m, carga.get());
  m.gpr.valor[1] = 6;
  m.memoria.datos[10] = 42.0f;
  for (int i = 0; i < 4; ++i) m.ejecutarCiclo();
  EXPECT_EQ(m.rob.enOrden(0)->etapa, ETAPA_EXEC);  // 4: cálculo de la dirección
  EXPECT_FALSE(m.rob.enOrden(0)->dirCalculada);
  m.ejecutarCiclo();  // 5: dirección conocida
  EXPECT_TRUE(m.rob.enOrden(0)->dirCalculada);
  EXPECT_EQ(m.rob.enOrden(0)->dirMem, 10);
  EXPECT_EQ(m.er[tufMemoria][0].a, 10);
  EXPECT_EQ(m.uf[tufMemoria][0].ocupadas, 0);
  m.ejecutarCiclo();  // 6: entra en la unidad de memoria
  EXPECT_EQ(m.uf[tufMemoria][0].ocupadas, 1);
  EXPECT_EQ(cicloDeConfirmacion(m, 0), 11);
  EXPECT_EQ(m.gpr.valor[3], 42);

  auto alm = compilar("1\nSI R2 4(R1)\n");
  preparar(m, alm.get());
  m.gpr.valor[1] = 6;
  m.gpr.valor[2] = 9;
  for (int i = 0; i < 5; ++i) m.ejecutarCiclo();
  EXPECT_FALSE(m.rob.enOrden(0)->listo);
  m.ejecutarCiclo();  // 6: escritura del almacenamiento
  EXPECT_TRUE(m.rob.enOrden(0)->listo);
  EXPECT_EQ(m.rob.enOrden(0)->etapa, ETAPA_WRITE);
  EXPECT_EQ(m.memoria.datos[10], 0.0f);
  EXPECT_EQ(m.ejecutarCiclo(), CICLO_COMPLETADO);  // 7
  EXPECT_EQ(m.memoria.datos[10], 9.0f);
  EXPECT_EQ(m.uf[tufMemoria][0].ocupadas, 0);  // los almacenamientos no usan la unidad de memoria
}

TEST(SuperCiclo, FallosDeCache) {
  auto c = compilar("2\nLF F1 0(R0)\nLF F2 1(R0)\n");
  TMaquinaSuper m;
  m.numUF[tufMemoria] = 1;
  preparar(m, c.get());
  m.memoria.porcentajeFallos = 100;
  m.memoria.datos[0] = 1.5f;
  m.memoria.datos[1] = 2.5f;
  // La primera entra en la unidad en el ciclo 6 y termina 9 ciclos después;
  // la segunda espera detrás durante la parada y luego falla a su vez.
  EXPECT_EQ(cicloDeConfirmacion(m, 0), 16);
  EXPECT_EQ(cicloDeConfirmacion(m, 1), 22);
  EXPECT_EQ(m.fpr.valor[1], 1.5f);
  EXPECT_EQ(m.fpr.valor[2], 2.5f);
  EXPECT_EQ(m.estadisticas.fallosCache, 2);

  // Latencia de fallo menor que la de memoria: el fallo no cuesta nada.
  m.latFalloCache = 2;
  m.numUF[tufMemoria] = 2;
  preparar(m, c.get());
  m.memoria.porcentajeFallos = 100;
  EXPECT_EQ(cicloDeConfirmacion(m, 0), 11);
  EXPECT_EQ(m.uf[tufMemoria][0].parada, 0);
  EXPECT_EQ(m.estadisticas.fallosCache, 2);
}

TEST(SuperCiclo, ConfirmacionLimitadaPorLaAnchura) {
  TMaquinaSuper m;
  m.emision = 2;
  // Dos entradas confirmadas justo al vaciarse el ROB: se completa en el ciclo siguiente.
  auto dos = compilar("2\nDADDUI R1 R0 #1\nDADDUI R2 R0 #2\n");
  preparar(m, dos.get());
  for (int i = 0; i < 5; ++i) EXPECT_EQ(m.ejecutarCiclo(), CICLO_NORMAL);
  EXPECT_EQ(m.ejecutarCiclo(), CICLO_NORMAL);
  EXPECT_EQ(m.confirmadasCiclo, (std::vector<int32_t>{0, 1}));
  EXPECT_EQ(m.ejecutarCiclo(), CICLO_COMPLETADO);
  EXPECT_EQ(m.ciclo, 7);

  // Tres entradas terminadas en cabeza: dos en un ciclo y la tercera en el siguiente.
  auto tres = compilar("3\nMULTI R1 R2 R3\nDADDUI R4 R0 #1\nDADDUI R5 R0 #2\n");
  preparar(m, tres.get());
  for (int i = 0; i < 6; ++i) m.ejecutarCiclo();
  for (auto* e : vivas(m.rob)) EXPECT_TRUE(e->listo);
  EXPECT_EQ(m.ejecutarCiclo(), CICLO_NORMAL);
  EXPECT_EQ(m.confirmadasCiclo, (std::vector<int32_t>{0, 1}));
  EXPECT_EQ(m.ejecutarCiclo(), CICLO_COMPLETADO);
  EXPECT_EQ(m.confirmadasCiclo, std::vector<int32_t>{2});
}

TEST(SuperCiclo, DosUnidadesYTresInstruccionesListas) {
  auto c = compilar("3\nDADDUI R1 R0 #1\nDADDUI R2 R0 #2\nDADDUI R3 R0 #3\n");
  TMaquinaSuper m;
  preparar(m, c.get());
  for (int i = 0; i < 4; ++i) m.ejecutarCiclo();
  const auto& er = m.er[tufSumaEntera];
  ASSERT_EQ(er.size(), 3u);
  EXPECT_EQ(er[0].uf, 0);
  EXPECT_EQ(er[1].uf, 1);
  EXPECT_EQ(er[2].uf, -1);
  m.ejecutarCiclo();
  ASSERT_EQ(er.size(), 1u);
  EXPECT_EQ(er[0].instruccion->direccion, 2);
  EXPECT_EQ(er[0].uf, 0);
}

TEST(SuperCiclo, CargaDetrasDeUnAlmacenamiento) {
  TMaquinaSuper m;
  // Sin almacenamiento delante, la carga se confirma en el ciclo 11.
  auto sola = compilar("2\nDADDUI R7 R0 #1\nLI R2 8(R0)\n");
  preparar(m, sola.get());
  EXPECT_EQ(cicloDeConfirmacion(m, 1), 11);

  // Misma dirección: espera a que el almacenamiento se confirme (ciclo 7) y lee su valor.
  auto misma = compilar("2\nSI R1 8(R0)\nLI R2 8(R0)\n");
  preparar(m, misma.get());
  m.gpr.valor[1] = 33;
  EXPECT_EQ(cicloDeConfirmacion(m, 1), 12);
  EXPECT_EQ(m.gpr.valor[2], 33);

  // Dirección del almacenamiento aún desconocida (su base sale de un MULTI):
  // la carga espera aunque su dirección sea otra.
  auto desconocida = compilar("3\nMULTI R5 R6 R6\nSI R1 0(R5)\nLI R2 8(R0)\n");
  preparar(m, desconocida.get());
  for (int i = 0; i < 7; ++i) m.ejecutarCiclo();
  const TEntradaER* carga = nullptr;
  for (const auto& e : m.er[tufMemoria])
    if (e.instruccion->codOp == LI) carga = &e;
  ASSERT_NE(carga, nullptr);
  EXPECT_EQ(carga->uf, -1);  // con su dirección lista desde el ciclo 5, sigue sin entrar
  EXPECT_EQ(cicloDeConfirmacion(m, 2), 13);
}

TEST(SuperCiclo, AlmacenamientoEsperaAUnaMultiplicacion) {
  auto c = compilar("2\nMULTI R1 R2 R3\nSI R1 4(R0)\n");
  TMaquinaSuper m;
  preparar(m, c.get());
  m.gpr.valor[2] = 6;
  m.gpr.valor[3] = 7;
  for (int i = 0; i < 5; ++i) m.ejecutarCiclo();
  ASSERT_EQ(m.er[tufMemoria].size(), 1u);
  const TEntradaER& alm = m.er[tufMemoria][0];
  const int32_t tagMult = m.rob.huecoEnOrden(0);
  EXPECT_EQ(alm.qj, tagMult);
  EXPECT_TRUE(m.rob.enOrden(1)->dirCalculada);
  EXPECT_EQ(m.rob.enOrden(1)->dirMem, 4);
  m.ejecutarCiclo();  // 6: la multiplicación difunde su resultado
  ASSERT_EQ(m.er[tufMemoria].size(), 1u);
  EXPECT_EQ(m.er[tufMemoria][0].qj, -1);
  EXPECT_EQ(m.er[tufMemoria][0].vj, 42.0f);
  EXPECT_FALSE(m.rob.enOrden(1)->listo);
  m.ejecutarCiclo();  // 7: escritura del almacenamiento; se confirma la multiplicación
  EXPECT_EQ(m.confirmadasCiclo, std::vector<int32_t>{0});
  EXPECT_TRUE(m.rob.enOrden(0)->listo);
  EXPECT_EQ(m.ejecutarCiclo(), CICLO_COMPLETADO);  // 8
  EXPECT_EQ(m.memoria.datos[4], 42.0f);
}

TEST(SuperCiclo, ProgramaVacioYSinPrograma) {
  TMaquinaSuper m;
  EXPECT_EQ(m.ejecutarCiclo(), CICLO_COMPLETADO);  // sin programa
  EXPECT_EQ(m.ciclo, 1);
  auto vacio = compilar("0\n");
  preparar(m, vacio.get());
  EXPECT_EQ(m.ejecutarCiclo(), CICLO_COMPLETADO);
  EXPECT_EQ(m.ciclo, 1);
}

TEST(SuperCiclo, BreakpointEnLaPrimeraInstruccion) {
  auto c = compilar("2\nDADDUI R1 R0 #1\nDADDUI R2 R0 #2\n");
  c->instrucciones[0].breakpoint = true;
  TMaquinaSuper m;
  preparar(m, c.get());
  EXPECT_EQ(m.ejecutarCiclo(), CICLO_BREAKPOINT);
  EXPECT_EQ(m.ciclo, 1);
  EXPECT_TRUE(m.paradaBreakpoint);
  m.paradaBreakpoint = false;
  EXPECT_EQ(m.ejecutarCiclo(), CICLO_NORMAL);  // ya ha pasado al decodificador
  EXPECT_EQ(ejecutarHastaFin(m), CICLO_COMPLETADO);
  EXPECT_EQ(m.gpr.valor[2], 2);

  // Con el decodificador lleno, la instrucción sigue en prefetch y se vuelve a parar.
  auto larga = compilar("6\nMULTI R1 R0 R0\nMULTI R1 R0 R0\nMULTI R1 R0 R0\n"
                        "MULTI R1 R0 R0\nMULTI R1 R0 R0\nDADDUI R2 R0 #2\n");
  larga->instrucciones[2].breakpoint = true;
  TMaquinaSuper e;
  e.emision = 2;
  preparar(e, larga.get());
  EXPECT_EQ(e.ejecutarCiclo(), CICLO_BREAKPOINT);
  EXPECT_EQ(e.ejecutarCiclo(), CICLO_BREAKPOINT);
  EXPECT_EQ(e.ejecutarCiclo(), CICLO_NORMAL);
}

TEST(SuperCiclo, RenombradoDeAddiQueLeeSuDestino) {
  TMaquinaSuper m;
  // El productor aún no ha escrito: ambos operandos esperan su etiqueta.
  auto enVuelo = compilar("2\nMULTI R1 R2 R3\nADDI R1 R1 R1\n");
  preparar(m, enVuelo.get());
  m.gpr.valor[2] = 3;
  m.gpr.valor[3] = 4;
  for (int i = 0; i < 3; ++i) m.ejecutarCiclo();
  const int32_t tagMult = m.rob.huecoEnOrden(0);
  const int32_t tagAddi = m.rob.huecoEnOrden(1);
  ASSERT_EQ(m.er[tufSumaEntera].size(), 1u);
  EXPECT_EQ(m.er[tufSumaEntera][0].qj, tagMult);
  EXPECT_EQ(m.er[tufSumaEntera][0].qk, tagMult);
  EXPECT_EQ(m.robGPR[1], tagAddi);
  EXPECT_EQ(ejecutarHastaFin(m), CICLO_COMPLETADO);
  EXPECT_EQ(m.gpr.valor[1], 24);

  // El productor ya ha escrito pero no se ha confirmado: toma su valor del ROB.
  auto escrito = compilar("5\nMULTF F1 F2 F3\nDADDUI R1 R0 #5\nDADDUI R7 R0 #0\n"
                          "DADDUI R8 R0 #0\nADDI R1 R1 R1\n");
  m.emision = 2;
  preparar(m, escrito.get());
  for (int i = 0; i < 5; ++i) m.ejecutarCiclo();
  ASSERT_EQ(m.rob.numElementos(), 5);
  EXPECT_TRUE(m.rob.enOrden(1)->listo);
  EXPECT_EQ(m.gpr.valor[1], 0);
  const auto& er = m.er[tufSumaEntera];
  ASSERT_FALSE(er.empty());
  const TEntradaER& addi = er.back();
  EXPECT_EQ(addi.instruccion->direccion, 4);
  EXPECT_EQ(addi.qj, -1);
  EXPECT_EQ(addi.qk, -1);
  EXPECT_EQ(addi.vj, 5.0f);
  EXPECT_EQ(addi.vk, 5.0f);
  EXPECT_EQ(ejecutarHastaFin(m), CICLO_COMPLETADO);
  EXPECT_EQ(m.gpr.valor[1], 10);
}

TEST(SuperCiclo, R0SeReenviaPorElROBPeroQuedaACero) {
  auto c = compilar("2\nDADDUI R0 R0 #5\nDADDUI R2 R0 #1\n");
  TMaquinaSuper m;
  preparar(m, c.get());
  EXPECT_EQ(ejecutarHastaFin(m), CICLO_COMPLETADO);
  EXPECT_EQ(m.gpr.valor[0], 0);
  EXPECT_EQ(m.gpr.valor[2], 6);
}
