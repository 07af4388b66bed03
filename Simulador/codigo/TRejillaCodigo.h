#pragma once
// Rejilla del código secuencial (grdInstrucciones): pinta los bloques básicos,
// los breakpoints y las instrucciones en vuelo, lleva la pista de la etiqueta
// bajo el puntero y arrastra instrucciones hacia el editor VLIW.

#include <QColor>
#include <QPoint>
#include <QTableView>
#include <cstdint>

class QPainter;
class TModeloCodigo;

// Tipo MIME de un arrastre desde esta rejilla; los datos son el número de la
// instrucción en decimal. El editor VLIW lo acepta al soltar.
inline constexpr const char* MIME_INSTRUCCION = "application/x-orvex-instruccion";

class TRejillaCodigo : public QTableView {
  Q_OBJECT
public:
  static constexpr int TEMA_AYUDA = 11;
  static constexpr int ANCHO_COLUMNA = 48;
  static constexpr int ALTO_FILA = 16;
  static constexpr int DISTANCIA_ARRASTRE = 2;
  static constexpr int GROSOR_MARCO = 2;    // marco de una instrucción en vuelo
  static constexpr int ANCHO_SIMBOLO = 10;  // su símbolo, a la izquierda del número

  explicit TRejillaCodigo(QWidget* padre = nullptr);

  TModeloCodigo* modelo() const { return modeloCodigo; }

  // Colorear los bloques básicos (la orden «Bloques Básicos»).
  void setBloquesBasicos(bool activos);
  bool bloquesBasicos() const { return colorearBloques; }

  // Fondo y color de texto de una celda según las reglas de dibujo.
  QColor fondoCelda(int fila, int columna) const;
  QColor textoCelda(int fila, int columna) const;

  // Pista según la posición del puntero, en coordenadas de la rejilla (la
  // cabecera incluida): vacía sobre la cabecera o fuera de las celdas; la
  // etiqueta en la columna del número; sin cambios en las demás columnas.
  void grdInstruccionesMouseMove(const QPoint& posicion);
  // Fila (instrucción) bajo un punto de la rejilla, o -1.
  int filaEn(const QPoint& posicion) const;

  // Anchura que enseña las cinco columnas enteras (más la barra de
  // desplazamiento cuando no caben todas las filas).
  int anchoNecesario() const;

  static QColor colorBloque(int bloque);
  // Color de una marca en vuelo (bits de TMarcasEnVuelo): la siguiente gana.
  static QColor colorEnVuelo(uint8_t marca);
  // La marca en vuelo de una celda ya pintada: un marco alrededor de la fila y,
  // en la columna del número, su símbolo. Nunca rellena: el fondo del bloque
  // básico o del breakpoint sigue viéndose.
  static void pintarEnVuelo(QPainter& p, const QRect& celda, int columna, uint8_t marca);
  // Solo los símbolos, uno tras otro desde x, centrados en y (el editor de
  // código los pone en su margen).
  static void pintarSimbolosEnVuelo(QPainter& p, int x, int yCentro, int alto, uint8_t marca);
  // Anchura inicial de las columnas: ANCHO_COLUMNA como mínimo.
  int anchoColumna() const;

signals:
  // Doble clic sobre una fila de instrucción.
  void dobleClicInstruccion(int instruccion);

protected:
  void mousePressEvent(QMouseEvent* evento) override;
  void mouseMoveEvent(QMouseEvent* evento) override;
  void mouseDoubleClickEvent(QMouseEvent* evento) override;
  bool viewportEvent(QEvent* evento) override;
  bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
  void ponerPista(const QString& pista);

  TModeloCodigo* modeloCodigo;
  bool colorearBloques = false;
  QPoint origenArrastre;
  int filaArrastre = -1;
};
