#pragma once
// Cola de prefetch o del decodificador: una columna sin cabecera con el número
// de cada instrucción, de la más antigua a la más nueva; tantas filas como
// huecos útiles tiene la cola construida.

#include "Simulador/comunes/TModeloEjecucion.h"

class TMaquinaSuper;
class TInstruccion;

class TModeloCola : public TModeloEjecucion {
  Q_OBJECT
public:
  enum Cola { Prefetch, Decodificador };

  TModeloCola(const TMaquinaSuper& maquina, Cola cola, QObject* padre = nullptr);

  const TInstruccion* instruccion(int fila) const;

protected:
  int filasActuales() const override;
  int columnasActuales() const override { return 1; }
  QString texto(int fila, int columna) const override;
  QString pista(int fila, int columna) const override;
  bool filaVacia(int fila) const override { return instruccion(fila) == nullptr; }
  QString cabeceraHorizontal(int) const override { return {}; }

private:
  const TMaquinaSuper& maquina;
  const Cola cola;
};
