#pragma once
// Escritura mínima de JSON en una línea: lo justo para la traza y el informe
// final de una ejecución (orvex-run y lo que exporte la interfaz).

#include <cstdint>
#include <ostream>
#include <string>

class TEscritorJSON {
public:
  explicit TEscritorJSON(std::ostream& destino) : salida(destino) {}

  void abrirObjeto() { separar(); salida << '{'; primero = true; }
  void cerrarObjeto() { salida << '}'; primero = false; }
  void abrirLista() { separar(); salida << '['; primero = true; }
  void cerrarLista() { salida << ']'; primero = false; }
  // Clave de la siguiente entrada de un objeto.
  void clave(const std::string& nombre);

  void valor(int64_t v) { separar(); salida << v; }
  void valor(bool v) { separar(); salida << (v ? "true" : "false"); }
  void valor(const std::string& v) { separar(); texto(v); }
  void valor(const char* v) { valor(std::string(v)); }
  // Número de simple precisión con los dígitos justos para leerse de nuevo igual;
  // los no finitos van como las cadenas "nan", "inf" y "-inf".
  void valorFlotante(float v);
  void nulo() { separar(); salida << "null"; }

  static std::string flotante(float v);

private:
  void separar() {
    if (!primero && !trasClave) salida << ',';
    primero = false;
    trasClave = false;
  }
  void texto(const std::string& v);

  std::ostream& salida;
  bool primero = true;
  bool trasClave = false;
};
