#include "reports/TEscritorJSON.h"

#include <charconv>
#include <cmath>
#include <cstdio>

void TEscritorJSON::clave(const std::string& nombre) {
  separar();
  texto(nombre);
  salida << ':';
  trasClave = true;
}

std::string TEscritorJSON::flotante(float v) {
  if (std::isnan(v)) return "nan";
  if (std::isinf(v)) return v > 0 ? "inf" : "-inf";
  char buf[64];
  const auto r = std::to_chars(buf, buf + sizeof buf, v);
  return std::string(buf, r.ptr);
}

void TEscritorJSON::valorFlotante(float v) {
  if (!std::isfinite(v)) {
    valor(flotante(v));
    return;
  }
  separar();
  salida << flotante(v);
}

void TEscritorJSON::texto(const std::string& v) {
  salida << '"';
  for (unsigned char c : v) {
    switch (c) {
      case '"': salida << "\\\""; break;
      case '\\': salida << "\\\\"; break;
      case '\n': salida << "\\n"; break;
      case '\t': salida << "\\t"; break;
      case '\r': salida << "\\r"; break;
      default:
        if (c < 0x20) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\u%04x", c);
          salida << buf;
        } else {
          salida << static_cast<char>(c);
        }
    }
  }
  salida << '"';
}
