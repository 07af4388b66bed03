#include "Simulador/TfrmConfSuper.h"

#include <QWidget>

#include "superscalar/TMaquinaSuper.h"

TfrmConfSuper::TfrmConfSuper(TMaquinaSuper& m, QWidget* padre) : QMdiSubWindow(padre), maquina(m) {
  setObjectName(QStringLiteral("frmConfSuper"));
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(QStringLiteral("Configuración Superescalar"));
  setProperty("temaAyuda", TEMA_AYUDA);
  auto* contenido = new QWidget;
  contenido->setMinimumSize(240, 160);
  setWidget(contenido);
}
