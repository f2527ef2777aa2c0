// A scripted dialog port for tests: records which dialog was asked for and
// with what, and answers as the test scripted it. The input form plays a list
// of presses (field texts, then a button) through the interpreter's checker,
// as a user filling the form would.
#pragma once
#include <string>
#include <vector>

#include "ports/dialog_port.h"

class ScriptedDialogs final : public DialogPort {
 public:
  std::vector<std::string> calls;  // "message_box", "select", "form", "file open", "file save", "folder", "font", "serial"
  bool unavailable = false;        // answer dialog_unavailable to everything

  // Modeless dialogs: the answer, given after modeless_polls polls that
  // found the dialog still open.
  message_box_request message_box;
  select_request select;
  int modeless_answer = dialog_cancelled;
  int modeless_polls = 0;
  bool modeless_open = false;
  bool modeless_closed_by_kill = false;
  int polls = 0;

  // The input form: the form as shown, and the presses to play. texts are
  // the fields' texts in order (missing ones keep their text); button 0 is
  // OK, 1..99 a form button, dialog_cancelled the Cancel button. After the
  // presses run out the form is cancelled.
  struct press {
    std::vector<std::string> texts;
    int button = 0;
  };
  dialog_form form;
  std::vector<press> presses;
  std::vector<form_check> checks;  // what the checker answered, press by press

  // Choosers.
  bool save = false;
  std::string title;
  std::string start_folder, start_name;
  int chooser_answer = 0;  // 0 OK, or dialog_cancelled
  std::string chosen_folder, chosen_name;
  dialog_font_choice font;
  serial_port_request serial;
  bool rescan_first = false;
  std::vector<std::string> offered_ports;  // the list on screen (replaces the scanned one)
  int serial_answer = dialog_cancelled;

  int open_message_box(const message_box_request& request) override {
    calls.emplace_back("message_box");
    if (unavailable) return dialog_unavailable;
    message_box = request;
    return open_modeless();
  }
  int open_select_list(const select_request& request) override {
    calls.emplace_back("select");
    if (unavailable) return dialog_unavailable;
    select = request;
    return open_modeless();
  }
  int modeless_result() override {
    if (!modeless_open) return modeless_closed_by_kill ? dialog_cancelled : modeless_answer;
    if (polls++ < modeless_polls) return dialog_still_open;
    modeless_open = false;
    return modeless_answer;
  }
  void close_modeless() override {
    modeless_open = false;
    modeless_closed_by_kill = true;
  }

  int input_form(dialog_form& shown, FormChecker& checker) override {
    calls.emplace_back("form");
    if (unavailable) return dialog_unavailable;
    form = shown;
    for (const press& p : presses) {
      std::size_t field = 0;
      for (form_element& e : shown.elements) {
        if (e.is_button) continue;
        if (field < p.texts.size()) e.text = p.texts[field];
        ++field;
      }
      if (p.button == dialog_cancelled) return dialog_cancelled;
      form_check check = checker.check(shown, p.button);
      checks.push_back(check);
      if (check.status < 0) return check.status;
      if (check.status == 0) return p.button;
    }
    return dialog_cancelled;
  }

  int choose_file(bool save_dialog, const std::string& dialog_title, std::string& folder, std::string& name) override {
    calls.emplace_back(save_dialog ? "file save" : "file open");
    return answer_chooser(save_dialog, dialog_title, folder, &name);
  }
  int choose_folder(const std::string& dialog_title, std::string& folder) override {
    calls.emplace_back("folder");
    return answer_chooser(false, dialog_title, folder, nullptr);
  }
  int choose_font(dialog_font_choice& choice) override {
    calls.emplace_back("font");
    if (unavailable) return dialog_unavailable;
    if (chooser_answer != 0) return chooser_answer;
    choice = font;
    return 0;
  }
  int choose_serial_port(serial_port_request& request) override {
    calls.emplace_back("serial");
    if (unavailable) return dialog_unavailable;
    if (rescan_first) request.rescan(request.ports);
    request.ports = offered_ports;
    serial = request;
    return serial_answer;
  }

 private:
  int open_modeless() {
    modeless_open = true;
    modeless_closed_by_kill = false;
    polls = 0;
    return 0;
  }
  int answer_chooser(bool save_dialog, const std::string& dialog_title, std::string& folder, std::string* name) {
    if (unavailable) return dialog_unavailable;
    save = save_dialog;
    title = dialog_title;
    start_folder = folder;
    start_name = name ? *name : std::string();
    if (chooser_answer != 0) return chooser_answer;
    folder = chosen_folder;
    if (name) *name = chosen_name;
    return 0;
  }
};
