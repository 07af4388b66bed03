#include "Simulador/estadisticas/TGraficosEstadisticas.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QFont>
#include <QLineSeries>
#include <QValueAxis>
#include <QVBoxLayout>
#include <algorithm>

#include "observation/TRecolectorEstadisticas.h"

namespace {

QChartView* nuevaVista(QChart* grafico, const char* nombre, QWidget* padre) {
  grafico->legend()->hide();
  grafico->setMargins(QMargins(4, 4, 4, 4));
  auto* v = new QChartView(grafico, padre);
  v->setObjectName(QString::fromLatin1(nombre));
  v->setRenderHint(QPainter::Antialiasing);
  v->setMinimumSize(260, 150);
  return v;
}

QValueAxis* nuevoEje(const QString& titulo) {
  auto* e = new QValueAxis;
  e->setTitleText(titulo);
  e->setLabelFormat(QStringLiteral("%g"));
  return e;
}

// Un gráfico de una curva sobre los ciclos; «formato», el de las etiquetas del eje vertical.
QChartView* nuevaCurva(const QString& titulo, const QString& formato, const char* nombre, QWidget* padre,
                       QLineSeries*& serie, QValueAxis*& ejeCiclos, QValueAxis*& ejeValor) {
  auto* grafico = new QChart;
  grafico->setTitle(titulo);
  serie = new QLineSeries;
  grafico->addSeries(serie);
  ejeCiclos = nuevoEje(QStringLiteral("Ciclo"));
  ejeCiclos->setLabelFormat(QStringLiteral("%d"));
  ejeValor = nuevoEje(QString());
  ejeValor->setLabelFormat(formato);
  grafico->addAxis(ejeCiclos, Qt::AlignBottom);
  grafico->addAxis(ejeValor, Qt::AlignLeft);
  serie->attachAxis(ejeCiclos);
  serie->attachAxis(ejeValor);
  return nuevaVista(grafico, nombre, padre);
}

// Una curva en su gráfico, con los dos ejes ajustados a sus valores.
void ponerCurva(QLineSeries* serie, QValueAxis* ejeX, QValueAxis* ejeY, const std::vector<TPuntoCurva>& curva,
                double minimoY) {
  QList<QPointF> puntos;
  puntos.reserve(static_cast<qsizetype>(curva.size()));
  double maxY = minimoY;
  for (const TPuntoCurva& p : curva) {
    puntos.append(QPointF(p.ciclo, p.valor));
    maxY = std::max(maxY, p.valor);
  }
  serie->replace(puntos);
  ejeX->setRange(0, std::max(1, curva.empty() ? 1 : curva.back().ciclo));
  ejeX->applyNiceNumbers();
  ejeY->setRange(0, maxY * 1.1);
  ejeY->applyNiceNumbers();
}

}  // namespace

TGraficosEstadisticas::TGraficosEstadisticas(bool superescalar, QWidget* padre) : QWidget(padre) {
  setObjectName(QStringLiteral("graficosEstadisticas"));
  auto* capa = new QVBoxLayout(this);
  capa->setContentsMargins(0, 0, 0, 0);

  vistaIPC = nuevaCurva(superescalar ? QStringLiteral("IPC (media de %1 ciclos)").arg(VENTANA_IPC)
                                     : QStringLiteral("Operaciones por ciclo (media de %1 ciclos)").arg(VENTANA_IPC),
                        QStringLiteral("%g"), "grfIPC", this, serieIPC, ejeCiclosIPC, ejeIPC);
  vistaOcupacion = nuevaCurva(superescalar ? QStringLiteral("Ocupación del reorder buffer")
                                           : QStringLiteral("Etapas de unidad ocupadas"),
                              QStringLiteral("%d"), "grfOcupacion", this, serieOcupacion, ejeCiclosOcupacion,
                              ejeOcupacion);

  auto* paradas = new QChart;
  paradas->setTitle(superescalar ? QStringLiteral("Ciclos con la emisión detenida, por causa")
                                 : QStringLiteral("Ciclos de parada, por causa"));
  seriesParadas = new QBarSeries;
  paradas->addSeries(seriesParadas);
  ejeCausas = new QBarCategoryAxis;
  QFont letra = ejeCausas->labelsFont();
  letra.setPointSizeF(letra.pointSizeF() * 0.8);
  ejeCausas->setLabelsFont(letra);
  ejeParadas = nuevoEje(QStringLiteral("Ciclos"));
  ejeParadas->setLabelFormat(QStringLiteral("%d"));
  paradas->addAxis(ejeCausas, Qt::AlignBottom);
  paradas->addAxis(ejeParadas, Qt::AlignLeft);
  seriesParadas->attachAxis(ejeCausas);
  seriesParadas->attachAxis(ejeParadas);
  vistaParadas = nuevaVista(paradas, "grfParadas", this);

  capa->addWidget(vistaIPC);
  capa->addWidget(vistaOcupacion);
  capa->addWidget(vistaParadas);
}

void TGraficosEstadisticas::actualizar(const TRecolectorEstadisticas& r, const TResumenEstadisticas& resumen) {
  ponerCurva(serieIPC, ejeCiclosIPC, ejeIPC, r.curvaIPC(VENTANA_IPC, MAX_PUNTOS), 1.0);
  ponerCurva(serieOcupacion, ejeCiclosOcupacion, ejeOcupacion, r.curvaOcupacion(MAX_PUNTOS), 1.0);

  seriesParadas->clear();
  ejeCausas->clear();
  auto* barras = new QBarSet(QStringLiteral("Ciclos"));
  QStringList causas;
  int64_t maximo = 1;
  for (const auto& [causa, ciclos] : resumen.paradas) {
    causas << QString::fromStdString(causa);
    barras->append(static_cast<double>(ciclos));
    maximo = std::max(maximo, ciclos);
  }
  seriesParadas->append(barras);
  ejeCausas->append(causas);
  // Con pocos ciclos, una marca por ciclo: si no, el eje repetiría enteros.
  if (maximo <= 4) {
    ejeParadas->setRange(0, static_cast<double>(maximo));
    ejeParadas->setTickCount(static_cast<int>(maximo) + 1);
  } else {
    ejeParadas->setTickCount(5);
    ejeParadas->setRange(0, static_cast<double>(maximo) * 1.1);
    ejeParadas->applyNiceNumbers();
  }
}
