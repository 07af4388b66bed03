#include "machine/TInstruccion.h"

std::string TInstruccion::texto() const {
  std::string t = textoCodOp + " " + textoOp[0];
  if (!textoOp[1].empty()) t += " " + textoOp[1];
  if (!textoOp[2].empty()) t += " " + textoOp[2];
  return t;
}
