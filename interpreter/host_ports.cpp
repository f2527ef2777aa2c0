// The installed ports: what the host put in place at start-up, or the
// defaults that need no window (console output, refusing dialogs, no graph
// window).
#include "platform/console_port.h"
#include "ports/dialog_port.h"
#include "ports/frontend_port.h"
#include "ports/graph_export_port.h"
#include "ports/graph_host_port.h"

namespace {

ConsolePort console_port;
FrontendPort* installed_frontend = &console_port;

// No window to show a dialog in: every dialog is unavailable.
class NoDialogs final : public DialogPort {
 public:
  int open_message_box(const message_box_request&) override { return dialog_unavailable; }
  int open_select_list(const select_request&) override { return dialog_unavailable; }
  int modeless_result() override { return dialog_cancelled; }
  void close_modeless() override {}
  int input_form(dialog_form&, FormChecker&) override { return dialog_unavailable; }
  int choose_file(bool, const std::string&, std::string&, std::string&) override { return dialog_unavailable; }
  int choose_folder(const std::string&, std::string&) override { return dialog_unavailable; }
  int choose_font(dialog_font_choice&) override { return dialog_unavailable; }
  int choose_serial_port(serial_port_request&) override { return dialog_unavailable; }
};
NoDialogs no_dialogs;
DialogPort* installed_dialogs = &no_dialogs;

// No graph window can be opened.
class NoGraphWindow final : public GraphHostPort {
 public:
  bool open(int, int) override { return false; }
  void close() override {}
  bool is_open() const override { return false; }
  void invalidate() override {}
  void invalidate_rect(int, int, int, int) override {}
  void resize(int, int) override {}
  void maximize() override {}
  void message(const std::string&, const std::string&) override {}
  void client_size(int& width_px, int& height_px) const override { width_px = height_px = 0; }
  void check_menu_item(int, bool) override {}
  void enable_menu_item(int, bool) override {}
  double screen_px_per_inch_x() const override { return 96.0; }
  double screen_px_per_inch_y() const override { return 96.0; }
};
NoGraphWindow no_graph_window;
GraphHostPort* installed_graph_host = &no_graph_window;

// No window: nothing to print or export.
class NoGraphExport final : public GraphExportPort {
 public:
  int print(std::string& failure) override { return refuse("Printing the graph", failure); }
  int export_metafile(std::string& failure) override { return refuse("The metafile export", failure); }
  int export_jpeg(std::string& failure) override { return refuse("The JPEG export", failure); }

 private:
  static int refuse(const char* what, std::string& failure) {
    failure = std::string(what) + " is not available without a graph window.";
    return -1;
  }
};
NoGraphExport no_graph_export;
GraphExportPort* installed_graph_export = &no_graph_export;

}  // namespace

FrontendPort& frontend_port() { return *installed_frontend; }
void install_frontend_port(FrontendPort* port) { installed_frontend = port ? port : &console_port; }

DialogPort& dialog_port() { return *installed_dialogs; }
void install_dialog_port(DialogPort* port) { installed_dialogs = port ? port : &no_dialogs; }

GraphHostPort& graph_host_port() { return *installed_graph_host; }
void install_graph_host_port(GraphHostPort* port) { installed_graph_host = port ? port : &no_graph_window; }

GraphExportPort& graph_export_port() { return *installed_graph_export; }
void install_graph_export_port(GraphExportPort* port) { installed_graph_export = port ? port : &no_graph_export; }
