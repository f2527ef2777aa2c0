// The window branch of start-up (see desktop_launch.h).
#include "frontend/desktop_launch.h"
#include "frontend/startup.h"

#include <dlfcn.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

std::string env(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

bool unix_socket_answers(const std::string& path, bool abstract) {
  int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  sockaddr_un address {};
  address.sun_family = AF_UNIX;
  std::size_t offset = abstract ? 1 : 0;  // the abstract namespace starts with a zero byte
  if (path.size() + offset >= sizeof address.sun_path) {
    ::close(fd);
    return false;
  }
  std::memcpy(address.sun_path + offset, path.data(), path.size());
  socklen_t length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + offset + path.size());
  bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&address), length) == 0;
  ::close(fd);
  return ok;
}

// A local X display (":N" or ":N.S") answers on its socket. Remote displays
// ("host:N") are left to Qt.
bool x_display_reachable(const std::string& display) {
  if (display.empty()) return false;
  if (display[0] != ':') return true;
  std::string number = display.substr(1, display.find('.') == std::string::npos ? std::string::npos
                                                                                : display.find('.') - 1);
  std::string path = "/tmp/.X11-unix/X" + number;
  return unix_socket_answers(path, false) || unix_socket_answers(path, true);
}

bool wayland_reachable(const std::string& name) {
  if (name.empty()) return false;
  std::string path = name[0] == '/' ? name : env("XDG_RUNTIME_DIR") + "/" + name;
  return unix_socket_answers(path, false);
}

// The folder of the running executable, with its final slash; empty when
// the kernel does not say.
std::string executable_folder() {
  std::string path(4096, '\0');
  ssize_t length = ::readlink("/proc/self/exe", path.data(), path.size());
  if (length <= 0 || static_cast<std::size_t>(length) >= path.size()) return "";
  path.resize(static_cast<std::size_t>(length));
  return path.substr(0, path.rfind('/') + 1);
}

int module_failure(const std::string& module, const char* reason) {
  std::fprintf(stderr, "tovarelle: cannot load the desktop module %s: %s\n", module.c_str(),
               reason != nullptr ? reason : "unknown error");
  return 1;
}

}  // namespace

bool desktop_display_available() {
  std::string platform = env("QT_QPA_PLATFORM");
  if (!platform.empty() && platform.rfind("xcb", 0) != 0 && platform.rfind("wayland", 0) != 0) return true;
  if (platform.rfind("wayland", 0) == 0) return wayland_reachable(env("WAYLAND_DISPLAY"));
  if (platform.rfind("xcb", 0) == 0) return x_display_reachable(env("DISPLAY"));
  return x_display_reachable(env("DISPLAY")) || wayland_reachable(env("WAYLAND_DISPLAY"));
}

int desktop_launch(int argc, char** argv) {
  if (!desktop_display_available()) {
    // A refused command line has been said on standard error already.
    if (startup_refusal == nullptr)
      std::fprintf(stderr, "tovarelle: no display found; start it with /c to use console mode.\n");
    return 1;
  }
  std::string folder = executable_folder();
  if (folder.empty()) return module_failure(desktop_module_file, "the folder of the executable is unknown");
  std::string module = folder + desktop_module_file;
  // Local binding: the module's own libraries stay out of the global scope,
  // while its references to the interpreter bind to this executable. It is
  // never unloaded.
  void* handle = ::dlopen(module.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) return module_failure(module, ::dlerror());
  void* entry = ::dlsym(handle, desktop_module_entry);
  if (entry == nullptr) return module_failure(module, ::dlerror());
  auto* desktop_main = reinterpret_cast<decltype(&tovarelle_desktop_main)>(entry);
  return desktop_main(argc, argv);
}
