// The graph export port: printing the graph and writing it as an enhanced
// metafile or a JPEG image. These need a printer, dialogs and image code
// that only the desktop has; it installs its own port at start-up, tests
// install a fake, and the default (no window) refuses every export.
#pragma once
#include <string>

// An export's result: 0 done, graph_export_cancelled when the user cancelled
// (nothing is reported), negative when it failed.
constexpr int graph_export_cancelled = 1;

class GraphExportPort {
 public:
  virtual ~GraphExportPort() = default;
  // Each runs one export to its end, dialogs included, and returns as above.
  // On a failure, failure says what failed; the graph's action reports it to
  // the program unless the drawing already reported why it could not draw.
  // The graph window's File menu may call these directly: their failures
  // have been shown in message boxes, and no program needs to hear of them.
  virtual int print(std::string& failure) = 0;
  virtual int export_metafile(std::string& failure) = 0;
  virtual int export_jpeg(std::string& failure) = 0;
};

// The installed export port (the window-less default until one is installed).
GraphExportPort& graph_export_port();
void install_graph_export_port(GraphExportPort* port);  // nullptr restores the default
