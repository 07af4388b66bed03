#pragma once
// Modelo del diagrama instrucción × ciclo: una fila por posición de la vista
// del registrador (en la VLIW, cada instrucción larga seguida de sus
// operaciones) y una columna por ciclo, desde el primero guardado hasta el
// último observado. Solo lee el registrador; refrescar() da una sola
// notificación. La fila seleccionada y la instrucción resaltada son del
// modelo: sobreviven a los refrescos.

#include <QAbstractTableModel>
#include <QColor>
#include <cstdint>
#include <vector>

#include "observation/TRegistradorDiagrama.h"

class TModeloDiagrama : public QAbstractTableModel {
  Q_OBJECT
public:
  // Color del texto de las filas anuladas y las operaciones descartadas.
  static const QColor COLOR_PERDIDA;

  explicit TModeloDiagrama(const TRegistradorDiagrama& registrador, QObject* padre = nullptr);

  int rowCount(const QModelIndex& padre = QModelIndex()) const override;
  int columnCount(const QModelIndex& padre = QModelIndex()) const override;
  QVariant data(const QModelIndex& indice, int rol = Qt::DisplayRole) const override;
  QVariant headerData(int seccion, Qt::Orientation orientacion, int rol = Qt::DisplayRole) const override;

  // Vuelve a leer el registrador tras un ciclo (o un reset, o una vuelta atrás).
  // Lo que cambia por los extremos se notifica como filas y columnas quitadas o
  // añadidas, no como un modelo nuevo: con 100 000 filas y ciclos, rehacer las
  // cabeceras enteras en cada tic costaría más que todo lo demás.
  void refrescar();

  const TRegistradorDiagrama& registrador() const { return reg; }
  int32_t cicloDeColumna(int columna) const { return primerCiclo + columna; }
  int columnaDeCiclo(int32_t ciclo) const { return ciclo - primerCiclo; }
  // El último ciclo observado: el que está ahora la máquina.
  int32_t cicloActual() const { return reg.ultimoCiclo(); }

  // Lo que hay en una celda: su letra (' ' si ninguna), su tramo, y si la fila
  // se perdió (anulada o descartada). Las filas se leen una vez y se guardan
  // mientras se pinta la misma fila.
  struct TCelda {
    char letra = ' ';
    TTramoVisible tramo;
    bool perdida = false;
  };
  TCelda celda(int fila, int columna) const;
  const TFilaDiagrama& filaDiagrama(int fila) const;
  // Los tramos de una fila, en orden, y si se perdió (la lectura se guarda
  // mientras se pide la misma fila).
  const std::vector<TTramoVisible>& tramosDe(int fila) const;
  bool perdida(int fila) const;
  // Dirección de la instrucción de la fila (índice de la larga en la VLIW).
  int32_t direccion(int fila) const;
  // Texto de la cabecera de una fila: su dirección y su instrucción.
  QString textoFila(int fila) const;
  // La pista de una celda: la instrucción, el ciclo, la etapa y el motivo.
  QString pista(int fila, int columna) const;

  // Selección: la fila (−1 ninguna). Se sigue por su secuencia, no por la posición.
  void seleccionar(int fila);
  int filaSeleccionada() const;
  // La de la superescalar por la secuencia de su instrucción (−1: ninguna).
  void seleccionarSecuencia(int64_t secuencia);
  int64_t secuenciaSeleccionada() const { return filaSeleccionada() < 0 ? -1 : seleccion.secuencia; }
  // Resalta las filas de una dirección del código secuencial (−1 ninguna).
  void resaltar(int32_t direccionCodigo);
  int32_t resaltada() const { return direccionResaltada; }
  // ¿La fila es de una instrucción (o lleva una operación) de esa dirección del código?
  bool esDeDireccion(int fila, int32_t direccionCodigo) const;

private:
  struct TClave {
    int64_t ejecucion = -1;
    int64_t secuencia = -1;
    int32_t op = -1;
  };

  const TRegistradorDiagrama& reg;
  int filas = 0;
  int columnas = 0;
  int32_t primerCiclo = 1;
  int64_t inicioVista = 0;       // del registrador en el último refresco
  int64_t ejecucionVista = -1;   // y su ejecución
  int64_t primeraViva = 0;       // posición absoluta de la primera fila que seguía en la máquina
  TClave seleccion;
  int32_t direccionResaltada = -1;
  // La última fila leída.
  mutable int filaLeida = -1;
  mutable std::vector<TTramoVisible> tramosLeidos;
  mutable bool filaPerdida = false;
};
