#pragma once
// Barra de buscar y reemplazar del editor de código, bajo el texto. No abre
// ningún diálogo: lo que no se encuentra se dice en la propia barra.

#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

class TBarraBuscar : public QWidget {
  Q_OBJECT
public:
  explicit TBarraBuscar(QPlainTextEdit& editor, QWidget* padre = nullptr);

  // Se muestra con el texto seleccionado (si es de una línea) para buscar; con
  // «reemplazar», también la fila de reemplazo.
  void mostrar(bool reemplazar);
  void ocultar();

  // Siguiente (o anterior) aparición desde el cursor, dando la vuelta al
  // texto; la deja seleccionada. false si no hay ninguna.
  bool buscar(bool haciaAtras = false);
  // Si la selección es lo buscado, la sustituye; después busca la siguiente.
  bool reemplazar();
  // Todas las apariciones, en un solo paso de deshacer. Devuelve cuántas.
  int reemplazarTodo();

  QPlainTextEdit& editor;
  QLineEdit* txtBuscar;
  QLineEdit* txtReemplazar;
  QCheckBox* chkMayusculas;
  QPushButton* butSiguiente;
  QPushButton* butAnterior;
  QPushButton* butReemplazar;
  QPushButton* butReemplazarTodo;
  QPushButton* butCerrar;
  QLabel* labAviso;

protected:
  bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
  bool seleccionEsBuscado() const;
  void avisar(const QString& texto);

  QWidget* filaReemplazar;
  QLabel* labReemplazar;
};
