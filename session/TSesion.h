#pragma once
// Una ejecución de una máquina, sin Qt: su estado, la semilla de sus fallos de
// caché, las ediciones del usuario con el ciclo en que se hicieron y el estado
// de partida. Dar un paso, ejecutar varios ciclos y tratar cada código de
// resultado se hace aquí; la interfaz y orvex-run se apoyan en ella. Con el
// estado de partida, la semilla y las ediciones se repite una ejecución ciclo a
// ciclo. Cada máquina tiene su sesión derivada (TSesionSuper, TSesionVLIW).
//
// Navegación en el tiempo: cada K ciclos (K empieza en intervaloInicial) se
// guarda un punto de control, una instantánea de la máquina tal como quedó al
// terminar ese ciclo, antes de las ediciones hechas en él. Ir a un ciclo
// anterior restaura el punto más cercano por debajo y repite desde él con las
// ediciones registradas; así volver cuesta como mucho K ciclos. Si los puntos
// pasan de limiteMemoria, K se dobla y se quedan solo los múltiplos del nuevo K.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "machine/TInstantaneaMaquina.h"
#include "machine/TMaquina.h"
#include "session/TEdicion.h"

enum TEstadoEjecucion : int8_t {
  estPreparada = 0,     // sin ejecución (o parada por el usuario)
  estEnMarcha = 1,      // ejecución continua
  estPausada = 2,       // ejecución a medias, ciclo a ciclo o pausada
  estEnBreakpoint = 3,  // detenida en un breakpoint
  estTerminada = 4,     // el programa terminó
  estError = 5,         // la máquina se detuvo por un error (mensajeError)
};

// Resultados de iniciar; paso() los devuelve también, así que no coinciden con
// ningún código de ciclo.
constexpr int8_t SESION_OK = 0;
constexpr int8_t SESION_SIN_PROGRAMA = -10;   // no hay programa que ejecutar
constexpr int8_t SESION_CONFIGURACION = -11;  // la configuración no permite ejecutar el programa

class TSesion {
public:
  explicit TSesion(TMaquina& m) : maquina(m) {}
  virtual ~TSesion() = default;
  TSesion(const TSesion&) = delete;
  TSesion& operator=(const TSesion&) = delete;

  TMaquina& maquina;
  // «Resetear máquina al iniciar»: lo que usa paso() cuando empieza una ejecución.
  bool limpiarAlIniciar = true;

  TEstadoEjecucion estado() const { return estadoActual; }
  bool enCurso() const {
    return estadoActual == estEnMarcha || estadoActual == estPausada || estadoActual == estEnBreakpoint;
  }
  uint32_t semilla() const { return semillaActual; }
  const std::vector<TEdicion>& ediciones() const { return historial; }
  bool hayEstadoInicial() const { return conEstadoInicial; }

  // reset(limpiar), la semilla dada o una nueva, la memoria sembrada con ella,
  // la ejecución en marcha y el estado de partida guardado. SESION_OK o el
  // motivo por el que no se puede empezar (entonces nada cambia).
  int8_t iniciar(bool limpiar, std::optional<uint32_t> semilla = std::nullopt);
  // Un ciclo. Sin ejecución en curso la empieza antes (con limpiarAlIniciar), y
  // la deja pausada; en un breakpoint, sigue en él (salvo que termine). Devuelve el código del ciclo (o el
  // de iniciar, si no se pudo empezar) y deja el estado según él.
  int8_t paso(bool respetarBreakpoints = true);
  // Hasta n ciclos; para al terminar, en un error o, si se respetan, en un breakpoint.
  int8_t ejecutar(int64_t ciclos, bool respetarBreakpoints = true);
  void pausar();
  void reanudar();  // desde pausada o en breakpoint: en marcha
  void parar();

  // Ediciones: se aplican ya y, con una ejecución en curso, se registran con su
  // ciclo. false (sin cambiar nada) si el índice o el valor no valen.
  bool editarRegistroEntero(int32_t registro, int32_t valor);
  bool editarRegistroFlotante(int32_t registro, float valor);
  bool editarMemoria(int32_t direccion, float valor);
  bool editarPorcentajeFallos(int32_t porcentaje);
  bool editarBreakpoint(int32_t instruccion, bool activo);

  // Vuelve al estado de partida y ejecuta de nuevo, con las mismas ediciones en
  // los mismos ciclos, hasta el ciclo dado (o hasta que la ejecución acabe).
  // Los breakpoints no paran la repetición. false si no hay nada que repetir.
  bool repetir(int32_t hastaCiclo);

  // ---- Navegación en el tiempo ----
  // Hay una ejecución por la que moverse: en curso, terminada o detenida por un
  // error (no tras parar).
  bool puedeNavegar() const;
  // El ciclo más lejano de esta rama de la historia: una edición hecha tras
  // volver atrás lo trae al ciclo en que se hizo.
  int32_t cicloMasLejano() const { return lejano; }
  // Deja la máquina exactamente como tras el ciclo c (con las ediciones hechas
  // en él). Hacia atrás restaura un punto de control y repite sin observador;
  // al llegar le envía vueltaAtras(c) y lo vuelve a enganchar. Hacia delante
  // ejecuta con el observador enganchado (sin observador, salta al punto de
  // control más cercano si lo hay). Los breakpoints no paran. Devuelve el
  // ciclo alcanzado (el final si la ejecución acaba antes) o -1 si no se puede.
  int32_t irACiclo(int32_t c);
  // irACiclo(ciclo - 1); false en el ciclo 0 o sin ejecución.
  bool retroceder();

  static constexpr int32_t INTERVALO_PUNTOS = 1024;
  static constexpr size_t LIMITE_MEMORIA_PUNTOS = size_t{128} << 20;
  // Se leen al iniciar.
  int32_t intervaloInicial = INTERVALO_PUNTOS;
  size_t limiteMemoria = LIMITE_MEMORIA_PUNTOS;
  int32_t intervaloPuntos() const { return intervalo; }
  size_t numPuntos() const { return puntos.size(); }
  size_t memoriaPuntos() const { return bytesPuntos; }

protected:
  // Lo propio de cada máquina: aplicar una edición (false si no vale), y
  // guardar y restaurar el estado de partida (máquina y breakpoints del programa).
  virtual bool aplicar(const TEdicion& e);
  virtual void guardarInicial() = 0;
  virtual bool restaurarInicial() = 0;
  virtual int8_t puedeIniciar() const { return SESION_OK; }
  // Los puntos de control: una instantánea de la máquina (con shared_ptr, que
  // destruye el tipo derivado), restaurarla y lo que ocupa. Los breakpoints
  // del programa vuelven a los de partida con restaurarBreakpoints.
  virtual std::shared_ptr<TInstantaneaMaquina> fotografiar() const = 0;
  virtual bool revelar(const TInstantaneaMaquina& foto) = 0;
  virtual size_t tamanoFoto(const TInstantaneaMaquina& foto) const = 0;
  virtual void restaurarBreakpoints() = 0;

  bool editar(TEdicion e);
  // Desde el ciclo en que está la máquina hasta «hasta», aplicando tras cada
  // ciclo las ediciones registradas en él (como todo ciclo), sin parar en
  // breakpoints.
  int8_t avanzarRepitiendo(int32_t hasta);

private:
  struct TPunto {
    int32_t ciclo = 0;
    size_t bytes = 0;
    std::shared_ptr<const TInstantaneaMaquina> foto;
  };

  int8_t ciclo(bool respetarBreakpoints);
  static uint32_t semillaNueva();
  void tomarPunto();
  void olvidarFuturo();
  void aplicarEdicionesDe(int32_t c);
  // El último punto de control no posterior a c (nullptr si no hay).
  const TPunto* puntoHasta(int32_t c) const;
  // Restaura ese punto con los breakpoints y las ediciones de su ciclo.
  bool volverAPunto(int32_t c);

  TEstadoEjecucion estadoActual = estPreparada;
  uint32_t semillaActual = 0;
  std::vector<TEdicion> historial;
  bool conEstadoInicial = false;
  std::vector<TPunto> puntos;  // en orden de ciclo; el primero, el ciclo 0
  size_t bytesPuntos = 0;
  int32_t intervalo = INTERVALO_PUNTOS;
  int32_t lejano = 0;
  // Cómo acabó la ejecución en el ciclo más lejano, si acabó: volver a él lo repone.
  TEstadoEjecucion estadoFinal = estPreparada;
};
