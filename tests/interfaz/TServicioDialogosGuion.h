#pragma once
// Servicio de diálogos para las pruebas: apunta todo lo que se muestra o se
// pregunta y responde según un guion, sin abrir ningún bucle modal. Si el guion
// se agota, lo apunta en «sinRespuesta» y cancela.

#include <QColor>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

#include "Simulador/aplicacion/TServicioDialogos.h"

struct TDialogoApuntado {
  QString tipo;  // "mensaje", "confirmar", "cambios", "abrir", "guardar", "color", "cantidad", "guardarCambio", "modal"
  QString texto;
  QString detalle;
  QString carpeta = {};  // donde empieza un diálogo de ficheros
};

struct TPreguntaCantidad {
  QString titulo, texto;
  int valor = 0, minimo = 0, maximo = 0;
};

class TServicioDialogosGuion : public TServicioDialogos {
public:
  QList<TDialogoApuntado> apuntes;
  QList<TPreguntaCantidad> preguntasCantidad;
  int sinRespuesta = 0;

  // Respuestas, en orden de uso.
  QList<bool> confirmaciones;
  QStringList ficherosAbrir;
  QStringList ficherosGuardar;
  QList<std::optional<QColor>> colores;
  QList<std::optional<int>> cantidades;  // nullopt: cancelar
  QList<int> respuestasGuardarCambio;
  QList<int> respuestasModal;
  QList<TRespuestaCambios> respuestasCambios;  // agotadas: cancelar
  // Se llama al recibir cada mensaje (p. ej. para comprobar el estado en ese momento).
  std::function<void(const QString&)> alMostrarMensaje;
  // Se llama con cada diálogo propio antes de responder: la prueba puede leer
  // cómo se preparó y rellenarlo como lo haría el usuario.
  std::function<void(QDialog&)> alEjecutarModal;

  QStringList mensajes() const;
  QStringList de(const QString& tipo) const;
  void olvidar() { apuntes.clear(); preguntasCantidad.clear(); }

  void mensaje(QWidget* padre, const QString& texto, const QString& detalle) override;
  bool confirmar(QWidget* padre, const QString& pregunta) override;
  TRespuestaCambios preguntarCambios(QWidget* padre, const QString& pregunta, const QString& guardar,
                                     const QString& descartar) override;
  QString abrirFichero(QWidget* padre, const QString& filtro, const QString& carpeta = QString()) override;
  QString guardarFichero(QWidget* padre, const QString& filtro, const QString& sufijo,
                         const QString& carpeta = QString()) override;
  std::optional<QColor> elegirColor(QWidget* padre, const QColor& inicial) override;
  int pedirCantidad(QWidget* padre, const QString& titulo, const QString& texto, int valor, int minimo, int maximo,
                    int& cantidad) override;
  int preguntarGuardarCambio(QWidget* padre) override;
  int ejecutarModal(QDialog& dialogo) override;
};
