// What the Help dialog's buttons open: help documents beside the program
// and web pages whose addresses come from the settings file (never from the
// code), and the start banner's web line.
#pragma once
#include <string>

enum help_target_kind : int { HELP_DOCUMENT, HELP_TEXT_FILE, HELP_WEB_PAGE };

struct help_button {
  int id;
  const char* caption_small;  // ScreenSize 1
  const char* caption_large;  // ScreenSize 2
  help_target_kind kind;
  int topic;                  // HELP_DOCUMENT: the HELP statement's topic number
  const char* setting;        // HELP_WEB_PAGE: the setting that holds the address
};
constexpr int help_button_count = 20;
extern const help_button help_buttons[help_button_count];

// The setting names of the web addresses.
extern const char* const help_setting_web_site;    // "WebSiteAddress"
extern const char* const help_setting_pdf_reader;  // "PdfReaderName"

// A configured address (empty when the settings file has none).
std::string help_address(const char* setting);
// What a button opens: a path beside the program or an address; empty when
// there is nothing configured.
std::string help_button_target(const help_button& button);
// The name of the PDF reader for the "Get ..." button and the note.
std::string help_pdf_reader_name();
// The document on the size settings, beside the help documents (Customize's
// Help opens it).
std::string help_size_settings_document();
// Opens a button's target through xdg-open. Returns 0, -1 when nothing is
// configured or the opener could not start (the dialog does not report it).
int help_open(const help_button& button);
