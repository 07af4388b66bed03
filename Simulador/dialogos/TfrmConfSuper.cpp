#include "Simulador/dialogos/TfrmConfSuper.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>

#include "Simulador/comunes/TSpinNumero.h"
#include "superscalar/TMaquinaSuper.h"

TfrmConfSuper::TfrmConfSuper(TMaquinaSuper& m, QWidget* padre)
    : TfrmConfiguracion(m, QStringLiteral("Configuración Superescalar"), TEMA_AYUDA, padre), maquina(m) {
  setObjectName(QStringLiteral("frmConfSuper"));

  gbParametros = new QGroupBox(QStringLiteral("Parámetros:"));
  gbParametros->setObjectName(QStringLiteral("gbParametros"));
  gbParametros->setToolTip(QStringLiteral("Parámetros Generales"));
  gbParametros->setStatusTip(gbParametros->toolTip());
  const QString pista = QStringLiteral("Número de instrucciones emitidas por ciclo");
  auto* etiqueta = new QLabel(QStringLiteral("Emisión:"), gbParametros);
  etiqueta->setToolTip(pista);
  etiqueta->setStatusTip(pista);
  spiEmision = new TSpinNumero(gbParametros);
  spiEmision->setObjectName(QStringLiteral("spiEmision"));
  spiEmision->setRange(MIN_EMISION, MAX_EMISION);
  spiEmision->setToolTip(pista);
  spiEmision->setStatusTip(pista);
  etiqueta->setBuddy(spiEmision);
  auto* rejilla = new QGridLayout(gbParametros);
  rejilla->addWidget(etiqueta, 0, 0);
  rejilla->addWidget(spiEmision, 0, 1);
  anadirGrupo(gbParametros, spiEmision);

  cargarDeMaquina();
  terminarDiseno();
}

void TfrmConfSuper::cargarDeMaquina() {
  TfrmConfiguracion::cargarDeMaquina();
  spiEmision->setValue(maquina.emision);
}

void TfrmConfSuper::cargarPredefinidos() {
  TfrmConfiguracion::cargarPredefinidos();
  spiEmision->setValue(EMISION_DEFECTO);
}

void TfrmConfSuper::aplicar() {
  if (maquina.enEjecucion) return;
  TfrmConfiguracion::aplicar();
  maquina.emision = spiEmision->value();
}
