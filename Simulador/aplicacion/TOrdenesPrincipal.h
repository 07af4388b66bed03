#pragma once
// Las órdenes de la ventana principal: sus acciones (cada una compartida por
// su menú y su botón), los menús, las dos barras con sus controles y la regla
// de qué está disponible. Es la descripción de la ventana; lo que hace cada
// orden lo decide la ventana, que conecta las acciones con sus manejadores.

#include <QList>
#include <QObject>
#include <QPair>
#include <QString>
#include <QStringList>
#include <cstdint>

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QMainWindow;
class QProgressBar;
class QMdiSubWindow;
class QMenu;
class QToolBar;
class TSpinNumero;
struct TEjemplo;

class TOrdenesPrincipal : public QObject {
  Q_OBJECT
public:
  // Crea todo sobre «ventana», que es la dueña de las acciones y de las barras.
  explicit TOrdenesPrincipal(QMainWindow& ventana);

  // Único sitio que decide qué órdenes están disponibles. Lo compartido
  // ("&Abrir...", "Ensamblar y Cargar", "Ejemplos", la selección de máquina)
  // sigue bloqueado mientras ejecute cualquiera de las dos máquinas.
  void actualizar(bool hayPrograma, bool superEnMarcha, bool vliwEnMarcha, bool hayEditor);
  // Una entrada de "Ejemplos" por ejemplo, con su ruta en data() y su pista;
  // sin ninguno, una entrada deshabilitada que lo dice.
  void ponerEjemplos(const QList<TEjemplo>& ejemplos);
  // Con un programa: la barra de ejecución a la vista y el código, con sus entradas.
  void habilitarVistasPrograma();
  // Todos los menús y submenús.
  QList<QMenu*> menus() const;
  // Las ventanas del área de trabajo al final de «Ve&ntana», con su nombre y
  // marcada la activa; elegir una emite ventanaElegida. Se rehace cada vez que
  // se abre el menú.
  void listarVentanas(const QList<QPair<QMdiSubWindow*, QString>>& ventanas, const QMdiSubWindow* activa);
  // Las entradas de «Ficheros recientes», en ese orden; elegir una emite recienteElegido.
  void listarRecientes(const QStringList& rutas);
  // A la derecha de la barra de estado (visible aunque se oculte la barra
  // «Ejecución»): la máquina seleccionada, su ciclo y cómo está su ejecución.
  void mostrarEstado(bool vliw, int32_t ciclo, const QString& estado);

signals:
  void ventanaElegida(QMdiSubWindow* ventana);
  void recienteElegido(const QString& ruta);

public:

  QToolBar* tobEstandar;
  QToolBar* tobEjecucion;
  QLineEdit* txtCiclo;
  QLabel* labEstado;
  // Progreso de «Ejecutar hasta el final» y de «Ir al ciclo…» hacia delante,
  // en la barra de estado; oculta el resto del tiempo.
  QProgressBar* barProgreso;
  TSpinNumero* spiVelocidad;
  QComboBox* cboComponentes;
  QComboBox* cboMaquina;

  QMenu* mnuArchivo;
  QMenu* mnuEjemplos;
  QMenu* mnuRecientes;
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
  QAction* actNuevoPrograma;
  QAction* actEditarPrograma;
  QAction* actEnsamblar;
  QAction* actVerBB;
  QAction* actVerCodigo;
  QAction* actVerDiagrama;
  QAction* actConfSuper;
  QAction* actConfVLIW;
  QAction* actNuevoVLIW;
  QAction* actCargarVLIW;
  QAction* actPlanificarVLIW;
  QAction* actCompararVLIW;
  QAction* actFalloCache;
  QAction* actIni;
  QAction* actPaso;
  QAction* actPausa;
  QAction* actParar;
  QAction* actRetroceder;
  QAction* actIrACiclo;
  QAction* actHastaElFinal;
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
  QAction* opcLimiteCiclos;
  QAction* mnuCompMem;
  QAction* mnuCompGPR;
  QAction* mnuCompFPR;
  QAction* opcRestaurarTodo;
  QAction* opcAcerca;
  QAction* actVerEstadisticas;
  QAction* actComprobar;
  QAction* actComparar;
  QAction* actExplorar;

protected:
  // Los botones de las barras dan su pista en la barra de estado, no en un globo.
  bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
  void crearAcciones(QMainWindow& ventana);
  void crearMenus(QMainWindow& ventana);
  void crearBarras(QMainWindow& ventana);

  QList<QAction*> entradasVentanas;
  bool hayRecientes = false;
};
