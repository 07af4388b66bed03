#include "Simulador/ayuda/TAyudaContexto.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>

#include "Simulador/aplicacion/TServicioDialogos.h"
#include "Simulador/ayuda/TFicheroAyuda.h"
#include "Simulador/ayuda/TfrmAyuda.h"

namespace {

void traerAlFrente(QWidget* w) {
  w->show();
  w->raise();
  w->activateWindow();
}

}  // namespace

TAyudaContexto::TAyudaContexto(QWidget& v, QMdiArea& a, TServicioDialogos& d)
    : QObject(&v), ventana(v), area(a), dialogos(d) {
  setObjectName(QStringLiteral("ayudaContexto"));
}

TfrmAyuda* TAyudaContexto::visor() const { return frmAyuda; }

TfrmAyuda* TAyudaContexto::ayuda() {
  if (frmAyuda) return frmAyuda;
  const QString ruta = TFicheroAyuda::buscar();
  if (ruta.isEmpty()) {
    dialogos.mensaje(&ventana,
                     QStringLiteral("No se encuentra el fichero de ayuda %1").arg(TFicheroAyuda::rutaRelativa()),
                     QStringLiteral("Se ha buscado en:\n") + TFicheroAyuda::rutasCandidatas().join(QLatin1Char('\n')));
    return nullptr;
  }
  auto* nuevo = new TfrmAyuda(&ventana);
  QString error;
  if (!nuevo->cargar(ruta, error)) {
    delete nuevo;
    dialogos.mensaje(&ventana, QStringLiteral("El fichero de ayuda %1 no es válido").arg(ruta), error);
    return nullptr;
  }
  nuevo->setAttribute(Qt::WA_DeleteOnClose);
  frmAyuda = nuevo;
  return frmAyuda;
}

void TAyudaContexto::contenido() {
  if (TfrmAyuda* v = ayuda()) {
    v->mostrarContenido();
    traerAlFrente(v);
  }
}

void TAyudaContexto::buscar() {
  if (TfrmAyuda* v = ayuda()) {
    v->mostrarBusqueda(QString());
    traerAlFrente(v);
  }
}

void TAyudaContexto::comoUsar() {
  if (TfrmAyuda* v = ayuda()) {
    v->mostrarComoUsar();
    traerAlFrente(v);
  }
}

bool TAyudaContexto::mostrarTema(int numero) {
  TfrmAyuda* v = ayuda();
  if (!v) return false;
  const bool existe = v->mostrarTema(numero);
  traerAlFrente(v);
  return existe;
}

int TAyudaContexto::temaActivo() const {
  for (const QWidget* w = QApplication::focusWidget(); w; w = w->parentWidget()) {
    if (w == &ventana) break;
    const QVariant tema = w->property("temaAyuda");
    if (tema.isValid()) return tema.toInt();
  }
  if (const QMdiSubWindow* activa = area.activeSubWindow()) {
    const QVariant tema = activa->property("temaAyuda");
    if (tema.isValid()) return tema.toInt();
  }
  return ventana.property("temaAyuda").toInt();
}

void TAyudaContexto::vigilarMenu(QMenu* menu) { menu->installEventFilter(this); }

bool TAyudaContexto::eventFilter(QObject* objeto, QEvent* evento) {
  if (evento->type() == QEvent::KeyPress && qobject_cast<QMenu*>(objeto)) {
    const auto* tecla = static_cast<QKeyEvent*>(evento);
    if (tecla->key() == Qt::Key_F1 && (tecla->modifiers() & Qt::ShiftModifier)) {
      const int tema = objeto->property("temaAyuda").toInt();
      for (QWidget* w = QApplication::activePopupWidget(); w; w = QApplication::activePopupWidget()) w->close();
      mostrarTema(tema);
      return true;
    }
  }
  return QObject::eventFilter(objeto, evento);
}
