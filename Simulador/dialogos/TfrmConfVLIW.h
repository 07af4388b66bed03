#pragma once
// Configuración de la máquina VLIW: unidades, latencias y fallo de caché (la
// unidad de salto es siempre una). Aceptar resetea la máquina, que rehace sus
// unidades; antes avisa con «aplicando» para que la ventana principal cierre lo
// que está hecho sobre las unidades de ahora (el editor, la ventana de ejecución).

#include <functional>

#include "Simulador/dialogos/TfrmConfiguracion.h"

class TMaquinaVLIW;

class TfrmConfVLIW : public TfrmConfiguracion {
  Q_OBJECT
public:
  static constexpr int TEMA_AYUDA = 13;

  explicit TfrmConfVLIW(TMaquinaVLIW& maquina, QWidget* padre = nullptr);

  // Escribe la configuración y resetea la máquina (el programa se conserva).
  // No hace nada durante una ejecución.
  void aplicar() override;

  TMaquinaVLIW& maquina;
  // Opción «&Resetear máquina al iniciar»: el «limpiar» del reset.
  std::function<bool()> limpiarAlAplicar = [] { return false; };

signals:
  void aplicando();
};
