#pragma once
// Rejilla de solo lectura sobre un TModeloEjecucion: filas de altura fija,
// celdas pintadas por TDelegadoEjecucion y pistas por celda; fuera de las
// celdas, la pista general del modelo. La esquina entre las dos cabeceras
// puede llevar el título de la columna de números ("Nº", "Dir.").

#include <QHash>
#include <QTableView>

class TModeloEjecucion;

class TRejillaEjecucion : public QTableView {
  Q_OBJECT
public:
  explicit TRejillaEjecucion(QWidget* padre = nullptr);

  void setModelo(TModeloEjecucion* modelo);
  TModeloEjecucion* modelo() const { return modeloEjecucion; }

  // Texto de la esquina; vacío la deja en blanco.
  void setTextoEsquina(const QString& texto);
  QString textoEsquina() const { return esquina; }

  // Anchura de cada columna: la de su cabecera y como mínimo «minimo» píxeles.
  // Se vuelve a aplicar cuando el modelo cambia de forma.
  void ajustarColumnas(int minimo);
  // Anchura fija de una columna, que también sobrevive a un cambio de forma.
  void fijarAnchoColumna(int columna, int ancho);
  // Alto que enseña todas las filas (cabecera y marco incluidos).
  int alturaCompleta() const;
  int altoFila() const;

  QSize minimumSizeHint() const override { return {0, 0}; }

signals:
  // Doble clic sobre una celda (o sobre el número de su fila).
  void dobleClicFila(int fila);

protected:
  void mouseDoubleClickEvent(QMouseEvent* evento) override;
  bool viewportEvent(QEvent* evento) override;
  bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
  void aplicarAnchos();

  TModeloEjecucion* modeloEjecucion = nullptr;
  QString esquina;
  int anchoMinimo = -1;  // sin ajustar mientras sea negativo
  QHash<int, int> anchosFijos;
};
