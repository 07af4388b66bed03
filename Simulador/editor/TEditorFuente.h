#pragma once
// El texto de un programa fuente con su margen: números de línea, la marca del
// error y el color del bloque básico de cada línea. El error se subraya en su
// token y su línea se sombrea; sobre la primera instrucción de cada bloque va
// una línea fina del color del bloque. Si el texto es el del programa cargado,
// las instrucciones en vuelo de la máquina se enmarcan.

#include <QPlainTextEdit>
#include <QTextBlockUserData>
#include <QTextCursor>
#include <cstdint>
#include <vector>

#include "Simulador/codigo/TMarcasEnVuelo.h"

class TMargenFuente;

class TEditorFuente : public QPlainTextEdit {
  Q_OBJECT
public:
  // Lo que el último análisis correcto dijo de una línea. Vive en la línea del
  // documento, así que se mueve con ella mientras se escribe.
  struct TDatosLinea : QTextBlockUserData {
    int32_t bloque = -1;   // bloque básico al que pertenece, -1 si ninguno
    bool primera = false;  // en ella empieza el bloque
    // Instrucciones del programa cargado que empiezan en ella. El análisis de
    // cada tecla no las toca: siguen a la línea hasta que se carga otro programa.
    std::vector<int32_t> instrucciones;
  };

  static constexpr int ANCHO_FRANJA = 6;  // franja del color del bloque en el margen

  explicit TEditorFuente(QWidget* padre = nullptr);

  // ---- Error ----
  // Línea desde 0; inicio y longitud en caracteres de la línea (longitud 0: sin
  // subrayado). La marca se mueve con el texto hasta el siguiente análisis.
  void marcarError(int linea, int inicio, int longitud, const QString& detalle);
  void quitarError();
  bool hayError() const { return !cursorErr.isNull(); }
  int lineaError() const;  // -1 sin error
  int inicioError() const;
  int longitudError() const;
  const QString& detalleError() const { return detalleErr; }

  // ---- Bloques básicos ----
  // Línea (desde 1) donde empieza cada instrucción y su bloque, como los da el
  // cargador. Cada bloque cubre de la línea de su primera instrucción a la de
  // la última; las líneas fuera de todo bloque se quedan sin color.
  void ponerBloques(const std::vector<int32_t>& lineas, const std::vector<int32_t>& bloques);
  void quitarBloques();
  int32_t bloqueDeLinea(int linea) const;  // -1 si ninguno
  bool empiezaBloque(int linea) const;

  // ---- Programa cargado ----
  // Línea (desde 1) donde empieza cada instrucción del programa cargado, como
  // las da el cargador de este mismo texto.
  void vincularPrograma(const std::vector<int32_t>& lineas);
  void desvincularPrograma();
  bool programaVinculado() const { return vinculado; }
  // Instrucciones en vuelo: un marco en sus líneas y su símbolo en el margen;
  // sin programa vinculado no se ve ninguna.
  void ponerEnVuelo(const TMarcasEnVuelo& marcas);
  const TMarcasEnVuelo& enVuelo() const { return marcasEnVuelo; }
  uint8_t marcaDeLinea(int linea) const;  // línea desde 0; bits de TMarcasEnVuelo

  // Dónde se ve la línea (desde 0), en coordenadas de viewport().
  QRect rectLinea(int linea) const;

  // ---- Margen ----
  int anchoMargen() const;
  void pintarMargen(QPaintEvent* evento);
  // Pista del margen en una altura del área de texto: el error, si está en esa línea.
  QString pistaMargen(int y) const;
  // Pista de un punto del área de texto (coordenadas de viewport()).
  QString pistaTexto(const QPoint& enTexto) const;
  TMargenFuente* margen;

protected:
  void resizeEvent(QResizeEvent* evento) override;
  void paintEvent(QPaintEvent* evento) override;
  bool viewportEvent(QEvent* evento) override;

private:
  void actualizarAnchoMargen();
  void actualizarMargen(const QRect& zona, int desplazamiento);
  void aplicarMarcas();
  static TDatosLinea* datos(const QTextBlock& bloque);
  static TDatosLinea& datosCreados(QTextBlock bloque);
  uint8_t marcaDe(const QTextBlock& bloque) const;

  QTextCursor cursorErr;  // selecciona el token del error; nulo sin error
  QString detalleErr;
  bool vinculado = false;
  TMarcasEnVuelo marcasEnVuelo;
};
