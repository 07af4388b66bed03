#include "runner/TEjecucionConsola.h"

#include <cstdio>

#include "loader/TCodigo.h"
#include "runner/TEscritorJSON.h"
#include "superscalar/TMaquinaSuper.h"
#include "vliw/TMaquinaVLIW.h"

namespace {

std::string decimal(double v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.3f", v);
  return buf;
}

}  // namespace

int TEjecucionConsola::ejecutar() {
  TCodigo codigo;
  if (codigo.cargar(opciones.programa) != CARGA_OK) {
    errores << MENSAJE_CODIGO_ERRONEO << '\n' << codigo.detalleError << '\n';
    return SALIDA_CARGA;
  }
  return opciones.vliw ? ejecutarVLIW(codigo) : ejecutarSuper(codigo);
}

void TEjecucionConsola::configurar(TMaquina& maquina) const {
  maquina.numUF = opciones.unidades;
  maquina.latUF = opciones.latencias;
  maquina.latFalloCache = opciones.latenciaFallo;
  maquina.memoria.porcentajeFallos = opciones.porcentajeFallos;
  if (opciones.semilla) maquina.memoria.sembrar(*opciones.semilla);
}

void TEjecucionConsola::ponerValoresIniciales(TMaquina& maquina) const {
  for (const TValorInicial& v : opciones.valores) {
    const size_t i = static_cast<size_t>(v.indice);
    if (v.banco == 'R')
      maquina.gpr.valor[i] = v.entero;
    else if (v.banco == 'F')
      maquina.fpr.valor[i] = v.flotante;
    else
      maquina.memoria.datos[i] = v.flotante;
  }
}

template <typename Maquina, typename Traza>
TEjecucionConsola::TFinal TEjecucionConsola::correr(Maquina& maquina, Traza traza) {
  maquina.enEjecucion = true;
  maquina.paradaBreakpoint = false;
  while (maquina.ciclo < opciones.maxCiclos) {
    // Los puntos de ruptura no cuentan aquí: CICLO_BREAKPOINT sigue como un ciclo normal.
    const int8_t r = maquina.ejecutarCiclo();
    if (opciones.traza) {
      TEscritorJSON j(salida);
      j.abrirObjeto();
      j.clave("cycle");
      j.valor(static_cast<int64_t>(maquina.ciclo));
      j.clave("result");
      j.valor(static_cast<int64_t>(r));
      j.clave("pc");
      j.valor(static_cast<int64_t>(static_cast<int32_t>(maquina.pc)));
      traza(j);
      j.cerrarObjeto();
      salida << '\n';
    }
    if (r == CICLO_COMPLETADO) {
      maquina.enEjecucion = false;
      return finCompletado;
    }
    if (r == CICLO_ERROR) {
      maquina.enEjecucion = false;
      return finError;
    }
  }
  return finMaxCiclos;
}

int TEjecucionConsola::ejecutarSuper(const TCodigo& codigo) {
  TMaquinaSuper maquina;
  maquinaSuper = &maquina;
  configurar(maquina);
  maquina.emision = opciones.emision;
  maquina.codigo = &codigo;
  maquina.reset(true);
  ponerValoresIniciales(maquina);
  const TFinal final = correr(maquina, [&](TEscritorJSON& j) {
    j.clave("committed");
    j.abrirLista();
    for (int32_t d : maquina.confirmadasCiclo) j.valor(static_cast<int64_t>(d));
    j.cerrarLista();
  });
  return informar(maquina, final, true, std::string(), 0);
}

int TEjecucionConsola::ejecutarVLIW(const TCodigo& codigo) {
  TMaquinaVLIW maquina;
  maquinaVLIW = &maquina;
  configurar(maquina);
  maquina.reset(true);
  // Como con los programas fuente: el mensaje y, debajo, la línea y el motivo.
  if (!maquina.cargarCodigo(opciones.programaVLIW, codigo)) {
    errores << TMaquinaVLIW::MENSAJE_ERROR_CARGA << '\n' << maquina.codigo.detalleError << '\n';
    return SALIDA_CARGA;
  }
  if (maquina.comprobarConfiguracion() == CHEQUEO_CONFIGURACION) {
    errores << TMaquinaVLIW::MENSAJE_CONFIGURACION << '\n' << maquina.detalleConfiguracion() << '\n';
    return SALIDA_CARGA;
  }
  if (maquina.codigo.numInstrucciones == 0) {
    errores << TMaquinaVLIW::MENSAJE_CODIGO_VACIO << '\n';
    return SALIDA_CARGA;
  }
  int32_t resultado = 0;
  std::string mensaje;
  if (opciones.comprobar) {
    int32_t larga = 0, operacion = 0;
    resultado = maquina.comprobarCodigo(larga, operacion);
    mensaje = TMaquinaVLIW::mensajeChequeo(resultado, larga, operacion);
    // Sin --json el aviso va a la salida de errores; el programa se ejecuta igual.
    if (!opciones.json && !mensaje.empty()) errores << mensaje << '\n';
  }
  maquina.reset(true);
  ponerValoresIniciales(maquina);
  const TFinal final = correr(maquina, [&](TEscritorJSON& j) {
    j.clave("issued");
    if (maquina.emitidaCiclo >= 0)
      j.valor(static_cast<int64_t>(maquina.emitidaCiclo));
    else
      j.nulo();
  });
  return informar(maquina, final, false, mensaje, resultado);
}

int TEjecucionConsola::informar(const TMaquina& maquina, TFinal final, bool superescalar,
                                const std::string& comprobacion, int32_t codigoComprobacion) {
  const int estado = final == finCompletado ? SALIDA_COMPLETADO
                     : final == finMaxCiclos ? SALIDA_MAX_CICLOS
                                             : SALIDA_ERROR;
  const int64_t ciclos = maquina.ciclo;
  auto ipc = [&](int64_t n) { return ciclos > 0 ? static_cast<double>(n) / static_cast<double>(ciclos) : 0.0; };

  if (opciones.json) {
    TEscritorJSON j(salida);
    j.abrirObjeto();
    j.clave("machine");
    j.valor(superescalar ? "super" : "vliw");
    j.clave("result");
    j.valor(final == finCompletado ? "completed" : final == finMaxCiclos ? "max-cycles" : "error");
    j.clave("cycles");
    j.valor(ciclos);
    if (final == finError) {
      j.clave("error");
      j.valor(maquina.mensajeError);
    }
    j.clave("gpr");
    j.abrirLista();
    for (int32_t v : maquina.gpr.valor) j.valor(static_cast<int64_t>(v));
    j.cerrarLista();
    j.clave("fpr");
    j.abrirLista();
    for (float v : maquina.fpr.valor) j.valorFlotante(v);
    j.cerrarLista();
    j.clave("memory");
    j.abrirObjeto();
    for (int i = 0; i < TAM_MEMORIA; ++i) {
      const float v = maquina.memoria.datos[static_cast<size_t>(i)];
      if (v == 0.0f) continue;
      j.clave(std::to_string(i));
      j.valorFlotante(v);
    }
    j.cerrarObjeto();
    if (superescalar) {
      j.clave("predictor");
      j.abrirLista();
      for (int32_t p : maquinaSuper->prediccion) j.valor(static_cast<int64_t>(p));
      j.cerrarLista();
    }
    if (opciones.comprobar) {
      j.clave("check");
      j.abrirObjeto();
      j.clave("code");
      j.valor(static_cast<int64_t>(codigoComprobacion));
      j.clave("message");
      j.valor(comprobacion);
      j.cerrarObjeto();
    }
    j.clave("stats");
    j.abrirObjeto();
    auto contador = [&](const char* nombre, int64_t v) {
      j.clave(nombre);
      j.valor(v);
    };
    double rendimiento = 0;
    if (superescalar) {
      const TEstadisticasSuper& e = maquinaSuper->estadisticas;
      contador("instructions_committed", e.instruccionesConfirmadas);
      contador("branches_committed", e.saltosConfirmados);
      contador("mispredictions", e.fallosPrediccion);
      contador("cache_misses", e.fallosCache);
      rendimiento = ipc(e.instruccionesConfirmadas);
    } else {
      const TEstadisticasVLIW& e = maquinaVLIW->estadisticas;
      contador("long_instructions_issued", e.instruccionesEmitidas);
      contador("operations_executed", e.operacionesEjecutadas);
      contador("operations_discarded", e.operacionesDescartadas);
      contador("stall_cycles", e.ciclosParada);
      contador("cache_misses", e.fallosCache);
      contador("jumps_taken", e.saltosTomados);
      rendimiento = ipc(e.operacionesEjecutadas);
    }
    j.clave("ipc");
    j.valorFlotante(static_cast<float>(rendimiento));
    j.cerrarObjeto();
    j.cerrarObjeto();
    salida << '\n';
    return estado;
  }

  if (final == finError) errores << maquina.mensajeError << '\n';
  salida << "Máquina: " << (superescalar ? "superescalar" : "VLIW") << '\n';
  switch (final) {
    case finCompletado: salida << "Resultado: ejecución completada en " << ciclos << " ciclos\n"; break;
    case finMaxCiclos: salida << "Resultado: sin terminar tras " << ciclos << " ciclos (límite de --max-cycles)\n"; break;
    case finError: salida << "Resultado: ejecución detenida por un error en el ciclo " << ciclos << '\n'; break;
  }
  if (superescalar) {
    const TEstadisticasSuper& e = maquinaSuper->estadisticas;
    salida << "Instrucciones confirmadas: " << e.instruccionesConfirmadas << " (IPC "
           << decimal(ipc(e.instruccionesConfirmadas)) << ")\n"
           << "Saltos confirmados: " << e.saltosConfirmados << "; fallos de predicción: " << e.fallosPrediccion
           << '\n'
           << "Cargas con fallo de caché: " << e.fallosCache << '\n';
  } else {
    const TEstadisticasVLIW& e = maquinaVLIW->estadisticas;
    salida << "Instrucciones largas emitidas: " << e.instruccionesEmitidas << "; ciclos de parada: "
           << e.ciclosParada << '\n'
           << "Operaciones ejecutadas: " << e.operacionesEjecutadas << " (por ciclo "
           << decimal(ipc(e.operacionesEjecutadas)) << "); descartadas por predicado: "
           << e.operacionesDescartadas << '\n'
           << "Saltos tomados: " << e.saltosTomados << "; cargas con fallo de caché: " << e.fallosCache << '\n';
  }
  bool alguno = false;
  auto linea = [&](const std::string& nombre, const std::string& valor) {
    if (!alguno) salida << "Registros y memoria distintos de cero:\n";
    alguno = true;
    salida << "  " << nombre << " = " << valor << '\n';
  };
  for (int i = 0; i < NUM_REGISTROS; ++i)
    if (maquina.gpr.valor[static_cast<size_t>(i)] != 0)
      linea("R" + std::to_string(i), std::to_string(maquina.gpr.valor[static_cast<size_t>(i)]));
  for (int i = 0; i < NUM_REGISTROS; ++i)
    if (maquina.fpr.valor[static_cast<size_t>(i)] != 0.0f)
      linea("F" + std::to_string(i), TEscritorJSON::flotante(maquina.fpr.valor[static_cast<size_t>(i)]));
  for (int i = 0; i < TAM_MEMORIA; ++i)
    if (maquina.memoria.datos[static_cast<size_t>(i)] != 0.0f)
      linea("M" + std::to_string(i), TEscritorJSON::flotante(maquina.memoria.datos[static_cast<size_t>(i)]));
  if (!alguno) salida << "Todos los registros y la memoria están a cero.\n";
  return estado;
}
