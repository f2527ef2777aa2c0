#!/usr/bin/env bash
# End to end under a real X server: starts the desktop with a program named
# on the command line, checks that it ran by itself, ends its endless loop
# with the Kill button, types lines into the command box with xdotool, keeps
# a screenshot, and checks what the typed lines did. Exits 77 (skipped) when xvfb-run or xdotool is missing.
#   window_e2e.sh TOVARELLE ARTEFACT_DIR
set -u
tovarelle=$1
artefacts=$2
for tool in xvfb-run xdotool; do
  if ! command -v "$tool" >/dev/null; then
    echo "skipped: $tool is not installed"
    exit 77
  fi
done
mkdir -p "$artefacts"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME="$work/config" HOME="$work" TOV_E2E_WORK="$work" TOV_E2E_ARTEFACTS="$artefacts"
# Logging on, into the work folder.
mkdir -p "$work/config/tovarelle"
printf 'CreateLogFile=n:1\nLogFilePath=s:%s\nLogFileName=s:run.log\n' "$work" >"$work/config/tovarelle/settings"
cat >"$work/start.bas" <<BAS
open "output", 1, "$work/started.txt"
print #1, "autorun"
close 1
print "The program named on the command line ran."
while 1
wend
BAS

cat >"$work/inner.sh" <<'INNER'
set -u
cd "$TOV_E2E_WORK"
"$1" "$TOV_E2E_WORK/start.bas" >"$TOV_E2E_WORK/stdout.txt" 2>&1 &
pid=$!
window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Tovarelle BASIC$' | head -1)
if [ -z "$window" ]; then echo "no window appeared"; kill $pid; exit 1; fi
# The autorun writes its file and loops until Kill is clicked (the button's
# centre, as a share of the fixed-size dialog); then the command box has the
# focus.
for _ in $(seq 100); do [ -f started.txt ] && break; sleep 0.1; done
sleep 0.3
eval "$(xdotool getwindowgeometry --shell "$window")"
xdotool mousemove "$((X + WIDTH * 449 / 484))" "$((Y + HEIGHT * 49 / 311))" click 1
for _ in $(seq 100); do grep -q "User interrupted program" run.log 2>/dev/null && break; sleep 0.1; done
xdotool windowactivate --sync "$window" 2>/dev/null || xdotool windowfocus --sync "$window"
# Keys typed before the run has handed the box back are lost (the box is
# disabled while a run goes on): type again until the lines have run.
for attempt in 1 2 3; do
  sleep 1
  xdotool type --delay 20 'x = 6 * 7'
  xdotool key Return
  xdotool type --delay 20 "open \"output\", 1, \"$TOV_E2E_WORK/typed.txt\" : print #1, x : close 1"
  xdotool key Return
  for _ in $(seq 50); do [ -f typed.txt ] && break; sleep 0.1; done
  [ -f typed.txt ] && break
done
xdotool type --delay 20 'print "typed with xdotool"; x'
xdotool key Return
sleep 1
if command -v import >/dev/null; then
  import -window "$window" "$TOV_E2E_ARTEFACTS/window_e2e.png"
fi
kill $pid
wait $pid 2>/dev/null
exit 0
INNER

xvfb-run -a -s "-screen 0 1280x1024x24" bash "$work/inner.sh" "$tovarelle" || { cat "$work/stdout.txt"; exit 1; }
status=0
if [ "$(cat "$work/started.txt" 2>/dev/null)" != "autorun" ]; then
  echo "FAIL: the program named on the command line did not run"; status=1
fi
if ! grep -q "User interrupted program" "$work/run.log" 2>/dev/null; then
  echo "FAIL: Kill did not end the endless loop (log: $(cat "$work/run.log" 2>/dev/null))"; status=1
fi
if [ "$(tr -d ' ' <"$work/typed.txt" 2>/dev/null)" != "42" ]; then
  echo "FAIL: the typed lines did not run (typed.txt: $(cat "$work/typed.txt" 2>/dev/null))"; status=1
fi
[ $status -eq 0 ] && echo "window end to end: passed (screenshot in $artefacts/window_e2e.png)"
exit $status
