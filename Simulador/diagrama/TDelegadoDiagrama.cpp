#include "Simulador/diagrama/TDelegadoDiagrama.h"

#include <QPainter>

#include "observation/TTextosDiagrama.h"

const QColor TDelegadoDiagrama::COLOR_ACTUAL = QColor(220, 30, 30);
const QColor TDelegadoDiagrama::COLOR_SELECCION = QColor(30, 80, 200);
const QColor TDelegadoDiagrama::COLOR_RESALTADA = QColor(255, 248, 200);

void TDelegadoDiagrama::paint(QPainter* p, const QStyleOptionViewItem& opcion, const QModelIndex& i) const {
  const auto* m = qobject_cast<const TModeloDiagrama*>(i.model());
  if (!m) {
    QStyledItemDelegate::paint(p, opcion, i);
    return;
  }
  TMarcas marcas;
  marcas.actual = m->cicloDeColumna(i.column()) == m->cicloActual();
  marcas.seleccionada = i.row() == m->filaSeleccionada();
  marcas.resaltada = m->esDeDireccion(i.row(), m->resaltada());
  pintarCelda(*p, opcion.rect, m->celda(i.row(), i.column()), marcas);
}

void TDelegadoDiagrama::pintarCelda(QPainter& p, const QRect& r, const TModeloDiagrama::TCelda& c, TMarcas marcas) {
  p.save();
  if (c.letra != ' ') {
    QColor fondo = QColor::fromRgb(TTextosDiagrama::color(c.letra));
    if (c.perdida) fondo = fondo.lighter(125);
    p.fillRect(r.adjusted(0, 1, -1, -1), fondo);
    if (r.width() >= ANCHO_CON_LETRA) {
      QFont f = p.font();
      f.setStrikeOut(c.perdida);
      p.setFont(f);
      p.setPen(c.perdida ? TModeloDiagrama::COLOR_PERDIDA : QColor(Qt::black));
      p.drawText(r, Qt::AlignCenter, QString(QChar::fromLatin1(c.letra)));
    }
    // Una espera lleva su motivo: una muesca en la esquina lo anuncia.
    if (c.tramo.espera.motivo != espNinguno && r.width() >= 6) {
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(90, 90, 90));
      const QPoint esquina = r.topRight() + QPoint(-1, 1);
      const QPoint puntos[3] = {esquina, esquina - QPoint(4, 0), esquina + QPoint(0, 4)};
      p.drawPolygon(puntos, 3);
    }
  } else if (marcas.resaltada) {
    p.fillRect(r, COLOR_RESALTADA);
  }
  if (marcas.seleccionada) {
    p.setPen(QPen(COLOR_SELECCION, 1));
    p.drawLine(r.topLeft(), r.topRight());
    p.drawLine(r.bottomLeft(), r.bottomRight());
  }
  if (marcas.actual) {
    p.setPen(QPen(COLOR_ACTUAL, 2));
    p.drawLine(r.topRight() - QPoint(0, 0), r.bottomRight());
  }
  p.restore();
}
