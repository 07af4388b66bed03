#pragma once
// Casos generados para contrastar las dos máquinas con el intérprete de
// referencia: programas, configuraciones, una planificación VLIW en serie y la
// comparación del estado final. Lo usan las pruebas diferenciales y los fuzzers,
// así que no depende de GoogleTest: cada comprobación devuelve el primer fallo
// como texto, vacío si no lo hay.

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "loader/TCodigo.h"
#include "referencia/TInterpreteReferencia.h"
#include "superscalar/TMaquinaSuper.h"
#include "vliw/TMaquinaVLIW.h"

namespace diferencial {

// Origen de las decisiones del generador: una semilla o los bytes de un fuzzer.
class TAzar {
public:
  virtual ~TAzar() = default;
  // Entero uniforme (o casi) en [a, b].
  int64_t entre(int64_t a, int64_t b) {
    const uint64_t ancho = static_cast<uint64_t>(b - a) + 1;
    return a + static_cast<int64_t>(tomar(ancho <= 256 ? 1 : 4) % ancho);
  }
  int32_t entre32(int64_t a, int64_t b) { return static_cast<int32_t>(entre(a, b)); }
  // Con los bytes agotados (todo a 0) la respuesta es «no».
  bool siPorCiento(int porcentaje) { return entre(0, 99) >= 100 - porcentaje; }
  uint32_t palabra() { return tomar(4); }

protected:
  virtual uint32_t tomar(int bytes) = 0;
};

class TAzarSemilla : public TAzar {
public:
  explicit TAzarSemilla(uint32_t semilla) : generador(semilla) {}

protected:
  uint32_t tomar(int) override { return static_cast<uint32_t>(generador()); }

private:
  std::mt19937 generador;
};

// Cuando se acaban los bytes, todo lo que queda por decidir vale lo mínimo.
class TAzarBytes : public TAzar {
public:
  TAzarBytes(const uint8_t* d, size_t n) : datos(d), tam(n) {}
  size_t restantes() const { return tam - pos; }

protected:
  uint32_t tomar(int bytes) override {
    uint32_t v = 0;
    for (int i = 0; i < bytes && pos < tam; ++i) v = (v << 8) | datos[pos++];
    return v;
  }

private:
  const uint8_t* datos;
  size_t tam;
  size_t pos = 0;
};

inline float deBits(uint32_t b) {
  float v = 0;
  std::memcpy(&v, &b, sizeof v);
  return v;
}

// ---------------------------------------------------------------------------
// Programas

struct TValorInicial {
  char banco;  // 'R', 'F' o 'M'
  int32_t indice;
  int32_t entero;
  float flotante;
};

struct TProgramaGenerado {
  std::string fuente;
  std::vector<int32_t> nops;  // instrucciones que pasan a NOP tras cargar (no se puede escribir)
  std::vector<TValorInicial> iniciales;

  // Carga la fuente y convierte las NOP; nullptr si no carga.
  std::unique_ptr<TCodigo> cargar() const {
    auto c = std::make_unique<TCodigo>();
    if (c->cargarTexto(fuente) != CARGA_OK) return nullptr;
    for (int32_t i : nops) {
      if (!c->indiceValido(i)) continue;
      TInstruccion& ins = c->instrucciones[static_cast<size_t>(i)];
      if (esSalto(ins.codOp)) continue;  // cerraría un bloque que ya existe
      ins.codOp = NOP;
      ins.textoCodOp = "NOP";
      for (int k = 0; k < 3; ++k) {
        ins.op[k] = 0;
        ins.textoOp[k].clear();
      }
    }
    return c;
  }

  void ponerIniciales(TMaquina& m) const {
    for (const TValorInicial& v : iniciales) {
      const size_t i = static_cast<size_t>(v.indice);
      if (v.banco == 'R') m.gpr.valor[i] = v.entero;
      else if (v.banco == 'F') m.fpr.valor[i] = v.flotante;
      else m.memoria.datos[i] = v.flotante;
    }
  }
};

// Programas de bucles contados anidados (hasta dos niveles) con saltos hacia
// delante dentro de cada bloque, cargas y almacenamientos a pocas palabras y
// registros de un conjunto pequeño para que las dependencias sean densas.
//
// En modo normal no escriben R0 y los valores iniciales son enteros pequeños
// (en los registros F y la memoria, también con fracciones): así casi todos
// quedan en la zona en que la superescalar es exacta. En modo amplio (fuzzers)
// cualquier registro, inmediato, desplazamiento o valor inicial vale, y los
// saltos también van hacia atrás, aunque el bucle no acabe.
class TGeneradorProgramas {
public:
  TGeneradorProgramas(TAzar& a, bool amplioGenerador) : azar(a), amplio(amplioGenerador) {}

  TProgramaGenerado generar() {
    lineas.clear();
    saltos.clear();
    contadores = 0;
    TProgramaGenerado p;
    lineas.push_back({"DADDUI R7 R0 #" + std::to_string(azar.entre(0, 8)), false});  // base de memoria
    const int n = static_cast<int>(azar.entre(6, amplio ? 40 : 30));
    bloque(0, n);
    // Destino de los saltos que acaban el bloque exterior.
    lineas.push_back({"DADDUI R9 R9 #1", false});
    for (const auto& s : saltos) lineas[static_cast<size_t>(s.second)].etiquetada = true;

    std::string texto = std::to_string(lineas.size()) + "\n";
    for (size_t i = 0; i < lineas.size(); ++i) {
      if (lineas[i].etiquetada) texto += "L" + std::to_string(i) + ": ";
      std::string t = lineas[i].texto;
      // Los saltos se escribieron con el índice de línea del destino.
      const size_t marca = t.find('@');
      if (marca != std::string::npos) t = t.substr(0, marca) + "L" + t.substr(marca + 1);
      texto += t + "\n";
    }
    p.fuente = texto;
    const int porcentajeNop = amplio ? 5 : 3;
    for (size_t i = 1; i + 1 < lineas.size(); ++i)
      if (!lineas[i].fija && azar.siPorCiento(porcentajeNop)) p.nops.push_back(static_cast<int32_t>(i));
    iniciales(p);
    return p;
  }

private:
  struct TLinea {
    std::string texto;
    bool fija;  // del esqueleto del bucle: nunca pasa a NOP
    bool etiquetada = false;
  };

  static constexpr int MAX_BUCLES = 20;

  TAzar& azar;
  bool amplio;
  std::vector<TLinea> lineas;
  std::vector<std::pair<size_t, int>> saltos;  // (línea del salto, línea destino)
  int contadores = 0;

  std::string R(bool destino) {
    if (amplio) {
      if (azar.siPorCiento(5)) return "R" + std::to_string(azar.entre(0, 63));
      return "R" + std::to_string(azar.entre(0, 7));
    }
    return "R" + std::to_string(destino ? azar.entre(1, 6) : azar.entre(0, 7));
  }
  std::string F() {
    if (amplio && azar.siPorCiento(5)) return "F" + std::to_string(azar.entre(0, 63));
    return "F" + std::to_string(azar.entre(0, 5));
  }
  std::string inmediato() {
    if (amplio && azar.siPorCiento(10)) return "#" + std::to_string(azar.entre(0, INT32_MAX));
    return "#" + std::to_string(azar.entre(0, 20));
  }
  std::string direccion() {
    int64_t k = azar.entre(0, 15);
    if (azar.siPorCiento(4)) k = azar.entre(1000, 1030);  // casi siempre fuera de la memoria
    if (amplio && azar.siPorCiento(5)) k = azar.entre(0, INT32_MAX);
    const int base = static_cast<int>(azar.entre(0, 9));
    const std::string b = base < 4 ? "R0" : base < 8 ? "R7" : R(false);
    return std::to_string(k) + "(" + b + ")";
  }

  // Genera n elementos; un elemento es una instrucción o un bucle contado.
  void bloque(int profundidad, int n) {
    std::vector<int> inicioElemento;
    std::vector<std::pair<size_t, int>> pendientes;  // (línea del salto, elemento destino)
    for (int i = 0; i < n; ++i) {
      inicioElemento.push_back(static_cast<int>(lineas.size()));
      // Cada bucle gasta dos registros propios desde R10: como mucho veinte bucles.
      if (profundidad < 2 && n - i >= 3 && contadores < MAX_BUCLES && azar.siPorCiento(profundidad == 0 ? 15 : 8)) {
        bucle(profundidad + 1, static_cast<int>(azar.entre(2, std::min(n - i, 10))));
        continue;
      }
      std::string ins;
      switch (azar.entre(0, 12)) {
        case 0:
        case 1: ins = "DADDUI " + R(true) + " " + R(false) + " " + inmediato(); break;
        case 2: ins = "ADDI " + R(true) + " " + R(false) + " " + R(false); break;
        case 3: ins = "MULTI " + R(true) + " " + R(false) + " " + R(false); break;
        case 4: ins = "ADDF " + F() + " " + F() + " " + F(); break;
        case 5: ins = "MULTF " + F() + " " + F() + " " + F(); break;
        case 6: ins = "SI " + R(false) + " " + direccion(); break;
        case 7: ins = "SF " + F() + " " + direccion(); break;
        case 8: ins = "LI " + R(true) + " " + direccion(); break;
        case 9: ins = "LF " + F() + " " + direccion(); break;
        default: {
          const std::string m = azar.entre(0, 1) ? "BEQ " : "BNE ";
          ins = m + R(false) + " " + R(false) + " ";
          if (amplio && azar.siPorCiento(20)) {
            // Hacia cualquier sitio, también hacia atrás: puede no acabar nunca.
            saltos.push_back({lineas.size(), static_cast<int>(azar.entre(0, static_cast<int64_t>(lineas.size())))});
            ins += "@" + std::to_string(saltos.back().second);
          } else {
            pendientes.push_back({lineas.size(), static_cast<int>(azar.entre(i + 1, n))});
          }
          break;
        }
      }
      lineas.push_back({ins, false});
    }
    // El elemento n es la línea que siga al bloque.
    inicioElemento.push_back(static_cast<int>(lineas.size()));
    for (const auto& p : pendientes) {
      const int destino = inicioElemento[static_cast<size_t>(p.second)];
      lineas[p.first].texto += "@" + std::to_string(destino);
      saltos.push_back({p.first, destino});
    }
  }

  // Contador de 0 a límite con registros propios que el cuerpo no escribe.
  void bucle(int profundidad, int n) {
    const int c = 10 + 2 * contadores++;
    const std::string cuenta = "R" + std::to_string(c), limite = "R" + std::to_string(c + 1);
    lineas.push_back({"DADDUI " + cuenta + " R0 #0", true});
    lineas.push_back({"DADDUI " + limite + " R0 #" + std::to_string(azar.entre(1, 4)), true});
    const int cuerpo = static_cast<int>(lineas.size());
    bloque(profundidad, n);
    lineas.push_back({"DADDUI " + cuenta + " " + cuenta + " #1", true});
    lineas.push_back({"BNE " + cuenta + " " + limite + " @" + std::to_string(cuerpo), true});
    saltos.push_back({lineas.size() - 1, cuerpo});
  }

  void iniciales(TProgramaGenerado& p) {
    const int n = static_cast<int>(azar.entre(0, 12));
    for (int i = 0; i < n; ++i) {
      TValorInicial v{'R', 0, 0, 0.0f};
      switch (azar.entre(0, 2)) {
        case 0:
          v.banco = 'R';
          v.indice = amplio ? azar.entre32(0, 63) : azar.entre32(1, 6);
          v.entero = amplio ? static_cast<int32_t>(azar.palabra()) : azar.entre32(-40, 40);
          break;
        case 1:
          v.banco = 'F';
          v.indice = amplio ? azar.entre32(0, 63) : azar.entre32(0, 5);
          v.flotante = amplio ? deBits(azar.palabra()) : static_cast<float>(azar.entre(-80, 80)) / 4.0f;
          break;
        default:
          v.banco = 'M';
          v.indice = amplio ? azar.entre32(0, TAM_MEMORIA - 1) : azar.entre32(0, 31);
          // Una palabra fraccionaria que llegue a un LI saca el caso de la zona exacta.
          v.flotante = amplio ? deBits(azar.palabra())
                              : static_cast<float>(azar.entre(-40, 40)) / (azar.siPorCiento(20) ? 2.0f : 1.0f);
          break;
      }
      p.iniciales.push_back(v);
    }
  }
};

// ---------------------------------------------------------------------------
// Configuraciones

// Latencia de fallo por debajo, igual o por encima de la de memoria.
inline int32_t latenciaFallo(TAzar& azar, int32_t latMem, bool costoso) {
  if (!costoso) return azar.entre32(0, latMem);
  switch (azar.entre(0, 2)) {
    case 0: return azar.entre32(0, latMem - 1);
    case 1: return latMem;
    default: return latMem + azar.entre32(1, 8);
  }
}

inline void configurarSuper(TMaquinaSuper& m, TAzar& azar) {
  for (auto& u : m.numUF) u = azar.entre32(1, 3);
  for (auto& l : m.latUF) l = azar.entre32(1, 8);
  m.emision = azar.entre32(2, 8);
  const int32_t porcentajes[] = {0, 30, 100};
  m.memoria.porcentajeFallos = porcentajes[azar.entre(0, 2)];
  m.latFalloCache = latenciaFallo(azar, m.latUF[tufMemoria], true);
  m.memoria.sembrar(azar.palabra());
}

// Sin fallos costosos: una carga que falla se repite al acabar la parada y lee
// su base entonces, así que un fallo caro cambiaría legítimamente la palabra leída.
inline void configurarVLIW(TMaquinaVLIW& m, TAzar& azar) {
  for (auto& u : m.numUF) u = azar.entre32(1, 3);
  m.numUF[tufSalto] = 1;
  for (auto& l : m.latUF) l = azar.entre32(1, 8);
  const int32_t porcentajes[] = {0, 30, 100};
  m.memoria.porcentajeFallos = porcentajes[azar.entre(0, 2)];
  m.latFalloCache = latenciaFallo(azar, m.latUF[tufMemoria], false);
  m.memoria.sembrar(azar.palabra());
}

// ---------------------------------------------------------------------------
// Registros fuente y destino de una instrucción, por banco.
struct TRegistroUsado {
  bool flotante = false;
  int32_t numero = 0;
};

inline int fuentesDe(const TInstruccion& i, TRegistroUsado (&r)[2]) {
  switch (i.codOp) {
    case ADDI:
    case MULTI: r[0] = {false, i.op[1]}; r[1] = {false, i.op[2]}; return 2;
    case DADDUI: r[0] = {false, i.op[1]}; return 1;
    case ADDF:
    case MULTF: r[0] = {true, i.op[1]}; r[1] = {true, i.op[2]}; return 2;
    case SI: r[0] = {false, i.op[0]}; r[1] = {false, i.op[2]}; return 2;
    case SF: r[0] = {true, i.op[0]}; r[1] = {false, i.op[2]}; return 2;
    case LI:
    case LF: r[0] = {false, i.op[2]}; return 1;
    case BNE:
    case BEQ: r[0] = {false, i.op[0]}; r[1] = {false, i.op[1]}; return 2;
    default: return 0;
  }
}

inline bool destinoDe(const TInstruccion& i, TRegistroUsado& r) {
  switch (i.codOp) {
    case ADDI:
    case DADDUI:
    case MULTI:
    case LI: r = {false, i.op[0]}; return true;
    case ADDF:
    case MULTF:
    case LF: r = {true, i.op[0]}; return true;
    default: return false;
  }
}

// Planificación VLIW en serie: una operación por instrucción larga seguida de
// las instrucciones largas vacías que cubren su latencia (y la sombra de un
// salto), cada salto con su destino y sus predicados. Es correcta para
// cualquier programa, así que el comprobador no debe quejarse.

inline void planificarEnSerie(TMaquinaVLIW& m, const TCodigo& c, TAzar& azar) {
  const auto n = static_cast<size_t>(c.numInstrucciones);
  std::vector<int32_t> posicion(n + 1, 0);
  int32_t total = 0;
  for (size_t i = 0; i < n; ++i) {
    posicion[i] = total;
    total += std::max(1, m.latUF[static_cast<size_t>(c.instrucciones[i].tipoUnidad())]);
  }
  posicion[n] = total;
  m.borrarCodigo();
  m.codigo.crear(total);
  for (size_t i = 0; i < n; ++i) {
    const TInstruccion& ins = c.instrucciones[i];
    auto op = std::make_unique<TOperacionVLIW>(ins);
    op->tipoUF = ins.tipoUnidad();
    op->numUnidad = azar.entre32(0, m.numUF[static_cast<size_t>(op->tipoUF)] - 1);
    if (esSalto(ins.codOp)) {
      const int32_t destino = c.primeraDeBloque(ins.op[2]);
      op->op[2] = destino >= 0 ? posicion[static_cast<size_t>(destino)] : total;
      op->predVerdadero = azar.entre32(1, 63);
      // A veces el mismo registro para los dos: también es válido.
      op->predFalso = azar.siPorCiento(10) ? op->predVerdadero : azar.entre32(1, 63);
    }
    m.codigo.instrucciones[static_cast<size_t>(posicion[i])].anadir(std::move(op));
  }
}

// Planificación compacta: cada bloque básico por separado, sus operaciones en
// orden de programa en la primera instrucción larga que permiten las
// dependencias verdaderas (a la distancia de la latencia del productor, como
// exige el comprobador), las anti y de salida (por el ciclo en que cada una
// lee o escribe), el orden de los accesos a memoria y una unidad libre. El
// salto, último del bloque, se resuelve cuando todo lo demás del bloque ha
// terminado, y el bloque siguiente empieza entonces. Las operaciones que
// quedan tras el salto, en su sombra, son anteriores a él en el programa.
inline void planificarCompacta(TMaquinaVLIW& m, const TCodigo& c, TAzar& azar) {
  struct TColocada {
    size_t instruccion;
    int32_t larga;
    int32_t unidad;
  };
  // Por registro: cuándo está listo su último valor, cuándo lo escribe su
  // último escritor y el último ciclo en que lo lee (o se emite quien lo lee).
  struct TRegistro {
    int32_t listo, escrito, leido, emitidoLector;
  };
  std::vector<TColocada> colocadas;
  std::vector<std::array<uint32_t, NUM_TIPOS_UF>> ocupadas;
  std::vector<int32_t> inicioBloque(static_cast<size_t>(std::max(c.numBloques, 0)) + 1, 0);
  auto latencia = [&](const TInstruccion& ins) { return std::max(1, m.latUF[static_cast<size_t>(ins.tipoUnidad())]); };

  int32_t inicio = 0;
  size_t i = 0;
  const auto n = static_cast<size_t>(c.numInstrucciones);
  while (i < n) {
    const int32_t bloque = c.instrucciones[i].bloque;
    inicioBloque[static_cast<size_t>(bloque)] = inicio;
    std::array<TRegistro, NUM_REGISTROS> enteros, flotantes;
    enteros.fill({inicio, inicio, inicio, inicio});
    flotantes.fill({inicio, inicio, inicio, inicio});
    int32_t ultimaMemoria = inicio - 1, fin = inicio;
    for (; i < n && c.instrucciones[i].bloque == bloque; ++i) {
      const TInstruccion& ins = c.instrucciones[i];
      const int32_t lat = latencia(ins);
      TRegistroUsado fuentes[2];
      int nf = fuentesDe(ins, fuentes);
      TRegistroUsado destino{};
      bool escribe = destinoDe(ins, destino);
      // Un registro que no existe (solo en programas hechos a mano) no crea dependencias.
      auto existe = [](const TRegistroUsado& r) { return TRegistros<int32_t>::indiceValido(r.numero); };
      if (nf == 2 && !existe(fuentes[1])) nf = 1;
      if (nf >= 1 && !existe(fuentes[0])) {
        fuentes[0] = fuentes[1];
        --nf;
      }
      escribe = escribe && existe(destino);
      auto reg = [&](const TRegistroUsado& r) -> TRegistro& {
        return (r.flotante ? flotantes : enteros)[static_cast<size_t>(r.numero)];
      };
      int32_t t = inicio;
      for (int k = 0; k < nf; ++k) t = std::max(t, reg(fuentes[k]).listo);
      if (escribe) {
        const TRegistro& d = reg(destino);
        t = std::max({t, d.leido - lat, d.escrito - lat + 1});
        // Una carga en vuelo pone su destino en NaT: quien aún quiere el valor
        // anterior tiene que haberse emitido ya.
        if (esCarga(ins.codOp)) t = std::max(t, d.emitidoLector);
      }
      if (esCarga(ins.codOp) || esAlmacenamiento(ins.codOp)) t = std::max(t, ultimaMemoria + 1);
      if (esSalto(ins.codOp)) t = std::max(t, fin - lat);
      const auto tipo = static_cast<size_t>(ins.tipoUnidad());
      const int32_t unidades = m.numUF[tipo];
      int32_t unidad = -1;
      for (;; ++t) {
        if (static_cast<size_t>(t) >= ocupadas.size()) ocupadas.resize(static_cast<size_t>(t) + 1, {});
        const int32_t desde = azar.entre32(0, unidades - 1);
        for (int32_t k = 0; k < unidades && unidad < 0; ++k) {
          const int32_t u = (desde + k) % unidades;
          if (!(ocupadas[static_cast<size_t>(t)][tipo] & (1u << u))) unidad = u;
        }
        if (unidad >= 0) break;
      }
      ocupadas[static_cast<size_t>(t)][tipo] |= 1u << unidad;
      colocadas.push_back({i, t, unidad});
      for (int k = 0; k < nf; ++k) {
        TRegistro& f = reg(fuentes[k]);
        f.leido = std::max(f.leido, t + lat);
        f.emitidoLector = std::max(f.emitidoLector, t);
      }
      if (escribe) {
        TRegistro& d = reg(destino);
        d.listo = d.escrito = t + lat;
      }
      if (esCarga(ins.codOp) || esAlmacenamiento(ins.codOp)) ultimaMemoria = t;
      fin = std::max(fin, t + lat);
    }
    inicio = fin;
  }
  if (c.numBloques >= 0) inicioBloque[static_cast<size_t>(c.numBloques)] = inicio;

  m.borrarCodigo();
  m.codigo.crear(std::max(inicio, static_cast<int32_t>(ocupadas.size())));
  for (const TColocada& k : colocadas) {
    const TInstruccion& ins = c.instrucciones[k.instruccion];
    auto op = std::make_unique<TOperacionVLIW>(ins);
    op->tipoUF = ins.tipoUnidad();
    op->numUnidad = k.unidad;
    if (esSalto(ins.codOp)) {
      const int32_t b = ins.op[2];
      op->op[2] = b >= 0 && b < c.numBloques ? inicioBloque[static_cast<size_t>(b)] : inicio;
      op->predVerdadero = azar.entre32(1, 63);
      op->predFalso = azar.entre32(1, 63);
    }
    m.codigo.instrucciones[static_cast<size_t>(k.larga)].anadir(std::move(op));
  }
}

// ---------------------------------------------------------------------------
// Comparaciones

struct TResultadoCaso {
  std::string fallo;        // vacío si todo cuadra
  bool comparado = false;   // la referencia terminó y el caso estaba en la zona exacta
  bool detenido = false;    // la referencia se detuvo en un acceso fuera de la memoria
  int64_t ejecutadas = 0;   // instrucciones de la referencia
  int64_t ciclos = 0;
};

// Cada unidad cuenta bien sus etapas ocupadas y nunca queda parada en negativo.
inline std::string invariantesUnidades(const TMaquina& m) {
  auto revisar = [](const TUnidadFuncional& u) {
    int32_t ocupadas = 0;
    for (const TInstruccion* e : u.etapas) ocupadas += e != nullptr;
    return ocupadas == u.ocupadas && u.parada >= 0 && u.latencia == static_cast<int32_t>(u.etapas.size()) &&
           u.salida >= 0 && u.salida < u.latencia;
  };
  for (int t = 0; t < NUM_TIPOS_UF; ++t)
    for (const TUnidadFuncional& u : m.uf[static_cast<size_t>(t)])
      if (!revisar(u)) return "unidad de tipo " + std::to_string(t) + " incoherente";
  if (const auto* s = dynamic_cast<const TMaquinaSuper*>(&m))
    for (const TUnidadFuncional& u : s->aluDir)
      if (!revisar(u)) return "unidad de direcciones incoherente";
  return {};
}

// Invariantes de las estructuras en vuelo entre dos ciclos.
inline std::string invariantesSuper(const TMaquinaSuper& m) {
  int32_t enER = 0;
  for (int t = 0; t < NUM_TIPOS_UF; ++t) {
    const auto& estacion = m.er[static_cast<size_t>(t)];
    enER += static_cast<int32_t>(estacion.size());
    if (static_cast<int32_t>(estacion.size()) > m.capacidadER(t)) return "estación desbordada";
    for (const auto& e : estacion) {
      const TEntradaROB* r = m.rob.elemento(e.tagROB);
      if (r == nullptr || r->instruccion.get() != e.instruccion) return "estación sin su entrada del ROB";
      if (r->listo) return "entrada lista que sigue en su estación";
      // Un operando que espera a una entrada ya lista se perdió la difusión y no llegará nunca.
      for (int32_t q : {e.qj, e.qk}) {
        if (q == -1) continue;
        const TEntradaROB* p = m.rob.elemento(q);
        if (p == nullptr) return "operando que espera una entrada del ROB que no existe";
        if (p->listo) return "operando que espera a la entrada " + std::to_string(q) + ", que ya está lista";
      }
      const bool memoria = esCarga(e.instruccion->codOp) || esAlmacenamiento(e.instruccion->codOp);
      const bool empezada = e.uf != -1 || (memoria && r->dirCalculada);
      if (r->etapa != (empezada ? ETAPA_EXEC : ETAPA_ISSUE))
        return "etapa " + std::to_string(r->etapa) + " de la entrada " + std::to_string(e.tagROB) + " en su estación";
    }
  }
  // Toda entrada sin terminar espera en una estación: si no, nadie la terminaría.
  int32_t sinTerminar = 0;
  for (int32_t i = 0; i < m.rob.numElementos(); ++i) {
    const TEntradaROB* r = m.rob.enOrden(i);
    if (r->listo != (r->etapa == ETAPA_WRITE)) return "entrada del ROB lista fuera de la etapa WRITE";
    sinTerminar += !r->listo;
  }
  if (enER != sinTerminar)
    return std::to_string(sinTerminar) + " entradas del ROB sin terminar y " + std::to_string(enER) + " en estaciones";
  // Recorrer todas las etapas cuesta más que el ciclo mismo: una vez cada ocho.
  if (m.ciclo % 8 == 0) {
    const std::string incoherente = invariantesUnidades(m);
    if (!incoherente.empty()) return incoherente;
    // Cada instrucción en una unidad tiene la entrada de estación que la nombra, y al revés.
    const auto base = static_cast<int32_t>(m.uf[tufMemoria].size());
    for (int t = 0; t < NUM_TIPOS_UF; ++t)
      for (const auto& e : m.er[static_cast<size_t>(t)]) {
        if (e.uf == -1) continue;
        const bool dir = t == tufMemoria && e.uf >= base;
        const auto& unidades = dir ? m.aluDir : m.uf[static_cast<size_t>(t)];
        const auto u = static_cast<size_t>(dir ? e.uf - base : e.uf);
        if (u >= unidades.size() || e.etapaUF < 0 || e.etapaUF >= unidades[u].latencia ||
            unidades[u].etapas[static_cast<size_t>(e.etapaUF)] != e.instruccion)
          return "entrada de estación que no está en la etapa de su unidad";
      }
    int32_t enUnidades = 0, conUnidad = 0;
    for (const auto& unidades : m.uf)
      for (const auto& u : unidades) enUnidades += u.ocupadas;
    for (const auto& u : m.aluDir) enUnidades += u.ocupadas;
    for (const auto& estacion : m.er)
      for (const auto& e : estacion) conUnidad += e.uf != -1;
    if (enUnidades != conUnidad) return "instrucciones en unidades sin su entrada de estación";
  }
  for (const auto& u : m.aluDir)
    if (u.parada != 0) return "unidad de direcciones parada";
  for (int r = 0; r < NUM_REGISTROS; ++r) {
    const size_t i = static_cast<size_t>(r);
    if (m.gpr.pendiente[i]) {
      const TEntradaROB* e = m.rob.elemento(m.robGPR[i]);
      if (e == nullptr || e->destino != r) return "R" + std::to_string(r) + " renombrado a una entrada ajena";
    }
    if (m.fpr.pendiente[i]) {
      const TEntradaROB* e = m.rob.elemento(m.robFPR[i]);
      if (e == nullptr || e->destino != r) return "F" + std::to_string(r) + " renombrado a una entrada ajena";
    }
  }
  return {};
}

// Un bit NaT puesto espera a una carga en vuelo hacia ese registro; sin ella,
// la emisión quedaría parada para siempre.
inline std::string invariantesVLIW(const TMaquinaVLIW& m) {
  const std::string unidades = invariantesUnidades(m);
  if (!unidades.empty()) return unidades;
  for (int r = 0; r < NUM_REGISTROS; ++r)
    for (const bool flotante : {false, true}) {
      if (!(flotante ? m.natFPR : m.natGPR)[static_cast<size_t>(r)]) continue;
      bool enVuelo = false;
      for (const auto& u : m.uf[tufMemoria])
        for (const TInstruccion* e : u.etapas)
          enVuelo = enVuelo || (e != nullptr && e->codOp == (flotante ? LF : LI) && e->op[0] == r);
      if (!enVuelo)
        return std::string("bit NaT de ") + (flotante ? "F" : "R") + std::to_string(r) + " sin carga en vuelo";
    }
  return {};
}

inline std::string vaciaSuper(const TMaquinaSuper& m) {
  if (!m.rob.vacia() || !m.prefetch.vacia() || !m.decoder.vacia()) return "colas sin vaciar al terminar";
  for (const auto& e : m.er)
    if (!e.empty()) return "estación sin vaciar al terminar";
  for (int r = 0; r < NUM_REGISTROS; ++r)
    if (m.gpr.pendiente[static_cast<size_t>(r)] || m.fpr.pendiente[static_cast<size_t>(r)])
      return "registro pendiente al terminar";
  return {};
}

// Un ciclo más tras terminar o detenerse repite el resultado y no cambia nada
// más que el contador de ciclos.
inline std::string cicloDeMas(TMaquina& m, int8_t resultado, const TInterpreteReferencia& ref) {
  const int32_t ciclo = m.ciclo;
  const int8_t otra = m.ejecutarCiclo();
  if (otra != resultado) return "el ciclo siguiente al final da " + std::to_string(otra);
  if (resultado == CICLO_COMPLETADO && m.ciclo != ciclo + 1) return "el ciclo siguiente al final no se cuenta";
  const std::string d = ref.diferenciaCon(m);
  return d.empty() ? d : "el ciclo siguiente al final cambia " + d;
}

// Cota de ciclos por instrucción ejecutada: el recorrido completo de una carga
// que depende de la anterior, con fallo, tras vaciar el cauce por un salto.
inline int64_t ciclosPorInstruccion(const TMaquina& m) {
  const int32_t maxLat = *std::max_element(m.latUF.begin(), m.latUF.end());
  return 12 + m.latUF[tufSumaEntera] + std::max(m.latUF[tufMemoria], m.latFalloCache) + maxLat;
}

// La superescalar ya configurada, reseteada y con sus valores iniciales. Si la
// referencia no termina en «limitePasos» o sale de la zona exacta, la máquina
// solo corre «ciclosSinComparar» ciclos sin salirse de sus invariantes.
inline TResultadoCaso compararSuper(TMaquinaSuper& m, const TCodigo& c, int64_t limitePasos,
                                    int64_t ciclosSinComparar, bool invariantes = true) {
  TResultadoCaso r;
  TInterpreteReferencia ref(modoSuperescalar);
  ref.copiarEstado(m);
  const int8_t fin = ref.ejecutar(c, limitePasos);
  r.ejecutadas = ref.ejecutadas;
  r.comparado = fin != REFERENCIA_LIMITE && ref.exacto;
  r.detenido = fin == REFERENCIA_ERROR;
  const int64_t cota = r.comparado ? 20 + (ref.ejecutadas + 1) * ciclosPorInstruccion(m) : ciclosSinComparar;

  int8_t res = CICLO_NORMAL;
  for (int64_t i = 0; i < cota; ++i) {
    res = m.ejecutarCiclo();
    if (invariantes) {
      r.fallo = invariantesSuper(m);
      if (!r.fallo.empty()) {
        r.fallo = "ciclo " + std::to_string(m.ciclo) + ": " + r.fallo;
        return r;
      }
    }
    if (res == CICLO_COMPLETADO || res == CICLO_ERROR) break;
    m.paradaBreakpoint = false;
  }
  r.ciclos = m.ciclo;
  if (!r.comparado) return r;

  if (res != CICLO_COMPLETADO && res != CICLO_ERROR) {
    r.fallo = "la máquina no termina en " + std::to_string(cota) + " ciclos (" + std::to_string(ref.ejecutadas) +
              " instrucciones)";
    return r;
  }
  if (fin == REFERENCIA_ERROR) {
    const std::string donde = "(" + std::to_string(ref.direccionError) + ") en la instrucción " +
                              std::to_string(ref.instruccionError) + ": ";
    if (res != CICLO_ERROR || m.mensajeError.find(donde) == std::string::npos) {
      r.fallo = "se esperaba la parada " + donde + "y la máquina da " + std::to_string(res) + " «" +
                m.mensajeError + "»";
      return r;
    }
  } else {
    if (res != CICLO_COMPLETADO) {
      r.fallo = "la máquina se detiene: " + m.mensajeError;
      return r;
    }
    r.fallo = vaciaSuper(m);
    if (!r.fallo.empty()) return r;
  }
  r.fallo = ref.diferenciaCon(m);
  if (r.fallo.empty() && m.estadisticas.instruccionesConfirmadas != ref.ejecutadas)
    r.fallo = "confirma " + std::to_string(m.estadisticas.instruccionesConfirmadas) + " instrucciones y la referencia ejecuta " +
              std::to_string(ref.ejecutadas);
  if (r.fallo.empty()) r.fallo = cicloDeMas(m, res, ref);
  return r;
}

// Sin nada en vuelo no queda ningún registro esperando una carga.
inline std::string natLimpios(const TMaquinaVLIW& m) {
  for (int k = 0; k < NUM_REGISTROS; ++k)
    if (m.natGPR[static_cast<size_t>(k)] || m.natFPR[static_cast<size_t>(k)])
      return "bit NaT del registro " + std::to_string(k) + " puesto al terminar";
  return {};
}

// La VLIW ya configurada, reseteada y con sus valores iniciales; aquí se le da
// la planificación en serie de «c».
inline TResultadoCaso compararVLIW(TMaquinaVLIW& m, const TCodigo& c, TAzar& azar, int64_t limitePasos,
                                   int64_t ciclosSinComparar, bool comparar = true, bool compacta = false) {
  TResultadoCaso r;
  const std::string cual = compacta ? "compacta" : "en serie";
  if (compacta) planificarCompacta(m, c, azar);
  else planificarEnSerie(m, c, azar);
  if (m.comprobarConfiguracion() != CHEQUEO_OK) {
    r.fallo = "la planificación " + cual + " no cabe en la configuración";
    return r;
  }
  int32_t larga = 0, operacion = 0;
  const int32_t chequeo = m.comprobarCodigo(larga, operacion);
  if (chequeo != CHEQUEO_OK) {
    r.fallo = "el comprobador rechaza la planificación " + cual + ": " +
              TMaquinaVLIW::mensajeChequeo(chequeo, larga, operacion);
    return r;
  }
  TInterpreteReferencia ref(modoVLIW);
  ref.copiarEstado(m);
  int8_t fin = comparar ? ref.ejecutar(c, limitePasos) : REFERENCIA_LIMITE;
  // En la compacta, operaciones posteriores a un acceso fuera de la memoria
  // pueden haberse ejecutado antes de que se detenga: sin comparar.
  if (compacta && fin == REFERENCIA_ERROR) fin = REFERENCIA_LIMITE;
  r.ejecutadas = ref.ejecutadas;
  r.comparado = fin != REFERENCIA_LIMITE;
  r.detenido = fin == REFERENCIA_ERROR;
  const int32_t maxLat = *std::max_element(m.latUF.begin(), m.latUF.end());
  const int64_t cota = r.comparado ? (ref.ejecutadas + 2) * (maxLat + 1) : ciclosSinComparar;

  int8_t res = CICLO_NORMAL;
  for (int64_t i = 0; i < cota && res != CICLO_COMPLETADO && res != CICLO_ERROR; ++i) {
    res = m.ejecutarCiclo();
    if (m.ciclo % 8 == 0) r.fallo = invariantesVLIW(m);
    if (!r.fallo.empty()) return r;
  }
  r.ciclos = m.ciclo;
  if (res == CICLO_COMPLETADO) r.fallo = natLimpios(m);
  if (!r.comparado || !r.fallo.empty()) return r;

  if (fin == REFERENCIA_ERROR) {
    const std::string donde = "(" + std::to_string(ref.direccionError) + ") en la operación " +
                              std::to_string(ref.instruccionError) + " ";
    if (res != CICLO_ERROR || m.mensajeError.find(donde) == std::string::npos) {
      r.fallo = "se esperaba la parada " + donde + "y la máquina da " + std::to_string(res) + " «" +
                m.mensajeError + "»";
      return r;
    }
  } else if (res != CICLO_COMPLETADO) {
    r.fallo = res == CICLO_ERROR ? "la máquina se detiene: " + m.mensajeError
                                 : "la máquina no termina en " + std::to_string(cota) + " ciclos";
    return r;
  }
  r.fallo = ref.diferenciaCon(m);
  if (r.fallo.empty()) r.fallo = cicloDeMas(m, res, ref);
  return r;
}

}  // namespace diferencial
