// Serial channels: line reads with 100 ms waits and time-outs, line writes
// that wait in bounded steps and can be interrupted, and the port chooser.
#include "interpreter/serial.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <strings.h>

#include "interpreter/errors.h"
#include "interpreter/file_table.h"
#include "interpreter/files.h"
#include "interpreter/named_vars.h"
#include "interpreter/output.h"
#include "interpreter/program_dialogs.h"
#include "interpreter/run_state.h"
#include "interpreter/timing.h"
#include "interpreter/variables.h"

std::uint32_t serial_eof_probe = 0;

namespace {

// The byte limit of a received line: the record length + 1, bounded by the
// buffer (which keeps room for the NUL).
std::int32_t line_limit(const file_entry& entry) {
  std::int32_t limit = entry.width + 1;
  if (entry.line_buffer_size == 0) return 0;
  std::int32_t room = static_cast<std::int32_t>(entry.line_buffer_size) - 1;
  return limit < room ? limit : room;
}

void end_line(file_entry& entry, std::int32_t length) {
  entry.line_buffer[length] = 0;
  entry.buffer_length = length;
}

}  // namespace

std::string serial_device_path(const std::string& port_name) {
  if (port_name.find('/') != std::string::npos) return port_name;
  if (port_name.size() > 3 && strncasecmp(port_name.c_str(), "com", 3) == 0) {
    char* end = nullptr;
    long n = std::strtol(port_name.c_str() + 3, &end, 10);
    if (end && *end == 0 && n >= 1 && n <= 256) return "/dev/ttyS" + std::to_string(n - 1);
  }
  return "/dev/" + port_name;
}

std::uint32_t serial_open_port(file_entry& entry, const char* port_name, const serial_line_settings& settings) {
  entry.mode = FILE_MODE_SERIAL;
  entry.has_pending_byte = 0;
  entry.pending_byte = 0;
  if (!port_name || !*port_name) return 0;
  serial_port_settings* kept = new (std::nothrow) serial_port_settings;
  if (!kept) return 0;
  kept->line = settings;
  kept->device = serial_device_path(port_name);
  int fd = serial_port_open(kept->device.c_str(), settings);
  if (fd < 0) {
    delete kept;
    return 0;
  }
  entry.descriptor = fd;
  entry.port_settings = kept;
  entry.handle = static_cast<std::uint32_t>(fd) + 1;
  return entry.handle;
}

std::uint32_t serial_open(file_entry& entry, const char* port_name) {
  serial_line_settings settings;
  settings.baud_rate = open_baud < 0 ? 0u : static_cast<std::uint32_t>(open_baud);
  settings.parity = open_parity;
  settings.stop_bits = open_stop_bits;
  std::uint32_t handle = serial_open_port(entry, port_name, settings);
  if (handle == 0) serial_release(entry);
  return handle;
}

int serial_read_line(file_entry& entry) {
  bool probe = serial_eof_probe != 0;
  if (entry.descriptor < 0 || !entry.line_buffer) return report_error(err_serial_i_o_error);
  std::int32_t limit = line_limit(entry);
  std::int32_t length = 0;
  int timeouts = 0;
  bool have_byte = false;
  unsigned char byte = 0;

  if (entry.has_pending_byte) {
    if (probe) return 1;
    byte = entry.pending_byte;
    entry.has_pending_byte = 0;
    entry.pending_byte = 0;
    have_byte = true;
  }
  for (;;) {
    if (!have_byte) {
      int r = serial_port_read_byte(entry.descriptor, byte);
      if (r < 0) return report_error(err_serial_i_o_error);
      if (r == 0) {
        int w = serial_port_wait_readable(entry.descriptor, serial_wait_step_ms);
        if (w == 1) continue;
        if (w < 0) return report_error(err_serial_i_o_error);
        ++timeouts;
        if (probe && timeouts >= serial_probe_timeouts) return 0;
        if (!probe && timeouts >= serial_read_timeouts) return report_error(err_serial_input_timeout);
        int interrupted = poll_user_interrupt();
        if (interrupted < 0) return interrupted;
        continue;
      }
    }
    have_byte = false;
    if (probe) {
      entry.pending_byte = byte;
      entry.has_pending_byte = 1;
      return 1;
    }
    if (byte == '\n') {
      end_line(entry, length);
      return 0;
    }
    if (length >= limit) {
      end_line(entry, length);
      std::string partial = "Partial line received: \n";
      partial.append(entry.line_buffer, static_cast<std::size_t>(length));
      print_text(partial);
      return report_error(err_serial_input_buffer_overflow_message);
    }
    if (byte == '\r') continue;
    entry.line_buffer[length++] = static_cast<char>(byte);
  }
}

int serial_write_line(file_entry& entry) {
  if (entry.descriptor < 0) return report_error(err_serial_i_o_error);
  std::string text;
  if (entry.line_buffer && entry.buffer_length > 0) {
    std::size_t n = static_cast<std::size_t>(entry.buffer_length);
    if (entry.line_buffer_size && n > entry.line_buffer_size) n = entry.line_buffer_size;
    text.assign(entry.line_buffer, n);
  }
  if (!text.empty() && text.back() != '\n') text += '\n';
  std::size_t sent = 0;
  int stalled = 0;
  while (sent < text.size()) {
    long n = serial_port_write_some(entry.descriptor, text.data() + sent, text.size() - sent);
    if (n < 0) return report_error(err_serial_i_o_error);
    if (n > 0) {
      sent += static_cast<std::size_t>(n);
      stalled = 0;
      continue;
    }
    int w = serial_port_wait_writable(entry.descriptor, serial_wait_step_ms);
    if (w < 0) return report_error(err_serial_i_o_error);
    if (w == 0 && ++stalled >= serial_write_timeouts) return report_error(err_serial_i_o_error);
    int interrupted = poll_user_interrupt();
    if (interrupted < 0) return interrupted;
  }
  return 0;
}

void serial_release(file_entry& entry) {
  delete entry.port_settings;
  entry.port_settings = nullptr;
  entry.read_overlapped = nullptr;
  entry.write_overlapped = nullptr;
  if (entry.descriptor >= 0) serial_port_close(entry.descriptor);
  entry.descriptor = -1;
  entry.has_pending_byte = 0;
  entry.pending_byte = 0;
  entry.handle = 0;
}

void serial_close(file_entry& entry) {
  if (entry.handle != 0 || entry.descriptor >= 0) serial_release(entry);
}

int serial_fill_port_list(std::vector<std::string>& ports) {
  ports = serial_port_list();
  return ports.empty() ? -1 : 0;
}

int func_browsecommports(expr_item* arguments, int count) {
  if (console_mode) return report_error(err_statement_not_valid_in_console);
  if (count != 1) return report_error(err_incorrect_number_parameters);
  if (arguments[0].type != ITEM_STRING) {
    return report_error_at(arguments[0].column, err_invalid_type_expecting_string);
  }
  serial_port_request request;
  request.prompt = temp_string_text(static_cast<std::uint32_t>(arguments[0].value.bits));
  request.rescan = serial_fill_port_list;
  request.large = dialogs_large();
  serial_fill_port_list(request.ports);
  int chosen = dialog_port().choose_serial_port(request);
  if (chosen == dialog_unavailable) return dialog_not_available("The port chooser");
  if (chosen < 0 || static_cast<std::size_t>(chosen) >= request.ports.size()) return report_error(err_user_cancelled_from_comm_port);
  std::snprintf(string_accumulator, max_string_length + 1, "%s", request.ports[static_cast<std::size_t>(chosen)].c_str());
  string_accumulator_length = static_cast<std::int32_t>(std::strlen(string_accumulator));
  set_named_var_string("selected_string$");
  return ITEM_STRING;
}
