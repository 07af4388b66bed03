#pragma once
// Única puerta a los diálogos modales. La ventana principal (y las ventanas que
// se le añadan) no llaman nunca a QMessageBox ni a exec(): piden aquí. La
// implementación real envuelve los diálogos de Qt; las pruebas pasan otra que
// responde según un guion sin abrir ningún bucle modal.

#include <QColor>
#include <QString>
#include <cstdint>
#include <optional>

class QDialog;
class QWidget;

// Resultados de los diálogos modales propios: 1 aceptar, 2 cancelar.
constexpr int RESULTADO_ACEPTAR = 1;
constexpr int RESULTADO_CANCELAR = 2;

// Antes de perder algo: guardarlo (o aceptarlo), descartarlo, o volver atrás.
enum class TRespuestaCambios : uint8_t { guardar, descartar, cancelar };

// Qt devuelve 1 (Accepted) y 0 (Rejected); el sistema habla de 1 y 2. Se
// convierte solo aquí.
int resultadoModal(int resultadoQt);

// "Texto|*.ext|Texto 2|*.ext2" (la forma que dan las ventanas) a la de Qt:
// "Texto (*.ext);;Texto 2 (*.ext2)".
QString filtroQt(const QString& filtro);

class TServicioDialogos {
public:
  virtual ~TServicioDialogos() = default;

  // Mensaje modal con un solo botón; el detalle, si lo hay, va debajo del texto.
  virtual void mensaje(QWidget* padre, const QString& texto, const QString& detalle = QString()) = 0;
  // Pregunta modal con los botones Sí y No; true es Sí.
  virtual bool confirmar(QWidget* padre, const QString& pregunta) = 0;
  // Pregunta con tres salidas: «guardar» y «descartar» son los textos de sus
  // botones; el tercero cancela. Escape y cerrar el cuadro también cancelan,
  // nunca descartan.
  virtual TRespuestaCambios preguntarCambios(QWidget* padre, const QString& pregunta, const QString& guardar,
                                             const QString& descartar) = 0;
  // Nombre de fichero elegido, o vacío si se cancela. El filtro va en la forma
  // "Texto|*.ext|…"; el diálogo empieza en «carpeta» (la del programa actual),
  // o donde decida si está vacía.
  virtual QString abrirFichero(QWidget* padre, const QString& filtro, const QString& carpeta = QString()) = 0;
  // Igual, para guardar: añade el sufijo (sin punto) si falta y pide
  // confirmación antes de sobrescribir.
  virtual QString guardarFichero(QWidget* padre, const QString& filtro, const QString& sufijo,
                                 const QString& carpeta = QString()) = 0;
  // Solo colores sólidos; nada si se cancela.
  virtual std::optional<QColor> elegirColor(QWidget* padre, const QColor& inicial) = 0;

  // TdlgCantidad::preguntar en un diálogo nuevo que se destruye al terminar.
  // Devuelve 1 o 2; con 1, «cantidad» recibe el número elegido.
  virtual int pedirCantidad(QWidget* padre, const QString& titulo, const QString& texto, int valor,
                            int minimo, int maximo, int& cantidad) = 0;
  // TdlgGuardarCambio nuevo, modal: 1 «Guardar», 2 cualquier otra respuesta.
  virtual int preguntarGuardarCambio(QWidget* padre) = 0;
  // Cualquier otro diálogo propio ya preparado por quien llama (el «Acerca de...»,
  // los de las ventanas hijas). Devuelve 1 o 2.
  virtual int ejecutarModal(QDialog& dialogo) = 0;
};
