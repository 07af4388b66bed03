// La planificación del alumno frente a la automática: las dos acaban con el
// mismo resultado, desde el mismo estado, sin tocar la máquina del alumno.

#include <gtest/gtest.h>

#include <string>

#include "session/TComparacionPlanificacion.h"
#include "session/TSesion.h"
#include "vliw/TInstantaneaVLIW.h"
#include "vliw/TPlanificadorVLIW.h"

namespace {

struct Ejemplo {
  TCodigo secuencial;
  TMaquinaVLIW maquina;

  explicit Ejemplo(const std::string& nombre, bool conVLIW = true) {
    const std::string base = std::string(ORVEX_DIR_EJEMPLOS) + "/" + nombre;
    EXPECT_EQ(secuencial.cargar(base + ".pla"), CARGA_OK);
    if (conVLIW) {
      EXPECT_TRUE(maquina.cargarCodigo(base + ".vliw", secuencial));
    }
  }
};

void mismoResultado(const TMaquinaVLIW& a, const TMaquinaVLIW& b) {
  EXPECT_EQ(a.gpr.valor, b.gpr.valor);
  for (size_t i = 0; i < NUM_REGISTROS; ++i) EXPECT_EQ(a.fpr.valor[i], b.fpr.valor[i]) << "F" << i;
  for (size_t i = 0; i < TAM_MEMORIA; ++i) ASSERT_EQ(a.memoria.datos[i], b.memoria.datos[i]) << "memoria " << i;
}

}  // namespace

TEST(ComparacionPlanificacion, LasDosAcabanIgualYLaMaquinaDelAlumnoNoCambia) {
  for (const char* nombre : {"vector_suma", "conflicto_memoria"}) {
    for (int32_t fallos : {0, 100}) {
      SCOPED_TRACE(std::string(nombre) + " con fallos " + std::to_string(fallos));
      Ejemplo e(nombre);
      e.maquina.memoria.porcentajeFallos = fallos;
      e.maquina.gpr.valor[9] = 3;  // un valor de partida que no es el de reset
      e.maquina.codigo.instrucciones[0].breakpoint = true;
      TInstantaneaVLIW antes;
      e.maquina.capturar(antes);

      TComparacionPlanificacion c;
      c.comparar(e.maquina, e.secuencial, false, 1234);
      ASSERT_EQ(c.alumno.inicio, SESION_OK);
      ASSERT_EQ(c.automatica.inicio, SESION_OK);
      EXPECT_TRUE(c.alumno.terminada) << c.alumno.error;
      EXPECT_TRUE(c.automatica.terminada) << c.automatica.error;
      mismoResultado(*c.alumno.maquina, *c.automatica.maquina);
      EXPECT_TRUE(c.alumno.veredicto.igual) << c.alumno.veredicto.texto();
      EXPECT_TRUE(c.automatica.veredicto.igual) << c.automatica.veredicto.texto();
      EXPECT_EQ(c.alumno.instruccionesLargas, e.maquina.codigo.numInstrucciones);
      EXPECT_EQ(c.alumno.operaciones, TComparacionPlanificacion::operacionesDe(e.maquina.codigo));
      EXPECT_GT(c.automatica.densidad(), 0.0);
      EXPECT_GT(c.alumno.operacionesPorEmitida(), 0.0);

      TInstantaneaVLIW despues;
      e.maquina.capturar(despues);
      EXPECT_EQ(antes, despues);
      EXPECT_TRUE(e.maquina.codigo.instrucciones[0].breakpoint);
    }
  }
}

TEST(ComparacionPlanificacion, LaMismaSemillaDaLaMismaEjecucion) {
  Ejemplo e("vector_suma");
  e.maquina.memoria.porcentajeFallos = 50;
  TComparacionPlanificacion a, b;
  a.comparar(e.maquina, e.secuencial, true, 77);
  b.comparar(e.maquina, e.secuencial, true, 77);
  EXPECT_EQ(a.alumno.ciclos, b.alumno.ciclos);
  EXPECT_EQ(a.automatica.ciclos, b.automatica.ciclos);
  EXPECT_EQ(a.automatica.estadisticas, b.automatica.estadisticas);
}

TEST(ComparacionPlanificacion, SinProgramaDelAlumnoOQueNoCabeSoloCorreLaAutomatica) {
  Ejemplo vacio("suma_bucle", false);
  TComparacionPlanificacion c;
  c.comparar(vacio.maquina, vacio.secuencial, true, 1);
  EXPECT_NE(c.alumno.inicio, SESION_OK);
  EXPECT_EQ(c.automatica.inicio, SESION_OK);
  EXPECT_TRUE(c.automatica.terminada);

  // Tres unidades de memoria en el programa y una en la máquina.
  Ejemplo ancho("conflicto_memoria");
  ancho.maquina.numUF[tufMemoria] = 1;
  c.comparar(ancho.maquina, ancho.secuencial, true, 1);
  EXPECT_EQ(c.alumno.inicio, SESION_CONFIGURACION);
  EXPECT_TRUE(c.automatica.terminada);
}
