#pragma once
// Las dos máquinas del simulador. El valor es también la entrada de la
// combinación «Máquina Simulada».

#include <cstdint>

enum class TTipoMaquina : uint8_t { superescalar = 0, vliw = 1 };
