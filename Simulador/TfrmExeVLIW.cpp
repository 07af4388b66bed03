#include "Simulador/TfrmExeVLIW.h"

#include <QLabel>

#include "vliw/TMaquinaVLIW.h"

TfrmExeVLIW::TfrmExeVLIW(TMaquinaVLIW& m, QWidget* padre) : QMdiSubWindow(padre), maquina(m) {
  setObjectName(QStringLiteral("frmExeVLIW"));
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(QStringLiteral("Ejecución VLIW"));
  setProperty("temaAyuda", TEMA_AYUDA);
  labEstado = new QLabel;
  labEstado->setAlignment(Qt::AlignCenter);
  labEstado->setMinimumSize(229, 120);
  setWidget(labEstado);
  actualizar();
}

void TfrmExeVLIW::actualizar() {
  labEstado->setText(QStringLiteral("Ciclo %1\nPC %2").arg(maquina.ciclo).arg(maquina.pc));
}
