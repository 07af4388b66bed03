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
  std::optional<QColor> elegirColor(QWidget*, const QColor&) override { return std::nullopt; }
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
  v.actMosaicoExecute();
  return true;
}

const std::map<QString, TEscenario> ESCENARIOS = {
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
