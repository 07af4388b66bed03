#include "Simulador/comunes/TFormatoNumero.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

QLocale TFormatoNumero::local() {
  QLocale l;
  l.setNumberOptions(QLocale::OmitGroupSeparator | QLocale::RejectGroupSeparator);
  return l;
}

QChar TFormatoNumero::separadorDecimal() {
  const QString s = local().decimalPoint();
  return s.isEmpty() ? QLatin1Char('.') : s.front();
}

QString TFormatoNumero::fijo(float valor) {
  const QLocale l = local();
  const double d = valor;
  if (!std::isfinite(d)) return l.toString(d);
  // Primero se redondea a siete cifras significativas; las cifras decimales
  // que pasen de ahí salen como ceros, igual que en una calculadora de 7 dígitos.
  char texto[32];
  std::snprintf(texto, sizeof texto, "%.6e", d);
  const double redondeado = std::strtod(texto, nullptr);
  if (std::fabs(redondeado) >= 1e7) return l.toString(d, 'E', 6);
  if (redondeado == 0.0) return l.toString(0.0, 'f', 3);  // sin "-0,000"
  // Un negativo que redondea a cero se enseña sin signo.
  if (std::fabs(redondeado) < 0.0005) return l.toString(0.0, 'f', 3);
  return l.toString(redondeado, 'f', 3);
}

QString TFormatoNumero::general(float valor) { return local().toString(static_cast<double>(valor), 'g', 15); }

std::optional<int32_t> TFormatoNumero::entero(const QString& texto) {
  bool ok = false;
  const int v = local().toInt(texto.trimmed(), &ok);
  if (!ok) return std::nullopt;
  return static_cast<int32_t>(v);
}

std::optional<float> TFormatoNumero::real(const QString& texto) {
  bool ok = false;
  const float v = local().toFloat(texto.trimmed(), &ok);
  if (!ok || !std::isfinite(v)) return std::nullopt;
  return v;
}
