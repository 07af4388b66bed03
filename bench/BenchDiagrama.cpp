// La ventana del diagrama con una ejecución de 100 000 ciclos (con el límite de
// filas por defecto): el repintado entero de la rejilla a 1400 × 900 en varios
// puntos y con varias anchuras de columna, y lo que cuesta un tic con la
// ventana abierta (un ciclo, el refresco y el repintado).
//
// Uso: orvex_bench_diagrama [ciclos]
// Sin pantalla usa la plataforma offscreen; con xvfb-run, la de X11.

#include <QApplication>
#include <QElapsedTimer>
#include <QMdiArea>
#include <QScrollBar>
#include <QTableView>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "bench/TDialogosMudos.h"
#include "Simulador/control/TControladorMaquina.h"
#include "Simulador/diagrama/TfrmDiagrama.h"
#include "Simulador/diagrama/TRejillaDiagrama.h"
#include "loader/TCodigo.h"
#include "observation/TRegistradorDiagrama.h"
#include "superscalar/TMaquinaSuper.h"

namespace {

// Un bucle con cargas, sumas dependientes y un salto: filas de todas las letras.
const char* const PROGRAMA = R"(6
BUCLE: DADDUI R1 R1 #1
       LF     F1 0(R0)
       ADDF   F2 F2 F1
       SF     F2 400(R0)
       ADDI   R3 R3 R1
       BNE    R1 R0 BUCLE
)";

double mediana(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}
double maximo(const std::vector<double>& v) { return *std::max_element(v.begin(), v.end()); }

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const int ciclos = argc > 1 ? std::atoi(argv[1]) : 100000;

  TCodigo codigo;
  if (codigo.cargarTexto(PROGRAMA) != CARGA_OK) return 1;
  TMaquinaSuper m;
  m.codigo = &codigo;
  m.memoria.sembrar(1);
  m.memoria.porcentajeFallos = 10;
  TDialogosMudos dialogos;
  TControladorMaquina control(m, dialogos);
  TRegistradorDiagrama r(false);
  control.anadirObservador(&r);
  m.reset(true);
  QElapsedTimer t;
  t.start();
  for (int i = 0; i < ciclos; ++i) m.ejecutarCiclo();
  std::printf("%d ciclos registrados en %.0f ms: %lld filas guardadas, %lld descartadas, %.1f MiB\n", ciclos,
              static_cast<double>(t.nsecsElapsed()) / 1e6, static_cast<long long>(r.numFilas()),
              static_cast<long long>(r.filasDescartadas()), static_cast<double>(r.memoria()) / (1 << 20));

  QMdiArea area;
  area.resize(1400, 900);
  area.show();
  auto* v = new TfrmDiagrama(r, control, dialogos);
  area.addSubWindow(v);
  v->showMaximized();
  QApplication::processEvents();
  QTableView* g = v->grdDiagrama;
  std::printf("rejilla visible: %d × %d píxeles\n", g->viewport()->width(), g->viewport()->height());

  const int N = 40;
  for (int ancho : {TfrmDiagrama::ANCHO_CICLO, 8, TfrmDiagrama::ANCHO_MINIMO}) {
    v->setAnchoCiclo(ancho);
    for (double donde : {0.0, 0.5, 1.0}) {
      g->horizontalScrollBar()->setValue(static_cast<int>(g->horizontalScrollBar()->maximum() * donde));
      g->verticalScrollBar()->setValue(static_cast<int>(g->verticalScrollBar()->maximum() * donde));
      QApplication::processEvents();
      std::vector<double> ms;
      for (int i = 0; i < N; ++i) {
        t.start();
        g->viewport()->repaint();
        ms.push_back(static_cast<double>(t.nsecsElapsed()) / 1e6);
      }
      std::printf("repintado, columnas de %2d px, en el %3.0f %%: mediana %.2f ms, máximo %.2f ms\n", ancho,
                  donde * 100, mediana(ms), maximo(ms));
    }
  }
  // Desplazamiento: un paso de la rueda cada vez, con su repintado.
  v->setAnchoCiclo(TfrmDiagrama::ANCHO_CICLO);
  std::vector<double> ms;
  for (int i = 0; i < N; ++i) {
    t.start();
    g->verticalScrollBar()->setValue(g->verticalScrollBar()->value() - 3);
    g->horizontalScrollBar()->setValue(g->horizontalScrollBar()->value() - TfrmDiagrama::ANCHO_CICLO);
    g->viewport()->repaint();
    ms.push_back(static_cast<double>(t.nsecsElapsed()) / 1e6);
  }
  std::printf("desplazar y repintar: mediana %.2f ms, máximo %.2f ms\n", mediana(ms), maximo(ms));

  // Un tic con la ventana abierta siguiendo el final.
  g->horizontalScrollBar()->setValue(g->horizontalScrollBar()->maximum());
  g->verticalScrollBar()->setValue(g->verticalScrollBar()->maximum());
  ms.clear();
  std::vector<double> refresco;
  for (int i = 0; i < N; ++i) {
    t.start();
    m.ejecutarCiclo();
    QElapsedTimer tr;
    tr.start();
    v->actualizar();
    refresco.push_back(static_cast<double>(tr.nsecsElapsed()) / 1e6);
    g->viewport()->repaint();
    ms.push_back(static_cast<double>(t.nsecsElapsed()) / 1e6);
  }
  std::printf("tic (ciclo, refresco y repintado): mediana %.2f ms, máximo %.2f ms; solo el refresco: %.2f ms\n",
              mediana(ms), maximo(ms), mediana(refresco));
  control.quitarObservador(&r);
  delete v;
  return 0;
}
