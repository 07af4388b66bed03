// Las dos ventanas de configuración: valores, intervalos, «Predefinidos»,
// «Aceptar», «Cancelar», teclado y lo que cada máquina hace con lo aceptado.

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>
#include <memory>

#include "Simulador/comunes/TSpinNumero.h"
#include "Simulador/dialogos/TfrmConfSuper.h"
#include "Simulador/dialogos/TfrmConfVLIW.h"
#include "superscalar/TMaquinaSuper.h"
#include "vliw/TMaquinaVLIW.h"

namespace {

QList<int> valores(const std::array<TSpinNumero*, NUM_TIPOS_UF>& spins) {
  QList<int> v;
  for (const TSpinNumero* s : spins) v << s->value();
  return v;
}

// Controles que recibe el foco con el tabulador, en orden, desde el primero.
QStringList ordenDelTeclado(QWidget* primero) {
  QStringList nombres;
  QWidget* w = primero;
  do {
    if ((w->focusPolicy() & Qt::TabFocus) && w->isVisibleTo(primero->window()) && !w->objectName().isEmpty() &&
        !w->objectName().startsWith(QLatin1String("qt_")))
      nombres << w->objectName();
    w = w->nextInFocusChain();
  } while (w && w != primero);
  return nombres;
}

}  // namespace

class PruebasConfiguracion : public QObject {
  Q_OBJECT

private slots:
  void superescalarSobreUnaMaquinaNueva() {
    TMaquinaSuper m;
    TfrmConfSuper c(m);
    QCOMPARE(c.windowTitle(), QStringLiteral("Configuración Superescalar"));
    QCOMPARE(valores(c.spiUF), QList<int>({2, 2, 2, 2, 2, 1}));
    QCOMPARE(valores(c.spiLat), QList<int>({1, 2, 4, 6, 4, 2}));
    QCOMPARE(c.spiLatFalloMem->value(), 9);
    QCOMPARE(c.spiEmision->value(), 4);
    QVERIFY(c.spiUF[tufSalto]->isVisibleTo(&c));
    QCOMPARE(c.property("temaAyuda").toInt(), 12);
    // Textos y pistas de las filas, sobre la etiqueta y sobre sus casillas.
    QCOMPARE(c.findChild<TSpinNumero*>(QStringLiteral("spiUFMultEnt")), c.spiUF[tufMultEntera]);
    QCOMPARE(c.spiLat[tufMultEntera]->toolTip(), QStringLiteral("Unidad de Multiplicación Entera"));
    QCOMPARE(c.spiLatFalloMem->toolTip(), QStringLiteral("Fallo de Unidad de Memoria"));
    QCOMPARE(c.spiEmision->toolTip(), QStringLiteral("Número de instrucciones emitidas por ciclo"));
    QStringList etiquetas;
    for (const QLabel* l : c.findChildren<QLabel*>()) etiquetas << l->text();
    for (const char* t : {"Número:", "Latencia:", "Suma Entera:", "Mult. entera:", "Suma Flotante:", "Mult. Flotante:",
                          "Memoria:", "Fallo de caché:", "Salto:", "Emisión:"})
      QVERIFY2(etiquetas.contains(QString::fromUtf8(t)), t);
    QCOMPARE(c.gbUnidades->title(), QStringLiteral("Unidades Funcionales"));
    QCOMPARE(c.gbParametros->title(), QStringLiteral("Parámetros:"));
    QCOMPARE(c.butDefault->toolTip(), QStringLiteral("Carga los valores por defecto"));
    QCOMPARE(c.butAceptar->toolTip(), QStringLiteral("Salir guardando los cambios"));
    QCOMPARE(c.butCancelar->toolTip(), QStringLiteral("Salir sin guardar los cambios"));
  }

  void intervalosDeLasCasillas() {
    TMaquinaSuper m;
    TfrmConfSuper c(m);
    c.spiUF[0]->setValue(0);
    QCOMPARE(c.spiUF[0]->value(), 1);
    c.spiUF[0]->setValue(11);
    QCOMPARE(c.spiUF[0]->value(), 10);
    c.spiLat[3]->setValue(101);
    QCOMPARE(c.spiLat[3]->value(), 100);
    c.spiLatFalloMem->setValue(-1);
    QCOMPARE(c.spiLatFalloMem->value(), 0);
    c.spiEmision->setValue(1);
    QCOMPARE(c.spiEmision->value(), 2);
    // Lo que se escribe por encima del máximo vale el máximo.
    c.spiEmision->editor()->clear();
    QTest::keyClicks(c.spiEmision->editor(), QStringLiteral("17"));
    QCOMPARE(c.spiEmision->value(), 16);
  }

  void predefinidosYCancelarNoCambianLaMaquina() {
    TMaquinaSuper m;
    m.numUF = {1, 3, 1, 1, 4, 2};
    m.latUF = {3, 3, 3, 3, 3, 3};
    m.latFalloCache = 20;
    m.emision = 8;
    QPointer<TfrmConfSuper> c = new TfrmConfSuper(m);
    c->show();
    QCOMPARE(valores(c->spiUF), QList<int>({1, 3, 1, 1, 4, 2}));
    c->butDefault->click();
    QCOMPARE(valores(c->spiUF), QList<int>({2, 2, 2, 2, 2, 1}));
    QCOMPARE(valores(c->spiLat), QList<int>({1, 2, 4, 6, 4, 2}));
    QCOMPARE(c->spiLatFalloMem->value(), 9);
    QCOMPARE(c->spiEmision->value(), 4);
    QCOMPARE(m.numUF[1], 3);
    c->butCancelar->click();
    QTRY_VERIFY(!c);
    QCOMPARE(m.numUF, (std::array<int32_t, NUM_TIPOS_UF>{1, 3, 1, 1, 4, 2}));
    QCOMPARE(m.latFalloCache, 20);
    QCOMPARE(m.emision, 8);
  }

  void aceptarEscribeYLaSiguienteEjecucionLoUsa() {
    TMaquinaSuper m;
    QPointer<TfrmConfSuper> c = new TfrmConfSuper(m);
    c->show();
    c->spiEmision->setValue(16);
    c->spiUF[tufMemoria]->setValue(3);
    c->spiLat[tufMemoria]->setValue(7);
    // Un fallo más barato que la latencia de memoria se admite.
    c->spiLatFalloMem->setValue(2);
    c->butAceptar->click();
    QTRY_VERIFY(!c);
    QCOMPARE(m.emision, 16);
    QCOMPARE(m.numUF[tufMemoria], 3);
    QCOMPARE(m.latUF[tufMemoria], 7);
    QCOMPARE(m.latFalloCache, 2);
    m.reset(false);
    QCOMPARE(m.prefetch.capacidad(), 32);
    QCOMPARE(m.decoder.capacidad(), 16);
    QCOMPARE(int(m.uf[tufMemoria].size()), 3);
  }

  void nadaSeEscribeDuranteUnaEjecucion() {
    TMaquinaSuper m;
    TfrmConfSuper c(m);
    m.enEjecucion = true;
    c.spiUF[0]->setValue(5);
    c.aplicar();
    QCOMPARE(m.numUF[0], 2);
    TMaquinaVLIW v;
    TfrmConfVLIW cv(v);
    v.enEjecucion = true;
    v.ciclo = 7;
    cv.spiUF[0]->setValue(5);
    cv.aplicar();
    QCOMPARE(v.numUF[0], 2);
    QCOMPARE(v.ciclo, 7);
  }

  void ordenDelTecladoFilaAFila() {
    TMaquinaSuper m;
    TfrmConfSuper c(m);
    QCOMPARE(ordenDelTeclado(c.spiUF[0]),
             QStringList({"spiUFSumaEnt", "spiLatSumaEnt", "spiUFMultEnt", "spiLatMultEnt", "spiUFSumaFlot",
                          "spiLatSumaFlot", "spiUFMultFlot", "spiLatMultFlot", "spiUFMem", "spiLatMem",
                          "spiLatFalloMem", "spiUFSalto", "spiLatSalto", "spiEmision", "butDefault", "butAceptar",
                          "butCancelar"}));
    TMaquinaVLIW v;
    TfrmConfVLIW cv(v);
    QCOMPARE(ordenDelTeclado(cv.spiUF[0]),
             QStringList({"spiUFSumaEnt", "spiLatSumaEnt", "spiUFMultEnt", "spiLatMultEnt", "spiUFSumaFlot",
                          "spiLatSumaFlot", "spiUFMultFlot", "spiLatMultFlot", "spiUFMem", "spiLatMem",
                          "spiLatFalloMem", "spiLatSalto", "butDefault", "butAceptar", "butCancelar"}));
  }

  void introAceptaYEscapeCancela() {
    TMaquinaSuper m;
    QPointer<TfrmConfSuper> c = new TfrmConfSuper(m);
    c->show();
    c->spiUF[0]->setValue(4);
    QTest::keyClick(c->spiUF[0], Qt::Key_Escape);
    QTRY_VERIFY(!c);
    QCOMPARE(m.numUF[0], 2);

    c = new TfrmConfSuper(m);
    c->show();
    c->spiUF[0]->setValue(4);
    QTest::keyClick(c->spiLat[2], Qt::Key_Return);
    QTRY_VERIFY(!c);
    QCOMPARE(m.numUF[0], 4);

    // Intro sobre un botón lo pulsa a él.
    c = new TfrmConfSuper(m);
    c->show();
    c->spiUF[0]->setValue(6);
    c->butCancelar->setFocus();
    QTest::keyClick(c->butCancelar, Qt::Key_Enter, Qt::KeypadModifier);
    QTRY_VERIFY(!c);
    QCOMPARE(m.numUF[0], 4);
  }

  void vliwSinNumeroDeSaltosYConReset() {
    TMaquinaVLIW m;
    QPointer<TfrmConfVLIW> c = new TfrmConfVLIW(m);
    c->show();
    QCOMPARE(c->windowTitle(), QStringLiteral("Configuración VLIW"));
    QCOMPARE(c->property("temaAyuda").toInt(), 13);
    QVERIFY(!c->spiUF[tufSalto]->isVisibleTo(c));
    QVERIFY(c->spiLat[tufSalto]->isVisibleTo(c));
    QVERIFY(!c->findChild<TSpinNumero*>(QStringLiteral("spiEmision")));
    QCOMPARE(valores(c->spiLat), QList<int>({1, 2, 4, 6, 4, 2}));

    m.gpr.valor[5] = 42;
    m.pc = 3;
    m.ciclo = 12;
    c->spiUF[tufMemoria]->setValue(3);
    c->spiUF[tufSalto]->setValue(4);  // oculta: no cuenta
    c->spiLat[tufSalto]->setValue(3);
    // Antes de cambiar nada se avisa, para que se cierre lo hecho sobre las unidades de ahora.
    int memoriaAlAvisar = -1;
    connect(c, &TfrmConfVLIW::aplicando, this, [&] { memoriaAlAvisar = int(m.uf[tufMemoria].size()); });
    c->butAceptar->click();
    QTRY_VERIFY(!c);
    QCOMPARE(memoriaAlAvisar, 2);
    QCOMPARE(m.numUF[tufMemoria], 3);
    QCOMPARE(m.numUF[tufSalto], 1);
    QCOMPARE(m.latUF[tufSalto], 3);
    // Reseteada: unidades rehechas, sin limpiar registros (opción desmarcada).
    QCOMPARE(int(m.uf[tufMemoria].size()), 3);
    QCOMPARE(m.uf[tufSalto][0].latencia, 3);
    QVERIFY(m.pc == 0 && m.ciclo == 0);
    QCOMPARE(m.gpr.valor[5], 42);

    c = new TfrmConfVLIW(m);
    c->limpiarAlAplicar = [] { return true; };
    c->aplicar();
    QCOMPARE(m.gpr.valor[5], 0);
    delete c.data();
  }

  void vliwPredefinidosYCancelar() {
    TMaquinaVLIW m;
    m.numUF[0] = 5;
    m.latUF[4] = 9;
    m.reset(false);
    QPointer<TfrmConfVLIW> c = new TfrmConfVLIW(m);
    c->show();
    c->butDefault->click();
    QCOMPARE(valores(c->spiUF).mid(0, 5), QList<int>({2, 2, 2, 2, 2}));
    QCOMPARE(c->spiLat[4]->value(), 4);
    c->butCancelar->click();
    QTRY_VERIFY(!c);
    QCOMPARE(m.numUF[0], 5);
    QCOMPARE(m.latUF[4], 9);
  }
};

QTEST_MAIN(PruebasConfiguracion)
#include "PruebasConfiguracion.moc"
