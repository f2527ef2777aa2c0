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

int choose_font_dialog(std::string&, int&, int&, int&) { return not_available("The font dialog (choosefont$)"); }

int func_messagebox(expr_item*, int) { return not_available("MESSAGEBOX"); }
// Console mode refuses the form dialogs before anything else.
int func_inputdialog(expr_item*, int) { return console_mode ? report_error(311) : not_available("INPUTDIALOG"); }
int func_updatedialog(expr_item*, int) { return console_mode ? report_error(311) : not_available("UPDATEDIALOG"); }
int func_select(expr_item*, int) { return not_available("SELECT"); }

int output_buffer_clear() { return not_available("The output window"); }



// Shapes of the graph: until their area exists no shape can be added, so a
// render has none to draw.
int draw_all_shapes(DrawDevice&) { return 0; }

// Printing and export of the graph (GRAPH print, metafile, jpeg).
int graph_print() { return not_available("Printing the graph"); }
int graph_export_metafile() { return not_available("The metafile export"); }
int graph_export_jpeg() { return not_available("The JPEG export"); }

// Statements of areas not built yet (graphs, dialogs for programs).
int stmt_shape() { return not_available("SHAPE"); }
int stmt_changeshape() { return not_available("CHANGESHAPE"); }
int stmt_deleteshape() { return not_available("DELETESHAPE"); }
int stmt_updateregion() { return not_available("UPDATEREGION"); }
int stmt_inputdialog() { return console_mode ? report_error(293) : not_available("INPUTDIALOG"); }
int stmt_updatedialog() { return console_mode ? report_error(293) : not_available("UPDATEDIALOG"); }
