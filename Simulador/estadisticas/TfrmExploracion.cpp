#include "Simulador/estadisticas/TfrmExploracion.h"

#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineSeries>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QThread>
#include <QValueAxis>
#include <QVBoxLayout>
#include <algorithm>
#include <sstream>

#include "Simulador/estadisticas/TExportacion.h"

TfrmExploracion::TfrmExploracion(const TCodigo& programa, const TConfiguracionMaquina& base,
                                 const TDatosIniciales& datos, uint32_t semilla, TServicioDialogos& servicio,
                                 QWidget* padre)
    : QMdiSubWindow(padre), exploracion(programa, base, datos, semilla), dialogos(servicio) {
  setObjectName(QStringLiteral("frmExploracion"));
  setWindowTitle(QStringLiteral("Explorar configuración"));
  setProperty("temaAyuda", TEMA_AYUDA);
  setAttribute(Qt::WA_DeleteOnClose);

  auto* centro = new QWidget(this);
  auto* capa = new QVBoxLayout(centro);
  auto* controles = new QHBoxLayout;
  cboParametro = new QComboBox(centro);
  cboParametro->setObjectName(QStringLiteral("cboParametro"));
  for (int p = 0; p < NUM_PARAMETROS_EXPLORACION; ++p) {
    const auto par = static_cast<TParametroExploracion>(p);
    QString texto = QString::fromStdString(TExploracion::nombre(par, 0));
    if (par == parUnidades) texto = QStringLiteral("Unidades de un tipo");
    if (par == parLatencia) texto = QStringLiteral("Latencia de un tipo");
    cboParametro->addItem(texto);
  }
  cboTipo = new QComboBox(centro);
  cboTipo->setObjectName(QStringLiteral("cboTipo"));
  for (const std::string& t : nombresTipoUF) cboTipo->addItem(QString::fromStdString(t));
  spiDesde = new QSpinBox(centro);
  spiDesde->setObjectName(QStringLiteral("spiDesde"));
  spiHasta = new QSpinBox(centro);
  spiHasta->setObjectName(QStringLiteral("spiHasta"));
  btnExplorar = new QPushButton(QStringLiteral("Explorar"), centro);
  btnExplorar->setObjectName(QStringLiteral("btnExplorar"));
  btnCancelar = new QPushButton(QStringLiteral("Cancelar"), centro);
  btnCancelar->setObjectName(QStringLiteral("btnCancelar"));
  btnCancelar->setEnabled(false);
  controles->addWidget(new QLabel(QStringLiteral("Parámetro:"), centro));
  controles->addWidget(cboParametro);
  controles->addWidget(cboTipo);
  controles->addWidget(new QLabel(QStringLiteral("desde"), centro));
  controles->addWidget(spiDesde);
  controles->addWidget(new QLabel(QStringLiteral("hasta"), centro));
  controles->addWidget(spiHasta);
  controles->addWidget(btnExplorar);
  controles->addWidget(btnCancelar);
  controles->addStretch();

  barProgreso = new QProgressBar(centro);
  barProgreso->setObjectName(QStringLiteral("barProgreso"));
  lblEstado = new QLabel(centro);
  lblEstado->setObjectName(QStringLiteral("lblEstado"));

  auto* grafico = new QChart;
  grafico->setMargins(QMargins(4, 4, 4, 4));
  serieCiclos = new QLineSeries;
  serieCiclos->setName(QStringLiteral("Ciclos"));
  serieCiclos->setPointsVisible(true);
  serieIPC = new QLineSeries;
  serieIPC->setName(QStringLiteral("IPC"));
  serieIPC->setPointsVisible(true);
  grafico->addSeries(serieCiclos);
  grafico->addSeries(serieIPC);
  ejeParametro = new QValueAxis;
  ejeParametro->setLabelFormat(QStringLiteral("%d"));
  ejeCiclos = new QValueAxis;
  ejeCiclos->setTitleText(QStringLiteral("Ciclos"));
  ejeCiclos->setLabelFormat(QStringLiteral("%d"));
  ejeIPC = new QValueAxis;
  ejeIPC->setTitleText(QStringLiteral("IPC"));
  grafico->addAxis(ejeParametro, Qt::AlignBottom);
  grafico->addAxis(ejeCiclos, Qt::AlignLeft);
  grafico->addAxis(ejeIPC, Qt::AlignRight);
  serieCiclos->attachAxis(ejeParametro);
  serieCiclos->attachAxis(ejeCiclos);
  serieIPC->attachAxis(ejeParametro);
  serieIPC->attachAxis(ejeIPC);
  grfExploracion = new QChartView(grafico, centro);
  grfExploracion->setObjectName(QStringLiteral("grfExploracion"));
  grfExploracion->setRenderHint(QPainter::Antialiasing);
  grfExploracion->setMinimumSize(400, 260);

  auto* exportar = new QHBoxLayout;
  btnCSV = new QPushButton(QStringLiteral("Exportar CSV..."), centro);
  btnCSV->setObjectName(QStringLiteral("btnCSV"));
  btnPNG = new QPushButton(QStringLiteral("Guardar gráfico..."), centro);
  btnPNG->setObjectName(QStringLiteral("btnPNG"));
  exportar->addWidget(btnCSV);
  exportar->addWidget(btnPNG);
  exportar->addStretch();

  capa->addLayout(controles);
  capa->addWidget(barProgreso);
  capa->addWidget(lblEstado);
  capa->addWidget(grfExploracion, 1);
  capa->addLayout(exportar);
  setWidget(centro);
  resize(760, 480);

  connect(cboParametro, qOverload<int>(&QComboBox::currentIndexChanged), this, [this] { parametroCambiado(); });
  connect(btnExplorar, &QPushButton::clicked, this, [this] { explorar(); });
  connect(btnCancelar, &QPushButton::clicked, this, &TfrmExploracion::cancelar);
  connect(btnCSV, &QPushButton::clicked, this, [this] {
    std::ostringstream s;
    TExploracion::escribirCSV(s, nombreParametro().toStdString(), resultado);
    TExportacion::guardarCSV(dialogos, this, QString::fromStdString(s.str()));
  });
  connect(btnPNG, &QPushButton::clicked, this, [this] { TExportacion::guardarPNG(dialogos, this, *grfExploracion); });
  parametroCambiado();
  dibujar();
}

TfrmExploracion::~TfrmExploracion() {
  // El hilo lee la exploración de esta ventana: se espera a que acabe.
  if (hilo) {
    cancelado = true;
    hilo->wait();
    delete hilo;
  }
}

QString TfrmExploracion::nombreParametro() const {
  return QString::fromStdString(
      TExploracion::nombre(static_cast<TParametroExploracion>(cboParametro->currentIndex()), cboTipo->currentIndex()));
}

void TfrmExploracion::parametroCambiado() {
  const auto par = static_cast<TParametroExploracion>(cboParametro->currentIndex());
  cboTipo->setEnabled(par == parUnidades || par == parLatencia);
  int32_t minimo = 0, maximo = 0;
  TExploracion::rango(par, minimo, maximo);
  spiDesde->setRange(minimo, maximo);
  spiHasta->setRange(minimo, maximo);
  // Un intervalo de partida razonable para cada parámetro.
  switch (par) {
    case parEmision: spiDesde->setValue(2); spiHasta->setValue(16); break;
    case parUnidades: spiDesde->setValue(1); spiHasta->setValue(6); break;
    case parLatencia: spiDesde->setValue(1); spiHasta->setValue(10); break;
    case parLatenciaFallo: spiDesde->setValue(0); spiHasta->setValue(30); break;
    case parPorcentajeFallos: spiDesde->setValue(0); spiHasta->setValue(100); break;
  }
}

bool TfrmExploracion::explorar() {
  if (hilo) return false;
  exploracion.parametro = static_cast<TParametroExploracion>(cboParametro->currentIndex());
  exploracion.tipo = cboTipo->currentIndex();
  exploracion.desde = std::min(spiDesde->value(), spiHasta->value());
  exploracion.hasta = std::max(spiDesde->value(), spiHasta->value());
  resultado.clear();
  dibujar();
  cancelado = false;
  barProgreso->setRange(0, exploracion.hasta - exploracion.desde + 1);
  barProgreso->setValue(0);
  lblEstado->setText(QStringLiteral("Explorando %1…").arg(nombreParametro()));
  for (QWidget* w : {static_cast<QWidget*>(cboParametro), static_cast<QWidget*>(cboTipo),
                     static_cast<QWidget*>(spiDesde), static_cast<QWidget*>(spiHasta),
                     static_cast<QWidget*>(btnExplorar), static_cast<QWidget*>(btnCSV)})
    w->setEnabled(false);
  btnCancelar->setEnabled(true);

  // El hilo solo lee la exploración (que no cambia hasta que acabe) y manda
  // cada punto a este objeto por la cola de eventos.
  hilo = QThread::create([this] {
    exploracion.ejecutar(&cancelado, [this](const TPuntoExploracion& p) {
      QMetaObject::invokeMethod(this, [this, p] { anadirPunto(p); }, Qt::QueuedConnection);
    });
    const bool cancelada = cancelado.load();
    QMetaObject::invokeMethod(this, [this, cancelada] { terminar(cancelada); }, Qt::QueuedConnection);
  });
  hilo->start();
  return true;
}

void TfrmExploracion::cancelar() { cancelado = true; }

void TfrmExploracion::anadirPunto(const TPuntoExploracion& punto) {
  resultado.push_back(punto);
  barProgreso->setValue(static_cast<int>(resultado.size()));
  dibujar();
}

void TfrmExploracion::terminar(bool cancelada) {
  if (hilo) {
    hilo->wait();
    delete hilo;
    hilo = nullptr;
  }
  lblEstado->setText(cancelada ? QStringLiteral("Exploración cancelada: %1 de %2 valores.")
                                     .arg(resultado.size())
                                     .arg(exploracion.hasta - exploracion.desde + 1)
                               : QStringLiteral("Exploración terminada: %1 valores, con la misma semilla en cada "
                                                "ejecución.")
                                     .arg(resultado.size()));
  parametroCambiado();
  spiDesde->setValue(exploracion.desde);
  spiHasta->setValue(exploracion.hasta);
  for (QWidget* w : {static_cast<QWidget*>(cboParametro), static_cast<QWidget*>(spiDesde),
                     static_cast<QWidget*>(spiHasta), static_cast<QWidget*>(btnExplorar),
                     static_cast<QWidget*>(btnCSV)})
    w->setEnabled(true);
  btnCancelar->setEnabled(false);
  emit exploracionTerminada(cancelada);
}

void TfrmExploracion::dibujar() {
  QList<QPointF> ciclos, ipc;
  double maxCiclos = 1, maxIPC = 0.1;
  for (const TPuntoExploracion& p : resultado) {
    ciclos.append(QPointF(p.valor, p.ciclos));
    ipc.append(QPointF(p.valor, p.ipc));
    maxCiclos = std::max(maxCiclos, static_cast<double>(p.ciclos));
    maxIPC = std::max(maxIPC, p.ipc);
  }
  serieCiclos->replace(ciclos);
  serieIPC->replace(ipc);
  ejeParametro->setTitleText(nombreParametro());
  ejeParametro->setRange(exploracion.desde, std::max(exploracion.desde + 1, exploracion.hasta));
  ejeParametro->applyNiceNumbers();
  ejeCiclos->setRange(0, maxCiclos * 1.1);
  ejeCiclos->applyNiceNumbers();
  ejeIPC->setRange(0, maxIPC * 1.1);
  ejeIPC->applyNiceNumbers();
}
