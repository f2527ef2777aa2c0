#!/usr/bin/env bash
# Console mode with a settings file that is not one, or that cannot be
# written: start-up never blocks, says why on standard error, and runs on.
#   settings_faults.sh <tovarelle>
set -u
exe=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 2
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config TZ=UTC
settings=$XDG_CONFIG_HOME/tovarelle/settings
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# Runs console mode with one PRINT; stdout in out.txt, stderr in err.txt.
run() {
  printf 'print 6 * 7\n\n\n' | timeout 20 "$exe" /c >out.txt 2>err.txt
  status=$?
}
fresh() { rm -rf "$HOME"; mkdir -p "$(dirname "$settings")"; }

for kind in fifo zero huge; do
  fresh
  case $kind in
    fifo) mkfifo "$settings" ;;
    zero) ln -s /dev/zero "$settings" ;;
    huge) truncate -s 1G "$settings" ;;
  esac
  run
  [ "$status" -ne 124 ] || { fail "$kind: start-up hung"; continue; }
  [ "$status" -eq 0 ] || fail "$kind: exit status $status"
  grep -q '^ *42' out.txt || fail "$kind: the program did not run: $(cat out.txt)"
  grep -q "The settings file was not read ($settings: .*); the defaults are used" err.txt ||
    fail "$kind: no reason on standard error: $(cat err.txt)"
done

# A save that fails half-way (a full disk; here a file size limit): said on
# standard error, the old file left whole.
fresh
printf '# kept\nNumVariables=n:5\n' > "$settings"
# (Output and errors go through pipes, which the limit does not touch.)
{ printf 'print 6 * 7\n\n\n' | ( trap '' XFSZ; ulimit -f 0; exec timeout 20 "$exe" /c ) 2>&1 >&3 | cat >err.txt; } 3>&1 |
  cat >out.txt
grep -q '^ *42' out.txt || fail "full: the program did not run: $(cat out.txt)"
grep -q "The settings could not be saved ($settings: File too large)" err.txt ||
  fail "full: no reason on standard error: $(cat err.txt)"
[ "$(cat "$settings")" = "$(printf '# kept\nNumVariables=n:5')" ] || fail "full: the old file changed"
[ -z "$(find "$(dirname "$settings")" -name 'settings.*')" ] || fail "full: a temporary file was left"

# The same start with room: the comment stays, the bad value is mended in its line.
run
[ -s err.txt ] && fail "room: unexpected standard error: $(cat err.txt)"
[ "$(head -2 "$settings")" = "$(printf '# kept\nNumVariables=n:200')" ] || fail "room: $(head -3 "$settings")"

[ "$failures" -eq 0 ] || exit 1
echo "all settings faults handled"
