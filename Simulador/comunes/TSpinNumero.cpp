#include "Simulador/comunes/TSpinNumero.h"

TSpinNumero::TSpinNumero(QWidget* padre) : QSpinBox(padre) {}

QValidator::State TSpinNumero::validate(QString& texto, int& posicion) const {
  for (const QChar c : texto)
    if (!c.isDigit() || c.unicode() > '9') return QValidator::Invalid;
  // Por encima del máximo se ve el máximo en cuanto se teclea, no al salir:
  // el texto que da el validador es el que queda en la casilla.
  if (!texto.isEmpty() && valueFromText(texto) == maximum() && texto != QString::number(maximum())) {
    texto = QString::number(maximum());
    posicion = static_cast<int>(texto.size());
  }
  return QValidator::Acceptable;
}

int TSpinNumero::valueFromText(const QString& texto) const {
  if (texto.isEmpty()) return valorVacio.value_or(minimum());
  bool ok = false;
  const qlonglong n = texto.toLongLong(&ok);
  // Solo hay dígitos: si no se pudo leer es porque no cabe, y eso es «por encima».
  if (!ok || n > maximum()) return maximum();
  if (n < minimum()) return minimum();
  return static_cast<int>(n);
}
