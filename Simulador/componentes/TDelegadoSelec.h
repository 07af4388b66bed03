#pragma once
// Delegado de la rejilla de un TfrmSelec: crea el editor de valores y pasa al
// modelo cada cambio que escribe el usuario, de modo que el modelo sabe en
// todo momento qué filas están editadas.

#include <QStyledItemDelegate>

class TDelegadoSelec : public QStyledItemDelegate {
  Q_OBJECT
public:
  explicit TDelegadoSelec(QObject* padre = nullptr);

  bool real = false;  // el editor admite separador decimal y exponente

  QWidget* createEditor(QWidget* padre, const QStyleOptionViewItem& opcion, const QModelIndex& indice) const override;
  void setEditorData(QWidget* editor, const QModelIndex& indice) const override;
  void setModelData(QWidget* editor, QAbstractItemModel* modelo, const QModelIndex& indice) const override;

signals:
  // Intro en el editor de esa celda.
  void intro(const QModelIndex& indice) const;

protected:
  // Las teclas son del editor: ni Intro ni Tab ni Esc cierran un editor que siempre está abierto.
  bool eventFilter(QObject* objeto, QEvent* evento) override;
};
