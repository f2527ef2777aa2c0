#!/usr/bin/env bash
# Checks that the reference document names every statement, function,
# special name and command of the keyword tables, in capitals as a word of
# its own.
#   reference_keywords.sh <interpreter/keywords.cpp> <docs/help folder>
set -u
tables=$1; sources=$2
references=("$sources"/06_*.md)
if [ ${#references[@]} -ne 1 ] || [ ! -f "${references[0]}" ]; then
  echo "FAILED: expected exactly one reference document 06_*.md in $sources"; exit 1
fi
reference=${references[0]}

# The words of one table: the quoted names between its opening line and "};".
words_of() {
  awk -v table="$1" '
    index($0, "const char* const " table "[] = {") { inside = 1; next }
    inside && /^};/ { exit }
    inside { while (match($0, /"[^"]*"/)) { print substr($0, RSTART + 1, RLENGTH - 2); $0 = substr($0, RSTART + RLENGTH) } }
  ' "$tables"
}

failures=0; checked=0
for table in statement_words function_words special_name_words command_words; do
  words=$(words_of "$table" | grep -E '^[a-z][a-z0-9]*\$?$')
  if [ -z "$words" ]; then echo "FAILED: no words found in table $table"; failures=$((failures + 1)); continue; fi
  for word in $words; do
    checked=$((checked + 1))
    upper=$(printf '%s' "$word" | tr '[:lower:]' '[:upper:]')
    pattern="(^|[^A-Za-z0-9_\$])${upper//\$/\\\$}(\$|[^A-Za-z0-9_\$])"
    if ! grep -qE -- "$pattern" "$reference"; then
      echo "FAILED: $reference does not name $upper ($table)"; failures=$((failures + 1))
    fi
  done
done
echo "$checked keywords checked, $failures missing"
[ "$failures" -eq 0 ]
