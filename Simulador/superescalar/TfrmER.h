#pragma once
// Vista de una estación de reserva de la máquina superescalar: título con el
// nombre del tipo y una fila por entrada, en orden de emisión.

#include "Simulador/comunes/TPanelRejilla.h"

class TMaquinaSuper;
class TModeloER;

class TfrmER : public TPanelRejilla {
  Q_OBJECT
public:
  TfrmER(const TMaquinaSuper& maquina, int tipo, QWidget* padre = nullptr);

  void actualizar();

  TModeloER* modelo;
  const int tipo;
};
