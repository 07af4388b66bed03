#include "Simulador/dialogos/TfrmConfVLIW.h"

#include "Simulador/comunes/TSpinNumero.h"
#include "vliw/TMaquinaVLIW.h"

TfrmConfVLIW::TfrmConfVLIW(TMaquinaVLIW& m, QWidget* padre)
    : TfrmConfiguracion(m, QStringLiteral("Configuración VLIW"), TEMA_AYUDA, padre), maquina(m) {
  setObjectName(QStringLiteral("frmConfVLIW"));
  // La máquina VLIW tiene siempre una unidad de salto: su número no se ofrece.
  spiUF[tufSalto]->hide();
  cargarDeMaquina();
  terminarDiseno();
}

void TfrmConfVLIW::aplicar() {
  if (maquina.enEjecucion) return;
  emit aplicando();
  TfrmConfiguracion::aplicar();
  maquina.numUF[tufSalto] = 1;
  maquina.reset(limpiarAlAplicar());
}
