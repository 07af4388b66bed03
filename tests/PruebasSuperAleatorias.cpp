#include <gtest/gtest.h>

#include <random>
#include <string>

#include "AyudaSuper.h"

// Programas generados al azar (semilla fija) en configuraciones al azar: la
// máquina termina igual que una ejecución en orden, o se detiene con el mensaje
// de dirección fuera de rango en la misma instrucción y con el mismo estado.

namespace {

class TGenerador {
public:
  explicit TGenerador(uint32_t semilla) : azar(semilla) {}

  int entre(int a, int b) { return std::uniform_int_distribution<int>(a, b)(azar); }

  // Cuerpo con saltos hacia delante, opcionalmente dentro de un bucle con contador
  // (R9 sube hasta R8; el cuerpo no los escribe). Con «multiplicaciones», también
  // MULTI y MULTF, que pueden salirse del rango en que la máquina es exacta.
  std::string programa(bool multiplicaciones) {
    const int n = entre(8, 30);
    const bool bucle = entre(0, 1) == 1;
    std::vector<std::string> cuerpo;
    std::vector<bool> etiquetada(static_cast<size_t>(n) + 1, false);
    for (int i = 0; i < n; ++i) {
      auto R = [&](bool destino) { return "R" + std::to_string(destino ? entre(1, 7) : entre(0, 7)); };
      auto F = [&]() { return "F" + std::to_string(entre(0, 4)); };
      auto dir = [&]() {
        const int k = entre(0, 9) == 0 ? entre(1000, 1030) : entre(0, 15);
        return std::to_string(k) + "(" + R(false) + ")";
      };
      std::string ins;
      switch (entre(0, multiplicaciones ? 11 : 9)) {
        case 0: case 1: ins = "DADDUI " + R(true) + " " + R(false) + " #" + std::to_string(entre(0, 20)); break;
        case 2: ins = "ADDI " + R(true) + " " + R(false) + " " + R(false); break;
        case 3: ins = "SI " + R(false) + " " + dir(); break;
        case 4: ins = "LI " + R(true) + " " + dir(); break;
        case 5: ins = "SF " + F() + " " + dir(); break;
        case 6: ins = "LF " + F() + " " + dir(); break;
        case 7: ins = "ADDF " + F() + " " + F() + " " + F(); break;
        case 8: case 9: {
          const int destino = entre(i + 1, n);
          etiquetada[static_cast<size_t>(destino)] = true;
          ins = std::string(entre(0, 1) ? "BEQ " : "BNE ") + R(false) + " " + R(false) + " S" +
                std::to_string(destino);
          break;
        }
        case 10: ins = "MULTI " + R(true) + " " + R(false) + " " + R(false); break;
        default: ins = "MULTF " + F() + " " + F() + " " + F(); break;
      }
      cuerpo.push_back(ins);
    }
    // El destino n es la instrucción que cierra el cuerpo.
    std::vector<std::string> lineas;
    if (bucle) lineas.push_back("DADDUI R8 R0 #" + std::to_string(entre(1, 4)));
    for (int i = 0; i < n; ++i) {
      std::string prefijo;
      if (i == 0 && bucle) prefijo += "ARRIBA: ";
      if (etiquetada[static_cast<size_t>(i)]) prefijo += "S" + std::to_string(i) + ": ";
      lineas.push_back(prefijo + cuerpo[static_cast<size_t>(i)]);
    }
    const std::string cierre = etiquetada[static_cast<size_t>(n)] ? "S" + std::to_string(n) + ": " : "";
    lineas.push_back(cierre + "DADDUI R9 R9 #1");
    if (bucle) lineas.push_back("BNE R9 R8 ARRIBA");
    std::string texto = std::to_string(lineas.size()) + "\n";
    for (const auto& l : lineas) texto += l + "\n";
    return texto;
  }

  void configurar(TMaquinaSuper& m) {
    for (auto& u : m.numUF) u = entre(1, 3);
    for (auto& l : m.latUF) l = entre(1, 5);
    m.latFalloCache = entre(0, 12);
    m.emision = entre(2, 6);
    const int p[] = {0, 30, 100};
    m.memoria.porcentajeFallos = p[entre(0, 2)];
  }

private:
  std::mt19937 azar;
};

// Las estructuras en vuelo respetan sus invariantes entre ciclos.
void comprobarInvariantes(const TMaquinaSuper& m) {
  int32_t enER = 0;
  for (int t = 0; t < NUM_TIPOS_UF; ++t) {
    const auto& estacion = m.er[static_cast<size_t>(t)];
    enER += static_cast<int32_t>(estacion.size());
    ASSERT_LE(static_cast<int32_t>(estacion.size()), m.capacidadER(t));
    for (const auto& e : estacion) {
      const TEntradaROB* r = m.rob.elemento(e.tagROB);
      ASSERT_NE(r, nullptr);
      ASSERT_EQ(r->instruccion.get(), e.instruccion);
      ASSERT_FALSE(r->listo);
      ASSERT_TRUE(e.qj == -1 || m.rob.elemento(e.qj) != nullptr);
      ASSERT_TRUE(e.qk == -1 || m.rob.elemento(e.qk) != nullptr);
    }
  }
  ASSERT_LE(enER, m.rob.numElementos());
  for (int r = 0; r < NUM_REGISTROS; ++r) {
    if (m.gpr.pendiente[static_cast<size_t>(r)]) {
      const TEntradaROB* e = m.rob.elemento(m.robGPR[static_cast<size_t>(r)]);
      ASSERT_NE(e, nullptr);
      ASSERT_EQ(e->destino, r);
    }
    if (m.fpr.pendiente[static_cast<size_t>(r)]) {
      const TEntradaROB* e = m.rob.elemento(m.robFPR[static_cast<size_t>(r)]);
      ASSERT_NE(e, nullptr);
      ASSERT_EQ(e->destino, r);
    }
  }
}

}  // namespace

TEST(SuperAleatorias, IgualQueUnaEjecucionEnOrden) {
  TGenerador g(20240611);
  int comparados = 0, detenidos = 0;
  for (int caso = 0; caso < 300; ++caso) {
    const std::string fuente = g.programa(false);
    SCOPED_TRACE(fuente);
    auto c = compilar(fuente);
    const TEstado esperado = ejecutarEnOrden(*c);
    TMaquinaSuper m;
    g.configurar(m);
    preparar(m, c.get());
    int8_t r = CICLO_NORMAL;
    for (int i = 0; i < 20000 && r == CICLO_NORMAL; ++i) {
      r = m.ejecutarCiclo();
      ASSERT_NO_FATAL_FAILURE(comprobarInvariantes(m));
    }
    if (esperado.maxEntero >= (1 << 24)) continue;  // fuera de lo que la máquina calcula exacto
    ++comparados;
    esperarEstado(m, esperado);
    EXPECT_EQ(m.estadisticas.instruccionesConfirmadas, esperado.ejecutadas);
    if (esperado.instruccionFallida >= 0) {
      ++detenidos;
      ASSERT_EQ(r, CICLO_ERROR);
      const std::string donde = "(" + std::to_string(esperado.dirFallida) + ") en la instrucción " +
                                std::to_string(esperado.instruccionFallida) + ": ";
      EXPECT_NE(m.mensajeError.find(donde), std::string::npos) << m.mensajeError;
    } else {
      ASSERT_EQ(r, CICLO_COMPLETADO);
      esperarVacia(m);
    }
  }
  EXPECT_GT(comparados, 250);
  EXPECT_GT(detenidos, 20);
}

// Con multiplicaciones los valores pueden desbordarse o ser NaN: solo se exige
// que la máquina termine, de un modo u otro, sin salirse de sus estructuras.
TEST(SuperAleatorias, ValoresExtremosNoRompenNada) {
  TGenerador g(77);
  for (int caso = 0; caso < 200; ++caso) {
    const std::string fuente = g.programa(true);
    SCOPED_TRACE(fuente);
    auto c = compilar(fuente);
    TMaquinaSuper m;
    g.configurar(m);
    preparar(m, c.get());
    m.gpr.valor[3] = 2000000000;
    m.fpr.valor[2] = 3e38f;
    int8_t r = CICLO_NORMAL;
    for (int i = 0; i < 20000 && r == CICLO_NORMAL; ++i) r = m.ejecutarCiclo();
    EXPECT_TRUE(r == CICLO_COMPLETADO || r == CICLO_ERROR) << static_cast<int>(r);
  }
}
