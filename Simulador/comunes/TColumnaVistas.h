#pragma once
// Columna de paneles separados por divisores que el usuario puede arrastrar.
// Un doble clic en el título de un panel lo pliega al título solo o lo
// despliega hasta enseñar todas sus filas; el último panel ocupa el espacio
// que queda y no se pliega. Hasta que el usuario mueve algo, la columna
// reparte su alto cada vez que cambia de tamaño.

#include <QList>
#include <QSplitter>

class TPanelRejilla;

class TColumnaVistas : public QSplitter {
  Q_OBJECT
public:
  explicit TColumnaVistas(QWidget* padre = nullptr);

  // Añade el panel al final; el último añadido es el que se estira.
  void anadir(TPanelRejilla* panel);
  // Cada panel con todas sus filas si caben; si no, los más altos se
  // recortan por igual para que todos enseñen algo.
  void desplegarTodos();
  // Pliega o despliega el panel i (sin efecto en el último).
  void alternar(int i);
  bool plegado(int i) const;

  // Reparto de «alto» entre paneles que piden «deseados»: el último recibe lo
  // que sobre; si no cabe todo, ninguno pasa de un tope común.
  static QList<int> repartir(const QList<int>& deseados, int alto, int minimo);

  // Una columna de vistas bajo un título en negrita ("E. R.", "U. F.", …) con su pista.
  static QWidget* conTitulo(const QString& texto, const QString& pista, QWidget* contenido);

protected:
  void resizeEvent(QResizeEvent* evento) override;
  bool event(QEvent* evento) override;

private:
  QList<TPanelRejilla*> paneles;
  bool repartoAutomatico = true;
};
