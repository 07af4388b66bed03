#include "vliw/TCodigoVLIW.h"

#include <algorithm>
#include <fstream>
#include <ios>
#include <memory>
#include <sstream>

#include "machine/TRegistros.h"

namespace {

// Lee enteros decimales de 32 bits separados por cualquier blanco y cuenta las
// líneas, para decir dónde está lo que falla. Cualquier otro byte, un número
// que no cabe o el fin del fichero hacen fallar la lectura.
class TLectorEnteros {
public:
  enum TLectura : uint8_t { leido, fin, noNumero, fueraDeRango };

  explicit TLectorEnteros(std::istream& entrada) : buffer(entrada.rdbuf()) {}

  TLectura leer(int32_t& valor) {
    int c = buffer->sgetc();
    while (c != EOF && esBlanco(c)) {
      if (c == '\n') ++linea;
      buffer->sbumpc();
      c = buffer->sgetc();
    }
    if (c == EOF) return fin;
    lineaUltimo = linea;
    texto.clear();
    // Todo el texto hasta el siguiente blanco es el número: "12x" no lo es.
    bool negativo = false, digitos = false, malo = false;
    int64_t v = 0;
    // Límite del valor absoluto: uno más para los negativos (-2147483648).
    for (size_t i = 0; c != EOF && !esBlanco(c); ++i) {
      if (texto.size() < MAX_TEXTO) texto += esVisible(c) ? static_cast<char>(c) : '?';
      if (i == 0 && c == '-') {
        negativo = true;
      } else if (esDigito(c)) {
        digitos = true;
        v = std::min<int64_t>(v * 10 + (c - '0'), int64_t{1} << 40);  // sin desbordar: basta con saber que no cabe
      } else {
        malo = true;
      }
      buffer->sbumpc();
      c = buffer->sgetc();
    }
    if (malo || !digitos) return noNumero;
    if (v > (negativo ? 2147483648LL : 2147483647LL)) return fueraDeRango;
    valor = static_cast<int32_t>(negativo ? -v : v);
    return leido;
  }

  // Línea del último número leído, o del texto que no lo era.
  int32_t lineaLeida() const { return lineaUltimo; }
  // Ese texto, corto y sin bytes de control, para el mensaje.
  const std::string& encontrado() const { return texto; }

private:
  static constexpr size_t MAX_TEXTO = 20;
  std::streambuf* buffer;
  int32_t linea = 1;
  int32_t lineaUltimo = 1;
  std::string texto;

  static bool esBlanco(int c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
  }
  static bool esDigito(int c) { return c >= '0' && c <= '9'; }
  static bool esVisible(int c) { return c >= 0x20 && c != 0x7f; }
};

bool predicadoValido(int32_t p) { return p >= 0 && p < NUM_REGISTROS; }

// Un salto no puede escribir el registro de predicado 0, que siempre vale cierto.
bool predicadoDeSaltoValido(int32_t p) { return p > 0 && p < NUM_REGISTROS; }

std::string nombreTipo(int32_t tipo) { return nombresTipoUF[static_cast<size_t>(tipo)]; }

}  // namespace

// Los campos son públicos: también se acota por el tamaño real del vector.
TInstruccionLarga* TCodigoVLIW::instruccion(int64_t i) {
  if (i < 0 || i >= numInstrucciones || i >= static_cast<int64_t>(instrucciones.size())) return nullptr;
  return &instrucciones[static_cast<size_t>(i)];
}

const TInstruccionLarga* TCodigoVLIW::instruccion(int64_t i) const {
  if (i < 0 || i >= numInstrucciones || i >= static_cast<int64_t>(instrucciones.size())) return nullptr;
  return &instrucciones[static_cast<size_t>(i)];
}

void TCodigoVLIW::borrar() {
  instrucciones.clear();
  numInstrucciones = 0;
}

void TCodigoVLIW::crear(int32_t n) {
  borrar();
  if (n <= 0) return;
  instrucciones.resize(static_cast<size_t>(n));
  numInstrucciones = n;
}

bool TCodigoVLIW::cargar(const std::string& nombreFichero, const TCodigo& codigo) {
  borrar();
  std::ifstream entrada(nombreFichero, std::ios::binary);
  if (!entrada) {
    lineaError = 0;
    detalleError = "no se puede abrir el fichero";
    return false;
  }
  try {
    return cargar(entrada, codigo);
  } catch (const std::ios_base::failure&) {
    // El búfer del fichero lanza si la lectura falla (una carpeta, un disco
    // que desaparece): el programa queda vacío, como con cualquier error.
    borrar();
    lineaError = 0;
    detalleError = "no se puede leer el fichero";
    return false;
  }
}

bool TCodigoVLIW::cargar(std::istream& entrada, const TCodigo& codigo) {
  borrar();
  lineaError = 0;
  detalleError.clear();
  TLectorEnteros lector(entrada);

  auto fallar = [this](int32_t linea, const std::string& motivo) {
    borrar();
    lineaError = linea;
    detalleError = "línea " + std::to_string(linea) + ": " + motivo;
    return false;
  };
  // Lo que se esperaba y no llegó: el fin del fichero, o un texto que no es un número.
  auto faltaNumero = [&](TLectorEnteros::TLectura r, const std::string& esperado) {
    if (r == TLectorEnteros::fueraDeRango)
      return fallar(lector.lineaLeida(), "número demasiado grande: " + lector.encontrado());
    if (r == TLectorEnteros::noNumero)
      return fallar(lector.lineaLeida(), "se esperaba " + esperado + " y se encontró " + lector.encontrado());
    return fallar(lector.lineaLeida(), "el fichero acaba antes de tiempo: falta " + esperado);
  };

  int32_t n = 0;
  TLectorEnteros::TLectura r = lector.leer(n);
  if (r == TLectorEnteros::fin) {
    lineaError = 1;
    detalleError = "el fichero está vacío";
    return false;
  }
  if (r != TLectorEnteros::leido) return faltaNumero(r, "el número de instrucciones largas");
  if (n < 0) return fallar(lector.lineaLeida(), "número de instrucciones largas negativo: " + std::to_string(n));
  if (n > MAX_INSTRUCCIONES_LARGAS)
    return fallar(lector.lineaLeida(), "demasiadas instrucciones largas: " + std::to_string(n) + " (como mucho " +
                                           std::to_string(MAX_INSTRUCCIONES_LARGAS) + ")");
  crear(n);
  for (int32_t i = 0; i < n; ++i) {
    TInstruccionLarga& larga = instrucciones[static_cast<size_t>(i)];
    int32_t k = 0;
    if ((r = lector.leer(k)) == TLectorEnteros::fin)
      return fallar(lector.lineaLeida(), "se esperaban " + std::to_string(n) + " instrucciones largas y hay " +
                                             std::to_string(i));
    if (r != TLectorEnteros::leido)
      return faltaNumero(r, "el número de operaciones de la instrucción larga " + std::to_string(i));
    larga.linea = lector.lineaLeida();
    if (k < 0) return fallar(larga.linea, "número de operaciones negativo: " + std::to_string(k));
    if (k > MAX_OPERACIONES_LARGA)
      return fallar(larga.linea, "demasiadas operaciones: " + std::to_string(k) + " (como mucho " +
                                     std::to_string(MAX_OPERACIONES_LARGA) + ")");
    int32_t lineaAnterior = larga.linea;
    for (int32_t j = 0; j < k; ++j) {
      // Cada instrucción larga va en su línea: si la operación j empieza en
      // otra y la anterior estaba en la suya, a la línea le faltan operaciones
      // (lo que falle después, leyendo la línea siguiente, no diría nada útil).
      int32_t lineaOperacion = lineaAnterior;
      auto fallo = [&](int32_t linea, const std::string& motivo) {
        if (j > 0 && lineaAnterior == larga.linea && lineaOperacion > larga.linea)
          return fallar(larga.linea, "se esperaban " + std::to_string(k) + " operaciones y hay " + std::to_string(j));
        return fallar(linea, motivo);
      };
      auto comprobar = [&](TLectorEnteros::TLectura leida, const char* nombre) {
        if (leida == TLectorEnteros::leido) return true;
        // Con el mismo texto que faltaNumero, pero pasando por «fallo».
        const std::string esperado = std::string(nombre) + " de la operación " + std::to_string(j);
        if (leida == TLectorEnteros::fueraDeRango)
          fallo(lector.lineaLeida(), "número demasiado grande: " + lector.encontrado());
        else if (leida == TLectorEnteros::noNumero)
          fallo(lector.lineaLeida(), "se esperaba " + esperado + " y se encontró " + lector.encontrado());
        else
          fallo(lector.lineaLeida(), "el fichero acaba antes de tiempo: falta " + esperado);
        return false;
      };
      auto campo = [&](int32_t& valor, const char* nombre) { return comprobar(lector.leer(valor), nombre); };

      int32_t direccion = 0, tipo = 0, unidad = 0, predicado = 0;
      const TLectorEnteros::TLectura primera = lector.leer(direccion);
      if (primera == TLectorEnteros::fin)
        return fallar(larga.linea, "se esperaban " + std::to_string(k) + " operaciones y hay " + std::to_string(j));
      if (!comprobar(primera, "la instrucción")) return false;
      lineaOperacion = lector.lineaLeida();
      if (!campo(tipo, "el tipo de unidad") || !campo(unidad, "la unidad") || !campo(predicado, "el predicado"))
        return false;
      const int32_t linea = lector.lineaLeida();
      if (!codigo.indiceValido(direccion))
        return fallo(linea, "la instrucción " + std::to_string(direccion) + " no está en el programa fuente, que tiene " +
                                std::to_string(codigo.numInstrucciones));
      if (tipo < 0 || tipo >= NUM_TIPOS_UF) return fallo(linea, "tipo de unidad no válido: " + std::to_string(tipo));
      const TInstruccion& secuencial = codigo.instrucciones[static_cast<size_t>(direccion)];
      if (tipo != codigo.tipoUF(direccion))
        return fallo(linea, "la instrucción " + std::to_string(direccion) + " (" + secuencial.texto() +
                                ") va en una unidad " + nombreTipo(codigo.tipoUF(direccion)) + ", no " +
                                nombreTipo(tipo));
      if (unidad < 0) return fallo(linea, "unidad no válida: " + nombreTipo(tipo) + " " + std::to_string(unidad));
      if (!predicadoValido(predicado))
        return fallo(linea, "registro de predicado no válido: " + std::to_string(predicado));
      for (const auto& otra : larga.operaciones)
        if (otra->tipoUF == tipo && otra->numUnidad == unidad)
          return fallo(linea, "la unidad " + nombreTipo(tipo) + " " + std::to_string(unidad) +
                                  " tiene dos operaciones en la instrucción larga " + std::to_string(i));

      auto operacion = std::make_unique<TOperacionVLIW>(secuencial);
      operacion->tipoUF = static_cast<int8_t>(tipo);
      operacion->numUnidad = unidad;
      operacion->predicado = predicado;
      if (esSalto(operacion->codOp)) {
        if (!campo(operacion->op[2], "el destino del salto") ||
            !campo(operacion->predVerdadero, "el predicado verdadero del salto") ||
            !campo(operacion->predFalso, "el predicado falso del salto"))
          return false;
        for (int32_t p : {operacion->predVerdadero, operacion->predFalso})
          if (!predicadoDeSaltoValido(p))
            return fallo(lector.lineaLeida(),
                         "registro de predicado de un salto no válido: " + std::to_string(p) + " (de 1 a 63)");
      }
      larga.anadir(std::move(operacion));
      lineaAnterior = lineaOperacion;
    }
  }
  return true;
}

bool TCodigoVLIW::guardar(const std::string& nombreFichero) const {
  TEscrituraSegura escritura;
  return guardar(nombreFichero, escritura) == ESCRITURA_OK;
}

int32_t TCodigoVLIW::guardar(const std::string& nombreFichero, TEscrituraSegura& escritura) const {
  std::ostringstream texto;
  if (!guardar(texto)) {
    escritura.motivo = "el programa VLIW no está completo";
    return ESCRITURA_FALLA;
  }
  return escritura.escribir(nombreFichero, texto.str());
}

bool TCodigoVLIW::guardar(std::ostream& salida) const {
  salida << numInstrucciones << '\n';
  for (int32_t i = 0; i < numInstrucciones; ++i) {
    const TInstruccionLarga* p = instruccion(i);
    if (p == nullptr) return false;
    const TInstruccionLarga& larga = *p;
    int32_t k = 0;
    for (const auto& operacion : larga.operaciones)
      if (operacion) ++k;
    salida << k;
    for (const auto& operacion : larga.operaciones) {
      if (!operacion) continue;
      const TOperacionVLIW& o = *operacion;
      salida << '\t' << o.direccion << ' ' << static_cast<int>(o.tipoUF) << ' ' << o.numUnidad << ' '
             << o.predicado;
      if (esSalto(o.codOp)) salida << ' ' << o.op[2] << ' ' << o.predVerdadero << ' ' << o.predFalso;
    }
    salida << '\n';
  }
  return !salida.fail();
}
