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
};

// What is known of the assignment whose target's name starts at a text
// offset, under the stamp it ran under. Columns are in the statement's line.
struct statement_memo {
  statement_kind kind = STATEMENT_OTHER;
  std::uint8_t name_length = 0;
  std::uint16_t name_column = 0;   // the target's name
  std::uint16_t value_column = 0;  // the right side, behind the "="
  std::uint16_t end_column = 0;    // the item that ends it (":" or the line's end, after blanks)
  std::int32_t index = 0;          // the variable's or the array's
};

memo_table<statement_memo, 4096> statement_memos;

const char* blanks_passed(const char* p) {
  while (p < line_end && (*p == ' ' || *p == '\t')) ++p;
  return p;
}

}  // namespace

memo_key unremembered_assignment = 0;

bool run_remembered_assignment(memo_key key) {
  const statement_memo* known = statement_memos.find(key);
  if (!known) {
    unremembered_assignment = key;
    return false;
  }
  if (known->kind == STATEMENT_OTHER || no_execute || user_call_chain != nullptr) return false;
  const memo_key line_key = key - static_cast<memo_key>(known->name_column);
  double value = 0;
  std::uint32_t end_column = 0;
  std::uint64_t room = 0;
  if (!remembered_assigned_value(line_key + known->value_column, value, end_column, room) ||
      end_column != known->end_column)
    return false;
  value_slot* slot;
  if (known->kind == STATEMENT_DOUBLE_ELEMENT) {
    // The target is read first, its subscripts' room above the level the
    // statement starts at, as the right side's is.
    plain_element element;
    if (!peek_plain_element(line_start + known->name_column, known->name_length, known->index, element))
      return false;
    slot = element.slot;
    room = std::max(room, element.list.temp_bytes);
  } else {
    slot = &variable_table[known->index].value;
  }
  const std::uint64_t reach = temp_strings_used + room;
  if (reach > temp_strings_size) return false;
  slot->number = value;
  math_error_flag = 0;
  expression_depth = 0;
  if (reach > temp_strings_peak) temp_strings_peak = static_cast<std::uint32_t>(reach);
  scan_pointer = line_start + known->end_column;
  return true;
}

void remember_assignment(const char* name_at, memo_stamp stamp) {
  if (unremembered_assignment == 0 || memo.stamp != stamp || memo.off || no_execute || user_call_chain != nullptr) return;
  const memo_key key = memo_key_at(name_at);
  const memo_key line_key = memo_key_at(line_start);
  if (key == 0 || key != unremembered_assignment || line_key == 0 || name_at < line_start || name_at >= line_end ||
      statement_memos.find(key))
    return;
  unremembered_assignment = 0;
  statement_memo found;
  assignment_target_name target{};
  plain_element element;
  const char* behind = nullptr;
  if (peek_assignment_target(name_at, target)) {
    behind = name_at + target.length;
    if (target.array)
      behind = peek_plain_element(name_at, target.length, target.index, element) ? element.list.after : nullptr;
  }
  if (behind) behind = blanks_passed(behind);
  double value = 0;
  std::uint32_t end_column = 0;
  std::uint64_t room = 0;
  if (behind && behind < line_end && *behind == '=' && behind + 1 - line_start <= 0xFFFF &&
      remembered_assigned_value(line_key + static_cast<memo_key>(behind + 1 - line_start), value, end_column, room) &&
      end_column <= 0xFFFF) {
    const char* const end = blanks_passed(line_start + end_column);
    if (end >= line_end || *end == ':' || *end == '\0') {
      found.kind = target.array ? STATEMENT_DOUBLE_ELEMENT : STATEMENT_DOUBLE_VARIABLE;
      found.name_length = target.length;
      found.value_column = static_cast<std::uint16_t>(behind + 1 - line_start);
      found.end_column = static_cast<std::uint16_t>(end_column);
      found.index = target.index;
    }
  }
  found.name_column = static_cast<std::uint16_t>(name_at - line_start);
  statement_memos.store(key, stamp) = found;
}
