#pragma once
// Ventana «Diagrama de Ejecución» de una máquina: el diagrama instrucción ×
// ciclo (una fila por instrucción, una columna por ciclo, letras de colores y
// la pista de cada espera) y, en otra pestaña, la «Tabla de Instrucciones».
// Solo mira el registrador de su máquina, que registra aunque la ventana esté
// cerrada; sigue la ejecución con las señales del controlador. Exporta las
// dos vistas en CSV y el diagrama en PNG y SVG, en el intervalo de ciclos
// elegido.

#include <QMdiSubWindow>
#include <cstdint>

#include "reports/TInformeDiagrama.h"

class QLabel;
class QSlider;
class QSpinBox;
class QTabWidget;
class QTableView;
class QToolButton;
class QAction;
class QPainter;
class TControladorMaquina;
class TDelegadoDiagrama;
class TModeloDiagrama;
class TModeloTablaInstrucciones;
class TRejillaDiagrama;
class TRegistradorDiagrama;
class TServicioDialogos;

class TfrmDiagrama : public QMdiSubWindow {
  Q_OBJECT
public:
  static constexpr int TEMA_AYUDA = 43;
  static constexpr int ALTO_FILA = 18;
  static constexpr int ANCHO_CICLO = 18;  // anchura inicial de una columna
  static constexpr int ANCHO_MINIMO = 3;
  static constexpr int ANCHO_MAXIMO = 48;
  // Tope de una imagen exportada, en píxeles por lado.
  static constexpr int LADO_MAXIMO_IMAGEN = 30000;

  enum TExportacion { expDiagramaCSV, expTablaCSV, expPNG, expSVG };

  // El registrador, el controlador y «dialogos» deben vivir más que la ventana.
  TfrmDiagrama(const TRegistradorDiagrama& registrador, TControladorMaquina& controlador, TServicioDialogos& dialogos,
               QWidget* padre = nullptr);

  // Vuelve a leer el registrador. Si se estaba viendo el final, lo sigue.
  void actualizar();
  // Resalta las filas de una instrucción del código secuencial (−1 ninguna).
  void resaltarInstruccion(int32_t direccion);
  // Marca la fila de una instrucción de la superescalar (por su secuencia) y la enseña.
  void seleccionarSecuencia(int64_t secuencia);
  // Lleva la vista a la columna de un ciclo.
  void mostrarCiclo(int32_t ciclo);
  // Anchura de las columnas de ciclo (acotada).
  void setAnchoCiclo(int ancho);
  int anchoCiclo() const;

  // Ciclos que se exportan: los de los controles, recortados a lo observado.
  TIntervaloCiclos intervaloExportacion() const;
  // Escribe el fichero sin preguntar; false (con su mensaje) si no se pudo.
  bool exportar(TExportacion formato, const QString& ruta);
  // Pinta el diagrama del intervalo en una superficie de tamanoImagen().
  void pintar(QPainter& p, TIntervaloCiclos intervalo) const;
  QSize tamanoImagen(TIntervaloCiclos intervalo) const;

  TModeloDiagrama* modelo;
  TModeloTablaInstrucciones* modeloTabla;
  TDelegadoDiagrama* delegado;
  QTabWidget* pagPestanas;
  TRejillaDiagrama* grdDiagrama;
  QTableView* grdTabla;
  QSlider* sldCiclo;
  QLabel* labCiclo;
  QLabel* labDescartadas;
  QSpinBox* spiDesde;
  QSpinBox* spiHasta;
  QToolButton* butExportar;
  QAction* actExportarDiagramaCSV;
  QAction* actExportarTablaCSV;
  QAction* actExportarPNG;
  QAction* actExportarSVG;

signals:
  // Clic en la cabecera de un ciclo o el deslizador movido por el usuario.
  void cicloPedido(int32_t ciclo);
  // El usuario eligió una fila: la dirección de su instrucción en el código
  // secuencial (en la VLIW, la de la primera operación de una larga).
  void instruccionSeleccionada(int32_t direccion);

protected:
  bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
  void elegirFila(const QModelIndex& indice);
  void pedirExportacion(TExportacion formato);

  const TRegistradorDiagrama& reg;
  TServicioDialogos& dialogos;
  bool tablaAlDia = false;
  bool moviendoDeslizador = false;
};
