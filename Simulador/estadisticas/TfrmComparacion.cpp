#include "Simulador/estadisticas/TfrmComparacion.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <sstream>

#include "Simulador/estadisticas/TExportacion.h"
#include "session/TComparacionMaquinas.h"

TfrmComparacion::TfrmComparacion(TServicioDialogos& servicio, QWidget* padre)
    : QMdiSubWindow(padre), dialogos(servicio) {
  setObjectName(QStringLiteral("frmComparacion"));
  setWindowTitle(QStringLiteral("Comparar máquinas"));
  setProperty("temaAyuda", TEMA_AYUDA);
  setAttribute(Qt::WA_DeleteOnClose);

  auto* centro = new QWidget(this);
  auto* capa = new QVBoxLayout(centro);
  lblResumen = new QLabel(centro);
  lblResumen->setObjectName(QStringLiteral("lblResumen"));
  lblResumen->setWordWrap(true);
  grdComparacion = new QTableWidget(0, 3, centro);
  grdComparacion->setObjectName(QStringLiteral("grdComparacion"));
  grdComparacion->setHorizontalHeaderLabels({QString(), QStringLiteral("Superescalar"), QStringLiteral("VLIW")});
  grdComparacion->verticalHeader()->hide();
  grdComparacion->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grdComparacion->setWordWrap(true);
  grdComparacion->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  auto* botones = new QHBoxLayout;
  btnCopiar = new QPushButton(QStringLiteral("Copiar"), centro);
  btnCopiar->setObjectName(QStringLiteral("btnCopiar"));
  btnCSV = new QPushButton(QStringLiteral("Exportar CSV..."), centro);
  btnCSV->setObjectName(QStringLiteral("btnCSV"));
  botones->addWidget(btnCopiar);
  botones->addWidget(btnCSV);
  botones->addStretch();
  capa->addWidget(lblResumen);
  capa->addWidget(grdComparacion);
  capa->addLayout(botones);
  setWidget(centro);
  resize(760, 380);

  connect(btnCopiar, &QPushButton::clicked, this, [this] {
    if (!datos) return;
    std::ostringstream s;
    datos->escribirTexto(s);
    TExportacion::copiar(QString::fromStdString(s.str()));
  });
  connect(btnCSV, &QPushButton::clicked, this, [this] {
    if (!datos) return;
    std::ostringstream s;
    datos->escribirCSV(s);
    TExportacion::guardarCSV(dialogos, this, QString::fromStdString(s.str()));
  });
}

TfrmComparacion::~TfrmComparacion() = default;

void TfrmComparacion::mostrar(std::unique_ptr<TComparacionMaquinas> comparacion) {
  datos = std::move(comparacion);
  const auto tabla = datos->tabla();
  grdComparacion->setRowCount(static_cast<int>(tabla.size()));
  for (size_t i = 0; i < tabla.size(); ++i)
    for (size_t j = 0; j < 3; ++j) {
      QString texto = QString::fromStdString(tabla[i][j]);
      // Los números con coma decimal, como en el resto de la interfaz (el CSV lleva punto).
      bool esNumero = false;
      texto.toDouble(&esNumero);
      if (esNumero) texto.replace(QLatin1Char('.'), QLatin1Char(','));
      grdComparacion->setItem(static_cast<int>(i), static_cast<int>(j), new QTableWidgetItem(texto));
    }
  grdComparacion->resizeRowsToContents();

  const double a = datos->aceleracionVLIW();
  QString resumen;
  if (a <= 0)
    resumen = QStringLiteral("No hay aceleración que calcular: alguna de las dos máquinas no terminó.");
  else if (a >= 1)
    resumen = QStringLiteral("La máquina VLIW tarda %1 ciclos y la superescalar %2: la VLIW es %3 veces más rápida.")
                  .arg(datos->resultadoVLIW.ciclos)
                  .arg(datos->resultadoSuper.ciclos)
                  .arg(QString::number(a, 'f', 2).replace(QLatin1Char('.'), QLatin1Char(',')));
  else
    resumen = QStringLiteral("La máquina superescalar tarda %1 ciclos y la VLIW %2: la superescalar es %3 veces más "
                             "rápida.")
                  .arg(datos->resultadoSuper.ciclos)
                  .arg(datos->resultadoVLIW.ciclos)
                  .arg(QString::number(1.0 / a, 'f', 2).replace(QLatin1Char('.'), QLatin1Char(',')));
  lblResumen->setText(resumen);
}
