// El editor de código sin pantalla: colores de cada clase de token, la marca de
// cada error del cargador, los bloques básicos en el margen, guardar (también
// con un fallo de escritura inyectado), las preguntas por los cambios sin
// guardar con «Cancelar» en cada camino, buscar y reemplazar.

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMdiArea>
#include <QPushButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTextBlock>
#include <QTextLayout>
#include <QTimer>
#include <QtTest>
#include <cerrno>
#include <memory>

#include "Simulador/ayuda/TFicheroAyuda.h"
#include "Simulador/editor/TBarraBuscar.h"
#include "Simulador/editor/TEditorFuente.h"
#include "Simulador/editor/TEjemplos.h"
#include "Simulador/editor/TMargenFuente.h"
#include "Simulador/editor/TResaltadorFuente.h"
#include "Simulador/editor/TdlgGuardarPrograma.h"
#include "Simulador/editor/TfrmEditorCodigo.h"
#include "TServicioDialogosGuion.h"
#include "loader/TCodigo.h"
#include "machine/TTipos.h"

namespace {

const QString FILTRO = QStringLiteral("Ficheros fuente|*.pla|Ficheros fuente VLIW (con bundles)|*.bun");

QByteArray leer(const QString& ruta) {
  QFile f(ruta);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<no se lee>");
}

void poner(const QString& ruta, const QByteArray& contenido) {
  QFile f(ruta);
  QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
  f.write(contenido);
}

}  // namespace

class PruebasEditorCodigo : public QObject {
  Q_OBJECT

  QTemporaryDir dir;
  std::unique_ptr<TServicioDialogosGuion> dialogos;
  QPointer<TfrmEditorCodigo> e;

  QString ruta(const QString& nombre) const { return dir.filePath(nombre); }
  QTextDocument* documento() const { return e->txtFuente->document(); }

  // Sustituye todo el texto como lo haría el alumno: se puede deshacer y cuenta como cambio.
  void escribir(const QString& texto) {
    QTextCursor c(documento());
    c.select(QTextCursor::Document);
    c.insertText(texto);
  }

  // Clase de color de un trozo de una línea (todo el trozo igual), o -1.
  int claseEn(int linea, const QString& trozo, int desde = 0) const {
    const QTextBlock b = documento()->findBlockByNumber(linea);
    const int inicio = static_cast<int>(b.text().indexOf(trozo, desde));
    if (inicio < 0) return -2;
    QColor color;
    bool negrita = false;
    for (int i = inicio; i < inicio + trozo.size(); ++i) {
      QTextCharFormat f;
      for (const QTextLayout::FormatRange& r : b.layout()->formats())
        if (i >= r.start && i < r.start + r.length) f = r.format;
      if (i > inicio && (f.foreground().color() != color || (f.fontWeight() == QFont::Bold) != negrita)) return -3;
      color = f.foreground().color();
      negrita = f.fontWeight() == QFont::Bold;
    }
    for (int k = 0; k < NUM_CLASES_FUENTE; ++k) {
      const QTextCharFormat f = TResaltadorFuente::formato(static_cast<TClaseFuente>(k));
      if (f.foreground().color() == color && (f.fontWeight() == QFont::Bold) == negrita) return k;
    }
    return -1;
  }

  // El texto subrayado por la marca de error.
  QString subrayado() const {
    const QTextBlock b = documento()->findBlockByNumber(e->txtFuente->lineaError());
    return b.text().mid(e->txtFuente->inicioError(), e->txtFuente->longitudError());
  }

  // Un punto del área de texto sobre la línea (desde 0).
  QPoint puntoDeLinea(int linea) const {
    return QPoint(20, e->txtFuente->rectLinea(linea).center().y());
  }

  // Responde a la próxima pregunta de cambios sin guardar.
  void responder(TdlgGuardarPrograma::TRespuesta r) {
    dialogos->respuestasModal << (r == TdlgGuardarPrograma::Cancelar ? RESULTADO_CANCELAR : RESULTADO_ACEPTAR);
    dialogos->alEjecutarModal = [r](QDialog& d) {
      auto* dlg = qobject_cast<TdlgGuardarPrograma*>(&d);
      QVERIFY(dlg);
      (r == TdlgGuardarPrograma::Guardar     ? dlg->butGuardar
       : r == TdlgGuardarPrograma::NoGuardar ? dlg->butNoGuardar
                                             : dlg->butCancelar)
          ->click();
    };
  }
  int preguntas() const { return static_cast<int>(dialogos->de(QStringLiteral("modal")).size()); }

private slots:
  void init() {
    dialogos = std::make_unique<TServicioDialogosGuion>();
    e = new TfrmEditorCodigo(*dialogos);
    e->resize(700, 500);
    e->show();
  }

  void cleanup() {
    if (e) {
      documento()->setModified(false);
      delete e.data();
    }
    QCOMPARE(dialogos->sinRespuesta, 0);
  }

  // ---------------------------------------------------------------- colores

  void coloresDeCadaClaseDeToken() {
    escribir(QStringLiteral("// cabecera\n"
                            "3\n"
                            "BUCLE:  LF     F2, 16(R3)   // carga\n"
                            "        DADDUI r1 R1 #4\n"
                            "        BNE    R1 R2 bucle\n"
                            "        addi NOP ADD LOOP\n"));
    QCOMPARE(claseEn(0, QStringLiteral("// cabecera")), int(cfComentario));
    QCOMPARE(claseEn(1, QStringLiteral("3")), int(cfNumero));
    QCOMPARE(claseEn(2, QStringLiteral("BUCLE:")), int(cfEtiqueta));
    QCOMPARE(claseEn(2, QStringLiteral("LF")), int(cfMnemonico));
    QCOMPARE(claseEn(2, QStringLiteral("F2")), int(cfRegistroF));
    QCOMPARE(claseEn(2, QStringLiteral("16(")), int(cfDireccion));
    QCOMPARE(claseEn(2, QStringLiteral("R3")), int(cfRegistroR));  // la base de la dirección
    QCOMPARE(claseEn(2, QStringLiteral(")")), int(cfDireccion));
    QCOMPARE(claseEn(2, QStringLiteral("// carga")), int(cfComentario));
    QCOMPARE(claseEn(2, QStringLiteral(",")), -1);  // lo que el cargador descarta no tiene color
    QCOMPARE(claseEn(3, QStringLiteral("DADDUI")), int(cfMnemonico));
    QCOMPARE(claseEn(3, QStringLiteral("r1")), int(cfRegistroR));
    QCOMPARE(claseEn(3, QStringLiteral("#4")), int(cfInmediato));
    QCOMPARE(claseEn(4, QStringLiteral("bucle")), int(cfUsoEtiqueta));  // sin distinguir mayúsculas
    // El cargador exige mayúsculas y no acepta NOP: no son mnemónicos.
    for (const char* palabra : {"addi", "NOP", "ADD", "LOOP"}) QCOMPARE(claseEn(5, QString::fromLatin1(palabra)), int(cfPalabra));

    // Cada clase se distingue de las demás (color, negrita o cursiva).
    for (int a = 0; a < NUM_CLASES_FUENTE; ++a)
      for (int b = a + 1; b < NUM_CLASES_FUENTE; ++b) {
        const QTextCharFormat fa = TResaltadorFuente::formato(TClaseFuente(a));
        const QTextCharFormat fb = TResaltadorFuente::formato(TClaseFuente(b));
        QVERIFY2(fa.foreground() != fb.foreground() || fa.fontWeight() != fb.fontWeight() ||
                     fa.fontItalic() != fb.fontItalic(),
                 qPrintable(QStringLiteral("%1 y %2").arg(a).arg(b)));
      }
    QVERIFY(TResaltadorFuente::formato(cfRegistroR).foreground() != TResaltadorFuente::formato(cfRegistroF).foreground());
  }

  void unNombreEsUsoDeEtiquetaMientrasLaEtiquetaExista() {
    escribir(QStringLiteral("2\nBNE R1 R2 fin\n"));
    QCOMPARE(claseEn(1, QStringLiteral("fin")), int(cfPalabra));
    // Definirla más abajo cambia el color de una línea que no se ha tocado.
    QTextCursor c(documento());
    c.movePosition(QTextCursor::End);
    c.insertText(QStringLiteral("FIN: ADDI R1 R1 R1\n"));
    QCOMPARE(claseEn(1, QStringLiteral("fin")), int(cfUsoEtiqueta));
    documento()->undo();
    QCOMPARE(claseEn(1, QStringLiteral("fin")), int(cfPalabra));
  }

  void letrasNoAsciiNoDesplazanLosColores() {
    escribir(QStringLiteral("1\n// año: ñandú\nÑ ADDF F1 F2 F3 // señal\n"));
    QCOMPARE(claseEn(1, QStringLiteral("// año: ñandú")), int(cfComentario));
    QCOMPARE(claseEn(2, QStringLiteral("ADDF")), int(cfMnemonico));
    QCOMPARE(claseEn(2, QStringLiteral("F3")), int(cfRegistroF));
    QCOMPARE(claseEn(2, QStringLiteral("// señal")), int(cfComentario));
    QCOMPARE(TResaltadorFuente::caracterDeByte(QStringLiteral("ñx"), 2), 1);
    QCOMPARE(TResaltadorFuente::caracterDeByte(QStringLiteral("ñx"), 9), 2);
  }

  // ---------------------------------------------------------------- errores

  void marcaDeErrorParaCadaFalloDeCarga_data() {
    QTest::addColumn<QString>("texto");
    QTest::addColumn<int>("linea");
    QTest::addColumn<QString>("marcado");
    QTest::addColumn<QString>("detalle");
    auto caso = [](const char* nombre, const char* texto, int linea, const char* marcado, const char* detalle) {
      QTest::newRow(nombre) << QString::fromUtf8(texto) << linea << QString::fromUtf8(marcado) << QString::fromUtf8(detalle);
    };
    caso("sin número", "  2\nADDI R1 R2 R3", 2, "ADDI", "línea 2: falta el número de instrucciones");
    caso("número enorme", "99999999999\nADDI R1 R1 R1", 1, "99999999999", "línea 1: número demasiado grande: 99999999999");
    // Cuando el texto se acaba, lo que hay en la línea del último token.
    caso("faltan instrucciones", "3\n  ADDI R1 R2 R3  \n", 2, "ADDI R1 R2 R3",
         "línea 2: faltan instrucciones: se esperaban 3 y el fichero termina tras 1");
    caso("mnemónico en minúsculas", "1\naddi R1 R2 R3", 2, "addi", "línea 2: código de operación desconocido: addi");
    caso("NOP", "1\nNOP", 2, "NOP", "línea 2: código de operación desconocido: NOP");
    caso("dos etiquetas", "1\nA: B: ADDI R1 R2 R3", 2, "B:", "línea 2: se esperaba un código de operación y se encontró B:");
    caso("banco equivocado", "1\n\nADDF F1 R2 F3", 3, "R2", "línea 3: se esperaba un registro F y se encontró R2");
    caso("falta el inmediato", "1\nDADDUI R1 R1 5", 2, "DADDUI R1 R1",
         "línea 2: se esperaba un inmediato (#n) y el fichero termina");
    caso("registro por dirección", "1\nLI R1 R2", 2, "R2",
         "línea 2: se esperaba una dirección desplazamiento(Rn) y se encontró R2");
    caso("registro por etiqueta", "1\nBNE R1 R2 R3\nR3: ADDI R1 R1 R1", 2, "R3",
         "línea 2: se esperaba el nombre de una etiqueta y se encontró R3");
    caso("etiqueta repetida", "2\nL: ADDI R1 R1 R1\nl: ADDI R1 R1 R1", 3, "l:", "línea 3: etiqueta repetida: l:");
    caso("etiqueta que no existe", "2\nADDI R1 R1 R1\nBNE R1 R2 FIN", 3, "FIN",
         "línea 3: el salto nombra una etiqueta que no existe: FIN");
    caso("registro fuera de rango", "1\nADDI R64 R1 R1", 2, "R64", "línea 2: registro fuera de rango: R64");
    caso("base fuera de rango", "1\nLF F1 4(R99)", 2, "4(R99)", "línea 2: registro fuera de rango: R99");
    caso("inmediato enorme", "1\nDADDUI R1 R1 #2147483648", 2, "#2147483648", "línea 2: número demasiado grande: #2147483648");
    caso("tras letras no ASCII", "1\n// año\nÑ ADDF F1 R2 F3", 3, "R2", "línea 3: se esperaba un registro F y se encontró R2");
  }
  void marcaDeErrorParaCadaFalloDeCarga() {
    QFETCH(QString, texto);
    QFETCH(int, linea);
    QFETCH(QString, marcado);
    QFETCH(QString, detalle);
    QSignalSpy analizados(e.data(), &TfrmEditorCodigo::analizado);
    escribir(texto);
    e->timAnalisisTimer();
    QCOMPARE(analizados.size(), 1);
    QCOMPARE(analizados.takeFirst().at(0).toBool(), false);
    QVERIFY(!e->correcto());
    QCOMPARE(e->lineaError(), linea);
    QCOMPARE(e->detalleError(), detalle);
    QCOMPARE(subrayado(), marcado);
    // Subrayado ondulado en el token y la línea sombreada.
    const auto marcas = e->txtFuente->extraSelections();
    QCOMPARE(marcas.size(), 2);
    QVERIFY(marcas[0].format.property(QTextFormat::FullWidthSelection).toBool());
    QCOMPARE(marcas[1].format.underlineStyle(), QTextCharFormat::SpellCheckUnderline);
    QCOMPARE(marcas[1].cursor.selectedText(), marcado);
    // El detalle en la barra de estado y como pista del texto y del margen.
    QCOMPARE(e->labAnalisis->text(), detalle);
    QCOMPARE(e->txtFuente->pistaTexto(puntoDeLinea(linea - 1)), detalle);
    QCOMPARE(e->txtFuente->pistaMargen(puntoDeLinea(linea - 1).y()), detalle);
    if (linea > 1) QCOMPARE(e->txtFuente->pistaTexto(puntoDeLinea(0)), QString());
    // Mientras se escribe, ningún cuadro de mensaje.
    QVERIFY(dialogos->apuntes.isEmpty());
  }

  void elAnalisisEsperaUnaPausaSinTeclear() {
    QCOMPARE(e->timAnalisis->interval(), TfrmEditorCodigo::PAUSA_ANALISIS);
    QVERIFY(e->timAnalisis->isSingleShot());
    e->txtFuente->setFocus();
    QTest::keyClicks(e->txtFuente, QStringLiteral("1"));
    QTest::keyClick(e->txtFuente, Qt::Key_Return);
    QTest::keyClicks(e->txtFuente, QStringLiteral("ADDF F1 R2 F3"));
    QVERIFY(e->timAnalisis->isActive());
    QCOMPARE(e->lineaError(), 0);  // aún no se ha analizado
    e->timAnalisisTimer();
    QCOMPARE(e->lineaError(), 2);
    QVERIFY(!e->timAnalisis->isActive());
    // Se corrige: la marca sigue hasta el siguiente análisis, que la quita.
    for (int i = 0; i < 5; ++i) QTest::keyClick(e->txtFuente, Qt::Key_Backspace);  // "R2 F3"
    QTest::keyClicks(e->txtFuente, QStringLiteral("F2 F3"));
    QCOMPARE(e->lineaError(), 2);
    // El temporizador de verdad también llega.
    QTRY_VERIFY_WITH_TIMEOUT(e->correcto(), 5000);
    QCOMPARE(e->lineaError(), 0);
    QVERIFY(e->txtFuente->extraSelections().isEmpty());
    QCOMPARE(e->labAnalisis->text(), QStringLiteral("Sin errores: 1 instrucción en 1 bloque básico"));
  }

  void unProgramaVacioNoSeMarcaHastaEnsamblarlo() {
    e->timAnalisisTimer();
    QVERIFY(!e->correcto());
    QCOMPARE(e->lineaError(), 0);
    QVERIFY(e->labAnalisis->text().contains(QStringLiteral("número de instrucciones")));
    TCodigo c;
    QCOMPARE(e->cargarEn(c), CARGA_ERRONEA);
    QCOMPARE(e->lineaError(), 1);
    QCOMPARE(e->detalleError(), QStringLiteral("línea 1: falta el número de instrucciones"));
  }

  void cargarEnEnsamblaElTextoActual() {
    escribir(QStringLiteral("2\nBUCLE: DADDUI R1 R1 #1\nBNE R1 R2 BUCLE\n"));
    TCodigo c;
    QCOMPARE(e->cargarEn(c), CARGA_OK);
    QCOMPARE(c.numInstrucciones, 2);
    QCOMPARE(c.instrucciones[1].op[2], 0);
    QVERIFY(e->correcto());
    QVERIFY(!e->timAnalisis->isActive());
  }

  // ---------------------------------------------------------------- bloques

  void bloquesBasicosEnElMargenYSobreSuPrimeraInstruccion() {
    escribir(QStringLiteral("// bloques\n"                 // 0
                            "4\n"                          // 1
                            "  DADDUI R1 R0 #0\n"          // 2 bloque 0
                            "BUCLE: ADDI R2 R2 R1\n"       // 3 bloque 1
                            "  // dentro del bloque\n"     // 4
                            "  BNE R1 R2 BUCLE\n"          // 5
                            "  SI R2 0(R0)\n"              // 6 bloque 2
                            "// fin\n"));                  // 7
    e->timAnalisisTimer();
    QVERIFY(e->correcto());
    const QList<int> esperados = {-1, -1, 0, 1, 1, 1, 2, -1};
    for (int l = 0; l < esperados.size(); ++l) QCOMPARE(e->txtFuente->bloqueDeLinea(l), esperados[l]);
    for (int l = 0; l < esperados.size(); ++l) QCOMPARE(e->txtFuente->empiezaBloque(l), l == 2 || l == 3 || l == 6);

    // Lo que se ve: la franja del margen del color del bloque y la línea fina.
    const QImage margen = e->txtFuente->margen->grab().toImage();
    const int xFranja = margen.width() - TEditorFuente::ANCHO_FRANJA / 2 - 2;
    auto colorBloque = [](int b) { return QColor::fromRgb(static_cast<QRgb>(colorDeBloque(b))); };
    QCOMPARE(margen.pixel(xFranja, puntoDeLinea(4).y()), colorBloque(1).rgb());
    QCOMPARE(margen.pixel(xFranja, puntoDeLinea(6).y()), colorBloque(2).rgb());
    QVERIFY(margen.pixel(xFranja, puntoDeLinea(7).y()) != colorBloque(2).rgb());
    const QImage texto = e->txtFuente->viewport()->grab().toImage();
    const int y3 = e->txtFuente->rectLinea(3).top();
    QCOMPARE(texto.pixel(texto.width() - 5, y3), colorBloque(1).darker(160).rgb());

    // Con un error las marcas del último análisis correcto siguen a sus líneas.
    QTextCursor c(documento());
    c.insertText(QStringLiteral("x\n"));
    e->timAnalisisTimer();
    QVERIFY(!e->correcto());
    QCOMPARE(e->txtFuente->bloqueDeLinea(4), 1);
    QVERIFY(e->txtFuente->empiezaBloque(4));
  }

  // ---------------------------------------------------------------- guardar

  void guardarComoPideNombreConSufijoYGuardarEscribe() {
    QSignalSpy rutas(e.data(), &TfrmEditorCodigo::rutaCambiada);
    QSignalSpy guardados(e.data(), &TfrmEditorCodigo::guardado);
    QCOMPARE(e->windowTitle(), QStringLiteral("Sin título[*] - Editor de Código"));
    escribir(QStringLiteral("1\nADDI R1 R1 R1\n"));
    QVERIFY(e->isWindowModified());
    QCOMPARE(e->labFichero->text(), QStringLiteral("Sin título (cambios sin guardar)"));
    const QString destino = ruta(QStringLiteral("nuevo.pla"));
    dialogos->ficherosGuardar << destino;
    e->actGuardar->trigger();  // sin fichero, guardar es guardar como
    QCOMPARE(dialogos->apuntes.size(), 1);
    QCOMPARE(dialogos->apuntes[0].tipo, QStringLiteral("guardar"));
    QCOMPARE(dialogos->apuntes[0].texto, FILTRO);
    QCOMPARE(dialogos->apuntes[0].detalle, QStringLiteral("pla"));
    QCOMPARE(leer(destino), QByteArray("1\nADDI R1 R1 R1\n"));
    QVERIFY(!e->modificado());
    QVERIFY(!e->isWindowModified());
    QCOMPARE(e->windowTitle(), QStringLiteral("nuevo.pla[*] - Editor de Código"));
    QCOMPARE(e->labFichero->text(), QStringLiteral("nuevo.pla"));
    QCOMPARE(e->labFichero->toolTip(), QDir::toNativeSeparators(destino));
    QCOMPARE(rutas.size(), 1);
    QCOMPARE(guardados.size(), 1);

    // Ctrl+S y Ctrl+G guardan en el mismo fichero sin preguntar.
    e->txtFuente->setFocus();
    QTest::keyClicks(e->txtFuente, QStringLiteral("// a"));
    QTest::keyClick(e->txtFuente, Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(leer(destino), QByteArray("1\nADDI R1 R1 R1\n// a"));
    QTest::keyClicks(e->txtFuente, QStringLiteral("b"));
    QTest::keyClick(e->txtFuente, Qt::Key_G, Qt::ControlModifier);
    QCOMPARE(leer(destino), QByteArray("1\nADDI R1 R1 R1\n// ab"));
    QCOMPARE(dialogos->apuntes.size(), 1);
    QCOMPARE(guardados.size(), 3);

    // Un fichero *.bun propone el mismo sufijo.
    poner(ruta(QStringLiteral("b.bun")), "0\n");
    QVERIFY(e->abrir(ruta(QStringLiteral("b.bun"))));
    dialogos->ficherosGuardar << ruta(QStringLiteral("c.bun"));
    QVERIFY(e->guardarComo());
    QCOMPARE(dialogos->apuntes.last().detalle, QStringLiteral("bun"));
    QCOMPARE(e->ruta(), ruta(QStringLiteral("c.bun")));
    // Cancelar el diálogo no guarda nada.
    dialogos->ficherosGuardar << QString();
    QVERIFY(!e->guardarComo());
    QCOMPARE(e->ruta(), ruta(QStringLiteral("c.bun")));
  }

  void unFalloAlGuardarDejaElFicheroViejo() {
    QTemporaryDir carpeta;  // solo con este fichero: un temporal olvidado se vería
    const QString destino = carpeta.filePath(QStringLiteral("viejo.pla"));
    const QByteArray viejo = "1\nADDI R1 R1 R1\n";
    poner(destino, viejo);
    QVERIFY(e->abrir(destino));
    escribir(QStringLiteral("2\nADDI R1 R1 R1\nADDI R2 R2 R2\n"));
    // El disco se llena a medio escribir.
    e->escritura.tamBloque = 4;
    int bloques = 0;
    e->escritura.inyectarFallo = [&](TEscrituraSegura::TPaso p) {
      return p == TEscrituraSegura::pasoEscribir && ++bloques == 3 ? ENOSPC : 0;
    };
    QSignalSpy guardados(e.data(), &TfrmEditorCodigo::guardado);
    QVERIFY(!e->guardar());
    QCOMPARE(dialogos->mensajes(), QStringList{QStringLiteral("No se pudo guardar el fichero")});
    QVERIFY(dialogos->apuntes[0].detalle.contains(destino));
    QVERIFY(dialogos->apuntes[0].detalle.contains(QStringLiteral("no queda espacio en el disco")));
    QCOMPARE(leer(destino), viejo);
    QCOMPARE(QDir(carpeta.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("viejo.pla")});
    QVERIFY(e->modificado());  // el texto y sus cambios siguen ahí
    QCOMPARE(guardados.size(), 0);
    e->escritura.inyectarFallo = nullptr;
    QVERIFY(e->guardar());
    QCOMPARE(leer(destino), QByteArray("2\nADDI R1 R1 R1\nADDI R2 R2 R2\n"));
  }

  void abrirConservaCodificacionYFinesDeLinea() {
    // Latin-1 con CR LF, como lo dejaría un editor antiguo.
    const QByteArray latin1 = "// versi\xf3n 2\r\n1\r\nADDI R1 R1 R1\r\n";
    poner(ruta(QStringLiteral("l1.pla")), latin1);
    QVERIFY(e->abrir(ruta(QStringLiteral("l1.pla"))));
    QCOMPARE(documento()->firstBlock().text(), QStringLiteral("// versión 2"));
    QVERIFY(e->correcto());
    QCOMPARE(e->contenido(), latin1);
    QVERIFY(e->guardar());
    QCOMPARE(leer(ruta(QStringLiteral("l1.pla"))), latin1);
    // Lo que no cabe en Latin-1 se guarda en UTF-8, y desde entonces es UTF-8.
    QTextCursor c(documento());
    c.insertText(QStringLiteral("// 5 €\n"));
    QVERIFY(e->guardar());
    QCOMPARE(leer(ruta(QStringLiteral("l1.pla"))), QByteArray("// 5 \xe2\x82\xac\r\n// versi\xc3\xb3n 2\r\n1\r\nADDI R1 R1 R1\r\n"));

    // Lo que no se puede abrir se dice y el texto sigue como estaba.
    const QString antes = e->texto();
    QVERIFY(!e->abrir(ruta(QStringLiteral("no_existe.pla"))));
    QVERIFY(!e->abrir(dir.path()));
    poner(ruta(QStringLiteral("enorme.pla")), QByteArray(TfrmEditorCodigo::TAM_MAXIMO + 1, ' '));
    QVERIFY(!e->abrir(ruta(QStringLiteral("enorme.pla"))));
    QCOMPARE(dialogos->mensajes(), (QStringList{QStringLiteral("No se pudo abrir el fichero"), QStringLiteral("No se pudo abrir el fichero"),
                                                QStringLiteral("El fichero es demasiado grande para el editor de código")}));
    QCOMPARE(e->texto(), antes);
    QCOMPARE(e->ruta(), ruta(QStringLiteral("l1.pla")));
  }

  // ---------------------------------------------------------------- cambios sin guardar

  void cancelarEnCadaCaminoDejaElProgramaAbiertoYSinPerderNada() {
    const QString original = ruta(QStringLiteral("p.pla"));
    poner(original, "1\nADDI R1 R1 R1\n");
    poner(ruta(QStringLiteral("otro.pla")), "0\n");
    QVERIFY(e->abrir(original));
    escribir(QStringLiteral("1\nADDI R2 R2 R2\n"));
    const QString editado = e->texto();

    auto sigueIgual = [&] {
      QVERIFY(e);
      QVERIFY(e->isVisible());
      QCOMPARE(e->texto(), editado);
      QVERIFY(e->modificado());
      QCOMPARE(e->ruta(), original);
      QCOMPARE(leer(original), QByteArray("1\nADDI R1 R1 R1\n"));
    };
    responder(TdlgGuardarPrograma::Cancelar);
    QVERIFY(!e->close());
    sigueIgual();
    responder(TdlgGuardarPrograma::Cancelar);
    QVERIFY(!e->abrir(ruta(QStringLiteral("otro.pla"))));
    sigueIgual();
    responder(TdlgGuardarPrograma::Cancelar);
    QVERIFY(!e->nuevo());
    sigueIgual();
    responder(TdlgGuardarPrograma::Cancelar);
    QVERIFY(!e->puedeCerrar());  // lo que pregunta la ventana principal al salir
    sigueIgual();
    // «Guardar» que no llega a guardar tampoco cierra: un fallo de escritura…
    e->escritura.inyectarFallo = [](TEscrituraSegura::TPaso p) { return p == TEscrituraSegura::pasoRenombrar ? EACCES : 0; };
    responder(TdlgGuardarPrograma::Guardar);
    QVERIFY(!e->close());
    sigueIgual();
    QCOMPARE(dialogos->mensajes(), QStringList{QStringLiteral("No se pudo guardar el fichero")});
    e->escritura.inyectarFallo = nullptr;
    QCOMPARE(preguntas(), 5);
    // La pregunta nombra el programa.
    dialogos->alEjecutarModal = [](QDialog& d) {
      auto* dlg = qobject_cast<TdlgGuardarPrograma*>(&d);
      QVERIFY(dlg->labMensaje->text().contains(QStringLiteral("«p.pla»")));
      dlg->butCancelar->click();
    };
    dialogos->respuestasModal << RESULTADO_CANCELAR;
    QVERIFY(!e->close());
    sigueIgual();

    // … ni en un programa sin fichero cuyo «Guardar como…» se cancela.
    auto* sinNombre = new TfrmEditorCodigo(*dialogos);
    QPointer<TfrmEditorCodigo> guarda(sinNombre);
    sinNombre->show();
    QTextCursor(sinNombre->txtFuente->document()).insertText(QStringLiteral("0\n"));
    responder(TdlgGuardarPrograma::Guardar);
    dialogos->ficherosGuardar << QString();  // cancelado
    QVERIFY(!sinNombre->close());
    QCOMPARE(dialogos->apuntes.last().tipo, QStringLiteral("guardar"));
    QVERIFY(guarda);
    QVERIFY(sinNombre->modificado());
    sinNombre->txtFuente->document()->setModified(false);
    delete sinNombre;
  }

  void noGuardarYGuardarCierran() {
    poner(ruta(QStringLiteral("p.pla")), "0\n");
    poner(ruta(QStringLiteral("otro.pla")), "1\nADDI R1 R1 R1\n");
    QVERIFY(e->abrir(ruta(QStringLiteral("p.pla"))));
    escribir(QStringLiteral("0\n// cambio que se tira\n"));
    // «No guardar» al abrir otro: se abre sin tocar el fichero viejo.
    responder(TdlgGuardarPrograma::NoGuardar);
    QVERIFY(e->abrir(ruta(QStringLiteral("otro.pla"))));
    QCOMPARE(leer(ruta(QStringLiteral("p.pla"))), QByteArray("0\n"));
    QCOMPARE(e->texto(), QStringLiteral("1\nADDI R1 R1 R1\n"));
    QVERIFY(!e->modificado());
    // Sin cambios, ni nuevo ni cerrar preguntan.
    QVERIFY(e->nuevo());
    QCOMPARE(preguntas(), 1);
    QCOMPARE(e->ruta(), QString());
    // «Guardar» al cerrar: guarda y cierra.
    QVERIFY(e->abrir(ruta(QStringLiteral("p.pla"))));
    escribir(QStringLiteral("0\n// se guarda\n"));
    responder(TdlgGuardarPrograma::Guardar);
    QVERIFY(e->close());
    QCOMPARE(leer(ruta(QStringLiteral("p.pla"))), QByteArray("0\n// se guarda\n"));
    QTRY_VERIFY(e.isNull());  // se destruye al cerrarse
  }

  // Dentro de una ventana con sus propias órdenes en las mismas teclas (Ctrl+F
  // es allí «% Fallos Caché Datos», Ctrl+B «Bloques Básicos»), con el foco en
  // el texto mandan las del editor.
  void lasTeclasDelEditorGananConElFocoEnElTexto() {
    QMainWindow principal;
    auto* area = new QMdiArea(&principal);
    principal.setCentralWidget(area);
    int fallosCache = 0, bloques = 0;
    auto* actFallo = principal.addAction(QStringLiteral("% Fallos"));
    actFallo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    connect(actFallo, &QAction::triggered, [&] { ++fallosCache; });
    auto* actBB = principal.addAction(QStringLiteral("Bloques"));
    actBB->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_B));
    connect(actBB, &QAction::triggered, [&] { ++bloques; });
    e->setParent(nullptr);
    area->addSubWindow(e);
    principal.show();
    QVERIFY(QTest::qWaitForWindowActive(&principal));
    e->txtFuente->setFocus();
    QTRY_VERIFY(e->txtFuente->hasFocus());
    QTest::keyClick(e->txtFuente, Qt::Key_F, Qt::ControlModifier);
    QVERIFY(e->panBuscar->isVisible());
    QVERIFY(!e->panBuscar->txtReemplazar->isVisible());
    QTest::keyClick(e->panBuscar->txtBuscar, Qt::Key_Escape);
    QVERIFY(!e->panBuscar->isVisible());
    QTRY_VERIFY(e->txtFuente->hasFocus());
    QTest::keyClick(e->txtFuente, Qt::Key_H, Qt::ControlModifier);
    QVERIFY(e->panBuscar->txtReemplazar->isVisible());
    e->panBuscar->ocultar();
    QTest::keyClick(e->txtFuente, Qt::Key_B, Qt::ControlModifier);
    QVERIFY(e->panBuscar->isVisible());
    QCOMPARE(fallosCache, 0);
    QCOMPARE(bloques, 0);
  }

  // ---------------------------------------------------------------- buscar

  void buscarDaLaVueltaYReemplazarTodoSeDeshaceDeUnaVez() {
    escribir(QStringLiteral("ADDI R1 R1 R1\nADDF F1 F1 F1\naddi\n"));
    TBarraBuscar& b = *e->panBuscar;
    e->actBuscar->trigger();
    QVERIFY(b.isVisible());
    b.txtBuscar->setText(QStringLiteral("addi"));
    QVERIFY(b.buscar());
    QCOMPARE(e->txtFuente->textCursor().selectionStart(), 0);  // sin distinguir mayúsculas
    QVERIFY(b.buscar());
    QCOMPARE(e->txtFuente->textCursor().blockNumber(), 2);
    QVERIFY(b.buscar());  // da la vuelta
    QCOMPARE(e->txtFuente->textCursor().selectionStart(), 0);
    QVERIFY(b.buscar(true));  // hacia atrás, también con vuelta
    QCOMPARE(e->txtFuente->textCursor().blockNumber(), 2);
    b.chkMayusculas->setChecked(true);
    QVERIFY(b.buscar());
    QCOMPARE(e->txtFuente->textCursor().blockNumber(), 2);
    b.txtBuscar->setText(QStringLiteral("XYZ"));
    QVERIFY(!b.buscar());
    QCOMPARE(b.labAviso->text(), QStringLiteral("No se encuentra «XYZ»"));

    // Reemplazar uno: el seleccionado, y pasa al siguiente.
    b.chkMayusculas->setChecked(false);
    b.txtBuscar->setText(QStringLiteral("R1"));
    b.txtReemplazar->setText(QStringLiteral("R7"));
    e->txtFuente->moveCursor(QTextCursor::Start);
    QVERIFY(b.buscar());
    QVERIFY(b.reemplazar());
    QCOMPARE(documento()->firstBlock().text(), QStringLiteral("ADDI R7 R1 R1"));
    QCOMPARE(e->txtFuente->textCursor().selectedText(), QStringLiteral("R1"));
    // Todo, aunque lo puesto contenga lo buscado; un solo deshacer.
    b.txtBuscar->setText(QStringLiteral("F1"));
    b.txtReemplazar->setText(QStringLiteral("F1F1"));
    QCOMPARE(b.reemplazarTodo(), 3);
    QCOMPARE(documento()->findBlockByNumber(1).text(), QStringLiteral("ADDF F1F1 F1F1 F1F1"));
    QCOMPARE(b.labAviso->text(), QStringLiteral("3 reemplazos"));
    documento()->undo();
    QCOMPARE(documento()->findBlockByNumber(1).text(), QStringLiteral("ADDF F1 F1 F1"));
    QVERIFY(dialogos->apuntes.isEmpty());
  }

  void deshacerHastaLoGuardadoQuitaLosCambios() {
    poner(ruta(QStringLiteral("d.pla")), "0\n");
    QVERIFY(e->abrir(ruta(QStringLiteral("d.pla"))));
    QVERIFY(!e->actDeshacer->isEnabled());
    QSignalSpy cambios(e.data(), &TfrmEditorCodigo::modificacionCambiada);
    e->txtFuente->moveCursor(QTextCursor::End);
    e->txtFuente->setFocus();
    QTest::keyClicks(e->txtFuente, QStringLiteral("// x"));
    QVERIFY(e->modificado());
    QVERIFY(e->actDeshacer->isEnabled());
    while (e->actDeshacer->isEnabled()) e->actDeshacer->trigger();
    QVERIFY(!e->modificado());
    QVERIFY(!e->isWindowModified());
    QVERIFY(e->actRehacer->isEnabled());
    QCOMPARE(cambios.size(), 2);
    QTest::keyClick(e->txtFuente, Qt::Key_Y, Qt::ControlModifier);  // en cualquier plataforma
    QVERIFY(e->modificado());
    // Abrir no se puede deshacer.
    QVERIFY(e->guardar());
    QVERIFY(e->abrir(ruta(QStringLiteral("d.pla"))));
    QVERIFY(!e->actDeshacer->isEnabled());
  }

  void irALlevaElCursorALaLinea() {
    escribir(QStringLiteral("1\nADDI R1 R1 R1\n\n"));
    e->irA(2, 6);
    QCOMPARE(e->txtFuente->textCursor().blockNumber(), 1);
    QCOMPARE(e->txtFuente->textCursor().positionInBlock(), 5);
    QCOMPARE(e->labPosicion->text(), QStringLiteral("Línea 2, columna 6"));
    e->irA(99, 99);  // fuera del texto: no pasa nada
    QCOMPARE(e->txtFuente->textCursor().blockNumber(), 1);
  }

  // ---------------------------------------------------------------- ejemplos y ayuda

  void cadaEjemploTieneSuPista() {
    const QList<TEjemplo> ejemplos = TEjemplos::listar(QStringLiteral(ORVEX_DIR_EJEMPLOS));
    QVERIFY(ejemplos.size() >= 10);
    QStringList nombres;
    for (const TEjemplo& j : ejemplos) {
      nombres << j.nombre;
      // Una frase entera: es lo que se lee en el menú.
      QVERIFY2(j.pista.endsWith(QLatin1Char('.')) && !j.pista.startsWith(j.nombre), qPrintable(j.nombre));
    }
    QVERIFY(nombres.contains(QStringLiteral("desenrollado.bun")));
    QVERIFY(!nombres.contains(QStringLiteral("conflicto_memoria.vliw")));
    QCOMPARE(TEjemplos::pista(QStringLiteral(ORVEX_DIR_EJEMPLOS "/salto_aprendido.pla")),
             QStringLiteral("Un salto que el predictor de 2 bits aprende."));
    QCOMPARE(TEjemplos::pistaDe("5\n// tarde\n", QStringLiteral("x.pla")), QString());
    QCOMPARE(TEjemplos::pistaDe("//   Solo una frase\n", QStringLiteral("x.pla")), QStringLiteral("Solo una frase"));
    QCOMPARE(TEjemplos::pistaDe("// x.pla: Con dos puntos\n", QStringLiteral("x.pla")), QStringLiteral("Con dos puntos"));
  }

  void laAyudaTieneElTemaDelEditorEnlazadoDesdeElContenido() {
    TFicheroAyuda f;
    QString error;
    QVERIFY2(f.cargar(QStringLiteral(ORVEX_DIR_FUENTES "/Ayuda/ORVEX.HLP"), error), qPrintable(error));
    const TTemaAyuda* tema = f.tema(TfrmEditorCodigo::TEMA_AYUDA);
    QVERIFY(tema);
    QCOMPARE(tema->titulo, QStringLiteral("Editor de código"));
    QVERIFY(f.tema(0)->cuerpo.contains(QStringLiteral("href=\"tema:%1\"").arg(TfrmEditorCodigo::TEMA_AYUDA)));
    QCOMPARE(e->property("temaAyuda").toInt(), TfrmEditorCodigo::TEMA_AYUDA);
  }
};

QTEST_MAIN(PruebasEditorCodigo)
#include "PruebasEditorCodigo.moc"
