#include "vliw/TCodigoVLIW.h"

#include <fstream>
#include <memory>
#include <sstream>

#include "machine/TRegistros.h"

namespace {

// Lee enteros decimales de 32 bits separados por cualquier blanco. Cualquier otro
// byte, un número que no cabe o el fin del fichero hacen fallar la lectura.
class TLectorEnteros {
public:
  explicit TLectorEnteros(std::istream& entrada) : buffer(entrada.rdbuf()) {}

  bool leer(int32_t& valor) {
    int c = buffer->sbumpc();
    while (c != EOF && esBlanco(c)) c = buffer->sbumpc();
    if (c == EOF) return false;
    const bool negativo = c == '-';
    if (negativo) c = buffer->sbumpc();
    if (!esDigito(c)) return false;
    // Límite del valor absoluto: uno más para los negativos (-2147483648).
    const int64_t limite = negativo ? 2147483648LL : 2147483647LL;
    int64_t v = 0;
    while (esDigito(c)) {
      v = v * 10 + (c - '0');
      if (v > limite) return false;
      c = buffer->sbumpc();
    }
    // El número acaba en un blanco o en el fin: "12x" no es un número.
    if (c != EOF && !esBlanco(c)) return false;
    valor = static_cast<int32_t>(negativo ? -v : v);
    return true;
  }

private:
  std::streambuf* buffer;

  static bool esBlanco(int c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
  }
  static bool esDigito(int c) { return c >= '0' && c <= '9'; }
};

bool predicadoValido(int32_t p) { return p >= 0 && p < NUM_REGISTROS; }

// Un salto no puede escribir el registro de predicado 0, que siempre vale cierto.
bool predicadoDeSaltoValido(int32_t p) { return p > 0 && p < NUM_REGISTROS; }

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
  if (!entrada) return false;
  return cargar(entrada, codigo);
}

bool TCodigoVLIW::cargar(std::istream& entrada, const TCodigo& codigo) {
  borrar();
  TLectorEnteros lector(entrada);

  auto fallar = [this] {
    borrar();
    return false;
  };

  int32_t n = 0;
  if (!lector.leer(n) || n < 0 || n > MAX_INSTRUCCIONES_LARGAS) return fallar();
  crear(n);
  for (int32_t i = 0; i < n; ++i) {
    TInstruccionLarga& larga = instrucciones[static_cast<size_t>(i)];
    int32_t k = 0;
    if (!lector.leer(k) || k < 0 || k > MAX_OPERACIONES_LARGA) return fallar();
    for (int32_t j = 0; j < k; ++j) {
      int32_t direccion = 0, tipo = 0, unidad = 0, predicado = 0;
      if (!lector.leer(direccion) || !lector.leer(tipo) || !lector.leer(unidad) ||
          !lector.leer(predicado))
        return fallar();
      if (!codigo.indiceValido(direccion) || tipo != codigo.tipoUF(direccion) || unidad < 0 ||
          !predicadoValido(predicado))
        return fallar();
      for (const auto& otra : larga.operaciones)
        if (otra->tipoUF == tipo && otra->numUnidad == unidad) return fallar();

      auto operacion =
          std::make_unique<TOperacionVLIW>(codigo.instrucciones[static_cast<size_t>(direccion)]);
      operacion->tipoUF = static_cast<int8_t>(tipo);
      operacion->numUnidad = unidad;
      operacion->predicado = predicado;
      if (esSalto(operacion->codOp)) {
        if (!lector.leer(operacion->op[2]) || !lector.leer(operacion->predVerdadero) ||
            !lector.leer(operacion->predFalso))
          return fallar();
        if (!predicadoDeSaltoValido(operacion->predVerdadero) ||
            !predicadoDeSaltoValido(operacion->predFalso))
          return fallar();
      }
      larga.anadir(std::move(operacion));
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
