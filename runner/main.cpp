// orvex-run: ejecuta programas de Orvex sin ventanas.

#include <iostream>
#include <string>
#include <vector>

#include "runner/TEjecucionConsola.h"
#include "runner/TOpcionesConsola.h"

int main(int argc, char** argv) {
  const std::vector<std::string> argumentos(argv + 1, argv + argc);
  TOpcionesConsola opciones;
  std::string error;
  if (!opciones.analizar(argumentos, error)) {
    std::cerr << "orvex-run: " << error << "\nPruebe «orvex-run --help».\n";
    return SALIDA_USO;
  }
  if (opciones.accion == TOpcionesConsola::accAyuda) {
    std::cout << TOpcionesConsola::textoAyuda();
    return 0;
  }
  if (opciones.accion == TOpcionesConsola::accVersion) {
    std::cout << "orvex-run 1.0\n";
    return 0;
  }
  TEjecucionConsola ejecucion(opciones, std::cout, std::cerr);
  return ejecucion.ejecutar();
}
