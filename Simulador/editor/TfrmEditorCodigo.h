#pragma once
// "Editor de Código": una ventana hija para escribir un programa fuente (*.pla,
// *.bun) con colores de sintaxis, números de línea y los bloques básicos en el
// margen. Tras una pausa sin teclear, el texto pasa por el mismo cargador que
// carga los programas y el primer error queda marcado en su sitio, sin ningún
// cuadro de mensaje. Guardar escribe en un temporal y lo renombra; los cambios
// sin guardar se preguntan antes de perderlos.
//
// Para la ventana principal: abrir, nuevo, guardar, guardarComo, puedeCerrar
// (antes de salir), cargarEn (ensamblar el texto actual), el vínculo con el
// programa cargado (para enmarcar sus instrucciones en vuelo) y las señales.

#include <QByteArray>
#include <QKeySequence>
#include <QList>
#include <QMdiSubWindow>
#include <QPair>
#include <QString>
#include <cstdint>

#include "machine/TEscrituraSegura.h"

class QAction;
class QLabel;
class QStatusBar;
class QTimer;
class QToolBar;
class TBarraBuscar;
class TCodigo;
class TEditorFuente;
class TResaltadorFuente;
class TServicioDialogos;
struct TMarcasEnVuelo;

class TfrmEditorCodigo : public QMdiSubWindow {
  Q_OBJECT
public:
  static constexpr int TEMA_AYUDA = 40;
  static constexpr int PAUSA_ANALISIS = 500;          // milisegundos sin teclear antes de analizar
  static constexpr qint64 TAM_MAXIMO = 1024 * 1024;  // un fuente mayor no es un programa del curso
  // Filtro de «Guardar como…», en la forma "Texto|*.ext" de TServicioDialogos.
  static constexpr const char* FILTRO_FUENTE = "Ficheros fuente|*.pla|Ficheros fuente VLIW (con bundles)|*.bun";

  // «dialogos» debe vivir más que la ventana.
  explicit TfrmEditorCodigo(TServicioDialogos& dialogos, QWidget* padre = nullptr);

  // ---- Operaciones de la ventana ----
  // Carga un fichero fuente, tras preguntar por los cambios sin guardar. false
  // si se cancela o si no se puede leer (con su mensaje); el texto sigue igual.
  bool abrir(const QString& ruta);
  // Un programa sin fichero, tras preguntar por los cambios sin guardar: vacío,
  // o con «texto», que queda como cambios sin guardar (no está en ningún fichero).
  bool nuevo(const QString& texto = QString());
  // Ctrl+S: en su fichero, o pide uno si no lo tiene. false si se cancela o
  // falla (con su mensaje); el texto y sus cambios siguen como estaban.
  bool guardar();
  // Pide un nombre (sufijo ".pla", o ".bun" si el fichero lo era) y guarda.
  bool guardarComo();
  // Si hay cambios sin guardar, pregunta «Guardar / No guardar / Cancelar».
  // true si se puede cerrar sin perder nada que el alumno quiera conservar.
  // La ventana principal la llama antes de salir (destruir la ventana ya no
  // pregunta); cerrar la ventana la llama sola.
  bool puedeCerrar();
  // «Ensamblar»: analiza ya el texto actual, lo carga en «codigo» (recién
  // creado) y marca el error si lo hay. Devuelve el resultado de la carga.
  int32_t cargarEn(TCodigo& codigo);
  // ---- Programa cargado ----
  // El texto actual es el del programa cargado («codigo», cargado de este
  // mismo texto): desde ahora se enmarcan sus instrucciones en vuelo, que
  // siguen a sus líneas al escribir. Abrir otro programa o uno nuevo lo desvincula.
  void vincularPrograma(const TCodigo& codigo);
  // Vincula el texto actual si carga exactamente «programa» (las mismas
  // instrucciones, escritas igual, en los mismos bloques); si no, lo desvincula.
  bool vincularSiEs(const TCodigo& programa);
  void desvincularPrograma();
  bool programaVinculado() const;
  void ponerEnVuelo(const TMarcasEnVuelo& marcas);

  // Lleva el cursor a una línea y columna (desde 1) y la muestra.
  void irA(int linea, int columna = 1);

  // El tic del temporizador de la pausa: analiza ya el texto (las pruebas lo llaman).
  void timAnalisisTimer();

  // ---- Estado ----
  QString texto() const;       // líneas separadas por "\n"
  QByteArray contenido() const;  // los bytes que se guardan: codificación y fin de línea del fichero
  const QString& ruta() const { return rutaFichero; }  // vacía si aún no tiene fichero
  QString nombre() const;      // nombre del fichero sin carpeta, o "Sin título"
  bool modificado() const;
  // Resultado del último análisis: correcto, o la línea (desde 1) y el detalle del error.
  bool correcto() const { return resultadoAnalisis == 0; }
  int lineaError() const;  // 0 si no hay error
  QString detalleError() const;

  TServicioDialogos& dialogos;
  // Con ella se guarda; las pruebas le inyectan fallos de escritura.
  TEscrituraSegura escritura;

  QToolBar* tobEditor;
  QAction* actGuardar;
  QAction* actGuardarComo;
  QAction* actDeshacer;
  QAction* actRehacer;
  QAction* actBuscar;
  QAction* actReemplazar;
  TEditorFuente* txtFuente;
  TResaltadorFuente* resaltador;
  TBarraBuscar* panBuscar;
  QStatusBar* staEditor;
  QLabel* labAnalisis;  // el error, o el resumen del programa si carga
  QLabel* labPosicion;  // línea y columna del cursor
  QLabel* labFichero;   // el fichero (la ruta, en su pista) y si hay cambios sin guardar
  QTimer* timAnalisis;

signals:
  // El texto pasa a tener (o deja de tener) cambios sin guardar.
  void modificacionCambiada(bool modificado);
  // El programa tiene otro fichero (abrir, guardar como, nuevo: vacía).
  void rutaCambiada(const QString& ruta);
  // Terminó un análisis.
  void analizado(bool correcto);
  // El programa se ha escrito en «ruta».
  void guardado(const QString& ruta);

protected:
  void closeEvent(QCloseEvent* evento) override;
  // Las teclas de las órdenes del editor ganan, con el foco en él, a las de la
  // ventana principal (Ctrl+F o Ctrl+B, por ejemplo, son allí otras órdenes).
  bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
  QAction* nuevaAccion(const char* nombre, const QString& texto, const QString& pista, const QList<QKeySequence>& teclas);
  void ponerTexto(const QString& texto, const QString& ruta, bool latin1, bool crlf);
  bool escribirEn(const QString& ruta);
  void textoCambiado();
  void actualizarTitulo();
  void actualizarPosicion();
  void mostrarAnalisis(const TCodigo& codigo, int32_t resultado);

  QString rutaFichero;
  bool enLatin1 = false;  // el fichero no era UTF-8: se guarda como se leyó
  bool finCRLF = false;   // el fichero terminaba sus líneas con CR LF
  int32_t resultadoAnalisis = 0;
  QList<QPair<QKeySequence, QAction*>> teclas;
};
