#include <gtest/gtest.h>

#include "machine/TMemoria.h"
#include "machine/TRegistros.h"

TEST(Registros, EscrituraEnDosFases) {
  TRegistros<int32_t> r;
  r.escribirPendiente(3, 7);
  EXPECT_EQ(r.valor[3], 0);
  EXPECT_TRUE(r.pendiente[3]);
  r.escribirPendiente(3, 9);  // dos escrituras en el mismo ciclo: gana la última
  r.actualizar();
  EXPECT_EQ(r.valor[3], 9);
  EXPECT_FALSE(r.pendiente[3]);
}

TEST(Registros, LimpiarOlvidaLoPendienteSinTocarNuevo) {
  TRegistros<float> r;
  r.valor[5] = 1.5f;
  r.escribirPendiente(2, 4.0f);
  r.limpiar();
  EXPECT_EQ(r.valor[5], 0.0f);
  EXPECT_FALSE(r.pendiente[2]);
  EXPECT_EQ(r.nuevo[2], 4.0f);
  r.actualizar();
  EXPECT_EQ(r.valor[2], 0.0f);
  EXPECT_TRUE(TRegistros<float>::indiceValido(63));
  EXPECT_FALSE(TRegistros<float>::indiceValido(64));
  EXPECT_FALSE(TRegistros<float>::indiceValido(-1));
}

TEST(Memoria, SinFallosConPorcentajeCero) {
  TMemoria m;
  m.sembrar(1);
  for (int i = 0; i < 1000; ++i) EXPECT_FALSE(m.accesoFalla(i % TAM_MEMORIA));
}

TEST(Memoria, ConCienPorCienFallaYElReintentoAcierta) {
  TMemoria m;
  m.porcentajeFallos = 100;
  EXPECT_TRUE(m.accesoFalla(10));
  EXPECT_TRUE(m.fallo[10]);
  EXPECT_FALSE(m.accesoFalla(10));  // reintento
  EXPECT_FALSE(m.fallo[10]);
  EXPECT_TRUE(m.accesoFalla(10));  // la siguiente lectura vuelve a fallar
  EXPECT_FALSE(m.accesoFalla(11) && m.accesoFalla(11));
}

TEST(Memoria, LaSemillaRepiteLaSecuencia) {
  TMemoria a, b;
  a.porcentajeFallos = b.porcentajeFallos = 50;
  a.sembrar(42);
  b.sembrar(42);
  int fallos = 0;
  for (int i = 0; i < 400; ++i) {
    const bool fa = a.accesoFalla(i);
    EXPECT_EQ(fa, b.accesoFalla(i));
    fallos += fa;
  }
  EXPECT_GT(fallos, 120);  // en torno a la mitad
  EXPECT_LT(fallos, 280);
}

TEST(Memoria, LimpiarYLimitesDeDireccion) {
  TMemoria m;
  m.porcentajeFallos = 30;
  m.datos[1023] = 2.5f;
  m.fallo[4] = true;
  m.limpiar();
  EXPECT_EQ(m.datos[1023], 0.0f);
  EXPECT_TRUE(m.fallo[4]);
  EXPECT_EQ(m.porcentajeFallos, 30);
  EXPECT_TRUE(TMemoria::direccionValida(0));
  EXPECT_TRUE(TMemoria::direccionValida(1023));
  EXPECT_FALSE(TMemoria::direccionValida(1024));
  EXPECT_FALSE(TMemoria::direccionValida(-1));
  m.porcentajeFallos = 100;
  EXPECT_FALSE(m.accesoFalla(5000));  // fuera de rango: nunca toca los indicadores
}
