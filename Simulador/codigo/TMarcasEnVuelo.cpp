#include "Simulador/codigo/TMarcasEnVuelo.h"

#include <algorithm>

#include "superscalar/TMaquinaSuper.h"
#include "vliw/TMaquinaVLIW.h"

namespace {

bool contiene(const std::vector<int32_t>& lista, int32_t i) {
  return std::find(lista.begin(), lista.end(), i) != lista.end();
}

}  // namespace

uint8_t TMarcasEnVuelo::marca(int32_t instruccion) const {
  uint8_t m = 0;
  if (contiene(siguientes, instruccion)) m |= SIGUIENTE;
  if (contiene(confirmadas, instruccion)) m |= CONFIRMADA;
  return m;
}

bool TMarcasEnVuelo::extension(int32_t& primera, int32_t& ultima) const {
  if (vacias()) return false;
  primera = INT32_MAX;
  ultima = INT32_MIN;
  for (const std::vector<int32_t>* lista : {&siguientes, &confirmadas})
    for (int32_t i : *lista) {
      primera = std::min(primera, i);
      ultima = std::max(ultima, i);
    }
  return true;
}

bool TMarcasEnVuelo::operator==(const TMarcasEnVuelo& otras) const {
  return siguientes == otras.siguientes && confirmadas == otras.confirmadas;
}

TMarcasEnVuelo TMarcasEnVuelo::de(const TMaquinaSuper& maquina) {
  TMarcasEnVuelo marcas;
  if (!maquina.enEjecucion || !maquina.codigo) return marcas;
  const TCodigo& codigo = *maquina.codigo;
  if (codigo.indiceValido(maquina.pc)) marcas.siguientes.push_back(static_cast<int32_t>(maquina.pc));
  for (int32_t i : maquina.confirmadasCiclo)
    if (codigo.indiceValido(i) && !contiene(marcas.confirmadas, i)) marcas.confirmadas.push_back(i);
  return marcas;
}

TMarcasEnVuelo TMarcasEnVuelo::de(const TMaquinaVLIW& maquina, int32_t numInstrucciones) {
  TMarcasEnVuelo marcas;
  if (!maquina.enEjecucion) return marcas;
  const TInstruccionLarga* larga = maquina.codigo.instruccion(maquina.pc);
  if (!larga) return marcas;
  for (const auto& op : larga->operaciones)
    if (op && op->direccion >= 0 && op->direccion < numInstrucciones && !contiene(marcas.siguientes, op->direccion))
      marcas.siguientes.push_back(op->direccion);
  return marcas;
}
