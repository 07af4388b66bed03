#include "Simulador/vliw/TfrmInstVLIW.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFile>
#include <QGridLayout>
#include <QHeaderView>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMimeData>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusTipEvent>
#include <QTableView>
#include <QToolTip>
#include <QVBoxLayout>
#include <algorithm>
#include <memory>

#include "Simulador/aplicacion/TAplicacion.h"
#include "Simulador/aplicacion/TServicioDialogos.h"
#include "Simulador/codigo/TModeloCodigo.h"
#include "Simulador/codigo/TRejillaCodigo.h"
#include "Simulador/comunes/TAreaTrabajo.h"
#include "Simulador/comunes/TSpinNumero.h"
#include "Simulador/control/TEdicionMaquina.h"
#include "Simulador/dialogos/TdlgCantidad.h"
#include "Simulador/vliw/TDelegadoInstVLIW.h"
#include "Simulador/vliw/TModeloInstVLIW.h"
#include "Simulador/vliw/TdlgSaltoVLIW.h"
#include "loader/TCodigo.h"
#include "vliw/TMaquinaVLIW.h"

namespace {

const char* const FICHERO = "Simulador/vliw/TfrmInstVLIW.cpp";
const QColor OLIVA(128, 128, 0);

QPushButton* nuevoBoton(QWidget* padre, const char* nombre, const QString& texto) {
  auto* b = new QPushButton(texto, padre);
  b->setObjectName(QString::fromLatin1(nombre));
  b->setAutoDefault(false);
  return b;
}

}  // namespace

TfrmInstVLIW::TfrmInstVLIW(const TCodigo& c, TMaquinaVLIW& m, TEdicionMaquina& e, TServicioDialogos& d,
                           TdlgSaltoVLIW& s, QWidget* padre)
    : QMdiSubWindow(padre), codigo(c), maquina(m), ediciones(e), dialogos(d), dlgSalto(s) {
  setObjectName(QStringLiteral("frmInstVLIW"));
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(QStringLiteral("Instrucciones VLIW"));
  setProperty("temaAyuda", TEMA_AYUDA);

  contenido = new QWidget;
  modelo = new TModeloInstVLIW(this);

  grdInstrucciones = new QTableView(contenido);
  grdInstrucciones->setObjectName(QStringLiteral("grdInstrucciones"));
  grdInstrucciones->setModel(modelo);
  grdInstrucciones->setItemDelegate(new TDelegadoInstVLIW(*this, grdInstrucciones));
  grdInstrucciones->setSelectionBehavior(QAbstractItemView::SelectItems);
  grdInstrucciones->setSelectionMode(QAbstractItemView::SingleSelection);
  grdInstrucciones->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grdInstrucciones->setShowGrid(true);
  grdInstrucciones->setWordWrap(false);
  grdInstrucciones->setCornerButtonEnabled(false);
  grdInstrucciones->setAcceptDrops(true);
  grdInstrucciones->viewport()->setAcceptDrops(true);
  grdInstrucciones->setDropIndicatorShown(false);
  grdInstrucciones->setMouseTracking(true);
  grdInstrucciones->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);

  QHeaderView* filas = grdInstrucciones->verticalHeader();
  filas->setSectionResizeMode(QHeaderView::Fixed);
  // El mínimo antes: Qt no deja un tamaño por defecto por debajo del mínimo.
  filas->setMinimumSectionSize(ALTO_FILA);
  filas->setDefaultSectionSize(ALTO_FILA);
  filas->setDefaultAlignment(Qt::AlignCenter);
  // Las filas se reordenan arrastrando su número; el modelo hace el movimiento.
  filas->setSectionsMovable(true);
  filas->setHighlightSections(false);
  QHeaderView* columnas = grdInstrucciones->horizontalHeader();
  columnas->setSectionResizeMode(QHeaderView::Interactive);
  columnas->setDefaultSectionSize(anchoColumna());
  columnas->setMinimumSectionSize(16);
  columnas->setHighlightSections(false);
  // "+Flotante 0" en dos líneas: columnas estrechas y todas las cabeceras enteras.
  columnas->setDefaultAlignment(Qt::AlignCenter | Qt::Alignment(Qt::TextWordWrap));
  columnas->setMinimumHeight(2 * QFontMetrics(columnas->font()).lineSpacing() + 8);
  for (QWidget* w : {grdInstrucciones->viewport(), filas->viewport(), columnas->viewport()}) {
    w->setMouseTracking(true);
    w->installEventFilter(this);
  }
  grdInstrucciones->installEventFilter(this);

  connect(filas, &QHeaderView::sectionDoubleClicked, this, &TfrmInstVLIW::dobleClicFila);
  connect(filas, &QHeaderView::sectionMoved, this, [this](int, int desde, int hasta) {
    // La cabecera solo ha movido el dibujo: se deshace y se mueve la fila en
    // el modelo, fuera de la señal de la cabecera.
    QMetaObject::invokeMethod(
        this,
        [this, desde, hasta] {
          QHeaderView* cabecera = grdInstrucciones->verticalHeader();
          {
            const QSignalBlocker bloqueo(cabecera);
            cabecera->moveSection(hasta, desde);
          }
          filaMovida(desde, hasta);
        },
        Qt::QueuedConnection);
  });
  connect(grdInstrucciones->selectionModel(), &QItemSelectionModel::currentChanged, this,
          &TfrmInstVLIW::actualizarBotones);

  panBotones = new QWidget(contenido);
  butAnadir = nuevoBoton(panBotones, "butAnadir", QStringLiteral("Añadir"));
  butEliminar = nuevoBoton(panBotones, "butEliminar", QStringLiteral("Eliminar"));
  butLimpiar = nuevoBoton(panBotones, "butLimpiar", QStringLiteral("Limpiar"));
  butAceptar = nuevoBoton(panBotones, "butAceptar", QStringLiteral("Aceptar"));
  butCancelar = nuevoBoton(panBotones, "butCancelar", QStringLiteral("Cancelar"));
  butGuardar = nuevoBoton(panBotones, "butGuardar", QStringLiteral("Guardar"));
  auto* botones = new QGridLayout(panBotones);
  botones->setContentsMargins(4, 4, 4, 4);
  botones->addWidget(butAnadir, 0, 0);
  botones->addWidget(butEliminar, 0, 1);
  botones->addWidget(butLimpiar, 0, 2);
  botones->addWidget(butAceptar, 1, 0);
  botones->addWidget(butCancelar, 1, 1);
  botones->addWidget(butGuardar, 1, 2);
  labResumen = new QLabel(panBotones);
  labResumen->setObjectName(QStringLiteral("labResumen"));
  labResumen->setToolTip(QStringLiteral("Instrucciones largas de la rejilla y casillas (operaciones) ocupadas"));
  botones->addWidget(labResumen, 2, 0, 1, 3);
  // Cualquier cambio de la rejilla, también sin aceptar.
  const auto resumir = [this] { labResumen->setText(resumen()); };
  connect(modelo, &QAbstractItemModel::modelReset, this, resumir);
  connect(modelo, &QAbstractItemModel::layoutChanged, this, resumir);
  connect(modelo, &QAbstractItemModel::dataChanged, this, resumir);
  connect(modelo, &QAbstractItemModel::rowsInserted, this, resumir);
  connect(modelo, &QAbstractItemModel::rowsRemoved, this, resumir);
  connect(butAnadir, &QPushButton::clicked, this, &TfrmInstVLIW::butAnadirClick);
  connect(butEliminar, &QPushButton::clicked, this, &TfrmInstVLIW::butEliminarClick);
  connect(butLimpiar, &QPushButton::clicked, this, &TfrmInstVLIW::butLimpiarClick);
  connect(butAceptar, &QPushButton::clicked, this, &TfrmInstVLIW::butAceptarClick);
  connect(butCancelar, &QPushButton::clicked, this, &TfrmInstVLIW::butCancelarClick);
  connect(butGuardar, &QPushButton::clicked, this, &TfrmInstVLIW::butGuardarClick);

  auto* capa = new QVBoxLayout(contenido);
  capa->setContentsMargins(0, 0, 0, 0);
  capa->setSpacing(0);
  capa->addWidget(grdInstrucciones, 1);
  capa->addWidget(panBotones);
  setWidget(contenido);

  dlgAnadir = new TdlgCantidad(this);

  crearColumnas();
  cargarRejilla();
}

TfrmInstVLIW::~TfrmInstVLIW() = default;

int TfrmInstVLIW::anchoColumna() const {
  // 50 píxeles, o lo que pida la fuente para el nombre de tipo más largo: el
  // número de la unidad va en una segunda línea de la cabecera.
  const QFontMetrics fm(grdInstrucciones->horizontalHeader()->font());
  return std::max({ANCHO_COLUMNA, fm.horizontalAdvance(QStringLiteral("+Flotante")) + 10,
                   fm.horizontalAdvance(QStringLiteral("xFlotante")) + 10});
}

// ---------------------------------------------------------------- operaciones de la ventana

void TfrmInstVLIW::crearColumnas() {
  modelo->crearColumnas(maquina.numUF);
  grdInstrucciones->horizontalHeader()->setDefaultSectionSize(anchoColumna());
}

void TfrmInstVLIW::cargarRejilla() {
  resaltado = TResaltado{};
  if (maquina.codigo.numInstrucciones > 0) {
    modelo->cargar(maquina.codigo);
    coincide = true;
  } else {
    modelo->vaciar(FILAS_PROGRAMA_NUEVO);
    coincide = false;
  }
  modificado = false;
  filaActual = -1;
  actualizarBotones();
  ajustarTamano();
}

void TfrmInstVLIW::liberarRejilla() {
  resaltado = TResaltado{};
  modelo->vaciar(0);
}

void TfrmInstVLIW::refrescar() {
  liberarRejilla();
  crearColumnas();
  cargarRejilla();
}

void TfrmInstVLIW::aplicarCambios() {
  // Reconstruir el programa en plena ejecución dejaría las unidades sin sus operaciones.
  if (maquina.enEjecucion) return;
  modelo->recortar();
  if (resaltado.activo && resaltado.fila >= modelo->numFilas()) resaltado = TResaltado{};
  maquina.borrarCodigo();
  QString aviso;
  bool comprobado = false;
  if (modelo->hayOperaciones()) {
    modelo->construirPrograma(maquina.codigo);
    if (chequearCodigo()) {
      int32_t larga = 0, operacion = 0;
      const int32_t r = maquina.comprobarCodigo(larga, operacion);
      aviso = QString::fromStdString(TMaquinaVLIW::mensajeChequeo(r, larga, operacion));
      comprobado = true;
    }
  }
  modificado = false;
  coincide = true;
  actualizarBotones();
  ajustarTamano();
  emit programaCambiado();
  // El aviso no deshace nada: el programa queda como se aceptó.
  if (!aviso.isEmpty()) {
    dialogos.mensaje(this, aviso);
  } else if (comprobado) {
    // Sin problemas, sin cuadro: la barra de estado de la ventana principal.
    QStatusTipEvent correcto(QString::fromUtf8(TEXTO_VLIW_CORRECTO));
    QCoreApplication::sendEvent(this, &correcto);
  }
}

void TfrmInstVLIW::bloquearEdicion(bool enEjecucion) {
  bloqueada = enEjecucion;
  grdInstrucciones->verticalHeader()->setSectionsMovable(!enEjecucion);
  actualizarBotones();
}

void TfrmInstVLIW::mostrarInstruccionActual() {
  QItemSelectionModel* seleccion = grdInstrucciones->selectionModel();
  const int64_t pc = maquina.pc;
  if (pc <= 0 || pc > modelo->numFilas() || modelo->numColumnas() == 0) {
    seleccion->clearSelection();
    filaActual = -1;
    return;
  }
  const int fila = static_cast<int>(pc - 1);
  seleccion->select(QItemSelection(modelo->index(fila, 0), modelo->index(fila, modelo->numColumnas() - 1)),
                    QItemSelectionModel::ClearAndSelect);
  grdInstrucciones->scrollTo(modelo->index(fila, 0));
  filaActual = static_cast<int>(pc);
}

int TfrmInstVLIW::columnaDe(int32_t numUnidad, int tipoUF) const { return modelo->columnaDe(numUnidad, tipoUF); }

int TfrmInstVLIW::unidadDeColumna(int columna) const { return modelo->unidadDeColumna(columna); }

void TfrmInstVLIW::ajustarTamano() {
  const QHeaderView* filas = grdInstrucciones->verticalHeader();
  const QHeaderView* columnas = grdInstrucciones->horizontalHeader();
  const int marcoRejilla = 2 * grdInstrucciones->frameWidth();
  const int altoCabecera = std::max(columnas->minimumHeight(), columnas->sizeHint().height());
  const int altoFila = filas->defaultSectionSize();
  const int altoPanel = panBotones->sizeHint().height();
  const QMargins m = contentsMargins();
  const int marcoAncho = m.left() + m.right();
  const int marcoAlto = m.top() + m.bottom();
  const int barra = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, grdInstrucciones);

  // Lo que cabe en el área de trabajo; sin ella (aún sin añadir), lo que haga falta.
  QSize disponible(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
  if (const QMdiArea* area = mdiArea()) disponible = area->viewport()->size();

  int ancho = marcoRejilla + filas->sizeHint().width() + columnas->length() + 1;
  int alto = marcoAlto + altoPanel + marcoRejilla + altoCabecera + modelo->numFilas() * altoFila + 1;
  // Sin sitio para todas las columnas hace falta la barra horizontal…
  if (ancho + marcoAncho > disponible.width()) alto += barra;
  // …y sin sitio para todas las filas, la vertical.
  if (alto > disponible.height()) {
    alto = std::max(disponible.height(), marcoAlto + altoPanel + altoCabecera + 3 * altoFila);
    ancho += barra;
  }
  ancho = std::max(ancho, panBotones->minimumSizeHint().width());
  const int anchoVentana = std::max(std::min(ancho + marcoAncho, disponible.width()), minimumSizeHint().width());

  setMinimumHeight(marcoAlto + altoPanel + altoCabecera + 3 * altoFila);
  setMaximumWidth(ancho + marcoAncho);
  resize(anchoVentana, alto);
  // El área la colocó con el tamaño de antes: crecer no debe dejarla medio fuera.
  TAreaTrabajo::ponerAlAlcance(*this);
}

// ---------------------------------------------------------------- estado

void TfrmInstVLIW::marcarModificado() {
  modificado = true;
  coincide = false;
  actualizarBotones();
}

int TfrmInstVLIW::filaActualRejilla() const {
  const QModelIndex actual = grdInstrucciones->currentIndex();
  return actual.isValid() && actual.row() < modelo->numFilas() ? actual.row() : -1;
}

QString TfrmInstVLIW::resumen() const {
  const int filas = modelo->numFilas(), columnas = modelo->numColumnas();
  int ocupadas = 0;
  for (int f = 0; f < filas; ++f)
    for (int c = 0; c < columnas; ++c) ocupadas += modelo->operacion(f, c) != nullptr;
  const int casillas = filas * columnas;
  return QStringLiteral("%1 instrucciones largas\n%2 de %3 casillas ocupadas (%4 %)")
      .arg(filas)
      .arg(ocupadas)
      .arg(casillas)
      .arg(casillas > 0 ? 100 * ocupadas / casillas : 0);
}

void TfrmInstVLIW::actualizarBotones() {
  butGuardar->setEnabled(coincide);
  butCancelar->setEnabled(!coincide);
  for (QPushButton* b : {butAnadir, butLimpiar, butAceptar}) b->setEnabled(!bloqueada);
  butEliminar->setEnabled(!bloqueada && filaActualRejilla() >= 0);
}

void TfrmInstVLIW::setBloquesBasicos(bool activos) {
  colorearBloques = activos;
  grdInstrucciones->viewport()->update();
}

// ---------------------------------------------------------------- arrastrar y soltar

int TfrmInstVLIW::instruccionDeArrastre(const QMimeData* datos, const QObject* origen) const {
  const QString tipo = QString::fromLatin1(MIME_INSTRUCCION);
  if (bloqueada || datos == nullptr || !datos->hasFormat(tipo)) return -1;
  // Solo desde la rejilla de este mismo programa: el número no significa nada en otro.
  const auto* rejilla = qobject_cast<const TRejillaCodigo*>(origen);
  if (rejilla == nullptr || rejilla->modelo()->programa() != &codigo) return -1;
  bool ok = false;
  const int instruccion = datos->data(tipo).toInt(&ok);
  return ok && codigo.indiceValido(instruccion) ? instruccion : -1;
}

int TfrmInstVLIW::instruccionArrastrable(const QMimeData* datos, const QObject* origen, int fila, int columna) const {
  const int instruccion = instruccionDeArrastre(datos, origen);
  if (instruccion < 0 || fila < 0 || fila >= modelo->numFilas()) return -1;
  const int tipo = modelo->tipoDeColumna(columna);
  return tipo >= 0 && tipo == codigo.tipoUF(instruccion) ? instruccion : -1;
}

void TfrmInstVLIW::soltarInstruccion(int instruccion, int fila, int columna) {
  // Se vuelve a comprobar todo: la rejilla pudo cambiar entre el arrastre y aquí.
  if (bloqueada || !codigo.indiceValido(instruccion) || fila < 0 || fila >= modelo->numFilas()) return;
  const int tipo = modelo->tipoDeColumna(columna);
  if (tipo < 0 || tipo != codigo.tipoUF(instruccion)) return;

  auto op = std::make_unique<TOperacionVLIW>(codigo.instrucciones[static_cast<size_t>(instruccion)]);
  op->tipoUF = static_cast<int8_t>(tipo);
  op->numUnidad = modelo->unidadDeColumna(columna);
  op->predicado = op->predVerdadero = op->predFalso = 0;
  if (tipo == tufSalto) {
    dlgSalto.prepararNuevo(modelo->numFilas() - 1);
    // Cancelar deja la celda como estaba, con lo que tuviera.
    if (dialogos.ejecutarModal(dlgSalto) != RESULTADO_ACEPTAR) return;
    op->op[2] = dlgSalto.spiDestino->value();
    op->predVerdadero = dlgSalto.spiPredTrue->value();
    op->predFalso = dlgSalto.spiPredFalse->value();
    op->predicado = dlgSalto.spiPred->value();
  }
  modelo->ponerOperacion(fila, columna, std::move(op));
  marcarModificado();
}

// ---------------------------------------------------------------- teclado y ratón

void TfrmInstVLIW::borrarCelda(int fila, int columna) {
  if (bloqueada || !modelo->quitarOperacion(fila, columna)) return;
  if (resaltado.activo && resaltado.fila == fila && resaltado.columna == columna) {
    resaltado = TResaltado{};
    grdInstrucciones->viewport()->update();
  }
  marcarModificado();
}

void TfrmInstVLIW::dobleClicCelda(int fila, int columna) {
  if (bloqueada) return;
  TOperacionVLIW* op = modelo->operacion(fila, columna);
  if (op == nullptr) return;
  if (op->tipoUF == tufSalto) {
    dlgSalto.preparar(op->op[2], modelo->numFilas() - 1, op->predVerdadero, op->predFalso, op->predicado);
    if (dialogos.ejecutarModal(dlgSalto) != RESULTADO_ACEPTAR) return;
    const int32_t destino = dlgSalto.spiDestino->value(), verdadero = dlgSalto.spiPredTrue->value(),
                  falso = dlgSalto.spiPredFalse->value(), predicado = dlgSalto.spiPred->value();
    if (destino == op->op[2] && verdadero == op->predVerdadero && falso == op->predFalso && predicado == op->predicado)
      return;
    op->op[2] = destino;
    op->predVerdadero = verdadero;
    op->predFalso = falso;
    op->predicado = predicado;
  } else {
    int valor = 0;
    if (dialogos.pedirCantidad(this, QStringLiteral("Registro de predicado"), QStringLiteral("Número:"), op->predicado,
                               0, 63, valor) != RESULTADO_ACEPTAR ||
        valor == op->predicado)
      return;
    op->predicado = valor;
  }
  modelo->celdaCambiada(fila, columna);
  marcarModificado();
}

void TfrmInstVLIW::dobleClicFila(int fila) {
  if (bloqueada || fila < 0 || fila >= modelo->numFilas()) return;
  const bool marca = !modelo->marca(fila);
  modelo->ponerMarca(fila, marca);
  // Sin ediciones pendientes la rejilla es el programa: el breakpoint cambia ya
  // (el de la fila pulsada). Con ediciones, solo la marca, que «Aceptar» copia.
  if (coincide) ediciones.cambiarBreakpoint(fila, marca);
}

void TfrmInstVLIW::ctrlClicCelda(int fila, int columna) {
  const TOperacionVLIW* op = modelo->operacion(fila, columna);
  const bool mismaCelda = resaltado.activo && resaltado.fila == fila && resaltado.columna == columna;
  if (op == nullptr || mismaCelda || op->tipoUF < 0 || op->tipoUF >= NUM_TIPOS_UF)
    resaltado = TResaltado{};
  else
    resaltado = TResaltado{true, columna, fila, maquina.latUF[static_cast<size_t>(op->tipoUF)]};
  grdInstrucciones->viewport()->update();
}

void TfrmInstVLIW::filaMovida(int desde, int hasta) {
  if (bloqueada || !modelo->moverFila(desde, hasta)) return;
  // El resaltado sigue a la operación que lo empezó.
  if (resaltado.activo) {
    int& f = resaltado.fila;
    if (f == desde) f = hasta;
    else if (desde < f && f <= hasta) --f;
    else if (hasta <= f && f < desde) ++f;
  }
  marcarModificado();
}

// ---------------------------------------------------------------- botones

void TfrmInstVLIW::butAnadirClick() {
  if (bloqueada) return;
  if (dialogos.ejecutarModal(*dlgAnadir) != RESULTADO_ACEPTAR) return;
  modelo->anadirFilas(dlgAnadir->spiCantidad->value());
  marcarModificado();
  ajustarTamano();
}

void TfrmInstVLIW::butEliminarClick() {
  const int fila = filaActualRejilla();
  if (bloqueada || fila < 0) return;
  if (!dialogos.confirmar(this, QStringLiteral("Se eliminará la Instrucción seleccionada. ¿Está seguro?"))) return;
  if (resaltado.activo) {
    if (resaltado.fila == fila) resaltado = TResaltado{};
    else if (resaltado.fila > fila && modelo->numFilas() > 1) --resaltado.fila;
  }
  modelo->eliminarFila(fila);
  marcarModificado();
  ajustarTamano();
}

void TfrmInstVLIW::butLimpiarClick() {
  if (bloqueada) return;
  resaltado = TResaltado{};
  modelo->limpiar();
  marcarModificado();
}

void TfrmInstVLIW::butAceptarClick() {
  if (!coincide) aplicarCambios();
}

void TfrmInstVLIW::butCancelarClick() { refrescar(); }

void TfrmInstVLIW::butGuardarClick() {
  if (!coincide || !guardarPrograma) return;
  if (guardarPrograma()) emit programaGuardado();
}

// ---------------------------------------------------------------- pistas

QString TfrmInstVLIW::pistaCelda(int fila, int columna) const {
  if (fila >= 0 && fila < modelo->numFilas() && columna == -1)
    return QStringLiteral("Instrucción Larga ") + QString::number(fila);
  if (fila == -1) return modelo->titulo(columna);
  const TOperacionVLIW* op = modelo->operacion(fila, columna);
  if (op == nullptr) return {};
  QString pista = QString::fromStdString(op->texto());
  if (op->tipoUF == tufSalto)
    pista += QStringLiteral(" \nDestino del salto: %1 \nPred. Verdadero: %2 \nPred. Falso: %3")
                 .arg(op->op[2])
                 .arg(op->predVerdadero)
                 .arg(op->predFalso);
  if (op->predicado != 0) pista += QStringLiteral(" \nPredicado: %1").arg(op->predicado);
  return pista;
}

void TfrmInstVLIW::grdInstruccionesMouseMove(const QWidget* origen, const QPoint& posicion) {
  try {
    int fila = -2, columna = -2;  // fuera de las celdas
    if (origen == grdInstrucciones->viewport()) {
      const QModelIndex i = grdInstrucciones->indexAt(posicion);
      if (i.isValid()) fila = i.row(), columna = i.column();
    } else if (origen == grdInstrucciones->verticalHeader()->viewport()) {
      const int f = grdInstrucciones->verticalHeader()->logicalIndexAt(posicion);
      if (f >= 0) fila = f, columna = -1;
    } else if (origen == grdInstrucciones->horizontalHeader()->viewport()) {
      const int c = grdInstrucciones->horizontalHeader()->logicalIndexAt(posicion);
      if (c >= 0) fila = -1, columna = c;
    }
    ponerPista(fila == -2 ? QString() : pistaCelda(fila, columna));
  } catch (...) {
    dialogos.mensaje(this,
                     QStringLiteral("Excepción no controlada en fichero \"%1\", función \"%2")
                         .arg(QString::fromLatin1(FICHERO), QStringLiteral("TfrmInstVLIW::grdInstruccionesMouseMove")),
                     TAplicacion::textoFallo(std::current_exception()));
  }
}

void TfrmInstVLIW::ponerPista(const QString& pista) {
  if (pista == grdInstrucciones->toolTip() && pista == grdInstrucciones->statusTip()) return;
  grdInstrucciones->setToolTip(pista);
  grdInstrucciones->setStatusTip(pista);
  // La barra de estado sigue la pista aunque el puntero no salga de la rejilla.
  if (grdInstrucciones->underMouse()) {
    QStatusTipEvent aviso(pista);
    QCoreApplication::sendEvent(grdInstrucciones, &aviso);
  }
  if (QToolTip::isVisible()) QToolTip::hideText();
}

// ---------------------------------------------------------------- dibujo

QColor TfrmInstVLIW::fondoCelda(int fila, int columna) const {
  if (resaltado.activo && fila >= resaltado.fila && fila < resaltado.fila + resaltado.filas) return OLIVA;
  const QModelIndex indice = modelo->index(fila, columna);
  const bool seleccionada = grdInstrucciones->selectionModel()->isSelected(indice);
  const TOperacionVLIW* op = modelo->operacion(fila, columna);
  if (op != nullptr && !seleccionada && colorearBloques)
    return QColor::fromRgb(static_cast<QRgb>(colorDeBloque(op->bloque)));
  // La selección se ve también con la edición bloqueada: marca la instrucción emitida.
  if (seleccionada) return palette().color(QPalette::Active, QPalette::Highlight);
  return palette().color(QPalette::Base);
}

QColor TfrmInstVLIW::textoCelda(int fila, int columna) const {
  const QColor fondo = fondoCelda(fila, columna);
  if (fondo == OLIVA) return Qt::black;
  if (fondo == palette().color(QPalette::Active, QPalette::Highlight))
    return palette().color(QPalette::Active, QPalette::HighlightedText);
  if (fondo == palette().color(QPalette::Base)) return palette().color(QPalette::Text);
  return Qt::black;  // colores de bloque: claros
}

// ---------------------------------------------------------------- eventos

bool TfrmInstVLIW::eventFilter(QObject* objeto, QEvent* evento) {
  QWidget* celdas = grdInstrucciones->viewport();
  const bool enCabecera = objeto == grdInstrucciones->verticalHeader()->viewport() ||
                          objeto == grdInstrucciones->horizontalHeader()->viewport();
  if (objeto == celdas || enCabecera) {
    switch (evento->type()) {
      case QEvent::MouseMove:
        grdInstruccionesMouseMove(static_cast<QWidget*>(objeto),
                                  static_cast<QMouseEvent*>(evento)->position().toPoint());
        break;
      case QEvent::Leave:
        ponerPista(QString());
        break;
      case QEvent::ToolTip: {
        // La pista es la de la celda bajo el puntero, no una por elemento del modelo.
        const auto* ayuda = static_cast<QHelpEvent*>(evento);
        if (grdInstrucciones->toolTip().isEmpty()) QToolTip::hideText();
        else QToolTip::showText(ayuda->globalPos(), grdInstrucciones->toolTip(), grdInstrucciones);
        return true;
      }
      default:
        break;
    }
  }
  if (objeto == celdas) {
    switch (evento->type()) {
      case QEvent::MouseButtonPress: {
        const auto* raton = static_cast<QMouseEvent*>(evento);
        if (raton->button() != Qt::LeftButton) break;
        const QModelIndex i = grdInstrucciones->indexAt(raton->position().toPoint());
        if (raton->modifiers() & Qt::ControlModifier) {
          if (i.isValid()) ctrlClicCelda(i.row(), i.column());
          return true;
        }
        if (i.isValid())
          if (QMdiArea* area = mdiArea()) area->setActiveSubWindow(this);
        break;
      }
      case QEvent::MouseButtonDblClick: {
        const auto* raton = static_cast<QMouseEvent*>(evento);
        const QModelIndex i = grdInstrucciones->indexAt(raton->position().toPoint());
        if (i.isValid() && raton->button() == Qt::LeftButton) dobleClicCelda(i.row(), i.column());
        return true;
      }
      case QEvent::DragEnter: {
        auto* e = static_cast<QDragEnterEvent*>(evento);
        // Se acepta la entrada de cualquier arrastre nuestro; cada celda decide al moverse.
        if (instruccionDeArrastre(e->mimeData(), e->source()) >= 0) {
          e->setDropAction(Qt::CopyAction);
          e->accept();
        } else {
          e->ignore();
        }
        return true;
      }
      case QEvent::DragMove: {
        auto* e = static_cast<QDragMoveEvent*>(evento);
        const QModelIndex i = grdInstrucciones->indexAt(e->position().toPoint());
        if (instruccionArrastrable(e->mimeData(), e->source(), i.row(), i.column()) >= 0) {
          e->setDropAction(Qt::CopyAction);
          e->accept();
        } else {
          e->ignore();
        }
        return true;
      }
      case QEvent::DragLeave:
        return true;
      case QEvent::Drop: {
        auto* e = static_cast<QDropEvent*>(evento);
        const QModelIndex i = grdInstrucciones->indexAt(e->position().toPoint());
        const int instruccion = instruccionArrastrable(e->mimeData(), e->source(), i.row(), i.column());
        if (instruccion < 0) {
          e->ignore();
          return true;
        }
        e->setDropAction(Qt::CopyAction);
        e->accept();
        // Fuera del arrastre: un salto abre un diálogo modal, que no debe
        // abrirse mientras el origen sigue dentro de su propio bucle de arrastre.
        const int fila = i.row(), columna = i.column();
        QMetaObject::invokeMethod(
            this, [this, instruccion, fila, columna] { soltarInstruccion(instruccion, fila, columna); },
            Qt::QueuedConnection);
        return true;
      }
      default:
        break;
    }
  }
  if (objeto == grdInstrucciones && evento->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(evento)->key() == Qt::Key_Delete) {
    const QModelIndex i = grdInstrucciones->currentIndex();
    if (i.isValid()) borrarCelda(i.row(), i.column());
    return true;
  }
  return QMdiSubWindow::eventFilter(objeto, evento);
}

void TfrmInstVLIW::closeEvent(QCloseEvent* evento) {
  if (maquina.enEjecucion) {
    evento->ignore();
    showMinimized();
    return;
  }
  // Las ediciones sin aceptar no se pierden sin preguntar.
  if (modificado && dialogos.preguntarGuardarCambio(this) == RESULTADO_ACEPTAR) aplicarCambios();
  QMdiSubWindow::closeEvent(evento);
}
