// Serial ports as file channels: opening with the OPEN settings, one line per
// read or write (LF ends a line, CR is dropped), the INPUT(n) probe, and the
// port chooser behind BROWSECOMMPORTS$.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "interpreter/item.h"
#include "platform/serial_port.h"

struct file_entry;

// What a serial channel keeps besides its descriptor (file_entry::port_settings).
struct serial_port_settings {
  serial_line_settings line;
  std::string device;  // the device path opened
};

// Waits: reads and writes wait in steps of serial_wait_step_ms. A line read
// fails with 321 after serial_read_timeouts steps without a byte in all; the
// probe answers 0 after serial_probe_timeouts. A write that makes no progress
// for serial_write_timeouts steps fails with 320.
constexpr int serial_wait_step_ms = 100;
constexpr int serial_read_timeouts = 52;
constexpr int serial_probe_timeouts = 2;
constexpr int serial_write_timeouts = 52;

// 1 makes serial_read_line a probe (INPUT(n)): it answers whether a byte waits.
extern std::uint32_t serial_eof_probe;

// The device a port name stands for: a name with "/" as it is; "COMn" the
// n-th legacy port /dev/ttyS(n-1); any other name under /dev.
std::string serial_device_path(const std::string& port_name);

// Opens the port for OPEN "serial": the channel's mode becomes serial, the
// line settings come from open_baud, open_parity and open_stop_bits (files.h).
// Returns a non-zero value for file_entry::handle, or 0 with everything it
// took released (OPEN then reports 136).
std::uint32_t serial_open(file_entry& entry, const char* port_name);
// The work of serial_open with explicit settings; same result.
std::uint32_t serial_open_port(file_entry& entry, const char* port_name, const serial_line_settings& settings);

// Reads one line into entry.line_buffer (NUL-terminated, buffer_length set).
// Returns 0 (a line is there), 1 (probe: a byte waits and is kept for the
// next read), 0 in a probe when nothing arrived, or a negative reported code
// (319, 320, 321, or the interrupt's code).
int serial_read_line(file_entry& entry);
// Sends entry.line_buffer (buffer_length bytes), adding LF when it is not
// empty and does not end in one. Returns 0 or a negative reported code (320,
// or the interrupt's code).
int serial_write_line(file_entry& entry);

// CLOSE of a serial channel; serial_release frees what the port holds and
// sets handle to 0.
void serial_close(file_entry& entry);
void serial_release(file_entry& entry);

// The port list for the chooser. Returns 0, or -1 when no port was found.
int serial_fill_port_list(std::vector<std::string>& ports);

// BROWSECOMMPORTS$(prompt), through the dialog port's chooser: the chosen name in string_accumulator (and the
// BASIC variable selected_string$); returns 3, or a negative reported code
// (293 in console mode, 145, 146, 325 on cancel).
int func_browsecommports(expr_item* arguments, int count);
