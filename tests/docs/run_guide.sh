#!/usr/bin/env bash
# Runs every example of a Markdown guide and compares it with the output the
# guide shows, so that the guide stays true.
#   run_guide.sh <tovarelle> <guide.md> [<help_pdf>]
#
# Fenced blocks the script acts on (their info string, after the fence):
#   basic NAME.bas   a program: written to NAME.bas in the work folder
#   text NAME        any other file: written to NAME in the work folder
#                    (a NAME with a folder, such as build/dstrules.txt, too)
#   input            the lines typed while the program above runs (INPUT replies)
#   output           what the program above prints, without the run banner and
#                    the closing prompt: it is run as "run NAME.bas", the input
#                    lines, an empty line and Enter, through console mode
#   graph NAME.bas   a program that draws a graph: written to NAME.bas and
#                    drawn offscreen by "help_pdf render" (the third argument),
#                    which must succeed (the run ends without an error, opens a
#                    graph and the graph draws); without help_pdf it is an error
#   console          a shell session: each line starting with "$ " is a command
#                    run by bash in the work folder; the lines up to the next
#                    command are its expected output (standard output and error)
# Other blocks are left alone. The work folder stands for a checkout: the
# interpreter is build/tovarelle (also on PATH as tovarelle), HOME is a folder
# of its own and TZ is UTC unless a command sets it. Trailing blanks are
# ignored when lines are compared. Blocks run in the order of the guide.
set -u
exe=$1; guide=$2; renderer=${3:+$(realpath "$3")}
work=$(mktemp -d); trap 'rm -rf "$work"' EXIT
blocks="$work/.blocks"; mkdir -p "$blocks" "$work/build" "$work/home"
cp "$exe" "$work/build/tovarelle"

# Split the guide into numbered blocks: N.kind, N.arg, N.body.
awk -v dir="$blocks" '
  /^```/ {
    if (!inside) {
      info = substr($0, 4); sub(/^[ \t]+/, "", info)
      kind = info; arg = ""
      if (index(info, " ") > 0) { kind = substr(info, 1, index(info, " ") - 1); arg = substr(info, index(info, " ") + 1) }
      n++; inside = 1
      printf "%s", kind > (dir "/" n ".kind"); close(dir "/" n ".kind")
      printf "%s", arg > (dir "/" n ".arg"); close(dir "/" n ".arg")
      printf "" > (dir "/" n ".body")
      next
    }
    inside = 0; close(dir "/" n ".body"); next
  }
  inside { print >> (dir "/" n ".body") }
' "$guide"

export HOME="$work/home" TZ=UTC PATH="$work/build:$PATH"
unset XDG_CONFIG_HOME
failures=0; checked=0; program=""; input=""

strip() { sed 's/[ \t]*$//' "$1"; }

compare() {  # label expected-file actual-file
  checked=$((checked + 1))
  if ! diff -u <(strip "$2") <(strip "$3") > "$work/.diff"; then
    failures=$((failures + 1))
    echo "FAILED: $1"
    sed -n '3,60p' "$work/.diff"
    echo
  fi
}

run_console_block() {  # body-file block-number
  local command="" expected="$work/.expected" actual="$work/.actual" line
  : > "$expected"
  while IFS= read -r line || [ -n "$line" ]; do
    if [[ $line == '$ '* ]]; then
      [ -n "$command" ] && run_command "$command" "$2"
      command=${line#\$ }; : > "$expected"
    else
      printf '%s\n' "$line" >> "$expected"
    fi
  done < "$1"
  [ -n "$command" ] && run_command "$command" "$2"
}

run_command() {  # command block-number
  (cd "$work" && timeout 60 bash -c "$1") > "$work/.actual" 2>&1
  compare "block $2: \$ $1" "$work/.expected" "$work/.actual"
}

count=$(ls "$blocks"/*.kind 2>/dev/null | wc -l)
for ((i = 1; i <= count; i++)); do
  kind=$(cat "$blocks/$i.kind"); arg=$(cat "$blocks/$i.arg"); body="$blocks/$i.body"
  case "$kind" in
    basic)
      [ -z "$arg" ] && { echo "block $i: a basic block needs a file name"; failures=$((failures + 1)); continue; }
      cp "$body" "$work/$arg"; program=$arg; input="" ;;
    graph)
      [ -z "$arg" ] && { echo "block $i: a graph block needs a file name"; failures=$((failures + 1)); continue; }
      cp "$body" "$work/$arg"; program=""; input=""; checked=$((checked + 1))
      if [ -z "$renderer" ]; then
        echo "block $i: a graph block needs help_pdf to draw it"; failures=$((failures + 1))
      elif ! (cd "$work" && QT_QPA_PLATFORM=offscreen timeout 60 "$renderer" render "$arg" .picture.png) > "$work/.render" 2>&1; then
        failures=$((failures + 1))
        echo "FAILED: block $i: graph $arg did not draw"
        grep -v XDG_RUNTIME_DIR "$work/.render" | sed -n '1,30p'
        echo
      fi ;;
    text)
      [ -n "$arg" ] && { mkdir -p "$work/$(dirname "$arg")"; cp "$body" "$work/$arg"; } ;;
    input)
      input=$body ;;
    output)
      if [ -z "$program" ]; then echo "block $i: output without a program before it"; failures=$((failures + 1)); continue; fi
      { printf 'run %s\n' "$program"; [ -n "$input" ] && cat "$input"; printf '\n\n'; } > "$work/.stdin"
      (cd "$work" && timeout 60 build/tovarelle /c < .stdin) > "$work/.full" 2>&1
      # Drop the banner (an empty line, the dashes line, an empty line) and the closing prompt.
      sed '1,3d;$d' "$work/.full" > "$work/.actual"
      if [ "$(sed -n 2p "$work/.full")" != "----- Beginning Program Execution---------------------------------------------" ] ||
         [ "$(tail -n 1 "$work/.full")" != "Press <enter> to terminate program." ]; then
        cp "$work/.full" "$work/.actual"
      fi
      compare "block $i: output of $program" "$body" "$work/.actual"
      input="" ;;
    console)
      run_console_block "$body" "$i" ;;
  esac
done

if [ "$checked" -eq 0 ]; then echo "no examples found in $guide"; exit 1; fi
echo "$checked examples checked, $failures failed"
[ "$failures" -eq 0 ]
