#include "Simulador/componentes/TDelegadoSelec.h"

#include <QEvent>
#include <QPersistentModelIndex>

#include "Simulador/comunes/TEditorValor.h"

TDelegadoSelec::TDelegadoSelec(QObject* padre) : QStyledItemDelegate(padre) {}

QWidget* TDelegadoSelec::createEditor(QWidget* padre, const QStyleOptionViewItem&, const QModelIndex& indice) const {
  auto* editor = new TEditorValor(real, padre);
  const QPersistentModelIndex celda(indice);
  connect(editor, &QLineEdit::textEdited, this,
          [this, editor] { emit const_cast<TDelegadoSelec*>(this)->commitData(editor); });
  connect(editor, &TEditorValor::intro, this, [this, celda] { emit intro(celda); });
  return editor;
}

void TDelegadoSelec::setEditorData(QWidget* editor, const QModelIndex& indice) const {
  if (auto* e = qobject_cast<TEditorValor*>(editor)) {
    const QString texto = indice.data(Qt::EditRole).toString();
    if (e->text() != texto) e->setText(texto);
  }
}

void TDelegadoSelec::setModelData(QWidget* editor, QAbstractItemModel* modelo, const QModelIndex& indice) const {
  if (auto* e = qobject_cast<TEditorValor*>(editor)) modelo->setData(indice, e->text(), Qt::EditRole);
}

bool TDelegadoSelec::eventFilter(QObject* objeto, QEvent* evento) {
  if (evento->type() == QEvent::KeyPress || evento->type() == QEvent::ShortcutOverride) return false;
  return QStyledItemDelegate::eventFilter(objeto, evento);
}
