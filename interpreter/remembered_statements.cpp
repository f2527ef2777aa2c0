#include "interpreter/remembered_statements.h"

#include <algorithm>
#include <cstdint>

#include "interpreter/expression.h"
#include "interpreter/run_state.h"
#include "interpreter/scanner.h"
#include "interpreter/user_functions.h"
#include "interpreter/variables.h"
#include "rizozira/long_number.h"

namespace {

enum statement_kind : std::uint8_t {
  STATEMENT_OTHER,            // runs on the general road
  STATEMENT_DOUBLE_VARIABLE,  // name = plain right side
  STATEMENT_DOUBLE_ELEMENT,   // name(plain subscripts) = plain right side
  STATEMENT_STRING_VARIABLE,  // name$ = join of strings
  STATEMENT_CONDITION,        // IF plain condition THEN, ELSE or GOTO
};

// What is known of the assignment whose target's name starts at a text
// offset, or of the IF condition that starts there, under the stamp it ran
// under. Columns are in the statement's line.
struct statement_memo {
  statement_kind kind = STATEMENT_OTHER;
  std::int32_t variable = 0;         // the target variable's index
  std::int32_t keyword = 0;          // a condition: the token of the keyword that ends it
  std::uint16_t behind_keyword = 0;  // a condition: where that keyword ends
  compiled_item element{};           // the target element (its subscripts in value's)
  // The right side or the condition; the statement ends where it does (at
  // ":" or the line's end behind blanks, or at the condition's keyword).
  compiled_value value;
};

memo_table<statement_memo, 4096> statement_memos;

}  // namespace

memo_key unremembered_assignment = 0;
int remembered_statement_result = 0;

bool run_remembered_assignment(memo_key key) {
  // (Passed over or inside a call, an assignment is neither run from memory
  // nor remembered.)
  if (no_execute || user_call_chain != nullptr) return false;
  const statement_memo* known = statement_memos.find(key);
  if (!known) {
    unremembered_assignment = key;
    return false;
  }
  // (Conditions share the table: only an assignment's entry runs here.)
  if (known->kind == STATEMENT_OTHER || known->kind == STATEMENT_CONDITION) return false;
  if (known->kind == STATEMENT_STRING_VARIABLE) {
    // The join leaves its text where the general road leaves it, and the
    // text is stored as the general road stores it.
    if (!take_compiled_join(known->value)) return false;
    math_error_flag = 0;
    expression_depth = 0;
    remembered_statement_result = assign_string_variable(&variable_table[known->variable].value, 0);
    if (remembered_statement_result > 0) remembered_statement_result = 0;
    scan_pointer = line_start + known->value.end_column;
    return true;
  }
  double value = 0;
  std::uint64_t room = 0, need = 0;
  if (!compiled_value_of(known->value, value, room, need)) return false;
  value_slot* slot;
  if (known->kind == STATEMENT_DOUBLE_ELEMENT) {
    slot = compiled_element_slot(known->value, known->element);
    if (!slot) return false;
  } else {
    slot = &variable_table[known->variable].value;
  }
  const std::uint64_t reach = temp_strings_used + room;
  if (temp_strings_used + need > temp_strings_size) return false;
  slot->number = value;
  math_error_flag = 0;
  expression_depth = 0;
  if (reach > temp_strings_peak) temp_strings_peak = static_cast<std::uint32_t>(reach);
  scan_pointer = line_start + known->value.end_column;
  remembered_statement_result = 0;
  return true;
}

void remember_assignment(const char* name_at, memo_stamp stamp) {
  if (unremembered_assignment == 0 || memo.stamp != stamp || memo.off || no_execute || user_call_chain != nullptr)
    return;
  const memo_key key = memo_key_at(name_at);
  const memo_key line_key = memo_key_at(line_start);
  if (key == 0 || key != unremembered_assignment || line_key == 0 || name_at < line_start || name_at >= line_end ||
      statement_memos.find(key))
    return;
  unremembered_assignment = 0;
  statement_memo& found = statement_memos.store(key, stamp);
  found.kind = STATEMENT_OTHER;
  found.value.subscripts_used = 0;
  assignment_target_name target{};
  const char* behind = nullptr;
  std::uint32_t target_room = 0;
  if (peek_assignment_target(name_at, target)) {
    behind = name_at + target.length;
    if (target.array &&
        !compile_element(name_at, target.length, target.index, found.value, found.element, behind, target_room))
      behind = nullptr;
  }
  if (behind) behind = blanks_passed(behind);
  if (!behind || behind >= line_end || *behind != '=') return;
  const memo_key value_key = line_key + static_cast<memo_key>(behind + 1 - line_start);
  if (target.string ? !compile_remembered_join(value_key, found.value)
                    : !compile_remembered_value(value_key, 0, found.value))
    return;
  const char* const end = blanks_passed(line_start + found.value.end_column);
  if (end < line_end && *end != ':' && *end != '\0') return;
  // The target's subscripts are read first, above the level the statement
  // starts at, as the right side's items are.
  found.value.room = std::max(found.value.room, target_room);
  found.value.need = std::max(found.value.need, target_room);
  found.variable = target.index;
  found.kind = target.string  ? STATEMENT_STRING_VARIABLE
               : target.array ? STATEMENT_DOUBLE_ELEMENT
                              : STATEMENT_DOUBLE_VARIABLE;
}

condition_road run_remembered_condition(int& truth, std::int32_t& keyword, const char*& behind_keyword) {
  if (no_execute || user_call_chain != nullptr || memo.off) return CONDITION_GENERAL;
  const memo_key key = memo_key_at(scan_pointer);
  if (key == 0) return CONDITION_GENERAL;
  const statement_memo* known = statement_memos.find(key);
  if (!known) return CONDITION_UNKNOWN;
  if (known->kind != STATEMENT_CONDITION) return CONDITION_GENERAL;
  double value = 0;
  std::uint64_t room = 0, need = 0;
  if (!compiled_value_of(known->value, value, room, need)) return CONDITION_GENERAL;
  const std::uint64_t reach = temp_strings_used + room;
  if (temp_strings_used + need > temp_strings_size) return CONDITION_GENERAL;
  if (reach > temp_strings_peak) temp_strings_peak = static_cast<std::uint32_t>(reach);
  truth = value == value && value != 0 ? 1 : 0;  // as result_truth: NaN is false
  keyword = known->keyword;
  behind_keyword = line_start + known->behind_keyword;
  scan_pointer = line_start + known->value.end_column;
  return CONDITION_TAKEN;
}

void remember_condition(const char* start, memo_stamp stamp, std::int32_t keyword, const char* keyword_at,
                        const char* behind_keyword) {
  if (memo.stamp != stamp || memo.off || no_execute || user_call_chain != nullptr) return;
  const memo_key key = memo_key_at(start);
  if (key == 0 || start < line_start || start >= line_end || statement_memos.find(key)) return;
  statement_memo& found = statement_memos.store(key, stamp);
  found.kind = STATEMENT_OTHER;
  found.value.subscripts_used = 0;
  if (!compile_remembered_value(key, 0, found.value) || found.value.lone_literal ||
      line_start + found.value.end_column != keyword_at || behind_keyword < keyword_at ||
      behind_keyword - line_start > 0xFFFF)
    return;
  found.behind_keyword = static_cast<std::uint16_t>(behind_keyword - line_start);
  found.keyword = keyword;
  found.kind = STATEMENT_CONDITION;
}
