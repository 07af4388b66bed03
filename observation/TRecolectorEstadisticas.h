#pragma once
// Las estadísticas de una ejecución, ciclo a ciclo: se engancha a la máquina
// desde el principio y registra siempre, aunque nadie las mire, para que una
// ventana abierta a mitad de una ejecución enseñe la historia entera. Guarda
// una muestra por ciclo (con ella se dibujan las curvas y se olvida lo
// posterior a un ciclo al volver atrás) y las operaciones VLIW descartadas
// por su predicado, que sirven de pista al comprobar el resultado.
//
// Los contadores que ya lleva la máquina se leen de ella al final de cada
// ciclo (la diferencia con el ciclo anterior); las ocupaciones se miran en sus
// estructuras; las causas de parada llegan con los sucesos.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "machine/TObservadorCiclo.h"
#include "machine/TTipos.h"
#include "observation/TResumenEstadisticas.h"

class TMaquina;
class TMaquinaSuper;
class TMaquinaVLIW;

// Lo que pasó en un ciclo. En la superescalar «completadas» son las
// instrucciones confirmadas, «ocupacion» las entradas del reorder buffer y
// «perdidas» las anuladas; en la VLIW, las operaciones ejecutadas, las etapas
// ocupadas de las unidades y las operaciones descartadas.
struct TMuestraCiclo {
  int32_t ciclo = 0;
  uint16_t completadas = 0;
  uint16_t emitidas = 0;  // instrucciones (superescalar) u operaciones (VLIW) emitidas
  uint16_t ocupacion = 0;
  uint16_t perdidas = 0;
  uint16_t fallosCache = 0;
  std::array<uint16_t, NUM_TIPOS_UF> estaciones{};  // solo superescalar
  std::array<uint8_t, NUM_TIPOS_UF> unidadesOcupadas{};
  uint8_t saltos = 0;            // confirmados (superescalar) o tomados (VLIW)
  uint8_t fallosPrediccion = 0;  // solo superescalar
  bool largaEmitida = false;     // solo VLIW
  TEspera parada;                // por qué se detuvo la emisión; espNinguno si no se detuvo
};

// Una operación que la VLIW dejó sin efecto porque su predicado era falso al salir de su unidad.
struct TOperacionDescartada {
  int32_t ciclo = 0;
  int32_t larga = -1;      // instrucción larga que la emitió
  int32_t direccion = 0;   // su posición en el programa secuencial
  int32_t codOp = 0;
  std::string texto;
  std::string destino;     // registro que no escribió ("F4"), o "" si no escribe registro
};

// Un punto de una curva a lo largo de los ciclos.
struct TPuntoCurva {
  int32_t ciclo = 0;
  double valor = 0.0;
};

class TRecolectorEstadisticas : public TObservadorCiclo {
public:
  // La máquina debe vivir más que el recolector; solo se lee.
  explicit TRecolectorEstadisticas(const TMaquinaSuper& maquina);
  explicit TRecolectorEstadisticas(const TMaquinaVLIW& maquina);

  bool superescalar() const { return super != nullptr; }
  const std::vector<TMuestraCiclo>& muestras() const { return historia; }
  const std::vector<TOperacionDescartada>& descartadas() const { return operacionesDescartadas; }
  // Cambia con cada ciclo registrado, cada reinicio y cada vuelta atrás.
  uint64_t version() const { return cambios; }

  // Todo lo registrado, sumado hasta el último ciclo.
  TResumenEstadisticas resumen() const;
  // Curvas para los gráficos, con «maxPuntos» como mucho (uno de cada tantos
  // ciclos: una ejecución larga no llena el gráfico de puntos). El IPC de cada
  // ciclo es el de los «ventana» ciclos que acaban en él (menos al principio).
  std::vector<TPuntoCurva> curvaIPC(int32_t ventana, size_t maxPuntos) const;
  // Entradas del reorder buffer (superescalar) o etapas de unidad ocupadas (VLIW).
  std::vector<TPuntoCurva> curvaOcupacion(size_t maxPuntos) const;
  // Nombre de una causa de parada, como lo enseñan la ventana y los informes.
  static std::string nombreParada(const TEspera& motivo);

  void reiniciada() override;
  void inicioCiclo(int32_t ciclo) override;
  void finCiclo(int32_t ciclo, int8_t resultado) override;
  void vueltaAtras(int32_t ciclo) override;

  void anulada(const TInstruccion& ins) override;
  void emisionDetenida(const TEspera& motivo, int32_t emitidas) override;

  void largaDetenida(int64_t secuencia, int32_t larga, const TEspera& motivo) override;
  void largaEmitida(int64_t secuencia, int32_t larga) override;
  void operacionEmitida(int64_t secuenciaLarga, int32_t indice, const TOperacionVLIW& op) override;
  void operacionDescartada(int64_t secuenciaLarga, int32_t indice, const TOperacionVLIW& op) override;

private:
  // Lo que la máquina lleva contado, para sacar la diferencia de cada ciclo.
  struct TContadores {
    int64_t completadas = 0, fallosCache = 0, saltos = 0, fallosPrediccion = 0;
  };
  TContadores contadoresMaquina() const;
  void recontarBase();

  const TMaquina& maquina;
  const TMaquinaSuper* super = nullptr;
  const TMaquinaVLIW* vliw = nullptr;
  std::vector<TMuestraCiclo> historia;
  std::vector<TOperacionDescartada> operacionesDescartadas;
  std::vector<int32_t> largaDeSecuencia;  // instrucción larga de cada instancia emitida
  TMuestraCiclo actual;                   // la del ciclo en curso, hasta finCiclo
  TContadores base;
  uint64_t cambios = 0;
};
