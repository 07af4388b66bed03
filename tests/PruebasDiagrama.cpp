// El registrador del diagrama instrucción × ciclo: sus letras y motivos frente
// a los que reconstruye de los sucesos un modelo independiente (AyudaLetras.h),
// el orden de las confirmadas frente al intérprete de referencia, el límite de
// filas y la vuelta atrás.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "AyudaDiferencial.h"
#include "AyudaLetras.h"
#include "AyudaSuper.h"
#include "AyudaVLIW.h"
#include "observation/TMultiplexorObservadores.h"
#include "observation/TRegistradorDiagrama.h"
#include "observation/TTablaInstrucciones.h"
#include "observation/TTextosDiagrama.h"
#include "session/TSesionSuper.h"

namespace {

std::string conMotivos(const letras::TFila& f) {
  std::string t;
  for (size_t i = 0; i < f.letras.size(); ++i) {
    t += f.letras[i];
    if (f.motivos[i].motivo != espNinguno) t += "[" + letras::texto(f.motivos[i]) + "]";
  }
  return t;
}

// Lo mismo leído del registrador, celda a celda.
std::string conMotivos(const TRegistradorDiagrama& r, const TFilaDiagrama& f) {
  std::string t;
  r.recorrer(f, f.primero, r.finDe(f), [&](const TTramoVisible& v) {
    for (int32_t c = v.desde; c <= v.hasta; ++c) {
      t += v.letra;
      if (v.espera.motivo != espNinguno) t += "[" + letras::texto(v.espera) + "]";
    }
  });
  return t;
}

// Fila de la superescalar con esa secuencia (falla si no está).
const TFilaDiagrama& filaDe(const TRegistradorDiagrama& r, int64_t secuencia) {
  const int64_t i = secuencia - r.primeraSecuencia();
  EXPECT_TRUE(i >= 0 && i < r.numFilas()) << "secuencia " << secuencia;
  return r.fila(i);
}

struct TSuper {
  std::unique_ptr<TCodigo> codigo;
  TMaquinaSuper m;
  TRegistradorDiagrama r{false};
  letras::TRegistrador modelo;
  TMultiplexorObservadores los2;

  explicit TSuper(const std::string& fuente, int porcentajeFallos = 0) : codigo(compilar(fuente)) {
    los2.anadir(&r);
    los2.anadir(&modelo);
    m.observador = &los2;
    preparar(m, codigo.get());
    m.memoria.porcentajeFallos = porcentajeFallos;
  }
  int8_t correr() { return ejecutarHastaFin(m, 5000); }
  std::string de(int64_t s) const { return r.letras(filaDe(r, s)); }
  std::string motivos(int64_t s) const { return conMotivos(r, filaDe(r, s)); }
  // Cada fila guardada dice lo mismo que el modelo.
  std::string comparar() const {
    for (int64_t i = 0; i < r.numFilas(); ++i) {
      const int64_t s = r.primeraSecuencia() + i;
      const TFilaDiagrama& f = r.fila(i);
      const auto it = modelo.filas.find(s);
      if (it == modelo.filas.end()) return "la secuencia " + std::to_string(s) + " no está en el modelo";
      if (f.primero != it->second.primerCiclo)
        return "secuencia " + std::to_string(s) + ": primer ciclo " + std::to_string(f.primero);
      const std::string a = conMotivos(r, f), b = conMotivos(it->second);
      if (a != b) return "secuencia " + std::to_string(s) + ": " + a + " frente a " + b;
    }
    if (r.numFilas() + r.filasDescartadas() != static_cast<int64_t>(modelo.filas.size()))
      return "filas: " + std::to_string(r.numFilas()) + " + " + std::to_string(r.filasDescartadas()) + " descartadas";
    return {};
  }
};

// Operación de la fila de una instrucción larga por su índice en ella.
const TFilaDiagrama* operacionDe(const TRegistradorDiagrama& r, const TFilaDiagrama& larga, int32_t indice) {
  for (int32_t k = 0; k < larga.numOps; ++k)
    if (r.operacion(larga, k).indice == indice) return &r.operacion(larga, k);
  return nullptr;
}

std::string compararVLIW(const TRegistradorDiagrama& r, const letras::TRegistrador& modelo) {
  for (int64_t i = 0; i < r.numFilas(); ++i) {
    const int64_t s = r.primeraSecuencia() + i;
    const TFilaDiagrama& f = r.fila(i);
    const auto it = modelo.largas.find(s);
    if (it == modelo.largas.end()) return "la larga " + std::to_string(s) + " no está en el modelo";
    const std::string a = conMotivos(r, f), b = conMotivos(it->second);
    if (a != b || f.primero != it->second.primerCiclo) return "larga " + std::to_string(s) + ": " + a + " frente a " + b;
    int32_t enModelo = 0;
    for (const auto& [clave, o] : modelo.operaciones) {
      if (clave.first != s) continue;
      ++enModelo;
      const TFilaDiagrama* op = operacionDe(r, f, clave.second);
      if (!op) return "falta la operación " + std::to_string(clave.second) + " de la larga " + std::to_string(s);
      const std::string x = conMotivos(r, *op), y = conMotivos(o);
      if (x != y || op->primero != o.primerCiclo)
        return "operación " + std::to_string(clave.second) + " de la larga " + std::to_string(s) + ": " + x +
               " frente a " + y;
    }
    if (enModelo != f.numOps) return "la larga " + std::to_string(s) + " tiene " + std::to_string(f.numOps) + " operaciones";
  }
  if (r.numFilas() + r.filasDescartadas() != static_cast<int64_t>(modelo.largas.size()))
    return "largas: " + std::to_string(r.numFilas());
  return {};
}

}  // namespace

TEST(DiagramaSuper, LetrasDeLosTiemposDeLibro) {
  TSuper suma("1\nADDI R1 R2 R3\n");
  EXPECT_EQ(suma.correr(), CICLO_COMPLETADO);
  ASSERT_EQ(suma.r.numFilas(), 1);
  EXPECT_EQ(suma.de(0), "PDREWC");
  EXPECT_EQ(suma.r.fila(0).primero, 1);
  EXPECT_EQ(suma.r.textoDe(suma.r.fila(0)), "ADDI R1 R2 R3");

  TSuper carga("1\nLF F1 4(R0)\n");
  carga.correr();
  EXPECT_EQ(carga.de(0), "PDRAREEEEWC");

  TSuper almacen("1\nSF F1 4(R0)\n");
  almacen.correr();
  EXPECT_EQ(almacen.de(0), "PDRARWC");

  TSuper fallo("1\nLF F1 4(R0)\n", 100);
  fallo.correr();
  EXPECT_EQ(fallo.de(0), "PDRAREEEEMMMMMWC");
  EXPECT_EQ(fallo.motivos(0), "PDRAREEEEM[fallo#4]M[fallo#4]M[fallo#4]M[fallo#4]M[fallo#4]WC");
  // La letra de un ciclo suelto y su tramo, como los pide la pista de la ventana.
  TTramoVisible t;
  EXPECT_EQ(fallo.r.letra(fallo.r.fila(0), 12, &t), 'M');
  EXPECT_EQ(t.espera, (TEspera{espFalloCache, -1, 4}));
  EXPECT_EQ(fallo.r.letra(fallo.r.fila(0), 0), ' ');
  EXPECT_EQ(fallo.r.letra(fallo.r.fila(0), 99), ' ');
}

TEST(DiagramaSuper, EsperasDeUnaCadenaDeDependencias) {
  TSuper e("4\nLF F1 0(R0)\nADDF F2 F1 F1\nSF F2 4(R0)\nLF F3 4(R0)\n");
  EXPECT_EQ(e.correr(), CICLO_COMPLETADO);
  EXPECT_EQ(e.comparar(), "");
  EXPECT_EQ(e.motivos(1), "PDRR[j#0]R[j#0]R[j#0]R[j#0]R[j#0]R[j#0]EEEEWC");
  std::string espera;
  for (int i = 0; i < 9; ++i) espera += "R[alm=#2]";
  EXPECT_EQ(e.motivos(3), "PDRR[unidad:6]AR" + espera + "EEEEWC");
  // La distancia lleva a la fila de la que se espera: la suma a la carga (1 antes),
  // la segunda carga al almacenamiento (1 antes).
  TTramoVisible t;
  e.r.letra(filaDe(e.r, 1), 5, &t);
  EXPECT_EQ(t.distancia, 1);
  e.r.letra(filaDe(e.r, 3), 10, &t);
  EXPECT_EQ(t.espera.motivo, espAlmacenamientoMismaDireccion);
  EXPECT_EQ(t.distancia, 1);
}

TEST(DiagramaSuper, FalloDePrediccionAnulaLoBuscadoDetras) {
  TSuper e("4\nDADDUI R1 R0 #1\nBNE R1 R0 FIN\nADDI R2 R2 R2\nFIN: ADDI R3 R3 R3\n");
  EXPECT_EQ(e.correr(), CICLO_COMPLETADO);
  EXPECT_EQ(e.comparar(), "");
  int anuladas = 0;
  for (int64_t i = 0; i < e.r.numFilas(); ++i) {
    const TFilaDiagrama& f = e.r.fila(i);
    EXPECT_FALSE(f.viva);
    const std::string l = e.r.letras(f);
    anuladas += l.back() == 'X';
    // Una fila acaba en su última letra, y solo ahí hay C o X.
    EXPECT_EQ(l.find_first_of("CX"), l.size() - 1) << l;
    EXPECT_EQ(f.ultimo, f.primero + static_cast<int32_t>(l.size()) - 1);
  }
  EXPECT_GT(anuladas, 0);
  EXPECT_EQ(e.r.numFilas(), e.m.contadorSecuencia);
}

TEST(DiagramaSuper, ROBLlenoYFallosAlCienPorCien) {
  // Una carga que falla delante de muchas sumas independientes: el reorder
  // buffer se llena y la emisión espera.
  std::string fuente = "61\nLF F1 0(R0)\n";
  for (int i = 0; i < 60; ++i) fuente += "ADDI R" + std::to_string(1 + i % 9) + " R0 R0\n";
  TSuper e(fuente, 100);
  e.m.latFalloCache = 80;
  EXPECT_EQ(e.correr(), CICLO_COMPLETADO);
  EXPECT_EQ(e.comparar(), "");
  bool robLleno = false, confirmar = false;
  for (int64_t i = 0; i < e.r.numFilas(); ++i) {
    const std::string m = e.motivos(e.r.primeraSecuencia() + i);
    robLleno |= m.find("D[ROB]") != std::string::npos;
    confirmar |= m.find("W[confirmar]") != std::string::npos;
  }
  EXPECT_TRUE(robLleno);
  EXPECT_TRUE(confirmar);
  EXPECT_EQ(e.de(0).find('M') != std::string::npos, true);
}

// Programas generados, con fallos y saltos: cada fila es la del modelo
// independiente, y las confirmadas siguen el orden del intérprete de referencia.
TEST(DiagramaSuper, ComoElModeloYEnElOrdenDeLaReferenciaEnProgramasGenerados) {
  int conDescarte = 0, comparadas = 0;
  for (uint32_t semilla = 2000; semilla < 2150; ++semilla) {
    diferencial::TAzarSemilla azar(semilla);
    diferencial::TGeneradorProgramas generador(azar, false);
    const diferencial::TProgramaGenerado programa = generador.generar();
    const auto codigo = programa.cargar();
    ASSERT_NE(codigo, nullptr);
    TMaquinaSuper m;
    diferencial::configurarSuper(m, azar);
    // Algunas con pocas filas: se descartan las antiguas por el camino.
    TRegistradorDiagrama r(false, semilla % 4 == 0 ? 20 : TRegistradorDiagrama::FILAS_POR_DEFECTO);
    letras::TRegistrador modelo;
    TMultiplexorObservadores los2;
    los2.anadir(&r);
    los2.anadir(&modelo);
    m.observador = &los2;
    m.codigo = codigo.get();
    m.memoria.sembrar(semilla);
    m.reset(true);
    programa.ponerIniciales(m);
    TInterpreteReferencia ref(modoSuperescalar);
    ref.copiarEstado(m);
    std::vector<int32_t> orden;
    int8_t fin = REFERENCIA_LIMITE;
    for (int i = 0; i < 3000; ++i) {
      const auto pc = static_cast<int32_t>(ref.pc);
      fin = ref.paso(*codigo);
      if (fin == REFERENCIA_ERROR) break;
      orden.push_back(pc);
      if (fin != REFERENCIA_SIGUE) break;
    }
    int8_t res = CICLO_NORMAL;
    for (int i = 0; i < 20000 && res != CICLO_COMPLETADO && res != CICLO_ERROR; ++i) {
      res = m.ejecutarCiclo();
      m.paradaBreakpoint = false;
    }
    const std::string caso = "semilla " + std::to_string(semilla);
    ASSERT_EQ(r.ultimoCiclo(), m.ciclo) << caso;
    // El modelo no descarta: se le compara lo que queda.
    std::string d;
    for (int64_t i = 0; i < r.numFilas() && d.empty(); ++i) {
      const int64_t s = r.primeraSecuencia() + i;
      const std::string a = conMotivos(r, r.fila(i)), b = conMotivos(modelo.filas[s]);
      if (a != b) d = "secuencia " + std::to_string(s) + ": " + a + " frente a " + b;
    }
    ASSERT_EQ(d, "") << caso;
    ASSERT_EQ(r.numFilas() + r.filasDescartadas(), static_cast<int64_t>(modelo.filas.size())) << caso;
    conDescarte += r.filasDescartadas() > 0;
    if (res != CICLO_COMPLETADO || fin != REFERENCIA_TERMINADA || !ref.exacto || r.filasDescartadas() > 0) continue;
    ++comparadas;
    // Direcciones de las confirmadas, en orden de secuencia: las de la ejecución secuencial.
    std::vector<int32_t> confirmadas;
    for (int64_t i = 0; i < r.numFilas(); ++i)
      if (r.letras(r.fila(i)).back() == 'C') confirmadas.push_back(r.fila(i).pc);
    ASSERT_EQ(confirmadas, orden) << caso;
  }
  EXPECT_GT(conDescarte, 0);
  EXPECT_GT(comparadas, 50);
}

TEST(DiagramaSuper, LimiteDeFilasEnUnaEjecucionLarga) {
  // Un bucle largo con el límite por debajo de lo que busca: la memoria no crece
  // con la ejecución, las filas guardadas son las últimas y siguen en orden.
  TSuper e("5\nDADDUI R1 R0 #0\nDADDUI R3 R0 #3000\nBUCLE: DADDUI R1 R1 #1\nADDI R2 R2 R2\nBNE R1 R3 BUCLE\n");
  e.r.setMaxFilas(500);
  for (int i = 0; i < 4000; ++i) e.m.ejecutarCiclo();
  const size_t memoria = e.r.memoria();
  for (int i = 0; i < 8000; ++i) e.m.ejecutarCiclo();
  EXPECT_LE(e.r.memoria(), memoria + memoria / 2);
  EXPECT_GE(e.r.numFilas(), 500);
  EXPECT_LE(e.r.numFilas(), 500 + 500 / 4 + 1);
  EXPECT_GT(e.r.filasDescartadas(), 0);
  EXPECT_EQ(e.comparar(), "");
  EXPECT_EQ(e.r.primeraSecuencia(), e.r.filasDescartadas());
  for (int64_t i = 1; i < e.r.numFilas(); ++i) ASSERT_LE(e.r.fila(i - 1).primero, e.r.fila(i).primero);
  // Tras un reset se empieza de cero.
  e.m.reset(true);
  EXPECT_EQ(e.r.numFilas(), 0);
  EXPECT_EQ(e.r.filasDescartadas(), 0);
}

// Volver atrás al ciclo c y seguir desde una máquina en ese ciclo da el mismo
// diagrama que haberlo registrado todo seguido.
TEST(DiagramaSuper, VueltaAtrasYRepeticionComoSinVolver) {
  for (uint32_t semilla = 3000; semilla < 3040; ++semilla) {
    diferencial::TAzarSemilla azar(semilla);
    diferencial::TGeneradorProgramas generador(azar, false);
    const diferencial::TProgramaGenerado programa = generador.generar();
    const auto codigo = programa.cargar();
    ASSERT_NE(codigo, nullptr);
    TMaquinaSuper a, b;
    diferencial::configurarSuper(a, azar);
    b.numUF = a.numUF;
    b.latUF = a.latUF;
    b.emision = a.emision;
    b.latFalloCache = a.latFalloCache;
    b.memoria.porcentajeFallos = a.memoria.porcentajeFallos;
    TRegistradorDiagrama seguido, vuelto;
    a.observador = &seguido;
    b.observador = &vuelto;
    for (TMaquinaSuper* m : {&a, &b}) {
      m->codigo = codigo.get();
      m->memoria.sembrar(semilla);
      m->reset(true);
      programa.ponerIniciales(*m);
    }
    for (int i = 0; i < 300; ++i) {
      const int8_t r = a.ejecutarCiclo();
      if (r == CICLO_COMPLETADO || r == CICLO_ERROR) break;
    }
    // «vuelto» llega más lejos con b, vuelve a c y sigue con una máquina que está en c.
    const int32_t c = azar.entre32(1, std::max(1, a.ciclo - 1));
    for (int i = 0; i < 300; ++i) {
      const int8_t r = b.ejecutarCiclo();
      if (r == CICLO_COMPLETADO || r == CICLO_ERROR) break;
    }
    TMaquinaSuper otra;
    otra.numUF = a.numUF;
    otra.latUF = a.latUF;
    otra.emision = a.emision;
    otra.latFalloCache = a.latFalloCache;
    otra.memoria.porcentajeFallos = a.memoria.porcentajeFallos;
    otra.codigo = codigo.get();
    otra.memoria.sembrar(semilla);
    otra.reset(true);
    programa.ponerIniciales(otra);
    while (otra.ciclo < c) otra.ejecutarCiclo();
    vuelto.vueltaAtras(c);
    EXPECT_EQ(vuelto.ultimoCiclo(), c);
    otra.observador = &vuelto;
    for (int i = 0; i < 300; ++i) {
      const int8_t r = otra.ejecutarCiclo();
      if (r == CICLO_COMPLETADO || r == CICLO_ERROR) break;
    }
    const std::string caso = "semilla " + std::to_string(semilla) + ", vuelta al ciclo " + std::to_string(c);
    ASSERT_EQ(vuelto.numFilas(), seguido.numFilas()) << caso;
    for (int64_t i = 0; i < seguido.numFilas(); ++i)
      ASSERT_EQ(conMotivos(vuelto, vuelto.fila(i)), conMotivos(seguido, seguido.fila(i))) << caso << ", fila " << i;
  }
}

TEST(DiagramaVLIW, LetrasDeOperacionesParadasYFallos) {
  using ayuda::TOp;
  const TCodigo s = ayuda::secuencial("3\nADDI R1 R2 R3\nLI R4 0(R0)\nADDI R5 R4 R4\n");
  for (int porcentaje : {0, 100}) {
    TMaquinaVLIW m;
    TRegistradorDiagrama r(true);
    letras::TRegistrador modelo;
    TMultiplexorObservadores los2;
    los2.anadir(&r);
    los2.anadir(&modelo);
    m.observador = &los2;
    ayuda::construir(m.codigo, s, {{TOp{0, 0}, TOp{1, 0}}, {TOp{2, 1}}});
    m.memoria.sembrar(1);
    m.reset(true);
    m.memoria.porcentajeFallos = porcentaje;
    EXPECT_EQ(ayuda::ejecutar(m), CICLO_COMPLETADO);
    EXPECT_EQ(compararVLIW(r, modelo), "");
    ASSERT_EQ(r.numFilas(), 2);
    const TFilaDiagrama& primera = r.fila(0);
    ASSERT_EQ(primera.numOps, 2);
    EXPECT_EQ(r.letras(primera), "I");
    EXPECT_EQ(r.letras(r.operacion(primera, 0)), "IW");
    const std::string nat = "S[NaT:0#4]";
    if (porcentaje == 0) {
      EXPECT_EQ(r.letras(r.operacion(primera, 1)), "IEEEW");
      EXPECT_EQ(conMotivos(r, r.fila(1)), nat + nat + nat + "I");
    } else {
      EXPECT_EQ(r.letras(r.operacion(primera, 1)), "IEEEMMMMMW");
      EXPECT_EQ(r.letras(r.fila(1)), "SSSSSSSSI");
    }
    // La vista: cada larga seguida de sus operaciones.
    EXPECT_EQ(r.numFilasVista(), 5);
    EXPECT_EQ(r.enVista(2).fila, 0);
    EXPECT_EQ(r.enVista(2).op, 1);
    EXPECT_EQ(r.enVista(3).fila, 1);
    EXPECT_EQ(r.enVista(3).op, -1);
    EXPECT_EQ(r.posicionEnVista(1), 3);
    EXPECT_EQ(r.enVista(5).fila, -1);
    EXPECT_EQ(r.textoDe(primera), "ADDI R1 R2 R3 | LI R4 0(R0)");
  }
}

TEST(DiagramaVLIW, DescarteYUnidadOcupada) {
  using ayuda::TOp;
  {
    const TCodigo s = ayuda::secuencial("3\nBEQ R0 R0 L\nADDI R1 R1 R1\nL: ADDI R2 R2 R2\n");
    TMaquinaVLIW m;
    TRegistradorDiagrama r(true);
    m.observador = &r;
    ayuda::construir(m.codigo, s, {{TOp{0, 0, 0, 2, 1, 2}, TOp{1, 0, 1}}, {}, {TOp{2, 0}}});
    m.memoria.sembrar(1);
    m.reset(true);
    EXPECT_EQ(ayuda::ejecutar(m), CICLO_COMPLETADO);
    EXPECT_EQ(r.letras(*operacionDe(r, r.fila(0), 0)), "IEW");
    EXPECT_EQ(r.letras(*operacionDe(r, r.fila(0), 1)), "IX");
    ASSERT_EQ(r.numFilas(), 3);
    EXPECT_EQ(r.fila(2).primero, 3);
  }
  const TCodigo s = ayuda::secuencial("5\nLI R1 0(R0)\nLI R2 1(R0)\nLI R3 2(R0)\nLI R4 3(R0)\nLI R5 4(R0)\n");
  TMaquinaVLIW m;
  TRegistradorDiagrama r(true);
  m.observador = &r;
  ayuda::construir(m.codigo, s, {{TOp{0, 0}}, {TOp{1, 0}}, {TOp{2, 0}}, {TOp{3, 0}}, {TOp{4, 0}}});
  m.memoria.sembrar(1);
  m.reset(true);
  m.memoria.porcentajeFallos = 100;
  EXPECT_EQ(ayuda::ejecutar(m), CICLO_COMPLETADO);
  int64_t ocupada = 0;
  for (int64_t i = 0; i < r.numFilas(); ++i)
    r.recorrer(r.fila(i), 0, r.ultimoCiclo(), [&](const TTramoVisible& t) {
      if (t.espera == TEspera{espUnidadOcupada, tufMemoria, 0}) ocupada += t.hasta - t.desde + 1;
    });
  EXPECT_GT(ocupada, 0);
  EXPECT_EQ(ocupada, m.estadisticas.ciclosParada);
}

TEST(DiagramaVLIW, ComoElModeloEnProgramasGenerados) {
  int conDescarte = 0;
  for (uint32_t semilla = 4000; semilla < 4150; ++semilla) {
    diferencial::TAzarSemilla azar(semilla);
    diferencial::TGeneradorProgramas generador(azar, false);
    const diferencial::TProgramaGenerado programa = generador.generar();
    const auto codigo = programa.cargar();
    ASSERT_NE(codigo, nullptr);
    TMaquinaVLIW m;
    diferencial::configurarVLIW(m, azar);
    if (semilla % 3 == 0) m.latFalloCache = m.latUF[tufMemoria] + azar.entre32(1, 8);
    if (semilla % 5 == 0) m.memoria.porcentajeFallos = 100;
    m.reset(true);
    if (semilla % 2 == 0) diferencial::planificarEnSerie(m, *codigo, azar);
    else diferencial::planificarCompacta(m, *codigo, azar);
    TRegistradorDiagrama r(true, semilla % 4 == 1 ? 10 : TRegistradorDiagrama::FILAS_POR_DEFECTO);
    letras::TRegistrador modelo;
    TMultiplexorObservadores los2;
    los2.anadir(&r);
    los2.anadir(&modelo);
    m.observador = &los2;
    programa.ponerIniciales(m);
    for (int i = 0; i < 1500; ++i) {
      const int8_t res = m.ejecutarCiclo();
      if (res == CICLO_COMPLETADO || res == CICLO_ERROR) break;
    }
    ASSERT_EQ(compararVLIW(r, modelo), "") << "semilla " << semilla;
    conDescarte += r.filasDescartadas() > 0;
    // La vista cuenta cada larga y sus operaciones, sin huecos.
    int64_t vista = 0;
    for (int64_t i = 0; i < r.numFilas(); ++i) {
      ASSERT_EQ(r.posicionEnVista(i), vista);
      ASSERT_EQ(r.enVista(vista).fila, i);
      vista += 1 + r.fila(i).numOps;
    }
    ASSERT_EQ(r.numFilasVista(), vista);
  }
  EXPECT_GT(conDescarte, 0);
}

// Cada motivo de espera tiene su frase en la pista, con los datos que lleva.
TEST(DiagramaPistas, CadaMotivoConSusDatos) {
  const std::pair<TEspera, std::string> casos[] = {
      {{espROBLleno, -1, -1}, "El reorder buffer está lleno"},
      {{espEstacionLlena, tufSumaFlotante, -1}, "La estación de reserva de +Flotante está llena"},
      {{espEmisionEnOrden, -1, -1}, "Emisión en orden: una instrucción anterior no se ha podido emitir"},
      {{espDecodificadorLleno, -1, -1}, "La cola del decodificador está llena"},
      {{espDecodificadorVacio, -1, -1}, "No queda nada que emitir"},
      {{espOperandoJ, -1, 7}, "Espera el operando j (etiqueta 7 del ROB, 3 filas antes)"},
      {{espOperandoK, -1, 2}, "Espera el operando k (etiqueta 2 del ROB, 3 filas antes)"},
      {{espSinUnidadLibre, tufMultEntera, -1}, "Ninguna unidad de xEntera libre"},
      {{espSinUnidadLibre, TIPO_UNIDAD_DIRECCIONES, -1}, "Ninguna unidad de cálculo de direcciones libre"},
      {{espAlmacenamientoSinDireccion, -1, 4},
       "Un almacenamiento anterior aún no tiene dirección (etiqueta 4 del ROB, 3 filas antes)"},
      {{espAlmacenamientoMismaDireccion, -1, 5},
       "Un almacenamiento anterior escribe en la misma dirección (etiqueta 5 del ROB, 3 filas antes)"},
      {{espFalloCache, -1, 12}, "Fallo de caché en la palabra 12"},
      {{espConfirmacionEnOrden, -1, -1}, "Espera a confirmarse en orden: hay una instrucción anterior sin confirmar"},
      {{espNaT, 1, 6}, "El registro F6 tiene el bit NaT puesto: espera el resultado de una carga"},
      {{espNaT, 0, 6}, "El registro R6 tiene el bit NaT puesto: espera el resultado de una carga"},
      {{espUnidadOcupada, tufMemoria, 1}, "La unidad Mem 1 está ocupada"},
  };
  for (const auto& [espera, frase] : casos) {
    const TTramoVisible t{3, 5, espera.motivo == espNaT || espera.motivo == espUnidadOcupada ? 'S' : 'R', espera, 3};
    const std::string p = TTextosDiagrama::pista(t, t.letra == 'S' ? filaLarga : filaSuper);
    EXPECT_NE(p.find(frase), std::string::npos) << p;
  }
  // Sin distancia conocida no se inventa ninguna.
  EXPECT_EQ(TTextosDiagrama::motivo({espOperandoJ, -1, 7}), "Espera el operando j (etiqueta 7 del ROB)");
  EXPECT_EQ(TTextosDiagrama::pista(TTramoVisible{1, 1, 'W', {}, 0}, filaSuper), "Resultado escrito, por confirmar");
  EXPECT_EQ(TTextosDiagrama::pista(TTramoVisible{1, 1, 'X', {}, 0}, filaOperacion),
            "Descartada: su predicado de guarda es falso");
  // Una letra o un tipo de unidad fuera de lo conocido no rompe nada.
  EXPECT_EQ(TTextosDiagrama::etapa('?', filaSuper), "");
  EXPECT_EQ(TTextosDiagrama::motivo({espUnidadOcupada, 99, 0}), "La unidad ? 0 está ocupada");
}

// La tabla de libro sale de las letras: ciclos de cada columna en los casos de libro.
TEST(DiagramaTabla, CiclosDeLibroEnLasDosMaquinas) {
  TSuper fallo("2\nLF F1 4(R0)\nADDF F2 F1 F1\n", 100);
  fallo.correr();
  const TFilaTabla carga = TTablaInstrucciones::fila(fallo.r, 0);
  EXPECT_EQ(carga.emision, 3);
  EXPECT_EQ(carga.inicioEjecucion, 4);
  EXPECT_EQ(carga.finEjecucion, 14);
  EXPECT_EQ(carga.escritura, 15);
  EXPECT_EQ(carga.confirmacion, 16);
  EXPECT_FALSE(carga.anulada);
  EXPECT_EQ(TTablaInstrucciones::filas(fallo.r, 16, 16).size(), 2u);
  EXPECT_EQ(TTablaInstrucciones::filas(fallo.r, 100, 200).size(), 0u);

  TSuper salto("4\nDADDUI R1 R0 #1\nBNE R1 R0 FIN\nADDI R2 R2 R2\nFIN: ADDI R3 R3 R3\n");
  salto.correr();
  bool hayAnulada = false;
  for (int64_t i = 0; i < salto.r.numFilas(); ++i) {
    const TFilaTabla t = TTablaInstrucciones::fila(salto.r, i);
    hayAnulada |= t.anulada;
    EXPECT_EQ(t.anulada, t.confirmacion < 0) << i;
  }
  EXPECT_TRUE(hayAnulada);

  using ayuda::TOp;
  const TCodigo s = ayuda::secuencial("3\nADDI R1 R2 R3\nLI R4 0(R0)\nADDI R5 R4 R4\n");
  TMaquinaVLIW m;
  TRegistradorDiagrama r(true);
  m.observador = &r;
  ayuda::construir(m.codigo, s, {{TOp{0, 0}, TOp{1, 0}}, {TOp{2, 1}}});
  m.memoria.sembrar(1);
  m.reset(true);
  m.memoria.porcentajeFallos = 100;
  ayuda::ejecutar(m);
  // Vista: L0, su suma, su carga, L1, su suma.
  const TFilaTabla l0 = TTablaInstrucciones::fila(r, 0), cargaVLIW = TTablaInstrucciones::fila(r, 2),
                   l1 = TTablaInstrucciones::fila(r, 3);
  EXPECT_EQ(l0.emision, 1);
  EXPECT_EQ(l0.final, 10);  // acaba con su carga
  EXPECT_EQ(cargaVLIW.paradas, 5);
  EXPECT_EQ(cargaVLIW.final, 10);
  EXPECT_EQ(l1.emision, 10);
  EXPECT_EQ(l1.paradas, 8);
  EXPECT_EQ(TTablaInstrucciones::fila(r, 99).emision, -1);
}

// Con la navegación de la sesión: volver a un ciclo deja el diagrama como si la
// ejecución hubiera llegado solo hasta él, y seguir adelante lo completa igual
// que la ejecución de un tirón (también a través de un punto de control).
TEST(DiagramaSesion, VolverAUnCicloYSeguir) {
  auto codigo = compilar("5\nDADDUI R1 R0 #0\nDADDUI R2 R0 #300\nL: DADDUI R1 R1 #1\nLF F1 0(R1)\nBNE R1 R2 L\n");
  for (int porcentaje : {0, 50}) {
    TMaquinaSuper seguida, navegada;
    TRegistradorDiagrama a(false), b(false);
    TSesionSuper sa(seguida, codigo.get()), sb(navegada, codigo.get());
    sb.intervaloInicial = 64;
    seguida.observador = &a;
    navegada.observador = &b;
    for (TSesionSuper* s : {&sa, &sb}) {
      s->maquina.memoria.porcentajeFallos = porcentaje;
      ASSERT_EQ(s->iniciar(true, 7u), SESION_OK);
    }
    sa.ejecutar(100000, false);
    sb.ejecutar(100000, false);
    ASSERT_GT(navegada.ciclo, 300);
    for (int32_t c : {300, 3, 130, 64}) {
      ASSERT_EQ(sb.irACiclo(c), c);
      EXPECT_EQ(b.ultimoCiclo(), c);
      for (int64_t i = 0; i < b.numFilas(); ++i) {
        const TFilaDiagrama& f = b.fila(i);
        ASSERT_LE(f.primero, c);
        ASSERT_LE(b.finDe(f), c);
        // Lo que hay hasta c es lo de la ejecución seguida.
        const std::string letras = b.letras(f), completa = a.letras(a.fila(i));
        ASSERT_EQ(letras, completa.substr(0, letras.size())) << "ciclo " << c << ", fila " << i;
      }
    }
    sb.ejecutar(100000, false);
    ASSERT_EQ(b.numFilas(), a.numFilas()) << porcentaje;
    for (int64_t i = 0; i < a.numFilas(); ++i)
      ASSERT_EQ(conMotivos(b, b.fila(i)), conMotivos(a, a.fila(i))) << porcentaje << ", fila " << i;
  }
}
