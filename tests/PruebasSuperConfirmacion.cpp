#include <gtest/gtest.h>

#include <limits>

#include "AyudaSuper.h"

namespace {

void esperarRenombradoLimpio(const TMaquinaSuper& m) {
  for (int r = 0; r < NUM_REGISTROS; ++r) {
    EXPECT_EQ(m.robGPR[static_cast<size_t>(r)], -1) << "R" << r;
    EXPECT_EQ(m.robFPR[static_cast<size_t>(r)], -1) << "F" << r;
    EXPECT_FALSE(m.gpr.pendiente[static_cast<size_t>(r)]) << "R" << r;
    EXPECT_FALSE(m.fpr.pendiente[static_cast<size_t>(r)]) << "F" << r;
  }
}

}  // namespace

TEST(SuperPrediccion, TablaDeTransiciones) {
  TMaquinaSuper m;
  // {estado, tomado, siguiente}: de 1 con salto se va a 3 y de 2 sin salto a 0.
  const int32_t casos[][3] = {{0, 1, 1}, {0, 0, 0}, {1, 1, 3}, {1, 0, 0}, {2, 1, 3},
                              {2, 0, 0}, {3, 1, 3}, {3, 0, 2}, {-1, 1, 0}, {7, 0, 0}};
  for (const auto& c : casos) {
    m.prediccion[5] = c[0];
    m.actualizarPrediccion(21, c[1] != 0);  // 21 mod 16 = 5
    EXPECT_EQ(m.prediccion[5], c[2]) << "estado " << c[0] << " tomado " << c[1];
  }
  EXPECT_EQ(nombresPrediccion[0], "F(00)");
  EXPECT_EQ(nombresPrediccion[3], "V(11)");
  EXPECT_EQ(nombresEtapa[ETAPA_COMMIT], "COMMIT");
}

TEST(SuperPrediccion, BucleDeTresVueltasConBNE) {
  auto c = compilar(
      "6\n"
      "DADDUI R2 R0 #3\n"
      "DADDUI R1 R0 #0\n"
      "BUCLE: DADDUI R1 R1 #1\n"
      "ADDI R3 R3 R1\n"
      "DADDUI R4 R4 #2\n"
      "BNE R1 R2 BUCLE\n");
  TMaquinaSuper m;
  preparar(m, c.get());
  std::vector<int32_t> estados;
  int8_t r = CICLO_NORMAL;
  for (int i = 0; i < 500 && r == CICLO_NORMAL; ++i) {
    const int64_t fallosAntes = m.estadisticas.fallosPrediccion;
    r = m.ejecutarCiclo();
    for (int32_t d : m.confirmadasCiclo)
      if (d == 5) estados.push_back(m.prediccion[5]);
    if (m.estadisticas.fallosPrediccion != fallosAntes) {
      // Tras el vaciado no queda nada en vuelo ni renombrado; la búsqueda ya ha vuelto a empezar.
      EXPECT_TRUE(m.rob.vacia());
      EXPECT_TRUE(m.decoder.vacia());
      for (const auto& e : m.er) EXPECT_TRUE(e.empty());
      for (const auto& unidades : m.uf)
        for (const auto& u : unidades) EXPECT_EQ(u.ocupadas, 0);
      for (const auto& u : m.aluDir) EXPECT_EQ(u.ocupadas, 0);
      esperarRenombradoLimpio(m);
    }
  }
  EXPECT_EQ(r, CICLO_COMPLETADO);
  EXPECT_EQ(estados, (std::vector<int32_t>{1, 3, 2}));
  EXPECT_EQ(m.estadisticas.saltosConfirmados, 3);
  EXPECT_EQ(m.estadisticas.fallosPrediccion, 3);
  EXPECT_EQ(m.estadisticas.instruccionesConfirmadas, 2 + 3 * 4);
  EXPECT_EQ(m.gpr.valor[3], 6);
  EXPECT_EQ(m.gpr.valor[4], 6);
  esperarVacia(m);
}

TEST(SuperPrediccion, DosSaltosCompartenEntrada) {
  // Los saltos de las instrucciones 3 y 19 usan la entrada 3. El segundo se
  // compara con el estado que dejó el primero: 1 predice «no tomado», así que
  // falla otra vez y la entrada pasa a 3.
  std::string fuente = "21\n";
  for (int i = 0; i < 3; ++i) fuente += "DADDUI R1 R1 #1\n";
  fuente += "BEQ R0 R0 A\n";
  for (int i = 4; i < 19; ++i) fuente += (i == 4 ? "A: " : "") + std::string("DADDUI R2 R2 #1\n");
  fuente += "BEQ R0 R0 B\nB: DADDUI R3 R0 #7\n";
  auto c = compilar(fuente);
  TMaquinaSuper m;
  preparar(m, c.get());
  std::vector<int32_t> estados;
  for (int i = 0; i < 500; ++i) {
    const int8_t r = m.ejecutarCiclo();
    for (int32_t d : m.confirmadasCiclo)
      if (d == 3 || d == 19) estados.push_back(m.prediccion[3]);
    if (r != CICLO_NORMAL) break;
  }
  EXPECT_EQ(estados, (std::vector<int32_t>{1, 3}));
  EXPECT_EQ(m.estadisticas.fallosPrediccion, 2);
  EXPECT_EQ(m.gpr.valor[2], 15);
  EXPECT_EQ(m.gpr.valor[3], 7);
}

TEST(SuperPrediccion, SaltoAUnBloqueInexistenteDetieneLaBusqueda) {
  auto c = compilar("3\nBEQ R0 R0 FIN\nDADDUI R1 R0 #1\nFIN: DADDUI R2 R0 #2\n");
  c->instrucciones[0].op[2] = 99;
  TMaquinaSuper m;
  preparar(m, c.get());
  EXPECT_EQ(ejecutarHastaFin(m), CICLO_COMPLETADO);
  EXPECT_EQ(m.pc, std::numeric_limits<uint32_t>::max());
  EXPECT_EQ(m.gpr.valor[1], 0);
  EXPECT_EQ(m.gpr.valor[2], 0);
}

TEST(SuperConfirmacion, ConversionAEnteroAlConfirmar) {
  auto c = compilar(
      "6\nLI R1 0(R0)\nLI R2 1(R0)\nMULTI R3 R5 R5\nMULTI R4 R5 R6\nLI R7 2(R0)\n"
      "LI R8 3(R0)\n");
  TMaquinaSuper m;
  preparar(m, c.get());
  m.memoria.datos[0] = -2.7f;
  m.memoria.datos[1] = 7.9f;
  m.memoria.datos[2] = std::numeric_limits<float>::quiet_NaN();
  m.memoria.datos[3] = -1e20f;
  m.gpr.valor[5] = 100000;
  m.gpr.valor[6] = -100000;
  EXPECT_EQ(ejecutarHastaFin(m), CICLO_COMPLETADO);
  EXPECT_EQ(m.gpr.valor[1], -2);
  EXPECT_EQ(m.gpr.valor[2], 7);
  EXPECT_EQ(m.gpr.valor[3], std::numeric_limits<int32_t>::max());
  EXPECT_EQ(m.gpr.valor[4], std::numeric_limits<int32_t>::min());
  EXPECT_EQ(m.gpr.valor[7], 0);
  EXPECT_EQ(m.gpr.valor[8], std::numeric_limits<int32_t>::min());
}

TEST(SuperConfirmacion, LiDeUnValorReenviadoSinTruncar) {
  // Dentro de la máquina viaja 2,7; solo el registro recibe 2.
  auto c = compilar("2\nLI R1 0(R0)\nADDI R2 R1 R1\n");
  TMaquinaSuper m;
  preparar(m, c.get());
  m.memoria.datos[0] = 2.7f;
  EXPECT_EQ(ejecutarHastaFin(m), CICLO_COMPLETADO);
  EXPECT_EQ(m.gpr.valor[1], 2);
  EXPECT_EQ(m.gpr.valor[2], 5);
}

TEST(SuperConfirmacion, DireccionFueraDeRangoDetieneAlConfirmar) {
  auto c = compilar("5\nDADDUI R1 R0 #1\nDADDUI R2 R0 #2\nDADDUI R3 R0 #3\n"
                    "DADDUI R4 R0 #4\nLF F0 1030(R0)\n");
  TMaquinaSuper m;
  preparar(m, c.get());
  m.fpr.valor[0] = 1.25f;
  m.memoria.porcentajeFallos = 100;
  const int8_t r = ejecutarHastaFin(m);
  EXPECT_EQ(r, CICLO_ERROR);
  EXPECT_EQ(m.mensajeError,
            "Dirección de memoria fuera de rango (1030) en la instrucción 4: LF F0 1030(R0)");
  EXPECT_EQ(m.estadisticas.instruccionesConfirmadas, 4);
  EXPECT_EQ(m.estadisticas.fallosCache, 0);  // ni siquiera se probó la caché
  EXPECT_EQ(m.fpr.valor[0], 1.25f);
  EXPECT_EQ(m.gpr.valor[4], 4);
  const int32_t ciclo = m.ciclo;
  EXPECT_EQ(m.ejecutarCiclo(), CICLO_ERROR);
  EXPECT_EQ(m.ejecutarCiclo(), CICLO_ERROR);
  EXPECT_EQ(m.ciclo, ciclo);  // detenida: nada avanza
  EXPECT_FALSE(m.rob.vacia());

  m.reset(false);
  EXPECT_TRUE(m.mensajeError.empty());
  EXPECT_TRUE(m.rob.vacia());
  EXPECT_EQ(m.ejecutarCiclo(), CICLO_NORMAL);
}

TEST(SuperConfirmacion, BaseNegativaNoSeConfundeConDireccionPendiente) {
  TMaquinaSuper m;
  for (const char* fuente : {"1\nLI R2 0(R1)\n", "1\nSI R2 0(R1)\n"}) {
    auto c = compilar(fuente);
    m.codigo = c.get();
    m.reset(true);
    m.gpr.valor[1] = -1;
    EXPECT_EQ(ejecutarHastaFin(m, 200), CICLO_ERROR) << fuente;
    EXPECT_NE(m.mensajeError.find("(-1) en la instrucción 0"), std::string::npos) << m.mensajeError;
    EXPECT_TRUE(m.rob.enOrden(0)->dirCalculada);
  }
}

TEST(SuperConfirmacion, ElCaminoMalPredichoNoDejaRastro) {
  // El BEQ depende de una cadena de multiplicaciones y se confirma tarde; mientras,
  // el camino no tomado (predicho) carga de una dirección fuera de rango,
  // escribe memoria y registros y falla en caché, todo especulativamente.
  auto c = compilar(
      "11\n"
      "MULTI R1 R0 R0\nMULTI R1 R1 R1\nMULTI R1 R1 R1\nMULTI R1 R1 R1\n"
      "BEQ R1 R0 FIN\n"
      "LF F1 1030(R0)\n"
      "LF F2 8(R0)\n"
      "SI R9 9(R0)\n"
      "DADDUI R5 R0 #77\n"
      "ADDF F3 F1 F1\n"
      "FIN: DADDUI R6 R0 #1\n");
  TMaquinaSuper m;
  preparar(m, c.get());
  m.memoria.porcentajeFallos = 100;
  m.gpr.valor[9] = 4;
  m.fpr.valor[1] = 3.5f;
  bool cargaEspeculativa = false;
  int8_t r = CICLO_NORMAL;
  for (int i = 0; i < 200 && r == CICLO_NORMAL; ++i) {
    r = m.ejecutarCiclo();
    for (auto* e : vivas(m.rob))
      if (e->instruccion->direccion == 5 && e->listo) {
        cargaEspeculativa = true;
        EXPECT_EQ(e->valor, 0.0f);
        EXPECT_EQ(e->dirMem, 1030);
      }
  }
  EXPECT_EQ(r, CICLO_COMPLETADO);
  EXPECT_TRUE(cargaEspeculativa);
  EXPECT_EQ(m.estadisticas.fallosPrediccion, 1);
  EXPECT_EQ(m.fpr.valor[1], 3.5f);
  EXPECT_EQ(m.fpr.valor[2], 0.0f);
  EXPECT_EQ(m.fpr.valor[3], 0.0f);
  EXPECT_EQ(m.memoria.datos[9], 0.0f);
  EXPECT_EQ(m.gpr.valor[5], 0);
  EXPECT_EQ(m.gpr.valor[6], 1);
  EXPECT_TRUE(m.mensajeError.empty());
  // La palabra 8 falló y su carga se descartó: conserva la marca, como indica el modelo de caché.
  EXPECT_TRUE(m.memoria.fallo[8]);
  esperarVacia(m);
}
