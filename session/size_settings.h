// The fourteen size settings that fix the capacities of the interpreter's stores.
#pragma once
#include <cstdint>
#include <string_view>

struct size_setting {
  std::uint32_t current;  // value in force for this process
  std::uint32_t edited;   // value being edited in Customize
  std::uint32_t default_value;
  std::uint32_t minimum;
  std::uint32_t maximum;
};

// Index of each setting in size_settings; the order is the stored order.
enum size_setting_index : int {
  SIZE_SCREEN_SIZE = 0,
  SIZE_VARIABLE_NAME_SPACE = 1,
  SIZE_NUM_VARIABLES = 2,
  SIZE_ARRAY_NAME_SPACE = 3,
  SIZE_NUMBER_OF_ARRAYS = 4,
  SIZE_STRING_SPACE = 5,
  SIZE_TEMP_STRING_SPACE = 6,
  SIZE_LONG_NUMBER_SPACE = 7,
  SIZE_TEMP_LONG_NUMBER_SPACE = 8,
  SIZE_NUMBER_OF_FILES = 9,
  SIZE_NUMBER_OF_STATEMENT_NUMBERS = 10,
  SIZE_PROGRAM_BUFFER_SPACE = 11,
  SIZE_NUMBER_OF_DATA_STATEMENTS = 12,
  SIZE_CONSOLE_BUFFER_SIZE = 13,
  SIZE_SETTING_COUNT = 14,
};

extern size_setting size_settings[SIZE_SETTING_COUNT];
extern const char* const size_setting_names[SIZE_SETTING_COUNT];

// current := default for all fourteen.
void size_settings_reset_current();
// edited := default for all fourteen (Customize "Set Defaults").
void size_settings_reset_edited();
// Reads one size setting into record.current: a missing value leaves it
// unchanged; a value outside minimum..maximum is replaced by the default.
void reg_read_size_setting(const char* name, size_setting& record);
// size_settings_reset_current, then every setting from the store in table order.
void reg_load_size_settings();
// Writes the fourteen current values. Returns 1 when written, else 0 (a
// failed write is told, see settings_tell in settings.h).
int reg_save_size_settings();

// The number in a Customize edit field: at most its first 49 characters, CR
// and LF removed, leading blanks skipped, then an unsigned decimal number. An
// empty text or one that does not begin with a number reads as 0. A number
// beyond 32 bits, or a negative one, reads as the largest 32-bit value, so
// the range check refuses it rather than seeing a wrapped small value.
std::uint32_t size_setting_parse_text(std::string_view text);
// True when value lies within record's minimum..maximum.
bool size_setting_in_range(const size_setting& record, std::uint32_t value);
