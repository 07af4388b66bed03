#include "loader/TScanner.h"

#include <fstream>
#include <iterator>
#include <sstream>

namespace {

bool esLetra(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}
bool esDigito(char c) { return c >= '0' && c <= '9'; }
bool esBlanco(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f'; }

}  // namespace

bool TScanner::abrir(const std::string& nombreFichero) {
  std::ifstream f(nombreFichero, std::ios::binary);
  if (!f) {
    cerrar();
    return false;
  }
  std::ostringstream contenido;
  contenido << f.rdbuf();
  if (f.bad()) {
    cerrar();
    return false;
  }
  abrirTexto(contenido.str());
  return true;
}

void TScanner::abrirTexto(std::string texto) {
  buffer = std::move(texto);
  pos = 0;
  inicioLinea = true;
  linea = 1;
  lineaUltimo = 1;
  posLinea = 0;
  columnaTrasUltimo = 1;
}

void TScanner::cerrar() {
  buffer.clear();
  buffer.shrink_to_fit();
  pos = 0;
  inicioLinea = true;
  linea = 1;
  lineaUltimo = 1;
  posLinea = 0;
  columnaTrasUltimo = 1;
}

TLexema TScanner::siguiente() {
  const size_t n = buffer.size();
  auto car = [&](size_t i) { return i < n ? buffer[i] : '\0'; };
  auto digitosDesde = [&](size_t i) {
    size_t j = i;
    while (j < n && esDigito(buffer[j])) ++j;
    return j - i;
  };

  while (pos < n) {
    const char c = buffer[pos];
    // Candidatos en orden de prioridad: solo uno estrictamente más largo desplaza al anterior.
    TToken mejor = tokFin;  // tokFin aquí significa «texto que se descarta»
    size_t largo = 1;
    auto candidato = [&](TToken t, size_t l) {
      if (l > largo || (l == largo && mejor == tokFin && t != tokFin)) {
        mejor = t;
        largo = l;
      }
    };

    if (inicioLinea && esDigito(c)) candidato(tokNumero, digitosDesde(pos));
    if (c == '#' && esDigito(car(pos + 1))) candidato(tokInmediato, 1 + digitosDesde(pos + 1));
    if ((c == 'F' || c == 'f') && esDigito(car(pos + 1))) candidato(tokRegF, 1 + digitosDesde(pos + 1));
    if ((c == 'R' || c == 'r') && esDigito(car(pos + 1))) candidato(tokRegR, 1 + digitosDesde(pos + 1));
    if (esLetra(c)) {
      size_t j = pos + 1;
      while (j < n && (esLetra(buffer[j]) || esDigito(buffer[j]))) ++j;
      candidato(tokIdent, j - pos);
      if (car(j) == ':') candidato(tokEtiqueta, j - pos + 1);
    }
    if (esDigito(c) || c == '(') {
      size_t j = pos + digitosDesde(pos);
      if (car(j) == '(' && (car(j + 1) == 'R' || car(j + 1) == 'r')) {
        const size_t d = digitosDesde(j + 2);
        if (d > 0 && car(j + 2 + d) == ')') candidato(tokDireccion, j + 3 + d - pos);
      }
    }

    // Texto descartado: comentario, blancos o un carácter suelto.
    size_t descarte = 1;
    if (c == '/' && car(pos + 1) == '/') {
      size_t j = pos;
      while (j < n && buffer[j] != '\n') ++j;
      descarte = j - pos;
    } else if (esBlanco(c)) {
      size_t j = pos;
      while (j < n && esBlanco(buffer[j])) ++j;
      descarte = j - pos;
    }

    if (mejor != tokFin && largo >= descarte) {
      const int columna = static_cast<int>(pos - posLinea) + 1;
      TLexema lex{mejor, buffer.substr(pos, largo), linea, columna};
      pos += largo;
      lineaUltimo = linea;
      columnaTrasUltimo = columna + static_cast<int>(largo);
      inicioLinea = false;  // ningún token termina en salto de línea
      return lex;
    }
    if (c == '\n') {
      ++linea;
      posLinea = pos + 1;
    }
    inicioLinea = buffer[pos + descarte - 1] == '\n';
    pos += descarte;
  }
  return TLexema{tokFin, std::string(), lineaUltimo, columnaTrasUltimo};
}
