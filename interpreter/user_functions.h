// User-defined functions: DEF, the function table and calls.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "interpreter/item.h"
#include "interpreter/variables.h"

constexpr int user_function_capacity = 40;
constexpr int user_function_max_params = 7;
constexpr int user_call_depth_limit = 200;  // at most 199 calls nested
constexpr std::size_t user_function_name_max = 60;
constexpr std::size_t user_function_body_max = 255;  // body text shorter than 256

// One parameter as written in the definition; its value lives in the frame of
// each running call (user_call_frame), so a recursive call never overwrites
// the values of the call that encloses it.
struct user_function_param {
  char name[user_function_name_max + 1];
  std::uint32_t type;  // 2 double, 3 string, 14 long (as declared)
};

// One definition: DEF name(p1, ..., pn) = expression | GOSUB n.
struct user_function {
  char name[user_function_name_max + 1];
  std::uint32_t param_count;
  user_function_param params[user_function_max_params];
  char body[user_function_body_max + 1];  // from the first non-blank after "=" to the line end
  std::uint32_t kind;                     // 0 expression form, 1 subroutine form
  // Where a body defined in the pre-scanned text is remembered (memo.h):
  // the line origin its text takes, 0 for none, and the memo epoch it holds in.
  std::uint32_t text_origin;
  std::uint32_t text_epoch;
};

// The value of one parameter in one running call: its type for this call
// and an 8-byte value shaped like a variable's (a double, a temporary-string
// offset, or a temporary long owned by the call's argument list).
struct user_param_value {
  std::uint32_t type;  // 2, 3 or 14 for this call
  value_slot value;
};

// One running call, linked innermost first.
struct user_call_frame {
  user_function* function;
  user_param_value params[user_function_max_params];
  user_call_frame* outer;
  std::uint32_t double_params;  // bit i set: parameter i holds a double in this call
  std::uint32_t index;          // of the definition in user_function_table
};

extern user_function* user_function_table[user_function_capacity];
extern int user_function_count;
extern int user_function_index;       // definition the item scanner found for the call being made
extern user_call_frame* user_call_chain;  // innermost running call, null when none
extern int user_call_depth;
extern int user_call_too_deep;

// Index of the definition named name (compared without case), or -1.
int find_user_function(const char* name);

// Looks name up among the parameters of the running calls, innermost first.
// Returns the type (2, 3 or 14) with *slot at the parameter's 8-byte value
// (for a string: a temporary-string offset), or 0 when none matches.
int find_user_function_parameter(const char* name, value_slot** slot);
// Whether some definition has a parameter named name (compared without
// case): a running call of it would hide a variable of the name.
bool is_user_function_parameter_name(std::string_view name);
// 1 when slot is the value slot of a parameter of a running call.
int is_user_function_parameter_slot(const void* slot);

// Frees every definition and empties the table, the chain and the depth
// (pre-scan start and the CLEAR command).
void clear_user_functions();
// Clears the depth and the too-deep flag when no call runs (statement start).
inline void user_call_reset_if_idle() {
  if (user_call_chain) return;
  user_call_depth = 0;
  user_call_too_deep = 0;
}

// DEF statement (statement token 3): checks the definition; in the pre-scan
// adds it to the table. Returns 0 or a negative error.
int stmt_def_statement();
// Parses a DEF at scan_pointer into a new record stored through *record.
// Returns 0 or a negative error; in the pre-scan the record joins the table
// (and *record is then owned by the table).
int stmt_def(user_function** record);
// Runs the body of a subroutine-form function (the scanner stands on it).
// Returns return_value_type or a negative error.
int run_def_gosub_body();

// The call: do_function token 41 with the call's arguments.
int call_user_function(expr_item* arguments, int count);

// Prints the call's function, body and parameter values on the screen channel.
void trace_user_function(const user_function* function, const user_call_frame* frame);
