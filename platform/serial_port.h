// Serial devices through termios: raw 8-bit lines, the line settings, byte
// reads and writes that wait in bounded steps, and the list of ports.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct termios;

struct serial_line_settings {
  std::uint32_t baud_rate = 9600;  // 0 keeps the device's current speed
  int parity = 0;                  // 0 none, 1 odd, 2 even, 3 mark, 4 space
  int stop_bits = 0;               // 0 one, 1 one and a half, 2 two
};

// Raw 8-bit line settings with the given parity and stop bits (the speed is
// set separately): receiver on, modem lines ignored, no flow control by
// XON/XOFF, no translation of bytes, a read satisfied by one byte.
void serial_make_termios(termios& t, const serial_line_settings& settings);

// Opens the device (no controlling terminal, non-blocking) and puts it in raw
// mode: 8 data bits, the given parity and stop bits, receiver on, no XON/XOFF,
// DTR and RTS raised. Output does not wait for CTS (a device that never
// raises it would otherwise stall every write). Returns the descriptor, or -1
// with nothing left open.
int serial_port_open(const char* device, const serial_line_settings& settings);
void serial_port_close(int fd);

// Waits up to timeout_ms for the device to become readable (or writable).
// Returns 1 ready, 0 timed out, -1 error, -2 the other end hung up.
int serial_port_wait_readable(int fd, int timeout_ms);
int serial_port_wait_writable(int fd, int timeout_ms);

// Reads one byte without blocking: 1 read, 0 nothing there, -1 error,
// -2 hang-up.
int serial_port_read_byte(int fd, unsigned char& byte);
// Writes what the device takes now without blocking: the count written
// (possibly 0), -1 error, -2 hang-up.
long serial_port_write_some(int fd, const char* data, std::size_t length);
// Drops bytes received and not yet read.
void serial_port_discard_input(int fd);

// Device names of the serial ports present: /dev/serial/by-id links first,
// then the tty devices of /sys/class/tty that stand on real hardware and are
// not already listed through a link. Empty when none is found.
std::vector<std::string> serial_port_list();
