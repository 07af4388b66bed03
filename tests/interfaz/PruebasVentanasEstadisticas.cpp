// Las ventanas de estadísticas, «Comprobar resultado», «Comparar máquinas» y
// «Explorar configuración» en la ventana principal de verdad, sin pantalla.

#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineSeries>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "AyudaPrincipal.h"
#include "Simulador/aplicacion/TAplicacion.h"
#include "Simulador/estadisticas/TGraficosEstadisticas.h"
#include "Simulador/estadisticas/TModeloEstadisticas.h"
#include "Simulador/estadisticas/TVentanasEstadisticas.h"
#include "Simulador/estadisticas/TfrmComparacion.h"
#include "Simulador/estadisticas/TfrmEstadisticas.h"
#include "Simulador/estadisticas/TfrmExploracion.h"
#include "TServicioDialogosGuion.h"
#include "observation/TRecolectorEstadisticas.h"
#include "session/TComparacionMaquinas.h"

namespace {

const QString DATOS = QStringLiteral(ORVEX_DIR_FUENTES "/tests/datos/");
const QString EJEMPLOS = QStringLiteral(ORVEX_DIR_EJEMPLOS "/");

// El valor de una magnitud en la rejilla de estadísticas; vacío si no está.
QString valor(const TfrmEstadisticas& f, const QString& magnitud) {
  const QAbstractItemModel* m = f.grdEstadisticas->model();
  for (int i = 0; i < m->rowCount(); ++i)
    if (m->index(i, 0).data().toString() == magnitud) return m->index(i, 1).data().toString();
  return {};
}

QByteArray leer(const QString& ruta) {
  QFile f(ruta);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

class PruebasVentanasEstadisticas : public QObject {
  Q_OBJECT

  QTemporaryDir dir;
  std::unique_ptr<TServicioDialogosGuion> dialogos;
  std::unique_ptr<TfrmPrincipal> v;
  std::unique_ptr<TPrincipalEnPrueba> c;

  QAction* accion(const char* nombre) const { return c->hijo<QAction>(nombre); }

  void abrir(const QString& ruta) {
    dialogos->ficherosAbrir << ruta;
    c->actAbrir->trigger();
    QVERIFY(v->programa());
  }

  void cargarVLIW(const QString& ruta) {
    dialogos->ficherosAbrir << ruta;
    c->actCargarVLIW->trigger();
    QVERIFY(c->vliw().codigo.numInstrucciones > 0);
  }

  void ejecutarHastaCompletar(TTipoMaquina m) {
    c->actIni->trigger();
    for (int i = 0; i < 5000 && c->timer(m)->isActive(); ++i) c->tic(m);
    QVERIFY(!c->timer(m)->isActive());
    QCOMPARE(dialogos->mensajes().last(), QStringLiteral("Ejecución completada"));
  }

private slots:
  void init() {
    dialogos = std::make_unique<TServicioDialogosGuion>();
    qobject_cast<TAplicacion*>(QCoreApplication::instance())->setServicioDialogos(dialogos.get());
    v = std::make_unique<TfrmPrincipal>(*dialogos);
    c = std::make_unique<TPrincipalEnPrueba>(*v);
    v->resize(1100, 700);
    v->show();
  }

  void cleanup() {
    QCOMPARE(dialogos->sinRespuesta, 0);
    c.reset();
    v.reset();
    qobject_cast<TAplicacion*>(QCoreApplication::instance())->setServicioDialogos(nullptr);
    dialogos.reset();
  }

  void ordenesSoloConPrograma() {
    for (const char* nombre : {"actVerEstadisticas", "actComprobar", "actComparar", "actExplorar"})
      QVERIFY2(!accion(nombre)->isEnabled(), nombre);
    abrir(EJEMPLOS + QStringLiteral("vector_suma.pla"));
    for (const char* nombre : {"actVerEstadisticas", "actComprobar", "actComparar", "actExplorar"})
      QVERIFY2(accion(nombre)->isEnabled(), nombre);
  }

  // La ventana abierta a mitad de una ejecución enseña la historia entera, se
  // refresca con una sola notificación por ciclo y al final coincide con la máquina.
  void abiertaAMitadEnsenaLaHistoriaEntera() {
    abrir(EJEMPLOS + QStringLiteral("vector_suma.pla"));
    for (int i = 0; i < 5; ++i) c->actPaso->trigger();
    accion("actVerEstadisticas")->trigger();
    TfrmEstadisticas* f = v->estadisticas().frmEstadisticas(SUPER);
    QVERIFY(f);
    QCOMPARE(valor(*f, QStringLiteral("Ciclos")), QStringLiteral("5"));

    QSignalSpy cambios(f->modelo, &QAbstractItemModel::dataChanged);
    QSignalSpy reinicios(f->modelo, &QAbstractItemModel::modelReset);
    c->actPaso->trigger();
    QCOMPARE(cambios.count() + reinicios.count(), 1);
    QCOMPARE(valor(*f, QStringLiteral("Ciclos")), QStringLiteral("6"));

    dialogos->confirmaciones << false;  // «¿Desea reiniciar?»: no, sigue la misma ejecución
    ejecutarHastaCompletar(SUPER);
    QCOMPARE(valor(*f, QStringLiteral("Ciclos")), QString::number(c->super().ciclo));
    QCOMPARE(valor(*f, QStringLiteral("Instrucciones confirmadas")),
             QString::number(c->super().estadisticas.instruccionesConfirmadas));
    QVERIFY(f->graficos->serieIPC->count() > 0);

    // Una ejecución nueva empieza de cero.
    c->actIni->trigger();
    c->tic(SUPER);
    QCOMPARE(valor(*f, QStringLiteral("Ciclos")), QStringLiteral("1"));
    c->actParar->trigger();

    // La de la VLIW es otra ventana, con sus propias magnitudes.
    c->actSelVLIW->trigger();
    accion("actVerEstadisticas")->trigger();
    TfrmEstadisticas* fv = v->estadisticas().frmEstadisticas(VLIW);
    QVERIFY(fv && fv != f);
    QCOMPARE(valor(*fv, QStringLiteral("Ciclos")), QStringLiteral("0"));
    QVERIFY(!valor(*fv, QStringLiteral("Huecos ocupados (%)")).isEmpty());
  }

  // Volver atrás en el tiempo olvida lo posterior; al seguir, las cifras son
  // las de la máquina, como si no se hubiera vuelto.
  void volverAtrasOlvidaLoPosterior() {
    abrir(EJEMPLOS + QStringLiteral("vector_suma.pla"));
    for (int i = 0; i < 20; ++i) c->actPaso->trigger();
    accion("actVerEstadisticas")->trigger();
    TfrmEstadisticas* f = v->estadisticas().frmEstadisticas(SUPER);
    c->controlador(SUPER).irACiclo(8);
    QCOMPARE(c->super().ciclo, 8);
    QTRY_COMPARE(valor(*f, QStringLiteral("Ciclos")), QStringLiteral("8"));
    for (int i = 0; i < 12; ++i) c->actPaso->trigger();
    QCOMPARE(valor(*f, QStringLiteral("Ciclos")), QStringLiteral("20"));
    QCOMPARE(valor(*f, QStringLiteral("Instrucciones confirmadas")),
             QString::number(c->super().estadisticas.instruccionesConfirmadas));
  }

  void copiarYExportar() {
    abrir(EJEMPLOS + QStringLiteral("vector_suma.pla"));
    ejecutarHastaCompletar(SUPER);
    accion("actVerEstadisticas")->trigger();
    TfrmEstadisticas* f = v->estadisticas().frmEstadisticas(SUPER);
    f->btnCopiar->click();
    QVERIFY(QGuiApplication::clipboard()->text().startsWith(QStringLiteral("Estadísticas de la máquina superescalar")));

    const QString csv = dir.filePath(QStringLiteral("estadisticas.csv"));
    const QString png = dir.filePath(QStringLiteral("graficos.png"));
    dialogos->ficherosGuardar << csv << png << QString();
    f->btnCSV->click();
    f->btnPNG->click();
    QVERIFY(leer(csv).startsWith("magnitud,valor\n\"Ciclos\","));
    QVERIFY(leer(png).startsWith("\x89PNG"));
    f->btnCSV->click();  // cancelado: nada
    QCOMPARE(dialogos->de(QStringLiteral("guardar")).size(), 3);
    QCOMPARE(dialogos->de(QStringLiteral("guardar")).first(), QStringLiteral("Valores separados por comas|*.csv"));
  }

  // Un programa VLIW correcto, ejecutado hasta el final en la ventana.
  void comprobarUnaEjecucionTerminada() {
    abrir(EJEMPLOS + QStringLiteral("vector_suma.pla"));
    c->opcChkCodigoVLIW->setChecked(false);
    cargarVLIW(EJEMPLOS + QStringLiteral("vector_suma.vliw"));
    c->actSelVLIW->trigger();
    ejecutarHastaCompletar(VLIW);
    const int ciclo = c->vliw().ciclo;
    accion("actComprobar")->trigger();
    QCOMPARE(dialogos->mensajes().last(), QStringLiteral("El programa VLIW calcula lo mismo que el código secuencial"));
    QCOMPARE(c->vliw().ciclo, ciclo);
  }

  // Sin ejecutar: se ejecuta aparte desde los registros de la ventana (R2 y R3
  // editados), sin tocar la máquina, y la pista señala la lectura temprana.
  void comprobarSinEjecutarUsaLosDatosDePartida() {
    abrir(DATOS + QStringLiteral("dependencia.pla"));
    c->opcChkCodigoVLIW->setChecked(false);
    cargarVLIW(DATOS + QStringLiteral("dependencia.vliw"));
    c->actSelVLIW->trigger();
    c->controlador(VLIW).escribirRegistroEntero(2, 1);
    c->controlador(VLIW).escribirRegistroEntero(3, 2);
    const TVeredicto veredicto = v->estadisticas().comprobarResultado(VLIW, *v->programa());
    QVERIFY(!veredicto.igual);
    QCOMPARE(veredicto.diferencias.size(), size_t{1});
    QCOMPARE(QString::fromStdString(veredicto.diferencias[0].donde()), QStringLiteral("R4"));
    QVERIFY(veredicto.pista.find("lee un registro antes") != std::string::npos);
    QVERIFY(dialogos->apuntes.last().detalle.contains(QStringLiteral("R4\t6\t0")));
    QCOMPARE(c->vliw().ciclo, 0);
    QCOMPARE(c->vliw().gpr.valor[4], 0);
  }

  void compararLasDosMaquinas() {
    abrir(EJEMPLOS + QStringLiteral("vector_suma.pla"));
    accion("actComparar")->trigger();
    TfrmComparacion* f = v->estadisticas().frmComparacion();
    QVERIFY(f);
    QVERIFY(!f->comparacion()->resultadoVLIW.ejecutada);  // todavía sin programa VLIW
    QVERIFY(f->lblResumen->text().startsWith(QStringLiteral("No hay aceleración")));

    c->opcChkCodigoVLIW->setChecked(false);
    cargarVLIW(EJEMPLOS + QStringLiteral("vector_suma.vliw"));
    accion("actComparar")->trigger();
    QCOMPARE(v->estadisticas().frmComparacion(), f);
    const TComparacionMaquinas& r = *f->comparacion();
    QVERIFY(r.resultadoSuper.veredicto.igual && r.resultadoVLIW.veredicto.igual);
    QVERIFY(f->lblResumen->text().contains(QStringLiteral("veces más rápida")));
    QStringList resultado;
    for (int i = 0; i < f->grdComparacion->rowCount(); ++i)
      if (f->grdComparacion->item(i, 0)->text() == QStringLiteral("Resultado"))
        resultado << f->grdComparacion->item(i, 1)->text() << f->grdComparacion->item(i, 2)->text();
    QCOMPARE(resultado, QStringList({QStringLiteral("igual al código secuencial"),
                                     QStringLiteral("igual al código secuencial")}));
    // Sin ventanas de ejecución ni cambios en las máquinas de la ventana.
    QCOMPARE(c->super().ciclo, 0);
    QCOMPARE(c->vliw().ciclo, 0);
  }

  void explorarEnUnHiloYExportar() {
    abrir(EJEMPLOS + QStringLiteral("vector_suma.pla"));
    accion("actExplorar")->trigger();
    TfrmExploracion* f = v->estadisticas().frmExploracion();
    QVERIFY(f);
    f->cboParametro->setCurrentIndex(parEmision);
    f->spiDesde->setValue(2);
    f->spiHasta->setValue(6);
    QSignalSpy fin(f, &TfrmExploracion::exploracionTerminada);
    QVERIFY(f->explorar());
    QVERIFY(!f->explorar());  // una cada vez
    QVERIFY(fin.wait(10000));
    QCOMPARE(fin.first().first().toBool(), false);
    QCOMPARE(f->puntos().size(), size_t{5});
    QCOMPARE(f->barProgreso->value(), 5);
    QCOMPARE(c->super().ciclo, 0);

    const QString csv = dir.filePath(QStringLiteral("exploracion.csv"));
    dialogos->ficherosGuardar << csv;
    f->btnCSV->click();
    QVERIFY(leer(csv).startsWith("\"Anchura de emisión\",ciclos,instrucciones,ipc,resultado\n2,"));
  }

  // Un programa sin fin: cada valor llega al límite de ciclos. Cancelar corta
  // la exploración, y cerrar la ventana con otra en marcha la espera.
  void cancelarYCerrarEnMarcha() {
    abrir(DATOS + QStringLiteral("bucle_infinito.pla"));
    accion("actExplorar")->trigger();
    TfrmExploracion* f = v->estadisticas().frmExploracion();
    f->cboParametro->setCurrentIndex(parPorcentajeFallos);
    QSignalSpy fin(f, &TfrmExploracion::exploracionTerminada);
    QVERIFY(f->explorar());
    f->btnCancelar->click();
    QVERIFY(fin.wait(10000));
    QCOMPARE(fin.first().first().toBool(), true);
    QVERIFY(f->puntos().size() < 101);
    QVERIFY(f->lblEstado->text().startsWith(QStringLiteral("Exploración cancelada")));
    QVERIFY(f->btnExplorar->isEnabled());

    QVERIFY(f->explorar());
    f->close();
    QTRY_VERIFY(!v->estadisticas().frmExploracion());
  }
};

int main(int argc, char** argv) {
  TAplicacion app(argc, argv);
  PruebasVentanasEstadisticas pruebas;
  return QTest::qExec(&pruebas, argc, argv);
}

#include "PruebasVentanasEstadisticas.moc"
