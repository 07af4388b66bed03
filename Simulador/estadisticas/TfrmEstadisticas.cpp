#include "Simulador/estadisticas/TfrmEstadisticas.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>
#include <sstream>

#include "Simulador/control/TControladorMaquina.h"
#include "Simulador/estadisticas/TExportacion.h"
#include "Simulador/estadisticas/TGraficosEstadisticas.h"
#include "Simulador/estadisticas/TModeloEstadisticas.h"
#include "observation/TRecolectorEstadisticas.h"
#include "reports/TInformeEstadisticas.h"

TfrmEstadisticas::TfrmEstadisticas(const TRecolectorEstadisticas& r, TControladorMaquina& controlador,
                                   TServicioDialogos& servicio, QWidget* padre)
    : QMdiSubWindow(padre), recolector(r), dialogos(servicio) {
  const bool super = r.superescalar();
  setObjectName(super ? QStringLiteral("frmEstadisticasSuper") : QStringLiteral("frmEstadisticasVLIW"));
  setWindowTitle(super ? QStringLiteral("Estadísticas: Superescalar") : QStringLiteral("Estadísticas: VLIW"));
  setProperty("temaAyuda", TEMA_AYUDA);
  setAttribute(Qt::WA_DeleteOnClose);

  auto* centro = new QWidget(this);
  auto* capa = new QHBoxLayout(centro);
  auto* izquierda = new QVBoxLayout;
  auto* botones = new QHBoxLayout;
  btnCopiar = new QPushButton(QStringLiteral("Copiar"), centro);
  btnCopiar->setObjectName(QStringLiteral("btnCopiar"));
  btnCopiar->setToolTip(QStringLiteral("Copia las estadísticas como texto, para un informe de prácticas"));
  btnCSV = new QPushButton(QStringLiteral("Exportar CSV..."), centro);
  btnCSV->setObjectName(QStringLiteral("btnCSV"));
  btnPNG = new QPushButton(QStringLiteral("Guardar gráficos..."), centro);
  btnPNG->setObjectName(QStringLiteral("btnPNG"));
  btnPNG->setToolTip(QStringLiteral("Guarda los gráficos como una imagen PNG"));
  botones->addWidget(btnCopiar);
  botones->addWidget(btnCSV);
  botones->addWidget(btnPNG);
  botones->addStretch();

  modelo = new TModeloEstadisticas(this);
  grdEstadisticas = new QTableView(centro);
  grdEstadisticas->setObjectName(QStringLiteral("grdEstadisticas"));
  grdEstadisticas->setModel(modelo);
  grdEstadisticas->verticalHeader()->hide();
  grdEstadisticas->verticalHeader()->setDefaultSectionSize(grdEstadisticas->fontMetrics().height() + 4);
  grdEstadisticas->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
  grdEstadisticas->horizontalHeader()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
  grdEstadisticas->setSelectionMode(QAbstractItemView::NoSelection);
  grdEstadisticas->setMinimumWidth(330);
  izquierda->addLayout(botones);
  izquierda->addWidget(grdEstadisticas);

  graficos = new TGraficosEstadisticas(super, centro);
  capa->addLayout(izquierda, 2);
  capa->addWidget(graficos, 3);
  setWidget(centro);
  resize(820, 560);

  connect(btnCopiar, &QPushButton::clicked, this, [this] { TExportacion::copiar(textoInforme()); });
  connect(btnCSV, &QPushButton::clicked, this, [this] { TExportacion::guardarCSV(dialogos, this, textoCSV()); });
  connect(btnPNG, &QPushButton::clicked, this, [this] { TExportacion::guardarPNG(dialogos, this, *graficos); });
  connect(&controlador, &TControladorMaquina::cicloEjecutado, this, &TfrmEstadisticas::actualizar);
  connect(&controlador, &TControladorMaquina::ejecucionIniciada, this, &TfrmEstadisticas::actualizar);
  connect(&controlador, &TControladorMaquina::ejecucionTerminada, this, &TfrmEstadisticas::actualizar);
  // Lo que cambia el recolector sin un ciclo (volver atrás en el tiempo, un
  // reset) también se ve: mirar su versión de vez en cuando no cuesta nada.
  auto* vigilancia = new QTimer(this);
  vigilancia->setObjectName(QStringLiteral("timVigilancia"));
  connect(vigilancia, &QTimer::timeout, this, &TfrmEstadisticas::actualizar);
  vigilancia->start(INTERVALO_VIGILANCIA);
  actualizar();
}

void TfrmEstadisticas::actualizar() {
  if (recolector.version() == versionVista) return;
  versionVista = recolector.version();
  const TResumenEstadisticas resumen = recolector.resumen();
  modelo->actualizar(resumen);
  graficos->actualizar(recolector, resumen);
}

QString TfrmEstadisticas::textoInforme() const {
  std::ostringstream s;
  TInformeEstadisticas::escribirTexto(s, recolector.resumen());
  return QString::fromStdString(s.str());
}

QString TfrmEstadisticas::textoCSV() const {
  std::ostringstream s;
  TInformeEstadisticas::escribirCSV(s, recolector.resumen());
  return QString::fromStdString(s.str());
}
