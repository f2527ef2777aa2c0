// Expression evaluation: collects items with get_item, reduces them in seven
// precedence passes, and leaves the value in an accumulator.
#pragma once
#include <cstdint>
#include <string_view>

#include "interpreter/item.h"
#include "interpreter/memo.h"

struct array_entry;
union value_slot;

constexpr int max_expression_items = 49;
constexpr int max_parameters = 7;

// Nesting of evaluations through "(" items, "@(" names and argument lists
// (the indent of DEBUG output).
extern int expression_depth;
// Entries of evaluate_expression now running, however they were reached
// (parentheses, arguments, user-defined function bodies). A user-defined
// function call is refused (216) once this reaches evaluation_depth_limit, so
// that recursion through nested parentheses ends with an error long before
// the stack runs out; a single line's parentheses stay far below the limit.
extern int evaluation_depth;
constexpr int evaluation_depth_limit = 1000;
// After an evaluation that gave ITEM_NUMERIC_TEXT: true, with the text's
// value in double_accumulator (as result_to_double would leave it), when that
// evaluation, entered at the caller's depth, delivered a remembered lone
// literal (digits only, so its value is exact and known); false, with
// nothing changed, otherwise. Only for the caller that evaluated last.
bool small_literal_result();
// The array entry of a one-item expression that was a string with an entry, a
// whole string array or a whole numeric array; else null.
extern array_entry* last_array_entry;

// The item that ended the last expression evaluated, when it was a statement
// keyword (THEN, TO, STEP, ...): the scanner was left on it, with the state
// reading it left (the name, the character behind it), so a caller that
// reads that keyword next may take it from here instead. valid is false when
// the expression ended otherwise.
struct ending_keyword {
  bool valid = false;
  const char* line = nullptr;    // line_start of the line it stands in
  const char* at = nullptr;      // where the keyword starts
  const char* behind = nullptr;  // the scanner behind it
  std::int64_t token = 0;
};
extern ending_keyword expression_ending;

// Evaluates the expression at scan_pointer. flags go to every get_item: 0
// plain, 1 ends at ")" (consumed), 2 ends at "," or ";" (consumed), 3 both.
// Returns 2 (double_accumulator), 3 or 16 (string_accumulator), 14
// (long_accumulator), 13 or 20 (last_array_entry), 0 for an empty
// expression, or a negative error.
int evaluate_expression(int flags);
// evaluate_expression, then releases the temporary strings and longs it took
// and restores long_precision; the value stays in the accumulators.
int evaluate_expression_release_temps(int flags);
// Reads "(" arg, ... ")" into list (room for max_parameters items). Returns 0
// with *count set, or a negative error.
int get_parameter_list(int* count, expr_item* list);
// 1 or 0, or a negative error (39).
int item_truth_value(expr_item& item);
// The comparison pass over an item table; returns the new count or a negative error.
int do_comparisons(expr_item* table, int count, int* changed);
// Deletes n items at index; returns the new count.
int remove_items(expr_item* table, int index, int count, int n, int* changed);

// What remembered_plain_value found: the value, and what the general road
// leaves behind in the scanner's state when it evaluates the expression.
struct plain_value {
  double value;
  std::uint32_t first_column;   // the column of the expression's first item
  std::uint16_t end_column;     // where the item that ends it starts in the line
  bool lone_literal;            // a lone literal (its result is its text)
  bool has_variable;            // a variable or a parameter of the running call
  char after;                   // char_after_name of its last variable
  value_slot* slot;             // the slot of its last variable
  std::uint16_t literal_column; // its last literal, in the line
  std::uint8_t literal_length;  // 0: none
  std::uint32_t literal_bytes;  // the temporary-string bytes its literals take
  // A lone string variable or string literal: its text (in the string space
  // or the line), and no double value. literal_bytes is then the room its
  // evaluation takes for the text.
  bool is_string;
  std::uint8_t text_length;
  const char* text;
};
// The value of the remembered expression at key (the scanner's memo key, as
// evaluate_expression would get it under flags) when it still holds and is
// made of double variables, double parameters of the running call, small
// integer literals, + - * / and comparisons only, and the one pass computes
// it exactly (while skipping, the value is 0 and nothing is computed);
// nothing is changed. With strings allowed, also a lone string variable or
// string literal (never while skipping). False otherwise: the expression is
// then evaluated as usual.
bool remembered_plain_value(memo_key key, int flags, plain_value& out, bool strings = false);

// A remembered plain expression taken apart once for a statement the
// statement loop runs from memory (remembered_statements.h): its operands
// (double variables, numeric literals, double array elements whose
// subscripts are plain expressions of variables and literals, ABS, FIX, INT,
// CINT and SGN of such an expression, LEN, ASC and INSTR of texts) and
// operators (+ - * / and comparisons), read by index without a search. It holds while
// the memo stamp it was made under holds and the modes leave doubles alone.
constexpr int compiled_items_max = 9;       // the expression's own items
constexpr int compiled_subscripts_max = 12; // its elements' subscripts: a count cell, then the items
struct compiled_item {
  std::uint8_t kind;
  char op;              // an operator's character or a comparison's code
  std::uint8_t first;   // an element: where its subscripts start in subscripts
  std::uint8_t count;   // an element: its subscripts; a count cell: the subscript's items
  std::int32_t index;   // a variable's or an array's
  double value;         // a literal's
};
struct compiled_value {
  std::uint8_t count = 0;
  bool lone_literal = false;   // its result is a lone literal's text (value: its remembered value)
  std::uint32_t first_column = 0;  // the first item's column
  std::uint8_t subscripts_used = 0;
  std::uint16_t end_column = 0;  // where the item that ends it starts in the line
  // The most temporary-string bytes reading its items takes above the level
  // it starts at (the literals' texts, the subscripts' lists), and the bytes
  // the one pass asks to be free before it reads them (at least room).
  std::uint32_t room = 0;
  std::uint32_t need = 0;
  compiled_item items[compiled_items_max];
  compiled_item subscripts[compiled_subscripts_max];
};
// Takes apart the remembered expression at key (read under flags) into out,
// its elements' subscripts added to out's: false when it is not such an
// expression now.
bool compile_remembered_value(memo_key key, int flags, compiled_value& out);
// Takes apart the element name(subscripts) at name_at (name_length
// characters, array_index its array) into element, its subscripts added to
// pool's; after is set behind the ")" and room to what its list takes.
bool compile_element(const char* name_at, std::size_t name_length, int array_index, compiled_value& pool,
                     compiled_item& element, const char*& after, std::uint32_t& room);
// Takes apart the remembered join of strings at key (read with no flags):
// string variables, string literals and calls of CHR$, LEFT$, RIGHT$ and
// MID$ whose arguments are plain expressions, string variables or string
// literals, joined by "+". False when it is not such a join now.
bool compile_remembered_join(memo_key key, compiled_value& out);
// Evaluates a compiled join as the one pass over a remembered join does,
// leaving what it leaves for the assignment that stores it: the joined text
// in the string accumulator, the temporary strings' peak raised as reading
// its items raises it, the error column at its first item. False, with
// nothing changed, when the one pass would not take it (room short) or a
// call would report something.
bool take_compiled_join(const compiled_value& value);
// The value of a compiled expression now, changing nothing, with the room
// its reading takes in the temporary strings and the room it asks to be free
// (room and need of the value, and more where LEN, ASC or INSTR read texts):
// false when the one pass cannot give it exactly (an element out of range, a
// division by zero, a result that is not finite, the modes changed).
bool compiled_value_of(const compiled_value& value, double& out, std::uint64_t& room, std::uint64_t& need);
// The slot of a compiled element now, or null when it is out of range.
value_slot* compiled_element_slot(const compiled_value& pool, const compiled_item& element);


// Test and tool entry point: evaluates text as one expression outside any
// program (the scan state is saved and restored). Returns the result code as
// evaluate_expression_release_temps does; the value is in the accumulators.
int evaluate_expression_text(std::string_view text);
