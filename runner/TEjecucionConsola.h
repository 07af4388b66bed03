#pragma once
// Una ejecución de orvex-run: carga, configura, ejecuta y escribe el informe.

#include <ostream>

#include "runner/TOpcionesConsola.h"

class TMaquina;
class TMaquinaSuper;
class TMaquinaVLIW;
class TEscritorJSON;

// Estados de salida del programa.
constexpr int SALIDA_COMPLETADO = 0;
constexpr int SALIDA_CARGA = 1;
constexpr int SALIDA_USO = 2;
constexpr int SALIDA_MAX_CICLOS = 3;
constexpr int SALIDA_ERROR = 4;

class TEjecucionConsola {
public:
  TEjecucionConsola(const TOpcionesConsola& o, std::ostream& s, std::ostream& e)
      : opciones(o), salida(s), errores(e) {}

  // Devuelve el estado de salida.
  int ejecutar();

private:
  enum TFinal { finCompletado, finMaxCiclos, finError };

  int ejecutarSuper(const class TCodigo& codigo);
  int ejecutarVLIW(const class TCodigo& codigo);
  void configurar(TMaquina& maquina) const;
  void ponerValoresIniciales(TMaquina& maquina) const;
  // Ciclos hasta terminar, fallar o agotar el límite; traza opcional.
  template <typename Maquina, typename Traza>
  TFinal correr(Maquina& maquina, Traza traza);
  int informar(const TMaquina& maquina, TFinal final, bool superescalar, const std::string& comprobacion,
               int32_t codigoComprobacion);

  const TOpcionesConsola& opciones;
  std::ostream& salida;
  std::ostream& errores;
  const TMaquinaSuper* maquinaSuper = nullptr;
  const TMaquinaVLIW* maquinaVLIW = nullptr;
};
