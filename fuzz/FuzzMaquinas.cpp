// Objetivo de fuzzing de las dos máquinas: los bytes dan una configuración y un
// programa, y las dos lo ejecutan durante un número acotado de ciclos sin
// salirse de sus invariantes. Cuando el intérprete de referencia termina el
// programa (y, en la superescalar, dentro de la zona exacta), la máquina debe
// terminar en los ciclos previstos con su mismo estado.
//
// Formato: un byte de opciones, 23 bytes de configuración y el resto, que es el
// texto del programa fuente o, según las opciones, las decisiones del
// generador de programas. Opciones: bit 0, programa generado; bit 1, antes de
// la planificación, un programa VLIW arbitrario; bit 2, generador sin
// restricciones; bit 3, planificación VLIW compacta en vez de en serie; bit 4,
// operandos y códigos de operación fuera de rango, que el cargador nunca deja
// pasar (las máquinas no deben fiarse de ello); bit 5, con un observador de
// ciclo enganchado (las máquinas calculan entonces los motivos de espera).

#include <algorithm>
#include <array>
#include <memory>
#include <string>

#include "fuzz/Comun.h"
#include "tests/AyudaDiferencial.h"

using namespace diferencial;

namespace {

constexpr size_t CABECERA = 24;

struct TConfiguracion {
  std::array<int32_t, NUM_TIPOS_UF> numUF{};
  std::array<int32_t, NUM_TIPOS_UF> latUF{};
  int32_t latFallo = 0, emision = 0, porcentaje = 0;
  uint32_t semilla = 0;
};

// Valores también fuera de los límites de los diálogos: las máquinas los acotan.
TConfiguracion leerConfiguracion(TAzar& a) {
  TConfiguracion k;
  for (auto& u : k.numUF) u = a.entre32(0, 11);
  for (auto& l : k.latUF) {
    const int64_t v = a.entre(0, 255);
    l = v < 240 ? static_cast<int32_t>(1 + v % 8) : v < 254 ? static_cast<int32_t>(v - 230) : static_cast<int32_t>(v - 154);
  }
  k.latFallo = a.entre32(0, 101);
  k.emision = a.entre32(0, 17);
  k.porcentaje = a.entre32(0, 101);
  k.semilla = a.palabra();
  return k;
}

void aplicar(const TConfiguracion& k, TMaquina& m) {
  m.numUF = k.numUF;
  m.latUF = k.latUF;
  m.latFalloCache = k.latFallo;
  m.memoria.porcentajeFallos = k.porcentaje;
  m.memoria.sembrar(k.semilla);
}

// Instrucciones largas hechas a mano, con campos que ni el editor ni el lector
// dejarían pasar: unidades que no existen, tipos cambiados, predicados fuera
// de rango, destinos de salto fuera del programa.
void programaArbitrario(TMaquinaVLIW& m, const TCodigo& c, TAzar& a) {
  const int32_t n = a.entre32(0, 40);
  m.borrarCodigo();
  m.codigo.crear(n);
  if (c.numInstrucciones == 0) return;
  for (int32_t i = 0; i < n; ++i) {
    const int32_t k = a.entre32(0, 4);
    for (int32_t j = 0; j < k; ++j) {
      const int32_t d = a.entre32(0, c.numInstrucciones - 1);
      auto op = std::make_unique<TOperacionVLIW>(c.instrucciones[static_cast<size_t>(d)]);
      const int8_t tipo = op->tipoUnidad();
      op->tipoUF = a.siPorCiento(5) ? static_cast<int8_t>(a.entre(-1, 6)) : tipo;
      op->numUnidad = a.siPorCiento(5) ? a.entre32(-1, 40) : a.entre32(0, m.numUF[static_cast<size_t>(tipo)]);
      op->predicado = a.siPorCiento(30) ? a.entre32(0, 64) : 0;
      if (esSalto(op->codOp)) {
        op->op[2] = a.entre32(-2, n + 2);
        op->predVerdadero = a.entre32(0, 64);
        op->predFalso = a.entre32(0, 64);
      }
      m.codigo.instrucciones[static_cast<size_t>(i)].anadir(std::move(op));
    }
    m.codigo.instrucciones[static_cast<size_t>(i)].breakpoint = a.siPorCiento(5);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, size_t tam) {
  const uint8_t opciones = tam > 0 ? datos[0] : 0;
  const size_t inicioResto = std::min(tam, CABECERA);
  TAzarBytes azarConf(tam > 0 ? datos + 1 : datos, inicioResto > 0 ? inicioResto - 1 : 0);
  const TConfiguracion conf = leerConfiguracion(azarConf);
  const uint8_t* resto = datos + inicioResto;
  const size_t tamResto = tam - inicioResto;

  TProgramaGenerado programa;
  if (opciones & 1) {
    TAzarBytes azar(resto, tamResto);
    TGeneradorProgramas generador(azar, (opciones & 4) != 0);
    programa = generador.generar();
  } else {
    programa.fuente.assign(reinterpret_cast<const char*>(resto), tamResto);
  }
  const auto codigo = programa.cargar();
  if (codigo == nullptr) {
    fuzz::exigir((opciones & 1) == 0, "el generador escribe un programa que no carga:\n" + programa.fuente);
    return 0;
  }
  TAzarSemilla azarBreakpoints(conf.semilla);
  for (TInstruccion& ins : codigo->instrucciones) ins.breakpoint = azarBreakpoints.siPorCiento(3);
  const bool fueraDeRango = (opciones & 16) != 0;
  if (fueraDeRango) {
    TAzarBytes azar(resto, tamResto);
    for (TInstruccion& ins : codigo->instrucciones) {
      if (azar.siPorCiento(3)) ins.codOp = azar.entre32(-1, NUM_COD_OP);
      if (azar.siPorCiento(8)) ins.op[azar.entre(0, 2)] = azar.entre32(-2, 70);
    }
  }

  TObservadorCiclo observador;
  TObservadorCiclo* const conObservador = (opciones & 32) ? &observador : nullptr;
  {
    TMaquinaSuper m;
    m.observador = conObservador;
    aplicar(conf, m);
    m.emision = conf.emision;
    m.codigo = codigo.get();
    m.reset(true);
    programa.ponerIniciales(m);
    const int64_t pasos = std::max<int64_t>(10, 6000 / ciclosPorInstruccion(m));
    const TResultadoCaso r = compararSuper(m, *codigo, pasos, 800);
    if (!r.fallo.empty()) fuzz::fallar("superescalar: " + r.fallo + "\n" + programa.fuente);
  }
  {
    TMaquinaVLIW m;
    m.observador = conObservador;
    aplicar(conf, m);
    m.reset(true);
    programa.ponerIniciales(m);
    TAzarBytes azar(resto, tamResto);
    if (opciones & 2) {
      programaArbitrario(m, *codigo, azar);
      m.comprobarConfiguracion();
      int32_t larga = 0, operacion = 0;
      if (m.comprobarCodigo(larga, operacion) != CHEQUEO_OK)
        fuzz::exigir(m.codigo.instruccion(larga) != nullptr, "el comprobador señala una instrucción que no existe");
      int8_t r = CICLO_NORMAL;
      for (int i = 0; i < 800 && r != CICLO_COMPLETADO && r != CICLO_ERROR; ++i) {
        r = m.ejecutarCiclo();
        const std::string fallo = m.ciclo % 8 == 0 ? invariantesVLIW(m) : std::string();
        if (!fallo.empty()) fuzz::fallar("VLIW, programa arbitrario: " + fallo);
      }
      if (r == CICLO_COMPLETADO) {
        const std::string fallo = natLimpios(m);
        if (!fallo.empty()) fuzz::fallar("VLIW, programa arbitrario: " + fallo);
      }
      m.reset(true);
      programa.ponerIniciales(m);
    }
    // Un fallo que cuesta ciclos puede cambiar la palabra que lee la carga: sin comparar.
    const bool costoso = m.memoria.porcentajeFallos > 0 && m.latFalloCache > m.latUF[tufMemoria];
    // Con operandos fuera de rango la VLIW se detiene con un error que la referencia no conoce.
    const TResultadoCaso r = compararVLIW(m, *codigo, azar, 300, 800, !costoso && !fueraDeRango, (opciones & 8) != 0);
    if (!r.fallo.empty()) fuzz::fallar("VLIW: " + r.fallo + "\n" + programa.fuente);
  }
  return 0;
}
