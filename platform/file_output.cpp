// Files written whole or not at all (see file_output.h).
#include "platform/file_output.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace {

std::string reason(const std::string& what, const std::string& path, int err) {
  return what + " " + path + ": " + std::strerror(err);
}

std::string folder_of(const std::string& path) {
  std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

}  // namespace

bool output_file::open(const std::string& path, std::string& error) {
  abandon();
  if (path.empty()) {
    error = "No file name given.";
    return false;
  }
  struct stat st {};
  bool exists = ::stat(path.c_str(), &st) == 0;
  if (exists && !S_ISREG(st.st_mode)) {
    // Not a regular file: write to it directly, as it is.
    stream_ = std::fopen(path.c_str(), "wb");
    if (!stream_) {
      error = reason("Cannot open", path, errno);
      return false;
    }
    path_ = path;
    temp_path_.clear();
    return true;
  }

  // Beside the real file, so that the rename replaces it (and not a link to it).
  std::string target = path;
  if (exists) {
    char resolved[PATH_MAX];
    if (::realpath(path.c_str(), resolved)) target = resolved;
  }
  std::string temp = folder_of(target) + "/.tov-XXXXXX";
  int fd = ::mkstemp(temp.data());
  if (fd < 0) {
    error = reason("Cannot create a file in", folder_of(target), errno);
    return false;
  }
  mode_t mode = 0666;
  if (exists) {
    mode = st.st_mode & 07777;
  } else {
    mode_t mask = ::umask(0);
    ::umask(mask);
    mode &= ~mask;
  }
  ::fchmod(fd, mode);
  stream_ = ::fdopen(fd, "wb");
  if (!stream_) {
    int err = errno;
    ::close(fd);
    ::unlink(temp.c_str());
    error = reason("Cannot open", path, err);
    return false;
  }
  path_ = target;
  temp_path_ = temp;
  return true;
}

bool output_file::write(const void* data, std::size_t size, std::string& error) {
  if (!stream_) {
    error = "The file is not open.";
    return false;
  }
  if (size == 0) return true;
  errno = 0;
  if (std::fwrite(data, 1, size, stream_) != size) {
    error = reason("Cannot write", path_, errno ? errno : EIO);
    return false;
  }
  return true;
}

bool output_file::commit(std::string& error) {
  if (!stream_) {
    error = "The file is not open.";
    return false;
  }
  bool ok = true;
  int err = 0;
  if (std::fflush(stream_) != 0 || std::ferror(stream_)) {
    ok = false;
    err = errno ? errno : EIO;
  }
  if (ok && !temp_path_.empty() && ::fsync(::fileno(stream_)) != 0) {
    ok = false;
    err = errno;
  }
  if (std::fclose(stream_) != 0 && ok) {
    ok = false;
    err = errno ? errno : EIO;
  }
  stream_ = nullptr;
  if (ok && !temp_path_.empty() && ::rename(temp_path_.c_str(), path_.c_str()) != 0) {
    ok = false;
    err = errno;
  }
  if (!ok) {
    error = reason("Cannot write", path_, err);
    if (!temp_path_.empty()) ::unlink(temp_path_.c_str());
  }
  temp_path_.clear();
  return ok;
}

void output_file::abandon() {
  if (!stream_) return;
  std::fclose(stream_);
  stream_ = nullptr;
  if (!temp_path_.empty()) ::unlink(temp_path_.c_str());
  temp_path_.clear();
}

bool write_whole_file(const std::string& path, const void* data, std::size_t size, std::string& error) {
  output_file file;
  return file.open(path, error) && file.write(data, size, error) && file.commit(error);
}
