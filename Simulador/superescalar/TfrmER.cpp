#include "Simulador/superescalar/TfrmER.h"

#include <QHeaderView>

#include "Simulador/comunes/TRejillaEjecucion.h"
#include "Simulador/superescalar/TModeloER.h"
#include "machine/TTipos.h"

namespace {
QString nombreTipo(int t) {
  return t >= 0 && t < NUM_TIPOS_UF ? QString::fromStdString(nombresTipoUF[static_cast<size_t>(t)]) : QString();
}
}  // namespace

TfrmER::TfrmER(const TMaquinaSuper& maquina, int t, QWidget* padre)
    : TPanelRejilla(nombreTipo(t), QStringLiteral("Estación de Reserva ") + nombreTipo(t), padre), tipo(t) {
  setObjectName(QStringLiteral("frmER%1").arg(t));
  modelo = new TModeloER(maquina, t, this);
  setModelo(modelo);
  grdRejilla->setSelectionBehavior(QAbstractItemView::SelectRows);
  grdRejilla->horizontalHeader()->setMinimumSectionSize(30);
  grdRejilla->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
}

void TfrmER::actualizar() { modelo->refrescar(); }
