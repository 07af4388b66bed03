#include "Simulador/editor/TfrmEditorCodigo.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QStatusBar>
#include <QStringDecoder>
#include <QTextBlock>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>
#include <algorithm>
#include <iterator>
#include <vector>

#include "Simulador/aplicacion/TServicioDialogos.h"
#include "Simulador/editor/TBarraBuscar.h"
#include "Simulador/editor/TEditorFuente.h"
#include "Simulador/editor/TResaltadorFuente.h"
#include "Simulador/editor/TdlgGuardarPrograma.h"
#include "loader/TCodigo.h"

namespace {

const QString TITULO = QStringLiteral("Editor de Código");
const QString SIN_TITULO = QStringLiteral("Sin título");
const QColor ROJO(190, 0, 0);

bool cabeEnLatin1(const QString& texto) {
  for (QChar c : texto)
    if (c.unicode() > 0xFF) return false;
  return true;
}

bool mismaInstruccion(const TInstruccion& a, const TInstruccion& b) {
  return a.codOp == b.codOp && a.bloque == b.bloque && a.etiqueta == b.etiqueta && a.textoCodOp == b.textoCodOp &&
         std::equal(std::begin(a.op), std::end(a.op), std::begin(b.op)) &&
         std::equal(std::begin(a.textoOp), std::end(a.textoOp), std::begin(b.textoOp));
}

QString plural(qsizetype n, const QString& uno, const QString& varios) {
  return QStringLiteral("%1 %2").arg(n).arg(n == 1 ? uno : varios);
}

}  // namespace

TfrmEditorCodigo::TfrmEditorCodigo(TServicioDialogos& d, QWidget* padre) : QMdiSubWindow(padre), dialogos(d) {
  setObjectName(QStringLiteral("frmEditorCodigo"));
  setAttribute(Qt::WA_DeleteOnClose);
  setProperty("temaAyuda", TEMA_AYUDA);

  auto* contenido = new QWidget;
  txtFuente = new TEditorFuente(contenido);
  resaltador = new TResaltadorFuente(txtFuente->document());
  panBuscar = new TBarraBuscar(*txtFuente, contenido);

  actGuardar = nuevaAccion("actGuardar", QStringLiteral("&Guardar"), QStringLiteral("Guarda el programa en su fichero"),
                           {QKeySequence(Qt::CTRL | Qt::Key_S), QKeySequence(Qt::CTRL | Qt::Key_G)});
  actGuardarComo = nuevaAccion("actGuardarComo", QStringLiteral("Guardar como…"),
                               QStringLiteral("Guarda el programa en un fichero nuevo"),
                               {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)});
  // Deshacer y rehacer son del propio texto, con sus teclas de siempre; Ctrl+Y
  // se añade porque en X11 rehacer es solo Ctrl+Mayúsculas+Z.
  actDeshacer = nuevaAccion("actDeshacer", QStringLiteral("&Deshacer"), QStringLiteral("Deshace el último cambio"), {});
  actDeshacer->setToolTip(QStringLiteral("Deshacer (Ctrl+Z)"));
  actRehacer = nuevaAccion("actRehacer", QStringLiteral("&Rehacer"), QStringLiteral("Rehace lo deshecho"),
                           {QKeySequence(Qt::CTRL | Qt::Key_Y)});
  actBuscar = nuevaAccion("actBuscar", QStringLiteral("&Buscar..."), QStringLiteral("Busca un texto en el programa"),
                          {QKeySequence(Qt::CTRL | Qt::Key_F), QKeySequence(Qt::CTRL | Qt::Key_B)});
  actReemplazar = nuevaAccion("actReemplazar", QStringLiteral("R&eemplazar..."),
                              QStringLiteral("Busca un texto y lo reemplaza por otro"),
                              {QKeySequence(Qt::CTRL | Qt::Key_H), QKeySequence(Qt::CTRL | Qt::Key_L)});
  actDeshacer->setEnabled(false);
  actRehacer->setEnabled(false);

  tobEditor = new QToolBar(contenido);
  tobEditor->setObjectName(QStringLiteral("tobEditor"));
  tobEditor->setToolButtonStyle(Qt::ToolButtonTextOnly);
  tobEditor->addAction(actGuardar);
  tobEditor->addAction(actGuardarComo);
  tobEditor->addSeparator();
  tobEditor->addAction(actDeshacer);
  tobEditor->addAction(actRehacer);
  tobEditor->addSeparator();
  tobEditor->addAction(actBuscar);
  tobEditor->addAction(actReemplazar);

  staEditor = new QStatusBar(contenido);
  staEditor->setObjectName(QStringLiteral("staEditor"));
  staEditor->setSizeGripEnabled(false);
  labAnalisis = new QLabel(staEditor);
  labAnalisis->setObjectName(QStringLiteral("labAnalisis"));
  labPosicion = new QLabel(staEditor);
  labPosicion->setObjectName(QStringLiteral("labPosicion"));
  labFichero = new QLabel(staEditor);
  labFichero->setObjectName(QStringLiteral("labFichero"));
  // Un detalle largo se corta en vez de ensanchar la ventana; entero, en su pista.
  labAnalisis->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  labAnalisis->setMinimumWidth(40);
  staEditor->addWidget(labAnalisis, 1);
  staEditor->addPermanentWidget(labPosicion);
  staEditor->addPermanentWidget(labFichero);

  auto* capa = new QVBoxLayout(contenido);
  capa->setContentsMargins(0, 0, 0, 0);
  capa->setSpacing(0);
  capa->addWidget(tobEditor);
  capa->addWidget(txtFuente, 1);
  capa->addWidget(panBuscar);
  capa->addWidget(staEditor);
  setWidget(contenido);

  timAnalisis = new QTimer(this);
  timAnalisis->setObjectName(QStringLiteral("timAnalisis"));
  timAnalisis->setSingleShot(true);
  timAnalisis->setInterval(PAUSA_ANALISIS);
  connect(timAnalisis, &QTimer::timeout, this, &TfrmEditorCodigo::timAnalisisTimer);

  connect(actGuardar, &QAction::triggered, this, &TfrmEditorCodigo::guardar);
  connect(actGuardarComo, &QAction::triggered, this, &TfrmEditorCodigo::guardarComo);
  connect(actDeshacer, &QAction::triggered, txtFuente, &QPlainTextEdit::undo);
  connect(actRehacer, &QAction::triggered, txtFuente, &QPlainTextEdit::redo);
  connect(actBuscar, &QAction::triggered, this, [this] { panBuscar->mostrar(false); });
  connect(actReemplazar, &QAction::triggered, this, [this] { panBuscar->mostrar(true); });
  connect(txtFuente, &QPlainTextEdit::undoAvailable, actDeshacer, &QAction::setEnabled);
  connect(txtFuente, &QPlainTextEdit::redoAvailable, actRehacer, &QAction::setEnabled);
  connect(txtFuente, &QPlainTextEdit::textChanged, this, &TfrmEditorCodigo::textoCambiado);
  connect(txtFuente, &QPlainTextEdit::cursorPositionChanged, this, &TfrmEditorCodigo::actualizarPosicion);
  connect(txtFuente->document(), &QTextDocument::modificationChanged, this, [this](bool cambios) {
    actualizarTitulo();
    emit modificacionCambiada(cambios);
  });
  for (QObject* o : {static_cast<QObject*>(txtFuente), static_cast<QObject*>(panBuscar->txtBuscar),
                     static_cast<QObject*>(panBuscar->txtReemplazar)})
    o->installEventFilter(this);

  ponerTexto(QString(), QString(), false, false);
  resize(600, 440);
}

QAction* TfrmEditorCodigo::nuevaAccion(const char* nombre, const QString& texto, const QString& pista,
                                       const QList<QKeySequence>& secuencias) {
  auto* accion = new QAction(texto, this);
  accion->setObjectName(QString::fromLatin1(nombre));
  accion->setStatusTip(pista);
  QString teclado;
  for (const QKeySequence& s : secuencias) {
    teclas.append({s, accion});
    if (teclado.isEmpty()) teclado = s.toString(QKeySequence::NativeText);
  }
  QString sinAcceso = texto;
  sinAcceso.remove(QLatin1Char('&'));
  accion->setToolTip(teclado.isEmpty() ? sinAcceso : QStringLiteral("%1 (%2)").arg(sinAcceso, teclado));
  return accion;
}

// ---------------------------------------------------------------- ficheros

void TfrmEditorCodigo::ponerTexto(const QString& texto, const QString& ruta, bool latin1, bool crlf) {
  // Las marcas del texto anterior no valen para el nuevo.
  txtFuente->quitarError();
  txtFuente->desvincularPrograma();
  txtFuente->setPlainText(texto);  // también vacía deshacer: abrir no se deshace
  rutaFichero = ruta;
  enLatin1 = latin1;
  finCRLF = crlf;
  txtFuente->document()->setModified(false);
  actualizarTitulo();
  actualizarPosicion();
  // Un programa recién abierto se analiza sin esperar.
  timAnalisisTimer();
  emit rutaCambiada(rutaFichero);
}

bool TfrmEditorCodigo::abrir(const QString& ruta) {
  if (!puedeCerrar()) return false;
  QFile fichero(ruta);
  if (!fichero.open(QIODevice::ReadOnly)) {
    dialogos.mensaje(this, QStringLiteral("No se pudo abrir el fichero"), ruta + QLatin1Char('\n') + fichero.errorString());
    return false;
  }
  // Se lee con un tope aunque el tamaño diga otra cosa (dispositivos, tuberías).
  const QByteArray bytes = fichero.read(TAM_MAXIMO + 1);
  if (bytes.size() > TAM_MAXIMO) {
    dialogos.mensaje(this, QStringLiteral("El fichero es demasiado grande para el editor de código"), ruta);
    return false;
  }
  if (fichero.error() != QFileDevice::NoError) {
    dialogos.mensaje(this, QStringLiteral("No se pudo abrir el fichero"), ruta + QLatin1Char('\n') + fichero.errorString());
    return false;
  }
  // Un fichero que no es UTF-8 se lee como Latin-1 y se guarda igual: así no
  // se estropean los acentos de los comentarios de un programa antiguo. Una
  // marca de orden de bytes se conserva: el cargador también la ve.
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
  QString texto = utf8.decode(bytes);
  const bool latin1 = utf8.hasError();
  if (latin1) texto = QString::fromLatin1(bytes);
  ponerTexto(texto, QFileInfo(ruta).absoluteFilePath(), latin1, bytes.contains("\r\n"));
  return true;
}

bool TfrmEditorCodigo::nuevo(const QString& texto) {
  if (!puedeCerrar()) return false;
  ponerTexto(texto, QString(), false, false);
  if (!texto.isEmpty()) txtFuente->document()->setModified(true);
  return true;
}

bool TfrmEditorCodigo::guardar() {
  if (rutaFichero.isEmpty()) return guardarComo();
  return escribirEn(rutaFichero);
}

bool TfrmEditorCodigo::guardarComo() {
  const QString sufijo =
      rutaFichero.endsWith(QStringLiteral(".bun"), Qt::CaseInsensitive) ? QStringLiteral("bun") : QStringLiteral("pla");
  const QString elegida = dialogos.guardarFichero(this, QString::fromUtf8(FILTRO_FUENTE), sufijo);
  if (elegida.isEmpty()) return false;
  return escribirEn(QFileInfo(elegida).absoluteFilePath());
}

bool TfrmEditorCodigo::escribirEn(const QString& ruta) {
  const QByteArray bytes = contenido();
  if (escritura.escribir(QFile::encodeName(ruta).toStdString(), bytes.toStdString()) != ESCRITURA_OK) {
    dialogos.mensaje(this, QStringLiteral("No se pudo guardar el fichero"),
                     ruta + QLatin1Char('\n') + QString::fromStdString(escritura.motivo));
    return false;
  }
  // Lo que no cabía en Latin-1 se escribió en UTF-8, y así sigue.
  enLatin1 = enLatin1 && cabeEnLatin1(texto());
  const bool otra = ruta != rutaFichero;
  rutaFichero = ruta;
  txtFuente->document()->setModified(false);
  actualizarTitulo();
  if (otra) emit rutaCambiada(rutaFichero);
  emit guardado(rutaFichero);
  return true;
}

bool TfrmEditorCodigo::puedeCerrar() {
  if (!modificado()) return true;
  TdlgGuardarPrograma dialogo(nombre(), this);
  if (dialogos.ejecutarModal(dialogo) != RESULTADO_ACEPTAR) return false;
  switch (dialogo.respuesta) {
    case TdlgGuardarPrograma::Guardar: return guardar();
    case TdlgGuardarPrograma::NoGuardar: return true;
    default: return false;
  }
}

void TfrmEditorCodigo::closeEvent(QCloseEvent* evento) {
  if (!puedeCerrar()) {
    evento->ignore();
    return;
  }
  QMdiSubWindow::closeEvent(evento);
}

// ---------------------------------------------------------------- estado

QString TfrmEditorCodigo::texto() const {
  // El texto en bruto: toPlainText cambiaría los espacios duros por blancos.
  QString t = txtFuente->document()->toRawText();
  t.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
  return t;
}

QByteArray TfrmEditorCodigo::contenido() const {
  QString t = texto();
  if (finCRLF) t.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
  return enLatin1 && cabeEnLatin1(t) ? t.toLatin1() : t.toUtf8();
}

QString TfrmEditorCodigo::nombre() const {
  return rutaFichero.isEmpty() ? SIN_TITULO : QFileInfo(rutaFichero).fileName();
}

bool TfrmEditorCodigo::modificado() const { return txtFuente->document()->isModified(); }

int TfrmEditorCodigo::lineaError() const { return txtFuente->hayError() ? txtFuente->lineaError() + 1 : 0; }

QString TfrmEditorCodigo::detalleError() const { return txtFuente->detalleError(); }

void TfrmEditorCodigo::actualizarTitulo() {
  setWindowTitle(nombre() + QStringLiteral("[*] - ") + TITULO);
  setWindowModified(modificado());
  // El nombre, y la ruta entera en la pista: una carpeta larga no ensancha la ventana.
  labFichero->setText(modificado() ? nombre() + QStringLiteral(" (cambios sin guardar)") : nombre());
  labFichero->setToolTip(rutaFichero.isEmpty() ? QString() : QDir::toNativeSeparators(rutaFichero));
}

void TfrmEditorCodigo::actualizarPosicion() {
  const QTextCursor c = txtFuente->textCursor();
  labPosicion->setText(QStringLiteral("Línea %1, columna %2").arg(c.blockNumber() + 1).arg(c.positionInBlock() + 1));
}

void TfrmEditorCodigo::irA(int linea, int columna) {
  const QTextBlock b = txtFuente->document()->findBlockByNumber(std::max(0, linea - 1));
  if (!b.isValid()) return;
  QTextCursor c(b);
  c.setPosition(b.position() + std::clamp(columna - 1, 0, static_cast<int>(b.text().size())));
  txtFuente->setTextCursor(c);
  txtFuente->centerCursor();
}

// ---------------------------------------------------------------- programa cargado

void TfrmEditorCodigo::vincularPrograma(const TCodigo& codigo) { txtFuente->vincularPrograma(codigo.lineas); }
void TfrmEditorCodigo::desvincularPrograma() { txtFuente->desvincularPrograma(); }

bool TfrmEditorCodigo::vincularSiEs(const TCodigo& programa) {
  TCodigo propio;
  const bool mismo = propio.cargarTexto(texto().toUtf8().toStdString()) == CARGA_OK &&
                     propio.numInstrucciones == programa.numInstrucciones &&
                     std::equal(propio.instrucciones.begin(), propio.instrucciones.end(),
                                programa.instrucciones.begin(), programa.instrucciones.end(), mismaInstruccion);
  // Las líneas, las de este texto: el fichero del programa pudo tener otras
  // (otro fin de línea, líneas de más al final que no se leen).
  if (mismo) txtFuente->vincularPrograma(propio.lineas);
  else txtFuente->desvincularPrograma();
  return mismo;
}
bool TfrmEditorCodigo::programaVinculado() const { return txtFuente->programaVinculado(); }
void TfrmEditorCodigo::ponerEnVuelo(const TMarcasEnVuelo& marcas) { txtFuente->ponerEnVuelo(marcas); }

// ---------------------------------------------------------------- análisis

void TfrmEditorCodigo::textoCambiado() { timAnalisis->start(); }

void TfrmEditorCodigo::timAnalisisTimer() {
  timAnalisis->stop();
  const QString t = texto();
  if (t.trimmed().isEmpty()) {
    // Un programa que se empieza a escribir no es todavía un error.
    resultadoAnalisis = CARGA_ERRONEA;
    txtFuente->quitarError();
    txtFuente->quitarBloques();
    labAnalisis->setStyleSheet(QString());
    labAnalisis->setText(QStringLiteral("Escriba en la primera línea el número de instrucciones y después las instrucciones"));
    labAnalisis->setToolTip(QString());
    emit analizado(false);
    return;
  }
  TCodigo codigo;
  mostrarAnalisis(codigo, codigo.cargarTexto(t.toUtf8().toStdString()));
}

int32_t TfrmEditorCodigo::cargarEn(TCodigo& codigo) {
  timAnalisis->stop();
  const int32_t r = codigo.cargarTexto(texto().toUtf8().toStdString());
  mostrarAnalisis(codigo, r);
  return r;
}

void TfrmEditorCodigo::mostrarAnalisis(const TCodigo& codigo, int32_t resultado) {
  resultadoAnalisis = resultado;
  if (resultado == CARGA_OK) {
    txtFuente->quitarError();
    std::vector<int32_t> bloques;
    for (const TInstruccion& i : codigo.instrucciones) bloques.push_back(i.bloque);
    txtFuente->ponerBloques(codigo.lineas, bloques);
    labAnalisis->setStyleSheet(QString());
    labAnalisis->setText(QStringLiteral("Sin errores: %1 en %2")
                             .arg(plural(codigo.numInstrucciones, QStringLiteral("instrucción"), QStringLiteral("instrucciones")),
                                  plural(codigo.numBloques, QStringLiteral("bloque básico"), QStringLiteral("bloques básicos"))));
    labAnalisis->setToolTip(QString());
  } else {
    // Las posiciones del cargador son bytes del texto en UTF-8, el que ha analizado.
    const int linea = std::max(1, codigo.lineaError) - 1;
    const QString textoLinea = txtFuente->document()->findBlockByNumber(linea).text();
    const int byte = std::max(1, codigo.columnaError) - 1;
    int inicio = TResaltadorFuente::caracterDeByte(textoLinea, byte);
    int fin = TResaltadorFuente::caracterDeByte(textoLinea, byte + codigo.longitudError);
    if (codigo.longitudError == 0) {
      // El texto se acaba antes de tiempo: se subraya lo que hay en la línea
      // del último token, hasta donde acaba.
      fin = inicio;
      inicio = 0;
      while (inicio < fin && textoLinea[inicio].isSpace()) ++inicio;
    }
    const QString detalle = QString::fromStdString(codigo.detalleError);
    txtFuente->marcarError(linea, inicio, fin - inicio, detalle);
    labAnalisis->setStyleSheet(QStringLiteral("color: %1").arg(ROJO.name()));
    labAnalisis->setText(detalle);
    labAnalisis->setToolTip(detalle);
  }
  emit analizado(resultado == CARGA_OK);
}

// ---------------------------------------------------------------- teclas

bool TfrmEditorCodigo::eventFilter(QObject* objeto, QEvent* evento) {
  if (evento->type() == QEvent::ShortcutOverride || evento->type() == QEvent::KeyPress) {
    const auto* tecla = static_cast<QKeyEvent*>(evento);
    const QKeySequence pulsada(QKeyCombination(tecla->modifiers() & ~Qt::KeypadModifier, Qt::Key(tecla->key())));
    for (const auto& [secuencia, accion] : teclas) {
      if (secuencia != pulsada || !accion->isEnabled()) continue;
      // Reclamar la tecla hace que llegue aquí como pulsación y no como atajo
      // de otra ventana.
      if (evento->type() == QEvent::ShortcutOverride) evento->accept();
      else accion->trigger();
      return true;
    }
  }
  return QMdiSubWindow::eventFilter(objeto, evento);
}
