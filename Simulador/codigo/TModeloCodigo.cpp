#include "Simulador/codigo/TModeloCodigo.h"

#include <algorithm>

#include "loader/TCodigo.h"

namespace {
const char* const CABECERAS[TModeloCodigo::NUM_COLUMNAS] = {"Nº", "OPCODE", "OP1", "OP2", "OP3"};
}

TModeloCodigo::TModeloCodigo(QObject* padre) : QAbstractTableModel(padre) {}

void TModeloCodigo::asignar(const TCodigo* programa) {
  beginResetModel();
  codigo = programa;
  marcasEnVuelo = TMarcasEnVuelo();
  endResetModel();
}

void TModeloCodigo::ponerEnVuelo(const TMarcasEnVuelo& marcas) {
  if (marcas == marcasEnVuelo) return;
  int32_t primera = INT32_MAX, ultima = INT32_MIN, p = 0, u = 0;
  for (const TMarcasEnVuelo* m : {static_cast<const TMarcasEnVuelo*>(&marcasEnVuelo), &marcas})
    if (m->extension(p, u)) {
      primera = std::min(primera, p);
      ultima = std::max(ultima, u);
    }
  marcasEnVuelo = marcas;
  primera = std::max(primera, 0);
  ultima = std::min(ultima, rowCount() - 1);
  if (primera <= ultima) emit dataChanged(index(primera, 0), index(ultima, NUM_COLUMNAS - 1), {RolEnVuelo});
}

void TModeloCodigo::refrescar() {
  if (rowCount() > 0) emit dataChanged(index(0, 0), index(rowCount() - 1, NUM_COLUMNAS - 1));
}

int TModeloCodigo::rowCount(const QModelIndex& padre) const {
  return padre.isValid() || !codigo ? 0 : codigo->numInstrucciones;
}

int TModeloCodigo::columnCount(const QModelIndex& padre) const { return padre.isValid() ? 0 : NUM_COLUMNAS; }

QVariant TModeloCodigo::data(const QModelIndex& indice, int rol) const {
  if (!codigo || !indice.isValid() || !codigo->indiceValido(indice.row())) return {};
  const TInstruccion& ins = codigo->instrucciones[static_cast<size_t>(indice.row())];
  switch (rol) {
    case Qt::DisplayRole:
      if (indice.column() == 0) {
        QString texto = QString::number(indice.row());
        if (!ins.etiqueta.empty())
          texto += QStringLiteral(" [") + QString::fromStdString(ins.etiqueta) + QLatin1Char(']');
        return texto;
      }
      if (indice.column() == 1) return QString::fromStdString(ins.textoCodOp);
      return QString::fromStdString(ins.textoOp[indice.column() - 2]);
    case Qt::TextAlignmentRole:
      return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
    case RolBloque:
      return ins.bloque;
    case RolBreakpoint:
      return ins.breakpoint;
    case RolEtiqueta:
      return QString::fromStdString(ins.etiqueta);
    case RolEnVuelo:
      return int(marcasEnVuelo.marca(indice.row()));
    default:
      return {};
  }
}

QVariant TModeloCodigo::headerData(int seccion, Qt::Orientation orientacion, int rol) const {
  if (orientacion != Qt::Horizontal || seccion < 0 || seccion >= NUM_COLUMNAS) return {};
  if (rol == Qt::DisplayRole) return QString::fromUtf8(CABECERAS[seccion]);
  if (rol == Qt::TextAlignmentRole) return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
  return {};
}

Qt::ItemFlags TModeloCodigo::flags(const QModelIndex& indice) const {
  if (!indice.isValid()) return Qt::NoItemFlags;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}
