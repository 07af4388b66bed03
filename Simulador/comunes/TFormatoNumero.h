#pragma once
// Textos de los números que enseñan y leen las vistas. Los reales usan el
// separador decimal del idioma por defecto (QLocale()), nunca separador de
// miles, al escribirlos y al leerlos.

#include <QLocale>
#include <QString>
#include <cstdint>
#include <optional>

class TFormatoNumero {
public:
  // Idioma por defecto sin separador de miles, ni al escribir ni al leer.
  static QLocale local();
  static QChar separadorDecimal();

  // Notación fija de registros y memoria: tres decimales y como mucho siete
  // cifras significativas ("1,500", "12345,680"); en notación científica si la
  // parte entera pide más de siete cifras.
  static QString fijo(float valor);
  // Formato general de la ventana superescalar: hasta 15 cifras significativas
  // del valor de simple precisión pasado a doble ("2,5", "0,100000001490116").
  static QString general(float valor);

  // Entero de 32 bits escrito por el usuario; nada si no convierte.
  static std::optional<int32_t> entero(const QString& texto);
  // Real escrito por el usuario, redondeado a simple precisión; nada si no
  // convierte o no cabe en simple precisión.
  static std::optional<float> real(const QString& texto);
};
