#pragma once
// La casilla de ciclo, la barra de progreso y el estado de la barra de estado:
// enseñan la máquina seleccionada. Las dos máquinas pueden ejecutar a la vez:
// cada una apunta su ciclo (el último ejecutado, o 0 tras «Parar») y solo se
// enseña el de la seleccionada. La casilla solo cambia con un ciclo, «Parar»
// o la selección; la barra de estado, cada vez que se refresca.

#include <QObject>
#include <array>
#include <cstdint>
#include <functional>

#include "Simulador/control/TTipoMaquina.h"

class TControladorMaquina;
class TOrdenesPrincipal;

class TIndicadorEstado : public QObject {
  Q_OBJECT
public:
  // «hayPrograma» dice si hay un programa abierto.
  TIndicadorEstado(TOrdenesPrincipal& ordenes, TControladorMaquina& controlSuper, TControladorMaquina& controlVLIW,
                   std::function<bool()> hayPrograma, QObject* padre);

  void seleccionar(TTipoMaquina m);
  void refrescar(bool casillaCiclo = false);

private:
  void seguir(TControladorMaquina& c);
  TControladorMaquina& controlador(TTipoMaquina m) const { return m == TTipoMaquina::vliw ? controlVLIW : controlSuper; }

  TOrdenesPrincipal& ordenes;
  TControladorMaquina& controlSuper;
  TControladorMaquina& controlVLIW;
  std::function<bool()> hayPrograma;
  TTipoMaquina seleccionada = TTipoMaquina::superescalar;
  std::array<int32_t, 2> cicloMostrado{};
};
