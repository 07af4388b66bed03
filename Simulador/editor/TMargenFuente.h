#pragma once
// Margen izquierdo del editor de código: lo pinta el propio editor, que sabe
// qué líneas se ven y dónde.

#include <QWidget>

class TEditorFuente;

class TMargenFuente : public QWidget {
  Q_OBJECT
public:
  explicit TMargenFuente(TEditorFuente& editor);
  QSize sizeHint() const override;

protected:
  void paintEvent(QPaintEvent* evento) override;
  bool event(QEvent* evento) override;

private:
  TEditorFuente& editor;
};
