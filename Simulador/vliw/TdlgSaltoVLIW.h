#pragma once
// Parámetros de un salto del editor VLIW: instrucción larga destino, registros
// de predicado que pone al resolverse y su propio predicado de guarda.

#include <QDialog>

class QLabel;
class QPushButton;
class TSpinNumero;

class TdlgSaltoVLIW : public QDialog {
  Q_OBJECT
public:
  explicit TdlgSaltoVLIW(QWidget* padre = nullptr);

  // Deja los valores de un salto ya colocado. El destino admite 0 … maximoDestino
  // y, además, el destino actual aunque caiga fuera: abrir y aceptar el diálogo
  // nunca cambia un destino leído de un fichero.
  void preparar(int destino, int maximoDestino, int predVerdadero, int predFalso, int predicado);
  // Valores de un salto recién soltado: destino 0, predicados 1 y 2, sin guarda.
  void prepararNuevo(int maximoDestino);

  QLabel* labDestino;
  QLabel* labPredTrue;
  QLabel* labPredFalse;
  QLabel* labPred;
  TSpinNumero* spiDestino;
  TSpinNumero* spiPredTrue;
  TSpinNumero* spiPredFalse;
  TSpinNumero* spiPred;
  QPushButton* butOk;
  QPushButton* butCancel;

protected:
  void showEvent(QShowEvent* evento) override;
};
