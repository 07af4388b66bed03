// Ventana «Diagrama de Ejecución»: la historia entera al abrirla tarde, el
// seguimiento en vivo con una notificación por ciclo, las pistas con el motivo
// de cada espera, las filas perdidas, la selección compartida con el código,
// los ciclos pedidos y las exportaciones.

#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QSignalSpy>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>
#include <QtTest>
#include <memory>

#include "AyudaPrincipal.h"
#include "Simulador/comunes/TPanelRejilla.h"
#include "Simulador/comunes/TRejillaEjecucion.h"
#include "Simulador/diagrama/TModeloDiagrama.h"
#include "Simulador/superescalar/TModeloROB.h"
#include "superscalar/TEntradaROB.h"
#include "Simulador/diagrama/TModeloTablaInstrucciones.h"
#include "Simulador/diagrama/TfrmDiagrama.h"
#include "Simulador/diagrama/TRejillaDiagrama.h"
#include "TServicioDialogosGuion.h"
#include "observation/TRegistradorDiagrama.h"

namespace {

// Una carga, una suma que la espera y un salto tomado que anula lo buscado detrás.
const char* const PROGRAMA = R"(6
      LF     F1 0(R0)
      ADDF   F2 F1 F1
      DADDUI R1 R0 #1
      BNE    R1 R0 FIN
      ADDI   R2 R2 R2
FIN:  SF     F2 4(R0)
)";

QString letras(const QAbstractItemModel* m, int fila) {
  QString s;
  for (int c = 0; c < m->columnCount(); ++c) {
    const QString l = m->index(fila, c).data().toString();
    if (!l.isEmpty()) s += l;
  }
  return s;
}

}  // namespace

class PruebasDiagrama : public QObject {
  Q_OBJECT

  QTemporaryDir dir;
  std::unique_ptr<TServicioDialogosGuion> dialogos;
  std::unique_ptr<TfrmPrincipal> v;
  std::unique_ptr<TPrincipalEnPrueba> c;

  QString fichero(const QString& nombre, const QByteArray& texto) {
    const QString ruta = dir.filePath(nombre);
    QFile f(ruta);
    if (!f.open(QIODevice::WriteOnly)) qFatal("no se puede escribir %s", qPrintable(ruta));
    f.write(texto);
    return ruta;
  }
  void abrir(const QString& ruta) {
    dialogos->ficherosAbrir << ruta;
    c->actAbrir->trigger();
    QVERIFY(v->programa());
  }
  TfrmDiagrama* abrirDiagrama() {
    c->hijo<QAction>("actVerDiagrama")->trigger();
    return c->ventanas().frmDiagrama(v->maquinaActual());
  }
  QByteArray leer(const QString& ruta) {
    QFile f(ruta);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }

private slots:
  void initTestCase() { QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain)); }

  void init() {
    dialogos = std::make_unique<TServicioDialogosGuion>();
    v = std::make_unique<TfrmPrincipal>(*dialogos);
    c = std::make_unique<TPrincipalEnPrueba>(*v);
    v->resize(1400, 900);
    v->show();
  }

  void cleanup() {
    QCOMPARE(dialogos->sinRespuesta, 0);
    c.reset();
    v.reset();
    dialogos.reset();
  }

  // Abierta a mitad de una ejecución enseña lo registrado desde el principio y
  // después la sigue: cada ciclo añade su columna (y sus filas), sin rehacer el modelo.
  void abiertaTardeEnsenaLaHistoriaYSigueEnVivo() {
    abrir(fichero(QStringLiteral("p.pla"), PROGRAMA));
    QVERIFY(!c->ventanas().frmDiagrama(SUPER));
    c->actIni->trigger();
    for (int i = 0; i < 8; ++i) c->tic(SUPER);
    TfrmDiagrama* d = abrirDiagrama();
    QVERIFY(d);
    QCOMPARE(d->windowTitle(), QStringLiteral("Diagrama de Ejecución Superescalar"));
    QCOMPARE(d->modelo->columnCount(), 8);
    QCOMPARE(d->modelo->headerData(0, Qt::Horizontal).toInt(), 1);
    QCOMPARE(letras(d->modelo, 0), QStringLiteral("PDRAREEE"));
    QCOMPARE(d->modelo->headerData(0, Qt::Vertical).toString(), QStringLiteral("0: LF F1 0(R0)"));
    QVERIFY(d->modelo->headerData(7, Qt::Horizontal, Qt::FontRole).value<QFont>().bold());
    QCOMPARE(d->sldCiclo->value(), 8);

    QSignalSpy reseteos(d->modelo, &QAbstractItemModel::modelReset);
    QSignalSpy columnas(d->modelo, &QAbstractItemModel::columnsInserted);
    c->tic(SUPER);
    QCOMPARE(reseteos.count(), 0);
    QCOMPARE(columnas.count(), 1);
    QCOMPARE(d->modelo->columnCount(), 9);
    QCOMPARE(d->modelo->rowCount(), static_cast<int>(d->modelo->registrador().numFilasVista()));
    QCOMPARE(letras(d->modelo, 0), QStringLiteral("PDRAREEEE"));
    // Abrirla otra vez trae la misma.
    QCOMPARE(abrirDiagrama(), d);

    // Hasta el final: la carga, la suma que la espera y las anuladas tras el salto.
    for (int i = 0; i < 60 && c->controlador(SUPER).enEjecucion(); ++i) c->tic(SUPER);
    dialogos->olvidar();
    QVERIFY(!c->controlador(SUPER).enEjecucion());
    QCOMPARE(letras(d->modelo, 0), QStringLiteral("PDRAREEEEWC"));
    // La suma espera el operando j: lo dice la pista de su celda.
    const int enEspera = d->modelo->columnaDeCiclo(6);
    QCOMPARE(d->modelo->index(1, enEspera).data().toString(), QStringLiteral("R"));
    const QString pista = d->modelo->index(1, enEspera).data(Qt::ToolTipRole).toString();
    QVERIFY2(pista.contains(QStringLiteral("ADDF F2 F1 F1")) && pista.contains(QStringLiteral("Ciclo 6")) &&
                 pista.contains(QStringLiteral("Espera el operando j (etiqueta 0 del ROB, la fila anterior)")),
             qPrintable(pista));
    // Las filas anuladas van tachadas y en gris; las confirmadas no.
    int anuladas = 0;
    for (int f = 0; f < d->modelo->rowCount(); ++f) {
      const bool anulada = letras(d->modelo, f).endsWith(QLatin1Char('X'));
      anuladas += anulada;
      QCOMPARE(d->modelo->headerData(f, Qt::Vertical, Qt::FontRole).value<QFont>().strikeOut(), anulada);
      const QModelIndex primera = d->modelo->index(f, d->modelo->columnaDeCiclo(d->modelo->filaDiagrama(f).primero));
      QCOMPARE(primera.data(Qt::ForegroundRole).isValid(), anulada);
    }
    QVERIFY(anuladas > 0);
    // La tabla de libro, al pasar a su pestaña.
    d->pagPestanas->setCurrentWidget(d->grdTabla);
    QCOMPARE(d->modeloTabla->rowCount(), d->modelo->rowCount());
    QCOMPARE(d->modeloTabla->headerData(5, Qt::Horizontal).toString(), QStringLiteral("Confirmación"));
    QStringList carga;
    for (int k = 0; k < d->modeloTabla->columnCount(); ++k) carga << d->modeloTabla->index(0, k).data().toString();
    QCOMPARE(carga, (QStringList{"0: LF F1 0(R0)", "3", "4", "9", "10", "11"}));
  }

  // Un ciclo pedido desde la cabecera o el deslizador sale por la señal; la
  // selección del diagrama y la del código se siguen.
  void ciclosPedidosYSeleccionCompartida() {
    abrir(fichero(QStringLiteral("p.pla"), PROGRAMA));
    for (int i = 0; i < 12; ++i) c->actPaso->trigger();
    TfrmDiagrama* d = abrirDiagrama();
    QSignalSpy pedidos(d, &TfrmDiagrama::cicloPedido);
    emit d->grdDiagrama->horizontalHeader()->sectionClicked(4);
    QCOMPARE(pedidos.count(), 1);
    QCOMPARE(pedidos.takeFirst().at(0).value<int32_t>(), 5);
    d->sldCiclo->setValue(3);
    QCOMPARE(pedidos.count(), 1);
    QCOMPARE(pedidos.takeFirst().at(0).value<int32_t>(), 3);
    // De vuelta en el ciclo 3 el modelo pierde lo posterior por detrás.
    QCOMPARE(d->modelo->columnCount(), 3);
    QCOMPARE(d->modelo->rowCount(), static_cast<int>(d->modelo->registrador().numFilasVista()));
    QCOMPARE(letras(d->modelo, 0), QStringLiteral("PDR"));
    // Un refresco no pide nada.
    c->actPaso->trigger();
    QCOMPARE(pedidos.count(), 0);

    QSignalSpy elegidas(d, &TfrmDiagrama::instruccionSeleccionada);
    emit d->grdDiagrama->clicked(d->modelo->index(1, 3));
    QCOMPARE(elegidas.count(), 1);
    QCOMPARE(c->grdInstrucciones->currentIndex().row(), 1);
    QCOMPARE(d->modelo->filaSeleccionada(), 1);
    // El código resalta en el diagrama las filas de su instrucción.
    c->grdInstrucciones->selectRow(2);
    QCOMPARE(d->modelo->resaltada(), 2);
    QVERIFY(d->modelo->esDeDireccion(2, 2));
    QVERIFY(!d->modelo->esDeDireccion(1, 2));
    // La selección sigue en su instrucción tras más ciclos.
    c->actPaso->trigger();
    QCOMPARE(d->modelo->filaSeleccionada(), 1);
    // Con la ventana de ejecución: la fila elegida en el diagrama se marca en el
    // reorder buffer, y la elegida en el reorder buffer, en el diagrama.
    TfrmExeSuper* exe = c->frmExeSuper();
    QVERIFY(exe && exe->modeloROB->entrada(1));
    const int64_t enROB = exe->modeloROB->entrada(1)->instruccion->secuencia;
    emit d->grdDiagrama->clicked(d->modelo->index(static_cast<int>(enROB), 0));
    QCOMPARE(exe->panROB->grdRejilla->currentIndex().row(), 1);
    exe->panROB->grdRejilla->selectRow(0);
    QCOMPARE(d->modelo->secuenciaSeleccionada(), exe->modeloROB->entrada(0)->instruccion->secuencia);
    // Una ejecución nueva empieza de cero.
    c->controlador(SUPER).parar();
    c->actPaso->trigger();
    QCOMPARE(d->modelo->columnCount(), 1);
    QCOMPARE(d->modelo->filaSeleccionada(), -1);
  }

  void diagramaVLIWConSusOperaciones() {
    abrir(QStringLiteral(ORVEX_DIR_EJEMPLOS "/vector_suma.pla"));
    QVERIFY(c->vliw().cargarCodigo(ORVEX_DIR_EJEMPLOS "/vector_suma.vliw", *v->programa()));
    v->seleccionarMaquina(VLIW);
    for (int i = 0; i < 6; ++i) c->actPaso->trigger();
    TfrmDiagrama* d = abrirDiagrama();
    QVERIFY(d && d != c->ventanas().frmDiagrama(SUPER));
    QCOMPARE(d->windowTitle(), QStringLiteral("Diagrama de Ejecución VLIW"));
    QCOMPARE(d->modelo->headerData(0, Qt::Vertical).toString(),
             QStringLiteral("L0: DADDUI R1 R0 #0 | DADDUI R2 R0 #8"));
    QCOMPARE(d->modelo->headerData(1, Qt::Vertical).toString().trimmed(), QStringLiteral("+Entera 0: DADDUI R1 R0 #0"));
    QCOMPARE(letras(d->modelo, 0), QStringLiteral("I"));
    QCOMPARE(letras(d->modelo, 1), QStringLiteral("IW"));
    d->pagPestanas->setCurrentWidget(d->grdTabla);
    QCOMPARE(d->modeloTabla->columnCount(), 4);
    QCOMPARE(d->modeloTabla->index(1, 3).data().toInt(), 2);
  }

  void exportaLasDosVistasYLasImagenes() {
    abrir(fichero(QStringLiteral("p.pla"), PROGRAMA));
    for (int i = 0; i < 10; ++i) c->actPaso->trigger();
    TfrmDiagrama* d = abrirDiagrama();
    d->spiDesde->setValue(2);
    d->spiHasta->setValue(4);
    QCOMPARE(d->intervaloExportacion().desde, 2);
    QCOMPARE(d->intervaloExportacion().hasta, 4);

    const QString csv = dir.filePath(QStringLiteral("d.csv"));
    dialogos->ficherosGuardar << csv;
    d->actExportarDiagramaCSV->trigger();
    const QString texto = QString::fromUtf8(leer(csv));
    QVERIFY2(texto.startsWith(QStringLiteral("seq,fila,dirección,instrucción,2,3,4\n0,\"instrucción\",0,\"LF F1 0(R0)\",D,R,A\n")),
             qPrintable(texto));

    const QString tabla = dir.filePath(QStringLiteral("t.csv"));
    QVERIFY(d->exportar(TfrmDiagrama::expTablaCSV, tabla));
    QVERIFY(leer(tabla).startsWith("seq,dirección,instrucción,emisión,"));

    const QString png = dir.filePath(QStringLiteral("d.png"));
    d->spiDesde->setValue(1);
    d->spiHasta->setValue(0);  // hasta el último
    QVERIFY(d->exportar(TfrmDiagrama::expPNG, png));
    const QImage imagen(png);
    QCOMPARE(imagen.size(), d->tamanoImagen(d->intervaloExportacion()));
    QVERIFY(imagen.width() > 10 * d->anchoCiclo());

    const QString svg = dir.filePath(QStringLiteral("d.svg"));
    QVERIFY(d->exportar(TfrmDiagrama::expSVG, svg));
    QVERIFY(leer(svg).contains("<svg"));

    // Un fichero que no se puede escribir se dice, y no cuelga nada.
    QVERIFY(!d->exportar(TfrmDiagrama::expDiagramaCSV, dir.filePath(QStringLiteral("no/existe/d.csv"))));
    QCOMPARE(dialogos->mensajes().size(), 1);
    dialogos->olvidar();
  }

  // Con el límite de filas superado lo dice la ventana; la ampliación se acota.
  void filasDescartadasYAmpliacion() {
    TMaquinaSuper m;
    TCodigo codigo;
    QCOMPARE(codigo.cargarTexto("3\nL: DADDUI R1 R1 #1\nADDI R3 R3 R1\nBNE R1 R2 L\n"), CARGA_OK);
    m.codigo = &codigo;
    TControladorMaquina control(m, *dialogos);
    TRegistradorDiagrama r(false, 40);
    control.anadirObservador(&r);
    m.reset(true);
    m.gpr.valor[2] = 100;
    TfrmDiagrama d(r, control, *dialogos);
    d.show();
    QVERIFY(!d.labDescartadas->isVisibleTo(&d));
    // Las filas descartadas por antiguas salen por delante, sin rehacer el
    // modelo: tras cada ciclo, la vista es la del registrador.
    QSignalSpy reseteos(d.modelo, &QAbstractItemModel::modelReset);
    QSignalSpy quitadas(d.modelo, &QAbstractItemModel::rowsRemoved);
    for (int i = 0; i < 200; ++i) {
      m.ejecutarCiclo();
      d.actualizar();
      QCOMPARE(d.modelo->rowCount(), static_cast<int>(r.numFilas()));
      QCOMPARE(d.modelo->headerData(0, Qt::Horizontal).toInt(), std::max(1, r.primerCiclo()));
      QCOMPARE(d.modelo->columnCount(), r.ultimoCiclo() - std::max(1, r.primerCiclo()) + 1);
      QCOMPARE(letras(d.modelo, 0), QString::fromStdString(r.letras(r.fila(0))).remove(QLatin1Char(' ')));
    }
    QCOMPARE(reseteos.count(), 0);
    QVERIFY(quitadas.count() > 0);
    QVERIFY(d.labDescartadas->isVisibleTo(&d));
    QVERIFY(d.labDescartadas->text().contains(QStringLiteral("últimas 40")));
    QVERIFY(d.modelo->headerData(0, Qt::Horizontal).toInt() > 1);
    d.setAnchoCiclo(1000);
    QCOMPARE(d.anchoCiclo(), TfrmDiagrama::ANCHO_MAXIMO);
    d.setAnchoCiclo(0);
    QCOMPARE(d.anchoCiclo(), TfrmDiagrama::ANCHO_MINIMO);
    control.quitarObservador(&r);
  }
};

QTEST_MAIN(PruebasDiagrama)
#include "PruebasDiagrama.moc"
