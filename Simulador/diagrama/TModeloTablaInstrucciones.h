#pragma once
// Modelo de la pestaña «Tabla de Instrucciones»: la tabla de libro de cada
// instrucción del diagrama, en el orden de su vista. Superescalar: emisión,
// inicio y fin de ejecución, escritura y confirmación; VLIW: emisión, ciclos
// de parada y final, por instrucción larga y por operación.

#include <QAbstractTableModel>
#include <QStringList>

#include "observation/TTablaInstrucciones.h"

class TModeloTablaInstrucciones : public QAbstractTableModel {
  Q_OBJECT
public:
  explicit TModeloTablaInstrucciones(const TRegistradorDiagrama& registrador, QObject* padre = nullptr);

  int rowCount(const QModelIndex& padre = QModelIndex()) const override;
  int columnCount(const QModelIndex& padre = QModelIndex()) const override;
  QVariant data(const QModelIndex& indice, int rol = Qt::DisplayRole) const override;
  QVariant headerData(int seccion, Qt::Orientation orientacion, int rol = Qt::DisplayRole) const override;

  void refrescar();
  const TFilaTabla& filaTabla(int fila) const;

private:
  const TRegistradorDiagrama& reg;
  QStringList columnas;
  int filas = 0;
  mutable int leida = -1;
  mutable TFilaTabla filaLeida;
};
