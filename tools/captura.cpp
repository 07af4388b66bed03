// Captura de la ventana principal en un escenario: orvex-captura ESCENARIO FICHERO.png
// La ventana es la de verdad; solo los diálogos responden solos (el de abrir
// elige el ejemplo del escenario y los mensajes se anotan en la salida de errores).
// Para capturar sin pantalla: xvfb-run -a orvex-captura superescalar docs/principal.png

#include <QApplication>
#include <QDir>
#include <QLocale>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPixmap>
#include <QTimer>
#include <cstdio>
#include <functional>
#include <map>

#include "Simulador/Main.h"
#include "Simulador/TServicioDialogos.h"
#include "loader/TCodigo.h"
#include "superscalar/TMaquinaSuper.h"
#include "vliw/TMaquinaVLIW.h"

namespace {

class TDialogosAutomaticos : public TServicioDialogos {
public:
  QStringList ficheros;
  QStringList mensajes;

  void mensaje(QWidget*, const QString& texto, const QString& detalle) override {
    mensajes << texto;
    std::fprintf(stderr, "mensaje: %s %s\n", qPrintable(texto), qPrintable(detalle));
  }
  bool confirmar(QWidget*, const QString&) override { return true; }
  QString abrirFichero(QWidget*, const QString&) override { return ficheros.isEmpty() ? QString() : ficheros.takeFirst(); }
  QString guardarFichero(QWidget*, const QString&, const QString&) override { return {}; }
  QList<QColor> colores;  // respuestas del selector de color, en orden
  std::optional<QColor> elegirColor(QWidget*, const QColor&) override {
    if (colores.isEmpty()) return std::nullopt;
    return colores.takeFirst();
  }
  int pedirCantidad(QWidget*, const QString&, const QString&, int, int, int, int&) override { return RESULTADO_CANCELAR; }
  int preguntarGuardarCambio(QWidget*) override { return RESULTADO_CANCELAR; }
  int ejecutarModal(QDialog&) override { return RESULTADO_CANCELAR; }
};

const QString EJEMPLOS = QStringLiteral(ORVEX_DIR_EJEMPLOS);

// Ejecuta ticks hasta que la máquina m termina (o un límite de seguridad).
bool ejecutarHastaCompletar(TfrmPrincipal& v, TDialogosAutomaticos& d, int m) {
  for (int i = 0; i < 100000 && !d.mensajes.contains(QStringLiteral("Ejecución completada")); ++i) {
    if (m == TfrmPrincipal::VLIW) v.timSimulVLIWTimer();
    else v.timSimulSuperTimer();
    if (!v.timer(m)->isActive()) break;
  }
  return d.mensajes.contains(QStringLiteral("Ejecución completada"));
}

// Cada escenario deja la ventana como debe salir en la captura; false si falla.
using TEscenario = std::function<bool(TfrmPrincipal&, TDialogosAutomaticos&)>;

bool escenarioSuperescalar(TfrmPrincipal& v, TDialogosAutomaticos& d) {
  d.ficheros << EJEMPLOS + QStringLiteral("/vector_suma.pla");
  v.actAbrir->trigger();
  if (!v.codigo) return false;
  v.actVerBB->trigger();
  v.mnuCompGPRClick();
  v.mnuCompMemClick();
  v.actIni->trigger();
  if (!ejecutarHastaCompletar(v, d, TfrmPrincipal::SUPERESCALAR)) return false;
  // El panel de código toma su ancho al procesar los eventos: el mosaico, después.
  QApplication::processEvents();
  v.actMosaicoExecute();
  return true;
}

bool escenarioVLIW(TfrmPrincipal& v, TDialogosAutomaticos& d) {
  d.ficheros << EJEMPLOS + QStringLiteral("/vector_suma.pla");
  v.actAbrir->trigger();
  if (!v.codigo) return false;
  if (!v.maquinaVLIW->cargarCodigo((EJEMPLOS + QStringLiteral("/vector_suma.vliw")).toStdString(), *v.codigo))
    return false;
  v.seleccionarMaquina(TfrmPrincipal::VLIW);
  v.mnuCompFPRClick();
  v.mnuCompMemClick();
  v.actIni->trigger();
  if (!ejecutarHastaCompletar(v, d, TfrmPrincipal::VLIW)) return false;
  // El panel de código toma su ancho al procesar los eventos: el mosaico, después.
  QApplication::processEvents();
  v.actMosaicoExecute();
  return true;
}

// Ejecución superescalar a medias: varias instrucciones en vuelo y una coloreada.
bool escenarioEjecucionSuperescalar(TfrmPrincipal& v, TDialogosAutomaticos& d) {
  v.resize(1400, 860);
  d.ficheros << EJEMPLOS + QStringLiteral("/producto_escalar.pla");
  v.actAbrir->trigger();
  if (!v.codigo) return false;
  v.mnuCompFPRClick();
  v.actIni->trigger();
  // Hasta que el bucle principal tenga varias vueltas en vuelo.
  for (int i = 0; i < 200 && v.maquinaSuper->rob.numElementos() < 12; ++i) v.timSimulSuperTimer();
  if (!v.frmExeSuper || !v.timSimulSuper->isActive()) return false;
  v.timSimulSuper->stop();
  // Se colorea, como con un doble clic, una suma entera que está en su unidad:
  // se ve en el ROB, en su estación y en la unidad.
  const auto& rob = v.maquinaSuper->rob;
  for (int fila = 0; fila < rob.numElementos(); ++fila) {
    const TEntradaROB* e = rob.enOrden(fila);
    if (e->etapa == ETAPA_EXEC && e->instruccion->tipoUnidad() == tufSumaEntera) {
      d.colores << QColor(255, 196, 120);
      v.frmExeSuper->colorearFila(fila);
      return true;
    }
  }
  return false;
  return true;
}

// Ejecución VLIW a medias del ejemplo de suma de vectores.
bool escenarioEjecucionVLIW(TfrmPrincipal& v, TDialogosAutomaticos& d) {
  v.resize(1100, 760);
  d.ficheros << EJEMPLOS + QStringLiteral("/vector_suma.pla");
  v.actAbrir->trigger();
  if (!v.codigo) return false;
  if (!v.maquinaVLIW->cargarCodigo((EJEMPLOS + QStringLiteral("/vector_suma.vliw")).toStdString(), *v.codigo))
    return false;
  v.seleccionarMaquina(TfrmPrincipal::VLIW);
  v.mnuCompGPRClick();
  v.actIni->trigger();
  // Hasta un ciclo con una carga en vuelo (su NaT a V) y otras operaciones en las unidades.
  auto enVuelo = [&v] {
    int n = 0;
    for (const auto& tipo : v.maquinaVLIW->uf)
      for (const TUnidadFuncional& u : tipo) n += u.ocupadas;
    return n;
  };
  auto hayNaT = [&v] {
    for (int r = 0; r < NUM_REGISTROS; ++r)
      if (v.maquinaVLIW->natGPR[static_cast<size_t>(r)] || v.maquinaVLIW->natFPR[static_cast<size_t>(r)]) return true;
    return false;
  };
  for (int i = 0; i < 60 && !(hayNaT() && enVuelo() >= 2); ++i) v.timSimulVLIWTimer();
  if (!v.frmExeVLIW || !v.timSimulVLIW->isActive()) return false;
  v.timSimulVLIW->stop();
  return true;
}

const std::map<QString, TEscenario> ESCENARIOS = {
    {QStringLiteral("ejecucion-superescalar"), escenarioEjecucionSuperescalar},
    {QStringLiteral("ejecucion-vliw"), escenarioEjecucionVLIW},
    {QStringLiteral("superescalar"), escenarioSuperescalar},
    {QStringLiteral("vliw"), escenarioVLIW},
};

}  // namespace

int main(int argc, char** argv) {
  QApplication aplicacion(argc, argv);
  QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain));
  const QStringList args = QApplication::arguments();
  if (args.size() != 3 || ESCENARIOS.count(args[1]) == 0) {
    QStringList nombres;
    for (const auto& [nombre, escenario] : ESCENARIOS) nombres << nombre;
    std::fprintf(stderr, "uso: orvex-captura {%s} FICHERO.png\n", qPrintable(nombres.join(QLatin1Char('|'))));
    return 2;
  }
  TDialogosAutomaticos dialogos;
  TfrmPrincipal ventana(dialogos);
  ventana.resize(1100, 720);
  ventana.move(0, 0);
  ventana.show();
  ventana.activateWindow();
  QApplication::processEvents();
  if (!ESCENARIOS.at(args[1])(ventana, dialogos)) {
    std::fprintf(stderr, "el escenario %s no ha terminado como se esperaba\n", qPrintable(args[1]));
    return 1;
  }
  // Deja que se repinte todo antes de capturar.
  QTimer::singleShot(300, &aplicacion, &QApplication::quit);
  QApplication::exec();
  if (!ventana.grab().save(args[2])) {
    std::fprintf(stderr, "no se puede escribir %s\n", qPrintable(args[2]));
    return 1;
  }
  return 0;
}
