// El editor de instrucciones largas conducido sin pantalla: arrastres a través
// de sus manejadores (y uno de verdad), diálogos de guion y el programa de la
// máquina antes y después de «Aceptar».

#include <QApplication>
#include <QFileDialog>
#include <QHeaderView>
#include <QMessageBox>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTableView>
#include <QtTest>
#include <memory>

#include "Simulador/aplicacion/TServicioDialogosQt.h"
#include "Simulador/codigo/TModeloCodigo.h"
#include "Simulador/codigo/TRejillaCodigo.h"
#include "Simulador/comunes/TSpinNumero.h"
#include "Simulador/control/TControladorMaquina.h"
#include "Simulador/control/TDocumentoVLIW.h"
#include "Simulador/dialogos/TdlgCantidad.h"
#include "Simulador/vliw/TModeloInstVLIW.h"
#include "Simulador/vliw/TdlgSaltoVLIW.h"
#include "Simulador/vliw/TfrmInstVLIW.h"
#include "TServicioDialogosGuion.h"
#include "loader/TCodigo.h"
#include "vliw/TMaquinaVLIW.h"

namespace {

// Una instrucción de cada tipo de unidad (dos de +Entera y dos de Mem).
const char* const PROGRAMA = R"(8
        DADDUI R1 R0 #1
        ADDF   F1 F2 F3
        MULTF  F4 F1 F1
        LF     F5 0(R1)
BUCLE:  ADDI   R2 R1 R1
        MULTI  R3 R2 R2
        BNE    R1 R0 BUCLE
        SF     F4 8(R0)
)";
enum { DADDUI_ = 0, ADDF_ = 1, MULTF_ = 2, LF_ = 3, ADDI_ = 4, MULTI_ = 5, BNE_ = 6, SF_ = 7 };

// Columnas con la configuración por defecto (2, 2, 2, 2, 2 y 1 unidades).
enum { SUMA_ENT0 = 0, SUMA_ENT1 = 1, MULT_ENT0 = 2, SUMA_FLOT0 = 4, SUMA_FLOT1 = 5, MULT_FLOT0 = 6, MEM0 = 8, SALTO0 = 10 };

const QColor OLIVA(128, 128, 0);

}  // namespace

class PruebasInstVLIW : public QObject {
  Q_OBJECT

  TCodigo codigo;
  QTemporaryDir dir;
  std::unique_ptr<TMaquinaVLIW> maquina;
  std::unique_ptr<TServicioDialogosGuion> dialogos;
  std::unique_ptr<TControladorMaquina> control;  // los breakpoints del programa pasan por él
  std::unique_ptr<TDocumentoVLIW> documento;     // «Guardar» pasa por él
  std::unique_ptr<TdlgSaltoVLIW> dlgSalto;
  std::unique_ptr<TRejillaCodigo> origen;  // la rejilla del código secuencial de la que se arrastra
  QPointer<TfrmInstVLIW> e;

  void crearEditor() {
    delete e.data();
    e = new TfrmInstVLIW(codigo, *maquina, *control, *dialogos, *dlgSalto);
    documento->vincularEditor(e);
  }

  TModeloInstVLIW& modelo() const { return *e->modelo; }
  QString celda(int fila, int columna) const { return modelo().index(fila, columna).data().toString(); }

  std::unique_ptr<QMimeData> arrastre(const QByteArray& datos) const {
    auto m = std::make_unique<QMimeData>();
    m->setData(QString::fromLatin1(MIME_INSTRUCCION), datos);
    return m;
  }

  // Responde al próximo diálogo de saltos con esos valores (o lo cancela).
  void responderSalto(std::optional<std::array<int, 4>> valores) {
    dialogos->respuestasModal << (valores ? RESULTADO_ACEPTAR : RESULTADO_CANCELAR);
    dialogos->alEjecutarModal = [valores](QDialog& d) {
      auto* salto = qobject_cast<TdlgSaltoVLIW*>(&d);
      QVERIFY(salto);
      if (!valores) return;
      salto->spiDestino->setValue((*valores)[0]);
      salto->spiPredTrue->setValue((*valores)[1]);
      salto->spiPredFalse->setValue((*valores)[2]);
      salto->spiPred->setValue((*valores)[3]);
    };
  }

  QString escribir(const QString& nombre, const QByteArray& texto) {
    const QString ruta = dir.filePath(nombre);
    QFile f(ruta);
    if (!f.open(QIODevice::WriteOnly)) qFatal("no se puede escribir %s", qPrintable(ruta));
    f.write(texto);
    return ruta;
  }

  // Carga un programa en la máquina desde el texto de un *.vliw y abre el editor sobre él.
  void programa(const QByteArray& texto) {
    QVERIFY(maquina->cargarCodigo(escribir(QStringLiteral("p.vliw"), texto).toStdString(), codigo));
    crearEditor();
  }

  QByteArray leer(const QString& ruta) {
    QFile f(ruta);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll();
  }

private slots:
  void initTestCase() { QCOMPARE(codigo.cargarTexto(PROGRAMA), CARGA_OK); }

  void init() {
    maquina = std::make_unique<TMaquinaVLIW>();
    dialogos = std::make_unique<TServicioDialogosGuion>();
    control = std::make_unique<TControladorMaquina>(*maquina, *dialogos);
    documento = std::make_unique<TDocumentoVLIW>(*maquina, *dialogos);
    dlgSalto = std::make_unique<TdlgSaltoVLIW>();
    origen = std::make_unique<TRejillaCodigo>();
    origen->modelo()->asignar(&codigo);
    crearEditor();
  }

  void cleanup() {
    QCOMPARE(dialogos->sinRespuesta, 0);
    delete e.data();
    origen.reset();
    dlgSalto.reset();
    documento.reset();
    control.reset();
    dialogos.reset();
    maquina.reset();
  }

  // ------------------------------------------------------------ rejilla y columnas

  void programaNuevoConSieteInstruccionesVacias() {
    QCOMPARE(e->windowTitle(), QStringLiteral("Instrucciones VLIW"));
    QCOMPARE(modelo().numFilas(), 7);
    QStringList numeros;
    for (int f = 0; f < 7; ++f) numeros << modelo().headerData(f, Qt::Vertical).toString();
    QCOMPARE(numeros, QStringList({"0", "1", "2", "3", "4", "5", "6"}));
    QVERIFY(!modelo().hayOperaciones());
    QVERIFY(!e->butGuardar->isEnabled() && e->butCancelar->isEnabled());
    // «Guardar» deshabilitado no es una edición: nada que preguntar.
    QVERIFY(!e->cambiosPendientes());
    QStringList titulos;
    for (int c = 0; c < modelo().numColumnas(); ++c) titulos << modelo().headerData(c, Qt::Horizontal).toString();
    QCOMPARE(titulos, QStringList({"+Entera 0", "+Entera 1", "xEntera 0", "xEntera 1", "+Flotante 0", "+Flotante 1",
                                   "xFlotante 0", "xFlotante 1", "Mem 0", "Mem 1", "Salto 0"}));
  }

  void columnasSiguenLaConfiguracion() {
    maquina->numUF[tufMemoria] = 3;
    maquina->numUF[tufSumaEntera] = 1;
    e->refrescar();
    QCOMPARE(modelo().numColumnas(), 11);
    // +Entera 0, xEntera 0 y 1, +Flotante 0 y 1, xFlotante 0 y 1, Mem 0 a 2, Salto 0.
    QCOMPARE(e->columnaDe(2, tufMemoria), 9);
    QCOMPARE(modelo().titulo(9), QStringLiteral("Mem 2"));
    QCOMPARE(e->unidadDeColumna(9), 2);
    QCOMPARE(e->columnaDe(1, tufSumaEntera), -1);
    QCOMPARE(e->columnaDe(0, tufSalto), 10);
  }

  void cargaLasOperacionesYLasMarcasDelPrograma() {
    // Un programa cargado con un breakpoint lo enseña como marca.
    programa("2\n2\t0 0 1 0\t6 5 0 0 1 3 4\n1\t3 4 0 0\n");
    maquina->codigo.instruccion(1)->breakpoint = true;
    e->refrescar();
    QCOMPARE(modelo().numFilas(), 2);
    QCOMPARE(celda(0, SUMA_ENT1), QStringLiteral("0"));
    QCOMPARE(celda(0, SALTO0), QStringLiteral("6"));
    QCOMPARE(celda(1, MEM0), QStringLiteral("3"));
    QCOMPARE(celda(0, SUMA_ENT0), QString());
    QVERIFY(!modelo().marca(0) && modelo().marca(1));
    QCOMPARE(modelo().headerData(1, Qt::Vertical, Qt::BackgroundRole).value<QColor>(), QColor(255, 0, 0));
    QVERIFY(!modelo().headerData(0, Qt::Vertical, Qt::BackgroundRole).isValid());
    QVERIFY(e->butGuardar->isEnabled() && !e->butCancelar->isEnabled());
    // Las celdas son copias: cambiarlas no toca el programa.
    modelo().operacion(0, SALTO0)->op[2] = 9;
    QCOMPARE(maquina->codigo.instruccion(0)->operaciones[1]->op[2], 1);
  }

  // ------------------------------------------------------------ arrastrar y soltar

  void arrastreSoloEnUnaColumnaDeSuTipo() {
    const auto addf = arrastre("1");
    QCOMPARE(e->instruccionArrastrable(addf.get(), origen.get(), 0, SUMA_ENT0), -1);
    QCOMPARE(e->instruccionArrastrable(addf.get(), origen.get(), 0, SUMA_FLOT0), ADDF_);
    QCOMPARE(e->instruccionArrastrable(addf.get(), origen.get(), 6, SUMA_FLOT1), ADDF_);
    // Fuera de las filas o de las columnas.
    QCOMPARE(e->instruccionArrastrable(addf.get(), origen.get(), 7, SUMA_FLOT0), -1);
    QCOMPARE(e->instruccionArrastrable(addf.get(), origen.get(), -1, SUMA_FLOT0), -1);
    QCOMPARE(e->instruccionArrastrable(addf.get(), origen.get(), 0, 11), -1);
    // Datos que no son nuestros o no dicen una instrucción de este programa.
    QCOMPARE(e->instruccionArrastrable(arrastre("8").get(), origen.get(), 0, MEM0), -1);
    QCOMPARE(e->instruccionArrastrable(arrastre("-1").get(), origen.get(), 0, SUMA_ENT0), -1);
    QCOMPARE(e->instruccionArrastrable(arrastre("x").get(), origen.get(), 0, SUMA_ENT0), -1);
    QMimeData texto;
    texto.setText(QStringLiteral("1"));
    QCOMPARE(e->instruccionArrastrable(&texto, origen.get(), 0, SUMA_FLOT0), -1);
    // Solo desde la rejilla de este mismo programa.
    QCOMPARE(e->instruccionArrastrable(addf.get(), nullptr, 0, SUMA_FLOT0), -1);
    TCodigo otro;
    QCOMPARE(otro.cargarTexto("2\nADDF F1 F2 F3\nADDF F1 F2 F3\n"), CARGA_OK);
    TRejillaCodigo otraRejilla;
    otraRejilla.modelo()->asignar(&otro);
    QCOMPARE(e->instruccionArrastrable(addf.get(), &otraRejilla, 0, SUMA_FLOT0), -1);
    // Durante una ejecución, nada.
    e->bloquearEdicion(true);
    QCOMPARE(e->instruccionArrastrable(addf.get(), origen.get(), 0, SUMA_FLOT0), -1);
  }

  void soltarPoneUnaCopiaQueReemplazaLaAnterior() {
    e->soltarInstruccion(ADDF_, 0, SUMA_FLOT1);
    QCOMPARE(celda(0, SUMA_FLOT1), QStringLiteral("1"));
    const TOperacionVLIW* op = modelo().operacion(0, SUMA_FLOT1);
    QVERIFY(op);
    QCOMPARE(int(op->tipoUF), int(tufSumaFlotante));
    QCOMPARE(op->numUnidad, 1);
    QCOMPARE(op->codOp, int(ADDF));
    QVERIFY(op->predicado == 0 && op->predVerdadero == 0 && op->predFalso == 0);
    QVERIFY(e->cambiosPendientes());
    QVERIFY(!e->butGuardar->isEnabled() && e->butCancelar->isEnabled());
    // El programa no cambia hasta «Aceptar».
    QCOMPARE(maquina->codigo.numInstrucciones, 0);

    e->soltarInstruccion(DADDUI_, 2, SUMA_ENT0);
    e->soltarInstruccion(ADDI_, 2, SUMA_ENT0);
    QCOMPARE(celda(2, SUMA_ENT0), QStringLiteral("4"));
    QCOMPARE(modelo().operacion(2, SUMA_ENT0)->codOp, int(ADDI));
    // Un tipo que no es el de la columna no entra, aunque se llame directamente.
    e->soltarInstruccion(ADDF_, 3, SUMA_ENT0);
    QVERIFY(modelo().filaVacia(3));
  }

  void saltoSoltadoPideSusParametros() {
    responderSalto(std::array<int, 4>{3, 5, 6, 7});
    e->soltarInstruccion(BNE_, 1, SALTO0);
    QCOMPARE(dialogos->de(QStringLiteral("modal")), QStringList({"dlgSaltoVLIW"}));
    // Un salto nuevo: destino 0 dentro de 0 … 6 (la última instrucción larga), predicados 1 y 2, sin guarda.
    QCOMPARE(dlgSalto->spiDestino->maximum(), 6);
    const TOperacionVLIW* op = modelo().operacion(1, SALTO0);
    QVERIFY(op);
    QCOMPARE(op->op[2], 3);
    QCOMPARE(op->predVerdadero, 5);
    QCOMPARE(op->predFalso, 6);
    QCOMPARE(op->predicado, 7);

    dlgSalto->prepararNuevo(6);
    QCOMPARE(dlgSalto->spiDestino->value(), 0);
    QCOMPARE(dlgSalto->spiPredTrue->value(), 1);
    QCOMPARE(dlgSalto->spiPredFalse->value(), 2);
    QCOMPARE(dlgSalto->spiPred->value(), 0);
  }

  void saltoCanceladoDejaLaCeldaComoEstaba() {
    responderSalto(std::nullopt);
    e->soltarInstruccion(BNE_, 0, SALTO0);
    QVERIFY(!modelo().operacion(0, SALTO0));
    QVERIFY(!e->cambiosPendientes());
    // Sobre un salto ya puesto, cancelar el nuevo no lo borra.
    responderSalto(std::array<int, 4>{2, 1, 2, 0});
    e->soltarInstruccion(BNE_, 0, SALTO0);
    responderSalto(std::nullopt);
    e->soltarInstruccion(BNE_, 0, SALTO0);
    QVERIFY(modelo().operacion(0, SALTO0));
    QCOMPARE(modelo().operacion(0, SALTO0)->op[2], 2);
  }

  void dialogoDeSaltoConservaUnDestinoFueraDeRango() {
    programa("1\n1\t6 5 0 0 40 3 4\n");
    responderSalto(std::array<int, 4>{});
    dialogos->alEjecutarModal = [](QDialog& d) {
      auto* salto = qobject_cast<TdlgSaltoVLIW*>(&d);
      QCOMPARE(salto->spiDestino->value(), 40);
      QVERIFY(salto->spiDestino->maximum() >= 40);
      QCOMPARE(salto->spiPredTrue->value(), 3);
      QCOMPARE(salto->spiPredFalse->value(), 4);
    };
    e->dobleClicCelda(0, SALTO0);
    QCOMPARE(modelo().operacion(0, SALTO0)->op[2], 40);
    // Aceptar sin cambiar nada no es una edición.
    QVERIFY(!e->cambiosPendientes() && e->butGuardar->isEnabled());
    // Cambiando el destino, sí.
    responderSalto(std::array<int, 4>{0, 3, 4, 0});
    e->dobleClicCelda(0, SALTO0);
    QCOMPARE(modelo().operacion(0, SALTO0)->op[2], 0);
    QVERIFY(e->cambiosPendientes());
  }

  void dobleClicCambiaElPredicadoDeGuarda() {
    e->soltarInstruccion(MULTI_, 1, MULT_ENT0);
    dialogos->cantidades << 7;
    e->dobleClicCelda(1, MULT_ENT0);
    QCOMPARE(dialogos->preguntasCantidad.size(), 1);
    const TPreguntaCantidad& p = dialogos->preguntasCantidad.first();
    QCOMPARE(p.titulo, QStringLiteral("Registro de predicado"));
    QCOMPARE(p.texto, QStringLiteral("Número:"));
    QVERIFY(p.valor == 0 && p.minimo == 0 && p.maximo == 63);
    QCOMPARE(modelo().operacion(1, MULT_ENT0)->predicado, 7);
    // Cancelar no cambia nada; una celda vacía no abre nada.
    dialogos->cantidades << std::nullopt;
    e->dobleClicCelda(1, MULT_ENT0);
    QCOMPARE(modelo().operacion(1, MULT_ENT0)->predicado, 7);
    e->dobleClicCelda(2, MULT_ENT0);
    QCOMPARE(dialogos->preguntasCantidad.size(), 2);
  }

  // ------------------------------------------------------------ Aceptar

  void aceptarQuitaLasFilasVaciasDelFinalYConservaLasDeEnMedio() {
    e->soltarInstruccion(ADDF_, 0, SUMA_FLOT0);
    e->soltarInstruccion(DADDUI_, 0, SUMA_ENT1);
    e->soltarInstruccion(LF_, 3, MEM0);
    QSignalSpy cambiado(e.data(), &TfrmInstVLIW::programaCambiado);
    e->butAceptar->click();
    QCOMPARE(cambiado.size(), 1);
    const TCodigoVLIW& p = maquina->codigo;
    QCOMPARE(p.numInstrucciones, 4);
    QCOMPARE(modelo().numFilas(), 4);
    QCOMPARE(p.instruccion(1)->numOperaciones(), 0);
    QCOMPARE(p.instruccion(2)->numOperaciones(), 0);
    // En orden de columna: +Entera 1 antes que +Flotante 0.
    QCOMPARE(p.instruccion(0)->numOperaciones(), 2);
    QCOMPARE(p.instruccion(0)->operaciones[0]->direccion, DADDUI_);
    QCOMPARE(p.instruccion(0)->operaciones[0]->numUnidad, 1);
    QCOMPARE(p.instruccion(0)->operaciones[1]->direccion, ADDF_);
    QCOMPARE(p.instruccion(3)->operaciones[0]->direccion, LF_);
    QVERIFY(e->butGuardar->isEnabled() && !e->butCancelar->isEnabled());
    QVERIFY(!e->cambiosPendientes());
    // Sin problemas que contar.
    QVERIFY(dialogos->mensajes().isEmpty());
    // Ya coincide: «Aceptar» no hace nada.
    e->butAceptar->click();
    QCOMPARE(cambiado.size(), 1);
  }

  void aceptarSinOperacionesDejaElProgramaVacioYUnaFila() {
    programa("2\n1\t0 0 0 0\n0\n");
    e->butLimpiarClick();
    e->butAceptarClick();
    QCOMPARE(maquina->codigo.numInstrucciones, 0);
    QCOMPARE(modelo().numFilas(), 1);
    QVERIFY(dialogos->mensajes().isEmpty());
  }

  void aceptarAvisaDelPrimerProblemaYConservaElPrograma() {
    // ADDI lee R1 en la misma instrucción larga en que el DADDUI, anterior, lo escribe.
    e->soltarInstruccion(DADDUI_, 0, SUMA_ENT0);
    e->soltarInstruccion(ADDI_, 0, SUMA_ENT1);
    e->soltarInstruccion(MULTI_, 0, MULT_ENT0);
    e->aplicarCambios();
    QCOMPARE(dialogos->mensajes(),
             QStringList(QStringLiteral("Dependencia verdadera en la operación 4 de la instrucción larga 0")));
    QCOMPARE(maquina->codigo.numInstrucciones, 1);
    QCOMPARE(maquina->codigo.instruccion(0)->numOperaciones(), 3);
    // Con la opción desmarcada no se comprueba.
    dialogos->olvidar();
    e->chequearCodigo = [] { return false; };
    e->soltarInstruccion(MULTF_, 0, MULT_FLOT0);
    e->aplicarCambios();
    QVERIFY(dialogos->mensajes().isEmpty());
  }

  void aceptarNoTocaElProgramaDuranteUnaEjecucion() {
    programa("1\n1\t0 0 0 0\n");
    e->soltarInstruccion(ADDI_, 0, SUMA_ENT1);
    maquina->enEjecucion = true;
    e->aplicarCambios();
    QCOMPARE(maquina->codigo.instruccion(0)->numOperaciones(), 1);
    maquina->enEjecucion = false;
  }

  // ------------------------------------------------------------ ratón y teclado

  void ctrlClicResaltaLasFilasDeLaLatencia() {
    e->soltarInstruccion(MULTF_, 1, MULT_FLOT0);
    e->ctrlClicCelda(1, MULT_FLOT0);
    QVERIFY(e->resaltado.activo);
    // xFlotante: latencia 6, filas 1 a 6 (las de la rejilla 2 a 7) en todas las columnas.
    for (int f = 0; f < 7; ++f)
      for (int c = 0; c < modelo().numColumnas(); ++c)
        QCOMPARE(e->fondoCelda(f, c) == OLIVA, f >= 1 && f <= 6);
    e->ctrlClicCelda(1, MULT_FLOT0);
    QVERIFY(!e->resaltado.activo);
    QVERIFY(e->fondoCelda(3, 0) != OLIVA);
    // Con otra latencia configurada; una celda vacía lo apaga.
    maquina->latUF[tufMultFlotante] = 2;
    e->ctrlClicCelda(1, MULT_FLOT0);
    QCOMPARE(e->resaltado.filas, 2);
    e->ctrlClicCelda(0, 0);
    QVERIFY(!e->resaltado.activo);
    // Con el ratón de verdad: Ctrl+clic no cambia la selección.
    e->resize(900, 300);
    e->show();
    const QRect r = e->grdInstrucciones->visualRect(modelo().index(1, MULT_FLOT0));
    QTest::mouseClick(e->grdInstrucciones->viewport(), Qt::LeftButton, Qt::ControlModifier, r.center());
    QVERIFY(e->resaltado.activo && e->resaltado.fila == 1);
  }

  void marcasDeBreakpoint() {
    programa("3\n1\t0 0 0 0\n0\n1\t4 0 1 0\n");
    // Sin ediciones, la marca cambia el programa a la vez: el de la fila pulsada,
    // aunque la fila actual sea otra.
    e->grdInstrucciones->setCurrentIndex(modelo().index(2, 0));
    e->dobleClicFila(0);
    QVERIFY(modelo().marca(0));
    QVERIFY(maquina->codigo.instruccion(0)->breakpoint);
    QVERIFY(!maquina->codigo.instruccion(2)->breakpoint);
    QVERIFY(!e->cambiosPendientes());
    e->dobleClicFila(0);
    QVERIFY(!maquina->codigo.instruccion(0)->breakpoint);
    // Con ediciones pendientes, solo la marca; «Aceptar» la copia.
    e->borrarCelda(0, SUMA_ENT0);
    e->dobleClicFila(1);
    QVERIFY(modelo().marca(1));
    QVERIFY(!maquina->codigo.instruccion(1)->breakpoint);
    e->aplicarCambios();
    QVERIFY(maquina->codigo.instruccion(1)->breakpoint);
    QVERIFY(!maquina->codigo.instruccion(0)->breakpoint);
    // «Cancelar» vuelve a leer las marcas del programa: nunca hay un breakpoint sin marca.
    e->borrarCelda(2, SUMA_ENT1);
    e->dobleClicFila(2);
    e->butCancelarClick();
    QVERIFY(modelo().marca(1) && !modelo().marca(2));
  }

  void eliminarPreguntaYQuitaLaFilaActual() {
    programa("3\n1\t0 0 0 0\n1\t4 0 0 0\n1\t1 2 0 0\n");
    // Sin fila actual no hay nada que eliminar.
    QVERIFY(!e->butEliminar->isEnabled());
    e->butEliminarClick();
    QVERIFY(dialogos->de(QStringLiteral("confirmar")).isEmpty());

    e->grdInstrucciones->setCurrentIndex(modelo().index(1, 3));
    QVERIFY(e->butEliminar->isEnabled());
    dialogos->confirmaciones << false;
    e->butEliminar->click();
    QCOMPARE(dialogos->de(QStringLiteral("confirmar")),
             QStringList(QStringLiteral("Se eliminará la Instrucción seleccionada. ¿Está seguro?")));
    QCOMPARE(modelo().numFilas(), 3);
    QVERIFY(!e->cambiosPendientes());

    dialogos->confirmaciones << true;
    e->butEliminar->click();
    QCOMPARE(modelo().numFilas(), 2);
    QCOMPARE(celda(1, SUMA_FLOT0), QStringLiteral("1"));
    QCOMPARE(modelo().headerData(1, Qt::Vertical).toString(), QStringLiteral("1"));
    QVERIFY(e->cambiosPendientes());
  }

  void eliminarLaUnicaFilaLaDejaVaciaYSinMarca() {
    programa("1\n2\t0 0 0 0\t4 0 1 0\n");
    e->dobleClicFila(0);
    e->soltarInstruccion(MULTF_, 0, MULT_FLOT0);
    e->ctrlClicCelda(0, MULT_FLOT0);
    e->grdInstrucciones->setCurrentIndex(modelo().index(0, 0));
    dialogos->confirmaciones << true;
    e->butEliminarClick();
    QCOMPARE(modelo().numFilas(), 1);
    QVERIFY(modelo().filaVacia(0));
    QVERIFY(!modelo().marca(0));
    QVERIFY(!e->resaltado.activo);
  }

  void eliminarDesplazaElResaltadoDeDebajo() {
    e->soltarInstruccion(MULTF_, 3, MULT_FLOT0);
    e->ctrlClicCelda(3, MULT_FLOT0);
    e->grdInstrucciones->setCurrentIndex(modelo().index(1, 0));
    dialogos->confirmaciones << true;
    e->butEliminarClick();
    QCOMPARE(e->resaltado.fila, 2);
    QVERIFY(modelo().operacion(2, MULT_FLOT0));
  }

  void suprimirDosVecesBorraUnaVez() {
    programa("1\n2\t0 0 0 0\t1 2 0 0\n");
    e->show();
    e->grdInstrucciones->setFocus();
    e->grdInstrucciones->setCurrentIndex(modelo().index(0, SUMA_ENT0));
    QTest::keyClick(e->grdInstrucciones, Qt::Key_Delete);
    QVERIFY(!modelo().operacion(0, SUMA_ENT0));
    QVERIFY(modelo().operacion(0, SUMA_FLOT0));
    QVERIFY(e->cambiosPendientes());
    QTest::keyClick(e->grdInstrucciones, Qt::Key_Delete);
    QVERIFY(modelo().operacion(0, SUMA_FLOT0));
    e->aplicarCambios();
    QCOMPARE(maquina->codigo.instruccion(0)->numOperaciones(), 1);
    // Suprimir en una celda vacía no es una edición.
    e->borrarCelda(0, SUMA_ENT0);
    QVERIFY(!e->cambiosPendientes());
  }

  void moverUnaFilaMueveSusOperacionesYSuMarca() {
    programa("3\n1\t0 0 0 0\n1\t1 2 0 0\n1\t3 4 0 0\n");
    e->dobleClicFila(0);
    e->soltarInstruccion(MULTF_, 0, MULT_FLOT0);
    e->ctrlClicCelda(0, MULT_FLOT0);
    e->filaMovida(0, 2);
    QCOMPARE(celda(0, SUMA_FLOT0), QStringLiteral("1"));
    QCOMPARE(celda(1, MEM0), QStringLiteral("3"));
    QCOMPARE(celda(2, SUMA_ENT0), QStringLiteral("0"));
    QVERIFY(!modelo().marca(0) && modelo().marca(2));
    QCOMPARE(e->resaltado.fila, 2);
    QVERIFY(e->cambiosPendientes());
    // Arrastrando el número en la cabecera: el modelo mueve la fila y la
    // cabecera vuelve a su orden, con los números seguidos.
    QHeaderView* cabecera = e->grdInstrucciones->verticalHeader();
    cabecera->moveSection(2, 0);
    QCoreApplication::processEvents();
    QCOMPARE(celda(0, SUMA_ENT0), QStringLiteral("0"));
    QCOMPARE(celda(1, SUMA_FLOT0), QStringLiteral("1"));
    for (int i = 0; i < 3; ++i) {
      QCOMPARE(cabecera->visualIndex(i), i);
      QCOMPARE(modelo().headerData(i, Qt::Vertical).toString(), QString::number(i));
    }
    e->aplicarCambios();
    QVERIFY(maquina->codigo.instruccion(0)->breakpoint);
    QCOMPARE(maquina->codigo.instruccion(0)->operaciones[0]->direccion, DADDUI_);
  }

  void anadirRecuerdaElUltimoNumero() {
    QStringList vistos;
    dialogos->alEjecutarModal = [&vistos](QDialog& d) {
      auto* c = qobject_cast<TdlgCantidad*>(&d);
      QVERIFY(c);
      vistos << QStringLiteral("%1 %2 %3-%4 %5")
                    .arg(c->windowTitle(), c->labMensaje->text())
                    .arg(c->spiCantidad->minimum())
                    .arg(c->spiCantidad->maximum())
                    .arg(c->spiCantidad->value());
      c->spiCantidad->setValue(3);
    };
    dialogos->respuestasModal << RESULTADO_ACEPTAR << RESULTADO_CANCELAR;
    e->butAnadirClick();
    QCOMPARE(modelo().numFilas(), 10);
    QCOMPARE(modelo().headerData(9, Qt::Vertical).toString(), QStringLiteral("9"));
    QVERIFY(modelo().filaVacia(9) && !modelo().marca(9));
    QVERIFY(e->cambiosPendientes());
    e->butAnadirClick();
    QCOMPARE(modelo().numFilas(), 10);
    QCOMPARE(vistos, QStringList({"Añadir Filas Número de Filas: 1-20 1", "Añadir Filas Número de Filas: 1-20 3"}));
  }

  void limpiarVaciaCeldasYMarcasSinPreguntar() {
    programa("2\n1\t2 3 0 0\n1\t0 0 0 0\n");
    e->dobleClicFila(1);
    e->ctrlClicCelda(0, MULT_FLOT0);
    e->butLimpiar->click();
    QCOMPARE(modelo().numFilas(), 2);
    QVERIFY(!modelo().hayOperaciones());
    QVERIFY(!modelo().marca(1));
    QVERIFY(!e->resaltado.activo);
    QVERIFY(e->cambiosPendientes());
    QVERIFY(dialogos->apuntes.isEmpty());
    // «Cancelar» lo devuelve todo.
    e->butCancelar->click();
    QCOMPARE(celda(0, MULT_FLOT0), QStringLiteral("2"));
    QVERIFY(modelo().marca(1));
    QVERIFY(!e->cambiosPendientes());
  }

  // ------------------------------------------------------------ guardar

  void guardarEscribeElPrograma() {
    programa("2\n2\t0 0 0 0\t6 5 0 0 1 1 2\n0\n");
    const QString ruta = dir.filePath(QStringLiteral("salida.vliw"));
    dialogos->ficherosGuardar << ruta;
    QSignalSpy guardado(e.data(), &TfrmInstVLIW::programaGuardado);
    e->butGuardar->click();
    QCOMPARE(dialogos->apuntes.first().tipo, QStringLiteral("guardar"));
    QCOMPARE(dialogos->apuntes.first().texto, QStringLiteral("Programa VLIW|*.vliw"));
    QCOMPARE(dialogos->apuntes.first().detalle, QStringLiteral("vliw"));
    QCOMPARE(leer(ruta), QByteArray("2\n2\t0 0 0 0\t6 5 0 0 1 1 2\n0\n"));
    QCOMPARE(guardado.size(), 1);
  }

  void guardarQueFallaAvisaYNoCambiaNada() {
    programa("1\n1\t0 0 0 0\n");
    const QString ruta = dir.filePath(QStringLiteral("no/existe/salida.vliw"));
    dialogos->ficherosGuardar << ruta;
    QSignalSpy guardado(e.data(), &TfrmInstVLIW::programaGuardado);
    e->butGuardarClick();
    QCOMPARE(dialogos->mensajes(), QStringList(QStringLiteral("No se pudo guardar el fichero")));
    QVERIFY(dialogos->apuntes.last().detalle.startsWith(ruta + QLatin1Char('\n')));
    QVERIFY(dialogos->apuntes.last().detalle.contains(QStringLiteral("la carpeta no existe")));
    QCOMPARE(guardado.size(), 0);
    QVERIFY(e->butGuardar->isEnabled() && !e->cambiosPendientes());
    QCOMPARE(celda(0, SUMA_ENT0), QStringLiteral("0"));
    // Cancelar el diálogo no escribe ni avisa.
    dialogos->olvidar();
    dialogos->ficherosGuardar << QString();
    e->butGuardarClick();
    QVERIFY(dialogos->mensajes().isEmpty());
  }

  // El diálogo de guardar de verdad: añade «vliw» al nombre escrito y pregunta
  // antes de sobrescribir el fichero con ese nombre, no con el escrito.
  void dialogoDeGuardarAnadeElSufijoYPreguntaPorEse() {
    QVERIFY(!escribir(QStringLiteral("x.vliw"), "0\n").isEmpty());
    TServicioDialogosQt servicio;
    QString pregunta;
    auto escribirNombre = [&](const QString& nombre, QMessageBox::StandardButton respuesta) {
      QTimer::singleShot(0, this, [&, nombre, respuesta] {
        auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        QVERIFY(d);
        d->setDirectory(dir.path());
        d->selectFile(nombre);
        QTimer::singleShot(0, this, [&, d, respuesta] {
          // Si hay pregunta, es el cuadro que está delante.
          if (auto* caja = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            pregunta = caja->text();
            caja->button(respuesta)->click();
            if (respuesta == QMessageBox::No) QTimer::singleShot(0, d, &QDialog::reject);
          }
        });
        static_cast<QDialog*>(d)->accept();  // público en QDialog
      });
    };
    escribirNombre(QStringLiteral("x"), QMessageBox::Yes);
    QCOMPARE(servicio.guardarFichero(nullptr, QStringLiteral("Programa VLIW|*.vliw"), QStringLiteral("vliw")),
             dir.filePath(QStringLiteral("x.vliw")));
    QVERIFY2(pregunta.contains(QStringLiteral("x.vliw")), qPrintable(pregunta));
    pregunta.clear();
    escribirNombre(QStringLiteral("x"), QMessageBox::No);
    QCOMPARE(servicio.guardarFichero(nullptr, QStringLiteral("Programa VLIW|*.vliw"), QStringLiteral("vliw")),
             QString());
    QVERIFY(!pregunta.isEmpty());
    pregunta.clear();
    escribirNombre(QStringLiteral("nuevo"), QMessageBox::Yes);
    QCOMPARE(servicio.guardarFichero(nullptr, QStringLiteral("Programa VLIW|*.vliw"), QStringLiteral("vliw")),
             dir.filePath(QStringLiteral("nuevo.vliw")));
    QVERIFY(pregunta.isEmpty());
  }

  // ------------------------------------------------------------ pistas y dibujo

  void pistas() {
    programa("2\n2\t4 0 0 3\t6 5 0 0 1 8 9\n1\t2 3 0 0\n");
    QCOMPARE(e->pistaCelda(-1, SUMA_ENT0), QStringLiteral("+Entera 0"));
    QCOMPARE(e->pistaCelda(1, -1), QStringLiteral("Instrucción Larga 1"));
    QCOMPARE(e->pistaCelda(1, SUMA_ENT0), QString());
    QCOMPARE(e->pistaCelda(1, MULT_FLOT0), QStringLiteral("MULTF F4 F1 F1"));
    QCOMPARE(e->pistaCelda(0, SUMA_ENT0), QStringLiteral("ADDI R2 R1 R1 \nPredicado: 3"));
    QCOMPARE(e->pistaCelda(0, SALTO0),
             QStringLiteral("BNE R1 R0 BUCLE \nDestino del salto: 1 \nPred. Verdadero: 8 \nPred. Falso: 9"));
    // Con el puntero: la pista de la celda y vacía fuera de ellas.
    e->resize(900, 300);
    e->show();
    QTableView* g = e->grdInstrucciones;
    QTest::mouseMove(g->viewport(), g->visualRect(modelo().index(1, MULT_FLOT0)).center());
    QCOMPARE(g->toolTip(), QStringLiteral("MULTF F4 F1 F1"));
    QCOMPARE(g->statusTip(), g->toolTip());
    QTest::mouseMove(g->viewport(), QPoint(2, g->viewport()->height() - 2));  // debajo de la última fila
    QCOMPARE(g->toolTip(), QString());
  }

  void coloresDeBloquesYSeleccion() {
    programa("1\n2\t0 0 0 0\t4 0 1 0\n");
    const QPalette p = e->palette();
    QCOMPARE(e->fondoCelda(0, SUMA_ENT0), p.color(QPalette::Base));
    e->setBloquesBasicos(true);
    // DADDUI en el bloque 0, ADDI en el 1; las celdas vacías no se colorean.
    QCOMPARE(e->fondoCelda(0, SUMA_ENT0), QColor(0, 239, 208));
    QCOMPARE(e->fondoCelda(0, SUMA_ENT1), QColor(136, 208, 239));
    QCOMPARE(e->fondoCelda(0, MEM0), p.color(QPalette::Base));
    // Seleccionada, la celda no lleva el color de su bloque.
    e->grdInstrucciones->selectionModel()->select(modelo().index(0, SUMA_ENT0), QItemSelectionModel::Select);
    QCOMPARE(e->fondoCelda(0, SUMA_ENT0), p.color(QPalette::Active, QPalette::Highlight));
  }

  // ------------------------------------------------------------ ejecución y cierre

  void bloqueoDuranteUnaEjecucion() {
    programa("3\n1\t0 0 0 0\n0\n0\n");
    e->bloquearEdicion(true);
    QVERIFY(e->edicionBloqueada());
    for (QPushButton* b : {e->butAnadir, e->butEliminar, e->butLimpiar})
      QVERIFY2(!b->isEnabled(), qPrintable(b->objectName()));
    QVERIFY(!e->grdInstrucciones->verticalHeader()->sectionsMovable());
    e->soltarInstruccion(ADDI_, 1, SUMA_ENT0);
    e->borrarCelda(0, SUMA_ENT0);
    e->dobleClicFila(0);
    e->filaMovida(0, 1);
    e->butLimpiarClick();
    QVERIFY(!e->cambiosPendientes());
    QCOMPARE(celda(0, SUMA_ENT0), QStringLiteral("0"));
    QVERIFY(!modelo().marca(0));
    e->bloquearEdicion(false);
    QVERIFY(e->butAnadir->isEnabled() && e->grdInstrucciones->verticalHeader()->sectionsMovable());
  }

  void mostrarInstruccionActualSeleccionaLaUltimaEmitida() {
    programa("3\n1\t0 0 0 0\n0\n0\n");
    QItemSelectionModel* s = e->grdInstrucciones->selectionModel();
    maquina->pc = 2;
    e->mostrarInstruccionActual();
    QCOMPARE(e->filaActual, 2);
    QCOMPARE(s->selectedIndexes().size(), modelo().numColumnas());
    for (const QModelIndex& i : s->selectedIndexes()) QCOMPARE(i.row(), 1);
    maquina->pc = 0;
    e->mostrarInstruccionActual();
    QCOMPARE(e->filaActual, -1);
    QVERIFY(s->selectedIndexes().isEmpty());
    maquina->pc = 4;
    e->mostrarInstruccionActual();
    QVERIFY(s->selectedIndexes().isEmpty());
    maquina->pc = 3;
    e->mostrarInstruccionActual();
    QCOMPARE(e->filaActual, 3);
  }

  void cerrarDuranteUnaEjecucionSoloMinimiza() {
    e->show();
    maquina->enEjecucion = true;
    QVERIFY(!e->close());
    QVERIFY(e && e->isMinimized());
    maquina->enEjecucion = false;
  }

  void cerrarConEdicionesPregunta_data() {
    QTest::addColumn<int>("respuesta");
    QTest::newRow("Guardar") << RESULTADO_ACEPTAR;
    QTest::newRow("Cancelar") << RESULTADO_CANCELAR;
  }
  void cerrarConEdicionesPregunta() {
    QFETCH(int, respuesta);
    programa("1\n1\t0 0 0 0\n");
    e->show();
    e->soltarInstruccion(ADDI_, 0, SUMA_ENT1);
    dialogos->respuestasGuardarCambio << respuesta;
    QVERIFY(e->close());
    QCOMPARE(dialogos->de(QStringLiteral("guardarCambio")).size(), 1);
    QCOMPARE(maquina->codigo.instruccion(0)->numOperaciones(), respuesta == RESULTADO_ACEPTAR ? 2 : 1);
  }

  void cerrarSinEdicionesNoPregunta() {
    e->show();
    QVERIFY(e->close());
    QVERIFY(dialogos->apuntes.isEmpty());
  }

  void dialogoDeSalto() {
    TdlgSaltoVLIW d;
    QCOMPARE(d.windowTitle(), QStringLiteral("Parámetros del salto"));
    QVERIFY(d.windowFlags() & Qt::WindowStaysOnTopHint);
    QCOMPARE(d.labDestino->text(), QStringLiteral("Instrucción destino:"));
    QCOMPARE(d.labPredTrue->text(), QStringLiteral("Registro Predicado Verdadero:"));
    QCOMPARE(d.labPredFalse->text(), QStringLiteral("Registro Predicado Falso:"));
    QCOMPARE(d.labPred->text(), QStringLiteral("Registro Predicado:"));
    QCOMPARE(d.spiDestino->toolTip(), QStringLiteral("Instrucción larga destino del salto"));
    QCOMPARE(d.spiPredTrue->toolTip(), QStringLiteral("Registro de Predicado que se activa si el salto se toma"));
    QCOMPARE(d.spiPredFalse->toolTip(), QStringLiteral("Registro de Predicado que se activa si el salto no se toma"));
    QCOMPARE(d.spiPred->toolTip(), QStringLiteral("Registro Predicado de la operación"));
    QVERIFY(d.spiPredTrue->minimum() == 1 && d.spiPredTrue->maximum() == 63);
    QVERIFY(d.spiPredFalse->minimum() == 1 && d.spiPredFalse->maximum() == 63);
    QVERIFY(d.spiPred->minimum() == 0 && d.spiPred->maximum() == 63);
    d.preparar(3, 5, 4, 9, 2);
    QVERIFY(d.spiDestino->minimum() == 0 && d.spiDestino->maximum() == 5);
    QCOMPARE(d.spiDestino->value(), 3);
    // Solo dígitos.
    d.spiDestino->editor()->clear();
    QTest::keyClicks(d.spiDestino->editor(), QStringLiteral("a-4"));
    QCOMPARE(d.spiDestino->editor()->text(), QStringLiteral("4"));
    QCOMPARE(d.butOk->text(), QStringLiteral("Aceptar"));
    QCOMPARE(d.butCancel->text(), QStringLiteral("Cancelar"));
  }

  // ------------------------------------------------------------ un arrastre de verdad

  // La plataforma offscreen no arrastra (su arrastre termina en el acto): esta
  // prueba corre además con xcb bajo Xvfb, en su propia entrada de ctest.
  void arrastreDeVerdadDesdeElCodigoSecuencial() {
    if (QGuiApplication::platformName() == QStringLiteral("offscreen"))
      QSKIP("sin arrastres en la plataforma offscreen");
    origen->resize(300, 250);
    origen->move(0, 0);
    origen->show();
    e->resize(900, 300);
    e->move(320, 0);
    e->show();
    QVERIFY(QTest::qWaitForWindowExposed(origen.get()));
    QVERIFY(QTest::qWaitForWindowExposed(e.data()));
    QTableView* destino = e->grdInstrucciones;
    QWindow* ventana = e->windowHandle();
    auto puntoDe = [&](int fila, int columna) {
      return destino->viewport()->mapTo(e.data(), destino->visualRect(modelo().index(fila, columna)).center());
    };
    // Arrastra la ADDF y, ya dentro del bucle del arrastre, la suelta en (fila, columna).
    auto arrastrar = [&](int fila, int columna) {
      const QPoint desde = origen->visualRect(origen->model()->index(ADDF_, 1)).center();
      const QPoint hasta = puntoDe(fila, columna);
      bool soltado = false;
      // El cursor del arrastre dice si la celda bajo el puntero lo acepta.
      auto cursor = [] {
        const QCursor* c = QGuiApplication::overrideCursor();
        return c ? c->shape() : Qt::ArrowCursor;
      };
      Qt::CursorShape sobreEntera = Qt::ArrowCursor, sobreFlotante = Qt::ArrowCursor;
      QTimer::singleShot(50, this, [&] {
        QTest::mouseMove(ventana, puntoDe(0, SUMA_ENT0));
        sobreEntera = cursor();
        QTest::mouseMove(ventana, puntoDe(0, SUMA_FLOT0));
        sobreFlotante = cursor();
        QTest::mouseMove(ventana, hasta);
        QTest::mouseMove(ventana, hasta + QPoint(1, 0));
        QTest::mouseRelease(ventana, Qt::LeftButton, {}, hasta + QPoint(1, 0));
        soltado = true;
      });
      QTest::mousePress(origen->viewport(), Qt::LeftButton, {}, desde);
      QTest::mouseMove(origen->viewport(), desde + QPoint(5, 5));
      QTest::mouseMove(origen->viewport(), desde + QPoint(10, 10));
      QVERIFY(soltado);
      QCOMPARE(sobreEntera, Qt::ForbiddenCursor);
      QCOMPARE(sobreFlotante, Qt::DragCopyCursor);
      QTest::qWait(50);
    };
    // En una columna +Entera no entra.
    arrastrar(2, SUMA_ENT0);
    QVERIFY(!modelo().hayOperaciones());
    QVERIFY(!e->cambiosPendientes());
    arrastrar(2, SUMA_FLOT1);
    QTRY_VERIFY(modelo().operacion(2, SUMA_FLOT1) != nullptr);
    QCOMPARE(celda(2, SUMA_FLOT1), QStringLiteral("1"));
    QCOMPARE(modelo().operacion(2, SUMA_FLOT1)->numUnidad, 1);
    QVERIFY(e->cambiosPendientes());
  }
};

QTEST_MAIN(PruebasInstVLIW)
#include "PruebasInstVLIW.moc"
