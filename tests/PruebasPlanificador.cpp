#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <string>
#include <vector>

#include "AyudaPlanificador.h"
#include "AyudaVLIW.h"

// Forma de las planificaciones: empaquetado, latencias contadas al salir de la
// unidad, saltos y su sombra, datos por bloque, y programas raros.

namespace {

struct TPlan {
  TCodigo codigo;
  TMaquinaVLIW maquina;
  TPlanificadorVLIW planificador;
  int32_t resultado = 0;

  // Instrucción larga que lleva la instrucción secuencial «dir»; -1 si ninguna.
  int32_t larga(int32_t dir) const { return sitio(dir).first; }
  int32_t unidad(int32_t dir) const { return sitio(dir).second; }
  const TOperacionVLIW* operacion(int32_t dir) const {
    for (const auto& l : maquina.codigo.instrucciones)
      for (const auto& op : l.operaciones)
        if (op->direccion == dir) return op.get();
    return nullptr;
  }
  std::pair<int32_t, int32_t> sitio(int32_t dir) const {
    for (int32_t i = 0; i < maquina.codigo.numInstrucciones; ++i)
      for (const auto& op : maquina.codigo.instrucciones[static_cast<size_t>(i)].operaciones)
        if (op->direccion == dir) return {i, op->numUnidad};
    return {-1, -1};
  }
  int32_t comprobar() const {
    int32_t l = 0, o = 0;
    if (maquina.comprobarConfiguracion() != CHEQUEO_OK) return CHEQUEO_CONFIGURACION;
    return maquina.comprobarCodigo(l, o);
  }
};

// Planifica «fuente» con la configuración por defecto cambiada por «ajustar».
template <typename Ajuste>
std::unique_ptr<TPlan> planificar(const std::string& fuente, Ajuste ajustar) {
  auto p = std::make_unique<TPlan>();
  EXPECT_EQ(p->codigo.cargarTexto(fuente), CARGA_OK) << p->codigo.detalleError;
  ajustar(p->maquina);
  p->maquina.reset(true);
  p->planificador = TPlanificadorVLIW(p->maquina);
  p->resultado = p->planificador.planificar(p->codigo, p->maquina);
  return p;
}

std::unique_ptr<TPlan> planificar(const std::string& fuente) {
  return planificar(fuente, [](TMaquinaVLIW&) {});
}

// Fallos que no cuestan nada: las latencias son las nominales.
void sinCosteDeFallo(TMaquinaVLIW& m) { m.latFalloCache = m.latUF[tufMemoria]; }

}  // namespace

TEST(Planificador, OperacionesIndependientesLlenanLasUnidadesDeSuTipo) {
  const auto p = planificar(
      "5\n DADDUI R1 R0 #1\n DADDUI R2 R0 #2\n DADDUI R3 R0 #3\n DADDUI R4 R0 #4\n MULTF F1 F2 F3\n");
  ASSERT_EQ(p->resultado, PLANIFICACION_OK);
  // Dos unidades +Entera: de dos en dos, en orden de programa; el MULTF, con la primera pareja.
  EXPECT_EQ(p->larga(0), 0);
  EXPECT_EQ(p->larga(1), 0);
  EXPECT_EQ(p->larga(2), 1);
  EXPECT_EQ(p->larga(3), 1);
  EXPECT_EQ(p->larga(4), 0);
  EXPECT_NE(p->unidad(0), p->unidad(1));
  EXPECT_EQ(p->maquina.codigo.numInstrucciones, 2);
  ASSERT_EQ(p->planificador.bloques.size(), 1u);
  EXPECT_EQ(p->planificador.bloques[0].cotaInferior, 2);
  // En cada instrucción larga, en el orden de las columnas del editor.
  const auto& ops = p->maquina.codigo.instrucciones[0].operaciones;
  ASSERT_EQ(ops.size(), 3u);
  EXPECT_EQ(ops[0]->tipoUF, tufSumaEntera);
  EXPECT_EQ(ops[0]->numUnidad, 0);
  EXPECT_EQ(ops[1]->numUnidad, 1);
  EXPECT_EQ(ops[2]->tipoUF, tufMultFlotante);
}

// Las operaciones leen sus registros al salir de la unidad: quien escribe un
// registro que otra lee después de emitirse espera a esa lectura.
TEST(Planificador, LatenciasYLecturasAlSalirDeLaUnidad) {
  // Verdadera: el ADDF a la latencia del MULTF (6).
  auto p = planificar("2\n MULTF F2 F0 F1\n ADDF F3 F2 F2\n", sinCosteDeFallo);
  EXPECT_EQ(p->larga(1) - p->larga(0), 6);
  EXPECT_EQ(p->planificador.bloques[0].cotaInferior, 7);
  EXPECT_EQ(p->planificador.bloques[0].longitud, 7);

  // Anti: el SF lee R1 cuatro ciclos después de emitirse; el DADDUI (latencia
  // 1) que lo cambia va tres instrucciones largas detrás, no en la siguiente.
  p = planificar("2\n SF F4 0(R1)\n DADDUI R1 R1 #1\n", sinCosteDeFallo);
  EXPECT_EQ(p->larga(1) - p->larga(0), 3);

  // Anti con el lector más lento: el ADDF (latencia 4) que escribe F2 puede ir
  // dos instrucciones largas después del MULTF (latencia 6) que la lee.
  p = planificar("2\n MULTF F1 F2 F3\n ADDF F2 F4 F4\n", sinCosteDeFallo);
  EXPECT_EQ(p->larga(1) - p->larga(0), 2);

  // Salida: la segunda escritura de F1 cae después de la primera.
  p = planificar("2\n MULTF F1 F2 F3\n ADDF F1 F4 F4\n", sinCosteDeFallo);
  EXPECT_EQ(p->larga(1) - p->larga(0), 3);

  // Memoria: el almacenamiento no adelanta a la carga anterior; la carga
  // posterior, en la misma unidad, va detrás del almacenamiento.
  p = planificar("3\n LF F1 0(R2)\n SF F3 8(R2)\n LF F4 4(R2)\n", sinCosteDeFallo);
  EXPECT_GE(p->larga(1), p->larga(0));
  EXPECT_GT(p->larga(2), p->larga(1));
}

TEST(Planificador, ElSaltoVaEnCuantoPuedeYElRestoDelBloqueEnSuSombra) {
  // Tres sumas en dos unidades y un salto de latencia 3: el salto en la
  // primera instrucción larga y la tercera suma en su sombra.
  const auto p = planificar(
      "7\n"
      "L: ADDI R3 R4 R5\n ADDI R6 R4 R5\n ADDI R7 R4 R5\n BEQ R1 R2 L\n"
      "   DADDUI R8 R0 #1\n BNE R8 R0 FIN\n"
      "FIN: DADDUI R9 R0 #2\n",
      [](TMaquinaVLIW& m) { m.latUF[tufSalto] = 3; });
  ASSERT_EQ(p->resultado, PLANIFICACION_OK);
  EXPECT_EQ(p->larga(3), 0);
  EXPECT_EQ(p->larga(2), 1);
  ASSERT_GE(p->planificador.bloques.size(), 3u);
  EXPECT_EQ(p->planificador.bloques[0].longitud, 3);
  const TOperacionVLIW* salto = p->operacion(3);
  ASSERT_NE(salto, nullptr);
  EXPECT_EQ(salto->op[2], 0);  // la primera instrucción larga de su bloque
  // El BNE espera al DADDUI que escribe R8 y salta al principio del bloque FIN.
  EXPECT_EQ(p->larga(5) - p->larga(4), 1);
  EXPECT_EQ(p->operacion(5)->op[2], p->planificador.bloques[2].primeraLarga);
  EXPECT_EQ(p->comprobar(), CHEQUEO_OK);
}

TEST(Planificador, SaltoASiMismo) {
  auto p = planificar("1\nL: BNE R1 R2 L\n");
  ASSERT_EQ(p->resultado, PLANIFICACION_OK);
  EXPECT_EQ(p->maquina.codigo.numInstrucciones, LAT_UF_DEFECTO[tufSalto]);
  EXPECT_EQ(p->operacion(0)->op[2], 0);
  // R1 = R2: no se toma y el programa acaba.
  EXPECT_EQ(ayuda::ejecutar(p->maquina), CICLO_COMPLETADO);
}

// Cada salto pone su par de predicados; nunca hay dos en vuelo, así que tras
// el par (61, 62) se vuelve a empezar. Ninguna operación lleva guarda.
TEST(Planificador, ParesDePredicadoPorSaltoYNingunaGuarda) {
  std::string fuente = "66\n";
  for (int k = 0; k < 33; ++k)
    fuente += "L" + std::to_string(k) + ": DADDUI R1 R1 #1\n BEQ R1 R0 L" + std::to_string(k) + "\n";
  const auto p = planificar(fuente);
  ASSERT_EQ(p->resultado, PLANIFICACION_OK);
  for (int k = 0; k < 33; ++k) {
    const TOperacionVLIW* salto = p->operacion(2 * k + 1);
    ASSERT_NE(salto, nullptr);
    EXPECT_EQ(salto->predVerdadero, 2 * (k % 31) + 1) << "salto " << k;
    EXPECT_EQ(salto->predFalso, 2 * (k % 31) + 2) << "salto " << k;
  }
  for (const auto& l : p->maquina.codigo.instrucciones)
    for (const auto& op : l.operaciones) EXPECT_EQ(op->predicado, 0);
  EXPECT_EQ(p->comprobar(), CHEQUEO_OK);
}

TEST(Planificador, DatosDeCadaBloque) {
  TCodigo c;
  ASSERT_EQ(c.cargar(std::string(ORVEX_DIR_EJEMPLOS) + "/suma_bucle.pla"), CARGA_OK);
  TMaquinaVLIW m;
  TPlanificadorVLIW p(m);
  ASSERT_EQ(p.planificar(c, m), PLANIFICACION_OK);
  ASSERT_EQ(p.bloques.size(), 3u);
  // Tres DADDUI en dos unidades; el bucle DADDUI, ADDI y BNE (que espera a
  // R1) con la sombra de 2; el SI solo.
  const int32_t cotas[] = {2, 3, 1};
  const int32_t operaciones[] = {3, 3, 1};
  int32_t primera = 0;
  for (size_t b = 0; b < 3; ++b) {
    EXPECT_EQ(p.bloques[b].bloque, static_cast<int32_t>(b));
    EXPECT_EQ(p.bloques[b].primeraInstruccion, c.primeraDeBloque(static_cast<int32_t>(b)));
    EXPECT_EQ(p.bloques[b].primeraLarga, primera);
    EXPECT_EQ(p.bloques[b].cotaInferior, cotas[b]);
    EXPECT_EQ(p.bloques[b].numOperaciones, operaciones[b]);
    EXPECT_GE(p.bloques[b].longitud, p.bloques[b].cotaInferior);
    primera += p.bloques[b].longitud;
  }
  // El bucle alcanza su cota: DADDUI, ADDI con el BNE, y la sombra vacía.
  EXPECT_EQ(p.bloques[1].longitud, 3);
  EXPECT_EQ(primera, m.codigo.numInstrucciones);
  EXPECT_EQ(p.longitudTotal(), primera);
  EXPECT_EQ(p.operacionesTotales(), 7);
  EXPECT_EQ(p.cotaTotal(), 6);
}

// Con fallos que cuestan, todas las cargas van a la unidad de memoria 0; si no
// cuestan, se reparten.
TEST(Planificador, LasCargasVanALaUnidad0SoloSiLosFallosCuestan) {
  for (const bool caros : {true, false}) {
    TCodigo c;
    ASSERT_EQ(c.cargar(std::string(ORVEX_DIR_EJEMPLOS) + "/fallos_cache.pla"), CARGA_OK);
    TMaquinaVLIW m;
    m.latFalloCache = caros ? 9 : 4;
    TPlanificadorVLIW p(m);
    ASSERT_EQ(p.planificar(c, m), PLANIFICACION_OK);
    bool otraUnidad = false;
    for (const auto& l : m.codigo.instrucciones)
      for (const auto& op : l.operaciones)
        if (esCarga(op->codOp)) otraUnidad = otraUnidad || op->numUnidad != 0;
    EXPECT_EQ(otraUnidad, !caros);
  }
}

// Lo que el bloque anterior a un bucle deja en vuelo (aquí una carga que puede
// fallar) lo espera ese bloque una vez, no cada vuelta del bucle.
TEST(Planificador, ElBucleNoPagaLoQueLeLlegaDeFuera) {
  const std::string bucle = "L: SI R1 0(R1)\n DADDUI R1 R1 #1\n BNE R1 R2 L\n";
  const auto solo = planificar("3\n" + bucle);
  const auto conCarga = planificar("4\n LF F2 100(R0)\n" + bucle);
  ASSERT_EQ(solo->planificador.bloques.size(), 1u);
  ASSERT_EQ(conCarga->planificador.bloques.size(), 2u);
  // SI, DADDUI tres después (lee R1 al salir), BNE y la sombra.
  EXPECT_EQ(solo->planificador.bloques[0].longitud, 6);
  EXPECT_EQ(conCarga->planificador.bloques[1].longitud, 6);
  EXPECT_GT(conCarga->planificador.bloques[0].longitud, 1);
}

TEST(Planificador, PlanificarSobreLaMaquinaUsaSuConfiguracionYVaciaSusUnidades) {
  TCodigo c;
  ASSERT_EQ(c.cargar(std::string(ORVEX_DIR_EJEMPLOS) + "/vector_suma.pla"), CARGA_OK);
  TMaquinaVLIW m;
  m.numUF = {1, 1, 3, 1, 3, 1};
  m.latUF = {2, 3, 5, 7, 6, 1};
  m.reset(true);
  TPlanificadorVLIW p;
  ASSERT_EQ(p.planificar(c, m), PLANIFICACION_OK);
  for (int i = 0; i < 5; ++i) m.ejecutarCiclo();  // operaciones en vuelo
  ASSERT_EQ(p.planificar(c, m), PLANIFICACION_OK);
  EXPECT_EQ(p.numUF, m.numUF);
  EXPECT_EQ(p.latUF, m.latUF);
  for (const auto& unidades : m.uf)
    for (const auto& u : unidades) EXPECT_EQ(u.ocupadas, 0);
  int32_t l = 0, o = 0;
  EXPECT_EQ(m.comprobarConfiguracion(), CHEQUEO_OK);
  EXPECT_EQ(m.comprobarCodigo(l, o), CHEQUEO_OK);
  m.reset(true);
  EXPECT_EQ(ayuda::ejecutar(m, nullptr, 5000), CICLO_COMPLETADO);
  for (int w = 0; w < 8; ++w) EXPECT_EQ(m.memoria.datos[static_cast<size_t>(w)], static_cast<float>(w + 3));
}

// Una configuración fuera de los límites de los diálogos se lleva a ellos.
TEST(Planificador, ConfiguracionAbsurdaSeAcota) {
  TCodigo c;
  ASSERT_EQ(c.cargar(std::string(ORVEX_DIR_EJEMPLOS) + "/producto_escalar.pla"), CARGA_OK);
  TPlanificadorVLIW p;
  p.numUF = {0, -3, 50, 1, 0, 7};
  p.latUF = {0, -1, 500, 3, 0, 1000};
  p.latFalloCache = -20;
  TCodigoVLIW codigo;
  ASSERT_EQ(p.planificar(c, codigo), PLANIFICACION_OK);
  for (const auto& l : codigo.instrucciones)
    for (const auto& op : l.operaciones) {
      EXPECT_GE(op->numUnidad, 0);
      EXPECT_LT(op->numUnidad, op->tipoUF == tufSumaFlotante ? MAX_UF : 1);
    }
}

// ---------------------------------------------------------------------------
// Programas raros: el planificador nunca cuelga ni se sale de la memoria.

TEST(PlanificadorRaros, ProgramaVacio) {
  TCodigo c;
  ASSERT_EQ(c.cargarTexto("0\n"), CARGA_OK);
  TCodigoVLIW codigo;
  codigo.crear(3);  // lo que hubiera se borra
  TPlanificadorVLIW p;
  EXPECT_EQ(p.planificar(c, codigo), PLANIFICACION_OK);
  EXPECT_EQ(codigo.numInstrucciones, 0);
  EXPECT_TRUE(p.bloques.empty());
  EXPECT_EQ(p.longitudTotal(), 0);
}

// Un TCodigo construido a mano, incoherente: más instrucciones anunciadas que
// guardadas, registros y códigos que no existen, números de bloque revueltos,
// bloques que no empiezan en ninguna parte y saltos a bloques inexistentes.
TEST(PlanificadorRaros, CodigoIncoherenteHechoAMano) {
  TCodigo c;
  auto ins = [](int32_t cod, int32_t a, int32_t b, int32_t d, int32_t bloque) {
    TInstruccion i;
    i.codOp = cod;
    i.op[0] = a;
    i.op[1] = b;
    i.op[2] = d;
    i.bloque = bloque;
    return i;
  };
  c.instrucciones = {ins(ADDI, 64, -1, INT_MAX, 0), ins(99, 1, 2, 3, 7), ins(LF, 63, 2000000000, 63, 7),
                     ins(BEQ, 0, 0, 77, 2), ins(BNE, 1, 2, -5, 1), ins(SF, -4, 0, 200, 1)};
  for (size_t i = 0; i < c.instrucciones.size(); ++i) c.instrucciones[i].direccion = static_cast<int32_t>(i);
  c.numInstrucciones = 9;
  c.bloques = {{3, 0}, {-1, 1}, {100, 2}, {1, 3}};
  c.numBloques = 6;
  TMaquinaVLIW m;
  TPlanificadorVLIW p(m);
  ASSERT_EQ(p.planificar(c, m), PLANIFICACION_OK);
  EXPECT_EQ(m.comprobarConfiguracion(), CHEQUEO_OK);
  int32_t operaciones = 0;
  for (const auto& l : m.codigo.instrucciones)
    for (const auto& op : l.operaciones) {
      ++operaciones;
      // Un salto a un bloque que no existe va más allá del final.
      if (esSalto(op->codOp)) {
        EXPECT_EQ(op->op[2], m.codigo.numInstrucciones);
      }
    }
  EXPECT_EQ(operaciones, 6);
  int32_t l = 0, o = 0;
  m.comprobarCodigo(l, o);  // solo que no se salga de nada
  EXPECT_EQ(ayuda::ejecutar(m), CICLO_ERROR);  // la ADDI con R64 detiene la máquina
}

TEST(PlanificadorRaros, RegistrosYDireccionesEnLosLimites) {
  const auto p = planificar(
      "7\n LF F63 1023(R0)\n DADDUI R63 R0 #1023\n SF F63 0(R63)\n LI R63 0(R63)\n"
      " MULTF F0 F63 F63\n BEQ R63 R63 FIN\nFIN: ADDF F63 F0 F0\n",
      [](TMaquinaVLIW& m) {
        m.latFalloCache = MAX_LAT_FALLO;
        m.memoria.porcentajeFallos = 100;
      });
  ASSERT_EQ(p->resultado, PLANIFICACION_OK);
  EXPECT_EQ(p->comprobar(), CHEQUEO_OK);
}

// Un solo bloque con miles de operaciones entrelazadas.
TEST(PlanificadorRaros, BloqueEnorme) {
  diferencial::TAzarSemilla azar(4);
  const int n = 20000;
  std::string fuente = std::to_string(n) + "\n";
  const char* formas[] = {"ADDI R%d R%d R%d", "MULTF F%d F%d F%d", "LF F%d %d(R%d)", "SF F%d %d(R%d)",
                          "DADDUI R%d R%d #3", "ADDF F%d F%d F%d"};
  char linea[64];
  for (int i = 0; i < n; ++i) {
    const int f = static_cast<int>(azar.entre(0, 5));
    std::snprintf(linea, sizeof linea, formas[f], static_cast<int>(azar.entre(1, 40)),
                  static_cast<int>(azar.entre(0, 40)), static_cast<int>(azar.entre(0, 40)));
    fuente += std::string(linea) + "\n";
  }
  const auto p = planificar(fuente);
  ASSERT_EQ(p->resultado, PLANIFICACION_OK);
  ASSERT_EQ(p->planificador.bloques.size(), 1u);
  EXPECT_EQ(p->planificador.bloques[0].numOperaciones, n);
  EXPECT_GE(p->planificador.bloques[0].longitud, p->planificador.bloques[0].cotaInferior);
  EXPECT_EQ(p->comprobar(), CHEQUEO_OK);
}

// Más instrucciones largas de las que admite un fichero *.vliw: no se construye nada.
TEST(PlanificadorRaros, ProgramaDemasiadoLargo) {
  std::string fuente = "1100\n";
  for (int i = 0; i < 1100; ++i) fuente += "MULTF F1 F1 F1\n";
  const auto p = planificar(fuente, [](TMaquinaVLIW& m) { m.latUF.fill(MAX_LATENCIA); });
  EXPECT_EQ(p->resultado, PLANIFICACION_DEMASIADO_LARGA);
  EXPECT_EQ(p->maquina.codigo.numInstrucciones, 0);
  EXPECT_TRUE(p->planificador.bloques.empty());
}

// Sesenta bloques de un salto, cada uno hacia el anterior, detrás de un
// resultado lento: lo que queda en vuelo al final llega a los bloques de
// delante de uno en uno, a cada ronda del punto fijo, y no da tiempo a que se
// estabilice. Entonces cada bloque lo deja todo terminado, y sigue siendo correcto.
TEST(PlanificadorRaros, CadenaDeSaltosHaciaAtras) {
  std::string fuente = "64\nL0: DADDUI R3 R0 #1\n";
  for (int k = 1; k <= 60; ++k) fuente += "L" + std::to_string(k) + ": BEQ R1 R2 L" + std::to_string(k - 1) + "\n";
  fuente += "MULTF F1 F1 F2\n BEQ R1 R2 L60\n ADDF F3 F1 F1\n";
  for (const int32_t porcentaje : {0, 100}) {
    const auto p = planificar(fuente, [&](TMaquinaVLIW& m) {
      m.latUF[tufMultFlotante] = MAX_LATENCIA;
      m.latUF[tufSalto] = 1;
      m.latFalloCache = 60;
      m.memoria.porcentajeFallos = porcentaje;
    });
    ASSERT_EQ(p->resultado, PLANIFICACION_OK);
    p->maquina.gpr.valor[1] = 1;
    p->maquina.gpr.valor[2] = 2;  // no se toma ningún salto
    p->maquina.fpr.valor[1] = 1.5f;
    p->maquina.fpr.valor[2] = 1.25f;
    const planificador::TResultado r = planificador::ejecutarPlanificado(p->maquina, p->codigo, 1000);
    EXPECT_EQ(r.fallo, "");
    EXPECT_TRUE(r.comparado);
  }
}
