#pragma once
// La ayuda de la ventana principal: el visor, creado la primera vez que se
// pide, sus tres órdenes (contenido, búsqueda, cómo usarla) y la ayuda de
// contexto: Mayúsculas+F1 abre el tema de lo que está delante, también con un
// menú desplegado. El tema de una ventana o un control es su propiedad «temaAyuda».

#include <QObject>
#include <QPointer>

class QMdiArea;
class QMenu;
class QWidget;
class TServicioDialogos;
class TfrmAyuda;

class TAyudaContexto : public QObject {
  Q_OBJECT
public:
  // «ventana» (la principal, dueña del visor y de esta ayuda), su área de
  // ventanas y «dialogos» deben vivir más que la ayuda.
  TAyudaContexto(QWidget& ventana, QMdiArea& area, TServicioDialogos& dialogos);

  void contenido();
  void buscar();  // la búsqueda con la clave vacía: todo el índice
  void comoUsar();
  // false si no hay fichero de ayuda o no existe el tema.
  bool mostrarTema(int numero);
  // Tema del control con el foco (o de la ventana que lo contiene), si no de
  // la ventana hija activa, y si no el de la ventana principal.
  int temaActivo() const;

  // Mayúsculas+F1 con ese menú desplegado abre el tema del menú.
  void vigilarMenu(QMenu* menu);

  // El visor, si se ha abierto.
  TfrmAyuda* visor() const;

protected:
  bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
  // El visor, cargándolo si aún no existe; nullptr (con su mensaje) si no hay
  // fichero de ayuda o no es válido.
  TfrmAyuda* ayuda();

  QWidget& ventana;
  QMdiArea& area;
  TServicioDialogos& dialogos;
  QPointer<TfrmAyuda> frmAyuda;
};
