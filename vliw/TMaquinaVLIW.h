#pragma once
// Máquina VLIW: emite una instrucción larga por ciclo cuando todas sus
// operaciones pueden entrar en sus unidades; bits NaT y registros de predicado.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "loader/TCodigo.h"
#include "machine/TMaquina.h"
#include "vliw/TCodigoVLIW.h"

// Resultados de las comprobaciones del código.
constexpr int32_t CHEQUEO_OK = 0;
constexpr int32_t CHEQUEO_PREDICADO = -1;
constexpr int32_t CHEQUEO_SALTO_NO_RESUELTO = -2;
constexpr int32_t CHEQUEO_CONFIGURACION = -3;
constexpr int32_t CHEQUEO_DEPENDENCIA = -4;

struct TEstadisticasVLIW {
  int64_t instruccionesEmitidas = 0;    // instrucciones largas emitidas
  int64_t operacionesEjecutadas = 0;
  int64_t operacionesDescartadas = 0;   // por predicado falso
  int64_t ciclosParada = 0;             // ciclos en que la emisión se detuvo
  int64_t fallosCache = 0;
  int64_t saltosTomados = 0;

  bool operator==(const TEstadisticasVLIW& o) const {
    return instruccionesEmitidas == o.instruccionesEmitidas && operacionesEjecutadas == o.operacionesEjecutadas &&
           operacionesDescartadas == o.operacionesDescartadas && ciclosParada == o.ciclosParada &&
           fallosCache == o.fallosCache && saltosTomados == o.saltosTomados;
  }
};

class TInstantaneaVLIW;

// De qué instancia viene la operación de una etapa: las etapas apuntan a
// operaciones del programa, y en un bucle la misma puede estar dos veces en vuelo.
struct TOrigenEtapa {
  int64_t secuencia = -1;  // instancia de la instrucción larga que la emitió
  int32_t larga = -1;      // índice de esa instrucción larga en el programa
  int32_t indice = -1;     // posición de la operación dentro de ella

  bool operator==(const TOrigenEtapa& o) const {
    return secuencia == o.secuencia && larga == o.larga && indice == o.indice;
  }
};

class TMaquinaVLIW : public TMaquina {
public:
  std::array<bool, NUM_REGISTROS> predicados{};
  std::array<bool, NUM_REGISTROS> natGPR{};
  std::array<bool, NUM_REGISTROS> natFPR{};
  TCodigoVLIW codigo;  // el programa, propio de la máquina durante toda su vida
  TEstadisticasVLIW estadisticas;
  int32_t emitidaCiclo = -1;  // instrucción larga emitida en el último ciclo, -1 si ninguna
  // Instancias de instrucciones largas en el punto de emisión: la que está allí
  // detenida (−1 si ninguna: la anterior se emitió o un salto cambió pc) y la
  // secuencia de la próxima.
  int64_t secuenciaEnEmision = -1;
  int64_t contadorSecuencia = 0;
  // Por tipo, el origen de cada etapa de cada unidad: [unidad × latencia + etapa].
  std::array<std::vector<TOrigenEtapa>, NUM_TIPOS_UF> origenEtapas;

  TOrigenEtapa& origenEtapa(int tipo, int32_t unidad, int32_t etapa) {
    const auto& u = uf[static_cast<size_t>(tipo)][static_cast<size_t>(unidad)];
    return origenEtapas[static_cast<size_t>(tipo)][static_cast<size_t>(unidad * u.latencia + etapa)];
  }
  const TOrigenEtapa& origenEtapa(int tipo, int32_t unidad, int32_t etapa) const {
    const auto& u = uf[static_cast<size_t>(tipo)][static_cast<size_t>(unidad)];
    return origenEtapas[static_cast<size_t>(tipo)][static_cast<size_t>(unidad * u.latencia + etapa)];
  }

  TMaquinaVLIW();

  void reset(bool limpiar) override;
  int8_t ejecutarCiclo() override;

  // Cambios del programa: vacían antes las unidades, para que ninguna etapa
  // apunte a una operación destruida.
  void borrarCodigo();
  bool cargarCodigo(const std::string& nombreFichero, const TCodigo& codigoSecuencial);
  void vaciarUnidades();

  // Todo el estado en una instantánea, y de vuelta. Restaurar necesita el mismo
  // programa con el que se tomó (las etapas apuntan a sus operaciones); false,
  // sin tocar nada, si la instantánea no le cuadra.
  void capturar(TInstantaneaVLIW& destino) const;
  bool restaurar(const TInstantaneaVLIW& origen);

  int32_t comprobarConfiguracion() const;
  // Dónde se sale de la configuración el programa, para el mensaje: "línea 4:
  // unidad Mem 3 fuera de la configuración" (o "instrucción larga 2: …" si no
  // viene de un fichero); vacío si cabe.
  std::string detalleConfiguracion() const;
  int32_t comprobarCodigo(int32_t& instruccionLarga, int32_t& operacion) const;
  int32_t comprobarDependencias(int32_t& instruccionLarga, int32_t& operacion) const;
  int32_t comprobarPredicados(int32_t& instruccionLarga, int32_t& operacion) const;

  // Texto que se muestra al usuario para un resultado de comprobación (vacío para 0).
  static std::string mensajeChequeo(int32_t resultado, int32_t instruccionLarga, int32_t operacion);

  // Textos comunes a la interfaz y a la ejecución sin ventanas.
  static constexpr const char* MENSAJE_ERROR_CARGA = "Error al cargar el código VLIW";
  static constexpr const char* MENSAJE_CONFIGURACION =
      "La configuración actual de la máquina no permite ejecutar ese código";
  static constexpr const char* MENSAJE_CODIGO_VACIO = "Debe completar el código VLIW antes de ejecutar";

private:
  template <bool CON_OBSERVADOR> int8_t avanzarCiclo();
  void notificarSalida(int tipo, int32_t numero, const TUnidadFuncional& u, bool ejecutada, int64_t fallosAntes);
  TEspera motivoDeParada(const TOperacionVLIW& op) const;

  // Motivos por los que una operación no puede emitirse (programas hechos a mano).
  enum TDefecto : int8_t { defNinguno, defConfiguracion, defUnidadRepetida, defOperacionInvalida };

  TDefecto defectoDe(const TOperacionVLIW& op) const;
  bool operandoNaT(const TOperacionVLIW& op) const;
  uint32_t resolverSalto(const TOperacionVLIW& op);
  bool ejecutarOperacion(const TOperacionVLIW& op, TUnidadFuncional& unidad);
  void descartarOperacion(const TOperacionVLIW& op, const TUnidadFuncional& unidad);
  bool otraCargaEnVuelo(const TOperacionVLIW& carga, const TUnidadFuncional& unidad) const;
  int32_t indiceDe(const TOperacionVLIW& op) const;
  int8_t detener(const std::string& mensaje);
  int32_t limiteUnidades(int tipo) const;
};
