#include <gtest/gtest.h>

#include <string>

#include "loader/TCodigo.h"
#include "referencia/TInterpreteReferencia.h"

// El intérprete de referencia es el oráculo de las pruebas diferenciales: aquí
// se fija a mano lo que hace en cada modo allí donde las máquinas difieren.

namespace {

TCodigo cargar(const std::string& fuente) {
  TCodigo c;
  EXPECT_EQ(c.cargarTexto(fuente), CARGA_OK) << c.detalleError;
  return c;
}

}  // namespace

TEST(Referencia, AritmeticaEnteraSegunElModo) {
  // 2^24 + 1 no cabe en simple precisión: la superescalar lo redondea al leerlo.
  const TCodigo c = cargar(
      "5\n"
      "ADDI R3 R1 R2\n"
      "MULTI R4 R1 R1\n"
      "DADDUI R5 R6 #1\n"
      "BEQ R1 R7 IGUALES\n"
      "IGUALES: ADDI R8 R1 R0\n");
  for (const auto modo : {modoSuperescalar, modoVLIW}) {
    TInterpreteReferencia r(modo);
    r.gpr[1] = 16777217;
    r.gpr[2] = 1;
    r.gpr[6] = 2147483647;
    r.gpr[7] = 16777216;
    ASSERT_EQ(r.ejecutar(c, 100), REFERENCIA_TERMINADA);
    EXPECT_EQ(r.ejecutadas, 5);
    if (modo == modoSuperescalar) {
      EXPECT_EQ(r.gpr[3], 16777216);       // 2^24 + 1 en flotante, más 1, redondeado
      EXPECT_EQ(r.gpr[4], 2147483647);     // 2^48 saturado al truncar
      EXPECT_EQ(r.gpr[5], 2147483647);     // 2^31 en flotante, saturado
      EXPECT_EQ(r.gpr[8], 16777216);
      // El producto saturado se reenviaría sin saturar: la primera salida de la zona exacta.
      EXPECT_EQ(r.motivoInexacto.rfind("instrucción 1 (MULTI R4 R1 R1)", 0), 0u) << r.motivoInexacto;
    } else {
      EXPECT_EQ(r.gpr[3], 16777218);
      EXPECT_EQ(r.gpr[4], 33554433);       // (2^24 + 1)^2 mod 2^32
      EXPECT_EQ(r.gpr[5], INT32_MIN);      // desbordamiento circular
      EXPECT_EQ(r.gpr[8], 16777217);
    }
  }
}

TEST(Referencia, MemoriaYRegistroCero) {
  const TCodigo c = cargar(
      "6\n"
      "LI R1 0(R0)\n"
      "SI R1 1(R0)\n"
      "LF F1 0(R0)\n"
      "SF F1 2(R0)\n"
      "DADDUI R0 R0 #5\n"
      "SI R0 3(R0)\n");
  for (const auto modo : {modoSuperescalar, modoVLIW}) {
    TInterpreteReferencia r(modo);
    r.memoria[0] = -2.7f;
    ASSERT_EQ(r.ejecutar(c, 100), REFERENCIA_TERMINADA);
    EXPECT_EQ(r.gpr[1], -2);
    EXPECT_EQ(r.memoria[1], -2.0f);
    EXPECT_EQ(r.fpr[1], -2.7f);
    EXPECT_EQ(r.memoria[2], -2.7f);
    EXPECT_EQ(r.gpr[0], 0);
    EXPECT_EQ(r.memoria[3], 0.0f);
  }
}

// Solo la superescalar necesita la zona exacta; se sale de ella un valor
// reenviado que no coincide con el que se leería tras confirmarlo.
TEST(Referencia, ZonaExactaDeLaSuperescalar) {
  struct TCaso {
    const char* fuente;
    bool exacto;
  };
  const TCaso casos[] = {
      {"1\nLI R1 0(R0)\n", false},       // palabra 0,5: se reenvía sin truncar
      {"1\nLI R1 1(R0)\n", true},        // palabra entera
      {"1\nDADDUI R0 R0 #3\n", false},   // R0 no es especial al reenviar
      {"1\nDADDUI R0 R0 #0\n", true},
      {"1\nMULTI R3 R2 R2\n", true},     // 3 · 3
      {"1\nMULTI R3 R4 R4\n", false},    // no cabe en 32 bits: se confirma saturado
      {"1\nMULTI R3 R5 R6\n", false},    // -3 · 0 = -0,0 se reenvía y se confirma como 0
      {"1\nADDI R3 R7 R7\n", true},      // 2^25: grande, pero el mismo valor por los dos caminos
      {"1\nLF F1 0(R0)\n", true},        // los flotantes no se truncan
  };
  for (const TCaso& k : casos) {
    const TCodigo c = cargar(k.fuente);
    TInterpreteReferencia s(modoSuperescalar), v(modoVLIW);
    for (TInterpreteReferencia* r : {&s, &v}) {
      r->memoria[0] = 0.5f;
      r->memoria[1] = -7.0f;
      r->gpr[2] = 3;
      r->gpr[4] = INT32_MAX;
      r->gpr[5] = -3;
      r->gpr[7] = 16777217;
      EXPECT_EQ(r->ejecutar(c, 10), REFERENCIA_TERMINADA);
    }
    EXPECT_EQ(s.exacto, k.exacto) << k.fuente << s.motivoInexacto;
    EXPECT_TRUE(v.exacto) << k.fuente;
  }
}

TEST(Referencia, AccesoFueraDeLaMemoriaDetieneAntes) {
  const TCodigo c = cargar(
      "4\n"
      "DADDUI R1 R0 #1000\n"
      "SF F1 23(R1)\n"
      "SF F1 24(R1)\n"
      "DADDUI R2 R0 #1\n");
  TInterpreteReferencia r(modoVLIW);
  r.fpr[1] = 4.5f;
  EXPECT_EQ(r.ejecutar(c, 100), REFERENCIA_ERROR);
  EXPECT_EQ(r.instruccionError, 2);
  EXPECT_EQ(r.direccionError, 1024);
  EXPECT_EQ(r.ejecutadas, 2);
  EXPECT_EQ(r.pc, 2);
  EXPECT_EQ(r.memoria[1023], 4.5f);
  EXPECT_EQ(r.gpr[2], 0);
  EXPECT_EQ(r.paso(c), REFERENCIA_ERROR);  // no sigue tras el error
}

TEST(Referencia, SaltosYLimiteDePasos) {
  // Cuenta hasta 3 y se queda en un bucle sin fin.
  const TCodigo c = cargar(
      "5\n"
      "DADDUI R2 R0 #3\n"
      "ARRIBA: DADDUI R1 R1 #1\n"
      "BNE R1 R2 ARRIBA\n"
      "SIEMPRE: SI R1 0(R0)\n"
      "BEQ R0 R0 SIEMPRE\n");
  TInterpreteReferencia r(modoSuperescalar);
  EXPECT_EQ(r.ejecutar(c, 7), REFERENCIA_LIMITE);
  EXPECT_EQ(r.ejecutadas, 7);
  EXPECT_EQ(r.gpr[1], 3);
  EXPECT_EQ(r.pc, 3);
  EXPECT_EQ(r.ejecutar(c, 1000), REFERENCIA_LIMITE);
  EXPECT_EQ(r.memoria[0], 3.0f);

  const TCodigo vacio = cargar("0\n");
  TInterpreteReferencia v(modoVLIW);
  EXPECT_EQ(v.ejecutar(vacio, 10), REFERENCIA_TERMINADA);
  EXPECT_EQ(v.ejecutadas, 0);
}
