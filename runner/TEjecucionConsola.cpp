#include "runner/TEjecucionConsola.h"

#include <random>
#include <sstream>

#include "loader/TCodigo.h"
#include "machine/TEscrituraSegura.h"
#include "observation/TMultiplexorObservadores.h"
#include "observation/TRecolectorEstadisticas.h"
#include "observation/TRegistradorDiagrama.h"
#include "reports/TComprobacionResultado.h"
#include "reports/TEscritorJSON.h"
#include "reports/TInformeDiagrama.h"
#include "reports/TLineaTraza.h"
#include "session/TComparacionMaquinas.h"
#include "session/TSesionSuper.h"
#include "session/TSesionVLIW.h"
#include "vliw/TPlanificadorVLIW.h"

TEjecucionConsola::TEjecucionConsola(const TOpcionesConsola& o, std::ostream& s, std::ostream& e)
    : opciones(o), salida(s), errores(e) {}

TEjecucionConsola::~TEjecucionConsola() = default;

namespace {
constexpr int64_t FILAS_DIAGRAMA = 2000000;
}  // namespace

int TEjecucionConsola::ejecutar() {
  TCodigo codigo;
  if (codigo.cargar(opciones.programa) != CARGA_OK) {
    errores << MENSAJE_CODIGO_ERRONEO << '\n' << codigo.detalleError << '\n';
    return SALIDA_CARGA;
  }
  if (opciones.comparar) return ejecutarComparacion(codigo);
  return opciones.vliw ? ejecutarVLIW(codigo) : ejecutarSuper(codigo);
}

void TEjecucionConsola::configurar(TMaquina& maquina) const {
  maquina.numUF = opciones.unidades;
  maquina.latUF = opciones.latencias;
  maquina.latFalloCache = opciones.latenciaFallo;
  maquina.memoria.porcentajeFallos = opciones.porcentajeFallos;
}

void TEjecucionConsola::empezar(TSesion& sesion) const {
  sesion.iniciar(true, opciones.semilla);
  for (const TValorInicial& v : opciones.valores) {
    if (v.banco == 'R')
      sesion.editarRegistroEntero(v.indice, v.entero);
    else if (v.banco == 'F')
      sesion.editarRegistroFlotante(v.indice, v.flotante);
    else
      sesion.editarMemoria(v.indice, v.flotante);
  }
}

template <typename Maquina>
TFinalEjecucion TEjecucionConsola::correr(TSesion& sesion, const Maquina& maquina) {
  TFinalEjecucion final = finMaxCiclos;
  while (maquina.ciclo < opciones.maxCiclos) {
    // Los breakpoints no cuentan aquí: CICLO_BREAKPOINT sigue como un ciclo normal.
    const int8_t r = sesion.paso(false);
    if (opciones.traza) TLineaTraza::escribir(salida, maquina, r);
    if (r == CICLO_COMPLETADO) {
      final = finCompletado;
      break;
    }
    if (r == CICLO_ERROR) {
      final = finError;
      break;
    }
  }
  if (diagrama) {
    if (diagrama->filasDescartadas() > 0)
      errores << "aviso: el diagrama empieza en la fila " << diagrama->primeraSecuencia() << "; se descartaron las "
              << diagrama->filasDescartadas() << " más antiguas\n";
    escribirDiagrama(*diagrama);
  }
  return final;
}

void TEjecucionConsola::escribirDiagrama(const TRegistradorDiagrama& r) const {
  const TIntervaloCiclos iv{opciones.diagramaDesde, opciones.diagramaHasta};
  switch (opciones.formatoDiagrama) {
    case TOpcionesConsola::diagJSON: TInformeDiagrama::escribirJSON(salida, r, iv); break;
    case TOpcionesConsola::diagTexto: TInformeDiagrama::escribirTexto(salida, r, iv); break;
    case TOpcionesConsola::diagCSV: TInformeDiagrama::escribirCSV(salida, r, iv); break;
    case TOpcionesConsola::diagTabla: TInformeDiagrama::escribirTablaCSV(salida, r, iv); break;
    case TOpcionesConsola::diagSVG: TInformeDiagrama::escribirSVG(salida, r, iv); break;
  }
}

void TEjecucionConsola::enganchar(TMaquina& maquina, bool vliw, TObservadorCiclo* otro) {
  if (opciones.diagrama) {
    // La salida es de una ejecución entera: muchas más filas que en la ventana,
    // pero con un tope para que una ejecución de millones de ciclos no agote la memoria.
    diagrama = std::make_unique<TRegistradorDiagrama>(vliw, FILAS_DIAGRAMA);
    maquina.observador = diagrama.get();
  }
  if (!otro) return;
  if (!maquina.observador) {
    maquina.observador = otro;
    return;
  }
  // Los dos a la vez: un reparto entre ellos.
  reparto = std::make_unique<TMultiplexorObservadores>();
  reparto->anadir(maquina.observador);
  reparto->anadir(otro);
  maquina.observador = reparto.get();
}

int TEjecucionConsola::estadoDeSalida(TFinalEjecucion final, const TMaquina& maquina) const {
  if (final == finError && !opciones.json) errores << maquina.mensajeError << '\n';
  return final == finCompletado ? SALIDA_COMPLETADO : final == finMaxCiclos ? SALIDA_MAX_CICLOS : SALIDA_ERROR;
}

int TEjecucionConsola::ejecutarSuper(TCodigo& codigo) {
  TMaquinaSuper maquina;
  configurar(maquina);
  maquina.emision = opciones.emision;
  TSesionSuper sesion(maquina, &codigo);
  enganchar(maquina, false);
  empezar(sesion);
  const TFinalEjecucion final = correr(sesion, maquina);
  int estado = estadoDeSalida(final, maquina);
  TVeredicto veredicto;
  if (opciones.verificar) {
    veredicto = TComprobacionResultado::comprobar(codigo, sesion.estadoInicial(), sesion.ediciones(), maquina,
                                                  final == finCompletado);
    if (estado == SALIDA_COMPLETADO && !veredicto.igual) estado = SALIDA_DIFERENTE;
  }
  if (opciones.json) {
    TInformeEjecucion::escribirJSON(salida, maquina, final, opciones.estado,
                                    opciones.verificar ? &veredicto : nullptr);
  } else {
    TInformeEjecucion::escribirTexto(salida, maquina, final);
    if (opciones.verificar) salida << veredicto.texto();
  }
  return estado;
}

bool TEjecucionConsola::planificar(const TCodigo& codigo, TMaquinaVLIW& maquina) {
  if (TPlanificadorVLIW(maquina).planificar(codigo, maquina) != PLANIFICACION_OK) {
    errores << TPlanificadorVLIW::MENSAJE_DEMASIADO_LARGA << '\n' << TPlanificadorVLIW::detalleDemasiadoLarga() << '\n';
    return false;
  }
  if (opciones.salidaPlanificacion.empty()) return true;
  // Un fallo a medias deja el fichero que hubiera como estaba.
  TEscrituraSegura escritura;
  if (maquina.codigo.guardar(opciones.salidaPlanificacion, escritura) != ESCRITURA_OK) {
    errores << "No se pudo guardar el fichero\n" << opciones.salidaPlanificacion << '\n' << escritura.motivo << '\n';
    return false;
  }
  return true;
}

bool TEjecucionConsola::cargarVLIW(const TCodigo& codigo, TMaquinaVLIW& maquina) {
  if (opciones.planificarAuto) {
    if (!planificar(codigo, maquina)) return false;
  } else if (!maquina.cargarCodigo(opciones.programaVLIW, codigo)) {
    // Como con los programas fuente: el mensaje y, debajo, la línea y el motivo.
    errores << TMaquinaVLIW::MENSAJE_ERROR_CARGA << '\n' << maquina.codigo.detalleError << '\n';
    return false;
  }
  if (maquina.comprobarConfiguracion() == CHEQUEO_CONFIGURACION) {
    errores << TMaquinaVLIW::MENSAJE_CONFIGURACION << '\n' << maquina.detalleConfiguracion() << '\n';
    return false;
  }
  if (maquina.codigo.numInstrucciones == 0) {
    errores << TMaquinaVLIW::MENSAJE_CODIGO_VACIO << '\n';
    return false;
  }
  return true;
}

int TEjecucionConsola::ejecutarVLIW(const TCodigo& codigo) {
  TMaquinaVLIW maquina;
  configurar(maquina);
  maquina.reset(true);
  if (!cargarVLIW(codigo, maquina)) return SALIDA_CARGA;
  const TComprobacionVLIW comprobacion = comprobarVLIW(maquina);
  // Las operaciones descartadas son la pista del veredicto; sin --verify, la máquina va sin observador.
  TRecolectorEstadisticas recolector(maquina);
  TSesionVLIW sesion(maquina);
  enganchar(maquina, true, opciones.verificar ? &recolector : nullptr);
  empezar(sesion);
  const TFinalEjecucion final = correr(sesion, maquina);
  maquina.observador = nullptr;
  int estado = estadoDeSalida(final, maquina);
  TVeredicto veredicto;
  if (opciones.verificar) {
    veredicto = TComprobacionResultado::comprobar(codigo, sesion.estadoInicial(), sesion.ediciones(), maquina,
                                                  final == finCompletado, recolector.descartadas());
    if (estado == SALIDA_COMPLETADO && !veredicto.igual) estado = SALIDA_DIFERENTE;
  }
  if (opciones.json) {
    TInformeEjecucion::escribirJSON(salida, maquina, final, opciones.comprobar ? &comprobacion : nullptr,
                                    opciones.estado, opciones.verificar ? &veredicto : nullptr);
  } else {
    TInformeEjecucion::escribirTexto(salida, maquina, final);
    if (opciones.verificar) salida << veredicto.texto();
  }
  return estado;
}

TComprobacionVLIW TEjecucionConsola::comprobarVLIW(const TMaquinaVLIW& maquina) {
  TComprobacionVLIW comprobacion;
  if (!opciones.comprobar) return comprobacion;
  int32_t larga = 0, operacion = 0;
  comprobacion.codigo = maquina.comprobarCodigo(larga, operacion);
  comprobacion.mensaje = TMaquinaVLIW::mensajeChequeo(comprobacion.codigo, larga, operacion);
  // Sin --json el aviso va a la salida de errores; el programa se ejecuta igual.
  if (!opciones.json && !comprobacion.mensaje.empty()) errores << comprobacion.mensaje << '\n';
  return comprobacion;
}

int TEjecucionConsola::ejecutarComparacion(const TCodigo& codigo) {
  TComparacionMaquinas comparacion(codigo);
  TConfiguracionMaquina configuracion;
  configuracion.numUF = opciones.unidades;
  configuracion.latUF = opciones.latencias;
  configuracion.latFalloCache = opciones.latenciaFallo;
  configuracion.porcentajeFallos = opciones.porcentajeFallos;
  configuracion.emision = opciones.emision;
  comparacion.configurar(configuracion, configuracion);
  comparacion.vliw.reset(true);
  if (!cargarVLIW(codigo, comparacion.vliw)) return SALIDA_CARGA;
  const TComprobacionVLIW comprobacion = comprobarVLIW(comparacion.vliw);
  // Los dos empiezan desde ceros con los valores de --set, y con la misma semilla.
  TDatosIniciales datos;
  for (const TValorInicial& v : opciones.valores) {
    const size_t i = static_cast<size_t>(v.indice);
    if (v.banco == 'R') datos.gpr[i] = v.entero;
    else if (v.banco == 'F') datos.fpr[i] = v.flotante;
    else datos.memoria[i] = v.flotante;
  }
  const uint32_t semilla = opciones.semilla ? *opciones.semilla : std::random_device{}();
  comparacion.ejecutar(datos, semilla, opciones.maxCiclos);

  const TResultadoMaquina& rs = comparacion.resultadoSuper;
  const TResultadoMaquina& rv = comparacion.resultadoVLIW;
  const int estadoSuper = estadoDeSalida(rs.final, comparacion.super);
  const int estadoVLIW = estadoDeSalida(rv.final, comparacion.vliw);
  int estado = estadoSuper != SALIDA_COMPLETADO ? estadoSuper : estadoVLIW;
  if (estado == SALIDA_COMPLETADO && opciones.verificar && (!rs.veredicto.igual || !rv.veredicto.igual))
    estado = SALIDA_DIFERENTE;
  if (opciones.json) {
    std::ostringstream super, vliw;
    TInformeEjecucion::escribirJSON(super, comparacion.super, rs.final, opciones.estado,
                                    opciones.verificar ? &rs.veredicto : nullptr);
    TInformeEjecucion::escribirJSON(vliw, comparacion.vliw, rv.final, opciones.comprobar ? &comprobacion : nullptr,
                                    opciones.estado, opciones.verificar ? &rv.veredicto : nullptr);
    auto sinSalto = [](std::string t) {
      while (!t.empty() && t.back() == '\n') t.pop_back();
      return t;
    };
    salida << "{\"super\":" << sinSalto(super.str()) << ",\"vliw\":" << sinSalto(vliw.str())
           << ",\"speedup\":" << TEscritorJSON::flotante(static_cast<float>(comparacion.aceleracionVLIW())) << "}\n";
  } else {
    TInformeEjecucion::escribirTexto(salida, comparacion.super, rs.final);
    if (opciones.verificar) salida << rs.veredicto.texto();
    salida << '\n';
    TInformeEjecucion::escribirTexto(salida, comparacion.vliw, rv.final);
    if (opciones.verificar) salida << rv.veredicto.texto();
    const double a = comparacion.aceleracionVLIW();
    salida << "\nCiclos: superescalar " << rs.ciclos << ", VLIW " << rv.ciclos;
    if (a > 0) salida << "; aceleración de la VLIW sobre la superescalar: " << TEscritorJSON::flotante(static_cast<float>(a));
    salida << '\n';
  }
  return estado;
}
