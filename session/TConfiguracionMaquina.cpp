#include "session/TConfiguracionMaquina.h"

#include "superscalar/TMaquinaSuper.h"

TConfiguracionMaquina TConfiguracionMaquina::de(const TMaquina& m) {
  TConfiguracionMaquina c;
  c.numUF = m.numUF;
  c.latUF = m.latUF;
  c.latFalloCache = m.latFalloCache;
  c.porcentajeFallos = m.memoria.porcentajeFallos;
  return c;
}

TConfiguracionMaquina TConfiguracionMaquina::de(const TMaquinaSuper& m) {
  TConfiguracionMaquina c = de(static_cast<const TMaquina&>(m));
  c.emision = m.emision;
  return c;
}

void TConfiguracionMaquina::ponerEn(TMaquina& m) const {
  m.numUF = numUF;
  m.latUF = latUF;
  m.latFalloCache = latFalloCache;
  m.memoria.porcentajeFallos = porcentajeFallos;
}

void TConfiguracionMaquina::ponerEn(TMaquinaSuper& m) const {
  ponerEn(static_cast<TMaquina&>(m));
  m.emision = emision;
}

std::string TConfiguracionMaquina::texto(bool superescalar) const {
  auto lista = [](const std::array<int32_t, NUM_TIPOS_UF>& v) {
    std::string t;
    for (size_t i = 0; i < v.size(); ++i) t += (i > 0 ? "," : "") + std::to_string(v[i]);
    return t;
  };
  std::string t = "unidades " + lista(numUF) + "; latencias " + lista(latUF) + "; fallo de caché " +
                  std::to_string(latFalloCache) + " (" + std::to_string(porcentajeFallos) + " %)";
  if (superescalar) t += "; emisión " + std::to_string(emision);
  return t;
}
