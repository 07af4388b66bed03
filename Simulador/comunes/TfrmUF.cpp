#include "Simulador/comunes/TfrmUF.h"

#include <utility>

#include <QHeaderView>
#include <QLabel>
#include <QStyle>

#include "Simulador/comunes/TRejillaEjecucion.h"

TfrmUF::TfrmUF(TModeloUF::TAcceso unidades, int tipo, const QString& titulo, QWidget* padre)
    : TPanelRejilla(titulo, QString(), padre) {
  modelo = new TModeloUF(std::move(unidades), tipo, this);
  setModelo(modelo);
  panTitulo->setToolTip(modelo->pistaGeneral());
  panTitulo->setStatusTip(modelo->pistaGeneral());
  grdRejilla->horizontalHeader()->setMinimumSectionSize(ANCHO_MINIMO);
  grdRejilla->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
}

void TfrmUF::actualizar() { modelo->refrescar(); }

int TfrmUF::anchoNecesario() const {
  return 2 * grdRejilla->frameWidth() + modelo->columnCount() * ANCHO_MINIMO +
         style()->pixelMetric(QStyle::PM_ScrollBarExtent);
}
