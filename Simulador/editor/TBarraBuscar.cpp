#include "Simulador/editor/TBarraBuscar.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QTextDocument>

namespace {

QPushButton* nuevoBoton(QWidget* padre, const char* nombre, const QString& texto) {
  auto* b = new QPushButton(texto, padre);
  b->setObjectName(QString::fromLatin1(nombre));
  b->setAutoDefault(false);
  return b;
}

}  // namespace

TBarraBuscar::TBarraBuscar(QPlainTextEdit& e, QWidget* padre) : QWidget(padre), editor(e) {
  setObjectName(QStringLiteral("panBuscar"));
  txtBuscar = new QLineEdit(this);
  txtBuscar->setObjectName(QStringLiteral("txtBuscar"));
  txtBuscar->setClearButtonEnabled(true);
  txtReemplazar = new QLineEdit(this);
  txtReemplazar->setObjectName(QStringLiteral("txtReemplazar"));
  chkMayusculas = new QCheckBox(QStringLiteral("Distinguir &mayúsculas"), this);
  chkMayusculas->setObjectName(QStringLiteral("chkMayusculas"));
  butAnterior = nuevoBoton(this, "butAnterior", QStringLiteral("Anterior"));
  butSiguiente = nuevoBoton(this, "butSiguiente", QStringLiteral("Siguiente"));
  butReemplazar = nuevoBoton(this, "butReemplazar", QStringLiteral("Reemplazar"));
  butReemplazarTodo = nuevoBoton(this, "butReemplazarTodo", QStringLiteral("Reemplazar todo"));
  butCerrar = nuevoBoton(this, "butCerrar", QStringLiteral("Cerrar"));
  labAviso = new QLabel(this);
  labAviso->setObjectName(QStringLiteral("labAviso"));
  QPalette rojo = labAviso->palette();
  rojo.setColor(QPalette::WindowText, QColor(190, 0, 0));
  labAviso->setPalette(rojo);

  auto* rejilla = new QGridLayout(this);
  rejilla->setContentsMargins(4, 2, 4, 2);
  rejilla->setVerticalSpacing(2);
  rejilla->addWidget(new QLabel(QStringLiteral("Buscar:"), this), 0, 0);
  rejilla->addWidget(txtBuscar, 0, 1);
  rejilla->addWidget(butAnterior, 0, 2);
  rejilla->addWidget(butSiguiente, 0, 3);
  rejilla->addWidget(chkMayusculas, 0, 4);
  rejilla->addWidget(butCerrar, 0, 6);
  rejilla->addWidget(labAviso, 1, 4, 1, 3);
  filaReemplazar = new QWidget(this);
  auto* fila = new QHBoxLayout(filaReemplazar);
  fila->setContentsMargins(0, 0, 0, 0);
  fila->addWidget(butReemplazar);
  fila->addWidget(butReemplazarTodo);
  labReemplazar = new QLabel(QStringLiteral("Reemplazar por:"), this);
  rejilla->addWidget(labReemplazar, 1, 0);
  rejilla->addWidget(txtReemplazar, 1, 1);
  rejilla->addWidget(filaReemplazar, 1, 2, 1, 2);
  rejilla->setColumnStretch(1, 1);
  rejilla->setColumnStretch(5, 1);

  connect(butSiguiente, &QPushButton::clicked, this, [this] { buscar(false); });
  connect(butAnterior, &QPushButton::clicked, this, [this] { buscar(true); });
  connect(butReemplazar, &QPushButton::clicked, this, &TBarraBuscar::reemplazar);
  connect(butReemplazarTodo, &QPushButton::clicked, this, &TBarraBuscar::reemplazarTodo);
  connect(butCerrar, &QPushButton::clicked, this, &TBarraBuscar::ocultar);
  connect(txtBuscar, &QLineEdit::textChanged, labAviso, &QLabel::clear);
  txtBuscar->installEventFilter(this);
  txtReemplazar->installEventFilter(this);
  hide();
}

void TBarraBuscar::mostrar(bool reemplazar) {
  const QString seleccion = editor.textCursor().selectedText();
  // selectedText separa las líneas con U+2029: una selección de varias no se busca.
  if (!seleccion.isEmpty() && !seleccion.contains(QChar::ParagraphSeparator)) txtBuscar->setText(seleccion);
  // La fila de reemplazo se ve solo en modo reemplazar.
  for (QWidget* w : {filaReemplazar, static_cast<QWidget*>(txtReemplazar), static_cast<QWidget*>(labReemplazar)})
    w->setVisible(reemplazar);
  labAviso->clear();
  show();
  txtBuscar->setFocus();
  txtBuscar->selectAll();
}

void TBarraBuscar::ocultar() {
  hide();
  editor.setFocus();
}

void TBarraBuscar::avisar(const QString& texto) { labAviso->setText(texto); }

bool TBarraBuscar::buscar(bool haciaAtras) {
  const QString buscado = txtBuscar->text();
  labAviso->clear();
  if (buscado.isEmpty()) return false;
  QTextDocument::FindFlags opciones;
  if (chkMayusculas->isChecked()) opciones |= QTextDocument::FindCaseSensitively;
  if (haciaAtras) opciones |= QTextDocument::FindBackward;
  QTextDocument* documento = editor.document();
  QTextCursor encontrado = documento->find(buscado, editor.textCursor(), opciones);
  if (encontrado.isNull()) {
    // Se da la vuelta al texto, una sola vez.
    QTextCursor extremo(documento);
    if (haciaAtras) extremo.movePosition(QTextCursor::End);
    encontrado = documento->find(buscado, extremo, opciones);
  }
  if (encontrado.isNull()) {
    avisar(QStringLiteral("No se encuentra «%1»").arg(buscado));
    return false;
  }
  editor.setTextCursor(encontrado);
  return true;
}

bool TBarraBuscar::seleccionEsBuscado() const {
  const QString seleccion = editor.textCursor().selectedText();
  const Qt::CaseSensitivity caso = chkMayusculas->isChecked() ? Qt::CaseSensitive : Qt::CaseInsensitive;
  return !seleccion.isEmpty() && seleccion.compare(txtBuscar->text(), caso) == 0;
}

bool TBarraBuscar::reemplazar() {
  if (seleccionEsBuscado()) editor.textCursor().insertText(txtReemplazar->text());
  return buscar(false);
}

int TBarraBuscar::reemplazarTodo() {
  const QString buscado = txtBuscar->text();
  labAviso->clear();
  if (buscado.isEmpty()) return 0;
  QTextDocument::FindFlags opciones;
  if (chkMayusculas->isChecked()) opciones |= QTextDocument::FindCaseSensitively;
  QTextDocument* documento = editor.document();
  QTextCursor edicion(documento);
  edicion.beginEditBlock();
  int cuenta = 0;
  // Cada búsqueda sigue tras lo recién puesto: un reemplazo que contiene lo
  // buscado no se vuelve a encontrar.
  for (QTextCursor c = documento->find(buscado, 0, opciones); !c.isNull(); c = documento->find(buscado, c, opciones)) {
    c.insertText(txtReemplazar->text());
    ++cuenta;
  }
  edicion.endEditBlock();
  avisar(cuenta == 0 ? QStringLiteral("No se encuentra «%1»").arg(buscado)
                     : cuenta == 1 ? QStringLiteral("1 reemplazo") : QStringLiteral("%1 reemplazos").arg(cuenta));
  return cuenta;
}

bool TBarraBuscar::eventFilter(QObject* objeto, QEvent* evento) {
  if (evento->type() == QEvent::KeyPress) {
    const auto* tecla = static_cast<QKeyEvent*>(evento);
    if (tecla->key() == Qt::Key_Escape) {
      ocultar();
      return true;
    }
    if (tecla->key() == Qt::Key_Return || tecla->key() == Qt::Key_Enter) {
      if (objeto == txtReemplazar) reemplazar();
      else buscar(tecla->modifiers() & Qt::ShiftModifier);
      return true;
    }
  }
  return QWidget::eventFilter(objeto, evento);
}
