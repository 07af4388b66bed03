// El controlador de una máquina sin ninguna ventana: la tabla de estados de una
// ejecución, el orden de sus señales y mensajes (lo que escuchan las vistas) y
// las ediciones del usuario, que nunca escriben fuera de la máquina.

#include <QTimer>
#include <QtTest>
#include <memory>
#include <stdexcept>

#include "Simulador/aplicacion/TAplicacion.h"
#include "Simulador/control/TControladorMaquina.h"
#include "TServicioDialogosGuion.h"
#include "loader/TCodigo.h"
#include "superscalar/TMaquinaSuper.h"
#include "vliw/TMaquinaVLIW.h"

namespace {

// Una sola instrucción: la superescalar la confirma en el ciclo 6.
const char* const UNA_ADDI = "1\nADDI R1 R2 R3\n";
// Dos sumas en coma flotante y una multiplicación entera, emitidas en el ciclo 3.
const char* const TRES = "3\nADDF F1 F2 F3\nADDF F4 F1 F1\nMULTI R1 R2 R3\n";
const char* const SECUENCIAL_VLIW = "1\nDADDUI R1 R0 #1\n";

const QString COMPLETADA = QStringLiteral("Ejecución completada");
const QString REINICIAR = QStringLiteral("Esto detendrá la ejecución actual e iniciará una nueva. ¿Desea reiniciar?");

}  // namespace

class PruebasControlador : public QObject {
  Q_OBJECT

  QTemporaryDir dir;
  std::unique_ptr<TServicioDialogosGuion> dialogos;
  TCodigo codigo;
  std::unique_ptr<TMaquinaSuper> super;
  std::unique_ptr<TMaquinaVLIW> vliw;
  std::unique_ptr<TControladorMaquina> c;
  // Señales y mensajes en el orden en que llegan.
  QStringList sucesos;

  QString fichero(const QString& nombre, const QByteArray& texto) {
    const QString ruta = dir.filePath(nombre);
    QFile f(ruta);
    if (!f.open(QIODevice::WriteOnly)) qFatal("no se puede escribir %s", qPrintable(ruta));
    f.write(texto);
    return ruta;
  }

  void escuchar() {
    connect(c.get(), &TControladorMaquina::ejecucionIniciada, this,
            [this](bool continua) { sucesos << (continua ? "iniciada:continua" : "iniciada:paso"); });
    connect(c.get(), &TControladorMaquina::cicloEjecutado, this, [this] { sucesos << "ciclo"; });
    connect(c.get(), &TControladorMaquina::ejecucionTerminada, this, [this](TFinEjecucion fin) {
      sucesos << (fin == TFinEjecucion::completada ? "terminada:completada"
                  : fin == TFinEjecucion::error    ? "terminada:error"
                                                   : "terminada:parada");
    });
    connect(c.get(), &TControladorMaquina::estadoCambiado, this,
            [this](bool enMarcha) { sucesos << (enMarcha ? "estado:true" : "estado:false"); });
    dialogos->alMostrarMensaje = [this](const QString& texto) { sucesos << "mensaje:" + texto; };
  }

  void controladorSuper(const char* programa) {
    QCOMPARE(codigo.cargar(fichero(QStringLiteral("p.pla"), programa).toStdString()), CARGA_OK);
    super = std::make_unique<TMaquinaSuper>();
    c = std::make_unique<TControladorMaquina>(*super, *dialogos);
    c->asignarPrograma(&codigo);
    escuchar();
  }

  // n instrucciones largas de un DADDUI; breakpoint en la instrucción larga «parada».
  void controladorVLIW(int n, int parada = -1) {
    QCOMPARE(codigo.cargar(fichero(QStringLiteral("s.pla"), SECUENCIAL_VLIW).toStdString()), CARGA_OK);
    vliw = std::make_unique<TMaquinaVLIW>();
    QByteArray texto = QByteArray::number(n) + '\n';
    for (int i = 0; i < n; ++i) texto += "1\t0 0 0 0\n";
    QVERIFY(vliw->cargarCodigo(fichero(QStringLiteral("p.vliw"), texto).toStdString(), codigo));
    if (parada >= 0) vliw->codigo.instruccion(parada)->breakpoint = true;
    c = std::make_unique<TControladorMaquina>(*vliw, *dialogos);
    escuchar();
  }

  void tic() { c->tic("Prueba.cpp", "PruebasControlador::tic"); }

private slots:
  void init() {
    dialogos = std::make_unique<TServicioDialogosGuion>();
    sucesos.clear();
  }

  void cleanup() {
    QCOMPARE(dialogos->sinRespuesta, 0);
    c.reset();
    super.reset();
    vliw.reset();
    dialogos.reset();
  }

  void temporizadorConSuNombre() {
    controladorSuper(UNA_ADDI);
    QCOMPARE(c->temporizador()->objectName(), QStringLiteral("timSimulSuper"));
    QCOMPARE(c->tipo(), TTipoMaquina::superescalar);
    QVERIFY(c->maquinaSuper() && !c->maquinaVLIW());
    controladorVLIW(1);
    QCOMPARE(c->temporizador()->objectName(), QStringLiteral("timSimulVLIW"));
    QCOMPARE(c->tipo(), TTipoMaquina::vliw);
  }

  // Lo que oyen las vistas de una ejecución continua hasta completarse.
  void iniciarYTicsHastaCompletar() {
    controladorSuper(UNA_ADDI);
    c->iniciar();
    QCOMPARE(sucesos, QStringList({"iniciada:continua", "estado:true"}));
    QCOMPARE(super->ciclo, 0);
    QVERIFY(c->enEjecucion() && c->temporizador()->isActive());
    QCOMPARE(c->temporizador()->interval(), 600);
    for (int i = 0; i < 5; ++i) tic();
    sucesos.clear();
    bool parado = false;
    dialogos->alMostrarMensaje = [&](const QString& texto) {
      parado = !c->temporizador()->isActive();
      sucesos << "mensaje:" + texto;
    };
    tic();
    // Las vistas enseñan el último ciclo antes del mensaje; el desbloqueo, después.
    QCOMPARE(sucesos, QStringList({"ciclo", "mensaje:" + COMPLETADA, "terminada:completada", "estado:false"}));
    QVERIFY(parado);
    QVERIFY(!c->enEjecucion());
    QCOMPARE(super->ciclo, 6);
  }

  void pasoEmpiezaUnaEjecucionYPararNoResetea() {
    controladorSuper(UNA_ADDI);
    super->gpr.valor[7] = 7;
    c->paso();
    QCOMPARE(sucesos, QStringList({"estado:true", "iniciada:paso", "ciclo"}));
    QCOMPARE(super->ciclo, 1);
    QVERIFY(c->enEjecucion() && !c->temporizador()->isActive());
    QCOMPARE(super->gpr.valor[7], 7);  // sin «limpiar»
    sucesos.clear();
    c->paso();
    QCOMPARE(sucesos, QStringList({"ciclo"}));
    sucesos.clear();
    c->parar();
    QCOMPARE(sucesos, QStringList({"terminada:parada", "estado:false"}));
    QCOMPARE(super->ciclo, 2);
    // Con «limpiar», el siguiente paso empieza con los registros a cero.
    c->setLimpiarAlIniciar(true);
    c->paso();
    QCOMPARE(super->gpr.valor[7], 0);
    QCOMPARE(super->ciclo, 1);
  }

  void breakpointEnTicYEnPaso() {
    controladorVLIW(6, 2);
    c->iniciar();
    tic();
    tic();
    tic();  // la instrucción larga 2 llega a la emisión
    QCOMPARE(dialogos->mensajes(), QStringList(QStringLiteral("Ejecución detenida: BREAKPOINT")));
    QVERIFY(c->enBreakpoint() && c->enEjecucion() && !c->temporizador()->isActive());
    // Un paso en el breakpoint no da mensaje y lo deja marcado.
    c->paso();
    QCOMPARE(dialogos->mensajes().size(), 1);
    QVERIFY(c->enBreakpoint());
    // Iniciar reanuda sin preguntar y sin empezar otra ejecución.
    sucesos.clear();
    const int ciclo = vliw->ciclo;
    c->iniciar();
    QVERIFY(sucesos.isEmpty());
    QVERIFY(dialogos->de(QStringLiteral("confirmar")).isEmpty());
    QVERIFY(c->temporizador()->isActive() && !c->enBreakpoint());
    QCOMPARE(vliw->ciclo, ciclo);
  }

  void reiniciarPregunta() {
    controladorVLIW(10);
    c->iniciar();
    tic();
    tic();
    c->pausa();
    sucesos.clear();
    dialogos->confirmaciones << false << true;
    c->iniciar();  // No: sigue donde estaba, otra vez en marcha
    QCOMPARE(dialogos->de(QStringLiteral("confirmar")), QStringList(REINICIAR));
    QVERIFY(sucesos.isEmpty());
    QVERIFY(c->temporizador()->isActive());
    QCOMPARE(vliw->ciclo, 2);
    c->iniciar();  // Sí: ejecución nueva desde el ciclo 0
    QCOMPARE(sucesos, QStringList({"iniciada:continua", "estado:true"}));
    QCOMPARE(vliw->ciclo, 0);
  }

  void comprobacionPreviaDetieneIniciarYPaso() {
    controladorVLIW(3);
    vliw->ciclo = 9;
    int preguntas = 0;
    c->setComprobacionPrevia([&] {
      ++preguntas;
      return false;
    });
    c->iniciar();
    c->paso();
    QCOMPARE(preguntas, 2);
    QVERIFY(sucesos.isEmpty());
    QCOMPARE(vliw->ciclo, 9);
    QVERIFY(!c->enEjecucion() && !c->temporizador()->isActive());
  }

  // Un fallo dentro del tic (aquí, de una vista que escucha) se informa con el
  // manejador que dio el tic y deja la ejecución detenida, no terminada.
  void falloEnUnTic() {
    controladorVLIW(10);
    c->iniciar();
    connect(c.get(), &TControladorMaquina::cicloEjecutado, this, [] { throw std::runtime_error("vista rota"); });
    tic();
    QCOMPARE(dialogos->mensajes(),
             QStringList(QStringLiteral("Excepción no controlada en fichero \"Prueba.cpp\", función \"PruebasControlador::tic")));
    QCOMPARE(dialogos->apuntes.last().detalle, QStringLiteral("vista rota"));
    QVERIFY(!c->temporizador()->isActive());
    QVERIFY(c->enEjecucion());
  }

  void laVelocidadSeLeeAlIniciarYTrasCadaTic() {
    controladorVLIW(20);
    c->setVelocidad(10);
    c->iniciar();
    QCOMPARE(c->temporizador()->interval(), 100);
    c->setVelocidad(1);
    QCOMPARE(c->temporizador()->interval(), 100);
    tic();
    QCOMPARE(c->temporizador()->interval(), 1000);
  }

  // ------------------------------------------------------------ ediciones

  void edicionesFueraDeRangoNoEscriben() {
    controladorSuper(UNA_ADDI);
    const auto gpr = super->gpr.valor;
    const auto fpr = super->fpr.valor;
    const auto memoria = super->memoria.datos;
    for (int32_t i : {-1, NUM_REGISTROS, INT32_MIN, INT32_MAX}) {
      c->escribirRegistroEntero(i, 5);
      c->escribirRegistroReal(i, 5.0f);
      c->cambiarBreakpoint(i, true);
      c->colorearEnVuelo(i, 0xFF00FF00u);
    }
    for (int32_t d : {-1, TAM_MEMORIA, INT32_MAX}) c->escribirMemoria(d, 5.0f);
    QVERIFY(super->gpr.valor == gpr && super->fpr.valor == fpr && super->memoria.datos == memoria);
    QVERIFY(!codigo.instrucciones[0].breakpoint);

    c->escribirRegistroEntero(NUM_REGISTROS - 1, -3);
    c->escribirRegistroReal(2, 1.5f);
    c->escribirMemoria(TAM_MEMORIA - 1, 2.5f);
    c->cambiarPorcentajeFallos(40);
    c->cambiarBreakpoint(0, true);
    QCOMPARE(super->gpr.valor[NUM_REGISTROS - 1], -3);
    QCOMPARE(super->fpr.valor[2], 1.5f);
    QCOMPARE(super->memoria.datos[TAM_MEMORIA - 1], 2.5f);
    QCOMPARE(super->memoria.porcentajeFallos, 40);
    QVERIFY(codigo.instrucciones[0].breakpoint);
  }

  void breakpointDeLaVLIWEnLaInstruccionLarga() {
    controladorVLIW(3);
    c->cambiarBreakpoint(1, true);
    QVERIFY(vliw->codigo.instruccion(1)->breakpoint);
    QVERIFY(!codigo.instrucciones[0].breakpoint);
    c->cambiarBreakpoint(3, true);  // no existe: nada
    c->cambiarBreakpoint(1, false);
    QVERIFY(!vliw->codigo.instruccion(1)->breakpoint);
  }

  // El color va a la copia en vuelo de esa entrada del reorder buffer, no al programa.
  void colorDeUnaInstruccionEnVuelo() {
    controladorSuper(TRES);
    c->paso();
    c->paso();
    c->paso();
    QCOMPARE(super->rob.numElementos(), 3);
    const int32_t etiqueta = super->rob.huecoEnOrden(1);
    c->colorearEnVuelo(etiqueta, colorRGB(255, 255, 0));
    QCOMPARE(super->rob.enOrden(1)->instruccion->color, colorRGB(255, 255, 0));
    QCOMPARE(super->rob.enOrden(0)->instruccion->color, COLOR_POR_DEFECTO);
    QCOMPARE(codigo.instrucciones[1].color, COLOR_POR_DEFECTO);
    // Un hueco vacío no tiene instrucción.
    c->colorearEnVuelo(super->rob.fin, colorRGB(1, 2, 3));
  }
};

int main(int argc, char** argv) {
  TAplicacion aplicacion(argc, argv);
  PruebasControlador pruebas;
  return QTest::qExec(&pruebas, argc, argv);
}

#include "PruebasControlador.moc"
