#pragma once
// La rejilla del diagrama: una vista de tabla sobre TModeloDiagrama que pinta
// ella misma la parte visible, fila a fila y tramo a tramo (no celda a celda
// con el delegado): con 100 000 ciclos y columnas estrechas hay miles de
// celdas en pantalla. Cada celda con letra sale de un dibujo ya hecho.

#include <QHash>
#include <QPixmap>
#include <QTableView>

class TModeloDiagrama;

class TRejillaDiagrama : public QTableView {
  Q_OBJECT
public:
  explicit TRejillaDiagrama(QWidget* padre = nullptr);

  void setModel(QAbstractItemModel* modelo) override;

protected:
  void paintEvent(QPaintEvent* evento) override;

private:
  // El dibujo de una celda: su letra, su color, tachada o no, y la muesca de
  // una espera; se rehacen si cambia el tamaño de las celdas.
  const QPixmap& dibujo(char letra, bool perdida, bool espera, int ancho, int alto);

  TModeloDiagrama* modeloDiagrama = nullptr;
  QHash<int, QPixmap> dibujos;
  QSize tamDibujos;
};
