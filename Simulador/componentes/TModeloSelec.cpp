#include "Simulador/componentes/TModeloSelec.h"

#include <QBrush>
#include <QGuiApplication>
#include <QPalette>
#include <utility>

TModeloSelec::TModeloSelec(TTexto n, TTexto v, QObject* padre)
    : QAbstractTableModel(padre), nombre(std::move(n)), valor(std::move(v)) {}

void TModeloSelec::asignar(std::vector<int32_t> indices) {
  beginResetModel();
  filas = std::move(indices);
  ediciones.assign(filas.size(), std::nullopt);
  endResetModel();
}

void TModeloSelec::refrescar() {
  ediciones.assign(filas.size(), std::nullopt);
  if (!filas.empty()) emit dataChanged(index(0, 0), index(rowCount() - 1, 0));
}

int32_t TModeloSelec::indice(int fila) const {
  return fila >= 0 && static_cast<size_t>(fila) < filas.size() ? filas[static_cast<size_t>(fila)] : -1;
}

bool TModeloSelec::editada(int fila) const {
  return fila >= 0 && static_cast<size_t>(fila) < ediciones.size() && ediciones[static_cast<size_t>(fila)].has_value();
}

QString TModeloSelec::textoFila(int fila) const {
  if (fila < 0 || static_cast<size_t>(fila) >= filas.size()) return {};
  if (const auto& e = ediciones[static_cast<size_t>(fila)]) return *e;
  return valor(filas[static_cast<size_t>(fila)]);
}

void TModeloSelec::editar(int fila, const QString& texto) {
  if (fila < 0 || static_cast<size_t>(fila) >= filas.size()) return;
  ediciones[static_cast<size_t>(fila)] = texto;
  emit dataChanged(index(fila, 0), index(fila, 0));
}

int TModeloSelec::rowCount(const QModelIndex& padre) const {
  return padre.isValid() ? 0 : static_cast<int>(filas.size());
}

int TModeloSelec::columnCount(const QModelIndex& padre) const { return padre.isValid() ? 0 : 1; }

QVariant TModeloSelec::data(const QModelIndex& i, int rol) const {
  if (!i.isValid() || i.column() != 0) return {};
  if (rol == Qt::DisplayRole || rol == Qt::EditRole) return textoFila(i.row());
  if (rol == Qt::TextAlignmentRole) return QVariant::fromValue(alineacion);
  if ((rol == Qt::ForegroundRole || rol == Qt::ToolTipRole) && apagado && apagado(indice(i.row()))) {
    if (rol == Qt::ToolTipRole) return pistaApagado;
    return QBrush(QGuiApplication::palette().color(QPalette::Disabled, QPalette::Text));
  }
  return {};
}

bool TModeloSelec::setData(const QModelIndex& i, const QVariant& v, int rol) {
  if (!i.isValid() || rol != Qt::EditRole || !editable) return false;
  if (v.toString() == textoFila(i.row()) && !editada(i.row())) return true;
  editar(i.row(), v.toString());
  return true;
}

QVariant TModeloSelec::headerData(int seccion, Qt::Orientation orientacion, int rol) const {
  if (orientacion != Qt::Vertical || seccion < 0 || static_cast<size_t>(seccion) >= filas.size()) return {};
  if (rol == Qt::DisplayRole) return nombre(filas[static_cast<size_t>(seccion)]);
  if (rol == Qt::TextAlignmentRole) return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
  return {};
}

Qt::ItemFlags TModeloSelec::flags(const QModelIndex& i) const {
  if (!i.isValid()) return Qt::NoItemFlags;
  Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  if (editable) f |= Qt::ItemIsEditable;
  return f;
}
