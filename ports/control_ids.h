// Control ids of the main dialog: the interpreter addresses the dialog's
// buttons, edits and labels by these numbers through the front-end port, and
// the desktop front-end builds its widgets under the same numbers.
#pragma once

enum control_id : int {
  IDC_HELP = 9,
  IDC_BROWSE_SOURCE = 1020,
  IDC_RUN = 1021,             // "Run" / "Continue"
  IDC_EDIT_SOURCE = 1022,
  IDC_BROWSE_LOG = 1024,
  IDC_VIEW_LOG = 1025,
  IDC_BROWSE_WORKDIR = 1026,
  IDC_CREATE_LOG = 1029,      // check box "Create Log File:"
  IDC_USE_WORKING_DIR = 1038, // check box "Use Working Dir."
  IDC_LOG_GROUP = 1041,
  IDC_OUTPUT = 1042,          // output box
  IDC_KILL = 1043,
  IDC_RUN_STEP = 1049,        // "Run/Step" / "Step"
  IDC_COMMAND_LABEL = 1050,   // label over the command box
  IDC_CLEAR_SCREEN = 1052,
  IDC_COMMAND = 1053,         // command box
  IDC_EXIT = 1058,
  IDC_CUSTOMIZE = 1062,
  IDC_LOG_FILE = 1081,
  IDC_SOURCE_PROGRAM = 1083,
  IDC_WORKING_DIR = 1085,
};
