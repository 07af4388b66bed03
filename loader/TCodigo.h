#pragma once
// El programa secuencial: instrucciones de un fichero fuente, sus etiquetas y
// sus bloques básicos, con los saltos resueltos al número de bloque destino.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "loader/TScanner.h"
#include "machine/TInstruccion.h"

struct TBloqueBasico {
  int32_t primeraInstruccion = -1;  // -1 mientras la etiqueta solo la nombra un salto
  int32_t numero = -1;
};

// Resultados de cargar.
constexpr int32_t CARGA_OK = 0;
constexpr int32_t CARGA_NO_ABRE = -1;
constexpr int32_t CARGA_ERRONEA = -2;

// Texto que ve el usuario cuando un programa fuente no carga; debajo va detalleError.
constexpr const char* MENSAJE_CODIGO_ERRONEO = "FICHERO DE CÓDIGO CON ERRORES O NO VÁLIDO";

class TCodigo {
public:
  int32_t numInstrucciones = 0;
  std::vector<TInstruccion> instrucciones;
  // Clave: texto de la etiqueta con sus dos puntos, en mayúsculas ASCII.
  std::map<std::string, TBloqueBasico> etiquetas;
  std::vector<TBloqueBasico> bloques;  // en orden de programa
  int32_t numBloques = 0;

  // Dónde y por qué falló la última carga (vacío si no falló): "línea 3: …".
  int32_t lineaError = 0;
  std::string detalleError;
  // El token del error: columna en bytes desde 1 y longitud (0 si es el fin del
  // texto, y entonces la columna es la que sigue al último token; 0 y 0 si no
  // hay token, como cuando el fichero no se abre).
  int32_t columnaError = 0;
  int32_t longitudError = 0;
  // Línea del fuente donde empieza cada instrucción (su etiqueta o su mnemónico).
  std::vector<int32_t> lineas;

  // 0 cargado, -1 no se puede abrir, -2 errores de gramática o de etiquetas.
  // Se llama una vez, sobre un TCodigo recién creado.
  int32_t cargar(const std::string& nombreFichero);
  // Igual que cargar, con el contenido del fichero en memoria.
  int32_t cargarTexto(const std::string& texto);

  TTipoUF tipoUF(int32_t i) const;
  int32_t primeraDeBloque(int32_t n) const;
  bool indiceValido(int64_t i) const { return i >= 0 && i < numInstrucciones; }

private:
  int32_t cargarDe(TScanner& scanner);
  int32_t error(const TLexema& donde, const std::string& motivo);
};
