#pragma once
// Modelo de la rejilla del código secuencial: una fila por instrucción y las
// columnas "Nº", "OPCODE", "OP1", "OP2", "OP3". Lee el TCodigo al pintar; no
// lo posee. Lleva además las marcas de las instrucciones en vuelo.

#include <QAbstractTableModel>

#include "Simulador/codigo/TMarcasEnVuelo.h"

class TCodigo;

class TModeloCodigo : public QAbstractTableModel {
  Q_OBJECT
public:
  // RolEnVuelo: los bits de TMarcasEnVuelo de la instrucción (0 sin marca).
  enum Rol { RolBloque = Qt::UserRole + 1, RolBreakpoint, RolEtiqueta, RolEnVuelo };
  static constexpr int NUM_COLUMNAS = 5;

  explicit TModeloCodigo(QObject* padre = nullptr);

  // nullptr deja la rejilla vacía. Quien llama garantiza que el programa vive
  // mientras esté asignado.
  void asignar(const TCodigo* programa);
  const TCodigo* programa() const { return codigo; }
  // El programa ha cambiado por dentro (un breakpoint): repintar.
  void refrescar();
  // Las marcas tras un ciclo. Una sola notificación, de la primera a la última
  // fila que cambian; ninguna si son las mismas. Asignar un programa las quita.
  void ponerEnVuelo(const TMarcasEnVuelo& marcas);
  const TMarcasEnVuelo& enVuelo() const { return marcasEnVuelo; }

  int rowCount(const QModelIndex& padre = QModelIndex()) const override;
  int columnCount(const QModelIndex& padre = QModelIndex()) const override;
  QVariant data(const QModelIndex& indice, int rol = Qt::DisplayRole) const override;
  QVariant headerData(int seccion, Qt::Orientation orientacion, int rol = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& indice) const override;

private:
  const TCodigo* codigo = nullptr;
  TMarcasEnVuelo marcasEnVuelo;
};
