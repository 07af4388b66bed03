#include "Simulador/comunes/TVistaInstruccion.h"

#include "loader/TCodigo.h"

QColor TVistaInstruccion::aQColor(TColor color) { return QColor::fromRgba(static_cast<QRgb>(color)); }

TColor TVistaInstruccion::deQColor(const QColor& color) {
  return colorRGB(color.red(), color.green(), color.blue());
}

QVariant TVistaInstruccion::fondo(TColor color) {
  if (color == COLOR_POR_DEFECTO || (color >> 24) == 0) return {};
  return aQColor(color);
}

QString TVistaInstruccion::texto(const TCodigo* codigo, int64_t n) {
  if (!codigo || !codigo->indiceValido(n) || static_cast<size_t>(n) >= codigo->instrucciones.size()) return {};
  return QString::fromStdString(codigo->instrucciones[static_cast<size_t>(n)].texto());
}
