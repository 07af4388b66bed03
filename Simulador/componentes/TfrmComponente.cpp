#include "Simulador/componentes/TfrmComponente.h"

#include <QStyle>
#include <algorithm>

#include "Simulador/componentes/TfrmSelecMaquina.h"
#include "machine/TMaquina.h"

namespace {
const char* const NOMBRES_OBJETO[3] = {"frmCompGPR", "frmCompFPR", "frmCompMem"};
}

TfrmComponente::TfrmComponente(const TMaquina& m, TEdicionMaquina& ediciones, int t, TServicioDialogos& dialogos,
                               TdlgIntervalo& dlgIntervalo, QWidget* padre)
    : QMdiSubWindow(padre), maquina(m), tipo(t >= GPR && t <= MEMORIA ? t : GPR) {
  setObjectName(QString::fromLatin1(NOMBRES_OBJETO[tipo]));
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(QStringLiteral("Componente"));
  setProperty("temaAyuda", TEMA_AYUDA);
  frmSelec = new TfrmSelecMaquina(dialogos, dlgIntervalo);
  setWidget(frmSelec);
  frmSelec->asignar(maquina, ediciones, tipo);
  // 112 de ancho, o lo que pidan el título y los botones de la ventana.
  const int anchoTitulo = fontMetrics().horizontalAdvance(windowTitle()) + 4 * style()->pixelMetric(QStyle::PM_TitleBarHeight);
  resize(std::max(112, anchoTitulo), 366);
}

void TfrmComponente::actualizar() { frmSelec->refrescar(); }
