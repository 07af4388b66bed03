#pragma once
// La sesión de la máquina VLIW: su programa es el de la máquina, y los
// breakpoints son de sus instrucciones largas.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "session/TSesion.h"
#include "vliw/TInstantaneaVLIW.h"
#include "vliw/TMaquinaVLIW.h"

class TSesionVLIW : public TSesion {
public:
  explicit TSesionVLIW(TMaquinaVLIW& m) : TSesion(m), maquinaVLIW(m) {}

  TMaquinaVLIW& maquinaVLIW;

  const TInstantaneaVLIW& estadoInicial() const { return inicial; }

protected:
  bool aplicar(const TEdicion& e) override;
  void guardarInicial() override;
  bool restaurarInicial() override;
  std::shared_ptr<TInstantaneaMaquina> fotografiar() const override;
  bool revelar(const TInstantaneaMaquina& foto) override;
  size_t tamanoFoto(const TInstantaneaMaquina& foto) const override;
  void restaurarBreakpoints() override;
  // Sin programa, o con uno para más unidades de las configuradas, no se empieza.
  int8_t puedeIniciar() const override;

private:
  TInstantaneaVLIW inicial;
  std::vector<bool> breakpointsIniciales;
};
