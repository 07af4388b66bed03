#include "observation/TTablaInstrucciones.h"

#include <algorithm>

TFilaTabla TTablaInstrucciones::fila(const TRegistradorDiagrama& r, int64_t posicion) {
  TFilaTabla t;
  const TRegistradorDiagrama::TPosicion p = r.enVista(posicion);
  if (p.fila < 0) return t;
  const TFilaDiagrama& f = r.deVista(p);
  t.secuencia = r.primeraSecuencia() + p.fila;
  t.op = p.op;
  t.clase = f.clase;
  t.pc = f.pc;
  t.texto = r.textoDe(f);
  t.terminada = !f.viva;
  r.recorrer(f, f.primero, r.finDe(f), [&](const TTramoVisible& v) {
    switch (v.letra) {
      case LETRA_ESTACION:
        if (t.emision < 0) t.emision = v.desde;
        break;
      case LETRA_DIRECCION:
      case LETRA_EJECUCION:
      case LETRA_FALLO:
        if (t.inicioEjecucion < 0) t.inicioEjecucion = v.desde;
        t.finEjecucion = v.hasta;
        if (v.letra == LETRA_FALLO) t.paradas += v.hasta - v.desde + 1;
        break;
      case LETRA_ESCRITA:
        if (t.escritura < 0) t.escritura = v.desde;
        if (f.clase == filaOperacion) t.final = v.desde;
        break;
      case LETRA_CONFIRMADA:
        t.confirmacion = v.desde;
        break;
      case LETRA_ANULADA:
        t.anulada = true;
        t.final = v.desde;
        break;
      case LETRA_DETENIDA:
        t.paradas += v.hasta - v.desde + 1;
        break;
      case LETRA_EMITIDA:
        if (t.emision < 0) t.emision = v.desde;
        break;
      default:
        break;
    }
  });
  if (f.clase == filaLarga) {
    // Una larga acaba cuando acaba la última de sus operaciones.
    t.final = t.emision;
    for (int32_t k = 0; k < f.numOps; ++k) {
      const TFilaDiagrama& o = r.operacion(f, k);
      if (o.viva) t.terminada = false;
      else t.final = std::max(t.final, o.ultimo);
    }
    if (!t.terminada) t.final = -1;
  }
  if (f.clase == filaOperacion && f.viva) t.final = -1;
  return t;
}

std::vector<TFilaTabla> TTablaInstrucciones::filas(const TRegistradorDiagrama& r, int32_t desde, int32_t hasta) {
  std::vector<TFilaTabla> v;
  const int64_t n = r.numFilasVista();
  for (int64_t i = 0; i < n; ++i) {
    const TRegistradorDiagrama::TPosicion p = r.enVista(i);
    const TFilaDiagrama& f = r.deVista(p);
    if (f.primero > hasta || r.finDe(f) < desde) continue;
    v.push_back(fila(r, i));
  }
  return v;
}
