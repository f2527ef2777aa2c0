// Placeholders for routines whose home area is not built yet (see pending.h).
// Each reports a clear error and never fakes a result. Delete a placeholder
// when its real routine lands.
#include "interpreter/pending.h"

#include "graph/shape_draw.h"

#include <string>

#include "interpreter/errors.h"
#include "interpreter/output.h"
#include "interpreter/run_state.h"

namespace {
int not_available(const char* what) {
  std::string text = std::string(what) + " is not available in this build.";
  return report_error_message(47, text.c_str());
}
}  // namespace

// The graph's pending event for checkmouseclick: -1 none (its reset value;
// with no graph window built no event can arrive).
double graph_event = -1;

int output_buffer_clear() { return not_available("The output window"); }



// No graph window exists in this build: nothing can have changed or be open.
void graph_repaint_if_changed() {}
void graph_repaint_throttled() {}
void graph_window_destroy() {}
int graph_window_is_open() { return 0; }

// Statements of areas not built yet (graphs).
int stmt_graph() { return console_mode ? report_error(274) : not_available("GRAPH"); }
int stmt_plot() { return not_available("PLOT"); }
int stmt_text() { return not_available("TEXT"); }

// Text shapes (the text area): until they exist a TEXT or PLOTCHAROUTLINE
// record draws nothing and CHAROUTLINE is refused.
int shape_text_outline(DrawDevice&, shape_record&, int) { return 0; }
int shape_draw_plotcharoutline(DrawDevice&, shape_record&, int) { return 0; }
int shape_charoutline_to_array() { return not_available("SHAPE CHAROUTLINE"); }
