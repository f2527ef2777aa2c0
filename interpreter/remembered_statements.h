// Whole statements the statement loop knows: an assignment of a double
// variable or element whose right side and target are made only of remembered
// plain parts (double variables, double elements with plain subscripts,
// numeric literals, + - * / and comparisons, ABS, FIX, INT, CINT and SGN,
// LEN, ASC and INSTR of texts and of one CHR$, LEFT$, RIGHT$ or MID$ call)
// runs from what is remembered of it, without reading its items again, once
// it has run on the general road under the same memo stamp. So does the
// assignment of a string variable from a join of string variables, string
// literals and CHR$, LEFT$, RIGHT$ and MID$ calls of such parts, and so is
// the condition of an IF made of plain parts taken (the IF's statements
// behind it then run as before).
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
// it and its result (0, or the negative code of an error it reported, as
// storing a string may) in remembered_statement_result. False, with nothing
// changed, otherwise.
bool run_remembered_assignment(memo_key key);
extern int remembered_statement_result;

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

// What run_remembered_condition did with the condition at scan_pointer.
enum condition_road {
  CONDITION_TAKEN,    // its truth and keyword were taken from memory
  CONDITION_GENERAL,  // the general road evaluates it; nothing is to be noted
  CONDITION_UNKNOWN,  // the general road evaluates it; note it (remember_condition)
};

// The condition of a running IF, starting at scan_pointer (behind the IF),
// taken from what is remembered of it where that may be done: its truth
// (1 or 0), the token of the keyword that ends it (THEN, ELSE or GOTO) and
// where that keyword ends; the scanner then stands on the keyword.
condition_road run_remembered_condition(int& truth, std::int32_t& keyword, const char*& behind_keyword);

// The condition of a running IF that started at start under stamp, with
// nothing remembered of it, was evaluated on the general road and ended on
// the keyword keyword (its token), which starts at keyword_at and ends at
// behind_keyword: it is remembered as one that may be taken from memory when
// it has that form, and otherwise as one that may not.
void remember_condition(const char* start, memo_stamp stamp, std::int32_t keyword, const char* keyword_at,
                        const char* behind_keyword);
