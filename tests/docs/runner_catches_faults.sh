#!/usr/bin/env bash
# The examples' runner must fail on broken examples, naming each one.
#   runner_catches_faults.sh <tovarelle> <help_pdf>
set -u
here=$(dirname "$0")
out=$("$here/run_guide.sh" "$1" "$here/broken_examples.md" "$2" 2>&1); rc=$?
echo "$out"
[ "$rc" -ne 0 ] || { echo "FAILED: the runner passed broken examples"; exit 1; }
for expected in "graph no_graph.bas did not draw" "graph bad_graph.bas did not draw" \
                "graph waits.bas did not draw" "output of wrong.bas" "4 examples checked, 4 failed"; do
  grep -qF -- "$expected" <<< "$out" || { echo "FAILED: the runner did not report: $expected"; exit 1; }
done
