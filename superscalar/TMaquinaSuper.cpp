#include "superscalar/TMaquinaSuper.h"

const std::array<std::string, 4> nombresPrediccion = {"F(00)", "F(01)", "V(10)", "V(11)"};

TMaquinaSuper::TMaquinaSuper() { TMaquinaSuper::reset(true); }

TMaquinaSuper::~TMaquinaSuper() = default;

void TMaquinaSuper::reset(bool limpiar) { TMaquina::reset(limpiar); }

int8_t TMaquinaSuper::ejecutarCiclo() {
  ++ciclo;
  return CICLO_COMPLETADO;
}

int32_t TMaquinaSuper::capacidadER(int tipo) const {
  (void)tipo;
  return 0;
}

int32_t TMaquinaSuper::capacidadROB() const { return 0; }

int8_t TMaquinaSuper::commit() { return COMMIT_ROB_VACIO; }

void TMaquinaSuper::escribir() {}

void TMaquinaSuper::ejecutar() {}

int32_t TMaquinaSuper::emitir() { return 0; }

int32_t TMaquinaSuper::decodificar() { return 0; }

int32_t TMaquinaSuper::buscar() { return 0; }

bool TMaquinaSuper::resolverSalto(TEntradaROB* entrada) {
  (void)entrada;
  return true;
}

void TMaquinaSuper::actualizarPrediccion(int32_t direccion, bool tomado) {
  (void)direccion;
  (void)tomado;
}

void TMaquinaSuper::vaciarPipeline() {}
