// Dialogs for programs: messagebox and select (modeless, waited for with the
// main window alive), INPUTDIALOG and UPDATEDIALOG (a modal form built at run
// time that assigns the typed texts to variables), and the file, font and
// serial-port choosers. Every dialog goes through the dialog port.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "interpreter/item.h"
#include "ports/dialog_port.h"

// Limits of the dialogs' texts.
constexpr std::size_t program_dialog_text_max = 255;  // message, prompt, title
constexpr std::size_t messagebox_caption_max = 20;    // each button caption
constexpr int inputdialog_max_variables = 6;          // the statement form
constexpr int inputdialog_max_row = 6;                // rows 0..6 (buttons), 0..5 (explicit field rows)

// Function handlers (do_function tokens): result by the result convention,
// or a negative reported code.
int func_messagebox(expr_item* arguments, int count);
int func_select(expr_item* arguments, int count);
int func_inputdialog(expr_item* arguments, int count);
int func_updatedialog(expr_item* arguments, int count);
int func_browseinputfile(expr_item* arguments, int count);
int func_browseoutputfile(expr_item* arguments, int count);

// The INPUTDIALOG and UPDATEDIALOG statements are declared in statements.h.

// The font dialog behind choosefont$: the face name, point size, weight
// (400, 700) and italic flag of the chosen font; 0, or a negative reported
// code (313 on cancel).
int choose_font_dialog(std::string& face, int& point_size, int& weight, int& italic);

// Reports that a dialog cannot be shown by the installed port (no window);
// returns the negative code.
int dialog_not_available(const char* what);

// True when the large dialogs are in use (ScreenSize 2).
bool dialogs_large();

// One element of an input form as the form's description gives it.
struct form_item_spec {
  bool is_button = false;
  int button_number = 0;  // 1..99 for a button
  std::string label;
  std::string target;     // a field's variable reference
  int row = 0;            // 0..6
  int start = 0;          // start column in percent of the form width, 0..95
  int width = 100;        // width in percent, 5..100
};

// The layout rules of the form in pixels, by ScreenSize.
struct form_metrics {
  int top_margin, left_margin, label_height, label_gap, field_height, field_gap;
  int ok_width, ok_height, form_width;
  int row_height() const { return label_height + label_gap + field_height + field_gap; }
};
const form_metrics& inputdialog_metrics(bool large);

// Lays out the form's elements (widths cut to the form, earlier elements of
// a row shortened to end 2 % before the next one, the dialog's size, the OK
// button when the form has no button of its own). Returns 0, or the error
// code to report (305 when a shortened element would be narrower than 5 %,
// 306 when a width cut to the form is below 5 %); element is the failing
// element's position in items.
int inputdialog_layout(const std::vector<form_item_spec>& items, bool large, dialog_form& form, int& element);

// Reads the form description of the function form (one or two dimensions)
// into items, up to the first empty label. Returns 0 or the error code to
// report (304, 305, 306).
struct array_entry;
int inputdialog_read_form_array(const array_entry& array, std::vector<form_item_spec>& items);

// A field's edited text as a string literal for the assignment: a text that
// begins with a double quote as it is; else quoted with backslash escapes,
// leading and trailing blanks dropped, and an empty numeric (double or long)
// field written as 0. A literal of 256 characters or more leaves the text as
// typed.
std::string inputdialog_quote_entry(std::string_view text, int type);
// A string value as shown in an UPDATEDIALOG field: quoted only when it
// starts with a blank or a double quote, ends with a blank, or holds a CR or
// LF (FIELD values lose their trailing blanks first). Returns 0, or 101 when
// the quoted form would be 256 characters or more.
int inputdialog_quote_display(std::string_view text, int type, std::string& shown);
