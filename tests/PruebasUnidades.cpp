#include <gtest/gtest.h>

#include "machine/TCola.h"
#include "machine/TUnidadFuncional.h"

TEST(UnidadFuncional, LatenciaUnoAceptaCadaCiclo) {
  TUnidadFuncional u;
  u.inicializar(1);
  TInstruccion a, b;
  EXPECT_EQ(u.salida, 0);
  EXPECT_EQ(u.insertar(&a), 0);
  EXPECT_FALSE(u.puedeAceptar());
  EXPECT_EQ(u.enSalida(), &a);
  u.avanzar();
  EXPECT_EQ(u.salida, 0);
  EXPECT_EQ(u.ocupadas, 0);
  EXPECT_TRUE(u.puedeAceptar());
  u.insertar(&b);
  EXPECT_EQ(u.enSalida(), &b);
}

TEST(UnidadFuncional, LatenciaCuatroSaleTrasTresAvances) {
  TUnidadFuncional u;
  u.inicializar(4);
  TInstruccion a;
  u.insertar(&a);
  EXPECT_EQ(u.ocupadas, 1);
  for (int i = 0; i < 3; ++i) {
    EXPECT_NE(u.enSalida(), &a);
    u.avanzar();
    EXPECT_EQ(u.ocupadas, 1);
  }
  EXPECT_EQ(u.enSalida(), &a);
  EXPECT_EQ(u.etapaVista(4), &a);  // la última fila de la vista es la salida
  u.avanzar();
  EXPECT_EQ(u.ocupadas, 0);
  EXPECT_EQ(u.enSalida(), nullptr);
}

TEST(UnidadFuncional, SegmentadaAceptaUnaPorCiclo) {
  TUnidadFuncional u;
  u.inicializar(3);
  TInstruccion a, b, c;
  u.insertar(&a);
  u.avanzar();
  ASSERT_TRUE(u.puedeAceptar());
  u.insertar(&b);
  u.avanzar();
  ASSERT_TRUE(u.puedeAceptar());
  u.insertar(&c);
  EXPECT_EQ(u.ocupadas, 3);
  EXPECT_EQ(u.enSalida(), &a);
  EXPECT_EQ(u.etapaVista(1), &c);
}

TEST(UnidadFuncional, ParadaCongelaLasEtapas) {
  TUnidadFuncional u;
  u.inicializar(4);
  TInstruccion a, b;
  u.insertar(&a);
  for (int i = 0; i < 3; ++i) u.avanzar();
  ASSERT_EQ(u.enSalida(), &a);
  u.parada = 3;
  const int32_t salida = u.salida;
  for (int esperado = 2; esperado >= 0; --esperado) {
    u.avanzar();
    EXPECT_EQ(u.parada, esperado);
  }
  EXPECT_EQ(u.salida, salida);
  EXPECT_EQ(u.enSalida(), &a);

  // Parada con la entrada libre: acepta una más y después ninguna hasta que se mueva.
  u.parada = 2;
  ASSERT_TRUE(u.puedeAceptar());
  u.insertar(&b);
  EXPECT_FALSE(u.puedeAceptar());
  u.avanzar();
  EXPECT_FALSE(u.puedeAceptar());
}

TEST(UnidadFuncional, ParadaNegativaNoBloquea) {
  TUnidadFuncional u;
  u.inicializar(2);
  TInstruccion a;
  u.insertar(&a);
  u.parada = -5;
  u.avanzar();
  u.avanzar();
  EXPECT_EQ(u.parada, 0);
  EXPECT_EQ(u.ocupadas, 0);
}

TEST(UnidadFuncional, VaciarNoLiberaYReinicia) {
  TUnidadFuncional u;
  u.inicializar(3);
  TInstruccion a;
  u.insertar(&a);
  u.avanzar();
  u.parada = 4;
  u.vaciar();
  EXPECT_EQ(u.ocupadas, 0);
  EXPECT_EQ(u.parada, 0);
  EXPECT_EQ(u.salida, 2);
  for (auto* e : u.etapas) EXPECT_EQ(e, nullptr);
}

TEST(Cola, CapacidadLlenaYVuelta) {
  TCola<int> c;
  int v[8] = {0, 1, 2, 3, 4, 5, 6, 7};
  c.redimensionar(4);
  EXPECT_EQ(c.tam, 5);
  EXPECT_TRUE(c.vacia());
  for (int i = 0; i < 4; ++i) c.insertar(&v[i]);
  EXPECT_TRUE(c.llena());
  c.insertar(&v[4]);  // sin efecto
  EXPECT_EQ(c.numElementos(), 4);
  EXPECT_EQ(c.extraer(), &v[0]);
  EXPECT_EQ(c.extraer(), &v[1]);
  c.insertar(&v[5]);
  c.insertar(&v[6]);  // fin ha dado la vuelta
  EXPECT_LT(c.fin, c.inicio);
  EXPECT_EQ(c.numElementos(), 4);
  EXPECT_TRUE(c.llena());
  EXPECT_EQ(c.enOrden(0), &v[2]);
  EXPECT_EQ(c.enOrden(3), &v[6]);
  EXPECT_EQ(c.elemento(0), &v[6]);
  EXPECT_EQ(c.elemento(-1), nullptr);
  EXPECT_EQ(c.elemento(5), nullptr);
}

TEST(Cola, ExtraerDeVaciaNoCambiaNada) {
  TCola<int> c;
  EXPECT_EQ(c.extraer(), nullptr);  // sin huecos todavía
  EXPECT_TRUE(c.llena());
  c.redimensionar(2);
  EXPECT_EQ(c.extraer(), nullptr);
  EXPECT_EQ(c.inicio, 0);
  EXPECT_EQ(c.fin, 0);
}
