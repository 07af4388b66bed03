#pragma once
// El juego de instrucciones en una tabla: una fila constante por código de
// operación con lo que necesitan el cargador, las dos máquinas, el intérprete
// de referencia y las comprobaciones VLIW. Las filas se leen por índice, sin
// búsquedas, para que consultarlas no cueste nada en el ciclo de las máquinas.

#include <array>
#include <cstddef>
#include <cstdint>

#include "machine/TTipos.h"

// Dónde vive un operando fuente o el destino.
enum TBanco : int8_t {
  bancoNinguno = 0,  // la instrucción no tiene ese operando
  bancoGPR = 1,
  bancoFPR = 2,
  bancoInmediato = 3,  // el valor es el propio campo op[] (el #n de DADDUI)
};

// Clase de token que espera cada operando escrito en el fuente.
enum TFormaOperando : int8_t {
  formaNinguna = 0,
  formaRegR = 1,       // R0 … R63
  formaRegF = 2,       // F0 … F63
  formaInmediato = 3,  // #n
  formaDireccion = 4,  // k(Rb) o (Rb): llena op[1] y op[2]
  formaEtiqueta = 5,   // nombre de una etiqueta: op[2] será su bloque
};

// Lo que hace la operación con sus fuentes.
enum TSemantica : int8_t {
  semNada = 0,
  semSuma = 1,
  semProducto = 2,
  semAlmacenar = 3,  // j es el valor que se guarda, k la base
  semCargar = 4,     // k es la base
  semSaltoDistintos = 5,
  semSaltoIguales = 6,
};

// Un operando: banco y campo de op[] (−1 si no hay operando).
struct TOperando {
  TBanco banco = bancoNinguno;
  int8_t campo = -1;

  constexpr bool esRegistro() const { return banco == bancoGPR || banco == bancoFPR; }
  constexpr bool flotante() const { return banco == bancoFPR; }
};

constexpr int MAX_OPERANDOS_ESCRITOS = 3;

struct TDescripcionInstruccion {
  const char* mnemonico;
  TTipoUF tipoUF;
  int8_t numOperandos;  // operandos escritos en el fuente
  std::array<TFormaOperando, MAX_OPERANDOS_ESCRITOS> formas;
  // Fuentes en el orden j, k de las estaciones de reserva; las mismas son las
  // que prueba el bit NaT y las dependencias de la VLIW.
  TOperando fuenteJ;
  TOperando fuenteK;
  TOperando destino;
  int8_t campoA;  // campo que va al «A» de la estación (desplazamiento o bloque destino), −1 si ninguno
  TSemantica semantica;

  constexpr bool escribeRegistro() const { return destino.esRegistro(); }
  constexpr bool esCarga() const { return semantica == semCargar; }
  constexpr bool esAlmacenamiento() const { return semantica == semAlmacenar; }
  constexpr bool accedeAMemoria() const { return esCarga() || esAlmacenamiento(); }
  constexpr bool esSalto() const { return semantica == semSaltoDistintos || semantica == semSaltoIguales; }
};

namespace juego_detalle {
constexpr TOperando R(int8_t campo) { return {bancoGPR, campo}; }
constexpr TOperando F(int8_t campo) { return {bancoFPR, campo}; }
constexpr TOperando inmediato(int8_t campo) { return {bancoInmediato, campo}; }
constexpr TOperando ninguno() { return {}; }
constexpr std::array<TFormaOperando, 3> formas(TFormaOperando a, TFormaOperando b, TFormaOperando c) {
  return {a, b, c};
}
}  // namespace juego_detalle

// Indexada por TCodOp. La fila NOP sirve también para cualquier código fuera de rango.
constexpr std::array<TDescripcionInstruccion, NUM_COD_OP> juegoInstrucciones = [] {
  using namespace juego_detalle;
  return std::array<TDescripcionInstruccion, NUM_COD_OP>{{
      {"NOP", tufSumaEntera, 0, formas(formaNinguna, formaNinguna, formaNinguna), ninguno(), ninguno(),
       ninguno(), -1, semNada},
      {"ADDI", tufSumaEntera, 3, formas(formaRegR, formaRegR, formaRegR), R(1), R(2), R(0), -1, semSuma},
      {"ADDF", tufSumaFlotante, 3, formas(formaRegF, formaRegF, formaRegF), F(1), F(2), F(0), -1, semSuma},
      {"DADDUI", tufSumaEntera, 3, formas(formaRegR, formaRegR, formaInmediato), R(1), inmediato(2), R(0), -1,
       semSuma},
      {"MULTI", tufMultEntera, 3, formas(formaRegR, formaRegR, formaRegR), R(1), R(2), R(0), -1, semProducto},
      {"MULTF", tufMultFlotante, 3, formas(formaRegF, formaRegF, formaRegF), F(1), F(2), F(0), -1, semProducto},
      {"SI", tufMemoria, 2, formas(formaRegR, formaDireccion, formaNinguna), R(0), R(2), ninguno(), 1,
       semAlmacenar},
      {"SF", tufMemoria, 2, formas(formaRegF, formaDireccion, formaNinguna), F(0), R(2), ninguno(), 1,
       semAlmacenar},
      {"LI", tufMemoria, 2, formas(formaRegR, formaDireccion, formaNinguna), ninguno(), R(2), R(0), 1, semCargar},
      {"LF", tufMemoria, 2, formas(formaRegF, formaDireccion, formaNinguna), ninguno(), R(2), F(0), 1, semCargar},
      {"BNE", tufSalto, 3, formas(formaRegR, formaRegR, formaEtiqueta), R(0), R(1), ninguno(), 2,
       semSaltoDistintos},
      {"BEQ", tufSalto, 3, formas(formaRegR, formaRegR, formaEtiqueta), R(0), R(1), ninguno(), 2,
       semSaltoIguales},
  }};
}();

// Fila de un código; los códigos fuera de rango (solo en programas hechos a
// mano) se tratan como NOP, que no lee ni escribe nada y va a +Entera.
constexpr const TDescripcionInstruccion& descripcionDe(int32_t codOp) {
  return juegoInstrucciones[codOp >= 0 && codOp < NUM_COD_OP ? static_cast<size_t>(codOp) : 0];
}

// Los códigos de una clase como bits de una máscara, sacados de la tabla al
// compilar: las preguntas que se hacen recorriendo las estaciones cuestan una
// comparación y un desplazamiento, sin leer la tabla.
static_assert(NUM_COD_OP <= 32, "un código por bit de la máscara");
template <typename Pregunta>
constexpr uint32_t mascaraDe(Pregunta pregunta) {
  uint32_t m = 0;
  for (size_t c = 0; c < juegoInstrucciones.size(); ++c)
    if (pregunta(juegoInstrucciones[c])) m |= 1u << c;
  return m;
}
constexpr uint32_t MASCARA_SALTOS = mascaraDe([](const TDescripcionInstruccion& d) { return d.esSalto(); });
constexpr uint32_t MASCARA_CARGAS = mascaraDe([](const TDescripcionInstruccion& d) { return d.esCarga(); });
constexpr uint32_t MASCARA_ALMACENAMIENTOS =
    mascaraDe([](const TDescripcionInstruccion& d) { return d.esAlmacenamiento(); });
constexpr bool enMascara(uint32_t mascara, int32_t codOp) {
  return static_cast<uint32_t>(codOp) < NUM_COD_OP && ((mascara >> codOp) & 1u) != 0;
}

// Tipo de unidad de un código de operación; cualquier valor desconocido va a +Entera.
constexpr TTipoUF tipoUFDe(int32_t codOp) { return descripcionDe(codOp).tipoUF; }
constexpr bool esSalto(int32_t codOp) { return enMascara(MASCARA_SALTOS, codOp); }
constexpr bool esCarga(int32_t codOp) { return enMascara(MASCARA_CARGAS, codOp); }
constexpr bool esAlmacenamiento(int32_t codOp) { return enMascara(MASCARA_ALMACENAMIENTOS, codOp); }

// Código del mnemónico escrito exactamente así (mayúsculas), o COD_OP_NINGUNO.
// NOP existe en la máquina pero no se puede escribir.
int32_t codigoDeMnemonico(const char* texto, size_t longitud);
