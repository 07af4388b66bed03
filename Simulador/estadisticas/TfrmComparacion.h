#pragma once
// «Comparar máquinas»: el resultado de ejecutar el programa en la
// superescalar y su programa VLIW en la VLIW, lado a lado. La comparación ya
// está hecha cuando se crea la ventana; la ventana la enseña y la exporta.

#include <QMdiSubWindow>
#include <memory>

class QLabel;
class QPushButton;
class QTableWidget;
class TComparacionMaquinas;
class TServicioDialogos;

class TfrmComparacion : public QMdiSubWindow {
  Q_OBJECT
public:
  static constexpr int TEMA_AYUDA = 48;

  TfrmComparacion(TServicioDialogos& dialogos, QWidget* padre = nullptr);
  ~TfrmComparacion() override;

  // Se queda con la comparación y la enseña.
  void mostrar(std::unique_ptr<TComparacionMaquinas> comparacion);
  const TComparacionMaquinas* comparacion() const { return datos.get(); }

  QLabel* lblResumen;
  QTableWidget* grdComparacion;
  QPushButton* btnCopiar;
  QPushButton* btnCSV;

private:
  TServicioDialogos& dialogos;
  std::unique_ptr<TComparacionMaquinas> datos;
};
