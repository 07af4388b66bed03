#pragma once
// Ventana principal: es dueña de las dos máquinas y del programa secuencial,
// construye menús, barras y el panel del código, y conecta cada orden con
// quien la hace: el controlador de cada máquina (la ejecución), el documento
// VLIW (su programa), el gestor de ventanas (las hijas) y la ayuda. Solo
// muestra: lo que pasa en una ejecución le llega por las señales de los
// controladores. Un programa llega abriendo su fichero, desde el editor de
// código o desde un ejemplo, siempre por el mismo camino.

#include <QMainWindow>
#include <QString>
#include <array>
#include <cstdint>
#include <memory>

#include "Simulador/control/TTipoMaquina.h"

class QLabel;
class QMdiArea;
class TAboutBox;
class TAyudaContexto;
class TCodigo;
class TControladorMaquina;
class TDocumentoVLIW;
class TEnlaceDiagramas;
class TProgramaFuente;
class TGestorVentanas;
class TIndicadorEstado;
class TMarcadorEnVuelo;
class TMaquinaSuper;
class TMaquinaVLIW;
class TOrdenesPrincipal;
class TPanelCodigo;
class TRegistradorDiagrama;
class TServicioDialogos;
class TVentanasEstadisticas;

// Filtro del diálogo de ficheros fuente, en la forma "Texto|*.ext|…" (el de
// programas VLIW, FILTRO_VLIW, está con el editor).
inline const char* const FILTRO_FUENTES = "Ficheros fuente|*.pla|Ficheros fuente VLIW (con bundles)|*.bun";

class TfrmPrincipal : public QMainWindow {
  Q_OBJECT
public:
  // Todos los diálogos modales pasan por «dialogos», que debe vivir más que la ventana.
  explicit TfrmPrincipal(TServicioDialogos& dialogos, QWidget* padre = nullptr);
  ~TfrmPrincipal() override;

  // Tamaño normal centrado en la pantalla, y maximizada.
  void mostrar();

  TControladorMaquina& controlador(TTipoMaquina m) const;
  TDocumentoVLIW& documentoVLIW() const { return *documento; }
  TGestorVentanas& ventanas() const { return *gestor; }
  TVentanasEstadisticas& estadisticas() const { return *ventanasEstadisticas; }
  TTipoMaquina maquinaActual() const { return seleccionada; }
  // Lo que ve el diagrama de cada máquina: registra desde el arranque.
  const TRegistradorDiagrama& registradorDiagrama(TTipoMaquina m) const;
  // El programa secuencial abierto, o nullptr hasta la primera apertura correcta.
  TCodigo* programa() const;

  // Lo que se pide desde fuera (la línea de órdenes, un doble clic en un
  // gestor de ficheros): el programa fuente como con «&Abrir...» y, si se
  // abrió, el programa VLIW como con «Cargar Programa VLIW...». Un programa
  // VLIW sin su fuente no se puede cargar: se dice.
  void abrirDesdeFuera(const QString& programa, const QString& programaVLIW);

  // La máquina con la que trabajan las órdenes de ejecución y los componentes.
  // Elegir la que ya está no hace nada; no resetea ni toca los temporizadores.
  void seleccionarMaquina(TTipoMaquina m);

protected:
  // Salir pregunta antes por los cambios del programa VLIW.
  void closeEvent(QCloseEvent* evento) override;
  QMenu* createPopupMenu() override { return nullptr; }

private slots:
  void actIniExecute();
  void actPasoExecute();
  void actPausaExecute();
  void actPararExecute();
  void actRetrocederExecute();
  void actIrACicloExecute();
  void actHastaElFinalExecute();
  void opcLimiteCiclosExecute();
  void actSelSuperExecute();
  void actSelVLIWExecute();
  void cboMaquinaChange(int indice);
  void cboComponentesChange(int indice);
  void timSimulSuperTimer();
  void timSimulVLIWTimer();
  void spiVelocidadChange(int valor);
  void actFalloCacheExecute();
  void actNuevoVLIWExecute();
  void actCargarVLIWExecute();
  void mnuCompGPRClick();
  void mnuCompFPRClick();
  void mnuCompMemClick();
  void actConfSuperExecute();
  void actConfVLIWExecute();
  void opcResetClick(bool marcada);
  void opcChkCodigoVLIWClick(bool marcada);
  void actVerBBExecute();
  void actVerCodigoExecute();
  void actVerDiagramaExecute();
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
  // El programa que acaba de llegar, en el panel del código y en la máquina superescalar.
  void mostrarPrograma(TCodigo* nuevo, const QString& titulo);
  // El programa VLIW recién creado o cargado, en su editor y con su máquina seleccionada.
  void mostrarEditorVLIW();

private:
  void conectarOrdenes();
  void conectarControlador(TControladorMaquina& c);
  bool algunaEnMarcha() const;
  // Bloquea (true) o desbloquea lo que no se puede tocar mientras ejecuta la máquina m.
  void bloquearControles(TTipoMaquina m, bool enMarcha);
  void actualizarOrdenes();
  TControladorMaquina& controladorActual() const { return controlador(seleccionada); }
  // A quien llegan pausa y parar: la seleccionada, o la otra si solo ejecuta ella.
  TControladorMaquina& controladorEnMarcha() const;

  TServicioDialogos& dialogos;
  TTipoMaquina seleccionada = TTipoMaquina::superescalar;
  std::unique_ptr<TMaquinaVLIW> maquinaVLIW;
  std::unique_ptr<TMaquinaSuper> maquinaSuper;

  TControladorMaquina* controlSuper;
  TControladorMaquina* controlVLIW;
  TDocumentoVLIW* documento;
  QMdiArea* mdiArea;
  TGestorVentanas* gestor;
  TVentanasEstadisticas* ventanasEstadisticas;
  TAyudaContexto* ayuda;
  TOrdenesPrincipal* ordenes;
  TProgramaFuente* fuente;
  TPanelCodigo* panCodigo;
  TMarcadorEnVuelo* marcador;
  TAboutBox* AboutBox;
  TIndicadorEstado* indicador;
  TEnlaceDiagramas* diagramas;
};
