#include "Simulador/TPanelRejilla.h"

#include <QEvent>
#include <QLabel>
#include <QVBoxLayout>

#include "Simulador/TRejillaEjecucion.h"

TPanelRejilla::TPanelRejilla(const QString& titulo, const QString& pista, QWidget* padre) : QWidget(padre) {
  panTitulo = new QLabel(titulo, this);
  panTitulo->setObjectName(QStringLiteral("panTitulo"));
  panTitulo->setFixedHeight(ALTO_TITULO);
  panTitulo->setAlignment(Qt::AlignCenter);
  panTitulo->setFrameShape(QFrame::Panel);
  panTitulo->setFrameShadow(QFrame::Raised);
  panTitulo->setAutoFillBackground(true);
  panTitulo->setBackgroundRole(QPalette::Button);
  panTitulo->setToolTip(pista);
  panTitulo->setStatusTip(pista);
  panTitulo->installEventFilter(this);
  grdRejilla = new TRejillaEjecucion(this);
  auto* capa = new QVBoxLayout(this);
  capa->setContentsMargins(0, 0, 0, 0);
  capa->setSpacing(0);
  capa->addWidget(panTitulo);
  capa->addWidget(grdRejilla, 1);
}

void TPanelRejilla::setModelo(TModeloEjecucion* modelo) { grdRejilla->setModelo(modelo); }

int TPanelRejilla::alturaCompleta() const { return ALTO_TITULO + grdRejilla->alturaCompleta(); }

QSize TPanelRejilla::minimumSizeHint() const { return {24, ALTO_TITULO}; }

bool TPanelRejilla::eventFilter(QObject* objeto, QEvent* evento) {
  if (objeto == panTitulo && evento->type() == QEvent::MouseButtonDblClick) {
    emit tituloDobleClic();
    return true;
  }
  return QWidget::eventFilter(objeto, evento);
}
