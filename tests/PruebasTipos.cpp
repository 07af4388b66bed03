#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "machine/Conversiones.h"
#include "machine/TInstruccion.h"

TEST(Instruccion, TextoSeparaOperandosConUnBlanco) {
  TInstruccion a;
  a.textoCodOp = "DADDUI";
  a.textoOp[0] = "R1";
  a.textoOp[1] = "R1";
  a.textoOp[2] = "#8";
  EXPECT_EQ(a.texto(), "DADDUI R1 R1 #8");

  TInstruccion s;
  s.textoCodOp = "SI";
  s.textoOp[0] = "R3";
  s.textoOp[1] = "8(R1)";
  EXPECT_EQ(s.texto(), "SI R3 8(R1)");
}

TEST(Instruccion, LaCopiaEsIndependienteDelOriginal) {
  TInstruccion a;
  a.textoCodOp = "ADDF";
  a.textoOp[0] = "F1";
  a.etiqueta = "L:";
  a.breakpoint = true;
  a.color = colorRGB(1, 2, 3);
  TInstruccion b;
  b = a;
  a.textoOp[0] = "F9";
  a.etiqueta.clear();
  EXPECT_EQ(b.textoOp[0], "F1");
  EXPECT_EQ(b.etiqueta, "L:");
  EXPECT_TRUE(b.breakpoint);
  EXPECT_EQ(b.color, colorRGB(1, 2, 3));
}

TEST(Instruccion, TipoDeUnidadPorCodigo) {
  EXPECT_EQ(tipoUFDe(NOP), tufSumaEntera);
  EXPECT_EQ(tipoUFDe(ADDI), tufSumaEntera);
  EXPECT_EQ(tipoUFDe(DADDUI), tufSumaEntera);
  EXPECT_EQ(tipoUFDe(MULTI), tufMultEntera);
  EXPECT_EQ(tipoUFDe(ADDF), tufSumaFlotante);
  EXPECT_EQ(tipoUFDe(MULTF), tufMultFlotante);
  for (int c : {SI, SF, LI, LF}) EXPECT_EQ(tipoUFDe(c), tufMemoria);
  EXPECT_EQ(tipoUFDe(BNE), tufSalto);
  EXPECT_EQ(tipoUFDe(BEQ), tufSalto);
  EXPECT_EQ(tipoUFDe(12), tufSumaEntera);
  EXPECT_EQ(tipoUFDe(-1), tufSumaEntera);
  EXPECT_EQ(nombresTipoUF[tufMemoria], "Mem");
  EXPECT_EQ(nombresCodOp[BEQ], "BEQ");
}

// Qué forma de token llena el campo op[c] según la fila: una dirección k(Rb) en
// el operando 1 deja el desplazamiento en op[1] y la base (un registro R) en op[2].
TFormaOperando formaDelCampo(const TDescripcionInstruccion& d, int c) {
  if (d.numOperandos >= 2 && d.formas[1] == formaDireccion) return c == 1 ? formaInmediato : c == 2 ? formaRegR : d.formas[0];
  return c < d.numOperandos ? d.formas[static_cast<size_t>(c)] : formaNinguna;
}

TEST(JuegoInstrucciones, FuentesYDestinoCoincidenConLoQueLeeElCargador) {
  for (int c = ADDI; c < NUM_COD_OP; ++c) {
    const TDescripcionInstruccion& d = descripcionDe(c);
    SCOPED_TRACE(d.mnemonico);
    EXPECT_EQ(nombresCodOp[static_cast<size_t>(c)], d.mnemonico);
    for (int k = 0; k < MAX_OPERANDOS_ESCRITOS; ++k)
      EXPECT_EQ(d.formas[static_cast<size_t>(k)] == formaNinguna, k >= d.numOperandos) << k;
    for (const TOperando& o : {d.fuenteJ, d.fuenteK, d.destino}) {
      if (o.banco == bancoNinguno) continue;
      ASSERT_GE(o.campo, 0);
      ASSERT_LE(o.campo, 2);
      const TFormaOperando esperada =
          o.banco == bancoGPR ? formaRegR : o.banco == bancoFPR ? formaRegF : formaInmediato;
      EXPECT_EQ(formaDelCampo(d, o.campo), esperada) << "campo " << int{o.campo};
    }
    EXPECT_EQ(d.esSalto(), d.formas[2] == formaEtiqueta);
    EXPECT_EQ(d.accedeAMemoria(), d.formas[1] == formaDireccion);
    EXPECT_EQ(d.accedeAMemoria(), d.tipoUF == tufMemoria);
    EXPECT_EQ(d.esSalto(), d.tipoUF == tufSalto);
    EXPECT_EQ(d.campoA >= 0, d.accedeAMemoria() || d.esSalto());
  }
  // NOP y los códigos fuera de rango no leen ni escriben nada.
  for (int c : {int{NOP}, -1, NUM_COD_OP, 1000}) {
    const TDescripcionInstruccion& d = descripcionDe(c);
    EXPECT_FALSE(d.fuenteJ.esRegistro() || d.fuenteK.esRegistro() || d.escribeRegistro()) << c;
    EXPECT_EQ(d.semantica, semNada) << c;
  }
}

TEST(JuegoInstrucciones, SoloLosOnceMnemonicosEscribiblesEnMayusculas) {
  for (int c = ADDI; c < NUM_COD_OP; ++c) {
    const std::string m = nombresCodOp[static_cast<size_t>(c)];
    EXPECT_EQ(codigoDeMnemonico(m.data(), m.size()), c) << m;
  }
  for (const std::string t : {"NOP", "addi", "ADD", "ADDIX", "", "BN"})
    EXPECT_EQ(codigoDeMnemonico(t.data(), t.size()), COD_OP_NINGUNO) << t;
}

TEST(Instruccion, PaletaDeBloquesSeRepiteCadaSeis) {
  EXPECT_EQ(colorDeBloque(0), colorRGB(0, 239, 208));
  EXPECT_EQ(colorDeBloque(6), colorDeBloque(0));
  EXPECT_EQ(colorDeBloque(5), colorRGB(136, 239, 68));
  EXPECT_EQ(colorDeBloque(-1), colorDeBloque(5));
}

TEST(Conversiones, FlotanteAEnteroTruncaYSatura) {
  EXPECT_EQ(flotanteAEntero(-2.7), -2);
  EXPECT_EQ(flotanteAEntero(7.9), 7);
  EXPECT_EQ(flotanteAEntero(std::nan("")), 0);
  EXPECT_EQ(flotanteAEntero(1e20), std::numeric_limits<int32_t>::max());
  EXPECT_EQ(flotanteAEntero(-1e20), std::numeric_limits<int32_t>::min());
  EXPECT_EQ(flotanteAEntero(std::numeric_limits<double>::infinity()), std::numeric_limits<int32_t>::max());
  EXPECT_EQ(flotanteAEntero(-2147483648.0), std::numeric_limits<int32_t>::min());
  EXPECT_EQ(flotanteAEntero(2147483647.0), std::numeric_limits<int32_t>::max());
}

TEST(Conversiones, AritmeticaEnteraDaLaVuelta) {
  EXPECT_EQ(sumaEntera(std::numeric_limits<int32_t>::max(), 1), std::numeric_limits<int32_t>::min());
  EXPECT_EQ(multEntera(65536, 65536), 0);
  EXPECT_EQ(multEntera(-3, 7), -21);
  EXPECT_EQ(direccionEfectiva(std::numeric_limits<int32_t>::max(), 1), 2147483648LL);
}
