// Cuánto cuesta pasar sucesos de observación de un núcleo a otro: el hilo que
// lleva la máquina escribe sucesos de 24 bytes en un anillo y los publica por
// lotes; quien los aplica los lee en el mismo hilo o en otro núcleo. Entre
// cada 15 sucesos (los de un ciclo de la superescalar por defecto) el
// productor hace un trabajo fijo, como la máquina. Se imprime lo que tarda el
// productor por suceso en los dos casos: si leerlos desde otro núcleo cuesta
// más que aplicarlos, construir el diagrama en otro hilo no sale a cuenta.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <thread>
#include <vector>

namespace {

struct TSuceso {
  int64_t secuencia;
  int32_t a, b, dato;
  int8_t clase, motivo, tipo, relleno;
};

constexpr size_t TAM = size_t{1} << 15;
constexpr uint64_t LOTE = TAM / 64;
constexpr int64_t SUCESOS = 20'000'000;

struct TAnilloCompartido {
  std::vector<TSuceso> datos = std::vector<TSuceso>(TAM);
  alignas(64) std::atomic<uint64_t> publicados{0};
  alignas(64) std::atomic<uint64_t> leidos{0};
  alignas(64) std::atomic<bool> parar{false};
  alignas(64) uint64_t suma = 0;
};

uint64_t leer(const TAnilloCompartido& r, uint64_t desde, uint64_t hasta) {
  uint64_t x = 0;
  for (uint64_t i = desde; i < hasta; ++i) x += static_cast<uint64_t>(r.datos[i & (TAM - 1)].a);
  return x;
}

double medir(bool otroNucleo) {
  TAnilloCompartido r;
  std::thread consumidor;
  if (otroNucleo)
    consumidor = std::thread([&r] {
      uint64_t hechos = 0;
      while (!r.parar.load(std::memory_order_acquire) || hechos != r.publicados.load()) {
        const uint64_t hasta = r.publicados.load(std::memory_order_acquire);
        if (hasta == hechos) continue;
        r.suma += leer(r, hechos, hasta);
        hechos = hasta;
        r.leidos.store(hechos, std::memory_order_release);
      }
    });
  const auto t0 = std::chrono::steady_clock::now();
  uint64_t escritos = 0, publicado = 0, leido = 0;
  volatile int trabajo = 0;
  for (int64_t i = 0; i < SUCESOS; ++i) {
    while (escritos - leido >= TAM) leido = r.leidos.load(std::memory_order_acquire);
    TSuceso& s = r.datos[escritos++ & (TAM - 1)];
    s.clase = 1;
    s.secuencia = i;
    s.a = static_cast<int32_t>(i);
    if (i % 15 != 14) continue;
    for (int k = 0; k < 150; ++k) trabajo = trabajo + 1;
    if (escritos - publicado < LOTE) continue;
    if (otroNucleo) {
      r.publicados.store(escritos, std::memory_order_release);
    } else {
      r.suma += leer(r, publicado, escritos);
      r.leidos.store(escritos);
    }
    publicado = escritos;
  }
  const auto t1 = std::chrono::steady_clock::now();
  if (otroNucleo) {
    r.publicados.store(escritos);
    r.parar.store(true, std::memory_order_release);
    consumidor.join();
  }
  return std::chrono::duration<double, std::nano>(t1 - t0).count() / static_cast<double>(SUCESOS);
}

}  // namespace

int main() {
  for (int vuelta = 0; vuelta < 3; ++vuelta)
    std::printf("mismo hilo: %.2f ns/suceso   otro núcleo: %.2f ns/suceso\n", medir(false), medir(true));
  return 0;
}
