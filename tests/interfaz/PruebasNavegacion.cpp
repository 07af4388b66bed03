// Las órdenes de navegación en el tiempo: «Retroceder un ciclo», «Ir al
// ciclo…» y «Ejecutar hasta el final», en el controlador (sus señales, sus
// mensajes, los trozos de la ejecución rápida y lo que la interrumpe) y en la
// ventana principal (menú, barra, teclas, diálogo y barra de progreso).

#include <QProgressBar>
#include <QStatusBar>
#include <QtTest>
#include <memory>

#include "AyudaPrincipal.h"
#include "Simulador/aplicacion/TAplicacion.h"
#include "TServicioDialogosGuion.h"
#include "loader/TCodigo.h"
#include "session/TSesion.h"
#include "superscalar/TInstantaneaSuper.h"

namespace {

// Un bucle de «n» vueltas con una carga (siempre de la misma palabra).
QByteArray bucle(int n) {
  return "5\n"
         "      DADDUI R2 R0 #" +
         QByteArray::number(n) +
         "\n"
         "BUC:  LF     F1 4(R0)\n"
         "      ADDF   F2 F2 F1\n"
         "      DADDUI R1 R1 #1\n"
         "      BNE    R1 R2 BUC\n";
}

const QString COMPLETADA = QStringLiteral("Ejecución completada");
const QString BREAKPOINT = QStringLiteral("Ejecución detenida: BREAKPOINT");

// Apunta a qué ciclo le dicen que se volvió.
class TObservadorVueltas : public TObservadorCiclo {
public:
  QList<int32_t> vueltas;
  int32_t ultimoCiclo = 0;
  void vueltaAtras(int32_t c) override { vueltas << c; }
  void finCiclo(int32_t c, int8_t) override { ultimoCiclo = c; }
};

}  // namespace

class PruebasNavegacion : public QObject {
  Q_OBJECT

  QTemporaryDir dir;
  std::unique_ptr<TServicioDialogosGuion> dialogos;
  TCodigo codigo;
  std::unique_ptr<TMaquinaSuper> super;
  std::unique_ptr<TControladorMaquina> c;
  QStringList sucesos;

  QString fichero(const QString& nombre, const QByteArray& texto) {
    const QString ruta = dir.filePath(nombre);
    QFile f(ruta);
    if (!f.open(QIODevice::WriteOnly)) qFatal("no se puede escribir %s", qPrintable(ruta));
    f.write(texto);
    return ruta;
  }

  void controladorSuper(const QByteArray& programa) {
    QCOMPARE(codigo.cargar(fichero(QStringLiteral("p.pla"), programa).toStdString()), CARGA_OK);
    super = std::make_unique<TMaquinaSuper>();
    c = std::make_unique<TControladorMaquina>(*super, *dialogos);
    c->asignarPrograma(&codigo);
    connect(c.get(), &TControladorMaquina::cicloEjecutado, this, [this] { sucesos << "ciclo"; });
    connect(c.get(), &TControladorMaquina::ejecucionIniciada, this,
            [this](bool continua) { sucesos << (continua ? "iniciada:continua" : "iniciada:paso"); });
    connect(c.get(), &TControladorMaquina::ejecucionTerminada, this, [this](TFinEjecucion fin) {
      sucesos << (fin == TFinEjecucion::completada ? "terminada:completada" : "terminada:otra");
    });
    connect(c.get(), &TControladorMaquina::estadoCambiado, this,
            [this](bool enMarcha) { sucesos << (enMarcha ? "estado:true" : "estado:false"); });
    connect(c.get(), &TControladorMaquina::ejecucionRapidaCambiada, this,
            [this](bool activa) { sucesos << (activa ? "rapida:true" : "rapida:false"); });
    dialogos->alMostrarMensaje = [this](const QString& texto) { sucesos << "mensaje:" + texto; };
  }

  TInstantaneaSuper foto() const {
    TInstantaneaSuper f;
    super->capturar(f);
    return f;
  }

  // Tics de la ejecución rápida hasta que acaba (con un tope por si no acaba).
  void acabarRapida() {
    for (int i = 0; i < 10000 && c->ejecucionRapida(); ++i) c->ticRapido();
    QVERIFY(!c->ejecucionRapida());
  }

private slots:
  void init() {
    dialogos = std::make_unique<TServicioDialogosGuion>();
    sucesos.clear();
  }

  void cleanup() {
    QCOMPARE(dialogos->sinRespuesta, 0);
    c.reset();
    super.reset();
    dialogos.reset();
  }

  // Retroceder y volver hacia delante dan los mismos estados que los pasos;
  // volver desde una ejecución terminada la pone otra vez en curso, y el
  // observador sabe adónde se volvió.
  void retrocederEIrAlCicloComoLosPasos() {
    controladorSuper(bucle(3));
    super->memoria.porcentajeFallos = 50;
    TObservadorVueltas observador;
    c->anadirObservador(&observador);
    QList<TInstantaneaSuper> fotos;
    c->paso();
    fotos << foto();
    while (c->enEjecucion()) {
      c->paso();
      fotos << foto();
    }
    const int32_t fin = super->ciclo;
    QCOMPARE(fotos.size(), fin);
    sucesos.clear();

    c->retroceder();
    QCOMPARE(super->ciclo, fin - 1);
    QVERIFY(foto() == fotos[fin - 2]);
    QCOMPARE(sucesos, QStringList({"estado:true", "ciclo"}));
    QVERIFY(c->enEjecucion());
    QCOMPARE(observador.vueltas, QList<int32_t>{fin - 1});

    c->irACiclo(3);
    QVERIFY(foto() == fotos[2]);
    QVERIFY(!c->ejecucionRapida());
    // Hacia delante, en trozos; al llegar al final, como un tic que termina.
    sucesos.clear();
    c->irACiclo(fin + 100);
    QVERIFY(c->ejecucionRapida());
    QCOMPARE(super->ciclo, 3);  // nada se ejecuta hasta el primer tic
    acabarRapida();
    QCOMPARE(super->ciclo, fin);
    QVERIFY(foto() == fotos.last());
    QCOMPARE(observador.ultimoCiclo, fin);  // hacia delante el observador sigue enganchado
    QCOMPARE(sucesos, QStringList({"rapida:true", "rapida:false", "ciclo", "mensaje:" + COMPLETADA,
                                   "terminada:completada", "estado:false"}));
    // Ya terminada, más allá del final no hay nada que hacer.
    sucesos.clear();
    c->irACiclo(fin + 5);
    QCOMPARE(sucesos, QStringList({"ciclo"}));
    QCOMPARE(super->ciclo, fin);
    c->quitarObservador(&observador);
  }

  // Sin ejecución, ir a un ciclo empieza una (como un paso) y retroceder no hace nada.
  void sinEjecucionIrAlCicloEmpiezaUna() {
    controladorSuper(bucle(3));
    c->retroceder();
    QVERIFY(sucesos.isEmpty());
    c->irACiclo(7);
    acabarRapida();
    QCOMPARE(super->ciclo, 7);
    QCOMPARE(sucesos, QStringList({"estado:true", "iniciada:paso", "rapida:true", "rapida:false", "ciclo"}));
    QCOMPARE(c->sesion().estado(), estPausada);
    // Tras parar no queda ejecución por la que moverse: otra nueva.
    c->parar();
    c->irACiclo(2);
    QCOMPARE(super->ciclo, 0);  // la nueva ejecución empieza en el ciclo 0 y avanza en trozos
    // Esta vez los trozos los da su temporizador, desde el bucle de eventos.
    QTRY_VERIFY(!c->ejecucionRapida());
    QCOMPARE(super->ciclo, 2);
  }

  // «Ejecutar hasta el final» va en trozos de unos milisegundos; Pausa y
  // Parar la cortan al momento, y un breakpoint la detiene con su mensaje.
  void hastaElFinalEnTrozosInterrumpible() {
    controladorSuper(bucle(30000));
    c->iniciar();
    QVERIFY(c->temporizador()->isActive());
    sucesos.clear();
    c->ejecutarHastaElFinal();
    QVERIFY2(!c->temporizador()->isActive(), "el reloj de la ejecución continua se para");
    QVERIFY(c->temporizadorRapido()->isActive());
    QCOMPARE(c->temporizadorRapido()->interval(), 0);
    QSignalSpy progreso(c.get(), &TControladorMaquina::progresoRapida);
    c->ticRapido();
    const int32_t trasUnTic = super->ciclo;
    QVERIFY(trasUnTic > 0);
    QVERIFY2(c->ejecucionRapida(), "un programa largo no acaba en un trozo");
    QCOMPARE(progreso.size(), 1);
    QCOMPARE(progreso.last().at(0).toInt(), trasUnTic);
    QCOMPARE(progreso.last().at(1).toInt(), TControladorMaquina::LIMITE_CICLOS_DEFECTO);
    c->pausa();
    QVERIFY(!c->ejecucionRapida() && !c->temporizadorRapido()->isActive());
    QCOMPARE(c->sesion().estado(), estPausada);
    QCOMPARE(sucesos, QStringList({"rapida:true", "rapida:false", "ciclo"}));
    c->ticRapido();
    QCOMPARE(super->ciclo, trasUnTic);  // un tic que llega tarde no ejecuta nada

    c->ejecutarHastaElFinal();
    c->ticRapido();
    sucesos.clear();
    c->parar();
    QVERIFY(!c->ejecucionRapida());
    QCOMPARE(sucesos, QStringList({"rapida:false", "terminada:otra", "estado:false"}));

    // El límite de ciclos: se detiene en él, pausada, con un mensaje.
    c->setLimiteCiclos(300);
    c->ejecutarHastaElFinal();
    acabarRapida();
    QCOMPARE(super->ciclo, 300);
    QCOMPARE(c->sesion().estado(), estPausada);
    QCOMPARE(dialogos->mensajes().last(), QStringLiteral("Ejecución detenida: límite de 300 ciclos"));
    // Un breakpoint la detiene, aunque «Ir al ciclo…» lo salta.
    c->cambiarBreakpoint(1, true);
    c->irACiclo(500);
    acabarRapida();
    QCOMPARE(super->ciclo, 500);
    c->ejecutarHastaElFinal();
    sucesos.clear();
    acabarRapida();
    QCOMPARE(c->sesion().estado(), estEnBreakpoint);
    QCOMPARE(sucesos, QStringList({"rapida:false", "ciclo", "mensaje:" + BREAKPOINT}));
    QVERIFY(super->ciclo < 520);
  }

  // Un error en ejecución acaba «Ejecutar hasta el final» como un tic.
  void hastaElFinalConError() {
    controladorSuper("1\nLF F0 1030(R0)\n");
    c->ejecutarHastaElFinal();
    acabarRapida();
    QCOMPARE(c->sesion().estado(), estError);
    QVERIFY(sucesos.contains("terminada:otra"));
    QCOMPARE(sucesos.last(), QStringLiteral("estado:false"));
    // Volver atrás desde el error la pone otra vez en curso.
    c->retroceder();
    QVERIFY(c->enEjecucion());
  }

  // ---------------------------------------------------------------- la ventana

  void ordenesEnElMenuLaBarraYSusTeclas() {
    TfrmPrincipal v(*dialogos);
    TPrincipalEnPrueba p(v);
    const QList<QAction*> enMenu = p.mnuEjecutar->actions();
    const QList<QAction*> enBarra = p.tobEjecucion->actions();
    QKeySequence teclas[3] = {QKeySequence(Qt::SHIFT | Qt::Key_F8), QKeySequence(Qt::CTRL | Qt::Key_G),
                              QKeySequence(Qt::SHIFT | Qt::Key_F9)};
    const char* nombres[3] = {"actRetroceder", "actIrACiclo", "actHastaElFinal"};
    const QString textos[3] = {QStringLiteral("Retroceder un ciclo"), QStringLiteral("Ir al ciclo…"),
                               QStringLiteral("Ejecutar hasta el final")};
    QList<QKeySequence> usadas;
    for (QAction* a : v.findChildren<QAction*>())
      if (!a->shortcut().isEmpty()) usadas << a->shortcut();
    for (int i = 0; i < 3; ++i) {
      QAction* a = p.hijo<QAction>(nombres[i]);
      QCOMPARE(a->text(), textos[i]);
      QCOMPARE(a->shortcut(), teclas[i]);
      QCOMPARE(usadas.count(teclas[i]), 1);
      QVERIFY(enMenu.contains(a) && enBarra.contains(a));
      QVERIFY2(!a->isEnabled(), "sin programa, como las demás órdenes de ejecución");
    }
  }

  // «Ir al ciclo…» pide el ciclo con su diálogo (hasta el final de una
  // ejecución terminada) y la barra de progreso se ve mientras se ejecuta.
  void irAlCicloDesdeLaVentana() {
    TfrmPrincipal v(*dialogos);
    TPrincipalEnPrueba p(v);
    dialogos->ficherosAbrir << fichero(QStringLiteral("b.pla"), bucle(2));
    p.actAbrir->trigger();
    auto* barra = p.hijo<QProgressBar>("barProgreso");
    TControladorMaquina& ctl = p.controlador(SUPER);

    dialogos->cantidades << 12;
    p.hijo<QAction>("actIrACiclo")->trigger();
    QCOMPARE(dialogos->preguntasCantidad.last().titulo, QStringLiteral("Ir al ciclo"));
    QCOMPARE(dialogos->preguntasCantidad.last().maximo, TControladorMaquina::LIMITE_CICLOS_DEFECTO);
    QVERIFY(!barra->isHidden());
    ctl.ticRapido();
    QVERIFY(barra->isHidden());
    QCOMPARE(p.txtCiclo->text(), QStringLiteral("12"));
    QVERIFY2(p.frmExeSuper(), "la ventana de ejecución, como tras un paso");

    p.hijo<QAction>("actHastaElFinal")->trigger();
    while (ctl.ejecucionRapida()) ctl.ticRapido();
    const int32_t fin = p.super().ciclo;
    QCOMPARE(dialogos->mensajes().last(), COMPLETADA);
    dialogos->cantidades << 5;
    p.hijo<QAction>("actIrACiclo")->trigger();
    QCOMPARE(dialogos->preguntasCantidad.last().maximo, fin);
    QCOMPARE(p.txtCiclo->text(), QStringLiteral("5"));
    QVERIFY2(!p.actConfSuper->isEnabled(), "otra vez en ejecución: la configuración se bloquea");
    p.hijo<QAction>("actRetroceder")->trigger();
    QCOMPARE(p.txtCiclo->text(), QStringLiteral("4"));
    // Cancelar no mueve nada.
    dialogos->cantidades << std::nullopt;
    p.hijo<QAction>("actIrACiclo")->trigger();
    QCOMPARE(p.super().ciclo, 4);

    dialogos->cantidades << 250;
    p.hijo<QAction>("opcLimiteCiclos")->trigger();
    QCOMPARE(ctl.limiteCiclos(), 250);
    QCOMPARE(p.controlador(VLIW).limiteCiclos(), 250);
  }
};

int main(int argc, char** argv) {
  TAplicacion aplicacion(argc, argv);
  PruebasNavegacion pruebas;
  return QTest::qExec(&pruebas, argc, argv);
}

#include "PruebasNavegacion.moc"
