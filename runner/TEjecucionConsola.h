#pragma once
// Una ejecución de orvex-run: carga, configura, ejecuta con la sesión de su
// máquina y escribe la traza y el informe final (reports/).

#include <memory>
#include <ostream>

#include "reports/TInformeEjecucion.h"
#include "runner/TOpcionesConsola.h"

class TCodigo;
class TMaquina;
class TMultiplexorObservadores;
class TObservadorCiclo;
class TMaquinaVLIW;
class TSesion;
class TRegistradorDiagrama;

// Estados de salida del programa.
constexpr int SALIDA_COMPLETADO = 0;
constexpr int SALIDA_CARGA = 1;
constexpr int SALIDA_USO = 2;
constexpr int SALIDA_MAX_CICLOS = 3;
constexpr int SALIDA_ERROR = 4;
constexpr int SALIDA_DIFERENTE = 5;  // --verify: el resultado no es el del código secuencial

class TEjecucionConsola {
public:
  TEjecucionConsola(const TOpcionesConsola& o, std::ostream& s, std::ostream& e);
  ~TEjecucionConsola();

  // Devuelve el estado de salida.
  int ejecutar();

private:
  int ejecutarSuper(TCodigo& codigo);
  int ejecutarVLIW(const TCodigo& codigo);
  int ejecutarComparacion(const TCodigo& codigo);
  // --auto-schedule: la planificación automática como programa de la máquina
  // y, con -o, en su fichero. false con el motivo ya escrito.
  bool planificar(const TCodigo& codigo, TMaquinaVLIW& maquina);
  // El programa VLIW de -p (o el de --auto-schedule) en la máquina, y que se
  // pueda ejecutar en ella; false con el motivo ya escrito.
  bool cargarVLIW(const TCodigo& codigo, TMaquinaVLIW& maquina);
  void configurar(TMaquina& maquina) const;
  // Arranca la sesión con la semilla de --seed (si la hay) y los valores de --set.
  void empezar(TSesion& sesion) const;
  // Ciclos hasta terminar, fallar o agotar el límite, sin parar en breakpoints;
  // la traza, si se pide, tras cada ciclo.
  template <typename Maquina>
  TFinalEjecucion correr(TSesion& sesion, const Maquina& maquina);
  // Con --timeline, el registrador del diagrama en la máquina antes de empezar;
  // «otro», si lo hay, también (los dos con un reparto).
  void enganchar(TMaquina& maquina, bool vliw, TObservadorCiclo* otro = nullptr);
  void escribirDiagrama(const TRegistradorDiagrama& r) const;
  int estadoDeSalida(TFinalEjecucion final, const TMaquina& maquina) const;
  // La comprobación del programa VLIW de --check, con su aviso si no va en JSON.
  TComprobacionVLIW comprobarVLIW(const TMaquinaVLIW& maquina);

  const TOpcionesConsola& opciones;
  std::ostream& salida;
  std::ostream& errores;
  std::unique_ptr<TRegistradorDiagrama> diagrama;
  std::unique_ptr<TMultiplexorObservadores> reparto;
};
