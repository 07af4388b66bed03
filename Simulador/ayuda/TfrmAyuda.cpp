#include "Simulador/ayuda/TfrmAyuda.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSplitter>
#include <QTabWidget>
#include <QTextBrowser>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

#include "Simulador/aplicacion/TIconos.h"

namespace {

const char* const COMO_USAR = R"(<h2>Cómo usar la Ayuda</h2>
<p>La ventana de ayuda tiene dos partes. A la izquierda, dos pestañas:</p>
<ul>
<li><b>Contenido</b>: la lista de todos los temas, por número. Un clic abre el tema.</li>
<li><b>Buscar</b>: todas las entradas del índice por orden alfabético. Escriba unas letras en
la casilla de arriba para quedarse con las entradas que las contienen (no importan mayúsculas ni
acentos) y pulse Intro o haga doble clic en una entrada para abrir su tema.</li>
</ul>
<p>A la derecha se lee el tema. Las palabras subrayadas son enlaces a otros temas. Los botones
<b>Atrás</b> y <b>Adelante</b> (también Alt+Izquierda y Alt+Derecha) recorren los temas ya vistos.</p>
<p>Desde la ventana principal:</p>
<ul>
<li><b>F1</b> (<i>Ayuda, Contenido</i>) abre la página de contenido.</li>
<li><b>Mayúsculas+F1</b> abre el tema de la ventana que está delante: la de ejecución, el editor
VLIW, una de configuración, una de componentes o, si no hay ninguna, la ventana principal. Con un
menú desplegado abre el tema de ese menú.</li>
<li><i>Ayuda, Buscar Ayuda sobre...</i> abre la pestaña de búsqueda con el índice completo.</li>
</ul>
<p>La ayuda está en el fichero <tt>Ayuda/ORVEX.HLP</tt>, que se busca en la carpeta de trabajo, junto
al programa y en la carpeta de datos donde se instaló.</p>)";

QString sinAcentos(const QString& s) {
  QString d = s.normalized(QString::NormalizationForm_D);
  QString r;
  for (const QChar c : d)
    if (c.category() != QChar::Mark_NonSpacing) r += c.toLower();
  return r;
}

}  // namespace

TfrmAyuda::TfrmAyuda(QWidget* padre) : QWidget(padre, Qt::Window) {
  setObjectName(QStringLiteral("frmAyuda"));
  setWindowTitle(QStringLiteral("Ayuda de Orvex"));
  setWindowIcon(TIconos::ayuda());
  resize(860, 600);

  tabs = new QTabWidget;
  lstContenido = new QListWidget;
  tabs->addTab(lstContenido, QStringLiteral("Contenido"));
  auto* buscar = new QWidget;
  txtBuscar = new QLineEdit;
  txtBuscar->setPlaceholderText(QStringLiteral("Escriba la palabra que busca"));
  txtBuscar->setClearButtonEnabled(true);
  lstIndice = new QListWidget;
  auto* capaBuscar = new QVBoxLayout(buscar);
  capaBuscar->setContentsMargins(0, 0, 0, 0);
  capaBuscar->addWidget(txtBuscar);
  capaBuscar->addWidget(lstIndice);
  tabs->addTab(buscar, QStringLiteral("Buscar"));

  txtTema = new QTextBrowser;
  txtTema->setOpenLinks(false);
  butAtras = new QToolButton;
  butAtras->setText(QStringLiteral("◀ Atrás"));
  butAtras->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Left));
  butAdelante = new QToolButton;
  butAdelante->setText(QStringLiteral("Adelante ▶"));
  butAdelante->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Right));
  auto* butContenido = new QToolButton;
  butContenido->setText(QStringLiteral("Contenido"));
  auto* butComoUsar = new QToolButton;
  butComoUsar->setText(QStringLiteral("Cómo usar la Ayuda"));

  auto* barra = new QHBoxLayout;
  for (QToolButton* b : {butAtras, butAdelante, butContenido, butComoUsar}) barra->addWidget(b);
  barra->addStretch();
  auto* derecha = new QWidget;
  auto* capaDerecha = new QVBoxLayout(derecha);
  capaDerecha->setContentsMargins(0, 0, 0, 0);
  capaDerecha->addLayout(barra);
  capaDerecha->addWidget(txtTema);

  auto* divisor = new QSplitter;
  divisor->addWidget(tabs);
  divisor->addWidget(derecha);
  divisor->setStretchFactor(1, 1);
  divisor->setSizes({240, 620});
  auto* todo = new QVBoxLayout(this);
  todo->addWidget(divisor);

  connect(lstContenido, &QListWidget::itemActivated, this,
          [this](QListWidgetItem* e) { ir(e->data(Qt::UserRole).toInt(), true); });
  connect(lstContenido, &QListWidget::itemClicked, this,
          [this](QListWidgetItem* e) { ir(e->data(Qt::UserRole).toInt(), true); });
  connect(lstIndice, &QListWidget::itemActivated, this,
          [this](QListWidgetItem* e) { ir(e->data(Qt::UserRole).toInt(), true); });
  connect(txtBuscar, &QLineEdit::textChanged, this, &TfrmAyuda::filtrarIndice);
  connect(txtBuscar, &QLineEdit::returnPressed, this, [this] {
    if (lstIndice->count() > 0) ir(lstIndice->item(0)->data(Qt::UserRole).toInt(), true);
  });
  connect(txtTema, &QTextBrowser::anchorClicked, this, &TfrmAyuda::enlace);
  connect(butAtras, &QToolButton::clicked, this, [this] {
    if (atras.isEmpty()) return;
    adelante.prepend(actual);
    ir(atras.takeLast(), false);
  });
  connect(butAdelante, &QToolButton::clicked, this, [this] {
    if (adelante.isEmpty()) return;
    atras.append(actual);
    ir(adelante.takeFirst(), false);
  });
  connect(butContenido, &QToolButton::clicked, this, &TfrmAyuda::mostrarContenido);
  connect(butComoUsar, &QToolButton::clicked, this, &TfrmAyuda::mostrarComoUsar);
  actualizarBotones();
}

bool TfrmAyuda::cargar(const QString& ruta, QString& error) {
  if (!ayuda.cargar(ruta, error)) return false;
  lstContenido->clear();
  for (const TTemaAyuda& t : ayuda.temas) {
    auto* e = new QListWidgetItem(QStringLiteral("%1. %2").arg(t.numero).arg(t.titulo), lstContenido);
    e->setData(Qt::UserRole, t.numero);
  }
  filtrarIndice(txtBuscar->text());
  atras.clear();
  adelante.clear();
  actual = -2;
  return true;
}

void TfrmAyuda::mostrarContenido() {
  tabs->setCurrentIndex(0);
  if (ayuda.tema(0)) ir(0, true);
  else if (!ayuda.temas.isEmpty()) ir(ayuda.temas.first().numero, true);
}

void TfrmAyuda::mostrarBusqueda(const QString& clave) {
  tabs->setCurrentIndex(1);
  txtBuscar->setText(clave);
  filtrarIndice(clave);
  txtBuscar->setFocus();
}

void TfrmAyuda::mostrarComoUsar() { ir(TEMA_COMO_USAR, true); }

bool TfrmAyuda::mostrarTema(int numero) {
  if (!ayuda.tema(numero)) {
    mostrarContenido();
    return false;
  }
  ir(numero, true);
  return true;
}

void TfrmAyuda::ir(int numero, bool guardarHistoria) {
  if (guardarHistoria && actual != -2 && actual != numero) {
    atras.append(actual);
    adelante.clear();
  }
  actual = numero;
  if (numero == TEMA_COMO_USAR) {
    txtTema->setHtml(QString::fromUtf8(COMO_USAR));
  } else if (const TTemaAyuda* t = ayuda.tema(numero)) {
    txtTema->setHtml(QStringLiteral("<h2>%1</h2>\n%2").arg(t->titulo.toHtmlEscaped(), t->cuerpo));
    for (int i = 0; i < lstContenido->count(); ++i)
      if (lstContenido->item(i)->data(Qt::UserRole).toInt() == numero) lstContenido->setCurrentRow(i);
  }
  actualizarBotones();
}

void TfrmAyuda::filtrarIndice(const QString& clave) {
  lstIndice->clear();
  const QString buscado = sinAcentos(clave.trimmed());
  for (const auto& [texto, numero] : ayuda.entradasIndice()) {
    if (!buscado.isEmpty() && !sinAcentos(texto).contains(buscado)) continue;
    auto* e = new QListWidgetItem(texto, lstIndice);
    e->setData(Qt::UserRole, numero);
  }
}

void TfrmAyuda::enlace(const QUrl& url) {
  if (url.scheme() == QStringLiteral("tema")) {
    bool ok = false;
    const int numero = url.path().toInt(&ok);
    if (ok) mostrarTema(numero);
  } else if (url.scheme().isEmpty() && url.hasFragment()) {
    txtTema->scrollToAnchor(url.fragment());
  }
}

void TfrmAyuda::actualizarBotones() {
  butAtras->setEnabled(!atras.isEmpty());
  butAdelante->setEnabled(!adelante.isEmpty());
}
