#pragma once
// Programa VLIW: secuencia de instrucciones largas, y su fichero *.vliw.

#include <cstdint>
#include <istream>
#include <ostream>
#include <string>
#include <vector>

#include "loader/TCodigo.h"
#include "machine/TEscrituraSegura.h"
#include "machine/TMaquina.h"
#include "vliw/TInstruccionLarga.h"

// Cotas del lector, para que un fichero absurdo no agote la memoria: ninguna
// configuración tiene más unidades que MAX_OPERACIONES_LARGA.
constexpr int32_t MAX_INSTRUCCIONES_LARGAS = 100000;
constexpr int32_t MAX_OPERACIONES_LARGA = NUM_TIPOS_UF * MAX_UF;

class TCodigoVLIW {
public:
  std::vector<TInstruccionLarga> instrucciones;
  int32_t numInstrucciones = 0;
  // Dónde y por qué falló la última carga (vacío si no falló), como en los
  // programas fuente: "línea 2: se esperaban 3 operaciones y hay 2".
  int32_t lineaError = 0;
  std::string detalleError;

  // nullptr fuera de 0 … numInstrucciones-1.
  TInstruccionLarga* instruccion(int64_t i);
  const TInstruccionLarga* instruccion(int64_t i) const;

  void borrar();
  // Deja n instrucciones largas vacías.
  void crear(int32_t n);

  // Lee un *.vliw contra el programa secuencial cargado; false deja el programa vacío.
  bool cargar(const std::string& nombreFichero, const TCodigo& codigo);
  bool cargar(std::istream& entrada, const TCodigo& codigo);
  // false si el fichero no se pudo escribir entero. Se escribe con «escritura»
  // (un temporal que sustituye al fichero solo cuando está entero en disco):
  // un fallo deja el fichero anterior como estaba, y su motivo en «escritura».
  bool guardar(const std::string& nombreFichero) const;
  int32_t guardar(const std::string& nombreFichero, TEscrituraSegura& escritura) const;
  bool guardar(std::ostream& salida) const;
};
