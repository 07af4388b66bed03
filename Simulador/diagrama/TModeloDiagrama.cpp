#include "Simulador/diagrama/TModeloDiagrama.h"

#include <QBrush>
#include <QFont>
#include <algorithm>
#include <climits>

#include "machine/TTipos.h"
#include "observation/TTextosDiagrama.h"

const QColor TModeloDiagrama::COLOR_PERDIDA = QColor(140, 140, 140);

namespace {
// Una vista no pasa de lo que cabe en un int (las filas guardadas están acotadas).
int acotar(int64_t n) { return static_cast<int>(std::clamp<int64_t>(n, 0, INT_MAX / 2)); }
}  // namespace

TModeloDiagrama::TModeloDiagrama(const TRegistradorDiagrama& r, QObject* padre) : QAbstractTableModel(padre), reg(r) {
  refrescar();
}

int TModeloDiagrama::rowCount(const QModelIndex& padre) const { return padre.isValid() ? 0 : filas; }
int TModeloDiagrama::columnCount(const QModelIndex& padre) const { return padre.isValid() ? 0 : columnas; }

void TModeloDiagrama::refrescar() {
  const int nuevasFilas = acotar(reg.numFilasVista());
  const int32_t nuevoPrimero = std::max(1, reg.primerCiclo());
  const int nuevasColumnas = acotar(static_cast<int64_t>(reg.ultimoCiclo()) - nuevoPrimero + 1);
  const int64_t filasFuera = reg.inicioVista() - inicioVista;
  const int64_t columnasFuera = static_cast<int64_t>(nuevoPrimero) - primerCiclo;
  filaLeida = -1;
  // Otra ejecución, o una vista que no continúa la anterior: modelo nuevo.
  if (reg.ejecucion() != ejecucionVista || filasFuera < 0 || filasFuera > filas || columnasFuera < 0 ||
      columnasFuera > columnas) {
    beginResetModel();
    filas = nuevasFilas;
    primerCiclo = nuevoPrimero;
    columnas = nuevasColumnas;
    inicioVista = reg.inicioVista();
    ejecucionVista = reg.ejecucion();
    primeraViva = inicioVista;
    endResetModel();
    return;
  }
  const int columnasAntes = columnas;
  // Por delante, las descartadas por antiguas; por detrás, las nuevas o las
  // que una vuelta atrás quitó. Lo que queda se repinta entero.
  if (filasFuera > 0) {
    beginRemoveRows(QModelIndex(), 0, static_cast<int>(filasFuera) - 1);
    filas -= static_cast<int>(filasFuera);
    inicioVista = reg.inicioVista();
    endRemoveRows();
  }
  // Una vuelta atrás puede reabrir filas terminadas: se repasan todas.
  const bool atras = nuevasFilas < filas || nuevasColumnas < columnas - static_cast<int>(columnasFuera);
  if (nuevasFilas < filas) {
    beginRemoveRows(QModelIndex(), nuevasFilas, filas - 1);
    filas = nuevasFilas;
    endRemoveRows();
  } else if (nuevasFilas > filas) {
    beginInsertRows(QModelIndex(), filas, nuevasFilas - 1);
    filas = nuevasFilas;
    endInsertRows();
  }
  if (columnasFuera > 0) {
    beginRemoveColumns(QModelIndex(), 0, static_cast<int>(columnasFuera) - 1);
    columnas -= static_cast<int>(columnasFuera);
    primerCiclo = nuevoPrimero;
    endRemoveColumns();
  }
  if (nuevasColumnas < columnas) {
    beginRemoveColumns(QModelIndex(), nuevasColumnas, columnas - 1);
    columnas = nuevasColumnas;
    endRemoveColumns();
  } else if (nuevasColumnas > columnas) {
    beginInsertColumns(QModelIndex(), columnas, nuevasColumnas - 1);
    columnas = nuevasColumnas;
    endInsertColumns();
  }
  filaLeida = -1;
  if (filas > 0 && columnas > 0) emit dataChanged(index(0, 0), index(filas - 1, columnas - 1));
  // Las cabeceras se avisan solo donde pueden cambiar (avisar de 100 000
  // secciones las recorre todas): las filas desde la primera que seguía en la
  // máquina, que solo avanza, y las columnas desde la del ciclo anterior.
  int64_t desde = atras ? 0 : std::max<int64_t>(0, primeraViva - inicioVista);
  while (desde < filas && !filaDiagrama(static_cast<int>(desde)).viva) ++desde;
  primeraViva = inicioVista + desde;
  if (desde < filas) emit headerDataChanged(Qt::Vertical, static_cast<int>(desde), filas - 1);
  const int desdeColumna = atras ? 0 : std::max(0, std::min(columnasAntes - static_cast<int>(columnasFuera), columnas) - 1);
  if (columnas > 0) emit headerDataChanged(Qt::Horizontal, desdeColumna, columnas - 1);
}

const TFilaDiagrama& TModeloDiagrama::filaDiagrama(int fila) const {
  // Entre dos notificaciones de un refresco la vista puede preguntar por una
  // fila que el registrador ya no tiene: una fila vacía, nunca fuera de rango.
  static const TFilaDiagrama vacia = [] {
    TFilaDiagrama f;
    f.viva = false;  // terminada y sin tramos: no se lee nada de ella
    return f;
  }();
  const TRegistradorDiagrama::TPosicion p = reg.enVista(fila);
  if (p.fila < 0 || p.fila >= reg.numFilas()) return vacia;
  return reg.deVista(p);
}

const std::vector<TTramoVisible>& TModeloDiagrama::tramosDe(int fila) const {
  if (fila != filaLeida) {
    const TFilaDiagrama& f = filaDiagrama(fila);
    tramosLeidos.clear();
    reg.recorrer(f, f.primero, reg.finDe(f), [&](const TTramoVisible& t) { tramosLeidos.push_back(t); });
    filaPerdida = !f.viva && !tramosLeidos.empty() && tramosLeidos.back().letra == LETRA_ANULADA;
    filaLeida = fila;
  }
  return tramosLeidos;
}

bool TModeloDiagrama::perdida(int fila) const {
  tramosDe(fila);
  return filaPerdida;
}

TModeloDiagrama::TCelda TModeloDiagrama::celda(int fila, int columna) const {
  TCelda c;
  if (fila < 0 || fila >= filas || columna < 0 || columna >= columnas) return c;
  const auto& t = tramosDe(fila);
  c.perdida = filaPerdida;
  const int32_t ciclo = cicloDeColumna(columna);
  const auto it = std::upper_bound(t.begin(), t.end(), ciclo,
                                   [](int32_t x, const TTramoVisible& v) { return x < v.desde; });
  if (it == t.begin()) return c;
  const TTramoVisible& v = *(it - 1);
  if (ciclo > v.hasta) return c;
  c.letra = v.letra;
  c.tramo = v;
  return c;
}

int32_t TModeloDiagrama::direccion(int fila) const { return filaDiagrama(fila).pc; }

QString TModeloDiagrama::textoFila(int fila) const {
  const TFilaDiagrama& f = filaDiagrama(fila);
  if (f.clase == filaOperacion) {
    const QString unidad = f.tipoUF >= 0 && f.tipoUF < NUM_TIPOS_UF
                               ? QString::fromStdString(nombresTipoUF[static_cast<size_t>(f.tipoUF)])
                               : QStringLiteral("?");
    return QStringLiteral("    %1 %2: %3").arg(unidad).arg(f.unidad).arg(QString::fromStdString(reg.texto(f.pc)));
  }
  if (f.clase == filaLarga)
    return QStringLiteral("L%1: %2").arg(f.pc).arg(f.numOps > 0 ? QString::fromStdString(reg.textoDe(f))
                                                                 : QStringLiteral("(vacía)"));
  return QStringLiteral("%1: %2").arg(f.pc).arg(QString::fromStdString(reg.textoDe(f)));
}

QString TModeloDiagrama::pista(int fila, int columna) const {
  const TCelda c = celda(fila, columna);
  if (c.letra == ' ') return QString();
  const TFilaDiagrama& f = filaDiagrama(fila);
  return QStringLiteral("%1\nCiclo %2: %3")
      .arg(textoFila(fila).trimmed())
      .arg(cicloDeColumna(columna))
      .arg(QString::fromStdString(TTextosDiagrama::pista(c.tramo, f.clase)));
}

bool TModeloDiagrama::esDeDireccion(int fila, int32_t d) const {
  if (d < 0) return false;
  const TFilaDiagrama& f = filaDiagrama(fila);
  if (f.clase != filaLarga) return f.pc == d;
  for (int32_t k = 0; k < f.numOps; ++k)
    if (reg.operacion(f, k).pc == d) return true;
  return false;
}

QVariant TModeloDiagrama::data(const QModelIndex& i, int rol) const {
  if (!i.isValid()) return {};
  switch (rol) {
    case Qt::DisplayRole: {
      const char l = celda(i.row(), i.column()).letra;
      return l == ' ' ? QVariant() : QVariant(QString(QChar::fromLatin1(l)));
    }
    case Qt::ToolTipRole:
      return pista(i.row(), i.column());
    case Qt::BackgroundRole: {
      const char l = celda(i.row(), i.column()).letra;
      if (l == ' ') return {};
      return QBrush(QColor::fromRgb(TTextosDiagrama::color(l)));
    }
    case Qt::ForegroundRole:
      return celda(i.row(), i.column()).perdida ? QVariant(QBrush(COLOR_PERDIDA)) : QVariant();
    case Qt::FontRole: {
      if (!celda(i.row(), i.column()).perdida) return {};
      QFont f;
      f.setStrikeOut(true);
      return f;
    }
    case Qt::TextAlignmentRole:
      return QVariant::fromValue(Qt::AlignCenter);
    default:
      return {};
  }
}

QVariant TModeloDiagrama::headerData(int s, Qt::Orientation o, int rol) const {
  if (o == Qt::Horizontal) {
    if (rol == Qt::DisplayRole) return cicloDeColumna(s);
    if (rol == Qt::ToolTipRole) return QStringLiteral("Ciclo %1: pulse para ir a él").arg(cicloDeColumna(s));
    if (rol == Qt::FontRole && cicloDeColumna(s) == cicloActual()) {
      QFont f;
      f.setBold(true);
      return f;
    }
    return {};
  }
  if (s < 0 || s >= filas) return {};
  if (rol == Qt::DisplayRole) return textoFila(s);
  if (rol == Qt::TextAlignmentRole) return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
  if (rol == Qt::ForegroundRole) {
    tramosDe(s);
    if (filaPerdida) return QBrush(COLOR_PERDIDA);
  }
  if (rol == Qt::FontRole) {
    QFont f;
    tramosDe(s);
    f.setStrikeOut(filaPerdida);
    f.setBold(filaDiagrama(s).clase == filaLarga);
    return f;
  }
  return {};
}

void TModeloDiagrama::seleccionar(int fila) {
  if (fila < 0 || fila >= filas) {
    seleccion = TClave{};
    return;
  }
  const TRegistradorDiagrama::TPosicion p = reg.enVista(fila);
  seleccion = TClave{reg.ejecucion(), reg.primeraSecuencia() + p.fila, p.op};
}

int TModeloDiagrama::filaSeleccionada() const {
  const int64_t i = seleccion.secuencia - reg.primeraSecuencia();
  if (seleccion.ejecucion != reg.ejecucion() || seleccion.secuencia < 0 || i < 0 || i >= reg.numFilas()) return -1;
  const int64_t pos = reg.posicionEnVista(i) + (seleccion.op < 0 ? 0 : seleccion.op + 1);
  return pos < filas ? static_cast<int>(pos) : -1;
}

void TModeloDiagrama::seleccionarSecuencia(int64_t secuencia) {
  seleccion = secuencia < 0 ? TClave{} : TClave{reg.ejecucion(), secuencia, -1};
}

void TModeloDiagrama::resaltar(int32_t d) { direccionResaltada = d; }
