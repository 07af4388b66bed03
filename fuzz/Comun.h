#pragma once
// Lo común a los objetivos de libFuzzer. Cada objetivo define la función de
// entrada de libFuzzer; el mismo fuente, enlazado con Reproducir.cpp, repite
// las entradas guardadas como una prueba normal, también sin clang.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, size_t tam);

namespace fuzz {

// Una propiedad rota es un fallo como cualquier otro: libFuzzer guarda la entrada.
[[noreturn]] inline void fallar(const std::string& motivo) {
  std::fprintf(stderr, "propiedad rota: %s\n", motivo.c_str());
  std::fflush(stderr);
  std::abort();
}

inline void exigir(bool condicion, const std::string& motivo) {
  if (!condicion) fallar(motivo);
}

}  // namespace fuzz
