#include "Simulador/TfrmConfVLIW.h"

#include <QWidget>

#include "vliw/TMaquinaVLIW.h"

TfrmConfVLIW::TfrmConfVLIW(TMaquinaVLIW& m, QWidget* padre) : QMdiSubWindow(padre), maquina(m) {
  setObjectName(QStringLiteral("frmConfVLIW"));
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(QStringLiteral("Configuración VLIW"));
  setProperty("temaAyuda", TEMA_AYUDA);
  auto* contenido = new QWidget;
  contenido->setMinimumSize(240, 160);
  setWidget(contenido);
}
