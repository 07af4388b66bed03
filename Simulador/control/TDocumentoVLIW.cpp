#include "Simulador/control/TDocumentoVLIW.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QStatusTipEvent>
#include <QWidget>

#include "Simulador/aplicacion/TServicioDialogos.h"
#include "Simulador/vliw/TfrmInstVLIW.h"
#include "vliw/TMaquinaVLIW.h"
#include "vliw/TPlanificadorVLIW.h"

namespace {

const QString MSG_SIN_VLIW = QString::fromUtf8(TMaquinaVLIW::MENSAJE_CODIGO_VACIO);
const QString MSG_CONFIGURACION = QString::fromUtf8(TMaquinaVLIW::MENSAJE_CONFIGURACION);
const QString MSG_ERROR_CARGA = QString::fromUtf8(TMaquinaVLIW::MENSAJE_ERROR_CARGA);
const QString MSG_GUARDAR =
    QStringLiteral("El programa VLIW ha cambiado desde la última vez que se guardó o se cargó. ¿Desea guardarlo?");
const QString MSG_EDICIONES =
    QStringLiteral("El editor de instrucciones VLIW tiene cambios sin aceptar. ¿Desea aceptarlos?");

}  // namespace

TDocumentoVLIW::TDocumentoVLIW(TMaquinaVLIW& m, TServicioDialogos& d, QWidget* v)
    : QObject(v), maquina(m), dialogos(d), ventana(v) {}

void TDocumentoVLIW::vincularEditor(TfrmInstVLIW* editor) {
  editorVinculado = editor;
  if (!editor) return;
  editor->chequearCodigo = [this] { return chequear(); };
  editor->guardarPrograma = [this] { return guardar(); };
  connect(editor, &TfrmInstVLIW::programaCambiado, this, [this] { ++revision; });
}

TfrmInstVLIW* TDocumentoVLIW::editor() const { return editorVinculado; }

bool TDocumentoVLIW::sinGuardar() const {
  return maquina.codigo.numInstrucciones > 0 && revision != revisionGuardada;
}

void TDocumentoVLIW::resolverEdicionesPendientes() {
  if (!editorVinculado || !editorVinculado->cambiosPendientes()) return;
  if (dialogos.preguntarGuardarCambio(ventana) == RESULTADO_ACEPTAR) editorVinculado->aplicarCambios();
  else editorVinculado->refrescar();
}

void TDocumentoVLIW::refrescarEditor() {
  if (editorVinculado) editorVinculado->refrescar();
}

bool TDocumentoVLIW::puedeDescartarse() {
  if (editorVinculado && editorVinculado->cambiosPendientes()) {
    switch (dialogos.preguntarCambios(ventana, MSG_EDICIONES, QStringLiteral("&Aceptar cambios"),
                                      QStringLiteral("&Descartar cambios"))) {
      case TRespuestaCambios::cancelar: return false;
      case TRespuestaCambios::guardar: editorVinculado->aplicarCambios(); break;
      // Se quedan en el editor: se pierden solo si la orden sigue adelante, y
      // quien sustituye el programa refresca el editor.
      case TRespuestaCambios::descartar: break;
    }
  }
  if (!sinGuardar()) return true;
  switch (dialogos.preguntarCambios(ventana, MSG_GUARDAR, QStringLiteral("&Guardar..."), QStringLiteral("&No guardar"))) {
    case TRespuestaCambios::cancelar: return false;
    case TRespuestaCambios::descartar: return true;
    case TRespuestaCambios::guardar: break;
  }
  return guardar();
}

bool TDocumentoVLIW::nuevo() {
  if (!puedeDescartarse()) return false;
  maquina.borrarCodigo();
  revisionGuardada = ++revision;  // vacío: nada que guardar
  return true;
}

bool TDocumentoVLIW::cargar(const TCodigo& secuencial, const QString& rutaDada) {
  if (!puedeDescartarse()) return false;
  const QString ruta =
      rutaDada.isEmpty() ? dialogos.abrirFichero(ventana, QString::fromUtf8(FILTRO_VLIW), carpetaDialogos()) : rutaDada;
  if (ruta.isEmpty()) return false;
  return cargarFichero(secuencial, ruta);
}

bool TDocumentoVLIW::cargarFichero(const TCodigo& secuencial, const QString& ruta) {
  const bool cargado = maquina.cargarCodigo(QFile::encodeName(ruta).toStdString(), secuencial);
  // Lo que hay en memoria es lo del fichero (o nada, si no se pudo leer).
  revisionGuardada = ++revision;
  rutaFichero = ruta;
  if (!cargado) {
    dialogos.mensaje(ventana, MSG_ERROR_CARGA, QString::fromStdString(maquina.codigo.detalleError));
    refrescarEditor();
    return false;
  }
  if (maquina.comprobarConfiguracion() == CHEQUEO_CONFIGURACION) {
    dialogos.mensaje(ventana, MSG_CONFIGURACION, QString::fromStdString(maquina.detalleConfiguracion()));
    maquina.borrarCodigo();
    refrescarEditor();
    return false;
  }
  if (chequear()) {
    int32_t larga = 0, operacion = 0;
    const int32_t r = maquina.comprobarCodigo(larga, operacion);
    const std::string aviso = TMaquinaVLIW::mensajeChequeo(r, larga, operacion);
    // Solo avisa: el programa se queda cargado. Sin problemas, en la barra de estado.
    if (!aviso.empty()) {
      dialogos.mensaje(ventana, QString::fromStdString(aviso));
    } else if (ventana) {
      QStatusTipEvent correcto(QString::fromUtf8(TEXTO_VLIW_CORRECTO));
      QCoreApplication::sendEvent(ventana, &correcto);
    }
  }
  return true;
}

bool TDocumentoVLIW::planificar(const TCodigo& secuencial) {
  if (!puedeDescartarse()) return false;
  // Se planifica aparte: si no cabe, el programa que había sigue ahí.
  TPlanificadorVLIW planificador(maquina);
  TCodigoVLIW planificado;
  if (planificador.planificar(secuencial, planificado) != PLANIFICACION_OK) {
    dialogos.mensaje(ventana, QString::fromUtf8(TPlanificadorVLIW::MENSAJE_DEMASIADO_LARGA),
                     QString::fromStdString(TPlanificadorVLIW::detalleDemasiadoLarga()));
    return false;
  }
  maquina.borrarCodigo();
  maquina.codigo = std::move(planificado);
  ++revision;  // no está en ningún fichero: sin guardar
  rutaFichero.clear();
  return true;
}

bool TDocumentoVLIW::guardar() {
  const QString ruta =
      dialogos.guardarFichero(ventana, QString::fromUtf8(FILTRO_VLIW), QStringLiteral("vliw"), carpetaDialogos());
  if (ruta.isEmpty()) return false;
  // Un fallo a medias deja el fichero anterior intacto (un temporal lo sustituye al final).
  if (maquina.codigo.guardar(QFile::encodeName(ruta).toStdString(), escritura) != ESCRITURA_OK) {
    dialogos.mensaje(ventana, QStringLiteral("No se pudo guardar el fichero"),
                     ruta + QLatin1Char('\n') + QString::fromStdString(escritura.motivo));
    return false;
  }
  revisionGuardada = revision;
  rutaFichero = ruta;
  return true;
}

QString TDocumentoVLIW::carpetaDialogos() const {
  return rutaFichero.isEmpty() ? carpetaPrograma : QFileInfo(rutaFichero).absolutePath();
}

bool TDocumentoVLIW::cabeEnLaConfiguracion() {
  if (maquina.comprobarConfiguracion() != CHEQUEO_CONFIGURACION) return true;
  dialogos.mensaje(ventana, MSG_CONFIGURACION, QString::fromStdString(maquina.detalleConfiguracion()));
  return false;
}

bool TDocumentoVLIW::listoParaEjecutar() {
  if (maquina.codigo.numInstrucciones == 0) {
    dialogos.mensaje(ventana, MSG_SIN_VLIW);
    return false;
  }
  if (editorVinculado && editorVinculado->cambiosPendientes()) {
    resolverEdicionesPendientes();
    return false;
  }
  // Un programa para más unidades de las configuradas no se ejecuta nunca.
  return cabeEnLaConfiguracion();
}
