#pragma once
// Unidades funcionales de un tipo: una columna por unidad ("#0", "#1", …) y
// una fila por etapa, la de entrada arriba y la de salida abajo. Lee el vector
// de unidades a través de un acceso a la máquina en cada pintado, no un
// puntero guardado: la máquina VLIW reconstruye sus unidades al cambiar de
// configuración aunque la ventana siga abierta.

#include <functional>
#include <vector>

#include "Simulador/comunes/TModeloEjecucion.h"

class TCodigo;
class TInstruccion;
class TUnidadFuncional;

class TModeloUF : public TModeloEjecucion {
  Q_OBJECT
public:
  using TAcceso = std::function<const std::vector<TUnidadFuncional>&()>;

  // tipo: el de las unidades para la pista (las de direcciones llevan 0).
  TModeloUF(TAcceso unidades, int tipo, QObject* padre = nullptr);

  // Instrucción en la etapa que enseña la celda, o nullptr.
  const TInstruccion* instruccion(int fila, int columna) const;
  QString pistaGeneral() const override;

protected:
  int filasActuales() const override;
  int columnasActuales() const override;
  QString texto(int fila, int columna) const override;
  QVariant fondo(int fila, int columna) const override;
  QString pista(int fila, int columna) const override;
  QString cabeceraHorizontal(int seccion) const override;

private:
  TAcceso unidades;
  const int tipo;
};
