#include "Simulador/componentes/TfrmSelecROBReg.h"

#include <utility>

TfrmSelecROBReg::TfrmSelecROBReg(TServicioDialogos& d, TdlgIntervalo& dlg, QWidget* padre)
    : TfrmSelec(d, dlg, OPC_ANADIR_QUITAR, padre) {}

void TfrmSelecROBReg::asignar(TLector l, int32_t n, const QString& titulo) {
  lector = std::move(l);
  numElementos = n;
  ponerTitulo(titulo);
  mostrar();
}

QString TfrmSelecROBReg::valorElemento(int32_t i) const {
  return lector && i >= 0 && i < numElementos ? QString::number(lector(i)) : QString();
}
