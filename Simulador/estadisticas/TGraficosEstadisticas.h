#pragma once
// Los tres gráficos de la ventana de estadísticas: el IPC a lo largo de los
// ciclos (media móvil), la ocupación del reorder buffer (en la VLIW, las etapas
// de unidad ocupadas) y los ciclos de parada por causa, como barras.

#include <QWidget>

class QChart;
class QChartView;
class QLineSeries;
class QBarSeries;
class QBarCategoryAxis;
class QValueAxis;
class TRecolectorEstadisticas;
struct TResumenEstadisticas;

class TGraficosEstadisticas : public QWidget {
  Q_OBJECT
public:
  // Ciclos de la media móvil del IPC y puntos como mucho en cada curva.
  static constexpr int VENTANA_IPC = 16;
  static constexpr int MAX_PUNTOS = 400;

  TGraficosEstadisticas(bool superescalar, QWidget* padre = nullptr);

  void actualizar(const TRecolectorEstadisticas& recolector, const TResumenEstadisticas& resumen);

  QChartView* vistaIPC;
  QChartView* vistaOcupacion;
  QChartView* vistaParadas;
  QLineSeries* serieIPC;
  QLineSeries* serieOcupacion;
  QBarSeries* seriesParadas;

private:
  QValueAxis* ejeCiclosIPC;
  QValueAxis* ejeIPC;
  QValueAxis* ejeCiclosOcupacion;
  QValueAxis* ejeOcupacion;
  QBarCategoryAxis* ejeCausas;
  QValueAxis* ejeParadas;
};
