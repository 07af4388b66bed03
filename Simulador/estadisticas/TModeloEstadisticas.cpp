#include "Simulador/estadisticas/TModeloEstadisticas.h"

TModeloEstadisticas::TModeloEstadisticas(QObject* padre) : QAbstractTableModel(padre) {}

void TModeloEstadisticas::actualizar(const TResumenEstadisticas& resumen) {
  std::vector<TFilaEstadistica> nuevas = TInformeEstadisticas::filas(resumen);
  // Las mismas filas (lo normal de un ciclo al siguiente): solo cambian valores.
  bool mismas = nuevas.size() == datos.size();
  for (size_t i = 0; mismas && i < nuevas.size(); ++i) mismas = nuevas[i].nombre == datos[i].nombre;
  if (!mismas) {
    beginResetModel();
    datos = std::move(nuevas);
    endResetModel();
    return;
  }
  datos = std::move(nuevas);
  if (!datos.empty()) emit dataChanged(index(0, 1), index(rowCount() - 1, 1), {Qt::DisplayRole});
}

int TModeloEstadisticas::rowCount(const QModelIndex& padre) const {
  return padre.isValid() ? 0 : static_cast<int>(datos.size());
}

int TModeloEstadisticas::columnCount(const QModelIndex& padre) const { return padre.isValid() ? 0 : 2; }

QVariant TModeloEstadisticas::data(const QModelIndex& indice, int rol) const {
  if (!indice.isValid() || indice.row() >= rowCount()) return {};
  const TFilaEstadistica& f = datos[static_cast<size_t>(indice.row())];
  if (rol == Qt::DisplayRole)
    return indice.column() == 0 ? QString::fromStdString(f.nombre)
                                : QString::fromStdString(TInformeEstadisticas::valorTexto(f, ','));
  if (rol == Qt::TextAlignmentRole && indice.column() == 1)
    return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
  return {};
}

QVariant TModeloEstadisticas::headerData(int seccion, Qt::Orientation orientacion, int rol) const {
  if (rol != Qt::DisplayRole || orientacion != Qt::Horizontal) return {};
  return seccion == 0 ? QStringLiteral("Magnitud") : QStringLiteral("Valor");
}
