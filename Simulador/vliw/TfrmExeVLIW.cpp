#include "Simulador/vliw/TfrmExeVLIW.h"

#include <QHeaderView>
#include <QLabel>
#include <QMdiArea>
#include <QSplitter>
#include <QVBoxLayout>
#include <algorithm>

#include "Simulador/componentes/TfrmSelecBool.h"
#include "Simulador/comunes/TColumnaVistas.h"
#include "Simulador/comunes/TPanelRejilla.h"
#include "Simulador/comunes/TRejillaEjecucion.h"
#include "Simulador/comunes/TfrmUF.h"
#include "vliw/TMaquinaVLIW.h"

TfrmExeVLIW::TfrmExeVLIW(TMaquinaVLIW& m, TServicioDialogos& dialogos, TdlgIntervalo& dlgIntervalo, QWidget* padre)
    : QMdiSubWindow(padre), maquina(m) {
  setObjectName(QStringLiteral("frmExeVLIW"));
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(QStringLiteral("Ejecución VLIW"));
  setProperty("temaAyuda", TEMA_AYUDA);

  auto bits = [&](const char* nombre, const std::array<bool, NUM_REGISTROS> TMaquinaVLIW::*vector,
                  const QString& prefijo, const QString& tituloVista) {
    auto* v = new TfrmSelecBool(dialogos, dlgIntervalo);
    v->setObjectName(QString::fromLatin1(nombre));
    v->asignar(
        [this, vector](int32_t i) { return i >= 0 && i < NUM_REGISTROS && (maquina.*vector)[static_cast<size_t>(i)]; },
        NUM_REGISTROS, prefijo, tituloVista);
    return v;
  };
  frmSelecNATGPR = bits("frmSelecNATGPR", &TMaquinaVLIW::natGPR, QStringLiteral("R"), QStringLiteral("NaT (GPR)"));
  frmSelecNATFPR = bits("frmSelecNATFPR", &TMaquinaVLIW::natFPR, QStringLiteral("F"), QStringLiteral("NaT (FPR)"));
  frmSelecPred = bits("frmSelecPred", &TMaquinaVLIW::predicados, QStringLiteral("p"), QStringLiteral("Reg. Pred."));

  auto* componentes = new QSplitter(Qt::Vertical);
  componentes->setChildrenCollapsible(false);
  for (TfrmSelecBool* v : {frmSelecNATGPR, frmSelecNATFPR, frmSelecPred}) {
    v->setMinimumHeight(20);
    componentes->addWidget(v);
  }

  colUF = new TColumnaVistas;
  for (int t = 0; t < NUM_TIPOS_UF; ++t) {
    auto* uf = new TfrmUF(
        [this, t]() -> const std::vector<TUnidadFuncional>& { return maquina.uf[static_cast<size_t>(t)]; }, t,
        QString::fromStdString(nombresTipoUF[static_cast<size_t>(t)]));
    uf->setObjectName(QStringLiteral("frmUF%1").arg(t + 1));
    frmUF[static_cast<size_t>(t)] = uf;
    colUF->anadir(uf);
  }

  auto* izquierda = TColumnaVistas::conTitulo(QStringLiteral("Componentes"), QStringLiteral("Componentes"), componentes);
  auto* derecha = TColumnaVistas::conTitulo(QStringLiteral("U. F."), QStringLiteral("Unidades Funcionales"), colUF);
  auto* principal = new QSplitter(Qt::Horizontal);
  principal->setObjectName(QStringLiteral("splPrincipal"));
  principal->setChildrenCollapsible(false);
  principal->addWidget(izquierda);
  principal->addWidget(derecha);
  principal->setStretchFactor(1, 1);
  // Sin esto el mínimo de la ventana sería la suma de los de todas sus rejillas,
  // y el área de ventanas (que respeta el mínimo de cada hija) crecería más
  // allá de la ventana principal.
  principal->setMinimumSize(160, 120);
  setWidget(principal);

  // Ancho inicial: los 229 píxeles de la ventana o lo que pidan las
  // columnas de las unidades, si son más.
  int anchoUF = 0;
  for (TfrmUF* uf : frmUF) anchoUF = std::max(anchoUF, uf->anchoNecesario());
  anchoUF = std::max(anchoUF, 229 - ANCHO_COMPONENTES);
  principal->setSizes({ANCHO_COMPONENTES, anchoUF});
  resize(ANCHO_COMPONENTES + anchoUF + principal->handleWidth() + 16, 600);
}

void TfrmExeVLIW::showEvent(QShowEvent* evento) {
  QMdiSubWindow::showEvent(evento);
  if (!primeraVez) return;
  primeraVez = false;
  // 600 de alto, o más si hace falta para que cada vista de unidades enseñe
  // todas sus filas (sin pasar del área de la ventana principal), y centrada en ella.
  const QMdiArea* area = mdiArea();
  const QRect r = area ? area->viewport()->rect() : QRect(0, 0, width(), height());
  int unidades = colUF->handleWidth() * (NUM_TIPOS_UF - 1);
  for (const TfrmUF* uf : frmUF) unidades += uf->alturaCompleta();
  const int marco = widget() ? height() - widget()->height() : 0;
  const int alto = std::clamp(unidades + TPanelRejilla::ALTO_TITULO + marco, 600, std::max(600, r.height()));
  resize(width(), std::min(alto, std::max(r.height(), 200)));
  move(std::max(0, (r.width() - width()) / 2), std::max(0, (r.height() - height()) / 2));
}

void TfrmExeVLIW::actualizar() {
  for (TfrmUF* uf : frmUF) uf->actualizar();
  frmSelecNATGPR->refrescar();
  frmSelecNATFPR->refrescar();
  frmSelecPred->refrescar();
}
