// The dialog port: the dialogs a program or the interpreter opens (message
// box, selection list, input form, file, folder, font and serial-port
// choosers). The desktop installs Qt dialogs; tests install a scripted fake.
// The default port has no window: each call returns dialog_unavailable and the
// caller reports that the dialog is not available.
//
// The message box and the selection list are modeless: the port opens them
// and the interpreter waits in its own loop (pumping the main window through
// the front-end port, so Kill keeps working), polling modeless_result. The
// input form and the choosers are modal: the call returns when they close.
#pragma once
#include <string>
#include <vector>

constexpr int dialog_unavailable = -1000;  // no dialog can be shown by this port
constexpr int dialog_cancelled = -1001;    // the user closed or cancelled the dialog
constexpr int dialog_still_open = -1002;   // modeless_result: the dialog is still open

// A message with one to three buttons.
struct message_box_request {
  std::string text;                  // the message (at most 255 characters)
  std::vector<std::string> buttons;  // 1..3 captions (at most 20 characters each)
  bool large = false;                // ScreenSize 2 layout
};

// A list to choose one entry from.
struct select_request {
  std::string prompt;               // at most 255 characters
  std::vector<std::string> items;   // the entries, in order
  bool large = false;
};

// A rectangle in pixels within the dialog's client area.
struct dialog_rect {
  int x = 0, y = 0, width = 0, height = 0;
};

// One element of an input form: an edit field with its label above it, or a
// form button. Positions are computed by the interpreter (the form's layout
// rules); the dialog places its controls exactly there.
struct form_element {
  bool is_button = false;
  int index = 0;          // the element's index in the form
  int button_number = 0;  // 1..99 for a form button
  std::string label;      // a field's label, a button's caption
  std::string text;       // a field's text: the initial value in, the edited text out
  dialog_rect label_rect; // fields only
  dialog_rect box;        // the edit field, or the button
};

// An input form built at run time.
struct dialog_form {
  std::string title;
  std::vector<form_element> elements;
  int width = 0, height = 0;  // the client area
  bool has_ok_button = false; // added when the form has no button of its own
  dialog_rect ok_rect;
  bool large = false;
};

// What the interpreter answers when a form's OK or form button is pressed.
struct form_check {
  // 0: every field was assigned, the form closes with the button pressed.
  // 1: a field's text was refused: show title/message in a message box,
  //    then focus element `element` (its text selected) and keep the form open.
  // negative: an error already reported; the form closes with this result.
  int status = 0;
  int element = -1;
  std::string title;
  std::string message;
};

// Assigns a form's edited texts; called by the form on each OK or form
// button (button 0 for OK, else the form button's number).
class FormChecker {
 public:
  virtual ~FormChecker() = default;
  virtual form_check check(const dialog_form& form, int button) = 0;
};

// The font chooser's result.
struct dialog_font_choice {
  std::string face;
  int point_size = 0;
  int weight = 400;  // 400 normal, 700 bold
  int italic = 0;
};

// The serial-port chooser.
struct serial_port_request {
  std::string prompt;
  std::vector<std::string> ports;                 // the list shown; rescan refills it
  int (*rescan)(std::vector<std::string>& ports);  // 0, or -1 when nothing was found
  bool large = false;
};

class DialogPort {
 public:
  virtual ~DialogPort() = default;

  // Opens the modeless message box or selection list. 0, or
  // dialog_unavailable. Only one modeless dialog is open at a time.
  virtual int open_message_box(const message_box_request& request) = 0;
  virtual int open_select_list(const select_request& request) = 0;
  // dialog_still_open while the modeless dialog is open; then its answer:
  // the button number (1..3) or the chosen entry's position in items (0..),
  // or dialog_cancelled.
  virtual int modeless_result() = 0;
  // Closes the modeless dialog (Kill); its answer becomes dialog_cancelled.
  virtual void close_modeless() = 0;

  // Runs the input form modally (the main window disabled meanwhile). The
  // elements' texts hold what the user typed. Returns 0 (OK), the form
  // button's number (1..99), dialog_cancelled, the negative result of a
  // failed check, or dialog_unavailable.
  virtual int input_form(dialog_form& form, FormChecker& checker) = 0;

  // File chooser for opening (save false: the file must exist) or saving.
  // folder is the start folder in and the chosen folder out; name the
  // initial name in and the chosen name out. 0, dialog_cancelled or
  // dialog_unavailable.
  virtual int choose_file(bool save, const std::string& title, std::string& folder, std::string& name) = 0;
  // Folder chooser: folder is the start folder in and the chosen one out.
  virtual int choose_folder(const std::string& title, std::string& folder) = 0;
  // Font chooser (scalable screen fonts). 0, dialog_cancelled or dialog_unavailable.
  virtual int choose_font(dialog_font_choice& font) = 0;
  // Serial-port chooser: the chosen entry's position in request.ports,
  // dialog_cancelled or dialog_unavailable.
  virtual int choose_serial_port(serial_port_request& request) = 0;
};

// The installed dialog port (the refusing default until one is installed).
DialogPort& dialog_port();
void install_dialog_port(DialogPort* port);  // nullptr restores the default
