#include "Simulador/componentes/TfrmSelecROBReg.h"

#include <utility>

#include "Simulador/componentes/TModeloSelec.h"

TfrmSelecROBReg::TfrmSelecROBReg(TServicioDialogos& d, TdlgIntervalo& dlg, QWidget* padre)
    : TfrmSelec(d, dlg, OPC_ANADIR_QUITAR, padre) {}

void TfrmSelecROBReg::asignar(TLector l, int32_t n, const QString& titulo, TPendiente pendiente) {
  lector = std::move(l);
  numElementos = n;
  if (pendiente)
    modelo()->setApagado([p = std::move(pendiente)](int32_t i) { return !p(i); },
                         QStringLiteral("Sin escritura pendiente: la etiqueta es de una instrucción ya confirmada"));
  ponerTitulo(titulo);
  mostrar();
}

QString TfrmSelecROBReg::valorElemento(int32_t i) const {
  return lector && i >= 0 && i < numElementos ? QString::number(lector(i)) : QString();
}
