#pragma once
// Utilidades comunes de las pruebas de la máquina superescalar.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "loader/TCodigo.h"
#include "machine/Conversiones.h"
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

// Estado arquitectónico de una ejecución en orden.
struct TEstado {
  std::array<int32_t, NUM_REGISTROS> gpr{};
  std::array<float, NUM_REGISTROS> fpr{};
  std::array<float, TAM_MEMORIA> mem{};
  int32_t instruccionFallida = -1;  // acceso fuera de la memoria que detuvo la ejecución
  int64_t dirFallida = 0;
  int64_t ejecutadas = 0;
  int64_t maxEntero = 0;  // mayor valor absoluto entero calculado
};

// Ejecución secuencial de referencia, instrucción a instrucción, desde el estado «s».
// Se detiene antes de un acceso fuera de la memoria.
inline TEstado ejecutarEnOrden(const TCodigo& c, TEstado s = TEstado{}) {
  int32_t pc = 0;
  for (int pasos = 0; pc >= 0 && pc < c.numInstrucciones && pasos < 100000; ++pasos) {
    const TInstruccion& i = c.instrucciones[static_cast<size_t>(pc)];
    const auto o0 = static_cast<size_t>(i.op[0]), o1 = static_cast<size_t>(i.op[1]),
               o2 = static_cast<size_t>(i.op[2]);
    size_t a = 0;
    if (esCarga(i.codOp) || esAlmacenamiento(i.codOp)) {
      const int64_t d = direccionEfectiva(s.gpr[o2], i.op[1]);
      if (!TMemoria::direccionValida(d)) {
        s.instruccionFallida = pc;
        s.dirFallida = d;
        return s;
      }
      a = static_cast<size_t>(d);
    }
    int32_t siguiente = pc + 1;
    switch (i.codOp) {
      case ADDI: s.gpr[o0] = sumaEntera(s.gpr[o1], s.gpr[o2]); break;
      case DADDUI: s.gpr[o0] = sumaEntera(s.gpr[o1], i.op[2]); break;
      case MULTI: s.gpr[o0] = multEntera(s.gpr[o1], s.gpr[o2]); break;
      case ADDF: s.fpr[o0] = s.fpr[o1] + s.fpr[o2]; break;
      case MULTF: s.fpr[o0] = s.fpr[o1] * s.fpr[o2]; break;
      case SI: s.mem[a] = static_cast<float>(s.gpr[o0]); break;
      case SF: s.mem[a] = s.fpr[o0]; break;
      case LI: s.gpr[o0] = flotanteAEntero(static_cast<double>(s.mem[a])); break;
      case LF: s.fpr[o0] = s.mem[a]; break;
      case BNE:
        if (s.gpr[o0] != s.gpr[o1]) siguiente = c.primeraDeBloque(i.op[2]);
        break;
      case BEQ:
        if (s.gpr[o0] == s.gpr[o1]) siguiente = c.primeraDeBloque(i.op[2]);
        break;
      default: break;
    }
    if (i.codOp == ADDI || i.codOp == DADDUI || i.codOp == MULTI || i.codOp == LI) {
      const int64_t v = s.gpr[o0];
      s.maxEntero = std::max(s.maxEntero, v < 0 ? -v : v);
    }
    s.gpr[0] = 0;
    ++s.ejecutadas;
    pc = siguiente;
  }
  return s;
}

inline void esperarEstado(const TMaquinaSuper& m, const TEstado& e) {
  EXPECT_EQ(m.gpr.valor, e.gpr);
  EXPECT_EQ(m.fpr.valor, e.fpr);
  EXPECT_EQ(m.memoria.datos, e.mem);
}
