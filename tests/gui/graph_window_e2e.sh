#!/usr/bin/env bash
# The graph window end to end under a real X server: each example program
# under examples/ is started as "tovarelle PROGRAM" and draws its graph in
# the window; the click-driven one is clicked (plain and with Shift) and
# sent a key with xdotool. What the programs printed is read back from the
# log file; screenshots are kept. Exits 77 (skipped) when xvfb-run or
# xdotool is missing.
#   graph_window_e2e.sh TOVARELLE EXAMPLES_DIR ARTEFACT_DIR
set -u
tovarelle=$1
examples=$2
artefacts=$3
for tool in xvfb-run xdotool; do
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

cat >"$work/inner.sh" <<'INNER'
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
start() {
  rm -f "$log"
  "$1" "$TOV_E2E_EXAMPLES/$2" >>"$TOV_E2E_WORK/stdout.txt" 2>&1 &
  pid=$!
  graph=$(timeout 20 xdotool search --sync --onlyvisible --name '^Tovarelle Graph$' | head -1)
  [ -n "$graph" ] || fail "$2: no graph window appeared"
}
stop() {
  kill "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
}
shot() {
  if command -v import >/dev/null && [ -n "$graph" ]; then
    import -window "$graph" "$TOV_E2E_ARTEFACTS/$1.png" 2>/dev/null
  fi
}

for example in graph_sine:"sine and cosine plotted" graph_log_date:"growth plotted on date and log axes"; do
  name=${example%%:*}
  start "$1" "$name.bas"
  wait_log "${example#*:}" || fail "$name: the log has no \"${example#*:}\""
  grep -q "ERROR" "$log" && fail "$name: $(grep -A1 ERROR "$log")"
  sleep 0.5
  shot "$name"
  stop
done

start "$1" graph_clicks.bas
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

if ! xvfb-run -a -s "-screen 0 1280x1024x24" bash "$work/inner.sh" "$tovarelle"; then
  echo "--- program output"; cat "$work/stdout.txt" 2>/dev/null
  echo "--- last log"; cat "$work/run.log" 2>/dev/null
  exit 1
fi
echo "graph window end to end: passed (screenshots in $artefacts)"
exit 0
