#include "reports/TInformeDiagrama.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "machine/TTipos.h"
#include "observation/TRegistradorDiagrama.h"
#include "observation/TTablaInstrucciones.h"
#include "observation/TTextosDiagrama.h"
#include "reports/TEscritorJSON.h"

namespace {

using TPosicion = TRegistradorDiagrama::TPosicion;

// Letras de la fila dentro del intervalo y el ciclo de la primera (−1 si ninguna).
std::string letrasEn(const TRegistradorDiagrama& r, const TFilaDiagrama& f, TIntervaloCiclos iv, int32_t& primero) {
  std::string s;
  primero = -1;
  r.recorrer(f, iv.desde, iv.hasta, [&](const TTramoVisible& t) {
    if (primero < 0) primero = t.desde;
    s.append(static_cast<size_t>(t.hasta - t.desde + 1), t.letra);
  });
  return s;
}

bool visible(const TRegistradorDiagrama& r, const TFilaDiagrama& f, TIntervaloCiclos iv) {
  return f.primero <= iv.hasta && r.finDe(f) >= iv.desde;
}

// Operaciones de una larga en orden de tipo de unidad y número de unidad.
std::vector<int32_t> ordenOperaciones(const TRegistradorDiagrama& r, const TFilaDiagrama& larga) {
  std::vector<int32_t> k(static_cast<size_t>(larga.numOps));
  for (int32_t i = 0; i < larga.numOps; ++i) k[static_cast<size_t>(i)] = i;
  std::stable_sort(k.begin(), k.end(), [&](int32_t a, int32_t b) {
    const TFilaDiagrama& x = r.operacion(larga, a);
    const TFilaDiagrama& y = r.operacion(larga, b);
    return x.tipoUF != y.tipoUF ? x.tipoUF < y.tipoUF : x.unidad < y.unidad;
  });
  return k;
}

std::string nombreUnidad(const TFilaDiagrama& o) {
  return o.tipoUF >= 0 && o.tipoUF < NUM_TIPOS_UF ? nombresTipoUF[static_cast<size_t>(o.tipoUF)] : "?";
}

void esperasJSON(TEscritorJSON& j, const TRegistradorDiagrama& r, const TFilaDiagrama& f, TIntervaloCiclos iv) {
  bool abierta = false;
  r.recorrer(f, iv.desde, iv.hasta, [&](const TTramoVisible& t) {
    if (t.espera.motivo == espNinguno) return;
    if (!abierta) {
      j.clave("waits");
      j.abrirLista();
      abierta = true;
    }
    j.abrirObjeto();
    j.clave("from");
    j.valor(static_cast<int64_t>(t.desde));
    j.clave("to");
    j.valor(static_cast<int64_t>(t.hasta));
    j.clave("reason");
    j.valor(TTextosDiagrama::motivo(t.espera, t.distancia));
    j.cerrarObjeto();
  });
  if (abierta) j.cerrarLista();
}

// Texto de la columna de la izquierda de cada posición de la vista.
std::string etiqueta(const TRegistradorDiagrama& r, const TPosicion& p) {
  const TFilaDiagrama& f = r.deVista(p);
  if (f.clase == filaOperacion) return "  " + nombreUnidad(f) + " " + std::to_string(f.unidad) + ": " + r.texto(f.pc);
  if (f.clase == filaLarga) return "L" + std::to_string(f.pc) + ": " + (f.numOps > 0 ? r.textoDe(f) : "(vacía)");
  return std::to_string(f.pc) + ": " + r.textoDe(f);
}

std::string csv(const std::string& t) {
  std::string s = "\"";
  for (char c : t) {
    if (c == '"') s += '"';
    s += c;
  }
  return s + "\"";
}

std::string numero(int32_t c) { return c < 0 ? "" : std::to_string(c); }

std::string xml(const std::string& t) {
  std::string s;
  for (char c : t) {
    switch (c) {
      case '&': s += "&amp;"; break;
      case '<': s += "&lt;"; break;
      case '>': s += "&gt;"; break;
      case '"': s += "&quot;"; break;
      default: s += c;
    }
  }
  return s;
}

std::string colorHTML(TColor c) {
  char b[8];
  std::snprintf(b, sizeof b, "#%06x", static_cast<unsigned>(c & 0xFFFFFFu));
  return b;
}

// Una fila que salió de la máquina sin terminar su trabajo: tachada o en gris.
bool perdida(const TRegistradorDiagrama& r, const TFilaDiagrama& f) {
  return !f.viva && r.letra(f, f.ultimo) == LETRA_ANULADA;
}

// Recorre las posiciones de la vista con letras en el intervalo.
template <typename F>
void porVista(const TRegistradorDiagrama& r, TIntervaloCiclos iv, F&& visitar) {
  const int64_t n = r.numFilasVista();
  for (int64_t i = 0; i < n; ++i) {
    const TPosicion p = r.enVista(i);
    if (visible(r, r.deVista(p), iv)) visitar(p);
  }
}

}  // namespace

TIntervaloCiclos TInformeDiagrama::ajustar(const TRegistradorDiagrama& r, TIntervaloCiclos iv) {
  iv.desde = std::max({iv.desde, r.primerCiclo(), 1});
  iv.hasta = std::min(iv.hasta, r.ultimoCiclo());
  return iv;
}

void TInformeDiagrama::escribirJSON(std::ostream& salida, const TRegistradorDiagrama& r, TIntervaloCiclos iv) {
  for (int64_t i = 0; i < r.numFilas(); ++i) {
    const TFilaDiagrama& f = r.fila(i);
    if (!visible(r, f, iv)) continue;
    int32_t primero = 0;
    const std::string letras = letrasEn(r, f, iv, primero);
    TEscritorJSON j(salida);
    j.abrirObjeto();
    j.clave("seq");
    j.valor(r.primeraSecuencia() + i);
    j.clave("pc");
    j.valor(static_cast<int64_t>(f.pc));
    j.clave("first");
    j.valor(static_cast<int64_t>(primero));
    j.clave("stages");
    j.valor(letras);
    j.clave("text");
    j.valor(r.textoDe(f));
    esperasJSON(j, r, f, iv);
    if (f.clase == filaLarga) {
      j.clave("ops");
      j.abrirLista();
      for (int32_t k : ordenOperaciones(r, f)) {
        const TFilaDiagrama& o = r.operacion(f, k);
        if (!visible(r, o, iv)) continue;
        int32_t p = 0;
        const std::string lo = letrasEn(r, o, iv, p);
        j.abrirObjeto();
        j.clave("unit");
        j.valor(nombreUnidad(o));
        j.clave("number");
        j.valor(static_cast<int64_t>(o.unidad));
        j.clave("first");
        j.valor(static_cast<int64_t>(p));
        j.clave("stages");
        j.valor(lo);
        j.clave("pc");
        j.valor(static_cast<int64_t>(o.pc));
        j.clave("text");
        j.valor(r.texto(o.pc));
        esperasJSON(j, r, o, iv);
        j.cerrarObjeto();
      }
      j.cerrarLista();
    }
    j.cerrarObjeto();
    salida << '\n';
  }
}

void TInformeDiagrama::escribirTexto(std::ostream& salida, const TRegistradorDiagrama& r, TIntervaloCiclos iv) {
  iv = ajustar(r, iv);
  if (r.filasDescartadas() > 0)
    salida << "(se descartaron las " << r.filasDescartadas() << " filas más antiguas)\n";
  if (iv.desde > iv.hasta || r.numFilas() == 0) {
    salida << "(diagrama vacío)\n";
    return;
  }
  constexpr size_t ANCHO_TEXTO = 40;
  std::vector<std::string> etiquetas;
  size_t ancho = 12;
  porVista(r, iv, [&](const TPosicion& p) {
    std::string e = etiqueta(r, p);
    if (e.size() > ANCHO_TEXTO) e = e.substr(0, ANCHO_TEXTO - 1) + "~";
    ancho = std::max(ancho, e.size());
    etiquetas.push_back(e);
  });
  // Cabecera: las centenas y decenas sobre las unidades de cada ciclo.
  for (int fila = iv.hasta >= 100 ? 0 : iv.hasta >= 10 ? 1 : 2; fila < 3; ++fila) {
    std::string linea = fila == 2 ? "ciclo" : "";
    linea.resize(ancho + 2, ' ');
    for (int32_t c = iv.desde; c <= iv.hasta; ++c) {
      const int32_t d = fila == 0 ? c / 100 : fila == 1 ? c / 10 : c;
      const bool sinCifra = (fila == 0 && c < 100) || (fila == 1 && c < 10);
      linea += sinCifra ? ' ' : static_cast<char>('0' + d % 10);
    }
    salida << linea << '\n';
  }
  size_t k = 0;
  porVista(r, iv, [&](const TPosicion& p) {
    const TFilaDiagrama& f = r.deVista(p);
    std::string linea = etiquetas[k++];
    linea.resize(ancho + 2, ' ');
    int32_t primero = 0;
    const std::string letras = letrasEn(r, f, iv, primero);
    linea.append(static_cast<size_t>(primero - iv.desde), ' ');
    salida << linea << letras << '\n';
  });
  salida << '\n';
}

void TInformeDiagrama::escribirCSV(std::ostream& salida, const TRegistradorDiagrama& r, TIntervaloCiclos iv) {
  iv = ajustar(r, iv);
  salida << "seq,fila,dirección,instrucción";
  for (int32_t c = iv.desde; c <= iv.hasta; ++c) salida << ',' << c;
  salida << '\n';
  porVista(r, iv, [&](const TPosicion& p) {
    const TFilaDiagrama& f = r.deVista(p);
    const std::string clase = f.clase == filaSuper ? "instrucción"
                              : f.clase == filaLarga ? "larga"
                                                     : nombreUnidad(f) + " " + std::to_string(f.unidad);
    salida << r.primeraSecuencia() + p.fila << ',' << csv(clase) << ',' << f.pc << ','
           << csv(f.clase == filaOperacion ? r.texto(f.pc) : r.textoDe(f));
    int32_t c = iv.desde;
    r.recorrer(f, iv.desde, iv.hasta, [&](const TTramoVisible& t) {
      for (; c < t.desde; ++c) salida << ',';
      for (; c <= t.hasta; ++c) salida << ',' << t.letra;
    });
    for (; c <= iv.hasta; ++c) salida << ',';
    salida << '\n';
  });
}

void TInformeDiagrama::escribirTablaCSV(std::ostream& salida, const TRegistradorDiagrama& r, TIntervaloCiclos iv) {
  iv = ajustar(r, iv);
  const std::vector<TFilaTabla> filas = TTablaInstrucciones::filas(r, iv.desde, iv.hasta);
  if (!r.esVLIW()) {
    salida << "seq,dirección,instrucción,emisión,inicio ejecución,fin ejecución,escritura,confirmación\n";
    for (const TFilaTabla& t : filas)
      salida << t.secuencia << ',' << t.pc << ',' << csv(t.texto) << ',' << numero(t.emision) << ','
             << numero(t.inicioEjecucion) << ',' << numero(t.finEjecucion) << ',' << numero(t.escritura) << ','
             << (t.anulada ? "anulada" : numero(t.confirmacion)) << '\n';
    return;
  }
  salida << "seq,fila,dirección,instrucción,emisión,ciclos de parada,final\n";
  for (const TFilaTabla& t : filas) {
    const std::string clase = t.op < 0 ? "larga" : "operación";
    salida << t.secuencia << ',' << clase << ',' << t.pc << ',' << csv(t.texto) << ',' << numero(t.emision) << ','
           << t.paradas << ',' << (t.anulada ? "descartada " + numero(t.final) : numero(t.final)) << '\n';
  }
}

void TInformeDiagrama::escribirSVG(std::ostream& salida, const TRegistradorDiagrama& r, TIntervaloCiclos iv) {
  iv = ajustar(r, iv);
  constexpr int ANCHO_CELDA = 16, ALTO_FILA = 18, IZQUIERDA = 300, CABECERA = 22;
  std::vector<TPosicion> posiciones;
  porVista(r, iv, [&](const TPosicion& p) { posiciones.push_back(p); });
  const int32_t ciclos = std::max(0, iv.hasta - iv.desde + 1);
  const int ancho = IZQUIERDA + ciclos * ANCHO_CELDA + 4;
  const int alto = CABECERA + static_cast<int>(posiciones.size()) * ALTO_FILA + 4;
  salida << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << ancho << "\" height=\"" << alto
         << "\" font-family=\"monospace\" font-size=\"11\">\n"
         << "<title>Diagrama de Ejecución</title>\n"
         << "<rect width=\"100%\" height=\"100%\" fill=\"#ffffff\"/>\n";
  for (int32_t c = iv.desde; c <= iv.hasta; ++c) {
    const int x = IZQUIERDA + (c - iv.desde) * ANCHO_CELDA;
    if (c % 5 == 0 || ciclos <= 40)
      salida << "<text x=\"" << x + ANCHO_CELDA / 2 << "\" y=\"15\" text-anchor=\"middle\" font-size=\"9\">" << c
             << "</text>\n";
  }
  int y = CABECERA;
  for (const TPosicion& p : posiciones) {
    const TFilaDiagrama& f = r.deVista(p);
    const bool gris = perdida(r, f);
    std::string e = etiqueta(r, p);
    if (e.size() > 46) e = e.substr(0, 45) + "~";
    salida << "<text x=\"4\" y=\"" << y + 13 << "\"" << (gris ? " fill=\"#909090\" text-decoration=\"line-through\"" : "")
           << (f.clase == filaLarga ? " font-weight=\"bold\"" : "") << ">" << xml(e) << "</text>\n";
    r.recorrer(f, iv.desde, iv.hasta, [&](const TTramoVisible& t) {
      for (int32_t c = t.desde; c <= t.hasta; ++c) {
        const int x = IZQUIERDA + (c - iv.desde) * ANCHO_CELDA;
        salida << "<rect x=\"" << x << "\" y=\"" << y + 1 << "\" width=\"" << ANCHO_CELDA - 1 << "\" height=\""
               << ALTO_FILA - 2 << "\" fill=\"" << colorHTML(TTextosDiagrama::color(t.letra)) << "\"";
        if (gris) salida << " fill-opacity=\"0.5\"";
        salida << "><title>" << xml(TTextosDiagrama::pista(t, f.clase)) << "</title></rect>"
               << "<text x=\"" << x + ANCHO_CELDA / 2 << "\" y=\"" << y + 13 << "\" text-anchor=\"middle\"";
        if (gris) salida << " fill=\"#707070\"";
        salida << ">" << t.letra << "</text>\n";
      }
    });
    y += ALTO_FILA;
  }
  salida << "</svg>\n";
}
