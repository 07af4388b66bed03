// Diálogos pequeños, casillas numéricas y la conversión de resultados.

#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include "Simulador/aplicacion/TServicioDialogos.h"
#include "Simulador/aplicacion/TServicioDialogosQt.h"
#include "Simulador/comunes/TSpinNumero.h"
#include "Simulador/dialogos/TAboutBox.h"
#include "Simulador/dialogos/TdlgCantidad.h"
#include "Simulador/dialogos/TdlgGuardarCambio.h"

namespace {

// Escribe en la casilla como lo haría el usuario y termina la edición.
void escribir(TSpinNumero& casilla, const QString& texto, bool terminar = true) {
  casilla.editor()->selectAll();
  QTest::keyClick(casilla.editor(), Qt::Key_Backspace);
  if (!texto.isEmpty()) QTest::keyClicks(casilla.editor(), texto);
  if (terminar) QTest::keyClick(&casilla, Qt::Key_Return);
}

// Pulsa una tecla en el diálogo modal en cuanto se abre.
void alAbrir(std::function<void()> accion) {
  QTimer::singleShot(0, [accion] {
    if (QWidget* modal = QApplication::activeModalWidget()) {
      Q_UNUSED(modal);
      accion();
    }
  });
}

}  // namespace

class PruebasDialogos : public QObject {
  Q_OBJECT
private slots:
  void resultadosDeQtSeConviertenEnUnoYDos() {
    QCOMPARE(resultadoModal(QDialog::Accepted), RESULTADO_ACEPTAR);
    QCOMPARE(resultadoModal(QDialog::Rejected), RESULTADO_CANCELAR);
    QCOMPARE(RESULTADO_CANCELAR, 2);
  }

  void filtrosDeFicherosPasanALaFormaDeQt() {
    QCOMPARE(filtroQt(QStringLiteral("Ficheros fuente|*.pla|Ficheros fuente VLIW (con bundles)|*.bun")),
             QStringLiteral("Ficheros fuente (*.pla);;Ficheros fuente VLIW (con bundles) (*.bun)"));
    QCOMPARE(filtroQt(QStringLiteral("Programa VLIW|*.vliw")), QStringLiteral("Programa VLIW (*.vliw)"));
  }

  // Las reglas de la casilla de velocidad: vacío vale 5, por encima de 10 vale
  // 10 (también un número que no cabe en un entero), letras rechazadas.
  void casillaDeVelocidad() {
    TSpinNumero v;
    v.setRange(1, 10);
    v.setValorVacio(5);
    v.setValue(7);
    v.show();
    escribir(v, QString(), false);
    QCOMPARE(v.value(), 5);
    QTest::keyClick(&v, Qt::Key_Return);
    QCOMPARE(v.text(), QStringLiteral("5"));
    // Por encima del máximo se acota en cada pulsación, no al salir.
    escribir(v, QStringLiteral("15"), false);
    QCOMPARE(v.value(), 10);
    QCOMPARE(v.text(), QStringLiteral("10"));
    QCOMPARE(v.editor()->cursorPosition(), 2);
    escribir(v, QStringLiteral("1"), false);
    QCOMPARE(v.text(), QStringLiteral("1"));
    QTest::keyClicks(v.editor(), QStringLiteral("0"));
    QCOMPARE(v.text(), QStringLiteral("10"));
    escribir(v, QStringLiteral("99999999999999999999"));
    QCOMPARE(v.value(), 10);
    escribir(v, QStringLiteral("3"));
    QTest::keyClicks(v.editor(), QStringLiteral("a-,.x"));
    QCOMPARE(v.text(), QStringLiteral("3"));
    QCOMPARE(v.value(), 3);
  }

  void cantidadLlevaElValorInicialAlIntervalo() {
    TdlgCantidad d;
    d.preparar(QStringLiteral("% Fallos caché"), QStringLiteral("% Fallos"), 150, 0, 100);
    QCOMPARE(d.windowTitle(), QStringLiteral("% Fallos caché"));
    QCOMPARE(d.labMensaje->text(), QStringLiteral("% Fallos"));
    QCOMPARE(d.spiCantidad->value(), 100);
    d.preparar(QStringLiteral("Registro de predicado"), QStringLiteral("Número:"), -3, 0, 63);
    QCOMPARE(d.spiCantidad->value(), 0);
  }

  void cantidadVaciaValeElMinimoYSoloAdmiteDigitos() {
    TdlgCantidad d;
    d.preparar(QStringLiteral("Añadir Filas"), QStringLiteral("Número de Filas:"), 7, 1, 20);
    d.show();
    escribir(*d.spiCantidad, QString(), false);
    QCOMPARE(d.spiCantidad->value(), 1);
    QTest::keyClicks(d.spiCantidad->editor(), QStringLiteral("-e,."));
    QCOMPARE(d.spiCantidad->text(), QString());
    QTest::keyClicks(d.spiCantidad->editor(), QStringLiteral("12"));
    QCOMPARE(d.spiCantidad->value(), 12);
  }

  void cantidadEstadoInicialYBotones() {
    TdlgCantidad d;
    QCOMPARE(d.objectName(), QStringLiteral("dlgCantidad"));
    QCOMPARE(d.windowTitle(), QStringLiteral("Añadir Filas"));
    QCOMPARE(d.spiCantidad->minimum(), 1);
    QCOMPARE(d.spiCantidad->maximum(), 20);
    QCOMPARE(d.butAceptar->text(), QStringLiteral("&Aceptar"));
    QVERIFY(d.butAceptar->isDefault());
    QCOMPARE(d.butCancelar->text(), QStringLiteral("&Cancelar"));
  }

  // El diálogo de verdad, modal: Escape devuelve 2, «&Aceptar» 1 con el número.
  void cantidadModalEscapeYAceptar() {
    QWidget padre;
    padre.resize(400, 300);
    padre.show();
    TServicioDialogosQt servicio;
    int cantidad = -1;
    alAbrir([] { QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_Escape); });
    QCOMPARE(servicio.pedirCantidad(&padre, QStringLiteral("% Fallos caché"), QStringLiteral("% Fallos"), 30, 0, 100,
                                    cantidad),
             RESULTADO_CANCELAR);
    QCOMPARE(cantidad, -1);
    alAbrir([] {
      auto* d = qobject_cast<TdlgCantidad*>(QApplication::activeModalWidget());
      QVERIFY(d);
      escribir(*d->spiCantidad, QStringLiteral("42"), false);
      d->butAceptar->click();
    });
    QCOMPARE(servicio.pedirCantidad(&padre, QStringLiteral("% Fallos caché"), QStringLiteral("% Fallos"), 30, 0, 100,
                                    cantidad),
             RESULTADO_ACEPTAR);
    QCOMPARE(cantidad, 42);
  }

  void guardarCambioTextosYRespuestas() {
    TServicioDialogosQt servicio;
    TdlgGuardarCambio d;
    QCOMPARE(d.windowTitle(), QStringLiteral("Guardar Cambios VLIW"));
    QCOMPARE(d.labMensaje->text(), QStringLiteral("Ha habido cambios en su código VLIW."));
    QCOMPARE(d.labPregunta->text(), QStringLiteral("¿Desea guardar los cambios?"));
    QVERIFY(d.labPregunta->font().bold());
    QCOMPARE(d.labAclaracion->text(), QStringLiteral("(Cancelar perderá las últimas modificaciones)"));
    QCOMPARE(d.butOk->text(), QStringLiteral("Guardar"));
    QCOMPARE(d.butCancel->text(), QStringLiteral("Cancelar"));

    alAbrir([] { qobject_cast<TdlgGuardarCambio*>(QApplication::activeModalWidget())->butOk->click(); });
    QCOMPARE(servicio.preguntarGuardarCambio(nullptr), RESULTADO_ACEPTAR);
    // Cerrar con el botón de la ventana cuenta como «Cancelar».
    alAbrir([] { QApplication::activeModalWidget()->close(); });
    QCOMPARE(servicio.preguntarGuardarCambio(nullptr), RESULTADO_CANCELAR);
  }

  // La pregunta con vuelta atrás: Escape y la caja de cerrar cancelan, nunca descartan.
  void preguntaDeCambiosEscapeCancela() {
    TServicioDialogosQt servicio;
    const QString pregunta = QStringLiteral("¿Desea guardarlo?");
    auto preguntar = [&] {
      return servicio.preguntarCambios(nullptr, pregunta, QStringLiteral("&Guardar..."), QStringLiteral("&No guardar"));
    };
    QStringList botones;
    alAbrir([&botones] {
      auto* caja = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      QVERIFY(caja);
      for (QAbstractButton* b : caja->buttons()) botones << b->text();
      QTest::keyClick(caja, Qt::Key_Escape);
    });
    QCOMPARE(preguntar(), TRespuestaCambios::cancelar);
    botones.sort();
    QCOMPARE(botones, QStringList({"&Cancelar", "&Guardar...", "&No guardar"}));
    alAbrir([] { QApplication::activeModalWidget()->close(); });
    QCOMPARE(preguntar(), TRespuestaCambios::cancelar);
    alAbrir([] {
      auto* caja = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      caja->button(QMessageBox::Discard)->click();
    });
    QCOMPARE(preguntar(), TRespuestaCambios::descartar);
    alAbrir([] { QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_Return); });
    QCOMPARE(preguntar(), TRespuestaCambios::guardar);
  }

  void acercaDeTextos() {
    TAboutBox a;
    QCOMPARE(a.objectName(), QStringLiteral("AboutBox"));
    QCOMPARE(a.windowTitle(), QStringLiteral("Acerca de..."));
    QCOMPARE(a.labProducto->text(), QStringLiteral("ORVEX"));
    QVERIFY(a.labProducto->font().bold() && a.labProducto->font().underline());
    QCOMPARE(a.labVersion->text(), QStringLiteral("Versión 1.0"));
    QCOMPARE(a.labComentario->text(),
             QStringLiteral("Un Simulador para el Apoyo Docente en la Enseñanza de las Arquitecturas ILP con "
                            "Planificación Dinámica y Estática"));
    QVERIFY(!a.imgPrograma->pixmap().isNull());
    QCOMPARE(a.butAceptar->text(), QStringLiteral("Aceptar"));
    TServicioDialogosQt servicio;
    alAbrir([&a] { a.butAceptar->click(); });
    QCOMPARE(servicio.ejecutarModal(a), RESULTADO_ACEPTAR);
  }
};

QTEST_MAIN(PruebasDialogos)
#include "PruebasDialogos.moc"
