#pragma once
// Pregunta qué hacer con las ediciones del programa VLIW aún no aceptadas.

#include <QDialog>

class QLabel;
class QPushButton;

class TdlgGuardarCambio : public QDialog {
  Q_OBJECT
public:
  explicit TdlgGuardarCambio(QWidget* padre = nullptr);

  QLabel* labMensaje;
  QLabel* labPregunta;
  QLabel* labAclaracion;
  QPushButton* butOk;
  QPushButton* butCancel;
};
