#pragma once
// Ventana principal: es dueña de las dos máquinas y del programa secuencial,
// convierte las órdenes del usuario en operaciones sobre las máquinas, avanza
// la que ejecuta un ciclo por tick, refresca las vistas abiertas y bloquea lo
// que no se puede usar durante una ejecución.

#include <QMainWindow>
#include <QPointer>
#include <cstdint>
#include <memory>

#include "Simulador/componentes/TfrmComponente.h"
#include "Simulador/dialogos/TfrmConfSuper.h"
#include "Simulador/dialogos/TfrmConfVLIW.h"
#include "Simulador/superescalar/TfrmExeSuper.h"
#include "Simulador/vliw/TfrmExeVLIW.h"
#include "Simulador/vliw/TfrmInstVLIW.h"

class QAction;
class QComboBox;
class QDockWidget;
class QLabel;
class QLineEdit;
class QMdiArea;
class QMenu;
class QTimer;
class QToolBar;
class TAboutBox;
class TdlgIntervalo;
class TCodigo;
class TMaquina;
class TMaquinaSuper;
class TMaquinaVLIW;
class TRejillaCodigo;
class TServicioDialogos;
class TSpinNumero;
class TdlgSaltoVLIW;
class TfrmAyuda;

// Filtro del diálogo de ficheros fuente, en la forma "Texto|*.ext|…" (el de
// programas VLIW, FILTRO_VLIW, está con el editor).
inline const char* const FILTRO_FUENTES = "Ficheros fuente|*.pla|Ficheros fuente VLIW (con bundles)|*.bun";

class TfrmPrincipal : public QMainWindow {
  Q_OBJECT
public:
  static constexpr int SUPERESCALAR = 0;
  static constexpr int VLIW = 1;

  // Todos los diálogos modales pasan por «dialogos», que debe vivir más que la ventana.
  explicit TfrmPrincipal(TServicioDialogos& dialogos, QWidget* padre = nullptr);
  ~TfrmPrincipal() override;

  // Tamaño normal centrado en la pantalla, y maximizada.
  void mostrar();

  // ---- Estado del control de la simulación ----
  uint8_t maquinaActual = SUPERESCALAR;
  std::unique_ptr<TMaquinaVLIW> maquinaVLIW;
  std::unique_ptr<TMaquinaSuper> maquinaSuper;
  std::unique_ptr<TCodigo> codigo;  // ausente hasta la primera apertura correcta
  TServicioDialogos& dialogos;

  // Ranuras de las ventanas hijas: vacías mientras la ventana no existe.
  QPointer<TfrmExeSuper> frmExeSuper;
  QPointer<TfrmExeVLIW> frmExeVLIW;
  QPointer<TfrmInstVLIW> frmInstVLIW;
  QPointer<TfrmConfSuper> frmConfSuper;
  QPointer<TfrmConfVLIW> frmConfVLIW;
  QPointer<TfrmComponente> frmCompGPR;
  QPointer<TfrmComponente> frmCompFPR;
  QPointer<TfrmComponente> frmCompMem;

  // ---- Operaciones ----
  void seleccionarMaquina(int m);
  // Bloquea (true) o desbloquea lo que no se puede tocar mientras ejecuta la
  // máquina m. Lo compartido ("&Abrir...", la selección de máquina) sigue
  // bloqueado mientras ejecute cualquiera de las dos.
  void bloquearControles(int m, bool enMarcha);
  void iniciarSuper();
  void iniciarVLIW();
  void pasoSuper();
  void pasoVLIW();
  void pausaSuper();
  void pausaVLIW();
  void pararSuper();
  void pararVLIW();
  // Carga un programa fuente; false (con su mensaje ya mostrado) si no se pudo.
  bool abrirPrograma(const QString& ruta);
  // Muestra la ventana de componentes de ese tipo, creándola si no existe.
  void mostrarComponente(int tipo);
  // El editor VLIW: refrescar si existe, crearlo si no; después se muestra.
  // Precondición: hay programa secuencial (el submenú lo garantiza). Un
  // programa que usa unidades que la configuración no tiene no se muestra: se
  // avisa, el editor queda cerrado y el programa se conserva (nullptr).
  TfrmInstVLIW* abrirEditorVLIW();
  // Cierra el editor VLIW (p. ej. cuando cambia la configuración de sus columnas).
  void cerrarEditorVLIW();
  // Abre la ayuda en el tema dado; false si no hay fichero o no existe el tema.
  bool mostrarTemaAyuda(int numero);
  // Tema de la ventana o control que está delante.
  int temaAyudaActivo() const;

  // El programa VLIW en memoria no es el último guardado o cargado (uno vacío
  // no cuenta: no hay nada que perder).
  bool programaVLIWSinGuardar() const;
  // Antes de sustituir el programa VLIW o de salir: pregunta por las ediciones
  // sin aceptar del editor y por un programa sin guardar. false si el usuario
  // ha cancelado el guardado (la orden no debe seguir).
  bool resolverCambiosVLIW();
  // Pide un fichero y guarda el programa VLIW; false si se cancela o falla.
  bool guardarProgramaVLIW();

  int intervalo() const;  // milisegundos entre ticks según la velocidad
  static int intervaloDeVelocidad(int velocidad) { return 1100 - 100 * velocidad; }

  // Opciones que leen otras ventanas.
  bool verBloquesBasicos() const;
  bool chequearCodigoVLIW() const;
  bool resetearAlIniciar() const;

  TMaquina& maquina(int m) const;
  QTimer* timer(int m) const;

  // ---- Controles ----
  QMdiArea* mdiArea;
  QToolBar* tobEstandar;
  QToolBar* tobEjecucion;
  QDockWidget* panCodigo;
  QLabel* panTitulo;
  TRejillaCodigo* grdInstrucciones;
  QTimer* timSimulSuper;
  QTimer* timSimulVLIW;
  TSpinNumero* spiVelocidad;
  QLineEdit* txtCiclo;
  QComboBox* cboComponentes;
  QComboBox* cboMaquina;
  TdlgSaltoVLIW* dlgSaltoVLIW;  // el del editor VLIW, creado oculto al arrancar
  TdlgIntervalo* dlgIntervalo;  // el diálogo de intervalos de todas las vistas de componentes
  TAboutBox* AboutBox;
  QPointer<TfrmAyuda> frmAyuda;

  QMenu* mnuArchivo;
  QMenu* mnuVer;
  QMenu* mnuBarras;
  QMenu* mnuConfigurar;
  QMenu* mnuInstVLIW;
  QMenu* mnuOpciones;
  QMenu* mnuEjecutar;
  QMenu* mnuSelMaquina;
  QMenu* mnuComponentes;
  QMenu* mnuVentana;
  QMenu* mnuAyuda;

  QAction* actAbrir;
  QAction* actVerBB;
  QAction* actVerCodigo;
  QAction* actConfSuper;
  QAction* actConfVLIW;
  QAction* actNuevoVLIW;
  QAction* actCargarVLIW;
  QAction* actFalloCache;
  QAction* actIni;
  QAction* actPaso;
  QAction* actPausa;
  QAction* actParar;
  QAction* actSelSuper;
  QAction* actSelVLIW;
  QAction* actCascada;
  QAction* actMosaico;
  QAction* actContenidoAyuda;
  QAction* actBuscarAyuda;
  QAction* actComoAyuda;
  QAction* actTemaAyuda;  // Mayúsculas+F1: tema de lo que está delante
  QAction* opcSalir;
  QAction* opcionBarEstandar;
  QAction* opcionBarEjecucion;
  QAction* opcReset;
  QAction* opcChkCodigoVLIW;
  QAction* mnuCompMem;
  QAction* mnuCompGPR;
  QAction* mnuCompFPR;
  QAction* opcRestaurarTodo;
  QAction* opcAcerca;

public slots:
  void actAbrirExecute();
  void actIniExecute();
  void actPasoExecute();
  void actPausaExecute();
  void actPararExecute();
  void actSelSuperExecute();
  void actSelVLIWExecute();
  void cboMaquinaChange(int indice);
  void cboComponentesChange(int indice);
  void timSimulSuperTimer();
  void timSimulVLIWTimer();
  void actFalloCacheExecute();
  void actNuevoVLIWExecute();
  void actCargarVLIWExecute();
  void mnuCompGPRClick();
  void mnuCompFPRClick();
  void mnuCompMemClick();
  void actConfSuperExecute();
  void actConfVLIWExecute();
  void actVerBBExecute();
  void actVerCodigoExecute();
  void opcionBarEstandarClick();
  void opcionBarEjecucionClick();
  void actCascadaExecute();
  void actMosaicoExecute();
  void WindowArrange();
  void actContenidoAyudaExecute();
  void actBuscarAyudaExecute();
  void actComoAyudaExecute();
  void actTemaAyudaExecute();
  void HelpAbout();
  void FileExit();
  void grdInstruccionesDblClick(int instruccion);

signals:
  // Tras refrescar cada vista en un ciclo, en el orden en que se refrescan.
  void vistaActualizada(QWidget* vista);

protected:
  bool eventFilter(QObject* objeto, QEvent* evento) override;
  // Salir pregunta antes por los cambios del programa VLIW.
  void closeEvent(QCloseEvent* evento) override;
  QMenu* createPopupMenu() override { return nullptr; }

private:
  void crearAcciones();
  void crearMenus();
  void crearBarras();
  void crearPanelCodigo();
  void actualizarOrdenes();
  void asignarTemasAyuda();

  bool guardasVLIW();
  void iniciar(int m);
  void paso(int m);
  void pausa(int m);
  void parar(int m);
  void tick(int m, const char* funcion);
  // Reacción común de tick y paso a un final de ejecución o a un error.
  void terminarEjecucion(int m, const QString& mensaje);
  void refrescarVistas(int m);
  bool hayVentanaEjecucion(int m) const;
  void crearVentanaEjecucion(int m);
  void cerrarVentanaEjecucion(int m);
  QPointer<TfrmComponente>& ranuraComponente(int tipo);
  TfrmAyuda* ayuda();
  void anadirVentana(QMdiSubWindow* ventana);
  void centrarEnArea(QMdiSubWindow* ventana);

  // Registro de cambios del programa VLIW: cada «Aceptar» del editor es una
  // revisión nueva; guardar o cargar apunta la revisión que está en un fichero.
  uint64_t revisionVLIW = 0;
  uint64_t revisionVLIWGuardada = 0;

  // Cierra la ventana de la ranura y la destruye ya (si acepta cerrarse):
  // ninguna ventana queda viva apuntando a algo que se va a destruir.
  template <typename T>
  void cerrar(QPointer<T>& ranura);
};
