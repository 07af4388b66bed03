#include "Simulador/editor/TEditorFuente.h"

#include <QFontDatabase>
#include <QHelpEvent>
#include <QPainter>
#include <QTextBlock>
#include <QToolTip>
#include <algorithm>

#include "Simulador/codigo/TRejillaCodigo.h"
#include "Simulador/editor/TMargenFuente.h"
#include "machine/TTipos.h"

namespace {

const QColor FONDO_LINEA_ERROR(255, 226, 226);
const QColor FONDO_TOKEN_ERROR(255, 176, 176);
const QColor ROJO_ERROR(210, 0, 0);

QColor colorBloque(int32_t bloque) { return QColor::fromRgb(static_cast<QRgb>(colorDeBloque(bloque))); }

}  // namespace

TEditorFuente::TEditorFuente(QWidget* padre) : QPlainTextEdit(padre) {
  setObjectName(QStringLiteral("txtFuente"));
  setLineWrapMode(QPlainTextEdit::NoWrap);
  setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  setTabStopDistance(8 * fontMetrics().horizontalAdvance(QLatin1Char(' ')));
  margen = new TMargenFuente(*this);
  connect(this, &QPlainTextEdit::blockCountChanged, this, &TEditorFuente::actualizarAnchoMargen);
  connect(this, &QPlainTextEdit::updateRequest, this, &TEditorFuente::actualizarMargen);
  actualizarAnchoMargen();
}

// ---------------------------------------------------------------- error

void TEditorFuente::marcarError(int linea, int inicio, int longitud, const QString& detalle) {
  const QTextBlock bloque = document()->findBlockByNumber(std::clamp(linea, 0, blockCount() - 1));
  const int largo = static_cast<int>(bloque.text().size());
  inicio = std::clamp(inicio, 0, largo);
  longitud = std::clamp(longitud, 0, largo - inicio);
  cursorErr = QTextCursor(bloque);
  cursorErr.setPosition(bloque.position() + inicio);
  cursorErr.setPosition(bloque.position() + inicio + longitud, QTextCursor::KeepAnchor);
  detalleErr = detalle;
  aplicarMarcas();
}

void TEditorFuente::quitarError() {
  cursorErr = QTextCursor();
  detalleErr.clear();
  aplicarMarcas();
}

int TEditorFuente::lineaError() const { return hayError() ? cursorErr.block().blockNumber() : -1; }

int TEditorFuente::inicioError() const {
  return hayError() ? cursorErr.selectionStart() - cursorErr.block().position() : 0;
}

int TEditorFuente::longitudError() const {
  return hayError() ? cursorErr.selectionEnd() - cursorErr.selectionStart() : 0;
}

void TEditorFuente::aplicarMarcas() {
  QList<QTextEdit::ExtraSelection> marcas;
  if (hayError()) {
    QTextEdit::ExtraSelection linea;
    linea.format.setBackground(FONDO_LINEA_ERROR);
    linea.format.setProperty(QTextFormat::FullWidthSelection, true);
    linea.cursor = cursorErr;
    linea.cursor.clearSelection();
    marcas << linea;
    if (cursorErr.hasSelection()) {
      QTextEdit::ExtraSelection token;
      // El ondulado solo se ve poco con una fuente pequeña: también un fondo más fuerte que el de la línea.
      token.format.setUnderlineStyle(QTextCharFormat::SpellCheckUnderline);
      token.format.setUnderlineColor(ROJO_ERROR);
      token.format.setBackground(FONDO_TOKEN_ERROR);
      token.cursor = cursorErr;
      marcas << token;
    }
  }
  setExtraSelections(marcas);
  margen->update();
}

// ---------------------------------------------------------------- bloques

TEditorFuente::TDatosLinea* TEditorFuente::datos(const QTextBlock& bloque) {
  return static_cast<TDatosLinea*>(bloque.userData());
}

TEditorFuente::TDatosLinea& TEditorFuente::datosCreados(QTextBlock bloque) {
  TDatosLinea* d = datos(bloque);
  if (!d) {
    d = new TDatosLinea;
    bloque.setUserData(d);  // la línea se queda con ellos
  }
  return *d;
}

void TEditorFuente::quitarBloques() {
  for (QTextBlock b = document()->begin(); b.isValid(); b = b.next())
    if (TDatosLinea* d = datos(b)) {
      d->bloque = -1;
      d->primera = false;
    }
  margen->update();
  viewport()->update();
}

void TEditorFuente::ponerBloques(const std::vector<int32_t>& lineas, const std::vector<int32_t>& bloques) {
  quitarBloques();
  auto marcar = [this](int linea, int32_t bloque, bool primera) {
    const QTextBlock b = document()->findBlockByNumber(linea);
    if (!b.isValid()) return;
    TDatosLinea& d = datosCreados(b);
    d.bloque = bloque;
    d.primera = d.primera || primera;
  };
  const size_t n = std::min(lineas.size(), bloques.size());
  for (size_t i = 0; i < n; ++i) {
    const int linea = lineas[i] - 1;
    const bool sigue = i > 0 && bloques[i - 1] == bloques[i];
    // Las líneas entre dos instrucciones del mismo bloque (comentarios,
    // instrucciones partidas) también son del bloque.
    for (int l = sigue ? lineas[i - 1] : linea; l < linea; ++l) marcar(l, bloques[i], false);
    marcar(linea, bloques[i], !sigue);
  }
  margen->update();
  viewport()->update();
}

int32_t TEditorFuente::bloqueDeLinea(int linea) const {
  const TDatosLinea* d = datos(document()->findBlockByNumber(linea));
  return d ? d->bloque : -1;
}

bool TEditorFuente::empiezaBloque(int linea) const {
  const TDatosLinea* d = datos(document()->findBlockByNumber(linea));
  return d && d->bloque >= 0 && d->primera;
}

// ---------------------------------------------------------------- programa cargado

void TEditorFuente::desvincularPrograma() {
  for (QTextBlock b = document()->begin(); b.isValid(); b = b.next())
    if (TDatosLinea* d = datos(b)) d->instrucciones.clear();
  vinculado = false;
  marcasEnVuelo = TMarcasEnVuelo();
  margen->update();
  viewport()->update();
}

void TEditorFuente::vincularPrograma(const std::vector<int32_t>& lineas) {
  desvincularPrograma();
  for (size_t i = 0; i < lineas.size(); ++i) {
    const QTextBlock b = document()->findBlockByNumber(lineas[i] - 1);
    if (b.isValid()) datosCreados(b).instrucciones.push_back(static_cast<int32_t>(i));
  }
  vinculado = true;
}

void TEditorFuente::ponerEnVuelo(const TMarcasEnVuelo& marcas) {
  if (!vinculado || marcas == marcasEnVuelo) return;
  marcasEnVuelo = marcas;
  margen->update();
  viewport()->update();
}

uint8_t TEditorFuente::marcaDe(const QTextBlock& bloque) const {
  const TDatosLinea* d = datos(bloque);
  if (!d || marcasEnVuelo.vacias()) return 0;
  uint8_t m = 0;
  for (int32_t i : d->instrucciones) m |= marcasEnVuelo.marca(i);
  return m;
}

uint8_t TEditorFuente::marcaDeLinea(int linea) const { return marcaDe(document()->findBlockByNumber(linea)); }

QRect TEditorFuente::rectLinea(int linea) const {
  const QTextBlock b = document()->findBlockByNumber(linea);
  if (!b.isValid()) return QRect();
  return blockBoundingGeometry(b).translated(contentOffset()).toAlignedRect();
}

// ---------------------------------------------------------------- margen

int TEditorFuente::anchoMargen() const {
  int digitos = 1;
  for (int n = std::max(1, blockCount()); n >= 10; n /= 10) ++digitos;
  const QFontMetrics medida(font());
  return medida.height() + medida.horizontalAdvance(QLatin1Char('9')) * std::max(2, digitos) + 4 + ANCHO_FRANJA + 2;
}

void TEditorFuente::actualizarAnchoMargen() { setViewportMargins(anchoMargen(), 0, 0, 0); }

void TEditorFuente::actualizarMargen(const QRect& zona, int desplazamiento) {
  if (desplazamiento != 0) margen->scroll(0, desplazamiento);
  else margen->update(0, zona.y(), margen->width(), zona.height());
  if (zona.contains(viewport()->rect())) actualizarAnchoMargen();
}

void TEditorFuente::resizeEvent(QResizeEvent* evento) {
  QPlainTextEdit::resizeEvent(evento);
  const QRect area = contentsRect();
  margen->setGeometry(QRect(area.left(), area.top(), anchoMargen(), area.height()));
}

void TEditorFuente::pintarMargen(QPaintEvent* evento) {
  QPainter p(margen);
  p.fillRect(evento->rect(), palette().color(QPalette::Window));
  p.setFont(font());
  const QFontMetrics medida(font());
  const int ancho = margen->width();
  const int xFranja = ancho - ANCHO_FRANJA - 2;
  const int error = lineaError();

  QTextBlock bloque = firstVisibleBlock();
  qreal arriba = blockBoundingGeometry(bloque).translated(contentOffset()).top();
  while (bloque.isValid() && arriba <= evento->rect().bottom()) {
    const qreal alto = blockBoundingRect(bloque).height();
    if (bloque.isVisible() && arriba + alto >= evento->rect().top()) {
      const int y = qRound(arriba);
      const int h = qRound(alto);
      if (const TDatosLinea* d = datos(bloque); d && d->bloque >= 0)
        p.fillRect(QRect(xFranja, y, ANCHO_FRANJA, h), colorBloque(d->bloque));
      // Un solo símbolo cabe donde va el punto del error, que gana.
      if (const uint8_t marca = marcaDe(bloque); marca != 0 && bloque.blockNumber() != error) {
        const uint8_t uno = (marca & TMarcasEnVuelo::SIGUIENTE) ? TMarcasEnVuelo::SIGUIENTE : marca;
        TRejillaCodigo::pintarSimbolosEnVuelo(p, 2, y + medida.height() / 2, std::max(6, medida.height() - 4), uno);
      }
      if (bloque.blockNumber() == error) {
        const int lado = std::max(6, medida.height() - 6);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(ROJO_ERROR);
        p.drawEllipse(QRect(2, y + (medida.height() - lado) / 2, lado, lado));
        p.setRenderHint(QPainter::Antialiasing, false);
      }
      p.setPen(palette().color(QPalette::PlaceholderText));
      p.drawText(QRect(0, y, xFranja - 4, medida.height()), Qt::AlignRight | Qt::AlignVCenter,
                 QString::number(bloque.blockNumber() + 1));
    }
    arriba += alto;
    bloque = bloque.next();
  }
}

QString TEditorFuente::pistaMargen(int y) const {
  const QTextBlock bloque = cursorForPosition(QPoint(0, y)).block();
  return bloque.blockNumber() == lineaError() ? detalleErr : QString();
}

// ---------------------------------------------------------------- dibujo y pistas

void TEditorFuente::paintEvent(QPaintEvent* evento) {
  QPlainTextEdit::paintEvent(evento);
  // La línea fina que separa los bloques básicos y el marco de una
  // instrucción en vuelo, encima del texto ya pintado.
  QPainter p(viewport());
  const int ancho = viewport()->width();
  QTextBlock bloque = firstVisibleBlock();
  qreal arriba = blockBoundingGeometry(bloque).translated(contentOffset()).top();
  while (bloque.isValid() && arriba <= evento->rect().bottom()) {
    const qreal alto = blockBoundingRect(bloque).height();
    if (const TDatosLinea* d = datos(bloque); d && d->bloque >= 0 && d->primera) {
      p.setPen(colorBloque(d->bloque).darker(160));
      p.drawLine(0, qRound(arriba), ancho, qRound(arriba));
    }
    if (const uint8_t marca = marcaDe(bloque)) {
      p.setPen(QPen(TRejillaCodigo::colorEnVuelo(marca), TRejillaCodigo::GROSOR_MARCO));
      p.setBrush(Qt::NoBrush);
      p.drawRect(QRect(1, qRound(arriba) + 1, ancho - 3, qRound(alto) - 2));
    }
    arriba += alto;
    bloque = bloque.next();
  }
}

QString TEditorFuente::pistaTexto(const QPoint& enTexto) const {
  return hayError() && cursorForPosition(enTexto).block().blockNumber() == lineaError() ? detalleErr : QString();
}

bool TEditorFuente::viewportEvent(QEvent* evento) {
  // La pista del error sobre su línea; fuera de ella, ninguna.
  if (evento->type() == QEvent::ToolTip) {
    const auto* ayuda = static_cast<QHelpEvent*>(evento);
    const QString pista = pistaTexto(ayuda->pos());
    if (pista.isEmpty()) QToolTip::hideText();
    else QToolTip::showText(ayuda->globalPos(), pista, viewport());
    return true;
  }
  return QPlainTextEdit::viewportEvent(evento);
}
