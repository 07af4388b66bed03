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

#include "Simulador/codigo/TModeloCodigo.h"
#include "machine/TTipos.h"

namespace {

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
    const QRect caja = opcion.rect.adjusted(2, 0, -2, 0);
    const QString texto = opcion.fontMetrics.elidedText(indice.data().toString(), Qt::ElideRight, caja.width());
    p->drawText(caja, Qt::AlignCenter | Qt::TextSingleLine, texto);
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
