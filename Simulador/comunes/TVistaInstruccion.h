#pragma once
// Cómo enseñan las vistas de ejecución una instrucción: su color de resaltado
// y el texto de su pista, leído del programa cargado sin salirse de él.

#include <QColor>
#include <QString>
#include <QVariant>
#include <cstdint>

#include "machine/TTipos.h"

class TCodigo;

class TVistaInstruccion {
public:
  // Relleno de una celda con instrucción: vacío (el fondo de la rejilla) para
  // el color por defecto.
  static QVariant fondo(TColor color);
  static QColor aQColor(TColor color);
  static TColor deQColor(const QColor& color);

  // texto() de la instrucción n del programa; vacío sin programa o si n cae
  // fuera de él (el programa puede haber cambiado con la ventana abierta).
  static QString texto(const TCodigo* codigo, int64_t n);
};
