#!/usr/bin/env bash
# Console mode under faults: a closed output pipe and Ctrl+C end the run, and
# every record the program wrote to its files before that is kept.
#   console_faults.sh <tovarelle>
set -u
exe=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 2
mkdir -p home/.config
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config TZ=UTC
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# A program that writes 5,000 records to a file, then a great deal to the screen.
cat > pipe.bas <<'EOF'
open "output", 1, "data.txt"
for i = 1 to 5000
print #1, "record"; i
next
for j = 1 to 200000
print "line"; j
next
EOF
printf 'run pipe.bas\n\n\n' | "$exe" /c 2>pipe.err | head -1 >/dev/null
status=${PIPESTATUS[1]}
[ "$status" -ne 0 ] || fail "broken pipe: exit status 0"
[ "$status" -ne 141 ] || fail "broken pipe: killed by SIGPIPE"
lines=$(wc -l < data.txt 2>/dev/null || echo 0)
[ "$lines" -eq 5000 ] || fail "broken pipe: data.txt has $lines of 5000 records"
grep -q "Standard output failed" pipe.err || fail "broken pipe: no reason on standard error: $(cat pipe.err)"

# Standard output on a full device: the first write fails, and the run ends
# there with the reason, never as a success.
if [ -w /dev/full ]; then
  printf 'run pipe.bas\n\n\n' | "$exe" /c >/dev/full 2>full.err
  status=$?
  [ "$status" -ne 0 ] || fail "full device: exit status 0"
  grep -q "No space left" full.err || fail "full device: no reason on standard error: $(cat full.err)"
fi

# Ctrl+C while a program runs (a loop), and while it waits for INPUT.
cat > loop.bas <<'EOF'
open "output", 1, "data.txt"
for i = 1 to 3000
print #1, "record"; i
next
print "ready"
10 goto 10
EOF
cat > wait.bas <<'EOF'
open "output", 1, "data.txt"
for i = 1 to 3000
print #1, "record"; i
next
print "ready"
input a
print "not reached"
EOF
mkfifo console.in
for prog in loop wait; do
  rm -f data.txt out.txt
  # Standard input stays open (descriptor 3) so that INPUT waits.
  exec 3<>console.in
  # A background job starts with SIGINT ignored: give it back its default.
  env --default-signal=INT "$exe" /c <console.in >out.txt 2>"$prog.err" &
  target=$!
  printf 'run %s.bas\n' "$prog" >&3
  for _ in $(seq 1 200); do
    grep -q ready out.txt 2>/dev/null && break
    sleep 0.05
  done
  grep -q ready out.txt || fail "$prog: the program did not start: $(cat out.txt "$prog.err")"
  kill -INT "$target"
  wait "$target"
  status=$?
  exec 3>&-
  [ "$status" -eq 130 ] || fail "$prog: exit status $status after Ctrl+C, not 130"
  lines=$(wc -l < data.txt 2>/dev/null || echo 0)
  [ "$lines" -eq 3000 ] || fail "$prog: data.txt has $lines of 3000 records after Ctrl+C"
  grep -q "Interrupted" "$prog.err" || fail "$prog: no reason on standard error: $(cat "$prog.err")"
  grep -q "not reached" out.txt && fail "$prog: the program went on after Ctrl+C"
done
exit $((failures > 0))
