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
  TAplicacion(int& argc, char** argv);

  void setServicioDialogos(TServicioDialogos* servicio) { dialogos = servicio; }

  bool notify(QObject* receptor, QEvent* evento) override;

  // Texto con que se informa de un fallo (el de la excepción, o uno genérico).
  static QString textoFallo(std::exception_ptr fallo);
  // Muestra el fallo con el servicio dado (o por la salida de errores si no hay).
  static void informarFallo(TServicioDialogos* servicio, std::exception_ptr fallo);

private:
  TServicioDialogos* dialogos = nullptr;
};
