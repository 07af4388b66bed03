#pragma once
// El programa VLIW de la máquina como documento: nuevo, cargar de un fichero
// con sus comprobaciones y mensajes, guardar, y las preguntas por lo que se
// perdería al sustituirlo o al salir. Cada «Aceptar» del editor es una
// revisión nueva; guardar o cargar apunta la revisión que está en un fichero.
// Quien lo usa obedece cada «false»: el usuario canceló y la orden no sigue.

#include <QObject>
#include <QPointer>
#include <QString>
#include <cstdint>

#include "machine/TEscrituraSegura.h"

class QWidget;
class TCodigo;
class TMaquinaVLIW;
class TServicioDialogos;
class TfrmInstVLIW;

class TDocumentoVLIW : public QObject {
  Q_OBJECT
public:
  // La máquina y «dialogos» deben vivir más que el documento. «ventana» es el
  // padre de sus diálogos y del propio documento.
  TDocumentoVLIW(TMaquinaVLIW& maquina, TServicioDialogos& dialogos, QWidget* ventana = nullptr);

  // Opción «C&hequear código VLIW»: comprobar el programa al cargarlo y al
  // aceptar el editor.
  bool chequear() const { return chequearCodigo; }
  void setChequear(bool activa) { chequearCodigo = activa; }

  // El editor abierto sobre el programa (hay uno como mucho): sus ediciones sin
  // aceptar también se preguntan, y lo que acepta o guarda cuenta como revisión.
  void vincularEditor(TfrmInstVLIW* editor);
  TfrmInstVLIW* editor() const;

  // El programa en memoria no es el último guardado o cargado (uno vacío no
  // cuenta: no hay nada que perder).
  bool sinGuardar() const;

  // Antes de sustituir el programa o de salir: pregunta por las ediciones sin
  // aceptar del editor y por un programa sin guardar, cada vez con vuelta
  // atrás. false si el usuario volvió atrás (o no se pudo guardar): nada se
  // ha perdido. Las ediciones descartadas siguen en el editor hasta que quien
  // llama sustituye el programa.
  bool puedeDescartarse();
  // Vacía el programa, tras preguntar lo que se perdería.
  bool nuevo();
  // Tras preguntar lo que se perdería, pide un fichero (si no se da «ruta») y
  // lo carga sobre el programa secuencial (las comprobaciones solo avisan).
  // true si el programa queda cargado y hay que enseñarlo; si falla, queda
  // vacío y el editor lo refleja.
  bool cargar(const TCodigo& secuencial, const QString& ruta = QString());
  // Lo mismo con un fichero ya elegido y sin preguntar: quien llama ya ha
  // preguntado (puedeDescartarse) antes de cambiar nada.
  bool cargarFichero(const TCodigo& secuencial, const QString& ruta);
  // Tras preguntar lo que se perdería, pone como programa la planificación
  // automática del secuencial con la configuración actual, sin guardar.
  // true si hay que enseñarla; si no cabe, se dice y nada cambia.
  bool planificar(const TCodigo& secuencial);
  // Pide un nombre y escribe el programa sin arriesgar el fichero que
  // sustituye; false si se cancela o falla (con su mensaje).
  bool guardar();

  // Los diálogos de ficheros empiezan en la carpeta del último *.vliw cargado
  // o guardado, y si no lo hay, en la del programa fuente abierto.
  void setCarpetaPrograma(const QString& carpeta) { carpetaPrograma = carpeta; }
  QString carpetaDialogos() const;

  // Las columnas del editor son las unidades configuradas: false (con su
  // mensaje) si el programa usa unidades que la configuración no tiene.
  bool cabeEnLaConfiguracion();
  // Antes de iniciar o de dar un paso: programa vacío, ediciones sin aceptar
  // (se resuelven y la orden se da otra vez) y unidades que no existen.
  bool listoParaEjecutar();

  // Con la que se guarda (las pruebas le inyectan fallos).
  TEscrituraSegura escritura;

private:
  void resolverEdicionesPendientes();
  void refrescarEditor();

  TMaquinaVLIW& maquina;
  TServicioDialogos& dialogos;
  QWidget* ventana;
  QPointer<TfrmInstVLIW> editorVinculado;
  bool chequearCodigo = true;
  QString carpetaPrograma;
  QString rutaFichero;
  uint64_t revision = 0;
  uint64_t revisionGuardada = 0;
};
