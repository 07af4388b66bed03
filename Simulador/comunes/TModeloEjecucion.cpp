#include "Simulador/comunes/TModeloEjecucion.h"

#include <algorithm>

TModeloEjecucion::TModeloEjecucion(QObject* padre) : QAbstractTableModel(padre) {}

void TModeloEjecucion::tomarForma() {
  beginResetModel();
  filas = std::max(0, filasActuales());
  columnas = std::max(0, columnasActuales());
  endResetModel();
}

void TModeloEjecucion::refrescar() {
  const int f = std::max(0, filasActuales());
  const int c = std::max(0, columnasActuales());
  if (f != filas || c != columnas) {
    beginResetModel();
    filas = f;
    columnas = c;
    endResetModel();
    return;
  }
  if (filas == 0 || columnas == 0) return;
  emit dataChanged(index(0, 0), index(filas - 1, columnas - 1));
  if (cabeceraVerticalVariable()) emit headerDataChanged(Qt::Vertical, 0, filas - 1);
}

int TModeloEjecucion::rowCount(const QModelIndex& padre) const { return padre.isValid() ? 0 : filas; }
int TModeloEjecucion::columnCount(const QModelIndex& padre) const { return padre.isValid() ? 0 : columnas; }

QVariant TModeloEjecucion::data(const QModelIndex& indice, int rol) const {
  if (!indice.isValid() || indice.row() >= filas || indice.column() >= columnas) return {};
  switch (rol) {
    case Qt::DisplayRole:
      return texto(indice.row(), indice.column());
    case Qt::BackgroundRole:
      return fondo(indice.row(), indice.column());
    case Qt::ToolTipRole:
    case Qt::StatusTipRole:
      return pista(indice.row(), indice.column());
    case Qt::TextAlignmentRole:
      return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
    case RolVacia:
      return filaVacia(indice.row());
    default:
      return {};
  }
}

QVariant TModeloEjecucion::headerData(int seccion, Qt::Orientation orientacion, int rol) const {
  if (seccion < 0) return {};
  if (orientacion == Qt::Horizontal) {
    if (seccion >= columnas) return {};
    if (rol == Qt::DisplayRole) return cabeceraHorizontal(seccion);
    if (rol == Qt::ToolTipRole || rol == Qt::StatusTipRole) return pistaGeneral();
  } else {
    if (seccion >= filas) return {};
    if (rol == Qt::DisplayRole) return cabeceraVertical(seccion);
    if (rol == Qt::ToolTipRole || rol == Qt::StatusTipRole) return pistaVertical(seccion);
  }
  if (rol == Qt::TextAlignmentRole) return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
  return {};
}

Qt::ItemFlags TModeloEjecucion::flags(const QModelIndex& indice) const {
  if (!indice.isValid()) return Qt::NoItemFlags;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}
