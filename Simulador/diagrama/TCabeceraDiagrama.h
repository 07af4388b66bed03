#pragma once
// Cabecera de la rejilla del diagrama. Su grosor (el alto de la de ciclos, el
// ancho de la de instrucciones) se mide una vez: Qt lo vuelve a medir
// maquetando el texto de cientos de secciones cada vez que se añaden ciclos o
// filas, y en vivo eso se hace en cada tic.

#include <QHeaderView>

class TCabeceraDiagrama : public QHeaderView {
  Q_OBJECT
public:
  explicit TCabeceraDiagrama(Qt::Orientation orientacion, QWidget* padre = nullptr);

  QSize sizeHint() const override;

protected:
  void changeEvent(QEvent* evento) override;

private:
  mutable int grosor = -1;  // −1: sin medir
};
