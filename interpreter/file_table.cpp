// The channel table and its two fixed channels.
#include "interpreter/file_table.h"

#include <new>

#include "session/size_settings.h"
#include "interpreter/errors.h"
#include "interpreter/files.h"
#include "interpreter/run_control.h"

file_entry* file_table = nullptr;
std::int32_t number_of_files = 0;
std::int32_t print_string_channel = 1;

namespace {
char screen_line_buffer[screen_line_buffer_size];
char string_target_line_buffer[string_target_buffer_size];
}  // namespace

bool channel_in_range(int channel) {
  return file_table != nullptr && channel >= 0 && channel <= number_of_files + 1;
}

void reset_print_channel(int channel) {
  if (!channel_in_range(channel)) return;
  file_entry& entry = file_table[channel];
  entry.line_continues = 0;
  entry.column = 0;
  entry.tab_target = -1;
  entry.buffer_length = 0;
  if (entry.line_buffer != nullptr) entry.line_buffer[0] = 0;
}

int allocate_file_table() {
  if (file_table != nullptr) return 0;
  std::uint32_t files = size_settings[SIZE_NUMBER_OF_FILES].current;
  if (files > 10000) files = 10000;  // far above the setting's maximum; bounds the table
  file_table = new (std::nothrow) file_entry[files + 2];
  if (file_table == nullptr) return report_error(err_unable_to_allocate_storage_for_192);
  number_of_files = static_cast<std::int32_t>(files);
  print_string_channel = number_of_files + 1;

  file_entry& screen = file_table[0];
  screen.mode = FILE_MODE_OUTPUT;
  screen.width = screen_line_width;
  screen.zone_width = default_zone_width;
  screen.line_buffer = screen_line_buffer;
  screen.line_buffer_size = screen_line_buffer_size;
  reset_print_channel(0);

  file_entry& target = file_table[print_string_channel];
  target.mode = FILE_MODE_OUTPUT;
  target.width = string_target_width;
  target.zone_width = default_zone_width;
  target.line_buffer = string_target_line_buffer;
  target.line_buffer_size = string_target_buffer_size;
  reset_print_channel(print_string_channel);
  return 0;
}

void channels_reset_counts() {
  open_file_count = 0;
  open_file_peak = 0;
}
void channels_close_all() { file_close_all(); }
// The FIELD table is rebuilt by every pre-scan, also the one of a RUN of the
// text already loaded.
void channels_free_fields() { free_field_table(); }
