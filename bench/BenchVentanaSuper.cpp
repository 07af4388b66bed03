// Tiempo de un tick de la ventana superescalar a la vista: un ciclo, el
// refresco de todas sus rejillas y el repintado, con la configuración por
// defecto y con la mayor (10 unidades de cada tipo, latencia 100, emisión 16:
// ROB de 6060 entradas, estaciones de 1010 filas) con las estructuras llenas;
// y la memoria del proceso a lo largo de 10 000 ciclos.
//
// Uso: orvex_bench_ventana_super [ciclos_de_memoria]
// Sin pantalla usa la plataforma offscreen; con xvfb-run, la de X11.

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QMdiArea>
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/TDialogosMudos.h"
#include "Simulador/control/TControladorMaquina.h"
#include "Simulador/dialogos/TdlgIntervalo.h"
#include "Simulador/superescalar/TfrmExeSuper.h"
#include "loader/TCodigo.h"
#include "superscalar/TMaquinaSuper.h"

namespace {

// Bucle sin fin que llena el ROB y las estaciones: cadenas de multiplicaciones
// (que retienen la confirmación) de las que dependen sumas y accesos a memoria.
const char* const PROGRAMA = R"(9
BUCLE: DADDUI R1 R1 #1
       MULTI  R3 R3 R1
       ADDI   R4 R4 R3
       MULTF  F1 F1 F2
       ADDF   F3 F3 F1
       LF     F4 0(R0)
       SF     F3 512(R0)
       ADDF   F5 F5 F4
       BEQ    R0 R0 BUCLE
)";

// Para la configuración mayor: dos cadenas de multiplicaciones de latencia 100
// y detrás, de cada tipo de unidad, instrucciones que esperan a las cadenas;
// el ROB y las seis estaciones se llenan y siguen llenos cientos de ciclos.
std::string programaQueLlena(int cadena, int vueltas) {
  std::string cuerpo;
  int n = 0;
  auto linea = [&](const std::string& l) {
    cuerpo += l + "\n";
    ++n;
  };
  for (int i = 0; i < cadena; ++i) {
    linea("MULTI R3 R3 R3");
    linea("MULTF F1 F1 F1");
  }
  for (int i = 0; i < vueltas; ++i) {
    linea("ADDI R4 R3 R3");
    linea("MULTI R5 R3 R3");
    linea("ADDF F3 F1 F1");
    linea("MULTF F4 F1 F1");
    linea("LI R6 0(R3)");
    linea("BNE R3 R0 FIN");
  }
  linea("FIN: ADDI R7 R0 R0");
  return std::to_string(n) + "\n" + cuerpo;
}

// Memoria residente del proceso, en KiB.
long residenteKiB() {
  QFile f(QStringLiteral("/proc/self/statm"));
  if (!f.open(QIODevice::ReadOnly)) return -1;
  const QList<QByteArray> campos = f.readAll().simplified().split(' ');
  return campos.size() > 1 ? campos[1].toLong() * 4 : -1;
}

struct TMedida {
  double mediana = 0, p95 = 0, maximo = 0;
};

TMedida resumir(std::vector<double> ms) {
  std::sort(ms.begin(), ms.end());
  TMedida r;
  r.mediana = ms[ms.size() / 2];
  r.p95 = ms[std::min(ms.size() - 1, ms.size() * 95 / 100)];
  r.maximo = ms.back();
  return r;
}

void medir(const char* nombre, bool maxima, QMdiArea& area, TServicioDialogos& dialogos, TdlgIntervalo& dlg,
           const TCodigo& codigo, int ciclosMemoria) {
  TMaquinaSuper m;
  if (maxima) {
    m.numUF.fill(MAX_UF);
    m.latUF.fill(MAX_LATENCIA);
    m.emision = MAX_EMISION;
  }
  m.codigo = &codigo;
  m.memoria.sembrar(1);
  m.reset(true);
  TControladorMaquina control(m, dialogos);
  auto* v = new TfrmExeSuper(m, control, dialogos, dlg);
  area.addSubWindow(v);
  v->show();
  v->showMaximized();
  QApplication::processEvents();

  // Hasta tener el ROB lleno (al 98 %; o un máximo de ciclos), sin medir.
  int calentamiento = 0;
  while (m.rob.numElementos() < m.rob.capacidad() * 98 / 100 && calentamiento < 20000) {
    m.ejecutarCiclo();
    ++calentamiento;
  }
  v->actualizar();
  QApplication::processEvents();

  // (a) lo que hace un tick: ciclo, refresco y el repintado de lo que cambió;
  // (b) lo mismo repintando entera la ventana principal (cota superior).
  const int N = 200;
  std::vector<double> tick, entera;
  QElapsedTimer t;
  for (int i = 0; i < N; ++i) {
    t.start();
    m.ejecutarCiclo();
    v->actualizar();
    QApplication::processEvents();
    tick.push_back(static_cast<double>(t.nsecsElapsed()) / 1e6);
  }
  for (int i = 0; i < N; ++i) {
    t.start();
    m.ejecutarCiclo();
    v->actualizar();
    area.window()->repaint();
    entera.push_back(static_cast<double>(t.nsecsElapsed()) / 1e6);
  }
  size_t enER = 0, capER = 0;  // al final de las medidas
  for (int tipo = 0; tipo < NUM_TIPOS_UF; ++tipo) {
    enER += m.er[static_cast<size_t>(tipo)].size();
    capER += static_cast<size_t>(m.capacidadER(tipo));
  }
  const TMedida a = resumir(tick), b = resumir(entera);
  std::printf("%s: ROB %d/%d, estaciones %zu/%zu tras %d ciclos\n", nombre, m.rob.numElementos(), m.rob.capacidad(),
              enER, capER, calentamiento);
  std::printf("  ciclo + refresco + repintado:          mediana %.2f ms, p95 %.2f ms, máx %.2f ms\n", a.mediana, a.p95,
              a.maximo);
  std::printf("  ciclo + refresco + ventana entera:     mediana %.2f ms, p95 %.2f ms, máx %.2f ms\n", b.mediana, b.p95,
              b.maximo);

  // Memoria: ciclos seguidos con refresco y repintado; la residente no debe crecer.
  const long antes = residenteKiB();
  long enMitad = 0;
  QElapsedTimer total;
  total.start();
  for (int i = 1; i <= ciclosMemoria; ++i) {
    if (m.ejecutarCiclo() != CICLO_NORMAL) {
      m.reset(true);
    }
    v->actualizar();
    QApplication::processEvents();
    if (i == ciclosMemoria / 2) enMitad = residenteKiB();
  }
  const long despues = residenteKiB();
  std::printf("  memoria residente en %d ciclos: %ld KiB al empezar, %ld a la mitad, %ld al final (%+ld KiB), %.1f s\n",
              ciclosMemoria, antes, enMitad, despues, despues - antes, static_cast<double>(total.elapsed()) / 1000.0);
  std::fflush(stdout);
  delete v;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication aplicacion(argc, argv);
  QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain));
  const int ciclosMemoria = argc > 1 ? std::max(2, std::atoi(argv[1])) : 10000;
  TCodigo bucle, lleno;
  if (bucle.cargarTexto(PROGRAMA) != CARGA_OK || lleno.cargarTexto(programaQueLlena(30, 1010)) != CARGA_OK) {
    std::fprintf(stderr, "un programa de medida no carga\n");
    return 1;
  }
  TDialogosMudos dialogos;
  TdlgIntervalo dlg(dialogos);
  QMdiArea area;
  area.resize(1600, 1000);
  area.show();
  std::printf("plataforma: %s, área %dx%d\n", qPrintable(QGuiApplication::platformName()), area.width(), area.height());
  medir("por defecto", false, area, dialogos, dlg, bucle, ciclosMemoria);
  medir("la mayor", true, area, dialogos, dlg, lleno, ciclosMemoria);
  return 0;
}
