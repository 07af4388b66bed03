#include "Simulador/componentes/TRejillaSelec.h"

#include <QApplication>
#include <QHeaderView>
#include <QMouseEvent>
#include <algorithm>

#include "Simulador/componentes/TDelegadoSelec.h"

TRejillaSelec::TRejillaSelec(QWidget* padre) : QTableView(padre), delegadoSelec(new TDelegadoSelec(this)) {
  setObjectName(QStringLiteral("grdSelec"));
  setItemDelegate(delegadoSelec);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setSelectionBehavior(QAbstractItemView::SelectItems);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setWordWrap(false);
  setTabKeyNavigation(false);
  horizontalHeader()->hide();
  QHeaderView* v = verticalHeader();
  v->setSectionResizeMode(QHeaderView::Fixed);
  v->setDefaultSectionSize(altoFila());
  v->setMinimumSectionSize(altoFila());
  v->setSectionsClickable(false);
  v->setHighlightSections(false);
  v->setDefaultAlignment(Qt::AlignCenter);
  connect(delegadoSelec, &TDelegadoSelec::intro, this, [this](const QModelIndex& i) {
    // Intro baja una fila; en la última se queda.
    if (i.isValid() && i.row() + 1 < model()->rowCount()) irAFila(i.row() + 1);
  });
}

int TRejillaSelec::altoFila() const { return std::max(16, fontMetrics().height() + 4); }

void TRejillaSelec::setEditable(bool e) {
  esEditable = e;
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  if (e) abrirEditor(currentIndex());
}

QWidget* TRejillaSelec::editorActual() const {
  const QModelIndex i = currentIndex();
  return i.isValid() ? indexWidget(i) : nullptr;
}

void TRejillaSelec::recargarEditor() {
  if (QWidget* e = editorActual()) delegadoSelec->setEditorData(e, currentIndex());
}

void TRejillaSelec::abrirEditor(const QModelIndex& indice) {
  if (!esEditable || !indice.isValid() || isPersistentEditorOpen(indice)) return;
  openPersistentEditor(indice);
}

bool TRejillaSelec::permitirSalida(const QModelIndex& destino) {
  if (sinPreguntar || !esEditable || !destino.isValid() || destino == currentIndex() || !currentIndex().isValid())
    return true;
  return !puedeSalir || puedeSalir();
}

bool TRejillaSelec::irAFila(int fila) {
  if (!model() || fila < 0 || fila >= model()->rowCount()) return false;
  const QModelIndex destino = model()->index(fila, 0);
  if (!permitirSalida(destino)) return false;
  setCurrentIndex(destino);
  return true;
}

void TRejillaSelec::ponerEnFila(int fila) {
  if (!model() || fila < 0 || fila >= model()->rowCount()) return;
  sinPreguntar = true;
  setCurrentIndex(model()->index(fila, 0));
  sinPreguntar = false;
}

void TRejillaSelec::currentChanged(const QModelIndex& actual, const QModelIndex& anterior) {
  QTableView::currentChanged(actual, anterior);
  if (!esEditable) return;
  const bool conFoco = hasFocus() || isAncestorOf(QApplication::focusWidget());
  if (anterior.isValid() && isPersistentEditorOpen(anterior)) closePersistentEditor(anterior);
  abrirEditor(actual);
  if (QWidget* e = editorActual(); e && conFoco) e->setFocus();
}

QModelIndex TRejillaSelec::moveCursor(CursorAction accion, Qt::KeyboardModifiers modificadores) {
  const QModelIndex destino = QTableView::moveCursor(accion, modificadores);
  return permitirSalida(destino) ? destino : currentIndex();
}

void TRejillaSelec::mousePressEvent(QMouseEvent* evento) {
  const QModelIndex destino = indexAt(evento->position().toPoint());
  if (destino.isValid() && !permitirSalida(destino)) {
    evento->accept();
    return;
  }
  QTableView::mousePressEvent(evento);
  if (QWidget* e = editorActual()) e->setFocus();
}

void TRejillaSelec::mouseDoubleClickEvent(QMouseEvent* evento) {
  // Sin edición por doble clic: el editor ya está abierto.
  evento->accept();
}

void TRejillaSelec::updateGeometries() {
  QTableView::updateGeometries();
  // La columna de valores ocupa todo el ancho que deja la de nombres (con o sin barra de desplazamiento).
  if (model() && model()->columnCount() > 0 && columnWidth(0) != std::max(viewport()->width(), 16))
    setColumnWidth(0, std::max(viewport()->width(), 16));
}
