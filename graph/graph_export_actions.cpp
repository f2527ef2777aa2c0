// GRAPH print, metafile and jpeg and the graph window's File menu: each hands
// its export to the installed export port and turns the port's answer into
// the action's result. The export shows its own failures in message boxes;
// the GRAPH statement also reports them to the program, once.
#include <string>

#include "graph/graph_window.h"
#include "interpreter/errors.h"
#include "ports/graph_export_port.h"

namespace {

// The last export's failure, for the statement's report.
struct export_failure {
  std::string text;
  bool reported = false;  // the drawing reported it while the export ran
};
export_failure last_failure;

using export_call = int (GraphExportPort::*)(std::string&);

int run_export(export_call call) {
  last_failure = {};
  const unsigned long reports_before = error_reports;
  int r = (graph_export_port().*call)(last_failure.text);
  if (r == graph_export_cancelled) return graph_action_cancelled;
  if (r >= 0) return 0;
  last_failure.reported = error_reports != reports_before;
  return r;
}

}  // namespace

int graph_print() { return run_export(&GraphExportPort::print); }
int graph_export_metafile() { return run_export(&GraphExportPort::export_metafile); }
int graph_export_jpeg() { return run_export(&GraphExportPort::export_jpeg); }

int graph_report_export_failure(int result) {
  if (last_failure.reported) return result < 0 ? result : -1;
  const std::string& text = last_failure.text.empty() ? std::string("The graph could not be exported.")
                                                      : last_failure.text;
  return report_error_message(err_invalid_statement, text.c_str());
}
