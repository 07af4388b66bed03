#include "Simulador/dialogos/TdlgGuardarCambio.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TdlgGuardarCambio::TdlgGuardarCambio(QWidget* padre) : QDialog(padre) {
  setObjectName(QStringLiteral("dlgGuardarCambio"));
  setWindowTitle(QStringLiteral("Guardar Cambios VLIW"));
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);

  auto* bisel = new QFrame(this);
  bisel->setFrameShape(QFrame::StyledPanel);
  bisel->setFrameShadow(QFrame::Sunken);
  labMensaje = new QLabel(QStringLiteral("Ha habido cambios en su código VLIW."), bisel);
  labPregunta = new QLabel(QStringLiteral("¿Desea guardar los cambios?"), bisel);
  QFont negrita = labPregunta->font();
  negrita.setBold(true);
  labPregunta->setFont(negrita);
  // El texto es el del sistema, errata incluida.
  labAclaracion = new QLabel(QStringLiteral("(Cancelar perderá las últimas modificaciones)"), bisel);
  auto* lineas = new QVBoxLayout(bisel);
  for (QLabel* l : {labMensaje, labPregunta, labAclaracion}) {
    l->setAlignment(Qt::AlignCenter);
    lineas->addWidget(l);
  }

  butOk = new QPushButton(QStringLiteral("Guardar"), this);
  butOk->setObjectName(QStringLiteral("butOk"));
  butOk->setDefault(true);
  butCancel = new QPushButton(QStringLiteral("Cancelar"), this);
  butCancel->setObjectName(QStringLiteral("butCancel"));
  connect(butOk, &QPushButton::clicked, this, &QDialog::accept);
  connect(butCancel, &QPushButton::clicked, this, &QDialog::reject);

  auto* botones = new QHBoxLayout;
  botones->addStretch();
  botones->addWidget(butOk);
  botones->addWidget(butCancel);
  botones->addStretch();
  auto* todo = new QVBoxLayout(this);
  todo->addWidget(bisel);
  todo->addLayout(botones);
  todo->setSizeConstraint(QLayout::SetFixedSize);
  setMinimumSize(313, 119);
}
