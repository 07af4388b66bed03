#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "loader/TScanner.h"

namespace {

using Tokens = std::vector<std::pair<TToken, std::string>>;

Tokens escanear(const std::string& texto) {
  TScanner s;
  s.abrirTexto(texto);
  Tokens r;
  for (TLexema l = s.siguiente(); l.token != tokFin; l = s.siguiente()) r.emplace_back(l.token, l.texto);
  return r;
}

}  // namespace

TEST(Scanner, ComasYBlancosDesaparecen) {
  EXPECT_EQ(escanear("ADDI R1,R2,R3"),
            (Tokens{{tokIdent, "ADDI"}, {tokRegR, "R1"}, {tokRegR, "R2"}, {tokRegR, "R3"}}));
  EXPECT_EQ(escanear("ADDF\tf1 ;F2 , F3"),
            (Tokens{{tokIdent, "ADDF"}, {tokRegF, "f1"}, {tokRegF, "F2"}, {tokRegF, "F3"}}));
}

TEST(Scanner, SignosYNumerosEnMitadDeLineaSeDescartan) {
  EXPECT_TRUE(escanear("#-3").empty());
  EXPECT_TRUE(escanear("-5").empty());
  EXPECT_EQ(escanear("##5"), (Tokens{{tokInmediato, "#5"}}));
  EXPECT_EQ(escanear("#5#6"), (Tokens{{tokInmediato, "#5"}, {tokInmediato, "#6"}}));
}

TEST(Scanner, RegistrosIdentificadoresYEtiquetas) {
  EXPECT_EQ(escanear("F12 F12x R3: F7: LOOP : x _x9 R1x"),
            (Tokens{{tokRegF, "F12"},
                    {tokIdent, "F12x"},
                    {tokEtiqueta, "R3:"},
                    {tokEtiqueta, "F7:"},
                    {tokIdent, "LOOP"},
                    {tokIdent, "x"},
                    {tokIdent, "_x9"},
                    {tokIdent, "R1x"}}));
}

TEST(Scanner, NumerosSoloAlPrincipioDeLinea) {
  EXPECT_EQ(escanear("5\n7 8"), (Tokens{{tokNumero, "5"}, {tokNumero, "7"}}));
  EXPECT_TRUE(escanear("  5").empty());
  EXPECT_EQ(escanear("// comentario\n12"), (Tokens{{tokNumero, "12"}}));
  // El retorno de carro es un carácter más: CR LF sigue acabando la línea,
  // pero un CR al principio de la línea impide el número.
  EXPECT_EQ(escanear("3\r\n4"), (Tokens{{tokNumero, "3"}, {tokNumero, "4"}}));
  EXPECT_EQ(escanear("3\n\r4"), (Tokens{{tokNumero, "3"}}));
}

TEST(Scanner, DireccionesYRetrocesoTrasCoincidenciaFallida) {
  EXPECT_EQ(escanear("10(R1)"), (Tokens{{tokDireccion, "10(R1)"}}));
  EXPECT_EQ(escanear("x 16(R2) (r5)"),
            (Tokens{{tokIdent, "x"}, {tokDireccion, "16(R2)"}, {tokDireccion, "(r5)"}}));
  EXPECT_EQ(escanear("5(R1"), (Tokens{{tokNumero, "5"}, {tokRegR, "R1"}}));
  EXPECT_EQ(escanear("x 12(R 1)"), (Tokens{{tokIdent, "x"}, {tokIdent, "R"}}));
}

TEST(Scanner, ComentariosYCaracteresNoAscii) {
  EXPECT_EQ(escanear("A/B/C // comentario\nB"),
            (Tokens{{tokIdent, "A"}, {tokIdent, "B"}, {tokIdent, "C"}, {tokIdent, "B"}}));
  EXPECT_EQ(escanear("\xC3\x91" "ame"), (Tokens{{tokIdent, "ame"}}));
}

TEST(Scanner, FicheroVacioYFinRepetido) {
  TScanner s;
  s.abrirTexto("");
  EXPECT_EQ(s.siguiente().token, tokFin);
  EXPECT_EQ(s.siguiente().token, tokFin);
}

TEST(Scanner, CuentaLineas) {
  TScanner s;
  s.abrirTexto("1\n\n// x\nADDI");
  EXPECT_EQ(s.siguiente().linea, 1);
  const TLexema l = s.siguiente();
  EXPECT_EQ(l.texto, "ADDI");
  EXPECT_EQ(l.linea, 4);
}

TEST(Scanner, CuentaColumnasEnBytes) {
  TScanner s;
  s.abrirTexto("5\n  LOOP: LF F0, 16(R1) // x\n\xC3\x91#3");
  const std::vector<std::pair<int, int>> esperadas = {{1, 1}, {2, 3}, {2, 9}, {2, 12}, {2, 16}, {3, 3}};
  for (const auto& [linea, columna] : esperadas) {
    const TLexema l = s.siguiente();
    EXPECT_EQ(l.linea, linea) << l.texto;
    EXPECT_EQ(l.columna, columna) << l.texto;
  }
  // El fin de fichero se sitúa justo detrás del último token, en su línea.
  const TLexema fin = s.siguiente();
  EXPECT_EQ(fin.token, tokFin);
  EXPECT_EQ(fin.linea, 3);
  EXPECT_EQ(fin.columna, 5);
  s.abrirTexto("x");
  s.siguiente();
  EXPECT_EQ(s.siguiente().columna, 2);
  s.abrirTexto("");
  EXPECT_EQ(s.siguiente().columna, 1);
}

TEST(Scanner, AbrirReiniciaElEstado) {
  TScanner s;
  s.abrirTexto("x 5");
  s.siguiente();
  s.abrirTexto("5");
  EXPECT_EQ(s.siguiente().token, tokNumero);
  EXPECT_FALSE(s.abrir("/no/existe/fichero.pla"));
}
