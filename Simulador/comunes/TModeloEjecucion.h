#pragma once
// Base de los modelos de las rejillas que siguen a una máquina ciclo a ciclo.
// No copian nada: leen las estructuras construidas de la máquina cuando la
// vista pinta. refrescar() es una sola notificación sobre todo el rango; solo
// si las estructuras han cambiado de forma (se reconstruyeron) se reinicia el
// modelo. Así una máquina reconstruida con la ventana abierta no deja la vista
// leyendo fuera de lo que existe.

#include <QAbstractTableModel>
#include <QString>

class TModeloEjecucion : public QAbstractTableModel {
  Q_OBJECT
public:
  // Roles propios además de los de Qt.
  enum Rol { RolVacia = Qt::UserRole + 1 };  // la fila no muestra ninguna instrucción

  explicit TModeloEjecucion(QObject* padre = nullptr);

  // Relee la máquina: reinicio si cambió la forma, si no un dataChanged.
  void refrescar();

  int rowCount(const QModelIndex& padre = QModelIndex()) const override;
  int columnCount(const QModelIndex& padre = QModelIndex()) const override;
  QVariant data(const QModelIndex& indice, int rol = Qt::DisplayRole) const override;
  QVariant headerData(int seccion, Qt::Orientation orientacion, int rol = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& indice) const override;

  // Pista de la cabecera horizontal y de la zona sin celdas.
  virtual QString pistaGeneral() const { return {}; }

protected:
  // Filas y columnas que tienen ahora las estructuras de la máquina.
  virtual int filasActuales() const = 0;
  virtual int columnasActuales() const = 0;
  // Contenido de una celda dentro de la forma actual del modelo. Las
  // implementaciones comprueban también los límites de lo construido.
  virtual QString texto(int fila, int columna) const = 0;
  virtual QVariant fondo(int /*fila*/, int /*columna*/) const { return {}; }
  virtual QString pista(int /*fila*/, int /*columna*/) const { return {}; }
  virtual bool filaVacia(int /*fila*/) const { return false; }
  virtual QString cabeceraHorizontal(int seccion) const = 0;
  virtual QString cabeceraVertical(int /*seccion*/) const { return {}; }
  virtual QString pistaVertical(int /*seccion*/) const { return {}; }
  // Si la cabecera vertical cambia de texto en cada ciclo.
  virtual bool cabeceraVerticalVariable() const { return false; }

  // Forma leída en la construcción: las derivadas la llaman al final de su constructor.
  void tomarForma();

private:
  int filas = 0;
  int columnas = 0;
};
