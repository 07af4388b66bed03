// Lo que cuesta el editor de código con un programa típico y con el mayor que
// abre (1 MiB): abrirlo (leer, colorear, analizar), una tecla (colorear la
// línea y volver a buscar las etiquetas de todo el texto), una tecla que
// define una etiqueta (todo el texto se vuelve a colorear) y un análisis tras
// la pausa. Mediana de varias repeticiones, en milisegundos.
//
// Uso: orvex_bench_editor (plataforma offscreen si no se dice otra).

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextBlock>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "bench/TDialogosMudos.h"
#include "Simulador/editor/TEditorFuente.h"
#include "Simulador/editor/TfrmEditorCodigo.h"

namespace {

// Un programa con bucles, etiquetas y comentarios de casi «bytes» bytes.
QByteArray programaDe(qint64 bytes) {
  QByteArray cuerpo;
  int n = 0;
  while (cuerpo.size() < bytes - 200) {
    cuerpo += "L" + QByteArray::number(n) + ":  LF     F2 16(R3)       // carga\n";
    cuerpo += "        ADDF   F4 F2 F6\n";
    cuerpo += "        SF     F4 16(R3)\n";
    cuerpo += "        DADDUI R3 R3 #1\n";
    cuerpo += "        BNE    R3 R5 L" + QByteArray::number(n) + "\n";
    n += 5;
  }
  return QByteArray::number(n) + "\n" + cuerpo;
}

double mediana(int veces, const std::function<void()>& medir, const std::function<void()>& antes = {}) {
  std::vector<double> ms;
  for (int i = 0; i < veces; ++i) {
    if (antes) antes();
    QElapsedTimer reloj;
    reloj.start();
    medir();
    ms.push_back(static_cast<double>(reloj.nsecsElapsed()) / 1e6);
  }
  std::sort(ms.begin(), ms.end());
  return ms[ms.size() / 2];
}

void medir(const char* nombre, const QString& ruta) {
  TDialogosMudos dialogos;
  TfrmEditorCodigo e(dialogos);
  e.resize(800, 600);
  e.show();
  const double abrir = mediana(5, [&] { e.abrir(ruta); });
  if (!e.correcto()) std::fprintf(stderr, "%s no carga: %s\n", nombre, qPrintable(e.detalleError()));
  QTextCursor c(e.txtFuente->document()->lastBlock());
  c.movePosition(QTextCursor::EndOfBlock);
  const double tecla = mediana(21, [&] { c.insertText(QStringLiteral("x")); });
  // Una etiqueta nueva cambia el color de sus usos en cualquier línea.
  QTextCursor etiqueta(e.txtFuente->document()->lastBlock());
  int nuevas = 0;
  const double teclaEtiqueta = mediana(
      11, [&] { etiqueta.insertText(QStringLiteral(":")); },
      [&] {
        etiqueta.movePosition(QTextCursor::EndOfBlock);
        etiqueta.insertText(QStringLiteral("\nZZ%1").arg(++nuevas));
      });
  const double analisis = mediana(11, [&] { e.timAnalisisTimer(); });
  std::printf("%-24s %8.0f KiB  abrir %8.2f ms  tecla %6.2f ms  tecla que define etiqueta %7.2f ms  análisis %7.2f ms\n",
              nombre, static_cast<double>(QFile(ruta).size()) / 1024.0, abrir, tecla, teclaEtiqueta, analisis);
  e.txtFuente->document()->setModified(false);
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication aplicacion(argc, argv);
  QTemporaryDir dir;
  const QString grande = dir.filePath(QStringLiteral("grande.pla"));
  QFile f(grande);
  if (!f.open(QIODevice::WriteOnly) || f.write(programaDe(TfrmEditorCodigo::TAM_MAXIMO)) < 0) return 1;
  f.close();
  medir("vector_suma.pla", QStringLiteral(ORVEX_DIR_EJEMPLOS "/vector_suma.pla"));
  medir("1 MiB", grande);
  return 0;
}
