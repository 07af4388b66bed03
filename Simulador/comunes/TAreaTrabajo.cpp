#include "Simulador/comunes/TAreaTrabajo.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <algorithm>

void TAreaTrabajo::ponerAlAlcance(QMdiSubWindow& ventana) {
  const QMdiArea* area = ventana.mdiArea();
  if (area == nullptr || ventana.isMaximized() || ventana.isMinimized()) return;
  const QRect visible = area->viewport()->rect();
  const QRect r = ventana.geometry();
  // Primero que no se salga por la derecha ni por abajo; después, que la
  // esquina (el título, con el que se arrastra) quede dentro aunque no quepa.
  const int x = std::max(visible.left(), std::min(r.left(), visible.right() + 1 - r.width()));
  const int y = std::max(visible.top(), std::min(r.top(), visible.bottom() + 1 - r.height()));
  if (x != r.left() || y != r.top()) ventana.move(x, y);
}
