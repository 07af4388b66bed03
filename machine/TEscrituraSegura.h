#pragma once
// Escritura segura de un fichero: el contenido va a un temporal de la misma
// carpeta, se vacía a disco y solo entonces el temporal ocupa el sitio del
// destino con un renombrado, que el sistema hace de una vez. Un fallo en
// cualquier paso deja el fichero anterior intacto y borra el temporal.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

// Resultados de escribir.
constexpr int32_t ESCRITURA_OK = 0;
constexpr int32_t ESCRITURA_NO_CREA = -1;      // no se puede crear el temporal (carpeta, permisos)
constexpr int32_t ESCRITURA_FALLA = -2;        // fallo al escribir, vaciar o cerrar el temporal (disco lleno)
constexpr int32_t ESCRITURA_NO_RENOMBRA = -3;  // el temporal no puede sustituir al destino

class TEscrituraSegura {
public:
  enum TPaso { pasoCrear, pasoEscribir, pasoVaciar, pasoCerrar, pasoRenombrar };

  // Por qué falló la última escritura, para el usuario; vacío si fue bien.
  std::string motivo;

  // Escribe «contenido» tal cual (bytes) en «ruta». Si la ruta es un enlace
  // simbólico se sustituye el fichero al que apunta, no el enlace; lo que no es
  // un fichero normal (carpeta, dispositivo, tubería) no se sustituye nunca. Un fichero
  // que ya existía conserva sus permisos; uno nuevo tiene los de siempre.
  int32_t escribir(const std::string& ruta, const std::string& contenido);

  // Solo para las pruebas: antes de cada llamada al sistema de un paso (una por
  // bloque al escribir), un valor distinto de 0 hace que ese paso falle con ese
  // código de error del sistema (errno), por el mismo camino que un fallo real.
  std::function<int(TPaso)> inyectarFallo;
  // Bytes por llamada de escritura; una prueba lo baja para fallar a medias.
  size_t tamBloque = size_t{1} << 16;

private:
  int fallo(TPaso paso) const { return inyectarFallo ? inyectarFallo(paso) : 0; }
};
