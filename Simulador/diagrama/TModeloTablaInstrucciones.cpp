#include "Simulador/diagrama/TModeloTablaInstrucciones.h"

#include <QBrush>
#include <QFont>
#include <algorithm>
#include <climits>

#include "Simulador/diagrama/TModeloDiagrama.h"

namespace {
QVariant ciclo(int32_t c) { return c < 0 ? QVariant() : QVariant(c); }
}  // namespace

TModeloTablaInstrucciones::TModeloTablaInstrucciones(const TRegistradorDiagrama& r, QObject* padre)
    : QAbstractTableModel(padre), reg(r) {
  if (reg.esVLIW())
    columnas = {QStringLiteral("Instrucción"), QStringLiteral("Emisión"), QStringLiteral("Ciclos de parada"),
                QStringLiteral("Final")};
  else
    columnas = {QStringLiteral("Instrucción"),     QStringLiteral("Emisión"),   QStringLiteral("Inicio ejecución"),
                QStringLiteral("Fin ejecución"),   QStringLiteral("Escritura"), QStringLiteral("Confirmación")};
  refrescar();
}

int TModeloTablaInstrucciones::rowCount(const QModelIndex& p) const { return p.isValid() ? 0 : filas; }
int TModeloTablaInstrucciones::columnCount(const QModelIndex& p) const {
  return p.isValid() ? 0 : static_cast<int>(columnas.size());
}

void TModeloTablaInstrucciones::refrescar() {
  beginResetModel();
  filas = static_cast<int>(std::clamp<int64_t>(reg.numFilasVista(), 0, INT_MAX / 2));
  leida = -1;
  endResetModel();
}

const TFilaTabla& TModeloTablaInstrucciones::filaTabla(int fila) const {
  if (fila != leida) {
    filaLeida = TTablaInstrucciones::fila(reg, fila);
    leida = fila;
  }
  return filaLeida;
}

QVariant TModeloTablaInstrucciones::data(const QModelIndex& i, int rol) const {
  if (!i.isValid() || i.row() >= filas) return {};
  const TFilaTabla& t = filaTabla(i.row());
  if (rol == Qt::ForegroundRole && t.anulada) return QBrush(TModeloDiagrama::COLOR_PERDIDA);
  if (rol == Qt::FontRole && (t.anulada || t.clase == filaLarga)) {
    QFont f;
    f.setStrikeOut(t.anulada);
    f.setBold(t.clase == filaLarga);
    return f;
  }
  if (rol == Qt::TextAlignmentRole)
    return QVariant::fromValue(i.column() == 0 ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignCenter);
  if (rol != Qt::DisplayRole) return {};
  if (i.column() == 0) {
    const QString texto = QString::fromStdString(t.texto);
    if (t.clase == filaLarga) return QStringLiteral("L%1: %2").arg(t.pc).arg(texto);
    if (t.clase == filaOperacion) return QStringLiteral("    %1: %2").arg(t.pc).arg(texto);
    return QStringLiteral("%1: %2").arg(t.pc).arg(texto);
  }
  if (reg.esVLIW()) {
    switch (i.column()) {
      case 1: return ciclo(t.emision);
      case 2: return t.emision < 0 && t.paradas == 0 ? QVariant() : QVariant(t.paradas);
      case 3:
        if (t.anulada) return QStringLiteral("%1 (descartada)").arg(t.final);
        return ciclo(t.final);
      default: return {};
    }
  }
  switch (i.column()) {
    case 1: return ciclo(t.emision);
    case 2: return ciclo(t.inicioEjecucion);
    case 3: return ciclo(t.finEjecucion);
    case 4: return ciclo(t.escritura);
    case 5:
      if (t.anulada) return QStringLiteral("anulada");
      return ciclo(t.confirmacion);
    default: return {};
  }
}

QVariant TModeloTablaInstrucciones::headerData(int s, Qt::Orientation o, int rol) const {
  if (rol != Qt::DisplayRole) return {};
  if (o == Qt::Horizontal) return s >= 0 && s < columnas.size() ? QVariant(columnas[s]) : QVariant();
  return s + 1;
}
