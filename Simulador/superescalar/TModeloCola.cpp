#include "Simulador/superescalar/TModeloCola.h"

#include "Simulador/comunes/TVistaInstruccion.h"
#include "superscalar/TMaquinaSuper.h"

namespace {
template <typename T>
const TInstruccion* enFila(const TCola<T>& c, int fila) {
  if (fila < 0 || c.tam <= 0 || fila >= c.numElementos()) return nullptr;
  const T* e = c.enOrden(fila);
  return e ? e->instruccion.get() : nullptr;
}
}  // namespace

TModeloCola::TModeloCola(const TMaquinaSuper& m, Cola c, QObject* padre)
    : TModeloEjecucion(padre), maquina(m), cola(c) {
  tomarForma();
}

int TModeloCola::filasActuales() const {
  return cola == Prefetch ? maquina.prefetch.capacidad() : maquina.decoder.capacidad();
}

const TInstruccion* TModeloCola::instruccion(int fila) const {
  return cola == Prefetch ? enFila(maquina.prefetch, fila) : enFila(maquina.decoder, fila);
}

QString TModeloCola::texto(int fila, int) const {
  const TInstruccion* ins = instruccion(fila);
  return ins ? QString::number(ins->direccion) : QString();
}

QString TModeloCola::pista(int fila, int) const {
  const TInstruccion* ins = instruccion(fila);
  return ins ? TVistaInstruccion::texto(maquina.codigo, ins->direccion) : QString();
}
