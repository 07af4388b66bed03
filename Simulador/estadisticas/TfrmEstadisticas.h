#pragma once
// «Estadísticas» de una máquina: la rejilla de magnitudes y los gráficos, en
// vivo durante una ejecución y definitivos al final. Solo mira el recolector
// de la máquina, que registra aunque la ventana esté cerrada: abierta a mitad
// de una ejecución enseña la historia entera. «Copiar» deja el texto para un
// informe de prácticas; también se exportan el CSV y los gráficos como PNG.

#include <QMdiSubWindow>
#include <cstdint>

class QPushButton;
class QTableView;
class TControladorMaquina;
class TGraficosEstadisticas;
class TModeloEstadisticas;
class TRecolectorEstadisticas;
class TServicioDialogos;

class TfrmEstadisticas : public QMdiSubWindow {
  Q_OBJECT
public:
  static constexpr int TEMA_AYUDA = 46;
  static constexpr int INTERVALO_VIGILANCIA = 250;  // ms

  // El recolector, el controlador y «dialogos» deben vivir más que la ventana.
  TfrmEstadisticas(const TRecolectorEstadisticas& recolector, TControladorMaquina& controlador,
                   TServicioDialogos& dialogos, QWidget* padre = nullptr);

  // Relee el recolector si ha cambiado desde la última vez.
  void actualizar();
  QString textoInforme() const;
  QString textoCSV() const;

  TModeloEstadisticas* modelo;
  QTableView* grdEstadisticas;
  TGraficosEstadisticas* graficos;
  QPushButton* btnCopiar;
  QPushButton* btnCSV;
  QPushButton* btnPNG;

private:
  const TRecolectorEstadisticas& recolector;
  TServicioDialogos& dialogos;
  uint64_t versionVista = ~uint64_t{0};
};
