// Repite las entradas guardadas (semillas y regresiones) sobre la función de
// entrada de un objetivo de fuzzing. Los argumentos son ficheros o carpetas;
// una carpeta que no existe no cuenta. Una propiedad rota aborta el proceso.

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <vector>

#include "fuzz/Comun.h"

namespace fs = std::filesystem;

int main(int argc, char** argv) {
  std::vector<fs::path> entradas;
  for (int i = 1; i < argc; ++i) {
    const fs::path p(argv[i]);
    if (fs::is_directory(p)) {
      for (const auto& e : fs::directory_iterator(p))
        if (e.is_regular_file()) entradas.push_back(e.path());
    } else if (fs::is_regular_file(p)) {
      entradas.push_back(p);
    }
  }
  std::sort(entradas.begin(), entradas.end());
  for (const fs::path& p : entradas) {
    std::ifstream f(p, std::ios::binary);
    const std::vector<char> bytes((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
    std::cout << p.filename().string() << '\n' << std::flush;
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
  }
  std::cout << entradas.size() << " entradas repetidas\n";
  // Sin ninguna entrada la prueba no prueba nada.
  return entradas.empty() ? 1 : 0;
}
