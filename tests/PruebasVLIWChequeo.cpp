#include <gtest/gtest.h>

#include "AyudaVLIW.h"

using ayuda::construir;
using ayuda::secuencial;

namespace {

// Latencias por defecto: +Entera 1, xEntera 2, +Flotante 4, xFlotante 6, Mem 4, Salto 2.
const char* const PROGRAMA =
    "11\n"
    "ADDI R1 R2 R3\n"    // 0 escribe R1
    "ADDI R4 R1 R1\n"    // 1 lee R1
    "MULTF F2 F0 F1\n"   // 2 escribe F2
    "ADDF F3 F2 F2\n"    // 3 lee F2
    "LI R3 0(R0)\n"      // 4 escribe R3
    "DADDUI R5 R3 #1\n"  // 5 lee R3
    "BEQ R1 R2 X\n"      // 6
    "X: ADDI R6 R7 R7\n" // 7
    "MULTF F5 F6 F6\n"   // 8
    "DADDUI R1 R0 #1\n"  // 9 escribe R1
    "ADDF F2 F7 F7\n";   // 10 escribe F2

class Chequeo : public ::testing::Test {
protected:
  TCodigo s = secuencial(PROGRAMA);
  TMaquinaVLIW m;
  int32_t larga = -1;
  int32_t operacion = -1;

  int32_t dependencias(const std::vector<ayuda::TLarga>& programa) {
    construir(m.codigo, s, programa);
    larga = operacion = -1;
    return m.comprobarDependencias(larga, operacion);
  }
  int32_t predicados(const std::vector<ayuda::TLarga>& programa) {
    construir(m.codigo, s, programa);
    larga = operacion = -1;
    return m.comprobarPredicados(larga, operacion);
  }
};

}  // namespace

TEST_F(Chequeo, DependenciaDentroDeUnaInstruccionLarga) {
  EXPECT_EQ(dependencias({{{0}, {1, 1}}}), CHEQUEO_DEPENDENCIA);
  EXPECT_EQ(larga, 0);
  EXPECT_EQ(operacion, 1);
  EXPECT_EQ(dependencias({{{0}}, {{1}}}), CHEQUEO_OK);
  // Quien va antes en el programa secuencial quiere el valor antiguo.
  EXPECT_EQ(dependencias({{{1}, {9, 1}}}), CHEQUEO_OK);
}

TEST_F(Chequeo, DependenciaSegunLaLatenciaDelProductor) {
  std::vector<ayuda::TLarga> p(7);
  p[0] = {{2}};
  p[5] = {{3}};
  EXPECT_EQ(dependencias(p), CHEQUEO_DEPENDENCIA);
  EXPECT_EQ(larga, 5);
  EXPECT_EQ(operacion, 3);
  std::swap(p[5], p[6]);
  EXPECT_EQ(dependencias(p), CHEQUEO_OK);

  // Las cargas cuentan con la latencia de memoria, no con la de fallo.
  std::vector<ayuda::TLarga> q(5);
  q[0] = {{4}};
  q[3] = {{5}};
  EXPECT_EQ(dependencias(q), CHEQUEO_DEPENDENCIA);
  EXPECT_EQ(larga, 3);
  EXPECT_EQ(operacion, 5);
  std::swap(q[3], q[4]);
  EXPECT_EQ(dependencias(q), CHEQUEO_OK);
}

TEST_F(Chequeo, MandaElEscritorQueTardaMas) {
  // MULTF (6) escribe F2 y después ADDF (4) también: el lector debe esperar al MULTF.
  std::vector<ayuda::TLarga> p(6);
  p[0] = {{2}};
  p[1] = {{10}};
  p[5] = {{3}};
  EXPECT_EQ(dependencias(p), CHEQUEO_DEPENDENCIA);
  EXPECT_EQ(larga, 5);
}

TEST_F(Chequeo, PredicadosYSombraDelSalto) {
  const ayuda::TOp salto{6, 0, 0, 3, 1, 2};
  EXPECT_EQ(predicados({{salto, {7, 0, 1}}}), CHEQUEO_SALTO_NO_RESUELTO);
  EXPECT_EQ(larga, 0);
  EXPECT_EQ(operacion, 7);
  EXPECT_EQ(predicados({{salto}, {{7, 0, 1}}}), CHEQUEO_OK);
  EXPECT_EQ(predicados({{salto}, {}, {{7, 0, 1}}}), CHEQUEO_PREDICADO);
  EXPECT_EQ(larga, 2);
  EXPECT_EQ(operacion, 7);
  // MULTF tarda 6: sale después de resolverse el salto aunque vaya con él.
  EXPECT_EQ(predicados({{salto, {8, 0, 2}}}), CHEQUEO_OK);
  EXPECT_EQ(predicados({{{7, 0, 5}}}), CHEQUEO_PREDICADO);
  // Un salto guardado se comprueba como cualquier operación.
  EXPECT_EQ(predicados({{salto}, {{6, 0, 2, 0, 3, 4}}}), CHEQUEO_OK);
}

TEST_F(Chequeo, SoloSeInformaDeLaDependencia) {
  std::vector<ayuda::TLarga> p(4);
  p[0] = {{0}, {7, 0, 9}};  // predicado no válido en la instrucción larga 0
  p[1] = {{4}};
  p[3] = {{5}};  // dependencia en la 3
  construir(m.codigo, s, p);
  EXPECT_EQ(m.comprobarCodigo(larga, operacion), CHEQUEO_DEPENDENCIA);
  EXPECT_EQ(larga, 3);
  EXPECT_EQ(operacion, 5);
  p[3].clear();
  construir(m.codigo, s, p);
  EXPECT_EQ(m.comprobarCodigo(larga, operacion), CHEQUEO_PREDICADO);
  EXPECT_EQ(larga, 0);
}

TEST_F(Chequeo, ConfiguracionSegunLasUnidadesQueTendraLaMaquina) {
  construir(m.codigo, s, {{{0, 1}, {4, 1}}});
  EXPECT_EQ(m.comprobarConfiguracion(), CHEQUEO_OK);
  construir(m.codigo, s, {{{4, 2}}});
  EXPECT_EQ(m.comprobarConfiguracion(), CHEQUEO_CONFIGURACION);
  // Siempre hay una sola unidad de salto, diga lo que diga numUF.
  m.numUF[tufSalto] = 3;
  construir(m.codigo, s, {{{6, 1, 0, 0, 1, 2}}});
  EXPECT_EQ(m.comprobarConfiguracion(), CHEQUEO_CONFIGURACION);
  m.numUF[tufSumaEntera] = 50;
  construir(m.codigo, s, {{{0, 12}}});
  EXPECT_EQ(m.comprobarConfiguracion(), CHEQUEO_CONFIGURACION);
}

TEST_F(Chequeo, ProgramaVacioPasaTodo) {
  m.codigo.borrar();
  EXPECT_EQ(m.comprobarConfiguracion(), CHEQUEO_OK);
  EXPECT_EQ(m.comprobarCodigo(larga, operacion), CHEQUEO_OK);
  construir(m.codigo, s, {{}, {}});
  EXPECT_EQ(m.comprobarCodigo(larga, operacion), CHEQUEO_OK);
}

TEST(ChequeoMensajes, TextosExactos) {
  EXPECT_EQ(TMaquinaVLIW::mensajeChequeo(CHEQUEO_DEPENDENCIA, 5, 3),
            "Dependencia verdadera en la operación 3 de la instrucción larga 5");
  EXPECT_EQ(TMaquinaVLIW::mensajeChequeo(CHEQUEO_SALTO_NO_RESUELTO, 0, 12),
            "Operación 12 de la instrucción larga 0 depende de un salto anterior no resuelto");
  EXPECT_EQ(TMaquinaVLIW::mensajeChequeo(CHEQUEO_PREDICADO, 2, 7),
            "Registro de predicado no válido en la operación 7 de la instrucción larga 2");
  EXPECT_EQ(TMaquinaVLIW::mensajeChequeo(CHEQUEO_CONFIGURACION, 0, 0),
            "La configuración actual de la máquina no permite ejecutar ese código");
  EXPECT_EQ(TMaquinaVLIW::mensajeChequeo(CHEQUEO_OK, 1, 1), "");
  EXPECT_STREQ(TMaquinaVLIW::MENSAJE_ERROR_CARGA, "Error al cargar el código VLIW");
}
