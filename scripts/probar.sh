#!/bin/sh
# Compila y pasa todas las pruebas: una vez con avisos como errores, después
# un minuto de fuzzing por objetivo (scripts/fuzz.sh) y otra vez las pruebas
# bajo AddressSanitizer y UndefinedBehaviorSanitizer. Termina con error si
# falla algo.
set -eu
cd "$(dirname "$0")/.."
sh scripts/dependencias.sh
probar() {
  echo "== $1 =="
  cmake --preset "$1"
  cmake --build --preset "$1" -j2
  ctest --preset "$1" -j2
}
probar desarrollo
echo "== fuzzing =="
sh scripts/fuzz.sh 60
probar sanitizadores
echo "== todas las pruebas pasan =="
