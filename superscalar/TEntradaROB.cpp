#include "superscalar/TEntradaROB.h"

const std::array<std::string, 4> nombresEtapa = {"ISSUE", "EXEC", "WRITE", "COMMIT"};
