// Instantáneas de las máquinas y la sesión: control de la ejecución, ediciones
// registradas y repetición exacta de una ejecución interactiva.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "AyudaDiferencial.h"
#include "AyudaSuper.h"
#include "AyudaVLIW.h"
#include "session/TSesionSuper.h"
#include "session/TSesionVLIW.h"
#include "superscalar/TInstantaneaSuper.h"
#include "vliw/TInstantaneaVLIW.h"

namespace {

// Guarda una instantánea al final de cada ciclo.
template <typename Maquina, typename Instantanea>
class TFotografo : public TObservadorCiclo {
public:
  explicit TFotografo(Maquina& m) : maquina(m) {}
  std::vector<Instantanea> fotos;
  void finCiclo(int32_t, int8_t) override {
    fotos.emplace_back();
    maquina.capturar(fotos.back());
  }

private:
  Maquina& maquina;
};

using TFotografoSuper = TFotografo<TMaquinaSuper, TInstantaneaSuper>;
using TFotografoVLIW = TFotografo<TMaquinaVLIW, TInstantaneaVLIW>;

// Primer ciclo (desde 0) en que dos series de instantáneas difieren; -1 si ninguno.
template <typename Instantanea>
int primeraDiferencia(const std::vector<Instantanea>& a, const std::vector<Instantanea>& b) {
  for (size_t i = 0; i < a.size() && i < b.size(); ++i)
    if (a[i] != b[i]) return static_cast<int>(i);
  return a.size() == b.size() ? -1 : static_cast<int>(std::min(a.size(), b.size()));
}

}  // namespace

// ---------------------------------------------------------------------------
// Instantáneas

// Una instantánea tomada a mitad de un programa generado, restaurada en otra
// máquina, sigue exactamente igual que la original: todo lo que cuenta está en ella.
TEST(Instantaneas, OtraMaquinaSigueIgualDesdeUnaInstantanea) {
  for (uint32_t semilla = 300; semilla < 360; ++semilla) {
    diferencial::TAzarSemilla azar(semilla);
    diferencial::TGeneradorProgramas generador(azar, false);
    const diferencial::TProgramaGenerado programa = generador.generar();
    const auto codigo = programa.cargar();
    ASSERT_NE(codigo, nullptr);
    const int corte = azar.entre32(1, 40);

    TMaquinaSuper a;
    diferencial::configurarSuper(a, azar);
    a.memoria.porcentajeFallos = 50;
    a.codigo = codigo.get();
    a.reset(true);
    programa.ponerIniciales(a);
    for (int i = 0; i < corte; ++i) a.ejecutarCiclo();
    TInstantaneaSuper enCorte;
    a.capturar(enCorte);

    TMaquinaSuper b;  // otra configuración: la instantánea trae la suya
    b.codigo = codigo.get();
    ASSERT_TRUE(b.restaurar(enCorte));
    TInstantaneaSuper sb;
    b.capturar(sb);
    ASSERT_TRUE(sb == enCorte) << "semilla " << semilla;

    TFotografoSuper fa(a), fb(b);
    a.observador = &fa;
    b.observador = &fb;
    for (int i = 0; i < 200; ++i) {
      const int8_t ra = a.ejecutarCiclo(), rb = b.ejecutarCiclo();
      ASSERT_EQ(ra, rb) << "semilla " << semilla;
      if (ra == CICLO_COMPLETADO || ra == CICLO_ERROR) break;
    }
    ASSERT_EQ(primeraDiferencia(fa.fotos, fb.fotos), -1) << "semilla " << semilla << ", corte " << corte;
  }
}

TEST(Instantaneas, OtraMaquinaVLIWSigueIgualDesdeUnaInstantanea) {
  for (uint32_t semilla = 600; semilla < 660; ++semilla) {
    diferencial::TAzarSemilla azar(semilla);
    diferencial::TGeneradorProgramas generador(azar, false);
    const diferencial::TProgramaGenerado programa = generador.generar();
    const auto codigo = programa.cargar();
    ASSERT_NE(codigo, nullptr);
    const int corte = azar.entre32(1, 40);

    TMaquinaVLIW a, b;
    diferencial::configurarVLIW(a, azar);
    a.latFalloCache = a.latUF[tufMemoria] + 3;  // fallos que se notan
    a.memoria.porcentajeFallos = 50;
    a.reset(true);
    diferencial::planificarCompacta(a, *codigo, azar);
    // La otra máquina, con una copia del programa: la instantánea nombra sus operaciones.
    b.codigo.crear(a.codigo.numInstrucciones);
    for (int32_t i = 0; i < a.codigo.numInstrucciones; ++i)
      for (const auto& op : a.codigo.instrucciones[static_cast<size_t>(i)].operaciones)
        b.codigo.instrucciones[static_cast<size_t>(i)].anadir(std::make_unique<TOperacionVLIW>(*op));
    programa.ponerIniciales(a);
    for (int i = 0; i < corte; ++i) a.ejecutarCiclo();
    TInstantaneaVLIW enCorte;
    a.capturar(enCorte);
    ASSERT_TRUE(b.restaurar(enCorte)) << "semilla " << semilla;

    TFotografoVLIW fa(a), fb(b);
    a.observador = &fa;
    b.observador = &fb;
    for (int i = 0; i < 300; ++i) {
      const int8_t ra = a.ejecutarCiclo(), rb = b.ejecutarCiclo();
      ASSERT_EQ(ra, rb) << "semilla " << semilla;
      if (ra == CICLO_COMPLETADO || ra == CICLO_ERROR) break;
    }
    ASSERT_EQ(primeraDiferencia(fa.fotos, fb.fotos), -1) << "semilla " << semilla << ", corte " << corte;
  }
}

TEST(Instantaneas, PequenaConLaConfiguracionMayorYElROBLleno) {
  // El bucle de la medida que llena las estaciones: con diez unidades de
  // latencia 100 por tipo el ROB tiene 6060 entradas.
  auto c = compilar(
      "10\nDADDUI R2 R0 #500\nBUCLE: DADDUI R1 R1 #1\nMULTI R3 R3 R1\nADDI R4 R4 R3\nMULTF F1 F1 F2\n"
      "ADDF F3 F3 F1\nLF F4 0(R1)\nSF F3 512(R1)\nADDF F5 F5 F4\nBNE R1 R2 BUCLE\n");
  TMaquinaSuper m;
  m.numUF.fill(MAX_UF);
  m.latUF.fill(MAX_LATENCIA);
  m.emision = MAX_EMISION;
  preparar(m, c.get());
  ASSERT_EQ(m.capacidadROB(), 6060);
  int32_t maxROB = 0;
  TInstantaneaSuper s;
  size_t mayor = 0;
  for (int i = 0; i < 3000; ++i) {
    m.ejecutarCiclo();
    if (m.rob.numElementos() > maxROB) {
      maxROB = m.rob.numElementos();
      m.capturar(s);
      mayor = std::max(mayor, s.tamano());
    }
  }
  EXPECT_GT(maxROB, 4000);
  EXPECT_LT(mayor, 512u * 1024u) << "con " << maxROB << " entradas en el ROB";
}

TEST(Instantaneas, NoSeRestauranSobreOtroPrograma) {
  auto largo = compilar("3\nADDI R1 R1 R1\nADDI R2 R2 R2\nLF F1 0(R0)\n");
  auto corto = compilar("1\nADDI R1 R1 R1\n");
  TMaquinaSuper a;
  preparar(a, largo.get());
  for (int i = 0; i < 3; ++i) a.ejecutarCiclo();
  TInstantaneaSuper s;
  a.capturar(s);
  TMaquinaSuper b;
  preparar(b, corto.get());
  b.gpr.valor[5] = 7;
  EXPECT_FALSE(b.restaurar(s));
  EXPECT_EQ(b.gpr.valor[5], 7) << "una instantánea que no cuadra no cambia nada";
  EXPECT_EQ(b.ciclo, 0);
}

// ---------------------------------------------------------------------------
// Sesión: control de la ejecución

TEST(Sesion, EstadosDeUnaEjecucionConBreakpoint) {
  auto c = compilar("3\nDADDUI R1 R0 #5\nADDI R2 R1 R1\nADDI R3 R2 R2\n");
  c->instrucciones[1].breakpoint = true;
  TMaquinaSuper m;
  TSesionSuper s(m, c.get());
  EXPECT_EQ(s.estado(), estPreparada);

  // Un paso sin ejecución la empieza y la deja pausada.
  EXPECT_EQ(s.paso(), CICLO_BREAKPOINT);  // la instrucción 1 se busca en el ciclo 1
  EXPECT_EQ(s.estado(), estEnBreakpoint);
  EXPECT_TRUE(m.enEjecucion && m.paradaBreakpoint);
  // Un paso desde el breakpoint deja la ejecución en él: Iniciar reanuda sin preguntar.
  EXPECT_EQ(s.paso(), CICLO_NORMAL);
  EXPECT_EQ(s.estado(), estEnBreakpoint);
  s.reanudar();
  EXPECT_EQ(s.estado(), estEnMarcha);
  EXPECT_FALSE(m.paradaBreakpoint);
  // Mientras la instrucción del breakpoint espera en prefetch, cada ciclo vuelve a parar.
  s.pausar();
  EXPECT_EQ(s.estado(), estPausada);
  EXPECT_EQ(s.ejecutar(100), CICLO_COMPLETADO);
  EXPECT_EQ(s.estado(), estTerminada);
  EXPECT_FALSE(m.enEjecucion);
  EXPECT_EQ(m.gpr.valor[3], 20);

  // Sin respetar los breakpoints, como orvex-run, la ejecución llega al final de una vez.
  ASSERT_EQ(s.iniciar(true, 1u), SESION_OK);
  EXPECT_EQ(s.ejecutar(100, false), CICLO_COMPLETADO);
  EXPECT_EQ(s.estado(), estTerminada);

  s.paso();
  EXPECT_EQ(s.estado(), estEnBreakpoint) << "un paso tras terminar empieza otra ejecución";
  s.parar();
  EXPECT_EQ(s.estado(), estPreparada);
  EXPECT_FALSE(m.enEjecucion);
}

TEST(Sesion, ErrorYProgramasQueNoSePuedenEmpezar) {
  auto fuera = compilar("1\nLF F0 1030(R0)\n");
  TMaquinaSuper m;
  TSesionSuper s(m);
  EXPECT_EQ(s.paso(), SESION_SIN_PROGRAMA);
  EXPECT_EQ(s.estado(), estPreparada);
  ASSERT_TRUE(s.cambiarPrograma(fuera.get()));
  EXPECT_EQ(s.ejecutar(100), CICLO_ERROR);
  EXPECT_EQ(s.estado(), estError);
  EXPECT_FALSE(m.mensajeError.empty());

  TMaquinaVLIW v;
  TSesionVLIW sv(v);
  EXPECT_EQ(sv.iniciar(true), SESION_SIN_PROGRAMA);
  const TCodigo sec = ayuda::secuencial("1\nADDI R1 R1 R1\n");
  ayuda::construir(v.codigo, sec, {{ayuda::TOp{0, 1}}});
  v.numUF[tufSumaEntera] = 1;
  EXPECT_EQ(sv.iniciar(true), SESION_CONFIGURACION) << "la operación usa la unidad 1 de +Entera";
  v.numUF[tufSumaEntera] = 2;
  EXPECT_EQ(sv.iniciar(true), SESION_OK);
  EXPECT_EQ(sv.ejecutar(10), CICLO_COMPLETADO);
}

TEST(Sesion, LaSemillaElegidaSeGuardaYRepiteLosFallos) {
  auto c = compilar("4\nLF F1 0(R0)\nLF F2 1(R0)\nLF F3 2(R0)\nLF F4 3(R0)\n");
  TMaquinaSuper m;
  m.memoria.porcentajeFallos = 50;
  TSesionSuper s(m, c.get());
  s.iniciar(true);
  s.ejecutar(1000);
  const int32_t ciclos = m.ciclo;
  const int64_t fallos = m.estadisticas.fallosCache;
  const uint32_t semilla = s.semilla();
  s.iniciar(true, semilla);
  EXPECT_EQ(s.semilla(), semilla);
  s.ejecutar(1000);
  EXPECT_EQ(m.ciclo, ciclos);
  EXPECT_EQ(m.estadisticas.fallosCache, fallos);
}

TEST(Sesion, EdicionesRegistradasSoloDuranteUnaEjecucion) {
  auto c = compilar("2\nADDI R1 R2 R3\nADDI R4 R1 R1\n");
  TMaquinaSuper m;
  TSesionSuper s(m, c.get());
  EXPECT_TRUE(s.editarRegistroEntero(2, 4));
  EXPECT_TRUE(s.ediciones().empty()) << "fuera de una ejecución solo se aplica";
  EXPECT_EQ(m.gpr.valor[2], 4);
  EXPECT_FALSE(s.editarRegistroEntero(0, 1)) << "R0 vale siempre 0";
  EXPECT_FALSE(s.editarMemoria(1024, 1.0f));
  EXPECT_FALSE(s.editarPrediccion(16, 0));
  EXPECT_FALSE(s.editarPrediccion(3, 4));
  EXPECT_FALSE(s.editarPorcentajeFallos(101));

  s.iniciar(false, 1u);
  s.ejecutar(2);
  EXPECT_TRUE(s.editarRegistroEntero(3, 10));
  ASSERT_EQ(s.ediciones().size(), 1u);
  EXPECT_EQ(s.ediciones()[0].ciclo, 2);
  EXPECT_EQ(s.ejecutar(100), CICLO_COMPLETADO);
  EXPECT_EQ(m.gpr.valor[4], 28);

  // Volver al ciclo 1 y editar allí descarta lo que se había editado después.
  ASSERT_TRUE(s.repetir(1));
  EXPECT_EQ(m.ciclo, 1);
  EXPECT_EQ(s.estado(), estPausada);
  EXPECT_TRUE(s.editarMemoria(7, 2.5f));
  ASSERT_EQ(s.ediciones().size(), 1u);
  EXPECT_EQ(s.ediciones()[0].tipo, edMemoria);
  EXPECT_EQ(s.ediciones()[0].ciclo, 1);
}

// ---------------------------------------------------------------------------
// Repetición de ejecuciones interactivas

namespace {

// Un bucle con cargas que fallan y un salto que se predice mal de vez en cuando.
const char* const BUCLE =
    "9\n"
    "      DADDUI R2 R0 #30\n"
    "BUC:  LF     F1 0(R1)\n"
    "      ADDF   F2 F2 F1\n"
    "      SF     F2 20(R1)\n"
    "      LI     R5 0(R1)\n"
    "      ADDI   R6 R6 R5\n"
    "      MULTI  R7 R6 R1\n"
    "      DADDUI R1 R1 #1\n"
    "      BNE    R1 R2 BUC\n";

}  // namespace

TEST(Repeticion, SuperescalarInteractivaConFallosEdicionesYBreakpoint) {
  auto c = compilar(BUCLE);
  TMaquinaSuper m;
  m.memoria.porcentajeFallos = 50;
  TSesionSuper s(m, c.get());

  // Una primera ejecución cortada deja registros, memoria y marcas de fallo:
  // la segunda empieza sin limpiar, desde ese estado.
  s.iniciar(true, 99u);
  for (int i = 0; i < 12; ++i) s.editarMemoria(i, static_cast<float>(i) + 0.5f);
  auto conMarcas = [&] {
    for (bool f : m.memoria.fallo)
      if (f) return true;
    return false;
  };
  // Se corta con una carga esperando su fallo: su marca queda puesta.
  while (!conMarcas() && s.enCurso()) s.paso();
  s.ejecutar(2);
  s.parar();
  ASSERT_TRUE(conMarcas()) << "la primera ejecución debe dejar alguna marca de fallo";

  // El contador del bucle vuelve a 0 (fuera de una ejecución: no se registra);
  // lo demás sigue como quedó.
  TFotografoSuper foto(m);
  m.observador = &foto;
  const size_t anteriores = s.ediciones().size();
  s.editarRegistroEntero(1, 0);
  EXPECT_EQ(s.ediciones().size(), anteriores);
  s.iniciar(false);
  s.ejecutar(10);
  s.editarRegistroEntero(3, 77);
  s.editarPrediccion(8, 1);
  s.ejecutar(12);
  s.editarBreakpoint(5, true);
  EXPECT_EQ(s.ejecutar(100), CICLO_BREAKPOINT);
  s.editarMemoria(3, -4.25f);
  s.editarBreakpoint(5, false);
  s.reanudar();
  s.ejecutar(15);
  // Una copia que se buscó con el breakpoint lo conserva: se avanza a pasos.
  while (m.rob.vacia() && s.enCurso()) s.paso();
  ASSERT_FALSE(m.rob.vacia());
  s.editarColor(m.rob.inicio, colorRGB(200, 10, 10));
  s.editarPorcentajeFallos(100);
  s.paso();
  s.editarRegistroFlotante(9, 1.5f);
  s.pausar();
  EXPECT_EQ(s.ejecutar(5000), CICLO_COMPLETADO);
  const std::vector<TInstantaneaSuper> original = std::move(foto.fotos);
  ASSERT_EQ(static_cast<int32_t>(original.size()), m.ciclo);
  EXPECT_EQ(s.ediciones().size(), 8u);

  // Al repetir, el programa vuelve a sus breakpoints de partida, y la memoria
  // y el porcentaje de fallos a los suyos.
  foto.fotos.clear();
  ASSERT_TRUE(s.repetir(1 << 30));
  EXPECT_EQ(s.estado(), estTerminada);
  EXPECT_EQ(primeraDiferencia(original, foto.fotos), -1);
  EXPECT_FALSE(c->instrucciones[5].breakpoint) << "la edición del breakpoint también se repite";

  // Hasta un ciclo intermedio sin ediciones: el mismo estado que se vio entonces.
  int32_t intermedio = 30;
  auto editado = [&](int32_t ciclo) {
    for (const TEdicion& e : s.ediciones())
      if (e.ciclo == ciclo) return true;
    return false;
  };
  while (editado(intermedio)) ++intermedio;
  ASSERT_TRUE(s.repetir(intermedio));
  EXPECT_EQ(m.ciclo, intermedio);
  EXPECT_EQ(s.estado(), estPausada);
  TInstantaneaSuper ahora;
  m.capturar(ahora);
  EXPECT_TRUE(ahora == original[static_cast<size_t>(intermedio - 1)]);
}

TEST(Repeticion, VLIWInteractivaConFallosEdicionesYBreakpoint) {
  using ayuda::TOp;
  const TCodigo sec = ayuda::secuencial(BUCLE);
  TMaquinaVLIW m;
  m.memoria.porcentajeFallos = 50;
  // Una planificación en serie del bucle: cada operación detrás de la anterior.
  diferencial::TAzarSemilla azar(5);
  diferencial::planificarEnSerie(m, sec, azar);
  TSesionVLIW s(m);

  s.iniciar(true, 7u);
  for (int i = 0; i < 12; ++i) s.editarMemoria(i, static_cast<float>(i) * 2.0f);
  s.ejecutar(25);
  s.parar();

  TFotografoVLIW foto(m);
  m.observador = &foto;
  s.editarBreakpoint(6, true);
  s.iniciar(false);
  s.ejecutar(8);
  s.editarRegistroEntero(6, -3);
  EXPECT_EQ(s.ejecutar(200), CICLO_BREAKPOINT);
  s.editarMemoria(2, 9.0f);
  s.editarBreakpoint(6, false);
  s.reanudar();
  s.ejecutar(30);
  s.editarPorcentajeFallos(0);
  EXPECT_EQ(s.ejecutar(5000), CICLO_COMPLETADO);
  const std::vector<TInstantaneaVLIW> original = std::move(foto.fotos);
  EXPECT_EQ(s.ediciones().size(), 4u);

  foto.fotos.clear();
  ASSERT_TRUE(s.repetir(1 << 30));
  EXPECT_EQ(s.estado(), estTerminada);
  EXPECT_EQ(primeraDiferencia(original, foto.fotos), -1);
}
