// The desktop branch of start-up (see desktop_main.h).
#include "frontend/qt/desktop_main.h"

#include <unistd.h>

#include <QApplication>
#include <string>

#include "frontend/desktop_launch.h"
#include "session/paths.h"
#include "frontend/qt/dialogs/qt_dialog_port.h"
#include "frontend/qt/field_edit.h"
#include "frontend/qt/draw/qt_font_engine.h"
#include "frontend/qt/end_signals.h"
#include "frontend/qt/graph_export_port_qt.h"
#include "frontend/qt/graph_window_qt.h"
#include "frontend/qt/main_window.h"
#include "session/size_settings.h"
#include "frontend/startup.h"
#include "graph/graph_window.h"
#include "ports/control_ids.h"
#include "ports/font_engine.h"

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

int desktop_main(int argc, char** argv) {
  // The program named on the command line, taken before Qt reads its own
  // options out of argv.
  std::string program = argc > 1 ? argv[1] : "";
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Tovarelle"));
  if (startup_refusal != nullptr) {
    show_message(nullptr, QStringLiteral("Error"), QString::fromLatin1(startup_refusal));
    return -1;
  }
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
    // SIGTERM and SIGINT take the Exit road from the event loop.
    EndSignals end_signals([window] { window->logic().exit_road(); });
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

extern "C" int tovarelle_desktop_main(int argc, char** argv) { return desktop_main(argc, argv); }
