#include "Simulador/editor/TMargenFuente.h"

#include <QHelpEvent>
#include <QToolTip>

#include "Simulador/editor/TEditorFuente.h"

TMargenFuente::TMargenFuente(TEditorFuente& e) : QWidget(&e), editor(e) {
  setObjectName(QStringLiteral("margen"));
}

QSize TMargenFuente::sizeHint() const { return QSize(editor.anchoMargen(), 0); }

void TMargenFuente::paintEvent(QPaintEvent* evento) { editor.pintarMargen(evento); }

bool TMargenFuente::event(QEvent* evento) {
  if (evento->type() == QEvent::ToolTip) {
    const auto* ayuda = static_cast<QHelpEvent*>(evento);
    const QString pista = editor.pistaMargen(ayuda->pos().y());
    if (pista.isEmpty()) QToolTip::hideText();
    else QToolTip::showText(ayuda->globalPos(), pista, this);
    return true;
  }
  return QWidget::event(evento);
}
