// Reading small configuration files whole; see small_file.h.
#include "platform/small_file.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// Closes the descriptor on every way out.
struct descriptor {
  int fd;
  ~descriptor() {
    if (fd >= 0) ::close(fd);
  }
};
}  // namespace

small_file_status read_small_file(const std::string& path, std::size_t max_bytes, std::string& content, int& error) {
  content.clear();
  error = 0;
  // Look before opening: opening a device can have effects of its own.
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) {
    error = errno;
    return error == ENOENT ? small_file_status::missing : small_file_status::failed;
  }
  if (!S_ISREG(st.st_mode)) return small_file_status::not_regular;
  // O_NONBLOCK: should the path have become a FIFO meanwhile, the open
  // still returns at once, and fstat refuses it.
  descriptor file{::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC)};
  if (file.fd < 0) {
    error = errno;
    return error == ENOENT ? small_file_status::missing : small_file_status::failed;
  }
  if (::fstat(file.fd, &st) != 0) {
    error = errno;
    return small_file_status::failed;
  }
  if (!S_ISREG(st.st_mode)) return small_file_status::not_regular;
  if (st.st_size < 0 || static_cast<unsigned long long>(st.st_size) > max_bytes) return small_file_status::too_large;
  char buffer[8192];
  for (;;) {
    ssize_t n = ::read(file.fd, buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      error = errno;
      content.clear();
      return small_file_status::failed;
    }
    if (n == 0) return small_file_status::ok;
    if (content.size() + static_cast<std::size_t>(n) > max_bytes) {  // it grew while we read
      content.clear();
      return small_file_status::too_large;
    }
    content.append(buffer, static_cast<std::size_t>(n));
  }
}

std::string small_file_problem(small_file_status status, std::size_t max_bytes, int error) {
  switch (status) {
    case small_file_status::ok: return "read";
    case small_file_status::not_regular: return "not a regular file";
    case small_file_status::too_large: return "larger than " + std::to_string(max_bytes) + " bytes";
    case small_file_status::missing:
    case small_file_status::failed: break;
  }
  return std::strerror(error != 0 ? error : EIO);
}
