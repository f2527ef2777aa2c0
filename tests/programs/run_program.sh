#!/usr/bin/env bash
# Runs one BASIC program through console mode and compares its output byte for byte.
#   run_program.sh <tovarelle> <dir>/NAME.bas
# Console input: NAME.cmd when present is the whole console session; otherwise
# "run NAME.bas", then NAME.in (answers to INPUT) when present, then the empty
# line that ends console mode and the Enter that closes it.
# A folder NAME.files/ is copied into the working folder first (fixtures).
set -u
exe=$1; prog=$2
dir=$(dirname "$prog"); name=$(basename "$prog" .bas)
work=$(mktemp -d); trap 'rm -rf "$work"' EXIT
cp "$prog" "$work/"
[ -d "$dir/$name.files" ] && cp -r "$dir/$name.files/." "$work/"
mkdir -p "$work/home/.config"
if [ -f "$dir/$name.cmd" ]; then
  cp "$dir/$name.cmd" "$work/stdin"
else
  { printf 'run %s.bas\n' "$name"; [ -f "$dir/$name.in" ] && cat "$dir/$name.in"; printf '\n\n'; } > "$work/stdin"
fi
cd "$work" || exit 2
TZ=${TOV_TEST_TZ:-UTC} HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" \
  timeout 60 "$exe" /c < stdin > actual 2>&1
rc=$?
if [ $rc -eq 124 ]; then echo "timed out"; exit 1; fi
if ! cmp -s actual "$dir/$name.out"; then
  echo "output differs from $name.out (exit $rc):"
  diff -u "$dir/$name.out" actual | head -60
  [ -n "${TOV_UPDATE_EXPECTED:-}" ] && cp actual "$dir/$name.out" && echo "updated $name.out"
  exit 1
fi
exit 0
