#pragma once
// El fichero de ayuda "Ayuda/ORVEX.HLP": texto UTF-8 con temas numerados.
//
//   ORVEX-AYUDA 1                      primera línea: firma y versión
//   %% comentario                      líneas que se saltan
//   @tema 15 Ejecución superescalar    empieza el tema 15 con su título
//   @indice reorder buffer             entrada del índice que lleva a ese tema
//   <p>…</p>                           el resto de líneas: cuerpo HTML del tema
//
// Dentro del cuerpo, <a href="tema:21"> enlaza con otro tema. El tema 0, si
// existe, es la página de contenido.

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

struct TTemaAyuda {
  int numero = 0;
  QString titulo;
  QStringList indice;
  QString cuerpo;
};

class TFicheroAyuda {
public:
  QList<TTemaAyuda> temas;  // en el orden del fichero

  // false y un motivo legible («línea 12: …») si el texto no es un fichero de
  // ayuda válido; entonces no queda ningún tema.
  bool cargarTexto(const QString& texto, QString& error);
  bool cargar(const QString& ruta, QString& error);

  const TTemaAyuda* tema(int numero) const;
  // Todas las entradas del índice con su tema, por orden alfabético.
  QList<QPair<QString, int>> entradasIndice() const;

  // Ruta relativa con el separador de la plataforma, para los mensajes.
  static QString rutaRelativa();
  // Dónde se busca, por orden: la carpeta de trabajo, junto al ejecutable, la
  // carpeta de datos relativa al ejecutable y la carpeta de datos instalada.
  static QStringList rutasCandidatas();
  // La primera candidata que existe, o vacío.
  static QString buscar();
};
