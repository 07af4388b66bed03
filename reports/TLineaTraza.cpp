#include "reports/TLineaTraza.h"

#include "reports/TEscritorJSON.h"
#include "superscalar/TMaquinaSuper.h"
#include "vliw/TMaquinaVLIW.h"

namespace {

// Lo común: cycle, result y pc (como entero con signo: -1 tras un salto a ninguna parte).
void empezar(TEscritorJSON& j, const TMaquina& m, int8_t resultado) {
  j.abrirObjeto();
  j.clave("cycle");
  j.valor(static_cast<int64_t>(m.ciclo));
  j.clave("result");
  j.valor(static_cast<int64_t>(resultado));
  j.clave("pc");
  j.valor(static_cast<int64_t>(static_cast<int32_t>(m.pc)));
}

}  // namespace

void TLineaTraza::escribir(std::ostream& salida, const TMaquinaSuper& m, int8_t resultado) {
  TEscritorJSON j(salida);
  empezar(j, m, resultado);
  j.clave("committed");
  j.abrirLista();
  for (int32_t d : m.confirmadasCiclo) j.valor(static_cast<int64_t>(d));
  j.cerrarLista();
  j.cerrarObjeto();
  salida << '\n';
}

void TLineaTraza::escribir(std::ostream& salida, const TMaquinaVLIW& m, int8_t resultado) {
  TEscritorJSON j(salida);
  empezar(j, m, resultado);
  j.clave("issued");
  if (m.emitidaCiclo >= 0)
    j.valor(static_cast<int64_t>(m.emitidaCiclo));
  else
    j.nulo();
  j.cerrarObjeto();
  salida << '\n';
}
