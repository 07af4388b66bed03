#include "Simulador/diagrama/TfrmDiagrama.h"

#include <QAction>
#include <QFile>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>
#include <QSlider>
#include <QSpinBox>
#include <QSvgGenerator>
#include <QTabWidget>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <algorithm>
#include <fstream>
#include <sstream>

#include "Simulador/aplicacion/TServicioDialogos.h"
#include "Simulador/control/TControladorMaquina.h"
#include "Simulador/diagrama/TDelegadoDiagrama.h"
#include "Simulador/diagrama/TModeloDiagrama.h"
#include "Simulador/diagrama/TModeloTablaInstrucciones.h"
#include "Simulador/diagrama/TRejillaDiagrama.h"
#include "observation/TRegistradorDiagrama.h"

namespace {

constexpr int ANCHO_ETIQUETAS = 260;  // columna de las instrucciones en la imagen
constexpr int ALTO_CABECERA = 20;

template <typename Rejilla>
Rejilla* nuevaRejilla(QWidget* padre, const char* nombre) {
  auto* g = new Rejilla(padre);
  g->setObjectName(QString::fromLatin1(nombre));
  g->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  g->verticalHeader()->setDefaultSectionSize(TfrmDiagrama::ALTO_FILA);
  g->setSelectionMode(QAbstractItemView::NoSelection);
  g->setEditTriggers(QAbstractItemView::NoEditTriggers);
  g->setWordWrap(false);
  return g;
}

}  // namespace

TfrmDiagrama::TfrmDiagrama(const TRegistradorDiagrama& r, TControladorMaquina& controlador,
                           TServicioDialogos& servicio, QWidget* padre)
    : QMdiSubWindow(padre), reg(r), dialogos(servicio) {
  setObjectName(r.esVLIW() ? QStringLiteral("frmDiagramaVLIW") : QStringLiteral("frmDiagramaSuper"));
  setWindowTitle(r.esVLIW() ? QStringLiteral("Diagrama de Ejecución VLIW")
                            : QStringLiteral("Diagrama de Ejecución Superescalar"));
  setProperty("temaAyuda", TEMA_AYUDA);
  setAttribute(Qt::WA_DeleteOnClose);

  auto* cuerpo = new QWidget(this);
  auto* columna = new QVBoxLayout(cuerpo);
  columna->setContentsMargins(2, 2, 2, 2);
  auto* fila = new QHBoxLayout;
  columna->addLayout(fila);

  labCiclo = new QLabel(cuerpo);
  labCiclo->setObjectName(QStringLiteral("labCiclo"));
  sldCiclo = new QSlider(Qt::Horizontal, cuerpo);
  sldCiclo->setObjectName(QStringLiteral("sldCiclo"));
  sldCiclo->setToolTip(QStringLiteral("Ciclo: muévalo para ir a un ciclo ya ejecutado"));
  auto* butAlejar = new QToolButton(cuerpo);
  butAlejar->setObjectName(QStringLiteral("butAlejar"));
  butAlejar->setText(QStringLiteral("−"));
  butAlejar->setToolTip(QStringLiteral("Columnas más estrechas (Ctrl+rueda)"));
  auto* butAcercar = new QToolButton(cuerpo);
  butAcercar->setObjectName(QStringLiteral("butAcercar"));
  butAcercar->setText(QStringLiteral("+"));
  butAcercar->setToolTip(QStringLiteral("Columnas más anchas (Ctrl+rueda)"));
  spiDesde = new QSpinBox(cuerpo);
  spiDesde->setObjectName(QStringLiteral("spiDesde"));
  spiHasta = new QSpinBox(cuerpo);
  spiHasta->setObjectName(QStringLiteral("spiHasta"));
  for (QSpinBox* s : {spiDesde, spiHasta}) {
    s->setRange(1, INT32_MAX);
    s->setToolTip(QStringLiteral("Ciclos que se exportan"));
  }
  spiHasta->setValue(INT32_MAX);
  spiHasta->setSpecialValueText(QStringLiteral("el último"));
  spiHasta->setMinimum(0);
  spiHasta->setValue(0);
  butExportar = new QToolButton(cuerpo);
  butExportar->setObjectName(QStringLiteral("butExportar"));
  butExportar->setText(QStringLiteral("Exportar"));
  butExportar->setPopupMode(QToolButton::InstantPopup);
  auto* menu = new QMenu(butExportar);
  actExportarDiagramaCSV = menu->addAction(QStringLiteral("Diagrama en CSV..."));
  actExportarTablaCSV = menu->addAction(QStringLiteral("Tabla de Instrucciones en CSV..."));
  actExportarPNG = menu->addAction(QStringLiteral("Imagen PNG del diagrama..."));
  actExportarSVG = menu->addAction(QStringLiteral("Imagen SVG del diagrama..."));
  butExportar->setMenu(menu);
  labDescartadas = new QLabel(cuerpo);
  labDescartadas->setObjectName(QStringLiteral("labDescartadas"));
  labDescartadas->setStyleSheet(QStringLiteral("color: #a04000"));

  fila->addWidget(labCiclo);
  fila->addWidget(sldCiclo, 1);
  fila->addWidget(butAlejar);
  fila->addWidget(butAcercar);
  fila->addSpacing(12);
  fila->addWidget(new QLabel(QStringLiteral("Ciclos"), cuerpo));
  fila->addWidget(spiDesde);
  fila->addWidget(new QLabel(QStringLiteral("a"), cuerpo));
  fila->addWidget(spiHasta);
  fila->addWidget(butExportar);
  columna->addWidget(labDescartadas);
  labDescartadas->hide();

  pagPestanas = new QTabWidget(cuerpo);
  pagPestanas->setObjectName(QStringLiteral("pagPestanas"));
  columna->addWidget(pagPestanas, 1);

  modelo = new TModeloDiagrama(reg, this);
  delegado = new TDelegadoDiagrama(this);
  grdDiagrama = nuevaRejilla<TRejillaDiagrama>(pagPestanas, "grdDiagrama");
  grdDiagrama->setModel(modelo);
  grdDiagrama->setItemDelegate(delegado);
  grdDiagrama->setShowGrid(false);
  grdDiagrama->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  grdDiagrama->horizontalHeader()->setDefaultSectionSize(ANCHO_CICLO);
  grdDiagrama->horizontalHeader()->setMinimumSectionSize(ANCHO_MINIMO);
  grdDiagrama->horizontalHeader()->setSectionsClickable(true);
  grdDiagrama->horizontalScrollBar()->setSingleStep(ANCHO_CICLO);
  grdDiagrama->verticalHeader()->setFixedWidth(ANCHO_ETIQUETAS);
  grdDiagrama->verticalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  grdDiagrama->setMouseTracking(true);
  grdDiagrama->viewport()->installEventFilter(this);
  pagPestanas->addTab(grdDiagrama, QStringLiteral("Diagrama"));

  modeloTabla = new TModeloTablaInstrucciones(reg, this);
  grdTabla = nuevaRejilla<QTableView>(pagPestanas, "grdTabla");
  grdTabla->setModel(modeloTabla);
  grdTabla->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  grdTabla->horizontalHeader()->setDefaultSectionSize(104);
  grdTabla->setColumnWidth(0, 240);
  pagPestanas->addTab(grdTabla, QStringLiteral("Tabla de Instrucciones"));

  setWidget(cuerpo);
  resize(820, 420);

  connect(grdDiagrama->horizontalHeader(), &QHeaderView::sectionClicked, this,
          [this](int c) { emit cicloPedido(modelo->cicloDeColumna(c)); });
  connect(grdDiagrama, &QTableView::clicked, this, &TfrmDiagrama::elegirFila);
  connect(grdDiagrama->verticalHeader(), &QHeaderView::sectionClicked, this,
          [this](int f) { elegirFila(modelo->index(f, 0)); });
  connect(sldCiclo, &QSlider::valueChanged, this, [this](int ciclo) {
    if (moviendoDeslizador) return;
    mostrarCiclo(ciclo);
    emit cicloPedido(ciclo);
  });
  connect(butAlejar, &QToolButton::clicked, this, [this] { setAnchoCiclo(anchoCiclo() * 2 / 3); });
  connect(butAcercar, &QToolButton::clicked, this, [this] { setAnchoCiclo(anchoCiclo() * 3 / 2 + 1); });
  connect(pagPestanas, &QTabWidget::currentChanged, this, [this] {
    if (pagPestanas->currentWidget() == grdTabla && !tablaAlDia) {
      modeloTabla->refrescar();
      tablaAlDia = true;
    }
  });
  connect(actExportarDiagramaCSV, &QAction::triggered, this, [this] { pedirExportacion(expDiagramaCSV); });
  connect(actExportarTablaCSV, &QAction::triggered, this, [this] { pedirExportacion(expTablaCSV); });
  connect(actExportarPNG, &QAction::triggered, this, [this] { pedirExportacion(expPNG); });
  connect(actExportarSVG, &QAction::triggered, this, [this] { pedirExportacion(expSVG); });
  connect(&controlador, &TControladorMaquina::cicloEjecutado, this, &TfrmDiagrama::actualizar);
  connect(&controlador, &TControladorMaquina::ejecucionIniciada, this, &TfrmDiagrama::actualizar);
  connect(&controlador, &TControladorMaquina::ejecucionTerminada, this, &TfrmDiagrama::actualizar);
  actualizar();
}

void TfrmDiagrama::actualizar() {
  QScrollBar* h = grdDiagrama->horizontalScrollBar();
  QScrollBar* v = grdDiagrama->verticalScrollBar();
  // Se sigue la ejecución si se estaba viendo el final (o aún no había nada).
  const bool seguirH = h->value() >= h->maximum() - 1;
  const bool seguirV = v->value() >= v->maximum() - 1;
  modelo->refrescar();
  if (pagPestanas->currentWidget() == grdTabla) {
    modeloTabla->refrescar();
    tablaAlDia = true;
  } else {
    tablaAlDia = false;
  }
  if (seguirH) h->setValue(h->maximum());
  if (seguirV) v->setValue(v->maximum());

  const int32_t actual = reg.ultimoCiclo();
  moviendoDeslizador = true;
  sldCiclo->setRange(std::max(1, reg.primerCiclo()), std::max(1, actual));
  sldCiclo->setValue(actual);
  moviendoDeslizador = false;
  labCiclo->setText(QStringLiteral("Ciclo %1").arg(actual));
  if (reg.filasDescartadas() > 0) {
    labDescartadas->setText(QStringLiteral("Se descartaron las %1 filas más antiguas: se guardan las últimas %2.")
                                .arg(reg.filasDescartadas())
                                .arg(reg.maxFilas()));
    labDescartadas->show();
  } else {
    labDescartadas->hide();
  }
}

void TfrmDiagrama::resaltarInstruccion(int32_t direccion) {
  modelo->resaltar(direccion);
  grdDiagrama->viewport()->update();
}

void TfrmDiagrama::seleccionarSecuencia(int64_t secuencia) {
  modelo->seleccionarSecuencia(secuencia);
  const int fila = modelo->filaSeleccionada();
  if (fila >= 0) grdDiagrama->scrollTo(modelo->index(fila, std::max(0, grdDiagrama->columnAt(0))));
  grdDiagrama->viewport()->update();
}

void TfrmDiagrama::mostrarCiclo(int32_t ciclo) {
  const int columna = modelo->columnaDeCiclo(ciclo);
  if (columna < 0 || columna >= modelo->columnCount()) return;
  const QModelIndex arriba = modelo->index(std::max(0, grdDiagrama->rowAt(0)), columna);
  grdDiagrama->scrollTo(arriba, QAbstractItemView::PositionAtCenter);
}

void TfrmDiagrama::setAnchoCiclo(int ancho) {
  ancho = std::clamp(ancho, ANCHO_MINIMO, ANCHO_MAXIMO);
  // El ciclo del centro sigue en el centro.
  QHeaderView* cab = grdDiagrama->horizontalHeader();
  const int centro = cab->logicalIndexAt(grdDiagrama->viewport()->width() / 2);
  cab->setDefaultSectionSize(ancho);
  grdDiagrama->horizontalScrollBar()->setSingleStep(ancho);
  if (centro >= 0) mostrarCiclo(modelo->cicloDeColumna(centro));
}

int TfrmDiagrama::anchoCiclo() const { return grdDiagrama->horizontalHeader()->defaultSectionSize(); }

bool TfrmDiagrama::eventFilter(QObject* objeto, QEvent* evento) {
  if (objeto == grdDiagrama->viewport() && evento->type() == QEvent::Wheel) {
    auto* rueda = static_cast<QWheelEvent*>(evento);
    if (rueda->modifiers() & Qt::ControlModifier) {
      const int paso = rueda->angleDelta().y();
      if (paso > 0) setAnchoCiclo(anchoCiclo() * 5 / 4 + 1);
      else if (paso < 0) setAnchoCiclo(anchoCiclo() * 4 / 5);
      return true;
    }
  }
  return QMdiSubWindow::eventFilter(objeto, evento);
}

void TfrmDiagrama::elegirFila(const QModelIndex& indice) {
  if (!indice.isValid()) return;
  modelo->seleccionar(indice.row());
  grdDiagrama->viewport()->update();
  grdDiagrama->verticalHeader()->viewport()->update();
  const TFilaDiagrama& f = modelo->filaDiagrama(indice.row());
  int32_t direccion = f.pc;
  if (f.clase == filaLarga) direccion = f.numOps > 0 ? reg.operacion(f, 0).pc : -1;
  if (direccion >= 0) emit instruccionSeleccionada(direccion);
}

TIntervaloCiclos TfrmDiagrama::intervaloExportacion() const {
  TIntervaloCiclos iv;
  iv.desde = spiDesde->value();
  iv.hasta = spiHasta->value() <= 0 ? INT32_MAX : spiHasta->value();
  return TInformeDiagrama::ajustar(reg, iv);
}

QSize TfrmDiagrama::tamanoImagen(TIntervaloCiclos iv) const {
  const int64_t ciclos = std::max(0, iv.hasta - iv.desde + 1);
  int64_t filas = 0;
  for (int f = 0; f < modelo->rowCount(); ++f) {
    const TFilaDiagrama& d = modelo->filaDiagrama(f);
    if (d.primero <= iv.hasta && reg.finDe(d) >= iv.desde) ++filas;
  }
  const int64_t ancho = ANCHO_ETIQUETAS + ciclos * anchoCiclo();
  const int64_t alto = ALTO_CABECERA + filas * ALTO_FILA;
  return QSize(static_cast<int>(std::min<int64_t>(ancho, INT32_MAX / 4)),
               static_cast<int>(std::min<int64_t>(alto, INT32_MAX / 4)));
}

void TfrmDiagrama::pintar(QPainter& p, TIntervaloCiclos iv) const {
  const int ancho = anchoCiclo();
  const QSize tam = tamanoImagen(iv);
  p.fillRect(QRect(QPoint(0, 0), tam), Qt::white);
  QFont letra = p.font();
  letra.setPixelSize(11);
  p.setFont(letra);
  p.setPen(Qt::black);
  for (int32_t c = iv.desde; c <= iv.hasta; ++c) {
    const int x = ANCHO_ETIQUETAS + (c - iv.desde) * ancho;
    if (ancho >= 16 || c % 5 == 0)
      p.drawText(QRect(x - 10, 0, ancho + 20, ALTO_CABECERA), Qt::AlignCenter, QString::number(c));
  }
  int y = ALTO_CABECERA;
  for (int f = 0; f < modelo->rowCount(); ++f) {
    const TFilaDiagrama& d = modelo->filaDiagrama(f);
    if (d.primero > iv.hasta || reg.finDe(d) < iv.desde) continue;
    const TModeloDiagrama::TCelda ultima = modelo->celda(f, modelo->columnaDeCiclo(reg.finDe(d)));
    QFont etiqueta = letra;
    etiqueta.setStrikeOut(ultima.perdida);
    etiqueta.setBold(d.clase == filaLarga);
    p.setFont(etiqueta);
    p.setPen(ultima.perdida ? TModeloDiagrama::COLOR_PERDIDA : QColor(Qt::black));
    p.drawText(QRect(4, y, ANCHO_ETIQUETAS - 8, ALTO_FILA), Qt::AlignLeft | Qt::AlignVCenter,
               p.fontMetrics().elidedText(modelo->textoFila(f), Qt::ElideRight, ANCHO_ETIQUETAS - 8));
    p.setFont(letra);
    for (int32_t c = std::max(iv.desde, d.primero); c <= std::min(iv.hasta, reg.finDe(d)); ++c) {
      const QRect r(ANCHO_ETIQUETAS + (c - iv.desde) * ancho, y, ancho, ALTO_FILA);
      TDelegadoDiagrama::pintarCelda(p, r, modelo->celda(f, modelo->columnaDeCiclo(c)), {});
    }
    y += ALTO_FILA;
  }
}

bool TfrmDiagrama::exportar(TExportacion formato, const QString& ruta) {
  const TIntervaloCiclos iv = intervaloExportacion();
  if (formato == expPNG || formato == expSVG) {
    const QSize tam = tamanoImagen(iv);
    if (tam.width() > LADO_MAXIMO_IMAGEN || tam.height() > LADO_MAXIMO_IMAGEN) {
      dialogos.mensaje(this, QStringLiteral("El diagrama de esos ciclos es demasiado grande para una imagen: "
                                            "elija menos ciclos o columnas más estrechas."));
      return false;
    }
    bool bien = true;
    if (formato == expPNG) {
      QImage imagen(tam, QImage::Format_RGB32);
      QPainter p(&imagen);
      pintar(p, iv);
      p.end();
      bien = imagen.save(ruta, "PNG");
    } else {
      QSvgGenerator svg;
      svg.setFileName(ruta);
      svg.setSize(tam);
      svg.setViewBox(QRect(QPoint(0, 0), tam));
      svg.setTitle(windowTitle());
      QPainter p;
      bien = p.begin(&svg);
      if (bien) {
        pintar(p, iv);
        bien = p.end();
      }
      bien = bien && QFile::exists(ruta);
    }
    if (!bien) dialogos.mensaje(this, QStringLiteral("No se pudo escribir el fichero %1").arg(ruta));
    return bien;
  }
  std::ostringstream texto;
  if (formato == expDiagramaCSV) TInformeDiagrama::escribirCSV(texto, reg, iv);
  else TInformeDiagrama::escribirTablaCSV(texto, reg, iv);
  QFile f(ruta);
  const std::string datos = texto.str();
  if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
      f.write(datos.data(), static_cast<qint64>(datos.size())) != static_cast<qint64>(datos.size())) {
    dialogos.mensaje(this, QStringLiteral("No se pudo escribir el fichero %1").arg(ruta));
    return false;
  }
  return true;
}

void TfrmDiagrama::pedirExportacion(TExportacion formato) {
  static const char* const filtros[] = {"Valores separados por comas|*.csv", "Valores separados por comas|*.csv",
                                        "Imagen PNG|*.png", "Imagen SVG|*.svg"};
  static const char* const sufijos[] = {"csv", "csv", "png", "svg"};
  const QString ruta = dialogos.guardarFichero(this, QString::fromUtf8(filtros[formato]),
                                               QString::fromLatin1(sufijos[formato]));
  if (!ruta.isEmpty()) exportar(formato, ruta);
}
