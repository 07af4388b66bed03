// «Comprobar resultado», «Comparar máquinas» y «Explorar configuración»:
// programas VLIW correctos y con los dos fallos de planificación típicos, las
// dos máquinas sobre un ejemplo y una exploración de la anchura de emisión.

#include <gtest/gtest.h>

#include <atomic>
#include <sstream>

#include "AyudaVLIW.h"
#include "observation/TRecolectorEstadisticas.h"
#include "reports/TComprobacionResultado.h"
#include "session/TComparacionMaquinas.h"
#include "session/TExploracion.h"

namespace {

// Ejecuta el programa VLIW desde R2 = 1, R3 = 2 y F1 = 2,5 con un recolector
// enganchado y da el veredicto frente al código secuencial.
TVeredicto comprobarVLIW(const TCodigo& s, const std::vector<ayuda::TLarga>& largas) {
  TMaquinaVLIW m;
  ayuda::construir(m.codigo, s, largas);
  TRecolectorEstadisticas rec(m);
  m.observador = &rec;
  m.reset(true);
  m.gpr.valor[2] = 1;
  m.gpr.valor[3] = 2;
  m.fpr.valor[1] = 2.5f;
  TInstantaneaMaquina inicial;
  inicial.capturar(m);
  EXPECT_EQ(ayuda::ejecutar(m), CICLO_COMPLETADO);
  return TComprobacionResultado::comprobar(s, inicial, {}, m, true, rec.descartadas());
}

std::string ejemplo(const std::string& nombre) { return std::string(ORVEX_DIR_EJEMPLOS) + "/" + nombre; }

}  // namespace

// Parte de los valores iniciales (no de ceros): con R2 = 1 y R3 = 2, R1 = 3 y R4 = 6.
TEST(ComprobarResultado, ProgramaVLIWCorrecto) {
  const TCodigo s = ayuda::secuencial("2\nADDI R1 R2 R3\nADDI R4 R1 R1\n");
  const TVeredicto v = comprobarVLIW(s, {{{0, 0}}, {{1, 0}}});
  EXPECT_TRUE(v.igual) << v.texto();
  EXPECT_TRUE(v.diferencias.empty());
  EXPECT_EQ(v.titulo(), "El programa VLIW calcula lo mismo que el código secuencial");
  EXPECT_TRUE(v.pista.empty());
}

// Las dos sumas en la misma instrucción larga: la segunda lee el R1 de antes.
TEST(ComprobarResultado, ValorLeidoAntesDeQueSuProductorTermine) {
  const TCodigo s = ayuda::secuencial("2\nADDI R1 R2 R3\nADDI R4 R1 R1\n");
  const TVeredicto v = comprobarVLIW(s, {{{0, 0}, {1, 1}}});
  EXPECT_FALSE(v.igual);
  ASSERT_EQ(v.diferencias.size(), 1u);
  const TDiferencia& d = v.diferencias[0];
  EXPECT_EQ(d.donde(), "R4");
  EXPECT_EQ(d.textoEsperado(), "6");
  EXPECT_EQ(d.textoObtenido(), "0");
  EXPECT_NE(v.pista.find("la operación 1 (ADDI R4 R1 R1) de la instrucción larga 0 lee un registro antes"),
            std::string::npos)
      << v.pista;
  EXPECT_NE(v.texto().find("R4\t6\t0\n"), std::string::npos) << v.texto();
}

// El almacenamiento va guardado por el predicado de «no tomado» de un salto
// que siempre se toma: se descarta, y el código secuencial, en el que el salto
// lleva a la instrucción siguiente, sí escribe la palabra 5.
TEST(ComprobarResultado, OperacionDescartadaPorSuPredicado) {
  const TCodigo s = ayuda::secuencial("2\nBEQ R0 R0 L\nL: SF F1 5(R0)\n");
  const TVeredicto v = comprobarVLIW(s, {{{0, 0, 0, 5, 1, 2}, {1, 0, 2}}});
  EXPECT_FALSE(v.igual);
  ASSERT_EQ(v.diferencias.size(), 1u);
  EXPECT_EQ(v.diferencias[0].donde(), "M5");
  EXPECT_FLOAT_EQ(v.diferencias[0].esperado, 2.5f);
  EXPECT_FLOAT_EQ(v.diferencias[0].obtenido, 0.0f);
  EXPECT_NE(v.pista.find("la operación 1 (SF F1 5(R0)) de la instrucción larga 0 se descartó"), std::string::npos)
      << v.pista;
  EXPECT_NE(v.pista.find("no escribió en la memoria"), std::string::npos);
}

// Las ediciones antes del primer ciclo son parte de los datos de partida; las
// de después solo avisan. Una máquina sin terminar también avisa.
TEST(ComprobarResultado, EdicionesYEjecucionSinTerminar) {
  const TCodigo s = ayuda::secuencial("1\nADDI R1 R2 R2\n");
  TMaquinaVLIW m;
  ayuda::construir(m.codigo, s, {{{0, 0}}});
  m.reset(true);
  TInstantaneaMaquina inicial;
  inicial.capturar(m);
  TEdicion antes;
  antes.tipo = edRegistroEntero;
  antes.ciclo = 0;
  antes.indice = 2;
  antes.entero = 4;
  m.gpr.valor[2] = 4;
  ASSERT_EQ(ayuda::ejecutar(m), CICLO_COMPLETADO);
  TVeredicto v = TComprobacionResultado::comprobar(s, inicial, {antes}, m, true, {});
  EXPECT_TRUE(v.igual) << v.texto();
  EXPECT_TRUE(v.avisos.empty());

  TEdicion despues = antes;
  despues.ciclo = 2;
  v = TComprobacionResultado::comprobar(s, inicial, {antes, despues}, m, false, {});
  EXPECT_EQ(v.avisos.size(), 2u);
}

// Un ejemplo con su programa VLIW en las dos máquinas: mismo resultado, y la
// aceleración es el cociente de los ciclos.
TEST(CompararMaquinas, EjemploEnLasDosMaquinas) {
  TCodigo programa;
  ASSERT_EQ(programa.cargar(ejemplo("vector_suma.pla")), CARGA_OK);
  TComparacionMaquinas c(programa);
  TConfiguracionMaquina config;
  c.configurar(config, config);
  c.vliw.reset(true);
  ASSERT_TRUE(c.vliw.cargarCodigo(ejemplo("vector_suma.vliw"), c.programa));
  c.ejecutar(TDatosIniciales{}, 7, 100000);
  ASSERT_TRUE(c.resultadoSuper.ejecutada);
  ASSERT_TRUE(c.resultadoVLIW.ejecutada);
  EXPECT_TRUE(c.resultadoSuper.veredicto.igual) << c.resultadoSuper.veredicto.texto();
  EXPECT_TRUE(c.resultadoVLIW.veredicto.igual) << c.resultadoVLIW.veredicto.texto();
  EXPECT_GT(c.resultadoSuper.ciclos, 0);
  EXPECT_DOUBLE_EQ(c.aceleracionVLIW(), static_cast<double>(c.resultadoSuper.ciclos) / c.resultadoVLIW.ciclos);
  EXPECT_NE(c.resultadoSuper.configuracion.find("emisión 4"), std::string::npos);
  EXPECT_EQ(c.resultadoVLIW.configuracion.find("emisión"), std::string::npos);
  std::ostringstream csv;
  c.escribirCSV(csv);
  EXPECT_EQ(csv.str().rfind("magnitud,superescalar,vliw\n\"Ejecución\",\"terminada\",\"terminada\"\n", 0), 0u)
      << csv.str();
  EXPECT_NE(csv.str().find("\"Resultado\",\"igual al código secuencial\",\"igual al código secuencial\"\n"),
            std::string::npos);

  // Sin programa VLIW, la VLIW no se ejecuta y no hay aceleración.
  TComparacionMaquinas sinVLIW(programa);
  sinVLIW.ejecutar(TDatosIniciales{}, 7, 100000);
  EXPECT_FALSE(sinVLIW.resultadoVLIW.ejecutada);
  EXPECT_FALSE(sinVLIW.resultadoVLIW.motivo.empty());
  EXPECT_EQ(sinVLIW.aceleracionVLIW(), 0.0);
  const auto tabla = sinVLIW.tabla();
  EXPECT_EQ(tabla[0][2], TMaquinaVLIW::MENSAJE_CODIGO_VACIO);
  EXPECT_EQ(tabla[1][2], "-");
}

// 96 sumas independientes con todas las unidades que caben: más anchura nunca
// tarda más y, de 2 a 16, tarda bastante menos.
TEST(ExplorarConfiguracion, AnchuraDeEmisionMonotona) {
  std::string fuente = "96\n";
  for (int i = 0; i < 96; ++i)
    fuente += "ADDI R" + std::to_string(1 + i % 60) + " R0 R" + std::to_string(1 + (i * 7) % 60) + "\n";
  TCodigo programa = ayuda::secuencial(fuente);
  TConfiguracionMaquina base;
  base.numUF.fill(MAX_UF);
  TExploracion e(programa, base, TDatosIniciales{}, 3);
  e.parametro = parEmision;
  e.desde = 2;
  e.hasta = 16;
  int avisos = 0;
  const auto puntos = e.ejecutar(nullptr, [&](const TPuntoExploracion&) { ++avisos; });
  ASSERT_EQ(puntos.size(), 15u);
  EXPECT_EQ(avisos, 15);
  for (size_t i = 1; i < puntos.size(); ++i) {
    EXPECT_EQ(puntos[i].valor, puntos[i - 1].valor + 1);
    EXPECT_EQ(puntos[i].final, finCompletado);
    EXPECT_LE(puntos[i].ciclos, puntos[i - 1].ciclos) << "anchura " << puntos[i].valor;
    EXPECT_GE(puntos[i].ipc, puntos[i - 1].ipc) << "anchura " << puntos[i].valor;
  }
  EXPECT_LT(puntos.back().ciclos * 2, puntos.front().ciclos);

  std::ostringstream csv;
  TExploracion::escribirCSV(csv, TExploracion::nombre(parEmision, 0), puntos);
  EXPECT_EQ(csv.str().rfind("\"Anchura de emisión\",ciclos,instrucciones,ipc,resultado\n2,", 0), 0u) << csv.str();
}

// Con fallos de caché, la misma semilla da la misma curva; un intervalo fuera
// del rango se acota y cancelar antes de empezar no ejecuta nada.
TEST(ExplorarConfiguracion, MismaSemillaIntervaloAcotadoYCancelar) {
  std::string fuente = "40\n";
  for (int i = 0; i < 40; ++i) fuente += "LF F" + std::to_string(i % 30) + " " + std::to_string(i) + "(R0)\n";
  TCodigo programa = ayuda::secuencial(fuente);
  TConfiguracionMaquina base;
  base.porcentajeFallos = 40;
  TExploracion e(programa, base, TDatosIniciales{}, 11);
  e.parametro = parLatenciaFallo;
  e.desde = 30;
  e.hasta = -5;  // al revés y por debajo del mínimo
  const auto una = e.ejecutar();
  const auto otra = e.ejecutar();
  ASSERT_FALSE(una.empty());
  EXPECT_EQ(una.front().valor, MIN_LAT_FALLO);
  EXPECT_EQ(una.back().valor, 30);
  ASSERT_EQ(una.size(), otra.size());
  for (size_t i = 0; i < una.size(); ++i) EXPECT_EQ(una[i].ciclos, otra[i].ciclos);
  EXPECT_GT(una.back().ciclos, una.front().ciclos);

  std::atomic<bool> cancelar{true};
  EXPECT_TRUE(e.ejecutar(&cancelar).empty());
}
