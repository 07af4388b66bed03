#pragma once
// Visor de la ayuda: contenido, búsqueda en el índice, un tema por número e
// instrucciones sobre el propio visor. Ventana independiente de la principal,
// para poder leerla junto a la simulación.

#include <QList>
#include <QWidget>

#include "Simulador/ayuda/TFicheroAyuda.h"

class QLineEdit;
class QListWidget;
class QTabWidget;
class QTextBrowser;
class QToolButton;
class QUrl;

class TfrmAyuda : public QWidget {
  Q_OBJECT
public:
  explicit TfrmAyuda(QWidget* padre = nullptr);

  // Carga el fichero de ayuda; false y el motivo si no se pudo.
  bool cargar(const QString& ruta, QString& error);
  const TFicheroAyuda& fichero() const { return ayuda; }

  void mostrarContenido();
  // Pestaña de búsqueda con la clave dada; con la clave vacía lista todo el índice.
  void mostrarBusqueda(const QString& clave);
  void mostrarComoUsar();
  // false si no existe el tema (entonces se muestra el contenido).
  bool mostrarTema(int numero);

  int temaActual() const { return actual; }  // -1: página del propio visor

  QTabWidget* tabs;
  QListWidget* lstContenido;
  QLineEdit* txtBuscar;
  QListWidget* lstIndice;
  QTextBrowser* txtTema;
  QToolButton* butAtras;
  QToolButton* butAdelante;

  static constexpr int TEMA_COMO_USAR = -1;

private:
  void ir(int numero, bool guardarHistoria);
  void filtrarIndice(const QString& clave);
  void enlace(const QUrl& url);
  void actualizarBotones();

  TFicheroAyuda ayuda;
  int actual = -2;
  QList<int> atras, adelante;
};
