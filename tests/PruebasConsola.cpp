// Pruebas de orvex-run: se ejecuta el programa compilado y se comparan el
// estado de salida, los mensajes y los campos del informe.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

namespace {

struct TResultado {
  int estado = -1;
  std::string salida;
  std::string errores;
};

// ctest ejecuta pruebas en paralelo: cada proceso usa sus propios ficheros temporales.
std::string temporal(const std::string& nombre) {
  return ::testing::TempDir() + std::to_string(getpid()) + "_" + nombre;
}

std::string dato(const std::string& nombre) { return std::string(ORVEX_DIR_DATOS) + "/" + nombre; }
std::string ejemplo(const std::string& nombre) { return std::string(ORVEX_DIR_EJEMPLOS) + "/" + nombre; }

TResultado orvexRun(const std::string& argumentos) {
  const std::string ficheroErrores = temporal("errores.txt");
  const std::string orden = std::string(ORVEX_RUN) + " " + argumentos + " 2>" + ficheroErrores;
  TResultado r;
  FILE* tubo = popen(orden.c_str(), "r");
  if (tubo == nullptr) return r;
  char buf[4096];
  size_t n = 0;
  while ((n = fread(buf, 1, sizeof buf, tubo)) > 0) r.salida.append(buf, n);
  const int estado = pclose(tubo);
  r.estado = WIFEXITED(estado) ? WEXITSTATUS(estado) : -1;
  std::ifstream f(ficheroErrores);
  std::stringstream s;
  s << f.rdbuf();
  r.errores = s.str();
  return r;
}

bool contiene(const std::string& texto, const std::string& parte) { return texto.find(parte) != std::string::npos; }

// Contenido de un fichero; vacío si no existe (las salidas vacías no se guardan).
std::string leerFichero(const std::string& ruta) {
  std::ifstream f(ruta, std::ios::binary);
  std::stringstream s;
  s << f.rdbuf();
  return s.str();
}

std::string sustituir(std::string texto, const std::string& marca, const std::string& valor) {
  for (size_t p = texto.find(marca); p != std::string::npos; p = texto.find(marca, p + valor.size()))
    texto.replace(p, marca.size(), valor);
  return texto;
}

}  // namespace

// Las salidas guardadas en datos/consola se tomaron del programa antes de pasar
// la ejecución a la sesión y los informes a su biblioteca: cualquier byte
// distinto es un cambio de comportamiento.
TEST(ConsolaReferencia, SalidasIdenticasALasGuardadas) {
  const std::string dir = dato("consola");
  std::istringstream casos(leerFichero(dir + "/casos.txt"));
  int comparados = 0;
  for (std::string linea; std::getline(casos, linea);) {
    if (linea.empty() || linea[0] == '#') continue;
    const size_t a = linea.find('|'), b = linea.find('|', a + 1);
    ASSERT_NE(b, std::string::npos) << linea;
    const std::string nombre = linea.substr(0, a);
    const std::string args = sustituir(linea.substr(b + 1), "@DAT/", std::string(ORVEX_DIR_DATOS) + "/");
    const TResultado r = orvexRun(args);
    EXPECT_EQ(std::to_string(r.estado), linea.substr(a + 1, b - a - 1)) << nombre;
    EXPECT_EQ(r.salida, leerFichero(dir + "/" + nombre + ".salida")) << nombre;
    EXPECT_EQ(r.errores, leerFichero(dir + "/" + nombre + ".errores")) << nombre;
    ++comparados;
  }
  EXPECT_GE(comparados, 20);
}

TEST(ConsolaTiempos, SuperescalarAlCiclo) {
  TResultado suma = orvexRun("--json " + dato("una_suma.pla"));
  EXPECT_EQ(suma.estado, 0) << suma.errores;
  EXPECT_TRUE(contiene(suma.salida, R"("machine":"super","result":"completed","cycles":6,)")) << suma.salida;

  TResultado carga = orvexRun("--json " + dato("una_carga.pla"));
  EXPECT_TRUE(contiene(carga.salida, R"("cycles":11,)")) << carga.salida;

  // Con todos los accesos fallando, la carga confirma en el ciclo 16.
  TResultado fallo = orvexRun("--json --miss-rate 100 " + dato("una_carga.pla"));
  EXPECT_TRUE(contiene(fallo.salida, R"("cycles":16,)")) << fallo.salida;
  EXPECT_TRUE(contiene(fallo.salida, R"("cache_misses":1)")) << fallo.salida;
}

TEST(ConsolaTiempos, VLIWAlCicloYTraza) {
  TResultado r = orvexRun("-m vliw -p " + dato("una_suma.vliw") + " --trace --json --set R2=3 --set R3=4 " +
                          dato("una_suma.pla"));
  EXPECT_EQ(r.estado, 0) << r.errores;
  EXPECT_TRUE(contiene(r.salida, R"({"cycle":1,"result":0,"pc":1,"issued":0})")) << r.salida;
  EXPECT_TRUE(contiene(r.salida, R"({"cycle":2,"result":-3,"pc":1,"issued":null})")) << r.salida;
  EXPECT_TRUE(contiene(r.salida, R"({"cycle":3,"result":-2,"pc":1,"issued":null})")) << r.salida;
  EXPECT_TRUE(contiene(r.salida, R"("machine":"vliw","result":"completed","cycles":3,"gpr":[0,7,3,4,)"))
      << r.salida;
  EXPECT_FALSE(contiene(r.salida, "predictor"));
}

TEST(ConsolaTiempos, TrazaSuperescalarListaLasConfirmadas) {
  TResultado r = orvexRun("--trace " + dato("una_suma.pla"));
  EXPECT_TRUE(contiene(r.salida, R"({"cycle":6,"result":-2,"pc":1,"committed":[0]})")) << r.salida;
  EXPECT_TRUE(contiene(r.salida, "Resultado: ejecución completada en 6 ciclos")) << r.salida;
}

TEST(ConsolaInforme, EstadoFinalDeUnEjemplo) {
  TResultado r = orvexRun("--json " + ejemplo("producto_escalar.pla"));
  EXPECT_EQ(r.estado, 0);
  EXPECT_TRUE(contiene(r.salida, R"("32":125)")) << r.salida;
  EXPECT_TRUE(contiene(r.salida, R"("predictor":[)"));
  EXPECT_TRUE(contiene(r.salida, R"("stats":{"instructions_committed":73,)")) << r.salida;

  TResultado humano = orvexRun(ejemplo("producto_escalar.pla"));
  EXPECT_TRUE(contiene(humano.salida, "M32 = 125")) << humano.salida;
  EXPECT_TRUE(contiene(humano.salida, "F6 = 125"));
  EXPECT_FALSE(contiene(humano.salida, "R0 ="));
}

TEST(ConsolaInforme, ValoresInicialesYFlotantesNoFinitos) {
  const std::string programa = temporal("inf.pla");
  std::ofstream(programa) << "2\nMULTF F1 F2 F2\nSF F2 5(R0)\n";
  TResultado r = orvexRun("--json --set F2=3e38 --set M7=0.1 --set r9=-4 " + programa);
  EXPECT_EQ(r.estado, 0) << r.errores;
  EXPECT_TRUE(contiene(r.salida, R"("fpr":[0,"inf",3e+38,)")) << r.salida;
  EXPECT_TRUE(contiene(r.salida, R"("memory":{"5":3e+38,"7":0.1})")) << r.salida;
  EXPECT_TRUE(contiene(r.salida, R"(,-4,0,)")) << r.salida;
}

TEST(ConsolaInforme, MismaSemillaMismoInforme) {
  const std::string orden = "--json --miss-rate 50 --seed 1234 " + ejemplo("fallos_cache.pla");
  TResultado a = orvexRun(orden);
  TResultado b = orvexRun(orden);
  EXPECT_EQ(a.estado, 0);
  EXPECT_EQ(a.salida, b.salida);
  EXPECT_FALSE(contiene(a.salida, R"("cache_misses":0)")) << "con 50 % alguna de las seis cargas debería fallar";
}

// --state: las estructuras tras el ciclo de --max-cycles, con los nombres de
// las ventanas; implica --json.
TEST(ConsolaInforme, EstadoDeLasEstructurasTrasUnCiclo) {
  TResultado r = orvexRun("--state --max-cycles 8 " + ejemplo("vector_suma.pla"));
  EXPECT_EQ(r.estado, 3);
  for (const char* parte : {R"("cycles":8,)", R"(,"state":{"prefetch":[)", R"(],"decoder":[)", R"(],"rob":[{"tag":)",
                            R"("stations":{"+Entera":[)", R"(],"Salto":[)", R"("units":{"+Entera":[{"stages":[)",
                            R"(],"ALU Dir.":[{"stages":[)", R"("rename":{"robGPR":[)", R"(],"robFPR":[)",
                            R"(]}},"stats":{)"})
    EXPECT_TRUE(contiene(r.salida, parte)) << parte << " en " << r.salida;

  TResultado v = orvexRun("--state -m vliw -p " + ejemplo("vector_suma.vliw") + " --max-cycles 4 " +
                          ejemplo("vector_suma.pla"));
  for (const char* parte : {R"("state":{"units":{"+Entera":[{"stages":[)", R"("nat":{"gpr":[)", R"(],"fpr":[)",
                            R"("predicates":[)", R"({"long":)"})
    EXPECT_TRUE(contiene(v.salida, parte)) << parte << " en " << v.salida;
  EXPECT_FALSE(contiene(orvexRun("--json " + ejemplo("vector_suma.pla")).salida, R"("state")"));
}

TEST(ConsolaComprobacion, MensajeDeDependencia) {
  const std::string args = "-m vliw -p " + dato("dependencia.vliw") + " --check ";
  TResultado r = orvexRun(args + dato("dependencia.pla"));
  EXPECT_EQ(r.estado, 0);  // el aviso no impide ejecutar
  EXPECT_EQ(r.errores, "Dependencia verdadera en la operación 1 de la instrucción larga 0\n");
  TResultado j = orvexRun(args + "--json " + dato("dependencia.pla"));
  EXPECT_TRUE(contiene(
      j.salida, R"("check":{"code":-4,"message":"Dependencia verdadera en la operación 1 de la instrucción larga 0"})"))
      << j.salida;
  EXPECT_EQ(j.errores, "");
  TResultado limpio = orvexRun("-m vliw --check --json -p " + dato("una_suma.vliw") + " " + dato("una_suma.pla"));
  EXPECT_TRUE(contiene(limpio.salida, R"("check":{"code":0,"message":""})")) << limpio.salida;
}

// --verify: el veredicto frente al código secuencial, desde los valores de
// --set, y el estado 5 cuando difieren (el aviso de --check no lo cambia).
TEST(ConsolaVerificacion, VeredictoYEstadoDeSalida) {
  const std::string valores = "--set R2=1 --set R3=2 --verify ";
  TResultado mal = orvexRun("-m vliw --json -p " + dato("dependencia.vliw") + " " + valores + dato("dependencia.pla"));
  EXPECT_EQ(mal.estado, 5) << mal.errores;
  EXPECT_TRUE(contiene(mal.salida, R"("verify":{"equal":false,"differences":[{"where":"R4","expected":6,"got":0}],"hint":"la operación 1)"))
      << mal.salida;
  TResultado texto = orvexRun("-m vliw -p " + dato("dependencia.vliw") + " " + valores + dato("dependencia.pla"));
  EXPECT_EQ(texto.estado, 5);
  EXPECT_TRUE(contiene(texto.salida, "El programa VLIW no calcula lo mismo que el código secuencial: 1 diferencia\n"));

  TResultado bien = orvexRun("-m vliw --json -p " + dato("una_suma.vliw") + " " + valores + dato("una_suma.pla"));
  EXPECT_EQ(bien.estado, 0);
  EXPECT_TRUE(contiene(bien.salida, R"("verify":{"equal":true,"differences":[]}})")) << bien.salida;
  TResultado super = orvexRun("--verify --seed 4 --miss-rate 30 " + ejemplo("vector_suma.pla"));
  EXPECT_EQ(super.estado, 0);
  EXPECT_TRUE(contiene(super.salida, "La máquina superescalar calcula lo mismo que el código secuencial\n"));
  // Sin --verify no hay veredicto ni estado 5.
  TResultado sin = orvexRun("-m vliw --json -p " + dato("dependencia.vliw") + " --set R2=1 " + dato("dependencia.pla"));
  EXPECT_EQ(sin.estado, 0);
  EXPECT_FALSE(contiene(sin.salida, "verify"));
}

// --compare: los dos informes en un objeto, con la aceleración; mismos ciclos
// que cada máquina por separado con la misma semilla.
TEST(ConsolaComparacion, DosInformesEnUnObjeto) {
  const std::string comun = "--seed 9 --miss-rate 20 --json ";
  const std::string vliw = "-p " + ejemplo("vector_suma.vliw") + " ";
  TResultado c = orvexRun("--compare --verify " + comun + vliw + ejemplo("vector_suma.pla"));
  ASSERT_EQ(c.estado, 0) << c.errores;
  EXPECT_EQ(c.salida.rfind(R"({"super":{"machine":"super",)", 0), 0u) << c.salida;
  EXPECT_TRUE(contiene(c.salida, R"(},"vliw":{"machine":"vliw",)"));
  EXPECT_TRUE(contiene(c.salida, R"("speedup":)"));
  EXPECT_EQ(c.salida.back(), '\n');
  TResultado s = orvexRun(comun + ejemplo("vector_suma.pla"));
  TResultado v = orvexRun("-m vliw " + comun + vliw + ejemplo("vector_suma.pla"));
  auto ciclos = [](const std::string& t, size_t desde) {
    const size_t p = t.find("\"cycles\":", desde);
    return p == std::string::npos ? std::string() : t.substr(p, t.find(',', p) - p);
  };
  EXPECT_EQ(ciclos(c.salida, 0), ciclos(s.salida, 0));
  EXPECT_EQ(ciclos(c.salida, c.salida.find("\"vliw\":{")), ciclos(v.salida, 0));

  TResultado diferente = orvexRun("--compare --verify --set R2=1 --set R3=2 -p " + dato("dependencia.vliw") + " " +
                                  dato("dependencia.pla"));
  EXPECT_EQ(diferente.estado, 5);
  EXPECT_TRUE(contiene(diferente.salida, "aceleración de la VLIW sobre la superescalar")) << diferente.salida;
}

TEST(ConsolaErrores, FallosDeCarga) {
  TResultado erroneo = orvexRun(dato("erroneo.pla"));
  EXPECT_EQ(erroneo.estado, 1);
  EXPECT_EQ(erroneo.errores,
            "FICHERO DE CÓDIGO CON ERRORES O NO VÁLIDO\nlínea 3: se esperaba un registro F y se encontró R2\n");

  TResultado ausente = orvexRun(dato("no_existe.pla"));
  EXPECT_EQ(ausente.estado, 1);
  EXPECT_TRUE(contiene(ausente.errores, "FICHERO DE CÓDIGO CON ERRORES O NO VÁLIDO\n"));

  const std::string vliw = "-m vliw " + dato("una_suma.pla") + " -p ";
  TResultado tipo = orvexRun(vliw + dato("tipo_erroneo.vliw"));
  EXPECT_EQ(tipo.estado, 1);
  EXPECT_EQ(tipo.errores,
            "Error al cargar el código VLIW\nlínea 2: la instrucción 0 (ADDI R1 R2 R3) va en una unidad +Entera, no "
            "xFlotante\n");

  TResultado unidad = orvexRun(vliw + dato("unidad_5.vliw"));
  EXPECT_EQ(unidad.estado, 1);
  EXPECT_EQ(unidad.errores,
            "La configuración actual de la máquina no permite ejecutar ese código\n"
            "línea 2: unidad +Entera 5 fuera de la configuración\n");
  TResultado bastan = orvexRun("--units 6,2,2,2,2,1 " + vliw + dato("unidad_5.vliw"));
  EXPECT_EQ(bastan.estado, 0) << bastan.errores;

  // Una carpeta en lugar del *.vliw: la lectura falla, no el programa.
  for (const std::string& orden : {vliw + ORVEX_DIR_DATOS, "--compare " + dato("una_suma.pla") + " -p " + ORVEX_DIR_DATOS}) {
    TResultado carpeta = orvexRun(orden);
    EXPECT_EQ(carpeta.estado, 1) << orden;
    EXPECT_EQ(carpeta.errores, "Error al cargar el código VLIW\nno se puede leer el fichero\n") << orden;
  }

  TResultado vacio = orvexRun(vliw + dato("vacio.vliw"));
  EXPECT_EQ(vacio.estado, 1);
  EXPECT_EQ(vacio.errores, "Debe completar el código VLIW antes de ejecutar\n");
}

TEST(ConsolaErrores, OrdenMalEscrita) {
  for (const std::string& args :
       {std::string(""), std::string("--machine arm x.pla"), std::string("--units 1,2,3 x.pla"),
        std::string("--units 2,2,2,2,2,0 x.pla"), std::string("--issue-width 17 x.pla"),
        std::string("--latencies 1,1,1,1,1,101 x.pla"), std::string("--miss-rate 101 x.pla"),
        std::string("--set R0=1 x.pla"), std::string("--set F64=1 x.pla"), std::string("--set M1024=1 x.pla"),
        std::string("--set F1=1,5 x.pla"), std::string("--set M-0=1 x.pla"), std::string("--set F+1=1 x.pla"),
        std::string("--max-cycles 0 x.pla"),
        std::string("--max-cycles 2000000001 x.pla"), std::string("-m vliw x.pla"),
        std::string("-m vliw -p a.vliw --units 2,2,2,2,2,2 x.pla"), std::string("--check x.pla"),
        std::string("--nada x.pla"), std::string("a.pla b.pla"),
        std::string("--compare x.pla"), std::string("--compare -m vliw -p a.vliw x.pla")}) {
    TResultado r = orvexRun(args);
    EXPECT_EQ(r.estado, 2) << args;
    EXPECT_TRUE(contiene(r.errores, "orvex-run: ")) << args;
  }
  TResultado ayuda = orvexRun("--help");
  EXPECT_EQ(ayuda.estado, 0);
  for (const char* opcion : {"--machine", "--vliw-program", "--units", "--latencies", "--miss-latency",
                             "--issue-width", "--miss-rate", "--seed", "--set", "--max-cycles", "--check",
                             "--trace", "--json", "--version", "Estado de salida", "--verify", "--compare"})
    EXPECT_TRUE(contiene(ayuda.salida, opcion)) << opcion;
}

TEST(ConsolaErrores, LimiteDeCiclosYErrorEnEjecucion) {
  TResultado sinFin = orvexRun("--json --max-cycles 500 " + dato("bucle_infinito.pla"));
  EXPECT_EQ(sinFin.estado, 3);
  EXPECT_TRUE(contiene(sinFin.salida, R"("result":"max-cycles","cycles":500,)")) << sinFin.salida;

  TResultado fuera = orvexRun(dato("fuera_de_rango.pla"));
  EXPECT_EQ(fuera.estado, 4);
  EXPECT_EQ(fuera.errores, "Dirección de memoria fuera de rango (1030) en la instrucción 0: LF F0 1030(R0)\n");
  TResultado json = orvexRun("--json " + dato("fuera_de_rango.pla"));
  EXPECT_TRUE(contiene(json.salida, R"("result":"error","cycles":)")) << json.salida;
  EXPECT_TRUE(contiene(json.salida, R"("error":"Dirección de memoria fuera de rango (1030))")) << json.salida;
}

// El diagrama va tras la traza y antes del informe, una fila por línea.
TEST(ConsolaDiagrama, FilasJSONDeLasDosMaquinas) {
  TResultado r = orvexRun("--trace --timeline --miss-rate 100 " + dato("una_carga.pla"));
  EXPECT_EQ(r.estado, 0) << r.errores;
  const size_t fila = r.salida.find(R"j({"seq":0,"pc":0,"first":1,"stages":"PDRAREEEEMMMMMWC","text":"LF F1 4(R0)",)j");
  ASSERT_NE(fila, std::string::npos) << r.salida;
  EXPECT_LT(r.salida.find(R"({"cycle":16,)"), fila);
  EXPECT_GT(r.salida.find("Resultado: "), fila);
  EXPECT_TRUE(contiene(r.salida, R"("waits":[{"from":10,"to":14,"reason":"Fallo de caché en la palabra 4"}])"))
      << r.salida;

  TResultado v = orvexRun("-m vliw -p " + ejemplo("vector_suma.vliw") + " --timeline --json " +
                          ejemplo("vector_suma.pla"));
  EXPECT_EQ(v.estado, 0) << v.errores;
  EXPECT_TRUE(contiene(v.salida, R"({"seq":0,"pc":0,"first":1,"stages":"I",)")) << v.salida;
  EXPECT_TRUE(contiene(v.salida,
                       R"("ops":[{"unit":"+Entera","number":0,"first":1,"stages":"IW","pc":0,"text":"DADDUI R1 R0 #0"},)"
                       R"({"unit":"+Entera","number":1,"first":1,"stages":"IW",)"))
      << v.salida;
  EXPECT_TRUE(contiene(v.salida, R"("unit":"Mem","number":0,"first":3,"stages":"IEEEW")")) << v.salida;
  // Cada línea antes del informe es una fila, en orden de seq.
  std::istringstream lineas(v.salida);
  int64_t seq = 0;
  for (std::string l; std::getline(lineas, l);)
    if (l.rfind("{\"seq\":", 0) == 0) {
      EXPECT_EQ(l.rfind("{\"seq\":" + std::to_string(seq++) + ",", 0), 0u) << l;
    }
  EXPECT_GT(seq, 10);
}

TEST(ConsolaDiagrama, FormatosEIntervalo) {
  TResultado texto = orvexRun("--timeline-format text " + dato("una_suma.pla"));
  EXPECT_EQ(texto.estado, 0) << texto.errores;
  EXPECT_TRUE(contiene(texto.salida, "ciclo             123456\n0: ADDI R1 R2 R3  PDREWC\n\n")) << texto.salida;

  TResultado csv = orvexRun("--timeline-format csv --timeline-cycles 2-4 " + dato("una_suma.pla"));
  EXPECT_TRUE(contiene(csv.salida, "seq,fila,dirección,instrucción,2,3,4\n0,\"instrucción\",0,\"ADDI R1 R2 R3\",D,R,E\n"))
      << csv.salida;
  TResultado tabla = orvexRun("--timeline-format table --miss-rate 100 " + dato("una_carga.pla"));
  EXPECT_TRUE(contiene(tabla.salida, "0,0,\"LF F1 4(R0)\",3,4,14,15,16\n")) << tabla.salida;
  TResultado svg = orvexRun("--timeline-format svg " + dato("una_suma.pla"));
  EXPECT_TRUE(contiene(svg.salida, "<svg xmlns=\"http://www.w3.org/2000/svg\"")) << svg.salida;
  EXPECT_TRUE(contiene(svg.salida, ">C</text>"));
  EXPECT_TRUE(contiene(svg.salida, "</svg>\n"));

  for (const char* mal : {"--timeline-format xml", "--timeline-cycles 5-2", "--timeline-cycles 0-3",
                          "--timeline-cycles 7", "--timeline=1"}) {
    TResultado r = orvexRun(std::string(mal) + " " + dato("una_suma.pla"));
    EXPECT_EQ(r.estado, 2) << mal;
  }
}

// La velocidad se mide en bench/; aquí, que un bucle largo llega entero.
TEST(ConsolaInforme, DiezMilInstruccionesDeUnBucle) {
  // 2500 vueltas de un bucle de 4 instrucciones: 10 000 instrucciones ejecutadas.
  const std::string programa = temporal("bucle.pla");
  std::ofstream(programa) << "4\nL: DADDUI R1 R1 #1\nADDI R3 R3 R1\nADDF F1 F1 F2\nBNE R1 R2 L\n";
  TResultado r = orvexRun("--json --set R2=2500 " + programa);
  EXPECT_EQ(r.estado, 0);
  EXPECT_TRUE(contiene(r.salida, R"("instructions_committed":10000,)")) << r.salida;
}

// La planificación automática se ejecuta como si se diera con -p: el mismo
// informe que su fichero guardado, y el mismo resultado que la superescalar.
TEST(ConsolaPlanificacion, AutoScheduleComoSiSeDieraConP) {
  const std::string guardado = temporal("auto.vliw");
  const std::string fuente = ejemplo("producto_escalar.pla");
  TResultado autom = orvexRun("-m vliw --auto-schedule -o " + guardado + " --check --json --seed 5 " + fuente);
  EXPECT_EQ(autom.estado, 0) << autom.errores;
  EXPECT_TRUE(contiene(autom.salida, R"("check":{"code":0,"message":""})")) << autom.salida;
  TResultado conP = orvexRun("-m vliw -p " + guardado + " --check --json --seed 5 " + fuente);
  EXPECT_EQ(conP.salida, autom.salida);
  // Los registros y la memoria, como en la máquina que ejecuta en orden el programa.
  TResultado super = orvexRun("--json " + fuente);
  const auto estado = [](const std::string& json) {
    const size_t desde = json.find("\"gpr\""), hasta = json.find('}', json.find("\"memory\""));
    return desde == std::string::npos || hasta == std::string::npos ? json : json.substr(desde, hasta - desde + 1);
  };
  EXPECT_EQ(estado(autom.salida), estado(super.salida));

  for (const std::string& mal : {std::string("--auto-schedule ") + fuente, std::string("-m vliw -o x.vliw ") + fuente,
                                 std::string("-m vliw --auto-schedule -p x.vliw ") + fuente}) {
    TResultado r = orvexRun(mal);
    EXPECT_EQ(r.estado, 2) << mal;
  }
  TResultado sinCarpeta = orvexRun("-m vliw --auto-schedule -o " + temporal("no/existe.vliw") + " " + fuente);
  EXPECT_EQ(sinCarpeta.estado, 1);
  EXPECT_TRUE(contiene(sinCarpeta.errores, "No se pudo guardar el fichero\n")) << sinCarpeta.errores;
}
