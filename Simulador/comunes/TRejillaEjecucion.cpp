#include "Simulador/comunes/TRejillaEjecucion.h"

#include <QAbstractButton>
#include <QHeaderView>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QStyleOptionHeader>
#include <QStylePainter>
#include <QToolTip>
#include <algorithm>

#include "Simulador/comunes/TDelegadoEjecucion.h"
#include "Simulador/comunes/TModeloEjecucion.h"

TRejillaEjecucion::TRejillaEjecucion(QWidget* padre) : QTableView(padre) {
  setItemDelegate(new TDelegadoEjecucion(this));
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setWordWrap(false);
  setTextElideMode(Qt::ElideRight);
  setMouseTracking(true);
  setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  QHeaderView* v = verticalHeader();
  v->setSectionResizeMode(QHeaderView::Fixed);
  v->setDefaultSectionSize(altoFila());
  v->setMinimumSectionSize(altoFila());
  v->setHighlightSections(false);
  v->setSectionsClickable(false);
  v->setDefaultAlignment(Qt::AlignCenter);
  v->hide();
  QHeaderView* h = horizontalHeader();
  h->setSectionResizeMode(QHeaderView::Interactive);
  h->setHighlightSections(false);
  h->setSectionsClickable(false);
  h->setMinimumSectionSize(16);
  h->setFixedHeight(altoFila() + 2);
  connect(v, &QHeaderView::sectionDoubleClicked, this, &TRejillaEjecucion::dobleClicFila);
}

void TRejillaEjecucion::mouseDoubleClickEvent(QMouseEvent* evento) {
  const QModelIndex indice = indexAt(evento->position().toPoint());
  if (indice.isValid()) emit dobleClicFila(indice.row());
  evento->accept();
}

int TRejillaEjecucion::altoFila() const { return std::max(16, fontMetrics().height() + 2); }

void TRejillaEjecucion::setModelo(TModeloEjecucion* m) {
  modeloEjecucion = m;
  setModel(m);
  // Una máquina reconstruida con otra forma reinicia el modelo: los anchos se recalculan.
  connect(m, &QAbstractItemModel::modelReset, this, &TRejillaEjecucion::aplicarAnchos);
}

void TRejillaEjecucion::setTextoEsquina(const QString& texto) {
  esquina = texto;
  // El botón de la esquina es un hijo de la vista; se pinta como una cabecera con texto.
  if (auto* boton = findChild<QAbstractButton*>(QString(), Qt::FindDirectChildrenOnly)) {
    boton->removeEventFilter(this);
    boton->installEventFilter(this);
    boton->update();
  }
}

bool TRejillaEjecucion::eventFilter(QObject* objeto, QEvent* evento) {
  auto* boton = qobject_cast<QAbstractButton*>(objeto);
  if (boton && evento->type() == QEvent::Paint && !esquina.isEmpty()) {
    QStylePainter p(boton);
    QStyleOptionHeader opcion;
    opcion.initFrom(boton);
    opcion.rect = boton->rect();
    opcion.text = esquina;
    opcion.textAlignment = Qt::AlignCenter;
    opcion.position = QStyleOptionHeader::OnlyOneSection;
    opcion.state = QStyle::State_Enabled | QStyle::State_Raised;
    p.drawControl(QStyle::CE_Header, opcion);
    return true;
  }
  return QTableView::eventFilter(objeto, evento);
}

void TRejillaEjecucion::ajustarColumnas(int minimo) {
  anchoMinimo = minimo;
  aplicarAnchos();
}

void TRejillaEjecucion::fijarAnchoColumna(int columna, int ancho) {
  anchosFijos.insert(columna, ancho);
  aplicarAnchos();
}

void TRejillaEjecucion::aplicarAnchos() {
  if (!model()) return;
  const QFontMetrics fm(horizontalHeader()->font());
  if (anchoMinimo >= 0) {
    for (int c = 0; c < model()->columnCount(); ++c) {
      const QString cabecera = model()->headerData(c, Qt::Horizontal).toString();
      setColumnWidth(c, std::max(anchoMinimo, fm.horizontalAdvance(cabecera) + 12));
    }
  }
  for (auto it = anchosFijos.cbegin(); it != anchosFijos.cend(); ++it)
    if (it.key() < model()->columnCount()) setColumnWidth(it.key(), it.value());
  if (!verticalHeader()->isHidden()) {
    // Cabe el número más largo y el texto de la esquina, sin depender del ciclo.
    const int filas = model()->rowCount();
    const int ancho = std::max(fm.horizontalAdvance(QString::number(std::max(filas - 1, 0))),
                               fm.horizontalAdvance(esquina)) + 12;
    verticalHeader()->setFixedWidth(std::max(ancho, 24));
  }
}

int TRejillaEjecucion::alturaCompleta() const {
  int alto = 2 * frameWidth();
  if (horizontalHeader()->isVisible()) alto += horizontalHeader()->height();
  if (model()) alto += model()->rowCount() * verticalHeader()->defaultSectionSize();
  return alto;
}

bool TRejillaEjecucion::viewportEvent(QEvent* evento) {
  if (evento->type() == QEvent::ToolTip) {
    auto* ayuda = static_cast<QHelpEvent*>(evento);
    if (!indexAt(ayuda->pos()).isValid()) {
      const QString pista = modeloEjecucion ? modeloEjecucion->pistaGeneral() : QString();
      if (pista.isEmpty()) QToolTip::hideText();
      else QToolTip::showText(ayuda->globalPos(), pista, this);
      return true;
    }
  }
  return QTableView::viewportEvent(evento);
}
