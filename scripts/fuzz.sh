#!/bin/sh
# Compila los objetivos de libFuzzer (preajuste «fuzz»: clang-14 con
# AddressSanitizer y UndefinedBehaviorSanitizer) y ejecuta cada uno SEGUNDOS
# segundos (60 por defecto), dos a la vez. Falla si alguno cae, pierde
# memoria, dispara un sanitizador o tarda más de 10 s en una entrada; la
# entrada culpable queda en build/fuzz/hallazgos/ y el registro completo en
# build/fuzz/registros/. El corpus crece en build/fuzz/corpus/ de una vez a otra.
#
#   sh scripts/fuzz.sh [SEGUNDOS [OBJETIVO…]]
set -eu
cd "$(dirname "$0")/.."
segundos=${1:-60}
[ $# -gt 0 ] && shift
objetivos=${*:-"cargador fichero_vliw maquinas opciones"}

cmake --preset fuzz
cmake --build --preset fuzz -j2

dir=build/fuzz
mkdir -p "$dir/hallazgos" "$dir/registros"

correr() {
  objetivo=$1
  mkdir -p "$dir/corpus/$objetivo"
  # libFuzzer se niega a empezar si falta una carpeta.
  regresiones=""
  [ -d "fuzz/regresiones/$objetivo" ] && regresiones="fuzz/regresiones/$objetivo"
  # El corpus de trabajo va primero: libFuzzer solo escribe en la primera carpeta.
  # shellcheck disable=SC2086
  "$dir/fuzz/fuzz_$objetivo" -max_total_time="$segundos" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$dir/hallazgos/$objetivo-" \
    "$dir/corpus/$objetivo" "$dir/fuzz/semillas/$objetivo" $regresiones \
    >"$dir/registros/$objetivo.txt" 2>&1
}

informar() {
  objetivo=$1
  estado=$2
  ejecuciones=$(sed -n 's/^stat::number_of_executed_units: *//p' "$dir/registros/$objetivo.txt")
  if [ "$estado" -eq 0 ]; then
    echo "fuzz $objetivo: ${ejecuciones:-?} ejecuciones en $segundos s, sin fallos"
  else
    echo "fuzz $objetivo: FALLO (estado $estado); últimas líneas del registro:"
    tail -n 40 "$dir/registros/$objetivo.txt"
    fallos=1
  fi
}

fallos=0
set -- $objetivos
while [ $# -gt 0 ]; do
  a=$1
  shift
  correr "$a" &
  pa=$!
  b=""
  if [ $# -gt 0 ]; then
    b=$1
    shift
    correr "$b" &
    pb=$!
  fi
  ea=0
  wait $pa || ea=$?
  informar "$a" $ea
  if [ -n "$b" ]; then
    eb=0
    wait $pb || eb=$?
    informar "$b" $eb
  fi
done
exit $fallos
