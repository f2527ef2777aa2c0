// DATA, READ and RESTORE: the DATA cursor over the DATA table.
#pragma once
#include <cstdint>

constexpr std::uint32_t data_text_size = 256;

extern std::int32_t data_index;        // entry whose text is loaded; -1 before the first READ
extern char data_text[data_text_size]; // NUL-terminated copy of that entry's text
extern const char* data_read_pointer;        // read position in data_text
extern const char* data_text_end;
// Kind of the next DATA value found by the read() probe: 0 none, 1 string,
// 2 number, 3 number followed by text.
extern int data_probe_kind;

// Empties the DATA cursor (start-up and every run start).
void data_reset_reading_state();
// Loads entry index of data_table into data_text. 0 or a negative error.
int data_load_entry(std::int32_t index);

// Statement handlers (declared in statements.h): stmt_data, stmt_read, stmt_restore.
