#pragma once
// Rejilla de un TfrmSelec. Cuando es editable, la celda actual tiene siempre
// su editor abierto, y antes de dejarla (ratón, teclado o Intro) pregunta a
// «puedeSalir», que rechaza el cambio si el texto no convierte.

#include <QTableView>
#include <functional>

class TDelegadoSelec;

class TRejillaSelec : public QTableView {
  Q_OBJECT
public:
  explicit TRejillaSelec(QWidget* padre = nullptr);

  void setEditable(bool e);
  bool editable() const { return esEditable; }
  TDelegadoSelec* delegado() const { return delegadoSelec; }

  // Se consulta antes de que la celda actual cambie; false la deja donde está.
  std::function<bool()> puedeSalir;

  // Pasa a la fila dada si se puede salir de la actual; true si está allí.
  bool irAFila(int fila);
  // Pasa a la fila sin preguntar (p. ej. para señalar una celda errónea).
  void ponerEnFila(int fila);
  // El editor abierto vuelve a leer su texto del modelo.
  void recargarEditor();
  QWidget* editorActual() const;
  int altoFila() const;

protected:
  void currentChanged(const QModelIndex& actual, const QModelIndex& anterior) override;
  QModelIndex moveCursor(CursorAction accion, Qt::KeyboardModifiers modificadores) override;
  void mousePressEvent(QMouseEvent* evento) override;
  void mouseDoubleClickEvent(QMouseEvent* evento) override;
  void updateGeometries() override;

private:
  bool permitirSalida(const QModelIndex& destino);
  void abrirEditor(const QModelIndex& indice);

  TDelegadoSelec* delegadoSelec;
  bool esEditable = false;
  bool sinPreguntar = false;
};
