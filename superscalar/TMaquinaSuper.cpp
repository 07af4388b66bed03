#include "superscalar/TMaquinaSuper.h"

#include <algorithm>
#include <memory>

#include "machine/Conversiones.h"
#include "superscalar/TInstantaneaSuper.h"

const std::array<std::string, 4> nombresPrediccion = {"F(00)", "F(01)", "V(10)", "V(11)"};

namespace {

// La más reciente de la reserva, o una nueva si está vacía.
template <typename T>
std::unique_ptr<T> tomar(std::vector<std::unique_ptr<T>>& reserva) {
  if (reserva.empty()) return std::make_unique<T>();
  std::unique_ptr<T> p = std::move(reserva.back());
  reserva.pop_back();
  return p;
}

// avanzar() con un atajo para la unidad vacía y sin parada, que es el caso común
// con muchas unidades configuradas: mismo estado final, sin la división del módulo.
void avanzarUnidad(TUnidadFuncional& u) {
  if (u.ocupadas == 0 && u.parada == 0 && u.latencia > 0) {
    u.salida = (u.salida == 0 ? u.latencia : u.salida) - 1;
  } else {
    u.avanzar();
  }
}

// Avanza u hasta la primera unidad que puede aceptar una instrucción; false si no queda ninguna.
bool hayLibre(const std::vector<TUnidadFuncional>& unidades, size_t& u) {
  while (u < unidades.size() && !unidades[u].puedeAceptar()) ++u;
  return u < unidades.size();
}

}  // namespace

TMaquinaSuper::TMaquinaSuper() { TMaquinaSuper::reset(true); }

TMaquinaSuper::~TMaquinaSuper() { descartarEntradas(); }

// Una copia vuelve a la reserva de su dirección: la próxima vez que se busque
// esa instrucción ya tiene sus textos y no hay que copiarlos.
void TMaquinaSuper::reciclar(std::unique_ptr<TInstruccion> copia) {
  if (!copia) return;
  const int32_t d = copia->direccion;
  if (d >= 0 && static_cast<size_t>(d) < reservas.porDireccion.size())
    reservas.porDireccion[static_cast<size_t>(d)].push_back(std::move(copia));
  else
    reservas.copias.push_back(std::move(copia));
}

// Las de cada dirección valen para el programa con que se buscaron: pasan a
// la reserva general, que las vuelve a copiar enteras.
void TMaquinaSuper::olvidarCopiasPorDireccion() {
  for (auto& propias : reservas.porDireccion) {
    for (auto& copia : propias) reservas.copias.push_back(std::move(copia));
    propias.clear();
  }
  reservas.porDireccion.resize(codigo != nullptr ? codigo->instrucciones.size() : 0);
  reservas.programa = codigo;
}

void TMaquinaSuper::reciclar(TEntradaROB* e) {
  reciclar(std::move(e->instruccion));
  *e = TEntradaROB{};
  reservas.rob.emplace_back(e);
}

template <typename T>
void TMaquinaSuper::reciclar(TCola<T>& cola, std::vector<std::unique_ptr<T>>& reserva) {
  while (!cola.vacia()) {
    std::unique_ptr<T> e(cola.extraer());
    reciclar(std::move(e->instruccion));
    reserva.push_back(std::move(e));
  }
}

void TMaquinaSuper::descartarEntradas() {
  while (!rob.vacia()) reciclar(rob.extraer());
  reciclar(decoder, reservas.decoder);
  reciclar(prefetch, reservas.prefetch);
  for (auto& estacion : er) estacion.clear();
  almacenamientos.clear();
}

void TMaquinaSuper::reset(bool limpiar) {
  // Las unidades apuntan a copias que poseen las entradas del ROB; se reconstruyen
  // en TMaquina::reset, así que nada queda apuntando a lo que se borra aquí.
  descartarEntradas();
  TMaquina::reset(limpiar);
  emision = std::clamp(emision, MIN_EMISION, MAX_EMISION);
  anchura = emision;
  detenidaPorError = false;
  // Una ejecución detenida a medias deja marcas cuyas etiquetas ya no existen.
  gpr.pendiente.fill(false);
  fpr.pendiente.fill(false);
  robGPR.fill(-1);
  robFPR.fill(-1);
  prediccion.fill(0);
  rob.redimensionar(capacidadROB());
  prefetch.redimensionar(2 * emision);
  decoder.redimensionar(emision);
  // Las reservas no guardan más de lo que cabe en vuelo con esta configuración.
  const auto maximo = static_cast<size_t>(rob.tam + prefetch.tam + decoder.tam);
  auto recortar = [maximo](auto& reserva) {
    if (reserva.size() > maximo) reserva.resize(maximo);
  };
  olvidarCopiasPorDireccion();
  recortar(reservas.copias);
  recortar(reservas.prefetch);
  recortar(reservas.decoder);
  recortar(reservas.rob);
  seguimiento.decoder.assign(static_cast<size_t>(decoder.tam), TEspera{});
  seguimiento.estaciones.assign(static_cast<size_t>(rob.tam), TEstadoER{});
  olvidarEsperas();
  // Tras el reset no hay nada en vuelo: lo llevado vale para cualquier observador.
  seguimiento.observador = observador;
  seguimiento.ciclo = 0;
  seguimiento.ultimaPrefetch = seguimiento.ultimaDecoder = -1;
  aluDir.assign(static_cast<size_t>(numUF[tufMemoria]), TUnidadFuncional{});
  for (auto& u : aluDir) {
    u.tipo = 0;
    u.inicializar(latUF[tufSumaEntera]);
  }
  reconstruirIndices();
  estadisticas = TEstadisticasSuper{};
  confirmadasCiclo.clear();
  contadorSecuencia = 0;
  notificarReinicio();
}

int32_t TMaquinaSuper::capacidadER(int tipo) const {
  if (tipo < 0 || tipo >= NUM_TIPOS_UF) return 0;
  const size_t t = static_cast<size_t>(tipo);
  return numUF[t] * (latUF[t] + 1);
}

int32_t TMaquinaSuper::capacidadROB() const {
  int32_t total = 0;
  for (int t = 0; t < NUM_TIPOS_UF; ++t) total += capacidadER(t);
  return total;
}

int32_t TMaquinaSuper::posicionEnROB(int32_t tag) const {
  return rob.tam > 0 ? (tag - rob.inicio + rob.tam) % rob.tam : 0;
}

// ---------------------------------------------------------------------------
// Índices de las estaciones

void TMaquinaSuper::reconstruirIndices() {
  const size_t tam = static_cast<size_t>(std::max(rob.tam, 0));
  posicionER.assign(tam, -1);
  tipoER.assign(tam, 0);
  esperanA.resize(tam);
  for (auto& quienes : esperanA) quienes.clear();
  for (auto& lista : listas) lista.redimensionar(rob.tam);
  sinDireccion.redimensionar(rob.tam);
  almacenamientosListos.redimensionar(rob.tam);
  auto prepararGrupo = [this](size_t g, const std::vector<TUnidadFuncional>& unidades) {
    int32_t paso = 1;
    for (const TUnidadFuncional& u : unidades) paso = std::max(paso, u.latencia);
    pasoEtapas[g] = paso;
    etiquetasEtapa[g].assign(unidades.size() * static_cast<size_t>(paso), -1);
  };
  for (size_t t = 0; t < NUM_TIPOS_UF; ++t) prepararGrupo(t, uf[t]);
  prepararGrupo(NUM_TIPOS_UF, aluDir);

  const auto numMem = static_cast<int32_t>(uf[tufMemoria].size());
  for (int t = 0; t < NUM_TIPOS_UF; ++t) {
    const auto& estacion = er[static_cast<size_t>(t)];
    for (size_t p = 0; p < estacion.size(); ++p) {
      const TEntradaER& e = estacion[p];
      if (e.tagROB < 0 || static_cast<size_t>(e.tagROB) >= tam) continue;
      posicionER[static_cast<size_t>(e.tagROB)] = static_cast<int32_t>(p);
      tipoER[static_cast<size_t>(e.tagROB)] = static_cast<int8_t>(t);
      if (e.qj >= 0 && static_cast<size_t>(e.qj) < tam) esperanA[static_cast<size_t>(e.qj)].push_back(e.tagROB);
      if (e.qk >= 0 && static_cast<size_t>(e.qk) < tam && e.qk != e.qj)
        esperanA[static_cast<size_t>(e.qk)].push_back(e.tagROB);
      if (e.uf == -1) {
        clasificar(t, e);
        continue;
      }
      const bool dir = t == tufMemoria && e.uf >= numMem;
      const int grupo = dir ? NUM_TIPOS_UF : t;
      const int32_t u = dir ? e.uf - numMem : e.uf;
      const auto g = static_cast<size_t>(grupo);
      if (u >= 0 && e.etapaUF >= 0 && e.etapaUF < pasoEtapas[g] &&
          static_cast<size_t>(u) * static_cast<size_t>(pasoEtapas[g]) < etiquetasEtapa[g].size())
        etiquetaEnEtapa(grupo, u, e.etapaUF) = e.tagROB;
    }
  }
}

// Pone la entrada en la lista de lo que puede hacer ya, si puede hacer algo.
void TMaquinaSuper::clasificar(int tipo, const TEntradaER& e) {
  if (e.uf != -1 || e.qk != -1) return;
  if (tipo != tufMemoria) {
    if (e.qj == -1) listas[static_cast<size_t>(tipo)].poner(e.tagROB);
    return;
  }
  const TEntradaROB* r = rob.elemento(e.tagROB);
  if (r == nullptr) return;
  if (!r->dirCalculada)
    sinDireccion.poner(e.tagROB);
  else if (e.qj != -1)
    return;
  else if (esCarga(e.instruccion->codOp))
    listas[tufMemoria].poner(e.tagROB);
  else if (esAlmacenamiento(e.instruccion->codOp))
    almacenamientosListos.poner(e.tagROB);
}

void TMaquinaSuper::quitarDeEstacion(int tipo, size_t posicion) {
  auto& estacion = er[static_cast<size_t>(tipo)];
  posicionER[static_cast<size_t>(estacion[posicion].tagROB)] = -1;
  estacion.erase(estacion.begin() + static_cast<std::ptrdiff_t>(posicion));
  for (size_t k = posicion; k < estacion.size(); ++k)
    posicionER[static_cast<size_t>(estacion[k].tagROB)] = static_cast<int32_t>(k);
}

// La entrada de la estación «tipo» cuya instrucción está en la salida de la
// unidad (ident es como la nombra la entrada), o nullptr.
TEntradaER* TMaquinaSuper::entradaEnSalida(int tipo, int grupo, int32_t unidad, int32_t ident,
                                           const TUnidadFuncional& u) {
  auto& estacion = er[static_cast<size_t>(tipo)];
  auto coincide = [&](const TEntradaER& e) { return e.uf == ident && e.etapaUF == u.salida; };
  const int32_t tag = etiquetaEnEtapa(grupo, unidad, u.salida);
  if (tag >= 0 && static_cast<size_t>(tag) < posicionER.size()) {
    const int32_t p = posicionER[static_cast<size_t>(tag)];
    if (p >= 0 && static_cast<size_t>(p) < estacion.size() && estacion[static_cast<size_t>(p)].tagROB == tag &&
        coincide(estacion[static_cast<size_t>(p)]))
      return &estacion[static_cast<size_t>(p)];
  }
  // Solo si los índices no cuadran con la unidad: la búsqueda entera.
  auto it = std::find_if(estacion.begin(), estacion.end(), coincide);
  return it == estacion.end() ? nullptr : &*it;
}

// ---------------------------------------------------------------------------
// Ciclo

int8_t TMaquinaSuper::ejecutarCiclo() {
  if (observador == nullptr) return avanzarCiclo<false>();
  const int32_t anterior = ciclo;
  const int8_t r = avanzarCiclo<true>();
  // Una máquina detenida por un error no cuenta ciclos: no hubo ciclo que contar.
  if (ciclo != anterior) observador->finCiclo(ciclo, r);
  return r;
}

// Las etapas del ciclo existen en dos versiones: sin observador, sin una sola
// comprobación de más; con él, con los sucesos y los motivos de espera.
template <bool CON_OBSERVADOR>
int8_t TMaquinaSuper::avanzarCiclo() {
  confirmadasCiclo.clear();
  if (detenidaPorError) return CICLO_ERROR;
  ++ciclo;
  if constexpr (CON_OBSERVADOR) {
    observador->inicioCiclo(ciclo);
    seguimiento.escritasAnterior.swap(seguimiento.escritasCiclo);
    seguimiento.escritasCiclo.clear();
    if (seguimiento.observador != observador || seguimiento.ciclo != ciclo - 1) sincronizarSeguimiento();
    seguimiento.ciclo = ciclo;
  }
  const int8_t c = commit<CON_OBSERVADOR>();
  if constexpr (CON_OBSERVADOR) esperasDeConfirmacion();
  if (c == COMMIT_ERROR) return CICLO_ERROR;
  if (c != COMMIT_ROB_VACIO && c != COMMIT_FALLO_PREDICCION) {
    escribir<CON_OBSERVADOR>();
    ejecutar<CON_OBSERVADOR>();
  }
  const int32_t n = emitir<CON_OBSERVADOR>();
  const int32_t d = decodificar<CON_OBSERVADOR>();
  const int32_t p = buscar<CON_OBSERVADOR>();
  if (n + d + p == 0 && c == COMMIT_ROB_VACIO) return CICLO_COMPLETADO;
  for (int32_t i = 0; i < prefetch.numElementos(); ++i) {
    if (prefetch.enOrden(i)->instruccion->breakpoint) {
      paradaBreakpoint = true;
      return CICLO_BREAKPOINT;
    }
  }
  return CICLO_NORMAL;
}

int8_t TMaquinaSuper::commit() { return observador ? commit<true>() : commit<false>(); }
void TMaquinaSuper::escribir() { observador ? escribir<true>() : escribir<false>(); }
void TMaquinaSuper::ejecutar() { observador ? ejecutar<true>() : ejecutar<false>(); }
int32_t TMaquinaSuper::emitir() { return observador ? emitir<true>() : emitir<false>(); }
int32_t TMaquinaSuper::decodificar() { return observador ? decodificar<true>() : decodificar<false>(); }
int32_t TMaquinaSuper::buscar() { return observador ? buscar<true>() : buscar<false>(); }

// ---------------------------------------------------------------------------
// Búsqueda, decodificación y emisión

template <bool CON_OBSERVADOR>
int32_t TMaquinaSuper::buscar() {
  if (codigo != nullptr) {
    const int64_t total = std::min<int64_t>(codigo->numInstrucciones,
                                            static_cast<int64_t>(codigo->instrucciones.size()));
    if (reservas.programa != codigo || reservas.porDireccion.size() != codigo->instrucciones.size())
      olvidarCopiasPorDireccion();
    while (!prefetch.llena() && static_cast<int64_t>(pc) < total) {
      std::unique_ptr<TEntradaPrefetch> entrada = tomar(reservas.prefetch);
      const TInstruccion& fuente = codigo->instrucciones[pc];
      auto& propias = reservas.porDireccion[pc];
      if (!propias.empty()) {
        // La misma instrucción del mismo programa: solo cambia lo que el usuario marca.
        entrada->instruccion = std::move(propias.back());
        propias.pop_back();
        entrada->instruccion->breakpoint = fuente.breakpoint;
        entrada->instruccion->color = fuente.color;
      } else {
        entrada->instruccion = tomar(reservas.copias);
        *entrada->instruccion = fuente;
      }
      entrada->instruccion->secuencia = contadorSecuencia++;
      const TInstruccion& ins = *entrada->instruccion;
      if (ins.tipoUnidad() == tufSalto && prediccion[pc % TAM_PREDICCION] >= 2) {
        // Un bloque inexistente da -1: pc queda fuera del programa y la búsqueda se detiene.
        pc = static_cast<uint32_t>(codigo->primeraDeBloque(ins.op[2]));
      } else {
        ++pc;
      }
      if constexpr (CON_OBSERVADOR) observador->buscada(ins);
      prefetch.insertar(entrada.release());
    }
  }
  return prefetch.numElementos();
}

template <bool CON_OBSERVADOR>
int32_t TMaquinaSuper::decodificar() {
  while (!decoder.llena() && !prefetch.vacia()) {
    std::unique_ptr<TEntradaPrefetch> origen(prefetch.extraer());
    std::unique_ptr<TEntradaDecoder> entrada = tomar(reservas.decoder);
    entrada->instruccion = std::move(origen->instruccion);
    reservas.prefetch.push_back(std::move(origen));
    if constexpr (CON_OBSERVADOR) {
      seguimiento.decoder[static_cast<size_t>(decoder.fin)] = TEspera{};
      observador->decodificada(*entrada->instruccion);
    }
    decoder.insertar(entrada.release());
  }
  if constexpr (CON_OBSERVADOR) esperasEnPrefetch();
  return decoder.numElementos();
}

inline void TMaquinaSuper::leerOperando(int32_t registro, bool flotante, int32_t& q, float& v) const {
  q = -1;
  v = 0.0f;
  // Un registro sin almacenamiento se lee como 0 (el cargador ya los rechaza).
  if (!TRegistros<float>::indiceValido(registro)) return;
  const size_t r = static_cast<size_t>(registro);
  const bool pendiente = flotante ? fpr.pendiente[r] : gpr.pendiente[r];
  const TEntradaROB* productor =
      pendiente ? rob.elemento(flotante ? robFPR[r] : robGPR[r]) : nullptr;
  if (productor == nullptr) {
    v = flotante ? fpr.valor[r] : static_cast<float>(gpr.valor[r]);
  } else if (productor->listo) {
    v = productor->valor;
  } else {
    q = flotante ? robFPR[r] : robGPR[r];
  }
}

inline void TMaquinaSuper::leerFuente(const TOperando& fuente, const int32_t* op, int32_t& q, float& v) const {
  // Un caso por banco: cada llamada a leerOperando se especializa con su banco fijo.
  switch (fuente.banco) {
    case bancoGPR: leerOperando(op[fuente.campo], false, q, v); return;
    case bancoFPR: leerOperando(op[fuente.campo], true, q, v); return;
    case bancoInmediato:
      q = -1;
      v = static_cast<float>(op[fuente.campo]);
      return;
    default:
      q = -1;
      v = 0.0f;
      return;
  }
}

template <bool CON_OBSERVADOR>
int32_t TMaquinaSuper::emitir() {
  int32_t emitidas = 0;
  [[maybe_unused]] const int32_t primera = rob.fin;
  while (!decoder.vacia()) {
    if (rob.llena()) break;
    TEntradaDecoder* origen = decoder.enOrden(0);
    TInstruccion* ins = origen->instruccion.get();
    const int t = ins->tipoUnidad();
    auto& estacion = er[static_cast<size_t>(t)];
    if (static_cast<int32_t>(estacion.size()) >= capacidadER(t)) break;

    const int32_t tag = rob.fin;
    std::unique_ptr<TEntradaROB> entradaROB = tomar(reservas.rob);
    TEntradaER e;
    e.instruccion = ins;
    e.tagROB = tag;
    const int32_t* op = ins->op;
    const TDescripcionInstruccion& desc = ins->descripcion();
    leerFuente(desc.fuenteJ, op, e.qj, e.vj);
    leerFuente(desc.fuenteK, op, e.qk, e.vk);
    if (desc.campoA >= 0) e.a = op[desc.campoA];
    esperanA[static_cast<size_t>(tag)].clear();
    if (e.qj >= 0) esperanA[static_cast<size_t>(e.qj)].push_back(tag);
    if (e.qk >= 0 && e.qk != e.qj) esperanA[static_cast<size_t>(e.qk)].push_back(tag);

    // El destino se renombra después de leer los operandos: ADDI R1 R1 R1 lee el R1 anterior.
    const int32_t d = desc.escribeRegistro() ? op[desc.destino.campo] : -1;
    if (TRegistros<float>::indiceValido(d)) {
      const size_t r = static_cast<size_t>(d);
      if (desc.destino.banco == bancoGPR) {
        robGPR[r] = tag;
        gpr.pendiente[r] = true;
      } else {
        robFPR[r] = tag;
        fpr.pendiente[r] = true;
      }
      entradaROB->destino = d;
    }
    if (desc.esAlmacenamiento()) almacenamientos.push_back(tag);

    std::unique_ptr<TEntradaDecoder> consumida(decoder.extraer());
    entradaROB->instruccion = std::move(consumida->instruccion);
    reservas.decoder.push_back(std::move(consumida));
    entradaROB->etapa = ETAPA_ISSUE;
    rob.insertar(entradaROB.release());
    estacion.push_back(e);
    posicionER[static_cast<size_t>(tag)] = static_cast<int32_t>(estacion.size() - 1);
    tipoER[static_cast<size_t>(tag)] = static_cast<int8_t>(t);
    clasificar(t, estacion.back());
    ++emitidas;
    if constexpr (CON_OBSERVADOR) {
      seguimiento.estaciones[static_cast<size_t>(tag)] =
          TEstadoER{TEspera{}, ins, e.qj, e.qk, static_cast<int8_t>(t), false, false};
      observador->emitida(*ins, tag);
    }
  }
  if constexpr (CON_OBSERVADOR) {
    // Su primera ocasión de empezar es el ciclo siguiente.
    seguimiento.emitidasDesde = primera;
    seguimiento.numEmitidas = emitidas;
    esperasEnDecoder(emitidas);
  }
  return emitidas;
}

// ---------------------------------------------------------------------------
// Ejecución

bool TMaquinaSuper::sinConflictoMemoria(int32_t tag, int32_t direccion) const {
  const int32_t limite = posicionEnROB(tag);
  for (int32_t s : almacenamientos) {
    if (posicionEnROB(s) >= limite) break;
    const TEntradaROB* alm = rob.elemento(s);
    if (!alm->dirCalculada || alm->dirMem == direccion) return false;
  }
  return true;
}

// Las listas en orden del ROB son las entradas en el orden de su estación: cada
// unidad libre, por orden, se lleva la más antigua que puede empezar.
template <bool CON_OBSERVADOR>
void TMaquinaSuper::lanzarTipo(int tipo) {
  TConjuntoEtiquetas& lista = listas[static_cast<size_t>(tipo)];
  auto& unidades = uf[static_cast<size_t>(tipo)];
  size_t u = 0;
  if (lista.vacio() || !hayLibre(unidades, u)) return;
  auto& estacion = er[static_cast<size_t>(tipo)];
  lista.recorrer(rob.inicio, [&](int32_t tag) {
    TEntradaER& e = estacion[static_cast<size_t>(posicionER[static_cast<size_t>(tag)])];
    if (tipo == tufMemoria && !sinConflictoMemoria(tag, e.a)) return true;
    e.uf = static_cast<int32_t>(u);
    e.etapaUF = unidades[u].insertar(e.instruccion);
    etiquetaEnEtapa(tipo, e.uf, e.etapaUF) = tag;
    lista.quitar(tag);
    if (tipo != tufMemoria) rob.elemento(tag)->etapa = ETAPA_EXEC;
    if constexpr (CON_OBSERVADOR) {
      seguimiento.estaciones[static_cast<size_t>(tag)].enUnidad = true;
      observador->enUnidad(*e.instruccion, tipo, e.uf);
    }
    ++u;
    return hayLibre(unidades, u);
  });
}

template <bool CON_OBSERVADOR>
void TMaquinaSuper::ejecutar() {
  for (int t = 0; t < NUM_TIPOS_UF; ++t) lanzarTipo<CON_OBSERVADOR>(t);
  // Antes de que se calcule ninguna dirección: una carga que espera a un
  // almacenamiento lo esperaba cuando tuvo su ocasión, aunque este termine ahora.
  if constexpr (CON_OBSERVADOR) esperasDeCargas();

  auto& estacionMem = er[tufMemoria];
  const int32_t base = desplazamientoALUDir();
  for (size_t i = 0; i < aluDir.size(); ++i) {
    TUnidadFuncional& unidad = aluDir[i];
    if (unidad.ocupadas == 0 || unidad.enSalida() == nullptr) continue;
    TEntradaER* encontrada =
        entradaEnSalida(tufMemoria, NUM_TIPOS_UF, static_cast<int32_t>(i), base + static_cast<int32_t>(i), unidad);
    if (encontrada != nullptr) {
      TEntradaER& e = *encontrada;
      const int32_t dir = flotanteAEntero(static_cast<double>(e.a) + static_cast<double>(e.vk));
      TEntradaROB* entrada = rob.elemento(e.tagROB);
      entrada->dirMem = dir;
      entrada->dirCalculada = true;
      e.a = dir;
      e.uf = -1;
      clasificar(tufMemoria, e);
      if constexpr (CON_OBSERVADOR) {
        TEstadoER& x = seguimiento.estaciones[static_cast<size_t>(e.tagROB)];
        x.espera = TEspera{};
        x.enUnidad = false;
        x.dirCalculada = true;
        // Un almacenamiento espera ahora su valor en la escritura; una carga, unidad de memoria.
        if (esCarga(e.instruccion->codOp)) {
          seguimiento.cargas.push_back({e.tagROB, e.instruccion->secuencia, -1, true});
        } else {
          seguimiento.almacenamientosCambiados.push_back(e.tagROB);
          seguimiento.almacenamientosConDireccion.push_back({e.tagROB, e.instruccion->secuencia});
        }
        observador->direccionCalculada(*e.instruccion, dir);
      }
    }
  }
  for (auto& unidad : aluDir) avanzarUnidad(unidad);

  size_t i = 0;
  if (!sinDireccion.vacio() && hayLibre(aluDir, i)) {
    sinDireccion.recorrer(rob.inicio, [&](int32_t tag) {
      TEntradaER& e = estacionMem[static_cast<size_t>(posicionER[static_cast<size_t>(tag)])];
      e.uf = base + static_cast<int32_t>(i);
      e.etapaUF = aluDir[i].insertar(e.instruccion);
      etiquetaEnEtapa(NUM_TIPOS_UF, static_cast<int32_t>(i), e.etapaUF) = tag;
      sinDireccion.quitar(tag);
      rob.elemento(tag)->etapa = ETAPA_EXEC;
      if constexpr (CON_OBSERVADOR) {
        seguimiento.estaciones[static_cast<size_t>(tag)].enUnidad = true;
        observador->enUnidadDirecciones(*e.instruccion, static_cast<int32_t>(i));
      }
      ++i;
      return hayLibre(aluDir, i);
    });
  }
  if constexpr (CON_OBSERVADOR) revisarEsperas();
}

// ---------------------------------------------------------------------------
// Escritura de resultados

template <bool CON_OBSERVADOR>
void TMaquinaSuper::difundir(int32_t tag, float resultado) {
  std::vector<int32_t>& quienes = esperanA[static_cast<size_t>(tag)];
  if (quienes.empty()) return;
  auto recibir = [&](int32_t w) {
    const int t = tipoER[static_cast<size_t>(w)];
    const int32_t p = posicionER[static_cast<size_t>(w)];
    auto& estacion = er[static_cast<size_t>(t)];
    if (p < 0 || static_cast<size_t>(p) >= estacion.size() || estacion[static_cast<size_t>(p)].tagROB != w) return;
    TEntradaER& e = estacion[static_cast<size_t>(p)];
    if (e.qj == tag) {
      e.vj = resultado;
      e.qj = -1;
      if constexpr (CON_OBSERVADOR) operandoRecibido(e);
    }
    if (e.qk == tag) {
      e.vk = resultado;
      e.qk = -1;
      if constexpr (CON_OBSERVADOR) operandoRecibido(e);
    }
    clasificar(t, e);
  };
  if constexpr (CON_OBSERVADOR) {
    // El observador recibe los avisos estación por estación, como se muestran.
    for (int t = 0; t < NUM_TIPOS_UF; ++t)
      for (int32_t w : quienes)
        if (tipoER[static_cast<size_t>(w)] == t) recibir(w);
  } else {
    for (int32_t w : quienes) recibir(w);
  }
  quienes.clear();
}

template <bool CON_OBSERVADOR>
void TMaquinaSuper::finalizarEnUnidad(int tipo, int32_t u) {
  TUnidadFuncional& unidad = uf[static_cast<size_t>(tipo)][static_cast<size_t>(u)];
  if (unidad.enSalida() == nullptr) return;
  auto& estacion = er[static_cast<size_t>(tipo)];
  TEntradaER* encontrada = entradaEnSalida(tipo, tipo, u, u, unidad);
  if (encontrada == nullptr) return;
  TEntradaER& e = *encontrada;

  float resultado = 0.0f;
  const TSemantica semantica = e.instruccion->descripcion().semantica;
  switch (semantica) {
    case semSuma:
      resultado = e.vj + e.vk;
      break;
    case semProducto:
      resultado = e.vj * e.vk;
      break;
    case semSaltoDistintos:
      resultado = e.vj != e.vk ? 1.0f : 0.0f;
      break;
    case semSaltoIguales:
      resultado = e.vj == e.vk ? 1.0f : 0.0f;
      break;
    case semCargar:
      // Una carga especulativa fuera de la memoria da 0 sin probar la caché;
      // si llega a confirmarse, commit detiene la ejecución.
      if (TMemoria::direccionValida(e.a)) {
        resultado = memoria.datos[static_cast<size_t>(e.a)];
        if (memoria.accesoFalla(e.a)) {
          ++estadisticas.fallosCache;
          if constexpr (CON_OBSERVADOR) observador->falloCache(*e.instruccion, e.a);
          unidad.parada = paradaPorFallo(unidad);
          if (unidad.parada != 0) return;
        }
      }
      break;
    default:
      break;
  }
  if (semantica != semSaltoDistintos && semantica != semSaltoIguales) difundir<CON_OBSERVADOR>(e.tagROB, resultado);
  TEntradaROB* entrada = rob.elemento(e.tagROB);
  entrada->valor = resultado;
  entrada->etapa = ETAPA_WRITE;
  entrada->listo = true;
  if constexpr (CON_OBSERVADOR) {
    observador->resultadoEscrito(*e.instruccion, e.tagROB);
    seguimiento.escritasCiclo.push_back({e.tagROB, e.instruccion->secuencia});
  }
  quitarDeEstacion(tipo, static_cast<size_t>(encontrada - estacion.data()));
}

template <bool CON_OBSERVADOR>
void TMaquinaSuper::escribir() {
  auto& estacionMem = er[tufMemoria];
  almacenamientosListos.recorrer(rob.inicio, [&](int32_t tag) {
    const auto i = static_cast<size_t>(posicionER[static_cast<size_t>(tag)]);
    const TEntradaER& e = estacionMem[i];
    TEntradaROB* entrada = rob.elemento(tag);
    entrada->valor = e.vj;
    entrada->etapa = ETAPA_WRITE;
    entrada->listo = true;
    if constexpr (CON_OBSERVADOR) {
      observador->resultadoEscrito(*e.instruccion, tag);
      seguimiento.escritasCiclo.push_back({tag, e.instruccion->secuencia});
    }
    almacenamientosListos.quitar(tag);
    quitarDeEstacion(tufMemoria, i);
    return true;
  });
  if constexpr (CON_OBSERVADOR) esperasDeAlmacenamientos();
  for (int t = 0; t < NUM_TIPOS_UF; ++t) {
    auto& unidades = uf[static_cast<size_t>(t)];
    for (size_t u = 0; u < unidades.size(); ++u) {
      if (unidades[u].parada == 0 && unidades[u].ocupadas > 0)
        finalizarEnUnidad<CON_OBSERVADOR>(t, static_cast<int32_t>(u));
      avanzarUnidad(unidades[u]);
    }
  }
}

// ---------------------------------------------------------------------------
// Confirmación, predicción y recuperación

template <bool CON_OBSERVADOR>
int8_t TMaquinaSuper::commit() {
  for (int32_t i = 0; i < anchura; ++i) {
    if (rob.vacia()) return COMMIT_ROB_VACIO;
    const int32_t t = rob.inicio;
    TEntradaROB* cabeza = rob.elemento(t);
    if (!cabeza->listo) return COMMIT_NO_LISTO;
    const TInstruccion& ins = *cabeza->instruccion;
    const TDescripcionInstruccion& desc = ins.descripcion();
    if (desc.accedeAMemoria() && !TMemoria::direccionValida(cabeza->dirMem)) {
      mensajeError = "Dirección de memoria fuera de rango (" + std::to_string(cabeza->dirMem) +
                     ") en la instrucción " + std::to_string(ins.direccion) + ": " + ins.texto();
      detenidaPorError = true;
      return COMMIT_ERROR;
    }
    rob.extraer();
    ++estadisticas.instruccionesConfirmadas;
    confirmadasCiclo.push_back(ins.direccion);
    if constexpr (CON_OBSERVADOR) {
      observador->confirmada(ins, t);
      if (desc.esAlmacenamiento()) seguimiento.almacenamientosCambiados.push_back(t);
    }

    if (desc.esSalto()) {
      ++estadisticas.saltosConfirmados;
      if (!resolverSalto(cabeza)) return COMMIT_FALLO_PREDICCION;
      reciclar(cabeza);
      continue;
    }

    TEntradaROB* entrada = cabeza;
    const int32_t d = entrada->destino;  // -1 si no escribe registro
    const size_t r = static_cast<size_t>(d);
    if (desc.destino.banco == bancoGPR) {
      if (d >= 0) {
        gpr.valor[r] = flotanteAEntero(static_cast<double>(entrada->valor));
        if (robGPR[r] == t) gpr.pendiente[r] = false;
      }
      gpr.valor[0] = 0;
    } else if (desc.destino.banco == bancoFPR) {
      if (d >= 0) {
        fpr.valor[r] = entrada->valor;
        if (robFPR[r] == t) fpr.pendiente[r] = false;
      }
    } else if (desc.esAlmacenamiento()) {
      memoria.datos[static_cast<size_t>(entrada->dirMem)] = entrada->valor;
      if (!almacenamientos.empty() && almacenamientos.front() == t) almacenamientos.pop_front();
    }
    reciclar(entrada);
  }
  return COMMIT_OK;
}

bool TMaquinaSuper::resolverSalto(TEntradaROB* entrada) {
  const TInstruccion& ins = *entrada->instruccion;
  const int32_t d = ins.direccion;
  const bool tomado = entrada->valor != 0.0f;
  const bool predicho = prediccion[static_cast<size_t>(d) % TAM_PREDICCION] >= 2;
  actualizarPrediccion(d, tomado);
  if (tomado == predicho) return true;

  ++estadisticas.fallosPrediccion;
  if (tomado) {
    pc = static_cast<uint32_t>(codigo != nullptr ? codigo->primeraDeBloque(ins.op[2]) : -1);
  } else {
    pc = static_cast<uint32_t>(d) + 1;
  }
  vaciarPipeline();
  reciclar(entrada);
  return false;
}

void TMaquinaSuper::actualizarPrediccion(int32_t direccion, bool tomado) {
  // No es un contador saturado: de 1 se salta a 3 y de 2 se cae a 0.
  static constexpr int32_t siguiente[4][2] = {{0, 1}, {0, 3}, {0, 3}, {2, 3}};
  int32_t& estado = prediccion[static_cast<uint32_t>(direccion) % TAM_PREDICCION];
  if (estado < 0 || estado > 3) {
    estado = 0;
    return;
  }
  estado = siguiente[estado][tomado ? 1 : 0];
}

void TMaquinaSuper::vaciarPipeline() {
  if (observador) {
    // En orden de búsqueda: ROB de la más antigua a la más nueva, decodificador y prefetch.
    for (int32_t i = 0; i < rob.numElementos(); ++i) observador->anulada(*rob.enOrden(i)->instruccion);
    for (int32_t i = 0; i < decoder.numElementos(); ++i) observador->anulada(*decoder.enOrden(i)->instruccion);
    for (int32_t i = 0; i < prefetch.numElementos(); ++i) observador->anulada(*prefetch.enOrden(i)->instruccion);
    olvidarEsperas();
  }

  for (auto& estacion : er) {
    for (const TEntradaER& e : estacion) {
      if (e.qj >= 0) esperanA[static_cast<size_t>(e.qj)].clear();
      if (e.qk >= 0) esperanA[static_cast<size_t>(e.qk)].clear();
    }
  }
  descartarEntradas();
  for (auto& lista : listas) lista.limpiar();
  sinDireccion.limpiar();
  almacenamientosListos.limpiar();
  // Una unidad vacía solo necesita volver a su posición inicial: así el vaciado
  // no cuesta en proporción a la latencia configurada.
  auto vaciarUnidad = [](TUnidadFuncional& u) {
    if (u.ocupadas > 0) {
      u.vaciar();
    } else {
      u.salida = u.latencia - 1;
      u.parada = 0;
    }
  };
  for (auto& unidades : uf)
    for (auto& u : unidades) vaciarUnidad(u);
  for (auto& u : aluDir) vaciarUnidad(u);
  robGPR.fill(-1);
  robFPR.fill(-1);
  gpr.pendiente.fill(false);
  fpr.pendiente.fill(false);
}

// ---------------------------------------------------------------------------
// Motivos de espera (solo con observador)

void TMaquinaSuper::notificarEspera(TEspera& ultima, const TInstruccion& ins, const TEspera& motivo) {
  if (motivo == ultima) return;
  ultima = motivo;
  observador->espera(ins, motivo);
}

TEspera TMaquinaSuper::conflictoMemoria(int32_t tag, int32_t direccion) const {
  // El mismo recorrido que sinConflictoMemoria, diciendo qué almacenamiento estorba.
  const int32_t limite = posicionEnROB(tag);
  for (int32_t s : almacenamientos) {
    if (posicionEnROB(s) >= limite) break;
    const TEntradaROB* alm = rob.elemento(s);
    if (!alm->dirCalculada) return TEspera{espAlmacenamientoSinDireccion, -1, s};
    if (alm->dirMem == direccion) return TEspera{espAlmacenamientoMismaDireccion, -1, s};
  }
  return TEspera{};
}

// Lo que queda en las colas llegó en un ciclo anterior (cada etapa va antes que
// la que llena su cola) y tuvo aquí su ocasión. Prefetch espera siempre por lo
// mismo: se avisa una vez a cada una, de la cola hacia atrás hasta la última
// avisada. En el decodificador la primera espera por lo que paró la emisión y
// las demás van detrás; solo la primera puede cambiar de motivo.
void TMaquinaSuper::esperasEnPrefetch() {
  const int64_t hasta = seguimiento.ultimaPrefetch;
  for (int32_t i = prefetch.numElementos() - 1; i >= 0; --i) {
    const TInstruccion& ins = *prefetch.enOrden(i)->instruccion;
    if (ins.secuencia <= hasta) break;
    observador->espera(ins, TEspera{espDecodificadorLleno, -1, -1});
    seguimiento.ultimaPrefetch = std::max(seguimiento.ultimaPrefetch, ins.secuencia);
  }
}

void TMaquinaSuper::esperasEnDecoder(int32_t emitidas) {
  TEspera parada{espDecodificadorVacio, -1, -1};
  const int32_t n = decoder.numElementos();
  if (n > 0) {
    const TInstruccion& cabeza = *decoder.enOrden(0)->instruccion;
    parada = rob.llena() ? TEspera{espROBLleno, -1, -1}
                         : TEspera{espEstacionLlena, static_cast<int8_t>(cabeza.tipoUnidad()), -1};
    notificarEspera(seguimiento.decoder[static_cast<size_t>(decoder.huecoEnOrden(0))], cabeza, parada);
    const int64_t hasta = seguimiento.ultimaDecoder;
    for (int32_t i = n - 1; i >= 1; --i) {
      const TInstruccion& ins = *decoder.enOrden(i)->instruccion;
      if (ins.secuencia <= hasta) break;
      notificarEspera(seguimiento.decoder[static_cast<size_t>(decoder.huecoEnOrden(i))], ins,
                      TEspera{espEmisionEnOrden, -1, -1});
    }
    seguimiento.ultimaDecoder = std::max(seguimiento.ultimaDecoder, decoder.enOrden(n - 1)->instruccion->secuencia);
  }
  observador->emisionDetenida(parada, emitidas);
}

// Las entradas que esperan en su estación sin unidad solo cambian de motivo
// cuando llega uno de sus operandos; su primera ocasión es el ciclo siguiente a
// su emisión. Aquí, tras los tres pasos de la ejecución, se miran solo esas dos
// clases. Una entrada sin operandos pendientes que sigue sin unidad es que no
// había ninguna libre.
void TMaquinaSuper::revisarEsperas() {
  auto revisar = [this](int32_t tag) {
    TEstadoER& x = seguimiento.estaciones[static_cast<size_t>(tag)];
    // Con la dirección calculada, las cargas van por esperasDeCargas y los almacenamientos, por la escritura.
    if (x.enUnidad || x.dirCalculada) return;
    TEspera motivo;
    if (x.tipo == tufMemoria)
      motivo = x.qk != -1 ? TEspera{espOperandoK, -1, x.qk} : TEspera{espSinUnidadLibre, TIPO_UNIDAD_DIRECCIONES, -1};
    else if (x.qj != -1)
      motivo = TEspera{espOperandoJ, -1, x.qj};
    else if (x.qk != -1)
      motivo = TEspera{espOperandoK, -1, x.qk};
    else
      motivo = TEspera{espSinUnidadLibre, x.tipo, -1};
    notificarEspera(x.espera, *x.instruccion, motivo);
  };
  // Las emitidas en el ciclo anterior no han podido terminar ni salir de su estación.
  for (int32_t i = 0; i < seguimiento.numEmitidas; ++i) revisar((seguimiento.emitidasDesde + i) % rob.tam);
  // Las que recibieron un operando en la escritura de este ciclo siguen en su estación.
  for (int32_t tag : seguimiento.difundidas) revisar(tag);
  seguimiento.difundidas.clear();
}

void TMaquinaSuper::operandoRecibido(const TEntradaER& e) {
  TEstadoER& x = seguimiento.estaciones[static_cast<size_t>(e.tagROB)];
  x.qj = e.qj;
  x.qk = e.qk;
  seguimiento.difundidas.push_back(e.tagROB);
}

// Las cargas con dirección que siguen sin unidad de memoria tras el primer
// paso: esperan al primer almacenamiento anterior con dirección desconocida o
// igual, o a una unidad. Los almacenamientos anteriores ya no aparecen, así que
// una carga que espera unidad sigue así, y una detenida solo cambia cuando su
// almacenamiento calcula la dirección o se confirma: se revisa entonces.
void TMaquinaSuper::esperasDeCargas() {
  auto& cargas = seguimiento.cargas;
  const auto& cambiados = seguimiento.almacenamientosCambiados;
  size_t quedan = 0;
  for (TSeguimiento::TCarga& c : cargas) {
    const TEntradaROB* r = rob.elemento(c.tag);
    TEstadoER& x = seguimiento.estaciones[static_cast<size_t>(c.tag)];
    if (r == nullptr || r->listo || r->instruccion->secuencia != c.secuencia || x.enUnidad) continue;
    const bool cambio =
        c.revisar || (c.bloqueador >= 0 && std::find(cambiados.begin(), cambiados.end(), c.bloqueador) != cambiados.end());
    if (cambio) {
      TEspera motivo = conflictoMemoria(c.tag, r->dirMem);
      c.bloqueador = motivo.motivo == espNinguno ? -1 : motivo.dato;
      c.revisar = false;
      if (motivo.motivo == espNinguno) motivo = TEspera{espSinUnidadLibre, tufMemoria, -1};
      notificarEspera(x.espera, *r->instruccion, motivo);
    }
    cargas[quedan++] = c;
  }
  cargas.resize(quedan);
  seguimiento.almacenamientosCambiados.clear();
}

// Un almacenamiento con la dirección recién calculada tiene su ocasión en la
// escritura siguiente: si no se escribió es que le falta el valor (j), y así
// sigue hasta que le llega, así que se avisa una vez.
void TMaquinaSuper::esperasDeAlmacenamientos() {
  for (const TMarca& m : seguimiento.almacenamientosConDireccion) {
    const TEntradaROB* r = rob.elemento(m.first);
    if (r == nullptr || r->listo || r->instruccion->secuencia != m.second) continue;
    TEstadoER& x = seguimiento.estaciones[static_cast<size_t>(m.first)];
    notificarEspera(x.espera, *r->instruccion, TEspera{espOperandoJ, -1, x.qj});
  }
  seguimiento.almacenamientosConDireccion.clear();
}

// Rehace desde las estructuras lo que se lleva para el observador y deja
// pendiente de avisar todo lo que ya espera: el observador no sabía nada.
void TMaquinaSuper::sincronizarSeguimiento() {
  seguimiento.decoder.assign(static_cast<size_t>(decoder.tam), TEspera{});
  seguimiento.estaciones.assign(static_cast<size_t>(rob.tam), TEstadoER{});
  seguimiento.ultimaPrefetch = seguimiento.ultimaDecoder = -1;
  seguimiento.numEmitidas = 0;
  seguimiento.difundidas.clear();
  seguimiento.cargas.clear();
  seguimiento.almacenamientosCambiados.clear();
  seguimiento.almacenamientosConDireccion.clear();
  seguimiento.escritasAnterior.clear();
  for (int t = 0; t < NUM_TIPOS_UF; ++t)
    for (const TEntradaER& e : er[static_cast<size_t>(t)]) {
      const bool dir = t == tufMemoria && rob.elemento(e.tagROB)->dirCalculada;
      seguimiento.estaciones[static_cast<size_t>(e.tagROB)] =
          TEstadoER{TEspera{}, e.instruccion, e.qj, e.qk, static_cast<int8_t>(t), e.uf != -1, dir};
      if (e.uf != -1) continue;
      if (!dir)
        seguimiento.difundidas.push_back(e.tagROB);  // se revisa en este ciclo
      else if (esCarga(e.instruccion->codOp))
        seguimiento.cargas.push_back({e.tagROB, e.instruccion->secuencia, -1, true});
      else
        seguimiento.almacenamientosConDireccion.push_back({e.tagROB, e.instruccion->secuencia});
    }
  for (int32_t i = 0; i < rob.numElementos(); ++i) {
    const TEntradaROB* r = rob.enOrden(i);
    if (r->listo) seguimiento.escritasAnterior.push_back({rob.huecoEnOrden(i), r->instruccion->secuencia});
  }
  seguimiento.observador = observador;
}

void TMaquinaSuper::olvidarEsperas() {
  seguimiento.numEmitidas = 0;
  seguimiento.difundidas.clear();
  seguimiento.cargas.clear();
  seguimiento.almacenamientosCambiados.clear();
  seguimiento.almacenamientosConDireccion.clear();
  seguimiento.escritasAnterior.clear();
  seguimiento.escritasCiclo.clear();
}

// Las que escribieron su resultado en el ciclo anterior y siguen sin confirmarse
// tras la confirmación de este: esperan a las anteriores. Una sola vez cada una.
void TMaquinaSuper::esperasDeConfirmacion() {
  for (const auto& [tag, secuencia] : seguimiento.escritasAnterior) {
    const TEntradaROB* e = rob.elemento(tag);
    if (e == nullptr || e->instruccion->secuencia != secuencia) continue;
    observador->espera(*e->instruccion, TEspera{espConfirmacionEnOrden, -1, -1});
  }
}

// ---------------------------------------------------------------------------
// Instantáneas

namespace {

TInstantaneaSuper::TCopia copiaDe(const TInstruccion& i) {
  return TInstantaneaSuper::TCopia{i.direccion, i.breakpoint, i.color, i.secuencia};
}

}  // namespace

void TMaquinaSuper::capturar(TInstantaneaSuper& s) const {
  s.TInstantaneaMaquina::capturar(*this);
  s.emision = emision;
  s.anchura = anchura;
  s.detenidaPorError = detenidaPorError;
  s.robGPR = robGPR;
  s.robFPR = robFPR;
  s.prediccion = prediccion;
  s.estadisticas = estadisticas;
  s.confirmadasCiclo = confirmadasCiclo;
  s.contadorSecuencia = contadorSecuencia;
  auto cola = [](const auto& c, auto& g, auto convertir) {
    g.tam = c.tam;
    g.inicio = c.inicio;
    g.fin = c.fin;
    g.entradas.clear();
    g.entradas.reserve(static_cast<size_t>(c.numElementos()));
    for (int32_t i = 0; i < c.numElementos(); ++i) g.entradas.push_back(convertir(*c.enOrden(i)));
  };
  cola(prefetch, s.prefetch, [](const TEntradaPrefetch& e) { return copiaDe(*e.instruccion); });
  cola(decoder, s.decoder, [](const TEntradaDecoder& e) { return copiaDe(*e.instruccion); });
  cola(rob, s.rob, [](const TEntradaROB& e) {
    return TInstantaneaSuper::TEntradaROBGuardada{copiaDe(*e.instruccion), e.listo,  e.valor,        e.destino,
                                                  e.dirMem,                e.dirCalculada, e.etapa};
  });
  for (size_t t = 0; t < er.size(); ++t) {
    auto& v = s.er[t];
    v.clear();
    v.reserve(er[t].size());
    for (const TEntradaER& e : er[t]) v.push_back({e.qj, e.qk, e.vj, e.vk, e.a, e.tagROB, e.uf, e.etapaUF});
  }
  s.aluDir.clear();
  for (const TUnidadFuncional& u : aluDir) s.aluDir.push_back({u.salida, u.parada, u.ocupadas, u.latencia});
}

bool TMaquinaSuper::restaurar(const TInstantaneaSuper& s) {
  // Primero se comprueba que todo cabe: una instantánea ajena no debe dejar la
  // máquina a medias ni hacerla leer fuera de sus tablas.
  const int64_t total = codigo != nullptr ? static_cast<int64_t>(codigo->instrucciones.size()) : 0;
  auto copiaValida = [&](const TInstantaneaSuper::TCopia& c) { return c.direccion >= 0 && c.direccion < total; };
  auto colaValida = [&](const auto& g, auto valida) {
    if (g.tam < 1 || g.inicio < 0 || g.inicio >= g.tam || g.fin < 0 || g.fin >= g.tam) return false;
    if (static_cast<int32_t>(g.entradas.size()) != (g.fin - g.inicio + g.tam) % g.tam) return false;
    for (const auto& e : g.entradas)
      if (!valida(e)) return false;
    return true;
  };
  if (!colaValida(s.prefetch, copiaValida) || !colaValida(s.decoder, copiaValida) ||
      !colaValida(s.rob, [&](const TInstantaneaSuper::TEntradaROBGuardada& e) { return copiaValida(e.copia); }))
    return false;
  auto ocupado = [&](int32_t tag) {
    return tag >= 0 && tag < s.rob.tam && (tag - s.rob.inicio + s.rob.tam) % s.rob.tam < static_cast<int32_t>(s.rob.entradas.size());
  };
  for (size_t t = 0; t < s.er.size(); ++t)
    for (const auto& e : s.er[t]) {
      if (!ocupado(e.tagROB)) return false;
      if (e.uf < 0) continue;
      const bool dir = t == tufMemoria && e.uf >= s.numUF[tufMemoria];
      const auto& unidades = dir ? s.aluDir : s.unidades[t];
      const auto u = static_cast<size_t>(dir ? e.uf - s.numUF[tufMemoria] : e.uf);
      if (u >= unidades.size() || e.etapaUF < 0 || e.etapaUF >= unidades[u].latencia) return false;
    }

  descartarEntradas();
  s.TInstantaneaMaquina::restaurar(*this);
  emision = s.emision;
  anchura = s.anchura;
  detenidaPorError = s.detenidaPorError;
  robGPR = s.robGPR;
  robFPR = s.robFPR;
  prediccion = s.prediccion;
  estadisticas = s.estadisticas;
  confirmadasCiclo = s.confirmadasCiclo;
  contadorSecuencia = s.contadorSecuencia;

  auto rehacer = [&](const TInstantaneaSuper::TCopia& c) {
    auto i = std::make_unique<TInstruccion>(codigo->instrucciones[static_cast<size_t>(c.direccion)]);
    i->breakpoint = c.breakpoint;
    i->color = c.color;
    i->secuencia = c.secuencia;
    return i;
  };
  auto colocar = [](auto& cola, const auto& g, auto crear) {
    cola.tam = g.tam;
    cola.datos.assign(static_cast<size_t>(g.tam), nullptr);
    cola.inicio = g.inicio;
    cola.fin = g.fin;
    for (size_t i = 0; i < g.entradas.size(); ++i)
      cola.datos[static_cast<size_t>((g.inicio + static_cast<int32_t>(i)) % g.tam)] = crear(g.entradas[i]).release();
  };
  colocar(prefetch, s.prefetch, [&](const TInstantaneaSuper::TCopia& c) {
    auto e = std::make_unique<TEntradaPrefetch>();
    e->instruccion = rehacer(c);
    return e;
  });
  colocar(decoder, s.decoder, [&](const TInstantaneaSuper::TCopia& c) {
    auto e = std::make_unique<TEntradaDecoder>();
    e->instruccion = rehacer(c);
    return e;
  });
  colocar(rob, s.rob, [&](const TInstantaneaSuper::TEntradaROBGuardada& g) {
    auto e = std::make_unique<TEntradaROB>();
    e->instruccion = rehacer(g.copia);
    e->listo = g.listo;
    e->valor = g.valor;
    e->destino = g.destino;
    e->dirMem = g.dirMem;
    e->dirCalculada = g.dirCalculada;
    e->etapa = g.etapa;
    return e;
  });
  // Lo que se deduce de lo demás: los almacenamientos en orden (los índices de
  // las estaciones, al final).
  for (int32_t i = 0; i < rob.numElementos(); ++i)
    if (esAlmacenamiento(rob.enOrden(i)->instruccion->codOp)) almacenamientos.push_back(rob.huecoEnOrden(i));

  aluDir.assign(s.aluDir.size(), TUnidadFuncional{});
  for (size_t k = 0; k < aluDir.size(); ++k) {
    aluDir[k].tipo = 0;
    aluDir[k].inicializar(s.aluDir[k].latencia);
    aluDir[k].salida = s.aluDir[k].salida;
    aluDir[k].parada = s.aluDir[k].parada;
    aluDir[k].ocupadas = s.aluDir[k].ocupadas;
  }
  const auto numMem = static_cast<int32_t>(uf[tufMemoria].size());
  for (size_t t = 0; t < er.size(); ++t) {
    er[t].clear();
    for (const auto& g : s.er[t]) {
      TEntradaER e;
      e.instruccion = rob.elemento(g.tagROB)->instruccion.get();
      e.qj = g.qj;
      e.qk = g.qk;
      e.vj = g.vj;
      e.vk = g.vk;
      e.a = g.a;
      e.tagROB = g.tagROB;
      e.uf = g.uf;
      e.etapaUF = g.etapaUF;
      if (e.uf >= 0) {
        const bool dir = t == tufMemoria && e.uf >= numMem;
        TUnidadFuncional& u = dir ? aluDir[static_cast<size_t>(e.uf - numMem)] : uf[t][static_cast<size_t>(e.uf)];
        u.etapas[static_cast<size_t>(e.etapaUF)] = e.instruccion;
      }
      er[t].push_back(e);
    }
  }

  reconstruirIndices();
  // Lo que se lleva para el observador se rehace en el primer ciclo observado.
  seguimiento.observador = nullptr;
  return true;
}
