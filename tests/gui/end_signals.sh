#!/usr/bin/env bash
# SIGTERM and SIGINT to the desktop end it as Exit does: started with a
# program that loops for ever (offscreen, no display needed), the process is
# sent the signal while the program runs; it must end by itself with status
# 0, its settings saved (the program named on the command line is in them)
# and its log closed with what the program printed before the signal.
#   end_signals.sh TOVARELLE
set -u
exe=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HOME=$work XDG_CONFIG_HOME=$work/config QT_QPA_PLATFORM=offscreen TZ=UTC
settings=$XDG_CONFIG_HOME/tovarelle/settings
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

for signal in TERM INT; do
  rm -rf "$XDG_CONFIG_HOME" "$work"/*.bas "$work"/*.log "$work/started.txt"
  mkdir -p "$(dirname "$settings")"
  printf 'CreateLogFile=n:1\nLogFilePath=s:%s\nLogFileName=s:run.log\n' "$work" >"$settings"
  cat >"$work/loop_$signal.bas" <<BAS
print "running until the signal"
open "output", 1, "$work/started.txt" : print #1, "started" : close 1
while 1
wend
BAS
  "$exe" "$work/loop_$signal.bas" >"$work/stdout.txt" 2>&1 &
  pid=$!
  for _ in $(seq 600); do [ -s "$work/started.txt" ] && break; sleep 0.05; done
  [ -s "$work/started.txt" ] || { fail "$signal: the program did not start: $(cat "$work/stdout.txt")"; kill -KILL $pid; continue; }
  kill -s "$signal" $pid
  ended=0
  for _ in $(seq 400); do kill -0 $pid 2>/dev/null || { ended=1; break; }; sleep 0.05; done
  if [ $ended -eq 0 ]; then
    fail "$signal: the desktop did not end within 20 s"
    kill -KILL $pid
  fi
  wait $pid
  status=$?
  [ $status -eq 0 ] || fail "$signal: exit status $status"
  grep -q "^SrcPgmName=s:loop_$signal.bas$" "$settings" || fail "$signal: settings not saved: $(cat "$settings")"
  grep -q "running until the signal" "$work/run.log" || fail "$signal: the log lacks the printed line: $(cat "$work/run.log")"
done
[ $failures -eq 0 ] && echo "end signals: passed"
exit $((failures > 0))
