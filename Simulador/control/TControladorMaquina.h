#pragma once
// Control de la ejecución de una máquina: su temporizador, la velocidad y las
// órdenes iniciar, paso, pausa y parar con sus preguntas y mensajes, escritas
// una vez para las dos máquinas. Los ciclos, los estados y las ediciones los
// lleva la sesión de la máquina (sin Qt), que guarda la semilla y cada edición
// para poder repetir la ejecución; aquí se añaden el temporizador, las
// preguntas, los mensajes y las señales. Nadie más toca la máquina durante una
// ejecución: la ventana y las vistas escuchan las señales para refrescarse y
// bloquear órdenes, y piden aquí cada edición del usuario.

#include <QObject>
#include <cstdint>
#include <functional>
#include <memory>

#include "Simulador/control/TEdicionMaquina.h"
#include "Simulador/control/TTipoMaquina.h"

class QTimer;
class QWidget;
class TCodigo;
class TMaquina;
class TMaquinaSuper;
class TMaquinaVLIW;
class TServicioDialogos;
class TMultiplexorObservadores;
class TObservadorCiclo;
class TSesion;
class TSesionSuper;

// Por qué termina una ejecución.
enum class TFinEjecucion : uint8_t { completada, error, parada };

class TControladorMaquina : public QObject, public TEdicionMaquina {
  Q_OBJECT
public:
  static constexpr int VELOCIDAD_INICIAL = 5;
  // Milisegundos entre tics: 1000 a velocidad 1, 100 a velocidad 10.
  static int intervaloDeVelocidad(int velocidad) { return 1100 - 100 * velocidad; }

  // La máquina y «dialogos» deben vivir más que el controlador. «ventana» es
  // el padre de sus mensajes y del propio controlador.
  TControladorMaquina(TMaquinaSuper& maquina, TServicioDialogos& dialogos, QWidget* ventana = nullptr);
  TControladorMaquina(TMaquinaVLIW& maquina, TServicioDialogos& dialogos, QWidget* ventana = nullptr);
  ~TControladorMaquina() override;

  TTipoMaquina tipo() const { return tipoMaquina; }
  TMaquina& maquina() const { return maq; }
  TMaquinaSuper* maquinaSuper() const { return super; }  // nullptr en el de la VLIW
  TMaquinaVLIW* maquinaVLIW() const { return vliw; }     // nullptr en el superescalar
  // La sesión de la máquina: estado de la ejecución, semilla y ediciones.
  TSesion& sesion() const { return *ses; }

  // Observadores de los ciclos de la máquina (el diagrama, las estadísticas),
  // no poseídos; el primero engancha el reparto a la máquina y el último lo
  // desengancha, para que sin ninguno el motor vaya a toda velocidad.
  void anadirObservador(TObservadorCiclo* observador);
  void quitarObservador(TObservadorCiclo* observador);
  // timSimulSuper o timSimulVLIW. Quien lo crea conecta su timeout con el
  // manejador que llama a tic().
  QTimer* temporizador() const { return timer; }

  // Hay una ejecución empezada y sin terminar: en marcha, detenida o en un breakpoint.
  bool enEjecucion() const;
  bool enBreakpoint() const;

  // La velocidad y la opción de limpiar se leen al iniciar y en cada tic.
  int velocidad() const { return vel; }
  void setVelocidad(int velocidad) { vel = velocidad; }
  int intervalo() const { return intervaloDeVelocidad(vel); }
  bool limpiarAlIniciar() const { return limpiar; }
  void setLimpiarAlIniciar(bool activa) { limpiar = activa; }
  // Se pregunta antes de iniciar y de dar un paso; con false la orden no
  // sigue (la VLIW comprueba su programa y las ediciones de su editor).
  void setComprobacionPrevia(std::function<bool()> comprobacion) { comprobacionPrevia = std::move(comprobacion); }

  // Programa secuencial que ejecuta la superescalar (vive más que su uso; el
  // controlador de la VLIW lo ignora: su programa es suyo).
  void asignarPrograma(TCodigo* programa);

  // ---- Órdenes ----
  // Una ejecución en curso reanuda desde un breakpoint sin preguntar; si no,
  // pregunta si se reinicia. El primer ciclo llega con el primer tic.
  void iniciar();
  // Un ciclo fuera del temporizador; sin ejecución en curso, empieza antes una.
  void paso();
  void pausa();
  // Termina la ejecución sin resetear la máquina (también sin ejecución en curso).
  void parar();
  // Un tic: un ciclo, su resultado y el refresco. Un fallo dentro para el
  // temporizador y se informa con el fichero y la función del manejador.
  void tic(const char* fichero, const char* funcion);

  // ---- Navegación en el tiempo ----
  // La máquina exactamente como tras el ciclo c. Hacia atrás es inmediato
  // (desde el punto de control más cercano); hacia delante se ejecuta a toda
  // velocidad en trozos, como «Ejecutar hasta el final», sin parar en
  // breakpoints. Sin ejecución por la que moverse, empieza una (como un paso).
  // Más allá del final de una ejecución terminada se queda en su final.
  void irACiclo(int32_t c);
  // irACiclo(ciclo - 1); sin efecto en el ciclo 0 o sin ejecución.
  void retroceder();
  // A toda velocidad hasta que el programa termina, salta un breakpoint, hay
  // un error o pasan limiteCiclos() ciclos. Pausa y Parar la interrumpen.
  void ejecutarHastaElFinal();
  // Una ejecución rápida (hacia delante o hasta el final) está en curso.
  bool ejecucionRapida() const { return objetivoRapida >= 0; }
  static constexpr int32_t LIMITE_CICLOS_DEFECTO = 1000000;
  int32_t limiteCiclos() const { return limite; }
  void setLimiteCiclos(int32_t ciclos) { limite = ciclos > 0 ? ciclos : 1; }
  // El temporizador de la ejecución rápida (intervalo 0): cada tic da unos
  // milisegundos de ciclos y vuelve al bucle de eventos.
  QTimer* temporizadorRapido() const { return timerRapido; }
  void ticRapido();
  static constexpr int MS_POR_TROZO = 15;

  // ---- Ediciones del usuario ----
  void escribirRegistroEntero(int32_t registro, int32_t valor) override;
  void escribirRegistroReal(int32_t registro, float valor) override;
  void escribirMemoria(int32_t direccion, float valor) override;
  void colorearEnVuelo(int32_t etiquetaROB, uint32_t color) override;
  void cambiarBreakpoint(int32_t instruccion, bool marca) override;
  void cambiarPorcentajeFallos(int32_t porcentaje) override;

signals:
  // Empieza una ejecución con la máquina recién reseteada. «continua»: la
  // empezó «Iniciar»; si no, un paso.
  void ejecucionIniciada(bool continua);
  // Tras cada ciclo (tic o paso), antes de su mensaje si lo tiene (con el
  // temporizador ya parado): las vistas enseñan el ciclo que el mensaje cuenta.
  void cicloEjecutado();
  void ejecucionTerminada(TFinEjecucion fin);
  // Empieza (true) o termina (false) una ejecución: lo que se bloquea mientras tanto.
  void estadoCambiado(bool enEjecucion);
  // Una ejecución rápida empieza (true) o acaba (false); mientras dura,
  // progresoRapida tras cada trozo, con el ciclo alcanzado y el objetivo.
  void ejecucionRapidaCambiada(bool activa);
  void progresoRapida(int32_t ciclo, int32_t objetivo);

private:
  TControladorMaquina(TTipoMaquina tipo, TMaquina& maquina, std::unique_ptr<TSesion> sesion,
                      TServicioDialogos& dialogos, QWidget* ventana);

  // Reset, semilla nueva y estado de partida guardado.
  void arrancar();
  // El temporizador vuelve a dar ciclos.
  void continuar();

  // Para una ejecución rápida en curso (sin mensaje ni refresco).
  void detenerRapida();
  void empezarRapida(int32_t objetivo, bool respetarBreakpoints);
  // Sin ejecución en curso ni terminada por la que moverse, empieza una como
  // un paso; false si no se pudo.
  bool asegurarEjecucion();
  // Tras moverse: la señal de estado si la ejecución dejó de estar (o volvió a
  // estar) en curso, y el refresco.
  void trasMoverse(bool estabaEnCurso);

  void tratarResultado(int8_t resultado, bool enTic);
  // El mensaje del final y las señales que desbloquean.
  void terminar(TFinEjecucion fin, const QString& mensaje);

  const TTipoMaquina tipoMaquina;
  TMaquina& maq;
  TMaquinaSuper* super = nullptr;
  TMaquinaVLIW* vliw = nullptr;
  std::unique_ptr<TSesion> ses;
  TSesionSuper* sesSuper = nullptr;
  std::unique_ptr<TMultiplexorObservadores> observadores;
  TServicioDialogos& dialogos;
  QWidget* ventana;
  QTimer* timer;
  QTimer* timerRapido;
  int32_t objetivoRapida = -1;  // -1: ninguna
  bool rapidaRespetaBreakpoints = false;
  int32_t limite = LIMITE_CICLOS_DEFECTO;
  int vel = VELOCIDAD_INICIAL;
  bool limpiar = false;
  std::function<bool()> comprobacionPrevia;
};
