#!/usr/bin/env python3
"""Random valid BASIC programs that lean on the interpreter's memory of work
already done (remembered items, expressions, elements, jump targets, line
records, skipped runs).

Each program is built from one seed, so a seed names a program (for one
version of this file; a difference is saved with its program text):
    memo_gen.py --seed 7            prints program 7
    memo_gen.py --seed 7 --count 3  prints programs 7, 8 and 9, each after a "// seed" line

What the programs do, and why:
- loops whose statements change the variables and arrays they read, so a
  value remembered on one pass is wrong on the next;
- variables and arrays created after their first use, arrays erased and
  dimensioned again (in loops and inside function calls made in the middle
  of an expression), CLEAR in a loop, so every table moves under the
  statements that looked names up before;
- ON ... GOTO / GOSUB, IF ... GOTO, GOTO loops, one-line IF/THEN/ELSE, nested;
- strings built with MID$, LEFT$, CHR$, INSTR; subscripts read from arrays;
- expression and GOSUB-form functions calling each other recursively (depth
  bounded by their first parameter), with parameters named like globals;
- LONG variables, arrays and arguments;
- DEBUG and TRACE switched on and off in the middle of loops and inside
  function bodies; DEBUG MATHERROK, so that NaN and infinities flow on;
- PRINTALL at the end, which shows the peak of the temporary strings;
- comment runs that put two expressions exactly 256, 1024, 2048, 4096 or
  8192 bytes apart (or a few bytes off), so that memo slots keyed by text
  offsets meet.

Programs terminate: loops have constant or bounded counts, every counter is
a name of its own, and recursion goes down by one on the first parameter to
a base case. They mostly run without errors; an error now and then is fine,
the outputs are compared whatever they are.
"""

import argparse
import random

DEPTH_PARAMS = ['x', 'n', 'm']       # first parameter of every function; also globals of the main code
OTHER_PARAMS = ['x', 'n', 'm', 'z']   # further numeric parameters (names the main code assigns too)
STRING_PARAM = 'r$'                  # string parameter, a global of the main code as well
GLOBALS = ['a', 'b', 'c', 'd', 'v', 'y']   # assigned anywhere; never a parameter
MAIN_ONLY = ['x', 'n', 'm', 'z']    # assigned by the main code only (functions read them as parameters)
STRINGS = ['s$', 't$', 'u$']
LATE = ['late1', 'late2', 'late3', 'lt']   # created in the middle of a run, read before (as 0)
LONGS = ['la', 'lb']
MAIN_COUNTERS = ['i', 'j', 'k', 'i2', 'j2', 'k2', 'i3', 'j3', 'k3', 'i4', 'j4', 'k4']

MARK = '\x01'        # the start of an expression (a candidate for offset alignment)
MARK_CALL = '\x02'   # the start of an expression that calls a GOSUB-form function


class Array:
    def __init__(self, name, dims, kind):
        self.name, self.dims, self.kind = name, dims, kind   # kind: 'num', 'str', 'long'

    def dim_text(self, grow=0):
        return '%s(%s)' % (self.name, ', '.join(str(d + grow) for d in self.dims))


class Function:
    def __init__(self, name, params, form, index):
        self.name, self.params, self.form, self.index = name, params, form, index
        self.line = None           # statement number of a GOSUB-form body
        self.body = ''             # expression of an expression-form function

    @property
    def is_string(self):
        return self.name.endswith('$')


class Ctx:
    """Where a statement or an expression is being generated."""

    def __init__(self, kind, fn=None):
        self.kind = kind           # 'main', 'msub' (called from main only), 'leaf' (callable anywhere), 'fnbody', 'fnexpr'
        self.fn = fn
        self.counters = []         # loop counters readable here
        self.loop_depth = 0
        self.loop_kinds = []
        self.calls_left = 2        # calls of user functions still allowed in one expression
        self.in_if = False
        self.no_calls = False      # after CLEAR: the functions are gone

    @property
    def may_call(self):
        return not self.no_calls and self.kind in ('main', 'msub', 'fnbody', 'fnexpr')


class Gen:
    def __init__(self, seed, plain_dim=False, assign_over_erase=False):
        self.seed = seed
        self.assign_over_erase = assign_over_erase   # element assignments whose right side may erase their array
        self.plain_dim = plain_dim   # DIM and LONG only where they run, never where they are passed over
        self.r = random.Random(seed)
        self.next_label = 100
        self.next_sub_label = 5000
        self.counter_serial = 0
        self.while_serial = 0
        self.debug_budget = 2 if self.r.random() < 0.35 else 0
        self.subs = []             # (first line number, list of lines) of subroutines
        self.leaf_subs = []
        self.main_subs = []
        self.late_arrays = {}      # name -> Array, usable only where known to exist
        self.use_long = self.r.random() < 0.6

    # ---- small helpers ---------------------------------------------------
    def chance(self, p):
        return self.r.random() < p

    def pick(self, seq):
        return self.r.choice(seq)

    def short(self, make, limit, fallback):
        """make() tried until its text is shorter than limit (lines hold at most 253 characters)."""
        for _ in range(12):
            text = make()
            if len(text) < limit:
                return text
        return fallback

    def label(self):
        self.next_label += self.r.choice((10, 10, 10, 20, 5))
        return self.next_label

    def sub_label(self):
        self.next_sub_label += self.r.choice((100, 100, 50, 200))
        return self.next_sub_label

    # ---- expressions -----------------------------------------------------
    def literal(self):
        return self.pick(['0', '1', '2', '3', '5', '7', '10', '12', '25', '100', '1.5', '0.25', '2.50', '3.0'])

    def readable_numbers(self, ctx):
        names = list(GLOBALS) + list(MAIN_ONLY) + ctx.counters
        if ctx.fn is not None:
            names += [p for p in ctx.fn.params if not p.endswith('$')]
        names += LATE[:2]
        return names

    def subscript(self, ctx, size, depth):
        ways = ['counter', 'lit', 'expr', 'array']
        w = self.pick(ways)
        if w == 'counter' and ctx.counters:
            c = self.pick(ctx.counters)
            off = self.pick(['', ' + 1', ' + 2', ' * 2'])
            return 'INT(ABS(%s%s)) %% %d' % (c, off, size) if self.chance(0.3) else '(%s%s) %% %d' % (c, off, size)
        if w == 'lit' or depth > 2:
            return str(self.r.randrange(size))
        if w == 'array':
            arr = self.pick(self.num_arrays)
            inner = self.element(ctx, arr, depth + 1)
            return 'INT(ABS(%s)) %% %d' % (inner, size)
        return 'INT(ABS(%s)) %% %d' % (self.num_expr(ctx, depth + 1, no_long=True), size)

    def element(self, ctx, arr, depth):
        subs = [self.subscript(ctx, d, depth) for d in arr.dims]
        sep = ', ' if len(subs) < 2 or self.chance(0.8) else '; '
        return '%s(%s)' % (arr.name, sep.join(subs))

    def call(self, ctx, fn, depth):
        """A call of fn with a depth argument that keeps recursion bounded."""
        ctx.calls_left -= 1
        args = []
        caller = ctx.fn
        if caller is not None:
            d = caller.params[0]
            if fn.form == 'gosub' or fn.index >= caller.index:
                args.append('%s - 1' % d)
            else:
                args.append(d)
        else:
            args.append(self.pick(['0', '1', '2', '3', 'INT(ABS(%s)) %% 4' % self.pick(self.readable_numbers(ctx)),
                                   '(%s) %% 3' % (self.pick(ctx.counters) if ctx.counters else '2')]))
        for p in fn.params[1:]:
            if p.endswith('$'):
                args.append(self.str_expr(ctx, depth + 1))
            elif self.use_long and self.chance(0.12):
                args.append(self.pick(LONGS))
            else:
                args.append(self.num_expr(ctx, depth + 1, no_long=True))
        if len(args) > 1 and self.chance(0.08):
            args.pop()     # fewer arguments than parameters: the rest are 0 / ""
        return '%s(%s)' % (fn.name, ', '.join(args))

    def callable_fns(self, ctx, want_string=False):
        if not ctx.may_call or ctx.calls_left <= 0:
            return []
        out = []
        for f in self.functions:
            if f.is_string != want_string:
                continue
            if ctx.kind == 'fnexpr' and f.form == 'expr' and f.index >= ctx.fn.index:
                continue
            out.append(f)
        return out

    def num_atom(self, ctx, depth, no_long):
        w = self.r.random()
        if depth > 3 or w < 0.22:
            return self.literal()
        if w < 0.45:
            return self.pick(self.readable_numbers(ctx))
        if w < 0.62:
            arr = self.pick(self.num_arrays + ([self.long_array] if self.use_long and not no_long else []))
            return self.element(ctx, arr, depth)
        if w < 0.76:
            fns = self.callable_fns(ctx)
            if fns:
                return self.call(ctx, self.pick(fns), depth)
            return self.pick(self.readable_numbers(ctx))
        if w < 0.80 and self.use_long and not no_long:
            return self.pick(LONGS)
        b = self.r.randrange(9)
        if b == 0:
            return 'ABS(%s)' % self.num_expr(ctx, depth + 1, no_long)
        if b == 1:
            return 'INT(%s)' % self.num_expr(ctx, depth + 1, no_long)
        if b == 2:
            return 'LEN(%s)' % self.str_expr(ctx, depth + 1)
        if b == 3:
            return 'INSTR(%s, %s)' % (self.str_expr(ctx, depth + 1), self.str_atom(ctx, depth + 1))
        if b == 4:
            return 'INSTR(%d, %s, %s)' % (self.r.randrange(1, 4), self.str_expr(ctx, depth + 1), self.str_atom(ctx, depth + 1))
        if b == 5:
            return 'ASC(%s + "a")' % self.str_atom(ctx, depth + 1)
        if b == 6:
            return 'MOD(%s, %s)' % (self.num_expr(ctx, depth + 1, True), self.pick(['3', '7', '2.5']))
        if b == 7:
            return 'SGN(%s)' % self.num_expr(ctx, depth + 1, no_long)
        return '(%s)' % self.num_expr(ctx, depth + 1, no_long)

    def num_expr(self, ctx, depth=0, no_long=False):
        n = 1 if depth > 2 else self.r.choice((1, 1, 2, 2, 3, 4))
        text = self.num_atom(ctx, depth, no_long)
        for _ in range(n - 1):
            op = self.pick(['+', '+', '-', '*', '*', '/ 4', '% 7', '/ 2', '=', '<', '>', '<>', '>=', 'AND', 'OR'])
            if op[0] in '/%':
                text = '%s %s' % (text, op)
            else:
                text = '%s %s %s' % (text, op, self.num_atom(ctx, depth, no_long))
        return text

    def str_atom(self, ctx, depth):
        w = self.r.random()
        if depth > 3 or w < 0.2:
            return self.pick(['"ab"', '""', '"xyz"', '"B"', '"a:b"', '"AB"'])
        if w < 0.45:
            names = list(STRINGS) + [STRING_PARAM]
            if ctx.fn is not None:
                names += [p for p in ctx.fn.params if p.endswith('$')]
            return self.pick(names)
        if w < 0.55:
            return self.element(ctx, self.str_array, depth)
        if w < 0.62:
            fns = self.callable_fns(ctx, want_string=True)
            if fns:
                return self.call(ctx, self.pick(fns), depth)
        b = self.r.randrange(5)
        if b == 0:
            return 'CHR$(65 + INT(ABS(%s)) %% 26)' % self.num_expr(ctx, depth + 1, no_long=True)
        if b == 1:
            return 'LEFT$(%s, %s)' % (self.str_expr(ctx, depth + 1), self.pick(['1', '2', '3', '(%s) %% 4' % self.pick(ctx.counters or ['2'])]))
        if b == 2:
            return 'MID$(%s, %s, %s)' % (self.str_expr(ctx, depth + 1), self.pick(['1', '2', '1 + INT(ABS(%s)) %% 3' % self.pick(self.readable_numbers(ctx))]), self.pick(['1', '2', '3']))
        if b == 3:
            return 'RIGHT$(%s, 2)' % self.str_expr(ctx, depth + 1)
        return 'STR$(%s)' % self.num_expr(ctx, depth + 1, no_long=True)

    def str_expr(self, ctx, depth=0):
        text = self.str_atom(ctx, depth)
        if depth < 2 and self.chance(0.4):
            text += ' + ' + self.str_atom(ctx, depth + 1)
        return text

    def cond(self, ctx):
        c = self.r.randrange(6)
        if c == 0 and ctx.counters:
            return '%s = %d' % (self.pick(ctx.counters), self.r.randrange(0, 4))
        if c == 1 and ctx.counters:
            return '%s %% 2 = %d' % (self.pick(ctx.counters), self.r.randrange(2))
        if c == 2:
            return 'INSTR(%s, %s) > 0' % (self.str_expr(ctx, 1), self.str_atom(ctx, 2))
        if c == 3:
            return '%s %s %s' % (self.num_expr(ctx, 1), self.pick(['<', '>', '=', '<>']), self.num_expr(ctx, 1))
        if c == 4:
            return '%s AND %s' % (self.num_expr(ctx, 2), self.num_expr(ctx, 2))
        return self.num_expr(ctx, 1)

    def marked(self, ctx, text_fn):
        """An expression with a mark in front of it, noting whether it calls a GOSUB-form function."""
        before = ctx.calls_left
        text = text_fn()
        calls = ctx.calls_left < before and any(f.form == 'gosub' and f.name + '(' in text for f in self.functions)
        ctx.calls_left = before
        return (MARK_CALL if calls else MARK) + text

    # ---- statements --------------------------------------------------------
    def guard_target(self, ctx, arr):
        """An element being assigned must not be freed by its own right side:
        no calls there when a call may erase its array (unless asked for)."""
        if arr.name in self.erased_in_calls and not self.assign_over_erase:
            ctx.calls_left = 0

    def assignable_numbers(self, ctx):
        names = list(GLOBALS) + LATE
        if ctx.kind == 'main':
            names += MAIN_ONLY
        return names

    def simple_stmt(self, ctx):
        """One statement that may stand behind THEN or ELSE."""
        return self.short(lambda: self.any_simple_stmt(ctx), 110, 'PRINT 0')

    def any_simple_stmt(self, ctx):
        w = self.r.random()
        ctx.calls_left = 2 if ctx.kind in ('main', 'msub') else 1
        if w < 0.22:
            v = self.pick(self.assignable_numbers(ctx))
            e = self.marked(ctx, lambda: self.num_expr(ctx))
            if self.chance(0.85):
                return '%s = (%s) %% %s' % (v, e, self.pick(['997', '1000', '13', '50']))
            return '%s = %s' % (v, e)
        if w < 0.36:
            arr = self.pick(self.num_arrays)
            target = self.element(ctx, arr, 1)
            self.guard_target(ctx, arr)
            return '%s = (%s) %% 1000' % (target, self.marked(ctx, lambda: self.num_expr(ctx)))
        if w < 0.46:
            if self.chance(0.3):
                target = self.element(ctx, self.str_array, 1)
                self.guard_target(ctx, self.str_array)
                return '%s = LEFT$(%s, %d)' % (target, self.str_expr(ctx), self.r.randrange(1, 9))
            return '%s = LEFT$(%s, %d)' % (self.pick(STRINGS), self.marked(ctx, lambda: self.str_expr(ctx)), self.r.randrange(1, 13))
        if w < 0.62:
            n = self.r.randrange(1, 4)
            parts = []
            for _ in range(n):
                if self.chance(0.25):
                    parts.append(self.marked(ctx, lambda: self.str_expr(ctx)))
                else:
                    parts.append(self.marked(ctx, lambda: self.num_expr(ctx)))
            seps = [self.pick(['; ', ', ', '; " "; ']) for _ in parts[1:]]
            text = 'PRINT ' + parts[0] + ''.join(s + p for s, p in zip(seps, parts[1:]))
            return text + (';' if self.chance(0.1) else '')
        if w < 0.68 and self.use_long:
            lv = self.pick(LONGS)
            c = self.r.randrange(4)
            if c == 0:
                return '%s = %s * 2 + %s' % (lv, lv, self.pick(ctx.counters or ['1']))
            if c == 1:
                return '%s = %s / 3 + %s' % (lv, self.pick(LONGS), self.literal())
            if c == 2:
                target = self.element(ctx, self.long_array, 1)
                self.guard_target(ctx, self.long_array)
                return '%s = %s + %s' % (target, lv, self.num_expr(ctx, 2, no_long=True))
            return 'PRINT %s; %s' % (lv, self.element(ctx, self.long_array, 1))
        erasable = self.all_arrays() if ctx.kind in ('main', 'msub') else \
            [a for a in self.all_arrays() if a.name in self.erased_in_calls]
        if w < 0.74 and erasable and not (self.plain_dim and (ctx.loop_depth > 0 or ctx.in_if)):
            arr = self.pick(erasable)
            grow = 0 if self.chance(0.7) else self.r.randrange(1, 3)
            text = 'ERASE %s: %s %s' % (arr.name, 'LONG' if arr.kind == 'long' else 'DIM', arr.dim_text(grow))
            if arr.kind == 'num' and len(arr.dims) == 1 and self.chance(0.5):
                text += ': %s(%d) = %s' % (arr.name, self.r.randrange(arr.dims[0]), self.literal())
            return text
        if w < 0.79:
            v = self.pick(LATE)
            return '%s = %s' % (v, self.marked(ctx, lambda: self.num_expr(ctx)))
        if w < 0.86:
            subs = self.leaf_subs + (self.main_subs if ctx.kind == 'main' and not ctx.no_calls else [])
            if subs:
                if self.chance(0.6):
                    return 'GOSUB %d' % self.pick(subs)
                lst = [str(self.pick(subs)) for _ in range(self.r.randrange(1, 4))]
                sel = self.pick(['(%s) %% 4' % self.pick(ctx.counters or ['1']), 'INT(ABS(%s)) %% 3 + 1' % self.pick(self.readable_numbers(ctx)), '1'])
                return 'ON %s GOSUB %s' % (sel, ', '.join(lst))
        if w < 0.89:
            a, b = self.r.sample(GLOBALS, 2)
            if self.chance(0.3):
                return 'SWAP %s, %s' % (self.pick(STRINGS), self.pick(STRINGS))
            return 'SWAP %s, %s' % (a, b)
        if w < 0.92 and ctx.loop_depth > 0 and ctx.counters and self.chance(0.5):
            # no BREAK in a function body: a recursive call would leave the shared
            # counter below the limit, and the caller's loop would run for ever
            exits = ['CONTINUE'] if ctx.kind == 'fnbody' else ['CONTINUE', 'BREAK', 'CONTINUE']
            return 'IF %s = %d THEN %s' % (self.pick(ctx.counters), self.r.randrange(1, 4), self.pick(exits))
        v = self.pick(GLOBALS)
        return '%s = INSTR(%s, %s)' % (v, self.str_expr(ctx), self.str_atom(ctx, 1))

    def if_stmt(self, ctx, nest=0):
        c = self.marked(ctx, lambda: self.cond(ctx))
        was_in_if, ctx.in_if = ctx.in_if, True
        then = ': '.join(self.simple_stmt(ctx) for _ in range(self.r.randrange(1, 3)))
        if nest < 1 and self.chance(0.15):
            then = self.if_stmt(ctx, nest + 1)
        text = 'IF %s THEN %s' % (c, then)
        if self.chance(0.45):
            text += ' ELSE ' + ': '.join(self.simple_stmt(ctx) for _ in range(self.r.randrange(1, 3)))
        ctx.in_if = was_in_if
        return text

    def line_stmt(self, ctx):
        """One line of one or more statements."""
        return self.short(lambda: self.any_line_stmt(ctx), 200, 'PRINT 1')

    def any_line_stmt(self, ctx):
        if self.chance(0.3):
            return self.if_stmt(ctx)
        parts = [self.simple_stmt(ctx)]
        while self.chance(0.25):
            parts.append(self.simple_stmt(ctx))
        text = ': '.join(parts)
        if self.chance(0.05):
            text += ' // ' + self.pick(['note', 'x = 1: print 2', 'the rest'])
        return text

    def comment_line(self):
        n = self.r.choice((0, 5, 20, 60, 120, 200))
        head = self.pick(['REM', 'rem', '//'])
        filler = ''.join(self.pick('abcdefgh :=+()"0123456789') for _ in range(n))
        return (head + ' ' + filler).rstrip()

    def debug_toggle(self, ctx, on):
        what = self.pick(['DEBUG', 'DEBUG TRACE', 'DEBUG', 'DEBUG TRACE']) if on else self.pick(['DEBUG OFF', 'DEBUG TRACE OFF'])
        return what

    def body(self, ctx, n, indent):
        """A list of lines (a loop body, a subroutine, a segment)."""
        lines = []
        for _ in range(n):
            w = self.r.random()
            if w < 0.07:
                lines.append(indent + self.comment_line())
            elif w < 0.17 and ctx.loop_depth < 3 and ctx.kind != 'fnbody' or (w < 0.2 and ctx.loop_depth < 1):
                lines += self.for_loop(ctx, indent)
            elif w < 0.22 and ctx.loop_depth < 3 and ctx.kind in ('main', 'msub', 'leaf'):
                lines += self.while_loop(ctx, indent)
            elif w < 0.29:
                lines += self.on_goto(ctx, indent)
            elif w < 0.32:
                lines += self.goto_loop(ctx, indent)
            elif w < 0.36 and self.debug_budget > 0 and ctx.counters and ctx.kind == 'main':
                self.debug_budget -= 1
                c = self.pick(ctx.counters)
                k = self.r.randrange(1, 4)
                lines.append(indent + 'IF %s = %d THEN %s' % (c, k, self.debug_toggle(ctx, True)))
                lines += self.body(ctx, self.r.randrange(0, 3), indent)
                lines.append(indent + 'IF %s = %d THEN %s' % (c, self.pick([k, k + 1, k - 1]), self.debug_toggle(ctx, False)))
            elif w < 0.40 and ctx.counters and self.late_arrays and ctx.kind == 'main' and not ctx.no_calls and not self.plain_dim:
                name = self.pick(sorted(self.late_arrays))
                arr = self.late_arrays[name]
                c = ctx.counters[-1]
                k = self.r.randrange(1, 3)
                lines.append(indent + 'IF %s = %d THEN ERASE %s: DIM %s: %s(1) = %s: %sok = 1' % (c, k, name, arr.dim_text(), name, c, name))
                lines += self.body(ctx, self.r.randrange(0, 2), indent)
                lines.append(indent + 'IF %sok THEN PRINT "%s"; %s; %s(1) + %s' % (
                    name, name, self.element(ctx, arr, 2), name, self.short(lambda: self.marked(ctx, lambda: self.num_expr(ctx, 1)), 100, '1')))
            else:
                lines.append(indent + self.line_stmt(ctx))
        return lines

    def new_counter(self, ctx):
        if ctx.kind == 'main':
            used = set(ctx.counters)
            for c in MAIN_COUNTERS:
                if c not in used and c not in self.used_main_counters:
                    self.used_main_counters.add(c)
                    return c
        self.counter_serial += 1
        return 'c%d' % self.counter_serial

    def for_loop(self, ctx, indent):
        c = self.new_counter(ctx)
        lo, hi = self.r.randrange(0, 2), self.r.randrange(1, 5)
        head = 'FOR %s = %d TO %d' % (c, lo, hi)
        r = self.r.random()
        if r < 0.1:
            head = 'FOR %s = %d TO %d STEP -1' % (c, hi, lo)
        elif r < 0.15:
            head = 'FOR %s = %d TO %d STEP 0.5' % (c, lo, min(hi, 2))
        elif r < 0.2:
            head = 'FOR %s = 3 TO 1' % c      # no pass: the body is only scanned
        elif r < 0.25 and ctx.kind == 'main':
            head = 'FOR %s = 1 TO INT(ABS(%s)) %% 3 + 1' % (c, self.pick(GLOBALS))
        ctx.counters.append(c)
        ctx.loop_depth += 1
        inner = self.body(ctx, self.r.randrange(1, 6), indent + '  ')
        ctx.loop_depth -= 1
        ctx.counters.pop()
        plain = len(inner) == 1 and not any(w in inner[0] for w in ('ON ', 'IF ', 'REM', 'rem', '//'))
        if self.chance(0.15) and plain and len(inner[0]) < 120 and not inner[0].lstrip()[:1].isdigit():
            return [indent + head + ': ' + inner[0].strip() + ': NEXT']
        return [indent + head] + inner + [indent + 'NEXT']

    def while_loop(self, ctx, indent, clear=False):
        self.while_serial += 1
        w = 'w%d' % self.while_serial
        k = self.r.randrange(0, 4) if not clear else 3
        if clear:
            ctx.no_calls = True
        lines = [indent + '%s = 0' % w, indent + 'WHILE %s < %d' % (w, k), indent + '  %s = %s + 1' % (w, w)]
        ctx.counters.append(w)
        ctx.loop_depth += 1
        lines += self.body(ctx, self.r.randrange(1, 5), indent + '  ')
        if clear:
            lines.append(indent + '  IF %s = 2 THEN CLEAR: %s = 2: GOSUB %d' % (w, w, self.setup_label))
            lines += self.body(ctx, self.r.randrange(1, 4), indent + '  ')
        ctx.loop_depth -= 1
        ctx.counters.pop()
        lines.append(indent + 'WEND')
        return lines

    def on_goto(self, ctx, indent):
        n = self.r.randrange(2, 4)
        labels = [self.label() for _ in range(n)]
        end = self.label()
        sel = self.pick(['(%s) %% %d + 1' % (self.pick(ctx.counters), n) if ctx.counters else '2',
                         'INT(ABS(%s)) %% %d' % (self.pick(self.readable_numbers(ctx)), n + 1), str(self.r.randrange(0, n + 1))])
        lines = [indent + 'ON %s GOTO %s' % (sel, ', '.join(map(str, labels)))]
        for i, lab in enumerate(labels):
            stmt = self.simple_stmt(ctx) if self.chance(0.7) else 'PRINT "at %d"' % lab
            lines.append('%d %s%s' % (lab, stmt, '' if i == n - 1 else ': GOTO %d' % end))
        lines.append('%d %s' % (end, self.simple_stmt(ctx)))
        return lines

    def goto_loop(self, ctx, indent):
        self.counter_serial += 1
        g = 'g%d' % self.counter_serial
        top = self.label()
        lines = [indent + '%s = 0' % g]
        ctx.counters.append(g)
        first = '%d %s = %s + 1' % (top, g, g)
        lines.append(first)
        lines += self.body_flat(ctx, indent + '  ')
        skip = self.label()
        lines.append(indent + 'IF %s = 2 GOTO %d' % (g, skip))
        lines.append(indent + self.line_stmt(ctx))
        lines.append('%d IF %s < %d THEN GOTO %d' % (skip, g, self.r.randrange(2, 4), top))
        ctx.counters.pop()
        return lines

    def body_flat(self, ctx, indent):
        return [indent + self.line_stmt(ctx) for _ in range(self.r.randrange(1, 3))]

    # ---- functions and subroutines ------------------------------------------
    def make_functions(self):
        self.functions = []
        n = self.r.randrange(1, 5)
        for i in range(n):
            form = 'gosub' if self.chance(0.65) else 'expr'
            is_str = self.chance(0.15)
            name = 'f%d%s' % (i + 1, '$' if is_str else '') if form == 'gosub' else 'e%d%s' % (i + 1, '$' if is_str else '')
            params = [self.pick(DEPTH_PARAMS)]
            for _ in range(self.r.randrange(0, 3)):
                p = STRING_PARAM if self.chance(0.2) else self.pick(OTHER_PARAMS)
                if p not in params:
                    params.append(p)
            self.functions.append(Function(name, params, form, i))

    def fn_body_sub(self, fn):
        """The subroutine of a GOSUB-form function: a base case, statements, RETURN."""
        ctx = Ctx('fnbody', fn)
        d = fn.params[0]
        lab = self.sub_label()
        fn.line = lab
        ctx.calls_left = 0
        value = lambda: self.marked(ctx, lambda: self.str_expr(ctx) if fn.is_string else self.num_expr(ctx))  # noqa: E731
        base = self.short(value, 150, '""' if fn.is_string else '1')
        lines = ['%d IF %s <= 0 THEN RETURN %s' % (lab, d, base)]
        debug_at = None
        if self.debug_budget > 0 and self.chance(0.5):
            self.debug_budget -= 1
            debug_at = self.r.randrange(1, 3)
            lines.append('  IF %s = %d THEN %s' % (d, debug_at, self.debug_toggle(ctx, True)))
        erasable = [a for a in self.num_arrays if a.name in self.erased_in_calls]
        if erasable and self.chance(0.5):
            arr = self.pick(erasable)
            lines.append('  ERASE %s: DIM %s' % (arr.name, arr.dim_text()) + (': %s(1) = 100' % arr.name if len(arr.dims) == 1 else ''))
        lines += self.body(ctx, self.r.randrange(0, 4), '  ')
        if self.chance(0.3):
            ctx.calls_left = 1
            lines.append('  IF %s THEN RETURN %s' % (self.short(lambda: self.cond(ctx), 80, '0'), self.short(value, 120, '""' if fn.is_string else '2')))
        if self.chance(0.3):
            lines.append('  ' + self.comment_line())
        if debug_at is not None:
            lines.append('  IF %s = %d THEN %s' % (d, debug_at, self.debug_toggle(ctx, False)))
        ctx.calls_left = 2
        ret = self.short(value, 200, MARK + ('s$' if fn.is_string else 'x + 1'))
        lines.append('  RETURN ' + ret)
        return lab, lines

    def fn_expr_body(self, fn):
        ctx = Ctx('fnexpr', fn)
        ctx.calls_left = 2
        for _ in range(10):
            text = self.str_expr(ctx) if fn.is_string else self.num_expr(ctx)
            if len(text) < 180:
                return text
            ctx.calls_left = 2
        return fn.params[0] if not fn.is_string else '"e"'

    def leaf_sub(self):
        ctx = Ctx('leaf')
        lab = self.sub_label()
        lines = self.body(ctx, self.r.randrange(1, 4), '  ')
        lines[0] = '%d %s' % (lab, lines[0].strip()) if not lines[0].lstrip()[:1].isdigit() else lines[0]
        if lines[0].lstrip()[:1].isdigit() and not lines[0].startswith(str(lab)):
            lines.insert(0, '%d REM' % lab)
        lines.append('  RETURN')
        return lab, lines

    def main_sub(self):
        ctx = Ctx('msub')
        lab = self.sub_label()
        lines = ['%d %s' % (lab, self.line_stmt(ctx))] + self.body(ctx, self.r.randrange(0, 3), '  ') + ['  RETURN']
        return lab, lines

    def all_arrays(self):
        return self.num_arrays + [self.str_array] + ([self.long_array] if self.use_long else [])

    def setup_lines(self):
        """Declarations, also run again after CLEAR."""
        order = self.all_arrays()
        self.r.shuffle(order)
        lines = []
        if self.use_long:
            lines.append('LONG %s' % ', '.join(LONGS))
        dims = [a for a in order if a.kind != 'long']
        lines.append('DIM ' + ', '.join(a.dim_text() for a in dims))
        if self.use_long:
            lines.append('LONG ' + self.long_array.dim_text())
        return lines

    # ---- the whole program --------------------------------------------------
    def program(self):
        r = self.r
        names = ['p', 'q', 'r', 'h', 'u']
        r.shuffle(names)
        self.num_arrays = [Array(names[0], [r.randrange(3, 8)], 'num'), Array(names[1], [r.randrange(2, 6)], 'num')]
        if self.chance(0.6):
            self.num_arrays.append(Array(names[2], [r.randrange(3, 8)], 'num'))
        if self.chance(0.5):
            self.num_arrays.append(Array('mm', [r.randrange(2, 4), r.randrange(2, 5)], 'num'))
        self.str_array = Array('w$', [r.randrange(3, 6)], 'str')
        self.long_array = Array('lz', [r.randrange(2, 5)], 'long')
        if self.chance(0.5):
            self.late_arrays['zz'] = Array('zz', [r.randrange(2, 5)], 'num')
        # the arrays that function bodies (and the subroutines they call) may erase
        self.erased_in_calls = {a.name for a in self.all_arrays() if self.chance(0.5)}
        self.used_main_counters = set()
        self.make_functions()
        self.setup_label = self.sub_label()

        # subroutines first (the main code calls them), then the functions' bodies
        for _ in range(r.randrange(0, 3)):
            lab, lines = self.leaf_sub()
            self.leaf_subs.append(lab)
            self.subs.append(lines)
        for _ in range(r.randrange(0, 2)):
            lab, lines = self.main_sub()
            self.main_subs.append(lab)
            self.subs.append(lines)
        for fn in self.functions:
            if fn.form == 'gosub':
                lab, lines = self.fn_body_sub(fn)
                self.subs.append(lines)
            else:
                fn.body = self.fn_expr_body(fn)
        self.r.shuffle(self.subs)
        self.subs.append(['%d REM declarations again after CLEAR' % self.setup_label] +
                         ['  ' + l for l in self.setup_lines()] + ['  RETURN'])

        defs = []
        for fn in self.functions:
            body = 'GOSUB %d' % fn.line if fn.form == 'gosub' else fn.body
            defs.append('DEF %s(%s) = %s' % (fn.name, ', '.join(fn.params), body))

        main = []
        main += self.setup_lines()
        if self.chance(0.7):
            main += defs
            defs = []
        main.append('s$ = "abc": t$ = "": u$ = "B": x = 1: n = 2: m = 3: z = 0: r$ = "rr"')
        if self.chance(0.25):
            # divisions by zero and results out of range give NaN and infinities that flow on
            main.append('DEBUG MATHERROK')
        ctx = Ctx('main')
        for seg in range(r.randrange(2, 6)):
            w = r.random()
            if w < 0.6:
                main += self.for_loop(ctx, '')
            elif w < 0.7:
                main += self.while_loop(ctx, '')
            elif w < 0.8:
                main += self.goto_loop(ctx, '')
            else:
                main += self.body(ctx, r.randrange(1, 4), '')
            if defs and self.chance(0.3):
                main += defs
                defs = []
            if self.chance(0.2):
                main += [self.comment_line() for _ in range(r.randrange(1, 6))]
        if self.chance(0.15):
            main += self.while_loop(ctx, '', clear=True)
        main += ['DEBUG OFF', 'DEBUG TRACE OFF']
        main.append('PRINT %s' % '; '.join(GLOBALS + MAIN_ONLY + LATE))
        main.append('PRINT %s' % '; " "; '.join(STRINGS + ['w$(0)', 'w$(1)']))
        for arr in self.num_arrays:
            main.append('PRINT "%s"; %s' % (arr.name, '; '.join('%s(%s)' % (arr.name, ', '.join([str(i)] + ['0'] * (len(arr.dims) - 1)))
                                                             for i in range(arr.dims[0]))))
        if self.use_long:
            main.append('PRINT %s; " "; %s; " "; lz(0); " "; lz(1)' % tuple(LONGS))
        if self.chance(0.3):
            main.append('PRINTALL')  # the tables, and the peak of the temporary strings
        main.append('END')
        main += defs
        return main, self.subs


def place_with_alignment(r, main, subs):
    """Joins the main text and the subroutines, putting comment runs between
    them so that an expression in each of some subroutines starts a chosen
    distance (a power of two, now and then a few bytes off) after an
    expression met earlier in the text. Returns the program text."""
    text, marks = '', []          # marks: (offset, calls a GOSUB-form function)

    def append(chunk_lines, align):
        nonlocal text
        chunk = ''
        chunk_marks = []
        for line in chunk_lines:
            out = ''
            for ch in line:
                if ch in (MARK, MARK_CALL):
                    chunk_marks.append((len(chunk) + len(out), ch == MARK_CALL))
                else:
                    out += ch
            chunk += out + '\n'
        if align and marks and chunk_marks:
            calling = [m for m in marks if m[1]]
            a = r.choice(calling if calling and r.random() < 0.8 else marks)[0]
            b = r.choice(chunk_marks)[0]
            base = r.choice((256, 1024, 2048, 2048, 2048, 4096, 8192))
            delta = 0 if r.random() < 0.8 else r.randrange(-3, 4)
            pad = (a + base + delta - (len(text) + b)) % base
            if len(text) + pad + len(chunk) < 60000:
                text += padding(r, pad)
        marks.extend((len(text) + off, c) for off, c in chunk_marks)
        text += chunk

    append(main, False)
    for s in subs:
        append(s, r.random() < 0.6)
    return text


def padding(r, size):
    """Exactly size bytes of comment lines and empty lines."""
    out = []
    while size > 0:
        if size < 5:
            out.append('\n' * size)
            break
        n = min(size, r.randrange(5, 200))
        if size - n in (1, 2, 3, 4) and n > 10:
            n -= 5
        head = r.choice(('REM ', 'rem ', '// '))
        body = ''.join(r.choice('abcdefghij :=+-*()0123456789') for _ in range(n - len(head) - 1))
        line = (head + body)[:n - 1]
        out.append(line + '\n')
        size -= n
    return ''.join(out)


def generate(seed, plain_dim=False, assign_over_erase=False):
    g = Gen(seed, plain_dim, assign_over_erase)
    for _ in range(20):
        main, subs = g.program()
        if all(len(l.replace(MARK, '').replace(MARK_CALL, '')) < 240 for l in main + [x for s in subs for x in s]):
            break
        g = Gen(seed * 7919 + _ + 1, plain_dim, assign_over_erase)
    return place_with_alignment(random.Random(seed ^ 0x5EED), main, subs)


def main():
    ap = argparse.ArgumentParser(description=__doc__.split('\n')[0])
    ap.add_argument('--seed', type=int, default=1)
    ap.add_argument('--count', type=int, default=1)
    ap.add_argument('--plain-dim', action='store_true', help='DIM and LONG only where they run')
    ap.add_argument('--assign-over-erase', action='store_true',
                    help='element assignments whose right side calls a function that erases the array')
    args = ap.parse_args()
    for s in range(args.seed, args.seed + args.count):
        if args.count > 1:
            print('// seed %d' % s)
        print(generate(s, args.plain_dim, args.assign_over_erase), end='')


if __name__ == '__main__':
    main()
