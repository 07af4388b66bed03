#include <gtest/gtest.h>

#include <string>

#include "loader/TCodigo.h"

namespace {

struct Carga {
  TCodigo codigo;
  int32_t resultado;
  explicit Carga(const std::string& texto) : resultado(codigo.cargarTexto(texto)) {}
};

}  // namespace

TEST(Cargador, ProgramaCompletoConBucle) {
  Carga c("5\nLOOP: LF F0 0(R1)\nADDF F4 F0 F2 // suma\nSF F4 0(R1)\nDADDUI R1 R1 #1\nBNE R1 R2 LOOP\n");
  ASSERT_EQ(c.resultado, 0) << c.codigo.detalleError;
  const TCodigo& p = c.codigo;
  ASSERT_EQ(p.numInstrucciones, 5);
  EXPECT_EQ(p.numBloques, 1);
  const TInstruccion& lf = p.instrucciones[0];
  EXPECT_EQ(lf.codOp, LF);
  EXPECT_EQ(lf.etiqueta, "LOOP:");
  EXPECT_EQ(lf.op[0], 0);
  EXPECT_EQ(lf.op[1], 0);
  EXPECT_EQ(lf.op[2], 1);
  EXPECT_EQ(lf.textoOp[1], "0(R1)");
  EXPECT_EQ(lf.textoOp[2], "");
  EXPECT_EQ(p.instrucciones[3].op[2], 1);
  EXPECT_EQ(p.instrucciones[3].textoOp[2], "#1");
  const TInstruccion& bne = p.instrucciones[4];
  EXPECT_EQ(bne.op[2], 0);
  EXPECT_EQ(bne.textoOp[2], "LOOP");
  EXPECT_EQ(bne.texto(), "BNE R1 R2 LOOP");
  for (int i = 0; i < 5; ++i) EXPECT_EQ(p.instrucciones[static_cast<size_t>(i)].direccion, i);
  EXPECT_EQ(p.tipoUF(0), tufMemoria);
  EXPECT_EQ(p.tipoUF(4), tufSalto);
  EXPECT_EQ(p.primeraDeBloque(0), 0);
  EXPECT_EQ(p.primeraDeBloque(1), -1);
}

TEST(Cargador, ComasYMinusculasEnRegistrosYDirecciones) {
  Carga a("2\nADDF F4, F0, F2\nLI r1 16(r3)\n");
  ASSERT_EQ(a.resultado, 0);
  EXPECT_EQ(a.codigo.instrucciones[0].texto(), "ADDF F4 F0 F2");
  EXPECT_EQ(a.codigo.instrucciones[1].op[1], 16);
  EXPECT_EQ(a.codigo.instrucciones[1].op[2], 3);
  Carga b("1\nSF F1 (R2)");
  ASSERT_EQ(b.resultado, 0);
  EXPECT_EQ(b.codigo.instrucciones[0].op[1], 0);
  EXPECT_EQ(b.codigo.instrucciones[0].textoOp[1], "(R2)");
  Carga c("1\nADDI R12 R03 R0");
  EXPECT_EQ(c.codigo.instrucciones[0].op[1], 3);
}

TEST(Cargador, BloquesBasicos) {
  Carga c("3\nBEQ R1 R2 FIN\nADDI R1 R1 R2\nFIN: ADDI R2 R2 R2\n");
  ASSERT_EQ(c.resultado, 0);
  EXPECT_EQ(c.codigo.numBloques, 3);
  EXPECT_EQ(c.codigo.instrucciones[0].op[2], 2);
  EXPECT_EQ(c.codigo.instrucciones[1].bloque, 1);
  EXPECT_EQ(c.codigo.instrucciones[2].bloque, 2);
  EXPECT_EQ(c.codigo.primeraDeBloque(2), 2);
  EXPECT_EQ(c.codigo.primeraDeBloque(3), -1);
  EXPECT_EQ(c.codigo.primeraDeBloque(-1), -1);

  // Una etiqueta justo tras un salto abre un solo bloque; una etiqueta sin uso también abre bloque.
  Carga d("4\nA: ADDI R1 R1 R1\nBNE R1 R2 a\nB: ADDI R1 R1 R1\nC: ADDI R1 R1 R1\n");
  ASSERT_EQ(d.resultado, 0);
  EXPECT_EQ(d.codigo.numBloques, 3);
  EXPECT_EQ(d.codigo.instrucciones[1].op[2], 0);  // "a" alcanza "A:"
  EXPECT_EQ(d.codigo.instrucciones[3].bloque, 2);
}

TEST(Cargador, SaltosHaciaDelanteEnOrdenInverso) {
  Carga c("4\nBNE R1 R2 ZETA\nBNE R1 R2 ALFA\nALFA: ADDI R1 R1 R1\nZETA: ADDI R1 R1 R1\n");
  ASSERT_EQ(c.resultado, 0);
  EXPECT_EQ(c.codigo.instrucciones[0].op[2], 3);
  EXPECT_EQ(c.codigo.instrucciones[1].op[2], 2);
  EXPECT_EQ(c.codigo.primeraDeBloque(3), 3);
}

TEST(Cargador, EtiquetaConNombreDeMnemonico) {
  Carga c("2\nADDI: ADDI R1 R1 R1\nBEQ R1 R2 ADDI\n");
  ASSERT_EQ(c.resultado, 0);
  EXPECT_EQ(c.codigo.instrucciones[1].op[2], 0);
}

TEST(Cargador, CuentaCeroYCuentaMenorQueElFichero) {
  Carga vacio("0\n");
  ASSERT_EQ(vacio.resultado, 0);
  EXPECT_EQ(vacio.codigo.numInstrucciones, 0);
  EXPECT_EQ(vacio.codigo.numBloques, 0);
  Carga corto("1\nADDI R1 R2 R3\nesto no se lee ### (((\n");
  ASSERT_EQ(corto.resultado, 0);
  EXPECT_EQ(corto.codigo.numInstrucciones, 1);
  Carga precedido("// cabecera\n\n2\nADDI R1 R2 R3 ADDI R1 R2 R3");
  EXPECT_EQ(precedido.resultado, 0);
}

TEST(Cargador, FicheroQueNoSeAbre) {
  TCodigo c;
  EXPECT_EQ(c.cargar("/no/existe/prog.pla"), -1);
}

// Cada fichero erróneo da -2 con la línea y el motivo.
struct CasoErroneo {
  const char* texto;
  const char* detalle;
};

class CargadorErrores : public ::testing::TestWithParam<CasoErroneo> {};

TEST_P(CargadorErrores, DevuelveMenosDosConDetalle) {
  Carga c(GetParam().texto);
  EXPECT_EQ(c.resultado, -2);
  EXPECT_EQ(c.codigo.detalleError, GetParam().detalle);
  EXPECT_EQ(c.codigo.numInstrucciones, 0);
  EXPECT_TRUE(c.codigo.instrucciones.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Casos, CargadorErrores,
    ::testing::Values(
        CasoErroneo{"", "línea 1: falta el número de instrucciones"},
        CasoErroneo{"  2\nADDI R1 R2 R3", "línea 2: falta el número de instrucciones"},
        CasoErroneo{"ADDI R1 R2 R3", "línea 1: falta el número de instrucciones"},
        CasoErroneo{"3\nADDI R1 R2 R3\n", "línea 2: faltan instrucciones: se esperaban 3 y el fichero termina tras 1"},
        CasoErroneo{"2000000000", "línea 1: faltan instrucciones: se esperaban 2000000000 y el fichero termina tras 0"},
        CasoErroneo{"1\nadd R1 R2 R3", "línea 2: código de operación desconocido: add"},
        CasoErroneo{"1\naddi R1 R2 R3", "línea 2: código de operación desconocido: addi"},
        CasoErroneo{"1\nNOP", "línea 2: código de operación desconocido: NOP"},
        CasoErroneo{"1\nA: B: ADDI R1 R2 R3", "línea 2: se esperaba un código de operación y se encontró B:"},
        CasoErroneo{"1\n\nADDF F1 R2 F3", "línea 3: se esperaba un registro F y se encontró R2"},
        CasoErroneo{"1\nDADDUI R1 R1 5", "línea 2: se esperaba un inmediato (#n) y el fichero termina"},
        CasoErroneo{"1\nLI R1 R2", "línea 2: se esperaba una dirección desplazamiento(Rn) y se encontró R2"},
        CasoErroneo{"1\nBNE R1 R2 R3\nR3: ADDI R1 R1 R1", "línea 2: se esperaba el nombre de una etiqueta y se encontró R3"},
        CasoErroneo{"2\nL: ADDI R1 R1 R1\nl: ADDI R1 R1 R1", "línea 3: etiqueta repetida: l:"},
        CasoErroneo{"2\nADDI R1 R1 R1\nBNE R1 R2 FIN", "línea 3: el salto nombra una etiqueta que no existe: FIN"},
        CasoErroneo{"1\nADDI R64 R1 R1", "línea 2: registro fuera de rango: R64"},
        CasoErroneo{"1\nLF F1 4(R99)", "línea 2: registro fuera de rango: R99"},
        CasoErroneo{"1\nMULTF F1 F2 f64", "línea 2: registro fuera de rango: F64"},
        CasoErroneo{"99999999999\nADDI R1 R1 R1", "línea 1: número demasiado grande: 99999999999"},
        CasoErroneo{"1\nDADDUI R1 R1 #2147483648", "línea 2: número demasiado grande: #2147483648"},
        CasoErroneo{"1\nSI R1 4294967296(R1)", "línea 2: número demasiado grande: 4294967296(R1)"},
        CasoErroneo{"1\nADDI R99999999999 R1 R1", "línea 2: número demasiado grande: R99999999999"}));

TEST(Cargador, LimitesQueSiCaben) {
  Carga c("2\nDADDUI R63 R0 #2147483647\nSF F63 2147483647(R63)");
  ASSERT_EQ(c.resultado, 0) << c.codigo.detalleError;
  EXPECT_EQ(c.codigo.instrucciones[0].op[2], 2147483647);
  EXPECT_EQ(c.codigo.instrucciones[1].op[1], 2147483647);
}

// El token de cada clase de error, para subrayarlo en el editor: línea,
// columna en bytes desde 1 y longitud (0 cuando el texto se acaba antes).
struct PosicionError {
  const char* texto;
  int32_t linea, columna, longitud;
};

class CargadorPosicionError : public ::testing::TestWithParam<PosicionError> {};

TEST_P(CargadorPosicionError, SenalaElTokenDelError) {
  Carga c(GetParam().texto);
  ASSERT_EQ(c.resultado, -2);
  EXPECT_EQ(c.codigo.lineaError, GetParam().linea) << c.codigo.detalleError;
  EXPECT_EQ(c.codigo.columnaError, GetParam().columna) << c.codigo.detalleError;
  EXPECT_EQ(c.codigo.longitudError, GetParam().longitud) << c.codigo.detalleError;
  EXPECT_TRUE(c.codigo.lineas.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Casos, CargadorPosicionError,
    ::testing::Values(PosicionError{"", 1, 1, 0},                                   // sin número
                      PosicionError{"  2\nADDI R1 R2 R3", 2, 1, 4},                 // el primer token no es el número
                      PosicionError{"99999999999\nADDI R1 R1 R1", 1, 1, 11},        // número que no cabe
                      PosicionError{"3\nADDI R1 R2 R3\n", 2, 14, 0},                // faltan instrucciones
                      PosicionError{"1\nadd R1 R2 R3", 2, 1, 3},                    // mnemónico desconocido
                      PosicionError{"1\nA: B: ADDI R1 R2 R3", 2, 4, 2},             // segunda etiqueta
                      PosicionError{"1\n\nADDF F1 R2 F3", 3, 9, 2},                 // registro del otro banco
                      PosicionError{"1\nDADDUI R1 R1 5", 2, 13, 0},                 // falta el último operando
                      PosicionError{"1\nLI R1 R2", 2, 7, 2},                        // registro por dirección
                      PosicionError{"1\nBNE R1 R2 R3\nR3: ADDI R1 R1 R1", 2, 11, 2},  // registro por etiqueta
                      PosicionError{"2\nL: ADDI R1 R1 R1\nl: ADDI R1 R1 R1", 3, 1, 2},  // etiqueta repetida
                      PosicionError{"2\nADDI R1 R1 R1\nBNE R1 R2 FIN", 3, 11, 3},     // etiqueta que no existe
                      PosicionError{"1\nADDI R64 R1 R1", 2, 6, 3},                  // registro fuera de rango
                      PosicionError{"1\nLF F1 4(R99)", 2, 7, 6},                    // base fuera de rango
                      PosicionError{"1\nSI R1 4294967296(R1)", 2, 7, 14},           // desplazamiento que no cabe
                      PosicionError{"1\n\xC3\x91 ADDF F1 R2 F3", 2, 12, 2}));       // columnas en bytes, no en letras

TEST(Cargador, LineaDondeEmpiezaCadaInstruccion) {
  Carga c("// cabecera\n3\nA: ADDI R1 R1 R1\n\n  ADDI R2 R2 R2 ADDI R3\n R3 R3\n");
  ASSERT_EQ(c.resultado, 0) << c.codigo.detalleError;
  EXPECT_EQ(c.codigo.lineas, (std::vector<int32_t>{3, 5, 5}));
  EXPECT_EQ(c.codigo.columnaError, 0);
  EXPECT_EQ(c.codigo.longitudError, 0);
}
