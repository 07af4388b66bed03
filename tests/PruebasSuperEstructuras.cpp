#include <gtest/gtest.h>

#include <random>
#include <set>

#include "AyudaSuper.h"
#include "superscalar/TConjuntoEtiquetas.h"

// Tamaños que siguen a la configuración, y lo que reset deja.

namespace {

std::vector<int32_t> capacidadesER(const TMaquinaSuper& m) {
  std::vector<int32_t> v;
  for (int t = 0; t < NUM_TIPOS_UF; ++t) v.push_back(m.capacidadER(t));
  return v;
}

}  // namespace

TEST(SuperEstructuras, TamanosSegunLaConfiguracion) {
  TMaquinaSuper m;
  EXPECT_EQ(m.emision, 4);
  EXPECT_EQ(m.codigo, nullptr);
  EXPECT_EQ(capacidadesER(m), (std::vector<int32_t>{4, 6, 10, 14, 10, 3}));
  EXPECT_EQ(m.rob.capacidad(), 47);
  EXPECT_EQ(m.capacidadROB(), 47);
  EXPECT_EQ(m.prefetch.capacidad(), 8);
  EXPECT_EQ(m.decoder.capacidad(), 4);
  ASSERT_EQ(m.aluDir.size(), 2u);
  for (const auto& u : m.aluDir) {
    EXPECT_EQ(u.latencia, 1);
    EXPECT_EQ(u.tipo, 0);
  }
  for (int r = 0; r < NUM_REGISTROS; ++r) {
    EXPECT_EQ(m.robGPR[static_cast<size_t>(r)], -1);
    EXPECT_EQ(m.robFPR[static_cast<size_t>(r)], -1);
  }
  for (int32_t p : m.prediccion) EXPECT_EQ(p, 0);

  // Cambiar la configuración no se ve hasta el siguiente reset.
  m.emision = 16;
  m.numUF.fill(1);
  m.latUF.fill(1);
  m.latUF[tufSumaEntera] = 3;
  EXPECT_EQ(m.rob.capacidad(), 47);
  EXPECT_EQ(m.decoder.capacidad(), 4);
  m.reset(false);
  EXPECT_EQ(m.prefetch.capacidad(), 32);
  EXPECT_EQ(m.decoder.capacidad(), 16);
  EXPECT_EQ(capacidadesER(m), (std::vector<int32_t>{4, 2, 2, 2, 2, 2}));
  EXPECT_EQ(m.rob.capacidad(), 14);
  ASSERT_EQ(m.aluDir.size(), 1u);
  EXPECT_EQ(m.aluDir[0].latencia, 3);

  // Configuraciones absurdas se acotan a los límites de los diálogos.
  m.emision = 1;
  m.numUF.fill(0);
  m.latUF.fill(1000);
  m.reset(true);
  EXPECT_EQ(m.emision, MIN_EMISION);
  EXPECT_EQ(m.decoder.capacidad(), 2);
  EXPECT_EQ(m.capacidadER(tufMemoria), 101);
  EXPECT_EQ(m.capacidadER(-1), 0);
  EXPECT_EQ(m.capacidadER(NUM_TIPOS_UF), 0);
  m.emision = 99;
  m.reset(true);
  EXPECT_EQ(m.emision, MAX_EMISION);
}

TEST(SuperEstructuras, ResetDescartaUnaEjecucionAMedias) {
  auto c = compilar("5\nLF F1 0(R0)\nMULTF F2 F1 F1\nBNE R1 R0 X\nSF F2 1(R0)\nX: ADDI R3 R3 R3\n");
  TMaquinaSuper m;
  preparar(m, c.get());
  m.gpr.valor[1] = 1;
  m.gpr.valor[7] = 7;
  m.memoria.porcentajeFallos = 100;
  for (int i = 0; i < 8; ++i) m.ejecutarCiclo();
  ASSERT_FALSE(m.rob.vacia());
  ASSERT_TRUE(m.fpr.pendiente[2]);
  m.prediccion[2] = 3;
  m.reset(false);  // sin limpiar, las marcas de renombrado también desaparecen
  esperarVacia(m);
  for (const auto& unidades : m.uf)
    for (const auto& u : unidades) EXPECT_EQ(u.ocupadas, 0);
  EXPECT_EQ(m.gpr.valor[7], 7);
  EXPECT_EQ(m.prediccion[2], 0);
  EXPECT_EQ(m.robFPR[2], -1);
  EXPECT_EQ(m.estadisticas.instruccionesConfirmadas, 0);
  EXPECT_EQ(m.estadisticas.fallosCache, 0);
  EXPECT_TRUE(m.confirmadasCiclo.empty());
  EXPECT_EQ(m.ciclo, 0);
  EXPECT_EQ(m.pc, 0u);
  EXPECT_EQ(m.codigo, c.get());
  // La ejecución siguiente parte de cero y termina bien.
  m.memoria.porcentajeFallos = 0;
  EXPECT_EQ(ejecutarHastaFin(m), CICLO_COMPLETADO);
}

// El conjunto de etiquetas de las estaciones se recorre en el orden del ROB
// desde su cabeza: frente a un conjunto ordenado, con tamaños en los bordes de
// sus palabras y de su resumen (la configuración mayor tiene 6060 huecos),
// quitando durante el recorrido y parando a medias.
TEST(SuperEstructuras, ConjuntoDeEtiquetasEnOrdenDelROB) {
  std::mt19937 azar(7);
  for (int32_t tam : {1, 2, 63, 64, 65, 128, 780, 4095, 4096, 4097, 6060}) {
    TConjuntoEtiquetas c;
    c.redimensionar(tam);
    std::set<int32_t> ref;
    for (int ronda = 0; ronda < 60; ++ronda) {
      const int cambios = static_cast<int>(azar() % 40);
      for (int k = 0; k < cambios; ++k) {
        const auto e = static_cast<int32_t>(azar() % static_cast<uint32_t>(tam));
        if (azar() % 3 == 0) {
          c.quitar(e);
          ref.erase(e);
        } else {
          c.poner(e);
          ref.insert(e);
        }
      }
      ASSERT_EQ(c.numElementos(), static_cast<int32_t>(ref.size()));
      const auto inicio = static_cast<int32_t>(azar() % static_cast<uint32_t>(tam));
      std::vector<int32_t> esperado(ref.lower_bound(inicio), ref.end());
      esperado.insert(esperado.end(), ref.begin(), ref.lower_bound(inicio));
      // Se quita uno de cada tres visitados y se para, a veces, a mitad.
      const size_t parar = azar() % 2 == 0 ? esperado.size() : azar() % (esperado.size() + 1);
      std::vector<int32_t> visto;
      c.recorrer(inicio, [&](int32_t e) {
        visto.push_back(e);
        if (visto.size() % 3 == 0) {
          c.quitar(e);
          ref.erase(e);
        }
        return visto.size() < parar;
      });
      esperado.resize(std::min(esperado.size(), std::max<size_t>(parar, 1)));
      ASSERT_EQ(visto, esperado) << "tamaño " << tam << ", ronda " << ronda << ", desde " << inicio;
      for (int32_t e = 0; e < tam; e += std::max(1, tam / 97)) ASSERT_EQ(c.contiene(e), ref.count(e) == 1);
    }
    c.limpiar();
    EXPECT_TRUE(c.vacio());
    int visitas = 0;
    c.recorrer(0, [&](int32_t) { return ++visitas > 0; });
    EXPECT_EQ(visitas, 0);
    // Fuera de rango no cambia nada.
    c.poner(-1);
    c.poner(tam);
    EXPECT_TRUE(c.vacio());
  }
}

// Las copias en vuelo se reutilizan por dirección: una copia que vuelve a
// buscarse lleva el breakpoint y el color que tiene entonces el programa, no
// los que tenía (el color de una copia lo cambia el usuario en el ROB), y otro
// programa no hereda las copias del anterior.
TEST(SuperEstructuras, CopiasReutilizadasConLasMarcasDelPrograma) {
  auto c = compilar("3\nL: DADDUI R1 R1 #1\nADDI R3 R3 R1\nBNE R1 R2 L\n");
  TMaquinaSuper m;
  preparar(m, c.get());
  m.gpr.valor[2] = 50;
  std::vector<const TInstruccion*> vistas;
  for (int i = 0; i < 60; ++i) {
    m.ejecutarCiclo();
    for (int32_t k = 0; k < m.rob.numElementos(); ++k) {
      TInstruccion& ins = *m.rob.enOrden(k)->instruccion;
      vistas.push_back(&ins);
      ins.color = 5;  // lo que haría el usuario con un doble clic
    }
  }
  c->instrucciones[1].breakpoint = true;
  c->instrucciones[1].color = 2;
  const int64_t desde = m.contadorSecuencia;  // lo buscado antes lleva las marcas de entonces
  bool buscadaDeNuevo = false;
  for (int i = 0; i < 30 && !buscadaDeNuevo; ++i) {
    if (m.ejecutarCiclo() == CICLO_BREAKPOINT) m.paradaBreakpoint = false;
    for (int32_t k = 0; k < m.prefetch.numElementos(); ++k) {
      const TInstruccion& ins = *m.prefetch.enOrden(k)->instruccion;
      if (ins.direccion != 1 || ins.secuencia < desde) continue;
      buscadaDeNuevo = std::find(vistas.begin(), vistas.end(), &ins) != vistas.end();
      EXPECT_TRUE(ins.breakpoint);
      EXPECT_EQ(ins.color, 2);
      EXPECT_EQ(ins.texto(), "ADDI R3 R3 R1");
    }
  }
  EXPECT_TRUE(buscadaDeNuevo) << "la copia reutilizada es una de las de antes";

  // Otro programa, del mismo tamaño, con la misma máquina.
  auto otro = compilar("3\nM: DADDUI R4 R4 #2\nMULTI R5 R4 R4\nBNE R4 R2 M\n");
  m.codigo = otro.get();
  m.reset(true);
  m.gpr.valor[2] = 20;
  for (int i = 0; i < 40; ++i) {
    m.ejecutarCiclo();
    for (int32_t k = 0; k < m.prefetch.numElementos(); ++k) {
      const TInstruccion& ins = *m.prefetch.enOrden(k)->instruccion;
      EXPECT_EQ(ins.texto(), otro->instrucciones[static_cast<size_t>(ins.direccion)].texto());
      EXPECT_FALSE(ins.breakpoint);
    }
  }
}
