#include "Simulador/comunes/TPanelRejilla.h"

#include <QEvent>
#include <QLabel>
#include <QVBoxLayout>

#include "Simulador/comunes/TRejillaEjecucion.h"

QLabel* TPanelRejilla::crearTitulo(const QString& texto, QWidget* padre, const QString& pista) {
  auto* titulo = new QLabel(texto, padre);
  titulo->setObjectName(QStringLiteral("panTitulo"));
  titulo->setFixedHeight(ALTO_TITULO);
  titulo->setAlignment(Qt::AlignCenter);
  titulo->setFrameShape(QFrame::Panel);
  titulo->setFrameShadow(QFrame::Raised);
  titulo->setAutoFillBackground(true);
  titulo->setBackgroundRole(QPalette::Button);
  if (!pista.isEmpty()) {
    titulo->setToolTip(pista);
    titulo->setStatusTip(pista);
  }
  return titulo;
}

TPanelRejilla::TPanelRejilla(const QString& titulo, const QString& pista, QWidget* padre) : QWidget(padre) {
  panTitulo = crearTitulo(titulo, this, pista);
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
