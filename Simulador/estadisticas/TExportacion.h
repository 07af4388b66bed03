#pragma once
// Lo que comparten las ventanas de estadísticas, comparación y exploración al
// sacar sus datos: pedir el fichero (por el servicio de diálogos), escribirlo
// sin dejar uno a medias y avisar si no se pudo; copiar al portapapeles.

#include <QString>

class QWidget;
class TServicioDialogos;

class TExportacion {
public:
  static constexpr const char* FILTRO_CSV = "Valores separados por comas|*.csv";
  static constexpr const char* FILTRO_PNG = "Imagen PNG|*.png";

  // Pide un fichero .csv y escribe «contenido». false si se canceló o falló (con mensaje).
  static bool guardarCSV(TServicioDialogos& dialogos, QWidget* padre, const QString& contenido);
  // Pide un fichero .png y guarda en él la imagen de «vista».
  static bool guardarPNG(TServicioDialogos& dialogos, QWidget* padre, QWidget& vista);
  static void copiar(const QString& texto);

private:
  static bool escribir(TServicioDialogos& dialogos, QWidget* padre, const QString& ruta, const QByteArray& bytes);
};
