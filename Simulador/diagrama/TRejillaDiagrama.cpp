#include "Simulador/diagrama/TRejillaDiagrama.h"

#include <QHeaderView>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>

#include "Simulador/diagrama/TCabeceraDiagrama.h"
#include "Simulador/diagrama/TDelegadoDiagrama.h"
#include "Simulador/diagrama/TModeloDiagrama.h"
#include "observation/TTextosDiagrama.h"

TRejillaDiagrama::TRejillaDiagrama(QWidget* padre) : QTableView(padre) {
  // Como las que crea la tabla, pero con el grosor medido una vez.
  for (Qt::Orientation o : {Qt::Horizontal, Qt::Vertical}) {
    auto* cabecera = new TCabeceraDiagrama(o, this);
    cabecera->setSectionsClickable(true);
    cabecera->setHighlightSections(true);
    if (o == Qt::Horizontal)
      setHorizontalHeader(cabecera);
    else
      setVerticalHeader(cabecera);
  }
}

void TRejillaDiagrama::setModel(QAbstractItemModel* m) {
  QTableView::setModel(m);
  modeloDiagrama = qobject_cast<TModeloDiagrama*>(m);
}

const QPixmap& TRejillaDiagrama::dibujo(char letra, bool perdida, bool espera, int ancho, int alto) {
  if (tamDibujos != QSize(ancho, alto)) {
    dibujos.clear();
    tamDibujos = QSize(ancho, alto);
  }
  const int clave = static_cast<unsigned char>(letra) * 4 + (perdida ? 2 : 0) + (espera ? 1 : 0);
  auto it = dibujos.find(clave);
  if (it == dibujos.end()) {
    QPixmap d(ancho, alto);
    d.fill(palette().base().color());
    QPainter p(&d);
    p.setFont(font());
    TModeloDiagrama::TCelda c;
    c.letra = letra;
    c.perdida = perdida;
    if (espera) c.tramo.espera.motivo = espROBLleno;  // cualquier motivo: solo la muesca
    TDelegadoDiagrama::pintarCelda(p, QRect(0, 0, ancho, alto), c, {});
    p.end();
    it = dibujos.insert(clave, d);
  }
  return *it;
}

void TRejillaDiagrama::paintEvent(QPaintEvent* evento) {
  QPainter p(viewport());
  const QRect zona = evento->rect();
  p.fillRect(zona, palette().base());
  if (!modeloDiagrama || modeloDiagrama->rowCount() == 0 || modeloDiagrama->columnCount() == 0) return;
  const TModeloDiagrama& m = *modeloDiagrama;
  const int ancho = horizontalHeader()->defaultSectionSize();
  const int alto = verticalHeader()->defaultSectionSize();
  const int f0 = rowAt(zona.top());
  const int c0 = columnAt(zona.left());
  if (f0 < 0 || c0 < 0) return;
  int f1 = rowAt(zona.bottom());
  int c1 = columnAt(zona.right());
  if (f1 < 0) f1 = m.rowCount() - 1;
  if (c1 < 0) c1 = m.columnCount() - 1;
  const int x0 = columnViewportPosition(c0);
  const int y0 = rowViewportPosition(f0);
  const int32_t desde = m.cicloDeColumna(c0), hasta = m.cicloDeColumna(c1);
  const int seleccionada = m.filaSeleccionada();
  const bool conLetra = ancho >= TDelegadoDiagrama::ANCHO_CON_LETRA;

  for (int f = f0; f <= f1; ++f) {
    const int y = y0 + (f - f0) * alto;
    if (m.esDeDireccion(f, m.resaltada()))
      p.fillRect(QRect(x0, y, (c1 - c0 + 1) * ancho, alto), TDelegadoDiagrama::COLOR_RESALTADA);
    const bool perdida = m.perdida(f);
    for (const TTramoVisible& t : m.tramosDe(f)) {
      if (t.hasta < desde || t.desde > hasta) continue;
      const int32_t a = std::max(t.desde, desde), b = std::min(t.hasta, hasta);
      const int xa = x0 + (a - desde) * ancho;
      if (conLetra) {
        const QPixmap& d = dibujo(t.letra, perdida, t.espera.motivo != espNinguno, ancho, alto);
        for (int32_t c = a; c <= b; ++c) p.drawPixmap(x0 + (c - desde) * ancho, y, d);
      } else {
        QColor fondo = QColor::fromRgb(TTextosDiagrama::color(t.letra));
        if (perdida) fondo = fondo.lighter(125);
        p.fillRect(QRect(xa, y + 1, (b - a + 1) * ancho, alto - 2), fondo);
      }
    }
    if (f == seleccionada) {
      p.setPen(TDelegadoDiagrama::COLOR_SELECCION);
      p.drawLine(x0, y, x0 + (c1 - c0 + 1) * ancho, y);
      p.drawLine(x0, y + alto - 1, x0 + (c1 - c0 + 1) * ancho, y + alto - 1);
    }
  }
  // La marca del ciclo actual, a lo alto.
  const int actual = m.columnaDeCiclo(m.cicloActual());
  if (actual >= c0 && actual <= c1) {
    const int x = x0 + (actual - c0 + 1) * ancho - 1;
    p.setPen(QPen(TDelegadoDiagrama::COLOR_ACTUAL, 2));
    p.drawLine(x, zona.top(), x, zona.bottom());
  }
}
