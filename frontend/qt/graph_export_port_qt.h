// The desktop's graph export port: GRAPH print, metafile and jpeg (and the
// graph window's File menu through the same port) print or export the graph
// that the graph window shows, hiding that window meanwhile.
#pragma once
#include <functional>

#include "frontend/qt/graph_export.h"

class QWidget;

// Installs the desktop's export port (start-up, once the Qt application
// exists); uninstall_qt_graph_export_port restores the window-less default.
void install_qt_graph_export_port();
void uninstall_qt_graph_export_port();

// The graph window calls this when it has been created: exports own their
// dialogs by window and call hide and show (show also repaints) around their
// work. attach_graph_export_window(nullptr, {}, {}) or
// detach_graph_export_window() when the window goes away.
void attach_graph_export_window(QWidget* window, std::function<void()> hide, std::function<void()> show);
void detach_graph_export_window();

// The graph as an export sees it now: size and margins from the graph state,
// and a drawing routine that renders it on a device (printer and metafile:
// trunc(size x pixels per inch) + 1 pixels at the given origin; JPEG: the
// whole device).
graph_export_source current_graph_export_source();

// Exports run their dialogs and messages through host in place of the
// window's own Qt dialogs (tests script them this way); nullptr restores the
// Qt dialogs.
void set_graph_export_host(GraphExportHost* host);
