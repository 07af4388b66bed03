#include "Simulador/editor/TdlgGuardarPrograma.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TdlgGuardarPrograma::TdlgGuardarPrograma(const QString& nombre, QWidget* padre) : QDialog(padre) {
  setObjectName(QStringLiteral("dlgGuardarPrograma"));
  setWindowTitle(QStringLiteral("Editor de Código"));
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);

  labMensaje = new QLabel(QStringLiteral("El programa «%1» tiene cambios sin guardar.").arg(nombre), this);
  labPregunta = new QLabel(QStringLiteral("¿Desea guardar los cambios?"), this);
  QFont negrita = labPregunta->font();
  negrita.setBold(true);
  labPregunta->setFont(negrita);

  butGuardar = new QPushButton(QStringLiteral("&Guardar"), this);
  butGuardar->setObjectName(QStringLiteral("butGuardar"));
  butGuardar->setDefault(true);
  butNoGuardar = new QPushButton(QStringLiteral("&No guardar"), this);
  butNoGuardar->setObjectName(QStringLiteral("butNoGuardar"));
  butCancelar = new QPushButton(QStringLiteral("Cancelar"), this);
  butCancelar->setObjectName(QStringLiteral("butCancelar"));
  // Cerrar el diálogo o pulsar Esc es lo mismo que «Cancelar»: nada se pierde.
  connect(butGuardar, &QPushButton::clicked, this, [this] {
    respuesta = Guardar;
    accept();
  });
  connect(butNoGuardar, &QPushButton::clicked, this, [this] {
    respuesta = NoGuardar;
    accept();
  });
  connect(butCancelar, &QPushButton::clicked, this, &QDialog::reject);
  connect(this, &QDialog::rejected, this, [this] { respuesta = Cancelar; });

  auto* botones = new QHBoxLayout;
  botones->addStretch();
  botones->addWidget(butGuardar);
  botones->addWidget(butNoGuardar);
  botones->addWidget(butCancelar);
  auto* todo = new QVBoxLayout(this);
  todo->addWidget(labMensaje);
  todo->addWidget(labPregunta);
  todo->addSpacing(6);
  todo->addLayout(botones);
  todo->setSizeConstraint(QLayout::SetFixedSize);
}
