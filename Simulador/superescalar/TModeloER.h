#pragma once
// Una estación de reserva: una fila por entrada en orden de emisión, y tantas
// filas como caben (unidades del tipo × (latencia + 1)), leído de las unidades
// construidas. Columnas "Inst.", "Qj", "Vj", "Qk", "Vk", "A", "ROB".

#include "Simulador/comunes/TModeloEjecucion.h"

class TMaquinaSuper;
class TEntradaER;

class TModeloER : public TModeloEjecucion {
  Q_OBJECT
public:
  enum Columna { ColInst = 0, ColQj, ColVj, ColQk, ColVk, ColA, ColROB, NUM_COLUMNAS };

  TModeloER(const TMaquinaSuper& maquina, int tipo, QObject* padre = nullptr);

  const TEntradaER* entrada(int fila) const;
  QString pistaGeneral() const override;
  // Capacidad de la estación según las unidades que tiene construidas la máquina.
  static int capacidadConstruida(const TMaquinaSuper& maquina, int tipo);

protected:
  int filasActuales() const override;
  int columnasActuales() const override { return NUM_COLUMNAS; }
  QString texto(int fila, int columna) const override;
  QVariant fondo(int fila, int columna) const override;
  QString pista(int fila, int columna) const override;
  bool filaVacia(int fila) const override { return entrada(fila) == nullptr; }
  QString cabeceraHorizontal(int seccion) const override;

private:
  const TMaquinaSuper& maquina;
  const int tipo;
};
