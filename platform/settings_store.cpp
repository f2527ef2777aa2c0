// The settings file: "Name=s:text" and "Name=n:number" lines, texts escaped so
// that any byte but NUL survives a round trip; other lines (comments) are
// kept as they stand; see settings_store.h.
#include "platform/settings_store.h"

#include "platform/small_file.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

struct stored_value {
  std::string name;    // spelling as first written
  bool is_number = false;
  std::string text;
  std::uint32_t number = 0;
};

// Orders names without regard to case, so "WorkingDir" and "WorkingDIr" meet.
struct case_blind_less {
  bool operator()(const std::string& a, const std::string& b) const {
    return strcasecmp(a.c_str(), b.c_str()) < 0;
  }
};
using value_map = std::map<std::string, stored_value, case_blind_less>;

struct settings_store_state {
  bool open = false;
  std::string path;
  value_map values;   // the file as read, with the pending changes applied
  value_map pending;  // changes not yet in the file
  std::string failure;  // why the last open or commit failed
};

// A settings file is a few kilobytes; anything much larger is not one.
constexpr std::size_t settings_file_max_bytes = 1 << 20;
constexpr char settings_file_header[] = "# Tovarelle settings (s: text, n: number)";
settings_store_state store;

std::string escape_text(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (c == '\\') out += "\\\\";
    else if (c == '\n') out += "\\n";
    else if (c == '\r') out += "\\r";
    else out += c;
  }
  return out;
}

std::string unescape_text(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '\\' && i + 1 < text.size()) {
      char next = text[++i];
      out += next == 'n' ? '\n' : next == 'r' ? '\r' : next;
    } else {
      out += c;
    }
  }
  return out;
}

// Parses one "Name=s:..." or "Name=n:..." line; false for anything else.
bool parse_line(std::string_view line, stored_value& value) {
  std::size_t eq = line.find('=');
  if (eq == 0 || eq == std::string_view::npos || line.size() < eq + 3 || line[eq + 2] != ':') return false;
  value.name = std::string(line.substr(0, eq));
  std::string_view body = line.substr(eq + 3);
  if (line[eq + 1] == 's') {
    value.is_number = false;
    value.text = unescape_text(body);
    return true;
  }
  if (line[eq + 1] != 'n' || body.empty() || body.size() > 10) return false;
  std::uint64_t n = 0;
  for (char c : body) {
    if (c < '0' || c > '9') return false;
    n = n * 10 + static_cast<unsigned>(c - '0');
  }
  if (n > UINT32_MAX) return false;
  value.is_number = true;
  value.number = static_cast<std::uint32_t>(n);
  return true;
}

// The value a line of the file holds: false for comments, blank or damaged
// lines and lines with a NUL byte (a CR before the line end is dropped).
bool parse_file_line(std::string_view line, stored_value& value) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  return !line.empty() && line[0] != '#' && line.find('\0') == std::string_view::npos && parse_line(line, value);
}

// The file as read: its lines as they stand (for the rewrite, which keeps
// every line it does not change) and the values they hold.
struct file_image {
  std::vector<std::string> lines;
  value_map values;
};

void fail(const std::string& what, const char* why) { store.failure = what + ": " + why; }

// Reads the whole file; a missing file gives an empty image. A later line of
// the same name wins. Lines that hold no value (comments, damage, NUL bytes)
// are kept as lines only.
bool read_file(const std::string& path, file_image& image) {
  image = file_image{};
  std::string content;
  int error = 0;
  small_file_status status = read_small_file(path, settings_file_max_bytes, content, error);
  if (status == small_file_status::missing) return true;
  if (status != small_file_status::ok) {
    fail(path, small_file_problem(status, settings_file_max_bytes, error).c_str());
    return false;
  }
  std::size_t pos = 0;
  while (pos < content.size()) {
    std::size_t end = content.find('\n', pos);
    if (end == std::string::npos) end = content.size();
    image.lines.emplace_back(content, pos, end - pos);
    stored_value v;
    if (parse_file_line(image.lines.back(), v)) image.values[v.name] = v;
    pos = end + 1;
  }
  return true;
}

// Creates every missing folder of path's parent.
bool make_parent_folders(const std::string& path) {
  std::size_t slash = path.rfind('/');
  if (slash == std::string::npos || slash == 0) return true;
  std::string folder = path.substr(0, slash);
  for (std::size_t i = 1; i <= folder.size(); ++i) {
    if (i == folder.size() || folder[i] == '/') {
      std::string part = folder.substr(0, i);
      if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) {
        fail(part, std::strerror(errno));
        return false;
      }
    }
  }
  struct stat st {};
  if (::stat(folder.c_str(), &st) != 0) {
    fail(folder, std::strerror(errno));
    return false;
  }
  if (!S_ISDIR(st.st_mode)) {
    fail(folder, "not a folder");
    return false;
  }
  return true;
}

bool write_all(int fd, const std::string& text) {
  std::size_t done = 0;
  while (done < text.size()) {
    ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    done += static_cast<std::size_t>(n);
  }
  return true;
}

std::string value_line(const stored_value& v, const std::string& name) {
  return name + (v.is_number ? "=n:" + std::to_string(v.number) : "=s:" + escape_text(v.text));
}

// The text of the file after the changes: every line kept in its place, a
// changed value's line rewritten where it stands (keeping its spelling of
// the name), new values at the end.
std::string merged_text(const file_image& image, const value_map& changes) {
  std::string text;
  std::map<std::string, bool, case_blind_less> placed;
  if (image.lines.empty()) {
    text += settings_file_header;
    text += '\n';
  }
  for (const std::string& line : image.lines) {
    stored_value v;
    auto change = parse_file_line(line, v) ? changes.find(v.name) : changes.end();
    if (change != changes.end()) {
      text += value_line(change->second, v.name);
      placed[v.name] = true;
    } else {
      text += line;
    }
    text += '\n';
  }
  for (const auto& [key, v] : changes) {
    if (placed.count(key) != 0) continue;
    text += value_line(v, v.name);
    text += '\n';
  }
  return text;
}

// The file a write replaces: a settings file that is a link is replaced where
// it points, so the link stays.
std::string write_target(const std::string& path) {
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
  char* real = ::realpath(path.c_str(), nullptr);
  if (real == nullptr) return path;
  std::string target = real;
  std::free(real);
  return target;
}

// Writes text to a temporary file beside path, then renames it over path.
bool write_file_atomically(const std::string& path, const std::string& text) {
  std::string target = write_target(path);
  std::string temp_buf = target + ".XXXXXX";
  int fd = ::mkstemp(temp_buf.data());
  if (fd < 0) {
    fail(target, std::strerror(errno));
    return false;
  }
  int error = 0;
  if (!write_all(fd, text) || ::fsync(fd) != 0) error = errno;
  if (::close(fd) != 0 && error == 0) error = errno;
  if (error == 0 && ::rename(temp_buf.c_str(), target.c_str()) != 0) error = errno;
  if (error != 0) {
    ::unlink(temp_buf.c_str());
    fail(target, std::strerror(error));
    return false;
  }
  return true;
}

// Whether two values are the same setting (the name's spelling aside).
bool same_value(const stored_value& a, const stored_value& b) {
  return a.is_number == b.is_number && (a.is_number ? a.number == b.number : a.text == b.text);
}

// A name the file can hold: not empty, no "=", no line break, no leading "#".
bool valid_name(std::string_view name) {
  return !name.empty() && name[0] != '#' && name.find_first_of("=\r\n") == std::string_view::npos;
}

// A value that is already what the file holds is not a change: the file is
// rewritten only when something in it changes.
void set_value(const stored_value& v) {
  auto known = store.values.find(v.name);
  if (known != store.values.end() && same_value(known->second, v) && store.pending.count(v.name) == 0) return;
  auto put = [&](value_map& map) {
    auto it = map.find(v.name);
    if (it == map.end()) {
      map[v.name] = v;
    } else {
      std::string spelling = it->second.name;
      it->second = v;
      it->second.name = spelling;
    }
  };
  put(store.values);
  put(store.pending);
}

}  // namespace

std::string settings_store_default_path() {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  if (config && config[0] == '/') return std::string(config) + "/tovarelle/settings";
  const char* home = std::getenv("HOME");
  if (home && home[0]) return std::string(home) + "/.config/tovarelle/settings";
  return {};
}

bool settings_store_open(const std::string& path) {
  settings_store_close();
  store.failure.clear();
  if (path.empty()) {
    store.failure = "no settings folder (neither XDG_CONFIG_HOME nor HOME is set)";
    return false;
  }
  if (!make_parent_folders(path)) return false;
  file_image image;
  if (!read_file(path, image)) return false;
  store.open = true;
  store.path = path;
  store.values = std::move(image.values);
  return true;
}

void settings_store_close() {
  store.open = false;
  store.path.clear();
  store.values.clear();
  store.pending.clear();
}

bool settings_store_is_open() { return store.open; }

bool settings_store_read_text(std::string_view name, std::string& value) {
  if (!store.open) return false;
  auto it = store.values.find(std::string(name));
  if (it == store.values.end() || it->second.is_number) return false;
  value = it->second.text;
  return true;
}

bool settings_store_read_number(std::string_view name, std::uint32_t& value) {
  if (!store.open) return false;
  auto it = store.values.find(std::string(name));
  if (it == store.values.end() || !it->second.is_number) return false;
  value = it->second.number;
  return true;
}

bool settings_store_write_text(std::string_view name, std::string_view value) {
  if (!store.open || !valid_name(name)) return false;
  stored_value v;
  v.name = std::string(name);
  v.text = std::string(value);
  set_value(v);
  return true;
}

bool settings_store_write_number(std::string_view name, std::uint32_t value) {
  if (!store.open || !valid_name(name)) return false;
  stored_value v;
  v.name = std::string(name);
  v.is_number = true;
  v.number = value;
  set_value(v);
  return true;
}

bool settings_store_commit() {
  store.failure.clear();
  if (!store.open) {
    store.failure = "the settings file is not open";
    return false;
  }
  if (store.pending.empty()) return true;
  // Merge into the file as it is now, so values another process wrote survive.
  file_image on_disk;
  if (!read_file(store.path, on_disk)) return false;
  // Every start writes the size settings back: a file that already holds
  // them is left as it is (no rewrite, no fsync).
  bool changed = false;
  for (const auto& [key, v] : store.pending) {
    auto it = on_disk.values.find(key);
    if (it == on_disk.values.end() || !same_value(it->second, v)) changed = true;
  }
  if (changed && !write_file_atomically(store.path, merged_text(on_disk, store.pending))) return false;
  for (const auto& [key, v] : store.pending) {
    auto it = on_disk.values.find(key);
    if (it == on_disk.values.end()) {
      on_disk.values[key] = v;
    } else {
      std::string spelling = it->second.name;
      it->second = v;
      it->second.name = spelling;
    }
  }
  store.values = std::move(on_disk.values);
  store.pending.clear();
  return true;
}

const std::string& settings_store_failure() { return store.failure; }
