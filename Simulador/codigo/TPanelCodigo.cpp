#include "Simulador/codigo/TPanelCodigo.h"

#include <QEvent>
#include <QLabel>
#include <algorithm>

#include "Simulador/codigo/TModeloCodigo.h"
#include "Simulador/codigo/TRejillaCodigo.h"
#include "Simulador/comunes/TPanelRejilla.h"

namespace {

// Nombre del fichero sin carpeta, sea cual sea el separador de la ruta.
QString nombreSinCarpeta(const QString& ruta) {
  const qsizetype corte = std::max(ruta.lastIndexOf(QLatin1Char('/')), ruta.lastIndexOf(QLatin1Char('\\')));
  return ruta.mid(corte + 1);
}

}  // namespace

TPanelCodigo::TPanelCodigo(QWidget* padre) : QDockWidget(padre) {
  setObjectName(QStringLiteral("panCodigo"));
  setFeatures(QDockWidget::NoDockWidgetFeatures);
  setAllowedAreas(Qt::LeftDockWidgetArea);
  panTitulo = TPanelRejilla::crearTitulo(QStringLiteral("Código Secuencial"), this);
  panTitulo->installEventFilter(this);
  setTitleBarWidget(panTitulo);
  grdInstrucciones = new TRejillaCodigo(this);
  grdInstrucciones->setProperty("temaAyuda", TRejillaCodigo::TEMA_AYUDA);
  setWidget(grdInstrucciones);
}

void TPanelCodigo::mostrarPrograma(const TCodigo* programa, const QString& ruta) {
  if (programa) panTitulo->setText(nombreSinCarpeta(ruta));
  grdInstrucciones->modelo()->asignar(programa);
}

int TPanelCodigo::anchoNecesario() const { return grdInstrucciones->anchoNecesario(); }

bool TPanelCodigo::eventFilter(QObject* objeto, QEvent* evento) {
  if (objeto == panTitulo && evento->type() == QEvent::MouseButtonDblClick) {
    emit tituloDobleClic();
    return true;
  }
  return QDockWidget::eventFilter(objeto, evento);
}
