#include "Simulador/TfrmInstVLIW.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "vliw/TMaquinaVLIW.h"

TfrmInstVLIW::TfrmInstVLIW(const TCodigo& c, TMaquinaVLIW& m, QWidget* padre)
    : QMdiSubWindow(padre), codigo(c), maquina(m) {
  setObjectName(QStringLiteral("frmInstVLIW"));
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(QStringLiteral("Instrucciones VLIW"));
  setProperty("temaAyuda", TEMA_AYUDA);
  contenido = new QWidget;
  labEstado = new QLabel(contenido);
  labEstado->setAlignment(Qt::AlignCenter);
  butGuardar = new QPushButton(QStringLiteral("Guardar"), contenido);
  butGuardar->setObjectName(QStringLiteral("butGuardar"));
  auto* capa = new QVBoxLayout(contenido);
  capa->addWidget(labEstado);
  capa->addWidget(butGuardar);
  setWidget(contenido);
  refrescar();
}

void TfrmInstVLIW::refrescar() {
  labEstado->setText(QStringLiteral("Instrucciones largas: %1").arg(maquina.codigo.numInstrucciones));
  butGuardar->setEnabled(true);
}

void TfrmInstVLIW::aplicarCambios() { butGuardar->setEnabled(true); }

void TfrmInstVLIW::bloquearEdicion(bool enEjecucion) { contenido->setEnabled(!enEjecucion); }

void TfrmInstVLIW::mostrarInstruccionActual() {
  const int fila = static_cast<int>(maquina.pc);
  filaActual = fila > 0 && fila <= maquina.codigo.numInstrucciones ? fila : -1;
}

// El bloqueo de la edición deshabilita también el botón: cuenta solo su propio estado.
bool TfrmInstVLIW::cambiosPendientes() const { return !butGuardar->isEnabledTo(contenido); }

bool TfrmInstVLIW::edicionBloqueada() const { return !contenido->isEnabled(); }

void TfrmInstVLIW::closeEvent(QCloseEvent* evento) {
  if (maquina.enEjecucion) {
    evento->ignore();
    showMinimized();
    return;
  }
  QMdiSubWindow::closeEvent(evento);
}
