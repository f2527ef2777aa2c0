// The graph host port: what the graph logic needs from the window that shows
// the graph. The desktop installs the Qt graph window; tests install a fake;
// the default has no window (is_open is false, open refuses).
#pragma once
#include <string>

class GraphHostPort {
 public:
  virtual ~GraphHostPort() = default;
  // Creates and shows the graph window with a client area of about width x
  // height pixels. True when the window exists afterwards.
  virtual bool open(int width_px, int height_px) = 0;
  virtual void close() = 0;
  virtual bool is_open() const = 0;
  // Asks for a repaint of the whole client area, or of the given rectangle.
  virtual void invalidate() = 0;
  virtual void invalidate_rect(int left, int top, int right, int bottom) = 0;
  // Asks for a new client size in pixels (GRAPH width= and height= on an
  // open window); the window keeps the graph's width-to-height ratio and
  // stays on the screen.
  virtual void resize(int width_px, int height_px) = 0;
  // Shows the window normal and then maximised (GRAPH maximize).
  virtual void maximize() = 0;
  // A message box with an OK button, owned by the graph window (a render
  // that cannot draw, refused zooms and moves).
  virtual void message(const std::string& title, const std::string& text) = 0;
  // The client area in pixels (0 x 0 when no window is open).
  virtual void client_size(int& width_px, int& height_px) const = 0;
  // Ticks (checked) or clears a menu item of the graph window, by its id.
  virtual void check_menu_item(int item, bool checked) = 0;
  virtual void enable_menu_item(int item, bool enabled) = 0;
  // The pixels per inch of the screen the window is on.
  virtual double screen_px_per_inch_x() const = 0;
  virtual double screen_px_per_inch_y() const = 0;
};

// The installed graph host (the window-less default until one is installed).
GraphHostPort& graph_host_port();
void install_graph_host_port(GraphHostPort* port);  // nullptr restores the default
