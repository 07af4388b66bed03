#pragma once
// Panel de solo lectura de una tabla de renombrado de la máquina superescalar
// ("ROB<->GPR", "ROB<->FPR"): para cada registro, la entrada del ROB que lo escribirá.

#include <functional>

#include "Simulador/componentes/TfrmSelec.h"

class TfrmSelecROBReg : public TfrmSelec {
  Q_OBJECT
public:
  using TLector = std::function<int32_t(int32_t)>;
  using TPendiente = std::function<bool(int32_t)>;

  TfrmSelecROBReg(TServicioDialogos& dialogos, TdlgIntervalo& dlgIntervalo, QWidget* padre = nullptr);

  // «lector» da el valor del elemento i (0 ≤ i < numElementos) leyendo la
  // máquina; «pendiente», si el registro espera de verdad a esa entrada. La
  // tabla conserva las etiquetas viejas: las de los que no esperan, en gris.
  void asignar(TLector lector, int32_t numElementos, const QString& titulo, TPendiente pendiente = nullptr);

protected:
  QString valorElemento(int32_t i) const override;

private:
  TLector lector;
};
