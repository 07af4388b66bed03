#include "reports/TInformeEstadisticas.h"

#include <cmath>
#include <cstdio>

namespace {

size_t ix(int i) { return static_cast<size_t>(i); }

std::string conCapacidad(const std::string& nombre, int32_t capacidad) {
  return nombre + " (de " + std::to_string(capacidad) + ")";
}

}  // namespace

std::vector<TFilaEstadistica> TInformeEstadisticas::filas(const TResumenEstadisticas& r) {
  std::vector<TFilaEstadistica> f;
  auto entero = [&f](const std::string& n, int64_t v) { f.push_back({n, static_cast<double>(v), filaEntero}); };
  auto decimal = [&f](const std::string& n, double v) { f.push_back({n, v, filaDecimal}); };
  auto parte = [&f](const std::string& n, double v) { f.push_back({n, v, filaPorcentaje}); };

  entero("Ciclos", r.ciclos);
  if (r.superescalar) {
    entero("Instrucciones confirmadas", r.confirmadas);
    decimal("IPC", r.ipc());
    decimal("CPI", r.cpi());
    entero("Saltos confirmados", r.saltosConfirmados);
    entero("Saltos mal predichos", r.fallosPrediccion);
    parte("Acierto del predictor (%)", r.aciertoPrediccion());
    entero("Instrucciones anuladas", r.anuladas);
    entero("Fallos de caché", r.fallosCache);
    entero("Ciclos con la emisión detenida", r.ciclosParada);
    for (const auto& [causa, ciclos] : r.paradas) entero("Emisión detenida: " + causa, ciclos);
    decimal("Reorder buffer: ocupación media", r.rob.media);
    entero(conCapacidad("Reorder buffer: ocupación máxima", r.rob.capacidad), r.rob.maxima);
    for (int t = 0; t < NUM_TIPOS_UF; ++t) {
      const std::string er = "E. R. " + nombresTipoUF[ix(t)];
      decimal(er + ": ocupación media", r.estaciones[ix(t)].media);
      entero(conCapacidad(er + ": ocupación máxima", r.estaciones[ix(t)].capacidad), r.estaciones[ix(t)].maxima);
    }
  } else {
    entero("Instrucciones largas emitidas", r.largasEmitidas);
    entero("Operaciones emitidas", r.operacionesEmitidas);
    entero("Operaciones ejecutadas", r.operacionesEjecutadas);
    entero("Operaciones descartadas", r.operacionesDescartadas);
    decimal("Operaciones por ciclo", r.ipc());
    decimal("Operaciones por instrucción larga", r.operacionesPorLarga());
    parte("Huecos ocupados (%)", r.huecosOcupados());
    entero("Ciclos de parada", r.ciclosParada);
    for (const auto& [causa, ciclos] : r.paradas) entero("Parada: " + causa, ciclos);
    entero("Fallos de caché", r.fallosCache);
    entero("Saltos tomados", r.saltosTomados);
  }
  for (int t = 0; t < NUM_TIPOS_UF; ++t)
    if (r.numUnidades[ix(t)] > 0)
      parte("Unidades " + nombresTipoUF[ix(t)] + " ocupadas (%)", r.usoUnidades[ix(t)]);
  return f;
}

std::string TInformeEstadisticas::valorTexto(const TFilaEstadistica& fila, char separadorDecimal) {
  char buf[64];
  switch (fila.formato) {
    case filaEntero: std::snprintf(buf, sizeof buf, "%.0f", fila.valor); break;
    case filaDecimal: std::snprintf(buf, sizeof buf, "%.3f", fila.valor); break;
    case filaPorcentaje: std::snprintf(buf, sizeof buf, "%.1f", fila.valor * 100.0); break;
  }
  std::string t = buf;
  for (char& c : t)
    if (c == '.') c = separadorDecimal;
  return t;
}

void TInformeEstadisticas::escribirTexto(std::ostream& salida, const TResumenEstadisticas& r, char separadorDecimal) {
  salida << "Estadísticas de la máquina " << (r.superescalar ? "superescalar" : "VLIW") << '\n';
  for (const TFilaEstadistica& f : filas(r)) salida << f.nombre << ": " << valorTexto(f, separadorDecimal) << '\n';
}

void TInformeEstadisticas::escribirCSV(std::ostream& salida, const TResumenEstadisticas& r) {
  salida << "magnitud,valor\n";
  for (const TFilaEstadistica& f : filas(r)) {
    // Los nombres llevan paréntesis y dos puntos, nunca comillas; van entre comillas por si llevan comas.
    salida << '"' << f.nombre << "\"," << valorTexto(f, '.') << '\n';
  }
}
