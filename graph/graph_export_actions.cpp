// GRAPH print, metafile and jpeg: each hands its export to the installed
// export port and turns the port's answer into the graph's action result.
// A cancel stays quiet; a failure is reported once: by the drawing when it
// reported why it could not draw, else here with the port's description.
#include <string>

#include "graph/graph_window.h"
#include "interpreter/errors.h"
#include "ports/graph_export_port.h"

namespace {

using export_call = int (GraphExportPort::*)(std::string&);

int run_export(export_call call) {
  std::string failure;
  const unsigned long reports_before = error_reports;
  int r = (graph_export_port().*call)(failure);
  if (r == graph_export_cancelled) return graph_action_cancelled;
  if (r >= 0) return 0;
  if (error_reports != reports_before) return r;  // reported during the export
  if (failure.empty()) failure = "The graph could not be exported.";
  return report_error_message(err_invalid_statement, failure.c_str());
}

}  // namespace

int graph_print() { return run_export(&GraphExportPort::print); }
int graph_export_metafile() { return run_export(&GraphExportPort::export_metafile); }
int graph_export_jpeg() { return run_export(&GraphExportPort::export_jpeg); }
