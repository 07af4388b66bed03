#include "Simulador/vliw/TdlgComparacionVLIW.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QTableWidget>
#include <QVBoxLayout>

#include "session/TComparacionPlanificacion.h"
#include "session/TSesion.h"
#include "vliw/TPlanificadorVLIW.h"

namespace {

const QStringList FILAS = {
    QStringLiteral("Ciclos"),
    QStringLiteral("Instrucciones largas del programa"),
    QStringLiteral("Operaciones del programa"),
    QStringLiteral("Operaciones por instrucción larga"),
    QStringLiteral("Instrucciones largas emitidas"),
    QStringLiteral("Operaciones por instrucción larga emitida"),
    QStringLiteral("Ciclos con la emisión parada"),
    QStringLiteral("Resultado de la ejecución"),
    QStringLiteral("Comprobar resultado"),
};

QString decimal(double valor) { return QLocale(QLocale::Spanish).toString(valor, 'f', 2); }

QString estado(const TEjecucionPlanificada& e) {
  if (e.inicio == PLANIFICACION_DEMASIADO_LARGA) return QStringLiteral("no se pudo planificar");
  if (e.inicio == SESION_CONFIGURACION) return QStringLiteral("no cabe en la configuración");
  if (e.inicio != SESION_OK) return QStringLiteral("sin programa");
  if (e.terminada) return QStringLiteral("terminada");
  if (!e.error.empty()) return QStringLiteral("error: ") + QString::fromStdString(e.error);
  return QStringLiteral("sin terminar tras %1 ciclos").arg(e.ciclos);
}

}  // namespace

TdlgComparacionVLIW::TdlgComparacionVLIW(QWidget* padre) : QDialog(padre) {
  setObjectName(QStringLiteral("dlgComparacionVLIW"));
  setWindowTitle(QStringLiteral("Comparar con la planificación automática"));
  setProperty("temaAyuda", TEMA_AYUDA);
  grdComparacion = new QTableWidget(static_cast<int>(FILAS.size()), 2, this);
  grdComparacion->setObjectName(QStringLiteral("grdComparacion"));
  grdComparacion->setHorizontalHeaderLabels({QStringLiteral("Tu planificación"), QStringLiteral("Automática")});
  grdComparacion->setVerticalHeaderLabels(FILAS);
  grdComparacion->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grdComparacion->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  grdComparacion->setMinimumSize(560, 290);
  labConclusion = new QLabel(this);
  labConclusion->setObjectName(QStringLiteral("labConclusion"));
  labConclusion->setWordWrap(true);
  auto* botones = new QDialogButtonBox(QDialogButtonBox::Close, this);
  connect(botones, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* capa = new QVBoxLayout(this);
  capa->addWidget(grdComparacion, 1);
  capa->addWidget(labConclusion);
  capa->addWidget(botones);
}

void TdlgComparacionVLIW::ponerColumna(int columna, const TEjecucionPlanificada& e) {
  const bool ejecutada = e.inicio == SESION_OK;
  const QString nada = QStringLiteral("—");
  const QStringList valores = {
      ejecutada ? QString::number(e.ciclos) : nada,
      e.instruccionesLargas > 0 ? QString::number(e.instruccionesLargas) : nada,
      e.instruccionesLargas > 0 ? QString::number(e.operaciones) : nada,
      e.instruccionesLargas > 0 ? decimal(e.densidad()) : nada,
      ejecutada ? QString::number(e.estadisticas.instruccionesEmitidas) : nada,
      ejecutada ? decimal(e.operacionesPorEmitida()) : nada,
      ejecutada ? QString::number(e.estadisticas.ciclosParada) : nada,
      estado(e),
      ejecutada ? QString::fromStdString(e.veredicto.titulo()) : nada,
  };
  for (int f = 0; f < valores.size(); ++f) {
    auto* celda = new QTableWidgetItem(valores[f]);
    celda->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    grdComparacion->setItem(f, columna, celda);
  }
  // El veredicto entero (diferencias y pista), en la pista de su casilla.
  if (ejecutada)
    grdComparacion->item(static_cast<int>(valores.size()) - 1, columna)
        ->setToolTip(QString::fromStdString(e.veredicto.texto()));
}

void TdlgComparacionVLIW::mostrar(const TComparacionPlanificacion& c) {
  ponerColumna(0, c.alumno);
  ponerColumna(1, c.automatica);
  QString conclusion;
  if (c.alumno.terminada && c.automatica.terminada) {
    const int diferencia = c.alumno.ciclos - c.automatica.ciclos;
    if (diferencia > 0)
      conclusion = QStringLiteral("La planificación automática termina %1 ciclos antes (%2 veces más rápida).")
                       .arg(diferencia)
                       .arg(decimal(static_cast<double>(c.alumno.ciclos) / std::max(1, c.automatica.ciclos)));
    else if (diferencia < 0)
      conclusion = QStringLiteral("Tu planificación termina %1 ciclos antes que la automática.").arg(-diferencia);
    else
      conclusion = QStringLiteral("Las dos planificaciones tardan los mismos ciclos.");
  }
  conclusion += QStringLiteral(" Las dos parten del estado actual de la máquina, con la misma semilla de fallos.");
  labConclusion->setText(conclusion.trimmed());
}
