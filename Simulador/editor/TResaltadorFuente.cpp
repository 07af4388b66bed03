#include "Simulador/editor/TResaltadorFuente.h"

#include <QTextDocument>
#include <array>

#include "loader/TScanner.h"
#include "machine/TJuegoInstrucciones.h"
#include "machine/TTipos.h"

namespace {

struct TEstilo {
  QColor color;
  bool negrita;
  bool cursiva;
};

// En el orden de TClaseFuente. Los dos bancos de registros, bien distintos:
// confundirlos es el error más frecuente al escribir un programa.
const std::array<TEstilo, NUM_CLASES_FUENTE> ESTILOS = {{
    {QColor(120, 120, 120), false, true},  // comentario
    {QColor(0, 0, 0), true, false},        // número de instrucciones
    {QColor(0, 0, 170), true, false},      // mnemónico
    {QColor(190, 0, 0), false, false},     // palabra desconocida
    {QColor(0, 120, 0), false, false},     // registro R
    {QColor(150, 0, 150), false, false},   // registro F
    {QColor(190, 100, 0), false, false},   // inmediato
    {QColor(0, 120, 140), false, false},   // dirección
    {QColor(120, 60, 0), true, false},     // etiqueta
    {QColor(120, 60, 0), false, false},    // uso de etiqueta
}};

QString claveEtiqueta(const std::string& nombre) { return QString::fromLatin1(nombre.c_str()).toUpper(); }

}  // namespace

TResaltadorFuente::TResaltadorFuente(QTextDocument* documento) : QSyntaxHighlighter(documento) {
  // Tras cada cambio: el resaltador ya ha coloreado las líneas tocadas y aquí
  // se ve si una etiqueta apareció o desapareció.
  connect(documento, &QTextDocument::contentsChanged, this, &TResaltadorFuente::actualizarEtiquetas);
  actualizarEtiquetas();
}

bool TResaltadorFuente::esMnemonico(const std::string& texto) {
  // El mismo criterio que el cargador: la tabla del juego de instrucciones.
  return codigoDeMnemonico(texto.data(), texto.size()) != COD_OP_NINGUNO;
}

TClaseFuente TResaltadorFuente::claseDeRegistro(int token) {
  switch (token) {
    case tokRegR: return cfRegistroR;
    case tokRegF: return cfRegistroF;
    default: return cfPalabra;
  }
}

QTextCharFormat TResaltadorFuente::formato(TClaseFuente clase) {
  QTextCharFormat f;
  if (clase < 0 || clase >= NUM_CLASES_FUENTE) return f;
  const TEstilo& e = ESTILOS[static_cast<size_t>(clase)];
  f.setForeground(e.color);
  if (e.negrita) f.setFontWeight(QFont::Bold);
  f.setFontItalic(e.cursiva);
  return f;
}

TClaseFuente TResaltadorFuente::claseDe(const TLexema& lexema, const QSet<QString>& etiquetas) {
  switch (lexema.token) {
    case tokNumero: return cfNumero;
    case tokInmediato: return cfInmediato;
    case tokRegR:
    case tokRegF: return claseDeRegistro(lexema.token);
    case tokEtiqueta: return cfEtiqueta;
    case tokDireccion: return cfDireccion;
    case tokIdent:
      if (esMnemonico(lexema.texto)) return cfMnemonico;
      return etiquetas.contains(claveEtiqueta(lexema.texto)) ? cfUsoEtiqueta : cfPalabra;
    default: return cfPalabra;
  }
}

int TResaltadorFuente::caracterDeByte(const QString& linea, int byte) {
  int bytes = 0;
  for (int i = 0; i < linea.size(); ++i) {
    if (bytes >= byte) return i;
    const char16_t c = linea[i].unicode();
    if (QChar::isHighSurrogate(c) && i + 1 < linea.size() && QChar::isLowSurrogate(linea[i + 1].unicode())) {
      bytes += 4;
      ++i;
    } else if (QChar::isSurrogate(c)) {
      bytes += 3;  // Qt codifica un sustituto suelto como U+FFFD
    } else {
      bytes += c < 0x80 ? 1 : c < 0x800 ? 2 : 3;
    }
  }
  return static_cast<int>(linea.size());
}

QList<TTramoFuente> TResaltadorFuente::clasificarLinea(const QString& linea, const QSet<QString>& etiquetas) {
  QList<TTramoFuente> tramos;
  const QByteArray bytes = linea.toUtf8();
  auto anadir = [&](int desde, int hasta, TClaseFuente clase) {
    const int inicio = caracterDeByte(linea, desde);
    tramos.append({inicio, caracterDeByte(linea, hasta) - inicio, clase});
  };
  TScanner scanner;
  scanner.abrirTexto(bytes.toStdString());
  for (TLexema l = scanner.siguiente(); l.token != tokFin; l = scanner.siguiente()) {
    const int inicio = l.columna - 1;
    const int fin = inicio + static_cast<int>(l.texto.size());
    const TClaseFuente clase = claseDe(l, etiquetas);
    if (l.token != tokDireccion) {
      anadir(inicio, fin, clase);
      continue;
    }
    // La base de una dirección es un registro entero, y se ve como tal.
    const int parentesis = inicio + static_cast<int>(l.texto.find('('));
    anadir(inicio, parentesis + 1, cfDireccion);
    anadir(parentesis + 1, fin - 1, claseDeRegistro(tokRegR));
    anadir(fin - 1, fin, cfDireccion);
  }
  // Ningún token contiene una barra: la primera pareja empieza el comentario.
  const int comentario = static_cast<int>(bytes.indexOf("//"));
  if (comentario >= 0) anadir(comentario, static_cast<int>(bytes.size()), cfComentario);
  return tramos;
}

QSet<QString> TResaltadorFuente::etiquetasDe(const QString& texto) {
  QSet<QString> etiquetas;
  TScanner scanner;
  scanner.abrirTexto(texto.toUtf8().toStdString());
  for (TLexema l = scanner.siguiente(); l.token != tokFin; l = scanner.siguiente())
    if (l.token == tokEtiqueta) etiquetas.insert(claveEtiqueta(l.texto.substr(0, l.texto.size() - 1)));
  return etiquetas;
}

void TResaltadorFuente::highlightBlock(const QString& texto) {
  for (const TTramoFuente& t : clasificarLinea(texto, etiquetasDefinidas))
    setFormat(t.inicio, t.longitud, formato(t.clase));
}

void TResaltadorFuente::actualizarEtiquetas() {
  QSet<QString> nuevas = etiquetasDe(document()->toPlainText());
  if (nuevas == etiquetasDefinidas) return;
  etiquetasDefinidas = std::move(nuevas);
  rehighlight();
}
