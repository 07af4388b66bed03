#include "Simulador/codigo/TMarcadorEnVuelo.h"

#include "Simulador/codigo/TModeloCodigo.h"
#include "Simulador/control/TControladorMaquina.h"
#include "Simulador/editor/TfrmEditorCodigo.h"
#include "loader/TCodigo.h"
#include "superscalar/TMaquinaSuper.h"
#include "vliw/TMaquinaVLIW.h"

TMarcadorEnVuelo::TMarcadorEnVuelo(TControladorMaquina& s, TControladorMaquina& v, TModeloCodigo& m, QObject* padre)
    : QObject(padre), ctlSuper(s), ctlVLIW(v), modelo(m) {
  setObjectName(QStringLiteral("marcadorEnVuelo"));
  // Solo importa la máquina seleccionada: la otra no puede estar ejecutando
  // (la selección se bloquea durante una ejecución), pero sus señales no deben
  // borrar las marcas de la que sí.
  for (TControladorMaquina* c : {&ctlSuper, &ctlVLIW}) {
    const TTipoMaquina t = c->tipo();
    auto siEsLaSeleccionada = [this, t] {
      if (t == seleccionada) actualizar();
    };
    connect(c, &TControladorMaquina::ejecucionIniciada, this, siEsLaSeleccionada);
    connect(c, &TControladorMaquina::cicloEjecutado, this, siEsLaSeleccionada);
    connect(c, &TControladorMaquina::ejecucionTerminada, this, siEsLaSeleccionada);
  }
}

TControladorMaquina& TMarcadorEnVuelo::controlador(TTipoMaquina m) const {
  return m == TTipoMaquina::vliw ? ctlVLIW : ctlSuper;
}

void TMarcadorEnVuelo::seleccionarMaquina(TTipoMaquina m) {
  seleccionada = m;
  actualizar();
}

void TMarcadorEnVuelo::setEditor(TfrmEditorCodigo* e) {
  editor = e;
  if (editor) editor->ponerEnVuelo(actuales);
}

void TMarcadorEnVuelo::actualizar() {
  const TCodigo* programa = modelo.programa();
  const TControladorMaquina& c = controlador(seleccionada);
  if (!programa) actuales = TMarcasEnVuelo();
  else if (c.maquinaVLIW()) actuales = TMarcasEnVuelo::de(*c.maquinaVLIW(), programa->numInstrucciones);
  else actuales = TMarcasEnVuelo::de(*c.maquinaSuper());
  modelo.ponerEnVuelo(actuales);
  if (editor) editor->ponerEnVuelo(actuales);
}
