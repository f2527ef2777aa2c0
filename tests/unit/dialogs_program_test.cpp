// Dialogs for programs through the scripted dialog port: which dialog was
// asked for with which texts, the argument and form errors, the form's
// layout rules, the conversion of field texts, the results, Cancel and Kill.
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "core_test_support.h"
#include "session/paths.h"
#include "interpreter/host_api.h"
#include "interpreter/program_dialogs.h"
#include "interpreter/run_control.h"
#include "tests/support/scripted_dialogs.h"

namespace {

class DialogsTest : public CoreTest {
 protected:
  ScriptedDialogs dialogs;

  void SetUp() override {
    CoreTest::SetUp();
    ASSERT_EQ(start(), 0) << port.output;
    console_mode = 0;
    kill_requested = 0;
    install_dialog_port(&dialogs);
  }
  void TearDown() override {
    install_dialog_port(nullptr);
    console_mode = 0;
    kill_requested = 0;
    program_ended = 0;
    size_settings[SIZE_SCREEN_SIZE].current = 1;
    CoreTest::TearDown();
  }
  // Runs typed lines (statements) as the command box would.
  void run(const std::string& line) {
    int r = host_run_typed_line(line);
    ASSERT_GE(r, 0) << line << "\n" << port.output;
  }
  // Expects text to fail with error code.
  void expect_error(const std::string& text, int code, bool statement = false) {
    port.output.clear();
    int r = statement ? host_run_typed_line(text) : eval(text);
    if (!statement) {
      EXPECT_LT(r, 0) << text;
    }
    EXPECT_TRUE(reported_code(code)) << text << "\n" << port.output;
  }
  void press(std::vector<std::string> texts, int button = 0) { dialogs.presses.push_back({std::move(texts), button}); }
};

// ---------------------------------------------------------------- messagebox

TEST_F(DialogsTest, MessageBoxShowsTextAndCaptionsAndGivesTheButton) {
  dialogs.modeless_answer = 2;
  EXPECT_EQ(eval_double("messagebox(\"Save?\", \"Yes\", \"No\", \"A caption longer than twenty\")"), 2);
  ASSERT_EQ(dialogs.calls, std::vector<std::string>{"message_box"});
  EXPECT_EQ(dialogs.message_box.text, "Save?");
  EXPECT_EQ(dialogs.message_box.buttons,
            (std::vector<std::string>{"Yes", "No", "A caption longer tha"}));
  EXPECT_EQ(dialogs.message_box.buttons[2].size(), 20u);
  EXPECT_FALSE(dialogs.message_box.large);

  dialogs.modeless_answer = 1;
  EXPECT_EQ(eval_double("messagebox(\"One\", \"OK\")"), 1);
  EXPECT_EQ(dialogs.message_box.buttons.size(), 1u);
  dialogs.modeless_answer = dialog_cancelled;  // Esc or the close box
  EXPECT_EQ(eval_double("messagebox(\"One\", \"OK\")"), -1);

  // ScreenSize 2 asks for the large layout.
  size_settings[SIZE_SCREEN_SIZE].current = 2;
  dialogs.modeless_answer = 1;
  EXPECT_EQ(eval_double("messagebox(string$(255, \"m\"), \"OK\")"), 1);
  EXPECT_EQ(dialogs.message_box.text, std::string(255, 'm'));
  EXPECT_TRUE(dialogs.message_box.large);
}

TEST_F(DialogsTest, MessageBoxAndSelectArgumentErrors) {
  run("DIM n(2), s$(2), t$(2, 2)");
  struct Case {
    const char* call;
    int code;
  } cases[] = {
      {"messagebox(\"only\")", 145},
      {"messagebox(\"a\", \"b\", \"c\", \"d\", \"e\")", 145},
      {"messagebox(1, \"b\")", 146},
      {"messagebox(\"a\", \"b\", 3)", 146},
      {"select(\"p\")", 145},
      {"select(\"p\", s$, 1, 2)", 145},
      {"select(1, s$)", 146},
      {"select(\"p\", n)", 333},
      {"select(\"p\", \"x\")", 333},
      {"select(\"p\", t$)", 334},
      {"select(\"p\", s$, \"x\")", 99},
  };
  for (const Case& c : cases) expect_error(c.call, c.code);
  EXPECT_TRUE(dialogs.calls.empty());

  console_mode = 1;  // no dialogs in console mode
  expect_error("messagebox(\"a\", \"b\")", 311);
  expect_error("select(\"p\", s$)", 311);
  console_mode = 0;

  dialogs.unavailable = true;
  port.output.clear();
  EXPECT_LT(eval("messagebox(\"a\", \"b\")"), 0);
  EXPECT_TRUE(reported("MESSAGEBOX is not available in this build.")) << port.output;
}

// The program waits for the dialog with the main window alive; Kill closes it
// and ends the run with error 106.
TEST_F(DialogsTest, ModelessWaitPumpsAndKillEndsTheRun) {
  dialogs.modeless_answer = 3;
  dialogs.modeless_polls = 4;
  EXPECT_EQ(eval_double("messagebox(\"m\", \"a\", \"b\", \"c\")"), 3);
  EXPECT_EQ(port.waits, 4);
  EXPECT_NE(std::find(port.events.begin(), port.events.end(), "enable 1043 1"), port.events.end());
  EXPECT_EQ(messagebox_active, 0);

  run("DIM s$(2): s$(0) = \"x\"");
  dialogs.modeless_polls = 1000;
  port.waits = 0;
  port.on_wait = [](int wait) {
    if (wait == 3) host_request_kill();
  };
  port.output.clear();
  EXPECT_LT(eval("select(\"p\", s$)"), 0);
  EXPECT_TRUE(reported_code(106)) << port.output;
  EXPECT_TRUE(dialogs.modeless_closed_by_kill);
  EXPECT_EQ(program_ended, 1);
  EXPECT_EQ(port.waits, 3);
  EXPECT_EQ(messagebox_active, 0);
}

// ---------------------------------------------------------------- select

TEST_F(DialogsTest, SelectListsNonEmptyElementsAndGivesTheArrayIndex) {
  run("DIM s$(4): s$(0) = \"apple\": s$(2) = \"cherry\": s$(3) = \"date\"");
  struct Case {
    const char* call;
    std::vector<std::string> listed;
    int answer;
    double result;
  } cases[] = {
      {"select(\"Pick\", s$)", {"apple", "cherry", "date"}, 1, 2},  // index 2, not entry 1
      {"select(\"Pick\", s$, 0)", {"apple", "cherry", "date"}, 2, 3},
      {"select(\"Pick\", s$, 9)", {"apple", "cherry", "date"}, 0, 0},
      {"select(\"Pick\", s$, 2.7)", {"apple", "cherry"}, 1, 2},
      {"select(\"Pick\", s$)", {"apple", "cherry", "date"}, dialog_cancelled, -1},
  };
  for (const Case& c : cases) {
    dialogs.modeless_answer = c.answer;
    EXPECT_EQ(eval_double(c.call), c.result) << c.call;
    EXPECT_EQ(dialogs.select.items, c.listed) << c.call;
    EXPECT_EQ(dialogs.select.prompt, "Pick");
  }
}

// ---------------------------------------------------------------- the form's layout

TEST_F(DialogsTest, FormLayoutRulesForBothScreenSizes) {
  auto field = [](int row, int start = 0, int width = 100) {
    form_item_spec s;
    s.label = s.target = "a";
    s.row = row;
    s.start = start;
    s.width = width;
    return s;
  };
  form_item_spec button = field(1);
  button.is_button = true;
  button.button_number = 7;
  struct Case {
    const char* name;
    std::vector<form_item_spec> items;
    bool large;
    int width, height;
    bool ok;
    dialog_rect ok_rect;
    std::vector<dialog_rect> boxes;
  } cases[] = {
      {"one field", {field(0)}, false, 423, 160, true, {316, 123, 100, 30}, {{7, 41, 400, 30}}},
      {"one field large", {field(0)}, true, 527, 201, true, {393, 156, 125, 38}, {{9, 51, 500, 38}}},
      {"row 2", {field(2)}, false, 423, 270, true, {316, 233, 100, 30}, {{7, 151, 400, 30}}},
      {"shortened to 48 %", {field(0, 0), field(0, 50)}, false, 423, 160, true, {316, 123, 100, 30},
       {{7, 41, 192, 30}, {207, 41, 200, 30}}},
      {"width cut to the form", {field(0, 80, 50)}, false, 423, 160, true, {316, 123, 100, 30}, {{327, 41, 80, 30}}},
      {"form button", {field(0), button}, false, 423, 164, false, {}, {{7, 41, 400, 30}, {7, 96, 400, 30}}},
  };
  for (const Case& c : cases) {
    dialog_form form;
    int failed = 0;
    ASSERT_EQ(inputdialog_layout(c.items, c.large, form, failed), 0) << c.name;
    EXPECT_EQ(form.width, c.width) << c.name;
    EXPECT_EQ(form.height, c.height) << c.name;
    EXPECT_EQ(form.has_ok_button, c.ok) << c.name;
    if (c.ok) {
      EXPECT_EQ(form.ok_rect.x, c.ok_rect.x) << c.name;
      EXPECT_EQ(form.ok_rect.y, c.ok_rect.y) << c.name;
    }
    ASSERT_EQ(form.elements.size(), c.boxes.size()) << c.name;
    for (std::size_t i = 0; i < c.boxes.size(); ++i) {
      const dialog_rect& got = form.elements[i].box;
      const dialog_rect& want = c.boxes[i];
      EXPECT_EQ(got.x, want.x) << c.name << " " << i;
      EXPECT_EQ(got.y, want.y) << c.name << " " << i;
      EXPECT_EQ(got.width, want.width) << c.name << " " << i;
      EXPECT_EQ(got.height, want.height) << c.name << " " << i;
      if (!form.elements[i].is_button) {
        EXPECT_EQ(form.elements[i].label_rect.y, want.y - 21 - (c.large ? 5 : 0)) << c.name;
        EXPECT_EQ(form.elements[i].label_rect.width, want.width) << c.name;
      }
    }
  }
  // Elements that cannot be placed.
  dialog_form form;
  int failed = -1;
  EXPECT_EQ(inputdialog_layout({field(0, 0), field(0, 5)}, false, form, failed), 305);  // shortened below 5 %
  EXPECT_EQ(failed, 1);
  EXPECT_EQ(inputdialog_layout({field(0, 97, 100)}, false, form, failed), 306);  // 3 % left
}

// ---------------------------------------------------------------- field texts

TEST_F(DialogsTest, QuotingOfFieldTexts) {
  struct Entry {
    const char* text;
    int type;
    const char* literal;
  } entries[] = {
      {"  12.5  ", ITEM_DOUBLE, "\"12.5\""},
      {"", ITEM_DOUBLE, "\"0\""},
      {"   ", ITEM_LONG, "\"0\""},
      {"", ITEM_STRING, "\"\""},
      {"say \"hi\"\\", ITEM_STRING, "\"say \\\"hi\\\"\\\\\""},
      {"a\nb\rc", ITEM_STRING, "\"a\\nb\\rc\""},
      {"\"as typed", ITEM_STRING, "\"as typed"},
  };
  for (const Entry& e : entries) EXPECT_EQ(inputdialog_quote_entry(e.text, e.type), e.literal) << e.text;
  // A literal of 256 characters or more leaves the text as typed.
  std::string quotes(130, '"');
  std::string typed = "x" + quotes;
  EXPECT_EQ(inputdialog_quote_entry(typed, ITEM_STRING), typed);
  EXPECT_EQ(inputdialog_quote_entry(std::string(253, 'y'), ITEM_STRING).size(), 255u);

  struct Display {
    const char* value;
    int type;
    const char* shown;
  } shown[] = {
      {"plain \"inner\" \\", ITEM_STRING, "plain \"inner\" \\"},
      {" lead", ITEM_STRING, "\" lead\""},
      {"trail ", ITEM_STRING, "\"trail \""},
      {"\"q", ITEM_STRING, "\"\\\"q\""},
      {"two\nlines", ITEM_STRING, "\"two\\nlines\""},
      {"field   ", ITEM_FIELD, "field"},
  };
  for (const Display& d : shown) {
    std::string out;
    EXPECT_EQ(inputdialog_quote_display(d.value, d.type, out), 0) << d.value;
    EXPECT_EQ(out, d.shown) << d.value;
  }
  std::string out;
  EXPECT_EQ(inputdialog_quote_display(std::string(200, '"'), ITEM_STRING, out), 101);
}

// ---------------------------------------------------------------- the form functions

TEST_F(DialogsTest, FormFunctionAssignsFieldsAndKeepsTheFormOpenAtTheFirstBadNumber) {
  run("DIM f$(4): f$(0) = \"a\": f$(1) = \"b$\": f$(2) = \"c\": b$ = \"old\"");
  press({"x12", "new", "7"});  // refused at the first field: nothing after it is assigned
  press({" 12 ", "new text", ""});
  EXPECT_EQ(eval_double("inputdialog(\"Values\", f$)"), 0);
  EXPECT_EQ(dialogs.form.title, "Values");
  ASSERT_EQ(dialogs.form.elements.size(), 3u);  // ends at the empty element 3
  EXPECT_EQ(dialogs.form.elements[1].label, "b$");
  EXPECT_EQ(dialogs.form.elements[0].text, "");  // INPUTDIALOG: fields start empty
  ASSERT_EQ(dialogs.checks.size(), 2u);
  EXPECT_EQ(dialogs.checks[0].status, 1);
  EXPECT_EQ(dialogs.checks[0].element, 0);
  EXPECT_EQ(dialogs.checks[0].title, "Invalid Numeric Format");
  EXPECT_EQ(dialogs.checks[0].message,
            "The data in field \"a\" \ncannot be converted to a number.\n\nInvalid character in number string.\n\nPlease re-enter.");
  EXPECT_EQ(dialogs.checks[1].status, 0);
  EXPECT_EQ(eval_double("a"), 12);
  EXPECT_EQ(eval_string("b$"), "new text");
  EXPECT_EQ(eval_double("c"), 0);  // an empty numeric field is 0

  // Cancel gives -1 and assigns nothing.
  dialogs.presses.clear();
  press({"99"}, dialog_cancelled);
  EXPECT_EQ(eval_double("updatedialog(f$)"), -1);
  EXPECT_EQ(dialogs.form.title, "Enter Data");
  EXPECT_EQ(eval_double("a"), 12);
}

TEST_F(DialogsTest, UpdateDialogShowsCurrentValues) {
  run("DIM f$(5): f$(0) = \"s$\": f$(1) = \"x\": f$(2) = \"t$\": f$(3) = \"big\"");
  run("s$ = \" lead\": x = 1/3: t$ = \"plain\": LONG big: big = 123456789012345678901234567890");
  press({}, dialog_cancelled);
  EXPECT_EQ(eval_double("updatedialog(\"Edit\", f$)"), -1);
  ASSERT_EQ(dialogs.form.elements.size(), 4u);
  EXPECT_EQ(dialogs.form.elements[0].text, "\" lead\"");
  EXPECT_EQ(dialogs.form.elements[1].text, "0.333333333333333315");
  EXPECT_EQ(dialogs.form.elements[2].text, "plain");
  EXPECT_EQ(dialogs.form.elements[3].text, "123456789012345678901234567890.");

  // The long field is read back as a long number, digits beyond a double kept.
  dialogs.presses.clear();
  press({"\"tail \"", "2.5", "", "98765432109876543210987654321"});
  EXPECT_EQ(eval_double("updatedialog(f$)"), 0);
  EXPECT_EQ(eval_string("s$"), "tail ");
  EXPECT_EQ(eval_double("x"), 2.5);
  EXPECT_EQ(eval_string("t$"), "");
  EXPECT_EQ(eval_double("big = 98765432109876543210987654321"), 1) << port.output;
  dialogs.presses.clear();
  press({"", "", "", "12x"});
  port.output.clear();
  EXPECT_EQ(eval_double("updatedialog(f$)"), -1);  // refused, then cancelled
  ASSERT_EQ(dialogs.checks.size(), 2u);
  EXPECT_EQ(dialogs.checks[1].element, 3);
  EXPECT_EQ(dialogs.checks[1].status, 1);
  EXPECT_EQ(dialogs.checks[1].message,
            "The data in field \"big\" \ncannot be converted to a number.\n\nInvalid character in number string.\n\nPlease re-enter.");
  EXPECT_EQ(port.output, "");  // the refusal is the message box, not an error report
}

TEST_F(DialogsTest, TwoDimensionalFormWithButtonsRowsAndColumns) {
  run("DIM f$(3, 5)");
  run("f$(0, 0) = \"a\": f$(0, 1) = \"First\": f$(0, 2) = \"0\": f$(0, 3) = \"0\": f$(0, 4) = \"0\"");
  run("f$(1, 0) = \"b\": f$(1, 1) = \"Second\": f$(1, 2) = \"0\": f$(1, 3) = \"50\": f$(1, 4) = \"50\"");
  run("f$(2, 0) = \"3\": f$(2, 1) = \"Go\": f$(2, 2) = \"1\": f$(2, 3) = \"0\": f$(2, 4) = \"25\"");
  press({"1", "2"}, 3);
  EXPECT_EQ(eval_double("inputdialog(f$)"), 3);  // the button's number, after assigning the fields
  EXPECT_EQ(eval_double("a + b"), 3);
  ASSERT_EQ(dialogs.form.elements.size(), 3u);
  EXPECT_FALSE(dialogs.form.has_ok_button);
  EXPECT_EQ(dialogs.form.elements[0].label, "First");
  EXPECT_EQ(dialogs.form.elements[0].box.width, 192);  // shortened to 48 %
  EXPECT_EQ(dialogs.form.elements[1].box.x, 207);
  EXPECT_TRUE(dialogs.form.elements[2].is_button);
  EXPECT_EQ(dialogs.form.elements[2].button_number, 3);
  EXPECT_EQ(dialogs.form.elements[2].label, "Go");
  EXPECT_EQ(dialogs.form.elements[2].box.width, 100);

  // One column: column 0 is target and label; the row is the element's index.
  run("DIM g$(2, 1): g$(0, 0) = \"a\": g$(1, 0) = \"b\"");
  dialogs.presses.clear();
  press({"5", "6"});
  EXPECT_EQ(eval_double("inputdialog(g$)"), 0);
  EXPECT_EQ(eval_double("a * 10 + b"), 56);
}

TEST_F(DialogsTest, FormFunctionErrors) {
  run("DIM one$(8), n(2), three$(1, 1, 1), f$(1, 5), h$(1, 3)");
  for (int i = 0; i < 8; ++i) run("one$(" + std::to_string(i) + ") = \"v" + std::to_string(i) + "\"");
  struct Case {
    const char* setup;
    const char* call;
    int code;
  } cases[] = {
      {"", "inputdialog()", 193},
      {"", "inputdialog(\"t\", one$, 1)", 145},
      {"", "inputdialog(n)", 309},
      {"", "inputdialog(\"t\", n)", 310},
      {"", "inputdialog(\"t\")", 310},
      {"", "inputdialog(three$)", 312},
      {"", "inputdialog(one$, one$)", 145},
      {"", "inputdialog(one$)", 304},  // eight elements ask for row 7
      {"h$(0, 0) = \"a\": h$(0, 1) = \"A\": h$(0, 2) = \"6\"", "inputdialog(h$)", 304},  // fields: rows 0..5
      {"h$(0, 0) = \"100\": h$(0, 1) = \"B\": h$(0, 2) = \"0\"", "inputdialog(h$)", 304},  // buttons 1..99
      {"h$(0, 0) = \"a\": h$(0, 1) = \"A\": h$(0, 2) = \"x\"", "inputdialog(h$)", 304},
      {"f$(0, 0) = \"a\": f$(0, 1) = \"A\": f$(0, 2) = \"0\": f$(0, 3) = \"96\": f$(0, 4) = \"0\"", "inputdialog(f$)", 305},
      {"f$(0, 3) = \"0\": f$(0, 4) = \"4\"", "inputdialog(f$)", 306},
      {"f$(0, 4) = \"101\"", "inputdialog(f$)", 306},
  };
  for (const Case& c : cases) {
    if (c.setup[0] != '\0') run(c.setup);
    expect_error(c.call, c.code);
  }
  EXPECT_TRUE(dialogs.calls.empty());
  // A seven-element one-dimensional form fits (rows 0..6).
  run("one$(7) = \"\"");
  press({}, dialog_cancelled);
  EXPECT_EQ(eval_double("inputdialog(one$)"), -1);

  console_mode = 1;
  expect_error("inputdialog(one$)", 311);
  expect_error("updatedialog(one$)", 311);
  console_mode = 0;
  dialogs.unavailable = true;
  port.output.clear();
  EXPECT_LT(eval("updatedialog(one$)"), 0);
  EXPECT_TRUE(reported("UPDATEDIALOG is not available in this build.")) << port.output;
}

// A form target that is not a variable: reported when the form is built
// (UPDATEDIALOG) or when OK assigns it (INPUTDIALOG).
TEST_F(DialogsTest, FormTargetsMustBeVariables) {
  run("DIM f$(1): f$(0) = \"3 + 4\"");
  expect_error("updatedialog(f$)", 308);
  EXPECT_TRUE(dialogs.calls.empty());
  press({"1"});
  expect_error("inputdialog(f$)", 308);
  ASSERT_EQ(dialogs.checks.size(), 1u);
  EXPECT_EQ(dialogs.checks[0].status, -308);
}

// ---------------------------------------------------------------- the statements

TEST_F(DialogsTest, InputDialogStatement) {
  press({"42", "words, with a comma"});
  run("t$ = \"Your data\": INPUTDIALOG t$ + \"!\"; a, b$");
  EXPECT_EQ(dialogs.form.title, "Your data!");
  ASSERT_EQ(dialogs.form.elements.size(), 2u);
  EXPECT_EQ(dialogs.form.elements[0].label, "a");
  EXPECT_EQ(dialogs.form.elements[1].label, "b$");
  EXPECT_EQ(eval_double("a"), 42);
  EXPECT_EQ(eval_string("b$"), "words, with a comma");

  // No title; array elements as typed; the rest of the line runs after it.
  dialogs.presses.clear();
  press({"7"});
  run("DIM v(4): i = 2: INPUTDIALOG v(i + 1): PRINT \"after\"; v(3)");
  EXPECT_EQ(dialogs.form.title, "Enter Data");
  EXPECT_EQ(dialogs.form.elements[0].label, "v(i + 1)");
  EXPECT_NE(port.output.find("after"), std::string::npos) << port.output;
  EXPECT_EQ(eval_double("v(3)"), 7);

  // UPDATEDIALOG shows the values; Cancel is error 303.
  dialogs.presses.clear();
  press({}, dialog_cancelled);
  expect_error("UPDATEDIALOG \"T\"; a, b$", 303, true);
  EXPECT_EQ(dialogs.form.elements[0].text, "42");
  EXPECT_EQ(dialogs.form.elements[1].text, "words, with a comma");
}

// FIELD variables as form targets: shown without their padding, assigned
// into their place in the record.
TEST_F(DialogsTest, FieldVariablesInTheForm) {
  press({"xy", "\" q \""});
  char path[] = "/tmp/dialogs_field_XXXXXX";
  int fd = mkstemp(path);
  ASSERT_GE(fd, 0);
  const std::string program =
      "rec$ = \"ab   cdefg\"\nFIELD rec$, 5 AS f1$, 5 AS f2$\nUPDATEDIALOG f1$, f2$\nPRINT \"[\"; rec$; \"]\"\n";
  ASSERT_EQ(write(fd, program.data(), program.size()), static_cast<ssize_t>(program.size()));
  close(fd);
  EXPECT_EQ(host_run_program_file(path, false), 0) << port.output;
  unlink(path);
  ASSERT_EQ(dialogs.form.elements.size(), 2u);
  EXPECT_EQ(dialogs.form.elements[0].text, "ab");
  EXPECT_EQ(dialogs.form.elements[1].text, "cdefg");
  EXPECT_NE(port.output.find("[xy    q   ]"), std::string::npos) << port.output;
}

TEST_F(DialogsTest, InputDialogStatementErrors) {
  struct Case {
    const char* line;
    int code;
  } cases[] = {
      {"INPUTDIALOG a, b, c, d, e, f, g", 307},
      {"INPUTDIALOG 5", 308},
      {"INPUTDIALOG \"title\"; a, 3", 308},
      {"INPUTDIALOG \"title\";", 308},
  };
  for (const Case& c : cases) expect_error(c.line, c.code, true);
  EXPECT_TRUE(dialogs.calls.empty());
  // Six variables are allowed.
  press({}, dialog_cancelled);
  expect_error("INPUTDIALOG a, b, c, d, e, f", 303, true);
  EXPECT_EQ(dialogs.form.elements.size(), 6u);

  console_mode = 1;
  expect_error("INPUTDIALOG a", 293, true);
  expect_error("UPDATEDIALOG a", 293, true);
}

// ---------------------------------------------------------------- choosers

TEST_F(DialogsTest, FileChoosersJoinFolderAndName) {
  working_folder = "/tmp";
  dialogs.chosen_folder = "/home/user/data";
  dialogs.chosen_name = "values.txt";
  EXPECT_EQ(eval_string("browseinputfile$(\"Open data\")"), "/home/user/data/values.txt");
  EXPECT_EQ(dialogs.calls.back(), "file open");
  EXPECT_EQ(dialogs.title, "Open data");
  EXPECT_EQ(dialogs.start_folder, "/tmp");
  EXPECT_EQ(eval_string("browseoutputfile$(\"Save\")"), "/home/user/data/values.txt");
  EXPECT_EQ(dialogs.calls.back(), "file save");

  dialogs.chooser_answer = dialog_cancelled;
  expect_error("browseinputfile$(\"x\")", 292);
  expect_error("browseinputfile$(1)", 146);
  expect_error("browseoutputfile$(\"a\", \"b\")", 145);
  console_mode = 1;
  expect_error("browseoutputfile$(\"x\")", 293);
  console_mode = 0;

  // The folder chooser of the main dialog.
  dialogs.chooser_answer = 0;
  std::string folder = "/tmp", name = "keep";
  EXPECT_EQ(browse_open_file(true, "Folder", folder, name), 1);
  EXPECT_EQ(dialogs.calls.back(), "folder");
  EXPECT_EQ(folder, "/home/user/data");
  EXPECT_EQ(name, "");
  dialogs.chooser_answer = dialog_cancelled;
  folder = "/tmp";
  EXPECT_EQ(browse_save_file(false, "Save", folder, name), 0);
  EXPECT_EQ(folder, "/tmp");
}

TEST_F(DialogsTest, ChooseFontFillsTheFontVariables) {
  run("choosefontsize = 0: choosefontbold = 0: choosefontitalic = 0");
  dialogs.font = {"Liberation Serif", 14, 700, 1};
  EXPECT_EQ(eval_string("choosefont$"), "Liberation Serif");
  EXPECT_EQ(eval_double("choosefontsize * 10000 + choosefontbold * 10 + choosefontitalic"), 147001);
  dialogs.chooser_answer = dialog_cancelled;
  port.output.clear();
  EXPECT_LT(eval("choosefont$"), 0);
  EXPECT_TRUE(reported_code(313)) << port.output;
}

}  // namespace
