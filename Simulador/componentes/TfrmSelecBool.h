#pragma once
// Panel de solo lectura de un vector de bits de la máquina VLIW (NaT o
// predicados): "V" para verdadero y "F" para falso.

#include <functional>

#include "Simulador/componentes/TfrmSelec.h"

class TfrmSelecBool : public TfrmSelec {
  Q_OBJECT
public:
  using TLector = std::function<bool(int32_t)>;

  TfrmSelecBool(TServicioDialogos& dialogos, TdlgIntervalo& dlgIntervalo, QWidget* padre = nullptr);

  // «lector» da el bit i (0 ≤ i < numElementos) leyendo la máquina.
  void asignar(TLector lector, int32_t numElementos, const QString& prefijo, const QString& titulo);

protected:
  QString nombreElemento(int32_t i) const override { return prefijo + QString::number(i); }
  QString valorElemento(int32_t i) const override;

private:
  TLector lector;
  QString prefijo;
};
