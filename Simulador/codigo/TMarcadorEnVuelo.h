#pragma once
// Sigue la ejecución de la máquina seleccionada y, tras cada ciclo, marca sus
// instrucciones en vuelo en la rejilla del código secuencial y en el editor de
// código (que solo las enseña si su texto es el del programa cargado). Fuera
// de una ejecución no hay marcas.

#include <QObject>
#include <QPointer>

#include "Simulador/codigo/TMarcasEnVuelo.h"
#include "Simulador/control/TTipoMaquina.h"

class TControladorMaquina;
class TModeloCodigo;
class TfrmEditorCodigo;

class TMarcadorEnVuelo : public QObject {
  Q_OBJECT
public:
  // Los controladores y el modelo viven más que el marcador.
  TMarcadorEnVuelo(TControladorMaquina& superescalar, TControladorMaquina& vliw, TModeloCodigo& modelo,
                   QObject* padre = nullptr);

  // Las marcas pasan a ser las de la máquina m.
  void seleccionarMaquina(TTipoMaquina m);
  // El editor de código abierto, o nullptr; recibe ya las marcas de ahora.
  void setEditor(TfrmEditorCodigo* editor);
  // Vuelve a leer la máquina seleccionada.
  void actualizar();
  const TMarcasEnVuelo& marcas() const { return actuales; }

private:
  TControladorMaquina& controlador(TTipoMaquina m) const;

  TControladorMaquina& ctlSuper;
  TControladorMaquina& ctlVLIW;
  TModeloCodigo& modelo;
  QPointer<TfrmEditorCodigo> editor;
  TTipoMaquina seleccionada = TTipoMaquina::superescalar;
  TMarcasEnVuelo actuales;
};
