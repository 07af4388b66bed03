#pragma once
// Panel del código secuencial (panCodigo), acoplado a la izquierda de la
// ventana principal: el título (panTitulo: "Código Secuencial" hasta que se
// abre un programa, luego el nombre de su fichero) sobre la rejilla
// grdInstrucciones. Un doble clic en el título pide mostrarlo u ocultarlo.

#include <QDockWidget>

class QLabel;
class TCodigo;
class TRejillaCodigo;

class TPanelCodigo : public QDockWidget {
  Q_OBJECT
public:
  static constexpr int ANCHO_INICIAL = 185;

  explicit TPanelCodigo(QWidget* padre = nullptr);

  // La rejilla pasa a enseñar el programa (que vive más que su uso; nullptr
  // para soltarlo), con el nombre del fichero de la ruta como título.
  void mostrarPrograma(const TCodigo* programa, const QString& ruta);
  // Anchura que enseña las cinco columnas enteras.
  int anchoNecesario() const;

  QLabel* panTitulo;
  TRejillaCodigo* grdInstrucciones;

signals:
  void tituloDobleClic();

protected:
  bool eventFilter(QObject* objeto, QEvent* evento) override;
};
