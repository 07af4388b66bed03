#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <vector>

#include "AyudaDiferencial.h"
#include "AyudaSuper.h"
#include "AyudaVLIW.h"
#include "loader/TCodigo.h"

TEST(Ejemplos, TodosLosProgramasCargan) {
  namespace fs = std::filesystem;
  int programas = 0;
  for (const auto& e : fs::directory_iterator(ORVEX_DIR_EJEMPLOS)) {
    const std::string ext = e.path().extension().string();
    if (ext != ".pla" && ext != ".bun") continue;
    TCodigo c;
    EXPECT_EQ(c.cargar(e.path().string()), 0) << e.path() << ": " << c.detalleError;
    EXPECT_GT(c.numInstrucciones, 0) << e.path();
    ++programas;
  }
  EXPECT_GE(programas, 5);
}

// ---------------------------------------------------------------------------
// Los ejemplos que enseñan una cosa concreta: su resultado exacto en las dos
// máquinas y lo que su comentario dice que se ve.

namespace {

std::string ejemplo(const std::string& nombre) { return std::string(ORVEX_DIR_EJEMPLOS) + "/" + nombre; }

// Superescalar por defecto hasta el final; «cadaCiclo» mira la máquina tras cada ciclo.
void ejecutarSuper(TMaquinaSuper& m, const TCodigo& c, const std::function<void()>& cadaCiclo = {}) {
  preparar(m, &c);
  for (int i = 0; i < 10000; ++i) {
    const int8_t r = m.ejecutarCiclo();
    if (cadaCiclo) cadaCiclo();
    if (r == CICLO_COMPLETADO) return;
    ASSERT_EQ(r, CICLO_NORMAL) << m.mensajeError;
  }
  FAIL() << "no termina";
}

// VLIW por defecto con la planificación en serie, que vale para cualquier programa.
void ejecutarVLIWEnSerie(TMaquinaVLIW& m, const TCodigo& c) {
  diferencial::TAzarSemilla azar(5);
  diferencial::planificarEnSerie(m, c, azar);
  int32_t larga = 0, operacion = 0;
  ASSERT_EQ(m.comprobarCodigo(larga, operacion), CHEQUEO_OK);
  m.memoria.sembrar(1);
  m.reset(true);
  ASSERT_EQ(ayuda::ejecutar(m, nullptr, 10000), CICLO_COMPLETADO);
}

template <typename Maquina>
std::vector<float> palabras(const Maquina& m, size_t desde, size_t n) {
  return std::vector<float>(m.memoria.datos.begin() + static_cast<long>(desde),
                            m.memoria.datos.begin() + static_cast<long>(desde + n));
}

}  // namespace

TEST(EjemploDependenciaIteraciones, SumasParcialesYUnaADDFCadaCuatroCiclos) {
  TCodigo c;
  ASSERT_EQ(c.cargar(ejemplo("dependencia_iteraciones.pla")), CARGA_OK) << c.detalleError;
  const std::vector<float> sumas = {1, 3, 6, 10, 15, 21, 28, 36};
  TMaquinaSuper s;
  std::vector<int32_t> ciclosADDF;  // en que se confirma la ADDF del acumulador (instrucción 10)
  ejecutarSuper(s, c, [&] {
    for (int32_t d : s.confirmadasCiclo)
      if (d == 10) ciclosADDF.push_back(s.ciclo);
  });
  EXPECT_EQ(palabras(s, 10, 8), sumas);
  EXPECT_EQ(s.fpr.valor[0], 36.0f);
  ASSERT_EQ(ciclosADDF.size(), 8u);
  // Con el predictor ya acertando, la cadena de ADDF marca el paso: su latencia.
  EXPECT_EQ(std::vector<int32_t>(ciclosADDF.begin() + 3, ciclosADDF.end()), (std::vector<int32_t>{77, 81, 85, 89, 93}));

  TMaquinaVLIW v;
  ejecutarVLIWEnSerie(v, c);
  EXPECT_EQ(palabras(v, 10, 8), sumas);
}

TEST(EjemploSaltoAprendido, ElSaltoInteriorSoloFallaALaSalidaTrasLaPrimeraPasada) {
  TCodigo c;
  ASSERT_EQ(c.cargar(ejemplo("salto_aprendido.pla")), CARGA_OK) << c.detalleError;
  TMaquinaSuper s;
  // Un fallo de predicción vacía el cauce tras confirmar el salto: es el último
  // confirmado en el ciclo en que crece la cuenta.
  std::map<int32_t, int> fallos;
  int64_t antes = 0;
  ejecutarSuper(s, c, [&] {
    if (s.estadisticas.fallosPrediccion > antes && !s.confirmadasCiclo.empty()) ++fallos[s.confirmadasCiclo.back()];
    antes = s.estadisticas.fallosPrediccion;
  });
  EXPECT_EQ(s.gpr.valor[5], 18);
  EXPECT_EQ(s.memoria.datos[0], 18.0f);
  EXPECT_EQ(s.estadisticas.fallosPrediccion, 8);
  EXPECT_EQ(fallos, (std::map<int32_t, int>{{7, 3 + 1 + 1}, {9, 3}}));
  EXPECT_EQ(s.prediccion[7], 2);  // V(10) tras la última salida
  EXPECT_EQ(s.prediccion[9], 2);

  TMaquinaVLIW v;
  ejecutarVLIWEnSerie(v, c);
  EXPECT_EQ(v.gpr.valor[5], 18);
  EXPECT_EQ(v.memoria.datos[0], 18.0f);
}

TEST(EjemploConflictoMemoria, LaCargaDeLaMismaPalabraEsperaAlAlmacenamiento) {
  TCodigo c;
  ASSERT_EQ(c.cargar(ejemplo("conflicto_memoria.pla")), CARGA_OK) << c.detalleError;
  const std::vector<float> resultado = {12, 7, 19};
  TMaquinaSuper s;
  // Cómo están las dos cargas en el ciclo anterior a la confirmación del SF (13).
  struct TCargas {
    uint8_t etapa14 = 255;
    bool esperando15 = false;  // en la estación Mem, con su dirección (10) y sin unidad
  } antes, ahora;
  bool confirmado = false;
  ejecutarSuper(s, c, [&] {
    if (confirmado) return;
    antes = ahora;
    ahora = TCargas();
    int32_t dir15 = -1;
    for (int32_t i = 0; i < s.rob.numElementos(); ++i) {
      const TEntradaROB* e = s.rob.enOrden(i);
      if (e->instruccion->direccion == 14) ahora.etapa14 = e->etapa;
      if (e->instruccion->direccion == 15) dir15 = e->dirMem;
    }
    for (const TEntradaER& e : s.er[tufMemoria])
      if (e.instruccion->direccion == 15) ahora.esperando15 = e.uf == -1 && dir15 == 10;
    for (int32_t d : s.confirmadasCiclo) confirmado = confirmado || d == 13;
  });
  ASSERT_TRUE(confirmado);
  EXPECT_EQ(antes.etapa14, ETAPA_WRITE);  // la palabra 11 ya se leyó
  EXPECT_TRUE(antes.esperando15);         // la palabra 10 espera en su estación
  EXPECT_EQ(palabras(s, 10, 3), resultado);
  EXPECT_EQ(s.fpr.valor[5], 12.0f);

  // La planificación escrita a mano pasa la comprobación y da lo mismo.
  TMaquinaVLIW v;
  ASSERT_TRUE(v.cargarCodigo(ejemplo("conflicto_memoria.vliw"), c));
  int32_t larga = 0, operacion = 0;
  EXPECT_EQ(v.comprobarConfiguracion(), CHEQUEO_OK);
  EXPECT_EQ(v.comprobarCodigo(larga, operacion), CHEQUEO_OK);
  v.memoria.sembrar(1);
  v.reset(true);
  ASSERT_EQ(ayuda::ejecutar(v), CICLO_COMPLETADO);
  EXPECT_EQ(palabras(v, 10, 3), resultado);

  // Lo que el comentario avisa: con la LF de F5 antes del SF la comprobación
  // no protesta, pero lee el valor viejo.
  TMaquinaVLIW mal;
  ASSERT_TRUE(mal.cargarCodigo(ejemplo("conflicto_memoria.vliw"), c));
  auto& desde = mal.codigo.instrucciones[15].operaciones;
  ASSERT_EQ(desde.size(), 1u);
  mal.codigo.instrucciones[6].anadir(std::move(desde.front()));
  desde.clear();
  EXPECT_EQ(mal.comprobarCodigo(larga, operacion), CHEQUEO_OK);
  mal.memoria.sembrar(1);
  mal.reset(true);
  ASSERT_EQ(ayuda::ejecutar(mal), CICLO_COMPLETADO);
  EXPECT_EQ(mal.fpr.valor[5], 5.0f);
  EXPECT_EQ(mal.memoria.datos[12], 12.0f);

  TMaquinaVLIW serie;
  ejecutarVLIWEnSerie(serie, c);
  EXPECT_EQ(palabras(serie, 10, 3), resultado);
}
