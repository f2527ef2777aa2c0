// The dialog port: the modal dialogs a program or the interpreter opens
// (message box, selection list, input form, file, folder, font and serial-port
// choosers). The desktop installs Qt dialogs; tests install a scripted fake.
// The default port has no window: each call returns dialog_unavailable and the
// caller reports that the dialog is not available.
#pragma once
#include <string>
#include <vector>

constexpr int dialog_unavailable = -1000;  // no dialog can be shown by this port
constexpr int dialog_cancelled = -1;       // the user closed or cancelled the dialog

// One field of an input form.
struct dialog_field {
  std::string label;
  std::string text;  // initial text in; the edited text out
  int width = 0;     // field width in characters; 0: the form's default
};

// An input form: fields laid out in rows, and a row of buttons.
struct dialog_form {
  std::string title;
  std::string prompt;
  std::vector<dialog_field> fields;
  std::vector<std::string> buttons;  // at least one; button 1 is the default
  int columns = 1;                   // fields per row
  bool large = false;                // ScreenSize 2 layout
};

// The font chooser's result.
struct dialog_font_choice {
  std::string face;
  int point_size = 0;
  int weight = 400;  // 400 normal, 700 bold
  int italic = 0;
};

class DialogPort {
 public:
  virtual ~DialogPort() = default;
  // A message box with one to three buttons. Returns the number (1..3) of
  // the button pressed, dialog_cancelled, or dialog_unavailable.
  virtual int message_box(const std::string& title, const std::string& text,
                          const std::vector<std::string>& buttons) = 0;
  // A list to choose one item from. Returns the chosen index (0-based),
  // dialog_cancelled, or dialog_unavailable.
  virtual int select_list(const std::string& title, const std::string& prompt,
                          const std::vector<std::string>& items, int initial) = 0;
  // An input form. The fields' texts are replaced by what the user typed.
  // validate, when given, is called with the form on each button press; when
  // it returns a field index (>= 0) the form stays open with that field
  // focused. Returns the button number (1..), dialog_cancelled or
  // dialog_unavailable.
  virtual int input_form(dialog_form& form, int (*validate)(const dialog_form& form, int button, void* context),
                         void* context) = 0;
  // File chooser for opening (save false) or saving. filter is a list of
  // "Description|*.ext;*.ext2" entries. Returns 0 with path set,
  // dialog_cancelled or dialog_unavailable.
  virtual int choose_file(bool save, const std::string& title, const std::string& start_folder,
                          const std::vector<std::string>& filter, std::string& path) = 0;
  virtual int choose_folder(const std::string& title, const std::string& start_folder, std::string& folder) = 0;
  virtual int choose_font(dialog_font_choice& font) = 0;
  // Serial-port chooser over the ports found. Returns 0 with port set
  // (e.g. "/dev/ttyUSB0"), dialog_cancelled or dialog_unavailable.
  virtual int choose_serial_port(const std::vector<std::string>& ports, std::string& port) = 0;
};

// The installed dialog port (the refusing default until one is installed).
DialogPort& dialog_port();
void install_dialog_port(DialogPort* port);  // nullptr restores the default
