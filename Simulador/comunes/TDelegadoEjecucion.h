#pragma once
// Pintado de las celdas de las rejillas de ejecución: el fondo es el color de
// la instrucción que enseña la fila (o el de la rejilla), nunca el de la
// selección; el texto va centrado en una línea, cortado con puntos suspensivos.

#include <QStyledItemDelegate>

class TDelegadoEjecucion : public QStyledItemDelegate {
  Q_OBJECT
public:
  explicit TDelegadoEjecucion(QObject* padre = nullptr);

  void paint(QPainter* p, const QStyleOptionViewItem& opcion, const QModelIndex& indice) const override;
};
