#pragma once
// La aplicación: recoge en un solo sitio los fallos que escapan de cualquier
// orden (fuera de los ticks, que tienen su propia guarda) y los muestra en un
// mensaje; el bucle de eventos sigue.

#include <QApplication>
#include <exception>

class TServicioDialogos;

class TAplicacion : public QApplication {
  Q_OBJECT
public:
  // Instala las traducciones al español de Qt.
  TAplicacion(int& argc, char** argv);

  // Los diálogos y botones propios de Qt (abrir y guardar ficheros, el
  // selector de color, el «OK» de los mensajes) en español, como el resto de
  // la interfaz: las traducciones de Qt que trae el sistema (en Debian, el
  // paquete qt6-translations-l10n). false si no están: se quedan en inglés.
  static bool instalarTraducciones();

  void setServicioDialogos(TServicioDialogos* servicio) { dialogos = servicio; }

  bool notify(QObject* receptor, QEvent* evento) override;

  // Texto con que se informa de un fallo (el de la excepción, o uno genérico).
  static QString textoFallo(std::exception_ptr fallo);
  // Muestra el fallo con el servicio dado (o por la salida de errores si no hay).
  static void informarFallo(TServicioDialogos* servicio, std::exception_ptr fallo);

private:
  TServicioDialogos* dialogos = nullptr;
};
