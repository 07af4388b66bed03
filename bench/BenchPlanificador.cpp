// Calidad y tiempo del planificador automático de la máquina VLIW.
//
// Antes de las medidas de tiempo escribe las cifras de calidad:
//  - por ejemplo de examples/: instrucciones largas (suma de los bloques) y
//    ciclos ejecutando, del planificador frente a la suma de las cotas y a dos
//    planificaciones de una operación por instrucción larga: «en serie» (cada
//    operación seguida de su latencia completa) y «en orden» (cada una en
//    cuanto lo permiten sus dependencias con las anteriores);
//  - en bloques de línea recta generados (operaciones al azar sobre 12
//    registros por banco, o expresiones cuyos valores se usan enseguida) y en
//    programas con bucles, la suma de longitudes frente a la suma de cotas y a
//    las dos de referencia.
// Todo con la configuración por defecto, con los fallos de caché costando 5
// ciclos (latencia de fallo 9) y sin costar nada (latencia de fallo 4), para
// ver lo que cuestan las reglas que protegen de ellos.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "loader/TCodigo.h"
#include "machine/TJuegoInstrucciones.h"
#include "vliw/TMaquinaVLIW.h"
#include "vliw/TPlanificadorVLIW.h"

namespace {

size_t ix(int64_t i) { return static_cast<size_t>(i); }

// ---------------------------------------------------------------------------
// Planificaciones de referencia, una operación por instrucción larga y en
// orden de programa. Cada bloque deja terminado todo lo suyo antes del
// siguiente, así que son correctas sin fallos que cuesten.

struct TRegistrosDe {
  int n = 0;
  int fuentes[2] = {-1, -1};
  int destino = -1;
};

TRegistrosDe registrosDe(const TInstruccion& i) {
  TRegistrosDe r;
  const TDescripcionInstruccion& d = descripcionDe(i.codOp);
  auto clave = [&](const TOperando& o) { return (o.flotante() ? 64 : 0) + i.op[o.campo]; };
  for (const TOperando& o : {d.fuenteJ, d.fuenteK})
    if (o.esRegistro()) r.fuentes[r.n++] = clave(o);
  if (d.destino.esRegistro()) r.destino = clave(d.destino);
  return r;
}

struct TColocada {
  int32_t larga;  // relativa al bloque
};

// Posiciones de referencia de un bloque y su longitud. «enOrden» false: cada
// operación tras la latencia completa de la anterior.
int32_t referenciaBloque(const TCodigo& c, const TBloquePlanificado& b, const TMaquina& m, bool enOrden,
                         std::vector<TColocada>& pos) {
  const auto lat = [&](const TInstruccion& i) { return m.latUF[ix(i.tipoUnidad())]; };
  pos.assign(ix(b.numOperaciones), {0});
  int32_t siguiente = 0, fin = 0;
  for (int32_t k = 0; k < b.numOperaciones; ++k) {
    const TInstruccion& y = c.instrucciones[ix(b.primeraInstruccion + k)];
    const TRegistrosDe ry = registrosDe(y);
    int32_t t = siguiente;
    if (enOrden) {
      for (int32_t j = 0; j < k; ++j) {
        const TInstruccion& x = c.instrucciones[ix(b.primeraInstruccion + j)];
        const TRegistrosDe rx = registrosDe(x);
        const int32_t ix_ = pos[ix(j)].larga;
        for (int s = 0; s < ry.n; ++s)
          if (ry.fuentes[s] == rx.destino) t = std::max(t, ix_ + lat(x));
        if (ry.destino >= 0) {
          for (int s = 0; s < rx.n; ++s)
            if (rx.fuentes[s] == ry.destino) t = std::max(t, ix_ + lat(x) - lat(y));
          if (rx.destino == ry.destino) t = std::max(t, ix_ + lat(x) - lat(y) + 1);
        }
      }
    }
    pos[ix(k)].larga = t;
    fin = std::max(fin, t + lat(y));
    siguiente = enOrden ? t + 1 : t + lat(y);
  }
  return std::max(fin, siguiente);
}

// Construye en la máquina la planificación de referencia (todas las
// operaciones en la unidad 0 de su tipo: la memoria, en orden) y da su longitud.
int64_t construirReferencia(const TCodigo& c, const std::vector<TBloquePlanificado>& bloques, TMaquinaVLIW& m,
                            bool enOrden) {
  std::vector<std::vector<TColocada>> pos(bloques.size());
  std::vector<int32_t> inicio(bloques.size() + 1, 0);
  for (size_t b = 0; b < bloques.size(); ++b)
    inicio[b + 1] = inicio[b] + referenciaBloque(c, bloques[b], m, enOrden, pos[b]);
  m.borrarCodigo();
  m.codigo.crear(inicio.back());
  for (size_t b = 0; b < bloques.size(); ++b)
    for (int32_t k = 0; k < bloques[b].numOperaciones; ++k) {
      const TInstruccion& ins = c.instrucciones[ix(bloques[b].primeraInstruccion + k)];
      auto op = std::make_unique<TOperacionVLIW>(ins);
      op->tipoUF = ins.tipoUnidad();
      if (esSalto(ins.codOp)) {
        const int32_t t = c.primeraDeBloque(ins.op[2]);
        op->op[2] = inicio.back();
        for (size_t d = 0; d < bloques.size(); ++d)
          if (bloques[d].primeraInstruccion == t) op->op[2] = inicio[d];
        op->predVerdadero = 1;
        op->predFalso = 2;
      }
      m.codigo.instrucciones[ix(inicio[b] + pos[b][ix(k)].larga)].anadir(std::move(op));
    }
  return inicio.back();
}

// Ciclos hasta completar desde el estado limpio (los ejemplos preparan sus datos).
int64_t ciclos(TMaquinaVLIW& m, int32_t porcentajeFallos) {
  m.reset(true);
  m.memoria.porcentajeFallos = porcentajeFallos;
  m.memoria.sembrar(1);
  for (int64_t i = 0; i < 10000000; ++i) {
    const int8_t r = m.ejecutarCiclo();
    m.paradaBreakpoint = false;
    if (r == CICLO_COMPLETADO) return m.ciclo;
    if (r == CICLO_ERROR) return -1;
  }
  return -1;
}

// ---------------------------------------------------------------------------
// Programas generados

// Un bloque de línea recta: operaciones de todos los tipos sobre pocos
// registros, accesos a memoria con base R0 o R1.
std::string lineaRecta(std::mt19937& g, int n) {
  auto entre = [&](int a, int b) { return std::uniform_int_distribution<int>(a, b)(g); };
  std::string s = std::to_string(n) + "\n";
  for (int i = 0; i < n; ++i) {
    const std::string r1 = "R" + std::to_string(entre(1, 12)), r2 = "R" + std::to_string(entre(1, 12)),
                      r3 = "R" + std::to_string(entre(1, 12));
    const std::string f1 = "F" + std::to_string(entre(0, 12)), f2 = "F" + std::to_string(entre(0, 12)),
                      f3 = "F" + std::to_string(entre(0, 12));
    const std::string dir = std::to_string(entre(0, 60)) + (entre(0, 1) ? "(R0)" : "(R13)");
    switch (entre(0, 9)) {
      case 0: s += "ADDI " + r1 + " " + r2 + " " + r3; break;
      case 1: s += "DADDUI " + r1 + " " + r2 + " #" + std::to_string(entre(0, 9)); break;
      case 2: s += "MULTI " + r1 + " " + r2 + " " + r3; break;
      case 3:
      case 4: s += "ADDF " + f1 + " " + f2 + " " + f3; break;
      case 5: s += "MULTF " + f1 + " " + f2 + " " + f3; break;
      case 6:
      case 7: s += "LF " + f1 + " " + dir; break;
      case 8: s += "SF " + f1 + " " + dir; break;
      default: s += "LI " + r1 + " " + dir; break;
    }
    s += "\n";
  }
  return s;
}

// Un bloque de línea recta como el que dejaría un compilador: cada valor
// cargado o calculado se usa pronto, los resultados van a registros nuevos por
// turno (24 por banco) y se guardan; R20 es la base y nadie la escribe.
std::string expresiones(std::mt19937& g, int n) {
  auto entre = [&](int a, int b) { return std::uniform_int_distribution<int>(a, b)(g); };
  std::vector<std::string> vivosF, vivosR;
  int siguienteF = 0, siguienteR = 0;
  auto nuevoF = [&] { return "F" + std::to_string(1 + siguienteF++ % 24); };
  auto nuevoR = [&] { return "R" + std::to_string(1 + siguienteR++ % 19); };
  auto tomar = [&](std::vector<std::string>& vivos) { return vivos[ix(entre(0, static_cast<int>(vivos.size()) - 1))]; };
  auto anotar = [](std::vector<std::string>& vivos, const std::string& r) {
    vivos.push_back(r);
    if (vivos.size() > 6) vivos.erase(vivos.begin());
  };
  std::string s = std::to_string(n) + "\n";
  for (int i = 0; i < n; ++i) {
    const std::string dir = std::to_string(entre(0, 60)) + "(R20)";
    const int tipo = entre(0, 9);
    if (vivosF.size() < 2 || tipo < 3) {
      const std::string d = nuevoF();
      s += "LF " + d + " " + dir;
      anotar(vivosF, d);
    } else if (tipo < 6) {
      const std::string d = nuevoF();
      s += (tipo < 5 ? "ADDF " : "MULTF ") + d + " " + tomar(vivosF) + " " + tomar(vivosF);
      anotar(vivosF, d);
    } else if (tipo < 8) {
      s += "SF " + tomar(vivosF) + " " + dir;
    } else if (vivosR.empty() || tipo == 8) {
      const std::string d = nuevoR();
      s += vivosR.empty() ? "LI " + d + " " + dir : "DADDUI " + d + " " + tomar(vivosR) + " #1";
      anotar(vivosR, d);
    } else {
      const std::string d = nuevoR();
      s += (entre(0, 1) ? "ADDI " : "MULTI ") + d + " " + tomar(vivosR) + " " + tomar(vivosR);
      anotar(vivosR, d);
    }
    s += "\n";
  }
  return s;
}

// Un programa con bucles contados anidados y saltos hacia delante.
std::string conBucles(std::mt19937& g) {
  auto entre = [&](int a, int b) { return std::uniform_int_distribution<int>(a, b)(g); };
  std::vector<std::string> lineas;
  int contador = 20;
  std::function<void(int, int)> cuerpo = [&](int n, int nivel) {
    for (int i = 0; i < n; ++i) {
      if (nivel < 2 && entre(0, 9) == 0 && contador < 60) {
        const std::string c = "R" + std::to_string(contador++), l = "R" + std::to_string(contador++);
        const std::string etiqueta = "B" + std::to_string(lineas.size());
        lineas.push_back("DADDUI " + c + " R0 #0");
        lineas.push_back("DADDUI " + l + " R0 #" + std::to_string(entre(2, 5)));
        lineas.push_back(etiqueta + ": DADDUI " + c + " " + c + " #1");
        cuerpo(entre(4, 12), nivel + 1);
        lineas.push_back("BNE " + c + " " + l + " " + etiqueta);
        continue;
      }
      std::mt19937 g2(static_cast<uint32_t>(g()));
      std::string una = lineaRecta(g2, 1);
      lineas.push_back(una.substr(una.find('\n') + 1, una.size() - una.find('\n') - 2));
    }
  };
  cuerpo(entre(10, 40), 0);
  std::string s = std::to_string(lineas.size()) + "\n";
  for (const std::string& l : lineas) s += l + "\n";
  return s;
}

// ---------------------------------------------------------------------------
// Informe

struct TSuma {
  int64_t planificador = 0, cotas = 0, serie = 0, orden = 0, operaciones = 0;
  void sumar(const TSuma& o) {
    planificador += o.planificador;
    cotas += o.cotas;
    serie += o.serie;
    orden += o.orden;
    operaciones += o.operaciones;
  }
};

TSuma estatico(const TCodigo& c, TMaquinaVLIW& m) {
  TSuma s;
  TPlanificadorVLIW p(m);
  if (p.planificar(c, m) != PLANIFICACION_OK) return s;
  s.planificador = p.longitudTotal();
  s.cotas = p.cotaTotal();
  s.operaciones = p.operacionesTotales();
  const auto bloques = p.bloques;
  s.serie = construirReferencia(c, bloques, m, false);
  s.orden = construirReferencia(c, bloques, m, true);
  return s;
}

double cociente(int64_t a, int64_t b) { return b > 0 ? static_cast<double>(a) / static_cast<double>(b) : 0.0; }

void informeEjemplos(int32_t latFallo) {
  std::printf("\nEjemplos, configuración por defecto con latencia de fallo %d:\n", latFallo);
  std::printf("%-22s %6s %6s %6s %6s | %7s %7s %7s %7s | %6s %6s\n", "", "plan", "cotas", "serie", "orden",
              "c.plan", "c.serie", "c.orden", "c.100%", "serie/", "orden/");
  namespace fs = std::filesystem;
  std::vector<fs::path> ficheros;
  for (const auto& e : fs::directory_iterator(ORVEX_DIR_EJEMPLOS))
    if (e.path().extension() == ".pla" || e.path().extension() == ".bun") ficheros.push_back(e.path());
  std::sort(ficheros.begin(), ficheros.end());
  for (const fs::path& f : ficheros) {
    TCodigo c;
    if (c.cargar(f.string()) != CARGA_OK) continue;
    TMaquinaVLIW m;
    m.latFalloCache = latFallo;
    m.reset(true);
    TPlanificadorVLIW p(m);
    p.planificar(c, m);
    const auto bloques = p.bloques;
    const int64_t cPlan = ciclos(m, 0), c100 = ciclos(m, 100);
    const int64_t lSerie = construirReferencia(c, bloques, m, false);
    const int64_t cSerie = ciclos(m, 0);
    const int64_t lOrden = construirReferencia(c, bloques, m, true);
    const int64_t cOrden = ciclos(m, 0);
    std::printf("%-22s %6lld %6lld %6lld %6lld | %7lld %7lld %7lld %7lld | %5.2fx %5.2fx\n", f.filename().c_str(),
                static_cast<long long>(p.longitudTotal()), static_cast<long long>(p.cotaTotal()),
                static_cast<long long>(lSerie), static_cast<long long>(lOrden), static_cast<long long>(cPlan),
                static_cast<long long>(cSerie), static_cast<long long>(cOrden), static_cast<long long>(c100),
                cociente(cSerie, cPlan), cociente(cOrden, cPlan));
  }
  std::printf("(plan, cotas, serie, orden: instrucciones largas; c.*: ciclos ejecutando sin fallos, c.100%%: el\n"
              " planificador con todas las cargas fallando; serie/ y orden/: ciclos de esa referencia entre los\n"
              " del planificador)\n");
}

enum TClase { cLineaRecta, cExpresiones, cBucles };

void informeGenerados(const char* titulo, int32_t latFallo, TClase clase) {
  std::mt19937 g(2024);
  TSuma total;
  int64_t bloques = 0;
  for (int k = 0; k < 2000; ++k) {
    TCodigo c;
    const int n = std::uniform_int_distribution<int>(8, 40)(g);
    const std::string fuente = clase == cBucles ? conBucles(g) : clase == cExpresiones ? expresiones(g, n) : lineaRecta(g, n);
    if (c.cargarTexto(fuente) != CARGA_OK) continue;
    TMaquinaVLIW m;
    m.latFalloCache = latFallo;
    m.reset(true);
    total.sumar(estatico(c, m));
    bloques += c.numBloques;
  }
  std::printf("%-34s fallo %d: %lld operaciones en %lld bloques; planificador %lld, cotas %lld (+%.1f %%), "
              "serie %lld (%.2fx), orden %lld (%.2fx)\n",
              titulo, latFallo, static_cast<long long>(total.operaciones), static_cast<long long>(bloques),
              static_cast<long long>(total.planificador), static_cast<long long>(total.cotas),
              100.0 * (cociente(total.planificador, total.cotas) - 1.0), static_cast<long long>(total.serie),
              cociente(total.serie, total.planificador), static_cast<long long>(total.orden),
              cociente(total.orden, total.planificador));
}

void informe() {
  informeEjemplos(9);
  informeEjemplos(4);
  std::printf("\nProgramas generados (2000 de cada clase; longitudes en instrucciones largas):\n");
  for (const int32_t fallo : {9, 4}) {
    informeGenerados("línea recta, al azar (8 a 40)", fallo, cLineaRecta);
    informeGenerados("línea recta, expresiones (8 a 40)", fallo, cExpresiones);
    informeGenerados("programas con bucles", fallo, cBucles);
  }
  std::printf("\n");
}

// ---------------------------------------------------------------------------
// Tiempo de planificar

void BM_PlanificarEjemplo(benchmark::State& estado, const char* nombre) {
  TCodigo c;
  if (c.cargar(std::string(ORVEX_DIR_EJEMPLOS) + "/" + nombre) != CARGA_OK) {
    estado.SkipWithError("no carga el ejemplo");
    return;
  }
  TMaquinaVLIW m;
  TPlanificadorVLIW p(m);
  TCodigoVLIW codigo;
  for (auto _ : estado) benchmark::DoNotOptimize(p.planificar(c, codigo));
}
BENCHMARK_CAPTURE(BM_PlanificarEjemplo, vector_suma, "vector_suma.pla")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_PlanificarEjemplo, producto_escalar, "producto_escalar.pla")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_PlanificarEjemplo, desenrollado, "desenrollado.bun")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_PlanificarEjemplo, bucle_saltos, "bucle_saltos.pla")->Unit(benchmark::kMicrosecond);

// Un solo bloque de n operaciones, con la latencia de fallo por defecto.
void BM_PlanificarBloque(benchmark::State& estado) {
  std::mt19937 g(7);
  TCodigo c;
  if (c.cargarTexto(lineaRecta(g, static_cast<int>(estado.range(0)))) != CARGA_OK) {
    estado.SkipWithError("no carga");
    return;
  }
  TMaquinaVLIW m;
  TPlanificadorVLIW p(m);
  TCodigoVLIW codigo;
  for (auto _ : estado) benchmark::DoNotOptimize(p.planificar(c, codigo));
  estado.SetComplexityN(estado.range(0));
}
BENCHMARK(BM_PlanificarBloque)->RangeMultiplier(10)->Range(100, 100000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  informe();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
