// The Qt program dialogs behind the dialog port. The desktop calls
// install_qt_dialogs with its main window at start-up (and with nullptr
// before the window goes away).
#pragma once
class QWidget;

// Installs the Qt dialogs as the dialog port, owned by owner (the main
// window: modal dialogs disable it while they are open). nullptr restores
// the window-less default.
void install_qt_dialogs(QWidget* owner);
