#include "Simulador/superescalar/TModeloROB.h"

#include "Simulador/comunes/TFormatoNumero.h"
#include "Simulador/comunes/TVistaInstruccion.h"
#include "superscalar/TMaquinaSuper.h"

namespace {
const char* const CABECERAS[TModeloROB::NUM_COLUMNAS] = {"Inst.", "Destino", "Valor", "Direc.", "Etapa"};
}

TModeloROB::TModeloROB(const TMaquinaSuper& m, QObject* padre) : TModeloEjecucion(padre), maquina(m) {
  tomarForma();
}

int TModeloROB::filasActuales() const { return maquina.rob.capacidad(); }

TEntradaROB* TModeloROB::entrada(int fila) const {
  const auto& rob = maquina.rob;
  if (fila < 0 || rob.tam <= 0 || fila >= rob.numElementos()) return nullptr;
  return rob.enOrden(fila);
}

int TModeloROB::numero(int fila) const {
  const auto& rob = maquina.rob;
  const int vivas = rob.numElementos();
  if (fila < vivas) return rob.huecoEnOrden(fila);
  // Las filas vacías siguen al hueco posterior a la entrada más nueva (el
  // inicio si no hay ninguna, que es el mismo hueco), contadas módulo la capacidad.
  const int capacidad = rob.capacidad();
  if (capacidad <= 0) return fila;
  return (rob.fin + (fila - vivas)) % capacidad;
}

QString TModeloROB::texto(int fila, int columna) const {
  const TEntradaROB* e = entrada(fila);
  if (!e || !e->instruccion) return {};
  switch (columna) {
    case ColInst:
      return QString::number(e->instruccion->direccion);
    case ColDestino:
      return QString::number(e->destino);
    case ColValor:
      return TFormatoNumero::general(e->valor);
    case ColDirec:
      return QString::number(e->dirMem);
    case ColEtapa:
      return e->etapa < nombresEtapa.size() ? QString::fromStdString(nombresEtapa[e->etapa]) : QString();
    default:
      return {};
  }
}

QVariant TModeloROB::fondo(int fila, int) const {
  const TEntradaROB* e = entrada(fila);
  return e && e->instruccion ? TVistaInstruccion::fondo(e->instruccion->color) : QVariant();
}

QString TModeloROB::pista(int fila, int) const {
  const TEntradaROB* e = entrada(fila);
  return e && e->instruccion ? TVistaInstruccion::texto(maquina.codigo, e->instruccion->direccion) : QString();
}

QString TModeloROB::cabeceraHorizontal(int seccion) const {
  return seccion >= 0 && seccion < NUM_COLUMNAS ? QString::fromUtf8(CABECERAS[seccion]) : QString();
}

QString TModeloROB::cabeceraVertical(int seccion) const { return QString::number(numero(seccion)); }
