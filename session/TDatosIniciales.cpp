#include "session/TDatosIniciales.h"

TDatosIniciales TDatosIniciales::de(const TMaquina& m) {
  TDatosIniciales d;
  d.gpr = m.gpr.valor;
  d.fpr = m.fpr.valor;
  d.memoria = m.memoria.datos;
  return d;
}

TDatosIniciales TDatosIniciales::de(const TInstantaneaMaquina& i) {
  TDatosIniciales d;
  d.gpr = i.gpr;
  d.fpr = i.fpr;
  d.memoria = i.memoria;
  return d;
}

void TDatosIniciales::ponerEn(TMaquina& m) const {
  m.gpr.valor = gpr;
  m.gpr.valor[0] = 0;
  m.fpr.valor = fpr;
  m.memoria.datos = memoria;
}
