#include "Simulador/dialogos/TdlgIntervalo.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <algorithm>
#include <optional>

#include "Simulador/aplicacion/TServicioDialogos.h"

const char* const TdlgIntervalo::MENSAJE_ERROR = "ERROR: Los valores introducidos no son válidos";

namespace {

// Número decimal sin signo; los que no caben se saturan (y luego se ignoran o
// se rebajan al último elemento, como cualquier número demasiado grande).
std::optional<int64_t> numero(const QString& trozo) {
  if (trozo.isEmpty()) return std::nullopt;
  int64_t valor = 0;
  for (QChar c : trozo) {
    if (c < QLatin1Char('0') || c > QLatin1Char('9')) return std::nullopt;
    valor = std::min<int64_t>(valor * 10 + (c.unicode() - '0'), INT64_C(1) << 40);
  }
  return valor;
}

}  // namespace

TdlgIntervalo::TdlgIntervalo(TServicioDialogos& servicio, QWidget* padre) : QDialog(padre), dialogos(servicio) {
  setObjectName(QStringLiteral("dlgIntervalo"));
  setWindowTitle(QStringLiteral("Seleccionar elementos"));
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  hide();

  labIntervalo = new QLabel(QStringLiteral("Seleccione los elementos que desea mostrar"), this);
  labIntervalo->setObjectName(QStringLiteral("labIntervalo"));
  labAyuda = new QLabel(QStringLiteral("(Puede usar números e intervalos separados por comas. Ej: 1,4,6-8 ...) "), this);
  labAyuda->setObjectName(QStringLiteral("labAyuda"));
  txtIntervalo = new QLineEdit(this);
  txtIntervalo->setObjectName(QStringLiteral("txtIntervalo"));
  // Solo cifras, comas y guiones, también al pegar.
  txtIntervalo->setValidator(
      new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9,\\-]*")), txtIntervalo));
  labIntervalo->setBuddy(txtIntervalo);
  butOk = new QPushButton(QStringLiteral("Aceptar"), this);
  butOk->setObjectName(QStringLiteral("butOk"));
  butOk->setDefault(true);
  butCancel = new QPushButton(QStringLiteral("Cancelar"), this);
  butCancel->setObjectName(QStringLiteral("butCancel"));
  connect(butOk, &QPushButton::clicked, this, &QDialog::accept);
  connect(butCancel, &QPushButton::clicked, this, &QDialog::reject);

  auto* botones = new QHBoxLayout;
  botones->addStretch(1);
  botones->addWidget(butOk);
  botones->addWidget(butCancel);
  auto* capa = new QVBoxLayout(this);
  capa->addWidget(labIntervalo);
  capa->addWidget(labAyuda);
  capa->addWidget(txtIntervalo);
  capa->addLayout(botones);
  capa->setSizeConstraint(QLayout::SetFixedSize);
}

bool TdlgIntervalo::analizar(const QString& texto, int32_t n, std::set<int32_t>& conjunto) {
  // Trozo a trozo hasta que no queda texto: una coma final no deja un trozo vacío.
  QString resto = texto;
  while (!resto.isEmpty()) {
    const qsizetype coma = resto.indexOf(QLatin1Char(','));
    const QString trozo = coma < 0 ? resto : resto.left(coma);
    resto = coma < 0 ? QString() : resto.mid(coma + 1);
    const QStringList partes = trozo.split(QLatin1Char('-'));
    if (partes.size() == 1) {
      const std::optional<int64_t> i = numero(trozo);
      if (!i) return false;
      if (*i < n) conjunto.insert(static_cast<int32_t>(*i));
    } else if (partes.size() == 2) {
      std::optional<int64_t> a = numero(partes[0]);
      std::optional<int64_t> b = numero(partes[1]);
      if (!a || !b) return false;
      if (n <= 0) continue;
      a = std::min<int64_t>(*a, n - 1);
      b = std::min<int64_t>(*b, n - 1);
      for (int64_t i = std::min(*a, *b); i <= std::max(*a, *b); ++i) conjunto.insert(static_cast<int32_t>(i));
    } else {
      return false;
    }
  }
  return true;
}

int TdlgIntervalo::pedir(int32_t n, int modo) {
  conjunto.clear();
  numElementos = n;
  labIntervalo->setText(modo == MODO_MOSTRAR ? QStringLiteral("Seleccione los elementos que desea mostrar")
                                             : QStringLiteral("Seleccione los elementos que desea ocultar"));
  txtIntervalo->selectAll();
  txtIntervalo->setFocus();
  const int resultado = dialogos.ejecutarModal(*this);
  if (resultado == RESULTADO_ACEPTAR && !analizar(txtIntervalo->text(), numElementos, conjunto)) {
    dialogos.mensaje(parentWidget(), QString::fromUtf8(MENSAJE_ERROR));
    txtIntervalo->clear();
  }
  return resultado;
}
