#pragma once
// Colores de sintaxis de un programa fuente. Cada línea pasa por el mismo
// analizador léxico que usa el cargador, así que el color de un trozo es la
// clase de token que el cargador verá en él; lo que el analizador descarta
// (comas, signos sueltos) queda sin color.

#include <QList>
#include <QSet>
#include <QString>
#include <QSyntaxHighlighter>
#include <QTextCharFormat>
#include <string>

struct TLexema;

enum TClaseFuente {
  cfComentario,
  cfNumero,       // número de instrucciones (dígitos al principio de una línea)
  cfMnemonico,    // un mnemónico que el cargador acepta
  cfPalabra,      // palabra que no es mnemónico ni etiqueta definida ("addi", "NOP", "LOPP")
  cfRegistroR,    // también la base de una dirección
  cfRegistroF,
  cfInmediato,
  cfDireccion,    // desplazamiento y paréntesis de "16(R2)"
  cfEtiqueta,     // definición: "LOOP:"
  cfUsoEtiqueta,  // un nombre que alguna línea define como etiqueta
  NUM_CLASES_FUENTE
};

// Un trozo de una línea, en caracteres de la línea.
struct TTramoFuente {
  int inicio = 0;
  int longitud = 0;
  TClaseFuente clase = cfPalabra;
};

class TResaltadorFuente : public QSyntaxHighlighter {
  Q_OBJECT
public:
  explicit TResaltadorFuente(QTextDocument* documento);

  // ---- Lo que el resaltador sabe del juego de instrucciones ----
  // Solo estas dos preguntas; cuando la tabla del juego de instrucciones
  // exista, se le harán a ella.
  // El texto es un mnemónico que el cargador acepta (mayúsculas exactas; NOP no).
  static bool esMnemonico(const std::string& texto);
  // Clase de un token de registro según su banco; cfPalabra si no es un registro.
  static TClaseFuente claseDeRegistro(int token);

  static QTextCharFormat formato(TClaseFuente clase);
  // Clase de un token (sin mirar su contexto); las etiquetas, en mayúsculas y sin dos puntos.
  static TClaseFuente claseDe(const TLexema& lexema, const QSet<QString>& etiquetas);
  // Los trozos con color de una línea, en orden.
  static QList<TTramoFuente> clasificarLinea(const QString& linea, const QSet<QString>& etiquetas);
  // Etiquetas definidas en un texto, en mayúsculas y sin dos puntos.
  static QSet<QString> etiquetasDe(const QString& texto);
  // Carácter de «linea» donde cae el byte «byte» de su codificación UTF-8 (la
  // que recibe el cargador); el final de la línea si se pasa.
  static int caracterDeByte(const QString& linea, int byte);

  const QSet<QString>& etiquetas() const { return etiquetasDefinidas; }

protected:
  void highlightBlock(const QString& texto) override;

private:
  // Un nombre se colorea como uso de etiqueta según las etiquetas de todo el
  // texto: cuando cambian, se vuelve a colorear todo.
  void actualizarEtiquetas();

  QSet<QString> etiquetasDefinidas;
};
