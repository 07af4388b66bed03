#pragma once
// Lo que pasa dentro de un ciclo, contado a quien quiera saberlo (el diagrama
// instrucción × ciclo, las estadísticas). Todos los métodos están vacíos: cada
// observador implementa solo los que le interesan. Las máquinas solo llaman
// aquí si tienen un observador enganchado, y solo entonces calculan motivos.
//
// Identidad. Cada instrucción que busca la superescalar lleva un número de
// secuencia (TInstruccion::secuencia: 0, 1, 2… en orden de búsqueda, contando
// las que después se anulan). En la VLIW cada llegada de una instrucción larga
// al punto de emisión es una instancia con su propia secuencia; sus operaciones
// se nombran por esa secuencia y su índice dentro de la instrucción larga.
//
// Dónde está cada instrucción al final de cada ciclo (su «letra»):
//  superescalar: buscada → P; decodificada → D; emitida → R; enUnidadDirecciones
//  → A; direccionCalculada → R; enUnidad → E; falloCache → M; resultadoEscrito →
//  W; confirmada → C y anulada → X (las dos, últimas). Si llegan varios sucesos
//  en un ciclo, vale el último.
//  VLIW: la instrucción larga es S en cada ciclo con largaDetenida e I en el de
//  largaEmitida; cada operación es I en su ciclo de emisión, E en los siguientes,
//  M desde operacionFalloCache y, al final, W (operacionEjecutada) o X
//  (operacionDescartada).
//
// Motivos. espera() llega en un ciclo en que la instrucción ya estaba en su
// estado al empezarlo, tuvo ocasión de salir y no pudo, y solo cuando el motivo
// cambia respecto al último notificado desde su última transición. El motivo de
// una celda es el último notificado desde la transición que la llevó a su
// estado (ninguno en el ciclo de llegada). Un fallo de caché fija él mismo el
// motivo espFalloCache de toda su M. La VLIW notifica largaDetenida en cada
// ciclo de parada, con su motivo; una instrucción larga detenida que un salto
// deja atrás no recibe más sucesos.
//
// Se puede enganchar (o cambiar) el observador entre dos ciclos cualesquiera:
// en el primer ciclo observado la superescalar avisa del motivo de todo lo que
// ya estaba esperando, aunque no haya contado antes cómo llegó allí.

#include <cstdint>

class TInstruccion;
class TOperacionVLIW;

enum TMotivoEspera : int8_t {
  espNinguno = 0,
  espROBLleno,                      // emisión: el reorder buffer no tiene sitio
  espEstacionLlena,                 // emisión: tipo = estación llena
  espEmisionEnOrden,                // emisión: una instrucción anterior no se pudo emitir
  espDecodificadorLleno,            // prefetch: la cola del decodificador está llena
  espDecodificadorVacio,            // solo en emisionDetenida: no quedaba nada que emitir
  espOperandoJ,                     // dato = etiqueta del ROB que se espera
  espOperandoK,                     // dato = etiqueta del ROB que se espera
  espSinUnidadLibre,                // tipo = tipo de unidad (TIPO_UNIDAD_DIRECCIONES: cálculo de direcciones)
  espAlmacenamientoSinDireccion,    // dato = etiqueta del almacenamiento anterior
  espAlmacenamientoMismaDireccion,  // dato = etiqueta del almacenamiento anterior
  espFalloCache,                    // dato = dirección de la palabra
  espConfirmacionEnOrden,           // resultado escrito; delante hay otra sin confirmar
  espNaT,                           // VLIW: tipo 0 registro R, 1 registro F; dato = número
  espUnidadOcupada,                 // VLIW: tipo = tipo de unidad; dato = número de unidad
};

constexpr int NUM_MOTIVOS_ESPERA = espUnidadOcupada + 1;
constexpr int8_t TIPO_UNIDAD_DIRECCIONES = 6;  // las unidades de cálculo de direcciones

struct TEspera {
  TMotivoEspera motivo = espNinguno;
  int8_t tipo = -1;
  int32_t dato = -1;

  bool operator==(const TEspera& o) const { return motivo == o.motivo && tipo == o.tipo && dato == o.dato; }
  bool operator!=(const TEspera& o) const { return !(*this == o); }
};

class TObservadorCiclo {
public:
  virtual ~TObservadorCiclo() = default;

  // Las dos máquinas.
  virtual void reiniciada() {}  // reset: empieza una ejecución desde cero
  virtual void inicioCiclo(int32_t /*ciclo*/) {}
  // Cuando ejecutarCiclo ya ha terminado su trabajo, con su resultado.
  virtual void finCiclo(int32_t /*ciclo*/, int8_t /*resultado*/) {}
  // No lo envía la máquina sino quien la lleva (la sesión, al volver atrás en el
  // tiempo): la máquina está otra vez como al final del ciclo dado, y lo que se
  // observó después de él ya no ha ocurrido. Los sucesos siguientes son los del
  // ciclo siguiente a ese.
  virtual void vueltaAtras(int32_t /*ciclo*/) {}

  // Superescalar.
  virtual void buscada(const TInstruccion& /*ins*/) {}
  virtual void decodificada(const TInstruccion& /*ins*/) {}
  virtual void emitida(const TInstruccion& /*ins*/, int32_t /*etiqueta*/) {}
  virtual void enUnidadDirecciones(const TInstruccion& /*ins*/, int32_t /*unidad*/) {}
  virtual void direccionCalculada(const TInstruccion& /*ins*/, int32_t /*direccion*/) {}
  virtual void enUnidad(const TInstruccion& /*ins*/, int32_t /*tipo*/, int32_t /*unidad*/) {}
  virtual void falloCache(const TInstruccion& /*ins*/, int32_t /*direccion*/) {}
  virtual void resultadoEscrito(const TInstruccion& /*ins*/, int32_t /*etiqueta*/) {}
  virtual void confirmada(const TInstruccion& /*ins*/, int32_t /*etiqueta*/) {}
  virtual void anulada(const TInstruccion& /*ins*/) {}
  virtual void espera(const TInstruccion& /*ins*/, const TEspera& /*motivo*/) {}
  // Una vez por ciclo: por qué paró la emisión (ROB lleno, estación llena o
  // decodificador vacío) y cuántas se emitieron antes.
  virtual void emisionDetenida(const TEspera& /*motivo*/, int32_t /*emitidas*/) {}

  // VLIW. «larga» es el índice de la instrucción larga en el programa.
  virtual void largaEnEmision(int64_t /*secuencia*/, int32_t /*larga*/) {}
  virtual void largaDetenida(int64_t /*secuencia*/, int32_t /*larga*/, const TEspera& /*motivo*/) {}
  virtual void largaEmitida(int64_t /*secuencia*/, int32_t /*larga*/) {}
  virtual void operacionEmitida(int64_t /*secuenciaLarga*/, int32_t /*indice*/, const TOperacionVLIW& /*op*/) {}
  virtual void operacionFalloCache(int64_t /*secuenciaLarga*/, int32_t /*indice*/, const TOperacionVLIW& /*op*/,
                                   int32_t /*direccion*/) {}
  virtual void operacionEjecutada(int64_t /*secuenciaLarga*/, int32_t /*indice*/, const TOperacionVLIW& /*op*/) {}
  virtual void operacionDescartada(int64_t /*secuenciaLarga*/, int32_t /*indice*/, const TOperacionVLIW& /*op*/) {}
};
