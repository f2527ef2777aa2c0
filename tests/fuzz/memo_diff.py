#!/usr/bin/env python3
"""Differential run of random programs: with and without the interpreter's
memos, or on two builds, outputs compared byte for byte.

    memo_diff.py --bin build/tovarelle --seed 1 --count 300        # short seeded run (a test)
    memo_diff.py --bin build/tovarelle --minutes 30 --workers 2    # long run, seeds from the clock
    memo_diff.py --a old/tovarelle --b build/tovarelle --count 500  # two builds, same environment
    memo_diff.py --bin build/tovarelle --replay prog.bas           # one file both ways (exit 0: it differs)
    memo_diff.py --bin build/tovarelle --reduce prog.bas           # reduce a file while it differs

With --bin, side A runs the binary as it is and side B with TOV_NO_MEMO=1
(the general road everywhere). With --a/--b, each side runs its own binary.
Each program runs in console mode ("run prog.bas", two empty lines) in a
scratch folder of its worker, with TZ, HOME and XDG_CONFIG_HOME fixed.

A difference is saved under --out (default ./memo-diff-findings) as
    seed-N/prog.bas   a.out   b.out   cmd          (the program and both outputs)
    seed-N/diff.txt    the first lines of a diff of the outputs
    seed-N/reduced.bas   reduced-a.out   reduced-b.out   reduced-diff.txt   (after reduction)
    seed-N/check.sh    exit 0 while a program still differs (for cvise/creduce)
The exit status is 1 when any program differed, 0 otherwise.
"""

import argparse
import difflib
import multiprocessing
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import memo_gen  # noqa: E402

RUN_TIMEOUT = 20      # seconds for one run of one program
REDUCE_PER_WORKER = 8  # differences a worker reduces: the first of each kind (the error messages only one side gave)
OUTPUT_CAP = 8 << 20  # bytes of output kept from one run


class Side:
    def __init__(self, binary, no_memo):
        self.binary = os.path.abspath(binary)
        self.no_memo = no_memo

    def describe(self):
        return ('TOV_NO_MEMO=1 ' if self.no_memo else '') + self.binary


BANNER = b'\n----- Beginning Program Execution'
TIMED_OUT = b'\n[timed out]\n'
CARET_LINE = re.compile(rb'^ *\* *$', re.M)
ERROR_LINE = re.compile(rb'^ERROR - .*$', re.M)


def errors(out):
    return set(ERROR_LINE.findall(out))


class Runner:
    """Runs programs on both sides in a scratch folder of its own."""

    def __init__(self, a, b, folder, ignore_columns=False):
        self.a, self.b = a, b
        self.ignore_columns = ignore_columns   # the caret lines under errors are not compared
        self.folder = folder
        self.home = os.path.join(folder, 'home')
        os.makedirs(os.path.join(self.home, '.config'), exist_ok=True)

    def session(self, side, texts, timeout):
        """One console session that runs each program in turn; its whole output."""
        work = os.path.join(self.folder, 'w')
        if os.path.isdir(work):
            shutil.rmtree(work)
        os.makedirs(work)
        commands = b''
        for i, text in enumerate(texts):
            with open(os.path.join(work, 'prog%d.bas' % i), 'w', newline='\n') as f:
                f.write(text)
            commands += b'run prog%d.bas\n' % i
        env = {k: v for k, v in os.environ.items() if k != 'TOV_NO_MEMO'}
        env.update(TZ='UTC', HOME=self.home, XDG_CONFIG_HOME=os.path.join(self.home, '.config'))
        env.pop('DISPLAY', None)
        if side.no_memo:
            env['TOV_NO_MEMO'] = '1'
        try:
            p = subprocess.run([side.binary, '/c'], input=commands + b'\n\n', cwd=work, env=env,
                               stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=timeout)
            out = p.stdout[:OUTPUT_CAP * len(texts)]
            if p.returncode != 0:
                out += b'\n[exit status %d]\n' % p.returncode
            return out, True
        except subprocess.TimeoutExpired as e:
            return (e.stdout or b'')[:OUTPUT_CAP] + TIMED_OUT, False

    def run(self, side, text, timeout=RUN_TIMEOUT):
        return self.session(side, [text], timeout)[0]

    def run_many(self, side, texts):
        """The output of each program, from one session (a start of the
        interpreter costs more than most programs take); None when the
        session did not end well, so that each program is run alone."""
        out, ok = self.session(side, texts, RUN_TIMEOUT * 3)
        if not ok:
            return None
        pieces = out.split(BANNER)
        if len(pieces) != len(texts) + 1:
            return None
        return [BANNER + piece for piece in pieces[1:]]

    def both(self, text):
        return self.settle(text, self.run(self.a, text), self.run(self.b, text))

    def settle(self, text, oa, ob):
        """When one side ran out of time and the other did not, the slow side
        runs again with more time (the memos change the speed, not the
        result). Returns the two outputs."""
        ta, tb = oa.endswith(TIMED_OUT), ob.endswith(TIMED_OUT)
        if ta and not tb:
            oa = self.run(self.a, text, RUN_TIMEOUT * 4)
        elif tb and not ta:
            ob = self.run(self.b, text, RUN_TIMEOUT * 4)
        return oa, ob

    def same(self, oa, ob):
        """Equal outputs; two runs that both ran out of time are taken as
        equal when one output begins the other."""
        if oa.endswith(TIMED_OUT) and ob.endswith(TIMED_OUT):
            n = min(len(oa), len(ob)) - len(TIMED_OUT)
            oa, ob = oa[:n], ob[:n]
        return self.same_text(oa, ob)

    def same_text(self, oa, ob):
        if self.ignore_columns:
            oa, ob = CARET_LINE.sub(b'', oa), CARET_LINE.sub(b'', ob)
        return oa == ob

    def differs(self, text):
        oa, ob = self.both(text)
        return not self.same(oa, ob)

    def differs_alike(self, oa, ob):
        """A test for the reducer: a program still differs, and neither side
        gives an error message the original program's run did not give (so the
        reduction keeps to the same difference, not a new error of its own)."""
        ea, eb = errors(oa), errors(ob)

        def test(text):
            ra, rb = self.both(text)
            return not self.same(ra, rb) and errors(ra) <= ea and errors(rb) <= eb
        return test


# ---- reduction -----------------------------------------------------------------

def split_statements(line):
    """The statements of a line split at ":" outside quotes, with the REM or // tail kept whole."""
    parts, cur, quoted, i = [], '', False, 0
    while i < len(line):
        ch = line[i]
        if ch == '"':
            quoted = not quoted
        if not quoted:
            rest = line[i:].lstrip().upper()
            if line[i:].startswith('//') or (rest.startswith('REM') and cur.strip() == ''):
                cur += line[i:]
                break
            if ch == ':':
                parts.append(cur)
                cur = ''
                i += 1
                continue
        cur += ch
        i += 1
    parts.append(cur)
    return parts


def is_comment(line):
    s = line.strip()
    return s == '' or s.startswith('//') or s.upper().startswith('REM')


def filler(n):
    """A line of exactly n characters (line end not counted) that does nothing."""
    if n == 0:
        return ''
    if n < 3:
        return ' ' * n
    return '//' + ' ' * (n - 2)


def groups(line):
    """Spans (start, end) of the parenthesised groups of a line outside
    quotes, each with the name in front of it (a call or an element), and of
    the operator-and-operand tails (" + x", " * f(2)"); longest first."""
    spans, stack, quoted = [], [], False
    for i, ch in enumerate(line):
        if ch == '"':
            quoted = not quoted
        elif quoted:
            continue
        elif ch == '(':
            j = i
            while j > 0 and (line[j - 1].isalnum() or line[j - 1] in '$_'):
                j -= 1
            stack.append(j)
        elif ch == ')' and stack:
            spans.append((stack.pop(), i + 1))
    for m in re.finditer(r' (?:[-+*/%<>=]|<>|>=|<=|AND|OR) (?:[A-Za-z][A-Za-z0-9]*\$?|[0-9.]+|"[^"]*")(?![A-Za-z0-9$(])', line):
        spans.append((m.start(), m.end()))
    return sorted(set(spans), key=lambda s: s[0] - s[1])


def reduce_program(text, still_differs, log=lambda s: None, seconds=300):
    """Deletes lines and statements, then simplifies expressions, while the
    difference persists (at most about `seconds`). Offsets matter to some
    faults, so each step is tried twice: shorter, then with the same length
    (a comment or blanks in place of what went), so that offsets are kept."""
    deadline = time.time() + seconds
    lines = text.split('\n')
    if lines and lines[-1] == '':
        lines.pop()

    def join(ls):
        return ''.join(l + '\n' for l in ls if l is not None)

    def attempt(candidate):
        if time.time() > deadline:
            return False
        return still_differs(join(candidate))

    # passes 1 to 3 again while one of them still removes something
    for _ in range(4):
        before = list(lines)
        # 1. chunks of lines, largest first (ddmin), removed or blanked
        n = 2
        while len(lines) >= 2:
            chunk = max(1, len(lines) // n)
            progress = False
            i = 0
            while i < len(lines):
                cand = lines[:i] + lines[i + chunk:]
                if attempt(cand):
                    lines = cand
                    progress = True
                    continue
                blank = lines[:i] + [filler(len(l)) for l in lines[i:i + chunk]] + lines[i + chunk:]
                if blank != lines and attempt(blank):
                    lines = blank
                    progress = True
                i += chunk
            if not progress:
                if chunk == 1:
                    break
                n = min(len(lines), n * 2)
            log('lines: %d' % len(lines))

        # 2. statements inside lines
        changed = True
        while changed:
            changed = False
            for li in range(len(lines)):
                parts = split_statements(lines[li])
                if len(parts) < 2:
                    continue
                j = len(parts) - 1
                while j >= 0 and len(parts) > 1:
                    keep = parts[:j] + parts[j + 1:]
                    new = ':'.join(keep)
                    if j == 0 and parts[0].strip()[:1].isdigit():
                        j -= 1
                        continue
                    cand = lines[:li] + [new] + lines[li + 1:]
                    if attempt(cand):
                        lines, parts, changed = cand, keep, True
                    elif len(new) + 3 <= len(lines[li]):
                        same_length = new + ' //' + ' ' * (len(lines[li]) - len(new) - 3)
                        cand = lines[:li] + [same_length] + lines[li + 1:]
                        if attempt(cand):
                            lines, parts, changed = cand, keep, True
                    j -= 1

        # 3. expressions: a call, an element or a group becomes 0 or 1; an operator and its operand go
        changed = True
        while changed and time.time() < deadline:
            changed = False
            for li in range(len(lines)):
                if is_comment(lines[li]):
                    continue
                tried = set()
                again = True
                while again:
                    again = False
                    line = lines[li]
                    for a, b in groups(line):
                        piece = line[a:b]
                        choices = [''] if piece.startswith(' ') else ['0', '1', '""']
                        for c in choices:
                            for new in (line[:a] + c + line[b:], line[:a] + c + ' ' * (b - a - len(c)) + line[b:]):
                                if new in tried or new == line:
                                    continue
                                tried.add(new)
                                if attempt(lines[:li] + [new] + lines[li + 1:]):
                                    lines[li] = new
                                    changed = again = True
                                    break
                            if again:
                                break
                        if again:
                            break
        if lines == before or time.time() > deadline:
            break

    # 4. comment and blank lines merged into fewer lines of the same bytes
    out, run = [], 0
    for l in lines + [None]:
        if l is not None and is_comment(l) and not l.strip()[:1].isdigit():
            run += len(l) + 1
            continue
        while run > 0:
            take = min(run, 200)
            if 0 < run - take < 4:
                take = run - 4 if take > 4 else take
            out.append(filler(take - 1))
            run -= take
        if l is not None:
            out.append(l)
    if attempt(out):
        lines = out
    return join(lines)


# ---- the run -------------------------------------------------------------------

def worker_main(args):
    """Runs the seeds it is given; returns (count, findings, timeouts)."""
    index, a, b, seeds, deadline, out_dir, reduce_on, gen_options, ignore_columns, session = args
    folder = tempfile.mkdtemp(prefix='memo-diff-%d-' % index)
    runner = Runner(a, b, folder, ignore_columns)
    count, found, timeouts = 0, [], 0
    reduced_kinds = set()   # a kind of difference is reduced once per worker (reduction takes minutes)
    seeds = list(seeds)
    try:
        for start in range(0, len(seeds), session):
            if deadline and time.time() > deadline:
                break
            batch = seeds[start:start + session]
            texts = [memo_gen.generate(seed, *gen_options) for seed in batch]
            if session > 1:
                outs_a, outs_b = runner.run_many(runner.a, texts), runner.run_many(runner.b, texts)
            else:
                outs_a, outs_b = [runner.run(runner.a, texts[0])], [runner.run(runner.b, texts[0])]
            for i, (seed, text) in enumerate(zip(batch, texts)):
                count += 1
                if outs_a is not None and outs_b is not None and runner.same(outs_a[i], outs_b[i]):
                    timeouts += outs_a[i].endswith(TIMED_OUT)
                    continue
                # alone, as the saved program will be replayed
                oa, ob = runner.both(text) if session > 1 else runner.settle(text, outs_a[0], outs_b[0])
                if runner.same(oa, ob):
                    if oa.endswith(TIMED_OUT):
                        timeouts += 1
                    elif outs_a is not None and outs_b is not None:
                        sys.stderr.write('seed %d differs only after the programs before it in one session '
                                         '(seeds %d..%d)\n' % (seed, batch[0], batch[-1]))
                        found.append(seed)
                        save_finding(runner, out_dir, 'seed-%d-in-session' % seed, text, outs_a[i], outs_b[i], False)
                    continue
                found.append(seed)
                kind = frozenset(errors(oa) ^ errors(ob))
                save_finding(runner, out_dir, 'seed-%d' % seed, text, oa, ob,
                             reduce_on and kind not in reduced_kinds and len(reduced_kinds) < REDUCE_PER_WORKER)
                reduced_kinds.add(kind)
    finally:
        shutil.rmtree(folder, ignore_errors=True)
    return count, found, timeouts


def save_finding(runner, out_dir, name, text, oa, ob, reduce_on):
    d = os.path.join(out_dir, name)
    os.makedirs(d, exist_ok=True)
    save_run(d, '', 'prog.bas', text, oa, ob)
    with open(os.path.join(d, 'cmd'), 'w') as f:
        f.write('A: %s\nB: %s\ninput: run prog.bas, then two empty lines\n' % (runner.a.describe(), runner.b.describe()))
    write_check_script(d, runner)
    sys.stderr.write('difference: %s\n' % d)
    if reduce_on:
        reduced = reduce_program(text, runner.differs_alike(oa, ob))
        ra, rb = runner.both(reduced)
        save_run(d, 'reduced-', 'reduced.bas', reduced, ra, rb)
        sys.stderr.write('  reduced to %d lines: %s\n' % (reduced.count('\n'), os.path.join(d, 'reduced.bas')))


def save_run(d, prefix, program_name, text, oa, ob):
    """A program, both sides' outputs and their diff, in folder d."""
    with open(os.path.join(d, program_name), 'w', newline='\n') as f:
        f.write(text)
    for fname, data in ((prefix + 'a.out', oa), (prefix + 'b.out', ob)):
        with open(os.path.join(d, fname), 'wb') as f:
            f.write(data)
    write_diff(os.path.join(d, prefix + 'diff.txt'), oa, ob)


def write_diff(path, oa, ob):
    """The first lines of a unified diff of the two outputs."""
    a = oa.decode('latin-1').splitlines(keepends=True)
    b = ob.decode('latin-1').splitlines(keepends=True)
    lines = list(difflib.unified_diff(a, b, 'a.out', 'b.out', n=2))
    with open(path, 'w', encoding='latin-1') as f:
        f.writelines(lines[:200])


def write_check_script(d, runner):
    me = os.path.abspath(__file__)
    args = (['--bin', runner.a.binary] if runner.a.binary == runner.b.binary and runner.b.no_memo
            else ['--a', runner.a.binary, '--b', runner.b.binary])
    if runner.ignore_columns:
        args.append('--ignore-columns')
    script = '#!/bin/sh\n# exit 0 while the program (default prog.bas) still prints differently\nexec python3 %s %s --replay "${1:-prog.bas}" >/dev/null\n' % (
        me, ' '.join(args))
    path = os.path.join(d, 'check.sh')
    with open(path, 'w') as f:
        f.write(script)
    os.chmod(path, 0o755)


def sides(args):
    if args.bin:
        return Side(args.bin, False), Side(args.bin, True)
    if args.a and args.b:
        return Side(args.a, False), Side(args.b, False)
    sys.exit('give --bin BIN, or --a BIN --b BIN')


def main():
    ap = argparse.ArgumentParser(description=__doc__.split('\n')[0],
                                 formatter_class=argparse.RawDescriptionHelpFormatter, epilog=__doc__)
    ap.add_argument('--bin', help='one binary, run with and without TOV_NO_MEMO=1')
    ap.add_argument('--a', help='binary of side A')
    ap.add_argument('--b', help='binary of side B')
    ap.add_argument('--seed', type=int, help='first seed (default: from the clock with --minutes, else 1)')
    ap.add_argument('--count', type=int, default=300, help='programs to run (without --minutes)')
    ap.add_argument('--minutes', type=float, help='run for this long instead of --count programs')
    ap.add_argument('--workers', type=int, default=1)
    ap.add_argument('--out', default='memo-diff-findings', help='folder for differences')
    ap.add_argument('--no-reduce', action='store_true', help='save differences without reducing them')
    ap.add_argument('--plain-dim', action='store_true',
                    help='DIM and LONG only where they run, never where a loop or IF passes over them '
                         '(for builds older than the skip-mode fixes, which dimension there)')
    ap.add_argument('--assign-over-erase', action='store_true',
                    help='also assign to elements whose right side calls a function that erases their array '
                         '(the element assigned to is then freed under the assignment)')
    ap.add_argument('--ignore-columns', action='store_true',
                    help='do not compare the caret lines under error messages (builds that place them differently)')
    ap.add_argument('--session', type=int, default=1,
                    help='programs run one after another in one start of the interpreter (default 1); more is '
                         'faster, but a fault that needs a fresh start can hide, and what differs is run again alone')
    ap.add_argument('--stop-after', type=int, default=0, help='stop after this many differences (0: never)')
    ap.add_argument('--replay', metavar='FILE',
                    help='run one program on both sides and show both outputs; exit 0 when they differ, '
                         '1 when they are the same (an interestingness test for reducers)')
    ap.add_argument('--reduce', metavar='FILE', help='reduce one program while it differs; prints the result')
    args = ap.parse_args()
    a, b = sides(args)

    if args.replay or args.reduce:
        folder = tempfile.mkdtemp(prefix='memo-diff-')
        try:
            runner = Runner(a, b, folder, args.ignore_columns)
            text = open(args.replay or args.reduce, newline='').read()
            oa, ob = runner.both(text)
            if args.replay:
                sys.stdout.buffer.write(b'=== A: ' + a.describe().encode() + b'\n' + oa)
                sys.stdout.buffer.write(b'=== B: ' + b.describe().encode() + b'\n' + ob)
                return 1 if runner.same(oa, ob) else 0
            if runner.same(oa, ob):
                sys.exit('the program prints the same on both sides')
            print(reduce_program(text, runner.differs_alike(oa, ob), log=lambda s: sys.stderr.write(s + '\n')), end='')
            return 0
        finally:
            shutil.rmtree(folder, ignore_errors=True)

    start = time.time()
    deadline = start + args.minutes * 60 if args.minutes else None
    first = args.seed if args.seed is not None else (int(start) % 100000000 * 1000 if deadline else 1)
    workers = max(1, args.workers)
    total, findings, timeouts = 0, [], 0
    batch = 50 if deadline else (args.count + workers - 1) // workers
    next_seed = first
    out_dir = os.path.abspath(args.out)
    with multiprocessing.Pool(workers) as pool:
        while True:
            jobs = []
            for w in range(workers):
                n = batch if deadline else min(batch, first + args.count - next_seed)
                if n <= 0:
                    break
                jobs.append((w, a, b, range(next_seed, next_seed + n), deadline, out_dir, not args.no_reduce,
                             (args.plain_dim, args.assign_over_erase), args.ignore_columns, max(1, args.session)))
                next_seed += n
            if not jobs:
                break
            for count, found, tmo in pool.map(worker_main, jobs):
                total += count
                findings += found
                timeouts += tmo
            if deadline is None or time.time() > deadline:
                break
            if args.stop_after and len(findings) >= args.stop_after:
                break
    elapsed = time.time() - start
    print('%d programs (seeds %d..%d) in %.0f s, %d differ, %d timed out on both sides' % (
        total, first, next_seed - 1, elapsed, len(findings), timeouts))
    for s in sorted(findings)[:20]:
        print('  differs: seed %d  (%s)' % (s, os.path.join(out_dir, 'seed-%d' % s)))
    if len(findings) > 20:
        print('  ... and %d more in %s' % (len(findings) - 20, out_dir))
    return 1 if findings else 0


if __name__ == '__main__':
    sys.exit(main())
