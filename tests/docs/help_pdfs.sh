#!/usr/bin/env bash
# Checks that every help document was built beside the executable under the
# name the program opens, and that its text holds the title its Markdown
# source starts with; with the interpreter given, also that HELP 1 to 15 hand
# those very files to xdg-open.
#   help_pdfs.sh <build folder> <docs/help folder> [<tovarelle>]
set -u
build=$1; sources=$2; exe=${3:-}
failures=0

# squeeze FILE: the file's text as one line of single spaces, typographic
# ligatures spelt out.
squeeze() {
  sed 's/\xEF\xAC\x80/ff/g; s/\xEF\xAC\x81/fi/g; s/\xEF\xAC\x82/fl/g; s/\xEF\xAC\x83/ffi/g; s/\xEF\xAC\x84/ffl/g' "$1" |
    tr -s ' \t\n\f' '    ' | tr -s ' '
}

check() {  # pdf-name source-pattern
  local pdf="$build/$1" matches source title text
  matches=("$sources"/$2)
  if [ ${#matches[@]} -ne 1 ] || [ ! -f "${matches[0]}" ]; then
    echo "FAILED: $1: expected exactly one source $2 in $sources"; failures=$((failures + 1)); return
  fi
  source=${matches[0]}
  title=$(head -n 1 "$source" | sed -n 's/^# *//p' | tr -s ' ')
  if [ -z "$title" ]; then echo "FAILED: $source does not start with \"# Title\""; failures=$((failures + 1)); return; fi
  if [ ! -s "$pdf" ]; then echo "FAILED: $pdf was not built"; failures=$((failures + 1)); return; fi
  text=$(mktemp)
  if ! pdftotext "$pdf" "$text" 2>/dev/null; then
    echo "FAILED: pdftotext cannot read $pdf"; failures=$((failures + 1)); rm -f "$text"; return
  fi
  if ! squeeze "$text" | grep -qF -- "$title"; then
    echo "FAILED: $pdf does not show its title \"$title\""; failures=$((failures + 1))
  fi
  rm -f "$text"
}

for n in 01 02 03 04 05 06 07 08 09 10 11 12 13 14 15; do
  check "tovarelle_help_$n.pdf" "${n}_*.md"
done
check tovarelle_size_settings.pdf sizes.md
if [ ! -s "$build/printing_instructions.txt" ]; then
  echo "FAILED: $build/printing_instructions.txt is missing"; failures=$((failures + 1))
fi

# HELP n in console mode opens its document through xdg-open: a stand-in on
# PATH notes what it was given.
if [ -n "$exe" ]; then
  work=$(mktemp -d); trap 'rm -rf "$work"' EXIT
  mkdir -p "$work/bin" "$work/home"
  printf '#!/bin/sh\nprintf "%%s\\n" "$1" >> "%s/opened"\n' "$work" > "$work/bin/xdg-open"
  chmod +x "$work/bin/xdg-open"
  { for n in $(seq 1 15); do echo "help $n"; done; printf '\n\n'; } |
    (cd "$work" && HOME="$work/home" PATH="$work/bin:$PATH" "$exe" /c > /dev/null 2>&1)
  for _ in $(seq 50); do [ "$(wc -l < "$work/opened" 2>/dev/null || echo 0)" -ge 15 ] && break; sleep 0.1; done
  for n in 01 02 03 04 05 06 07 08 09 10 11 12 13 14 15; do
    opened=$(grep -c "/tovarelle_help_$n\.pdf\$" "$work/opened" 2>/dev/null)
    path=$(grep "/tovarelle_help_$n\.pdf\$" "$work/opened" 2>/dev/null | head -n 1)
    if [ "${opened:-0}" -ne 1 ] || [ ! -s "$path" ] || [ "$(realpath "$path")" != "$(realpath "$build/tovarelle_help_$n.pdf")" ]; then
      echo "FAILED: HELP ${n#0} did not open $build/tovarelle_help_$n.pdf (opened: ${path:-nothing})"
      failures=$((failures + 1))
    fi
  done
fi

[ "$failures" -eq 0 ] && echo "16 help documents checked"
[ "$failures" -eq 0 ]
