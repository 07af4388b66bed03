#include "Simulador/comunes/TColumnaVistas.h"

#include <QEvent>
#include <QLabel>
#include <QVBoxLayout>
#include <algorithm>

#include "Simulador/comunes/TPanelRejilla.h"

TColumnaVistas::TColumnaVistas(QWidget* padre) : QSplitter(Qt::Vertical, padre) {
  setChildrenCollapsible(false);
  setHandleWidth(3);
  connect(this, &QSplitter::splitterMoved, this, [this] { repartoAutomatico = false; });
}

void TColumnaVistas::anadir(TPanelRejilla* panel) {
  if (!paneles.isEmpty()) setStretchFactor(static_cast<int>(paneles.size()) - 1, 0);
  paneles.append(panel);
  addWidget(panel);
  setStretchFactor(static_cast<int>(paneles.size()) - 1, 1);
  connect(panel, &TPanelRejilla::tituloDobleClic, this,
          [this, panel] { alternar(static_cast<int>(paneles.indexOf(panel))); });
}

QList<int> TColumnaVistas::repartir(const QList<int>& deseados, int alto, int minimo) {
  QList<int> altos;
  if (deseados.isEmpty()) return altos;
  int total = 0;
  for (int d : deseados) total += std::max(d, minimo);
  if (total <= alto) {
    for (int d : deseados) altos << std::max(d, minimo);
    altos.last() += alto - total;
    return altos;
  }
  // Tope común: el mayor que deja la suma dentro del alto disponible.
  int bajo = minimo, tope = alto;
  while (bajo < tope) {
    const int medio = (bajo + tope + 1) / 2;
    int suma = 0;
    for (int d : deseados) suma += std::clamp(d, minimo, std::max(minimo, medio));
    if (suma <= alto) bajo = medio;
    else tope = medio - 1;
  }
  int suma = 0;
  for (int d : deseados) {
    altos << std::clamp(d, minimo, std::max(minimo, bajo));
    suma += altos.last();
  }
  if (suma < alto) altos.last() += alto - suma;
  return altos;
}

void TColumnaVistas::desplegarTodos() {
  QList<int> deseados;
  for (const TPanelRejilla* p : paneles) deseados << p->alturaCompleta();
  const int alto = height() - handleWidth() * std::max(0, static_cast<int>(paneles.size()) - 1);
  setSizes(repartir(deseados, std::max(alto, 0), TPanelRejilla::ALTO_TITULO));
}

void TColumnaVistas::resizeEvent(QResizeEvent* evento) {
  QSplitter::resizeEvent(evento);
  if (repartoAutomatico) desplegarTodos();
}

bool TColumnaVistas::event(QEvent* evento) {
  const bool r = QSplitter::event(evento);
  // Los altos de las rejillas se conocen cuando sus paneles ya están pulidos y colocados.
  if (repartoAutomatico && (evento->type() == QEvent::LayoutRequest || evento->type() == QEvent::Show))
    desplegarTodos();
  return r;
}

bool TColumnaVistas::plegado(int i) const {
  const QList<int> altos = sizes();
  return i >= 0 && i < altos.size() && altos[i] <= TPanelRejilla::ALTO_TITULO;
}

void TColumnaVistas::alternar(int i) {
  const int ultimo = static_cast<int>(paneles.size()) - 1;
  if (i < 0 || i >= ultimo) return;
  repartoAutomatico = false;
  QList<int> altos = sizes();
  const int nuevo = plegado(i) ? paneles[i]->alturaCompleta() : TPanelRejilla::ALTO_TITULO;
  // El último panel cede o recibe la diferencia.
  altos[ultimo] = std::max(TPanelRejilla::ALTO_TITULO, altos[ultimo] + altos[i] - nuevo);
  altos[i] = nuevo;
  setSizes(altos);
}

QWidget* TColumnaVistas::conTitulo(const QString& texto, const QString& pista, QWidget* contenido) {
  auto* w = new QWidget;
  QLabel* titulo = TPanelRejilla::crearTitulo(texto, w, pista);
  QFont f = titulo->font();
  f.setBold(true);
  titulo->setFont(f);
  auto* capa = new QVBoxLayout(w);
  capa->setContentsMargins(0, 0, 0, 0);
  capa->setSpacing(0);
  capa->addWidget(titulo);
  capa->addWidget(contenido, 1);
  return w;
}
