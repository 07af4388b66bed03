#pragma once
// Utilidades comunes de las pruebas de la máquina superescalar.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "loader/TCodigo.h"
#include "referencia/TInterpreteReferencia.h"
#include "superscalar/TMaquinaSuper.h"

// Carga un programa escrito en la propia prueba; falla la prueba si no carga.
inline std::unique_ptr<TCodigo> compilar(const std::string& fuente) {
  auto c = std::make_unique<TCodigo>();
  EXPECT_EQ(c->cargarTexto(fuente), 0) << c->detalleError;
  return c;
}

// Máquina con la configuración por defecto, reseteada (con limpieza) y apuntando a «codigo».
inline void preparar(TMaquinaSuper& m, const TCodigo* codigo) {
  m.codigo = codigo;
  m.memoria.sembrar(1);
  m.reset(true);
}

// Ejecuta ciclos hasta un resultado distinto de CICLO_NORMAL (o el límite).
// Devuelve ese resultado; los breakpoints se atraviesan si «seguir» lo pide.
inline int8_t ejecutarHastaFin(TMaquinaSuper& m, int limite = 100000, bool seguir = false) {
  for (int i = 0; i < limite; ++i) {
    const int8_t r = m.ejecutarCiclo();
    if (r == CICLO_BREAKPOINT && seguir) {
      m.paradaBreakpoint = false;
      continue;
    }
    if (r != CICLO_NORMAL) return r;
  }
  return CICLO_NORMAL;
}

// Ciclo en que se confirma la instrucción de dirección «direccion» (0 si no llega).
inline int32_t cicloDeConfirmacion(TMaquinaSuper& m, int32_t direccion, int limite = 1000) {
  for (int i = 0; i < limite; ++i) {
    const int8_t r = m.ejecutarCiclo();
    for (int32_t d : m.confirmadasCiclo)
      if (d == direccion) return m.ciclo;
    if (r == CICLO_COMPLETADO || r == CICLO_ERROR) return 0;
  }
  return 0;
}

// Entradas vivas de una cola, de la más antigua a la más nueva.
template <typename T>
std::vector<T*> vivas(const TCola<T>& cola) {
  std::vector<T*> v;
  for (int32_t i = 0; i < cola.numElementos(); ++i) v.push_back(cola.enOrden(i));
  return v;
}

// Nada queda en vuelo ni renombrado.
inline void esperarVacia(const TMaquinaSuper& m) {
  EXPECT_TRUE(m.rob.vacia());
  EXPECT_TRUE(m.prefetch.vacia());
  EXPECT_TRUE(m.decoder.vacia());
  for (const auto& e : m.er) EXPECT_TRUE(e.empty());
  for (int r = 0; r < NUM_REGISTROS; ++r) {
    EXPECT_FALSE(m.gpr.pendiente[static_cast<size_t>(r)]) << "R" << r;
    EXPECT_FALSE(m.fpr.pendiente[static_cast<size_t>(r)]) << "F" << r;
  }
}

// Ejecuta «c» en el intérprete de referencia (reglas de la superescalar) desde
// los registros y la memoria que tiene ahora «m».
inline TInterpreteReferencia ejecutarEnOrden(const TCodigo& c, const TMaquinaSuper& m) {
  TInterpreteReferencia r(modoSuperescalar);
  r.copiarEstado(m);
  EXPECT_EQ(r.ejecutar(c, 1000000), REFERENCIA_TERMINADA);
  EXPECT_TRUE(r.exacto) << r.motivoInexacto;
  return r;
}

inline void esperarEstado(const TMaquinaSuper& m, const TInterpreteReferencia& r) {
  EXPECT_EQ(r.diferenciaCon(m), "");
}
