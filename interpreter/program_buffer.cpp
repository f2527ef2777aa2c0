// The program buffer: loading source files into it, the statement-number and
// DATA tables, the pre-scan, and the APPEND, INCLUDE and CHAIN statements.
#include "interpreter/program_buffer.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <strings.h>
#include <vector>

#include "session/size_settings.h"
#include "session/paths.h"
#include "interpreter/data_read.h"
#include "interpreter/errors.h"
#include "interpreter/expression.h"
#include "interpreter/file_table.h"
#include "interpreter/pending.h"
#include "graph/graph_window.h"
#include "interpreter/run_control.h"
#include "interpreter/run_state.h"
#include "interpreter/memo.h"
#include "interpreter/scanner.h"
#include "interpreter/user_functions.h"

char* program_buffer = nullptr;
std::uint32_t program_buffer_size = 0;
std::uint32_t program_length = 0;
std::uint32_t program_offset = 0;
std::uint32_t next_line_offset = 0;
std::string source_file_path;

statement_number_entry* statement_number_table = nullptr;
std::uint32_t statement_number_capacity = 0;
std::uint32_t statement_number_count = 0;
std::uint32_t statement_number = 0;
std::uint32_t line_statement_number = 0;
int first_data_on_line = 0;

data_entry* data_table = nullptr;
std::uint32_t data_capacity = 0;
std::uint32_t data_count = 0;

std::string chain_file_name;
int chain_keepdata = 0;
int chain_pending = 0;

namespace {

constexpr std::uint32_t max_statement_number = 2147483647u;

// Whether the text up to end finishes its last line. Files written on this
// system end lines with LF alone, so LF counts as well as CR LF.
bool text_ends_with_line_end(std::uint32_t end) { return end >= 1 && program_buffer[end - 1] == '\n'; }

// Reads the whole stream into program_buffer at offset, at most room bytes.
// Returns the bytes read, or -1 on a read error. *more is set when the file
// holds further bytes beyond room.
long read_into_buffer(FILE* file, std::uint32_t offset, std::uint32_t room, bool* more) {
  std::size_t total = 0;
  while (total < room) {
    std::size_t got = std::fread(program_buffer + offset + total, 1, room - total, file);
    total += got;
    if (got == 0) break;
  }
  if (std::ferror(file)) return -1;
  *more = false;
  if (total == room) {
    int probe = std::fgetc(file);
    if (probe == EOF) {
      if (std::ferror(file)) return -1;
    } else {
      *more = true;
    }
  }
  return static_cast<long>(total);
}

// The text after a load must stay below the buffer size minus one byte.
bool text_fits(std::uint64_t length) { return length + 1 < program_buffer_size; }

struct file_closer {
  void operator()(FILE* f) const { std::fclose(f); }
};

}  // namespace

int allocate_data_table() {
  if (data_table != nullptr) return 0;
  std::uint32_t entries = size_settings[SIZE_NUMBER_OF_DATA_STATEMENTS].current;
  data_count = 0;
  return allocate_store(data_table, entries, data_capacity, err_unable_to_allocate_storage_for_190);
}

int allocate_statement_number_table() {
  if (statement_number_table != nullptr) return 0;
  std::uint32_t entries = size_settings[SIZE_NUMBER_OF_STATEMENT_NUMBERS].current;
  statement_number_count = 0;
  return allocate_store(statement_number_table, entries, statement_number_capacity,
                        err_unable_to_allocate_storage_for_191);
}

int allocate_program_buffer() {
  if (program_buffer != nullptr) return 0;
  std::uint32_t bytes = size_settings[SIZE_PROGRAM_BUFFER_SPACE].current;
  if (bytes < 16) bytes = 16;
  program_length = 0;
  return allocate_store(program_buffer, bytes, program_buffer_size, 0);
}

int load_program_file(int mode) {
  if (program_buffer == nullptr) return report_error(err_unable_to_load_program);
  memo_program_changed();
  if (source_file_path.empty()) return -1;
  std::unique_ptr<FILE, file_closer> file(std::fopen(source_file_path.c_str(), "rb"));
  if (!file) return -1;

  bool more = false;
  if (mode == 0) {
    program_offset = 0;
    long got = read_into_buffer(file.get(), 0, program_buffer_size, &more);
    if (got < 0 || more || !text_fits(static_cast<std::uint64_t>(got))) {
      // The buffer now holds part of the file: drop the old text too, so that
      // nothing (a RUN or a typed GOTO) can run the mixture.
      program_length = 0;
      program_buffer[0] = 0;
      statement_number_count = 0;
      data_count = 0;
      return report_error(got < 0 ? 107 : 120);
    }
    program_length = static_cast<std::uint32_t>(got);
    program_buffer[program_length] = 0;
    return 0;
  }

  std::uint32_t insert_at = program_length;
  std::unique_ptr<char[]> rest;
  std::uint32_t rest_length = 0;
  if (mode == 2 && next_line_offset < program_length) {
    rest_length = program_length - next_line_offset;
    rest.reset(new (std::nothrow) char[rest_length]);
    if (!rest) return report_error(err_unable_to_load_program);
    std::memcpy(rest.get(), program_buffer + next_line_offset, rest_length);
    insert_at = next_line_offset;
  }
  // Puts the set-aside rest back where it was, so that a failed INCLUDE leaves
  // the text as it found it.
  auto fail = [&](int code) {
    if (rest) std::memcpy(program_buffer + next_line_offset, rest.get(), rest_length);
    program_buffer[program_length] = 0;
    return report_error(code);
  };

  if (!text_ends_with_line_end(insert_at)) {
    if (static_cast<std::uint64_t>(insert_at) + 3 > program_buffer_size) return fail(120);
    program_buffer[insert_at++] = '\r';
    program_buffer[insert_at++] = '\n';
  }
  std::uint32_t room = program_buffer_size - insert_at;
  long got = read_into_buffer(file.get(), insert_at, room, &more);
  if (got < 0) return fail(107);
  if (more) return fail(120);
  std::uint32_t end = insert_at + static_cast<std::uint32_t>(got);
  if (rest) {
    if (!text_ends_with_line_end(end)) {
      if (static_cast<std::uint64_t>(end) + 3 > program_buffer_size) return fail(120);
      program_buffer[end++] = '\r';
      program_buffer[end++] = '\n';
    }
    if (!text_fits(static_cast<std::uint64_t>(end) + rest_length)) return fail(120);
    std::memcpy(program_buffer + end, rest.get(), rest_length);
    end += rest_length;
  } else if (!text_fits(end)) {
    return fail(120);
  }
  program_length = end;
  program_buffer[program_length] = 0;
  return 0;
}

namespace {

// A hashed index over the statement-number table, so that GOTO, GOSUB and ON
// find their target in one probe instead of a search from the table's start.
// It is rebuilt when the table's fill changes; a hit is checked against the
// table itself and a miss falls back to the search, so an index that is out of
// date (the table refilled to the same count) can only cost time.
struct statement_index {
  std::vector<std::int32_t> slots;  // entry index + 1, 0 for an empty slot
  std::uint32_t built_count = 0;
  const statement_number_entry* built_table = nullptr;
};
statement_index number_index;

std::uint32_t number_hash(std::uint32_t number, std::size_t mask) {
  return static_cast<std::uint32_t>((number * 2654435761u) >> 7) & static_cast<std::uint32_t>(mask);
}

void build_statement_index() {
  std::size_t size = 16;
  while (size < 2 * static_cast<std::size_t>(statement_number_count)) size *= 2;
  number_index.slots.assign(size, 0);
  const std::size_t mask = size - 1;
  for (std::uint32_t i = 0; i < statement_number_count; ++i) {
    std::size_t slot = number_hash(statement_number_table[i].number, mask);
    while (number_index.slots[slot] != 0) {
      // The first entry of a number stays the one found.
      if (statement_number_table[number_index.slots[slot] - 1].number == statement_number_table[i].number) break;
      slot = (slot + 1) & mask;
    }
    if (number_index.slots[slot] == 0) number_index.slots[slot] = static_cast<std::int32_t>(i) + 1;
  }
  number_index.built_count = statement_number_count;
  number_index.built_table = statement_number_table;
}

int search_statement_number(std::uint32_t number) {
  for (std::uint32_t i = 0; i < statement_number_count; ++i)
    if (statement_number_table[i].number == number) return static_cast<int>(i);
  return -1;
}

}  // namespace

void forget_statement_index() { number_index.built_count = 0; number_index.built_table = nullptr; }

int find_statement_number(std::uint32_t number) {
  if (statement_number_count < 8 || prescan_mode) return search_statement_number(number);
  if (number_index.built_count != statement_number_count || number_index.built_table != statement_number_table)
    build_statement_index();
  const std::size_t mask = number_index.slots.size() - 1;
  for (std::size_t slot = number_hash(number, mask); number_index.slots[slot] != 0; slot = (slot + 1) & mask) {
    std::uint32_t index = static_cast<std::uint32_t>(number_index.slots[slot] - 1);
    if (index < statement_number_count && statement_number_table[index].number == number) {
      // Numbers are unique in the table (the pre-scan refuses a second one),
      // so the entry holding the number is its first.
      return static_cast<int>(index);
    }
  }
  return search_statement_number(number);
}

int get_statement_number(int allow_comma) {
  auto is_digit = [](char c) { return c >= '0' && c <= '9'; };
  if (scan_pointer >= line_end || !is_digit(*scan_pointer)) return 0;
  const char* start = scan_pointer;
  std::uint64_t value = 0;
  int digits = 0;
  while (scan_pointer < line_end && is_digit(*scan_pointer)) {
    if (++digits > 10) return report_error_here(err_statement_number_has_too_many);
    value = value * 10 + static_cast<std::uint64_t>(*scan_pointer - '0');
    ++scan_pointer;
  }
  if (scan_pointer < line_end) {
    char c = *scan_pointer;
    bool comment = c == '/' && scan_pointer + 1 < line_end && scan_pointer[1] == '/';
    bool ok = c == ' ' || c == '\t' || c == ':' || c == '\r' || comment || (allow_comma && c == ',');
    if (!ok) return report_error_here(err_invalid_statement_number);
  }
  if (value < 1 || value > max_statement_number) {
    scan_pointer = start;
    return report_error_here(err_invalid_statement_number);
  }
  statement_number = static_cast<std::uint32_t>(value);
  if (!prescan_mode) return 1;

  if (find_statement_number(statement_number) >= 0 || statement_number_count >= statement_number_capacity) {
    int code = find_statement_number(statement_number) >= 0 ? 22 : 23;
    statement_start = line_start;
    return report_error_at(0, code);
  }
  statement_number_entry& entry = statement_number_table[statement_number_count++];
  entry.number = statement_number;
  entry.line_offset = program_offset;
  bool in_loop = (blocks.block_kind == BLOCK_WHILE && blocks.in_while) || (blocks.block_kind == BLOCK_FOR && blocks.in_for);
  entry.loop_line_offset = in_loop ? blocks.loop_line_offset : 0;
  entry.loop_statement_column = in_loop ? blocks.loop_statement_column : 0;
  return 1;
}

int prescan_loads_files = 1;

int prescan_program() {
  memo_program_changed();
  statement_number_count = 0;
  forget_statement_index();
  data_count = 0;
  reset_run_flags();
  if (file_table != nullptr) {
    file_table[0].line_continues = 0;
    file_table[0].column = 0;
  }
  prescan_mode = 1;
  no_execute = 1;
  program_offset = 0;
  blocks.loop_line_offset = 0;
  blocks.loop_statement_column = 0;
  data_reset_reading_state();
  int saved_debug = debug_mode;
  debug_mode = 0;
  clear_user_functions();
  channels_free_fields();
  int saved_chain = chain_pending;
  chain_pending = 0;

  int result = run_program_lines();

  chain_pending = saved_chain;
  debug_mode = saved_debug;
  no_execute = 0;
  prescan_mode = 0;
  if (result < 0) program_load_failed = 1;
  else memo_program_scanned(program_length);
  return result;
}

namespace {

// APPEND and INCLUDE: mode 1 appends the named file, mode 2 inserts it behind
// this line. Only the pre-scan loads; a running program passes over them.
int append_or_include(int mode) {
  // Loading belongs to a run: a typed line (command box or console) may not
  // load or chain program text.
  if (command_line_mode || statement_is_typed()) {
    return report_error_at(0, err_statement_not_valid_from_command);
  }
  expr_item item;
  int type = get_item(item, GI_DATA_VALUE);
  if (!prescan_mode || !prescan_loads_files) return type < 0 ? report_error(err_return_get_item) : 0;
  if (type < 0) return report_error(err_return_get_item);
  if (type == 0) return report_error(err_missing_file_name_for_load);
  if (type != ITEM_STRING) return report_error(err_invalid_file_name_for_run);
  std::string name = path_from_program_text(
      std::string_view(string_accumulator, static_cast<std::size_t>(string_accumulator_length)));
  if (path_normalize_in_program_folder(name) < 0) {
    program_load_failed = 1;
    return report_error(err_unable_to_load_program);
  }
  source_file_path = name;
  if (load_program_file(mode) != 0) {
    program_load_failed = 1;
    return report_error(err_unable_to_load_program);
  }
  return 0;
}

}  // namespace

int stmt_append() { return append_or_include(1); }
int stmt_include() { return append_or_include(2); }

int stmt_chain() {
  // Loading belongs to a run: a typed line (command box or console) may not
  // load or chain program text.
  if (command_line_mode || statement_is_typed()) {
    return report_error_at(0, err_statement_not_valid_from_command);
  }
  const char* expression_start = scan_pointer;
  int type = evaluate_expression_release_temps(2);
  if (type < 0) return type;
  bool runs = !prescan_mode && !no_execute;
  if (runs) {
    if (type != ITEM_STRING) {
      scan_pointer = expression_start;
      return report_error_here(err_invalid_type_expecting_string);
    }
    chain_file_name.assign(string_accumulator, static_cast<std::size_t>(string_accumulator_length));
    chain_keepdata = 0;
  }
  if (scan_pointer > expression_start && scan_pointer[-1] == ',') {
    expr_item option;
    int option_type = get_item(option, GI_DATA_VALUE);
    if (option_type < 0) return report_error(err_return_get_item);
    if (option_type != ITEM_STRING || strcasecmp(string_accumulator, "keepdata") != 0)
      return report_error_here(err_invalid_statement);
    if (runs) chain_keepdata = 1;
  }
  if (no_execute) return 0;
  chain_pending = 1;
  program_ended = 1;
  scan_pointer = line_end;
  program_offset = program_length;
  graph_repaint_if_changed();
  return 0;
}
