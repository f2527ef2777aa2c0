// The installed graph font engine, and the default that makes no fonts.
#include "ports/font_engine.h"

namespace {
class NoFonts final : public FontEngine {
 public:
  bool metrics(const font_spec&, font_metrics& out) override {
    out = {};
    return false;
  }
  text_size extent(const font_spec&, std::string_view) override { return {}; }
  std::vector<int> advances(const font_spec&, std::string_view text) override {
    return std::vector<int>(text.size(), 0);
  }
  bool outline(const font_spec&, unsigned char, glyph_outline& out) override {
    out = {};
    return false;
  }
};
NoFonts no_fonts;
FontEngine* installed_fonts = &no_fonts;
}  // namespace

FontEngine& graph_font_engine() { return *installed_fonts; }
void install_graph_font_engine(FontEngine* engine) { installed_fonts = engine ? engine : &no_fonts; }
