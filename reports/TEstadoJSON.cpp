#include "reports/TEstadoJSON.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "reports/TEscritorJSON.h"
#include "superscalar/TMaquinaSuper.h"
#include "vliw/TMaquinaVLIW.h"
#include "vliw/TOperacionVLIW.h"

namespace {

void pcONulo(TEscritorJSON& j, const TInstruccion* i) {
  if (i != nullptr) j.valor(static_cast<int64_t>(i->direccion));
  else j.nulo();
}

template <typename Entrada>
void cola(TEscritorJSON& j, const char* nombre, const TCola<Entrada>& c) {
  j.clave(nombre);
  j.abrirLista();
  for (int32_t i = 0; i < c.numElementos(); ++i) pcONulo(j, c.enOrden(i)->instruccion.get());
  j.cerrarLista();
}

// Cada unidad: sus etapas de la entrada a la salida (cada una con lo que
// escribe «etapa») y los ciclos de parada que le quedan.
void unidades(TEscritorJSON& j, const std::vector<TUnidadFuncional>& lista,
              const std::function<void(const TUnidadFuncional&, int32_t, int32_t)>& etapa) {
  j.abrirLista();
  for (const TUnidadFuncional& u : lista) {
    j.abrirObjeto();
    j.clave("stages");
    j.abrirLista();
    for (int32_t r = 1; r <= u.latencia; ++r) etapa(u, static_cast<int32_t>(&u - lista.data()), r);
    j.cerrarLista();
    j.clave("stall");
    j.valor(static_cast<int64_t>(u.parada));
    j.cerrarObjeto();
  }
  j.cerrarLista();
}

template <typename T>
void renombrado(TEscritorJSON& j, const char* nombre, const std::array<int32_t, NUM_REGISTROS>& rob,
                const TRegistros<T>& registros) {
  j.clave(nombre);
  j.abrirLista();
  for (size_t i = 0; i < NUM_REGISTROS; ++i) {
    if (registros.pendiente[i]) j.valor(static_cast<int64_t>(rob[i]));
    else j.nulo();
  }
  j.cerrarLista();
}

void indicesCiertos(TEscritorJSON& j, const std::array<bool, NUM_REGISTROS>& bits) {
  j.abrirLista();
  for (size_t i = 0; i < NUM_REGISTROS; ++i)
    if (bits[i]) j.valor(static_cast<int64_t>(i));
  j.cerrarLista();
}

}  // namespace

void TEstadoJSON::escribir(TEscritorJSON& j, const TMaquinaSuper& m) {
  j.abrirObjeto();
  cola(j, "prefetch", m.prefetch);
  cola(j, "decoder", m.decoder);

  j.clave("rob");
  j.abrirLista();
  for (int32_t i = 0; i < m.rob.numElementos(); ++i) {
    const TEntradaROB& e = *m.rob.enOrden(i);
    j.abrirObjeto();
    j.clave("tag");
    j.valor(static_cast<int64_t>(m.rob.huecoEnOrden(i)));
    j.clave("pc");
    pcONulo(j, e.instruccion.get());
    j.clave("dest");
    j.valor(static_cast<int64_t>(e.destino));
    j.clave("value");
    j.valorFlotante(e.valor);
    j.clave("address");
    j.valor(static_cast<int64_t>(e.dirMem));
    j.clave("stage");
    j.valor(nombresEtapa[e.etapa < nombresEtapa.size() ? e.etapa : 0]);
    j.clave("ready");
    j.valor(e.listo);
    j.cerrarObjeto();
  }
  j.cerrarLista();

  j.clave("stations");
  j.abrirObjeto();
  for (size_t t = 0; t < NUM_TIPOS_UF; ++t) {
    j.clave(nombresTipoUF[t]);
    j.abrirLista();
    for (const TEntradaER& e : m.er[t]) {
      j.abrirObjeto();
      j.clave("pc");
      pcONulo(j, e.instruccion);
      j.clave("qj");
      j.valor(static_cast<int64_t>(e.qj));
      j.clave("vj");
      j.valorFlotante(e.vj);
      j.clave("qk");
      j.valor(static_cast<int64_t>(e.qk));
      j.clave("vk");
      j.valorFlotante(e.vk);
      j.clave("a");
      j.valor(static_cast<int64_t>(e.a));
      j.clave("rob");
      j.valor(static_cast<int64_t>(e.tagROB));
      j.cerrarObjeto();
    }
    j.cerrarLista();
  }
  j.cerrarObjeto();

  const auto etapaSuper = [&j](const TUnidadFuncional& u, int32_t, int32_t r) { pcONulo(j, u.etapaVista(r)); };
  j.clave("units");
  j.abrirObjeto();
  for (size_t t = 0; t < NUM_TIPOS_UF; ++t) {
    j.clave(nombresTipoUF[t]);
    unidades(j, m.uf[t], etapaSuper);
  }
  j.clave("ALU Dir.");
  unidades(j, m.aluDir, etapaSuper);
  j.cerrarObjeto();

  j.clave("rename");
  j.abrirObjeto();
  renombrado(j, "robGPR", m.robGPR, m.gpr);
  renombrado(j, "robFPR", m.robFPR, m.fpr);
  j.cerrarObjeto();
  j.cerrarObjeto();
}

void TEstadoJSON::escribir(TEscritorJSON& j, const TMaquinaVLIW& m) {
  j.abrirObjeto();
  j.clave("units");
  j.abrirObjeto();
  for (size_t t = 0; t < NUM_TIPOS_UF; ++t) {
    j.clave(nombresTipoUF[t]);
    unidades(j, m.uf[t], [&](const TUnidadFuncional& u, int32_t unidad, int32_t r) {
      const int32_t etapa = (u.salida + r) % u.latencia;
      const auto* op = static_cast<const TOperacionVLIW*>(u.etapas[static_cast<size_t>(etapa)]);
      if (op == nullptr) {
        j.nulo();
        return;
      }
      j.abrirObjeto();
      j.clave("long");
      j.valor(static_cast<int64_t>(m.origenEtapa(static_cast<int>(t), unidad, etapa).larga));
      j.clave("unit");
      j.valor(static_cast<int64_t>(op->numUnidad));
      j.cerrarObjeto();
    });
  }
  j.cerrarObjeto();
  j.clave("nat");
  j.abrirObjeto();
  j.clave("gpr");
  indicesCiertos(j, m.natGPR);
  j.clave("fpr");
  indicesCiertos(j, m.natFPR);
  j.cerrarObjeto();
  j.clave("predicates");
  indicesCiertos(j, m.predicados);
  j.cerrarObjeto();
}
