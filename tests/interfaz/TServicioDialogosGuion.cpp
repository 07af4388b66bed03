#include "TServicioDialogosGuion.h"

#include <QDialog>
#include <QSettings>
#include <QTemporaryDir>

namespace {

// Ninguna prueba de la interfaz toca la configuración del usuario (la lista de
// ficheros recientes, lo que recuerdan los diálogos de ficheros de Qt): todo
// QSettings escribe en una carpeta temporal del proceso. Va aquí porque todas
// las pruebas de la interfaz enlazan este guion.
struct TConfiguracionAislada {
  QTemporaryDir carpeta;
  TConfiguracionAislada() {
    for (QSettings::Format f : {QSettings::NativeFormat, QSettings::IniFormat})
      QSettings::setPath(f, QSettings::UserScope, carpeta.path());
  }
} configuracionAislada;

}  // namespace

QStringList TServicioDialogosGuion::mensajes() const { return de(QStringLiteral("mensaje")); }

QStringList TServicioDialogosGuion::de(const QString& tipo) const {
  QStringList textos;
  for (const TDialogoApuntado& a : apuntes)
    if (a.tipo == tipo) textos << a.texto;
  return textos;
}

void TServicioDialogosGuion::mensaje(QWidget*, const QString& texto, const QString& detalle) {
  apuntes.append({QStringLiteral("mensaje"), texto, detalle});
  if (alMostrarMensaje) alMostrarMensaje(texto);
}

bool TServicioDialogosGuion::confirmar(QWidget*, const QString& pregunta) {
  apuntes.append({QStringLiteral("confirmar"), pregunta, {}});
  if (confirmaciones.isEmpty()) {
    ++sinRespuesta;
    return false;
  }
  return confirmaciones.takeFirst();
}

TRespuestaCambios TServicioDialogosGuion::preguntarCambios(QWidget*, const QString& pregunta, const QString& guardar,
                                                           const QString& descartar) {
  apuntes.append({QStringLiteral("cambios"), pregunta, guardar + QLatin1Char('|') + descartar});
  if (respuestasCambios.isEmpty()) {
    ++sinRespuesta;
    return TRespuestaCambios::cancelar;
  }
  return respuestasCambios.takeFirst();
}

QString TServicioDialogosGuion::abrirFichero(QWidget*, const QString& filtro, const QString& carpeta) {
  apuntes.append({QStringLiteral("abrir"), filtro, {}, carpeta});
  if (ficherosAbrir.isEmpty()) {
    ++sinRespuesta;
    return {};
  }
  return ficherosAbrir.takeFirst();
}

QString TServicioDialogosGuion::guardarFichero(QWidget*, const QString& filtro, const QString& sufijo,
                                              const QString& carpeta) {
  apuntes.append({QStringLiteral("guardar"), filtro, sufijo, carpeta});
  if (ficherosGuardar.isEmpty()) {
    ++sinRespuesta;
    return {};
  }
  return ficherosGuardar.takeFirst();
}

std::optional<QColor> TServicioDialogosGuion::elegirColor(QWidget*, const QColor& inicial) {
  apuntes.append({QStringLiteral("color"), inicial.name(), {}});
  if (colores.isEmpty()) {
    ++sinRespuesta;
    return std::nullopt;
  }
  return colores.takeFirst();
}

int TServicioDialogosGuion::pedirCantidad(QWidget*, const QString& titulo, const QString& texto, int valor,
                                          int minimo, int maximo, int& cantidad) {
  apuntes.append({QStringLiteral("cantidad"), titulo, texto});
  preguntasCantidad.append({titulo, texto, valor, minimo, maximo});
  if (cantidades.isEmpty()) {
    ++sinRespuesta;
    return RESULTADO_CANCELAR;
  }
  const std::optional<int> respuesta = cantidades.takeFirst();
  if (!respuesta) return RESULTADO_CANCELAR;
  cantidad = *respuesta;
  return RESULTADO_ACEPTAR;
}

int TServicioDialogosGuion::preguntarGuardarCambio(QWidget*) {
  apuntes.append({QStringLiteral("guardarCambio"), {}, {}});
  if (respuestasGuardarCambio.isEmpty()) {
    ++sinRespuesta;
    return RESULTADO_CANCELAR;
  }
  return respuestasGuardarCambio.takeFirst();
}

int TServicioDialogosGuion::ejecutarModal(QDialog& dialogo) {
  apuntes.append({QStringLiteral("modal"), dialogo.objectName(), dialogo.windowTitle()});
  if (alEjecutarModal) alEjecutarModal(dialogo);
  if (respuestasModal.isEmpty()) {
    ++sinRespuesta;
    return RESULTADO_CANCELAR;
  }
  return respuestasModal.takeFirst();
}
