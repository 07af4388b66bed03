#pragma once
// Reorder buffer de la ventana superescalar: una fila por hueco, desde la
// entrada más antigua. La cabecera vertical es la columna "Nº" (la etiqueta);
// las columnas del modelo son "Inst.", "Destino", "Valor", "Direc." y "Etapa".

#include "Simulador/comunes/TModeloEjecucion.h"

class TMaquinaSuper;
class TEntradaROB;

class TModeloROB : public TModeloEjecucion {
  Q_OBJECT
public:
  enum Columna { ColInst = 0, ColDestino, ColValor, ColDirec, ColEtapa, NUM_COLUMNAS };

  explicit TModeloROB(const TMaquinaSuper& maquina, QObject* padre = nullptr);

  // Entrada que muestra la fila, o nullptr si la fila está vacía.
  TEntradaROB* entrada(int fila) const;
  // Número de la columna "Nº" de la fila.
  int numero(int fila) const;

protected:
  int filasActuales() const override;
  int columnasActuales() const override { return NUM_COLUMNAS; }
  QString texto(int fila, int columna) const override;
  QVariant fondo(int fila, int columna) const override;
  QString pista(int fila, int columna) const override;
  bool filaVacia(int fila) const override { return entrada(fila) == nullptr; }
  QString cabeceraHorizontal(int seccion) const override;
  QString cabeceraVertical(int seccion) const override;
  QString pistaVertical(int seccion) const override { return pista(seccion, ColInst); }
  bool cabeceraVerticalVariable() const override { return true; }

private:
  const TMaquinaSuper& maquina;
};
