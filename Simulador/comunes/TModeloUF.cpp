#include "Simulador/comunes/TModeloUF.h"

#include <algorithm>
#include <utility>

#include "Simulador/comunes/TVistaInstruccion.h"
#include "machine/TUnidadFuncional.h"

TModeloUF::TModeloUF(TAcceso acceso, int t, QObject* padre)
    : TModeloEjecucion(padre), unidades(std::move(acceso)), tipo(t) {
  tomarForma();
}

int TModeloUF::filasActuales() const {
  int etapas = 0;
  for (const TUnidadFuncional& u : unidades()) etapas = std::max(etapas, u.latencia);
  return etapas;
}

int TModeloUF::columnasActuales() const { return static_cast<int>(unidades().size()); }

const TInstruccion* TModeloUF::instruccion(int fila, int columna) const {
  const auto& us = unidades();
  if (columna < 0 || static_cast<size_t>(columna) >= us.size() || fila < 0) return nullptr;
  const TUnidadFuncional& u = us[static_cast<size_t>(columna)];
  if (fila >= u.latencia || u.latencia <= 0 || static_cast<size_t>(u.latencia) != u.etapas.size()) return nullptr;
  // La fila r (desde 0) es la etapa (salida + r + 1) mod latencia: la de entrada arriba.
  const int etapa = ((u.salida + fila + 1) % u.latencia + u.latencia) % u.latencia;
  return u.etapas[static_cast<size_t>(etapa)];
}

QString TModeloUF::texto(int fila, int columna) const {
  const TInstruccion* ins = instruccion(fila, columna);
  return ins ? QString::number(ins->direccion) : QString();
}

QVariant TModeloUF::fondo(int fila, int columna) const {
  const TInstruccion* ins = instruccion(fila, columna);
  return ins ? TVistaInstruccion::fondo(ins->color) : QVariant();
}

QString TModeloUF::pista(int fila, int columna) const {
  const TInstruccion* ins = instruccion(fila, columna);
  return ins ? QString::fromStdString(ins->texto()) : QString();
}

QString TModeloUF::pistaGeneral() const {
  const auto& us = unidades();
  const int t = us.empty() ? tipo : us.front().tipo;
  const QString nombre = t >= 0 && t < NUM_TIPOS_UF ? QString::fromStdString(nombresTipoUF[static_cast<size_t>(t)]) : QString();
  return QStringLiteral("Unidad Funcional ") + nombre;
}

QString TModeloUF::cabeceraHorizontal(int seccion) const { return QStringLiteral("#%1").arg(seccion); }
