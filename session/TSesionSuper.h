#pragma once
// La sesión de la máquina superescalar: su programa (del que cuelgan los
// breakpoints), el predictor y el color de las instrucciones en vuelo.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "loader/TCodigo.h"
#include "session/TSesion.h"
#include "superscalar/TInstantaneaSuper.h"
#include "superscalar/TMaquinaSuper.h"

class TSesionSuper : public TSesion {
public:
  // La máquina y el programa no se poseen; el programa puede faltar aún.
  TSesionSuper(TMaquinaSuper& m, TCodigo* programa = nullptr);

  TMaquinaSuper& maquinaSuper;
  TCodigo* programa() const { return codigo; }
  // Apunta la máquina al programa. Sin efecto durante una ejecución.
  bool cambiarPrograma(TCodigo* programa);

  bool editarPrediccion(int32_t entrada, int32_t estado);
  // Color de la instrucción en vuelo de esa entrada del ROB.
  bool editarColor(int32_t etiquetaROB, TColor color);

  const TInstantaneaSuper& estadoInicial() const { return inicial; }

protected:
  bool aplicar(const TEdicion& e) override;
  void guardarInicial() override;
  bool restaurarInicial() override;
  std::shared_ptr<TInstantaneaMaquina> fotografiar() const override;
  bool revelar(const TInstantaneaMaquina& foto) override;
  size_t tamanoFoto(const TInstantaneaMaquina& foto) const override;
  void restaurarBreakpoints() override;
  int8_t puedeIniciar() const override;

private:
  TCodigo* codigo;
  TInstantaneaSuper inicial;
  std::vector<bool> breakpointsIniciales;
};
