#!/usr/bin/env bash
# Builds the libFuzzer harnesses and runs one of them for a while.
#   tests/fuzz/run_fuzz.sh expression|program|console|readers [seconds] [workers]
# expression: fuzz_expression on single expressions, after the DEF lines
#   before them (seeds: expressions taken from the PRINT, LET and IF lines of
#   tests/programs/*.bas, and the programs' DEF lines with a call);
# program: fuzz_program, whole programs on the window road (seeds: the
#   programs themselves); console: the same on the console road;
# readers: fuzz_readers, data files read with INPUT # and LINE INPUT #, the
#   settings file and the daylight-saving rules file (seeds: the files the
#   test programs write, and sample settings and rules).
# Each worker runs its inputs in a scratch folder of its own (programs may
# write files there, and nowhere else but the build folder); findings land
# in build-fuzz-libfuzzer/findings-<kind>/.
set -eu
kind=${1:-program}; seconds=${2:-300}; workers=${3:-1}
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$root/build-fuzz-libfuzzer
# One build at a time: several kinds may start together.
mkdir -p "$build"
(
  flock 9
  CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DTOV_FUZZ=ON -DTOV_SANITIZE=ON >/dev/null
  cmake --build "$build" --target fuzz_expression fuzz_program fuzz_readers >/dev/null
) 9>"$build/.build-lock"

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
for f in sorted(src.glob('*.bas')):
    defs = [l.strip() for l in f.read_bytes().split(b'\n') if re.match(rb'^\d*\s*def\s', l.strip(), re.I)]
    for n, d in enumerate(defs):
        m = re.match(rb'^\d*\s*def\s+(\w+\$?)\s*(\(([^)]*)\))?', d, re.I)
        if m:
            args = b', '.join(b'1' for _ in (m.group(3) or b'').split(b',')) if m.group(3) else b''
            call = m.group(1) + (b'(' + args + b')' if m.group(2) else b'')
            (dst / f'def-{f.stem}-{n}').write_bytes(b'\n'.join(defs) + b'\n' + call)
PY
    ;;
  program|console)
    harness=fuzz_program; max_len=4096
    cp "$root"/tests/programs/*.bas "$corpus/"
    ;;
  readers)
    harness=fuzz_readers; max_len=4096
    printf '\000"text, with comma",plain\r\n"unclosed\n' > "$corpus/seed-text"
    printf '\0011, 2.5e300\n-0, .5\n1e999,x\n' > "$corpus/seed-numbers"
    printf '\002Length=3\n123\nLength=200\n%s\n%s\n' "$(printf '1%.0s' $(seq 78))" "$(printf '9%.0s' $(seq 78))" > "$corpus/seed-long"
    printf '\003"a",1,Length=2\n12\n' > "$corpus/seed-mixed"
    printf '\004line one\r\nline two\000with nul\nlast' > "$corpus/seed-lines"
    printf '\005# comment\nWorkPath=s:/tmp\\n\nNumVariables=n:300\nbad line\n' > "$corpus/seed-settings"
    printf '\0062030,2100,4,1,1,60,2,10,5,1,0,2\n2200,2300,3,2,1,60,2,11,1,1,0\nx,,\n' > "$corpus/seed-rules"
    ;;
  *) echo "unknown kind: $kind" >&2; exit 2 ;;
esac
[ "$kind" = console ] && export TOV_FUZZ_CONSOLE=1
parallel=()
[ "$workers" -gt 1 ] && parallel=(-workers="$workers" -jobs="$workers")
cd "$scratch"
export TOV_FUZZ_WRITABLE=$build
# -timeout: a hang shows as a finding; the harness itself ends runaway programs.
# An array may take up to 4 GB (DIM refuses more), hence the malloc limit.
exec "$build/$harness" -dict="$root/tests/fuzz/basic.dict" -timeout=15 -rss_limit_mb=6000 \
  -malloc_limit_mb=4500 \
  -max_len=$max_len -max_total_time="$seconds" "${parallel[@]}" \
  -artifact_prefix="$findings/" "$corpus" < /dev/null
