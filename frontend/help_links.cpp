// The Help dialog's targets (see help_links.h).
#include "frontend/help_links.h"

#include "session/paths.h"
#include "frontend/settings.h"
#include "interpreter/system_statements.h"
#include "platform/process.h"

const char* const help_setting_web_site = "WebSiteAddress";
const char* const help_setting_pdf_reader = "PdfReaderName";

// Document buttons carry the HELP statement's topic numbers, so both open
// the same files.
const help_button help_buttons[help_button_count] = {
    {1090, "Introduction to BASIC", "Introduction to BASIC", HELP_DOCUMENT, 1, nullptr},
    {1020, "Introduction to Tovarelle", "Introduction to Tovarelle", HELP_DOCUMENT, 2, nullptr},
    {1022, "The Tovarelle BASIC User Interface", "The Tovarelle BASIC User Interface", HELP_DOCUMENT, 3, nullptr},
    {1111, "Advanced Features of Tovarelle", "Advanced Features of Tovarelle", HELP_DOCUMENT, 4, nullptr},
    {1027, "Debugging", "Debugging", HELP_DOCUMENT, 5, nullptr},
    {1021, "Functions, Statements and Commands", "Functions, Statements and Commands", HELP_DOCUMENT, 6, nullptr},
    {1023, "Working With Long Numbers", "Working With Long Numbers", HELP_DOCUMENT, 7, nullptr},
    {1024, "Number Representation, Assignment and Conversion", "Number Representation, Assignment and Conversion",
     HELP_DOCUMENT, 8, nullptr},
    {1025, "User-Defined Functions", "User-Defined Functions", HELP_DOCUMENT, 9, nullptr},
    {1077, "Working With Files", "Working With Files", HELP_DOCUMENT, 10, nullptr},
    {1078, "Working With Dates and Times", "Working With Dates and Times", HELP_DOCUMENT, 14, nullptr},
    {1107, "Beginning Graphics", "Beginning Graphics", HELP_DOCUMENT, 11, nullptr},
    {1098, "Intermediate Graphics", "Intermediate Graphics", HELP_DOCUMENT, 12, nullptr},
    {1097, "Advanced Graphics", "Advanced Graphics", HELP_DOCUMENT, 13, nullptr},
    {1026, "Quick Reference Booklet", "Quick Reference Booklet", HELP_DOCUMENT, 15, nullptr},
    {1087, "Printing Instructions", "Printing Instructions", HELP_TEXT_FILE, 0, nullptr},
    {1091, "Check for Newer Version", "Check for Newer Version", HELP_WEB_PAGE, 0, "WebSiteAddress"},
    {1092, "Get Sample Programs", "Get Sample Programs", HELP_WEB_PAGE, 0, "SampleProgramsAddress"},
    {1093, "CONTRIBUTE", "CONTRIBUTE", HELP_WEB_PAGE, 0, "ContributeAddress"},
    {1076, "Get", "Get", HELP_WEB_PAGE, 0, "PdfReaderAddress"},
};

std::string help_address(const char* setting) {
  std::string value;
  reg_read_string(setting, value, 1024);
  return value;
}

std::string help_button_target(const help_button& button) {
  switch (button.kind) {
    case HELP_DOCUMENT: return help_topic_document(button.topic);
    case HELP_TEXT_FILE: return interpreter_folder + "printing_instructions.txt";
    case HELP_WEB_PAGE: return help_address(button.setting);
  }
  return {};
}

std::string help_pdf_reader_name() {
  std::string name = help_address(help_setting_pdf_reader);
  return name.empty() ? "a PDF reader" : name;
}

std::string help_size_settings_document() { return interpreter_folder + "tovarelle_size_settings.pdf"; }

int help_open(const help_button& button) {
  std::string target = help_button_target(button);
  if (target.empty()) return -1;
  return process_open_document(target, interpreter_folder);
}
