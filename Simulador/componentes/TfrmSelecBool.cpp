#include "Simulador/componentes/TfrmSelecBool.h"

#include <utility>

TfrmSelecBool::TfrmSelecBool(TServicioDialogos& d, TdlgIntervalo& dlg, QWidget* padre)
    : TfrmSelec(d, dlg, OPC_ANADIR_QUITAR, padre) {}

void TfrmSelecBool::asignar(TLector l, int32_t n, const QString& p, const QString& titulo) {
  lector = std::move(l);
  numElementos = n;
  prefijo = p;
  ponerTitulo(titulo);
  mostrar();
}

QString TfrmSelecBool::valorElemento(int32_t i) const {
  if (!lector || i < 0 || i >= numElementos) return {};
  return lector(i) ? QStringLiteral("V") : QStringLiteral("F");
}
