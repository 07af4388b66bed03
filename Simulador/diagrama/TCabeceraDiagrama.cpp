#include "Simulador/diagrama/TCabeceraDiagrama.h"

#include <QEvent>

TCabeceraDiagrama::TCabeceraDiagrama(Qt::Orientation orientacion, QWidget* padre) : QHeaderView(orientacion, padre) {}

QSize TCabeceraDiagrama::sizeHint() const {
  // Sin secciones Qt no sabe medirla: se mide con las primeras que haya.
  if (grosor < 0) {
    const QSize s = QHeaderView::sizeHint();
    if (count() == 0) return s;
    grosor = orientation() == Qt::Horizontal ? s.height() : s.width();
  }
  return orientation() == Qt::Horizontal ? QSize(length(), grosor) : QSize(grosor, length());
}

void TCabeceraDiagrama::changeEvent(QEvent* e) {
  if (e->type() == QEvent::FontChange || e->type() == QEvent::StyleChange) grosor = -1;
  QHeaderView::changeEvent(e);
}
