// Vistas de componentes: el diálogo de intervalos, los formatos de los números
// y la edición de registros y memoria, con un idioma español (coma decimal).

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QToolButton>
#include <QtTest>
#include <memory>

#include "AyudaPrincipal.h"
#include "Simulador/componentes/TModeloSelec.h"
#include "Simulador/componentes/TRejillaSelec.h"
#include "Simulador/componentes/TfrmComponente.h"
#include "Simulador/componentes/TfrmSelecMaquina.h"
#include "Simulador/comunes/TEditorValor.h"
#include "Simulador/comunes/TFormatoNumero.h"
#include "Simulador/dialogos/TdlgIntervalo.h"
#include "TServicioDialogosGuion.h"
#include "superscalar/TMaquinaSuper.h"
#include "vliw/TMaquinaVLIW.h"

namespace {

using TConjunto = std::set<int32_t>;

TConjunto rango(int32_t desde, int32_t hasta) {
  TConjunto c;
  for (int32_t i = desde; i <= hasta; ++i) c.insert(i);
  return c;
}

const QString INVALIDO = QStringLiteral("Valor inválido");

}  // namespace

Q_DECLARE_METATYPE(TConjunto)

class PruebasComponentes : public QObject {
  Q_OBJECT

  std::unique_ptr<TServicioDialogosGuion> dialogos;
  std::unique_ptr<TdlgIntervalo> dlg;
  std::unique_ptr<TMaquinaSuper> maquina;
  std::unique_ptr<TControladorMaquina> control;  // por donde el panel escribe en «maquina»

  // Panel de la ventana de componentes de ese tipo, ya enlazado a «maquina».
  std::unique_ptr<TfrmComponente> ventana(int tipo) {
    auto v = std::make_unique<TfrmComponente>(*maquina, *control, tipo, *dialogos, *dlg);
    v->show();
    return v;
  }

  static QStringList nombres(const TfrmSelec& p) {
    QStringList n;
    for (int f = 0; f < p.modelo()->rowCount(); ++f) n << p.modelo()->headerData(f, Qt::Vertical).toString();
    return n;
  }
  static QString valor(const TfrmSelec& p, int fila) { return p.modelo()->index(fila, 0).data().toString(); }

  // Responde al diálogo de intervalos con ese texto y pulsa el botón.
  void elegir(QToolButton* boton, const QString& texto, int respuesta = RESULTADO_ACEPTAR, TdlgIntervalo* d = nullptr) {
    (d ? d : dlg.get())->txtIntervalo->setText(texto);
    dialogos->respuestasModal << respuesta;
    boton->click();
  }

  // Escribe en la celda actual como el usuario (el editor siempre abierto).
  static void teclear(TfrmSelec& p, const QString& texto, bool borrarAntes = true) {
    auto* editor = qobject_cast<TEditorValor*>(p.grdSelec->editorActual());
    QVERIFY(editor);
    if (borrarAntes) {
      editor->selectAll();
      QTest::keyClick(editor, Qt::Key_Backspace);
    }
    QTest::keyClicks(editor, texto);
  }
  static QString textoEditor(const TfrmSelec& p) {
    auto* editor = qobject_cast<QLineEdit*>(p.grdSelec->editorActual());
    return editor ? editor->text() : QStringLiteral("<sin editor>");
  }

private slots:
  void initTestCase() { QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain)); }

  void init() {
    dialogos = std::make_unique<TServicioDialogosGuion>();
    dlg = std::make_unique<TdlgIntervalo>(*dialogos);
    maquina = std::make_unique<TMaquinaSuper>();
    control = std::make_unique<TControladorMaquina>(*maquina, *dialogos);
  }

  void cleanup() {
    QCOMPARE(dialogos->sinRespuesta, 0);
    dlg.reset();
    control.reset();
    maquina.reset();
    dialogos.reset();
  }

  // ------------------------------------------------------------ intervalos

  void intervalosValidos_data() {
    QTest::addColumn<QString>("texto");
    QTest::addColumn<int>("n");
    QTest::addColumn<TConjunto>("esperado");
    QTest::newRow("índices y un intervalo") << "1,4,6-8" << 64 << TConjunto{1, 4, 6, 7, 8};
    QTest::newRow("intervalo al revés") << "8-6" << 64 << rango(6, 8);
    QTest::newRow("intervalo que pasa del final") << "60-99" << 64 << rango(60, 63);
    QTest::newRow("intervalo entero fuera") << "70-90" << 64 << TConjunto{63};
    QTest::newRow("índice fuera se ignora") << "2000" << 1024 << TConjunto{};
    QTest::newRow("intervalo de memoria") << "1000-2000" << 1024 << rango(1000, 1023);
    QTest::newRow("mezcla") << "10,3,60-70" << 64 << TConjunto{3, 10, 60, 61, 62, 63};
    QTest::newRow("coma final") << "1,2," << 64 << TConjunto{1, 2};
    QTest::newRow("vacío") << "" << 64 << TConjunto{};
    QTest::newRow("número enorme") << "99999999999999999999" << 64 << TConjunto{};
  }
  void intervalosValidos() {
    QFETCH(QString, texto);
    QFETCH(int, n);
    QFETCH(TConjunto, esperado);
    TConjunto c;
    QVERIFY(TdlgIntervalo::analizar(texto, n, c));
    QCOMPARE(c, esperado);
  }

  // Un trozo que no es número ni intervalo para la lectura; lo leído antes se queda.
  void intervalosErroneos_data() {
    QTest::addColumn<QString>("texto");
    QTest::addColumn<TConjunto>("leido");
    QTest::newRow("trozo vacío") << "1,,3" << TConjunto{1};
    QTest::newRow("guion inicial") << "-5" << TConjunto{};
    QTest::newRow("dos guiones") << "2,1-2-3,4" << TConjunto{2};
    QTest::newRow("extremo vacío") << "5-" << TConjunto{};
  }
  void intervalosErroneos() {
    QFETCH(QString, texto);
    QFETCH(TConjunto, leido);
    TConjunto c;
    QVERIFY(!TdlgIntervalo::analizar(texto, 64, c));
    QCOMPARE(c, leido);
  }

  // El diálogo: texto según el modo, conjunto vacío al cancelar, y con error
  // el mensaje, la caja vacía y lo ya leído conservado.
  void dialogoDeIntervalos() {
    QCOMPARE(dlg->windowTitle(), QStringLiteral("Seleccionar elementos"));
    QCOMPARE(dlg->labAyuda->text(),
             QStringLiteral("(Puede usar números e intervalos separados por comas. Ej: 1,4,6-8 ...) "));
    QVERIFY(!dlg->isVisible());
    dlg->txtIntervalo->setText(QStringLiteral("3"));
    dialogos->respuestasModal << RESULTADO_CANCELAR;
    QCOMPARE(dlg->pedir(64, TdlgIntervalo::MODO_OCULTAR), RESULTADO_CANCELAR);
    QCOMPARE(dlg->labIntervalo->text(), QStringLiteral("Seleccione los elementos que desea ocultar"));
    QVERIFY(dlg->conjunto.empty());
    QCOMPARE(dlg->txtIntervalo->selectedText(), QStringLiteral("3"));

    dlg->txtIntervalo->setText(QStringLiteral("5,7-6,,9"));
    dialogos->respuestasModal << RESULTADO_ACEPTAR;
    QCOMPARE(dlg->pedir(64, TdlgIntervalo::MODO_MOSTRAR), RESULTADO_ACEPTAR);
    QCOMPARE(dlg->labIntervalo->text(), QStringLiteral("Seleccione los elementos que desea mostrar"));
    QCOMPARE(dlg->conjunto, (TConjunto{5, 6, 7}));
    QCOMPARE(dialogos->mensajes(), QStringList(QStringLiteral("ERROR: Los valores introducidos no son válidos")));
    QVERIFY(dlg->txtIntervalo->text().isEmpty());
    // Las teclas que no son cifras, comas o guiones no entran.
    QTest::keyClicks(dlg->txtIntervalo, QStringLiteral("1a,b2-;3"));
    QCOMPARE(dlg->txtIntervalo->text(), QStringLiteral("1,2-3"));
  }

  // ------------------------------------------------------------ números

  void formatosDeNumeros() {
    QCOMPARE(TFormatoNumero::fijo(1.5f), QStringLiteral("1,500"));
    QCOMPARE(TFormatoNumero::fijo(3.14159274f), QStringLiteral("3,142"));
    QCOMPARE(TFormatoNumero::fijo(12345.678f), QStringLiteral("12345,680"));  // siete cifras significativas
    QCOMPARE(TFormatoNumero::fijo(-2.5f), QStringLiteral("-2,500"));
    QCOMPARE(TFormatoNumero::fijo(-0.0001f), QStringLiteral("0,000"));
    QCOMPARE(TFormatoNumero::fijo(1234567.0f), QStringLiteral("1234567,000"));  // sin separador de miles
    QCOMPARE(TFormatoNumero::fijo(123456792.0f), QStringLiteral("1,234568E+08"));
    QCOMPARE(TFormatoNumero::general(2.5f), QStringLiteral("2,5"));
    QCOMPARE(TFormatoNumero::general(0.1f), QStringLiteral("0,100000001490116"));
    QCOMPARE(TFormatoNumero::general(-3.0f), QStringLiteral("-3"));

    QCOMPARE(TFormatoNumero::real(QStringLiteral("1,5")), std::optional<float>(1.5f));
    QCOMPARE(TFormatoNumero::real(QStringLiteral("2,5E3")), std::optional<float>(2500.0f));
    QVERIFY(!TFormatoNumero::real(QStringLiteral("1.5")));  // el punto no es el separador aquí
    QVERIFY(!TFormatoNumero::real(QStringLiteral("1E40")));  // no cabe en simple precisión
    QVERIFY(!TFormatoNumero::real(QStringLiteral("-")));
    QCOMPARE(TFormatoNumero::entero(QStringLiteral("-12")), std::optional<int32_t>(-12));
    QVERIFY(!TFormatoNumero::entero(QStringLiteral("3000000000")));
    QVERIFY(!TFormatoNumero::entero(QStringLiteral("1,5")));
  }

  // ------------------------------------------------------------ ventanas de componentes

  void ventanaNuevaYSuPanel_data() {
    QTest::addColumn<int>("tipo");
    QTest::addColumn<QString>("titulo");
    QTest::addColumn<QString>("primero");
    QTest::addColumn<QString>("valorDe3");
    QTest::newRow("GPR") << 0 << "GPR" << "R0" << "-7";
    QTest::newRow("FPR") << 1 << "FPR" << "F0" << "1,500";
    QTest::newRow("memoria") << 2 << "Memoria" << "0" << "0,100";
  }
  void ventanaNuevaYSuPanel() {
    QFETCH(int, tipo);
    QFETCH(QString, titulo);
    QFETCH(QString, primero);
    QFETCH(QString, valorDe3);
    maquina->gpr.valor[3] = -7;
    maquina->fpr.valor[3] = 1.5f;
    maquina->memoria.datos[3] = 0.1f;
    auto v = ventana(tipo);
    QCOMPARE(v->windowTitle(), QStringLiteral("Componente"));
    QCOMPARE(v->property("temaAyuda").toInt(), 14);
    QCOMPARE(v->frmSelec->panTitulo->text(), titulo);
    QCOMPARE(v->frmSelec->numElementos, tipo == 2 ? 1024 : 64);
    const QStringList n = nombres(*v->frmSelec);
    QCOMPARE(n.size(), 8);
    QCOMPARE(n.first(), primero);
    QCOMPARE(valor(*v->frmSelec, 3), valorDe3);
    // Los cinco botones, con sus pistas.
    const QStringList pistas = {"Añadir", "Quitar", "Guardar cambios", "Cancelar cambios", "Resetear Valores"};
    const QList<QToolButton*> botones = {v->frmSelec->butAnadir, v->frmSelec->butEliminar, v->frmSelec->butAceptar,
                                         v->frmSelec->butCancelar, v->frmSelec->butReset};
    for (int i = 0; i < botones.size(); ++i) {
      QVERIFY(botones[i]->isVisible());
      QCOMPARE(botones[i]->toolTip(), pistas[i]);
    }
  }

  void anadirYQuitarElementos() {
    auto v = ventana(TfrmComponente::GPR);
    TfrmSelec& p = *v->frmSelec;
    elegir(p.butAnadir, QStringLiteral("10,3,60-70"));
    QCOMPARE(nombres(p), QStringList({"R0", "R1", "R2", "R3", "R4", "R5", "R6", "R7", "R10", "R60", "R61", "R62", "R63"}));
    elegir(p.butEliminar, QStringLiteral("0-3"));
    QCOMPARE(dlg->labIntervalo->text(), QStringLiteral("Seleccione los elementos que desea ocultar"));
    QCOMPARE(nombres(p).first(), QStringLiteral("R4"));
    // Cancelado: nada cambia, diga lo que diga el texto.
    elegir(p.butEliminar, QStringLiteral("4-63"), RESULTADO_CANCELAR);
    QCOMPARE(nombres(p).size(), 9);

    auto m = ventana(TfrmComponente::MEMORIA);
    elegir(m->frmSelec->butAnadir, QStringLiteral("2000"));
    QCOMPARE(nombres(*m->frmSelec).size(), 8);
    elegir(m->frmSelec->butAnadir, QStringLiteral("1000-2000"));
    QCOMPARE(nombres(*m->frmSelec).size(), 8 + 24);
    QCOMPARE(nombres(*m->frmSelec).last(), QStringLiteral("1023"));
  }

  // Guardar escribe solo las filas editadas; R0 sigue a 0 y enseña "0"; los
  // reales se leen con la coma y se reescriben en notación fija.
  void guardarFilasEditadas() {
    maquina->gpr.valor[2] = 9;
    auto g = ventana(TfrmComponente::GPR);
    TfrmSelec& p = *g->frmSelec;
    teclear(p, QStringLiteral("5"));  // R0
    QVERIFY(p.grdSelec->irAFila(1));
    teclear(p, QStringLiteral("-42"));
    maquina->gpr.valor[2] = 11;  // cambia la máquina después de abrir la ventana: no se pisa
    p.butAceptar->click();
    QCOMPARE(maquina->gpr.valor[0], 0);
    QCOMPARE(maquina->gpr.valor[1], -42);
    QCOMPARE(maquina->gpr.valor[2], 11);
    QCOMPARE(valor(p, 0), QStringLiteral("0"));
    QVERIFY(dialogos->mensajes().isEmpty());

    maquina->fpr.valor[3] = 3.14159274f;
    auto f = ventana(TfrmComponente::FPR);
    TfrmSelec& q = *f->frmSelec;
    QVERIFY(q.grdSelec->irAFila(2));
    teclear(q, QStringLiteral("2,25"));
    q.butAceptar->click();
    QCOMPARE(maquina->fpr.valor[2], 2.25f);
    QCOMPARE(maquina->fpr.valor[3], 3.14159274f);  // lo enseñado como "3,142" no se reescribe
    QCOMPARE(valor(q, 2), QStringLiteral("2,250"));
    QCOMPARE(textoEditor(q), QStringLiteral("2,250"));

    auto m = ventana(TfrmComponente::MEMORIA);
    teclear(*m->frmSelec, QStringLiteral("1e3"));
    QCOMPARE(textoEditor(*m->frmSelec), QStringLiteral("1E3"));
    m->frmSelec->butAceptar->click();
    QCOMPARE(maquina->memoria.datos[0], 1000.0f);
  }

  // Con una fila que no convierte no se guarda nada: mensaje y esa celda seleccionada.
  void guardarEsTodoONada() {
    auto f = ventana(TfrmComponente::FPR);
    TfrmSelec& p = *f->frmSelec;
    QVERIFY(p.grdSelec->irAFila(1));
    teclear(p, QStringLiteral("7,5"));
    QVERIFY(p.grdSelec->irAFila(4));
    // Pegado, que no pasa por el filtro de teclas: el validador solo deja caracteres posibles.
    p.modelo()->editar(2, QStringLiteral("1,5,"));
    p.butAceptar->click();
    QCOMPARE(dialogos->mensajes(), QStringList(INVALIDO));
    QCOMPARE(p.grdSelec->currentIndex().row(), 2);
    QCOMPARE(maquina->fpr.valor[1], 0.0f);
    QVERIFY(p.modelo()->editada(1));  // lo escrito sigue ahí para corregirlo
  }

  // Salir de una celda que no convierte se rechaza, con el ratón, el teclado o Intro.
  void salirDeUnaCeldaInvalida() {
    auto g = ventana(TfrmComponente::GPR);
    TfrmSelec& p = *g->frmSelec;
    QVERIFY(p.grdSelec->irAFila(1));
    teclear(p, QStringLiteral("-"));
    QVERIFY(!p.grdSelec->irAFila(3));
    QTest::keyClick(p.grdSelec->editorActual(), Qt::Key_Return);
    QTest::mouseClick(p.grdSelec->viewport(), Qt::LeftButton, {},
                      p.grdSelec->visualRect(p.modelo()->index(5, 0)).center());
    QCOMPARE(p.grdSelec->currentIndex().row(), 1);
    QCOMPARE(dialogos->mensajes(), QStringList({INVALIDO, INVALIDO, INVALIDO}));
    // Corregida, Intro baja a la fila siguiente; en la última se queda.
    teclear(p, QStringLiteral("8"), false);
    QTest::keyClick(p.grdSelec->editorActual(), Qt::Key_Return);
    QCOMPARE(p.grdSelec->currentIndex().row(), 2);
    QVERIFY(p.grdSelec->irAFila(7));
    QTest::keyClick(p.grdSelec->editorActual(), Qt::Key_Return);
    QCOMPARE(p.grdSelec->currentIndex().row(), 7);
    QCOMPARE(p.modelo()->textoFila(1), QStringLiteral("-8"));
  }

  // Las teclas que acepta el editor según el tipo.
  void teclasDelEditor_data() {
    QTest::addColumn<int>("tipo");
    QTest::addColumn<QString>("tecleado");
    QTest::addColumn<QString>("queda");
    QTest::newRow("GPR solo cifras y signos") << 0 << "+1a,2e-" << "+12-";
    QTest::newRow("FPR un separador") << 1 << "1,2,3" << "1,23";
    QTest::newRow("FPR e en mayúscula, una vez") << 1 << "2e5e" << "2E5";
    QTest::newRow("FPR sin separador tras la E") << 1 << "3E,4" << "3E4";
    QTest::newRow("memoria letras fuera") << 2 << "x7.5" << "75";
  }
  void teclasDelEditor() {
    QFETCH(int, tipo);
    QFETCH(QString, tecleado);
    QFETCH(QString, queda);
    auto v = ventana(tipo);
    teclear(*v->frmSelec, tecleado);
    QCOMPARE(textoEditor(*v->frmSelec), queda);
    QCOMPARE(v->frmSelec->modelo()->textoFila(0), queda);
  }

  // «Resetear Valores» solo cambia la rejilla; «Cancelar cambios» vuelve a la máquina.
  void resetearYCancelar() {
    maquina->memoria.datos[1] = 2.5f;
    auto m = ventana(TfrmComponente::MEMORIA);
    TfrmSelec& p = *m->frmSelec;
    p.butReset->click();
    QCOMPARE(valor(p, 1), QStringLiteral("0,000"));
    QCOMPARE(maquina->memoria.datos[1], 2.5f);
    p.butCancelar->click();
    QCOMPARE(valor(p, 1), QStringLiteral("2,500"));
    // Resetear y guardar sí pone a cero.
    p.butReset->click();
    p.butAceptar->click();
    QCOMPARE(maquina->memoria.datos[1], 0.0f);
  }

  // Un refresco tras un ciclo vuelve a leer los valores y pisa lo no guardado.
  void refrescoPisaLoNoGuardado() {
    auto g = ventana(TfrmComponente::GPR);
    TfrmSelec& p = *g->frmSelec;
    QVERIFY(p.grdSelec->irAFila(4));
    teclear(p, QStringLiteral("99"));
    maquina->gpr.valor[4] = 17;
    maquina->gpr.valor[5] = 18;
    g->actualizar();
    QCOMPARE(valor(p, 4), QStringLiteral("17"));
    QCOMPARE(textoEditor(p), QStringLiteral("17"));
    QCOMPARE(valor(p, 5), QStringLiteral("18"));
    QVERIFY(!p.modelo()->editada(4));
    QCOMPARE(nombres(p).size(), 8);
  }

  // Al cambiar de máquina las ventanas de componentes se crean de nuevo sobre
  // la otra, con la selección inicial; y siguen válidas pase lo que pase.
  void componentesSiguenALaMaquina() {
    TfrmPrincipal v(*dialogos);
    TPrincipalEnPrueba c(v);
    dialogos->ficherosAbrir << QStringLiteral(ORVEX_DIR_EJEMPLOS "/vector_suma.pla");
    c.actAbrir->trigger();
    QVERIFY(v.programa());
    c.mnuCompMem->trigger();
    c.mnuCompGPR->trigger();
    elegir(c.frmCompGPR()->frmSelec->butAnadir, QStringLiteral("20"), RESULTADO_ACEPTAR, &c.ventanas().dlgIntervalo());
    QCOMPARE(c.frmCompGPR()->frmSelec->seleccion.size(), size_t(9));
    QPointer<TfrmComponente> antes = c.frmCompGPR();
    c.vliw().gpr.valor[1] = 77;
    v.seleccionarMaquina(VLIW);
    QVERIFY(antes.isNull());
    QCOMPARE(&c.frmCompGPR()->maquina, static_cast<TMaquina*>(&c.vliw()));
    QCOMPARE(c.frmCompGPR()->frmSelec->seleccion.size(), size_t(8));
    QCOMPARE(valor(*c.frmCompGPR()->frmSelec, 1), QStringLiteral("77"));
    QCOMPARE(c.frmCompMem()->frmSelec->panTitulo->text(), QStringLiteral("Memoria"));
    // Otro programa, una ejecución completa y un reinicio con la ventana abierta.
    dialogos->ficherosAbrir << QStringLiteral(ORVEX_DIR_EJEMPLOS "/producto_escalar.pla");
    c.actAbrir->trigger();
    v.seleccionarMaquina(SUPER);
    c.actPaso->trigger();
    for (int i = 0; i < 2000 && c.super().enEjecucion; ++i) c.tic(SUPER);
    QCOMPARE(dialogos->mensajes().last(), QStringLiteral("Ejecución completada"));
    elegir(c.frmCompMem()->frmSelec->butAnadir, QStringLiteral("32"), RESULTADO_ACEPTAR, &c.ventanas().dlgIntervalo());
    QCOMPARE(valor(*c.frmCompMem()->frmSelec, 8), QStringLiteral("125,000"));
    c.frmCompMem()->grab();
  }
};

int main(int argc, char** argv) {
  QApplication aplicacion(argc, argv);
  PruebasComponentes pruebas;
  return QTest::qExec(&pruebas, argc, argv);
}

#include "PruebasComponentes.moc"
