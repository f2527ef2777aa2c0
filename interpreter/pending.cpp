// Placeholders for routines whose home area is not built yet (see pending.h).
// Each reports a clear error and never fakes a result. Delete a placeholder
// when its real routine lands.
#include "interpreter/pending.h"

#include <string>

#include "graph/graph_draw.h"
#include "graph/graph_window.h"
#include "interpreter/errors.h"
#include "interpreter/output.h"
#include "interpreter/run_state.h"

namespace {
int not_available(const char* what) {
  std::string text = std::string(what) + " is not available in this build.";
  return report_error_message(47, text.c_str());
}
}  // namespace


// Printing and export of the graph (GRAPH print, metafile, jpeg).
int graph_print() { return not_available("Printing the graph"); }
int graph_export_metafile() { return not_available("The metafile export"); }
int graph_export_jpeg() { return not_available("The JPEG export"); }
