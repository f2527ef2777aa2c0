#!/usr/bin/env bash
# End to end under a real X server with a window manager (openbox, when it is
# installed: frames, focus and placement as a user has them) on a 1024 x 768
# screen with the large layout: starts the desktop with a program named on
# the command line and checks that it ran by itself and that the window fits
# the screen; types lines into the command box with xdotool (statements,
# typed RUN and LOAD); presses Enter in the working-folder field and then
# clicks Run; runs a program that changes folder and checks the folder after
# the run and the one saved at Exit; starts it with a too long argument and
# checks the "Error" message box; ends a typed endless loop with the Kill
# button (the log file must say so). Keeps a screenshot. Exits 77 (skipped) when
# xvfb-run or xdotool is missing.
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
mkdir -p "$work/config/tovarelle" "$work/sub"
cat >"$work/config/tovarelle/settings" <<SETTINGS
ScreenSize=n:2
WorkPath=s:$work
CreateLogFile=n:1
LogFilePath=s:$work
LogFileName=s:run.log
SETTINGS
export XDG_CONFIG_HOME="$work/config" HOME="$work" TOV_E2E_WORK="$work" TOV_E2E_ARTEFACTS="$artefacts"
cat >"$work/start.bas" <<BAS
open "output", 1, "started.txt"
print #1, "autorun"
close 1
print "The program named on the command line ran."
BAS
cat >"$work/typed_run.bas" <<BAS
open "output", 1, "typed_run.txt" : print #1, "typed run" : close 1
BAS
cat >"$work/loaded.bas" <<BAS
open "output", 1, "loaded.txt" : print #1, "loaded and run" : close 1
BAS
cat >"$work/chdir.bas" <<BAS
chdir "sub"
open "output", 1, "inside.txt" : print #1, workingdir\$ : close 1
BAS

cat >"$work/inner.sh" <<'INNER'
set -u
cd "$TOV_E2E_WORK"
if command -v openbox >/dev/null; then
  openbox --sm-disable >/dev/null 2>&1 &
  for _ in $(seq 50); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q window && break; sleep 0.1; done
  sleep 1  # the check is up before the manager takes windows to map
fi
wait_file() { for _ in $(seq 100); do [ -f "$1" ] && return 0; sleep 0.1; done; return 1; }
"$1" "$TOV_E2E_WORK/start.bas" >"$TOV_E2E_WORK/stdout.txt" 2>&1 &
pid=$!
window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Tovarelle BASIC$' | head -1)
if [ -z "$window" ]; then
  echo "no window appeared; the windows are:"
  xwininfo -root -tree 2>/dev/null | grep -v 'has no name' | head -20
  kill $pid
  exit 1
fi
wait_file started.txt
sleep 1
xdotool windowactivate --sync "$window" 2>/dev/null || xdotool windowfocus --sync "$window"
# Where the window is, and its size: the client area and, with a window
# manager, the frame around it.
eval "$(xdotool getwindowgeometry --shell "$window")"
echo "$X $Y $WIDTH $HEIGHT" >geometry.txt
if command -v xwininfo >/dev/null; then
  frame=$(xwininfo -id "$window" -frame 2>/dev/null | awk '/Absolute upper-left X/{x=$NF} /Absolute upper-left Y/{y=$NF} /^ *Width/{w=$NF} /^ *Height/{h=$NF} END{print x, y, w, h}')
  echo "$frame" >frame.txt
fi
# A control of the large layout, clicked at its middle: template units
# scaled to the window's client size.
click() {
  xdotool mousemove --window "$window" $(( ($1 + $3 / 2) * WIDTH / 676 )) $(( ($2 + $4 / 2) * HEIGHT / 436 ))
  sleep 0.2
  xdotool click 1
  sleep 0.3
}
type_line() {
  xdotool type --delay 20 "$1"
  xdotool key Return
}
# Keys typed before the run has handed the box back are lost (the box is
# disabled while a run goes on): type again until the lines have run.
for attempt in 1 2 3; do
  click 7 404 648 17  # the command box
  type_line 'x = 6 * 7'
  type_line 'open "output", 1, "typed.txt" : print #1, x : close 1'
  wait_file typed.txt && break
done
type_line 'run "typed_run.bas"'
wait_file typed_run.txt
type_line 'load "loaded.bas"'
sleep 1
type_line 'run'
wait_file loaded.txt
type_line 'print "typed with xdotool"; x'
# A typed endless loop, ended with Kill Program.
type_line 'while 1 : wend'
sleep 0.5
click 590 67 72 20  # Kill Program
for _ in $(seq 100); do grep -q "User interrupted program" run.log 2>/dev/null && break; sleep 0.1; done
# Enter in the working-folder field, then a click on Run: the source
# program (start.bas) runs again.
rm -f started.txt
click 207 20 197 17
xdotool key ctrl+a
type_line "$TOV_E2E_WORK"
sleep 0.5
click 505 67 72 20
wait_file started.txt
# A program that changes folder, started with Run: afterwards the working
# folder is the one it started in.
click 207 68 197 17
xdotool key ctrl+a
type_line chdir.bas
sleep 0.5
click 505 67 72 20
wait_file sub/inside.txt
sleep 0.5
click 7 404 648 17
type_line 'open "output", 1, "after_chdir.txt" : print #1, workingdir$ : close 1'
wait_file after_chdir.txt
if command -v import >/dev/null; then
  import -window "$window" "$TOV_E2E_ARTEFACTS/window_e2e.png"
fi
click 590 115 72 20  # Exit
for _ in $(seq 50); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
kill $pid 2>/dev/null
wait $pid 2>/dev/null

# A too long argument: the message box titled "Error", then exit -1.
"$1" "$(printf 'a%.0s' $(seq 300))" >"$TOV_E2E_WORK/refused.txt" 2>&1 &
pid=$!
box=$(timeout 20 xdotool search --sync --onlyvisible --name '^Error$' | head -1)
[ -n "$box" ] && echo found >error_box.txt
xdotool windowactivate --sync "$box" 2>/dev/null
xdotool key Return
for _ in $(seq 50); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
kill $pid 2>/dev/null
wait $pid
echo $? >refused_status.txt
exit 0
INNER

xvfb-run -a -s "-screen 0 1024x768x24" bash "$work/inner.sh" "$tovarelle" || { cat "$work/stdout.txt"; exit 1; }
status=0
fail() { echo "FAIL: $*"; status=1; }
content() { tr -d ' \n' <"$work/$1" 2>/dev/null; }
[ "$(content started.txt)" = "autorun" ] || fail "the program named on the command line did not run (again after the folder's Enter and Run)"
[ "$(content typed.txt)" = "42" ] || fail "the typed lines did not run (typed.txt: $(content typed.txt))"
[ "$(content typed_run.txt)" = "typedrun" ] || fail "a typed RUN with a name did not run the program"
[ "$(content loaded.txt)" = "loadedandrun" ] || fail "a typed LOAD and RUN did not run the program"
[ "$(content sub/inside.txt)" = "$work/sub" ] || fail "the program started by Run did not change folder"
[ "$(content after_chdir.txt)" = "$work" ] || fail "after the run the working folder is $(content after_chdir.txt), not $work"
grep -qx "WorkPath=s:$work" "$work/config/tovarelle/settings" || fail "Exit saved $(grep WorkPath "$work/config/tovarelle/settings")"
read -r x y w h <"$work/geometry.txt"
[ $((x + w)) -le 1024 ] && [ $((y + h)) -le 768 ] && [ "$x" -ge 0 ] && [ "$y" -ge 0 ] ||
  fail "the window ($w x $h at $x,$y) does not fit the 1024 x 768 screen"
if [ -s "$work/frame.txt" ]; then
  read -r fx fy fw fh <"$work/frame.txt"
  [ $((fx + fw)) -le 1024 ] && [ $((fy + fh)) -le 768 ] && [ "$fx" -ge 0 ] && [ "$fy" -ge 0 ] ||
    fail "the window's frame ($fw x $fh at $fx,$fy) does not fit the 1024 x 768 screen"
fi
grep -q "User interrupted program" "$work/run.log" 2>/dev/null || fail "Kill did not end the typed endless loop (log: $(tail -3 "$work/run.log" 2>/dev/null))"
[ -f "$work/error_box.txt" ] || fail "no message box titled Error for a too long argument"
grep -q "Invalid Parameters (too long)" "$work/refused.txt" || fail "the too long argument was not reported on standard error"
[ "$(cat "$work/refused_status.txt" 2>/dev/null)" = "255" ] || fail "a too long argument ended with $(cat "$work/refused_status.txt" 2>/dev/null), not -1"
[ $status -eq 0 ] && echo "window end to end: passed (window $w x $h at $x,$y; frame $(cat "$work/frame.txt" 2>/dev/null); screenshot in $artefacts/window_e2e.png)"
exit $status
