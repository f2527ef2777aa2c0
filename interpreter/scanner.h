// The item scanner: get_item, the interpreter's only lexer and name resolver,
// and the literal scanners it uses.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "interpreter/expression.h"
#include "interpreter/item.h"
#include "interpreter/memo.h"
#include "interpreter/run_state.h"
#include "interpreter/variables.h"

// get_item flags (bits; they combine).
constexpr int GI_IN_PARENS = 1;              // ")" ends the list with 0; line end is error 82
constexpr int GI_LIST = 2;                   // "," or ";" is consumed and gives 0
constexpr int GI_STATEMENT_START = 8;        // every statement keyword; values unevaluated; literals 8/9
constexpr int GI_DIM = 16;                   // name "(" creates an array
constexpr int GI_NAME_ONLY = 32;             // copy the scanned name to string_accumulator, result 0
constexpr int GI_DATA_VALUE = 64;            // read the whole item with scan_data_value
constexpr int GI_LOOKUP_ONLY = 128;          // keywords unevaluated, nothing created; missing names 18 or -1
constexpr int GI_LONG = 0x100;               // declare long variables and arrays
constexpr int GI_UNEVALUATED = 0x200;        // keywords unevaluated; "(" and non-names give -1
constexpr int GI_NUMBER_THEN_TEXT = 0x400;   // with 64: a number followed by text gives 22
constexpr int GI_WORD = 0x800;               // with 64: unquoted text stops at blank or "="
constexpr int GI_DEF_NAME = 0x1000;          // DEF name: free or DEF names give 18

constexpr int max_name_length = 60;
// Holds a name of 60 characters with six subscripts of up to eleven
// characters each, their commas and parentheses, and a NUL.
constexpr std::size_t current_name_size = 160;

extern char current_name[current_name_size];  // name found; elements with their subscripts
extern char char_after_name;                  // next non-blank character after the name
extern int item_is_parameter;                 // 1 when the item is a user-function parameter
// A FIELD variable at statement start.
extern std::uint32_t field_target_start;
extern std::uint32_t field_target_width;
extern int field_target_file;  // -1 for a FIELD on a string variable

// Set before a get_item whose caller reads another item before anything
// looks at current_name: an array element it reads then may leave its name
// ("a(3)") out. Each get_item clears it on entry.
extern bool element_name_unused;

// Reads the array element whose name (name_length characters, then "(")
// starts at scan_pointer, as get_item reads it, where the caller knows the
// name stands for the array at array_index (nothing was added or erased since
// it was found there) and reads another item before anything looks at
// current_name.
int get_element_item(expr_item& item, int array_index, std::size_t name_length, int flags);

// get_item(item, GI_STATEMENT_START), except that a simple double or string
// variable the scanner remembers, followed by "=" and not a parameter, gives
// double_target_item or string_target_item (the item and the scan state as
// get_item leaves them for it, ITEM_DOUBLE or ITEM_STRING).
constexpr int double_target_item = 0x7000;
constexpr int string_target_item = 0x7001;
// At a statement start: an assignment that ran whole from what is
// remembered of it (remembered_statements.h); the scanner stands behind it.
constexpr int remembered_statement_item = 0x7002;
int get_statement_item(expr_item& item);

// The name get_item gives the element at slot of the array shape describes
// ("a(3,4)"): what current_name held when the element was read, where its
// caller read it without the name.
std::string element_name_of(const array_entry& shape, const value_slot* slot);

// A list "(" expression, ... ")" whose expressions are all
// remembered plain expressions (remembered_plain_value), as get_parameter_list
// would read it.
// (Plain data, filled by the reading: it is made on every remembered
// element and call, so nothing is cleared in advance.)
struct remembered_list {
  int count;
  plain_value values[max_parameters];
  const char* after;  // behind the ")"
  // The temporary strings the list takes on the general road: the literals'
  // texts, and a lone literal's or a string's text once more as the list
  // keeps it.
  std::uint64_t temp_bytes;
};

// A double array element, written as name(...) at name_at, whose subscripts
// are a list of remembered plain expressions in the array's range: what
// reading it finds.
struct plain_element {
  remembered_list list;
  array_entry* entry;
  value_slot* slot;
  bool has_text;  // a subscript leaves a literal's text in the string accumulator
};
// Finds the element at name_at (name_length characters, the array at
// array_index) as get_element_item would read it, changing nothing. False
// when it is not such an element (get_element_item then reads it).
bool peek_plain_element(const char* name_at, std::size_t name_length, int array_index, plain_element& out);
// Finds, changing nothing, whether the built-in call at name_at (name_length
// characters, then its list) has one argument, a remembered plain double
// expression, the statement running (out.list and out.has_text set).
bool peek_plain_call(const char* name_at, std::size_t name_length, plain_element& out);
// The same for a call whose arguments, any number of them, are remembered
// plain double expressions, lone string variables or string literals.
bool peek_list_call(const char* name_at, std::size_t name_length, plain_element& out);
// Runs the call peek_plain_call or peek_list_call found, function token, as
// get_function_item reads and runs it: its result type (its value in result)
// or a negative reported code.
int take_plain_call(const plain_element& call, const char* name_at, std::size_t name_length, int token,
                    double& result);
// What the remembered first item of a statement at name_at names as the
// target of an assignment, outside any user-function call, found changing
// nothing: a simple double variable (array false) or an element of a double
// array, its table index and the length of its name. False when the item
// memo holds none of these.
struct assignment_target_name {
  bool array;
  bool string;  // a simple string variable
  std::int32_t index;
  std::uint8_t length;
};
bool peek_assignment_target(const char* name_at, assignment_target_name& out);
// Leaves the scan state as get_element_item leaves it for the element found
// (the scanner's position aside: the caller moves on itself).
void take_plain_element(const plain_element& element, const char* name_at, std::size_t name_length);

// Reads the built-in function call whose name (name_length characters, then
// "(") starts at scan_pointer, as get_item reads it, where the caller knows
// the name stands for the function token (nothing that names resolve
// through changed since it was found there).
int get_function_item(expr_item& item, int token, std::size_t name_length);

// The built-in function token the item memo holds for the name at
// item_start, read under flags, with "(" behind the name (name_length set);
// -1 when it holds none.
int remembered_function_token(const char* item_start, int flags, std::size_t& name_length);

// Reads one item at scan_pointer. Returns its item type, 0, 8, 9, 18 or 22,
// or a negative error code (already reported, or -1 silently where the flags
// say so).
int get_item(expr_item& item, int flags);
// Advances scan_pointer over blanks and tabs (not past line_end); returns the
// character there (0 at line_end). Inline: it runs around every item.
inline char skip_blanks() {
  const char* p = scan_pointer;
  if (!p) return '\0';
  const char* const end = line_end;
  while (p < end && (*p == ' ' || *p == '\t')) ++p;
  scan_pointer = p;
  return p < end ? *p : '\0';  // a NUL in the text reads as the line end
}
// The first place at or behind p, in the current line, that holds no blank
// or tab (line_end at most).
inline const char* blanks_passed(const char* p) {
  while (p < line_end && (*p == ' ' || *p == '\t')) ++p;
  return p;
}
// The next character that is not a blank or tab, without moving (0 at line_end).
inline char peek_nonblank() {
  const char* p = scan_pointer;
  if (!p) return '\0';
  const char* const end = line_end;
  while (p < end && (*p == ' ' || *p == '\t')) ++p;
  return p < end ? *p : '\0';
}
// Literal scanners: each returns 0 when the text at scan_pointer is not its
// kind, else its result (16/8, 3/9, or the DATA value's type) or a negative error.
int scan_number_literal(expr_item& item, int flags);
int scan_string_literal(expr_item& item, int flags);
int scan_data_value(expr_item& item, int flags);

// Points line_start, statement_start, scan_pointer and line_end at a private
// copy of text for the scope's lifetime and puts the previous scan state back
// when it ends.
class scan_text_scope {
 public:
  explicit scan_text_scope(std::string_view text);
  ~scan_text_scope();
  scan_text_scope(const scan_text_scope&) = delete;
  scan_text_scope& operator=(const scan_text_scope&) = delete;

 private:
  std::string text_;
  scan_text_guard scan_;  // after text_: it points into the copy
};

// Scans one item from a separate text (a stored name, "sincalctime(3)"): the
// line and scan state point at a copy of the text for the call and are
// restored afterwards, so error reports echo that text.
int get_item_from_text(const char* text, int flags, expr_item& item);

// The column of scan_pointer from statement_start (0 when outside it).
inline std::uint32_t scan_column() {
  if (!scan_pointer || !statement_start) return 0;
  auto here = reinterpret_cast<std::uintptr_t>(scan_pointer);
  auto start = reinterpret_cast<std::uintptr_t>(statement_start);
  if (here < start || here - start > 0xFFFF) return 0;
  return static_cast<std::uint32_t>(here - start);
}

// The key under which work done at scan_pointer may be remembered (memo.h:
// its offset in the pre-scanned program text and the text's epoch), or 0
// when it may not: another text, flags beyond plain evaluation and lists,
// the memos off, DEBUG, TRACE, stepping or the pre-scan.
memo_key scan_memo_key(int flags);
