#include "Simulador/vliw/TDelegadoInstVLIW.h"

#include <QPainter>

#include "Simulador/vliw/TfrmInstVLIW.h"

TDelegadoInstVLIW::TDelegadoInstVLIW(const TfrmInstVLIW& e, QObject* padre) : QStyledItemDelegate(padre), editor(e) {}

void TDelegadoInstVLIW::paint(QPainter* p, const QStyleOptionViewItem& opcion, const QModelIndex& indice) const {
  p->save();
  p->fillRect(opcion.rect, editor.fondoCelda(indice.row(), indice.column()));
  p->setPen(editor.textoCelda(indice.row(), indice.column()));
  p->setFont(opcion.font);
  const QRect caja = opcion.rect.adjusted(2, 0, -2, 0);
  const QString texto = opcion.fontMetrics.elidedText(indice.data().toString(), Qt::ElideRight, caja.width());
  p->drawText(caja, Qt::AlignCenter | Qt::TextSingleLine, texto);
  p->restore();
}
