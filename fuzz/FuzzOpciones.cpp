// Objetivo de fuzzing de la línea de órdenes de orvex-run: los bytes, cortados
// en argumentos por los saltos de línea. Lo que el analizador acepta está
// dentro de los límites con que la ejecución indexa registros, memoria y
// unidades; y la ejecución entera, sobre un ejemplo fijo, termina sin fallos.

#include <algorithm>
#include <cmath>
#include <sstream>
#include <set>
#include <string>
#include <vector>

#include "fuzz/Comun.h"
#include "runner/TEjecucionConsola.h"
#include "runner/TOpcionesConsola.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, size_t tam) {
  std::vector<std::string> argumentos(1);
  for (size_t i = 0; i < tam; ++i) {
    if (datos[i] == '\n') argumentos.emplace_back();
    else argumentos.back().push_back(static_cast<char>(datos[i]));
  }
  TOpcionesConsola o;
  std::string error;
  if (!o.analizar(argumentos, error)) {
    fuzz::exigir(!error.empty(), "orden rechazada sin explicación");
    return 0;
  }
  if (o.accion != TOpcionesConsola::accEjecutar) return 0;

  for (int t = 0; t < NUM_TIPOS_UF; ++t) {
    const size_t k = static_cast<size_t>(t);
    fuzz::exigir(o.unidades[k] >= MIN_UF && o.unidades[k] <= MAX_UF, "unidades fuera de rango");
    fuzz::exigir(o.latencias[k] >= MIN_LATENCIA && o.latencias[k] <= MAX_LATENCIA, "latencia fuera de rango");
  }
  fuzz::exigir(o.latenciaFallo >= MIN_LAT_FALLO && o.latenciaFallo <= MAX_LAT_FALLO, "latencia de fallo");
  fuzz::exigir(o.emision >= 2 && o.emision <= 16 && o.porcentajeFallos >= 0 && o.porcentajeFallos <= 100,
               "emisión o porcentaje de fallos");
  fuzz::exigir(o.maxCiclos >= 1 && !o.programa.empty(), "límite de ciclos o programa");
  fuzz::exigir(!o.vliw || (!o.programaVLIW.empty() && o.unidades[tufSalto] == 1), "opciones VLIW");
  // --compare ejecuta las dos máquinas: nunca con -m vliw ni con --trace, siempre con su programa VLIW.
  fuzz::exigir(!o.comparar || (!o.vliw && !o.traza && !o.programaVLIW.empty()), "opciones de --compare");
  // El nombre de cada --set aceptado es una letra y solo dígitos: «M-0» no es M0.
  // Se recorre como el analizador: el valor de una opción («-p --set=x.vliw»)
  // no es una opción.
  static const std::set<std::string> conValor = {
      "-m", "--machine", "-p", "--vliw-program", "--units", "--latencies", "--miss-latency",
      "--issue-width", "--miss-rate", "--seed", "--set", "--max-cycles"};
  for (size_t i = 0; i < argumentos.size(); ++i) {
    const std::string& a = argumentos[i];
    std::string nombre;
    if (a == "--set" && i + 1 < argumentos.size()) nombre = argumentos[i + 1];
    else if (a.rfind("--set=", 0) == 0) nombre = a.substr(6);
    if (conValor.count(a) != 0) ++i;
    if (nombre.empty() && a.rfind("--set", 0) != 0) continue;
    nombre = nombre.substr(0, nombre.find('='));
    fuzz::exigir(nombre.size() >= 2 && nombre.find_first_not_of("0123456789", 1) == std::string::npos,
                 "--set acepta el nombre " + nombre);
  }
  for (const TValorInicial& v : o.valores) {
    if (v.banco == 'R') fuzz::exigir(v.indice >= 1 && v.indice < NUM_REGISTROS, "registro R");
    else if (v.banco == 'F') fuzz::exigir(v.indice >= 0 && v.indice < NUM_REGISTROS && std::isfinite(v.flotante), "registro F");
    else fuzz::exigir(v.banco == 'M' && v.indice >= 0 && v.indice < TAM_MEMORIA && std::isfinite(v.flotante), "memoria");
  }

  // La ejecución, con ficheros fijos en vez de los nombrados y pocos ciclos.
  o.programa = ORVEX_DIR_EJEMPLOS "/vector_suma.pla";
  if (o.vliw) o.programaVLIW = ORVEX_DIR_EJEMPLOS "/vector_suma.vliw";
  o.maxCiclos = std::min<int64_t>(o.maxCiclos, 400);
  std::ostringstream salida, errores;
  TEjecucionConsola ejecucion(o, salida, errores);
  const int estado = ejecucion.ejecutar();
  // Un resultado distinto del secuencial solo se dice si se pidió --verify (con
  // las latencias cambiadas, el programa VLIW fijo puede calcular otra cosa).
  fuzz::exigir(estado == SALIDA_COMPLETADO || estado == SALIDA_CARGA || estado == SALIDA_MAX_CICLOS ||
                   estado == SALIDA_ERROR || (estado == SALIDA_DIFERENTE && o.verificar),
               "estado de salida desconocido: " + std::to_string(estado));
  fuzz::exigir(estado == SALIDA_CARGA ? !errores.str().empty() : !salida.str().empty(), "ejecución sin informe");
  return 0;
}
