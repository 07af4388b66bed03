#include "reports/TComprobacionResultado.h"

#include <cstdio>
#include <cstring>

#include "loader/TCodigo.h"
#include "referencia/TInterpreteReferencia.h"
#include "reports/TEscritorJSON.h"
#include "superscalar/TMaquinaSuper.h"
#include "vliw/TMaquinaVLIW.h"

namespace {

uint32_t bits(float v) {
  uint32_t b = 0;
  std::memcpy(&b, &v, sizeof b);
  return b;
}

size_t ix(int32_t i) { return static_cast<size_t>(i); }

// Un flotante como lo lee una persona; si dos distintos se escriben igual (0 y
// -0 no, pero dos NaN sí), con sus bits detrás.
std::string textoFlotante(float v, float otro) {
  std::string t = TEscritorJSON::flotante(v);
  if (t == TEscritorJSON::flotante(otro) && bits(v) != bits(otro)) {
    char buf[16];
    std::snprintf(buf, sizeof buf, " (0x%08x)", bits(v));
    t += buf;
  }
  return t;
}

}  // namespace

std::string TDiferencia::textoEsperado() const {
  return banco == 'R' ? std::to_string(esperadoEntero) : textoFlotante(esperado, obtenido);
}

std::string TDiferencia::textoObtenido() const {
  return banco == 'R' ? std::to_string(obtenidoEntero) : textoFlotante(obtenido, esperado);
}

std::string TVeredicto::titulo() const {
  const std::string maquina = vliw ? "El programa VLIW" : "La máquina superescalar";
  if (igual) return maquina + " calcula lo mismo que el código secuencial";
  const size_t n = diferencias.size();
  return maquina + " no calcula lo mismo que el código secuencial: " + std::to_string(n) +
         (n == 1 ? " diferencia" : " diferencias");
}

std::string TVeredicto::texto(size_t maximo) const {
  std::string t = titulo() + '\n';
  if (!diferencias.empty()) {
    t += "\nDónde\tEsperado\tObtenido\n";
    for (size_t i = 0; i < diferencias.size() && i < maximo; ++i) {
      const TDiferencia& d = diferencias[i];
      t += d.donde() + '\t' + d.textoEsperado() + '\t' + d.textoObtenido() + '\n';
    }
    if (diferencias.size() > maximo) t += "… y " + std::to_string(diferencias.size() - maximo) + " más\n";
  }
  if (!pista.empty()) t += "\nPista: " + pista + '\n';
  for (const std::string& a : avisos) t += "\nAviso: " + a + '\n';
  return t;
}

TVeredicto TComprobacionResultado::comparar(bool vliw, const TCodigo& programa, const TInstantaneaMaquina& inicial,
                                            const std::vector<TEdicion>& ediciones, const TMaquina& final,
                                            bool terminada, std::string& motivoInexacto) {
  TVeredicto v;
  v.vliw = vliw;
  TInterpreteReferencia ref(vliw ? modoVLIW : modoSuperescalar);
  ref.gpr = inicial.gpr;
  ref.fpr = inicial.fpr;
  ref.memoria = inicial.memoria;
  bool editadaDespues = false;
  for (const TEdicion& e : ediciones) {
    const bool registro = e.tipo == edRegistroEntero || e.tipo == edRegistroFlotante || e.tipo == edMemoria;
    if (!registro) continue;
    if (e.ciclo > 0) {
      editadaDespues = true;
      continue;
    }
    // Antes del primer ciclo: es parte de los datos de partida.
    if (e.tipo == edRegistroEntero && TRegistros<int32_t>::indiceValido(e.indice) && e.indice != 0)
      ref.gpr[ix(e.indice)] = e.entero;
    else if (e.tipo == edRegistroFlotante && TRegistros<float>::indiceValido(e.indice))
      ref.fpr[ix(e.indice)] = e.flotante;
    else if (e.tipo == edMemoria && TMemoria::direccionValida(e.indice))
      ref.memoria[ix(e.indice)] = e.flotante;
  }
  if (editadaDespues)
    v.avisos.push_back(
        "se editaron registros o memoria durante la ejecución; el código secuencial parte de los datos iniciales, "
        "sin esas ediciones");
  if (!terminada)
    v.avisos.push_back("la máquina no terminó la ejecución: se comparan los registros y la memoria que tiene ahora");

  const int8_t r = ref.ejecutar(programa, LIMITE_REFERENCIA);
  if (r == REFERENCIA_LIMITE)
    v.avisos.push_back("el código secuencial no termina en " + std::to_string(LIMITE_REFERENCIA) +
                       " instrucciones: se compara con el estado al que llega");
  else if (r == REFERENCIA_ERROR)
    v.avisos.push_back("el código secuencial se detiene en la instrucción " + std::to_string(ref.instruccionError) +
                       ": accede a la dirección " + std::to_string(ref.direccionError) + ", fuera de la memoria");
  if (!ref.exacto) motivoInexacto = ref.motivoInexacto;

  for (int32_t i = 0; i < NUM_REGISTROS; ++i)
    if (final.gpr.valor[ix(i)] != ref.gpr[ix(i)]) {
      TDiferencia d;
      d.banco = 'R';
      d.indice = i;
      d.esperadoEntero = ref.gpr[ix(i)];
      d.obtenidoEntero = final.gpr.valor[ix(i)];
      v.diferencias.push_back(d);
    }
  auto flotantes = [&v](char banco, const float* esperado, const float* obtenido, int32_t n) {
    for (int32_t i = 0; i < n; ++i)
      if (bits(esperado[i]) != bits(obtenido[i])) {
        TDiferencia d;
        d.banco = banco;
        d.indice = i;
        d.esperado = esperado[i];
        d.obtenido = obtenido[i];
        v.diferencias.push_back(d);
      }
  };
  flotantes('F', ref.fpr.data(), final.fpr.valor.data(), NUM_REGISTROS);
  flotantes('M', ref.memoria.data(), final.memoria.datos.data(), TAM_MEMORIA);
  v.igual = v.diferencias.empty();
  return v;
}

TVeredicto TComprobacionResultado::comprobar(const TCodigo& programa, const TInstantaneaMaquina& inicial,
                                             const std::vector<TEdicion>& ediciones, const TMaquinaSuper& final,
                                             bool terminada) {
  std::string inexacto;
  TVeredicto v = comparar(false, programa, inicial, ediciones, final, terminada, inexacto);
  // La superescalar reenvía los valores antes de truncarlos: si el programa
  // depende de eso, su resultado depende de los tiempos.
  if (!v.igual && !inexacto.empty())
    v.pista = "la máquina reenvía valores sin truncar antes de confirmarlos y este programa depende de ello: " +
              inexacto;
  return v;
}

TVeredicto TComprobacionResultado::comprobar(const TCodigo& programa, const TInstantaneaMaquina& inicial,
                                             const std::vector<TEdicion>& ediciones, const TMaquinaVLIW& final,
                                             bool terminada, const std::vector<TOperacionDescartada>& descartadas) {
  std::string inexacto;
  TVeredicto v = comparar(true, programa, inicial, ediciones, final, terminada, inexacto);
  if (!v.igual) v.pista = pistaVLIW(v, final, descartadas);
  return v;
}

std::string TComprobacionResultado::pistaVLIW(const TVeredicto& v, const TMaquinaVLIW& final,
                                              const std::vector<TOperacionDescartada>& descartadas) {
  const TDiferencia& primera = v.diferencias.front();
  const std::string donde = primera.donde();
  auto descartada = [](const TOperacionDescartada& d, const std::string& efecto) {
    return "la operación " + std::to_string(d.direccion) + " (" + d.texto + ") de la instrucción larga " +
           std::to_string(d.larga) + " se descartó en el ciclo " + std::to_string(d.ciclo) +
           " porque su predicado era falso cuando salió de su unidad, así que " + efecto;
  };
  // Una operación descartada que debía escribir justo donde está la primera diferencia.
  for (const TOperacionDescartada& d : descartadas) {
    if (primera.banco != 'M' && d.destino == donde) return descartada(d, "no escribió " + donde);
    if (primera.banco == 'M' && esAlmacenamiento(d.codOp)) return descartada(d, "no escribió en la memoria");
  }
  // Un consumidor emitido antes de que su productor terminara lee el valor anterior.
  int32_t larga = 0, operacion = 0;
  if (final.comprobarDependencias(larga, operacion) == CHEQUEO_DEPENDENCIA) {
    std::string texto;
    if (const TInstruccionLarga* l = final.codigo.instruccion(larga))
      for (const auto& op : l->operaciones)
        if (op && op->direccion == operacion) texto = " (" + op->texto() + ")";
    return "la operación " + std::to_string(operacion) + texto + " de la instrucción larga " + std::to_string(larga) +
           " lee un registro antes de que termine la operación que lo produce, y toma su valor anterior";
  }
  if (!descartadas.empty())
    return descartada(descartadas.front(), "no tuvo efecto; " + std::to_string(descartadas.size()) +
                                               (descartadas.size() == 1 ? " operación descartada" : " operaciones descartadas") +
                                               " en total");
  return {};
}
