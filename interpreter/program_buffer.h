// The program buffer, loading of source files, the statement-number and DATA
// tables, and the pre-scan that fills them.
#pragma once
#include <cstdint>
#include <string>

constexpr std::uint32_t max_line_bytes = 255;  // a program line counting its line end

// Program text exactly as read: lines ending in CR LF or LF, then a NUL.
extern char* program_buffer;
extern std::uint32_t program_buffer_size;
extern std::uint32_t program_length;    // text bytes without the NUL
extern std::uint32_t program_offset;    // start of the line to fetch next
extern std::uint32_t next_line_offset;  // offset behind the line fetched last

extern std::string source_file_path;    // file that load_program_file reads

// One line that carries a statement number.
struct statement_number_entry {
  std::uint32_t number;                 // 1 .. 2147483647
  std::uint32_t line_offset;            // start of the line in program_buffer
  std::uint32_t loop_line_offset;       // 1 + offset of the line of the innermost enclosing
                                        // FOR/WHILE, else 0 (so a loop at offset 0 counts)
  std::uint32_t loop_statement_column;  // column of that FOR/WHILE, else 0
};
extern statement_number_entry* statement_number_table;
extern std::uint32_t statement_number_capacity;
extern std::uint32_t statement_number_count;
extern std::uint32_t statement_number;       // the number read last
extern std::uint32_t line_statement_number;  // number of the line being run, 0 = none
extern int first_data_on_line;               // 0 at every line; DATA sets it

// One DATA statement, in program order (filled by DATA during the pre-scan).
struct data_entry {
  std::uint32_t statement_number;  // the line's number for its first DATA, else 0
  std::uint32_t line_offset;       // program offset of the line
  std::uint32_t text_column;       // column where the values begin
  std::uint32_t text_length;       // characters up to the statement's end
};
extern data_entry* data_table;
extern std::uint32_t data_capacity;
extern std::uint32_t data_count;

// CHAIN state.
extern std::string chain_file_name;
extern int chain_keepdata;
extern int chain_pending;

// Allocation at start-up (called by init_interpreter_tables, in this order
// after the file table). Each returns 0 or the negative reported code:
// 190 DATA table, 191 statement-number table; the program buffer reports the
// quiet code 0 and is allocated only once per process.
int allocate_data_table();
int allocate_statement_number_table();
int allocate_program_buffer();

// Loads source_file_path: mode 0 replaces the text, 1 appends, 2 inserts
// behind the line being processed. Returns 0; -1 with no name or when the file
// cannot be opened (the caller reports 107); or a negative code already
// reported (107, 120).
int load_program_file(int mode);

// One pass over the whole program in skip mode, filling the tables. Returns
// the line loop's result; a failure flags the program as not runnable.
int prescan_program();
// 1 while the pre-scan loads the files that APPEND and INCLUDE name; 0 when
// it scans text that already holds them (a RUN of the loaded program).
extern int prescan_loads_files;

// Reads a statement number at scan_pointer. Returns 0 when no digit is there,
// 1 with statement_number set, or a negative reported code (9, 22, 23, 229).
// In the pre-scan a number is entered in the statement-number table.
int get_statement_number(int allow_comma);

// Index of the first entry carrying number, or -1.
int find_statement_number(std::uint32_t number);
// Drops the hashed index of the table (rebuilt on the next search).
void forget_statement_index();

// APPEND, INCLUDE and CHAIN (statements 58, 59, 60).
int stmt_append();
int stmt_include();
int stmt_chain();
