#include "runner/TOpcionesConsola.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

#include "machine/TMemoria.h"
#include "machine/TRegistros.h"

namespace {

// Entero decimal completo (sin restos) dentro de [minimo, maximo].
bool leerEntero(const std::string& texto, int64_t minimo, int64_t maximo, int64_t& valor) {
  const char* ini = texto.data();
  const char* fin = ini + texto.size();
  if (ini != fin && *ini == '+') ++ini;
  int64_t v = 0;
  const auto r = std::from_chars(ini, fin, v);
  if (r.ec != std::errc() || r.ptr != fin || ini == fin) return false;
  if (v < minimo || v > maximo) return false;
  valor = v;
  return true;
}

// Número con punto decimal, sea cual sea la configuración regional; debe caber en simple precisión.
bool leerFlotante(const std::string& texto, float& valor) {
  const char* ini = texto.data();
  const char* fin = ini + texto.size();
  if (ini != fin && *ini == '+') ++ini;
  double v = 0;
  const auto r = std::from_chars(ini, fin, v);
  if (r.ec != std::errc() || r.ptr != fin || ini == fin || !std::isfinite(v)) return false;
  if (std::fabs(v) > static_cast<double>(std::numeric_limits<float>::max())) return false;
  valor = static_cast<float>(v);
  return true;
}

bool leerLista(const std::string& texto, int32_t minimo, int32_t maximo,
               std::array<int32_t, NUM_TIPOS_UF>& lista) {
  std::array<int32_t, NUM_TIPOS_UF> leida{};
  size_t ini = 0;
  for (int i = 0; i < NUM_TIPOS_UF; ++i) {
    const size_t coma = texto.find(',', ini);
    const bool ultimo = i == NUM_TIPOS_UF - 1;
    if (ultimo != (coma == std::string::npos)) return false;
    int64_t v = 0;
    if (!leerEntero(texto.substr(ini, ultimo ? std::string::npos : coma - ini), minimo, maximo, v))
      return false;
    leida[static_cast<size_t>(i)] = static_cast<int32_t>(v);
    ini = coma + 1;
  }
  lista = leida;
  return true;
}

bool leerValorInicial(const std::string& texto, TValorInicial& valor, std::string& error) {
  const size_t igual = texto.find('=');
  if (igual == std::string::npos || igual < 2) {
    error = "--set espera NOMBRE=VALOR, por ejemplo R5=3, F2=1.5 o M10=2.5: " + texto;
    return false;
  }
  char banco = texto[0];
  if (banco >= 'a' && banco <= 'z') banco = static_cast<char>(banco - 'a' + 'A');
  int64_t indice = 0;
  const int64_t limite = banco == 'M' ? TAM_MEMORIA - 1 : NUM_REGISTROS - 1;
  // El número del nombre va sin signo: leerEntero aceptaría «+5» y «-0».
  if ((banco != 'R' && banco != 'F' && banco != 'M') ||
      !leerEntero(texto.substr(1, igual - 1), 0, limite, indice) || texto[1] == '+' || texto[1] == '-') {
    error = "--set: nombre no válido (R1…R63, F0…F63, M0…M1023): " + texto.substr(0, igual);
    return false;
  }
  if (banco == 'R' && indice == 0) {
    error = "--set: R0 vale siempre 0";
    return false;
  }
  valor.banco = banco;
  valor.indice = static_cast<int32_t>(indice);
  const std::string v = texto.substr(igual + 1);
  if (banco == 'R') {
    int64_t entero = 0;
    if (!leerEntero(v, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max(), entero)) {
      error = "--set: valor entero no válido: " + texto;
      return false;
    }
    valor.entero = static_cast<int32_t>(entero);
  } else if (!leerFlotante(v, valor.flotante)) {
    error = "--set: valor no válido (use el punto decimal): " + texto;
    return false;
  }
  return true;
}

}  // namespace

bool TOpcionesConsola::analizar(const std::vector<std::string>& argumentos, std::string& error) {
  bool unidadesDadas = false;
  for (size_t i = 0; i < argumentos.size(); ++i) {
    std::string arg = argumentos[i];
    std::string valor;
    bool conValor = false;
    // --opcion=valor equivale a --opcion valor.
    if (arg.rfind("--", 0) == 0) {
      const size_t igual = arg.find('=');
      if (igual != std::string::npos) {
        valor = arg.substr(igual + 1);
        arg = arg.substr(0, igual);
        conValor = true;
      }
    }
    auto siguiente = [&](std::string& v) {
      if (conValor) {
        v = valor;
        return true;
      }
      if (i + 1 >= argumentos.size()) {
        error = "falta el valor de " + arg;
        return false;
      }
      v = argumentos[++i];
      return true;
    };
    auto entero = [&](int64_t minimo, int64_t maximo, int64_t& v) {
      std::string t;
      if (!siguiente(t)) return false;
      if (!leerEntero(t, minimo, maximo, v)) {
        error = arg + " espera un entero entre " + std::to_string(minimo) + " y " + std::to_string(maximo) +
                ": " + t;
        return false;
      }
      return true;
    };
    auto sinValor = [&]() {
      if (!conValor) return true;
      error = arg + " no lleva valor";
      return false;
    };

    int64_t n = 0;
    std::string t;
    if (arg == "-h" || arg == "--help") {
      if (!sinValor()) return false;
      accion = accAyuda;
      return true;
    } else if (arg == "--version") {
      if (!sinValor()) return false;
      accion = accVersion;
      return true;
    } else if (arg == "-m" || arg == "--machine") {
      if (!siguiente(t)) return false;
      if (t != "super" && t != "vliw") {
        error = "--machine espera super o vliw: " + t;
        return false;
      }
      vliw = t == "vliw";
    } else if (arg == "-p" || arg == "--vliw-program") {
      if (!siguiente(programaVLIW)) return false;
    } else if (arg == "--auto-schedule") {
      if (!sinValor()) return false;
      planificarAuto = true;
    } else if (arg == "-o" || arg == "--output") {
      if (!siguiente(salidaPlanificacion)) return false;
    } else if (arg == "--units") {
      if (!siguiente(t)) return false;
      if (!leerLista(t, MIN_UF, MAX_UF, unidades)) {
        error = "--units espera seis números entre 1 y 10 separados por comas: " + t;
        return false;
      }
      unidadesDadas = true;
    } else if (arg == "--latencies") {
      if (!siguiente(t)) return false;
      if (!leerLista(t, MIN_LATENCIA, MAX_LATENCIA, latencias)) {
        error = "--latencies espera seis números entre 1 y 100 separados por comas: " + t;
        return false;
      }
    } else if (arg == "--miss-latency") {
      if (!entero(MIN_LAT_FALLO, MAX_LAT_FALLO, n)) return false;
      latenciaFallo = static_cast<int32_t>(n);
    } else if (arg == "--issue-width") {
      if (!entero(2, 16, n)) return false;
      emision = static_cast<int32_t>(n);
    } else if (arg == "--miss-rate") {
      if (!entero(0, 100, n)) return false;
      porcentajeFallos = static_cast<int32_t>(n);
    } else if (arg == "--seed") {
      if (!entero(0, std::numeric_limits<uint32_t>::max(), n)) return false;
      semilla = static_cast<uint32_t>(n);
    } else if (arg == "--set") {
      if (!siguiente(t)) return false;
      TValorInicial v;
      if (!leerValorInicial(t, v, error)) return false;
      valores.push_back(v);
    } else if (arg == "--max-cycles") {
      if (!entero(1, 2000000000, n)) return false;
      maxCiclos = n;
    } else if (arg == "--check") {
      if (!sinValor()) return false;
      comprobar = true;
    } else if (arg == "--verify") {
      if (!sinValor()) return false;
      verificar = true;
    } else if (arg == "--compare") {
      if (!sinValor()) return false;
      comparar = true;
    } else if (arg == "--trace") {
      if (!sinValor()) return false;
      traza = true;
    } else if (arg == "--json") {
      if (!sinValor()) return false;
      json = true;
    } else if (arg == "--state") {
      // Las estructuras solo tienen sitio en el informe JSON.
      if (!sinValor()) return false;
      estado = true;
      json = true;
    } else if (arg == "--timeline") {
      if (!sinValor()) return false;
      diagrama = true;
    } else if (arg == "--timeline-format") {
      if (!siguiente(t)) return false;
      static const char* const formatos[] = {"json", "text", "csv", "table", "svg"};
      const auto f = std::find(std::begin(formatos), std::end(formatos), t);
      if (f == std::end(formatos)) {
        error = "--timeline-format espera json, text, csv, table o svg: " + t;
        return false;
      }
      formatoDiagrama = static_cast<TFormatoDiagrama>(f - std::begin(formatos));
      diagrama = true;
    } else if (arg == "--timeline-cycles") {
      if (!siguiente(t)) return false;
      const size_t guion = t.find('-');
      int64_t a = 0, b = 0;
      if (guion == std::string::npos || !leerEntero(t.substr(0, guion), 1, 2000000000, a) ||
          !leerEntero(t.substr(guion + 1), 1, 2000000000, b) || a > b) {
        error = "--timeline-cycles espera DESDE-HASTA, con 1 <= DESDE <= HASTA: " + t;
        return false;
      }
      diagramaDesde = static_cast<int32_t>(a);
      diagramaHasta = static_cast<int32_t>(b);
      diagrama = true;
    } else if (arg.size() > 1 && arg[0] == '-') {
      error = "opción desconocida: " + arg;
      return false;
    } else {
      if (!programa.empty()) {
        error = "sobra un argumento: " + arg;
        return false;
      }
      programa = arg;
    }
  }

  if (programa.empty()) {
    error = "falta el programa (*.pla o *.bun)";
    return false;
  }
  if (!salidaPlanificacion.empty() && !planificarAuto) {
    error = "-o solo sirve con --auto-schedule";
    return false;
  }
  if (planificarAuto && !vliw) {
    error = "--auto-schedule solo sirve con --machine vliw";
    return false;
  }
  if (comparar) {
    if (vliw) {
      error = "--compare ejecuta las dos máquinas: sobra --machine vliw";
      return false;
    }
    if (programaVLIW.empty()) {
      error = "--compare necesita --vliw-program FICHERO.vliw";
      return false;
    }
    if (traza) {
      error = "--trace no sirve con --compare";
      return false;
    }
  } else if (vliw) {
    if (planificarAuto && !programaVLIW.empty()) {
      error = "--auto-schedule y --vliw-program no van juntos: el programa VLIW es uno u otro";
      return false;
    }
    if (programaVLIW.empty() && !planificarAuto) {
      error = "--machine vliw necesita --vliw-program FICHERO.vliw o --auto-schedule";
      return false;
    }
    if (unidadesDadas && unidades[tufSalto] != 1) {
      error = "la máquina VLIW tiene siempre una sola unidad de salto: el sexto valor de --units debe ser 1";
      return false;
    }
  } else {
    if (!programaVLIW.empty()) {
      error = "--vliw-program solo sirve con --machine vliw o --compare";
      return false;
    }
    if (comprobar) {
      error = "--check solo sirve con --machine vliw o --compare";
      return false;
    }
  }
  return true;
}

const char* TOpcionesConsola::textoAyuda() {
  return R"(Uso: orvex-run [opciones] PROGRAMA.pla|PROGRAMA.bun

Ejecuta un programa en la máquina superescalar o en la VLIW de Orvex, sin
ventanas, y muestra el estado final. Los resultados son los mismos, ciclo a
ciclo, que en el simulador de escritorio.

  -m, --machine super|vliw        máquina (por defecto super)
  -p, --vliw-program FICHERO.vliw programa VLIW (con --machine vliw, este o --auto-schedule)
      --auto-schedule             VLIW: el programa VLIW es la planificación
                                  automática del fuente para la configuración dada
  -o, --output FICHERO.vliw       con --auto-schedule: guarda además la planificación
      --units A,B,C,D,E,F         unidades por tipo: +Entera,xEntera,+Flotante,
                                  xFlotante,Mem,Salto (por defecto 2,2,2,2,2,1;
                                  1…10; con vliw, Salto es siempre 1)
      --latencies A,B,C,D,E,F     latencia por tipo (por defecto 1,2,4,6,4,2; 1…100)
      --miss-latency N            latencia total de una carga que falla en caché
                                  (por defecto 9; 0…100)
      --issue-width N             anchura de emisión superescalar (por defecto 4; 2…16)
      --miss-rate P               porcentaje de cargas que fallan (por defecto 0; 0…100)
      --seed N                    semilla de los fallos de caché (por defecto, el reloj)
      --set NOMBRE=VALOR          valor inicial, repetible: R5=3, F2=1.5, M10=2.5
                                  (palabra 10 de memoria); R1…R63, F0…F63, M0…M1023
      --max-cycles N              se detiene tras N ciclos (por defecto 100000; 1…2000000000)
      --check                     VLIW: comprueba la planificación e informa del
                                  primer problema (el programa se ejecuta igual)
      --verify                    compara los registros y la memoria finales con los
                                  del código secuencial en el intérprete de referencia,
                                  desde los mismos valores iniciales
      --compare                   ejecuta el programa en la superescalar y el programa
                                  VLIW (-p) en la VLIW, con la misma configuración
                                  (la VLIW con una sola unidad de salto), los mismos
                                  valores iniciales y la misma semilla
      --trace                     una línea JSON por ciclo en la salida estándar
      --json                      informe final como un objeto JSON en la salida estándar
      --state                     añade al informe JSON (implica --json) las
                                  estructuras de la máquina al final, en «state»
      --timeline                  el diagrama instrucción × ciclo, tras la traza y
                                  antes del informe final
      --timeline-format F         formato del diagrama (implica --timeline): json
                                  (por defecto), text (gráfico legible), csv
                                  (una columna por ciclo), table (tabla de
                                  instrucciones en CSV) o svg (imagen)
      --timeline-cycles A-B       solo los ciclos A a B del diagrama (implica --timeline)
  -h, --help                      muestra esta ayuda
      --version                   muestra la versión

Los números llevan punto decimal, sea cual sea la configuración regional.
Registros y memoria empiezan a cero; los puntos de ruptura no se usan.

Traza (--trace), un objeto por ciclo: cycle, result (código del ciclo: 0 normal,
-2 completado, -3 vaciando, -4 error), pc; en la superescalar, committed (las
instrucciones confirmadas en el ciclo); en la VLIW, issued (la instrucción larga
emitida, o null).

Diagrama (--timeline, json), un objeto por fila en orden de seq: seq, pc,
first (ciclo de la primera letra), stages (una letra por ciclo), text y, si
esperó, waits (from, to, reason). Superescalar: P prefetch, D decodificador, R
estación de reserva, A cálculo de dirección, E ejecución, M fallo de caché, W
resultado escrito, C confirmada, X anulada. VLIW: una fila por instrucción
larga que llega al punto de emisión (S detenida, I emitida; pc es su índice)
con ops (unit, number, first, stages, pc, text): I emitida, E en su unidad, M
fallo de caché, W ejecutada, X descartada.

Informe (--json): machine, result ("completed", "max-cycles" o "error"),
cycles, error (solo con "error"), gpr (64 enteros), fpr (64 números), memory
(dirección -> valor, solo las palabras distintas de cero), predictor (solo
superescalar), check (con --check: code y message), stats (contadores de la
máquina e ipc) y verify (con --verify: equal, true o false; differences, una
lista de {"where": "F4", "expected": …, "got": …}; hint, si la primera
diferencia tiene una causa conocida). Con --compare, un objeto con super, vliw
(los dos informes) y speedup (ciclos de la superescalar entre ciclos de la
VLIW; 0 si alguna no terminó).

Estado (--state), en «state»; listas de la más antigua a la más nueva, etapas
de la entrada a la salida, pc = posición de la instrucción en el programa.
Superescalar: prefetch y decoder (los pc), rob (tag, pc, dest, value, address,
stage, ready), stations (por tipo de unidad, "+Entera" … "Salto": pc, qj, vj,
qk, vk, a, rob), units (por tipo y "ALU Dir.": por unidad, stages con el pc o
null y stall), rename (robGPR y robFPR: por registro, la etiqueta del ROB si
está pendiente, o null). VLIW: units (stages con long, la instrucción larga, y
unit, la unidad de la operación, o null; y stall), nat (gpr y fpr: los
registros con NaT) y predicates (los registros de predicado a cierto). Con
--max-cycles N es la máquina tras el ciclo N.

Estado de salida:
  0  el programa terminó
  1  no se pudo cargar el programa o el fichero VLIW, el programa VLIW está
     vacío o la configuración no permite ejecutarlo, o no se pudo planificar
     o guardar la planificación automática
  2  orden mal escrita
  3  se alcanzó --max-cycles antes de terminar
  4  la ejecución se detuvo por un error (una dirección fuera de la memoria)
  5  con --verify, el resultado no es el del código secuencial
)";
}
