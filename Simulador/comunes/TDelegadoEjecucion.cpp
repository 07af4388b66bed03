#include "Simulador/comunes/TDelegadoEjecucion.h"

#include <QPainter>

TDelegadoEjecucion::TDelegadoEjecucion(QObject* padre) : QStyledItemDelegate(padre) {}

void TDelegadoEjecucion::paint(QPainter* p, const QStyleOptionViewItem& opcion, const QModelIndex& indice) const {
  const QVariant fondo = indice.data(Qt::BackgroundRole);
  const QColor relleno = fondo.canConvert<QColor>() && fondo.value<QColor>().isValid()
                             ? fondo.value<QColor>()
                             : opcion.palette.color(QPalette::Base);
  p->save();
  p->fillRect(opcion.rect, relleno);
  const QString texto = indice.data(Qt::DisplayRole).toString();
  if (!texto.isEmpty()) {
    p->setPen(opcion.palette.color(QPalette::Text));
    p->setFont(opcion.font);
    const QRect caja = opcion.rect.adjusted(2, 0, -2, 0);
    p->drawText(caja, Qt::AlignCenter | Qt::TextSingleLine,
                opcion.fontMetrics.elidedText(texto, Qt::ElideRight, caja.width()));
  }
  p->restore();
}
