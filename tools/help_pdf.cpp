// Builds the help documents: Markdown in, PDF out. Graph examples are run
// through the interpreter and drawn offscreen by the graph window's own
// render path; the PDF shows each picture right after its program.
//
//   help_pdf pdf <document.md> <out.pdf>   the document as a PDF
//   help_pdf render <program.bas> <out.png>  one graph program as a picture
//
// Fenced blocks the tool acts on (the conventions of tests/docs/run_guide.sh):
// "basic NAME" and "text NAME" write NAME into the document's work folder,
// "graph NAME" writes NAME there and draws it. "render" runs one program in
// the current folder; "pdf" runs each graph block as a "render" child, so
// every program starts from a fresh interpreter.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextFrame>
#include <QTextTable>
#include <QTextImageFormat>
#include <QUrl>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "frontend/qt/draw/qt_draw_device.h"
#include "frontend/qt/draw/qt_font_engine.h"
#include "frontend/qt/graph_export_port_qt.h"
#include "session/size_settings.h"
#include "graph/graph_state.h"
#include "graph/graph_window.h"
#include "interpreter/host_api.h"
#include "interpreter/run_state.h"
#include "ports/font_engine.h"
#include "ports/frontend_port.h"
#include "ports/graph_host_port.h"

namespace {

// Pictures are drawn at this resolution and shown at most this many
// document pixels (1/96 inch) each way.
constexpr double picture_ppi = 150.0;
constexpr double picture_max_shown = 430.0;
// A run that has waited this often for the user is ended.
constexpr int max_waits = 1000;

// The run's front-end: output is kept, waits end at once (a help example
// never waits for the user), controls are ignored.
class CapturePort final : public FrontendPort {
 public:
  std::string output;
  int waits = 0;
  void print_text(std::string_view text) override { output.append(text); }
  void set_control_text(int, std::string_view) override {}
  void enable_control(int, bool) override {}
  void check_control(int, bool) override {}
  void focus_control(int) override {}
  bool pump_messages() override { return true; }
  // A program that waits (INPUT, INKEY$, a click) ends: help examples must run
  // to their end by themselves.
  bool wait_for_event(int) override { return ++waits < max_waits; }
  void run_finished() override {}
};

// A graph window that exists only as state; the picture is drawn afterwards
// from the graph the program left.
class OffscreenGraphHost final : public GraphHostPort {
 public:
  bool open_now = false;
  int width = 0, height = 0;
  std::string messages;
  bool open(int w, int h) override {
    open_now = true;
    width = w;
    height = h;
    return true;
  }
  void close() override { open_now = false; }
  bool is_open() const override { return open_now; }
  void invalidate() override {}
  void invalidate_rect(int, int, int, int) override {}
  void resize(int w, int h) override {
    width = w;
    height = h;
  }
  void maximize() override {}
  void message(const std::string& title, const std::string& text) override {
    messages += title + ": " + text + "\n";
  }
  void client_size(int& w, int& h) const override {
    w = open_now ? width : 0;
    h = open_now ? height : 0;
  }
  void check_menu_item(int, bool) override {}
  void enable_menu_item(int, bool) override {}
  double screen_px_per_inch_x() const override { return 96.0; }
  double screen_px_per_inch_y() const override { return 96.0; }
};

// Runs program (in the current folder) and draws its graph into png.
// Returns 0, or 1 after a message on standard error.
int render_program(const std::string& program, const std::string& png) {
  CapturePort port;
  OffscreenGraphHost host;
  // Texts are measured while the program runs with the fonts they are drawn with.
  QtFontEngine fonts;
  install_frontend_port(&port);
  install_graph_host_port(&host);
  install_graph_font_engine(&fonts);
  size_settings_reset_current();
  auto fail = [&](const std::string& why) {
    std::fprintf(stderr, "%s: %s\n%s%s", program.c_str(), why.c_str(), port.output.c_str(), host.messages.c_str());
    return 1;
  };
  if (host_init() != 0) return fail("the interpreter could not start");
  console_mode = 0;
  int result = host_run_program_file(program, false);
  if (port.waits >= max_waits) return fail("the program waits for the user");
  if (result < 0 || port.output.find("ERROR - ") != std::string::npos) return fail("the run reported an error");
  if (!host.is_open() || graph_window_is_open() != 1) return fail("the program opened no graph");

  const graph_export_source source = current_graph_export_source();
  const double w_px = std::round(picture_ppi * source.width_in), h_px = std::round(picture_ppi * source.height_in);
  if (!(w_px >= 1 && h_px >= 1 && w_px <= 4000 && h_px <= 4000)) return fail("the graph's size cannot be drawn");
  const int w = static_cast<int>(w_px), h = static_cast<int>(h_px);
  QtImageDevice image(w, h, w / source.width_in, h / source.height_in, fonts);
  if (!image.ok()) return fail("no memory for the picture");
  if (source.draw(image, 0, 0, output_jpeg) < 0) return fail("the graph could not be drawn");
  if (!host.messages.empty()) return fail("the graph window reported a message");
  if (!image.image().save(QString::fromStdString(png), "PNG")) return fail("cannot write " + png);
  graph_window_destroy();
  install_graph_font_engine(nullptr);
  install_graph_host_port(nullptr);
  install_frontend_port(nullptr);
  return 0;
}

struct fence {
  QString kind, arg;
  int start_line = 0;  // the line index of the opening fence
  int end_line = 0;    // the line index of the closing fence
  QString body;
};

// The document's fenced blocks, in order.
std::vector<fence> fences_of(const QStringList& lines) {
  std::vector<fence> out;
  for (int i = 0; i < lines.size(); ++i) {
    if (!lines[i].startsWith("```")) continue;
    fence f;
    f.start_line = i;
    const QString info = lines[i].mid(3).trimmed();
    const qsizetype space = info.indexOf(' ');
    f.kind = space < 0 ? info : info.left(space);
    f.arg = space < 0 ? QString() : info.mid(space + 1).trimmed();
    int j = i + 1;
    for (; j < lines.size() && !lines[j].startsWith("```"); ++j) f.body += lines[j] + "\n";
    f.end_line = j;
    out.push_back(f);
    i = j;
  }
  return out;
}

// Markdown would take "<enter>" in a sentence for an HTML tag and drop the
// rest of the document: outside code, "<" is escaped to stand for itself.
void escape_angle_brackets(QStringList& lines) {
  bool in_fence = false;
  for (QString& line : lines) {
    if (line.startsWith("```")) {
      in_fence = !in_fence;
      continue;
    }
    if (in_fence) continue;
    QString out;
    bool in_code = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
      if (line[i] == '`') in_code = !in_code;
      if (line[i] == '<' && !in_code && (i == 0 || line[i - 1] != '\\')) out += '\\';
      out += line[i];
    }
    line = out;
  }
}

// The line shown above an example block, saying what it is.
QString caption_of(const fence& f) {
  if ((f.kind == "basic" || f.kind == "graph" || f.kind == "text") && !f.arg.isEmpty()) return f.arg.section(' ', 0, 0);
  if (f.kind == "input") return "You type:";
  if (f.kind == "output") return "It prints:";
  return {};
}

bool write_file(const QString& path, const QString& text) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return false;
  return file.write(text.toUtf8()) >= 0;
}

// Gives every picture of doc its shown size: the drawn size scaled to fit
// picture_max_shown each way.
void size_pictures(QTextDocument& doc) {
  for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextFragment fragment = it.fragment();
      if (!fragment.charFormat().isImageFormat()) continue;
      QTextImageFormat format = fragment.charFormat().toImageFormat();
      const QImage image = doc.resource(QTextDocument::ImageResource, QUrl(format.name())).value<QImage>();
      if (image.isNull()) continue;
      const double scale = std::min(picture_max_shown / image.width(), picture_max_shown / image.height());
      format.setWidth(image.width() * scale);
      format.setHeight(image.height() * scale);
      QTextCursor cursor(&doc);
      cursor.setPosition(fragment.position());
      cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
      cursor.setCharFormat(format);
    }
  }
}

int build_pdf(const QString& markdown_path, const QString& pdf_path) {
  QFile in(markdown_path);
  if (!in.open(QIODevice::ReadOnly)) {
    std::fprintf(stderr, "cannot read %s\n", qPrintable(markdown_path));
    return 1;
  }
  const QStringList lines = QString::fromUtf8(in.readAll()).split('\n');
  if (lines.isEmpty() || !lines[0].startsWith("# ")) {
    std::fprintf(stderr, "%s: the first line must be \"# Title\"\n", qPrintable(markdown_path));
    return 1;
  }
  const QString title = lines[0].mid(2).trimmed();

  QTemporaryDir work;
  if (!work.isValid()) return 1;
  QTextDocument doc;
  QStringList text = lines;
  int failures = 0, pictures = 0;
  // Pictures go in after their blocks, from the last one up, so that earlier
  // line numbers stay true.
  std::vector<std::pair<int, QString>> inserts;
  std::vector<std::pair<QString, QImage>> images;  // added after setMarkdown, which clears resources
  for (const fence& f : fences_of(lines)) {
    const QString caption = caption_of(f);
    if (!caption.isEmpty()) inserts.emplace_back(f.start_line - 1, "\n*" + caption + "*\n");
    if ((f.kind == "basic" || f.kind == "text" || f.kind == "graph") && !f.arg.isEmpty()) {
      const QString name = f.arg.section(' ', 0, 0);
      if (!write_file(work.filePath(name), f.body)) ++failures;
      if (f.kind != "graph") continue;
      const QString png = work.filePath(QString(".picture%1.png").arg(++pictures));
      QProcess child;
      child.setWorkingDirectory(work.path());
      child.setProcessChannelMode(QProcess::ForwardedChannels);
      child.start(QCoreApplication::applicationFilePath(), {"render", name, png});
      if (!child.waitForFinished(120000) || child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0) {
        // The document is still built (without the picture); the examples'
        // test fails on the same program.
        std::fprintf(stderr, "warning: %s: the graph example %s did not draw\n", qPrintable(markdown_path),
                     qPrintable(name));
        continue;
      }
      const QString resource = QString("picture%1.png").arg(pictures);
      images.emplace_back(resource, QImage(png));
      inserts.emplace_back(f.end_line, "\n![graph](" + resource + ")\n");
    }
  }
  std::stable_sort(inserts.begin(), inserts.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  for (auto it = inserts.rbegin(); it != inserts.rend(); ++it) text.insert(it->first + 1, it->second);
  escape_angle_brackets(text);

  QFont body("DejaVu Serif", 10);
  // No ligatures: a PDF viewer's search and pdftotext then find "fi" as two
  // letters.
  body.setStyleStrategy(QFont::PreferNoShaping);
  doc.setDefaultFont(body);
  doc.setDefaultStyleSheet("");
  doc.setMarkdown(text.join('\n'), QTextDocument::MarkdownDialectGitHub);
  doc.setMetaInformation(QTextDocument::DocumentTitle, title);
  for (const auto& [name, image] : images) doc.addResource(QTextDocument::ImageResource, QUrl(name), image);
  size_pictures(doc);
  // Code on a light ground in a monospace face a little smaller than the text.
  for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
    if (!block.blockFormat().hasProperty(QTextFormat::BlockCodeFence)) continue;
    QTextCursor cursor(block);
    QTextBlockFormat shade = block.blockFormat();
    shade.setBackground(QColor(0xf0, 0xf0, 0xf0));
    shade.setLeftMargin(6);
    cursor.setBlockFormat(shade);
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    QTextCharFormat mono;
    mono.setFontFamilies({"DejaVu Sans Mono"});
    mono.setFontPointSize(8.5);
    cursor.mergeCharFormat(mono);
  }

  // A "|" inside a table cell is written "\\|" in the Markdown (else it would
  // end the cell); the reader keeps the backslash, so it goes here.
  for (QTextCursor found = doc.find(QStringLiteral("\\|")); !found.isNull();
       found = doc.find(QStringLiteral("\\|"), found)) {
    if (found.currentTable()) found.insertText(QStringLiteral("|"));
  }

  // Tables with thin ruled cells and room inside them, as wide as the text.
  for (QTextFrame* frame : doc.rootFrame()->childFrames()) {
    auto* table = qobject_cast<QTextTable*>(frame);
    if (!table) continue;
    QTextTableFormat format = table->format();
    format.setBorder(0.5);
    format.setBorderBrush(QColor(0x80, 0x80, 0x80));
    format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    format.setCellSpacing(0);
    format.setCellPadding(2);
    format.setMargin(4);
    format.setWidth(QTextLength(QTextLength::PercentageLength, 100));
    // The same spacing in every cell, text a point smaller than the body,
    // the heading row bold.
    for (int row = 0; row < table->rows(); ++row) {
      for (int column = 0; column < table->columns(); ++column) {
        const QTextTableCell cell = table->cellAt(row, column);
        QTextCursor cursor = cell.firstCursorPosition();
        cursor.setPosition(cell.lastCursorPosition().position(), QTextCursor::KeepAnchor);
        QTextBlockFormat tight;
        tight.setTopMargin(0);
        tight.setBottomMargin(0);
        cursor.mergeBlockFormat(tight);
        QTextCharFormat cell_text;
        cell_text.setFontPointSize(9);
        if (row == 0) cell_text.setFontWeight(QFont::Bold);
        cursor.mergeCharFormat(cell_text);
      }
    }
    table->setFormat(format);
  }

  QPdfWriter writer(pdf_path);
  writer.setTitle(title);
  writer.setCreator("Tovarelle");
  writer.setPageSize(QPageSize(QPageSize::A4));
  writer.setPageMargins(QMarginsF(18, 18, 18, 18), QPageLayout::Millimeter);
  doc.print(&writer);
  if (!QFileInfo(pdf_path).exists() || QFileInfo(pdf_path).size() == 0) {
    std::fprintf(stderr, "%s: the PDF was not written\n", qPrintable(pdf_path));
    return 1;
  }
  return failures == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4 || (std::string(argv[1]) != "pdf" && std::string(argv[1]) != "render")) {
    std::fprintf(stderr, "usage: help_pdf pdf <document.md> <out.pdf>\n       help_pdf render <program.bas> <out.png>\n");
    return 2;
  }
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // Builds and tests often run without a session: a runtime folder of our
  // own keeps Qt from warning about the missing one.
  std::string runtime_folder;
  if (!qEnvironmentVariableIsSet("XDG_RUNTIME_DIR")) {
    char pattern[] = "/tmp/help_pdf-XXXXXX";
    if (mkdtemp(pattern)) {
      runtime_folder = pattern;
      qputenv("XDG_RUNTIME_DIR", runtime_folder.c_str());
    }
  }
  int result = 0;
  {
    QGuiApplication app(argc, argv);
    if (std::string(argv[1]) == "render") result = render_program(argv[2], argv[3]);
    else result = build_pdf(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
  }
  if (!runtime_folder.empty()) {
    std::error_code ignored;
    std::filesystem::remove_all(runtime_folder, ignored);
  }
  return result;
}
