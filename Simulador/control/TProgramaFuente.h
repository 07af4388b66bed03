#pragma once
// El programa fuente abierto y de dónde salió (su fichero, o el texto del
// editor de código que se cargó), con todos los caminos por los que llega uno
// nuevo: «&Abrir...», los ficheros recientes, los ejemplos, el editor de código
// y lo que se pide desde fuera. Todos acaban en instalar(): la ventana
// principal solo enseña el programa que le anuncia «instalado».

#include <QObject>
#include <QString>
#include <functional>
#include <memory>

class QMainWindow;
class TCodigo;
class TDocumentoVLIW;
class TFicherosRecientes;
class TOrdenesPrincipal;
class TGestorVentanas;
class TServicioDialogos;
class TfrmEditorCodigo;

class TProgramaFuente : public QObject {
  Q_OBJECT
public:
  TProgramaFuente(TDocumentoVLIW& documento, TGestorVentanas& gestor, TServicioDialogos& dialogos,
                  QMainWindow& ventana);
  ~TProgramaFuente() override;

  // El programa, o nullptr hasta la primera carga correcta.
  TCodigo* codigo() const { return programa.get(); }
  TFicherosRecientes& recientes() const { return *listaRecientes; }
  // Mientras devuelva true (alguna máquina ejecuta) no llega ningún programa.
  void setOcupado(std::function<bool()> f) { ocupado = std::move(f); }

  // Las órdenes que traen un programa («&Abrir...», recientes, ejemplos, las
  // del editor) llegan aquí, y la lista de recientes se enseña en su menú.
  void conectar(TOrdenesPrincipal& ordenes);

  // Carga un fichero fuente; false (con su mensaje ya mostrado) si no se pudo.
  bool abrir(const QString& ruta);
  // «&Abrir...»: el diálogo empieza en la carpeta del programa abierto.
  void abrirConDialogo();
  // Una entrada de «Ficheros recientes»; si el fichero ya no existe, se avisa
  // y se quita de la lista.
  void abrirReciente(const QString& ruta);
  // Un ejemplo, con su programa VLIW si lo tiene al lado (preguntando antes
  // por el programa VLIW que hubiera sin guardar).
  void abrirEjemplo(const QString& ruta);
  // La línea de órdenes o un gestor de ficheros: el fuente como con
  // «&Abrir...» y el VLIW como con «Cargar Programa VLIW...». Un VLIW sin su
  // fuente no se puede cargar: se dice.
  void abrirDesdeFuera(const QString& rutaFuente, const QString& rutaVLIW);

  // Las órdenes del editor de código.
  void nuevoEnEditor();
  void editar();
  void ensamblar();

signals:
  // Ya es el programa; el anterior vive hasta que vuelven quienes reciben la
  // señal, que deben dejar de mirarlo. «deEditor», si salió del editor.
  void instalado(TCodigo* programa, const QString& titulo, TfrmEditorCodigo* deEditor);
  // El editor de código (que puede ser nuevo) enseña ahora el programa cargado.
  void editorVinculado(TfrmEditorCodigo* editor);
  void tituloCambiado(const QString& titulo);
  // Se ha cargado un programa VLIW junto al fuente y hay que enseñarlo.
  void vliwCargado();

private:
  void instalar(std::unique_ptr<TCodigo> nuevo, const QString& ruta, TfrmEditorCodigo* deEditor = nullptr);
  bool estaOcupado() const { return ocupado && ocupado(); }
  void avisar(const QString& texto);

  TDocumentoVLIW& documento;
  TGestorVentanas& gestor;
  TServicioDialogos& dialogos;
  QMainWindow& ventana;
  TFicherosRecientes* listaRecientes;
  std::function<bool()> ocupado;
  std::unique_ptr<TCodigo> programa;
  // De dónde salió: su fichero (vacío si era un texto del editor sin fichero)
  // y, si vino del editor, el texto que se cargó.
  QString ruta;
  QString fuente;
};
