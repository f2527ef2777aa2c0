// The channel table: channel 0 the screen, 1..number_of_files the numbered
// files a program opens, number_of_files + 1 the PRINT-to-string target.
#pragma once
#include <cstdint>
#include <cstdio>

// Open modes. The numbers are stored in file_entry::mode and tested by the
// statements, so their values are part of the interface.
enum file_mode : std::uint32_t {
  FILE_MODE_INPUT = 0,          // text stream, read
  FILE_MODE_OUTPUT = 1,         // text stream, write (replaces the file)
  FILE_MODE_RANDOM = 2,         // descriptor, fixed-length records
  FILE_MODE_APPEND = 3,         // text stream, "a+"
  FILE_MODE_SERIAL = 4,         // serial port
  FILE_MODE_INPUT_BINARY = 5,   // descriptor, raw bytes in
  FILE_MODE_OUTPUT_BINARY = 6,  // descriptor, raw bytes out
};

constexpr std::int32_t screen_line_width = 80;
constexpr std::int32_t string_target_width = 255;
constexpr std::int32_t default_zone_width = 14;
constexpr std::int32_t default_record_length = 517;  // text files without a given length
constexpr std::uint32_t screen_line_buffer_size = 256;
constexpr std::uint32_t string_target_buffer_size = 300;
constexpr std::uint32_t line_buffer_margin = 300;  // a file's buffer is record length + this

struct serial_port_settings;  // owned by the serial-port code

// One channel.
struct file_entry {
  std::uint32_t handle = 0;        // 0 = closed; non-zero while open (the object is below)
  FILE* stream = nullptr;          // modes 0, 1, 3
  int descriptor = -1;             // modes 2, 5, 6 and the serial port (4)
  std::uint32_t mode = FILE_MODE_OUTPUT;
  std::uint32_t line_continues = 0;  // PRINT: the line stays open after the statement
  std::int32_t width = 0;            // line width / record length
  std::int32_t column = 0;           // output column (RANDOM: bytes in the record)
  std::int32_t tab_target = -1;      // column the next item is padded to; -1 none
  std::int32_t buffer_length = 0;    // bytes held in line_buffer
  std::int32_t zone_width = default_zone_width;
  char* line_buffer = nullptr;       // the line being built, or the RANDOM record
  std::uint32_t line_buffer_size = 0;  // bytes line_buffer holds (room for bounds checks)
  const char* position = nullptr;          // next value for INPUT #
  std::int32_t last_get_record = 0;
  std::int32_t last_put_record = 0;
  std::uint32_t line_pending = 0;    // INPUT #: a line is in the buffer
  double file_size = 0;              // bytes when opened; 0 for a port or unknown
  serial_port_settings* port_settings = nullptr;
  void* read_overlapped = nullptr;   // serial read state
  void* write_overlapped = nullptr;  // serial write state
  unsigned char pending_byte = 0;    // serial byte kept by a probe
  std::uint32_t has_pending_byte = 0;
};

extern file_entry* file_table;       // number_of_files + 2 entries
extern std::int32_t number_of_files;
extern std::int32_t print_string_channel;  // number_of_files + 1

// Allocates the channel table from the NumberOfFiles size setting and sets up
// the screen and string-target channels. Returns 0, or the negative result of
// report_error(err_unable_to_allocate_storage_for_192) when the table cannot be allocated. A second call keeps
// the table it already has.
int allocate_file_table();

// Puts a screen-like channel (0 or the string target) back to its idle state:
// empty line, column 0, no tab target, line closed.
void reset_print_channel(int channel);

// True when channel is a valid index into file_table.
bool channel_in_range(int channel);

// Run housekeeping of the numbered files, for the run driver (OPEN, CLOSE and
// FIELD themselves live in files.cpp): the open-file counts back to 0; every
// file closed; every FIELD definition freed.
void channels_reset_counts();
void channels_close_all();
void channels_free_fields();
