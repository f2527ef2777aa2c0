// A graph host for tests: a window that exists only as state. It records what
// the graph logic asks of it, and installs itself for the scope of a test.
#pragma once
#include <map>
#include <string>
#include <vector>

#include "ports/graph_host_port.h"

class FakeGraphHost final : public GraphHostPort {
 public:
  bool refuse_open = false;  // open() fails (no display)
  bool open_now = false;
  int width = 0, height = 0;
  int invalidations = 0;
  int maximized = 0;
  std::vector<std::string> calls;
  std::map<int, bool> ticks;
  std::map<int, bool> enabled;

  FakeGraphHost() { install_graph_host_port(this); }
  ~FakeGraphHost() override { install_graph_host_port(nullptr); }
  FakeGraphHost(const FakeGraphHost&) = delete;
  FakeGraphHost& operator=(const FakeGraphHost&) = delete;

  bool open(int w, int h) override {
    calls.push_back("open " + std::to_string(w) + " " + std::to_string(h));
    if (refuse_open) return false;
    open_now = true;
    width = w;
    height = h;
    return true;
  }
  void close() override {
    calls.push_back("close");
    open_now = false;
  }
  bool is_open() const override { return open_now; }
  void invalidate() override { ++invalidations; }
  void invalidate_rect(int l, int t, int r, int b) override {
    ++invalidations;
    calls.push_back("invalidate_rect " + std::to_string(l) + " " + std::to_string(t) + " " + std::to_string(r) + " " +
                    std::to_string(b));
  }
  void resize(int w, int h) override {
    calls.push_back("resize " + std::to_string(w) + " " + std::to_string(h));
    width = w;
    height = h;
  }
  void maximize() override {
    calls.push_back("maximize");
    ++maximized;
  }
  void message(const std::string& title, const std::string& text) override {
    calls.push_back("message " + title + ": " + text);
  }
  void client_size(int& w, int& h) const override {
    w = open_now ? width : 0;
    h = open_now ? height : 0;
  }
  void check_menu_item(int item, bool checked) override { ticks[item] = checked; }
  void enable_menu_item(int item, bool on) override { enabled[item] = on; }
  double screen_px_per_inch_x() const override { return 96.0; }
  double screen_px_per_inch_y() const override { return 96.0; }
};
