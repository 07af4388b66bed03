#pragma once
// Casilla numérica que solo admite dígitos (y borrar). Un texto vacío vale
// «valorVacio» (por defecto el mínimo), un número por encima del máximo vale el
// máximo, también cuando no cabe en un entero, y se cambia por él en cuanto se
// teclea. El resto del texto (vacío, ceros a la izquierda, por debajo del
// mínimo mientras se escribe) se normaliza al terminar la edición; el valor lo
// sigue en cada pulsación.

#include <QSpinBox>
#include <optional>

class TSpinNumero : public QSpinBox {
  Q_OBJECT
public:
  explicit TSpinNumero(QWidget* padre = nullptr);

  void setValorVacio(int valor) { valorVacio = valor; }
  QLineEdit* editor() const { return lineEdit(); }

protected:
  QValidator::State validate(QString& texto, int& pos) const override;
  int valueFromText(const QString& texto) const override;

private:
  std::optional<int> valorVacio;
};
