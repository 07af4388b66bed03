#pragma once
// «Explorar configuración»: el programa en la máquina superescalar una vez por
// cada valor de un parámetro, en un hilo de trabajo con sus propias máquinas y
// su copia del programa (la ventana principal no se toca). Cada punto llega al
// hilo de la interfaz en cuanto termina; se puede cancelar. Un gráfico enseña
// los ciclos y el IPC frente al parámetro; se exporta como CSV y PNG.

#include <QMdiSubWindow>
#include <atomic>
#include <memory>
#include <vector>

#include "session/TExploracion.h"

class QChartView;
class QComboBox;
class QLabel;
class QLineSeries;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QThread;
class QValueAxis;
class TServicioDialogos;

class TfrmExploracion : public QMdiSubWindow {
  Q_OBJECT
public:
  static constexpr int TEMA_AYUDA = 49;

  // Todo se copia: programa, configuración de partida, datos y semilla.
  TfrmExploracion(const TCodigo& programa, const TConfiguracionMaquina& base, const TDatosIniciales& datos,
                  uint32_t semilla, TServicioDialogos& dialogos, QWidget* padre = nullptr);
  ~TfrmExploracion() override;

  // Empieza con lo elegido en los controles; false si ya había una en marcha.
  bool explorar();
  void cancelar();
  bool enMarcha() const { return hilo != nullptr; }
  const std::vector<TPuntoExploracion>& puntos() const { return resultado; }

  QComboBox* cboParametro;
  QComboBox* cboTipo;
  QSpinBox* spiDesde;
  QSpinBox* spiHasta;
  QPushButton* btnExplorar;
  QPushButton* btnCancelar;
  QPushButton* btnCSV;
  QPushButton* btnPNG;
  QProgressBar* barProgreso;
  QLabel* lblEstado;
  QChartView* grfExploracion;

signals:
  // En el hilo de la interfaz, cuando acaba (terminada o cancelada).
  void exploracionTerminada(bool cancelada);

private:
  void parametroCambiado();
  void anadirPunto(const TPuntoExploracion& punto);
  void terminar(bool cancelada);
  void dibujar();
  QString nombreParametro() const;

  TExploracion exploracion;
  TServicioDialogos& dialogos;
  std::vector<TPuntoExploracion> resultado;
  std::atomic<bool> cancelado{false};
  QThread* hilo = nullptr;
  QLineSeries* serieCiclos;
  QLineSeries* serieIPC;
  QValueAxis* ejeParametro;
  QValueAxis* ejeCiclos;
  QValueAxis* ejeIPC;
};
