#include "Simulador/control/TControladorMaquina.h"

#include <QTimer>
#include <QWidget>
#include <exception>

#include "Simulador/aplicacion/TAplicacion.h"
#include "Simulador/aplicacion/TServicioDialogos.h"
#include "loader/TCodigo.h"
#include "superscalar/TMaquinaSuper.h"
#include "vliw/TMaquinaVLIW.h"

namespace {

const QString MSG_COMPLETADA = QStringLiteral("Ejecución completada");
const QString MSG_BREAKPOINT = QStringLiteral("Ejecución detenida: BREAKPOINT");
const QString MSG_REINICIAR =
    QStringLiteral("Esto detendrá la ejecución actual e iniciará una nueva. ¿Desea reiniciar?");

bool enRango(int32_t i, int32_t n) { return i >= 0 && i < n; }

}  // namespace

TControladorMaquina::TControladorMaquina(TTipoMaquina t, TMaquina& m, TServicioDialogos& d, QWidget* v)
    : QObject(v), tipoMaquina(t), maq(m), dialogos(d), ventana(v), timer(new QTimer(this)) {
  timer->setObjectName(t == TTipoMaquina::vliw ? QStringLiteral("timSimulVLIW") : QStringLiteral("timSimulSuper"));
}

TControladorMaquina::TControladorMaquina(TMaquinaSuper& m, TServicioDialogos& d, QWidget* v)
    : TControladorMaquina(TTipoMaquina::superescalar, m, d, v) {
  super = &m;
}

TControladorMaquina::TControladorMaquina(TMaquinaVLIW& m, TServicioDialogos& d, QWidget* v)
    : TControladorMaquina(TTipoMaquina::vliw, m, d, v) {
  vliw = &m;
}

bool TControladorMaquina::enEjecucion() const { return maq.enEjecucion; }
bool TControladorMaquina::enBreakpoint() const { return maq.paradaBreakpoint; }

void TControladorMaquina::asignarPrograma(TCodigo* p) {
  if (!super) return;
  programa = p;
  super->codigo = p;
}

// ---------------------------------------------------------------- la máquina

void TControladorMaquina::arrancar() {
  maq.reset(limpiar);
  maq.enEjecucion = true;
  maq.paradaBreakpoint = false;
}

void TControladorMaquina::reanudar() {
  maq.enEjecucion = true;
  maq.paradaBreakpoint = false;
}

int8_t TControladorMaquina::darCiclo() { return maq.ejecutarCiclo(); }

void TControladorMaquina::finalizar() { maq.enEjecucion = false; }

// ---------------------------------------------------------------- órdenes

void TControladorMaquina::iniciar() {
  if (comprobacionPrevia && !comprobacionPrevia()) return;
  if (enEjecucion()) {
    timer->stop();
    if (enBreakpoint()) {
      reanudar();
      timer->start(intervalo());
      return;
    }
    if (!dialogos.confirmar(ventana, MSG_REINICIAR)) {
      timer->start(intervalo());
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
    emit estadoCambiado(true);
    emit ejecucionIniciada(false);
  }
  tratarResultado(darCiclo(), false);
}

void TControladorMaquina::pausa() { timer->stop(); }

void TControladorMaquina::parar() {
  timer->stop();
  finalizar();
  emit ejecucionTerminada(TFinEjecucion::parada);
  emit estadoCambiado(false);
}

void TControladorMaquina::tic(const char* fichero, const char* funcion) {
  try {
    tratarResultado(darCiclo(), true);
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
  // Tras refrescar las vistas: si una falla, la ejecución queda como estaba.
  finalizar();
  dialogos.mensaje(ventana, mensaje);
  emit ejecucionTerminada(fin);
  emit estadoCambiado(false);
}

// ---------------------------------------------------------------- ediciones

void TControladorMaquina::escribirRegistroEntero(int32_t registro, int32_t valor) {
  if (enRango(registro, NUM_REGISTROS)) maq.gpr.valor[static_cast<size_t>(registro)] = valor;
}

void TControladorMaquina::escribirRegistroReal(int32_t registro, float valor) {
  if (enRango(registro, NUM_REGISTROS)) maq.fpr.valor[static_cast<size_t>(registro)] = valor;
}

void TControladorMaquina::escribirMemoria(int32_t direccion, float valor) {
  if (enRango(direccion, TAM_MEMORIA)) maq.memoria.datos[static_cast<size_t>(direccion)] = valor;
}

void TControladorMaquina::colorearEnVuelo(int32_t etiquetaROB, uint32_t color) {
  if (!super) return;
  if (TEntradaROB* e = super->rob.elemento(etiquetaROB); e && e->instruccion) e->instruccion->color = color;
}

void TControladorMaquina::cambiarBreakpoint(int32_t instruccion, bool marca) {
  if (vliw) {
    if (TInstruccionLarga* larga = vliw->codigo.instruccion(instruccion)) larga->breakpoint = marca;
  } else if (programa && programa->indiceValido(instruccion)) {
    programa->instrucciones[static_cast<size_t>(instruccion)].breakpoint = marca;
  }
}

void TControladorMaquina::cambiarPorcentajeFallos(int32_t porcentaje) { maq.memoria.porcentajeFallos = porcentaje; }
