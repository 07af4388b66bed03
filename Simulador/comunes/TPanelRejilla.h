#pragma once
// Un panel con título y una rejilla de ejecución debajo. El título lleva la
// pista del panel, y un doble clic sobre él pide plegar o desplegar el panel
// (lo decide la columna que lo contiene).

#include <QWidget>

class QLabel;
class TModeloEjecucion;
class TRejillaEjecucion;

class TPanelRejilla : public QWidget {
  Q_OBJECT
public:
  static constexpr int ALTO_TITULO = 20;

  TPanelRejilla(const QString& titulo, const QString& pista, QWidget* padre = nullptr);

  // Barra de título de los paneles y columnas: relieve de botón, texto centrado,
  // ALTO_TITULO píxeles. La pista (si la hay) va como ayuda emergente y en la barra de estado.
  static QLabel* crearTitulo(const QString& texto, QWidget* padre, const QString& pista = QString());

  // La rejilla pasa a mostrar el modelo (que el panel no posee).
  void setModelo(TModeloEjecucion* modelo);

  // Alto del título más todas las filas de la rejilla.
  int alturaCompleta() const;

  QSize minimumSizeHint() const override;

  QLabel* panTitulo;
  TRejillaEjecucion* grdRejilla;

signals:
  void tituloDobleClic();

protected:
  bool eventFilter(QObject* objeto, QEvent* evento) override;
};
