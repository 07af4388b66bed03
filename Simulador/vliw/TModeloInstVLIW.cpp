#include "Simulador/vliw/TModeloInstVLIW.h"

#include <QColor>
#include <algorithm>

#include "vliw/TCodigoVLIW.h"

TModeloInstVLIW::TModeloInstVLIW(QObject* padre) : QAbstractTableModel(padre) {}

TModeloInstVLIW::~TModeloInstVLIW() = default;

// ---------------------------------------------------------------- columnas

void TModeloInstVLIW::crearColumnas(const std::array<int32_t, NUM_TIPOS_UF>& numUF) {
  beginResetModel();
  columnas.clear();
  for (int t = 0; t < NUM_TIPOS_UF; ++t)
    for (int32_t k = 0; k < numUF[static_cast<size_t>(t)]; ++k) columnas.push_back({static_cast<int8_t>(t), k});
  for (TFila& f : filas) {
    f.celdas.clear();
    f.celdas.resize(columnas.size());
  }
  endResetModel();
}

int TModeloInstVLIW::columnaDe(int32_t numUnidad, int tipoUF) const {
  for (size_t c = 0; c < columnas.size(); ++c)
    if (columnas[c].unidad == numUnidad && columnas[c].tipo == tipoUF) return static_cast<int>(c);
  return -1;
}

int TModeloInstVLIW::tipoDeColumna(int columna) const {
  return columna >= 0 && columna < numColumnas() ? columnas[static_cast<size_t>(columna)].tipo : -1;
}

int TModeloInstVLIW::unidadDeColumna(int columna) const {
  return columna >= 0 && columna < numColumnas() ? columnas[static_cast<size_t>(columna)].unidad : -1;
}

QString TModeloInstVLIW::titulo(int columna) const {
  const int tipo = tipoDeColumna(columna);
  if (tipo < 0) return {};
  return QString::fromStdString(nombresTipoUF[static_cast<size_t>(tipo)]) + QLatin1Char(' ') +
         QString::number(unidadDeColumna(columna));
}

// ---------------------------------------------------------------- filas

TModeloInstVLIW::TFila TModeloInstVLIW::filaNueva() const {
  TFila f;
  f.celdas.resize(columnas.size());
  return f;
}

void TModeloInstVLIW::cargar(const TCodigoVLIW& programa) {
  beginResetModel();
  filas.clear();
  for (int32_t i = 0; i < programa.numInstrucciones; ++i) {
    const TInstruccionLarga* larga = programa.instruccion(i);
    TFila f = filaNueva();
    if (larga != nullptr) {
      f.marca = larga->breakpoint;
      for (const auto& op : larga->operaciones) {
        if (!op) continue;
        const int c = columnaDe(op->numUnidad, op->tipoUF);
        if (c >= 0) f.celdas[static_cast<size_t>(c)] = std::make_unique<TOperacionVLIW>(*op);
      }
    }
    filas.push_back(std::move(f));
  }
  endResetModel();
}

void TModeloInstVLIW::vaciar(int n) {
  beginResetModel();
  filas.clear();
  for (int i = 0; i < n; ++i) filas.push_back(filaNueva());
  endResetModel();
}

void TModeloInstVLIW::anadirFilas(int n) {
  if (n <= 0) return;
  beginInsertRows(QModelIndex(), numFilas(), numFilas() + n - 1);
  for (int i = 0; i < n; ++i) filas.push_back(filaNueva());
  endInsertRows();
}

void TModeloInstVLIW::eliminarFila(int fila) {
  if (fila < 0 || fila >= numFilas()) return;
  if (numFilas() == 1) {
    filas[0] = filaNueva();
    emit headerDataChanged(Qt::Vertical, 0, 0);
    emit dataChanged(index(0, 0), index(0, std::max(0, numColumnas() - 1)));
    return;
  }
  beginRemoveRows(QModelIndex(), fila, fila);
  filas.erase(filas.begin() + fila);
  endRemoveRows();
  // Los números de las filas de debajo cambian.
  emit headerDataChanged(Qt::Vertical, fila, numFilas() - 1);
}

void TModeloInstVLIW::limpiar() {
  beginResetModel();
  for (TFila& f : filas) f = filaNueva();
  endResetModel();
}

bool TModeloInstVLIW::moverFila(int desde, int hasta) {
  if (desde < 0 || desde >= numFilas() || hasta < 0 || hasta >= numFilas() || desde == hasta) return false;
  // Qt pide el destino como «antes de qué fila» contando la que se mueve.
  const int destino = hasta > desde ? hasta + 1 : hasta;
  if (!beginMoveRows(QModelIndex(), desde, desde, QModelIndex(), destino)) return false;
  TFila f = std::move(filas[static_cast<size_t>(desde)]);
  filas.erase(filas.begin() + desde);
  filas.insert(filas.begin() + hasta, std::move(f));
  endMoveRows();
  emit headerDataChanged(Qt::Vertical, std::min(desde, hasta), std::max(desde, hasta));
  return true;
}

void TModeloInstVLIW::recortar() {
  int n = numFilas();
  while (n > 1 && filaVacia(n - 1)) --n;
  if (n == numFilas()) return;
  beginRemoveRows(QModelIndex(), n, numFilas() - 1);
  filas.resize(static_cast<size_t>(n));
  endRemoveRows();
}

bool TModeloInstVLIW::filaVacia(int fila) const {
  if (fila < 0 || fila >= numFilas()) return true;
  for (const auto& op : filas[static_cast<size_t>(fila)].celdas)
    if (op) return false;
  return true;
}

bool TModeloInstVLIW::hayOperaciones() const {
  for (int f = 0; f < numFilas(); ++f)
    if (!filaVacia(f)) return true;
  return false;
}

// ---------------------------------------------------------------- celdas

bool TModeloInstVLIW::celdaValida(int fila, int columna) const {
  return fila >= 0 && fila < numFilas() && columna >= 0 && columna < numColumnas();
}

const TOperacionVLIW* TModeloInstVLIW::operacion(int fila, int columna) const {
  if (!celdaValida(fila, columna)) return nullptr;
  return filas[static_cast<size_t>(fila)].celdas[static_cast<size_t>(columna)].get();
}

TOperacionVLIW* TModeloInstVLIW::operacion(int fila, int columna) {
  if (!celdaValida(fila, columna)) return nullptr;
  return filas[static_cast<size_t>(fila)].celdas[static_cast<size_t>(columna)].get();
}

void TModeloInstVLIW::ponerOperacion(int fila, int columna, std::unique_ptr<TOperacionVLIW> op) {
  if (!celdaValida(fila, columna)) return;
  filas[static_cast<size_t>(fila)].celdas[static_cast<size_t>(columna)] = std::move(op);
  celdaCambiada(fila, columna);
}

bool TModeloInstVLIW::quitarOperacion(int fila, int columna) {
  if (!celdaValida(fila, columna)) return false;
  auto& celda = filas[static_cast<size_t>(fila)].celdas[static_cast<size_t>(columna)];
  if (!celda) return false;
  celda.reset();
  celdaCambiada(fila, columna);
  return true;
}

bool TModeloInstVLIW::marca(int fila) const {
  return fila >= 0 && fila < numFilas() && filas[static_cast<size_t>(fila)].marca;
}

void TModeloInstVLIW::ponerMarca(int fila, bool valor) {
  if (fila < 0 || fila >= numFilas()) return;
  filas[static_cast<size_t>(fila)].marca = valor;
  emit headerDataChanged(Qt::Vertical, fila, fila);
}

void TModeloInstVLIW::celdaCambiada(int fila, int columna) {
  const QModelIndex i = index(fila, columna);
  emit dataChanged(i, i);
}

void TModeloInstVLIW::repintar() {
  if (numFilas() > 0 && numColumnas() > 0) emit dataChanged(index(0, 0), index(numFilas() - 1, numColumnas() - 1));
  if (numFilas() > 0) emit headerDataChanged(Qt::Vertical, 0, numFilas() - 1);
}

void TModeloInstVLIW::construirPrograma(TCodigoVLIW& programa) const {
  programa.crear(numFilas());
  for (int f = 0; f < numFilas(); ++f) {
    TInstruccionLarga& larga = *programa.instruccion(f);
    larga.breakpoint = filas[static_cast<size_t>(f)].marca;
    for (const auto& op : filas[static_cast<size_t>(f)].celdas)
      if (op) larga.anadir(std::make_unique<TOperacionVLIW>(*op));
  }
}

// ---------------------------------------------------------------- QAbstractTableModel

int TModeloInstVLIW::rowCount(const QModelIndex& padre) const { return padre.isValid() ? 0 : numFilas(); }

int TModeloInstVLIW::columnCount(const QModelIndex& padre) const { return padre.isValid() ? 0 : numColumnas(); }

QVariant TModeloInstVLIW::data(const QModelIndex& indice, int rol) const {
  if (!indice.isValid()) return {};
  const TOperacionVLIW* op = operacion(indice.row(), indice.column());
  switch (rol) {
    case Qt::DisplayRole:
      return op ? QVariant(QString::number(op->direccion)) : QVariant(QString());
    case Qt::TextAlignmentRole:
      return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
    case RolBloque:
      return op ? QVariant(op->bloque) : QVariant();
    default:
      return {};
  }
}

QVariant TModeloInstVLIW::headerData(int seccion, Qt::Orientation orientacion, int rol) const {
  if (orientacion == Qt::Horizontal) {
    if (seccion < 0 || seccion >= numColumnas()) return {};
    if (rol == Qt::DisplayRole) return titulo(seccion);
    return {};
  }
  if (seccion < 0 || seccion >= numFilas()) return {};
  switch (rol) {
    case Qt::DisplayRole:
      return QString::number(seccion);
    case Qt::TextAlignmentRole:
      return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
    case Qt::BackgroundRole:
      return marca(seccion) ? QVariant(QColor(255, 0, 0)) : QVariant();
    default:
      return {};
  }
}

Qt::ItemFlags TModeloInstVLIW::flags(const QModelIndex& indice) const {
  if (!indice.isValid()) return Qt::NoItemFlags;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}
