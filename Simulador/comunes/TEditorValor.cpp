#include "Simulador/comunes/TEditorValor.h"

#include <QKeyEvent>

#include "Simulador/comunes/TFormatoNumero.h"
#include "Simulador/comunes/TValidadorValor.h"

TEditorValor::TEditorValor(bool r, QWidget* padre) : QLineEdit(padre), real(r) {
  setObjectName(QStringLiteral("txtValor"));
  setFrame(false);
  setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  setValidator(new TValidadorValor(real, this));
}

void TEditorValor::keyPressEvent(QKeyEvent* evento) {
  if (evento->key() == Qt::Key_Return || evento->key() == Qt::Key_Enter) {
    emit intro();
    evento->accept();
    return;
  }
  const QString t = evento->text();
  // Las teclas sin carácter (flechas, Supr…) y los atajos (Ctrl+V…) siguen su curso.
  const bool caracter = t.size() == 1 && t.front().isPrint() &&
                        !(evento->modifiers() & (Qt::ControlModifier | Qt::MetaModifier | Qt::AltModifier));
  if (!caracter) {
    QLineEdit::keyPressEvent(evento);
    return;
  }
  const QChar c = t.front();
  const QChar separador = TFormatoNumero::separadorDecimal();
  const bool hayE = text().contains(QLatin1Char('E'));
  if ((c.isDigit() && c.unicode() < 128) || c == QLatin1Char('+') || c == QLatin1Char('-')) {
    QLineEdit::keyPressEvent(evento);
  } else if (real && c == separador && !text().contains(separador) && !hayE) {
    QLineEdit::keyPressEvent(evento);
  } else if (real && (c == QLatin1Char('e') || c == QLatin1Char('E')) && !hayE) {
    insert(QStringLiteral("E"));
  }
  evento->accept();  // cualquier otra tecla se ignora
}
