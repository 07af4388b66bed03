#include "Simulador/superescalar/TModeloPrediccion.h"

#include "superscalar/TMaquinaSuper.h"

TModeloPrediccion::TModeloPrediccion(const TMaquinaSuper& m, QObject* padre) : TModeloEjecucion(padre), maquina(m) {
  tomarForma();
}

int TModeloPrediccion::filasActuales() const { return static_cast<int>(maquina.prediccion.size()); }

QString TModeloPrediccion::texto(int fila, int) const {
  if (fila < 0 || static_cast<size_t>(fila) >= maquina.prediccion.size()) return {};
  const int32_t estado = maquina.prediccion[static_cast<size_t>(fila)];
  // Un estado fuera de 0 … 3 se enseña como el inicial.
  const size_t i = estado >= 0 && estado < 4 ? static_cast<size_t>(estado) : 0;
  return QString::fromStdString(nombresPrediccion[i]);
}
