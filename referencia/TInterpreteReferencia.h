#pragma once
// Intérprete en orden del programa secuencial: una instrucción por paso, sin
// cauce ni tiempos. Es el oráculo con el que se contrastan las dos máquinas.
//
// Cada máquina calcula los valores a su manera y el intérprete sigue la que se
// le pida: la superescalar lleva todo valor como flotante de simple precisión y
// trunca los resultados enteros al confirmarlos; la VLIW hace aritmética entera
// de 32 bits con desbordamiento circular.

#include <array>
#include <cstdint>
#include <string>

#include "loader/TCodigo.h"
#include "machine/TMaquina.h"

enum TModoReferencia : int8_t {
  modoSuperescalar = 0,
  modoVLIW = 1,
};

// Resultados de ejecutar y de paso.
constexpr int8_t REFERENCIA_SIGUE = 0;      // solo de paso: quedan instrucciones
constexpr int8_t REFERENCIA_TERMINADA = 1;  // pc fuera del programa
constexpr int8_t REFERENCIA_LIMITE = 2;     // se agotaron los pasos
constexpr int8_t REFERENCIA_ERROR = 3;      // acceso fuera de la memoria; no se ejecutó

class TInterpreteReferencia {
public:
  TModoReferencia modo = modoSuperescalar;
  std::array<int32_t, NUM_REGISTROS> gpr{};
  std::array<float, NUM_REGISTROS> fpr{};
  std::array<float, TAM_MEMORIA> memoria{};
  int64_t pc = 0;
  int64_t ejecutadas = 0;  // instrucciones completadas

  // Acceso fuera de la memoria que detuvo la ejecución (REFERENCIA_ERROR).
  int32_t instruccionError = -1;
  int64_t direccionError = 0;

  // Solo en modo superescalar. La máquina reenvía los resultados antes de
  // confirmarlos sin truncarlos ni tratar R0 aparte; mientras cada valor
  // reenviado sea el mismo que se leería tras confirmarlo, su estado final no
  // depende de los tiempos. Si alguna instrucción se sale de ahí, «exacto»
  // pasa a false y «motivoInexacto» dice la primera.
  bool exacto = true;
  std::string motivoInexacto;

  explicit TInterpreteReferencia(TModoReferencia m = modoSuperescalar) : modo(m) {}

  // Toma los registros y la memoria de una máquina (pc y contadores a cero).
  void copiarEstado(const TMaquina& maquina);

  // Una instrucción. REFERENCIA_SIGUE mientras pc siga dentro del programa.
  int8_t paso(const TCodigo& codigo);

  // Hasta terminar, fallar o completar limitePasos instrucciones.
  int8_t ejecutar(const TCodigo& codigo, int64_t limitePasos);

  // Primera diferencia de registros o memoria con una máquina, bit a bit;
  // vacía si no hay ninguna.
  std::string diferenciaCon(const TMaquina& maquina) const;

private:
  float leerFlotante(int32_t registro) const;
  float leerEnteroComoFlotante(int32_t registro) const;
  void escribirEntero(int32_t registro, float resultado, const TInstruccion& ins);
  void marcarInexacto(const TInstruccion& ins, const std::string& motivo);
};
