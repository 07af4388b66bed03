#!/bin/sh
# Compila la versión optimizada y abre el simulador.
set -eu
cd "$(dirname "$0")/.."
sh scripts/dependencias.sh
cmake --preset release
cmake --build --preset release
if [ -x build/release/Simulador/orvex ]; then
  exec build/release/Simulador/orvex "$@"
fi
echo "No se ha compilado la interfaz (¿ORVEX_GUI desactivado?): solo el modelo."
exit 1
