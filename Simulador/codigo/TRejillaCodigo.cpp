#include "Simulador/codigo/TRejillaCodigo.h"

#include <QApplication>
#include <algorithm>
#include <QDrag>
#include <QHeaderView>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStatusTipEvent>
#include <QStyledItemDelegate>
#include <QToolTip>

#include "Simulador/codigo/TMarcasEnVuelo.h"
#include "Simulador/codigo/TModeloCodigo.h"
#include "machine/TTipos.h"

namespace {

const QColor COLOR_SIGUIENTE(0, 70, 230);
const QColor COLOR_CONFIRMADA(220, 110, 0);

int anchoSimbolos(uint8_t marca) {
  int n = 0;
  if (marca & TMarcasEnVuelo::SIGUIENTE) ++n;
  if (marca & TMarcasEnVuelo::CONFIRMADA) ++n;
  return n * TRejillaCodigo::ANCHO_SIMBOLO;
}

// Dibuja cada celda con el fondo que decide la rejilla y el texto centrado en
// una línea, cortado con puntos suspensivos.
class TDelegadoCodigo : public QStyledItemDelegate {
public:
  explicit TDelegadoCodigo(TRejillaCodigo* r) : QStyledItemDelegate(r), rejilla(r) {}

  void paint(QPainter* p, const QStyleOptionViewItem& opcion, const QModelIndex& indice) const override {
    p->save();
    p->fillRect(opcion.rect, rejilla->fondoCelda(indice.row(), indice.column()));
    p->setPen(rejilla->textoCelda(indice.row(), indice.column()));
    p->setFont(opcion.font);
    const auto marca = static_cast<uint8_t>(indice.data(TModeloCodigo::RolEnVuelo).toInt());
    QRect caja = opcion.rect.adjusted(2, 0, -2, 0);
    // El símbolo ocupa su sitio: el número se corta antes que taparlo.
    if (marca != 0 && indice.column() == 0) caja.setLeft(caja.left() + anchoSimbolos(marca));
    const QString texto = opcion.fontMetrics.elidedText(indice.data().toString(), Qt::ElideRight, caja.width());
    p->drawText(caja, Qt::AlignCenter | Qt::TextSingleLine, texto);
    if (marca != 0) TRejillaCodigo::pintarEnVuelo(*p, opcion.rect, indice.column(), marca);
    p->restore();
  }

private:
  TRejillaCodigo* rejilla;
};

}  // namespace

TRejillaCodigo::TRejillaCodigo(QWidget* padre) : QTableView(padre), modeloCodigo(new TModeloCodigo(this)) {
  setObjectName(QStringLiteral("grdInstrucciones"));
  setModel(modeloCodigo);
  setItemDelegate(new TDelegadoCodigo(this));
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setFrameShape(QFrame::NoFrame);
  setWordWrap(false);
  setTextElideMode(Qt::ElideRight);
  setShowGrid(true);
  setMouseTracking(true);
  setDragEnabled(false);  // el arrastre lo empieza la propia rejilla, a 2 píxeles
  verticalHeader()->hide();
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  verticalHeader()->setDefaultSectionSize(ALTO_FILA);
  verticalHeader()->setMinimumSectionSize(ALTO_FILA);
  horizontalHeader()->setDefaultSectionSize(anchoColumna());
  horizontalHeader()->setMinimumSectionSize(16);
  horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  horizontalHeader()->setHighlightSections(false);
  horizontalHeader()->setMouseTracking(true);
  horizontalHeader()->installEventFilter(this);
  for (int c = 0; c < TModeloCodigo::NUM_COLUMNAS; ++c) setColumnWidth(c, anchoColumna());
  ponerPista(QStringLiteral("Código Secuencial"));
}

int TRejillaCodigo::anchoColumna() const {
  // 48 píxeles, o lo que pida la fuente para que quepan un mnemónico y un
  // operando de memoria típicos.
  const QFontMetrics fm(font());
  return std::max({ANCHO_COLUMNA, fm.horizontalAdvance(QStringLiteral("OPCODE")) + 12,
                   fm.horizontalAdvance(QStringLiteral("100(R10)")) + 6});
}

void TRejillaCodigo::setBloquesBasicos(bool activos) {
  colorearBloques = activos;
  viewport()->update();
}

QColor TRejillaCodigo::colorBloque(int bloque) {
  const TColor c = colorDeBloque(bloque);
  return QColor::fromRgb(static_cast<QRgb>(c));
}

QColor TRejillaCodigo::colorEnVuelo(uint8_t marca) {
  return (marca & TMarcasEnVuelo::SIGUIENTE) ? COLOR_SIGUIENTE : COLOR_CONFIRMADA;
}

void TRejillaCodigo::pintarEnVuelo(QPainter& p, const QRect& celda, int columna, uint8_t marca) {
  const QColor color = colorEnVuelo(marca);
  const int g = GROSOR_MARCO;
  p.fillRect(QRect(celda.left(), celda.top(), celda.width(), g), color);
  p.fillRect(QRect(celda.left(), celda.bottom() - g + 1, celda.width(), g), color);
  if (columna == TModeloCodigo::NUM_COLUMNAS - 1)
    p.fillRect(QRect(celda.right() - g + 1, celda.top(), g, celda.height()), color);
  if (columna != 0) return;
  p.fillRect(QRect(celda.left(), celda.top(), g, celda.height()), color);

  pintarSimbolosEnVuelo(p, celda.left() + g + 1, celda.center().y(),
                        std::min(celda.height() - 2 * g, ANCHO_SIMBOLO - 2), marca);
}

void TRejillaCodigo::pintarSimbolosEnVuelo(QPainter& p, int x, int yCentro, int alto, uint8_t marca) {
  // Con un borde blanco, para que se vean también sobre el rojo de un
  // breakpoint: un triángulo la siguiente, una señal de visto la confirmada.
  p.save();
  p.setRenderHint(QPainter::Antialiasing);
  const int y0 = yCentro - alto / 2;
  if (marca & TMarcasEnVuelo::SIGUIENTE) {
    const QPolygon triangulo({QPoint(x, y0), QPoint(x + alto - 2, y0 + alto / 2), QPoint(x, y0 + alto)});
    p.setPen(QPen(Qt::white, 1));
    p.setBrush(COLOR_SIGUIENTE);
    p.drawPolygon(triangulo);
    x += ANCHO_SIMBOLO;
  }
  if (marca & TMarcasEnVuelo::CONFIRMADA) {
    const QPolygon visto({QPoint(x, y0 + alto / 2), QPoint(x + alto / 3, y0 + alto), QPoint(x + alto - 1, y0)});
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::white, 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(visto);
    p.setPen(QPen(COLOR_CONFIRMADA, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(visto);
  }
  p.restore();
}

QColor TRejillaCodigo::fondoCelda(int fila, int columna) const {
  const QModelIndex indice = modeloCodigo->index(fila, columna);
  if (columna == 0) {
    // La columna del número es fija: color de botón, o rojo con breakpoint.
    if (indice.data(TModeloCodigo::RolBreakpoint).toBool()) return QColor(255, 0, 0);
    return palette().color(QPalette::Button);
  }
  if (colorearBloques) return colorBloque(indice.data(TModeloCodigo::RolBloque).toInt());
  if (selectionModel() && selectionModel()->isRowSelected(fila, QModelIndex()))
    return palette().color(QPalette::Highlight);
  return palette().color(QPalette::Base);
}

QColor TRejillaCodigo::textoCelda(int fila, int columna) const {
  if (columna == 0) return palette().color(QPalette::ButtonText);
  if (!colorearBloques && selectionModel() && selectionModel()->isRowSelected(fila, QModelIndex()))
    return palette().color(QPalette::HighlightedText);
  // Los colores de los bloques son claros: texto oscuro siempre legible.
  return colorearBloques ? QColor(Qt::black) : palette().color(QPalette::Text);
}

int TRejillaCodigo::filaEn(const QPoint& posicion) const {
  const QPoint enVista = viewport()->mapFrom(this, posicion);
  if (!viewport()->rect().contains(enVista)) return -1;
  return indexAt(enVista).row();
}

void TRejillaCodigo::grdInstruccionesMouseMove(const QPoint& posicion) {
  const QPoint enVista = viewport()->mapFrom(this, posicion);
  const QModelIndex indice = viewport()->rect().contains(enVista) ? indexAt(enVista) : QModelIndex();
  if (!indice.isValid()) {
    ponerPista(QString());
    return;
  }
  if (indice.column() == 0) ponerPista(indice.data(TModeloCodigo::RolEtiqueta).toString());
}

void TRejillaCodigo::ponerPista(const QString& pista) {
  if (pista == toolTip() && pista == statusTip()) return;
  setToolTip(pista);
  setStatusTip(pista);
  // La barra de estado sigue la pista aunque el puntero no salga de la rejilla.
  if (underMouse()) {
    QStatusTipEvent aviso(pista);
    QCoreApplication::sendEvent(this, &aviso);
  }
  if (QToolTip::isVisible()) QToolTip::hideText();
}

int TRejillaCodigo::anchoNecesario() const {
  int ancho = 2 * frameWidth() + horizontalHeader()->length() + 1;
  const int altoFilas = horizontalHeader()->height() + modeloCodigo->rowCount() * ALTO_FILA;
  if (altoFilas > height()) ancho += style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
  return ancho;
}

void TRejillaCodigo::mousePressEvent(QMouseEvent* evento) {
  QTableView::mousePressEvent(evento);
  filaArrastre = -1;
  if (evento->button() == Qt::LeftButton) {
    origenArrastre = evento->position().toPoint();
    filaArrastre = indexAt(origenArrastre).row();
  }
}

void TRejillaCodigo::mouseMoveEvent(QMouseEvent* evento) {
  grdInstruccionesMouseMove(viewport()->mapTo(this, evento->position().toPoint()));
  if (!(evento->buttons() & Qt::LeftButton) || filaArrastre < 0) {
    QTableView::mouseMoveEvent(evento);
    return;
  }
  if ((evento->position().toPoint() - origenArrastre).manhattanLength() < DISTANCIA_ARRASTRE) return;
  const int fila = filaArrastre;
  filaArrastre = -1;
  auto* datos = new QMimeData;
  datos->setData(QString::fromLatin1(MIME_INSTRUCCION), QByteArray::number(fila));
  auto* arrastre = new QDrag(this);
  arrastre->setMimeData(datos);
  arrastre->exec(Qt::CopyAction);
}

void TRejillaCodigo::mouseDoubleClickEvent(QMouseEvent* evento) {
  const QModelIndex indice = indexAt(evento->position().toPoint());
  if (indice.isValid()) emit dobleClicInstruccion(indice.row());
}

bool TRejillaCodigo::viewportEvent(QEvent* evento) {
  // La pista de la rejilla es la suya, no la de cada celda del modelo.
  if (evento->type() == QEvent::ToolTip) {
    auto* ayuda = static_cast<QHelpEvent*>(evento);
    if (toolTip().isEmpty()) QToolTip::hideText();
    else QToolTip::showText(ayuda->globalPos(), toolTip(), this);
    return true;
  }
  return QTableView::viewportEvent(evento);
}

bool TRejillaCodigo::eventFilter(QObject* objeto, QEvent* evento) {
  if (objeto == horizontalHeader() && evento->type() == QEvent::MouseMove) ponerPista(QString());
  return QTableView::eventFilter(objeto, evento);
}
