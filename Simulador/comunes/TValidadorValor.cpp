#include "Simulador/comunes/TValidadorValor.h"

#include "Simulador/comunes/TFormatoNumero.h"

TValidadorValor::TValidadorValor(bool r, QObject* padre) : QValidator(padre), real(r) {}

QValidator::State TValidadorValor::validate(QString& texto, int&) const {
  const QChar separador = TFormatoNumero::separadorDecimal();
  int separadores = 0, exponentes = 0;
  for (QChar& c : texto) {
    if (c == QLatin1Char('e')) c = QLatin1Char('E');
    if (c.isDigit() && c.unicode() < 128) continue;
    if (c == QLatin1Char('+') || c == QLatin1Char('-')) continue;
    if (real && c == separador && ++separadores == 1) continue;
    if (real && c == QLatin1Char('E') && ++exponentes == 1) continue;
    return Invalid;
  }
  const bool convierte = real ? TFormatoNumero::real(texto).has_value() : TFormatoNumero::entero(texto).has_value();
  return convierte ? Acceptable : Intermediate;
}
