#pragma once
// Diálogo «Seleccionar elementos»: el usuario escribe índices e intervalos
// ("1,4,6-8") de los elementos que quiere mostrar u ocultar en un TfrmSelec.
// Hay uno solo, creado oculto al arrancar; se muestra a través del servicio
// de diálogos, así que las pruebas pueden responderlo con un guion.

#include <QDialog>
#include <cstdint>
#include <set>

class QLabel;
class QLineEdit;
class QPushButton;
class TServicioDialogos;

class TdlgIntervalo : public QDialog {
  Q_OBJECT
public:
  static constexpr int MODO_OCULTAR = 0;
  static constexpr int MODO_MOSTRAR = 1;
  static const char* const MENSAJE_ERROR;

  // «dialogos» debe vivir más que el diálogo.
  explicit TdlgIntervalo(TServicioDialogos& dialogos, QWidget* padre = nullptr);

  // Vacía el conjunto, pone el texto del modo, selecciona lo escrito y muestra
  // el diálogo modal. Si se acepta, el conjunto recibe lo que diga el texto
  // (con error: el mensaje, lo ya leído se queda y el texto se vacía).
  // Devuelve 1 (aceptar) o 2 (cancelar).
  int pedir(int32_t numElementos, int modo);

  // Lee «texto» para una vista de numElementos elementos y añade al conjunto
  // los índices válidos. false si un trozo no es un número ni un intervalo;
  // lo leído hasta ese trozo ya está en el conjunto.
  static bool analizar(const QString& texto, int32_t numElementos, std::set<int32_t>& conjunto);

  std::set<int32_t> conjunto;  // índices elegidos en la última petición
  int32_t numElementos = 0;

  QLabel* labIntervalo;
  QLabel* labAyuda;
  QLineEdit* txtIntervalo;
  QPushButton* butOk;
  QPushButton* butCancel;

private:
  TServicioDialogos& dialogos;
};
