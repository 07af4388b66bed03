#pragma once
// Modelo de la rejilla de un TfrmSelec: una fila por elemento elegido, con el
// nombre en la cabecera vertical y el valor en la única columna. El valor se
// lee del elemento al pintar, salvo en las filas que el usuario ha editado:
// esas guardan su texto hasta que se guardan, se cancelan o llega un refresco.

#include <QAbstractTableModel>
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

class TModeloSelec : public QAbstractTableModel {
  Q_OBJECT
public:
  using TTexto = std::function<QString(int32_t)>;

  TModeloSelec(TTexto nombre, TTexto valor, QObject* padre = nullptr);

  // Nuevas filas (índices en orden); se pierden las ediciones.
  void asignar(std::vector<int32_t> indices);
  // Vuelve a leer los valores de todas las filas; se pierden las ediciones.
  void refrescar();
  void setEditable(bool e) { editable = e; }
  // Elementos cuyo valor ya no dice nada (una etiqueta de renombrado sin
  // escritura pendiente): se dibujan en gris y la pista lo explica.
  using TApagado = std::function<bool(int32_t)>;
  void setApagado(TApagado funcion, const QString& pista) {
    apagado = std::move(funcion);
    pistaApagado = pista;
  }
  void setAlineacion(Qt::Alignment a) { alineacion = a; }

  int32_t indice(int fila) const;
  bool editada(int fila) const;
  QString textoFila(int fila) const;
  // Escribe el texto de una fila como si lo hubiera tecleado el usuario.
  void editar(int fila, const QString& texto);
  const std::vector<int32_t>& indices() const { return filas; }

  int rowCount(const QModelIndex& padre = QModelIndex()) const override;
  int columnCount(const QModelIndex& padre = QModelIndex()) const override;
  QVariant data(const QModelIndex& indice, int rol = Qt::DisplayRole) const override;
  bool setData(const QModelIndex& indice, const QVariant& valor, int rol = Qt::EditRole) override;
  QVariant headerData(int seccion, Qt::Orientation orientacion, int rol = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& indice) const override;

private:
  TTexto nombre;
  TTexto valor;
  TApagado apagado;
  QString pistaApagado;
  std::vector<int32_t> filas;
  std::vector<std::optional<QString>> ediciones;
  bool editable = false;
  Qt::Alignment alineacion = Qt::AlignCenter;
};
