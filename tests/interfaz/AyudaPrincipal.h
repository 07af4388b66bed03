#pragma once
// La ventana principal vista desde una prueba: sus controles, buscados por su
// nombre de objeto, y sus máquinas y ventanas hijas a través de lo que la
// ventana ofrece (el controlador de cada máquina y el gestor de ventanas).

#include <QAction>
#include <QComboBox>
#include <QDockWidget>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenu>
#include <QTimer>
#include <QToolBar>
#include <QtTest>

#include "Simulador/Main.h"
#include "Simulador/aplicacion/TGestorVentanas.h"
#include "Simulador/ayuda/TAyudaContexto.h"
#include "Simulador/ayuda/TfrmAyuda.h"
#include "Simulador/codigo/TRejillaCodigo.h"
#include "Simulador/componentes/TfrmComponente.h"
#include "Simulador/comunes/TSpinNumero.h"
#include "Simulador/control/TControladorMaquina.h"
#include "Simulador/control/TDocumentoVLIW.h"
#include "Simulador/dialogos/TAboutBox.h"
#include "Simulador/dialogos/TfrmConfSuper.h"
#include "Simulador/dialogos/TfrmConfVLIW.h"
#include "Simulador/superescalar/TfrmExeSuper.h"
#include "Simulador/vliw/TdlgSaltoVLIW.h"
#include "Simulador/vliw/TfrmExeVLIW.h"
#include "Simulador/vliw/TfrmInstVLIW.h"
#include "superscalar/TMaquinaSuper.h"
#include "vliw/TMaquinaVLIW.h"

inline constexpr TTipoMaquina SUPER = TTipoMaquina::superescalar;
inline constexpr TTipoMaquina VLIW = TTipoMaquina::vliw;

Q_DECLARE_METATYPE(TTipoMaquina)

struct TPrincipalEnPrueba {
  TfrmPrincipal& v;

  // El hijo de ese tipo y nombre; la prueba no sigue sin él.
  template <typename T>
  T* hijo(const char* nombre) const {
    T* h = v.findChild<T*>(QLatin1String(nombre));
    if (!h) qFatal("la ventana principal no tiene %s", nombre);
    return h;
  }

  explicit TPrincipalEnPrueba(TfrmPrincipal& ventana)
      : v(ventana),
        actAbrir(hijo<QAction>("actAbrir")),
        actVerBB(hijo<QAction>("actVerBB")),
        actVerCodigo(hijo<QAction>("actVerCodigo")),
        actConfSuper(hijo<QAction>("actConfSuper")),
        actConfVLIW(hijo<QAction>("actConfVLIW")),
        actNuevoVLIW(hijo<QAction>("actNuevoVLIW")),
        actCargarVLIW(hijo<QAction>("actCargarVLIW")),
        actFalloCache(hijo<QAction>("actFalloCache")),
        actIni(hijo<QAction>("actIni")),
        actPaso(hijo<QAction>("actPaso")),
        actPausa(hijo<QAction>("actPausa")),
        actParar(hijo<QAction>("actParar")),
        actSelSuper(hijo<QAction>("actSelSuper")),
        actSelVLIW(hijo<QAction>("actSelVLIW")),
        actCascada(hijo<QAction>("actCascada")),
        actMosaico(hijo<QAction>("actMosaico")),
        actContenidoAyuda(hijo<QAction>("actContenidoAyuda")),
        actBuscarAyuda(hijo<QAction>("actBuscarAyuda")),
        actComoAyuda(hijo<QAction>("actComoAyuda")),
        actTemaAyuda(hijo<QAction>("actTemaAyuda")),
        opcionBarEstandar(hijo<QAction>("opcionBarEstandar")),
        opcionBarEjecucion(hijo<QAction>("opcionBarEjecucion")),
        opcReset(hijo<QAction>("opcReset")),
        opcChkCodigoVLIW(hijo<QAction>("opcChkCodigoVLIW")),
        mnuCompMem(hijo<QAction>("mnuCompMem")),
        mnuCompGPR(hijo<QAction>("mnuCompGPR")),
        mnuCompFPR(hijo<QAction>("mnuCompFPR")),
        opcRestaurarTodo(hijo<QAction>("opcRestaurarTodo")),
        opcAcerca(hijo<QAction>("opcAcerca")),
        mnuEjecutar(hijo<QMenu>("mnuEjecutar")),
        mnuInstVLIW(hijo<QMenu>("mnuInstVLIW")),
        mnuSelMaquina(hijo<QMenu>("mnuSelMaquina")),
        mnuOpciones(hijo<QMenu>("mnuOpciones")),
        tobEstandar(hijo<QToolBar>("tobEstandar")),
        tobEjecucion(hijo<QToolBar>("tobEjecucion")),
        txtCiclo(hijo<QLineEdit>("txtCiclo")),
        spiVelocidad(hijo<TSpinNumero>("spiVelocidad")),
        cboComponentes(hijo<QComboBox>("cboComponentes")),
        cboMaquina(hijo<QComboBox>("cboMaquina")),
        panCodigo(hijo<QDockWidget>("panCodigo")),
        panTitulo(qobject_cast<QLabel*>(panCodigo->titleBarWidget())),
        grdInstrucciones(hijo<TRejillaCodigo>("grdInstrucciones")),
        mdiArea(hijo<QMdiArea>("mdiArea")),
        timSimulSuper(hijo<QTimer>("timSimulSuper")),
        timSimulVLIW(hijo<QTimer>("timSimulVLIW")),
        AboutBox(hijo<TAboutBox>("AboutBox")),
        dlgSaltoVLIW(hijo<TdlgSaltoVLIW>("dlgSaltoVLIW")) {}

  QAction *actAbrir, *actVerBB, *actVerCodigo, *actConfSuper, *actConfVLIW, *actNuevoVLIW, *actCargarVLIW,
      *actFalloCache, *actIni, *actPaso, *actPausa, *actParar, *actSelSuper, *actSelVLIW, *actCascada, *actMosaico,
      *actContenidoAyuda, *actBuscarAyuda, *actComoAyuda, *actTemaAyuda, *opcionBarEstandar, *opcionBarEjecucion,
      *opcReset, *opcChkCodigoVLIW, *mnuCompMem, *mnuCompGPR, *mnuCompFPR, *opcRestaurarTodo, *opcAcerca;
  QMenu *mnuEjecutar, *mnuInstVLIW, *mnuSelMaquina, *mnuOpciones;
  QToolBar *tobEstandar, *tobEjecucion;
  QLineEdit* txtCiclo;
  TSpinNumero* spiVelocidad;
  QComboBox *cboComponentes, *cboMaquina;
  QDockWidget* panCodigo;
  QLabel* panTitulo;
  TRejillaCodigo* grdInstrucciones;
  QMdiArea* mdiArea;
  QTimer *timSimulSuper, *timSimulVLIW;
  TAboutBox* AboutBox;
  TdlgSaltoVLIW* dlgSaltoVLIW;

  TControladorMaquina& controlador(TTipoMaquina m) const { return v.controlador(m); }
  TMaquina& maquina(TTipoMaquina m) const { return v.controlador(m).maquina(); }
  TMaquinaSuper& super() const { return *v.controlador(SUPER).maquinaSuper(); }
  TMaquinaVLIW& vliw() const { return *v.controlador(VLIW).maquinaVLIW(); }
  QTimer* timer(TTipoMaquina m) const { return m == VLIW ? timSimulVLIW : timSimulSuper; }
  // Un tic de la máquina: el temporizador vence y llega al manejador de la ventana.
  void tic(TTipoMaquina m) const { QMetaObject::invokeMethod(timer(m), "timeout", Qt::DirectConnection); }
  // Un manejador de la ventana llamado directamente, sin pasar por su orden (que
  // puede estar deshabilitada).
  void manejar(const char* manejador) const { QVERIFY(QMetaObject::invokeMethod(&v, manejador)); }

  TGestorVentanas& ventanas() const { return v.ventanas(); }
  TfrmExeSuper* frmExeSuper() const { return ventanas().frmExeSuper(); }
  TfrmExeVLIW* frmExeVLIW() const { return ventanas().frmExeVLIW(); }
  TfrmInstVLIW* frmInstVLIW() const { return ventanas().frmInstVLIW(); }
  TfrmConfSuper* frmConfSuper() const { return ventanas().frmConfSuper(); }
  TfrmConfVLIW* frmConfVLIW() const { return ventanas().frmConfVLIW(); }
  TfrmComponente* frmCompGPR() const { return ventanas().frmCompGPR(); }
  TfrmComponente* frmCompFPR() const { return ventanas().frmCompFPR(); }
  TfrmComponente* frmCompMem() const { return ventanas().frmCompMem(); }
  TfrmAyuda* frmAyuda() const { return v.findChild<TfrmAyuda*>(); }
  TAyudaContexto& ayuda() const { return *hijo<TAyudaContexto>("ayudaContexto"); }
};
