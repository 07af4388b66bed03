#!/bin/sh
# Regenera las salidas esperadas con el orvex-run dado (solo si cambian a propósito).
# Uso: sh generar.sh RUTA/orvex-run
set -u
run="$1"
dir=$(cd "$(dirname "$0")" && pwd)
dat=$(cd "$dir/.." && pwd)
grep -v '^#' "$dir/casos.txt" | while IFS='|' read -r nombre estado args; do
  [ -n "$nombre" ] || continue
  a=$(printf '%s' "$args" | sed "s#@DAT/#$dat/#g")
  # shellcheck disable=SC2086
  "$run" $a >"$dir/$nombre.salida" 2>"$dir/$nombre.errores"
  r=$?
  [ "$r" = "$estado" ] || echo "$nombre: estado $r, se esperaba $estado" >&2
done
# Una salida vacía no se guarda: la prueba la da por vacía.
find "$dir" -name '*.salida' -empty -delete
find "$dir" -name '*.errores' -empty -delete
