#include "Simulador/TfrmComponente.h"

#include <QLabel>
#include <QLocale>
#include <QStringList>

#include "machine/TMaquina.h"

namespace {
const char* const NOMBRES_OBJETO[3] = {"frmCompGPR", "frmCompFPR", "frmCompMem"};
}

TfrmComponente::TfrmComponente(TMaquina& m, int t, QWidget* padre) : QMdiSubWindow(padre), maquina(m), tipo(t) {
  setObjectName(QString::fromLatin1(NOMBRES_OBJETO[tipo >= 0 && tipo < 3 ? tipo : 0]));
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(QStringLiteral("Componente"));
  setProperty("temaAyuda", TEMA_AYUDA);
  labValores = new QLabel;
  labValores->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  labValores->setMargin(4);
  setWidget(labValores);
  resize(112, 366);
  actualizar();
}

void TfrmComponente::actualizar() {
  QStringList lineas;
  const QLocale local;
  for (int i = 0; i < 8; ++i) {
    if (tipo == GPR) lineas << QStringLiteral("R%1  %2").arg(i).arg(maquina.gpr.valor[static_cast<size_t>(i)]);
    else if (tipo == FPR)
      lineas << QStringLiteral("F%1  %2").arg(i).arg(local.toString(maquina.fpr.valor[static_cast<size_t>(i)], 'f', 3));
    else lineas << QStringLiteral("%1  %2").arg(i).arg(local.toString(maquina.memoria.datos[static_cast<size_t>(i)], 'f', 3));
  }
  labValores->setText(lineas.join(QLatin1Char('\n')));
}
