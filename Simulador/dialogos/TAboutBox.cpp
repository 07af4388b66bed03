#include "Simulador/dialogos/TAboutBox.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "Simulador/aplicacion/TIconos.h"

TAboutBox::TAboutBox(QWidget* padre) : QDialog(padre) {
  setObjectName(QStringLiteral("AboutBox"));
  setWindowTitle(QStringLiteral("Acerca de..."));
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);

  auto* panel = new QFrame(this);
  panel->setFrameShape(QFrame::StyledPanel);
  panel->setFrameShadow(QFrame::Sunken);

  imgPrograma = new QLabel(panel);
  imgPrograma->setPixmap(TIconos::programa().pixmap(41, 41));
  imgPrograma->setFixedSize(41, 41);
  labProducto = new QLabel(QStringLiteral("ORVEX"), panel);
  QFont fuente = labProducto->font();
  fuente.setBold(true);
  fuente.setUnderline(true);
  fuente.setPointSizeF(fuente.pointSizeF() * 1.4);
  labProducto->setFont(fuente);
  labVersion = new QLabel(QStringLiteral("Versión 1.0"), panel);
  labComentario = new QLabel(QStringLiteral("Un Simulador para el Apoyo Docente en la Enseñanza de las "
                                            "Arquitecturas ILP con Planificación Dinámica y Estática"),
                             panel);
  labComentario->setAlignment(Qt::AlignCenter);
  labComentario->setWordWrap(true);

  auto* rejilla = new QGridLayout(panel);
  rejilla->addWidget(imgPrograma, 0, 0, 2, 1);
  rejilla->addWidget(labProducto, 0, 1);
  rejilla->addWidget(labVersion, 1, 1);
  rejilla->addWidget(labComentario, 2, 0, 1, 2);
  rejilla->setColumnStretch(1, 1);

  butAceptar = new QPushButton(QStringLiteral("Aceptar"), this);
  butAceptar->setObjectName(QStringLiteral("butAceptar"));
  butAceptar->setDefault(true);
  connect(butAceptar, &QPushButton::clicked, this, &QDialog::accept);

  auto* botones = new QHBoxLayout;
  botones->addStretch();
  botones->addWidget(butAceptar);
  botones->addStretch();
  auto* todo = new QVBoxLayout(this);
  todo->addWidget(panel);
  todo->addLayout(botones);
  setFixedWidth(298 + 40);
}
