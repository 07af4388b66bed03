#include "Simulador/control/TControladorMaquina.h"

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <exception>
#include <limits>

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
const QString MSG_LIMITE = QStringLiteral("Ejecución detenida: límite de %1 ciclos");
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
      timer(new QTimer(this)),
      timerRapido(new QTimer(this)) {
  timer->setObjectName(t == TTipoMaquina::vliw ? QStringLiteral("timSimulVLIW") : QStringLiteral("timSimulSuper"));
  timerRapido->setObjectName(t == TTipoMaquina::vliw ? QStringLiteral("timRapidoVLIW") : QStringLiteral("timRapidoSuper"));
  timerRapido->setInterval(0);
  connect(timerRapido, &QTimer::timeout, this, &TControladorMaquina::ticRapido);
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
  detenerRapida();
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
  detenerRapida();
  if (!enEjecucion()) {
    arrancar();
    ses->pausar();
    emit estadoCambiado(true);
    emit ejecucionIniciada(false);
  }
  tratarResultado(ses->paso(), false);
}

void TControladorMaquina::pausa() {
  const bool rapida = ejecucionRapida();
  detenerRapida();
  timer->stop();
  ses->pausar();
  // Las vistas no se refrescan durante una ejecución rápida: ahora sí.
  if (rapida) emit cicloEjecutado();
}

void TControladorMaquina::parar() {
  detenerRapida();
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

// ---------------------------------------------------------------- navegación

bool TControladorMaquina::asegurarEjecucion() {
  if (ses->puedeNavegar()) return true;
  if (comprobacionPrevia && !comprobacionPrevia()) return false;
  if (ses->iniciar(limpiar) != SESION_OK) return false;
  ses->pausar();
  emit estadoCambiado(true);
  emit ejecucionIniciada(false);
  return true;
}

void TControladorMaquina::trasMoverse(bool estabaEnCurso) {
  if (ses->enCurso() != estabaEnCurso) emit estadoCambiado(ses->enCurso());
  emit cicloEjecutado();
}

void TControladorMaquina::irACiclo(int32_t c) {
  detenerRapida();
  timer->stop();
  if (c < 0 || !asegurarEjecucion()) return;
  ses->pausar();
  const bool estaba = ses->enCurso();
  // Hacia atrás, o sin nada por delante (terminada): de una vez.
  if (c <= maq.ciclo || !estaba) {
    ses->irACiclo(c);
    trasMoverse(estaba);
    return;
  }
  empezarRapida(c, false);
}

void TControladorMaquina::retroceder() {
  if (!ses->puedeNavegar() || maq.ciclo <= 0) return;
  irACiclo(maq.ciclo - 1);
}

void TControladorMaquina::ejecutarHastaElFinal() {
  detenerRapida();
  timer->stop();
  if (!ses->enCurso()) {
    // Como «Iniciar» sin ejecución en curso: una nueva.
    if (comprobacionPrevia && !comprobacionPrevia()) return;
    if (ses->iniciar(limpiar) != SESION_OK) return;
    emit ejecucionIniciada(true);
    emit estadoCambiado(true);
  }
  ses->reanudar();
  const int64_t objetivo = std::min<int64_t>(int64_t{maq.ciclo} + limite, std::numeric_limits<int32_t>::max());
  empezarRapida(static_cast<int32_t>(objetivo), true);
}

void TControladorMaquina::empezarRapida(int32_t objetivo, bool respetarBreakpoints) {
  objetivoRapida = objetivo;
  rapidaRespetaBreakpoints = respetarBreakpoints;
  emit ejecucionRapidaCambiada(true);
  emit progresoRapida(maq.ciclo, objetivo);
  timerRapido->start();
}

void TControladorMaquina::detenerRapida() {
  if (!ejecucionRapida()) return;
  timerRapido->stop();
  objetivoRapida = -1;
  emit ejecucionRapidaCambiada(false);
}

void TControladorMaquina::ticRapido() {
  if (!ejecucionRapida()) return;
  const int32_t objetivo = objetivoRapida;
  const bool hastaElFinal = rapidaRespetaBreakpoints;
  int8_t r = CICLO_NORMAL;
  try {
    QElapsedTimer reloj;
    reloj.start();
    // Trozos pequeños: el reloj se mira entre trozo y trozo.
    constexpr int32_t CICLOS_POR_TROZO = 256;
    while (ses->enCurso() && maq.ciclo < objetivo && reloj.elapsed() < MS_POR_TROZO) {
      const int32_t n = std::min(CICLOS_POR_TROZO, objetivo - maq.ciclo);
      if (hastaElFinal) {
        r = ses->ejecutar(n, true);
        if (r == CICLO_BREAKPOINT) break;
      } else {
        ses->irACiclo(maq.ciclo + n);
      }
    }
  } catch (...) {
    detenerRapida();
    dialogos.mensaje(ventana, QStringLiteral("Excepción no controlada en la ejecución rápida"),
                     TAplicacion::textoFallo(std::current_exception()));
    return;
  }
  if (ses->enCurso() && maq.ciclo < objetivo && r != CICLO_BREAKPOINT) {
    emit progresoRapida(maq.ciclo, objetivo);
    return;
  }
  detenerRapida();
  if (ses->estado() == estTerminada) r = CICLO_COMPLETADO;
  else if (ses->estado() == estError) r = CICLO_ERROR;
  if (r == CICLO_NORMAL || r == CICLO_VACIANDO) ses->pausar();
  // Como tras un tic: el refresco y, si acabó, su mensaje.
  tratarResultado(r, true);
  if (hastaElFinal && r != CICLO_COMPLETADO && r != CICLO_ERROR && r != CICLO_BREAKPOINT)
    dialogos.mensaje(ventana, MSG_LIMITE.arg(limite));
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
