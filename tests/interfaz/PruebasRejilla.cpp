// La rejilla del código secuencial: textos, reglas de dibujo y pistas.

#include <QHeaderView>
#include <QtTest>

#include "Simulador/codigo/TModeloCodigo.h"
#include "Simulador/codigo/TRejillaCodigo.h"
#include "loader/TCodigo.h"

namespace {

// Ocho bloques básicos (uno por salto y por etiqueta) para ver la paleta dar la vuelta.
const char* const PROGRAMA = R"(9
ETIQUETA_MUY_LARGA: DADDUI R1 R0 #1
B1: BNE R1 R0 B2
B2: BNE R1 R0 B3
B3: BNE R1 R0 B4
B4: BNE R1 R0 B5
B5: BNE R1 R0 B6
B6: ADDF F1 F2 F3
    BEQ R1 R0 B6
    SF F1 4(R2)
)";

QPoint centro(const TRejillaCodigo& r, int fila, int columna) {
  return r.viewport()->mapTo(&r, r.visualRect(r.model()->index(fila, columna)).center());
}

}  // namespace

class PruebasRejilla : public QObject {
  Q_OBJECT
  TCodigo codigo;

private slots:
  void initTestCase() { QCOMPARE(codigo.cargarTexto(PROGRAMA), CARGA_OK); }

  void cabeceraYTextosDeLasFilas() {
    TRejillaCodigo r;
    r.modelo()->asignar(&codigo);
    QCOMPARE(r.model()->rowCount(), 9);
    QStringList cabecera;
    for (int c = 0; c < 5; ++c) cabecera << r.model()->headerData(c, Qt::Horizontal).toString();
    QCOMPARE(cabecera, QStringList({"Nº", "OPCODE", "OP1", "OP2", "OP3"}));
    QCOMPARE(r.model()->index(0, 0).data().toString(), QStringLiteral("0 [ETIQUETA_MUY_LARGA:]"));
    QCOMPARE(r.model()->index(7, 0).data().toString(), QStringLiteral("7"));
    QCOMPARE(r.model()->index(8, 1).data().toString(), QStringLiteral("SF"));
    QCOMPARE(r.model()->index(8, 2).data().toString(), QStringLiteral("F1"));
    QCOMPARE(r.model()->index(8, 3).data().toString(), QStringLiteral("4(R2)"));
    QVERIFY(r.horizontalHeader()->sectionSize(0) >= TRejillaCodigo::ANCHO_COLUMNA);
    QVERIFY(r.horizontalHeader()->sectionSize(1) >= r.fontMetrics().horizontalAdvance(QStringLiteral("DADDUI")));
  }

  void reglasDeDibujo() {
    TRejillaCodigo r;
    r.modelo()->asignar(&codigo);
    r.resize(300, 300);
    r.show();
    const QPalette p = r.palette();
    r.selectRow(2);
    // Columna del número: cara de botón, roja con breakpoint; la selección no la toca.
    QCOMPARE(r.fondoCelda(2, 0), p.color(QPalette::Button));
    codigo.instrucciones[2].breakpoint = true;
    QCOMPARE(r.fondoCelda(2, 0), QColor(255, 0, 0));
    codigo.instrucciones[2].breakpoint = false;
    // Sin bloques: resaltado en la fila seleccionada, fondo de ventana en las demás.
    QCOMPARE(r.fondoCelda(2, 3), p.color(QPalette::Highlight));
    QCOMPARE(r.textoCelda(2, 3), p.color(QPalette::HighlightedText));
    QCOMPARE(r.fondoCelda(3, 3), p.color(QPalette::Base));
    // Con bloques: el color del bloque gana a la selección, y el bloque 6 usa el del 0.
    r.setBloquesBasicos(true);
    QCOMPARE(codigo.instrucciones[2].bloque, 2);
    QCOMPARE(r.fondoCelda(2, 3), QColor(68, 208, 68));
    QCOMPARE(codigo.instrucciones[6].bloque, 6);
    QCOMPARE(r.fondoCelda(6, 1), QColor(0, 239, 208));
    QCOMPARE(r.fondoCelda(6, 1), r.fondoCelda(0, 1));
    QCOMPARE(codigo.instrucciones[8].bloque, 7);
    QCOMPARE(r.fondoCelda(8, 4), QColor(136, 208, 239));
  }

  // La etiqueta cortada en la columna estrecha se lee entera en la pista.
  void pistaDeLaEtiqueta() {
    TRejillaCodigo r;
    r.modelo()->asignar(&codigo);
    r.resize(300, 300);
    r.show();
    QCOMPARE(r.toolTip(), QStringLiteral("Código Secuencial"));
    const QRect celda = r.visualRect(r.model()->index(0, 0));
    QVERIFY(r.fontMetrics().horizontalAdvance(r.model()->index(0, 0).data().toString()) > celda.width());
    r.grdInstruccionesMouseMove(centro(r, 0, 0));
    QCOMPARE(r.toolTip(), QStringLiteral("ETIQUETA_MUY_LARGA:"));
    QCOMPARE(r.statusTip(), QStringLiteral("ETIQUETA_MUY_LARGA:"));
    // En otras columnas la pista no cambia.
    r.grdInstruccionesMouseMove(centro(r, 5, 2));
    QCOMPARE(r.toolTip(), QStringLiteral("ETIQUETA_MUY_LARGA:"));
    // En el número de una instrucción sin etiqueta, vacía.
    r.grdInstruccionesMouseMove(centro(r, 7, 0));
    QCOMPARE(r.toolTip(), QString());
    r.grdInstruccionesMouseMove(centro(r, 1, 0));
    QCOMPARE(r.toolTip(), QStringLiteral("B1:"));
    // Sobre la cabecera, vacía.
    r.grdInstruccionesMouseMove(QPoint(10, r.horizontalHeader()->height() / 2));
    QCOMPARE(r.toolTip(), QString());
    // Con el ratón de verdad, también.
    QTest::mouseMove(r.viewport(), r.visualRect(r.model()->index(1, 0)).center());
    QTRY_COMPARE(r.toolTip(), QStringLiteral("B1:"));
  }

  void dobleClicDaLaInstruccion() {
    TRejillaCodigo r;
    r.modelo()->asignar(&codigo);
    r.resize(300, 300);
    r.show();
    QSignalSpy espia(&r, &TRejillaCodigo::dobleClicInstruccion);
    QTest::mouseDClick(r.viewport(), Qt::LeftButton, {}, r.visualRect(r.model()->index(4, 3)).center());
    QCOMPARE(espia.size(), 1);
    QCOMPARE(espia.first().first().toInt(), 4);
    // Debajo de la última fila no hay instrucción.
    QTest::mouseDClick(r.viewport(), Qt::LeftButton, {}, QPoint(10, r.viewport()->height() - 2));
    QCOMPARE(espia.size(), 1);
  }

  void anchoParaLasCincoColumnas() {
    TRejillaCodigo r;
    r.modelo()->asignar(&codigo);
    r.resize(300, 1000);
    const int sinBarra = r.anchoNecesario();
    QVERIFY(sinBarra >= 5 * TRejillaCodigo::ANCHO_COLUMNA);
    r.resize(300, 60);  // no caben las nueve filas: se suma la barra
    QVERIFY(r.anchoNecesario() > sinBarra);
  }
};

QTEST_MAIN(PruebasRejilla)
#include "PruebasRejilla.moc"
