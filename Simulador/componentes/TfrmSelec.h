#pragma once
// Panel reutilizable que enseña un subconjunto elegido por el usuario de los
// elementos de un vector: título, rejilla de dos columnas (el nombre, fijo, y
// el valor) y una barra de botones para añadir o quitar elementos con el
// diálogo de intervalos y, en las variantes editables, guardar, cancelar o
// poner a cero los valores. Las variantes dicen qué se enseña de cada elemento.

#include <QWidget>
#include <cstdint>
#include <set>

class QLabel;
class QToolButton;
class TModeloSelec;
class TRejillaSelec;
class TServicioDialogos;
class TdlgIntervalo;

class TfrmSelec : public QWidget {
  Q_OBJECT
public:
  // Bits de «opciones».
  static constexpr int OPC_ANADIR_QUITAR = 1;  // butAnadir y butEliminar
  static constexpr int OPC_EDITABLE = 2;       // editor siempre abierto, butAceptar y butCancelar
  static constexpr int OPC_RESET = 4;          // butReset

  // «dialogos» y «dlgIntervalo» deben vivir más que el panel.
  TfrmSelec(TServicioDialogos& dialogos, TdlgIntervalo& dlgIntervalo, int opciones, QWidget* padre = nullptr);
  ~TfrmSelec() override;

  // Reconstruye la rejilla: una fila por índice de «seleccion», en orden.
  virtual void mostrar();
  // Reescribe solo la columna de valores desde el vector; descarta lo editado.
  virtual void refrescar();

  std::set<int32_t> seleccion{0, 1, 2, 3, 4, 5, 6, 7};
  int32_t numElementos = 8;
  const int opciones;

  QLabel* panTitulo;
  TRejillaSelec* grdSelec;
  QWidget* panBotones;
  QToolButton* butAnadir;
  QToolButton* butEliminar;
  QToolButton* butAceptar;
  QToolButton* butCancelar;
  QToolButton* butReset;

  TModeloSelec* modelo() const { return modeloSelec; }

public slots:
  void butAnadirClick();
  void butEliminarClick();
  virtual void butAceptarClick() {}
  void butCancelarClick();
  virtual void butResetClick() {}

protected:
  // Lo que enseña la rejilla de cada elemento.
  virtual QString nombreElemento(int32_t i) const { return QString::number(i); }
  virtual QString valorElemento(int32_t /*i*/) const { return {}; }
  // El texto de la celda actual puede dejarse (convierte); las variantes editables lo comprueban.
  virtual bool celdaActualValida() { return true; }
  void ponerTitulo(const QString& titulo);
  // Ancho de la columna de nombres a la medida del nombre más largo posible.
  void ajustarNombres();

  TServicioDialogos& dialogos;
  TdlgIntervalo& dlgIntervalo;

private:
  TModeloSelec* modeloSelec;
};
