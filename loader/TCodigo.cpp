#include "loader/TCodigo.h"

#include "machine/TRegistros.h"

namespace {

// Lee dígitos decimales; false si el valor no cabe en un entero de 32 bits con signo.
bool leerNatural(const std::string& digitos, int32_t& valor) {
  int64_t v = 0;
  for (char c : digitos) {
    v = v * 10 + (c - '0');
    if (v > INT32_MAX) return false;
  }
  valor = static_cast<int32_t>(v);
  return true;
}

// Las etiquetas son ASCII: se comparan sin mayúsculas con un plegado propio,
// independiente de la configuración regional del proceso.
std::string clave(const std::string& etiqueta) {
  std::string k = etiqueta;
  for (char& c : k)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return k;
}

std::string encontrado(const TLexema& lex) {
  return lex.token == tokFin ? std::string(" y el fichero termina") : " y se encontró " + lex.texto;
}

}  // namespace

int32_t TCodigo::error(const TLexema& donde, const std::string& motivo) {
  numInstrucciones = 0;
  instrucciones.clear();
  etiquetas.clear();
  bloques.clear();
  numBloques = 0;
  lineas.clear();
  lineaError = donde.linea;
  columnaError = donde.columna;
  longitudError = static_cast<int32_t>(donde.texto.size());
  detalleError = "línea " + std::to_string(donde.linea) + ": " + motivo;
  return CARGA_ERRONEA;
}

int32_t TCodigo::cargar(const std::string& nombreFichero) {
  TScanner scanner;
  if (!scanner.abrir(nombreFichero)) {
    lineaError = 0;
    detalleError = "no se puede abrir el fichero";
    return CARGA_NO_ABRE;
  }
  const int32_t r = cargarDe(scanner);
  scanner.cerrar();
  return r;
}

int32_t TCodigo::cargarTexto(const std::string& texto) {
  TScanner scanner;
  scanner.abrirTexto(texto);
  return cargarDe(scanner);
}

int32_t TCodigo::cargarDe(TScanner& scanner) {
  numInstrucciones = 0;
  instrucciones.clear();
  etiquetas.clear();
  bloques.clear();
  numBloques = 0;
  lineaError = 0;
  detalleError.clear();
  columnaError = longitudError = 0;
  lineas.clear();

  TLexema lex = scanner.siguiente();
  if (lex.token != tokNumero) return error(lex, "falta el número de instrucciones");
  int32_t n = 0;
  if (!leerNatural(lex.texto, n)) return error(lex, "número demasiado grande: " + lex.texto);

  struct TSaltoPendiente {
    int32_t instruccion;
    std::string clave;
    TLexema etiqueta;  // el nombre en el salto, para señalarlo si no existe
  };
  std::vector<TSaltoPendiente> saltos;

  // Lee un operando de la forma pedida y deja su valor y su texto en la instrucción.
  auto leerOperando = [&](TInstruccion& ins, int k, TFormaOperando forma, std::string& motivo) {
    const TLexema o = scanner.siguiente();
    lex = o;
    auto registro = [&](char letra, int32_t& valor) {
      if (!leerNatural(o.texto.substr(1), valor)) {
        motivo = "número demasiado grande: " + o.texto;
        return false;
      }
      if (valor >= NUM_REGISTROS) {
        motivo = std::string("registro fuera de rango: ") + letra + o.texto.substr(1);
        return false;
      }
      return true;
    };
    switch (forma) {
      case formaNinguna: break;  // la tabla nunca pide leer un operando que no existe
      case formaRegR:
      case formaRegF: {
        const bool r = forma == formaRegR;
        if (o.token != (r ? tokRegR : tokRegF)) {
          motivo = std::string("se esperaba un registro ") + (r ? "R" : "F") + encontrado(o);
          return false;
        }
        if (!registro(r ? 'R' : 'F', ins.op[k])) return false;
        ins.textoOp[k] = o.texto;
        return true;
      }
      case formaInmediato:
        if (o.token != tokInmediato) {
          motivo = "se esperaba un inmediato (#n)" + encontrado(o);
          return false;
        }
        if (!leerNatural(o.texto.substr(1), ins.op[k])) {
          motivo = "número demasiado grande: " + o.texto;
          return false;
        }
        ins.textoOp[k] = o.texto;
        return true;
      case formaDireccion: {
        if (o.token != tokDireccion) {
          motivo = "se esperaba una dirección desplazamiento(Rn)" + encontrado(o);
          return false;
        }
        const size_t parentesis = o.texto.find('(');
        const std::string desplazamiento = o.texto.substr(0, parentesis);
        const std::string base = o.texto.substr(parentesis + 2, o.texto.size() - parentesis - 3);
        if (!leerNatural(desplazamiento, ins.op[1]) || !leerNatural(base, ins.op[2])) {
          motivo = "número demasiado grande: " + o.texto;
          return false;
        }
        if (ins.op[2] >= NUM_REGISTROS) {
          motivo = "registro fuera de rango: R" + base;
          return false;
        }
        ins.textoOp[1] = o.texto;
        return true;
      }
      case formaEtiqueta:
        if (o.token != tokIdent) {
          motivo = "se esperaba el nombre de una etiqueta" + encontrado(o);
          return false;
        }
        ins.textoOp[2] = o.texto;
        return true;
    }
    return false;
  };

  bool nuevoBloque = true;
  for (int32_t i = 0; i < n; ++i) {
    TInstruccion ins;
    ins.direccion = i;
    lex = scanner.siguiente();
    lineas.push_back(lex.linea);
    if (lex.token == tokFin)
      return error(lex, "faltan instrucciones: se esperaban " + std::to_string(n) +
                            " y el fichero termina tras " + std::to_string(i));
    if (lex.token == tokEtiqueta) {
      ++numBloques;
      ins.etiqueta = lex.texto;
      TBloqueBasico& b = etiquetas[clave(lex.texto)];
      if (b.primeraInstruccion != -1) return error(lex, "etiqueta repetida: " + lex.texto);
      b.primeraInstruccion = i;
      b.numero = numBloques - 1;
      bloques.push_back(b);
      lex = scanner.siguiente();
    } else if (nuevoBloque) {
      ++numBloques;
      bloques.push_back(TBloqueBasico{i, numBloques - 1});
    }
    nuevoBloque = false;

    if (lex.token != tokIdent)
      return error(lex, "se esperaba un código de operación" + encontrado(lex));
    ins.codOp = codigoDeMnemonico(lex.texto.data(), lex.texto.size());
    if (ins.codOp == COD_OP_NINGUNO)
      return error(lex, "código de operación desconocido: " + lex.texto);
    ins.textoCodOp = lex.texto;
    ins.bloque = numBloques - 1;

    const TDescripcionInstruccion& descripcion = descripcionDe(ins.codOp);
    std::string motivo;
    for (int k = 0; k < descripcion.numOperandos; ++k)
      if (!leerOperando(ins, k, descripcion.formas[static_cast<size_t>(k)], motivo)) return error(lex, motivo);

    if (esSalto(ins.codOp)) {
      const std::string k = clave(ins.textoOp[2]) + ":";
      etiquetas.emplace(k, TBloqueBasico{});  // solo crea la entrada si no existía
      saltos.push_back(TSaltoPendiente{i, k, lex});
      nuevoBloque = true;
    }
    instrucciones.push_back(std::move(ins));
  }

  for (const auto& s : saltos) {
    const TBloqueBasico& b = etiquetas[s.clave];
    if (b.primeraInstruccion == -1)
      return error(s.etiqueta, "el salto nombra una etiqueta que no existe: " +
                                   instrucciones[static_cast<size_t>(s.instruccion)].textoOp[2]);
    instrucciones[static_cast<size_t>(s.instruccion)].op[2] = b.numero;
  }
  numInstrucciones = n;
  return CARGA_OK;
}

TTipoUF TCodigo::tipoUF(int32_t i) const {
  return indiceValido(i) ? instrucciones[static_cast<size_t>(i)].tipoUnidad() : tufSumaEntera;
}

int32_t TCodigo::primeraDeBloque(int32_t n) const {
  if (n < 0 || n >= numBloques || n >= static_cast<int32_t>(bloques.size())) return -1;
  return bloques[static_cast<size_t>(n)].primeraInstruccion;
}
