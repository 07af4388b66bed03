#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "machine/TEscrituraSegura.h"

namespace fs = std::filesystem;

namespace {

class EscrituraSegura : public ::testing::Test {
protected:
  fs::path carpeta;

  void SetUp() override {
    static int cuenta = 0;
    carpeta = fs::temp_directory_path() /
              ("orvex-escritura-" + std::to_string(getpid()) + "-" + std::to_string(++cuenta));
    fs::remove_all(carpeta);
    fs::create_directories(carpeta);
  }
  void TearDown() override { fs::remove_all(carpeta); }

  std::string ruta(const std::string& nombre) const { return (carpeta / nombre).string(); }

  static std::string leer(const std::string& r) {
    std::ifstream f(r, std::ios::binary);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
  }
  static void poner(const std::string& r, const std::string& contenido) {
    std::ofstream(r, std::ios::binary) << contenido;
  }
  static fs::perms permisos(const std::string& r) { return fs::status(r).permissions(); }

  // Lo que hay en la carpeta: un temporal olvidado aparecería aquí.
  std::vector<std::string> ficheros() const {
    std::vector<std::string> v;
    for (const auto& e : fs::directory_iterator(carpeta)) v.push_back(e.path().filename().string());
    std::sort(v.begin(), v.end());
    return v;
  }
};

}  // namespace

TEST_F(EscrituraSegura, FicheroNuevoConSusBytesYLosPermisosDeSiempre) {
  TEscrituraSegura e;
  const std::string binario("5\nADDI R1 R2 R3\r\n\0\xff", 18);
  ASSERT_EQ(e.escribir(ruta("nuevo.pla"), binario), ESCRITURA_OK) << e.motivo;
  EXPECT_EQ(leer(ruta("nuevo.pla")), binario);
  EXPECT_TRUE(e.motivo.empty());
  const mode_t mascara = umask(0);
  umask(mascara);
  EXPECT_EQ(static_cast<mode_t>(permisos(ruta("nuevo.pla"))), 0666 & ~mascara);
  ASSERT_EQ(e.escribir(ruta("vacio.pla"), ""), ESCRITURA_OK) << e.motivo;
  EXPECT_EQ(fs::file_size(ruta("vacio.pla")), 0u);
  EXPECT_EQ(ficheros(), (std::vector<std::string>{"nuevo.pla", "vacio.pla"}));
}

TEST_F(EscrituraSegura, SustituyeElContenidoYConservaLosPermisos) {
  poner(ruta("p.pla"), "contenido viejo, más largo que el nuevo");
  fs::permissions(ruta("p.pla"), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  TEscrituraSegura e;
  e.tamBloque = 3;  // varias escrituras para un solo contenido
  ASSERT_EQ(e.escribir(ruta("p.pla"), "nuevo"), ESCRITURA_OK) << e.motivo;
  EXPECT_EQ(leer(ruta("p.pla")), "nuevo");
  EXPECT_EQ(permisos(ruta("p.pla")), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  EXPECT_EQ(ficheros(), std::vector<std::string>{"p.pla"});
}

TEST_F(EscrituraSegura, UnEnlaceSimbolicoSigueSiendoEnlace) {
  fs::create_directories(carpeta / "de_verdad");
  poner(ruta("de_verdad/p.pla"), "viejo");
  fs::create_symlink(carpeta / "de_verdad" / "p.pla", carpeta / "enlace.pla");
  TEscrituraSegura e;
  ASSERT_EQ(e.escribir(ruta("enlace.pla"), "nuevo"), ESCRITURA_OK) << e.motivo;
  EXPECT_TRUE(fs::is_symlink(carpeta / "enlace.pla"));
  EXPECT_EQ(leer(ruta("de_verdad/p.pla")), "nuevo");
}

// Un fallo en cualquier paso: el fichero viejo queda como estaba, no queda
// ningún temporal y el motivo dice qué pasó.
TEST_F(EscrituraSegura, UnFalloInyectadoEnCadaPasoDejaElFicheroViejo) {
  struct Caso {
    TEscrituraSegura::TPaso paso;
    int error;
    int32_t resultado;
    const char* motivo;
  };
  const Caso casos[] = {
      {TEscrituraSegura::pasoCrear, EACCES, ESCRITURA_NO_CREA, "permiso denegado"},
      {TEscrituraSegura::pasoEscribir, ENOSPC, ESCRITURA_FALLA, "fallo al escribir: no queda espacio en el disco"},
      {TEscrituraSegura::pasoVaciar, EIO, ESCRITURA_FALLA, "error de entrada/salida"},
      {TEscrituraSegura::pasoCerrar, EDQUOT, ESCRITURA_FALLA, "cuota de disco agotada"},
      {TEscrituraSegura::pasoRenombrar, EROFS, ESCRITURA_NO_RENOMBRA, "sistema de ficheros de solo lectura"},
  };
  const std::string viejo = "3\nADDI R1 R1 R1\nADDI R2 R2 R2\nADDI R3 R3 R3\n";
  for (const Caso& c : casos) {
    SCOPED_TRACE(c.motivo);
    poner(ruta("p.pla"), viejo);
    TEscrituraSegura e;
    // La escritura falla a medias: en el tercer bloque, con dos ya escritos.
    e.tamBloque = 4;
    int escrituras = 0;
    e.inyectarFallo = [&](TEscrituraSegura::TPaso p) {
      if (p != c.paso) return 0;
      return p == TEscrituraSegura::pasoEscribir && ++escrituras < 3 ? 0 : c.error;
    };
    EXPECT_EQ(e.escribir(ruta("p.pla"), "2\nBNE R1 R2 X\nX: ADDI R1 R1 R1\n"), c.resultado);
    EXPECT_NE(e.motivo.find(c.motivo), std::string::npos) << e.motivo;
    EXPECT_EQ(leer(ruta("p.pla")), viejo);
    EXPECT_EQ(ficheros(), std::vector<std::string>{"p.pla"});
  }
}

TEST_F(EscrituraSegura, FallosDeVerdadDelSistema) {
  TEscrituraSegura e;
  EXPECT_EQ(e.escribir(ruta("no_existe/p.pla"), "x"), ESCRITURA_NO_CREA);
  EXPECT_NE(e.motivo.find("la carpeta no existe"), std::string::npos) << e.motivo;
  EXPECT_EQ(e.escribir("", "x"), ESCRITURA_NO_CREA);
  EXPECT_FALSE(e.motivo.empty());
  // El destino es una carpeta: no se sustituye y el temporal desaparece.
  fs::create_directories(carpeta / "carpeta.pla");
  EXPECT_EQ(e.escribir(ruta("carpeta.pla"), "x"), ESCRITURA_NO_RENOMBRA);
  EXPECT_TRUE(fs::is_directory(carpeta / "carpeta.pla"));
  EXPECT_EQ(ficheros(), std::vector<std::string>{"carpeta.pla"});
  // Ni una tubería (ni un dispositivo como /dev/full): se quedan lo que son.
  ASSERT_EQ(mkfifo(ruta("tuberia.vliw").c_str(), 0600), 0);
  EXPECT_EQ(e.escribir(ruta("tuberia.vliw"), "x"), ESCRITURA_NO_RENOMBRA);
  EXPECT_NE(e.motivo.find("no es un fichero normal"), std::string::npos) << e.motivo;
  EXPECT_TRUE(fs::is_fifo(carpeta / "tuberia.vliw"));
  EXPECT_EQ(ficheros(), (std::vector<std::string>{"carpeta.pla", "tuberia.vliw"}));
  // Tras un fallo, la siguiente escritura buena borra el motivo.
  EXPECT_EQ(e.escribir(ruta("bien.pla"), "x"), ESCRITURA_OK);
  EXPECT_TRUE(e.motivo.empty());
}
