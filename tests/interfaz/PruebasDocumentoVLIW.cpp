// El programa VLIW como documento, sin la ventana principal: las revisiones
// que cuentan los editores que se le vinculan y las comprobaciones antes de
// ejecutar, en su orden.

#include <QPointer>
#include <QtTest>
#include <memory>

#include "Simulador/aplicacion/TAplicacion.h"
#include "Simulador/control/TControladorMaquina.h"
#include "Simulador/control/TDocumentoVLIW.h"
#include "Simulador/vliw/TdlgSaltoVLIW.h"
#include "Simulador/vliw/TfrmInstVLIW.h"
#include "TServicioDialogosGuion.h"
#include "loader/TCodigo.h"
#include "vliw/TMaquinaVLIW.h"

namespace {

const char* const SECUENCIAL = "2\nDADDUI R1 R0 #1\nADDI R2 R1 R1\n";
const QString GUARDAR_VLIW =
    QStringLiteral("El programa VLIW ha cambiado desde la última vez que se guardó o se cargó. ¿Desea guardarlo?");

}  // namespace

class PruebasDocumentoVLIW : public QObject {
  Q_OBJECT

  QTemporaryDir dir;
  TCodigo codigo;
  std::unique_ptr<TServicioDialogosGuion> dialogos;
  std::unique_ptr<TMaquinaVLIW> maquina;
  std::unique_ptr<TControladorMaquina> control;
  std::unique_ptr<TdlgSaltoVLIW> dlgSalto;
  std::unique_ptr<TDocumentoVLIW> doc;

  TfrmInstVLIW* nuevoEditor() {
    auto* e = new TfrmInstVLIW(codigo, *maquina, *control, *dialogos, *dlgSalto);
    doc->vincularEditor(e);
    return e;
  }

private slots:
  void init() {
    const QString ruta = dir.filePath(QStringLiteral("s.pla"));
    QFile f(ruta);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(SECUENCIAL);
    f.close();
    QCOMPARE(codigo.cargar(ruta.toStdString()), CARGA_OK);
    dialogos = std::make_unique<TServicioDialogosGuion>();
    maquina = std::make_unique<TMaquinaVLIW>();
    control = std::make_unique<TControladorMaquina>(*maquina, *dialogos);
    dlgSalto = std::make_unique<TdlgSaltoVLIW>();
    doc = std::make_unique<TDocumentoVLIW>(*maquina, *dialogos);
  }

  void cleanup() {
    QCOMPARE(dialogos->sinRespuesta, 0);
    doc.reset();
    dlgSalto.reset();
    control.reset();
    maquina.reset();
    dialogos.reset();
  }

  // Cada «Aceptar» de un editor vinculado es una revisión; guardar la apunta; un
  // editor destruido deja de contar y uno nuevo cuenta otra vez.
  void revisionesDeLosEditoresVinculados() {
    QPointer<TfrmInstVLIW> e = nuevoEditor();
    QVERIFY(!doc->sinGuardar());
    e->soltarInstruccion(0, 0, e->columnaDe(0, tufSumaEntera));
    QVERIFY(!doc->sinGuardar());  // sin aceptar no es del programa
    e->aplicarCambios();
    QVERIFY(doc->sinGuardar());
    const QString ruta = dir.filePath(QStringLiteral("p.vliw"));
    dialogos->ficherosGuardar << ruta;
    QVERIFY(doc->guardar());
    QVERIFY(!doc->sinGuardar());
    QVERIFY(QFileInfo::exists(ruta));

    delete e.data();
    QVERIFY(!doc->editor());
    QVERIFY(doc->listoParaEjecutar());  // sin editor no hay nada pendiente
    e = nuevoEditor();
    QCOMPARE(doc->editor(), e.data());
    e->soltarInstruccion(1, 0, e->columnaDe(1, tufSumaEntera));
    e->aplicarCambios();
    QVERIFY(doc->sinGuardar());
    QCOMPARE(dialogos->mensajes(),
             QStringList(QStringLiteral("Dependencia verdadera en la operación 1 de la instrucción larga 0")));
    // La opción de comprobar llega al editor vinculado: sin ella no se avisa.
    doc->setChequear(false);
    e->soltarInstruccion(1, 0, e->columnaDe(1, tufSumaEntera));
    e->aplicarCambios();
    QCOMPARE(dialogos->mensajes().size(), 1);
    delete e.data();
  }

  // Programa vacío antes que ediciones pendientes, y estas antes que las unidades.
  void comprobacionesAntesDeEjecutarEnSuOrden() {
    QPointer<TfrmInstVLIW> e = nuevoEditor();
    e->soltarInstruccion(0, 0, e->columnaDe(1, tufSumaEntera));
    QVERIFY(!doc->listoParaEjecutar());
    QCOMPARE(dialogos->mensajes(), QStringList(QStringLiteral("Debe completar el código VLIW antes de ejecutar")));
    QVERIFY(dialogos->de(QStringLiteral("guardarCambio")).isEmpty());
    QVERIFY(e->cambiosPendientes());

    e->aplicarCambios();
    e->soltarInstruccion(0, 0, e->columnaDe(0, tufSumaEntera));
    dialogos->olvidar();
    dialogos->respuestasGuardarCambio << RESULTADO_ACEPTAR;
    QVERIFY(!doc->listoParaEjecutar());  // acepta las ediciones; la orden se da otra vez
    QCOMPARE(dialogos->de(QStringLiteral("guardarCambio")).size(), 1);
    QCOMPARE(maquina->codigo.instruccion(0)->numOperaciones(), 2);
    QVERIFY(!e->cambiosPendientes());

    // Ahora la operación pide +Entera 1 y la configuración solo tiene una.
    delete e.data();
    maquina->numUF[tufSumaEntera] = 1;
    maquina->reset(false);
    dialogos->olvidar();
    QVERIFY(!doc->listoParaEjecutar());
    QCOMPARE(dialogos->mensajes(),
             QStringList(QStringLiteral("La configuración actual de la máquina no permite ejecutar ese código")));
    maquina->numUF[tufSumaEntera] = 2;
    maquina->reset(false);
    QVERIFY(doc->listoParaEjecutar());
  }

  // «Nuevo» con un programa sin guardar y el guardado cancelado: nada cambia.
  void nuevoCanceladoConservaElPrograma() {
    QPointer<TfrmInstVLIW> e = nuevoEditor();
    e->soltarInstruccion(0, 0, e->columnaDe(0, tufSumaEntera));
    e->aplicarCambios();
    dialogos->respuestasCambios << TRespuestaCambios::guardar;
    dialogos->ficherosGuardar << QString();
    QVERIFY(!doc->nuevo());
    QCOMPARE(dialogos->de(QStringLiteral("cambios")), QStringList(GUARDAR_VLIW));
    QCOMPARE(maquina->codigo.numInstrucciones, 1);
    QVERIFY(doc->sinGuardar());
    dialogos->respuestasCambios << TRespuestaCambios::cancelar;
    QVERIFY(!doc->nuevo());
    QCOMPARE(maquina->codigo.numInstrucciones, 1);
    dialogos->respuestasCambios << TRespuestaCambios::descartar;
    QVERIFY(doc->nuevo());
    QCOMPARE(maquina->codigo.numInstrucciones, 0);
    QVERIFY(!doc->sinGuardar());
    delete e.data();
  }
};

int main(int argc, char** argv) {
  TAplicacion aplicacion(argc, argv);
  PruebasDocumentoVLIW pruebas;
  return QTest::qExec(&pruebas, argc, argv);
}

#include "PruebasDocumentoVLIW.moc"
