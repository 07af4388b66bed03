#include "Simulador/componentes/TfrmSelec.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <functional>
#include <vector>

#include "Simulador/componentes/TModeloSelec.h"
#include "Simulador/componentes/TRejillaSelec.h"
#include "Simulador/comunes/TPanelRejilla.h"
#include "Simulador/dialogos/TdlgIntervalo.h"

namespace {

// Glifos de los cinco botones, dibujados en un lienzo de 16 × 16.
QIcon glifo(const std::function<void(QPainter&)>& pintor) {
  QIcon icono;
  for (int lado : {16, 32}) {
    QPixmap pixmap(lado, lado);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(lado / 16.0, lado / 16.0);
    pintor(p);
    p.end();
    icono.addPixmap(pixmap);
  }
  return icono;
}

QIcon glifoMas() {
  return glifo([](QPainter& p) {
    p.setPen(QPen(QColor(30, 140, 60), 2.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(8, 3), QPointF(8, 13));
    p.drawLine(QPointF(3, 8), QPointF(13, 8));
  });
}

QIcon glifoMenos() {
  return glifo([](QPainter& p) {
    p.setPen(QPen(QColor(200, 40, 40), 2.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(3, 8), QPointF(13, 8));
  });
}

QIcon glifoGuardar() {
  return glifo([](QPainter& p) {
    p.setPen(QPen(QColor(30, 140, 60), 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    QPainterPath v;
    v.moveTo(3, 8.5);
    v.lineTo(6.5, 12);
    v.lineTo(13, 4);
    p.drawPath(v);
  });
}

QIcon glifoCancelar() {
  return glifo([](QPainter& p) {
    p.setPen(QPen(QColor(200, 40, 40), 2.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(4, 4), QPointF(12, 12));
    p.drawLine(QPointF(12, 4), QPointF(4, 12));
  });
}

QIcon glifoReset() {
  return glifo([](QPainter& p) {
    p.setPen(QPen(QColor(40, 90, 170), 1.8));
    p.drawEllipse(QRectF(4, 2.5, 8, 11));
  });
}

}  // namespace

TfrmSelec::TfrmSelec(TServicioDialogos& servicio, TdlgIntervalo& dlg, int opc, QWidget* padre)
    : QWidget(padre), opciones(opc), dialogos(servicio), dlgIntervalo(dlg) {
  modeloSelec = new TModeloSelec([this](int32_t i) { return nombreElemento(i); },
                                 [this](int32_t i) { return valorElemento(i); }, this);
  modeloSelec->setEditable(opciones & OPC_EDITABLE);
  // Los números que se escriben, a la derecha; los que solo se leen, centrados.
  modeloSelec->setAlineacion(opciones & OPC_EDITABLE ? Qt::AlignRight | Qt::AlignVCenter : Qt::AlignCenter);

  panTitulo = TPanelRejilla::crearTitulo(QString(), this);

  grdSelec = new TRejillaSelec(this);
  grdSelec->setModel(modeloSelec);
  grdSelec->puedeSalir = [this] { return celdaActualValida(); };
  if (!(opciones & OPC_EDITABLE)) {
    grdSelec->setSelectionMode(QAbstractItemView::NoSelection);
    grdSelec->setFocusPolicy(Qt::NoFocus);
  }

  panBotones = new QWidget(this);
  panBotones->setObjectName(QStringLiteral("panBotones"));
  auto* barra = new QHBoxLayout(panBotones);
  barra->setContentsMargins(1, 1, 1, 1);
  barra->setSpacing(1);
  auto boton = [this, barra](const char* nombre, const QString& pista, const QIcon& icono) {
    auto* b = new QToolButton(panBotones);
    b->setObjectName(QString::fromLatin1(nombre));
    b->setIcon(icono);
    b->setIconSize(QSize(12, 12));
    b->setFixedSize(18, 18);
    b->setAutoRaise(true);
    b->setToolTip(pista);
    b->setStatusTip(pista);
    b->setFocusPolicy(Qt::NoFocus);
    barra->addWidget(b);
    return b;
  };
  butAnadir = boton("butAnadir", QStringLiteral("Añadir"), glifoMas());
  butEliminar = boton("butEliminar", QStringLiteral("Quitar"), glifoMenos());
  butAceptar = boton("butAceptar", QStringLiteral("Guardar cambios"), glifoGuardar());
  butCancelar = boton("butCancelar", QStringLiteral("Cancelar cambios"), glifoCancelar());
  butReset = boton("butReset", QStringLiteral("Resetear Valores"), glifoReset());
  barra->addStretch(1);
  butAnadir->setVisible(opciones & OPC_ANADIR_QUITAR);
  butEliminar->setVisible(opciones & OPC_ANADIR_QUITAR);
  butAceptar->setVisible(opciones & OPC_EDITABLE);
  butCancelar->setVisible(opciones & OPC_EDITABLE);
  butReset->setVisible(opciones & OPC_RESET);
  connect(butAnadir, &QToolButton::clicked, this, &TfrmSelec::butAnadirClick);
  connect(butEliminar, &QToolButton::clicked, this, &TfrmSelec::butEliminarClick);
  connect(butAceptar, &QToolButton::clicked, this, &TfrmSelec::butAceptarClick);
  connect(butCancelar, &QToolButton::clicked, this, &TfrmSelec::butCancelarClick);
  connect(butReset, &QToolButton::clicked, this, &TfrmSelec::butResetClick);

  auto* capa = new QVBoxLayout(this);
  capa->setContentsMargins(0, 0, 0, 0);
  capa->setSpacing(0);
  capa->addWidget(panTitulo);
  capa->addWidget(grdSelec, 1);
  capa->addWidget(panBotones);
  setMinimumHeight(20);
}

TfrmSelec::~TfrmSelec() {
  // La rejilla pinta con funciones virtuales de este panel: que no quede nada
  // que pueda pedirlas mientras las partes derivadas ya se han destruido.
  grdSelec->setModel(nullptr);
}

void TfrmSelec::ponerTitulo(const QString& titulo) { panTitulo->setText(titulo); }

void TfrmSelec::ajustarNombres() {
  const QFontMetrics fm(grdSelec->verticalHeader()->font());
  const int ancho = std::max(fm.horizontalAdvance(nombreElemento(std::max(numElementos - 1, 0))),
                             fm.horizontalAdvance(QStringLiteral("000"))) + 12;
  grdSelec->verticalHeader()->setFixedWidth(ancho);
}

void TfrmSelec::mostrar() {
  const int filaAntes = grdSelec->currentIndex().row();
  modeloSelec->asignar(std::vector<int32_t>(seleccion.begin(), seleccion.end()));
  ajustarNombres();
  grdSelec->setEditable(opciones & OPC_EDITABLE);
  if (modeloSelec->rowCount() > 0)
    grdSelec->ponerEnFila(std::clamp(filaAntes, 0, modeloSelec->rowCount() - 1));
}

void TfrmSelec::refrescar() {
  modeloSelec->refrescar();
  grdSelec->recargarEditor();
}

void TfrmSelec::butAnadirClick() {
  dlgIntervalo.pedir(numElementos, TdlgIntervalo::MODO_MOSTRAR);
  // El resultado no importa: un diálogo cancelado deja el conjunto vacío.
  seleccion.insert(dlgIntervalo.conjunto.begin(), dlgIntervalo.conjunto.end());
  mostrar();
}

void TfrmSelec::butEliminarClick() {
  dlgIntervalo.pedir(numElementos, TdlgIntervalo::MODO_OCULTAR);
  for (int32_t i : dlgIntervalo.conjunto) seleccion.erase(i);
  mostrar();
}

void TfrmSelec::butCancelarClick() { refrescar(); }
