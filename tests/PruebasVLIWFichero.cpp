#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include <unistd.h>

#include "AyudaVLIW.h"

using ayuda::construir;
using ayuda::secuencial;

namespace {

namespace fs = std::filesystem;

const char* const PROGRAMA =
    "5\n"
    "ADDI R1 R2 R3\n"
    "LF F1 0(R1)\n"
    "MULTF F2 F1 F1\n"
    "BNE R1 R2 X\n"
    "X: SF F2 0(R1)\n";

class FicheroVLIW : public ::testing::Test {
protected:
  TCodigo s = secuencial(PROGRAMA);
  TCodigoVLIW programa;
  fs::path dir;

  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    dir = fs::temp_directory_path() /
          ("orvex_vliw_" + std::string(info->name()) + "_" + std::to_string(::getpid()));
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }

  std::string ruta(const std::string& nombre) const { return (dir / nombre).string(); }

  std::string escribir(const std::string& contenido) {
    const std::string r = ruta("entrada.vliw");
    std::ofstream(r, std::ios::binary) << contenido;
    return r;
  }
  static std::string leer(const std::string& r) {
    std::ifstream f(r, std::ios::binary);
    std::stringstream ss;
    ss << f.rdbuf();
    return ss.str();
  }
};

void esperarIguales(const TCodigoVLIW& a, const TCodigoVLIW& b) {
  ASSERT_EQ(a.numInstrucciones, b.numInstrucciones);
  for (int32_t i = 0; i < a.numInstrucciones; ++i) {
    const auto& x = a.instruccion(i)->operaciones;
    const auto& y = b.instruccion(i)->operaciones;
    ASSERT_EQ(x.size(), y.size()) << "instrucción larga " << i;
    for (size_t j = 0; j < x.size(); ++j) {
      SCOPED_TRACE(testing::Message() << "instrucción larga " << i << ", operación " << j);
      EXPECT_EQ(x[j]->direccion, y[j]->direccion);
      EXPECT_EQ(x[j]->codOp, y[j]->codOp);
      EXPECT_EQ(x[j]->texto(), y[j]->texto());
      for (int k = 0; k < 3; ++k) EXPECT_EQ(x[j]->op[k], y[j]->op[k]);
      EXPECT_EQ(x[j]->tipoUF, y[j]->tipoUF);
      EXPECT_EQ(x[j]->numUnidad, y[j]->numUnidad);
      EXPECT_EQ(x[j]->predicado, y[j]->predicado);
      EXPECT_EQ(x[j]->predVerdadero, y[j]->predVerdadero);
      EXPECT_EQ(x[j]->predFalso, y[j]->predFalso);
    }
  }
}

}  // namespace

TEST_F(FicheroVLIW, FormatoExactoDelEjemplo) {
  construir(programa, s, {{{0}, {3, 0, 0, 0, 1, 2}}, {}});
  const std::string r = ruta("ejemplo.vliw");
  ASSERT_TRUE(programa.guardar(r));
  EXPECT_EQ(leer(r), "2\n2\t0 0 0 0\t3 5 0 0 0 1 2\n0\n");

  TCodigoVLIW vacio;
  ASSERT_TRUE(vacio.guardar(r));
  EXPECT_EQ(leer(r), "0\n");
  programa.instruccion(0)->breakpoint = true;
  ASSERT_TRUE(programa.cargar(r, s));
  EXPECT_EQ(programa.numInstrucciones, 0);
  EXPECT_EQ(programa.instruccion(0), nullptr);
}

TEST_F(FicheroVLIW, IdaYVueltaDaElMismoPrograma) {
  // Guardas, varias unidades, una instrucción larga vacía y destinos fuera del programa.
  construir(programa, s,
            {{{0, 1, 0}, {1, 0, 0}},
             {},
             {{2, 0, 3}, {3, 0, 0, 99, 3, 4}, {4, 1, 4}},
             {{3, 0, 7, -3, 5, 5}}});
  programa.instruccion(2)->breakpoint = true;
  const std::string r = ruta("programa.vliw");
  ASSERT_TRUE(programa.guardar(r));
  TCodigoVLIW leido;
  ASSERT_TRUE(leido.cargar(r, s));
  esperarIguales(programa, leido);
  for (int32_t i = 0; i < leido.numInstrucciones; ++i) EXPECT_FALSE(leido.instruccion(i)->breakpoint);
}

TEST_F(FicheroVLIW, CualquierDisposicionDeBlancosSeLeeIgual) {
  TCodigoVLIW referencia;
  ASSERT_TRUE(referencia.cargar(escribir("2\n2\t0 0 0 0\t3 5 0 0 0 1 2\n1\t1 4 1 0\n"), s));
  for (const std::string texto : {"2\r\n2\t0 0 0 0\t3 5 0 0 0 1 2\r\n1\t1 4 1 0\r\n",
                                   "2 2 0 0 0 0 3 5 0 0 0 1 2 1 1 4 1 0",
                                   "  2\n\n2 \t 0  0\n0 0\v3 5 0\f0 0 1 2\n\t1\t1 4 1 0"}) {
    SCOPED_TRACE(texto);
    TCodigoVLIW p;
    ASSERT_TRUE(p.cargar(escribir(texto), s));
    esperarIguales(referencia, p);
  }
}

TEST_F(FicheroVLIW, OtroProgramaSecuencialConLosMismosTiposSirve) {
  const TCodigo otro = secuencial("5\nDADDUI R9 R9 #4\nSI R8 3(R2)\nMULTF F7 F7 F7\nBEQ R4 R4 Y\nY: LI R1 0(R0)\n");
  ASSERT_TRUE(programa.cargar(escribir("1\n3\t0 0 0 0\t1 4 1 0\t3 5 0 0 2 1 2\n"), otro));
  const auto& ops = programa.instruccion(0)->operaciones;
  EXPECT_EQ(ops[0]->texto(), "DADDUI R9 R9 #4");
  EXPECT_EQ(ops[1]->texto(), "SI R8 3(R2)");
  EXPECT_EQ(ops[2]->codOp, BEQ);
  EXPECT_EQ(ops[2]->op[2], 2);
}

// Cada fichero malo deja el programa vacío y dice, como los programas fuente,
// en qué línea y qué estaba mal.
TEST_F(FicheroVLIW, FicherosMalFormadosDejanElProgramaVacioYDicenPorQue) {
  const std::vector<std::pair<std::string, std::string>> malos = {
      {"", "el fichero está vacío"},
      {"x\n", "línea 1: se esperaba el número de instrucciones largas y se encontró x"},
      {"1\n1\t0 0 0", "línea 2: el fichero acaba antes de tiempo: falta el predicado de la operación 0"},
      {"2\n0\n", "línea 2: se esperaban 2 instrucciones largas y hay 1"},
      {"-1\n", "línea 1: número de instrucciones largas negativo: -1"},
      {"1\n-1\n", "línea 2: número de operaciones negativo: -1"},
      {"100001\n", "línea 1: demasiadas instrucciones largas: 100001 (como mucho 100000)"},
      {"1\n61\n", "línea 2: demasiadas operaciones: 61 (como mucho 60)"},
      {"1\n1\t5 0 0 0\n", "línea 2: la instrucción 5 no está en el programa fuente, que tiene 5"},
      {"1\n1\t-1 0 0 0\n", "línea 2: la instrucción -1 no está en el programa fuente, que tiene 5"},
      {"1\n1\t1 0 0 0\n", "línea 2: la instrucción 1 (LF F1 0(R1)) va en una unidad Mem, no +Entera"},
      {"1\n1\t0 7 0 0\n", "línea 2: tipo de unidad no válido: 7"},
      {"1\n1\t0 -1 0 0\n", "línea 2: tipo de unidad no válido: -1"},
      {"1\n1\t0 0 -1 0\n", "línea 2: unidad no válida: +Entera -1"},
      {"1\n1\t0 0 0 64\n", "línea 2: registro de predicado no válido: 64"},
      {"1\n1\t0 0 0 -1\n", "línea 2: registro de predicado no válido: -1"},
      {"1\n1\t3 5 0 0 0 0 2\n", "línea 2: registro de predicado de un salto no válido: 0 (de 1 a 63)"},
      {"1\n1\t3 5 0 0 0 1 0\n", "línea 2: registro de predicado de un salto no válido: 0 (de 1 a 63)"},
      {"1\n1\t3 5 0 0 0 1 64\n", "línea 2: registro de predicado de un salto no válido: 64 (de 1 a 63)"},
      {"1\n1\t3 5 0 0 0 1\n",
       "línea 2: el fichero acaba antes de tiempo: falta el predicado falso del salto de la operación 0"},
      {"1\n2\t0 0 0 0\t0 0 0 0\n", "línea 2: la unidad +Entera 0 tiene dos operaciones en la instrucción larga 0"},
      {"1\n1\t0 0 2147483648 0\n", "línea 2: número demasiado grande: 2147483648"},
      {"1\n1\t0 0 -2147483649 0\n", "línea 2: número demasiado grande: -2147483649"},
      {"1\n1\t0 0 0 0x\n", "línea 2: se esperaba el predicado de la operación 0 y se encontró 0x"},
      {"1\n1\t0 0 +1 0\n", "línea 2: se esperaba la unidad de la operación 0 y se encontró +1"},
      {"1\n1\t0 0 - 1 0\n", "línea 2: se esperaba la unidad de la operación 0 y se encontró -"},
      {std::string("1\n1\t0 0 0\0 0\n", 13), "línea 2: se esperaba la unidad de la operación 0 y se encontró 0?"},
      // Una línea con menos operaciones de las que anuncia: lo que se lee
      // después es de la línea siguiente, y eso no se cuenta.
      {"2\n3\t0 0 0 0\t1 4 0 0\n1\t2 3 0 0\n", "línea 2: se esperaban 3 operaciones y hay 2"},
      {"1\n2\t0 0 0 0\n", "línea 2: se esperaban 2 operaciones y hay 1"},
      {"1\n1\n", "línea 2: se esperaban 1 operaciones y hay 0"},
      {"3\n0\n\n0\n1\t0 1 0 0\n", "línea 5: la instrucción 0 (ADDI R1 R2 R3) va en una unidad +Entera, no xEntera"},
      {"2\r\n1\t0 0 0 0\r\n\r\n1\t9 0 0 0\r\n", "línea 4: la instrucción 9 no está en el programa fuente, que tiene 5"},
  };
  for (const auto& [texto, detalle] : malos) {
    SCOPED_TRACE(texto);
    construir(programa, s, {{{0}}});
    EXPECT_FALSE(programa.cargar(escribir(texto), s));
    EXPECT_EQ(programa.numInstrucciones, 0);
    EXPECT_TRUE(programa.instrucciones.empty());
    EXPECT_EQ(programa.detalleError, detalle);
  }
  EXPECT_FALSE(programa.cargar(ruta("no_existe.vliw"), s));
  EXPECT_EQ(programa.detalleError, "no se puede abrir el fichero");
  // Una carga buena borra el motivo de la anterior.
  ASSERT_TRUE(programa.cargar(escribir("1\n1\t0 0 0 0\n"), s));
  EXPECT_TRUE(programa.detalleError.empty());
  EXPECT_EQ(programa.instruccion(0)->linea, 2);
}

// Una unidad que la configuración no tiene: la línea del fichero (o, en un
// programa hecho en el editor, la instrucción larga) y la unidad.
TEST_F(FicheroVLIW, DetalleDeUnaUnidadFueraDeLaConfiguracion) {
  TMaquinaVLIW m;
  m.numUF[tufMemoria] = 3;
  m.reset(false);
  ASSERT_TRUE(m.cargarCodigo(escribir("3\n1\t0 0 0 0\n0\n2\t1 4 3 0\t0 0 1 0\n"), s));
  EXPECT_EQ(m.comprobarConfiguracion(), CHEQUEO_CONFIGURACION);
  EXPECT_EQ(m.detalleConfiguracion(), "línea 4: unidad Mem 3 fuera de la configuración");
  construir(m.codigo, s, {{}, {{0, 2}}});
  EXPECT_EQ(m.detalleConfiguracion(), "instrucción larga 1: unidad +Entera 2 fuera de la configuración");
  construir(m.codigo, s, {{{0, 1}}});
  EXPECT_EQ(m.comprobarConfiguracion(), CHEQUEO_OK);
  EXPECT_EQ(m.detalleConfiguracion(), "");
}

TEST_F(FicheroVLIW, LoQueNoEsAsuntoDelLectorSeAcepta) {
  // Unidad enorme (la rechaza comprobarConfiguracion) y destino absurdo.
  ASSERT_TRUE(programa.cargar(escribir("1\n2\t0 0 2147483647 0\t3 5 0 0 -2147483648 1 1\n"), s));
  EXPECT_EQ(programa.instruccion(0)->operaciones[0]->numUnidad, 2147483647);
  EXPECT_EQ(programa.instruccion(0)->operaciones[1]->op[2], -2147483647 - 1);

  TMaquinaVLIW m;
  ASSERT_TRUE(m.cargarCodigo(escribir("1\n1\t1 4 2 0\n"), s));
  EXPECT_EQ(m.comprobarConfiguracion(), CHEQUEO_CONFIGURACION);
}

TEST_F(FicheroVLIW, GuardarInformaDeLosFallos) {
  construir(programa, s, {{{0}}});
  EXPECT_FALSE(programa.guardar(ruta("no/existe/x.vliw")));
  // Un dispositivo no se sustituye por un fichero, tampoco con permisos de root.
  if (fs::exists("/dev/full")) {
    EXPECT_FALSE(programa.guardar("/dev/full"));
    EXPECT_TRUE(fs::is_character_file("/dev/full"));
  }
}

// Encima de un programa viejo: un fallo a medias (disco lleno en el segundo
// bloque) lo deja intacto y dice por qué.
TEST_F(FicheroVLIW, GuardarEncimaConUnFalloDejaElViejo) {
  const std::string viejo = ruta("viejo.vliw");
  std::ofstream(viejo, std::ios::binary) << "0\n";
  construir(programa, s, {{{0}}, {{0}}});
  TEscrituraSegura escritura;
  escritura.tamBloque = 4;
  int bloques = 0;
  escritura.inyectarFallo = [&](TEscrituraSegura::TPaso p) {
    return p == TEscrituraSegura::pasoEscribir && ++bloques == 2 ? ENOSPC : 0;
  };
  EXPECT_EQ(programa.guardar(viejo, escritura), ESCRITURA_FALLA);
  EXPECT_NE(escritura.motivo.find("no queda espacio en el disco"), std::string::npos) << escritura.motivo;
  EXPECT_EQ(leer(viejo), "0\n");
  escritura.inyectarFallo = nullptr;
  EXPECT_EQ(programa.guardar(viejo, escritura), ESCRITURA_OK);
  EXPECT_EQ(leer(viejo), "2\n1\t0 0 0 0\n1\t0 0 0 0\n");
}

// Planificación propia del ejemplo vector_suma.pla (tests/datos/vector_suma.vliw).
TEST(EjemploVLIW, VectorSumaPlanificadoDaElResultadoConYSinFallos) {
  TCodigo s;
  ASSERT_EQ(s.cargar(std::string(ORVEX_DIR_EJEMPLOS) + "/vector_suma.pla"), CARGA_OK);
  for (int porcentaje : {0, 50, 100}) {
    SCOPED_TRACE(porcentaje);
    TMaquinaVLIW m;
    ASSERT_TRUE(m.cargarCodigo(std::string(ORVEX_DIR_DATOS) + "/vector_suma.vliw", s));
    int32_t larga = 0, operacion = 0;
    EXPECT_EQ(m.comprobarConfiguracion(), CHEQUEO_OK);
    EXPECT_EQ(m.comprobarCodigo(larga, operacion), CHEQUEO_OK)
        << TMaquinaVLIW::mensajeChequeo(m.comprobarCodigo(larga, operacion), larga, operacion);
    m.memoria.sembrar(3);
    m.memoria.porcentajeFallos = porcentaje;
    ASSERT_EQ(ayuda::ejecutar(m, nullptr, 5000), CICLO_COMPLETADO);
    for (int i = 0; i < 8; ++i) EXPECT_EQ(m.memoria.datos[static_cast<size_t>(i)], static_cast<float>(i + 3));
    EXPECT_EQ(m.estadisticas.saltosTomados, 14);
    if (porcentaje == 100) {
      EXPECT_EQ(m.estadisticas.fallosCache, 9);
    }
  }
}
