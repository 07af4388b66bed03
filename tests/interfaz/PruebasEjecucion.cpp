// Ventanas de ejecución: la superescalar (colas, renombrado, predicción, ROB,
// estaciones y unidades) y la VLIW (unidades, NaT y predicados), leídas de
// máquinas de verdad después de ciclos de programas conocidos.

#include <QHeaderView>
#include <QLabel>
#include <QMdiArea>
#include <QPushButton>
#include <QSignalSpy>
#include <QToolButton>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <memory>

#include "AyudaPrincipal.h"
#include "Simulador/componentes/TModeloSelec.h"
#include "Simulador/componentes/TRejillaSelec.h"
#include "Simulador/componentes/TfrmSelecBool.h"
#include "Simulador/componentes/TfrmSelecROBReg.h"
#include "Simulador/comunes/TColumnaVistas.h"
#include "Simulador/comunes/TPanelRejilla.h"
#include "Simulador/comunes/TRejillaEjecucion.h"
#include "Simulador/comunes/TfrmUF.h"
#include "Simulador/dialogos/TdlgIntervalo.h"
#include "Simulador/superescalar/TModeloER.h"
#include "Simulador/superescalar/TModeloROB.h"
#include "Simulador/superescalar/TfrmER.h"
#include "Simulador/superescalar/TfrmExeSuper.h"
#include "Simulador/vliw/TfrmExeVLIW.h"
#include "TServicioDialogosGuion.h"
#include "loader/TCodigo.h"
#include "superscalar/TMaquinaSuper.h"
#include "vliw/TMaquinaVLIW.h"

namespace {

// Dos sumas en coma flotante (la segunda espera a la primera) y una
// multiplicación entera: emitidas en el ciclo 3 con las etiquetas 0, 1 y 2.
const char* const TRES = R"(3
ADDF  F1 F2 F3
ADDF  F4 F1 F1
MULTI R1 R2 R3
)";

// Para la VLIW: una carga, un salto que se toma y el destino del salto.
const char* const SECUENCIAL_VLIW = R"(3
     LI     R5 0(R0)
     BEQ    R0 R0 FIN
FIN: DADDUI R1 R0 #1
)";
// Instrucción larga 0: la carga en Mem #0 y el salto (destino 2, predicados 3 y 4).
const char* const PROGRAMA_VLIW = "3\n2\t0 4 0 0\t1 5 0 0 2 3 4\n0\n1\t2 0 0 0\n";

// Servicio de guion que avisa al pedir un color (para mirar el temporizador entonces).
class TDialogosColor : public TServicioDialogosGuion {
public:
  std::function<void()> alElegirColor;
  std::optional<QColor> elegirColor(QWidget* padre, const QColor& inicial) override {
    if (alElegirColor) alElegirColor();
    return TServicioDialogosGuion::elegirColor(padre, inicial);
  }
};

QString celda(const QAbstractItemModel* m, int fila, int columna, int rol = Qt::DisplayRole) {
  return m->index(fila, columna).data(rol).toString();
}
QStringList fila(const QAbstractItemModel* m, int f) {
  QStringList textos;
  for (int c = 0; c < m->columnCount(); ++c) textos << celda(m, f, c);
  return textos;
}
QStringList cabeceras(const QAbstractItemModel* m, Qt::Orientation o = Qt::Horizontal) {
  QStringList textos;
  const int n = o == Qt::Horizontal ? m->columnCount() : m->rowCount();
  for (int s = 0; s < n; ++s) textos << m->headerData(s, o).toString();
  return textos;
}
bool todoEnBlanco(const QAbstractItemModel* m) {
  for (int f = 0; f < m->rowCount(); ++f)
    for (int c = 0; c < m->columnCount(); ++c)
      if (!celda(m, f, c).isEmpty()) return false;
  return true;
}
// El gris de las etiquetas que ya no están vivas: el del texto deshabilitado.
QColor grisApagado() { return QGuiApplication::palette().color(QPalette::Disabled, QPalette::Text); }
QColor fondo(const QAbstractItemModel* m, int f, int c) { return m->index(f, c).data(Qt::BackgroundRole).value<QColor>(); }

}  // namespace

class PruebasEjecucion : public QObject {
  Q_OBJECT

  QTemporaryDir dir;
  std::unique_ptr<TDialogosColor> dialogos;
  std::unique_ptr<TdlgIntervalo> dlg;
  std::unique_ptr<QMdiArea> area;
  TCodigo tres;
  // Las máquinas de cada prueba (y sus controladores, por donde las ventanas
  // escriben en ellas) viven más que las ventanas que las leen.
  std::vector<std::unique_ptr<TMaquina>> maquinas;
  std::vector<std::unique_ptr<TControladorMaquina>> controladores;

  template <typename T>
  T& nueva() {
    maquinas.push_back(std::make_unique<T>());
    return static_cast<T&>(*maquinas.back());
  }

  TfrmExeSuper* ventanaSuper(TMaquinaSuper& m, QTimer* t = nullptr) {
    controladores.push_back(std::make_unique<TControladorMaquina>(m, *dialogos));
    auto* v = new TfrmExeSuper(m, *controladores.back(), *dialogos, *dlg, t);
    area->addSubWindow(v);
    v->show();
    return v;
  }
  TfrmExeVLIW* ventanaVLIW(TMaquinaVLIW& m) {
    auto* v = new TfrmExeVLIW(m, *dialogos, *dlg);
    area->addSubWindow(v);
    v->show();
    return v;
  }
  static void ciclos(TMaquina& m, int n) {
    for (int i = 0; i < n; ++i) m.ejecutarCiclo();
  }
  static QAbstractItemModel* er(TfrmExeSuper* v, int t) { return v->frmER[static_cast<size_t>(t)]->modelo; }
  static QAbstractItemModel* uf(TfrmExeSuper* v, int t) { return v->frmUF[static_cast<size_t>(t)]->modelo; }

  QString fichero(const QString& nombre, const QByteArray& texto) {
    const QString ruta = dir.filePath(nombre);
    QFile f(ruta);
    if (!f.open(QIODevice::WriteOnly)) qFatal("no se puede escribir %s", qPrintable(ruta));
    f.write(texto);
    return ruta;
  }

  // Superescalar por defecto con el programa TRES y F2 = 1,5, F3 = 1.
  TMaquinaSuper* maquinaTres() {
    TMaquinaSuper* m = &nueva<TMaquinaSuper>();
    m->codigo = &tres;
    m->reset(true);
    m->fpr.valor[2] = 1.5f;
    m->fpr.valor[3] = 1.0f;
    return m;
  }

private slots:
  void initTestCase() {
    QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain));
    QCOMPARE(tres.cargarTexto(TRES), CARGA_OK);
  }

  void init() {
    dialogos = std::make_unique<TDialogosColor>();
    dlg = std::make_unique<TdlgIntervalo>(*dialogos);
    area = std::make_unique<QMdiArea>();
    area->resize(1300, 900);
    area->show();
  }

  void cleanup() {
    QCOMPARE(dialogos->sinRespuesta, 0);
    area.reset();
    controladores.clear();
    maquinas.clear();
    dlg.reset();
    dialogos.reset();
  }

  // ------------------------------------------------------------ superescalar

  void tamanosYCabecerasPorDefecto() {
    TMaquinaSuper& m = nueva<TMaquinaSuper>();
    TfrmExeSuper* v = ventanaSuper(m);
    QCOMPARE(v->windowTitle(), QStringLiteral("Ejecución Superescalar"));
    QCOMPARE(v->property("temaAyuda").toInt(), 15);
    const QAbstractItemModel* rob = v->modeloROB;
    QCOMPARE(rob->rowCount(), 47);
    QCOMPARE(v->panROB->grdRejilla->textoEsquina(), QStringLiteral("Nº"));
    QVERIFY(v->panROB->grdRejilla->verticalHeader()->isVisible());
    QCOMPARE(cabeceras(rob), QStringList({"Inst.", "Destino", "Valor", "Direc.", "Etapa"}));
    const int filasER[] = {4, 6, 10, 14, 10, 3};
    const int etapas[] = {1, 2, 4, 6, 4, 2};
    for (int t = 0; t < NUM_TIPOS_UF; ++t) {
      QCOMPARE(v->frmER[static_cast<size_t>(t)]->panTitulo->text(), QString::fromStdString(nombresTipoUF[static_cast<size_t>(t)]));
      QCOMPARE(er(v, t)->rowCount(), filasER[t]);
      QCOMPARE(cabeceras(er(v, t)), QStringList({"Inst.", "Qj", "Vj", "Qk", "Vk", "A", "ROB"}));
      QCOMPARE(uf(v, t)->rowCount(), etapas[t]);
      QCOMPARE(cabeceras(uf(v, t)), t == tufSalto ? QStringList({"#0"}) : QStringList({"#0", "#1"}));
    }
    QCOMPARE(v->frmALUDir->panTitulo->text(), QStringLiteral("ALU Dir."));
    QCOMPARE(v->frmALUDir->modelo->rowCount(), 1);
    QCOMPARE(v->frmALUDir->modelo->columnCount(), 2);
    QCOMPARE(v->panPrefetch->grdRejilla->model()->rowCount(), 8);
    QCOMPARE(v->panDecoder->grdRejilla->model()->rowCount(), 4);
    const QAbstractItemModel* pred = v->panPrediccion->grdRejilla->model();
    QCOMPARE(pred->rowCount(), 16);
    QCOMPARE(v->panPrediccion->grdRejilla->textoEsquina(), QStringLiteral("Dir."));
    QCOMPARE(cabeceras(pred), QStringList({"Valor"}));
    QCOMPARE(cabeceras(pred, Qt::Vertical).last(), QStringLiteral("15"));
    QCOMPARE(celda(pred, 0, 0), QStringLiteral("F(00)"));
    QCOMPARE(v->frmSelecROBGPR->panTitulo->text(), QStringLiteral("ROB<->GPR"));
    QCOMPARE(v->frmSelecROBFPR->panTitulo->text(), QStringLiteral("ROB<->FPR"));
    QCOMPARE(v->frmSelecROBGPR->numElementos, 64);
    QVERIFY(!v->frmSelecROBGPR->butAceptar->isVisibleTo(v->frmSelecROBGPR) &&
            v->frmSelecROBGPR->butAnadir->isVisibleTo(v->frmSelecROBGPR));
    // Pistas de los títulos.
    QCOMPARE(v->panPrefetch->panTitulo->toolTip(), QStringLiteral("Unidad de Prefetch"));
    QCOMPARE(v->panPrediccion->panTitulo->toolTip(), QStringLiteral("Tabla de Predicción de Salto"));
  }

  // Máquina vacía: colas y estaciones en blanco; el ROB solo numera sus filas.
  void maquinaVaciaSoloNumera() {
    TMaquinaSuper& m = nueva<TMaquinaSuper>();
    TfrmExeSuper* v = ventanaSuper(m);
    v->actualizar();
    QVERIFY(todoEnBlanco(v->modeloROB));
    QCOMPARE(cabeceras(v->modeloROB, Qt::Vertical).first(), QStringLiteral("0"));
    QCOMPARE(cabeceras(v->modeloROB, Qt::Vertical).last(), QStringLiteral("46"));
    for (int t = 0; t < NUM_TIPOS_UF; ++t) {
      QVERIFY(todoEnBlanco(er(v, t)));
      QVERIFY(todoEnBlanco(uf(v, t)));
    }
    QVERIFY(todoEnBlanco(v->panPrefetch->grdRejilla->model()));
    QVERIFY(todoEnBlanco(v->panDecoder->grdRejilla->model()));
    QCOMPARE(celda(v->frmSelecROBGPR->modelo(), 3, 0), QStringLiteral("-1"));
  }

  // Tras los ciclos de emisión, el ROB, las estaciones y el renombrado; después,
  // las unidades etapa a etapa; cada refresco es una sola notificación.
  void refrescoTrasCiclosDeUnProgramaConocido() {
    auto m = maquinaTres();
    TfrmExeSuper* v = ventanaSuper(*m);
    QSignalSpy cambios(v->modeloROB, &QAbstractItemModel::dataChanged);
    QSignalSpy reinicios(v->modeloROB, &QAbstractItemModel::modelReset);
    ciclos(*m, 1);
    v->actualizar();
    QCOMPARE(fila(v->panPrefetch->grdRejilla->model(), 0), QStringList({"0"}));
    QCOMPARE(fila(v->panPrefetch->grdRejilla->model(), 2), QStringList({"2"}));
    ciclos(*m, 2);
    v->actualizar();
    QCOMPARE(cambios.count(), 2);
    QCOMPARE(reinicios.count(), 0);
    const QAbstractItemModel* rob = v->modeloROB;
    QCOMPARE(cabeceras(rob, Qt::Vertical).mid(0, 5), QStringList({"0", "1", "2", "3", "4"}));
    QCOMPARE(fila(rob, 0), QStringList({"0", "1", "0", "-1", "ISSUE"}));
    QCOMPARE(fila(rob, 1), QStringList({"1", "4", "0", "-1", "ISSUE"}));
    QCOMPARE(fila(rob, 2), QStringList({"2", "1", "0", "-1", "ISSUE"}));
    QCOMPARE(fila(rob, 3), QStringList({"", "", "", "", ""}));
    QCOMPARE(fila(er(v, tufSumaFlotante), 0), QStringList({"0", "-1", "1,5", "-1", "1", "-1", "0"}));
    QCOMPARE(fila(er(v, tufSumaFlotante), 1), QStringList({"1", "0", "0", "0", "0", "-1", "1"}));
    QCOMPARE(fila(er(v, tufMultEntera), 0), QStringList({"2", "-1", "0", "-1", "0", "-1", "2"}));
    QCOMPARE(fila(er(v, tufSumaFlotante), 2), QStringList({"", "", "", "", "", "", ""}));
    QCOMPARE(celda(v->frmSelecROBFPR->modelo(), 4, 0), QStringLiteral("1"));
    QCOMPARE(celda(v->frmSelecROBGPR->modelo(), 1, 0), QStringLiteral("2"));

    ciclos(*m, 1);
    v->actualizar();
    QCOMPARE(celda(rob, 0, TModeloROB::ColEtapa), QStringLiteral("EXEC"));
    QCOMPARE(celda(uf(v, tufSumaFlotante), 0, 0), QStringLiteral("0"));  // etapa de entrada arriba
    QCOMPARE(celda(uf(v, tufMultEntera), 0, 0), QStringLiteral("2"));
    ciclos(*m, 1);
    v->actualizar();
    QCOMPARE(celda(uf(v, tufSumaFlotante), 0, 0), QString());
    QCOMPARE(celda(uf(v, tufSumaFlotante), 1, 0), QStringLiteral("0"));
    QCOMPARE(celda(uf(v, tufMultEntera), 1, 0), QStringLiteral("2"));  // la salida, abajo

    // Todo confirmado: las filas vacías cuentan desde el hueco siguiente a la
    // última entrada, módulo la capacidad.
    for (int i = 0; i < 40 && m->ejecutarCiclo() != CICLO_COMPLETADO; ++i) {
    }
    v->actualizar();
    QVERIFY(todoEnBlanco(rob));
    const QStringList numeros = cabeceras(rob, Qt::Vertical);
    QCOMPARE(numeros.mid(0, 2), QStringList({"3", "4"}));
    QCOMPARE(numeros.mid(43), QStringList({"46", "0", "1", "2"}));
    QCOMPARE(reinicios.count(), 0);
  }

  // Las etiquetas de renombrado siguen ahí cuando el registro ya no espera a
  // nadie: se ven en gris, y las vivas con el color del texto.
  void etiquetasDeRenombradoViejasEnGris() {
    auto m = maquinaTres();
    TfrmExeSuper* v = ventanaSuper(*m);
    const QAbstractItemModel* fpr = v->frmSelecROBFPR->modelo();
    const QAbstractItemModel* gpr = v->frmSelecROBGPR->modelo();
    auto gris = [](const QAbstractItemModel* mod, int fila) {
      const QVariant color = mod->index(fila, 0).data(Qt::ForegroundRole);
      return color.isValid() && color.value<QBrush>().color() == grisApagado();
    };
    ciclos(*m, 3);
    v->actualizar();
    QVERIFY(m->fpr.pendiente[4] && m->gpr.pendiente[1]);
    QVERIFY(!gris(fpr, 4) && !gris(fpr, 1) && !gris(gpr, 1));
    QVERIFY(gris(fpr, 0) && gris(gpr, 0));
    QVERIFY(fpr->index(4, 0).data(Qt::ToolTipRole).toString().isEmpty());
    for (int i = 0; i < 40 && m->ejecutarCiclo() != CICLO_COMPLETADO; ++i) {
    }
    v->actualizar();
    // Los valores no cambian: solo su color y su pista.
    QCOMPARE(celda(fpr, 4, 0), QStringLiteral("1"));
    QCOMPARE(celda(gpr, 1, 0), QStringLiteral("2"));
    QVERIFY(gris(fpr, 4) && gris(gpr, 1));
    QVERIFY(!fpr->index(4, 0).data(Qt::ToolTipRole).toString().isEmpty());
  }

  void pistas() {
    auto m = maquinaTres();
    TfrmExeSuper* v = ventanaSuper(*m);
    ciclos(*m, 2);
    v->actualizar();
    QCOMPARE(celda(v->panDecoder->grdRejilla->model(), 1, 0, Qt::ToolTipRole), QStringLiteral("ADDF F4 F1 F1"));
    QCOMPARE(celda(v->panDecoder->grdRejilla->model(), 3, 0, Qt::ToolTipRole), QString());
    ciclos(*m, 2);
    v->actualizar();
    const QAbstractItemModel* rob = v->modeloROB;
    QCOMPARE(celda(rob, 2, TModeloROB::ColEtapa, Qt::ToolTipRole), QStringLiteral("MULTI R1 R2 R3"));
    QCOMPARE(rob->headerData(2, Qt::Vertical, Qt::ToolTipRole).toString(), QStringLiteral("MULTI R1 R2 R3"));
    QCOMPARE(celda(rob, 5, 0, Qt::ToolTipRole), QString());
    QCOMPARE(rob->headerData(0, Qt::Horizontal, Qt::ToolTipRole).toString(), QString());
    const QAbstractItemModel* e = er(v, tufSumaFlotante);
    // La segunda ADDF espera a la etiqueta 0 en los dos operandos.
    QCOMPARE(celda(e, 1, TModeloER::ColQj, Qt::ToolTipRole), QStringLiteral("Valor en ROB: 0"));
    QCOMPARE(celda(e, 1, TModeloER::ColVk, Qt::ToolTipRole), QStringLiteral("Valor en ROB: 0"));
    QCOMPARE(celda(e, 1, TModeloER::ColA, Qt::ToolTipRole), QStringLiteral("ADDF F4 F1 F1"));
    QCOMPARE(celda(e, 0, TModeloER::ColROB, Qt::ToolTipRole), QStringLiteral("ADDF F1 F2 F3"));
    QCOMPARE(celda(e, 3, TModeloER::ColInst, Qt::ToolTipRole), QString());
    QCOMPARE(e->headerData(1, Qt::Horizontal, Qt::ToolTipRole).toString(), QStringLiteral("Estación de Reserva +Flotante"));
    QCOMPARE(celda(uf(v, tufSumaFlotante), 0, 0, Qt::ToolTipRole), QStringLiteral("ADDF F1 F2 F3"));
    QCOMPARE(uf(v, tufSumaFlotante)->headerData(0, Qt::Horizontal, Qt::ToolTipRole).toString(),
             QStringLiteral("Unidad Funcional +Flotante"));
    QCOMPARE(v->frmALUDir->modelo->pistaGeneral(), QStringLiteral("Unidad Funcional +Entera"));

    // Otro programa, más corto, con la ventana aún abierta: ninguna pista lee fuera de él.
    TCodigo corto;
    QCOMPARE(corto.cargarTexto("1\nADDI R1 R2 R3\n"), CARGA_OK);
    m->codigo = &corto;
    QCOMPARE(celda(rob, 2, 0, Qt::ToolTipRole), QString());
    QCOMPARE(celda(rob, 0, 0, Qt::ToolTipRole), QStringLiteral("ADDI R1 R2 R3"));
    m->codigo = nullptr;
    QCOMPARE(celda(rob, 0, 0, Qt::ToolTipRole), QString());
  }

  // Un operando que ya tiene valor: "Qj" −1 y la pista con el valor.
  void operandoConValor() {
    auto m = maquinaTres();
    TfrmExeSuper* v = ventanaSuper(*m);
    ciclos(*m, 3);
    v->actualizar();
    const QAbstractItemModel* e = er(v, tufSumaFlotante);
    QCOMPARE(celda(e, 0, TModeloER::ColQj), QStringLiteral("-1"));
    QCOMPARE(celda(e, 0, TModeloER::ColQj, Qt::ToolTipRole), QStringLiteral("Valor: 1,5"));
    QCOMPARE(celda(e, 0, TModeloER::ColQk, Qt::ToolTipRole), QStringLiteral("Valor: 1"));
  }

  // El doble clic da color a la instrucción (ROB, estación y unidad) con el
  // temporizador parado mientras se elige; el segundo se lo quita sin diálogo.
  void colorPorDobleClic() {
    auto m = maquinaTres();
    QTimer temporizador;
    temporizador.start(100000);
    TfrmExeSuper* v = ventanaSuper(*m, &temporizador);
    ciclos(*m, 4);
    v->actualizar();
    bool corriaAlElegir = true;
    dialogos->alElegirColor = [&] { corriaAlElegir = temporizador.isActive(); };
    dialogos->colores << QColor(250, 200, 100);
    TRejillaEjecucion* rob = v->panROB->grdRejilla;
    const auto dobleClic = [rob](int f) {
      rob->scrollTo(rob->model()->index(f, 1));
      const QPoint p = rob->visualRect(rob->model()->index(f, 1)).center();
      QTest::mouseDClick(rob->viewport(), Qt::LeftButton, {}, p);
    };
    dobleClic(0);
    QCOMPARE(dialogos->de(QStringLiteral("color")).size(), 1);
    QVERIFY(!corriaAlElegir);
    QVERIFY(temporizador.isActive());
    const QColor elegido(250, 200, 100);
    QCOMPARE(fondo(v->modeloROB, 0, 4), elegido);
    QCOMPARE(fondo(uf(v, tufSumaFlotante), 0, 0), elegido);
    QVERIFY(!fondo(v->modeloROB, 2, 0).isValid());
    QVERIFY(!fondo(uf(v, tufMultEntera), 0, 0).isValid());
    // En la estación, la fila de la primera ADDF (etiqueta 0); la segunda, sin color.
    QCOMPARE(fondo(er(v, tufSumaFlotante), 0, TModeloER::ColVj), elegido);
    QVERIFY(!fondo(er(v, tufSumaFlotante), 1, 0).isValid());
    v->grab();  // pinta con los colores

    dobleClic(0);
    QCOMPARE(dialogos->de(QStringLiteral("color")).size(), 1);
    QVERIFY(!fondo(v->modeloROB, 0, 0).isValid());
    QVERIFY(!fondo(uf(v, tufSumaFlotante), 0, 0).isValid());
    // Filas vacías: nada, ni diálogo.
    dobleClic(10);
    QCOMPARE(dialogos->de(QStringLiteral("color")).size(), 1);
    // Cancelar el selector deja la instrucción como estaba.
    dialogos->colores << std::nullopt;
    dobleClic(1);
    QVERIFY(!fondo(v->modeloROB, 1, 0).isValid());
  }

  // La estación pinta la fila con el color de la entrada del ROB que nombra.
  void colorEnLaEstacion() {
    auto m = maquinaTres();
    TfrmExeSuper* v = ventanaSuper(*m);
    ciclos(*m, 3);
    v->actualizar();
    dialogos->colores << QColor(Qt::cyan);
    v->colorearFila(1);
    QCOMPARE(fondo(er(v, tufSumaFlotante), 1, TModeloER::ColVk), QColor(Qt::cyan));
    QVERIFY(!fondo(er(v, tufSumaFlotante), 0, 0).isValid());
    QVERIFY(!fondo(uf(v, tufSumaFlotante), 0, 0).isValid());
  }

  // El temporizador de la ventana principal se para mientras se elige color.
  void colorDuranteUnaEjecucionDeLaVentanaPrincipal() {
    TfrmPrincipal p(*dialogos);
    TPrincipalEnPrueba c(p);
    dialogos->ficherosAbrir << fichero(QStringLiteral("tres.pla"), TRES);
    c.actAbrir->trigger();
    c.actIni->trigger();
    for (int i = 0; i < 4; ++i) c.tic(SUPER);
    QVERIFY(c.frmExeSuper() && c.timSimulSuper->isActive());
    bool corria = true;
    dialogos->alElegirColor = [&] { corria = c.timSimulSuper->isActive(); };
    dialogos->colores << QColor(Qt::yellow);
    c.frmExeSuper()->colorearFila(0);
    QVERIFY(!corria);
    QVERIFY(c.timSimulSuper->isActive());
    QCOMPARE(c.super().rob.enOrden(0)->instruccion->color, colorRGB(255, 255, 0));
    // El color es de esa instrucción en vuelo, no del programa.
    QCOMPARE(p.programa()->instrucciones[0].color, COLOR_POR_DEFECTO);
    c.controlador(SUPER).pausa();
  }

  // Con «Emisión» 16 (y con la de siempre) el reorder buffer conserva una parte
  // usable de la ventana maximizada a 1400 × 900: las colas se desplazan.
  void robVisibleConCualquierEmision_data() {
    QTest::addColumn<int>("emision");
    QTest::newRow("4") << 4;
    QTest::newRow("16") << 16;
  }
  void robVisibleConCualquierEmision() {
    QFETCH(int, emision);
    TfrmPrincipal p(*dialogos);
    TPrincipalEnPrueba c(p);
    p.resize(1400, 900);
    p.show();
    dialogos->ficherosAbrir << fichero(QStringLiteral("tres.pla"), TRES);
    c.actAbrir->trigger();
    c.actConfSuper->trigger();
    QVERIFY(c.frmConfSuper());
    c.frmConfSuper()->spiEmision->setValue(emision);
    c.frmConfSuper()->butAceptar->click();
    c.actIni->trigger();
    c.actPausa->trigger();
    QVERIFY(c.frmExeSuper() && c.frmExeSuper()->isMaximized());
    QVERIFY(QTest::qWaitForWindowExposed(c.frmExeSuper()));
    QCoreApplication::processEvents();
    TRejillaEjecucion* rob = c.frmExeSuper()->panROB->grdRejilla;
    const int filasVisibles = rob->viewport()->height() / rob->altoFila();
    QVERIFY2(filasVisibles >= 8, qPrintable(QString::number(filasVisibles)));
    // Las colas enseñan lo que cabe y se desplazan para el resto.
    TRejillaEjecucion* prefetch = c.frmExeSuper()->panPrefetch->grdRejilla;
    QCOMPARE(prefetch->model()->rowCount(), 2 * emision);
    QVERIFY(prefetch->viewport()->height() > 0);
  }

  // Doble clic en el título: plegar y desplegar; el último panel no se pliega.
  void plegarPaneles() {
    TMaquinaSuper& m = nueva<TMaquinaSuper>();
    TfrmExeSuper* v = ventanaSuper(m);
    v->showNormal();
    v->resize(1200, 1000);
    QApplication::processEvents();
    TColumnaVistas* col = v->colER;
    TfrmER* primero = v->frmER[0];
    const int completo = primero->alturaCompleta();
    QCOMPARE(col->sizes()[0], completo);
    QTest::mouseDClick(primero->panTitulo, Qt::LeftButton);
    QCOMPARE(col->sizes()[0], TPanelRejilla::ALTO_TITULO);
    QVERIFY(col->plegado(0));
    QTest::mouseDClick(primero->panTitulo, Qt::LeftButton);
    QCOMPARE(col->sizes()[0], completo);
    const int ultimo = col->sizes()[5];
    QTest::mouseDClick(v->frmER[5]->panTitulo, Qt::LeftButton);
    QCOMPARE(col->sizes()[5], ultimo);
    // Sin sitio para todo: los paneles pequeños enteros y los grandes recortados por igual.
    QCOMPARE(TColumnaVistas::repartir({60, 80, 200, 300}, 400, 20), QList<int>({60, 80, 130, 130}));
    QCOMPARE(TColumnaVistas::repartir({60, 80}, 400, 20), QList<int>({60, 340}));
  }

  // Una configuración nueva y un reset con la ventana abierta: nada lee fuera
  // de lo construido, y el refresco siguiente toma la forma nueva.
  void maquinaReconstruidaConLaVentanaAbierta() {
    auto m = maquinaTres();
    TfrmExeSuper* v = ventanaSuper(*m);
    ciclos(*m, 5);
    v->actualizar();
    m->numUF.fill(1);
    m->latUF.fill(1);
    m->emision = 2;
    m->reset(false);
    v->grab();
    for (int f = 0; f < v->modeloROB->rowCount(); ++f) QVERIFY(fila(v->modeloROB, f).join(QString()).isEmpty());
    QCOMPARE(celda(uf(v, tufSumaFlotante), 3, 1), QString());
    v->actualizar();
    QCOMPARE(v->modeloROB->rowCount(), 12);
    QCOMPARE(er(v, tufMultFlotante)->rowCount(), 2);
    QCOMPARE(uf(v, tufMultFlotante)->rowCount(), 1);
    QCOMPARE(uf(v, tufMultFlotante)->columnCount(), 1);
    QCOMPARE(v->panDecoder->grdRejilla->model()->rowCount(), 2);
    v->grab();
    // Y a la mayor: los números del ROB siguen cabiendo en su columna.
    m->numUF.fill(MAX_UF);
    m->latUF.fill(MAX_LATENCIA);
    m->reset(false);
    v->actualizar();
    QCOMPARE(v->modeloROB->rowCount(), 6060);
    const QHeaderView* numeros = v->panROB->grdRejilla->verticalHeader();
    QVERIFY(numeros->width() > numeros->fontMetrics().horizontalAdvance(QStringLiteral("6059")));
  }

  // ------------------------------------------------------------ VLIW

  void ventanaVLIW() {
    TMaquinaVLIW& m = nueva<TMaquinaVLIW>();
    TfrmExeVLIW* v = ventanaVLIW(m);
    QCOMPARE(v->windowTitle(), QStringLiteral("Ejecución VLIW"));
    QCOMPARE(v->property("temaAyuda").toInt(), 16);
    QCOMPARE(v->frmSelecNATGPR->panTitulo->text(), QStringLiteral("NaT (GPR)"));
    QCOMPARE(v->frmSelecNATFPR->panTitulo->text(), QStringLiteral("NaT (FPR)"));
    QCOMPARE(v->frmSelecPred->panTitulo->text(), QStringLiteral("Reg. Pred."));
    QCOMPARE(v->frmSelecPred->modelo()->headerData(0, Qt::Vertical).toString(), QStringLiteral("p0"));
    QCOMPARE(v->frmSelecNATFPR->modelo()->headerData(7, Qt::Vertical).toString(), QStringLiteral("F7"));
    for (int t = 0; t < NUM_TIPOS_UF; ++t) {
      QCOMPARE(v->frmUF[static_cast<size_t>(t)]->panTitulo->text(), QString::fromStdString(nombresTipoUF[static_cast<size_t>(t)]));
      QCOMPARE(v->frmUF[static_cast<size_t>(t)]->objectName(), QStringLiteral("frmUF%1").arg(t + 1));
    }
    QCOMPARE(v->frmUF[tufSalto]->modelo->columnCount(), 1);
    QVERIFY(v->height() >= 600);
    // Tras un reset: p0 verdadero y ningún NaT.
    QCOMPARE(celda(v->frmSelecPred->modelo(), 0, 0), QStringLiteral("V"));
    QCOMPARE(celda(v->frmSelecPred->modelo(), 1, 0), QStringLiteral("F"));
    for (int r = 0; r < 8; ++r) QCOMPARE(celda(v->frmSelecNATGPR->modelo(), r, 0), QStringLiteral("F"));
  }

  // NaT del destino de LI hasta que termina la carga; predicados del salto.
  void natYPredicadosTrasUnaCargaYUnSalto() {
    TCodigo secuencial;
    QCOMPARE(secuencial.cargarTexto(SECUENCIAL_VLIW), CARGA_OK);
    TMaquinaVLIW& m = nueva<TMaquinaVLIW>();
    QVERIFY(m.cargarCodigo(fichero(QStringLiteral("p.vliw"), PROGRAMA_VLIW).toStdString(), secuencial));
    m.reset(true);
    TfrmExeVLIW* v = ventanaVLIW(m);
    const QAbstractItemModel* nat = v->frmSelecNATGPR->modelo();
    const QAbstractItemModel* pred = v->frmSelecPred->modelo();
    QStringList natR5, p3, p4;
    for (int c = 1; c <= 5; ++c) {
      m.ejecutarCiclo();
      v->actualizar();
      natR5 << celda(nat, 5, 0);
      p3 << celda(pred, 3, 0);
      p4 << celda(pred, 4, 0);
      if (c == 1) {
        QCOMPARE(celda(v->frmUF[tufMemoria]->modelo, 0, 0), QStringLiteral("0"));
        QCOMPARE(celda(v->frmUF[tufSalto]->modelo, 0, 0), QStringLiteral("1"));
        QCOMPARE(celda(v->frmUF[tufMemoria]->modelo, 0, 0, Qt::ToolTipRole), QStringLiteral("LI R5 0(R0)"));
      }
    }
    QCOMPARE(natR5, QStringList({"V", "V", "V", "V", "F"}));
    QCOMPARE(p3, QStringList({"F", "F", "V", "V", "V"}));
    QCOMPARE(p4, QStringList({"F", "F", "F", "F", "F"}));
    QCOMPARE(celda(pred, 0, 0), QStringLiteral("V"));
  }

  // La configuración VLIW cambia y reconstruye las unidades con la ventana
  // abierta: se pinta sin leer unidades destruidas y el refresco enseña las nuevas.
  void unidadesVLIWReconstruidas() {
    TCodigo secuencial;
    QCOMPARE(secuencial.cargarTexto(SECUENCIAL_VLIW), CARGA_OK);
    TMaquinaVLIW& m = nueva<TMaquinaVLIW>();
    QVERIFY(m.cargarCodigo(fichero(QStringLiteral("p.vliw"), PROGRAMA_VLIW).toStdString(), secuencial));
    m.reset(true);
    TfrmExeVLIW* v = ventanaVLIW(m);
    m.ejecutarCiclo();
    v->actualizar();
    m.numUF[tufMemoria] = 3;
    m.latUF[tufMemoria] = 1;
    m.reset(false);
    v->grab();
    QVERIFY(todoEnBlanco(v->frmUF[tufMemoria]->modelo));
    v->actualizar();
    QCOMPARE(v->frmUF[tufMemoria]->modelo->columnCount(), 3);
    QCOMPARE(v->frmUF[tufMemoria]->modelo->rowCount(), 1);
    QCOMPARE(cabeceras(v->frmUF[tufMemoria]->modelo), QStringList({"#0", "#1", "#2"}));
    v->grab();
    // Una ventana creada después también enseña las tres.
    TfrmExeVLIW* otra = ventanaVLIW(m);
    QCOMPARE(otra->frmUF[tufMemoria]->modelo->columnCount(), 3);
  }
};

int main(int argc, char** argv) {
  QApplication aplicacion(argc, argv);
  PruebasEjecucion pruebas;
  return QTest::qExec(&pruebas, argc, argv);
}

#include "PruebasEjecucion.moc"
