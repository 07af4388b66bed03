#!/bin/sh
# Compila y pasa todas las pruebas: una vez con avisos como errores y otra bajo
# AddressSanitizer y UndefinedBehaviorSanitizer. Termina con error si falla algo.
set -eu
cd "$(dirname "$0")/.."
sh scripts/dependencias.sh
for preset in desarrollo sanitizadores; do
  echo "== $preset =="
  cmake --preset "$preset"
  cmake --build --preset "$preset"
  ctest --preset "$preset" -j2
done
echo "== todas las pruebas pasan =="
