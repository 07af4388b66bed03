#pragma once
// Cola de dos extremos sobre un vector circular de capacidad potencia de dos:
// acceso por posición con una máscara y, una vez alcanzado el tamaño de
// régimen, ni una asignación al añadir por detrás y quitar por delante (las
// filas del diagrama entran y salen así millones de veces).

#include <cstddef>
#include <vector>

template <typename T>
class TAnillo {
public:
  size_t size() const { return n; }
  bool empty() const { return n == 0; }
  size_t capacity() const { return datos.size(); }

  T& operator[](size_t i) { return datos[(inicio + i) & mascara]; }
  const T& operator[](size_t i) const { return datos[(inicio + i) & mascara]; }
  T& front() { return (*this)[0]; }
  const T& front() const { return (*this)[0]; }
  T& back() { return (*this)[n - 1]; }
  const T& back() const { return (*this)[n - 1]; }

  void push_back(const T& v) {
    if (n == datos.size()) crecer();
    datos[(inicio + n) & mascara] = v;
    ++n;
  }
  // Añade una por detrás, con su valor por defecto, para rellenarla en su sitio.
  T& emplace_back() {
    if (n == datos.size()) crecer();
    T& v = datos[(inicio + n) & mascara];
    v = T{};
    ++n;
    return v;
  }
  void pop_front() {
    inicio = (inicio + 1) & mascara;
    --n;
  }
  void pop_back() { --n; }
  // Quita las k primeras.
  void descartar(size_t k) {
    if (k >= n) {
      clear();
      return;
    }
    inicio = (inicio + k) & mascara;
    n -= k;
  }
  void clear() {
    inicio = 0;
    n = 0;
  }

private:
  void crecer() {
    std::vector<T> nuevos(datos.empty() ? 64 : datos.size() * 2);
    for (size_t i = 0; i < n; ++i) nuevos[i] = (*this)[i];
    datos.swap(nuevos);
    inicio = 0;
    mascara = datos.size() - 1;
  }

  std::vector<T> datos;
  size_t inicio = 0;
  size_t n = 0;
  size_t mascara = 0;
};
