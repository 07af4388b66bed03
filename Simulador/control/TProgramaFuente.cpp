#include "Simulador/control/TProgramaFuente.h"

#include <QFile>
#include <QAction>
#include <QFileInfo>
#include <QMenu>
#include <QMainWindow>
#include <QStatusBar>

#include "Simulador/Main.h"
#include "Simulador/aplicacion/TFicherosRecientes.h"
#include "Simulador/aplicacion/TGestorVentanas.h"
#include "Simulador/aplicacion/TOrdenesPrincipal.h"
#include "Simulador/aplicacion/TServicioDialogos.h"
#include "Simulador/control/TDocumentoVLIW.h"
#include "Simulador/editor/TEjemplos.h"
#include "Simulador/editor/TfrmEditorCodigo.h"
#include "loader/TCodigo.h"

TProgramaFuente::TProgramaFuente(TDocumentoVLIW& d, TGestorVentanas& g, TServicioDialogos& s, QMainWindow& v)
    : QObject(&v), documento(d), gestor(g), dialogos(s), ventana(v), listaRecientes(new TFicherosRecientes(this)) {
  connect(&gestor, &TGestorVentanas::editorCodigoCambiado, this, [this] {
    // «Guardar como» del texto del programa cargado: el programa ya tiene fichero.
    if (TfrmEditorCodigo* e = gestor.frmEditorCodigo())
      connect(e, &TfrmEditorCodigo::rutaCambiada, this, [this, e](const QString& nueva) {
        if (!e->programaVinculado() || nueva.isEmpty()) return;
        ruta = nueva;
        emit tituloCambiado(e->nombre());
      });
  });
}

TProgramaFuente::~TProgramaFuente() = default;

void TProgramaFuente::conectar(TOrdenesPrincipal& o) {
  connect(o.actAbrir, &QAction::triggered, this, &TProgramaFuente::abrirConDialogo);
  connect(o.actNuevoPrograma, &QAction::triggered, this, &TProgramaFuente::nuevoEnEditor);
  connect(o.actEditarPrograma, &QAction::triggered, this, &TProgramaFuente::editar);
  connect(o.actEnsamblar, &QAction::triggered, this, &TProgramaFuente::ensamblar);
  connect(&o, &TOrdenesPrincipal::recienteElegido, this, &TProgramaFuente::abrirReciente);
  connect(o.mnuEjemplos, &QMenu::triggered, this, [this](QAction* e) { abrirEjemplo(e->data().toString()); });
  // La entrada del menú sigue a «&Abrir...» (bloqueada durante una ejecución).
  connect(listaRecientes, &TFicherosRecientes::cambiada, &o, [this, &o] { o.listarRecientes(listaRecientes->lista()); });
  o.listarRecientes(listaRecientes->lista());
  const QString carpetaEjemplos = TEjemplos::buscarCarpeta();
  o.ponerEjemplos(carpetaEjemplos.isEmpty() ? QList<TEjemplo>() : TEjemplos::listar(carpetaEjemplos));
}

void TProgramaFuente::avisar(const QString& texto) { ventana.statusBar()->showMessage(texto); }

bool TProgramaFuente::abrir(const QString& fichero) {
  auto nuevo = std::make_unique<TCodigo>();
  if (nuevo->cargar(QFile::encodeName(fichero).toStdString()) != CARGA_OK) {
    // El mismo texto que da orvex-run.
    dialogos.mensaje(&ventana, QString::fromUtf8(MENSAJE_CODIGO_ERRONEO), QString::fromStdString(nuevo->detalleError));
    return false;
  }
  instalar(std::move(nuevo), fichero);
  return true;
}

void TProgramaFuente::instalar(std::unique_ptr<TCodigo> nuevo, const QString& fichero, TfrmEditorCodigo* deEditor) {
  // El editor VLIW se refiere al programa que se va a sustituir: se cierra antes.
  gestor.cerrarEditorVLIW();
  std::unique_ptr<TCodigo> anterior = std::move(programa);
  programa = std::move(nuevo);
  ruta = fichero;
  fuente = deEditor ? deEditor->texto() : QString();
  if (!ruta.isEmpty()) {
    documento.setCarpetaPrograma(QFileInfo(ruta).absolutePath());
    listaRecientes->anadir(ruta);
  }
  // El editor enmarca lo que está en vuelo solo si su texto es este programa.
  if (deEditor) deEditor->vincularPrograma(*programa);
  else if (TfrmEditorCodigo* e = gestor.frmEditorCodigo()) e->vincularSiEs(*programa);
  emit instalado(programa.get(), ruta.isEmpty() && deEditor ? deEditor->nombre() : ruta, deEditor);
}

void TProgramaFuente::abrirConDialogo() {
  if (estaOcupado()) return;
  const QString carpeta = ruta.isEmpty() ? QString() : QFileInfo(ruta).absolutePath();
  const QString elegido = dialogos.abrirFichero(&ventana, QString::fromUtf8(FILTRO_FUENTES), carpeta);
  if (!elegido.isEmpty()) abrir(elegido);
}

void TProgramaFuente::abrirReciente(const QString& fichero) {
  if (estaOcupado()) return;  // durante una ejecución, como «&Abrir...»
  if (!QFileInfo(fichero).isFile()) {
    dialogos.mensaje(&ventana, QStringLiteral("El fichero ya no existe: se quita de los ficheros recientes"), fichero);
    listaRecientes->quitar(fichero);
    return;
  }
  abrir(fichero);
}

void TProgramaFuente::abrirEjemplo(const QString& fichero) {
  if (fichero.isEmpty() || estaOcupado()) return;
  const QString vliw = TEjemplos::programaVLIW(fichero);
  // Su programa VLIW sustituye al que hay: se pregunta antes de cambiar nada.
  if (!vliw.isEmpty() && !documento.puedeDescartarse()) return;
  if (!abrir(fichero) || vliw.isEmpty()) return;
  if (documento.cargarFichero(*programa, vliw))
    avisar(QStringLiteral("%1 cargado con su programa VLIW %2 (F3 selecciona la máquina VLIW)")
               .arg(QFileInfo(fichero).fileName(), QFileInfo(vliw).fileName()));
}

void TProgramaFuente::abrirDesdeFuera(const QString& rutaFuente, const QString& rutaVLIW) {
  if (rutaFuente.isEmpty()) {
    if (!rutaVLIW.isEmpty())
      dialogos.mensaje(&ventana,
                       QStringLiteral("Un programa VLIW se carga sobre su programa fuente: ábralo antes y use "
                                      "«Cargar Programa VLIW...»"),
                       rutaVLIW);
    return;
  }
  if (estaOcupado() || !abrir(rutaFuente) || rutaVLIW.isEmpty()) return;
  if (documento.cargar(*programa, rutaVLIW)) emit vliwCargado();
}

void TProgramaFuente::nuevoEnEditor() {
  TfrmEditorCodigo* e = gestor.frmEditorCodigo();
  // Uno recién creado ya está vacío; en el que hay se pregunta por sus cambios.
  if (e) e->nuevo();
  gestor.mostrarEditorCodigo();
}

void TProgramaFuente::editar() {
  if (!programa) return;
  TfrmEditorCodigo* e = gestor.frmEditorCodigo();
  const bool yaLoTiene = e && e->programaVinculado();
  e = gestor.mostrarEditorCodigo();
  if (yaLoTiene) return;
  // Un programa que salió de un texto sin fichero vuelve como ese texto.
  if (!(ruta.isEmpty() ? e->nuevo(fuente) : e->abrir(ruta))) return;
  if (!e->vincularSiEs(*programa))
    avisar(QStringLiteral("El fichero ha cambiado desde que se cargó el programa: el editor no marcará su ejecución"));
  emit editorVinculado(e);
}

void TProgramaFuente::ensamblar() {
  TfrmEditorCodigo* e = gestor.frmEditorCodigo();
  if (!e || estaOcupado()) return;
  auto nuevo = std::make_unique<TCodigo>();
  // Con errores no se carga nada: el error queda marcado en el editor.
  if (e->cargarEn(*nuevo) != CARGA_OK) {
    avisar(QStringLiteral("No se ha cargado el programa: ") + e->detalleError());
    return;
  }
  const QString resumen = QStringLiteral("Programa cargado desde el editor: %1, %2 instrucciones")
                              .arg(e->nombre())
                              .arg(nuevo->numInstrucciones);
  instalar(std::move(nuevo), e->ruta(), e);
  avisar(resumen);
}
