// Objetivo de fuzzing del analizador léxico y del cargador de programas fuente:
// cualquier secuencia de bytes. Los tokens son trozos del texto, en orden y con
// la forma de su clase; un programa cargado cumple todo lo que las máquinas y
// las vistas dan por hecho; uno rechazado no deja nada a medias.

#include <string>
#include <vector>

#include "fuzz/Comun.h"
#include "loader/TCodigo.h"
#include "loader/TScanner.h"
#include "machine/TRegistros.h"

namespace {

bool letra(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
bool digito(char c) { return c >= '0' && c <= '9'; }

bool digitosDesde(const std::string& t, size_t i, size_t fin) {
  if (i >= fin) return false;
  for (size_t k = i; k < fin; ++k)
    if (!digito(t[k])) return false;
  return true;
}

bool identificador(const std::string& t, size_t fin) {
  if (fin == 0 || !letra(t[0])) return false;
  for (size_t k = 1; k < fin; ++k)
    if (!letra(t[k]) && !digito(t[k])) return false;
  return true;
}

bool conForma(const TLexema& l) {
  const std::string& t = l.texto;
  const size_t n = t.size();
  switch (l.token) {
    case tokInmediato: return t[0] == '#' && digitosDesde(t, 1, n);
    case tokRegF: return (t[0] == 'F' || t[0] == 'f') && digitosDesde(t, 1, n);
    case tokRegR: return (t[0] == 'R' || t[0] == 'r') && digitosDesde(t, 1, n);
    case tokIdent: return identificador(t, n);
    case tokEtiqueta: return t[n - 1] == ':' && identificador(t, n - 1);
    case tokNumero: return digitosDesde(t, 0, n);
    case tokDireccion: {
      const size_t p = t.find('(');
      return p != std::string::npos && (p == 0 || digitosDesde(t, 0, p)) && n >= p + 4 &&
             (t[p + 1] == 'R' || t[p + 1] == 'r') && t[n - 1] == ')' && digitosDesde(t, p + 2, n - 1);
    }
    default: return false;
  }
}

// Posición de cada principio de línea (la línea 1 empieza en 0).
std::vector<size_t> iniciosDeLinea(const std::string& texto) {
  std::vector<size_t> inicios{0};
  for (size_t i = 0; i < texto.size(); ++i)
    if (texto[i] == '\n') inicios.push_back(i + 1);
  return inicios;
}

// Posición en el texto de (línea, columna), o npos si no cae dentro de esa línea
// (la columna que sigue al último carácter de la línea todavía vale).
size_t posicion(const std::string& texto, const std::vector<size_t>& inicios, int linea, int columna) {
  if (linea < 1 || static_cast<size_t>(linea) > inicios.size() || columna < 1) return std::string::npos;
  const size_t inicio = inicios[static_cast<size_t>(linea - 1)];
  const size_t fin = static_cast<size_t>(linea) < inicios.size() ? inicios[static_cast<size_t>(linea)] - 1 : texto.size();
  const size_t p = inicio + static_cast<size_t>(columna - 1);
  return p <= fin ? p : std::string::npos;
}

void comprobarScanner(const std::string& texto) {
  const std::vector<size_t> inicios = iniciosDeLinea(texto);
  TScanner s;
  s.abrirTexto(texto);
  size_t pos = 0;
  for (size_t cuenta = 0;; ++cuenta) {
    fuzz::exigir(cuenta <= texto.size(), "más tokens que bytes");
    const TLexema l = s.siguiente();
    if (l.token == tokFin) break;
    fuzz::exigir(!l.texto.empty() && conForma(l), "token " + std::to_string(l.token) + " sin su forma: " + l.texto);
    // Su línea y su columna lo sitúan en el texto, detrás del anterior.
    const size_t donde = posicion(texto, inicios, l.linea, l.columna);
    fuzz::exigir(donde != std::string::npos && donde >= pos && texto.compare(donde, l.texto.size(), l.texto) == 0,
                 "token que no está donde dicen su línea y su columna: " + l.texto);
    pos = donde + l.texto.size();
  }
  const TLexema fin = s.siguiente();
  fuzz::exigir(fin.token == tokFin, "el fin de fichero no se repite");
  fuzz::exigir(posicion(texto, inicios, fin.linea, fin.columna) != std::string::npos, "fin de fichero fuera del texto");
}

void comprobarPrograma(const TCodigo& c) {
  fuzz::exigir(c.numInstrucciones >= 0 && static_cast<size_t>(c.numInstrucciones) == c.instrucciones.size(),
               "número de instrucciones");
  fuzz::exigir(c.numBloques == static_cast<int32_t>(c.bloques.size()), "número de bloques");
  fuzz::exigir((c.numInstrucciones == 0) == (c.numBloques == 0), "bloques de un programa vacío");
  for (int32_t b = 0; b < c.numBloques; ++b) {
    const TBloqueBasico& k = c.bloques[static_cast<size_t>(b)];
    fuzz::exigir(k.numero == b && c.indiceValido(k.primeraInstruccion), "bloque mal numerado");
    fuzz::exigir(b == 0 || c.bloques[static_cast<size_t>(b - 1)].primeraInstruccion < k.primeraInstruccion,
                 "bloques fuera de orden");
    fuzz::exigir(c.instrucciones[static_cast<size_t>(k.primeraInstruccion)].bloque == b,
                 "la primera instrucción de un bloque está en otro");
  }
  auto registro = [](int32_t r) { return TRegistros<int32_t>::indiceValido(r); };
  for (int32_t i = 0; i < c.numInstrucciones; ++i) {
    const TInstruccion& ins = c.instrucciones[static_cast<size_t>(i)];
    const std::string donde = "instrucción " + std::to_string(i) + ": ";
    fuzz::exigir(ins.direccion == i, donde + "dirección");
    fuzz::exigir(ins.codOp >= ADDI && ins.codOp <= BEQ, donde + "código de operación");
    fuzz::exigir(ins.bloque >= 0 && ins.bloque < c.numBloques, donde + "bloque");
    if (i > 0) {
      const TInstruccion& ant = c.instrucciones[static_cast<size_t>(i - 1)];
      const bool empieza = !ins.etiqueta.empty() || esSalto(ant.codOp);
      fuzz::exigir(ins.bloque == ant.bloque + (empieza ? 1 : 0), donde + "bloque que no sigue al anterior");
    } else {
      fuzz::exigir(ins.bloque == 0, donde + "el primer bloque no es el 0");
    }
    fuzz::exigir(registro(ins.op[0]), donde + "registro op[0]");
    switch (ins.codOp) {
      case ADDI:
      case MULTI:
      case ADDF:
      case MULTF: fuzz::exigir(registro(ins.op[1]) && registro(ins.op[2]), donde + "registros"); break;
      case DADDUI: fuzz::exigir(registro(ins.op[1]) && ins.op[2] >= 0, donde + "inmediato"); break;
      case BNE:
      case BEQ: {
        fuzz::exigir(registro(ins.op[1]), donde + "registro op[1]");
        const int32_t destino = c.primeraDeBloque(ins.op[2]);
        fuzz::exigir(c.indiceValido(destino), donde + "destino de salto sin bloque");
        // El destino es la instrucción etiquetada con la etiqueta que nombra el salto.
        const std::string& e = c.instrucciones[static_cast<size_t>(destino)].etiqueta;
        fuzz::exigir(e.size() == ins.textoOp[2].size() + 1, donde + "destino con otra etiqueta");
        break;
      }
      default: fuzz::exigir(registro(ins.op[2]) && ins.op[1] >= 0, donde + "dirección de memoria"); break;
    }
    fuzz::exigir(!ins.texto().empty(), donde + "texto vacío");
  }
  fuzz::exigir(c.primeraDeBloque(c.numBloques) == -1 && c.primeraDeBloque(-1) == -1, "primeraDeBloque fuera de rango");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, size_t tam) {
  const std::string texto(reinterpret_cast<const char*>(datos), tam);
  comprobarScanner(texto);

  TCodigo c;
  const int32_t r = c.cargarTexto(texto);
  if (r != CARGA_OK) {
    fuzz::exigir(r == CARGA_ERRONEA, "resultado de carga desconocido");
    fuzz::exigir(c.numInstrucciones == 0 && c.instrucciones.empty() && c.numBloques == 0 && c.bloques.empty(),
                 "una carga fallida deja un programa a medias");
    fuzz::exigir(!c.detalleError.empty(), "una carga fallida sin explicación");
    const size_t p = posicion(texto, iniciosDeLinea(texto), c.lineaError, c.columnaError);
    fuzz::exigir(p != std::string::npos && c.longitudError >= 0 &&
                     texto.substr(p, static_cast<size_t>(c.longitudError)).find('\n') == std::string::npos &&
                     p + static_cast<size_t>(c.longitudError) <= texto.size(),
                 "el token del error no está en su línea");
    return 0;
  }
  comprobarPrograma(c);
  fuzz::exigir(c.lineas.size() == c.instrucciones.size(), "una línea por instrucción");
  for (size_t i = 1; i < c.lineas.size(); ++i)
    fuzz::exigir(c.lineas[i - 1] <= c.lineas[i], "instrucciones en líneas que retroceden");
  // Cargar dos veces el mismo texto da el mismo programa.
  TCodigo otra;
  fuzz::exigir(otra.cargarTexto(texto) == CARGA_OK && otra.numInstrucciones == c.numInstrucciones &&
                   otra.numBloques == c.numBloques,
               "la carga no es determinista");
  for (int32_t i = 0; i < c.numInstrucciones; ++i)
    fuzz::exigir(otra.instrucciones[static_cast<size_t>(i)].texto() == c.instrucciones[static_cast<size_t>(i)].texto(),
                 "la carga no es determinista");
  return 0;
}
