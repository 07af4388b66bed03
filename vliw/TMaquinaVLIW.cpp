#include "vliw/TMaquinaVLIW.h"

TMaquinaVLIW::TMaquinaVLIW() { TMaquinaVLIW::reset(true); }

void TMaquinaVLIW::reset(bool limpiar) {
  numUF[tufSalto] = 1;
  TMaquina::reset(limpiar);
  predicados.fill(false);
  predicados[0] = true;
  natGPR.fill(false);
  natFPR.fill(false);
  estadisticas = TEstadisticasVLIW{};
  emitidaCiclo = -1;
}

int8_t TMaquinaVLIW::ejecutarCiclo() {
  ++ciclo;
  return CICLO_COMPLETADO;
}

void TMaquinaVLIW::borrarCodigo() {
  vaciarUnidades();
  codigo.borrar();
}

bool TMaquinaVLIW::cargarCodigo(const std::string& nombreFichero, const TCodigo& codigoSecuencial) {
  vaciarUnidades();
  return codigo.cargar(nombreFichero, codigoSecuencial);
}

void TMaquinaVLIW::vaciarUnidades() {
  for (auto& unidades : uf)
    for (auto& u : unidades) u.vaciar();
}

int32_t TMaquinaVLIW::comprobarConfiguracion() const { return CHEQUEO_OK; }

int32_t TMaquinaVLIW::comprobarCodigo(int32_t& instruccionLarga, int32_t& operacion) const {
  const int32_t r = comprobarDependencias(instruccionLarga, operacion);
  if (r != CHEQUEO_OK) return r;
  return comprobarPredicados(instruccionLarga, operacion);
}

int32_t TMaquinaVLIW::comprobarDependencias(int32_t&, int32_t&) const { return CHEQUEO_OK; }

int32_t TMaquinaVLIW::comprobarPredicados(int32_t&, int32_t&) const { return CHEQUEO_OK; }

std::string TMaquinaVLIW::mensajeChequeo(int32_t, int32_t, int32_t) { return {}; }
