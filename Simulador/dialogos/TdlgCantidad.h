#pragma once
// Pide un número entero dentro de un intervalo: % de fallos de caché, filas que
// añadir al editor VLIW, registro de predicado.

#include <QDialog>

class QLabel;
class QPushButton;
class TSpinNumero;

class TdlgCantidad : public QDialog {
  Q_OBJECT
public:
  explicit TdlgCantidad(QWidget* padre = nullptr);

  // Prepara título, texto, intervalo y valor (llevado al límite más cercano si
  // cae fuera) sin mostrar el diálogo.
  void preparar(const QString& titulo, const QString& texto, int valor, int minimo, int maximo);
  // preparar y mostrar modal: 1 «&Aceptar», 2 en otro caso. Solo lo llama el
  // servicio de diálogos real; las ventanas piden a TServicioDialogos.
  int preguntar(const QString& titulo, const QString& texto, int valor, int minimo, int maximo);

  QLabel* labMensaje;
  TSpinNumero* spiCantidad;
  QPushButton* butAceptar;
  QPushButton* butCancelar;
};
