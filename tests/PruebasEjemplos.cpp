#include <gtest/gtest.h>

#include <filesystem>

#include "loader/TCodigo.h"

TEST(Ejemplos, TodosLosProgramasCargan) {
  namespace fs = std::filesystem;
  int programas = 0;
  for (const auto& e : fs::directory_iterator(ORVEX_DIR_EJEMPLOS)) {
    const std::string ext = e.path().extension().string();
    if (ext != ".pla" && ext != ".bun") continue;
    TCodigo c;
    EXPECT_EQ(c.cargar(e.path().string()), 0) << e.path() << ": " << c.detalleError;
    EXPECT_GT(c.numInstrucciones, 0) << e.path();
    ++programas;
  }
  EXPECT_GE(programas, 5);
}
