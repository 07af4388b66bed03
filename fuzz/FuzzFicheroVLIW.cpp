// Objetivo de fuzzing del lector de programas VLIW (*.vliw) frente a un programa
// secuencial fijo: cualquier secuencia de bytes. Un programa leído cumple lo que
// el lector promete, se escribe y se vuelve a leer igual, y la máquina lo
// comprueba y lo ejecuta sin salirse de sus estructuras; uno rechazado deja el
// programa vacío.

#include <algorithm>
#include <sstream>
#include <string>

#include "fuzz/Comun.h"
#include "loader/TCodigo.h"
#include "vliw/TMaquinaVLIW.h"

namespace {

// Las catorce primeras instrucciones son las de examples/vector_suma.pla, para
// que su planificación sirva de semilla; las demás completan las operaciones.
const char* const SECUENCIAL =
    "19\n"
    "DADDUI R1 R0 #0\n"
    "DADDUI R2 R0 #8\n"
    "DADDUI R3 R0 #3\n"
    "SI R3 100(R0)\n"
    "LF F2 100(R0)\n"
    "INIT: SI R1 0(R1)\n"
    "DADDUI R1 R1 #1\n"
    "BNE R1 R2 INIT\n"
    "DADDUI R1 R0 #0\n"
    "LOOP: LF F0 0(R1)\n"
    "ADDF F4 F0 F2\n"
    "SF F4 0(R1)\n"
    "DADDUI R1 R1 #1\n"
    "BNE R1 R2 LOOP\n"
    "MULTI R4 R2 R2\n"
    "MULTF F5 F4 F4\n"
    "LI R5 3(R1)\n"
    "ADDI R6 R5 R4\n"
    "BEQ R6 R0 INIT\n";

const TCodigo& secuencial() {
  static const TCodigo c = [] {
    TCodigo k;
    if (k.cargarTexto(SECUENCIAL) != CARGA_OK) fuzz::fallar("el programa secuencial fijo no carga");
    return k;
  }();
  return c;
}

void comprobarLeido(const TCodigoVLIW& p, const TCodigo& c) {
  fuzz::exigir(p.numInstrucciones >= 0 && static_cast<size_t>(p.numInstrucciones) == p.instrucciones.size(),
               "número de instrucciones largas");
  for (int32_t i = 0; i < p.numInstrucciones; ++i) {
    const TInstruccionLarga& larga = *p.instruccion(i);
    fuzz::exigir(!larga.breakpoint, "punto de ruptura leído de un fichero");
    fuzz::exigir(larga.numOperaciones() <= MAX_OPERACIONES_LARGA, "demasiadas operaciones");
    for (size_t k = 0; k < larga.operaciones.size(); ++k) {
      const TOperacionVLIW& o = *larga.operaciones[k];
      const std::string donde = "instrucción larga " + std::to_string(i) + ": ";
      fuzz::exigir(c.indiceValido(o.direccion), donde + "dirección fuera del programa");
      fuzz::exigir(o.tipoUF == c.tipoUF(o.direccion) && o.codOp == c.instrucciones[static_cast<size_t>(o.direccion)].codOp,
                   donde + "operación que no es copia de su instrucción");
      fuzz::exigir(o.numUnidad >= 0 && o.predicado >= 0 && o.predicado < NUM_REGISTROS, donde + "unidad o guarda");
      if (esSalto(o.codOp))
        fuzz::exigir(o.predVerdadero > 0 && o.predVerdadero < NUM_REGISTROS && o.predFalso > 0 &&
                         o.predFalso < NUM_REGISTROS,
                     donde + "predicados de salto");
      else
        fuzz::exigir(o.predVerdadero == 0 && o.predFalso == 0 && o.op[2] == c.instrucciones[static_cast<size_t>(o.direccion)].op[2],
                     donde + "campos de salto en una operación que no lo es");
      for (size_t j = 0; j < k; ++j)
        fuzz::exigir(larga.operaciones[j]->tipoUF != o.tipoUF || larga.operaciones[j]->numUnidad != o.numUnidad,
                     donde + "dos operaciones en la misma unidad");
    }
  }
}

bool iguales(const TCodigoVLIW& a, const TCodigoVLIW& b) {
  if (a.numInstrucciones != b.numInstrucciones) return false;
  for (int32_t i = 0; i < a.numInstrucciones; ++i) {
    const auto& x = a.instruccion(i)->operaciones;
    const auto& y = b.instruccion(i)->operaciones;
    if (x.size() != y.size()) return false;
    for (size_t k = 0; k < x.size(); ++k)
      if (x[k]->direccion != y[k]->direccion || x[k]->tipoUF != y[k]->tipoUF || x[k]->numUnidad != y[k]->numUnidad ||
          x[k]->predicado != y[k]->predicado || x[k]->op[2] != y[k]->op[2] ||
          x[k]->predVerdadero != y[k]->predVerdadero || x[k]->predFalso != y[k]->predFalso)
        return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, size_t tam) {
  const TCodigo& c = secuencial();
  TMaquinaVLIW m;
  m.memoria.sembrar(static_cast<uint32_t>(tam));
  m.memoria.porcentajeFallos = static_cast<int32_t>(tam % 101);
  std::istringstream entrada(std::string(reinterpret_cast<const char*>(datos), tam));
  if (!m.codigo.cargar(entrada, c)) {
    fuzz::exigir(m.codigo.numInstrucciones == 0 && m.codigo.instrucciones.empty(),
                 "una lectura fallida deja un programa a medias");
    // Siempre dice por qué, en una línea de un mensaje y nunca más allá del fichero.
    const std::string& detalle = m.codigo.detalleError;
    fuzz::exigir(!detalle.empty() && detalle.find('\n') == std::string::npos && detalle.find('\0') == std::string::npos,
                 "una lectura fallida sin su motivo en una línea");
    fuzz::exigir(m.codigo.lineaError >= 1 &&
                     m.codigo.lineaError <= 1 + std::count(reinterpret_cast<const char*>(datos),
                                                           reinterpret_cast<const char*>(datos) + tam, '\n'),
                 "una lectura fallida con una línea que no está en el fichero");
    return 0;
  }
  fuzz::exigir(m.codigo.detalleError.empty(), "una lectura buena con motivo de fallo");
  comprobarLeido(m.codigo, c);

  std::ostringstream escrito;
  fuzz::exigir(m.codigo.guardar(escrito), "no se puede escribir");
  TCodigoVLIW releido;
  std::istringstream otra(escrito.str());
  fuzz::exigir(releido.cargar(otra, c) && iguales(m.codigo, releido), "escribir y volver a leer cambia el programa");
  std::ostringstream reescrito;
  releido.guardar(reescrito);
  fuzz::exigir(reescrito.str() == escrito.str(), "escribir dos veces da textos distintos");

  if (m.comprobarConfiguracion() != CHEQUEO_OK) return 0;  // la interfaz lo rechaza aquí
  int32_t larga = 0, operacion = 0;
  const int32_t chequeo = m.comprobarCodigo(larga, operacion);
  if (chequeo != CHEQUEO_OK)
    fuzz::exigir(m.codigo.instruccion(larga) != nullptr && c.indiceValido(operacion),
                 "el comprobador señala una posición que no existe");
  // Se ejecuta aunque el comprobador avise, como permite la interfaz.
  m.reset(true);
  int8_t r = CICLO_NORMAL;
  for (int i = 0; i < 3000 && r != CICLO_COMPLETADO && r != CICLO_ERROR; ++i) r = m.ejecutarCiclo();
  if (r == CICLO_COMPLETADO)
    for (int k = 0; k < NUM_REGISTROS; ++k)
      fuzz::exigir(!m.natGPR[static_cast<size_t>(k)] && !m.natFPR[static_cast<size_t>(k)],
                   "bit NaT puesto con todas las unidades vacías");
  return 0;
}
