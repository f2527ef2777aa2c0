#!/usr/bin/env bash
# The desktop lives in a module beside the executable: console mode must run
# without loading any Qt library, and a window start whose module is missing
# must end with one line naming the module, status 1, no crash.
#   desktop_module.sh TOVARELLE
set -u
exe=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 2
export HOME=$work XDG_CONFIG_HOME=$work/.config TZ=UTC
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# Console mode: the loader's list of the files it opened has libc in it
# (so the list was made) and no Qt library.
printf 'print 6 * 7\n\n\n' | LD_DEBUG=files "$exe" /c >out.txt 2>loaded.txt
grep -q ' 42' out.txt || fail "console mode did not run: $(cat out.txt)"
grep -q 'file=libc\.so' loaded.txt || fail "LD_DEBUG listed no libraries"
if grep -q 'libQt6' loaded.txt; then
  fail "console mode loaded Qt:"
  grep 'libQt6' loaded.txt | head -5
fi

# The window branch with the executable alone in a folder (offscreen, so the
# display check passes and the module is the next step).
mkdir alone
cp "$exe" alone/tovarelle
QT_QPA_PLATFORM=offscreen timeout 20 alone/tovarelle >out.txt 2>err.txt
status=$?
[ "$status" -eq 1 ] || fail "missing module: exit status $status, not 1"
[ ! -s out.txt ] || fail "missing module: standard output not empty: $(cat out.txt)"
[ "$(wc -l <err.txt)" -eq 1 ] || fail "missing module: not one line: $(cat err.txt)"
grep -q "^tovarelle: cannot load the desktop module $work/alone/tovarelle-desktop.so: .*No such file" err.txt ||
  fail "missing module: message is: $(cat err.txt)"

[ "$failures" -eq 0 ] && echo "desktop module: all checks passed"
[ "$failures" -eq 0 ]
