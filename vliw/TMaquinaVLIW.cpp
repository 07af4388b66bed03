#include "vliw/TMaquinaVLIW.h"

#include <algorithm>
#include <vector>

#include "machine/Conversiones.h"
#include "vliw/TInstantaneaVLIW.h"

namespace {

struct TRegistroUsado {
  bool flotante = false;
  int32_t numero = 0;
};

// Registros fuente de una operación: los mismos para el bit NaT y para las
// dependencias verdaderas. Los destinos no se leen.
int fuentesDe(const TInstruccion& op, TRegistroUsado (&r)[2]) {
  const TDescripcionInstruccion& d = op.descripcion();
  int n = 0;
  for (const TOperando& f : {d.fuenteJ, d.fuenteK})
    if (f.esRegistro()) r[n++] = {f.flotante(), op.op[f.campo]};
  return n;
}

// Registro que escribe una operación; false si no escribe ninguno.
bool destinoDe(const TInstruccion& op, TRegistroUsado& r) {
  const TOperando& d = op.descripcion().destino;
  if (!d.esRegistro()) return false;
  r = {d.flotante(), op.op[d.campo]};
  return true;
}

bool registroValido(int32_t r) { return TRegistros<int32_t>::indiceValido(r); }

size_t ix(int32_t i) { return static_cast<size_t>(i); }

const TOperacionVLIW* operacionEn(const TInstruccion* etapa) {
  // Las etapas de la máquina VLIW solo guardan operaciones de su programa.
  return static_cast<const TOperacionVLIW*>(etapa);
}

}  // namespace

TMaquinaVLIW::TMaquinaVLIW() { TMaquinaVLIW::reset(true); }

void TMaquinaVLIW::reset(bool limpiar) {
  // La máquina VLIW tiene siempre una sola unidad de salto.
  numUF[tufSalto] = 1;
  TMaquina::reset(limpiar);
  // Una ejecución cortada por un error puede dejar escrituras a medias; sin
  // limpiar, aparecerían en el primer ciclo de la siguiente.
  gpr.pendiente.fill(false);
  fpr.pendiente.fill(false);
  predicados.fill(false);
  predicados[0] = true;
  natGPR.fill(false);
  natFPR.fill(false);
  estadisticas = TEstadisticasVLIW{};
  emitidaCiclo = -1;
  secuenciaEnEmision = -1;
  contadorSecuencia = 0;
  for (int t = 0; t < NUM_TIPOS_UF; ++t) {
    size_t etapas = 0;
    for (const TUnidadFuncional& u : uf[ix(t)]) etapas += ix(u.latencia);
    origenEtapas[ix(t)].assign(etapas, TOrigenEtapa{});
  }
  notificarReinicio();
}

int32_t TMaquinaVLIW::limiteUnidades(int tipo) const {
  // Lo que construirá el próximo reset, no lo que diga un campo aún sin acotar.
  if (tipo == tufSalto) return 1;
  return std::clamp(numUF[ix(tipo)], MIN_UF, MAX_UF);
}

// ---------------------------------------------------------------------------
// Ciclo

int8_t TMaquinaVLIW::ejecutarCiclo() {
  if (observador == nullptr) return avanzarCiclo<false>();
  const int32_t anterior = ciclo;
  const int8_t r = avanzarCiclo<true>();
  // Una máquina detenida por un error no cuenta ciclos: no hubo ciclo que contar.
  if (ciclo != anterior) observador->finCiclo(ciclo, r);
  return r;
}

// Sucesos de una operación que sale de su unidad (solo con observador): se
// descartó, falló en caché (y espera en la salida) o se ejecutó.
void TMaquinaVLIW::notificarSalida(int tipo, int32_t numero, const TUnidadFuncional& u, bool ejecutada,
                                   int64_t fallosAntes) {
  const TOperacionVLIW& op = *operacionEn(u.enSalida());
  const TOrigenEtapa& o = origenEtapa(tipo, numero, u.salida);
  if (!ejecutada) {
    observador->operacionDescartada(o.secuencia, o.indice, op);
    return;
  }
  if (estadisticas.fallosCache != fallosAntes) {
    const int64_t a = direccionEfectiva(gpr.valor[ix(op.op[op.descripcion().fuenteK.campo])], op.op[1]);
    observador->operacionFalloCache(o.secuencia, o.indice, op, static_cast<int32_t>(a));
  }
  // Con la parada puesta, la carga sigue esperando en la salida.
  if (u.parada == 0) observador->operacionEjecutada(o.secuencia, o.indice, op);
}

// El ciclo existe en dos versiones: sin observador, sin una sola comprobación
// de más; con él, con los sucesos y los motivos de parada.
template <bool CON_OBSERVADOR>
int8_t TMaquinaVLIW::avanzarCiclo() {
  // Tras un error la máquina queda congelada hasta el siguiente reset.
  if (!mensajeError.empty()) return CICLO_ERROR;
  ++ciclo;
  if constexpr (CON_OBSERVADOR) observador->inicioCiclo(ciclo);
  emitidaCiclo = -1;
  bool ocupada = false;
  bool escrito = false;  // alguna operación terminó y pudo dejar escrituras pendientes

  // El salto se resuelve antes de buscar: su destino puede emitirse en este mismo ciclo.
  if (!uf[tufSalto].empty()) {
    TUnidadFuncional& u = uf[tufSalto][0];
    if (u.ocupadas > 0) ocupada = true;
    if (u.parada == 0 && u.enSalida() != nullptr) {
      const TOperacionVLIW& op = *operacionEn(u.enSalida());
      const bool cierto = predicados[ix(op.predicado)];
      if (cierto) {
        const uint32_t destino = resolverSalto(op);
        // Un salto que cambia pc deja atrás la instrucción larga que esperaba en la emisión.
        if (destino != pc) secuenciaEnEmision = -1;
        pc = destino;
        escrito = true;
        gpr.escribirPendiente(0, 0);
        ++estadisticas.operacionesEjecutadas;
      } else {
        ++estadisticas.operacionesDescartadas;
      }
      if constexpr (CON_OBSERVADOR) notificarSalida(tufSalto, 0, u, cierto, estadisticas.fallosCache);
    }
    u.avanzar();
  }

  for (int t = 0; t < tufSalto; ++t) {
    int32_t numero = 0;
    for (TUnidadFuncional& u : uf[ix(t)]) {
      if (u.ocupadas > 0) ocupada = true;
      if (u.parada == 0 && u.enSalida() != nullptr) {
        const TOperacionVLIW& op = *operacionEn(u.enSalida());
        const bool cierto = predicados[ix(op.predicado)];
        [[maybe_unused]] const int64_t fallosAntes = estadisticas.fallosCache;
        if (cierto) {
          if (!ejecutarOperacion(op, u)) return CICLO_ERROR;
          escrito = true;
        } else {
          descartarOperacion(op, u);
        }
        if constexpr (CON_OBSERVADOR) notificarSalida(t, numero, u, cierto, fallosAntes);
      }
      u.avanzar();
      if constexpr (CON_OBSERVADOR) ++numero;
    }
  }

  // Solo las operaciones del ciclo dejan escrituras pendientes (reset las
  // limpia): sin ninguna, recorrer los dos bancos es tiempo perdido.
  if (escrito) {
    gpr.actualizar();
    fpr.actualizar();
  }

  TInstruccionLarga* larga = codigo.instruccion(pc);
  if (larga == nullptr) return ocupada ? CICLO_VACIANDO : CICLO_COMPLETADO;

  // Antes de mirar ninguna unidad: un programa hecho a mano no debe hacer que
  // se indexe fuera de las unidades configuradas.
  std::array<uint32_t, NUM_TIPOS_UF> usadas{};
  for (const auto& p : larga->operaciones) {
    if (!p) continue;
    TDefecto defecto = defectoDe(*p);
    if (defecto == defNinguno) {
      const uint32_t bit = 1u << p->numUnidad;
      uint32_t& marcas = usadas[ix(p->tipoUF)];
      if (marcas & bit) defecto = defUnidadRepetida;
      marcas |= bit;
    }
    if (defecto == defNinguno) continue;
    const std::string donde = " en la operación " + std::to_string(p->direccion) +
                              " de la instrucción larga " + std::to_string(pc);
    switch (defecto) {
      case defConfiguracion: return detener(MENSAJE_CONFIGURACION);
      case defUnidadRepetida: return detener("Unidad funcional repetida" + donde);
      default: return detener("Operación no válida" + donde);
    }
  }

  if (secuenciaEnEmision < 0) {
    secuenciaEnEmision = contadorSecuencia++;
    if constexpr (CON_OBSERVADOR) observador->largaEnEmision(secuenciaEnEmision, static_cast<int32_t>(pc));
  }

  const TOperacionVLIW* obstaculo = nullptr;
  for (const auto& p : larga->operaciones) {
    if (!p) continue;
    const TUnidadFuncional& u = uf[ix(p->tipoUF)][ix(p->numUnidad)];
    if (!u.puedeAceptar() || operandoNaT(*p)) {
      obstaculo = p.get();
      break;
    }
  }

  if (obstaculo != nullptr) {
    ++estadisticas.ciclosParada;
    if constexpr (CON_OBSERVADOR)
      observador->largaDetenida(secuenciaEnEmision, static_cast<int32_t>(pc), motivoDeParada(*obstaculo));
  } else {
    const int32_t numOps = larga->numOperaciones();
    for (int32_t i = 0; i < numOps; ++i) {
      TOperacionVLIW* p = larga->operaciones[ix(i)].get();
      if (!p) continue;
      TOperacionVLIW& op = *p;
      const int32_t etapa = uf[ix(op.tipoUF)][ix(op.numUnidad)].insertar(&op);
      origenEtapa(op.tipoUF, op.numUnidad, etapa) = TOrigenEtapa{secuenciaEnEmision, static_cast<int32_t>(pc), i};
      if constexpr (CON_OBSERVADOR) observador->operacionEmitida(secuenciaEnEmision, i, op);
      const TDescripcionInstruccion& desc = op.descripcion();
      if (desc.esCarga()) (desc.destino.flotante() ? natFPR : natGPR)[ix(op.op[0])] = true;
      if (op.tipoUF == tufSalto) {
        predicados[ix(op.predVerdadero)] = false;
        predicados[ix(op.predFalso)] = false;
        predicados[0] = true;
      }
    }
    emitidaCiclo = static_cast<int32_t>(pc);
    ++estadisticas.instruccionesEmitidas;
    if constexpr (CON_OBSERVADOR) observador->largaEmitida(secuenciaEnEmision, static_cast<int32_t>(pc));
    secuenciaEnEmision = -1;
    ++pc;
  }

  if (larga->breakpoint) {
    paradaBreakpoint = true;
    return CICLO_BREAKPOINT;
  }
  return CICLO_NORMAL;
}

TMaquinaVLIW::TDefecto TMaquinaVLIW::defectoDe(const TOperacionVLIW& op) const {
  if (op.tipoUF < 0 || op.tipoUF >= NUM_TIPOS_UF || op.codOp < 0 || op.codOp >= NUM_COD_OP ||
      op.tipoUF != tipoUFDe(op.codOp) || op.numUnidad < 0)
    return defOperacionInvalida;
  if (!registroValido(op.predicado)) return defOperacionInvalida;
  if (esSalto(op.codOp) && (!registroValido(op.predVerdadero) || !registroValido(op.predFalso)))
    return defOperacionInvalida;
  TRegistroUsado r[2];
  const int n = fuentesDe(op, r);
  for (int i = 0; i < n; ++i)
    if (!registroValido(r[i].numero)) return defOperacionInvalida;
  TRegistroUsado d;
  if (destinoDe(op, d) && !registroValido(d.numero)) return defOperacionInvalida;
  // Las marcas de unidades usadas caben en 32 bits; reset nunca construye tantas.
  static_assert(MAX_UF <= 32);
  if (op.numUnidad >= static_cast<int32_t>(uf[ix(op.tipoUF)].size()) || op.numUnidad >= 32)
    return defConfiguracion;
  return defNinguno;
}

// La primera causa, en el orden en que la emisión las prueba: la unidad y luego los operandos.
TEspera TMaquinaVLIW::motivoDeParada(const TOperacionVLIW& op) const {
  if (!uf[ix(op.tipoUF)][ix(op.numUnidad)].puedeAceptar()) return TEspera{espUnidadOcupada, op.tipoUF, op.numUnidad};
  TRegistroUsado r[2];
  const int n = fuentesDe(op, r);
  for (int i = 0; i < n; ++i)
    if ((r[i].flotante ? natFPR : natGPR)[ix(r[i].numero)])
      return TEspera{espNaT, static_cast<int8_t>(r[i].flotante ? 1 : 0), r[i].numero};
  return TEspera{};
}

bool TMaquinaVLIW::operandoNaT(const TOperacionVLIW& op) const {
  TRegistroUsado r[2];
  const int n = fuentesDe(op, r);
  for (int i = 0; i < n; ++i)
    if ((r[i].flotante ? natFPR : natGPR)[ix(r[i].numero)]) return true;
  return false;
}

uint32_t TMaquinaVLIW::resolverSalto(const TOperacionVLIW& op) {
  const TDescripcionInstruccion& desc = op.descripcion();
  const bool iguales = gpr.valor[ix(op.op[desc.fuenteJ.campo])] == gpr.valor[ix(op.op[desc.fuenteK.campo])];
  const bool tomado = desc.semantica == semSaltoIguales ? iguales : !iguales;
  // En este orden: si los dos predicados son el mismo registro, gana predFalso.
  predicados[ix(op.predVerdadero)] = tomado;
  predicados[ix(op.predFalso)] = !tomado;
  predicados[0] = true;
  if (!tomado) return pc;
  ++estadisticas.saltosTomados;
  // Un destino negativo queda, como entero sin signo, más allá del final.
  return static_cast<uint32_t>(op.op[2]);
}

bool TMaquinaVLIW::ejecutarOperacion(const TOperacionVLIW& op, TUnidadFuncional& unidad) {
  const auto& r = gpr.valor;
  const auto& f = fpr.valor;
  const TDescripcionInstruccion& desc = op.descripcion();
  const TOperando& j = desc.fuenteJ;
  const TOperando& k = desc.fuenteK;
  const int32_t d = op.op[0];
  // Las fuentes ya se validaron al emitir (defectoDe): los índices están en rango.
  auto entero = [&](const TOperando& o) { return o.banco == bancoInmediato ? op.op[o.campo] : r[ix(op.op[o.campo])]; };
  auto flotante = [&](const TOperando& o) { return f[ix(op.op[o.campo])]; };
  switch (desc.semantica) {
    case semSuma:
    case semProducto: {
      const bool suma = desc.semantica == semSuma;
      if (desc.destino.flotante()) {
        const float a = flotante(j), b = flotante(k);
        fpr.escribirPendiente(d, suma ? a + b : a * b);
      } else {
        const int32_t a = entero(j), b = entero(k);
        gpr.escribirPendiente(d, suma ? sumaEntera(a, b) : multEntera(a, b));
      }
      break;
    }
    case semAlmacenar:
    case semCargar: {
      const int64_t a = direccionEfectiva(entero(k), op.op[1]);
      if (!TMemoria::direccionValida(a)) {
        detener("Dirección de memoria fuera de rango (" + std::to_string(a) + ") en la operación " +
                std::to_string(op.direccion) + " de la instrucción larga " +
                std::to_string(indiceDe(op)));
        return false;
      }
      const size_t i = static_cast<size_t>(a);
      if (desc.semantica == semAlmacenar) {
        memoria.datos[i] = j.flotante() ? flotante(j) : static_cast<float>(entero(j));
        break;
      }
      if (memoria.accesoFalla(static_cast<int32_t>(a))) {
        ++estadisticas.fallosCache;
        const int32_t espera = paradaPorFallo(unidad);
        if (espera > 0) {
          // Se queda en la etapa de salida y se reintenta al acabar la parada.
          unidad.parada = espera;
          return true;
        }
        // Un fallo que no cuesta nada es a la vez su propio reintento.
        memoria.fallo[i] = false;
      }
      if (desc.destino.flotante()) {
        fpr.escribirPendiente(d, memoria.datos[i]);
        natFPR[ix(d)] = false;
      } else {
        gpr.escribirPendiente(d, flotanteAEntero(memoria.datos[i]));
        natGPR[ix(d)] = false;
      }
      break;
    }
    default: break;
  }
  gpr.escribirPendiente(0, 0);
  predicados[0] = true;
  ++estadisticas.operacionesEjecutadas;
  return true;
}

void TMaquinaVLIW::descartarOperacion(const TOperacionVLIW& op, const TUnidadFuncional& unidad) {
  ++estadisticas.operacionesDescartadas;
  // Una carga descartada no llegará nunca: si nadie más va a escribir su
  // destino, su bit NaT dejaría la emisión parada para siempre.
  if (!esCarga(op.codOp) || otraCargaEnVuelo(op, unidad)) return;
  (op.descripcion().destino.flotante() ? natFPR : natGPR)[ix(op.op[0])] = false;
}

bool TMaquinaVLIW::otraCargaEnVuelo(const TOperacionVLIW& carga, const TUnidadFuncional& unidad) const {
  // Se cuentan etapas y no operaciones: un bucle puede tener en vuelo dos veces la misma.
  for (const TUnidadFuncional& u : uf[tufMemoria])
    for (int32_t s = 0; s < static_cast<int32_t>(u.etapas.size()); ++s) {
      if (&u == &unidad && s == u.salida) continue;
      const TInstruccion* e = u.etapas[ix(s)];
      if (e != nullptr && e->codOp == carga.codOp && e->op[0] == carga.op[0]) return true;
    }
  return false;
}

int32_t TMaquinaVLIW::indiceDe(const TOperacionVLIW& op) const {
  for (int32_t i = 0; i < codigo.numInstrucciones; ++i) {
    const TInstruccionLarga* larga = codigo.instruccion(i);
    if (larga == nullptr) break;
    for (const auto& p : larga->operaciones)
      if (p.get() == &op) return i;
  }
  return -1;
}

int8_t TMaquinaVLIW::detener(const std::string& mensaje) {
  mensajeError = mensaje;
  return CICLO_ERROR;
}

// ---------------------------------------------------------------------------
// Cambios del programa

void TMaquinaVLIW::borrarCodigo() {
  vaciarUnidades();
  codigo.borrar();
}

bool TMaquinaVLIW::cargarCodigo(const std::string& nombreFichero, const TCodigo& codigoSecuencial) {
  vaciarUnidades();
  return codigo.cargar(nombreFichero, codigoSecuencial);
}

void TMaquinaVLIW::vaciarUnidades() {
  for (auto& unidades : uf)
    for (auto& u : unidades) u.vaciar();
  // Sin cargas en vuelo ningún registro puede seguir esperando una.
  natGPR.fill(false);
  natFPR.fill(false);
}

// ---------------------------------------------------------------------------
// Comprobaciones

int32_t TMaquinaVLIW::comprobarConfiguracion() const {
  for (int32_t i = 0; i < codigo.numInstrucciones; ++i) {
    const TInstruccionLarga* larga = codigo.instruccion(i);
    if (larga == nullptr) break;
    for (const auto& p : larga->operaciones) {
      if (!p) continue;
      if (p->tipoUF < 0 || p->tipoUF >= NUM_TIPOS_UF || p->numUnidad < 0 ||
          p->numUnidad >= limiteUnidades(p->tipoUF))
        return CHEQUEO_CONFIGURACION;
    }
  }
  return CHEQUEO_OK;
}

std::string TMaquinaVLIW::detalleConfiguracion() const {
  for (int32_t i = 0; i < codigo.numInstrucciones; ++i) {
    const TInstruccionLarga* larga = codigo.instruccion(i);
    if (larga == nullptr) break;
    for (const auto& p : larga->operaciones) {
      if (!p) continue;
      const bool tipoValido = p->tipoUF >= 0 && p->tipoUF < NUM_TIPOS_UF;
      if (tipoValido && p->numUnidad >= 0 && p->numUnidad < limiteUnidades(p->tipoUF)) continue;
      const std::string donde = larga->linea > 0 ? "línea " + std::to_string(larga->linea)
                                                 : "instrucción larga " + std::to_string(i);
      const std::string tipo =
          tipoValido ? nombresTipoUF[static_cast<size_t>(p->tipoUF)] : "de tipo " + std::to_string(p->tipoUF);
      return donde + ": unidad " + tipo + " " + std::to_string(p->numUnidad) + " fuera de la configuración";
    }
  }
  return {};
}

int32_t TMaquinaVLIW::comprobarCodigo(int32_t& instruccionLarga, int32_t& operacion) const {
  const int32_t r = comprobarDependencias(instruccionLarga, operacion);
  if (r != CHEQUEO_OK) return r;
  return comprobarPredicados(instruccionLarga, operacion);
}

int32_t TMaquinaVLIW::comprobarDependencias(int32_t& instruccionLarga, int32_t& operacion) const {
  struct TPendiente {
    int32_t restante = 0;  // ciclos hasta que el resultado esté disponible
    int32_t escritor = 0;  // direccion de la operación que lo produce
  };
  std::array<TPendiente, NUM_REGISTROS> enteros{}, flotantes{};

  for (int32_t i = 0; i < codigo.numInstrucciones; ++i) {
    const TInstruccionLarga* larga = codigo.instruccion(i);
    if (larga == nullptr) break;
    for (const auto& p : larga->operaciones) {
      TRegistroUsado d;
      if (!p || !destinoDe(*p, d) || !registroValido(d.numero)) continue;
      const int32_t latencia = latUF[ix(tipoUFDe(p->codOp))];
      // Si ya había un escritor pendiente más tiempo, es ese el que cuenta.
      TPendiente& e = (d.flotante ? flotantes : enteros)[ix(d.numero)];
      if (e.restante < latencia) e = {latencia, p->direccion};
    }
    for (const auto& p : larga->operaciones) {
      if (!p) continue;
      TRegistroUsado r[2];
      const int n = fuentesDe(*p, r);
      for (int k = 0; k < n; ++k) {
        if (!registroValido(r[k].numero)) continue;
        const TPendiente& e = (r[k].flotante ? flotantes : enteros)[ix(r[k].numero)];
        // Dentro de una misma instrucción larga, quien va antes en el programa
        // secuencial quiere el valor antiguo.
        if (e.restante > 0 && e.escritor < p->direccion) {
          instruccionLarga = i;
          operacion = p->direccion;
          return CHEQUEO_DEPENDENCIA;
        }
      }
    }
    for (auto* tabla : {&enteros, &flotantes})
      for (TPendiente& e : *tabla)
        if (e.restante > 0) --e.restante;
  }
  return CHEQUEO_OK;
}

int32_t TMaquinaVLIW::comprobarPredicados(int32_t& instruccionLarga, int32_t& operacion) const {
  struct TPredicadoPendiente {
    int32_t restante;
    int32_t registro;
  };
  std::vector<TPredicadoPendiente> pendientes;
  const int32_t latSalto = latUF[tufSalto];

  for (int32_t i = 0; i < codigo.numInstrucciones; ++i) {
    const TInstruccionLarga* larga = codigo.instruccion(i);
    if (larga == nullptr) break;
    // Con «<= 1» una latencia absurda (0 o negativa) tampoco deja entradas eternas.
    pendientes.erase(std::remove_if(pendientes.begin(), pendientes.end(),
                                    [](const TPredicadoPendiente& e) { return e.restante <= 1; }),
                     pendientes.end());
    for (auto& e : pendientes) --e.restante;

    for (const auto& p : larga->operaciones)
      if (p && p->tipoUF == tufSalto) {
        pendientes.push_back({latSalto, p->predVerdadero});
        pendientes.push_back({latSalto, p->predFalso});
      }

    for (const auto& p : larga->operaciones) {
      if (!p || p->predicado == 0) continue;
      const auto e = std::find_if(pendientes.begin(), pendientes.end(),
                                  [&](const TPredicadoPendiente& x) { return x.registro == p->predicado; });
      const int tipo = p->tipoUF >= 0 && p->tipoUF < NUM_TIPOS_UF ? int{p->tipoUF} : int{tipoUFDe(p->codOp)};
      int32_t resultado = CHEQUEO_OK;
      if (e == pendientes.end())
        resultado = CHEQUEO_PREDICADO;
      else if (latUF[ix(tipo)] < e->restante)
        resultado = CHEQUEO_SALTO_NO_RESUELTO;
      if (resultado != CHEQUEO_OK) {
        instruccionLarga = i;
        operacion = p->direccion;
        return resultado;
      }
    }
  }
  return CHEQUEO_OK;
}

std::string TMaquinaVLIW::mensajeChequeo(int32_t resultado, int32_t instruccionLarga, int32_t operacion) {
  const std::string o = std::to_string(operacion);
  const std::string l = std::to_string(instruccionLarga);
  switch (resultado) {
    case CHEQUEO_DEPENDENCIA:
      return "Dependencia verdadera en la operación " + o + " de la instrucción larga " + l;
    case CHEQUEO_SALTO_NO_RESUELTO:
      return "Operación " + o + " de la instrucción larga " + l + " depende de un salto anterior no resuelto";
    case CHEQUEO_PREDICADO:
      return "Registro de predicado no válido en la operación " + o + " de la instrucción larga " + l;
    case CHEQUEO_CONFIGURACION: return MENSAJE_CONFIGURACION;
    default: return {};
  }
}

// ---------------------------------------------------------------------------
// Instantáneas

void TMaquinaVLIW::capturar(TInstantaneaVLIW& s) const {
  s.TInstantaneaMaquina::capturar(*this);
  for (size_t i = 0; i < NUM_REGISTROS; ++i) {
    s.predicados[i] = predicados[i];
    s.natGPR[i] = natGPR[i];
    s.natFPR[i] = natFPR[i];
  }
  s.etapas.clear();
  for (int t = 0; t < NUM_TIPOS_UF; ++t)
    for (size_t u = 0; u < uf[ix(t)].size(); ++u) {
      const TUnidadFuncional& unidad = uf[ix(t)][u];
      if (unidad.ocupadas == 0) continue;
      for (int32_t e = 0; e < unidad.latencia; ++e)
        if (unidad.etapas[ix(e)] != nullptr)
          s.etapas.push_back({static_cast<int8_t>(t), static_cast<int32_t>(u), e,
                              origenEtapa(t, static_cast<int32_t>(u), e)});
    }
  s.estadisticas = estadisticas;
  s.emitidaCiclo = emitidaCiclo;
  s.secuenciaEnEmision = secuenciaEnEmision;
  s.contadorSecuencia = contadorSecuencia;
}

bool TMaquinaVLIW::restaurar(const TInstantaneaVLIW& s) {
  // Todo se comprueba antes de tocar nada: cada etapa ocupada nombra una
  // operación que existe, en la unidad y la etapa que le tocan.
  auto operacion = [&](const TInstantaneaVLIW::TEtapaOcupada& e) -> TOperacionVLIW* {
    TInstruccionLarga* larga = codigo.instruccion(e.origen.larga);
    if (larga == nullptr || e.origen.indice < 0 || e.origen.indice >= larga->numOperaciones()) return nullptr;
    TOperacionVLIW* op = larga->operaciones[ix(e.origen.indice)].get();
    if (op == nullptr || op->tipoUF != e.tipo || op->numUnidad != e.unidad) return nullptr;
    if (e.tipo < 0 || e.tipo >= NUM_TIPOS_UF || e.unidad < 0) return nullptr;
    const auto& unidades = s.unidades[ix(e.tipo)];
    if (ix(e.unidad) >= unidades.size() || e.etapa < 0 || e.etapa >= unidades[ix(e.unidad)].latencia) return nullptr;
    return op;
  };
  for (const auto& e : s.etapas)
    if (operacion(e) == nullptr) return false;

  s.TInstantaneaMaquina::restaurar(*this);
  for (int t = 0; t < NUM_TIPOS_UF; ++t) {
    size_t etapas = 0;
    for (const TUnidadFuncional& u : uf[ix(t)]) etapas += ix(u.latencia);
    origenEtapas[ix(t)].assign(etapas, TOrigenEtapa{});
  }
  for (const auto& e : s.etapas) {
    uf[ix(e.tipo)][ix(e.unidad)].etapas[ix(e.etapa)] = operacion(e);
    origenEtapa(e.tipo, e.unidad, e.etapa) = e.origen;
  }
  for (size_t i = 0; i < NUM_REGISTROS; ++i) {
    predicados[i] = s.predicados[i];
    natGPR[i] = s.natGPR[i];
    natFPR[i] = s.natFPR[i];
  }
  estadisticas = s.estadisticas;
  emitidaCiclo = s.emitidaCiclo;
  secuenciaEnEmision = s.secuenciaEnEmision;
  contadorSecuencia = s.contadorSecuencia;
  return true;
}
