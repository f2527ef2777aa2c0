// The output box's text and the log file (window mode): line ends become
// CR LF, lines break at 80 columns, at most 560 converted bytes a call, and
// the oldest third goes when the buffer is full; the log gets a copy without
// CR bytes. No Qt here: the main dialog shows what this buffer holds.
#pragma once
#include <cstddef>
#include <cstdio>
#include <ctime>
#include <string>
#include <string_view>

constexpr int output_line_columns = 80;
constexpr std::size_t output_work_limit = 560;  // converted bytes taken from one call
// One more line break may follow the last byte taken, so the work area holds
// the limit and one CR LF.
constexpr std::size_t output_work_size = output_work_limit + 2;

struct output_buffer_state {
  std::string text;   // the box's whole text (CR LF line ends)
  bool taken = false; // output_buffer_init has run
  int size = 0;       // ConsoleBufferSize when the buffer was taken
  int limit = 0;      // the fullness limit (= size)
};
extern output_buffer_state output_buffer;

// Takes the buffer the first time (size from the ConsoleBufferSize setting in
// force) and empties it. Returns 0.
int output_buffer_init();
// Empties the buffer (Clear Screen, CLS) and the screen column. 0, or -1 when
// the buffer has not been taken.
int output_buffer_empty();

// Converts text by the box's rules starting at column (updated) into out,
// which receives at most output_work_size bytes. Returns the converted length.
std::size_t output_convert_text(std::string_view text, int& column, char* out);

// What appends did to the box since the caller last cleared this record: the
// converted text added at its end (each append adds to it), or, once old
// text has been dropped from the box's front, trimmed set (the box must then
// take the whole buffer anew, and added is no longer kept).
struct output_append_result {
  std::string added;
  bool trimmed = false;
  void clear() {
    added.clear();
    trimmed = false;
  }
};
// Appends text to the buffer by the rules above and copies it (without CR) to
// the open log. Returns 0, or -1 when the buffer has not been taken.
int output_append_text(std::string_view text, output_append_result* result = nullptr);

// The text as the box shows it: CR LF as LF, valid UTF-8 kept, any other byte
// read as Windows-1252; the result is UTF-8.
std::string output_display_text(std::string_view bytes);

// ---- the log file
extern std::FILE* log_file;
extern unsigned logging_active;
extern std::time_t start_time;  // when the program started (the log's "Date & Time" line)

// Opens the log when create_log_file is set and no log is open, and writes
// its header. Returns 0 (also when it did nothing), or -1 after telling the
// user that the file cannot be opened.
int log_open();
// Writes text to the open log. 0, or 1 when the write failed; nothing without
// an open log. The text may wait in the stream's buffer until log_flush: the
// desktop flushes at every pump of its events, so the file is at most one
// time slice behind the box.
int log_write(std::string_view text);
// Writes out what the log holds back. 0, or 1 when the write failed.
int log_flush();
// Closes the log when it is open (what it held back is written first).
void log_close();
