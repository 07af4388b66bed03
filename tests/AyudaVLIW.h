#pragma once
// Utilidades comunes de las pruebas VLIW: programas secuenciales en texto y
// programas VLIW descritos como listas de colocaciones.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "loader/TCodigo.h"
#include "vliw/TCodigoVLIW.h"
#include "vliw/TMaquinaVLIW.h"

namespace ayuda {

// Una operación colocada: instrucción secuencial, unidad, guarda y, en saltos,
// destino y predicados.
struct TOp {
  int32_t dir = 0;
  int32_t unidad = 0;
  int32_t pred = 0;
  int32_t destino = 0;
  int32_t pV = 0;
  int32_t pF = 0;
};
using TLarga = std::vector<TOp>;

inline TCodigo secuencial(const std::string& texto) {
  TCodigo c;
  EXPECT_EQ(c.cargarTexto(texto), CARGA_OK) << c.detalleError;
  return c;
}

inline void construir(TCodigoVLIW& programa, const TCodigo& s, const std::vector<TLarga>& largas) {
  programa.crear(static_cast<int32_t>(largas.size()));
  for (size_t i = 0; i < largas.size(); ++i)
    for (const TOp& o : largas[i]) {
      auto op = std::make_unique<TOperacionVLIW>(s.instrucciones[static_cast<size_t>(o.dir)]);
      op->tipoUF = s.tipoUF(o.dir);
      op->numUnidad = o.unidad;
      op->predicado = o.pred;
      if (esSalto(op->codOp)) {
        op->op[2] = o.destino;
        op->predVerdadero = o.pV;
        op->predFalso = o.pF;
      }
      programa.instrucciones[i].anadir(std::move(op));
    }
}

// Ejecuta ciclos hasta CICLO_COMPLETADO o CICLO_ERROR (o el tope) y anota qué
// instrucción larga se emitió en cada ciclo: emitidas[c] para el ciclo c.
inline int8_t ejecutar(TMaquinaVLIW& m, std::vector<int32_t>* emitidas = nullptr, int tope = 1000) {
  if (emitidas) emitidas->assign(1, -1);
  int8_t r = CICLO_NORMAL;
  for (int i = 0; i < tope; ++i) {
    r = m.ejecutarCiclo();
    if (emitidas) emitidas->push_back(m.emitidaCiclo);
    if (r == CICLO_COMPLETADO || r == CICLO_ERROR) return r;
  }
  ADD_FAILURE() << "la ejecución no termina en " << tope << " ciclos";
  return r;
}

// Ciclo en que se emitió la instrucción larga i por primera vez; -1 si nunca.
inline int cicloDeEmision(const std::vector<int32_t>& emitidas, int32_t i) {
  for (size_t c = 0; c < emitidas.size(); ++c)
    if (emitidas[c] == i) return static_cast<int>(c);
  return -1;
}

}  // namespace ayuda
