#pragma once
// «Acerca de...»: nombre, versión y propósito del programa.

#include <QDialog>

class QLabel;
class QPushButton;

class TAboutBox : public QDialog {
  Q_OBJECT
public:
  explicit TAboutBox(QWidget* padre = nullptr);

  QLabel* imgPrograma;
  QLabel* labProducto;
  QLabel* labVersion;
  QLabel* labComentario;
  QPushButton* butAceptar;
};
