#include "superscalar/TInstantaneaSuper.h"

#include <cstring>

namespace {

bool mismoFlotante(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

}  // namespace

bool TInstantaneaSuper::TEntradaROBGuardada::operator==(const TEntradaROBGuardada& o) const {
  return copia == o.copia && listo == o.listo && mismoFlotante(valor, o.valor) && destino == o.destino &&
         dirMem == o.dirMem && dirCalculada == o.dirCalculada && etapa == o.etapa;
}

bool TInstantaneaSuper::TEntradaERGuardada::operator==(const TEntradaERGuardada& o) const {
  return qj == o.qj && qk == o.qk && mismoFlotante(vj, o.vj) && mismoFlotante(vk, o.vk) && a == o.a &&
         tagROB == o.tagROB && uf == o.uf && etapaUF == o.etapaUF;
}

bool TInstantaneaSuper::operator==(const TInstantaneaSuper& o) const {
  return TInstantaneaMaquina::operator==(o) && emision == o.emision && anchura == o.anchura &&
         detenidaPorError == o.detenidaPorError && robGPR == o.robGPR && robFPR == o.robFPR &&
         prediccion == o.prediccion && prefetch == o.prefetch && decoder == o.decoder && rob == o.rob && er == o.er &&
         aluDir == o.aluDir && estadisticas == o.estadisticas && confirmadasCiclo == o.confirmadasCiclo &&
         contadorSecuencia == o.contadorSecuencia;
}

size_t TInstantaneaSuper::tamano() const {
  size_t n = sizeof(*this) + mensajeError.size();
  for (const auto& v : unidades) n += v.size() * sizeof(TInstantaneaUnidad);
  n += (prefetch.entradas.size() + decoder.entradas.size()) * sizeof(TCopia);
  n += rob.entradas.size() * sizeof(TEntradaROBGuardada);
  for (const auto& v : er) n += v.size() * sizeof(TEntradaERGuardada);
  n += aluDir.size() * sizeof(TInstantaneaUnidad) + confirmadasCiclo.size() * sizeof(int32_t);
  return n;
}
