// Numbered files: OPEN (statement and function), CLOSE, GET and PUT of RANDOM
// records, FIELD definitions, and the file functions EOF, INPUT(n), FILESIZE.
// The channel record file_entry and file_table live in file_table.h.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "interpreter/item.h"

union value_slot;
struct file_entry;

// ---- OPEN parameters, kept between parsing and file_open ---------------

constexpr int open_mode_word_size = 14;   // up to 13 characters and a NUL
constexpr int max_path_length = 259;      // longer file names are refused
constexpr std::int32_t max_record_length = 32767;
constexpr std::int32_t binary_record_limit = 128;  // BINARY lengths must stay below
constexpr std::int32_t text_default_record_length = 517;
constexpr std::int32_t other_default_record_length = 80;  // serial and BINARY
constexpr double max_record_number = 16777216.0;

extern char open_mode_word[open_mode_word_size];
extern std::int32_t open_file_number;
extern std::string open_file_name;
extern std::int32_t open_record_length;  // 0 = not given
extern std::int32_t open_baud;           // default 9600
extern std::int32_t open_parity;         // 0 no, 1 odd, 2 even, 3 mark, 4 space
extern std::int32_t open_stop_bits;      // 0 one, 1 one and a half, 2 two
// Result of the OPEN function: 0 opened, -1 invalid mode, -2 invalid file
// number, -3 number in use, -4 no buffer, -5 the open failed.
extern std::int32_t open_result;

extern std::int32_t open_file_count;  // files open now
extern std::int32_t open_file_peak;   // most files open at once

// The file_mode of an OPEN mode word (any case), or -1.
int file_mode_from_word(std::string_view word);
// Sets the OPEN parameters to their defaults (no length, 9600 baud, no
// parity, one stop bit) and the result to 0.
void open_parameters_reset();

// Opens open_file_name on open_file_number in the mode named by
// open_mode_word. function_form 1 (the OPEN function) reports nothing of its
// own and leaves the outcome in open_result; the record-length errors 232 and
// 327 are reported in both forms. Returns 0 or a negative code.
int file_open(int function_form);
// Closes file number n (1..number_of_files): pending PRINTed text is written
// first. A closed channel is left alone. Returns 0 or -138 (reported).
int file_close(int n);
// Closes every open file number, all of them even when one fails, outside a
// statement (run end, clearing): failures are reported without a source
// line. Returns 0 or the first failure's negative code.
int file_close_all();
// Recounts open_file_count and open_file_peak.
void recount_open_files();

// ---- RANDOM records -----------------------------------------------------

// Reads record (1-based) of RANDOM channel into its buffer: short last
// records are blank-filled, zero bytes from the first one on become blanks.
// Returns 0 or a negative reported code (231, 233, 234).
int random_get_record(int channel, double record);
// The bytes of the last record GET read on channel, as read (zero bytes
// kept), for the debugging aids; empty when none.
std::string_view last_get_record_bytes(int channel);
// Writes the channel's buffer as record. Returns 0 or -231, -234, -235.
int random_put_record(int channel, double record);

// ---- FIELD definitions --------------------------------------------------

constexpr int max_field_entries = 10;
constexpr int max_field_definitions = 40;
constexpr int field_names_size = 256;

struct field_entry {
  std::uint32_t name_position;  // offset of the NUL-terminated name in names
  std::uint32_t type;           // 19
  std::uint32_t start;          // offset in the record
  std::uint32_t width;          // 1..255
};

struct field_definition {
  std::uint32_t names_position;    // next free byte of names
  std::uint32_t entries_position;  // next free entry
  std::uint32_t entry_count;       // 0..10
  std::int32_t file_number;        // -1: the FIELD applies to a string variable
  value_slot* string_slot;         // that string variable's slot; null until resolved
  field_entry entries[max_field_entries];
  char names[field_names_size];    // for a string-variable FIELD its name comes first
};

extern field_definition* field_table[max_field_definitions];
extern int field_count;

// Name of an entry, and the string variable of a string-variable FIELD.
const char* field_entry_name(const field_definition& definition, const field_entry& entry);
const char* field_string_variable_name(const field_definition& definition);
// Finds a FIELD variable by name (case ignored) in field_table order. Returns
// true with the definition and entry index.
bool find_field_variable(std::string_view name, field_definition** definition, int* entry_index);
// Frees every definition and sets field_count to 0.
void free_field_table();

// ---- statements ---------------------------------------------------------
// (declared in statements.h as well, where the dispatcher finds them)
int stmt_open();
int stmt_close();
int stmt_get();
int stmt_put();
int stmt_field();

// ---- functions ----------------------------------------------------------
// Each takes the evaluated argument list of do_function and returns 2 with
// the answer in double_accumulator, or a negative reported code.
int func_eof(expr_item* arguments, int count);       // EOF(n [, "line"])
int func_input(expr_item* arguments, int count);     // INPUT(n)
int func_open(expr_item* arguments, int count);      // OPEN(mode, n, name [, len [, baud [, parity [, stop]]]])
int func_filesize(expr_item* arguments, int count);  // FILESIZE(n)

// True at the end of the statement: the line end, ":" or a "//" remark.
bool statement_ends_here();

// Reads a file name given by a program: backslashes become "/", names longer
// than max_path_length are refused (false).
bool open_file_path(std::string_view text, std::string& path);
