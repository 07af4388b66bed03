#pragma once
// Pregunta qué hacer con los cambios sin guardar de un programa fuente antes de
// perderlos: «Guardar», «No guardar» o «Cancelar». Se muestra con
// TServicioDialogos::ejecutarModal: aceptar es «Guardar» o «No guardar» (lo
// dice «respuesta»); cancelar deja todo como estaba.

#include <QDialog>

class QLabel;
class QPushButton;

class TdlgGuardarPrograma : public QDialog {
  Q_OBJECT
public:
  enum TRespuesta { Guardar, NoGuardar, Cancelar };

  // «nombre»: el del fichero, o el título de un programa que aún no tiene.
  explicit TdlgGuardarPrograma(const QString& nombre, QWidget* padre = nullptr);

  TRespuesta respuesta = Cancelar;
  QLabel* labMensaje;
  QLabel* labPregunta;
  QPushButton* butGuardar;
  QPushButton* butNoGuardar;
  QPushButton* butCancelar;
};
