#!/usr/bin/env bash
# The graph window end to end under a real X server: each example program
# under examples/ is started as "tovarelle PROGRAM" and draws its graph in
# the window; the click-driven one is clicked (plain and with Shift) and
# sent a key with xdotool. What the programs printed is read back from the
# log file; screenshots are kept.
# Then under a real window manager (openbox), on two screen sizes: the
# window's frame (title bar and close box) is placed at (5, 5) and its
# drawing area keeps the graph's width-to-height ratio to a pixel, at the
# first size of every start and after the user resizes the window. The
# drawing area is measured on screenshots (the graphs are drawn without
# border, axes and grid, so the whole area is white).
# Exits 77 (skipped) when xvfb-run, xdotool, openbox or ImageMagick is missing.
#   graph_window_e2e.sh TOVARELLE EXAMPLES_DIR ARTEFACT_DIR
set -u
tovarelle=$1
examples=$2
artefacts=$3
for tool in xvfb-run xdotool openbox xprop xwininfo import convert; do
  if ! command -v "$tool" >/dev/null; then
    echo "skipped: $tool is not installed"
    exit 77
  fi
done
mkdir -p "$artefacts"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/config/tovarelle"
# Logging on, into the work folder.
cat >"$work/config/tovarelle/settings" <<SETTINGS
CreateLogFile=n:1
LogFilePath=s:$work
LogFileName=s:run.log
SETTINGS
export XDG_CONFIG_HOME="$work/config" HOME="$work" TOV_E2E_WORK="$work" TOV_E2E_ARTEFACTS="$artefacts"
export TOV_E2E_EXAMPLES="$examples"

# What both sessions share: the log, failures, starting and stopping a program.
cat >"$work/common.sh" <<'COMMON'
set -u
cd "$TOV_E2E_WORK"
log="$TOV_E2E_WORK/run.log"
status=0
fail() { echo "FAIL: $*"; status=1; }
# Waits up to 20 s for text in the log.
wait_log() {
  for _ in $(seq 200); do grep -q -- "$1" "$log" 2>/dev/null && return 0; sleep 0.1; done
  return 1
}
# start TOVARELLE PROGRAM: runs it and finds its graph window.
start() {
  rm -f "$log"
  "$1" "$2" >>"$TOV_E2E_WORK/stdout.txt" 2>&1 &
  pid=$!
  graph=$(timeout 20 xdotool search --sync --onlyvisible --name '^Tovarelle Graph$' | head -1)
  if [ -z "$graph" ]; then
    fail "${2##*/}: no graph window appeared; windows: $(xdotool search --name . getwindowname %@ 2>/dev/null | tr '\n' ',')"
    cat "$log" 2>/dev/null
  fi
}
stop() {
  kill "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
}
COMMON

cat >"$work/inner.sh" <<'INNER'
. "$TOV_E2E_WORK/common.sh"
shot() {
  if command -v import >/dev/null && [ -n "$graph" ]; then
    import -window "$graph" "$TOV_E2E_ARTEFACTS/$1.png" 2>/dev/null
  fi
}

for example in graph_sine:"sine and cosine plotted" graph_log_date:"growth plotted on date and log axes"; do
  name=${example%%:*}
  start "$1" "$TOV_E2E_EXAMPLES/$name.bas"
  wait_log "${example#*:}" || fail "$name: the log has no \"${example#*:}\""
  grep -q "ERROR" "$log" && fail "$name: $(grep -A1 ERROR "$log")"
  sleep 0.5
  shot "$name"
  stop
done

start "$1" "$TOV_E2E_EXAMPLES/graph_clicks.bas"
wait_log "click into the graph" || fail "graph_clicks: the program did not start"
if [ -n "$graph" ]; then
  eval "$(xdotool getwindowgeometry --shell "$graph")"
  sleep 0.5
  xdotool mousemove --window "$graph" $((WIDTH / 2)) $((HEIGHT / 2)) click 1
  wait_log "keystate *0" || fail "graph_clicks: a plain click was not reported"
  xdotool mousemove --window "$graph" $((WIDTH / 3)) $((HEIGHT / 3))
  xdotool keydown shift click 1 keyup shift
  wait_log "keystate *1" || fail "graph_clicks: a Shift click was not reported with keystate 1"
  sleep 0.5
  shot graph_clicks
  xdotool windowfocus --sync "$graph" 2>/dev/null
  xdotool mousemove --window "$graph" $((WIDTH / 2)) $((HEIGHT / 4))
  xdotool type --delay 50 'q'
  wait_log "bye" || fail "graph_clicks: the key q did not end the program"
  grep -q "key *113" "$log" || fail "graph_clicks: the key was not reported as 113"
  grep -q "ERROR" "$log" && fail "graph_clicks: $(grep -A1 ERROR "$log")"
fi
cp "$log" "$TOV_E2E_ARTEFACTS/graph_clicks.log" 2>/dev/null
stop
exit $status
INNER

cat >"$work/wm_inner.sh" <<'WM_INNER'
. "$TOV_E2E_WORK/common.sh"
# Windows mapped while the window manager still starts can be left unmapped:
# the programs start once it runs its start-up command.
rm -f "$TOV_E2E_WORK/wm_ready"
openbox --startup "touch $TOV_E2E_WORK/wm_ready" >/dev/null 2>&1 &
wm=$!
for _ in $(seq 100); do [ -e "$TOV_E2E_WORK/wm_ready" ] && break; sleep 0.1; done
[ -e "$TOV_E2E_WORK/wm_ready" ] || fail "openbox did not start"

# The drawing area's size (WxH) on a screenshot of the window's client.
canvas_size() {
  import -window "$graph" "$TOV_E2E_WORK/shot.png" 2>/dev/null || return 1
  convert "$TOV_E2E_WORK/shot.png" -fill black +opaque white -bordercolor black -border 1 -format '%@' info: |
    sed 's/+.*//'
}
# Fails unless the drawing area w x h keeps the graph's ratio gw : gh to a
# pixel: h is w x gh / gw, cut to a whole pixel.
check_ratio() {
  local what=$1 size=$2 gw=$3 gh=$4
  local w=${size%x*} h=${size#*x}
  local want
  want=$(echo "$w * $gh / $gw" | bc)
  if [ -z "$w" ] || [ -z "$h" ] || [ "$h" -lt $((want - 1)) ] || [ "$h" -gt $((want + 1)) ]; then
    fail "$what: drawing area $size does not keep $gw : $gh (height $want wanted)"
  fi
}
# Fails unless the window's frame has its outer top-left corner at (5, 5).
check_frame_corner() {
  local what=$1
  eval "$(xwininfo -id "$graph" | awk -F: '/Absolute upper-left X/ {print "cx=" $2+0} /Absolute upper-left Y/ {print "cy=" $2+0}')"
  local extents
  extents=$(xprop -id "$graph" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
  read -r left _ top _ <<<"$extents"
  [ -n "${top:-}" ] || { fail "$what: the window manager gave no frame extents"; return; }
  [ "$top" -gt 0 ] || fail "$what: no title bar around the window"
  if [ $((cx - left)) -ne 5 ] || [ $((cy - top)) -ne 5 ]; then
    fail "$what: the frame is at ($((cx - left)), $((cy - top))), not (5, 5)"
  fi
}
tovarelle=$1

# Every start: a tall and a wide graph, several times (the first size used to
# come out wrong now and then).
for round in 1 2 3; do
  for graph_size in "7.5 10" "6 4"; do
    read -r gw gh <<<"$graph_size"
    printf 'GRAPH width=%s, height=%s, noborder, noaxes, nogrid\nPRINT "drawn"\n' "$gw" "$gh" >"$TOV_E2E_WORK/g.bas"
    start "$tovarelle" "$TOV_E2E_WORK/g.bas"
    if [ -z "$graph" ]; then
      stop
      continue
    fi
    wait_log drawn || fail "${gw}x${gh}: the program did not run"
    sleep 1
    what="${gw}x${gh} start $round"
    size=$(canvas_size)
    echo "$what: drawing area $size"
    check_ratio "$what" "$size" "$gw" "$gh"
    check_frame_corner "$what"
    if [ "$round" = 1 ]; then
      import -window root "$TOV_E2E_ARTEFACTS/graph_window_wm_${gw}x${gh}.png" 2>/dev/null
      # The user makes the window wider, then lower: the other side follows.
      eval "$(xdotool getwindowgeometry --shell "$graph")"
      xdotool windowsize "$graph" $((WIDTH - 150)) "$HEIGHT"
      sleep 1
      size=$(canvas_size)
      echo "$what, narrower: drawing area $size"
      check_ratio "$what, narrower" "$size" "$gw" "$gh"
      eval "$(xdotool getwindowgeometry --shell "$graph")"
      xdotool windowsize "$graph" "$WIDTH" $((HEIGHT - 120))
      sleep 1
      size=$(canvas_size)
      echo "$what, lower: drawing area $size"
      check_ratio "$what, lower" "$size" "$gw" "$gh"
      import -window root "$TOV_E2E_ARTEFACTS/graph_window_wm_${gw}x${gh}_resized.png" 2>/dev/null
    fi
    stop
  done
done
kill "$wm" 2>/dev/null
exit $status
WM_INNER

status=0
if ! xvfb-run -a -s "-screen 0 1280x1024x24" bash "$work/inner.sh" "$tovarelle"; then
  status=1
  echo "--- program output"; cat "$work/stdout.txt" 2>/dev/null
  echo "--- last log"; cat "$work/run.log" 2>/dev/null
fi
rm -f "$work/stdout.txt"
for screen in 1280x1024 1920x1080; do
  echo "--- under a window manager, screen $screen"
  if ! xvfb-run -a -s "-screen 0 ${screen}x24" bash "$work/wm_inner.sh" "$tovarelle"; then
    status=1
    echo "--- program output"; cat "$work/stdout.txt" 2>/dev/null
  fi
done
[ $status -eq 0 ] && echo "graph window end to end: passed (screenshots in $artefacts)"
exit $status
