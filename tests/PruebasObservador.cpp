// El observador de ciclo: identidad de las instrucciones en vuelo, sucesos en
// orden y motivos de espera, reconstruidos como el diagrama instrucción × ciclo.

#include <gtest/gtest.h>

#include <string>

#include "AyudaDiferencial.h"
#include "AyudaLetras.h"
#include "AyudaSuper.h"
#include "AyudaVLIW.h"
#include "observation/TMultiplexorObservadores.h"

namespace {

// Letras de cada fila y, entre corchetes, el motivo de cada celda que lo tiene.
std::string conMotivos(const letras::TFila& f) {
  std::string t;
  for (size_t i = 0; i < f.letras.size(); ++i) {
    t += f.letras[i];
    if (f.motivos[i].motivo != espNinguno) t += "[" + letras::texto(f.motivos[i]) + "]";
  }
  return t;
}

struct TEjecucionSuper {
  std::unique_ptr<TCodigo> codigo;
  TMaquinaSuper m;
  letras::TRegistrador r;

  explicit TEjecucionSuper(const std::string& fuente, int porcentajeFallos = 0) : codigo(compilar(fuente)) {
    m.observador = &r;
    preparar(m, codigo.get());
    m.memoria.porcentajeFallos = porcentajeFallos;
  }
  int8_t correr() { return ejecutarHastaFin(m, 1000); }
};

}  // namespace

TEST(ObservadorSuper, LetrasDeLosTiemposConocidos) {
  TEjecucionSuper suma("1\nADDI R1 R2 R3\n");
  EXPECT_EQ(suma.correr(), CICLO_COMPLETADO);
  EXPECT_EQ(suma.r.de(0), "PDREWC");
  EXPECT_EQ(suma.r.filas[0].primerCiclo, 1);

  TEjecucionSuper carga("1\nLF F1 4(R0)\n");
  carga.correr();
  EXPECT_EQ(carga.r.de(0), "PDRAREEEEWC");

  TEjecucionSuper almacen("1\nSF F1 4(R0)\n");
  almacen.correr();
  EXPECT_EQ(almacen.r.de(0), "PDRARWC");

  TEjecucionSuper fallo("1\nLF F1 4(R0)\n", 100);
  fallo.correr();
  EXPECT_EQ(conMotivos(fallo.r.filas[0]), "PDRAREEEEM[fallo#4]M[fallo#4]M[fallo#4]M[fallo#4]M[fallo#4]WC");
}

// Una carga, una suma que la espera, un almacenamiento que espera a la suma y
// una carga de la misma palabra que espera al almacenamiento.
TEST(ObservadorSuper, SucesosYMotivosDeUnaCadenaDeDependencias) {
  TEjecucionSuper e(
      "4\n"
      "LF F1 0(R0)\n"
      "ADDF F2 F1 F1\n"
      "SF F2 4(R0)\n"
      "LF F3 4(R0)\n");
  EXPECT_EQ(e.correr(), CICLO_COMPLETADO);
  ASSERT_EQ(e.r.filas.size(), 4u);
  EXPECT_EQ(conMotivos(e.r.filas[0]), "PDRAREEEEWC");
  // La suma espera a la etiqueta 0 (la carga) desde su primera ocasión de empezar.
  EXPECT_EQ(conMotivos(e.r.filas[1]), "PDRR[j#0]R[j#0]R[j#0]R[j#0]R[j#0]R[j#0]EEEEWC");
  // El almacenamiento calcula su dirección y espera el valor de la suma (etiqueta 1);
  // luego espera a confirmarse detrás de ella.
  EXPECT_EQ(conMotivos(e.r.filas[2]), "PDRARR[j#1]R[j#1]R[j#1]R[j#1]R[j#1]R[j#1]R[j#1]R[j#1]R[j#1]WC");
  // La segunda carga no encuentra unidad de direcciones libre (las dos son de las
  // instrucciones anteriores) y después espera a que el almacenamiento de su
  // misma palabra (etiqueta 2) se confirme: entra en la unidad en ese mismo ciclo.
  std::string espera;
  for (int i = 0; i < 9; ++i) espera += "R[alm=#2]";
  EXPECT_EQ(conMotivos(e.r.filas[3]), "PDRR[unidad:6]AR" + espera + "EEEEWC");
}

TEST(ObservadorSuper, DecodificadorLlenoEmisionEnOrdenYConfirmacion) {
  // Con una sola unidad de suma de latencia 1 y una estación de 2 entradas
  // entran 4 sumas dependientes: la estación se llena y el decodificador también.
  auto c = compilar(
      "8\nADDI R1 R1 R1\nADDI R1 R1 R1\nADDI R1 R1 R1\nADDI R1 R1 R1\n"
      "ADDI R1 R1 R1\nADDI R1 R1 R1\nADDI R1 R1 R1\nADDI R1 R1 R1\n");
  TMaquinaSuper m;
  letras::TRegistrador r;
  m.observador = &r;
  m.numUF[tufSumaEntera] = 1;
  m.emision = 2;
  preparar(m, c.get());
  EXPECT_EQ(ejecutarHastaFin(m, 1000), CICLO_COMPLETADO);
  bool estacionLlena = false, enOrden = false, decLleno = false, confirmar = false;
  for (const auto& [s, f] : r.filas)
    for (size_t i = 0; i < f.letras.size(); ++i) {
      const TEspera& e = f.motivos[i];
      estacionLlena |= f.letras[i] == 'D' && e.motivo == espEstacionLlena && e.tipo == tufSumaEntera;
      enOrden |= f.letras[i] == 'D' && e.motivo == espEmisionEnOrden;
      decLleno |= f.letras[i] == 'P' && e.motivo == espDecodificadorLleno;
      confirmar |= f.letras[i] == 'W' && e.motivo == espConfirmacionEnOrden;
    }
  EXPECT_TRUE(estacionLlena && enOrden && decLleno);
  EXPECT_FALSE(confirmar) << "en una cadena en serie nada espera a confirmarse";
  // Un suceso de emisión por ciclo, con el motivo de la parada.
  EXPECT_EQ(static_cast<int32_t>(r.emisiones.size()), m.ciclo);
}

TEST(ObservadorSuper, AnuladasTrasUnFalloDePrediccion) {
  // El salto se predice no tomado y se toma: lo buscado detrás se anula.
  TEjecucionSuper e(
      "4\n"
      "DADDUI R1 R0 #1\n"
      "BNE R1 R0 FIN\n"
      "ADDI R2 R2 R2\n"
      "FIN: ADDI R3 R3 R3\n");
  EXPECT_EQ(e.correr(), CICLO_COMPLETADO);
  EXPECT_EQ(e.r.de(0).back(), 'C');
  EXPECT_EQ(e.r.de(1).back(), 'C');
  int anuladas = 0, confirmadas = 0;
  for (const auto& [s, f] : e.r.filas) {
    EXPECT_FALSE(f.abierta) << s;
    anuladas += f.letras.back() == 'X';
    confirmadas += f.letras.back() == 'C';
  }
  EXPECT_EQ(confirmadas, 3);
  EXPECT_EQ(anuladas, static_cast<int>(e.r.filas.size()) - 3);
  // La secuencia cuenta también las anuladas: la ADDI de FIN buscada de nuevo tiene la última.
  EXPECT_EQ(e.r.filas.rbegin()->second.letras.back(), 'C');
  EXPECT_EQ(e.m.contadorSecuencia, static_cast<int64_t>(e.r.filas.size()));
}

TEST(ObservadorVLIW, LetrasDeOperacionesYParadas) {
  using ayuda::TOp;
  const TCodigo s = ayuda::secuencial("3\nADDI R1 R2 R3\nLI R4 0(R0)\nADDI R5 R4 R4\n");
  for (int porcentaje : {0, 100}) {
    TMaquinaVLIW m;
    letras::TRegistrador r;
    m.observador = &r;
    // La suma que lee R4 va en la instrucción larga siguiente a la carga: se detiene por NaT.
    ayuda::construir(m.codigo, s, {{TOp{0, 0}, TOp{1, 0}}, {TOp{2, 1}}});
    m.memoria.sembrar(1);
    m.reset(true);
    m.memoria.porcentajeFallos = porcentaje;
    EXPECT_EQ(ayuda::ejecutar(m), CICLO_COMPLETADO);
    ASSERT_EQ(r.largas.size(), 2u);
    EXPECT_EQ(r.operaciones.at({0, 0}).letras, "IW");
    const std::string nat = "S[NaT:0#4]";
    if (porcentaje == 0) {
      EXPECT_EQ(r.operaciones.at({0, 1}).letras, "IEEEW");
      EXPECT_EQ(conMotivos(r.largas[1]), nat + nat + nat + "I");
    } else {
      EXPECT_EQ(conMotivos(r.operaciones.at({0, 1})), "IEEEM[fallo#0]M[fallo#0]M[fallo#0]M[fallo#0]M[fallo#0]W");
      std::string s8;
      for (int i = 0; i < 8; ++i) s8 += nat;
      EXPECT_EQ(conMotivos(r.largas[1]), s8 + "I");
    }
    EXPECT_EQ(r.largas[0].letras, "I");
    EXPECT_EQ(r.largas[1].primerCiclo, 2);
  }
}

TEST(ObservadorVLIW, DescarteConPredicadoFalso) {
  using ayuda::TOp;
  const TCodigo s = ayuda::secuencial("3\nBEQ R0 R0 L\nADDI R1 R1 R1\nL: ADDI R2 R2 R2\n");
  TMaquinaVLIW m;
  letras::TRegistrador r;
  m.observador = &r;
  // El salto tomado y, en la misma instrucción larga, una suma guardada por su
  // predicado 1, que sale de la unidad antes de que el salto se resuelva.
  ayuda::construir(m.codigo, s, {{TOp{0, 0, 0, 2, 1, 2}, TOp{1, 0, 1}}, {}, {TOp{2, 0}}});
  m.memoria.sembrar(1);
  m.reset(true);
  EXPECT_EQ(ayuda::ejecutar(m), CICLO_COMPLETADO);
  EXPECT_EQ(r.operaciones.at({0, 0}).letras, "IEW");
  EXPECT_EQ(r.operaciones.at({0, 1}).letras, "IX");
  // La larga 1 se emite en el ciclo 2; el salto resuelto en el 3 lleva a la 2.
  EXPECT_EQ(r.largas.size(), 3u);
  EXPECT_EQ(r.largas[2].primerCiclo, 3);
}

TEST(ObservadorVLIW, UnidadOcupadaPorUnFallo) {
  using ayuda::TOp;
  // Cinco cargas seguidas en la misma unidad de memoria y todas fallan: la
  // unidad parada no deja sitio y las instrucciones largas siguientes esperan.
  const TCodigo s = ayuda::secuencial("5\nLI R1 0(R0)\nLI R2 1(R0)\nLI R3 2(R0)\nLI R4 3(R0)\nLI R5 4(R0)\n");
  TMaquinaVLIW m;
  letras::TRegistrador r;
  m.observador = &r;
  ayuda::construir(m.codigo, s, {{TOp{0, 0}}, {TOp{1, 0}}, {TOp{2, 0}}, {TOp{3, 0}}, {TOp{4, 0}}});
  m.memoria.sembrar(1);
  m.reset(true);
  m.memoria.porcentajeFallos = 100;
  EXPECT_EQ(ayuda::ejecutar(m), CICLO_COMPLETADO);
  int ocupada = 0;
  for (const auto& [seq, f] : r.largas)
    for (const TEspera& e : f.motivos) ocupada += e == TEspera{espUnidadOcupada, tufMemoria, 0};
  EXPECT_GT(ocupada, 0);
  EXPECT_EQ(ocupada, m.estadisticas.ciclosParada);
}

// ---------------------------------------------------------------------------
// Programas generados: las letras que salen de los sucesos son las que se leen
// en las estructuras de la máquina al final de cada ciclo, y cada celda de
// espera lleva un motivo.

namespace {

// ¿Se paró la unidad en este ciclo o seguía parada? Entonces lo que está en su
// salida, si ya estaba en ella, espera un fallo de caché.
struct TMarcaUnidad {
  int32_t salida, parada;
};

bool esperaFallo(const TUnidadFuncional& u, const TMarcaUnidad& antes, int32_t etapa, char previa) {
  return etapa == u.salida && (previa == 'E' || previa == 'M' || previa == 'I') && (antes.parada > 0 || antes.salida == u.salida);
}

std::vector<std::vector<TMarcaUnidad>> marcas(const TMaquina& m) {
  std::vector<std::vector<TMarcaUnidad>> v(NUM_TIPOS_UF);
  for (int t = 0; t < NUM_TIPOS_UF; ++t)
    for (const TUnidadFuncional& u : m.uf[static_cast<size_t>(t)]) v[static_cast<size_t>(t)].push_back({u.salida, u.parada});
  return v;
}

// Filas de letras leídas de las estructuras de la superescalar, por secuencia,
// y el motivo de cada espera que se puede deducir del estado al final del ciclo
// (no el de una carga o un almacenamiento con la dirección ya calculada, que
// depende de lo que pasó a mitad de ciclo).
class TOraculoSuper {
public:
  std::map<int64_t, std::string> filas;
  std::map<int64_t, std::map<size_t, TEspera>> motivos;  // por secuencia y posición en la fila

  void antes(const TMaquinaSuper& m) {
    unidades = marcas(m);
    confirmadas = m.estadisticas.instruccionesConfirmadas;
  }

  // Con «detenida» (CICLO_ERROR) el ciclo no llegó a las unidades: nada cambió de sitio en ellas.
  void despues(const TMaquinaSuper& m, bool detenida) {
    std::map<int64_t, char> ahora;
    std::map<int64_t, TEspera> esperados;
    for (int32_t i = 0; i < m.prefetch.numElementos(); ++i) {
      const int64_t s = m.prefetch.enOrden(i)->instruccion->secuencia;
      ahora[s] = 'P';
      esperados[s] = TEspera{espDecodificadorLleno, -1, -1};
    }
    for (int32_t i = 0; i < m.decoder.numElementos(); ++i) {
      const TInstruccion& ins = *m.decoder.enOrden(i)->instruccion;
      ahora[ins.secuencia] = 'D';
      esperados[ins.secuencia] = i > 0 ? TEspera{espEmisionEnOrden, -1, -1}
                                 : m.rob.llena() ? TEspera{espROBLleno, -1, -1}
                                                 : TEspera{espEstacionLlena, static_cast<int8_t>(ins.tipoUnidad()), -1};
    }
    std::map<int32_t, std::pair<int, const TEntradaER*>> porEtiqueta;
    for (int t = 0; t < NUM_TIPOS_UF; ++t)
      for (const TEntradaER& e : m.er[static_cast<size_t>(t)]) porEtiqueta[e.tagROB] = {t, &e};
    std::vector<int64_t> orden;
    for (int32_t i = 0; i < m.rob.numElementos(); ++i) {
      const int32_t tag = m.rob.huecoEnOrden(i);
      const TEntradaROB* r = m.rob.elemento(tag);
      const int64_t s = r->instruccion->secuencia;
      orden.push_back(s);
      char l = 'W';
      if (!r->listo) {
        const auto [t, e] = porEtiqueta.at(tag);
        const auto numMem = static_cast<int32_t>(m.uf[tufMemoria].size());
        if (e->uf == -1) {
          l = 'R';
          // Sin dirección, una carga o un almacenamiento solo espera a su base (k).
          if (t == tufMemoria && !r->dirCalculada)
            esperados[s] = e->qk != -1 ? TEspera{espOperandoK, -1, e->qk}
                                       : TEspera{espSinUnidadLibre, TIPO_UNIDAD_DIRECCIONES, -1};
          else if (t != tufMemoria)
            esperados[s] = e->qj != -1 ? TEspera{espOperandoJ, -1, e->qj}
                           : e->qk != -1 ? TEspera{espOperandoK, -1, e->qk}
                                         : TEspera{espSinUnidadLibre, static_cast<int8_t>(t), -1};

        } else if (t == tufMemoria && e->uf >= numMem) {
          l = 'A';
        } else {
          const TUnidadFuncional& u = m.uf[static_cast<size_t>(t)][static_cast<size_t>(e->uf)];
          const TMarcaUnidad& antes = unidades[static_cast<size_t>(t)][static_cast<size_t>(e->uf)];
          l = detenida ? previa[s] : esperaFallo(u, antes, e->etapaUF, previa[s]) ? 'M' : 'E';
        }
      }
      if (l == 'W') esperados[s] = TEspera{espConfirmacionEnOrden, -1, -1};
      ahora[s] = l;
    }
    // Lo que ya no está: las más antiguas del ROB anterior se confirmaron; el resto, anuladas.
    auto hechas = m.estadisticas.instruccionesConfirmadas - confirmadas;
    for (int64_t s : ordenAnterior)
      if (!ahora.count(s) && hechas > 0) {
        ahora[s] = 'C';
        --hechas;
      }
    for (const auto& [s, l] : previa)
      if (!ahora.count(s)) ahora[s] = 'X';
    for (const auto& [s, l] : ahora) {
      // Solo es espera si ya estaba ahí al empezar el ciclo.
      const auto p = previa.find(s);
      if (p != previa.end() && p->second == l && esperados.count(s)) motivos[s][filas[s].size()] = esperados[s];
      filas[s] += l;
    }
    previa.clear();
    for (const auto& [s, l] : ahora)
      if (l != 'C' && l != 'X') previa[s] = l;
    ordenAnterior = orden;
  }

private:
  std::vector<std::vector<TMarcaUnidad>> unidades;
  int64_t confirmadas = 0;
  std::map<int64_t, char> previa;
  std::vector<int64_t> ordenAnterior;
};

// Una celda de espera (la instrucción sigue en P, D, R o W) lleva motivo; la de
// llegada no; la M siempre el del fallo. En el ciclo que se detiene por un error
// nada tuvo ocasión de moverse.
std::string motivosCoherentes(const letras::TFila& f, int32_t cicloError) {
  for (size_t i = 0; i < f.letras.size(); ++i) {
    if (f.primerCiclo + static_cast<int32_t>(i) == cicloError) continue;
    const char l = f.letras[i];
    const bool sigue = i > 0 && f.letras[i - 1] == l && std::string("PDRWS").find(l) != std::string::npos;
    const TMotivoEspera m = f.motivos[i].motivo;
    const bool bien = l == 'M' ? m == espFalloCache : (sigue || l == 'S') ? m != espNinguno : m == espNinguno;
    if (!bien) return "celda " + std::to_string(i) + " de " + f.letras + ": " + letras::texto(f.motivos[i]);
  }
  return {};
}

}  // namespace

TEST(ObservadorSuper, LetrasComoLasEstructurasEnProgramasGenerados) {
  for (uint32_t semilla = 500; semilla < 700; ++semilla) {
    diferencial::TAzarSemilla azar(semilla);
    diferencial::TGeneradorProgramas generador(azar, false);
    const diferencial::TProgramaGenerado programa = generador.generar();
    const auto codigo = programa.cargar();
    ASSERT_NE(codigo, nullptr);
    TMaquinaSuper m;
    diferencial::configurarSuper(m, azar);
    m.codigo = codigo.get();
    letras::TRegistrador r;
    m.observador = &r;
    m.reset(true);
    programa.ponerIniciales(m);
    TOraculoSuper oraculo;
    int32_t cicloError = -1;
    for (int i = 0; i < 600; ++i) {
      oraculo.antes(m);
      const int8_t res = m.ejecutarCiclo();
      oraculo.despues(m, res == CICLO_ERROR);
      if (res == CICLO_ERROR) cicloError = m.ciclo;
      if (res == CICLO_COMPLETADO || res == CICLO_ERROR) break;
    }
    ASSERT_EQ(r.filas.size(), oraculo.filas.size()) << "semilla " << semilla;
    for (const auto& [s, f] : r.filas) {
      ASSERT_EQ(f.letras, oraculo.filas[s]) << "semilla " << semilla << ", secuencia " << s;
      ASSERT_EQ(motivosCoherentes(f, cicloError), "") << "semilla " << semilla << ", secuencia " << s;
      for (const auto& [celda, esperado] : oraculo.motivos[s]) {
        if (f.primerCiclo + static_cast<int32_t>(celda) == cicloError) continue;
        ASSERT_EQ(letras::texto(f.motivos[celda]), letras::texto(esperado))
            << "semilla " << semilla << ", secuencia " << s << ", celda " << celda << " de " << f.letras;
      }
    }

  }
}

namespace {

// Filas de la VLIW leídas de la máquina: la instrucción larga emitida o
// detenida de cada ciclo y, para cada operación, la etapa en que se insertó.
class TOraculoVLIW {
public:
  std::map<int64_t, std::string> largas;
  std::map<std::pair<int64_t, int32_t>, std::string> operaciones;
  void antes(const TMaquinaVLIW& m) {
    unidades = marcas(m);
    parada = m.estadisticas.ciclosParada;
  }

  void despues(const TMaquinaVLIW& m) {
    int32_t larga = -1;
    char letra = ' ';
    if (m.emitidaCiclo >= 0) {
      larga = m.emitidaCiclo;
      letra = 'I';
    } else if (m.estadisticas.ciclosParada != parada) {
      larga = static_cast<int32_t>(m.pc);
      letra = 'S';
    }
    // Dónde entraron las operaciones emitidas ahora (nada avanza tras la emisión:
    // la etapa de entrada). Una etapa reocupada en este ciclo ya no tiene la de antes.
    std::map<std::pair<int64_t, int32_t>, TPosicion> nuevas;
    if (larga >= 0 && (actual < 0 || larga != largaActual)) {
      actual = siguiente++;
      largaActual = larga;
    }
    if (letra == 'I') {
      const TInstruccionLarga& l = *m.codigo.instruccion(larga);
      for (int32_t i = 0; i < l.numOperaciones(); ++i) {
        const TOperacionVLIW* op = l.operaciones[static_cast<size_t>(i)].get();
        const TUnidadFuncional& u = m.uf[static_cast<size_t>(op->tipoUF)][static_cast<size_t>(op->numUnidad)];
        nuevas[{actual, i}] = TPosicion{op->tipoUF, op->numUnidad, u.etapaEntrada(), op};
      }
    }
    auto reocupada = [&](const TPosicion& p) {
      for (const auto& [c, n] : nuevas)
        if (n.tipo == p.tipo && n.unidad == p.unidad && n.etapa == p.etapa) return true;
      return false;
    };

    std::map<std::pair<int64_t, int32_t>, TPosicion> siguen;
    for (const auto& [clave, p] : enVuelo) {
      const TUnidadFuncional& u = m.uf[static_cast<size_t>(p.tipo)][static_cast<size_t>(p.unidad)];
      if (u.etapas[static_cast<size_t>(p.etapa)] == p.op && !reocupada(p)) {
        const char previa = operaciones[clave].back();
        const auto& antesU = unidades[static_cast<size_t>(p.tipo)][static_cast<size_t>(p.unidad)];
        operaciones[clave] += esperaFallo(u, antesU, p.etapa, previa) ? 'M' : 'E';
        siguen[clave] = p;
      } else {
        operaciones[clave] += '?';
      }
    }
    enVuelo = siguen;
    for (const auto& [clave, p] : nuevas) {
      enVuelo[clave] = p;
      operaciones[clave] = "I";
    }

    if (larga < 0) {
      actual = -1;
      return;
    }
    largas[actual] += letra;
    if (letra == 'I') actual = -1;
  }

private:
  struct TPosicion {
    int tipo;
    int32_t unidad, etapa;
    const TOperacionVLIW* op;
  };
  std::vector<std::vector<TMarcaUnidad>> unidades;
  int64_t parada = 0;
  std::map<std::pair<int64_t, int32_t>, TPosicion> enVuelo;
  int64_t actual = -1, siguiente = 0;
  int32_t largaActual = -1;
};

}  // namespace

TEST(ObservadorVLIW, LetrasComoLasEstructurasEnProgramasGenerados) {
  for (uint32_t semilla = 900; semilla < 1100; ++semilla) {
    diferencial::TAzarSemilla azar(semilla);
    diferencial::TGeneradorProgramas generador(azar, false);
    const diferencial::TProgramaGenerado programa = generador.generar();
    const auto codigo = programa.cargar();
    ASSERT_NE(codigo, nullptr);
    TMaquinaVLIW m;
    diferencial::configurarVLIW(m, azar);
    // Aquí no importan los valores: también fallos que cuestan (cargas en M).
    if (semilla % 3 == 0) m.latFalloCache = m.latUF[tufMemoria] + azar.entre32(1, 8);
    m.reset(true);
    if (semilla % 2 == 0) diferencial::planificarEnSerie(m, *codigo, azar);
    else diferencial::planificarCompacta(m, *codigo, azar);
    letras::TRegistrador r;
    m.observador = &r;
    programa.ponerIniciales(m);
    TOraculoVLIW oraculo;
    int32_t cicloError = -1;
    for (int i = 0; i < 800; ++i) {
      oraculo.antes(m);
      const int8_t res = m.ejecutarCiclo();
      if (res == CICLO_ERROR) {
        cicloError = m.ciclo;
        break;
      }
      oraculo.despues(m);
      if (res == CICLO_COMPLETADO) break;
    }
    const std::string caso = "semilla " + std::to_string(semilla);
    ASSERT_EQ(r.largas.size(), oraculo.largas.size()) << caso;
    for (const auto& [s, f] : r.largas) {
      ASSERT_EQ(f.letras, oraculo.largas[s]) << caso << ", larga " << s;
      ASSERT_EQ(motivosCoherentes(f, cicloError), "") << caso << ", larga " << s;
    }
    // Las operaciones terminadas en el oráculo («?») son W o X: las cuentan los contadores.
    ASSERT_EQ(r.operaciones.size(), oraculo.operaciones.size()) << caso;
    int64_t w = 0, x = 0;
    for (const auto& [clave, f] : r.operaciones) {
      std::string esperada = oraculo.operaciones[clave];
      if (!esperada.empty() && esperada.back() == '?' && !f.letras.empty()) esperada.back() = f.letras.back();
      if (cicloError > 0 && f.primerCiclo + static_cast<int32_t>(f.letras.size()) > cicloError) continue;
      ASSERT_EQ(f.letras, esperada) << caso << ", operación " << clave.second << " de la larga " << clave.first;
      ASSERT_EQ(motivosCoherentes(f, cicloError), "") << caso;
      w += f.letras.back() == 'W';
      x += f.letras.back() == 'X';
    }
    if (cicloError < 0) {
      EXPECT_EQ(w, m.estadisticas.operacionesEjecutadas) << caso;
      EXPECT_EQ(x, m.estadisticas.operacionesDescartadas) << caso;
    }
  }
}

TEST(Multiplexor, CadaObservadorRecibeTodosLosSucesos) {
  auto codigo = compilar("4\nLF F1 0(R0)\nADDF F2 F1 F1\nSF F2 4(R0)\nLF F3 4(R0)\n");
  TMaquinaSuper m;
  letras::TRegistrador a, b, c;
  TMultiplexorObservadores multiplexor;
  multiplexor.anadir(&a);
  multiplexor.anadir(&b);
  multiplexor.anadir(&c);
  multiplexor.quitar(&c);
  multiplexor.anadir(nullptr);
  EXPECT_EQ(multiplexor.numObservadores(), 2u);
  m.observador = &multiplexor;
  preparar(m, codigo.get());
  EXPECT_EQ(ejecutarHastaFin(m), CICLO_COMPLETADO);
  ASSERT_EQ(a.filas.size(), 4u);
  ASSERT_EQ(b.filas.size(), 4u);
  for (const auto& [s, f] : a.filas) {
    EXPECT_EQ(f.letras, b.filas[s].letras);
    EXPECT_EQ(conMotivos(f), conMotivos(b.filas[s]));
  }
  EXPECT_TRUE(c.filas.empty());
}

// Un observador que se engancha a mitad de la ejecución (la ventana del diagrama
// se abre tarde) ve lo que busca la máquina desde entonces igual que si hubiera
// estado desde el principio, y a las que ya esperaban se les avisa su motivo.
TEST(ObservadorSuper, EngancharseAMitadDeLaEjecucion) {
  int avisadasAlEngancharse = 0;
  for (uint32_t semilla = 700; semilla < 740; ++semilla) {
    diferencial::TAzarSemilla azar(semilla);
    diferencial::TGeneradorProgramas generador(azar, false);
    const diferencial::TProgramaGenerado programa = generador.generar();
    const auto codigo = programa.cargar();
    ASSERT_NE(codigo, nullptr);
    TMaquinaSuper a, b;
    diferencial::configurarSuper(a, azar);
    b.numUF = a.numUF;
    b.latUF = a.latUF;
    b.emision = a.emision;
    b.latFalloCache = a.latFalloCache;
    b.memoria.porcentajeFallos = a.memoria.porcentajeFallos;
    letras::TRegistrador ra, rb;
    a.observador = &ra;
    for (TMaquinaSuper* m : {&a, &b}) {
      m->codigo = codigo.get();
      m->memoria.sembrar(semilla);
      m->reset(true);
      programa.ponerIniciales(*m);
    }
    const int32_t enganche = azar.entre32(2, 30);
    for (int i = 0; i < 400; ++i) {
      if (b.ciclo == enganche) b.observador = &rb;
      const int8_t r = a.ejecutarCiclo();
      ASSERT_EQ(b.ejecutarCiclo(), r);
      if (r == CICLO_COMPLETADO || r == CICLO_ERROR) break;
    }
    for (const auto& [s, f] : ra.filas) {
      if (f.primerCiclo <= enganche) continue;
      ASSERT_EQ(conMotivos(f), conMotivos(rb.filas[s])) << "semilla " << semilla << ", secuencia " << s;
    }
    // Las buscadas antes no tienen «buscada» (primerCiclo 0), pero si esperaban se les avisa.
    for (const auto& [s, f] : rb.filas)
      if (f.primerCiclo == 0 && !f.motivos.empty() && f.motivos.front().motivo != espNinguno) ++avisadasAlEngancharse;
  }
  EXPECT_GT(avisadasAlEngancharse, 0);
}
