#pragma once
// Lo común a las dos ventanas de configuración: número y latencia de las
// unidades de cada tipo, latencia del fallo de caché y los botones
// «Predefinidos», «Aceptar» y «Cancelar». Escriben directamente en la máquina;
// lo que depende de la configuración se reconstruye en el siguiente reset.

#include <QMdiSubWindow>
#include <array>

#include "machine/TTipos.h"

class QGroupBox;
class QLabel;
class QPushButton;
class QVBoxLayout;
class TMaquina;
class TSpinNumero;

class TfrmConfiguracion : public QMdiSubWindow {
  Q_OBJECT
public:
  TfrmConfiguracion(TMaquina& maquina, const QString& titulo, int temaAyuda, QWidget* padre = nullptr);

  // Los controles toman los valores actuales de la máquina.
  virtual void cargarDeMaquina();
  // Los controles toman los valores por defecto; la máquina no cambia.
  virtual void cargarPredefinidos();
  // La máquina toma los valores de los controles.
  virtual void aplicar();

  void butDefaultClick();
  void butAceptarClick();
  void butCancelarClick();

  // Por código de tipo de unidad: columnas «Número:» y «Latencia:».
  std::array<TSpinNumero*, NUM_TIPOS_UF> spiUF{};
  std::array<TSpinNumero*, NUM_TIPOS_UF> spiLat{};
  TSpinNumero* spiLatFalloMem;
  QGroupBox* gbUnidades;
  QPushButton* butDefault;
  QPushButton* butAceptar;
  QPushButton* butCancelar;

protected:
  // Para las subclases: un grupo más debajo de las unidades, y el final del
  // orden del teclado antes de los botones.
  void anadirGrupo(QGroupBox* grupo, QWidget* ultimoControl);
  // Ajusta el tamaño fijo cuando ya está todo.
  void terminarDiseno();

  // Intro acepta (o pulsa el botón que tiene el foco) y Escape cancela, como en
  // un diálogo.
  void keyPressEvent(QKeyEvent* evento) override;
  void showEvent(QShowEvent* evento) override;

  TMaquina& maquinaBase;

private:
  QWidget* contenido;
  QVBoxLayout* capa;
  QWidget* ultimoDelTeclado;
  bool tamanoFijado = false;
};
