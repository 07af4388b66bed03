#pragma once
// Ventana de ejecución VLIW: a la izquierda los bits NaT de los registros
// enteros y de punto flotante y los registros de predicado; a la derecha las
// unidades funcionales de cada tipo con la operación de cada etapa. Solo
// enseña; las vistas leen la máquina en cada refresco, así que una
// configuración aceptada con la ventana abierta (que reconstruye las unidades)
// no deja nada apuntando a unidades destruidas.

#include <QMdiSubWindow>
#include <array>

#include "machine/TTipos.h"

class QSplitter;
class TColumnaVistas;
class TMaquinaVLIW;
class TServicioDialogos;
class TdlgIntervalo;
class TfrmSelecBool;
class TfrmUF;

class TfrmExeVLIW : public QMdiSubWindow {
  Q_OBJECT
public:
  static constexpr int TEMA_AYUDA = 16;
  static constexpr int ANCHO_COMPONENTES = 103;

  // La máquina, «dialogos» y «dlgIntervalo» deben vivir más que la ventana.
  TfrmExeVLIW(TMaquinaVLIW& maquina, TServicioDialogos& dialogos, TdlgIntervalo& dlgIntervalo,
              QWidget* padre = nullptr);

  // Relee la máquina; la ventana principal la llama tras cada ciclo.
  void actualizar();

  TMaquinaVLIW& maquina;

  TfrmSelecBool* frmSelecNATGPR;
  TfrmSelecBool* frmSelecNATFPR;
  TfrmSelecBool* frmSelecPred;
  std::array<TfrmUF*, NUM_TIPOS_UF> frmUF{};  // frmUF1 … frmUF6
  TColumnaVistas* colUF;

protected:
  void showEvent(QShowEvent* evento) override;

private:
  bool primeraVez = true;
};
