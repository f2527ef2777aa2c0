// Whole statements the statement loop knows: an assignment of a double
// variable or element whose right side and target are made only of remembered
// plain parts (double variables, double elements with plain subscripts,
// numeric literals, + - * / and comparisons) runs from what is remembered of
// it, without reading its items again, once it has run on the general road
// under the same memo stamp.
//
// Nothing reads the scan state such an assignment leaves (its accumulators,
// the name read last, the slot it names, the error column) before another
// statement replaces it; what the assignment does change besides the target
// is kept: the math error flag cleared, the expression depth reset, the peak
// of the temporary strings raised as reading its items raises it. It runs
// only where nothing could tell the difference: outside any user-function
// call (a GOSUB-form function's caller reads the value its RETURN left in
// the accumulators), not skipping, nothing watching, the memos on. Anything
// the remembered form cannot do exactly (an element out of range, a division
// by zero, a result that is not finite, room short in the temporary strings)
// is left to the general road, which reports it.
#pragma once
#include "interpreter/memo.h"

// Runs the assignment whose target's name starts at scan_pointer (the first
// item of a statement; key its item key) from what is remembered of it,
// where that may be done: true when it ran, the scanner then standing behind
// it. False, with nothing changed, otherwise.
bool run_remembered_assignment(memo_key key);

// The key run_remembered_assignment last found nothing remembered for (0
// when it found something); the statement loop clears it before each
// statement.
extern memo_key unremembered_assignment;

// The assignment of a double variable or element whose target's name starts
// at name_at, begun under stamp, ran on the general road to its end: where
// nothing is remembered of it (unremembered_assignment), it is remembered as
// one that may run from memory when it has that form, and otherwise as one
// that may not.
void remember_assignment(const char* name_at, memo_stamp stamp);
