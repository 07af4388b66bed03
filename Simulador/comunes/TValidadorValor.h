#pragma once
// Caracteres que admite el editor de valores, también en lo que se pega (que
// no pasa por el filtro de teclas): cifras, "+" y "-"; en los reales además un
// separador decimal y una "E" (una "e" se pasa a mayúscula).

#include <QValidator>

class TValidadorValor : public QValidator {
  Q_OBJECT
public:
  TValidadorValor(bool real, QObject* padre = nullptr);

  State validate(QString& texto, int& posicion) const override;

private:
  const bool real;
};
