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

  const TDescripcionInstruccion& desc = ins.descripcion();
  const TOperando& j = desc.fuenteJ;
  const TOperando& k = desc.fuenteK;
  auto entero = [&](int32_t r) { return registroValido(r) ? gpr[ix(r)] : 0; };
  // Un operando tal como lo ve cada máquina: la superescalar lleva todo como flotante.
  auto comoFlotante = [&](const TOperando& o) {
    if (o.banco == bancoInmediato) return static_cast<float>(op[o.campo]);
    return o.flotante() ? leerFlotante(op[o.campo]) : leerEnteroComoFlotante(op[o.campo]);
  };
  auto comoEntero = [&](const TOperando& o) { return o.banco == bancoInmediato ? op[o.campo] : entero(op[o.campo]); };

  size_t a = 0;
  if (desc.accedeAMemoria()) {
    // La superescalar suma el desplazamiento a la base ya convertida a flotante.
    const int64_t d = super ? flotanteAEntero(static_cast<double>(op[1]) + static_cast<double>(comoFlotante(k)))
                            : direccionEfectiva(comoEntero(k), op[1]);
    if (!TMemoria::direccionValida(d)) {
      instruccionError = static_cast<int32_t>(pc);
      direccionError = d;
      return REFERENCIA_ERROR;
    }
    a = static_cast<size_t>(d);
  }

  auto escribirGPR = [&](int32_t r, int32_t v) {
    if (registroValido(r)) gpr[ix(r)] = v;
  };
  auto escribirFPR = [&](int32_t r, float v) {
    if (registroValido(r)) fpr[ix(r)] = v;
  };
  const int32_t destino = desc.escribeRegistro() ? op[desc.destino.campo] : -1;
  const bool aFPR = desc.destino.flotante();

  int64_t siguiente = pc + 1;
  bool tomado = false;
  switch (desc.semantica) {
    case semSuma:
    case semProducto: {
      const bool suma = desc.semantica == semSuma;
      if (aFPR || super) {
        const float x = comoFlotante(j), y = comoFlotante(k);
        const float v = suma ? x + y : x * y;
        if (aFPR) escribirFPR(destino, v);
        else escribirEntero(destino, v, ins);
      } else {
        const int32_t x = comoEntero(j), y = comoEntero(k);
        escribirGPR(destino, suma ? sumaEntera(x, y) : multEntera(x, y));
      }
      break;
    }
    case semAlmacenar:
      memoria[a] = j.flotante() || super ? comoFlotante(j) : static_cast<float>(comoEntero(j));
      break;
    case semCargar:
      if (aFPR) escribirFPR(destino, memoria[a]);
      else if (super) escribirEntero(destino, memoria[a], ins);
      else escribirGPR(destino, flotanteAEntero(static_cast<double>(memoria[a])));
      break;
    case semSaltoDistintos:
    case semSaltoIguales: {
      // La superescalar compara los dos valores convertidos a flotante.
      const bool iguales = super ? comoFlotante(j) == comoFlotante(k) : comoEntero(j) == comoEntero(k);
      tomado = desc.semantica == semSaltoIguales ? iguales : !iguales;
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
