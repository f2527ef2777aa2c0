// The desktop branch of start-up (see desktop_main.h).
#include "frontend/qt/desktop_main.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "frontend/paths.h"
#include "frontend/qt/dialogs/qt_dialog_port.h"
#include "frontend/qt/draw/qt_font_engine.h"
#include "frontend/qt/graph_export_port_qt.h"
#include "frontend/qt/graph_window_qt.h"
#include "frontend/qt/main_window.h"
#include "frontend/size_settings.h"
#include "frontend/startup.h"
#include "graph/graph_window.h"
#include "ports/control_ids.h"
#include "ports/font_engine.h"

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

}  // namespace

GraphWindowLinks graph_window_links(MainWindow* window) {
  GraphWindowLinks links;
  links.focus_command_box = [window] {
    window->restore_and_raise();
    window->focus(IDC_COMMAND);
  };
  links.pause = [window] { window->logic().command(IDC_RUN_STEP); };
  links.restart = [window] {
    QWidget* run = window->control(IDC_RUN);
    if (run == nullptr || !run->isEnabled()) return;
    window->post([window] {
      window->restore_and_raise();
      window->logic().command(IDC_RUN);
    });
  };
  return links;
}

bool desktop_display_available() {
  std::string platform = env("QT_QPA_PLATFORM");
  if (!platform.empty() && platform.rfind("xcb", 0) != 0 && platform.rfind("wayland", 0) != 0) return true;
  if (platform.rfind("wayland", 0) == 0) return wayland_reachable(env("WAYLAND_DISPLAY"));
  if (platform.rfind("xcb", 0) == 0) return x_display_reachable(env("DISPLAY"));
  return x_display_reachable(env("DISPLAY")) || wayland_reachable(env("WAYLAND_DISPLAY"));
}

int desktop_main(int argc, char** argv) {
  if (!desktop_display_available()) {
    std::fprintf(stderr, "tovarelle: no display found; start it with /c to use console mode.\n");
    return 1;
  }
  // The program named on the command line, taken before Qt reads its own
  // options out of argv.
  std::string program = argc > 1 ? argv[1] : "";
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Tovarelle"));
  apply_command_line_program(program);
  // Graph texts are measured and outlined with the same fonts as they are drawn.
  QtFontEngine graph_fonts;
  install_graph_font_engine(&graph_fonts);

  int result = 0;
  {
    const int screen_size = static_cast<int>(size_settings[SIZE_SCREEN_SIZE].current);
    auto* window = new MainWindow(screen_size);
    install_qt_dialogs(window);
    QtFontEngine fonts;
    install_graph_font_engine(&fonts);
    QtGraphHost graph_host(fonts, screen_size, graph_window_links(window));
    install_graph_host_port(&graph_host);
    install_qt_graph_export_port();
    window->show();
    window->start(autorun_pending != 0);
    autorun_pending = 0;
    if (!window->closing()) result = app.exec();
    graph_window_destroy();
    install_graph_host_port(nullptr);
    install_graph_font_engine(nullptr);
    install_qt_dialogs(nullptr);
    uninstall_qt_graph_export_port();
    // Deleted from the event loop, never while one of its handlers runs.
    window->deleteLater();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  install_graph_font_engine(nullptr);
  if (!startup_folder.empty() && chdir(startup_folder.c_str()) != 0) {
    // The start folder went away meanwhile: nothing left to return to.
  }
  return result == 0 ? 0 : 1;
}
