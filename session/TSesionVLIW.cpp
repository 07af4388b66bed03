#include "session/TSesionVLIW.h"

int8_t TSesionVLIW::puedeIniciar() const {
  if (maquinaVLIW.codigo.numInstrucciones == 0) return SESION_SIN_PROGRAMA;
  if (maquinaVLIW.comprobarConfiguracion() != CHEQUEO_OK) return SESION_CONFIGURACION;
  return SESION_OK;
}

bool TSesionVLIW::aplicar(const TEdicion& e) {
  if (e.tipo != edBreakpoint) return TSesion::aplicar(e);
  TInstruccionLarga* larga = maquinaVLIW.codigo.instruccion(e.indice);
  if (larga == nullptr) return false;
  larga->breakpoint = e.entero != 0;
  return true;
}

void TSesionVLIW::guardarInicial() {
  maquinaVLIW.capturar(inicial);
  breakpointsIniciales.clear();
  for (int32_t i = 0; i < maquinaVLIW.codigo.numInstrucciones; ++i) {
    const TInstruccionLarga* larga = maquinaVLIW.codigo.instruccion(i);
    breakpointsIniciales.push_back(larga != nullptr && larga->breakpoint);
  }
}

bool TSesionVLIW::restaurarInicial() {
  if (breakpointsIniciales.size() != static_cast<size_t>(maquinaVLIW.codigo.numInstrucciones)) return false;
  if (!maquinaVLIW.restaurar(inicial)) return false;
  restaurarBreakpoints();
  return true;
}

void TSesionVLIW::restaurarBreakpoints() {
  for (size_t i = 0; i < breakpointsIniciales.size(); ++i)
    if (TInstruccionLarga* larga = maquinaVLIW.codigo.instruccion(static_cast<int64_t>(i)))
      larga->breakpoint = breakpointsIniciales[i];
}

std::shared_ptr<TInstantaneaMaquina> TSesionVLIW::fotografiar() const {
  auto foto = std::make_shared<TInstantaneaVLIW>();
  maquinaVLIW.capturar(*foto);
  foto->etapas.shrink_to_fit();
  return foto;
}

bool TSesionVLIW::revelar(const TInstantaneaMaquina& foto) {
  return maquinaVLIW.restaurar(static_cast<const TInstantaneaVLIW&>(foto));
}

size_t TSesionVLIW::tamanoFoto(const TInstantaneaMaquina& foto) const {
  return static_cast<const TInstantaneaVLIW&>(foto).tamano();
}
