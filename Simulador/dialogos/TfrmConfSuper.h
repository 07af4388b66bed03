#pragma once
// Configuración de la máquina superescalar: unidades, latencias, fallo de caché
// y anchura de emisión. La ventana principal la abre, la cierra al empezar o
// acabar una ejecución superescalar y olvida su puntero cuando se destruye. Lo
// aceptado da forma a la máquina desde el siguiente reset.

#include "Simulador/dialogos/TfrmConfiguracion.h"

class TMaquinaSuper;

class TfrmConfSuper : public TfrmConfiguracion {
  Q_OBJECT
public:
  static constexpr int TEMA_AYUDA = 12;

  explicit TfrmConfSuper(TMaquinaSuper& maquina, QWidget* padre = nullptr);

  void cargarDeMaquina() override;
  void cargarPredefinidos() override;
  // No escribe nada durante una ejecución: la máquina lee su configuración en cada ciclo.
  void aplicar() override;

  TMaquinaSuper& maquina;
  TSpinNumero* spiEmision;
  QGroupBox* gbParametros;
};
