#pragma once
// Las estadísticas de una máquina como rejilla de dos columnas, «Magnitud» y
// «Valor». Se refresca con un resumen nuevo y avisa una sola vez.

#include <QAbstractTableModel>
#include <vector>

#include "reports/TInformeEstadisticas.h"

class TModeloEstadisticas : public QAbstractTableModel {
  Q_OBJECT
public:
  explicit TModeloEstadisticas(QObject* padre = nullptr);

  void actualizar(const TResumenEstadisticas& resumen);
  const std::vector<TFilaEstadistica>& filas() const { return datos; }

  int rowCount(const QModelIndex& padre = QModelIndex()) const override;
  int columnCount(const QModelIndex& padre = QModelIndex()) const override;
  QVariant data(const QModelIndex& indice, int rol = Qt::DisplayRole) const override;
  QVariant headerData(int seccion, Qt::Orientation orientacion, int rol = Qt::DisplayRole) const override;

private:
  std::vector<TFilaEstadistica> datos;
};
