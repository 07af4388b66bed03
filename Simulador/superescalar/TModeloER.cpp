#include "Simulador/superescalar/TModeloER.h"

#include <algorithm>

#include "Simulador/comunes/TFormatoNumero.h"
#include "Simulador/comunes/TVistaInstruccion.h"
#include "superscalar/TMaquinaSuper.h"

namespace {
const char* const CABECERAS[TModeloER::NUM_COLUMNAS] = {"Inst.", "Qj", "Vj", "Qk", "Vk", "A", "ROB"};
}

TModeloER::TModeloER(const TMaquinaSuper& m, int t, QObject* padre)
    : TModeloEjecucion(padre), maquina(m), tipo(t) {
  tomarForma();
}

int TModeloER::capacidadConstruida(const TMaquinaSuper& m, int t) {
  if (t < 0 || t >= NUM_TIPOS_UF) return 0;
  const auto& unidades = m.uf[static_cast<size_t>(t)];
  if (unidades.empty()) return 0;
  return static_cast<int>(unidades.size()) * (unidades.front().latencia + 1);
}

int TModeloER::filasActuales() const {
  if (tipo < 0 || tipo >= NUM_TIPOS_UF) return 0;
  // Nunca menos filas que entradas, aunque la configuración haya cambiado.
  return std::max(capacidadConstruida(maquina, tipo), static_cast<int>(maquina.er[static_cast<size_t>(tipo)].size()));
}

const TEntradaER* TModeloER::entrada(int fila) const {
  if (tipo < 0 || tipo >= NUM_TIPOS_UF || fila < 0) return nullptr;
  const auto& estacion = maquina.er[static_cast<size_t>(tipo)];
  if (static_cast<size_t>(fila) >= estacion.size()) return nullptr;
  const TEntradaER& e = estacion[static_cast<size_t>(fila)];
  return e.instruccion ? &e : nullptr;
}

QString TModeloER::texto(int fila, int columna) const {
  const TEntradaER* e = entrada(fila);
  if (!e) return {};
  switch (columna) {
    case ColInst:
      return QString::number(e->instruccion->direccion);
    case ColQj:
      return QString::number(e->qj);
    case ColVj:
      return TFormatoNumero::general(e->vj);
    case ColQk:
      return QString::number(e->qk);
    case ColVk:
      return TFormatoNumero::general(e->vk);
    case ColA:
      return QString::number(e->a);
    case ColROB:
      return QString::number(e->tagROB);
    default:
      return {};
  }
}

QVariant TModeloER::fondo(int fila, int) const {
  const TEntradaER* e = entrada(fila);
  if (!e) return {};
  // El color es el de la instrucción de la entrada del ROB que nombra la fila.
  if (const TEntradaROB* r = maquina.rob.elemento(e->tagROB); r && r->instruccion)
    return TVistaInstruccion::fondo(r->instruccion->color);
  return TVistaInstruccion::fondo(e->instruccion->color);
}

QString TModeloER::pista(int fila, int columna) const {
  const TEntradaER* e = entrada(fila);
  if (!e) return {};
  switch (columna) {
    case ColQj:
    case ColVj:
      return e->qj == -1 ? QStringLiteral("Valor: ") + texto(fila, ColVj)
                         : QStringLiteral("Valor en ROB: ") + texto(fila, ColQj);
    case ColQk:
    case ColVk:
      return e->qk == -1 ? QStringLiteral("Valor: ") + texto(fila, ColVk)
                         : QStringLiteral("Valor en ROB: ") + texto(fila, ColQk);
    default:
      return TVistaInstruccion::texto(maquina.codigo, e->instruccion->direccion);
  }
}

QString TModeloER::pistaGeneral() const {
  const QString nombre =
      tipo >= 0 && tipo < NUM_TIPOS_UF ? QString::fromStdString(nombresTipoUF[static_cast<size_t>(tipo)]) : QString();
  return QStringLiteral("Estación de Reserva ") + nombre;
}

QString TModeloER::cabeceraHorizontal(int seccion) const {
  return seccion >= 0 && seccion < NUM_COLUMNAS ? QString::fromUtf8(CABECERAS[seccion]) : QString();
}
