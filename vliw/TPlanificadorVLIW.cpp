#include "vliw/TPlanificadorVLIW.h"

#include <algorithm>
#include <limits>
#include <memory>
#include <queue>
#include <tuple>
#include <utility>

#include "machine/TJuegoInstrucciones.h"
#include "machine/TRegistros.h"
#include "vliw/TMaquinaVLIW.h"

// Cómo se razona la corrección. Sea C(i) el ciclo en que se emite la
// instrucción larga i; la emisión va en orden y puede pararse (bits NaT,
// unidad ocupada), así que C(j) − C(i) >= j − i para j > i. Una operación
// emitida en C(i) en una unidad de latencia L lee sus registros y escribe su
// resultado en el ciclo C(i) + L, salvo en memoria: un fallo de caché para la
// unidad que lo tiene (no las demás) y retrasa todo lo que va en ella, y la
// carga que falló vuelve a leer su base y la memoria al reintentarse. Para
// cada operación se lleva una cota «retraso» del ciclo de su efecto respecto de
// su emisión (L, salvo en la unidad de memoria 0 cuando los fallos cuestan), y
// cada pareja que debe ir en orden (X antes que Y en el programa) se separa lo
// bastante para que el efecto de X caiga antes que el de Y en cualquier caso:
// C(i_Y) + L_Y >= C(i_X) + retraso_X se cumple si i_Y − i_X >= retraso_X − L_Y.
// Y nunca va en una instrucción larga anterior a la de X: una parada entre las
// dos las separaría sin límite.
//
// Con fallos que cuestan p = latFalloCache − latencia de memoria ciclos:
//  - Todas las cargas van a la unidad de memoria 0. Así entre el fallo de una
//    carga y su reintento no pasa por la memoria ninguna otra carga, el
//    reintento acierta y cada carga falla como mucho una vez; los
//    almacenamientos no fallan, y en las demás unidades no se para nada.
//  - Lo que entra en la unidad 0 tiene delante como mucho latencia − 1
//    operaciones, así que su retraso es a lo sumo latencia + p · (cargas que
//    pueden ir delante + 1 si ella misma es carga); y como esas paradas caen
//    mientras sigue en la unidad la operación que entró justo antes, tampoco
//    pasan de lo que a esa le queda.
//  - Una operación que lee el destino de una carga en la unidad 0 no se emite
//    hasta que esa carga termina (bit NaT), y por el orden de la unidad
//    tampoco antes que todo lo que iba delante de ella: es una barrera que da
//    por hechas esas operaciones y evita esperar su cota. Para que el bit NaT
//    sea fiable, una carga no se emite mientras pueda seguir en vuelo otra
//    carga al mismo registro.
//  - La sombra de un salto no puede pararse: si lo hiciera, el salto tomado se
//    saltaría instrucciones largas que aún no se habían emitido. En ella no van
//    operaciones de la unidad 0 mientras pueda haber una carga en vuelo, ni
//    lectores del destino de una carga que pueda no haber terminado.
// Lo que un bloque deja en vuelo se resume en su frontera de salida; la de
// entrada de un bloque une las salidas de sus predecesores (incluidos los
// bloques posteriores que saltan hacia atrás) y se itera hasta un punto fijo.

namespace {

// Claves de registro: 0 … 63 para R0 … R63, 64 … 127 para F0 … F63.
constexpr int NUM_CLAVES = 2 * NUM_REGISTROS;
constexpr int32_t NUNCA = std::numeric_limits<int32_t>::max();
// Rondas del punto fijo: desde RONDAS_SIN_ENSANCHAR, una cota que sigue
// creciendo salta a su máximo; tras MAX_RONDAS, cada bloque lo deja todo terminado.
constexpr int RONDAS_SIN_ENSANCHAR = 8;
constexpr int MAX_RONDAS = 40;
// Antes que cualquier otra carga lista.
constexpr int32_t PRIORIDAD_SIN_LECTOR = 1 << 24;
// Pares de predicados de los saltos: (1, 2), (3, 4) … (61, 62).
constexpr int32_t PARES_PREDICADO = 31;

size_t ix(int64_t i) { return static_cast<size_t>(i); }

// Un registro que no existe (solo en programas construidos a mano) no cuenta.
int claveDe(bool flotante, int32_t numero) {
  if (!TRegistros<int32_t>::indiceValido(numero)) return -1;
  return (flotante ? NUM_REGISTROS : 0) + numero;
}

// Registros que lee una instrucción: los que miran el bit NaT y el comprobador.
int fuentesDe(const TInstruccion& ins, int (&claves)[2]) {
  const TDescripcionInstruccion& d = descripcionDe(ins.codOp);
  int n = 0;
  for (const TOperando& o : {d.fuenteJ, d.fuenteK}) {
    if (!o.esRegistro()) continue;
    const int k = claveDe(o.flotante(), ins.op[o.campo]);
    if (k >= 0 && (n == 0 || claves[0] != k)) claves[n++] = k;
  }
  return n;
}

// Registro que escribe una instrucción; -1 si ninguno.
int destinoDe(const TInstruccion& ins) {
  const TOperando& o = descripcionDe(ins.codOp).destino;
  return o.esRegistro() ? claveDe(o.flotante(), ins.op[o.campo]) : -1;
}

struct TConfiguracion {
  std::array<int32_t, NUM_TIPOS_UF> num{};
  std::array<int32_t, NUM_TIPOS_UF> lat{};
  int32_t latMem = 1;
  int32_t latSalto = 1;
  int32_t numMem = 1;
  int32_t parada = 0;      // ciclos que para la unidad un fallo
  int32_t maxRetraso = 1;  // ningún retraso de memoria pasa de aquí

  bool conParadas() const { return parada > 0; }
};

// ---------------------------------------------------------------------------
// Fronteras entre bloques. Cada cota es un ciclo relativo a la emisión de la
// primera instrucción larga del bloque siguiente; 0 o menos, nada pendiente.

// Cotas por registro. Las de las cargas de la unidad 0 y las lecturas de sus
// operaciones van aparte: una barrera en el bloque siguiente las da por hechas.
enum TCampo : int8_t {
  cListo,     // el comprobador no deja leerlo antes de esta instrucción larga
  cEscrito,   // última escritura posible, salvo las de cargas de la unidad 0
  cLeido,     // última lectura posible, salvo las de la unidad 0
  cCarga,     // una carga de la unidad 0 a este registro puede seguir en vuelo hasta aquí
  cLeidoU0,   // última lectura posible desde la unidad 0
  NUM_CAMPOS
};

struct TPendienteRegistro {
  int32_t clave = 0;
  std::array<int32_t, NUM_CAMPOS> cota{};

  bool nulo() const {
    return std::all_of(cota.begin(), cota.end(), [](int32_t c) { return c <= 0; });
  }
  bool operator==(const TPendienteRegistro& o) const { return clave == o.clave && cota == o.cota; }
};

struct TFrontera {
  std::vector<TPendienteRegistro> registros;  // por clave creciente, sin entradas nulas
  std::vector<int32_t> almacenamientos;       // por unidad de memoria
  std::vector<int32_t> cargas;                // por unidad de memoria
  std::vector<int32_t> enVuelo;               // cargas de la unidad 0, de mayor a menor

  bool operator==(const TFrontera& o) const {
    return registros == o.registros && almacenamientos == o.almacenamientos && cargas == o.cargas &&
           enVuelo == o.enVuelo;
  }
  bool operator!=(const TFrontera& o) const { return !(*this == o); }
};

// Recorre a la vez los registros de a y de b (ordenados por clave); «f» recibe
// el de a (o uno nulo con su clave) y el de b (o nulo).
template <typename F>
void porClave(const std::vector<TPendienteRegistro>& a, const std::vector<TPendienteRegistro>& b, F f) {
  size_t i = 0, j = 0;
  while (i < a.size() || j < b.size()) {
    if (j == b.size() || (i < a.size() && a[i].clave < b[j].clave)) {
      f(a[i++], TPendienteRegistro{});
    } else if (i == a.size() || b[j].clave < a[i].clave) {
      TPendienteRegistro x;
      x.clave = b[j].clave;
      f(x, b[j++]);
    } else {
      f(a[i++], b[j++]);
    }
  }
}

// Une b en a, cota a cota. En enVuelo, el máximo posición a posición de dos
// listas ordenadas de mayor a menor acota, para cada ciclo, cuántas cargas
// pueden seguir en vuelo por cualquiera de los dos caminos.
void unir(TFrontera& a, const TFrontera& b) {
  std::vector<TPendienteRegistro> r;
  r.reserve(a.registros.size() + b.registros.size());
  porClave(a.registros, b.registros, [&r](TPendienteRegistro x, const TPendienteRegistro& y) {
    for (size_t c = 0; c < NUM_CAMPOS; ++c) x.cota[c] = std::max(x.cota[c], y.cota[c]);
    r.push_back(x);
  });
  a.registros = std::move(r);
  auto porPosicion = [](std::vector<int32_t>& x, const std::vector<int32_t>& y) {
    if (x.size() < y.size()) x.resize(y.size(), 0);
    for (size_t i = 0; i < y.size(); ++i) x[i] = std::max(x[i], y[i]);
  };
  porPosicion(a.almacenamientos, b.almacenamientos);
  porPosicion(a.cargas, b.cargas);
  porPosicion(a.enVuelo, b.enVuelo);
}

// Lleva a «tope» cada cota de «nueva» que ha crecido desde «vieja». Una
// dependencia que da la vuelta a un bucle más larga que el bucle crecería de
// una en una a cada ronda; así el punto fijo acaba pronto.
void ensanchar(TFrontera& nueva, const TFrontera& vieja, int32_t tope) {
  std::vector<TPendienteRegistro> r;
  porClave(nueva.registros, vieja.registros, [&](TPendienteRegistro x, const TPendienteRegistro& v) {
    if (x.nulo()) return;
    for (size_t c = 0; c < NUM_CAMPOS; ++c)
      if (x.cota[c] > v.cota[c]) x.cota[c] = std::max(x.cota[c], tope);
    r.push_back(x);
  });
  nueva.registros = std::move(r);
  auto porPosicion = [tope](std::vector<int32_t>& a, const std::vector<int32_t>& b) {
    for (size_t i = 0; i < a.size(); ++i)
      if (a[i] > (i < b.size() ? b[i] : 0)) a[i] = std::max(a[i], tope);
  };
  porPosicion(nueva.almacenamientos, vieja.almacenamientos);
  porPosicion(nueva.cargas, vieja.cargas);
  porPosicion(nueva.enVuelo, vieja.enVuelo);
  std::sort(nueva.enVuelo.begin(), nueva.enVuelo.end(), std::greater<>());
}

// La frontera tras p instrucciones largas vacías más.
TFrontera desplazar(const TFrontera& f, int32_t p) {
  if (p <= 0) return f;
  TFrontera r;
  for (TPendienteRegistro x : f.registros) {
    for (int32_t& c : x.cota) c = std::max(c - p, 0);
    if (!x.nulo()) r.registros.push_back(x);
  }
  for (int32_t a : f.almacenamientos) r.almacenamientos.push_back(std::max(a - p, 0));
  for (int32_t a : f.cargas) r.cargas.push_back(std::max(a - p, 0));
  for (int32_t c : f.enVuelo)
    if (c - p > 0) r.enVuelo.push_back(c - p);
  return r;
}

// Instrucciones largas vacías que hay que añadir tras «f» para que no pase de «tope».
int32_t rellenoPara(const TFrontera& f, const TFrontera& tope) {
  int32_t p = 0;
  porClave(f.registros, tope.registros, [&p](const TPendienteRegistro& x, const TPendienteRegistro& t) {
    for (size_t c = 0; c < NUM_CAMPOS; ++c) p = std::max(p, x.cota[c] - t.cota[c]);
  });
  auto porPosicion = [&p](const std::vector<int32_t>& a, const std::vector<int32_t>& b) {
    for (size_t i = 0; i < a.size(); ++i) p = std::max(p, a[i] - (i < b.size() ? b[i] : 0));
  };
  porPosicion(f.almacenamientos, tope.almacenamientos);
  porPosicion(f.cargas, tope.cargas);
  porPosicion(f.enVuelo, tope.enVuelo);
  return p;
}

// La misma frontera con un arreglo por registro, para consultarla deprisa.
struct TFronteraDensa {
  std::array<std::array<int32_t, NUM_CLAVES>, NUM_CAMPOS> cota{};
  std::vector<int32_t> almacenamientos, cargas, enVuelo;

  TFronteraDensa(const TFrontera& f, int32_t numMem)
      : almacenamientos(ix(numMem), 0), cargas(ix(numMem), 0), enVuelo(f.enVuelo) {
    for (const TPendienteRegistro& p : f.registros)
      for (size_t c = 0; c < NUM_CAMPOS; ++c) cota[c][ix(p.clave)] = p.cota[c];
    for (size_t u = 0; u < f.almacenamientos.size() && u < almacenamientos.size(); ++u)
      almacenamientos[u] = f.almacenamientos[u];
    for (size_t u = 0; u < f.cargas.size() && u < cargas.size(); ++u) cargas[u] = f.cargas[u];
  }

  int32_t operator()(TCampo c, int k) const { return cota[ix(c)][ix(k)]; }
};

// ---------------------------------------------------------------------------
// Bloques

struct TBloque {
  int32_t primera = 0;  // instrucciones [primera, fin)
  int32_t fin = 0;
  bool salto = false;   // su última instrucción es un salto
  int32_t destino = -1; // bloque destino del salto; -1 si no hay o no existe
  std::vector<int32_t> predecesores;
};

enum TTipoArista : int8_t { aVerdadera, aAnti, aSalida, aMemoria };

struct TArista {
  int32_t desde;
  int32_t hasta;
  TTipoArista tipo;
};

struct TNodo {
  int32_t instruccion = 0;
  int8_t tipo = 0;
  bool carga = false, almacen = false, salto = false;
  int nf = 0;
  int fuentes[2] = {-1, -1};
  int32_t defFuente[2] = {-1, -1};  // nodo del bloque que da el valor leído; -1, la entrada
  int destino = -1;
  int32_t lat = 1;
  int32_t altura = 0;               // camino hasta el final del bloque
  int32_t prioridad = 0;            // la altura, salvo cargas que nadie lee
  std::vector<int32_t> entrantes;   // índices de aristas
  std::vector<int32_t> salientes;
  int32_t pendientes = 0;           // predecesores sin colocar
  // Colocación.
  int32_t larga = -1;
  int32_t unidad = -1;
  int32_t retraso = 1;              // cota del ciclo de su efecto tras su emisión
  bool enU0 = false;                // en la unidad de memoria 0 con fallos que cuestan

  bool memoria() const { return carga || almacen; }
};

struct TColocacion {
  int32_t larga = -1;
  int32_t unidad = 0;
};

struct TPlanBloque {
  std::vector<TColocacion> colocaciones;  // por instrucción del bloque
  int32_t longitud = 0;
  int32_t cota = 0;
  TFrontera salida;
};

// Planificación de listas de un bloque, ciclo a ciclo.
class TPlanificacionBloque {
public:
  TPlanificacionBloque(const TConfiguracion& configuracion, const TCodigo& codigo, const TBloque& bloque,
                       const TFrontera& frontera)
      : cfg(configuracion), fronteraEntrada(frontera), entrada(frontera, configuracion.numMem) {
    construirGrafo(codigo, bloque);
  }

  // false si el bloque no cabe en el límite de instrucciones largas.
  bool planificar(bool drenar, TPlanBloque& plan);

private:
  using TElemento = std::tuple<int32_t, int32_t, int32_t>;  // (prioridad, −instrucción, nodo)
  static constexpr int NUM_CLASES = 6;                     // tipos 0 … 3, cargas, almacenamientos

  const TConfiguracion& cfg;
  const TFrontera fronteraEntrada;
  TFronteraDensa entrada;
  std::vector<TNodo> nodos;
  std::vector<TArista> aristas;
  int32_t numOperaciones = 0;  // nodos sin el salto
  int32_t nodoSalto = -1;

  // Estado durante la planificación.
  int32_t ciclo = 0;
  std::array<uint32_t, NUM_TIPOS_UF> uso{};
  int32_t barrera = -1;                           // cargas de la unidad 0 hasta aquí, hechas
  std::vector<std::pair<int32_t, int32_t>> historialBarrera;  // (instrucción larga, barrera)
  int32_t primeraBarrera = NUNCA;                 // desde ahí, lo de la entrada en la unidad 0 está hecho
  std::array<int32_t, NUM_CLAVES> barreraEntrada{};  // desde ahí, la carga de la entrada a ese registro
  std::array<int32_t, NUM_CLAVES> ultimaCarga{};
  std::vector<int32_t> cargasU0;                  // nodos, por instrucción larga creciente
  int32_t ultimaU0 = -1;                          // última operación puesta en la unidad 0
  bool barreraNueva = false;
  std::array<std::priority_queue<TElemento>, NUM_CLASES> colas;
  std::priority_queue<std::pair<int32_t, int32_t>, std::vector<std::pair<int32_t, int32_t>>, std::greater<>> espera;
  std::vector<int32_t> estEspera;  // NUNCA si el nodo no espera
  std::vector<int32_t> listaEspera;
  std::vector<int32_t> posEspera;

  void construirGrafo(const TCodigo& codigo, const TBloque& bloque);
  void calcularAlturas();
  int32_t calcularCota() const;

  int clase(const TNodo& n) const {
    if (n.carga) return 4;
    if (n.almacen) return 5;
    return n.tipo;
  }
  // Lo que ya da por hecho una operación al emitirse: las barreras anteriores y
  // las que pone ella misma al leer el destino de una carga.
  struct THechas {
    int32_t barrera = -1;       // operaciones de la unidad 0 hasta aquí
    bool entradaU0 = false;     // lo que dejó en la unidad 0 el bloque anterior
    int fuentes[2] = {-1, -1};  // registros cuya carga de la entrada ha terminado
  };
  THechas hechasPara(const TNodo& y) const;
  static bool hecho(const TNodo& x, const THechas& h) { return x.enU0 && h.barrera >= x.larga; }
  int32_t cargaEntrada(int k, const THechas& h) const {
    if (h.entradaU0 || barreraEntrada[ix(k)] != NUNCA || h.fuentes[0] == k || h.fuentes[1] == k) return 0;
    return entrada(cCarga, k);
  }
  int32_t memoriaEntrada(const std::vector<int32_t>& v, int32_t u, const THechas& h) const {
    if (u == 0 && cfg.conParadas() && h.entradaU0) return 0;
    return v[ix(u)];
  }

  int32_t estimar(const TNodo& y, int32_t u) const;
  int32_t estimarMinimo(const TNodo& y) const;
  bool hayUnidadLibre(int c) const;
  int32_t elegirUnidad(const TNodo& y) const;
  int32_t cargasDelante(int32_t i, const THechas& h) const;
  int32_t paradaPosible(int32_t i, const THechas& h) const;
  void colocar(int32_t v, int32_t i, int32_t u);
  void registrarBarreras(const TNodo& y, int32_t i);
  void preparar(int32_t v);
  void quitarDeEspera(int32_t v);
  void reestimarEspera();
  int32_t barreraHasta(int32_t limite) const;
  bool seguraEnSombra(const TNodo& y, int32_t limite) const;
  int32_t colocarSalto(bool drenar, int32_t ultima, int32_t maxEvento);
  TFrontera salida(int32_t longitud) const;
};

void TPlanificacionBloque::construirGrafo(const TCodigo& codigo, const TBloque& bloque) {
  const int32_t n = bloque.fin - bloque.primera;
  nodos.resize(ix(n));
  std::array<int32_t, NUM_CLAVES> escritor;
  escritor.fill(-1);
  std::array<std::vector<int32_t>, NUM_CLAVES> lectores;
  int32_t ultimoAlmacen = -1;
  std::vector<int32_t> cargasDesdeAlmacen;

  auto unirAristas = [&](int32_t x, int32_t y, TTipoArista t) {
    aristas.push_back({x, y, t});
    const auto a = static_cast<int32_t>(aristas.size() - 1);
    nodos[ix(x)].salientes.push_back(a);
    nodos[ix(y)].entrantes.push_back(a);
    ++nodos[ix(y)].pendientes;
  };

  for (int32_t v = 0; v < n; ++v) {
    const TInstruccion& ins = codigo.instrucciones[ix(bloque.primera + v)];
    TNodo& y = nodos[ix(v)];
    y.instruccion = bloque.primera + v;
    y.tipo = tipoUFDe(ins.codOp);
    y.carga = esCarga(ins.codOp);
    y.almacen = esAlmacenamiento(ins.codOp);
    y.salto = esSalto(ins.codOp);
    y.lat = cfg.lat[ix(y.tipo)];
    y.retraso = y.lat;
    y.nf = fuentesDe(ins, y.fuentes);
    y.destino = destinoDe(ins);
    for (int s = 0; s < y.nf; ++s) {
      const int k = y.fuentes[s];
      y.defFuente[s] = escritor[ix(k)];
      if (escritor[ix(k)] >= 0) unirAristas(escritor[ix(k)], v, aVerdadera);
      lectores[ix(k)].push_back(v);
    }
    if (y.destino >= 0) {
      const int d = y.destino;
      for (int32_t x : lectores[ix(d)])
        if (x != v) unirAristas(x, v, aAnti);
      if (escritor[ix(d)] >= 0) unirAristas(escritor[ix(d)], v, aSalida);
      escritor[ix(d)] = v;
      lectores[ix(d)].clear();
    }
    // Sin análisis de direcciones: cada acceso, en orden respecto de los almacenamientos.
    if (y.carga) {
      if (ultimoAlmacen >= 0) unirAristas(ultimoAlmacen, v, aMemoria);
      cargasDesdeAlmacen.push_back(v);
    } else if (y.almacen) {
      if (ultimoAlmacen >= 0) unirAristas(ultimoAlmacen, v, aMemoria);
      for (int32_t x : cargasDesdeAlmacen) unirAristas(x, v, aMemoria);
      cargasDesdeAlmacen.clear();
      ultimoAlmacen = v;
    }
  }
  // El cargador cierra el bloque tras un salto: solo puede ser el último.
  if (bloque.salto && n > 0) nodoSalto = n - 1;
  numOperaciones = nodoSalto >= 0 ? n - 1 : n;
  calcularAlturas();
}

void TPlanificacionBloque::calcularAlturas() {
  for (auto v = static_cast<int32_t>(nodos.size()) - 1; v >= 0; --v) {
    TNodo& x = nodos[ix(v)];
    int32_t h = x.lat;
    bool lector = false;
    for (int32_t a : x.salientes) {
      const TArista& e = aristas[ix(a)];
      const TNodo& y = nodos[ix(e.hasta)];
      int32_t w = 0;
      switch (e.tipo) {
        case aVerdadera: w = x.lat; break;
        case aAnti: w = std::max(0, x.lat - y.lat); break;
        case aSalida: w = std::max(0, x.lat - y.lat + 1); break;
        case aMemoria: w = 0; break;
      }
      h = std::max(h, w + y.altura);
      lector = lector || e.tipo == aVerdadera;
    }
    x.altura = h;
    // Una carga que nadie del bloque lee no tiene quien haga de barrera tras
    // ella; delante de las demás en la unidad 0, la barrera de las que sí se
    // leen la cubre y lo que la sigue no espera su cota.
    if (x.carga && !lector && cfg.conParadas()) x.prioridad = PRIORIDAD_SIN_LECTOR;
    x.prioridad += h;
  }
}

// Cota inferior de la longitud para cualquier planificación correcta cuando los
// fallos no cuestan: el camino crítico de las dependencias con las distancias
// que exigen las latencias (el lector tras la latencia del productor; quien
// reescribe un registro, no antes de que lo lean o lo escriban los anteriores;
// los accesos a memoria, en orden) y las instrucciones largas que necesita el
// tipo de unidad más cargado.
int32_t TPlanificacionBloque::calcularCota() const {
  std::vector<int32_t> t(nodos.size(), 0);
  int32_t cota = 0;
  for (size_t v = 0; v < nodos.size(); ++v) {
    const TNodo& y = nodos[v];
    for (int32_t a : y.entrantes) {
      const TArista& e = aristas[ix(a)];
      const TNodo& x = nodos[ix(e.desde)];
      int32_t w = 0;
      switch (e.tipo) {
        case aVerdadera: w = x.lat; break;
        case aAnti: w = x.lat - y.lat; break;
        case aSalida: w = x.lat - y.lat + 1; break;
        case aMemoria: w = cfg.numMem == 1 ? 1 : 0; break;
      }
      t[v] = std::max(t[v], t[ix(e.desde)] + w);
    }
    cota = std::max(cota, t[v] + (y.salto ? y.lat : 1));
  }
  std::array<int32_t, NUM_TIPOS_UF> porTipo{};
  for (const TNodo& y : nodos) ++porTipo[ix(y.tipo)];
  for (int tp = 0; tp < NUM_TIPOS_UF; ++tp) {
    const int32_t u = cfg.num[ix(tp)];
    cota = std::max(cota, (porTipo[ix(tp)] + u - 1) / u);
  }
  return cota;
}

TPlanificacionBloque::THechas TPlanificacionBloque::hechasPara(const TNodo& y) const {
  THechas h;
  h.barrera = barrera;
  h.entradaU0 = primeraBarrera != NUNCA;
  if (!cfg.conParadas()) return h;
  for (int s = 0; s < y.nf; ++s) {
    const int32_t x = y.defFuente[s];
    if (x < 0) {
      h.fuentes[s] = y.fuentes[s];
    } else if (nodos[ix(x)].enU0 && nodos[ix(x)].carga && nodos[ix(x)].larga >= 0) {
      h.barrera = std::max(h.barrera, nodos[ix(x)].larga);
      h.entradaU0 = true;
    }
  }
  return h;
}

// Primera instrucción larga (relativa al bloque) en que puede emitirse «y» en la
// unidad u (de memoria) según lo ya colocado y la entrada. Las barreras solo
// pueden adelantarla, así que una estimación vieja es segura.
int32_t TPlanificacionBloque::estimar(const TNodo& y, int32_t u) const {
  const THechas h = hechasPara(y);
  int32_t e = 0;
  for (int s = 0; s < y.nf; ++s) e = std::max(e, entrada(cListo, y.fuentes[s]));
  if (y.destino >= 0) {
    const int k = y.destino;
    const size_t d = ix(k);
    // La carga de la entrada a este registro, si no se sabe terminada, escribe
    // como muy tarde cuando termina.
    const int32_t carga = cargaEntrada(k, h);
    e = std::max({e, entrada(cEscrito, k) - y.lat + 1, carga - y.lat + 1, entrada(cLeido, k) - y.lat});
    if (!h.entradaU0) e = std::max(e, entrada(cLeidoU0, k) - y.lat);
    if (y.carga && cfg.conParadas()) {
      e = std::max(e, carga);
      const int32_t z = ultimaCarga[d];
      if (z >= 0 && !hecho(nodos[ix(z)], h)) e = std::max(e, nodos[ix(z)].larga + nodos[ix(z)].retraso);
    }
  }
  if (y.memoria()) {
    for (int32_t w = 0; w < cfg.numMem; ++w) {
      if (w == u) continue;  // misma unidad: el orden lo da la unidad
      int32_t p = memoriaEntrada(entrada.almacenamientos, w, h);
      if (y.almacen) p = std::max(p, memoriaEntrada(entrada.cargas, w, h));
      if (p > 0) e = std::max(e, p - cfg.latMem + (w < u ? 0 : 1));
    }
  }
  for (int32_t a : y.entrantes) {
    const TArista& arista = aristas[ix(a)];
    const TNodo& x = nodos[ix(arista.desde)];
    int32_t minimo = x.larga;
    switch (arista.tipo) {
      case aVerdadera: minimo = x.larga + x.lat; break;
      case aAnti:
        if (!hecho(x, h)) minimo = std::max(x.larga, x.larga + x.retraso - y.lat);
        break;
      case aSalida:
        if (!hecho(x, h)) minimo = std::max(x.larga, x.larga + x.retraso - y.lat + 1);
        break;
      case aMemoria:
        if (x.unidad == u) minimo = x.larga + 1;
        else if (!hecho(x, h)) minimo = std::max(x.larga, x.larga + x.retraso - cfg.latMem + (x.unidad < u ? 0 : 1));
        break;
    }
    e = std::max(e, minimo);
  }
  return e;
}

int32_t TPlanificacionBloque::estimarMinimo(const TNodo& y) const {
  if (!y.memoria()) return estimar(y, -1);
  if (y.carga && cfg.conParadas()) return estimar(y, 0);
  int32_t e = NUNCA;
  for (int32_t u = 0; u < cfg.numMem; ++u) e = std::min(e, estimar(y, u));
  return e;
}

bool TPlanificacionBloque::hayUnidadLibre(int c) const {
  if (c < tufMemoria) return __builtin_popcount(uso[ix(c)]) < cfg.num[ix(c)];
  if (c == 4 && cfg.conParadas()) return (uso[tufMemoria] & 1u) == 0;
  return __builtin_popcount(uso[tufMemoria]) < cfg.numMem;
}

// Unidad libre en que «y» puede ir en este ciclo; -1 si ninguna. Con fallos que
// cuestan, un almacenamiento va a la unidad 0 solo si nada puede retrasarlo en
// ella; si no, prefiere las que nunca se paran. Las unidades bajas primero:
// dos accesos de una misma instrucción larga se hacen en orden de unidad.
int32_t TPlanificacionBloque::elegirUnidad(const TNodo& y) const {
  const uint32_t ocupadas = uso[ix(y.tipo)];
  if (!y.memoria()) {
    if (estimar(y, -1) > ciclo) return -1;
    for (int32_t u = 0; u < cfg.num[ix(y.tipo)]; ++u)
      if (!(ocupadas & (1u << u))) return u;
    return -1;
  }
  auto probar = [&](int32_t u) { return !(ocupadas & (1u << u)) && estimar(y, u) <= ciclo; };
  if (y.carga && cfg.conParadas()) return probar(0) ? 0 : -1;
  if (y.almacen && cfg.conParadas()) {
    if (cargasDelante(ciclo, hechasPara(y)) == 0 && probar(0)) return 0;
    for (int32_t u = 1; u < cfg.numMem; ++u)
      if (probar(u)) return u;
    return probar(0) ? 0 : -1;
  }
  for (int32_t u = 0; u < cfg.numMem; ++u)
    if (probar(u)) return u;
  return -1;
}

// Cargas de la unidad 0 que pueden seguir en ella al emitir en la instrucción larga i.
int32_t TPlanificacionBloque::cargasDelante(int32_t i, const THechas& h) const {
  const int32_t tope = cfg.latMem - 1;  // la unidad no tiene más etapas
  int32_t k = 0;
  if (!h.entradaU0)
    for (int32_t c : entrada.enVuelo)
      if (c > i) ++k;
  for (auto j = static_cast<int64_t>(cargasU0.size()) - 1; j >= 0 && k < tope; --j) {
    const TNodo& z = nodos[ix(cargasU0[ix(j)])];
    if (z.larga <= h.barrera || i - z.larga >= cfg.maxRetraso) break;
    if (z.larga + z.retraso > i) ++k;
  }
  return std::min(k, tope);
}

// Ciclos que puede pasar parada la unidad 0 antes de que llegue a su salida lo
// que se emite en i: cada carga de delante puede fallar una vez, y todas esas
// paradas caen mientras sigue en la unidad la última operación que entró antes,
// así que tampoco pasan de lo que a esa le queda de su propia cota.
int32_t TPlanificacionBloque::paradaPosible(int32_t i, const THechas& h) const {
  const int32_t porCargas = cfg.parada * cargasDelante(i, h);
  int32_t restante = 0;
  if (ultimaU0 >= 0) {
    const TNodo& x = nodos[ix(ultimaU0)];
    if (!hecho(x, h)) restante = x.larga + x.retraso - std::max(i, x.larga + cfg.latMem);
  } else if (!h.entradaU0) {
    // Lo último que entró en la unidad 0 venía del bloque anterior.
    int32_t fin = std::max(entrada.almacenamientos[0], entrada.cargas[0]);
    if (!entrada.enVuelo.empty()) fin = std::max(fin, entrada.enVuelo.front());
    restante = fin - i;
  }
  return std::clamp(restante, 0, porCargas);
}

void TPlanificacionBloque::registrarBarreras(const TNodo& y, int32_t i) {
  if (!cfg.conParadas()) return;
  for (int s = 0; s < y.nf; ++s) {
    const int32_t x = y.defFuente[s];
    if (x < 0) {
      int32_t& b = barreraEntrada[ix(y.fuentes[s])];
      b = std::min(b, i);
      continue;
    }
    const TNodo& z = nodos[ix(x)];
    if (!z.enU0 || !z.carga || z.larga <= barrera) continue;
    barrera = z.larga;
    historialBarrera.emplace_back(i, barrera);
    primeraBarrera = std::min(primeraBarrera, i);
    barreraNueva = true;
  }
}

void TPlanificacionBloque::colocar(int32_t v, int32_t i, int32_t u) {
  TNodo& y = nodos[ix(v)];
  y.larga = i;
  y.unidad = u;
  uso[ix(y.tipo)] |= 1u << u;
  // Sus propias barreras ya valen para ella: no se emite hasta que terminen.
  registrarBarreras(y, i);
  if (y.memoria() && cfg.conParadas() && u == 0) {
    y.enU0 = true;
    y.retraso = cfg.latMem + paradaPosible(i, hechasPara(y)) + (y.carga ? cfg.parada : 0);
    ultimaU0 = v;
    if (y.carga) {
      cargasU0.push_back(v);
      if (y.destino >= 0) ultimaCarga[ix(y.destino)] = v;
    }
  }
  for (int32_t a : y.salientes) {
    const int32_t w = aristas[ix(a)].hasta;
    if (--nodos[ix(w)].pendientes == 0 && !nodos[ix(w)].salto) preparar(w);
  }
}

// Un nodo con todos sus predecesores colocados: a su cola si ya puede ir, si no a esperar.
void TPlanificacionBloque::preparar(int32_t v) {
  const TNodo& y = nodos[ix(v)];
  const int32_t e = estimarMinimo(y);
  if (e <= ciclo) {
    colas[ix(clase(y))].emplace(y.prioridad, -y.instruccion, v);
    return;
  }
  estEspera[ix(v)] = e;
  espera.emplace(e, v);
  posEspera[ix(v)] = static_cast<int32_t>(listaEspera.size());
  listaEspera.push_back(v);
}

void TPlanificacionBloque::quitarDeEspera(int32_t v) {
  estEspera[ix(v)] = NUNCA;
  const int32_t p = posEspera[ix(v)];
  const int32_t ultimo = listaEspera.back();
  listaEspera[ix(p)] = ultimo;
  posEspera[ix(ultimo)] = p;
  listaEspera.pop_back();
}

// Una barrera nueva puede adelantar a los que esperan.
void TPlanificacionBloque::reestimarEspera() {
  for (int32_t v : listaEspera) {
    const int32_t e = estimarMinimo(nodos[ix(v)]);
    if (e < estEspera[ix(v)]) {
      estEspera[ix(v)] = e;
      espera.emplace(e, v);
    }
  }
}

int32_t TPlanificacionBloque::barreraHasta(int32_t limite) const {
  int32_t g = -1;
  for (const auto& [f, b] : historialBarrera) {
    if (f > limite) break;
    g = b;
  }
  return g;
}

// Una operación en la sombra del salto no debe parar la emisión: no usa la
// unidad 0 mientras pueda haber una carga en vuelo en ella ni lee el destino de
// una carga que pueda no haber terminado. Solo cuentan las barreras emitidas
// hasta el salto: las de la sombra tampoco podrían pararse.
bool TPlanificacionBloque::seguraEnSombra(const TNodo& y, int32_t limite) const {
  if (!cfg.conParadas()) return true;
  const int32_t k = y.larga;
  const int32_t g = barreraHasta(limite);
  const bool entradaHecha = primeraBarrera <= limite;
  if (y.enU0) {
    if (!entradaHecha && !entrada.enVuelo.empty() && entrada.enVuelo.front() > k) return false;
    for (int32_t z : cargasU0) {
      const TNodo& c = nodos[ix(z)];
      if (c.larga >= k) break;
      if (c.larga > g && c.larga + c.retraso > k) return false;
    }
  }
  for (int s = 0; s < y.nf; ++s) {
    const int32_t x = y.defFuente[s];
    if (x >= 0) {
      const TNodo& c = nodos[ix(x)];
      if (c.enU0 && c.carga && c.larga > g && c.larga + c.retraso > k) return false;
    } else {
      const size_t r = ix(y.fuentes[s]);
      if (!entradaHecha && barreraEntrada[r] > limite && entrada(cCarga, y.fuentes[s]) > k) return false;
    }
  }
  return true;
}

// El salto va en cuanto lo permiten sus operandos y la sombra cubre el resto
// del bloque; si algo de la sombra podría pararla, el salto se retrasa hasta él.
int32_t TPlanificacionBloque::colocarSalto(bool drenar, int32_t ultima, int32_t maxEvento) {
  TNodo& j = nodos[ix(nodoSalto)];
  int32_t i = std::max(0, ultima - (j.lat - 1));
  for (int s = 0; s < j.nf; ++s) i = std::max(i, entrada(cListo, j.fuentes[s]));
  for (int32_t a : j.entrantes) {
    const TArista& e = aristas[ix(a)];
    if (e.tipo == aVerdadera) i = std::max(i, nodos[ix(e.desde)].larga + nodos[ix(e.desde)].lat);
  }
  if (drenar) i = std::max(i, maxEvento - j.lat);
  for (;;) {
    int32_t peor = -1;
    for (int32_t v = 0; v < numOperaciones; ++v) {
      const TNodo& y = nodos[ix(v)];
      if (y.larga > i && !seguraEnSombra(y, i)) peor = std::max(peor, y.larga);
    }
    if (peor < 0) break;
    i = peor;
  }
  j.larga = i;
  j.unidad = 0;
  j.retraso = j.lat;
  registrarBarreras(j, i);
  return i + j.lat;
}

TFrontera TPlanificacionBloque::salida(int32_t longitud) const {
  // Lo de la entrada que sigue pendiente, desplazado al final del bloque.
  TFrontera f;
  const bool hechaU0 = cfg.conParadas() && primeraBarrera != NUNCA;
  for (TPendienteRegistro x : fronteraEntrada.registros) {
    for (int32_t& c : x.cota) c = std::max(c - longitud, 0);
    if (hechaU0 || barreraEntrada[ix(x.clave)] != NUNCA) x.cota[cCarga] = 0;
    if (hechaU0) x.cota[cLeidoU0] = 0;
    if (!x.nulo()) f.registros.push_back(x);
  }
  f.almacenamientos = entrada.almacenamientos;
  f.cargas = entrada.cargas;
  for (int32_t u = 0; u < cfg.numMem; ++u) {
    const bool hecha = u == 0 && hechaU0;
    f.almacenamientos[ix(u)] = hecha ? 0 : std::max(f.almacenamientos[ix(u)] - longitud, 0);
    f.cargas[ix(u)] = hecha ? 0 : std::max(f.cargas[ix(u)] - longitud, 0);
  }
  if (!hechaU0)
    for (int32_t c : entrada.enVuelo)
      if (c - longitud > 0) f.enVuelo.push_back(c - longitud);

  // Lo del propio bloque.
  std::vector<TPendienteRegistro> propios;
  auto subir = [&propios](TCampo c, int k, int32_t v) {
    if (v <= 0) return;
    TPendienteRegistro x;
    x.clave = k;
    x.cota[ix(c)] = v;
    propios.push_back(x);
  };
  for (const TNodo& x : nodos) {
    if (x.larga < 0) continue;
    const bool terminado = x.enU0 && barrera >= x.larga;
    const int32_t efecto = x.larga + x.retraso - longitud;
    if (x.destino >= 0) {
      subir(cListo, x.destino, x.larga + x.lat - longitud);
      if (!terminado) subir(x.enU0 ? cCarga : cEscrito, x.destino, efecto);
    }
    if (terminado || efecto <= 0) continue;
    for (int k = 0; k < x.nf; ++k) subir(x.enU0 ? cLeidoU0 : cLeido, x.fuentes[k], efecto);
    if (x.enU0 && x.carga) f.enVuelo.push_back(efecto);
    if (x.memoria()) {
      int32_t& m = (x.almacen ? f.almacenamientos : f.cargas)[ix(x.unidad)];
      m = std::max(m, efecto);
    }
  }
  if (!propios.empty()) {
    std::sort(propios.begin(), propios.end(),
              [](const TPendienteRegistro& a, const TPendienteRegistro& b) { return a.clave < b.clave; });
    TFrontera p;
    for (const TPendienteRegistro& x : propios) {
      if (p.registros.empty() || p.registros.back().clave != x.clave) p.registros.push_back(TPendienteRegistro{x.clave, {}});
      for (size_t c = 0; c < NUM_CAMPOS; ++c)
        p.registros.back().cota[c] = std::max(p.registros.back().cota[c], x.cota[c]);
    }
    unir(f, p);
  }
  // Para contar las que van delante bastan latencia − 1; la sombra de un salto
  // necesita además saber si queda alguna.
  std::sort(f.enVuelo.begin(), f.enVuelo.end(), std::greater<>());
  const size_t maxEnVuelo = cfg.conParadas() ? ix(std::max(cfg.latMem - 1, 1)) : 0;
  if (f.enVuelo.size() > maxEnVuelo) f.enVuelo.resize(maxEnVuelo);
  return f;
}

bool TPlanificacionBloque::planificar(bool drenar, TPlanBloque& plan) {
  barreraEntrada.fill(NUNCA);
  ultimaCarga.fill(-1);
  estEspera.assign(nodos.size(), NUNCA);
  posEspera.assign(nodos.size(), -1);
  plan.cota = calcularCota();

  for (int32_t v = 0; v < numOperaciones; ++v)
    if (nodos[ix(v)].pendientes == 0) preparar(v);

  int32_t colocados = 0;
  int32_t ultima = -1;
  while (colocados < numOperaciones) {
    if (ciclo >= MAX_INSTRUCCIONES_LARGAS) return false;
    uso.fill(0);
    while (!espera.empty() && espera.top().first <= ciclo) {
      const auto [e, v] = espera.top();
      espera.pop();
      if (estEspera[ix(v)] != e) continue;  // anotación vieja
      quitarDeEspera(v);
      colas[ix(clase(nodos[ix(v)]))].emplace(nodos[ix(v)].prioridad, -nodos[ix(v)].instruccion, v);
    }
    for (bool progreso = true; progreso;) {
      progreso = false;
      for (int c = 0; c < NUM_CLASES; ++c) {
        std::vector<TElemento> apartados;
        while (!colas[ix(c)].empty() && hayUnidadLibre(c)) {
          const TElemento el = colas[ix(c)].top();
          colas[ix(c)].pop();
          const int32_t v = std::get<2>(el);
          const int32_t u = elegirUnidad(nodos[ix(v)]);
          if (u < 0) {
            apartados.push_back(el);
            continue;
          }
          colocar(v, ciclo, u);
          ++colocados;
          ultima = ciclo;
          progreso = true;
        }
        for (const TElemento& el : apartados) colas[ix(c)].push(el);
      }
      if (barreraNueva) {
        barreraNueva = false;
        reestimarEspera();
        while (!espera.empty() && espera.top().first <= ciclo) {
          const auto [e, v] = espera.top();
          espera.pop();
          if (estEspera[ix(v)] != e) continue;
          quitarDeEspera(v);
          colas[ix(clase(nodos[ix(v)]))].emplace(nodos[ix(v)].prioridad, -nodos[ix(v)].instruccion, v);
        }
      }
    }
    if (colocados == numOperaciones) break;
    int32_t siguiente = ciclo + 1;
    bool hayColas = false;
    for (const auto& c : colas) hayColas = hayColas || !c.empty();
    if (!hayColas) {
      while (!espera.empty() && estEspera[ix(espera.top().second)] != espera.top().first) espera.pop();
      if (!espera.empty()) siguiente = std::max(siguiente, espera.top().first);
    }
    ciclo = siguiente;
  }

  int32_t maxEvento = 0;
  for (int32_t v = 0; v < numOperaciones; ++v) {
    const TNodo& y = nodos[ix(v)];
    maxEvento = std::max(maxEvento, y.larga + std::max(y.lat, y.retraso));
  }
  int32_t longitud = ultima + 1;
  if (nodoSalto >= 0) longitud = colocarSalto(drenar, ultima, maxEvento);
  else if (drenar) longitud = std::max(longitud, maxEvento);
  if (longitud > MAX_INSTRUCCIONES_LARGAS) return false;

  plan.longitud = longitud;
  plan.colocaciones.clear();
  for (const TNodo& y : nodos) plan.colocaciones.push_back({y.larga, y.unidad});
  plan.salida = drenar ? TFrontera{} : salida(longitud);
  return true;
}

}  // namespace

// ---------------------------------------------------------------------------

TPlanificadorVLIW::TPlanificadorVLIW(const TMaquina& maquina)
    : numUF(maquina.numUF), latUF(maquina.latUF), latFalloCache(maquina.latFalloCache) {}

int32_t TPlanificadorVLIW::planificar(const TCodigo& codigo, TMaquinaVLIW& maquina) {
  numUF = maquina.numUF;
  latUF = maquina.latUF;
  latFalloCache = maquina.latFalloCache;
  maquina.borrarCodigo();
  return planificar(codigo, maquina.codigo);
}

int32_t TPlanificadorVLIW::planificar(const TCodigo& codigo, TCodigoVLIW& destino) {
  bloques.clear();
  destino.borrar();

  TConfiguracion cfg;
  for (int t = 0; t < NUM_TIPOS_UF; ++t) {
    cfg.num[ix(t)] = std::clamp(numUF[ix(t)], MIN_UF, MAX_UF);
    cfg.lat[ix(t)] = std::clamp(latUF[ix(t)], MIN_LATENCIA, MAX_LATENCIA);
  }
  cfg.num[tufSalto] = 1;
  cfg.latMem = cfg.lat[tufMemoria];
  cfg.latSalto = cfg.lat[tufSalto];
  cfg.numMem = cfg.num[tufMemoria];
  cfg.parada = std::max(0, std::clamp(latFalloCache, MIN_LAT_FALLO, MAX_LAT_FALLO) - cfg.latMem);
  cfg.maxRetraso = cfg.latMem + cfg.parada * cfg.latMem;
  // Ninguna cota de una frontera pasa de aquí: lo más tarde que acaba algo emitido en el bloque.
  const int32_t topeFrontera = std::max(*std::max_element(cfg.lat.begin(), cfg.lat.end()), cfg.maxRetraso);

  // Bloques: empiezan en la primera instrucción, tras cada salto, donde cambia
  // el número de bloque y en cada destino de salto.
  const int32_t total = std::max<int32_t>(
      0, static_cast<int32_t>(std::min<int64_t>(codigo.numInstrucciones, static_cast<int64_t>(codigo.instrucciones.size()))));
  std::vector<bool> inicio(ix(total), false);
  for (int32_t i = 0; i < total; ++i) {
    const TInstruccion& ins = codigo.instrucciones[ix(i)];
    if (i == 0 || esSalto(codigo.instrucciones[ix(i - 1)].codOp) ||
        ins.bloque != codigo.instrucciones[ix(i - 1)].bloque)
      inicio[ix(i)] = true;
  }
  for (const TBloqueBasico& b : codigo.bloques)
    if (b.primeraInstruccion >= 0 && b.primeraInstruccion < total) inicio[ix(b.primeraInstruccion)] = true;

  std::vector<TBloque> bs;
  std::vector<int32_t> bloqueDe(ix(total), -1);
  for (int32_t i = 0; i < total; ++i) {
    if (inicio[ix(i)]) {
      if (!bs.empty()) bs.back().fin = i;
      bs.push_back({});
      bs.back().primera = i;
    }
    bloqueDe[ix(i)] = static_cast<int32_t>(bs.size()) - 1;
  }
  if (!bs.empty()) bs.back().fin = total;
  const auto nb = static_cast<int32_t>(bs.size());
  for (int32_t b = 0; b < nb; ++b) {
    TBloque& bloque = bs[ix(b)];
    const TInstruccion& ultima = codigo.instrucciones[ix(bloque.fin - 1)];
    if (esSalto(ultima.codOp)) {
      bloque.salto = true;
      const int32_t t = codigo.primeraDeBloque(ultima.op[2]);
      if (t >= 0 && t < total) {
        bloque.destino = bloqueDe[ix(t)];
        bs[ix(bloque.destino)].predecesores.push_back(b);
      }
    }
    // Todos los saltos son condicionales: siempre se puede seguir al siguiente.
    if (b + 1 < nb) bs[ix(b + 1)].predecesores.push_back(b);
  }

  // Cabecera de bucle: algún predecesor va detrás (o es ella misma). Lo que le
  // llega de fuera del bucle lo pagaría cada vuelta; si así la cabecera queda
  // distinta, mejor que el bloque de fuera lo deje terminar con instrucciones
  // largas vacías, una sola vez.
  std::vector<bool> cabecera(ix(nb), false);
  for (int32_t b = 0; b < nb; ++b)
    for (int32_t p : bs[ix(b)].predecesores) cabecera[ix(b)] = cabecera[ix(b)] || p >= b;

  // Punto fijo sobre las fronteras: las entradas solo crecen; si tarda
  // demasiado, cada bloque se alarga hasta dejarlo todo terminado.
  std::vector<TFrontera> entradas(ix(nb)), salidas(ix(nb));
  std::vector<TPlanBloque> planes(ix(nb));
  std::vector<int32_t> relleno(ix(nb), 0);
  std::vector<bool> planificado(ix(nb), false);
  // Relleno buscado para cada bloque y cada uno de sus dos sucesores, con lo
  // que lo decidió: la búsqueda cuesta varias planificaciones de la cabecera.
  struct TRellenoBuscado {
    bool hecho = false;
    TFrontera salida, trasera;
    int32_t relleno = 0;
  };
  std::vector<std::array<TRellenoBuscado, 2>> buscados(ix(nb));
  bool estable = false;
  for (int ronda = 0; ronda < MAX_RONDAS && !estable; ++ronda) {
    estable = true;
    for (int32_t b = 0; b < nb; ++b) {
      const TBloque& bloque = bs[ix(b)];
      TFrontera e = entradas[ix(b)];
      for (int32_t p : bloque.predecesores)
        if (planificado[ix(p)]) unir(e, salidas[ix(p)]);
      if (ronda >= RONDAS_SIN_ENSANCHAR) ensanchar(e, entradas[ix(b)], topeFrontera);
      if (!planificado[ix(b)] || e != entradas[ix(b)]) {
        entradas[ix(b)] = std::move(e);
        TPlanificacionBloque plan(cfg, codigo, bloque, entradas[ix(b)]);
        if (!plan.planificar(false, planes[ix(b)])) return PLANIFICACION_DEMASIADO_LARGA;
        planificado[ix(b)] = true;
        estable = false;
      }
      int32_t r = 0;
      for (size_t cual = 0; cual < 2; ++cual) {
        const int32_t sucesor = cual == 0 ? b + 1 : bloque.destino;
        if (sucesor <= b || sucesor >= nb || !cabecera[ix(sucesor)]) continue;
        TFrontera trasera = entradas[ix(sucesor)];
        for (int32_t p : bs[ix(sucesor)].predecesores)
          if (p >= sucesor && planificado[ix(p)]) unir(trasera, salidas[ix(p)]);
        TRellenoBuscado& buscado = buscados[ix(b)][cual];
        if (buscado.hecho && buscado.salida == planes[ix(b)].salida && buscado.trasera == trasera) {
          r = std::max(r, buscado.relleno);
          continue;
        }
        const int32_t lleno = rellenoPara(planes[ix(b)].salida, trasera);
        int32_t malo = -1, bueno = lleno;
        TPlanBloque sin;
        if (lleno > 0) {
          TPlanificacionBloque pruebaSin(cfg, codigo, bs[ix(sucesor)], trasera);
          if (!pruebaSin.planificar(false, sin)) return PLANIFICACION_DEMASIADO_LARGA;
        }
        // El menor relleno con el que la cabecera sale igual, probando antes
        // ninguno; con «lleno» sale igual seguro, así que siempre hay uno que vale.
        for (bool primero = true; bueno - malo > 1; primero = false) {
          const int32_t medio = primero ? 0 : malo + (bueno - malo) / 2;
          TFrontera prueba = trasera;
          unir(prueba, desplazar(planes[ix(b)].salida, medio));
          TPlanBloque con;
          TPlanificacionBloque plan(cfg, codigo, bs[ix(sucesor)], prueba);
          if (!plan.planificar(false, con)) return PLANIFICACION_DEMASIADO_LARGA;
          (con.longitud == sin.longitud && con.salida == sin.salida ? bueno : malo) = medio;
        }
        buscado = {true, planes[ix(b)].salida, std::move(trasera), bueno};
        r = std::max(r, bueno);
      }
      TFrontera s = desplazar(planes[ix(b)].salida, r);
      if (r != relleno[ix(b)] || s != salidas[ix(b)]) {
        relleno[ix(b)] = r;
        salidas[ix(b)] = std::move(s);
        estable = false;
      }
    }
  }
  if (!estable)
    for (int32_t b = 0; b < nb; ++b) {
      TPlanificacionBloque plan(cfg, codigo, bs[ix(b)], TFrontera{});
      if (!plan.planificar(true, planes[ix(b)])) return PLANIFICACION_DEMASIADO_LARGA;
      relleno[ix(b)] = 0;
    }
  // El relleno va antes del salto, para que lo recorran los dos caminos.
  for (int32_t b = 0; b < nb; ++b) {
    TPlanBloque& plan = planes[ix(b)];
    plan.longitud += relleno[ix(b)];
    if (bs[ix(b)].salto && !plan.colocaciones.empty()) plan.colocaciones.back().larga += relleno[ix(b)];
  }

  int64_t longitud = 0;
  for (int32_t b = 0; b < nb; ++b) {
    const TBloque& bloque = bs[ix(b)];
    TBloquePlanificado r;
    r.bloque = codigo.instrucciones[ix(bloque.primera)].bloque;
    r.primeraInstruccion = bloque.primera;
    r.numOperaciones = bloque.fin - bloque.primera;
    r.primeraLarga = static_cast<int32_t>(std::min<int64_t>(longitud, MAX_INSTRUCCIONES_LARGAS));
    r.longitud = planes[ix(b)].longitud;
    r.cotaInferior = planes[ix(b)].cota;
    bloques.push_back(r);
    longitud += r.longitud;
  }
  if (longitud > MAX_INSTRUCCIONES_LARGAS) {
    bloques.clear();
    return PLANIFICACION_DEMASIADO_LARGA;
  }

  destino.crear(static_cast<int32_t>(longitud));
  // En cada instrucción larga, las operaciones en el orden de las columnas del editor.
  struct TSitio {
    int32_t larga, tipo, unidad, instruccion, destino, par;
    bool operator<(const TSitio& o) const { return std::tie(larga, tipo, unidad) < std::tie(o.larga, o.tipo, o.unidad); }
  };
  std::vector<TSitio> sitios;
  sitios.reserve(ix(total));
  int32_t saltos = 0;
  for (int32_t b = 0; b < nb; ++b) {
    const TBloque& bloque = bs[ix(b)];
    const TPlanBloque& plan = planes[ix(b)];
    const int32_t base = bloques[ix(b)].primeraLarga;
    for (int32_t k = 0; k < bloque.fin - bloque.primera; ++k) {
      const int32_t i = bloque.primera + k;
      const TColocacion& c = plan.colocaciones[ix(k)];
      TSitio s{base + c.larga, tipoUFDe(codigo.instrucciones[ix(i)].codOp), c.unidad, i, 0, 0};
      if (esSalto(codigo.instrucciones[ix(i)].codOp)) {
        s.destino = bloque.destino >= 0 ? bloques[ix(bloque.destino)].primeraLarga : static_cast<int32_t>(longitud);
        s.par = saltos++ % PARES_PREDICADO;
      }
      sitios.push_back(s);
    }
  }
  std::sort(sitios.begin(), sitios.end());
  for (const TSitio& s : sitios) {
    auto op = std::make_unique<TOperacionVLIW>(codigo.instrucciones[ix(s.instruccion)]);
    op->tipoUF = static_cast<int8_t>(s.tipo);
    op->numUnidad = s.unidad;
    if (esSalto(op->codOp)) {
      op->op[2] = s.destino;
      // Nunca hay dos saltos en vuelo: el bloque siguiente empieza tras la
      // sombra, así que reutilizar los pares es seguro.
      op->predVerdadero = 2 * s.par + 1;
      op->predFalso = 2 * s.par + 2;
    }
    destino.instrucciones[ix(s.larga)].anadir(std::move(op));
  }
  return PLANIFICACION_OK;
}

int64_t TPlanificadorVLIW::longitudTotal() const {
  int64_t s = 0;
  for (const TBloquePlanificado& b : bloques) s += b.longitud;
  return s;
}

int64_t TPlanificadorVLIW::cotaTotal() const {
  int64_t s = 0;
  for (const TBloquePlanificado& b : bloques) s += b.cotaInferior;
  return s;
}

int64_t TPlanificadorVLIW::operacionesTotales() const {
  int64_t s = 0;
  for (const TBloquePlanificado& b : bloques) s += b.numOperaciones;
  return s;
}

std::string TPlanificadorVLIW::detalleDemasiadoLarga() {
  return "Necesitaría más de " + std::to_string(MAX_INSTRUCCIONES_LARGAS) + " instrucciones largas";
}
