#pragma once
// Vista de las unidades funcionales de un tipo (o de las de cálculo de
// direcciones): una columna por unidad y una fila por etapa.

#include "Simulador/comunes/TModeloUF.h"
#include "Simulador/comunes/TPanelRejilla.h"

class TfrmUF : public TPanelRejilla {
  Q_OBJECT
public:
  // tipo: el de las unidades (0 para las de direcciones); titulo: el del panel.
  TfrmUF(TModeloUF::TAcceso unidades, int tipo, const QString& titulo, QWidget* padre = nullptr);

  void actualizar();
  // Ancho con el que caben todas las unidades.
  int anchoNecesario() const;

  static constexpr int ANCHO_MINIMO = 30;

  TModeloUF* modelo;
};
