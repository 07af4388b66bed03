#include "session/TSesionSuper.h"

TSesionSuper::TSesionSuper(TMaquinaSuper& m, TCodigo* programa) : TSesion(m), maquinaSuper(m), codigo(programa) {
  if (codigo != nullptr) maquinaSuper.codigo = codigo;
}

bool TSesionSuper::cambiarPrograma(TCodigo* programa) {
  if (enCurso()) return false;
  codigo = programa;
  maquinaSuper.codigo = programa;
  return true;
}

int8_t TSesionSuper::puedeIniciar() const { return codigo == nullptr ? SESION_SIN_PROGRAMA : SESION_OK; }

bool TSesionSuper::editarPrediccion(int32_t entrada, int32_t estado) {
  TEdicion e;
  e.tipo = edPrediccion;
  e.indice = entrada;
  e.entero = estado;
  return editar(e);
}

bool TSesionSuper::editarColor(int32_t etiquetaROB, TColor color) {
  TEdicion e;
  e.tipo = edColor;
  e.indice = etiquetaROB;
  e.color = color;
  return editar(e);
}

bool TSesionSuper::aplicar(const TEdicion& e) {
  switch (e.tipo) {
    case edPrediccion:
      if (e.indice < 0 || e.indice >= TAM_PREDICCION || e.entero < 0 || e.entero > 3) return false;
      maquinaSuper.prediccion[static_cast<size_t>(e.indice)] = e.entero;
      return true;
    case edBreakpoint:
      if (codigo == nullptr || !codigo->indiceValido(e.indice) ||
          static_cast<size_t>(e.indice) >= codigo->instrucciones.size())
        return false;
      codigo->instrucciones[static_cast<size_t>(e.indice)].breakpoint = e.entero != 0;
      return true;
    case edColor: {
      // Solo una entrada viva del ROB tiene instrucción a la que dar color.
      TEntradaROB* r = maquinaSuper.rob.elemento(e.indice);
      if (r == nullptr || !r->instruccion) return false;
      r->instruccion->color = e.color;
      return true;
    }
    default: return TSesion::aplicar(e);
  }
}

void TSesionSuper::guardarInicial() {
  maquinaSuper.capturar(inicial);
  breakpointsIniciales.clear();
  if (codigo != nullptr)
    for (const TInstruccion& i : codigo->instrucciones) breakpointsIniciales.push_back(i.breakpoint);
}

bool TSesionSuper::restaurarInicial() {
  if (codigo == nullptr || breakpointsIniciales.size() != codigo->instrucciones.size()) return false;
  if (!maquinaSuper.restaurar(inicial)) return false;
  restaurarBreakpoints();
  return true;
}

void TSesionSuper::restaurarBreakpoints() {
  if (codigo == nullptr || breakpointsIniciales.size() != codigo->instrucciones.size()) return;
  for (size_t i = 0; i < breakpointsIniciales.size(); ++i) codigo->instrucciones[i].breakpoint = breakpointsIniciales[i];
}

std::shared_ptr<TInstantaneaMaquina> TSesionSuper::fotografiar() const {
  auto foto = std::make_shared<TInstantaneaSuper>();
  maquinaSuper.capturar(*foto);
  // Se guardará mucho tiempo: sin la reserva de más de los vectores.
  foto->rob.entradas.shrink_to_fit();
  for (auto& v : foto->er) v.shrink_to_fit();
  return foto;
}

bool TSesionSuper::revelar(const TInstantaneaMaquina& foto) {
  return maquinaSuper.restaurar(static_cast<const TInstantaneaSuper&>(foto));
}

size_t TSesionSuper::tamanoFoto(const TInstantaneaMaquina& foto) const {
  return static_cast<const TInstantaneaSuper&>(foto).tamano();
}
