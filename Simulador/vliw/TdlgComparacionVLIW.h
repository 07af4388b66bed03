#pragma once
// «Comparar con la planificación automática»: la planificación del alumno y la
// automática, ejecutadas desde el mismo estado, una al lado de la otra.

#include <QDialog>

class QLabel;
class QTableWidget;
class TComparacionPlanificacion;
struct TEjecucionPlanificada;

class TdlgComparacionVLIW : public QDialog {
  Q_OBJECT
public:
  static constexpr int TEMA_AYUDA = 21;

  explicit TdlgComparacionVLIW(QWidget* padre = nullptr);

  // Rellena la tabla con el resultado de una comparación.
  void mostrar(const TComparacionPlanificacion& comparacion);

  QTableWidget* grdComparacion;
  QLabel* labConclusion;

private:
  void ponerColumna(int columna, const TEjecucionPlanificada& e);
};
