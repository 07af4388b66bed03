#pragma once
// Editor de instrucciones largas: una rejilla con una fila por instrucción
// larga y una columna por unidad funcional de la configuración VLIW, en la que
// se sueltan instrucciones arrastradas desde el código secuencial. La rejilla
// es una copia editable del programa de la máquina: nada cambia en él hasta
// «Aceptar» (aplicarCambios); «Cancelar» vuelve a mostrar el programa.

#include <QMdiSubWindow>
#include <QPoint>
#include <cstdint>
#include <functional>

class QLabel;
class QMimeData;
class QPushButton;
class QTableView;
class QWidget;
class TCodigo;
class TEdicionMaquina;
class TMaquinaVLIW;
class TModeloInstVLIW;
class TServicioDialogos;
class TdlgCantidad;
class TdlgSaltoVLIW;

// Filtro de los diálogos de ficheros de programas VLIW, en la forma "Texto|*.ext".
inline const char* const FILTRO_VLIW = "Programa VLIW|*.vliw";
// Lo que dice la barra de estado cuando la comprobación no encuentra nada.
inline const char* const TEXTO_VLIW_CORRECTO = "Código VLIW correcto: sin problemas de planificación";

class TfrmInstVLIW : public QMdiSubWindow {
  Q_OBJECT
public:
  static constexpr int TEMA_AYUDA = 21;
  static constexpr int ANCHO_COLUMNA = 50;
  static constexpr int ALTO_FILA = 16;
  // Un programa vacío se muestra con las instrucciones largas 0 a 6.
  static constexpr int FILAS_PROGRAMA_NUEVO = 7;

  // Zona resaltada con Ctrl+clic: «filas» filas desde «fila», por la latencia
  // de la operación de la celda (fila, columna).
  struct TResaltado {
    bool activo = false;
    int columna = -1;
    int fila = -1;
    int filas = 0;
  };

  // El programa secuencial y el diálogo de saltos deben vivir más que el editor:
  // la ventana principal cierra el editor antes de sustituir el programa. Los
  // breakpoints del programa de la máquina se piden a «ediciones».
  TfrmInstVLIW(const TCodigo& codigo, TMaquinaVLIW& maquina, TEdicionMaquina& ediciones, TServicioDialogos& dialogos,
               TdlgSaltoVLIW& dlgSalto, QWidget* padre = nullptr);
  ~TfrmInstVLIW() override;

  // ---- Operaciones de la ventana ----
  // Columnas según la configuración actual de la máquina.
  void crearColumnas();
  // Filas desde el programa (o 7 vacías si no tiene instrucciones largas).
  // El programa debe caber en las columnas: la ventana principal no abre el
  // editor sobre uno que use unidades no configuradas.
  void cargarRejilla();
  void liberarRejilla();
  // Descarta las ediciones sin aceptar y vuelve a mostrar el programa VLIW.
  void refrescar();
  // «Aceptar»: el programa pasa a ser lo que hay en la rejilla. No hace nada
  // mientras la máquina está en una ejecución.
  void aplicarCambios();
  // Bloquea (true) o desbloquea la edición mientras la máquina VLIW ejecuta. La
  // rejilla se puede seguir recorriendo y leyendo; lo que la cambia, no.
  void bloquearEdicion(bool enEjecucion);
  // Selecciona la instrucción larga pc - 1, la última emitida.
  void mostrarInstruccionActual();
  int columnaDe(int32_t numUnidad, int tipoUF) const;
  int unidadDeColumna(int columna) const;
  // Tamaño justo para todas las columnas y filas, sin salirse del área de trabajo.
  void ajustarTamano();

  // Hay ediciones sin aceptar (un registro real de cambios, no el estado de un botón).
  bool cambiosPendientes() const { return modificado; }
  // La rejilla muestra exactamente el programa: «Guardar» habilitado.
  bool coincideConPrograma() const { return coincide; }
  bool edicionBloqueada() const { return bloqueada; }

  // ---- Acciones del usuario (las llaman los eventos de la rejilla) ----
  // Instrucción secuencial que trae un arrastre nuestro (MIME propio, desde la
  // rejilla de este mismo programa), o -1.
  int instruccionDeArrastre(const QMimeData* datos, const QObject* origen) const;
  // Esa instrucción si se puede soltar en la celda (su tipo es el de la columna), o -1.
  int instruccionArrastrable(const QMimeData* datos, const QObject* origen, int fila, int columna) const;
  // Pone una copia de la instrucción en la celda. Un salto pide antes sus
  // parámetros; si se cancelan, la celda se queda como estaba.
  void soltarInstruccion(int instruccion, int fila, int columna);
  void borrarCelda(int fila, int columna);  // tecla Supr
  void dobleClicCelda(int fila, int columna);
  void dobleClicFila(int fila);  // marca de breakpoint
  void ctrlClicCelda(int fila, int columna);
  void filaMovida(int desde, int hasta);
  void butAnadirClick();
  void butEliminarClick();
  void butLimpiarClick();
  void butAceptarClick();
  void butCancelarClick();
  void butGuardarClick();

  // Pista de una posición: fila -1 es la cabecera de columnas, columna -1 la de filas.
  QString pistaCelda(int fila, int columna) const;
  // Recalcula la pista para el puntero sobre «origen» (la rejilla o una cabecera).
  void grdInstruccionesMouseMove(const QWidget* origen, const QPoint& posicion);

  // El texto de labResumen para lo que hay ahora en la rejilla.
  QString resumen() const;

  // ---- Dibujo ----
  QColor fondoCelda(int fila, int columna) const;
  QColor textoCelda(int fila, int columna) const;
  void setBloquesBasicos(bool activos);

  const TCodigo& codigo;
  TMaquinaVLIW& maquina;
  TEdicionMaquina& ediciones;
  TServicioDialogos& dialogos;
  TdlgSaltoVLIW& dlgSalto;
  // Opción «C&hequear código VLIW» de la ventana principal.
  std::function<bool()> chequearCodigo = [] { return true; };
  // «Guardar» lo hace el documento del programa: pide el nombre y escribe.
  // false si se canceló o no se pudo escribir (con su mensaje ya mostrado).
  std::function<bool()> guardarPrograma;

  TModeloInstVLIW* modelo;
  QTableView* grdInstrucciones;
  QPushButton* butAnadir;
  QPushButton* butEliminar;
  QPushButton* butLimpiar;
  QPushButton* butAceptar;
  QPushButton* butCancelar;
  QPushButton* butGuardar;
  // Instrucciones largas de la rejilla y cuántas de sus casillas están ocupadas.
  QLabel* labResumen;
  TdlgCantidad* dlgAnadir;  // vive con el editor: recuerda el último número
  TResaltado resaltado;
  int filaActual = -1;  // fila de la rejilla (pc) seleccionada tras el último ciclo, -1 si ninguna

signals:
  // aplicarCambios ha reconstruido el programa.
  void programaCambiado();
  // El programa se ha escrito en un fichero.
  void programaGuardado();

protected:
  // Mientras la máquina VLIW ejecuta, cerrar solo minimiza; si no, con ediciones
  // sin aceptar se pregunta antes qué hacer con ellas.
  void closeEvent(QCloseEvent* evento) override;
  bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
  void marcarModificado();
  void actualizarBotones();
  void ponerPista(const QString& pista);
  int anchoColumna() const;
  int filaActualRejilla() const;

  QWidget* contenido;
  QWidget* panBotones;
  bool modificado = false;
  bool coincide = false;
  bool bloqueada = false;
  bool colorearBloques = false;
};
