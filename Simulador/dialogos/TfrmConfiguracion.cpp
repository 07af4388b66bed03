#include "Simulador/dialogos/TfrmConfiguracion.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "Simulador/comunes/TSpinNumero.h"
#include "machine/TMaquina.h"

namespace {

struct TFilaUnidad {
  const char* etiqueta;
  const char* pista;
  const char* numero;
  const char* latencia;
};

// En orden de código de tipo.
const TFilaUnidad FILAS[NUM_TIPOS_UF] = {
    {"Suma Entera:", "Unidad Suma Entera", "spiUFSumaEnt", "spiLatSumaEnt"},
    {"Mult. entera:", "Unidad de Multiplicación Entera", "spiUFMultEnt", "spiLatMultEnt"},
    {"Suma Flotante:", "Unidad de Suma Punto Flotante", "spiUFSumaFlot", "spiLatSumaFlot"},
    {"Mult. Flotante:", "Unidad de Multiplicación Punto Flotante", "spiUFMultFlot", "spiLatMultFlot"},
    {"Memoria:", "Unidad de Memoria", "spiUFMem", "spiLatMem"},
    {"Salto:", "Unidad de Salto", "spiUFSalto", "spiLatSalto"},
};

void ponerPista(QWidget* w, const QString& pista) {
  w->setToolTip(pista);
  w->setStatusTip(pista);
}

TSpinNumero* nuevoSpin(QWidget* padre, const char* nombre, const QString& pista, int minimo, int maximo) {
  auto* s = new TSpinNumero(padre);
  s->setObjectName(QString::fromLatin1(nombre));
  s->setRange(minimo, maximo);
  ponerPista(s, pista);
  return s;
}

QLabel* nuevaEtiqueta(QWidget* padre, const QString& texto, const QString& pista) {
  auto* l = new QLabel(texto, padre);
  ponerPista(l, pista);
  return l;
}

}  // namespace

TfrmConfiguracion::TfrmConfiguracion(TMaquina& m, const QString& titulo, int temaAyuda, QWidget* padre)
    : QMdiSubWindow(padre), maquinaBase(m) {
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(titulo);
  setProperty("temaAyuda", temaAyuda);
  // Ventana de herramienta pequeña: sin maximizar ni minimizar.
  setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

  contenido = new QWidget;
  gbUnidades = new QGroupBox(QStringLiteral("Unidades Funcionales"), contenido);
  gbUnidades->setObjectName(QStringLiteral("gbUnidades"));
  ponerPista(gbUnidades, QStringLiteral("Definición de las unidades funcionales de cada tipo"));
  auto* rejilla = new QGridLayout(gbUnidades);
  rejilla->addWidget(nuevaEtiqueta(gbUnidades, QStringLiteral("Número:"), QStringLiteral("Número de U. F. de cada tipo")),
                     0, 1);
  rejilla->addWidget(
      nuevaEtiqueta(gbUnidades, QStringLiteral("Latencia:"), QStringLiteral("Latencia de cada tipo de U. F.")), 0, 2);

  spiLatFalloMem = nuevoSpin(gbUnidades, "spiLatFalloMem", QStringLiteral("Fallo de Unidad de Memoria"),
                             MIN_LAT_FALLO, MAX_LAT_FALLO);
  int fila = 1;
  for (int t = 0; t < NUM_TIPOS_UF; ++t) {
    const TFilaUnidad& f = FILAS[t];
    const QString pista = QString::fromUtf8(f.pista);
    spiUF[static_cast<size_t>(t)] = nuevoSpin(gbUnidades, f.numero, pista, MIN_UF, MAX_UF);
    spiLat[static_cast<size_t>(t)] = nuevoSpin(gbUnidades, f.latencia, pista, MIN_LATENCIA, MAX_LATENCIA);
    QLabel* etiqueta = nuevaEtiqueta(gbUnidades, QString::fromUtf8(f.etiqueta), pista);
    etiqueta->setBuddy(spiUF[static_cast<size_t>(t)]);
    rejilla->addWidget(etiqueta, fila, 0);
    rejilla->addWidget(spiUF[static_cast<size_t>(t)], fila, 1);
    rejilla->addWidget(spiLat[static_cast<size_t>(t)], fila, 2);
    ++fila;
    if (t == tufMemoria) {
      // El fallo de caché va justo debajo de «Memoria:», sangrado y solo con latencia.
      QLabel* fallo =
          nuevaEtiqueta(gbUnidades, QStringLiteral("Fallo de caché:"), QStringLiteral("Fallo de Unidad de Memoria"));
      fallo->setBuddy(spiLatFalloMem);
      fallo->setContentsMargins(16, 0, 0, 0);
      rejilla->addWidget(fallo, fila, 0);
      rejilla->addWidget(spiLatFalloMem, fila, 2);
      ++fila;
    }
  }

  butDefault = new QPushButton(QStringLiteral("Predefinidos"), contenido);
  butDefault->setObjectName(QStringLiteral("butDefault"));
  ponerPista(butDefault, QStringLiteral("Carga los valores por defecto"));
  butAceptar = new QPushButton(QStringLiteral("Aceptar"), contenido);
  butAceptar->setObjectName(QStringLiteral("butAceptar"));
  ponerPista(butAceptar, QStringLiteral("Salir guardando los cambios"));
  butCancelar = new QPushButton(QStringLiteral("Cancelar"), contenido);
  butCancelar->setObjectName(QStringLiteral("butCancelar"));
  ponerPista(butCancelar, QStringLiteral("Salir sin guardar los cambios"));
  connect(butDefault, &QPushButton::clicked, this, &TfrmConfiguracion::butDefaultClick);
  connect(butAceptar, &QPushButton::clicked, this, &TfrmConfiguracion::butAceptarClick);
  connect(butCancelar, &QPushButton::clicked, this, &TfrmConfiguracion::butCancelarClick);

  auto* botones = new QHBoxLayout;
  botones->addWidget(butDefault);
  botones->addStretch();
  botones->addWidget(butAceptar);
  botones->addWidget(butCancelar);
  capa = new QVBoxLayout(contenido);
  capa->addWidget(gbUnidades);
  capa->addLayout(botones);
  capa->setSizeConstraint(QLayout::SetFixedSize);
  setWidget(contenido);

  // Orden del teclado: fila a fila, número antes que latencia, el fallo de
  // caché entre «Memoria:» y «Salto:».
  QWidget* anterior = nullptr;
  auto encadenar = [&anterior, this](QWidget* w) {
    if (anterior) setTabOrder(anterior, w);
    anterior = w;
  };
  for (int t = 0; t < NUM_TIPOS_UF; ++t) {
    encadenar(spiUF[static_cast<size_t>(t)]);
    encadenar(spiLat[static_cast<size_t>(t)]);
    if (t == tufMemoria) encadenar(spiLatFalloMem);
  }
  ultimoDelTeclado = anterior;
  setTabOrder(ultimoDelTeclado, butDefault);
  setTabOrder(butDefault, butAceptar);
  setTabOrder(butAceptar, butCancelar);
}

void TfrmConfiguracion::anadirGrupo(QGroupBox* grupo, QWidget* ultimoControl) {
  capa->insertWidget(capa->indexOf(gbUnidades) + 1, grupo);
  setTabOrder(ultimoDelTeclado, ultimoControl);
  setTabOrder(ultimoControl, butDefault);
  ultimoDelTeclado = ultimoControl;
}

void TfrmConfiguracion::terminarDiseno() {
  contenido->adjustSize();
  adjustSize();
  spiUF[0]->setFocus();
}

void TfrmConfiguracion::showEvent(QShowEvent* evento) {
  QMdiSubWindow::showEvent(evento);
  // Tamaño fijo, medido ya dentro del área de trabajo (con su barra de título).
  if (!tamanoFijado) {
    tamanoFijado = true;
    setFixedSize(sizeHint());
  }
}

void TfrmConfiguracion::cargarDeMaquina() {
  for (size_t t = 0; t < NUM_TIPOS_UF; ++t) {
    spiUF[t]->setValue(maquinaBase.numUF[t]);
    spiLat[t]->setValue(maquinaBase.latUF[t]);
  }
  spiLatFalloMem->setValue(maquinaBase.latFalloCache);
}

void TfrmConfiguracion::cargarPredefinidos() {
  for (size_t t = 0; t < NUM_TIPOS_UF; ++t) {
    spiUF[t]->setValue(NUM_UF_DEFECTO[t]);
    spiLat[t]->setValue(LAT_UF_DEFECTO[t]);
  }
  spiLatFalloMem->setValue(LAT_FALLO_DEFECTO);
}

void TfrmConfiguracion::aplicar() {
  for (size_t t = 0; t < NUM_TIPOS_UF; ++t) {
    maquinaBase.numUF[t] = spiUF[t]->value();
    maquinaBase.latUF[t] = spiLat[t]->value();
  }
  // Puede quedar por debajo de la latencia de memoria: el fallo sale gratis.
  maquinaBase.latFalloCache = spiLatFalloMem->value();
}

void TfrmConfiguracion::butDefaultClick() { cargarPredefinidos(); }

void TfrmConfiguracion::butAceptarClick() {
  aplicar();
  close();
}

void TfrmConfiguracion::butCancelarClick() { close(); }

void TfrmConfiguracion::keyPressEvent(QKeyEvent* evento) {
  if (evento->modifiers() & ~Qt::KeypadModifier) {
    QMdiSubWindow::keyPressEvent(evento);
    return;
  }
  switch (evento->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      if (auto* boton = qobject_cast<QPushButton*>(focusWidget())) boton->click();
      else butAceptar->click();
      return;
    case Qt::Key_Escape:
      butCancelar->click();
      return;
    default:
      QMdiSubWindow::keyPressEvent(evento);
  }
}
