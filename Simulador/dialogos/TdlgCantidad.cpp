#include "Simulador/dialogos/TdlgCantidad.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "Simulador/aplicacion/TServicioDialogos.h"
#include "Simulador/comunes/TSpinNumero.h"

TdlgCantidad::TdlgCantidad(QWidget* padre) : QDialog(padre) {
  setObjectName(QStringLiteral("dlgCantidad"));
  setWindowTitle(QStringLiteral("Añadir Filas"));
  setWindowFlag(Qt::WindowStaysOnTopHint);
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);

  labMensaje = new QLabel(QStringLiteral("Número de Filas:"), this);
  QFont negrita = labMensaje->font();
  negrita.setBold(true);
  labMensaje->setFont(negrita);
  labMensaje->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  labMensaje->setWordWrap(true);
  labMensaje->setMinimumSize(117, 49);

  spiCantidad = new TSpinNumero(this);
  spiCantidad->setObjectName(QStringLiteral("spiCantidad"));
  spiCantidad->setRange(1, 20);
  spiCantidad->setValue(1);
  labMensaje->setBuddy(spiCantidad);

  butAceptar = new QPushButton(QStringLiteral("&Aceptar"), this);
  butAceptar->setObjectName(QStringLiteral("butAceptar"));
  butAceptar->setDefault(true);
  butCancelar = new QPushButton(QStringLiteral("&Cancelar"), this);
  butCancelar->setObjectName(QStringLiteral("butCancelar"));
  connect(butAceptar, &QPushButton::clicked, this, &QDialog::accept);
  // Escape ya cierra un QDialog con reject, igual que este botón.
  connect(butCancelar, &QPushButton::clicked, this, &QDialog::reject);

  auto* rejilla = new QGridLayout(this);
  rejilla->addWidget(labMensaje, 0, 0);
  rejilla->addWidget(spiCantidad, 0, 1);
  rejilla->addWidget(butAceptar, 1, 0);
  rejilla->addWidget(butCancelar, 1, 1);
  rejilla->setSizeConstraint(QLayout::SetFixedSize);
  spiCantidad->setFocus();
}

void TdlgCantidad::preparar(const QString& titulo, const QString& texto, int valor, int minimo, int maximo) {
  setWindowTitle(titulo);
  labMensaje->setText(texto);
  spiCantidad->setRange(minimo, maximo);
  spiCantidad->setValue(valor);  // QSpinBox ya lo lleva al límite más cercano
  spiCantidad->selectAll();
}

int TdlgCantidad::preguntar(const QString& titulo, const QString& texto, int valor, int minimo, int maximo) {
  preparar(titulo, texto, valor, minimo, maximo);
  if (parentWidget()) {
    adjustSize();
    move(parentWidget()->window()->geometry().center() - rect().center());
  }
  return resultadoModal(exec());
}
