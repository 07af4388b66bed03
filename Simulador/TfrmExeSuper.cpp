#include "Simulador/TfrmExeSuper.h"

#include <QLabel>

#include "superscalar/TMaquinaSuper.h"

TfrmExeSuper::TfrmExeSuper(TMaquinaSuper& m, QWidget* padre) : QMdiSubWindow(padre), maquina(m) {
  setObjectName(QStringLiteral("frmExeSuper"));
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(QStringLiteral("Ejecución Superescalar"));
  setProperty("temaAyuda", TEMA_AYUDA);
  labEstado = new QLabel;
  labEstado->setAlignment(Qt::AlignCenter);
  labEstado->setMinimumSize(260, 120);
  setWidget(labEstado);
  actualizar();
}

void TfrmExeSuper::actualizar() {
  labEstado->setText(QStringLiteral("Ciclo %1\nPC %2\nEntradas en el ROB: %3")
                         .arg(maquina.ciclo)
                         .arg(maquina.pc)
                         .arg(maquina.rob.numElementos()));
}
