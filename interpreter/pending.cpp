// Placeholders for routines whose home area is not built yet (see pending.h).
// Each reports a clear error and never fakes a result. Delete a placeholder
// when its real routine lands.
#include "interpreter/pending.h"

#include <string>

#include "graph/graph_draw.h"
#include "graph/shape_draw.h"
#include "interpreter/errors.h"
#include "interpreter/output.h"
#include "interpreter/run_state.h"

namespace {
int not_available(const char* what) {
  std::string text = std::string(what) + " is not available in this build.";
  return report_error_message(47, text.c_str());
}
}  // namespace

// Text shapes (the text area): until they are compiled in, a TEXT or
// PLOTCHAROUTLINE record draws nothing and CHAROUTLINE is refused.
int shape_text_outline(DrawDevice&, shape_record&, int) { return 0; }
int shape_draw_plotcharoutline(DrawDevice&, shape_record&, int) { return 0; }
int shape_charoutline_to_array() { return not_available("SHAPE CHAROUTLINE"); }
