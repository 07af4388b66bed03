#include "Simulador/vliw/TdlgSaltoVLIW.h"

#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <algorithm>

#include "Simulador/comunes/TSpinNumero.h"

namespace {

TSpinNumero* nuevoSpin(QWidget* padre, const char* nombre, const QString& pista, int minimo, int maximo) {
  auto* s = new TSpinNumero(padre);
  s->setObjectName(QString::fromLatin1(nombre));
  s->setRange(minimo, maximo);
  s->setToolTip(pista);
  s->setStatusTip(pista);
  return s;
}

}  // namespace

TdlgSaltoVLIW::TdlgSaltoVLIW(QWidget* padre) : QDialog(padre) {
  setObjectName(QStringLiteral("dlgSaltoVLIW"));
  setWindowTitle(QStringLiteral("Parámetros del salto"));
  setWindowFlag(Qt::WindowStaysOnTopHint);
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  setModal(true);

  spiDestino = nuevoSpin(this, "spiDestino", QStringLiteral("Instrucción larga destino del salto"), 0, 0);
  spiPredTrue = nuevoSpin(this, "spiPredTrue",
                          QStringLiteral("Registro de Predicado que se activa si el salto se toma"), 1, 63);
  spiPredFalse = nuevoSpin(this, "spiPredFalse",
                           QStringLiteral("Registro de Predicado que se activa si el salto no se toma"), 1, 63);
  spiPred = nuevoSpin(this, "spiPred", QStringLiteral("Registro Predicado de la operación"), 0, 63);

  labDestino = new QLabel(QStringLiteral("Instrucción destino:"), this);
  labPredTrue = new QLabel(QStringLiteral("Registro Predicado Verdadero:"), this);
  labPredFalse = new QLabel(QStringLiteral("Registro Predicado Falso:"), this);
  labPred = new QLabel(QStringLiteral("Registro Predicado:"), this);

  butOk = new QPushButton(QStringLiteral("Aceptar"), this);
  butOk->setObjectName(QStringLiteral("butOk"));
  butOk->setDefault(true);
  butCancel = new QPushButton(QStringLiteral("Cancelar"), this);
  butCancel->setObjectName(QStringLiteral("butCancel"));
  connect(butOk, &QPushButton::clicked, this, &QDialog::accept);
  connect(butCancel, &QPushButton::clicked, this, &QDialog::reject);

  auto* rejilla = new QGridLayout(this);
  int fila = 0;
  for (auto [etiqueta, spin] : {std::pair<QLabel*, TSpinNumero*>{labDestino, spiDestino},
                                {labPredTrue, spiPredTrue},
                                {labPredFalse, spiPredFalse},
                                {labPred, spiPred}}) {
    etiqueta->setBuddy(spin);
    etiqueta->setToolTip(spin->toolTip());
    etiqueta->setStatusTip(spin->statusTip());
    rejilla->addWidget(etiqueta, fila, 0, Qt::AlignRight);
    rejilla->addWidget(spin, fila, 1);
    ++fila;
  }
  auto* botones = new QHBoxLayout;
  botones->addStretch();
  botones->addWidget(butOk);
  botones->addWidget(butCancel);
  rejilla->addLayout(botones, fila, 0, 1, 2);
  rejilla->setSizeConstraint(QLayout::SetFixedSize);

  prepararNuevo(0);
}

void TdlgSaltoVLIW::preparar(int destino, int maximoDestino, int predVerdadero, int predFalso, int predicado) {
  spiDestino->setRange(std::min(0, destino), std::max({0, maximoDestino, destino}));
  spiDestino->setValue(destino);
  spiPredTrue->setValue(predVerdadero);
  spiPredFalse->setValue(predFalso);
  spiPred->setValue(predicado);
  spiDestino->setFocus();
  spiDestino->selectAll();
}

void TdlgSaltoVLIW::prepararNuevo(int maximoDestino) { preparar(0, maximoDestino, 1, 2, 0); }

void TdlgSaltoVLIW::showEvent(QShowEvent* evento) {
  QDialog::showEvent(evento);
  if (const QScreen* pantalla = screen())
    move(pantalla->availableGeometry().center() - rect().center());
}
