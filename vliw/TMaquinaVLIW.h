#pragma once
// Máquina VLIW: emite una instrucción larga por ciclo cuando todas sus
// operaciones pueden entrar en sus unidades; bits NaT y registros de predicado.

#include <array>
#include <cstdint>
#include <string>

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
};

class TMaquinaVLIW : public TMaquina {
public:
  std::array<bool, NUM_REGISTROS> predicados{};
  std::array<bool, NUM_REGISTROS> natGPR{};
  std::array<bool, NUM_REGISTROS> natFPR{};
  TCodigoVLIW codigo;  // el programa, propio de la máquina durante toda su vida
  TEstadisticasVLIW estadisticas;
  int32_t emitidaCiclo = -1;  // instrucción larga emitida en el último ciclo, -1 si ninguna

  TMaquinaVLIW();

  void reset(bool limpiar) override;
  int8_t ejecutarCiclo() override;

  // Cambios del programa: vacían antes las unidades, para que ninguna etapa
  // apunte a una operación destruida.
  void borrarCodigo();
  bool cargarCodigo(const std::string& nombreFichero, const TCodigo& codigoSecuencial);
  void vaciarUnidades();

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
