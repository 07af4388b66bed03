#include "referencia/TInterpreteReferencia.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "machine/Conversiones.h"

namespace {

uint32_t bits(float v) {
  uint32_t b = 0;
  std::memcpy(&b, &v, sizeof b);
  return b;
}

std::string texto(float v) {
  char buf[48];
  std::snprintf(buf, sizeof buf, "%.9g (0x%08x)", static_cast<double>(v), bits(v));
  return buf;
}

bool registroValido(int32_t r) { return TRegistros<int32_t>::indiceValido(r); }

size_t ix(int32_t i) { return static_cast<size_t>(i); }

}  // namespace

void TInterpreteReferencia::copiarEstado(const TMaquina& maquina) {
  gpr = maquina.gpr.valor;
  fpr = maquina.fpr.valor;
  memoria = maquina.memoria.datos;
  pc = 0;
  ejecutadas = 0;
  instruccionError = -1;
  direccionError = 0;
  exacto = true;
  motivoInexacto.clear();
}

// Un registro sin almacenamiento se lee como 0 y no se escribe, como en las
// máquinas; el cargador no deja que llegue ninguno.
float TInterpreteReferencia::leerFlotante(int32_t registro) const {
  return registroValido(registro) ? fpr[ix(registro)] : 0.0f;
}

float TInterpreteReferencia::leerEnteroComoFlotante(int32_t registro) const {
  return registroValido(registro) ? static_cast<float>(gpr[ix(registro)]) : 0.0f;
}

void TInterpreteReferencia::marcarInexacto(const TInstruccion& ins, const std::string& motivo) {
  if (!exacto) return;
  exacto = false;
  motivoInexacto = "instrucción " + std::to_string(ins.direccion) + " (" + ins.texto() + "): " + motivo;
}

// Resultado entero en modo superescalar: viaja como flotante y se trunca al confirmarse.
void TInterpreteReferencia::escribirEntero(int32_t registro, float resultado, const TInstruccion& ins) {
  const int32_t confirmado = flotanteAEntero(static_cast<double>(resultado));
  if (registro == 0) {
    if (bits(resultado) != bits(0.0f))
      marcarInexacto(ins, "escribe en R0 el valor " + texto(resultado) + ", que se reenvía antes de anularse");
  } else if (bits(static_cast<float>(confirmado)) != bits(resultado)) {
    marcarInexacto(ins, "el valor " + texto(resultado) + " se reenvía distinto del entero confirmado " +
                            std::to_string(confirmado));
  }
  if (gpr[0] != 0) marcarInexacto(ins, "R0 no valía 0 y la confirmación lo anula en un momento que depende de los tiempos");
  if (registroValido(registro)) gpr[ix(registro)] = confirmado;
  gpr[0] = 0;
}

int8_t TInterpreteReferencia::paso(const TCodigo& codigo) {
  const int64_t total =
      std::min<int64_t>(codigo.numInstrucciones, static_cast<int64_t>(codigo.instrucciones.size()));
  if (instruccionError >= 0) return REFERENCIA_ERROR;
  if (pc < 0 || pc >= total) return REFERENCIA_TERMINADA;
  const TInstruccion& ins = codigo.instrucciones[static_cast<size_t>(pc)];
  const int32_t* op = ins.op;
  const bool super = modo == modoSuperescalar;

  size_t a = 0;
  if (esCarga(ins.codOp) || esAlmacenamiento(ins.codOp)) {
    // La superescalar suma el desplazamiento a la base ya convertida a flotante.
    const int64_t d = super ? flotanteAEntero(static_cast<double>(op[1]) +
                                              static_cast<double>(leerEnteroComoFlotante(op[2])))
                            : direccionEfectiva(registroValido(op[2]) ? gpr[ix(op[2])] : 0, op[1]);
    if (!TMemoria::direccionValida(d)) {
      instruccionError = static_cast<int32_t>(pc);
      direccionError = d;
      return REFERENCIA_ERROR;
    }
    a = static_cast<size_t>(d);
  }

  auto entero = [&](int32_t r) { return registroValido(r) ? gpr[ix(r)] : 0; };
  auto escribirGPR = [&](int32_t r, int32_t v) {
    if (registroValido(r)) gpr[ix(r)] = v;
  };
  auto escribirFPR = [&](int32_t r, float v) {
    if (registroValido(r)) fpr[ix(r)] = v;
  };

  int64_t siguiente = pc + 1;
  bool tomado = false;
  switch (ins.codOp) {
    case ADDI:
      if (super) escribirEntero(op[0], leerEnteroComoFlotante(op[1]) + leerEnteroComoFlotante(op[2]), ins);
      else escribirGPR(op[0], sumaEntera(entero(op[1]), entero(op[2])));
      break;
    case DADDUI:
      if (super) escribirEntero(op[0], leerEnteroComoFlotante(op[1]) + static_cast<float>(op[2]), ins);
      else escribirGPR(op[0], sumaEntera(entero(op[1]), op[2]));
      break;
    case MULTI:
      if (super) escribirEntero(op[0], leerEnteroComoFlotante(op[1]) * leerEnteroComoFlotante(op[2]), ins);
      else escribirGPR(op[0], multEntera(entero(op[1]), entero(op[2])));
      break;
    case ADDF: escribirFPR(op[0], leerFlotante(op[1]) + leerFlotante(op[2])); break;
    case MULTF: escribirFPR(op[0], leerFlotante(op[1]) * leerFlotante(op[2])); break;
    case SI: memoria[a] = super ? leerEnteroComoFlotante(op[0]) : static_cast<float>(entero(op[0])); break;
    case SF: memoria[a] = leerFlotante(op[0]); break;
    case LI:
      if (super) escribirEntero(op[0], memoria[a], ins);
      else escribirGPR(op[0], flotanteAEntero(static_cast<double>(memoria[a])));
      break;
    case LF: escribirFPR(op[0], memoria[a]); break;
    case BNE:
    case BEQ: {
      // La superescalar compara los dos valores convertidos a flotante.
      const bool iguales = super ? leerEnteroComoFlotante(op[0]) == leerEnteroComoFlotante(op[1])
                                 : entero(op[0]) == entero(op[1]);
      tomado = ins.codOp == BEQ ? iguales : !iguales;
      break;
    }
    default: break;  // NOP
  }
  // La VLIW anula R0 tras cada operación, sea cual sea.
  if (!super) gpr[0] = 0;
  if (tomado) siguiente = codigo.primeraDeBloque(op[2]);
  ++ejecutadas;
  pc = siguiente;
  return pc >= 0 && pc < total ? REFERENCIA_SIGUE : REFERENCIA_TERMINADA;
}

int8_t TInterpreteReferencia::ejecutar(const TCodigo& codigo, int64_t limitePasos) {
  for (int64_t i = 0; i < limitePasos; ++i) {
    const int8_t r = paso(codigo);
    if (r != REFERENCIA_SIGUE) return r;
  }
  const int64_t total =
      std::min<int64_t>(codigo.numInstrucciones, static_cast<int64_t>(codigo.instrucciones.size()));
  return pc >= 0 && pc < total ? REFERENCIA_LIMITE : REFERENCIA_TERMINADA;
}

std::string TInterpreteReferencia::diferenciaCon(const TMaquina& maquina) const {
  for (int i = 0; i < NUM_REGISTROS; ++i)
    if (maquina.gpr.valor[ix(i)] != gpr[ix(i)])
      return "R" + std::to_string(i) + ": máquina " + std::to_string(maquina.gpr.valor[ix(i)]) +
             ", referencia " + std::to_string(gpr[ix(i)]);
  for (int i = 0; i < NUM_REGISTROS; ++i)
    if (bits(maquina.fpr.valor[ix(i)]) != bits(fpr[ix(i)]))
      return "F" + std::to_string(i) + ": máquina " + texto(maquina.fpr.valor[ix(i)]) + ", referencia " +
             texto(fpr[ix(i)]);
  for (int i = 0; i < TAM_MEMORIA; ++i)
    if (bits(maquina.memoria.datos[ix(i)]) != bits(memoria[ix(i)]))
      return "M" + std::to_string(i) + ": máquina " + texto(maquina.memoria.datos[ix(i)]) + ", referencia " +
             texto(memoria[ix(i)]);
  return {};
}
