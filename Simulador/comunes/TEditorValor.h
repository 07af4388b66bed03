#pragma once
// Editor siempre abierto de la celda actual de un registro o palabra de
// memoria. Filtra las teclas: cifras, retroceso, "+" y "-"; en los reales el
// separador decimal (si aún no hay separador ni "E") y la "E" (si aún no hay
// ninguna, y se escribe en mayúscula). Intro pide pasar a la fila siguiente.

#include <QLineEdit>

class TEditorValor : public QLineEdit {
  Q_OBJECT
public:
  TEditorValor(bool real, QWidget* padre = nullptr);

  const bool real;

signals:
  void intro();

protected:
  void keyPressEvent(QKeyEvent* evento) override;
};
