#pragma once
// Pinta las celdas del diagrama sin pasar por los roles del modelo (una
// ejecución larga llena la pantalla de celdas): el color de la letra, la
// letra si cabe, las filas perdidas tachadas y en gris, la fila seleccionada,
// las de la instrucción resaltada y la marca del ciclo actual. Las imágenes
// exportadas se pintan con lo mismo.

#include <QStyledItemDelegate>

#include "Simulador/diagrama/TModeloDiagrama.h"

class TDelegadoDiagrama : public QStyledItemDelegate {
  Q_OBJECT
public:
  // Anchura mínima de columna con la que aún se escribe la letra.
  static constexpr int ANCHO_CON_LETRA = 9;
  static const QColor COLOR_ACTUAL;
  static const QColor COLOR_SELECCION;
  static const QColor COLOR_RESALTADA;

  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* p, const QStyleOptionViewItem& opcion, const QModelIndex& indice) const override;

  struct TMarcas {
    bool actual = false;       // la columna del ciclo actual
    bool seleccionada = false;
    bool resaltada = false;
  };
  static void pintarCelda(QPainter& p, const QRect& r, const TModeloDiagrama::TCelda& c, TMarcas marcas);
};
