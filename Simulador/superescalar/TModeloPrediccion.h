#pragma once
// Tabla de predicción de saltos: 16 filas; la cabecera vertical es "Dir."
// (0 … 15) y la única columna del modelo, "Valor", el estado del predictor.

#include "Simulador/comunes/TModeloEjecucion.h"

class TMaquinaSuper;

class TModeloPrediccion : public TModeloEjecucion {
  Q_OBJECT
public:
  explicit TModeloPrediccion(const TMaquinaSuper& maquina, QObject* padre = nullptr);

protected:
  int filasActuales() const override;
  int columnasActuales() const override { return 1; }
  QString texto(int fila, int columna) const override;
  QString cabeceraHorizontal(int) const override { return QStringLiteral("Valor"); }
  QString cabeceraVertical(int seccion) const override { return QString::number(seccion); }

private:
  const TMaquinaSuper& maquina;
};
