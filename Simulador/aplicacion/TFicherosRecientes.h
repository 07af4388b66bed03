#pragma once
// Los últimos programas fuente abiertos, los más recientes primero, guardados
// entre sesiones con QSettings. Es lo único que el programa recuerda de una
// sesión a otra: solo alimenta el menú «Ficheros recientes», no cambia nada
// del arranque.

#include <QObject>
#include <QStringList>

class TFicherosRecientes : public QObject {
  Q_OBJECT
public:
  static constexpr int MAXIMO = 8;

  // Lee la lista guardada (la de QSettings de «Orvex»; las pruebas cambian su
  // carpeta con QSettings::setPath para no tocar la del usuario).
  explicit TFicherosRecientes(QObject* padre = nullptr);

  const QStringList& lista() const { return rutas; }
  // La ruta pasa la primera (sin repetirse) y la lista se guarda.
  void anadir(const QString& ruta);
  void quitar(const QString& ruta);

signals:
  void cambiada();

private:
  void guardar();

  QStringList rutas;
};
