// Ir a cualquier ciclo de una ejecución, hacia atrás y hacia delante: la
// máquina queda como en una ejecución hacia delante detenida en ese ciclo, el
// observador recibe lo mismo que habría recibido y una edición tras volver
// atrás sustituye el futuro.

#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "AyudaDiferencial.h"
#include "AyudaSuper.h"
#include "AyudaVLIW.h"
#include "reports/TEscritorJSON.h"
#include "reports/TEstadoJSON.h"
#include "session/TSesionSuper.h"
#include "session/TSesionVLIW.h"
#include "superscalar/TInstantaneaSuper.h"
#include "vliw/TInstantaneaVLIW.h"
#include "vliw/TOperacionVLIW.h"

namespace {

// Los sucesos de cada ciclo como texto, con su ciclo: vueltaAtras olvida los
// posteriores, como hará el diagrama.
class TRegistroSucesos : public TObservadorCiclo {
public:
  std::vector<std::pair<int32_t, std::string>> sucesos;
  int32_t vueltas = 0;

  void reiniciada() override { sucesos.clear(); }
  void inicioCiclo(int32_t c) override { ciclo = c; }
  void finCiclo(int32_t c, int8_t r) override { anotar("fin", c, r); }
  void vueltaAtras(int32_t c) override {
    ++vueltas;
    while (!sucesos.empty() && sucesos.back().first > c) sucesos.pop_back();
  }
  void buscada(const TInstruccion& i) override { anotar("P", i.secuencia); }
  void decodificada(const TInstruccion& i) override { anotar("D", i.secuencia); }
  void emitida(const TInstruccion& i, int32_t t) override { anotar("R", i.secuencia, t); }
  void enUnidadDirecciones(const TInstruccion& i, int32_t u) override { anotar("A", i.secuencia, u); }
  void direccionCalculada(const TInstruccion& i, int32_t d) override { anotar("R", i.secuencia, d); }
  void enUnidad(const TInstruccion& i, int32_t t, int32_t u) override { anotar("E", i.secuencia, t * 100 + u); }
  void falloCache(const TInstruccion& i, int32_t d) override { anotar("M", i.secuencia, d); }
  void resultadoEscrito(const TInstruccion& i, int32_t t) override { anotar("W", i.secuencia, t); }
  void confirmada(const TInstruccion& i, int32_t t) override { anotar("C", i.secuencia, t); }
  void anulada(const TInstruccion& i) override { anotar("X", i.secuencia); }
  void espera(const TInstruccion& i, const TEspera& e) override {
    anotar("espera", i.secuencia, e.motivo * 10000 + e.tipo * 1000 + e.dato);
  }
  void emisionDetenida(const TEspera& e, int32_t n) override { anotar("detenida", e.motivo, n); }
  void largaEnEmision(int64_t s, int32_t l) override { anotar("enEmision", s, l); }
  void largaDetenida(int64_t s, int32_t l, const TEspera& e) override { anotar("S", s, l * 100 + e.motivo); }
  void largaEmitida(int64_t s, int32_t l) override { anotar("I", s, l); }
  void operacionEmitida(int64_t s, int32_t i, const TOperacionVLIW&) override { anotar("opI", s, i); }
  void operacionFalloCache(int64_t s, int32_t i, const TOperacionVLIW&, int32_t d) override {
    anotar("opM", s, i * 10000 + d);
  }
  void operacionEjecutada(int64_t s, int32_t i, const TOperacionVLIW&) override { anotar("opW", s, i); }
  void operacionDescartada(int64_t s, int32_t i, const TOperacionVLIW&) override { anotar("opX", s, i); }

  // Los sucesos sin los avisos de espera que repiten el motivo vigente de la
  // instrucción (el último desde su última transición): al volver a
  // engancharse, la superescalar vuelve a avisar de lo que ya esperaba, y el
  // motivo de cada celda no cambia por ello.
  std::vector<std::string> sinRepetidos() const {
    std::map<std::string, std::string> vigente;
    std::vector<std::string> v;
    for (const auto& [c, texto] : sucesos) {
      const auto sp1 = texto.find(' ');
      const auto sp2 = texto.find(' ', sp1 + 1);
      const std::string tipo = texto.substr(0, sp1);
      const std::string quien = texto.substr(sp1 + 1, sp2 - sp1 - 1);
      if (tipo == "espera") {
        const std::string motivo = texto.substr(sp2 + 1);
        if (vigente[quien] == motivo) continue;
        vigente[quien] = motivo;
      } else if (tipo != "fin" && tipo != "detenida") {
        vigente.erase(quien);
      }
      v.push_back(std::to_string(c) + " " + texto);
    }
    return v;
  }

private:
  int32_t ciclo = 0;
  void anotar(const char* que, int64_t a, int64_t b = 0) {
    sucesos.emplace_back(ciclo, std::string(que) + " " + std::to_string(a) + " " + std::to_string(b));
  }
};

// Un bucle con cargas que fallan y un salto; R2 es su límite.
std::string bucle(int vueltas) {
  return "9\n"
         "      DADDUI R2 R0 #" +
         std::to_string(vueltas) +
         "\n"
         "BUC:  LF     F1 0(R1)\n"
         "      ADDF   F2 F2 F1\n"
         "      SF     F2 20(R1)\n"
         "      LI     R5 0(R1)\n"
         "      ADDI   R6 R6 R5\n"
         "      MULTI  R7 R6 R1\n"
         "      DADDUI R1 R1 #1\n"
         "      BNE    R1 R2 BUC\n";
}

// Una máquina con su sesión y su observador, lista para ejecutar el bucle.
struct TBancoSuper {
  using Instantanea = TInstantaneaSuper;
  std::unique_ptr<TCodigo> codigo;
  TMaquinaSuper m;
  TSesionSuper s{m};
  explicit TBancoSuper(int vueltas) : codigo(compilar(bucle(vueltas))) {
    s.cambiarPrograma(codigo.get());
    m.memoria.porcentajeFallos = 50;
  }
};

struct TBancoVLIW {
  using Instantanea = TInstantaneaVLIW;
  TMaquinaVLIW m;
  TSesionVLIW s{m};
  explicit TBancoVLIW(int vueltas) {
    const TCodigo sec = ayuda::secuencial(bucle(vueltas));
    diferencial::TAzarSemilla azar(5);
    diferencial::planificarEnSerie(m, sec, azar);
    m.memoria.porcentajeFallos = 50;
  }
};

template <typename Banco>
typename Banco::Instantanea foto(Banco& b) {
  typename Banco::Instantanea f;
  b.m.capturar(f);
  return f;
}

// Ejecuta hacia delante y devuelve el estado tras cada ciclo (con las
// ediciones hechas en él). En «cicloEdicion» el límite del bucle pasa a
// «nuevoLimite»; en el ciclo 0, se escribe una palabra de memoria.
template <typename Banco>
std::vector<typename Banco::Instantanea> haciaDelante(Banco& b, uint32_t semilla, int32_t intervalo,
                                                      int32_t cicloEdicion, int32_t nuevoLimite) {
  b.s.intervaloInicial = intervalo;
  EXPECT_EQ(b.s.iniciar(true, semilla), SESION_OK);
  b.s.editarMemoria(3, 2.5f);
  std::vector<typename Banco::Instantanea> estados{foto(b)};
  while (b.s.enCurso() && b.m.ciclo < 20000) {
    b.s.paso();
    if (b.m.ciclo == cicloEdicion) b.s.editarRegistroEntero(2, nuevoLimite);
    estados.push_back(foto(b));
  }
  EXPECT_EQ(b.s.estado(), estTerminada);
  return estados;
}

}  // namespace

// Para cada ciclo c de una ejecución corta y cada ciclo anterior, ir a c y
// volver al anterior deja la máquina como la ejecución hacia delante; los
// sucesos que ve el observador al final son los mismos.
template <typename Banco>
void deCadaCicloACadaAnterior(uint32_t semilla) {
  Banco ref(3);
  TRegistroSucesos sucesosRef;
  ref.m.observador = &sucesosRef;
  const auto estados = haciaDelante(ref, semilla, 4, 9, 4);
  const auto n = static_cast<int32_t>(estados.size()) - 1;
  ASSERT_GT(n, 30);

  Banco b(3);
  TRegistroSucesos sucesos;
  b.m.observador = &sucesos;
  haciaDelante(b, semilla, 4, 9, 4);
  for (int32_t c = n; c >= 1; --c) {
    for (int32_t anterior = 0; anterior < c; ++anterior) {
      ASSERT_EQ(b.s.irACiclo(c), c);
      ASSERT_EQ(b.s.irACiclo(anterior), anterior);
      ASSERT_TRUE(foto(b) == estados[static_cast<size_t>(anterior)])
          << "de " << c << " a " << anterior << ", semilla " << semilla;
      ASSERT_EQ(b.s.estado(), estPausada);
    }
  }
  // Hacia delante, paso a paso, otra vez la ejecución original hasta el final.
  while (b.s.enCurso()) {
    b.s.paso();
    ASSERT_TRUE(foto(b) == estados[static_cast<size_t>(b.m.ciclo)]) << "ciclo " << b.m.ciclo;
  }
  EXPECT_EQ(b.m.ciclo, n);
  EXPECT_EQ(b.s.estado(), estTerminada);
  EXPECT_EQ(b.s.ediciones().size(), 2u) << "ir y volver no añade ediciones";
  EXPECT_GT(sucesos.vueltas, 0);
  EXPECT_EQ(sucesos.sinRepetidos(), sucesosRef.sinRepetidos());
}

TEST(Navegacion, SuperescalarDeCadaCicloACadaCicloAnterior) {
  for (uint32_t semilla : {3u, 11u}) deCadaCicloACadaAnterior<TBancoSuper>(semilla);
}

TEST(Navegacion, VLIWDeCadaCicloACadaCicloAnterior) {
  for (uint32_t semilla : {3u, 11u}) deCadaCicloACadaAnterior<TBancoVLIW>(semilla);
}

// Una ejecución más larga con saltos al azar en las dos direcciones, con el
// intervalo de la aplicación y con uno pequeño que la memoria obliga a
// espaciar.
// Devuelve el intervalo al que llegaron los puntos.
template <typename Banco>
int32_t saltosAlAzar(int32_t intervalo, size_t limiteMemoria) {
  Banco ref(40);
  TRegistroSucesos sucesosRef;
  ref.m.observador = &sucesosRef;
  const auto estados = haciaDelante(ref, 77u, intervalo, 60, 45);
  const auto n = static_cast<int32_t>(estados.size()) - 1;
  EXPECT_GT(n, 200);

  Banco b(40);
  TRegistroSucesos sucesos;
  b.m.observador = &sucesos;
  b.s.limiteMemoria = limiteMemoria;
  haciaDelante(b, 77u, intervalo, 60, 45);
  EXPECT_LE(b.s.memoriaPuntos(), limiteMemoria);
  diferencial::TAzarSemilla azar(intervalo);
  for (int i = 0; i < 150; ++i) {
    const int32_t c = azar.entre32(0, n);
    EXPECT_EQ(b.s.irACiclo(c), c);
    EXPECT_TRUE(foto(b) == estados[static_cast<size_t>(c)]) << "salto " << i << " al ciclo " << c;
    if (i % 10 == 0 && c > 0) {
      EXPECT_TRUE(b.s.retroceder());
      EXPECT_TRUE(foto(b) == estados[static_cast<size_t>(c - 1)]) << "retroceder desde " << c;
    }
  }
  // Más allá del final se queda en él, terminada.
  EXPECT_EQ(b.s.irACiclo(n + 50), n);
  EXPECT_EQ(b.s.estado(), estTerminada);
  EXPECT_TRUE(foto(b) == estados.back());
  EXPECT_EQ(sucesos.sinRepetidos(), sucesosRef.sinRepetidos());
  // Sin observador, hacia delante también se salta desde los puntos de control.
  b.m.observador = nullptr;
  for (int i = 0; i < 100; ++i) {
    const int32_t c = azar.entre32(0, n);
    EXPECT_EQ(b.s.irACiclo(c), c);
    EXPECT_TRUE(foto(b) == estados[static_cast<size_t>(c)]) << "sin observador, salto " << i << " al ciclo " << c;
  }
  return b.s.intervaloPuntos();
}

TEST(Navegacion, SuperescalarSaltosAlAzarConPuntosEspaciadosPorLaMemoria) {
  EXPECT_EQ(saltosAlAzar<TBancoSuper>(TSesion::INTERVALO_PUNTOS, TSesion::LIMITE_MEMORIA_PUNTOS),
            TSesion::INTERVALO_PUNTOS);
  TBancoSuper b(40);
  EXPECT_GE(saltosAlAzar<TBancoSuper>(2, 40 * foto(b).tamano()), 16) << "el intervalo se dobla al pasar del límite";
}

TEST(Navegacion, VLIWSaltosAlAzarConPuntosEspaciadosPorLaMemoria) {
  saltosAlAzar<TBancoVLIW>(TSesion::INTERVALO_PUNTOS, TSesion::LIMITE_MEMORIA_PUNTOS);
  TBancoVLIW v(40);
  EXPECT_GE(saltosAlAzar<TBancoVLIW>(3, 30 * foto(v).tamano()), 24);
}

// Una edición tras volver atrás es una rama nueva de la historia: lo que venía
// después se olvida y la ejecución sigue como si la edición se hubiera hecho
// la primera vez en ese ciclo.
template <typename Banco>
void edicionTrasVolverSustituyeElFuturo() {
  Banco b(6);
  b.s.intervaloInicial = 8;
  haciaDelante(b, 5u, 8, 40, 8);
  const int32_t finOriginal = b.m.ciclo;
  ASSERT_EQ(b.s.irACiclo(20), 20);
  EXPECT_TRUE(b.s.editarRegistroEntero(2, 7));  // una vuelta menos que la original
  EXPECT_EQ(b.s.cicloMasLejano(), 20);
  ASSERT_EQ(b.s.ediciones().size(), 2u) << "la edición del ciclo 40 ya no ocurrirá";
  EXPECT_EQ(b.s.irACiclo(10), 10);
  EXPECT_EQ(b.s.irACiclo(1 << 20), b.m.ciclo) << "hacia delante, hasta donde acabe la rama nueva";
  EXPECT_EQ(b.s.estado(), estTerminada);
  const auto nuevaRama = foto(b);
  EXPECT_NE(b.m.ciclo, finOriginal);

  // La misma historia hecha de una vez.
  Banco ref(6);
  ref.s.iniciar(true, 5u);
  ref.s.editarMemoria(3, 2.5f);
  ref.s.ejecutar(20);
  ref.s.editarRegistroEntero(2, 7);
  ref.s.ejecutar(1 << 20);
  EXPECT_TRUE(foto(ref) == nuevaRama);
  // Y volver dentro de la rama nueva, también antes de la edición.
  for (int32_t c : {25, 19, 20, 21}) {
    ref.s.irACiclo(c);
    b.s.irACiclo(c);
    EXPECT_TRUE(foto(ref) == foto(b)) << "ciclo " << c;
  }
}

TEST(Navegacion, EdicionTrasVolverSustituyeElFuturoEnLasDosMaquinas) {
  edicionTrasVolverSustituyeElFuturo<TBancoSuper>();
  edicionTrasVolverSustituyeElFuturo<TBancoVLIW>();
}

// Lo que se edita con la ejecución ya acabada no se pierde al ir atrás y
// volver al final, y el final sigue siendo el final.
template <typename Banco>
void edicionTrasElFinalSeConserva() {
  Banco b(4);
  haciaDelante(b, 9u, 8, -1, 0);
  const int32_t fin = b.m.ciclo;
  EXPECT_TRUE(b.s.editarRegistroEntero(9, 41));
  EXPECT_TRUE(b.s.editarMemoria(7, 1.25f));
  const auto editada = foto(b);
  ASSERT_EQ(b.s.irACiclo(fin / 2), fin / 2);
  EXPECT_NE(b.m.gpr.valor[9], 41);
  EXPECT_EQ(b.s.irACiclo(fin), fin);
  EXPECT_TRUE(foto(b) == editada);
  EXPECT_EQ(b.s.estado(), estTerminada);
  EXPECT_EQ(b.s.cicloMasLejano(), fin);
}

TEST(Navegacion, EdicionTrasElFinalSeConservaEnLasDosMaquinas) {
  edicionTrasElFinalSeConserva<TBancoSuper>();
  edicionTrasElFinalSeConserva<TBancoVLIW>();
}

// Los breakpoints paran al avanzar paso a paso, no al saltar; el programa
// vuelve a tener en cada ciclo los breakpoints que tenía entonces.
TEST(Navegacion, BreakpointsAlSaltarYAlVolver) {
  TBancoSuper b(6);
  b.s.intervaloInicial = 4;
  b.s.iniciar(true, 9u);
  b.s.ejecutar(10);
  b.s.editarBreakpoint(4, true);  // LI, dentro del bucle
  const int32_t marcado = b.m.ciclo;
  EXPECT_EQ(b.s.ejecutar(1000), CICLO_BREAKPOINT);
  const int32_t parada = b.m.ciclo;
  b.s.editarBreakpoint(4, false);
  EXPECT_EQ(b.s.ejecutar(1000, false), CICLO_COMPLETADO);

  EXPECT_EQ(b.s.irACiclo(marcado - 1), marcado - 1);
  EXPECT_FALSE(b.codigo->instrucciones[4].breakpoint);
  EXPECT_EQ(b.s.irACiclo(parada + 3), parada + 3) << "saltar no para en el breakpoint";
  EXPECT_FALSE(b.m.paradaBreakpoint);
  EXPECT_EQ(b.s.irACiclo(parada - 1), parada - 1);
  EXPECT_TRUE(b.codigo->instrucciones[4].breakpoint);
  EXPECT_EQ(b.s.paso(), CICLO_BREAKPOINT) << "paso a paso, sí";
  EXPECT_EQ(b.s.estado(), estEnBreakpoint);
}

// Sin ejecución que recorrer no se navega: antes de empezar, en el ciclo 0
// hacia atrás, y tras parar (los puntos se devuelven).
TEST(Navegacion, SinEjecucionNoSeNavega) {
  TBancoVLIW v(2);
  EXPECT_FALSE(v.s.puedeNavegar());
  EXPECT_EQ(v.s.irACiclo(3), -1);
  v.s.iniciar(true, 1u);
  EXPECT_FALSE(v.s.retroceder());
  EXPECT_EQ(v.s.irACiclo(-1), -1);
  EXPECT_EQ(v.s.irACiclo(5), 5);
  EXPECT_TRUE(v.s.retroceder());
  EXPECT_EQ(v.m.ciclo, 4);
  v.s.parar();
  EXPECT_FALSE(v.s.puedeNavegar());
  EXPECT_EQ(v.s.numPuntos(), 0u);
  EXPECT_EQ(v.s.memoriaPuntos(), 0u);
  EXPECT_EQ(v.s.irACiclo(2), -1);
  EXPECT_EQ(v.m.ciclo, 4);
}

// La pregunta de examen, «qué tiene la máquina tras el ciclo N»: saltar a N
// desde el final de la ejecución responde lo mismo que ejecutar hasta N (lo
// que hace orvex-run --max-cycles N --state).
template <typename Banco>
std::string estadoJSON(Banco& b) {
  std::ostringstream s;
  TEscritorJSON j(s);
  TEstadoJSON::escribir(j, b.m);
  return s.str();
}

template <typename Banco>
void estadoTrasElCicloN() {
  Banco haciaDelante(6), saltando(6);
  haciaDelante.s.iniciar(true, 4u);
  saltando.s.iniciar(true, 4u);
  saltando.s.ejecutar(1 << 20, false);
  std::string anterior;
  for (int32_t n : {1, 7, 23, 40}) {
    haciaDelante.s.ejecutar(n - haciaDelante.m.ciclo, false);
    ASSERT_EQ(saltando.s.irACiclo(n), n);
    const std::string estado = estadoJSON(haciaDelante);
    EXPECT_EQ(estado, estadoJSON(saltando)) << "ciclo " << n;
    EXPECT_NE(estado, anterior);
    anterior = estado;
  }
}

TEST(Navegacion, EstadoTrasElCicloNSaltandoComoHaciaDelante) {
  estadoTrasElCicloN<TBancoSuper>();
  estadoTrasElCicloN<TBancoVLIW>();
}
