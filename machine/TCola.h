#pragma once
// Cola circular acotada de referencias. Un hueco queda siempre libre (tam =
// capacidad + 1). La cola no posee sus entradas: quien inserta crea la entrada,
// y quien la extrae (o descarta la cola) la destruye.

#include <cstdint>
#include <vector>

template <typename T>
class TCola {
public:
  int32_t tam = 0;
  std::vector<T*> datos;
  int32_t fin = 0;     // donde se escribe la siguiente entrada
  int32_t inicio = 0;  // la entrada más antigua

  // Descarta los huecos (sin tocar las entradas) y deja la cola vacía.
  void redimensionar(int32_t capacidad) {
    tam = (capacidad < 0 ? 0 : capacidad) + 1;
    datos.assign(static_cast<size_t>(tam), nullptr);
    fin = inicio = 0;
  }

  // Sin efecto si está llena: el llamador comprueba llena() antes de crear la entrada.
  void insertar(T* entrada) {
    if (tam == 0 || llena()) return;
    datos[static_cast<size_t>(fin)] = entrada;
    fin = (fin + 1) % tam;
  }

  // Devuelve la entrada más antigua (su propiedad pasa al llamador) o nullptr.
  T* extraer() {
    if (vacia()) return nullptr;
    T* e = datos[static_cast<size_t>(inicio)];
    datos[static_cast<size_t>(inicio)] = nullptr;
    inicio = (inicio + 1) % tam;
    return e;
  }

  bool vacia() const { return fin == inicio; }
  bool llena() const { return tam == 0 || (fin + 1) % tam == inicio; }
  int32_t numElementos() const { return fin >= inicio ? fin - inicio : fin + tam - inicio; }
  int32_t capacidad() const { return tam > 0 ? tam - 1 : 0; }

  // Entrada del hueco i (la etiqueta de una entrada del ROB es su hueco), o nullptr.
  T* elemento(int32_t i) const {
    return (i >= 0 && i < tam) ? datos[static_cast<size_t>(i)] : nullptr;
  }
  // i-ésima entrada viva desde la más antigua (0 ≤ i < numElementos()). Una resta
  // en vez del módulo: se recorre en cada ciclo.
  T* enOrden(int32_t i) const { return datos[static_cast<size_t>(huecoEnOrden(i))]; }
  int32_t huecoEnOrden(int32_t i) const {
    const int32_t h = inicio + i;
    return h >= tam ? h - tam : h;
  }
};
