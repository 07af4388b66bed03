#pragma once
// Los programas de ejemplo: dónde están y qué enseña cada uno. La primera línea
// del comentario de cabecera de un ejemplo («// nombre.pla — Qué enseña.») es
// su pista en el submenú de ejemplos.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

struct TEjemplo {
  QString ruta;
  QString nombre;  // del fichero, sin carpeta
  QString pista;
  QString rutaVLIW;  // su planificación VLIW (mismo nombre, ".vliw"), vacía si no tiene
};

class TEjemplos {
public:
  // Los programas fuente (*.pla, *.bun) de una carpeta, por orden de nombre.
  static QList<TEjemplo> listar(const QString& carpeta);
  // La primera línea del comentario con que empieza el fichero, sin las barras
  // ni el nombre del fichero que la encabeza; vacía si no empieza con uno.
  static QString pista(const QString& ruta);
  static QString pistaDe(const QByteArray& contenido, const QString& nombre);
  // El programa VLIW de un fuente: el fichero de su carpeta con el mismo nombre
  // y sufijo ".vliw", si existe; vacía si no.
  static QString programaVLIW(const QString& ruta);

  // Dónde se buscan, por orden: "examples" en la carpeta de trabajo (el código
  // fuente), la carpeta de datos relativa al ejecutable y la instalada.
  static QStringList carpetasCandidatas();
  // La primera candidata que existe, o vacío.
  static QString buscarCarpeta();
};
