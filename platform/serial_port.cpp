// termios serial devices: raw mode, line settings, non-blocking byte I/O with
// poll-based waits, and the port list from /dev/serial/by-id and /sys/class/tty.
#include "platform/serial_port.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <linux/serial.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

// The kernel's termios with free speeds, for rates that have no B constant.
// Its layout is the kernel ABI (asm/termbits.h cannot be included together
// with termios.h).
struct termios2 {
  tcflag_t c_iflag;
  tcflag_t c_oflag;
  tcflag_t c_cflag;
  tcflag_t c_lflag;
  cc_t c_line;
  cc_t c_cc[19];
  speed_t c_ispeed;
  speed_t c_ospeed;
};

namespace {

constexpr tcflag_t free_speed_flag = 0010000;  // BOTHER: speed in c_ispeed/c_ospeed

struct speed_code {
  std::uint32_t rate;
  speed_t code;
};
constexpr speed_code standard_speeds[] = {
    {50, B50},         {75, B75},         {110, B110},       {134, B134},       {150, B150},
    {200, B200},       {300, B300},       {600, B600},       {1200, B1200},     {1800, B1800},
    {2400, B2400},     {4800, B4800},     {9600, B9600},     {19200, B19200},   {38400, B38400},
    {57600, B57600},   {115200, B115200}, {230400, B230400},
};

bool find_standard_speed(std::uint32_t rate, speed_t& code) {
  for (const speed_code& s : standard_speeds) {
    if (s.rate == rate) {
      code = s.code;
      return true;
    }
  }
  return false;
}

// Sets a rate without a B constant through the kernel's free-speed termios.
bool set_free_speed(int fd, std::uint32_t rate) {
#ifdef TCGETS2
  termios2 t2 {};
  if (ioctl(fd, TCGETS2, &t2) != 0) return false;
  t2.c_cflag &= ~static_cast<tcflag_t>(CBAUD);
  t2.c_cflag |= free_speed_flag;
  t2.c_ispeed = rate;
  t2.c_ospeed = rate;
  return ioctl(fd, TCSETS2, &t2) == 0;
#else
  (void)fd;
  (void)rate;
  return false;
#endif
}

int poll_one(int fd, short events, int timeout_ms) {
  pollfd p {};
  p.fd = fd;
  p.events = events;
  int r = 0;
  do {
    r = poll(&p, 1, timeout_ms);
  } while (r < 0 && errno == EINTR);
  if (r < 0) return -1;
  if (r == 0) return 0;
  if (p.revents & events) return 1;   // data first: bytes may still wait before a hang-up
  if (p.revents & POLLHUP) return -2;
  return -1;                          // POLLERR, POLLNVAL
}

}  // namespace

void serial_make_termios(termios& t, const serial_line_settings& settings) {
  cfmakeraw(&t);
  t.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY | INPCK | PARMRK | ISTRIP);
  t.c_iflag |= IGNBRK;
  t.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS);
  t.c_cflag |= CS8 | CREAD | CLOCAL;
  switch (settings.parity) {
    case 1: t.c_cflag |= PARENB | PARODD; break;
    case 2: t.c_cflag |= PARENB; break;
    case 3: t.c_cflag |= PARENB | PARODD | CMSPAR; break;  // mark
    case 4: t.c_cflag |= PARENB | CMSPAR; break;           // space
    default: break;
  }
  // termios knows one or two stop bits; one and a half is what the hardware
  // sends for two stop bits at 5 data bits, so both ask for two.
  if (settings.stop_bits != 0) t.c_cflag |= CSTOPB;
  // One byte satisfies a read; with O_NONBLOCK an empty line gives EAGAIN
  // rather than 0, so a read of 0 always means the other end hung up.
  t.c_cc[VMIN] = 1;
  t.c_cc[VTIME] = 0;
}

int serial_port_open(const char* device, const serial_line_settings& settings) {
  if (!device || !*device || settings.parity < 0 || settings.parity > 4 || settings.stop_bits < 0 ||
      settings.stop_bits > 2)
    return -1;
  int fd = open(device, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return -1;
  termios t {};
  if (!isatty(fd) || tcgetattr(fd, &t) != 0) {
    close(fd);
    return -1;
  }
  serial_make_termios(t, settings);
  bool free_speed = false;
  if (settings.baud_rate != 0) {
    speed_t code = 0;
    if (find_standard_speed(settings.baud_rate, code)) {
      cfsetispeed(&t, code);
      cfsetospeed(&t, code);
    } else {
      free_speed = true;
    }
  }
  if (tcsetattr(fd, TCSANOW, &t) != 0 || (free_speed && !set_free_speed(fd, settings.baud_rate))) {
    close(fd);
    return -1;
  }
  // DTR on and RTS raised; devices without modem lines (pseudo terminals)
  // refuse this, which is harmless.
  int lines = TIOCM_DTR | TIOCM_RTS;
  ioctl(fd, TIOCMBIS, &lines);
  tcflush(fd, TCIOFLUSH);
  return fd;
}

void serial_port_close(int fd) {
  if (fd >= 0) close(fd);
}

int serial_port_wait_readable(int fd, int timeout_ms) { return poll_one(fd, POLLIN, timeout_ms); }
int serial_port_wait_writable(int fd, int timeout_ms) { return poll_one(fd, POLLOUT, timeout_ms); }

int serial_port_read_byte(int fd, unsigned char& byte) {
  for (;;) {
    ssize_t n = read(fd, &byte, 1);
    if (n == 1) return 1;
    if (n == 0) return -2;
    if (errno == EINTR) continue;
    if (errno == EAGAIN || errno == EWOULDBLOCK) return 0;
    if (errno == EIO) return -2;  // a pseudo terminal whose other side closed
    return -1;
  }
}

long serial_port_write_some(int fd, const char* data, std::size_t length) {
  if (length == 0) return 0;
  for (;;) {
    ssize_t n = write(fd, data, length);
    if (n >= 0) return static_cast<long>(n);
    if (errno == EINTR) continue;
    if (errno == EAGAIN || errno == EWOULDBLOCK) return 0;
    if (errno == EIO) return -2;
    return -1;
  }
}

void serial_port_discard_input(int fd) { tcflush(fd, TCIFLUSH); }

namespace {

std::vector<std::string> sorted_entries(const char* folder) {
  std::vector<std::string> names;
  DIR* dir = opendir(folder);
  if (!dir) return names;
  while (dirent* e = readdir(dir)) {
    if (e->d_name[0] == '.') continue;
    names.emplace_back(e->d_name);
  }
  closedir(dir);
  std::sort(names.begin(), names.end());
  return names;
}

std::string real_path_of(const std::string& path) {
  char buf[PATH_MAX];
  if (!realpath(path.c_str(), buf)) return path;
  return buf;
}

// A tty of /sys/class/tty stands on real hardware when it has a device link;
// the legacy 8250 ports exist for every possible UART, so those also need the
// driver to know a UART type behind them.
bool tty_has_hardware(const std::string& name) {
  std::string sys = "/sys/class/tty/" + name + "/device";
  struct stat st {};
  if (stat(sys.c_str(), &st) != 0) return false;
  if (name.rfind("ttyS", 0) != 0) return true;
  std::string dev = "/dev/" + name;
  int fd = open(dev.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  serial_struct info {};
  bool present = ioctl(fd, TIOCGSERIAL, &info) == 0 && info.type != PORT_UNKNOWN;
  close(fd);
  return present;
}

}  // namespace

std::vector<std::string> serial_port_list() {
  std::vector<std::string> ports;
  std::vector<std::string> seen;  // real devices already named through a link
  for (const std::string& link : sorted_entries("/dev/serial/by-id")) {
    std::string path = "/dev/serial/by-id/" + link;
    ports.push_back(path);
    seen.push_back(real_path_of(path));
  }
  for (const std::string& name : sorted_entries("/sys/class/tty")) {
    std::string dev = "/dev/" + name;
    if (std::find(seen.begin(), seen.end(), dev) != seen.end()) continue;
    if (tty_has_hardware(name)) ports.push_back(dev);
  }
  return ports;
}
