#include "Simulador/control/TControladorMaquina.h"

#include <QTimer>
#include <QWidget>
#include <exception>

#include "Simulador/aplicacion/TAplicacion.h"
#include "Simulador/aplicacion/TServicioDialogos.h"
#include "loader/TCodigo.h"
#include "observation/TMultiplexorObservadores.h"
#include "session/TSesionSuper.h"
#include "session/TSesionVLIW.h"
#include "superscalar/TMaquinaSuper.h"
#include "vliw/TMaquinaVLIW.h"

namespace {

const QString MSG_COMPLETADA = QStringLiteral("Ejecución completada");
const QString MSG_BREAKPOINT = QStringLiteral("Ejecución detenida: BREAKPOINT");
const QString MSG_REINICIAR =
    QStringLiteral("Esto detendrá la ejecución actual e iniciará una nueva. ¿Desea reiniciar?");

}  // namespace

TControladorMaquina::TControladorMaquina(TTipoMaquina t, TMaquina& m, std::unique_ptr<TSesion> sesion,
                                         TServicioDialogos& d, QWidget* v)
    : QObject(v),
      tipoMaquina(t),
      maq(m),
      ses(std::move(sesion)),
      observadores(std::make_unique<TMultiplexorObservadores>()),
      dialogos(d),
      ventana(v),
      timer(new QTimer(this)) {
  timer->setObjectName(t == TTipoMaquina::vliw ? QStringLiteral("timSimulVLIW") : QStringLiteral("timSimulSuper"));
}

TControladorMaquina::TControladorMaquina(TMaquinaSuper& m, TServicioDialogos& d, QWidget* v)
    : TControladorMaquina(TTipoMaquina::superescalar, m, std::make_unique<TSesionSuper>(m), d, v) {
  super = &m;
  sesSuper = static_cast<TSesionSuper*>(ses.get());
}

TControladorMaquina::TControladorMaquina(TMaquinaVLIW& m, TServicioDialogos& d, QWidget* v)
    : TControladorMaquina(TTipoMaquina::vliw, m, std::make_unique<TSesionVLIW>(m), d, v) {
  vliw = &m;
}

TControladorMaquina::~TControladorMaquina() {
  if (maq.observador == observadores.get()) maq.observador = nullptr;
}

void TControladorMaquina::anadirObservador(TObservadorCiclo* observador) {
  observadores->anadir(observador);
  if (!observadores->vacio()) maq.observador = observadores.get();
}

void TControladorMaquina::quitarObservador(TObservadorCiclo* observador) {
  observadores->quitar(observador);
  if (observadores->vacio() && maq.observador == observadores.get()) maq.observador = nullptr;
}

bool TControladorMaquina::enEjecucion() const { return ses->enCurso(); }
bool TControladorMaquina::enBreakpoint() const { return ses->estado() == estEnBreakpoint; }

void TControladorMaquina::asignarPrograma(TCodigo* p) {
  if (sesSuper) sesSuper->cambiarPrograma(p);
}

// ---------------------------------------------------------------- la sesión

void TControladorMaquina::arrancar() { ses->iniciar(limpiar); }

void TControladorMaquina::continuar() {
  ses->reanudar();
  timer->start(intervalo());
}

// ---------------------------------------------------------------- órdenes

void TControladorMaquina::iniciar() {
  if (comprobacionPrevia && !comprobacionPrevia()) return;
  if (enEjecucion()) {
    timer->stop();
    ses->pausar();
    if (enBreakpoint() || !dialogos.confirmar(ventana, MSG_REINICIAR)) {
      continuar();
      return;
    }
  }
  arrancar();
  emit ejecucionIniciada(true);
  emit estadoCambiado(true);
  timer->start(intervalo());
}

void TControladorMaquina::paso() {
  if (comprobacionPrevia && !comprobacionPrevia()) return;
  if (!enEjecucion()) {
    arrancar();
    ses->pausar();
    emit estadoCambiado(true);
    emit ejecucionIniciada(false);
  }
  tratarResultado(ses->paso(), false);
}

void TControladorMaquina::pausa() {
  timer->stop();
  ses->pausar();
}

void TControladorMaquina::parar() {
  timer->stop();
  ses->parar();
  emit ejecucionTerminada(TFinEjecucion::parada);
  emit estadoCambiado(false);
}

void TControladorMaquina::tic(const char* fichero, const char* funcion) {
  try {
    tratarResultado(ses->paso(), true);
    timer->setInterval(intervalo());
  } catch (...) {
    // El temporizador se para antes del mensaje: los tics no se anidan.
    timer->stop();
    const QString texto = QStringLiteral("Excepción no controlada en fichero \"%1\", función \"%2")
                              .arg(QString::fromLatin1(fichero), QString::fromLatin1(funcion));
    dialogos.mensaje(ventana, texto, TAplicacion::textoFallo(std::current_exception()));
  }
}

void TControladorMaquina::tratarResultado(int8_t resultado, bool enTic) {
  // Antes de cualquier mensaje, el temporizador se para (los tics no se anidan
  // y un paso que acaba la ejecución no deja tics sobre una máquina parada)…
  if (resultado == CICLO_COMPLETADO || resultado == CICLO_ERROR || resultado == CICLO_BREAKPOINT) timer->stop();
  // …y todas las vistas enseñan ya este ciclo: mientras el mensaje está
  // abierto no se contradicen.
  emit cicloEjecutado();
  switch (resultado) {
    case CICLO_COMPLETADO:
      terminar(TFinEjecucion::completada, MSG_COMPLETADA);
      break;
    case CICLO_ERROR:
      // Una dirección fuera de la memoria termina la ejecución como un final fallido.
      terminar(TFinEjecucion::error, QString::fromStdString(maq.mensajeError));
      break;
    case CICLO_BREAKPOINT:
      // En un paso no hay mensaje; si el temporizador corría, la ejecución
      // queda en el breakpoint como cuando lo encuentra un tic.
      if (enTic) dialogos.mensaje(ventana, MSG_BREAKPOINT);
      break;
    default:  // CICLO_NORMAL, y CICLO_VACIANDO de la VLIW: la ejecución sigue
      break;
  }
}

void TControladorMaquina::terminar(TFinEjecucion fin, const QString& mensaje) {
  // Antes de cualquier mensaje: los tics no se anidan y un paso que acaba la
  // ejecución no deja tics sobre una máquina parada. La sesión ya la dio por
  // terminada (o fallida) con el código del ciclo.
  timer->stop();
  dialogos.mensaje(ventana, mensaje);
  emit ejecucionTerminada(fin);
  emit estadoCambiado(false);
}

// ---------------------------------------------------------------- ediciones

void TControladorMaquina::escribirRegistroEntero(int32_t registro, int32_t valor) {
  ses->editarRegistroEntero(registro, valor);
}

void TControladorMaquina::escribirRegistroReal(int32_t registro, float valor) {
  ses->editarRegistroFlotante(registro, valor);
}

void TControladorMaquina::escribirMemoria(int32_t direccion, float valor) { ses->editarMemoria(direccion, valor); }

void TControladorMaquina::colorearEnVuelo(int32_t etiquetaROB, uint32_t color) {
  if (sesSuper) sesSuper->editarColor(etiquetaROB, color);
}

void TControladorMaquina::cambiarBreakpoint(int32_t instruccion, bool marca) {
  ses->editarBreakpoint(instruccion, marca);
}

void TControladorMaquina::cambiarPorcentajeFallos(int32_t porcentaje) { ses->editarPorcentajeFallos(porcentaje); }
