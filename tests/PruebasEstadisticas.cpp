// Las estadísticas que recoge el observador, calculadas a mano en programas
// pequeños de las dos máquinas, y sus filas para la ventana, el texto y el CSV.

#include <gtest/gtest.h>

#include <sstream>

#include "AyudaSuper.h"
#include "AyudaVLIW.h"
#include "observation/TRecolectorEstadisticas.h"
#include "reports/TInformeEstadisticas.h"

namespace {

int64_t paradasPor(const TResumenEstadisticas& r, const std::string& causa) {
  for (const auto& [nombre, ciclos] : r.paradas)
    if (nombre == causa) return ciclos;
  return 0;
}

}  // namespace

// Una ADDI: buscada en 1, emitida en 3, en su unidad en 4, escrita en 5 y
// confirmada en 6. Al final de los ciclos 3, 4 y 5 ocupa el ROB; su estación,
// al final de 3 y 4; su unidad (latencia 1), al final de 4.
TEST(EstadisticasSuper, UnaSumaCalculadaAMano) {
  auto codigo = compilar("1\nADDI R1 R2 R3\n");
  TMaquinaSuper m;
  TRecolectorEstadisticas rec(m);
  m.observador = &rec;
  preparar(m, codigo.get());
  ASSERT_EQ(ejecutarHastaFin(m), CICLO_COMPLETADO);
  const TResumenEstadisticas r = rec.resumen();
  EXPECT_EQ(r.ciclos, 6);
  EXPECT_EQ(r.confirmadas, 1);
  EXPECT_DOUBLE_EQ(r.ipc(), 1.0 / 6);
  EXPECT_DOUBLE_EQ(r.cpi(), 6.0);
  EXPECT_EQ(r.rob.maxima, 1);
  EXPECT_EQ(r.rob.capacidad, 47);
  EXPECT_DOUBLE_EQ(r.rob.media, 3.0 / 6);
  EXPECT_DOUBLE_EQ(r.estaciones[tufSumaEntera].media, 2.0 / 6);
  EXPECT_EQ(r.estaciones[tufSumaEntera].maxima, 1);
  EXPECT_EQ(r.estaciones[tufMemoria].maxima, 0);
  EXPECT_DOUBLE_EQ(r.usoUnidades[tufSumaEntera], 1.0 / 12);  // un ciclo de seis, en una de dos unidades
  EXPECT_DOUBLE_EQ(r.usoUnidades[tufMemoria], 0.0);
  // Nunca llenó la anchura y nunca hubo nada en el decodificador al emitir.
  EXPECT_EQ(r.ciclosParada, 6);
  EXPECT_EQ(paradasPor(r, "Decodificador vacío"), 6);
  EXPECT_EQ(r.saltosConfirmados, 0);
  EXPECT_DOUBLE_EQ(r.aciertoPrediccion(), 1.0);
}

// Una cadena de sumas flotantes dependientes con una sola unidad: la estación
// +Flotante (1 × (4 + 1) = 5 huecos) se llena y detiene la emisión.
TEST(EstadisticasSuper, EstacionLlenaDetieneLaEmision) {
  std::string fuente = "24\n";
  for (int i = 0; i < 24; ++i) fuente += "ADDF F1 F1 F2\n";
  auto codigo = compilar(fuente);
  TMaquinaSuper m;
  m.numUF = {1, 1, 1, 1, 1, 1};
  TRecolectorEstadisticas rec(m);
  m.observador = &rec;
  preparar(m, codigo.get());
  ASSERT_EQ(ejecutarHastaFin(m), CICLO_COMPLETADO);
  const TResumenEstadisticas r = rec.resumen();
  EXPECT_EQ(r.estaciones[tufSumaFlotante].capacidad, 5);
  EXPECT_EQ(r.estaciones[tufSumaFlotante].maxima, 5);
  EXPECT_GT(paradasPor(r, "E. R. +Flotante llena"), 50);
  int64_t suma = 0;
  for (const auto& p : r.paradas) suma += p.second;
  EXPECT_EQ(suma, r.ciclosParada);
  // Cada ADDF espera a la anterior: una cada 4 ciclos.
  EXPECT_NEAR(r.ipc(), 0.25, 0.03);
}

// El bucle de tres vueltas: el predictor falla las tres (ver la tabla de
// estados), y cada fallo anula lo que se había buscado detrás.
TEST(EstadisticasSuper, SaltosMalPredichosYAnuladas) {
  auto codigo = compilar(
      "4\nDADDUI R2 R0 #3\nL: DADDUI R1 R1 #1\nADDF F1 F1 F2\nBNE R1 R2 L\n");
  TMaquinaSuper m;
  TRecolectorEstadisticas rec(m);
  m.observador = &rec;
  preparar(m, codigo.get());
  ASSERT_EQ(ejecutarHastaFin(m), CICLO_COMPLETADO);
  const TResumenEstadisticas r = rec.resumen();
  EXPECT_EQ(r.saltosConfirmados, 3);
  EXPECT_EQ(r.fallosPrediccion, 3);
  EXPECT_DOUBLE_EQ(r.aciertoPrediccion(), 0.0);
  EXPECT_GT(r.anuladas, 0);
  EXPECT_EQ(r.confirmadas, 1 + 3 * 3);
  EXPECT_EQ(r.confirmadas, m.estadisticas.instruccionesConfirmadas);
}

// Reiniciar empieza de cero; volver atrás olvida lo posterior y, al repetir,
// el resumen es el mismo que sin volver.
TEST(EstadisticasSuper, ReinicioYVueltaAtras) {
  auto codigo = compilar("3\nDADDUI R1 R0 #1\nMULTI R2 R1 R1\nADDI R3 R2 R1\n");
  TMaquinaSuper m;
  TRecolectorEstadisticas rec(m);
  m.observador = &rec;
  preparar(m, codigo.get());
  ASSERT_EQ(ejecutarHastaFin(m), CICLO_COMPLETADO);
  const TResumenEstadisticas completo = rec.resumen();

  preparar(m, codigo.get());
  EXPECT_TRUE(rec.muestras().empty());
  for (int i = 0; i < 5; ++i) m.ejecutarCiclo();
  // Como la sesión al volver al ciclo 3: lo observado después ya no ha ocurrido,
  // y la máquina llega al 3 sin observador.
  rec.vueltaAtras(3);
  EXPECT_EQ(rec.muestras().size(), 3u);
  m.observador = nullptr;
  preparar(m, codigo.get());
  for (int i = 0; i < 3; ++i) m.ejecutarCiclo();
  m.observador = &rec;
  ASSERT_EQ(ejecutarHastaFin(m), CICLO_COMPLETADO);
  const TResumenEstadisticas repetido = rec.resumen();
  EXPECT_EQ(repetido.ciclos, completo.ciclos);
  EXPECT_EQ(repetido.confirmadas, completo.confirmadas);
  EXPECT_DOUBLE_EQ(repetido.rob.media, completo.rob.media);
  EXPECT_EQ(repetido.ciclosParada, completo.ciclosParada);
}

// La curva de IPC es una media móvil y se muestrea sin perder el último ciclo.
TEST(EstadisticasSuper, CurvasMuestreadas) {
  auto codigo = compilar("3\nDADDUI R1 R0 #1\nMULTI R2 R1 R1\nADDI R3 R2 R1\n");
  TMaquinaSuper m;
  TRecolectorEstadisticas rec(m);
  m.observador = &rec;
  preparar(m, codigo.get());
  ASSERT_EQ(ejecutarHastaFin(m), CICLO_COMPLETADO);
  const size_t n = rec.muestras().size();
  const auto completa = rec.curvaIPC(static_cast<int32_t>(n), n);
  ASSERT_EQ(completa.size(), n);
  EXPECT_DOUBLE_EQ(completa.back().valor, rec.resumen().ipc());
  EXPECT_EQ(completa.back().ciclo, m.ciclo);
  // Con ventana 1, cada punto son las confirmadas de su ciclo.
  const auto porCiclo = rec.curvaIPC(1, n);
  for (size_t i = 0; i < n; ++i) EXPECT_EQ(porCiclo[i].valor, rec.muestras()[i].completadas);
  const auto pocos = rec.curvaOcupacion(2);
  ASSERT_LE(pocos.size(), 3u);
  EXPECT_EQ(pocos.back().ciclo, m.ciclo);
  EXPECT_TRUE(rec.curvaIPC(0, 0).size() >= 1);  // valores absurdos no rompen nada
}

// Una instrucción larga con una ADDI: emitida en 1, ejecutada en 2, y el ciclo
// 3 termina. Una operación en 11 huecos.
TEST(EstadisticasVLIW, UnaInstruccionLargaCalculadaAMano) {
  const TCodigo s = ayuda::secuencial("1\nADDI R1 R2 R3\n");
  TMaquinaVLIW m;
  ayuda::construir(m.codigo, s, {{{0, 0}}});
  TRecolectorEstadisticas rec(m);
  m.observador = &rec;
  m.reset(true);
  ASSERT_EQ(ayuda::ejecutar(m), CICLO_COMPLETADO);
  const TResumenEstadisticas r = rec.resumen();
  EXPECT_FALSE(r.superescalar);
  EXPECT_EQ(r.ciclos, 3);
  EXPECT_EQ(r.largasEmitidas, 1);
  EXPECT_EQ(r.operacionesEmitidas, 1);
  EXPECT_EQ(r.operacionesEjecutadas, 1);
  EXPECT_EQ(r.huecosPorLarga, 11);
  EXPECT_DOUBLE_EQ(r.huecosOcupados(), 1.0 / 11);
  EXPECT_DOUBLE_EQ(r.operacionesPorLarga(), 1.0);
  EXPECT_DOUBLE_EQ(r.ipc(), 1.0 / 3);
  EXPECT_DOUBLE_EQ(r.usoUnidades[tufSumaEntera], 1.0 / 6);
  EXPECT_EQ(r.ciclosParada, 0);
}

// La ADDI que lee R3 espera a la LI: la carga se emite en 1 y termina en 5
// (Mem, latencia 4), así que los ciclos 2, 3 y 4 se paran por el NaT de R3.
TEST(EstadisticasVLIW, ParadaPorNaTEnSuRegistro) {
  const TCodigo s = ayuda::secuencial("2\nLI R3 0(R0)\nADDI R4 R3 R3\n");
  TMaquinaVLIW m;
  ayuda::construir(m.codigo, s, {{{0, 0}}, {{1, 0}}});
  TRecolectorEstadisticas rec(m);
  m.observador = &rec;
  m.reset(true);
  std::vector<int32_t> emitidas;
  ASSERT_EQ(ayuda::ejecutar(m, &emitidas), CICLO_COMPLETADO);
  ASSERT_EQ(ayuda::cicloDeEmision(emitidas, 1), 5);
  const TResumenEstadisticas r = rec.resumen();
  EXPECT_EQ(r.ciclosParada, 3);
  ASSERT_EQ(r.paradas.size(), 1u);
  EXPECT_EQ(r.paradas[0].first, "NaT en R3");
  EXPECT_EQ(r.paradas[0].second, 3);
  EXPECT_EQ(r.ciclosParada, m.estadisticas.ciclosParada);
  EXPECT_DOUBLE_EQ(r.huecosOcupados(), 2.0 / 22);
}

// Un salto en la instrucción larga 0 y una ADDI guardada por su predicado en la
// misma: sale de su unidad en el ciclo 2, antes de que el salto se resuelva, y
// se descarta.
TEST(EstadisticasVLIW, OperacionDescartadaConSuInstruccionLarga) {
  const TCodigo s = ayuda::secuencial("2\nL: BEQ R0 R0 L\nDADDUI R5 R0 #7\n");
  TMaquinaVLIW m;
  ayuda::construir(m.codigo, s, {{{0, 0, 0, 5, 1, 2}, {1, 0, 1}}});
  TRecolectorEstadisticas rec(m);
  m.observador = &rec;
  m.reset(true);
  ASSERT_EQ(ayuda::ejecutar(m), CICLO_COMPLETADO);
  const TResumenEstadisticas r = rec.resumen();
  EXPECT_EQ(r.operacionesDescartadas, 1);
  EXPECT_EQ(r.operacionesEjecutadas, 1);  // el salto
  EXPECT_EQ(r.saltosTomados, 1);
  ASSERT_EQ(rec.descartadas().size(), 1u);
  const TOperacionDescartada& d = rec.descartadas()[0];
  EXPECT_EQ(d.ciclo, 2);
  EXPECT_EQ(d.larga, 0);
  EXPECT_EQ(d.direccion, 1);
  EXPECT_EQ(d.destino, "R5");
}

TEST(InformeEstadisticas, FilasTextoYCSV) {
  TResumenEstadisticas r;
  r.superescalar = true;
  r.ciclos = 8;
  r.confirmadas = 6;
  r.saltosConfirmados = 4;
  r.fallosPrediccion = 1;
  r.paradas = {{"Reorder buffer lleno", 2}};
  r.ciclosParada = 2;
  r.numUnidades = {2, 2, 2, 2, 2, 1};
  r.usoUnidades[tufMemoria] = 0.5;
  std::ostringstream texto, csv;
  TInformeEstadisticas::escribirTexto(texto, r);
  TInformeEstadisticas::escribirCSV(csv, r);
  EXPECT_NE(texto.str().find("Estadísticas de la máquina superescalar\n"), std::string::npos);
  EXPECT_NE(texto.str().find("IPC: 0,750\n"), std::string::npos) << texto.str();
  EXPECT_NE(texto.str().find("Acierto del predictor (%): 75,0\n"), std::string::npos);
  EXPECT_NE(texto.str().find("Emisión detenida: Reorder buffer lleno: 2\n"), std::string::npos);
  EXPECT_EQ(csv.str().rfind("magnitud,valor\n\"Ciclos\",8\n", 0), 0u) << csv.str();
  EXPECT_NE(csv.str().find("\"CPI\",1.333\n"), std::string::npos);
  EXPECT_NE(csv.str().find("\"Unidades Mem ocupadas (%)\",50.0\n"), std::string::npos);
}
