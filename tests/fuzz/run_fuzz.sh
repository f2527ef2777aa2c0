#!/usr/bin/env bash
# Builds the libFuzzer harnesses and runs one of them for a while.
#   tests/fuzz/run_fuzz.sh expression|program|console [seconds] [workers]
# expression: fuzz_expression on single expressions (seeds: expressions
#   taken from the PRINT, LET and IF lines of tests/programs/*.bas);
# program: fuzz_program, whole programs on the window road (seeds: the
#   programs themselves); console: the same on the console road.
# Inputs run in a scratch folder (programs may write files there); findings
# land in build-fuzz-libfuzzer/findings-<kind>/.
set -eu
kind=${1:-program}; seconds=${2:-300}; workers=${3:-1}
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$root/build-fuzz-libfuzzer
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTOV_FUZZ=ON -DTOV_SANITIZE=ON >/dev/null
cmake --build "$build" --target fuzz_expression fuzz_program >/dev/null

corpus=$build/corpus-$kind; findings=$build/findings-$kind; scratch=$build/scratch-$kind
mkdir -p "$corpus" "$findings" "$scratch"
case $kind in
  expression)
    harness=fuzz_expression; max_len=255
    python3 - "$root/tests/programs" "$corpus" <<'PY'
import pathlib, re, sys
src, dst = pathlib.Path(sys.argv[1]), pathlib.Path(sys.argv[2])
for n, line in enumerate(l.strip() for f in sorted(src.glob('*.bas')) for l in f.read_bytes().split(b'\n')):
    m = re.match(rb'^\d*\s*(?:print|let\s+\w+\$?\s*=|if)\s*(.*)$', line, re.I)
    if m and 0 < len(m.group(1)) <= 255:
        (dst / f'seed{n}').write_bytes(m.group(1))
PY
    ;;
  program|console)
    harness=fuzz_program; max_len=4096
    cp "$root"/tests/programs/*.bas "$corpus/"
    ;;
  *) echo "unknown kind: $kind" >&2; exit 2 ;;
esac
[ "$kind" = console ] && export TOV_FUZZ_CONSOLE=1
parallel=()
[ "$workers" -gt 1 ] && parallel=(-workers="$workers" -jobs="$workers")
cd "$scratch"
# -timeout: a hang shows as a finding; the harness itself ends runaway programs.
# An array may take up to 4 GB (DIM refuses more), hence the malloc limit.
exec "$build/$harness" -dict="$root/tests/fuzz/basic.dict" -timeout=15 -rss_limit_mb=6000 \
  -malloc_limit_mb=4500 \
  -max_len=$max_len -max_total_time="$seconds" "${parallel[@]}" \
  -artifact_prefix="$findings/" "$corpus" < /dev/null
