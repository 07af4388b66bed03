#pragma once
// Las ventanas hijas del área de trabajo: una ranura por ventana, vacía
// mientras la ventana no existe (el usuario puede cerrar cualquiera), y lo que
// se hace con ellas: crearlas sobre su máquina, cerrarlas, refrescarlas tras
// cada ciclo y colocarlas. Cada ventana existe una vez como mucho. Las vistas
// de una ejecución siguen las señales de los controladores de las máquinas.

#include <QList>
#include <QMdiArea>
#include <QObject>
#include <QPair>
#include <QPointer>
#include <QString>

#include "Simulador/control/TTipoMaquina.h"

class QMdiSubWindow;
class QWidget;
class TCodigo;
class TControladorMaquina;
class TDocumentoVLIW;
class TServicioDialogos;
class TdlgIntervalo;
class TdlgSaltoVLIW;
class TfrmComponente;
class TfrmEditorCodigo;
class TfrmConfSuper;
class TfrmConfVLIW;
class TfrmExeSuper;
class TfrmExeVLIW;
class TfrmInstVLIW;

class TGestorVentanas : public QObject {
  Q_OBJECT
public:
  // Todo lo que se le da vive más que el gestor. Crea ocultos, con «ventana»
  // por padre, el diálogo de saltos del editor VLIW y el de intervalos que
  // comparten las vistas de componentes.
  TGestorVentanas(QMdiArea& area, TControladorMaquina& superescalar, TControladorMaquina& vliw,
                  TDocumentoVLIW& documento, TServicioDialogos& dialogos, QWidget& ventana);

  // ---- Ranuras ----
  TfrmExeSuper* frmExeSuper() const;
  TfrmExeVLIW* frmExeVLIW() const;
  TfrmInstVLIW* frmInstVLIW() const;
  TfrmConfSuper* frmConfSuper() const;
  TfrmConfVLIW* frmConfVLIW() const;
  TfrmComponente* frmCompGPR() const;
  TfrmComponente* frmCompFPR() const;
  TfrmComponente* frmCompMem() const;
  TfrmEditorCodigo* frmEditorCodigo() const;
  TdlgSaltoVLIW& dlgSaltoVLIW() const { return *dlgSalto; }
  TdlgIntervalo& dlgIntervalo() const { return *dlgIntervalos; }

  // ---- Ejecución ----
  // Cada ejecución empieza con su ventana nueva: la que hubiera se destruye y,
  // si «crear» o si la había, se crea otra sobre la máquina.
  void renovarVentanaEjecucion(TTipoMaquina m, bool crear);
  void cerrarVentanaEjecucion(TTipoMaquina m);
  // Tras un ciclo de la máquina m: su ventana de ejecución (creada otra vez si
  // el usuario la cerró), los componentes abiertos (GPR, FPR, memoria) y, en la
  // VLIW, la instrucción larga emitida en el editor.
  void refrescarVistas(TTipoMaquina m);

  // ---- Máquina seleccionada ----
  // Las ventanas siguen a la máquina elegida: se cierra la de ejecución de la
  // otra y los componentes abiertos se crean de nuevo sobre ella (memoria,
  // registros enteros, de punto flotante).
  void seleccionarMaquina(TTipoMaquina m);
  // Componente del tipo de TfrmComponente, sobre la máquina seleccionada.
  void mostrarComponente(int tipo);

  // ---- Configuración y editor ----
  void mostrarConfiguracion(TTipoMaquina m);
  void cerrarConfiguracion(TTipoMaquina m);
  // Refresca el editor o lo crea sobre el programa secuencial, y lo muestra. Un
  // programa que usa unidades no configuradas no se enseña: se avisa, el editor
  // queda cerrado y el programa se conserva (nullptr).
  TfrmInstVLIW* abrirEditorVLIW(const TCodigo& secuencial);
  void cerrarEditorVLIW();
  void bloquearEditorVLIW(bool enEjecucion);
  // «Bloques Básicos» también colorea el editor, abierto o por abrir.
  void setBloquesBasicos(bool activos);

  // ---- Editor de código ----
  // Lo crea si no existe (vacío) y lo trae delante.
  TfrmEditorCodigo* mostrarEditorCodigo();
  // Antes de salir: los cambios sin guardar del editor. false si se canceló.
  bool puedeCerrarEditorCodigo();

  // ---- Disposición ----
  // Ninguna ventana queda por debajo de su tamaño mínimo: lo que no cabe se
  // alcanza desplazando el área.
  void cascada();
  // Mosaico horizontal: las ventanas no minimizadas, una encima de otra, a lo ancho.
  void mosaico();
  // Los iconos de las ventanas minimizadas, en fila a lo largo del borde inferior.
  void restaurarTodo();
  // Todas las ventanas del área, en el orden en que se crearon, con el nombre
  // que las distingue (las de componentes dicen cuál enseñan).
  QList<QPair<QMdiSubWindow*, QString>> ventanasConNombre() const;
  // La trae delante, también si estaba minimizada o tapada por una maximizada.
  void activar(QMdiSubWindow* ventana);

  // Destruye todas las ventanas hijas: leen las máquinas y el programa, así
  // que la ventana principal las destruye antes que ellos.
  void destruirTodas();

signals:
  // Tras refrescar cada vista en un ciclo, en el orden en que se refrescan.
  void vistaActualizada(QWidget* vista);
  // El editor de código se ha creado o destruido (hay órdenes que dependen de él).
  void editorCodigoCambiado();

private:
  TControladorMaquina& controlador(TTipoMaquina m) const;
  QPointer<TfrmComponente>& ranuraComponente(int tipo);
  TfrmComponente* nuevoComponente(int tipo);
  void anadir(QMdiSubWindow* ventana);
  // Las visibles y no minimizadas, en ese orden.
  QList<QMdiSubWindow*> ventanasAOrdenar(QMdiArea::WindowOrder orden) const;
  void centrar(QMdiSubWindow* ventana);
  void mostrarDelante(QMdiSubWindow* ventana);

  // Cierra la ventana de la ranura y la destruye ya (si acepta cerrarse):
  // ninguna ventana queda viva apuntando a algo que se va a destruir.
  template <typename T>
  static void cerrar(QPointer<T>& ranura);

  QMdiArea& area;
  TControladorMaquina& ctlSuper;
  TControladorMaquina& ctlVLIW;
  TDocumentoVLIW& documento;
  TServicioDialogos& dialogos;
  TdlgSaltoVLIW* dlgSalto;
  TdlgIntervalo* dlgIntervalos;
  TTipoMaquina seleccionada = TTipoMaquina::superescalar;
  bool bloquesBasicos = false;

  QPointer<TfrmExeSuper> exeSuper;
  QPointer<TfrmExeVLIW> exeVLIW;
  QPointer<TfrmInstVLIW> instVLIW;
  QPointer<TfrmConfSuper> confSuper;
  QPointer<TfrmConfVLIW> confVLIW;
  QPointer<TfrmComponente> compGPR;
  QPointer<TfrmComponente> compFPR;
  QPointer<TfrmComponente> compMem;
  QPointer<TfrmEditorCodigo> editorCodigo;
};
