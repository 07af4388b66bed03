#pragma once
// Máquina superescalar con planificación dinámica: prefetch, decodificador,
// estaciones de reserva, reorder buffer con renombrado, predicción de saltos de
// 2 bits y unidades de cálculo de direcciones.

#include <array>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "loader/TCodigo.h"
#include "machine/TCola.h"
#include "machine/TMaquina.h"
#include "superscalar/TConjuntoEtiquetas.h"
#include "superscalar/TEntradaDecoder.h"
#include "superscalar/TEntradaER.h"
#include "superscalar/TEntradaPrefetch.h"
#include "superscalar/TEntradaROB.h"

// Resultados de commit().
constexpr int8_t COMMIT_OK = 0;
constexpr int8_t COMMIT_ROB_VACIO = 1;
constexpr int8_t COMMIT_FALLO_PREDICCION = 2;
constexpr int8_t COMMIT_NO_LISTO = 3;
// La entrada más antigua es una carga o un almacenamiento con dirección fuera de
// la memoria: no se confirma y la ejecución queda detenida (CICLO_ERROR).
constexpr int8_t COMMIT_ERROR = 4;

constexpr int TAM_PREDICCION = 16;
constexpr int32_t MIN_EMISION = 2, MAX_EMISION = 16, EMISION_DEFECTO = 4;

// Textos de los estados del predictor: 0 "F(00)" … 3 "V(11)".
extern const std::array<std::string, 4> nombresPrediccion;

// Contadores de la ejecución; reset los pone a cero.
struct TEstadisticasSuper {
  int64_t instruccionesConfirmadas = 0;
  int64_t saltosConfirmados = 0;
  int64_t fallosPrediccion = 0;
  int64_t fallosCache = 0;  // cargas que fallaron en caché

  bool operator==(const TEstadisticasSuper& o) const {
    return instruccionesConfirmadas == o.instruccionesConfirmadas && saltosConfirmados == o.saltosConfirmados &&
           fallosPrediccion == o.fallosPrediccion && fallosCache == o.fallosCache;
  }
};

class TInstantaneaSuper;

class TMaquinaSuper : public TMaquina {
public:
  int32_t emision = EMISION_DEFECTO;  // anchura de emisión y de confirmación; tamaño del decodificador
  const TCodigo* codigo = nullptr;    // programa en ejecución; no se posee
  std::array<int32_t, NUM_REGISTROS> robGPR{};  // etiqueta del escritor más reciente de cada registro
  std::array<int32_t, NUM_REGISTROS> robFPR{};
  std::array<std::vector<TEntradaER>, NUM_TIPOS_UF> er;  // en orden de emisión, la más antigua primero
  TCola<TEntradaROB> rob;
  std::array<int32_t, TAM_PREDICCION> prediccion{};
  TCola<TEntradaPrefetch> prefetch;
  TCola<TEntradaDecoder> decoder;
  std::vector<TUnidadFuncional> aluDir;
  TEstadisticasSuper estadisticas;
  std::vector<int32_t> confirmadasCiclo;  // direcciones confirmadas en el último ciclo, en orden
  int64_t contadorSecuencia = 0;          // secuencia de la próxima instrucción que se busque

  TMaquinaSuper();
  ~TMaquinaSuper() override;

  void reset(bool limpiar) override;
  int8_t ejecutarCiclo() override;

  int32_t capacidadER(int tipo) const;
  int32_t capacidadROB() const;

  int8_t commit();
  void escribir();
  void ejecutar();
  int32_t emitir();
  int32_t decodificar();
  int32_t buscar();
  // Para un salto ya extraído del ROB. Si falló la predicción, vacía el cauce,
  // destruye la entrada y devuelve false; si acertó, la entrada sigue siendo del llamador.
  bool resolverSalto(TEntradaROB* entrada);
  void actualizarPrediccion(int32_t direccion, bool tomado);
  // Fija pc antes de llamarla: descarta todo lo que está en vuelo.
  void vaciarPipeline();

  // Todo el estado en una instantánea, y de vuelta. Restaurar necesita el mismo
  // programa con el que se tomó (las copias en vuelo se rehacen de él); false,
  // sin tocar nada, si la instantánea no le cuadra.
  void capturar(TInstantaneaSuper& destino) const;
  bool restaurar(const TInstantaneaSuper& origen);

private:
  template <bool CON_OBSERVADOR> int8_t avanzarCiclo();
  template <bool CON_OBSERVADOR> int8_t commit();
  template <bool CON_OBSERVADOR> void escribir();
  template <bool CON_OBSERVADOR> void ejecutar();
  template <bool CON_OBSERVADOR> int32_t emitir();
  template <bool CON_OBSERVADOR> int32_t decodificar();
  template <bool CON_OBSERVADOR> int32_t buscar();

  int32_t anchura = EMISION_DEFECTO;  // «emision» acotada en el último reset
  bool detenidaPorError = false;      // un CICLO_ERROR se repite hasta el siguiente reset
  // Etiquetas de los almacenamientos del ROB en orden de programa: la comprobación de
  // conflictos de las cargas recorre solo estos, no todo el ROB.
  std::deque<int32_t> almacenamientos;
  // Índices que evitan recorrer las estaciones enteras en cada ciclo: con la
  // configuración mayor tienen miles de entradas y casi ninguna cambia. Se
  // deducen de las estaciones y se rehacen tras un reset o una restauración.
  std::vector<int32_t> posicionER;  // por etiqueta, índice de su entrada en su estación
  std::vector<int8_t> tipoER;       // por etiqueta, tipo de esa estación
  // Por etiqueta, las entradas con algún operando que espera su resultado, en orden de emisión.
  std::vector<std::vector<int32_t>> esperanA;
  // Las que pueden empezar en una unidad de su tipo: operandos listos y sin
  // unidad (en memoria, cargas con la dirección calculada; el conflicto con
  // almacenamientos anteriores se mira al lanzarlas).
  std::array<TConjuntoEtiquetas, NUM_TIPOS_UF> listas;
  TConjuntoEtiquetas sinDireccion;          // de memoria: con la base, sin dirección y sin unidad
  TConjuntoEtiquetas almacenamientosListos;  // con dirección y valor: se escriben en este ciclo
  // Por unidad y etapa, la etiqueta de lo que la ocupa (la última fila, las ALU
  // de direcciones): la unidad guarda la instrucción, no su entrada.
  std::array<std::vector<int32_t>, NUM_TIPOS_UF + 1> etiquetasEtapa;
  std::array<int32_t, NUM_TIPOS_UF + 1> pasoEtapas{};

  void reconstruirIndices();
  void clasificar(int tipo, const TEntradaER& e);
  void quitarDeEstacion(int tipo, size_t posicion);
  int32_t& etiquetaEnEtapa(int grupo, int32_t unidad, int32_t etapa) {
    return etiquetasEtapa[static_cast<size_t>(grupo)]
                         [static_cast<size_t>(unidad * pasoEtapas[static_cast<size_t>(grupo)] + etapa)];
  }
  TEntradaER* entradaEnSalida(int tipo, int grupo, int32_t unidad, int32_t ident, const TUnidadFuncional& u);

  void leerOperando(int32_t registro, bool flotante, int32_t& q, float& v) const;
  void leerFuente(const TOperando& fuente, const int32_t* op, int32_t& q, float& v) const;
  template <bool CON_OBSERVADOR> void lanzarTipo(int tipo);
  template <bool CON_OBSERVADOR> void finalizarEnUnidad(int tipo, int32_t u);
  bool sinConflictoMemoria(int32_t tag, int32_t direccion) const;
  template <bool CON_OBSERVADOR> void difundir(int32_t tag, float resultado);
  int32_t posicionEnROB(int32_t tag) const;
  int32_t desplazamientoALUDir() const { return static_cast<int32_t>(uf[tufMemoria].size()); }
  void descartarEntradas();

  // Lo que sale del cauce se guarda para la siguiente instrucción: buscar,
  // decodificar, emitir y confirmar no piden ni devuelven memoria.
  struct TReservas {
    std::vector<std::unique_ptr<TInstruccion>> copias;
    std::vector<std::unique_ptr<TEntradaPrefetch>> prefetch;
    std::vector<std::unique_ptr<TEntradaDecoder>> decoder;
    std::vector<std::unique_ptr<TEntradaROB>> rob;
    // Por dirección del programa, copias suyas ya hechas (solo de «programa»).
    std::vector<std::vector<std::unique_ptr<TInstruccion>>> porDireccion;
    const TCodigo* programa = nullptr;
  } reservas;
  void reciclar(std::unique_ptr<TInstruccion> copia);
  void reciclar(TEntradaROB* e);
  void olvidarCopiasPorDireccion();
  template <typename T> void reciclar(TCola<T>& cola, std::vector<std::unique_ptr<T>>& reserva);

  // Solo con observador: motivos de espera. La máquina no recorre sus
  // estructuras cada ciclo para buscarlos: revisa solo lo que pudo cambiar.
  void notificarEspera(TEspera& ultima, const TInstruccion& ins, const TEspera& motivo);
  void esperasEnPrefetch();
  void esperasEnDecoder(int32_t emitidas);
  void revisarEsperas();
  void operandoRecibido(const TEntradaER& e);
  void esperasDeCargas();
  void esperasDeAlmacenamientos();
  TEspera conflictoMemoria(int32_t tag, int32_t direccion) const;
  void esperasDeConfirmacion();
  void olvidarEsperas();
  void sincronizarSeguimiento();

  using TMarca = std::pair<int32_t, int64_t>;  // etiqueta del ROB y secuencia de su instrucción
  // Lo que el observador necesita saber de cada entrada de estación, por
  // etiqueta, sin buscarla en su estación.
  struct TEstadoER {
    TEspera espera;  // último motivo notificado
    const TInstruccion* instruccion = nullptr;
    int32_t qj = -1, qk = -1;
    int8_t tipo = 0;
    bool enUnidad = false;
    bool dirCalculada = false;
  };
  struct TSeguimiento {
    std::vector<TEspera> decoder;  // último motivo notificado, por hueco
    std::vector<TEstadoER> estaciones;
    int64_t ultimaPrefetch = -1;  // las colas avisan una vez: secuencias ya avisadas
    int64_t ultimaDecoder = -1;
    // Las emitidas en el último ciclo ocupan huecos seguidos del ROB.
    int32_t emitidasDesde = 0, numEmitidas = 0;
    std::vector<int32_t> difundidas;  // etiquetas con un operando recién llegado
    // Cargas con dirección y sin unidad, con el almacenamiento que las detiene
    // (−1: esperan unidad). Solo cambian de motivo cuando ese almacenamiento
    // calcula su dirección o se confirma.
    struct TCarga {
      int32_t tag;
      int64_t secuencia;
      int32_t bloqueador = -1;
      bool revisar = true;
    };
    std::vector<TCarga> cargas;
    std::vector<int32_t> almacenamientosCambiados;
    std::vector<TMarca> almacenamientosConDireccion;  // en el último ciclo
    std::vector<TMarca> escritasAnterior, escritasCiclo;
    // Con qué observador y hasta qué ciclo se ha llevado: si se engancha a mitad
    // de una ejecución (o cambia, o se restaura una instantánea), se rehace.
    const TObservadorCiclo* observador = nullptr;
    int32_t ciclo = 0;
  } seguimiento;
};
