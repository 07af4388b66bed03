#pragma once
// Ventana de ejecución superescalar: colas de prefetch y del decodificador,
// tablas de renombrado, predicción de saltos, reorder buffer, estaciones de
// reserva y unidades funcionales (también las de cálculo de direcciones),
// releídas de la máquina tras cada ciclo. Lo único que cambia en la máquina
// es el color con que el usuario resalta una instrucción en vuelo, y lo pide
// a quien hace las ediciones.

#include <QMdiSubWindow>
#include <QPointer>
#include <array>

#include "machine/TTipos.h"

class QSplitter;
class QTimer;
class TColumnaVistas;
class TEdicionMaquina;
class TMaquinaSuper;
class TModeloCola;
class TModeloPrediccion;
class TModeloROB;
class TPanelRejilla;
class TServicioDialogos;
class TdlgIntervalo;
class TfrmER;
class TfrmSelecROBReg;
class TfrmUF;

class TfrmExeSuper : public QMdiSubWindow {
  Q_OBJECT
public:
  static constexpr int TEMA_AYUDA = 15;

  // Se crea al empezar una ejecución, con la máquina recién reseteada; la
  // máquina, sus ediciones, «dialogos» y «dlgIntervalo» viven más que la
  // ventana. «temporizador» (opcional) es el de la máquina: se para mientras
  // el usuario elige un color.
  TfrmExeSuper(const TMaquinaSuper& maquina, TEdicionMaquina& ediciones, TServicioDialogos& dialogos,
               TdlgIntervalo& dlgIntervalo, QTimer* temporizador = nullptr, QWidget* padre = nullptr);

  // Relee la máquina; la ventana principal la llama tras cada ciclo.
  void actualizar();
  // Da color a la instrucción de la fila del ROB o se lo quita (doble clic).
  void colorearFila(int fila);
  // Repinta las rejillas que enseñan colores.
  void repintarColores();

  const TMaquinaSuper& maquina;

  TPanelRejilla* panPrefetch;
  TPanelRejilla* panDecoder;
  TfrmSelecROBReg* frmSelecROBGPR;
  TfrmSelecROBReg* frmSelecROBFPR;
  TPanelRejilla* panPrediccion;
  TPanelRejilla* panROB;
  std::array<TfrmER*, NUM_TIPOS_UF> frmER{};
  std::array<TfrmUF*, NUM_TIPOS_UF> frmUF{};
  TfrmUF* frmALUDir;
  TColumnaVistas* colER;
  TColumnaVistas* colUF;
  TModeloROB* modeloROB;

protected:
  void showEvent(QShowEvent* evento) override;
  bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
  // Altos de la zona izquierda con su alto de verdad: las colas, como mucho la
  // mitad de lo que dejan las tablas, y el resto para el reorder buffer.
  void repartirAltos();

  QSplitter* izquierda;
  bool altosRepartidos = false;
  TEdicionMaquina& ediciones;
  TServicioDialogos& dialogos;
  QPointer<QTimer> temporizador;
  TModeloCola* modeloPrefetch;
  TModeloCola* modeloDecoder;
  TModeloPrediccion* modeloPrediccion;
  bool primeraVez = true;
};
