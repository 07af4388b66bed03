#pragma once
// El diagrama instrucción × ciclo de una máquina, guardado mientras ejecuta: una
// fila por instrucción dinámica (en la VLIW, por instrucción larga que llega al
// punto de emisión, con una fila por cada operación que emite) y, en cada fila,
// su letra de cada ciclo y el motivo de cada espera. Se engancha a la máquina
// como observador y registra siempre, aunque nadie lo mire.
//
// Las letras se guardan por tramos: un tramo empieza donde cambia la letra o el
// motivo y dura hasta el siguiente. Las filas vivas (aún en la máquina) llevan
// sus tramos en un hueco propio que se reutiliza; al terminar, se copian
// seguidos a un archivo por bloques. Nada se asigna por suceso: los huecos y
// los bloques se reciclan, y las filas van en anillos.
//
// La memoria queda acotada: se guardan al menos las últimas maxFilas filas; las
// más antiguas se descartan (y se cuentan) por bloques, nunca una viva.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "machine/TObservadorCiclo.h"
#include "observation/TAnillo.h"

// Letras del diagrama (lo que se imprime, exactamente).
constexpr char LETRA_PREFETCH = 'P';
constexpr char LETRA_DECODIFICADOR = 'D';
constexpr char LETRA_ESTACION = 'R';
constexpr char LETRA_DIRECCION = 'A';
constexpr char LETRA_EJECUCION = 'E';
constexpr char LETRA_FALLO = 'M';
constexpr char LETRA_ESCRITA = 'W';
constexpr char LETRA_CONFIRMADA = 'C';
constexpr char LETRA_ANULADA = 'X';
constexpr char LETRA_DETENIDA = 'S';
constexpr char LETRA_EMITIDA = 'I';

// Un tramo de letras iguales con el mismo motivo, desde «ciclo».
struct TTramoDiagrama {
  int32_t ciclo = 0;
  char letra = ' ';
  TMotivoEspera motivo = espNinguno;
  int8_t tipo = -1;
  int32_t dato = -1;
  // Cuántas filas antes está la instrucción que se espera (un operando o un
  // almacenamiento anterior); 0 si no se sabe o no viene al caso.
  int32_t distancia = 0;

  TEspera espera() const { return TEspera{motivo, tipo, dato}; }
};

// Lo que se pinta: un tramo recortado a un intervalo de ciclos.
struct TTramoVisible {
  int32_t desde = 0;
  int32_t hasta = 0;  // incluido
  char letra = ' ';
  TEspera espera;
  int32_t distancia = 0;
};

enum TClaseFila : int8_t {
  filaSuper = 0,      // una instrucción de la superescalar
  filaLarga = 1,      // una llegada de una instrucción larga al punto de emisión
  filaOperacion = 2,  // una operación emitida con su instrucción larga
};

struct TFilaDiagrama {
  int64_t tramos = -1;  // viva: su hueco; terminada: posición de su primer tramo en el archivo
  int32_t numTramos = 0;  // solo en las terminadas
  // Superescalar: dirección de la instrucción; larga: su índice en el programa
  // VLIW; operación: dirección de su instrucción en el programa secuencial.
  int32_t pc = 0;
  int32_t primero = 0;  // ciclo de su primera letra
  int32_t ultimo = -1;  // ciclo de su última letra; -1 mientras sigue en la máquina
  TClaseFila clase = filaSuper;
  bool viva = true;
  // Operación: tipo y número de su unidad y su posición en la instrucción larga.
  int8_t tipoUF = -1;
  int8_t unidad = -1;
  int16_t indice = -1;
  // Superescalar: etiqueta del ROB mientras está emitida (−1 si no).
  int32_t etiqueta = -1;
  // Larga: sus operaciones (posición absoluta de la primera y cuántas) y la
  // posición absoluta de su fila en la vista (las largas anteriores y sus operaciones).
  int32_t numOps = 0;
  int64_t primeraOp = 0;
  int64_t vista = 0;
};

class TRegistradorDiagrama : public TObservadorCiclo {
public:
  static constexpr int64_t FILAS_POR_DEFECTO = 100000;

  // vliw: la máquina que observará.
  explicit TRegistradorDiagrama(bool vliw = false, int64_t maxFilas = FILAS_POR_DEFECTO);
  ~TRegistradorDiagrama() override;
  TRegistradorDiagrama(const TRegistradorDiagrama&) = delete;
  TRegistradorDiagrama& operator=(const TRegistradorDiagrama&) = delete;

  bool esVLIW() const { return vliw; }
  int64_t maxFilas() const { return limiteFilas; }
  // Al menos 1; se aplica a partir del siguiente ciclo.
  void setMaxFilas(int64_t n);

  // ---- Lectura ----
  // Filas (superescalar) o instrucciones largas (VLIW) guardadas, en orden de
  // secuencia: la i-ésima es la de secuencia primeraSecuencia() + i.
  int64_t numFilas() const { return static_cast<int64_t>(filas.size()); }
  int64_t primeraSecuencia() const { return base; }
  const TFilaDiagrama& fila(int64_t i) const { return filas[static_cast<size_t>(i)]; }
  // Operaciones de la fila de una instrucción larga, en orden de emisión.
  const TFilaDiagrama& operacion(const TFilaDiagrama& larga, int32_t k) const {
    return ops[static_cast<size_t>(larga.primeraOp - baseOps + k)];
  }
  // Filas descartadas por antiguas desde el último reset.
  int64_t filasDescartadas() const { return descartadas; }
  // Cuántas veces ha empezado de cero (un reset): una secuencia solo nombra la
  // misma fila dentro de la misma ejecución.
  int64_t ejecucion() const { return reinicios; }
  // Último ciclo observado (0 antes del primero).
  int32_t ultimoCiclo() const { return cicloFinal; }
  // Ciclo de la primera letra de la fila más antigua guardada (0 sin filas).
  int32_t primerCiclo() const { return filas.empty() ? 0 : filas.front().primero; }
  // Ciclo de la última letra de una fila: la suya o, viva, el último observado.
  int32_t finDe(const TFilaDiagrama& f) const { return f.viva ? cicloFinal : f.ultimo; }

  // Las letras de la fila entre dos ciclos (incluidos), tramo a tramo en orden.
  // En una operación, su I dura un ciclo y lo que sigue hasta el siguiente
  // suceso es E.
  std::vector<TTramoVisible> tramos(const TFilaDiagrama& f, int32_t desde, int32_t hasta) const;
  template <typename F>
  void recorrer(const TFilaDiagrama& f, int32_t desde, int32_t hasta, F&& visitar) const;
  // La letra de un ciclo (' ' fuera de la fila) y su tramo.
  char letra(const TFilaDiagrama& f, int32_t ciclo, TTramoVisible* tramo = nullptr) const;
  // Todas las letras de la fila, de su primer ciclo al último.
  std::string letras(const TFilaDiagrama& f) const;

  // Texto de la instrucción de una dirección del programa secuencial (vacío si
  // no se ha visto ninguna).
  const std::string& texto(int32_t direccion) const;
  // El de una fila: el de su instrucción o, en una larga, el de sus operaciones.
  std::string textoDe(const TFilaDiagrama& f) const;

  // La vista: en la VLIW, cada larga seguida de sus operaciones; en la
  // superescalar, las filas tal cual. Las posiciones cuentan desde la más antigua guardada.
  int64_t numFilasVista() const;
  // Posición absoluta de la primera fila de la vista: crece al descartar las
  // más antiguas, así que una vista sabe cuántas le han quitado por delante.
  int64_t inicioVista() const { return vliw ? baseVista : base; }
  // Qué hay en una posición de la vista: la fila y, si es una operación, cuál (−1 si es la larga).
  struct TPosicion {
    int64_t fila = -1;
    int32_t op = -1;
  };
  TPosicion enVista(int64_t posicion) const;
  int64_t posicionEnVista(int64_t fila) const;
  const TFilaDiagrama& deVista(const TPosicion& p) const {
    return p.op < 0 ? fila(p.fila) : operacion(fila(p.fila), p.op);
  }

  // ---- Observador ----
  void reiniciada() override;
  void inicioCiclo(int32_t ciclo) override;
  void finCiclo(int32_t ciclo, int8_t resultado) override;
  void vueltaAtras(int32_t ciclo) override;

  void buscada(const TInstruccion& ins) override;
  void decodificada(const TInstruccion& ins) override;
  void emitida(const TInstruccion& ins, int32_t etiqueta) override;
  void enUnidadDirecciones(const TInstruccion& ins, int32_t unidad) override;
  void direccionCalculada(const TInstruccion& ins, int32_t direccion) override;
  void enUnidad(const TInstruccion& ins, int32_t tipo, int32_t unidad) override;
  void falloCache(const TInstruccion& ins, int32_t direccion) override;
  void resultadoEscrito(const TInstruccion& ins, int32_t etiqueta) override;
  void confirmada(const TInstruccion& ins, int32_t etiqueta) override;
  void anulada(const TInstruccion& ins) override;
  void espera(const TInstruccion& ins, const TEspera& motivo) override;

  void largaEnEmision(int64_t secuencia, int32_t larga) override;
  void largaDetenida(int64_t secuencia, int32_t larga, const TEspera& motivo) override;
  void largaEmitida(int64_t secuencia, int32_t larga) override;
  void operacionEmitida(int64_t secuenciaLarga, int32_t indice, const TOperacionVLIW& op) override;
  void operacionFalloCache(int64_t secuenciaLarga, int32_t indice, const TOperacionVLIW& op,
                           int32_t direccion) override;
  void operacionEjecutada(int64_t secuenciaLarga, int32_t indice, const TOperacionVLIW& op) override;
  void operacionDescartada(int64_t secuenciaLarga, int32_t indice, const TOperacionVLIW& op) override;

  // Bytes que ocupa lo guardado, aproximadamente.
  size_t memoria() const;

private:
  static constexpr int32_t TRAMOS_POR_BLOQUE = 1 << 16;
  struct TBloque {
    std::unique_ptr<TTramoDiagrama[]> tramos;
    int64_t capacidad = 0;
    int64_t usados = 0;
    int64_t ultimaSecuencia = -1;  // la mayor secuencia (de fila o de larga) con tramos aquí
  };

  const bool vliw;
  int64_t limiteFilas;
  int32_t ciclo = 0;       // el que se está observando
  int32_t cicloFinal = 0;  // el último terminado
  int64_t base = 0;        // secuencia de filas.front()
  int64_t descartadas = 0;
  int64_t reinicios = 0;
  TAnillo<TFilaDiagrama> filas;
  TAnillo<TFilaDiagrama> ops;
  int64_t baseOps = 0;     // posición absoluta de ops.front()
  int64_t baseVista = 0;   // posición absoluta en la vista de filas.front()
  int64_t siguienteVista = 0;
  int64_t largaEnPunto = -1;  // fila de la instrucción larga en el punto de emisión, −1 si ninguna

  // Huecos de las filas vivas: se reutilizan con su capacidad.
  std::vector<std::vector<TTramoDiagrama>> huecos;
  std::vector<int32_t> huecosLibres;
  // Archivo de las filas terminadas.
  std::deque<TBloque> bloques;
  int64_t primerBloque = 0;  // número de bloques.front()
  std::vector<TBloque> bloquesLibres;

  // Secuencia de la instrucción en cada etiqueta del ROB, para la distancia de una espera.
  std::vector<int64_t> secuenciaDeEtiqueta;
  std::vector<std::string> textos;
  std::vector<uint8_t> textoAlDia;  // ya comprobado en esta ejecución

  TFilaDiagrama* filaDe(int64_t secuencia);
  TFilaDiagrama* operacionDe(int64_t secuenciaLarga, int32_t indice);
  int32_t nuevoHueco();
  std::vector<TTramoDiagrama>& huecoDe(const TFilaDiagrama& f) { return huecos[static_cast<size_t>(f.tramos)]; }
  const TTramoDiagrama* tramosDe(const TFilaDiagrama& f, int32_t& n) const;

  void pasarA(TFilaDiagrama& f, char letra, const TEspera& motivo = TEspera{}, int32_t distancia = 0);
  void anotarEspera(TFilaDiagrama& f, const TEspera& motivo, int32_t distancia);
  void terminar(TFilaDiagrama& f, int64_t secuencia);
  // Una fila terminada que vuelve a estar viva, con sus tramos hasta «hasta».
  void reabrir(TFilaDiagrama& f, int32_t hasta);
  void recortar(TFilaDiagrama& f, int32_t hasta);
  void cerrarLarga();
  // Prepara la fila de la secuencia s al final; false si no se puede guardar.
  bool admitir(int64_t s);
  void quitarFilasDesde(int64_t i);
  bool ocupada(const TFilaDiagrama& f) const;
  void recordarTexto(const TInstruccion& ins);
  void descartarAntiguas();
  void vaciar();
};

template <typename F>
void TRegistradorDiagrama::recorrer(const TFilaDiagrama& f, int32_t desde, int32_t hasta, F&& visitar) const {
  const int32_t fin = std::min(hasta, finDe(f));
  if (fin < desde || fin < f.primero) return;
  int32_t n = 0;
  const TTramoDiagrama* t = tramosDe(f, n);
  for (int32_t i = 0; i < n; ++i) {
    const int32_t a = t[i].ciclo;
    if (a > fin) break;
    const int32_t b = i + 1 < n ? std::min(t[i + 1].ciclo - 1, fin) : fin;
    if (b < desde) continue;
    TTramoVisible v{a, b, t[i].letra, t[i].espera(), t[i].distancia};
    if (f.clase == filaOperacion && t[i].letra == LETRA_EMITIDA && b > a) {
      // La I de una operación es su ciclo de emisión; después está en su unidad.
      v.hasta = a;
      if (a >= desde) visitar(v);
      v = TTramoVisible{a + 1, b, LETRA_EJECUCION, TEspera{}, 0};
    }
    v.desde = std::max(v.desde, desde);
    if (v.desde <= v.hasta) visitar(v);
  }
}
