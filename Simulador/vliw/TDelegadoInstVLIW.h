#pragma once
// Pinta las celdas del editor VLIW: el fondo que decide el editor (resaltado de
// latencia, bloques básicos, selección) y el texto centrado en una línea,
// cortado con puntos suspensivos.

#include <QStyledItemDelegate>

class TfrmInstVLIW;

class TDelegadoInstVLIW : public QStyledItemDelegate {
  Q_OBJECT
public:
  TDelegadoInstVLIW(const TfrmInstVLIW& editor, QObject* padre = nullptr);

  void paint(QPainter* p, const QStyleOptionViewItem& opcion, const QModelIndex& indice) const override;

private:
  const TfrmInstVLIW& editor;
};
