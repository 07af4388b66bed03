#!/bin/sh
# Instala con apt-get, sin preguntas, todo lo que necesitan la compilación, las
# pruebas y la interfaz. Se puede repetir: lo ya instalado no se toca.
set -eu
paquetes="build-essential cmake ninja-build libgtest-dev libbenchmark-dev qt6-base-dev \
  qt6-svg-dev qt6-charts-dev libqt6opengl6-dev qt6-translations-l10n fonts-dejavu-core xvfb xauth imagemagick \
  clang-14 libclang-rt-14-dev"
faltan=""
for p in $paquetes; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || faltan="$faltan $p"
done
[ -z "$faltan" ] && exit 0
if [ "$(id -u)" -eq 0 ]; then sudo=""; else sudo="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
# shellcheck disable=SC2086
$sudo apt-get install -y -qq --no-install-recommends $faltan
