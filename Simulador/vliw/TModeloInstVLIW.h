#pragma once
// Modelo de la rejilla del editor VLIW: una fila por instrucción larga y una
// columna por unidad funcional de la configuración. Es dueño de las copias de
// las operaciones que hay en sus celdas; el programa de la máquina no cambia
// hasta que se construye desde aquí (construirPrograma).
//
// La columna fija del número y de la marca de breakpoint es la cabecera
// vertical; las columnas del modelo son solo las de las unidades.

#include <QAbstractTableModel>
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "machine/TTipos.h"
#include "vliw/TOperacionVLIW.h"

class TCodigoVLIW;

class TModeloInstVLIW : public QAbstractTableModel {
  Q_OBJECT
public:
  enum Rol { RolBloque = Qt::UserRole + 1 };

  explicit TModeloInstVLIW(QObject* padre = nullptr);
  ~TModeloInstVLIW() override;

  // ---- Columnas ----
  // Una columna por unidad: tipo 0 a 5 y, dentro del tipo, índice 0 a n-1.
  // Vacía las celdas (las filas se conservan).
  void crearColumnas(const std::array<int32_t, NUM_TIPOS_UF>& numUF);
  int numColumnas() const { return static_cast<int>(columnas.size()); }
  // Primera columna de esa unidad, o -1.
  int columnaDe(int32_t numUnidad, int tipoUF) const;
  int tipoDeColumna(int columna) const;
  int unidadDeColumna(int columna) const;
  // "+Entera 0", "Salto 0"…
  QString titulo(int columna) const;

  // ---- Filas ----
  int numFilas() const { return static_cast<int>(filas.size()); }
  // Una fila por instrucción larga, con copias de sus operaciones y su
  // breakpoint como marca. Una operación sin columna (unidad que no está
  // configurada) no se puede mostrar: quien llama lo comprueba antes.
  void cargar(const TCodigoVLIW& programa);
  // n filas vacías y sin marca.
  void vaciar(int n);
  void anadirFilas(int n);
  // Quita la fila; si es la única, la deja vacía y sin marca.
  void eliminarFila(int fila);
  // Vacía todas las celdas y quita todas las marcas; las filas se quedan.
  void limpiar();
  // Lleva la fila «desde» a la posición «hasta»; las demás se desplazan.
  bool moverFila(int desde, int hasta);
  // Quita las filas sin operaciones del final, dejando al menos una.
  void recortar();
  bool filaVacia(int fila) const;
  bool hayOperaciones() const;

  // ---- Celdas ----
  // nullptr en una celda vacía o fuera de la rejilla.
  const TOperacionVLIW* operacion(int fila, int columna) const;
  TOperacionVLIW* operacion(int fila, int columna);
  // La celda pasa a ser dueña de la operación; la anterior, si la había, se destruye.
  void ponerOperacion(int fila, int columna, std::unique_ptr<TOperacionVLIW> op);
  // false si la celda ya estaba vacía.
  bool quitarOperacion(int fila, int columna);
  bool marca(int fila) const;
  void ponerMarca(int fila, bool valor);
  // Algo de la celda cambió por dentro (predicados, destino): repintar.
  void celdaCambiada(int fila, int columna);
  // Repinta todo (p. ej. al cambiar los colores de los bloques).
  void repintar();

  // Una instrucción larga por fila, operaciones copiadas en orden de columna y
  // breakpoint = marca. Quien llama ha vaciado antes el programa a través de la
  // máquina (borrarCodigo), para que ninguna unidad apunte a lo destruido.
  void construirPrograma(TCodigoVLIW& programa) const;

  int rowCount(const QModelIndex& padre = QModelIndex()) const override;
  int columnCount(const QModelIndex& padre = QModelIndex()) const override;
  QVariant data(const QModelIndex& indice, int rol = Qt::DisplayRole) const override;
  QVariant headerData(int seccion, Qt::Orientation orientacion, int rol = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& indice) const override;

private:
  struct TColumna {
    int8_t tipo;
    int32_t unidad;
  };
  struct TFila {
    bool marca = false;
    std::vector<std::unique_ptr<TOperacionVLIW>> celdas;
  };

  TFila filaNueva() const;
  bool celdaValida(int fila, int columna) const;

  std::vector<TColumna> columnas;
  std::vector<TFila> filas;
};
