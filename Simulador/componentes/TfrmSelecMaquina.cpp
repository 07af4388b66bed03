#include "Simulador/componentes/TfrmSelecMaquina.h"

#include "Simulador/aplicacion/TServicioDialogos.h"
#include "Simulador/componentes/TDelegadoSelec.h"
#include "Simulador/componentes/TModeloSelec.h"
#include "Simulador/componentes/TRejillaSelec.h"
#include "Simulador/comunes/TFormatoNumero.h"
#include "Simulador/control/TEdicionMaquina.h"
#include "machine/TMaquina.h"

const char* const TfrmSelecMaquina::MENSAJE_INVALIDO = "Valor inválido";

TfrmSelecMaquina::TfrmSelecMaquina(TServicioDialogos& d, TdlgIntervalo& dlg, QWidget* padre)
    : TfrmSelec(d, dlg, OPC_ANADIR_QUITAR | OPC_EDITABLE | OPC_RESET, padre) {
  setObjectName(QStringLiteral("frmSelecMaquina"));
}

void TfrmSelecMaquina::asignar(const TMaquina& m, TEdicionMaquina& e, int t) {
  maquina = &m;
  ediciones = &e;
  tipo = t >= GPR && t <= MEMORIA ? t : GPR;
  static const char* const TITULOS[3] = {"GPR", "FPR", "Memoria"};
  static const char* const PREFIJOS[3] = {"R", "F", ""};
  ponerTitulo(QString::fromUtf8(TITULOS[tipo]));
  prefijo = QString::fromUtf8(PREFIJOS[tipo]);
  numElementos = tipo == MEMORIA ? TAM_MEMORIA : NUM_REGISTROS;
  grdSelec->delegado()->real = tipo != GPR;
  mostrar();
}

QString TfrmSelecMaquina::nombreElemento(int32_t i) const { return prefijo + QString::number(i); }

QString TfrmSelecMaquina::valorElemento(int32_t i) const {
  if (!maquina || i < 0 || i >= numElementos) return {};
  const size_t k = static_cast<size_t>(i);
  if (tipo == GPR) return QString::number(maquina->gpr.valor[k]);
  if (tipo == FPR) return TFormatoNumero::fijo(maquina->fpr.valor[k]);
  return TFormatoNumero::fijo(maquina->memoria.datos[k]);
}

QString TfrmSelecMaquina::textoCero() const { return tipo == GPR ? QStringLiteral("0") : TFormatoNumero::fijo(0.0f); }

bool TfrmSelecMaquina::convierte(const QString& texto) const {
  return tipo == GPR ? TFormatoNumero::entero(texto).has_value() : TFormatoNumero::real(texto).has_value();
}

bool TfrmSelecMaquina::celdaActualValida() {
  const int fila = grdSelec->currentIndex().row();
  if (fila < 0 || convierte(modelo()->textoFila(fila))) return true;
  dialogos.mensaje(this, QString::fromUtf8(MENSAJE_INVALIDO));
  return false;
}

void TfrmSelecMaquina::butAceptarClick() {
  if (!maquina || !ediciones) return;
  TModeloSelec* m = modelo();
  // Primero se comprueban todas: o se guardan todas las filas editadas o ninguna.
  for (int fila = 0; fila < m->rowCount(); ++fila) {
    if (!m->editada(fila) || (tipo == GPR && m->indice(fila) == 0)) continue;
    if (!convierte(m->textoFila(fila))) {
      dialogos.mensaje(this, QString::fromUtf8(MENSAJE_INVALIDO));
      grdSelec->ponerEnFila(fila);
      return;
    }
  }
  for (int fila = 0; fila < m->rowCount(); ++fila) {
    if (!m->editada(fila)) continue;
    const int32_t i = m->indice(fila);
    if (i < 0 || i >= numElementos) continue;
    const QString texto = m->textoFila(fila);
    // R0 sigue valiendo 0 (su texto ni se comprueba).
    if (tipo == GPR) ediciones->escribirRegistroEntero(i, i == 0 ? 0 : *TFormatoNumero::entero(texto));
    else if (tipo == FPR) ediciones->escribirRegistroReal(i, *TFormatoNumero::real(texto));
    else ediciones->escribirMemoria(i, *TFormatoNumero::real(texto));
  }
  // Las filas guardadas vuelven a enseñar el valor de la máquina en su formato.
  refrescar();
}

void TfrmSelecMaquina::butResetClick() {
  // Solo la rejilla: la máquina cambia si después se guarda.
  for (int fila = 0; fila < modelo()->rowCount(); ++fila) modelo()->editar(fila, textoCero());
  grdSelec->recargarEditor();
}
