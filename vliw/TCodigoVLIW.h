#pragma once
// Programa VLIW: secuencia de instrucciones largas, y su fichero *.vliw.

#include <cstdint>
#include <string>
#include <vector>

#include "loader/TCodigo.h"
#include "vliw/TInstruccionLarga.h"

class TCodigoVLIW {
public:
  std::vector<TInstruccionLarga> instrucciones;
  int32_t numInstrucciones = 0;

  // nullptr fuera de 0 … numInstrucciones-1.
  TInstruccionLarga* instruccion(int64_t i);
  const TInstruccionLarga* instruccion(int64_t i) const;

  void borrar();
  // Deja n instrucciones largas vacías.
  void crear(int32_t n);

  // Lee un *.vliw contra el programa secuencial cargado; false deja el programa vacío.
  bool cargar(const std::string& nombreFichero, const TCodigo& codigo);
  // false si el fichero no se pudo escribir entero.
  bool guardar(const std::string& nombreFichero) const;
};
