#include "Simulador/aplicacion/TIndicadorEstado.h"

#include <QLineEdit>
#include <QProgressBar>
#include <QTimer>

#include "Simulador/aplicacion/TOrdenesPrincipal.h"
#include "Simulador/control/TControladorMaquina.h"
#include "machine/TMaquina.h"

TIndicadorEstado::TIndicadorEstado(TOrdenesPrincipal& o, TControladorMaquina& s, TControladorMaquina& v,
                                   std::function<bool()> p, QObject* padre)
    : QObject(padre), ordenes(o), controlSuper(s), controlVLIW(v), hayPrograma(std::move(p)) {
  seguir(controlSuper);
  seguir(controlVLIW);
}

void TIndicadorEstado::seguir(TControladorMaquina& c) {
  int32_t& ciclo = cicloMostrado[static_cast<size_t>(c.tipo())];
  connect(&c, &TControladorMaquina::estadoCambiado, this, [this] { refrescar(); });
  // Tras «Parar» la máquina no se resetea, pero el ciclo vuelve a "0".
  connect(&c, &TControladorMaquina::cicloEjecutado, this, [this, &c, &ciclo] {
    ciclo = c.maquina().ciclo;
    refrescar(true);
  });
  connect(&c, &TControladorMaquina::ejecucionTerminada, this, [this, &ciclo](TFinEjecucion fin) {
    if (fin != TFinEjecucion::parada) return;
    ciclo = 0;
    refrescar(true);
  });
  connect(&c, &TControladorMaquina::ejecucionRapidaCambiada, ordenes.barProgreso, &QWidget::setVisible);
  connect(&c, &TControladorMaquina::progresoRapida, this, [this, &ciclo](int32_t alcanzado, int32_t objetivo) {
    ordenes.barProgreso->setRange(0, objetivo);
    ordenes.barProgreso->setValue(alcanzado);
    ciclo = alcanzado;
    refrescar(true);
  });
}

void TIndicadorEstado::seleccionar(TTipoMaquina m) {
  seleccionada = m;
  refrescar(true);
}

void TIndicadorEstado::refrescar(bool casillaCiclo) {
  const int32_t ciclo = cicloMostrado[static_cast<size_t>(seleccionada)];
  if (casillaCiclo) ordenes.txtCiclo->setText(QString::number(ciclo));
  const TControladorMaquina& c = controlador(seleccionada);
  QString estado = QStringLiteral("detenida");
  if (!hayPrograma()) estado = QStringLiteral("sin programa");
  else if (!c.enEjecucion()) estado = QStringLiteral("lista");
  else if (c.temporizador()->isActive()) estado = QStringLiteral("en marcha");
  else if (c.enBreakpoint()) estado = QStringLiteral("en breakpoint");
  ordenes.mostrarEstado(seleccionada == TTipoMaquina::vliw, ciclo, estado);
}
