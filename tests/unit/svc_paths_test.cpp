// File paths: split, combine, display form, and setting the working folder.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "session/paths.h"
#include "frontend/settings.h"
#include "session/working_folder.h"
#include "interpreter/run_state.h"
#include "ports/frontend_port.h"
#include "tests/support/scripted_port.h"

namespace {

class SvcPathsTest : public ::testing::Test {
 protected:
  ScriptedPort port;
  std::string saved_cwd;
  void SetUp() override {
    install_frontend_port(&port);
    saved_cwd = path_current_directory();
    console_mode = 0;
    working_folder = "/w/work";
    program_folder = "/progs/main";
    use_working_dir = 1;
  }
  void TearDown() override {
    install_frontend_port(nullptr);
    install_working_folder_ui(nullptr);
    console_mode = 0;
    kill_requested = 0;
    if (!saved_cwd.empty()) (void)::chdir(saved_cwd.c_str());
  }
};

TEST_F(SvcPathsTest, SplitTakesRelativeNamesAgainstTheRightBase) {
  struct split_case {
    const char* spec;
    int mode;
    const char* folder;
    const char* name;
  };
  const split_case cases[] = {
      {"prog.bas", PATH_BASE_WORKING, "/w/work", "prog.bas"},
      {"sub/prog.bas", PATH_BASE_WORKING, "/w/work/sub", "prog.bas"},
      {"sub\\deeper\\prog.bas", PATH_BASE_WORKING, "/w/work/sub/deeper", "prog.bas"},
      {"/other/prog.bas", PATH_BASE_WORKING, "/other", "prog.bas"},
      {"\\other\\prog.bas", PATH_BASE_WORKING, "/other", "prog.bas"},
      {"/prog.bas", PATH_BASE_WORKING, "/", "prog.bas"},
      {"/other/", PATH_BASE_WORKING, "/other", ""},
      {"lib.bas", PATH_BASE_PROGRAM, "/progs/main", "lib.bas"},
      {"inc/lib.bas", PATH_BASE_PROGRAM, "/progs/main/inc", "lib.bas"},
      {"", PATH_BASE_WORKING, "/w/work", ""},
  };
  for (const split_case& c : cases) {
    std::string folder = "old", name = "old";
    EXPECT_EQ(path_split(c.spec, folder, name, c.mode), 0) << c.spec;
    EXPECT_EQ(folder, c.folder) << c.spec;
    EXPECT_EQ(name, c.name) << c.spec;
  }
}

TEST_F(SvcPathsTest, ConsoleModeSplitsAgainstTheCurrentDirectory) {
  console_mode = 1;
  ASSERT_EQ(::chdir("/tmp"), 0);
  std::string folder, name;
  ASSERT_EQ(path_split("a/b.bas", folder, name, PATH_BASE_WORKING), 0);
  EXPECT_EQ(folder, "/tmp/a");
  EXPECT_EQ(name, "b.bas");
  ASSERT_EQ(path_split("c.bas", folder, name, PATH_BASE_PROGRAM), 0);  // program folder in both modes
  EXPECT_EQ(folder, "/progs/main");
}

TEST_F(SvcPathsTest, OverLongPathsAreRefusedNeverCut) {
  std::string folder = "keep", name = "keep";
  std::string limit = "/" + std::string(path_max_chars - 1, 'a');
  EXPECT_EQ(path_split(limit, folder, name, PATH_BASE_WORKING), 0);
  EXPECT_EQ(name.size(), path_max_chars - 1);

  folder = name = "keep";
  EXPECT_EQ(path_split(limit + "b", folder, name, PATH_BASE_WORKING), -290);
  EXPECT_EQ(folder, "keep");
  EXPECT_EQ(name, "keep");
  // Short on its own, too long once joined to the base folder.
  working_folder = "/" + std::string(250, 'w');
  EXPECT_EQ(path_split("sub/name.bas", folder, name, PATH_BASE_WORKING), -290);
  std::string out = "unchanged";
  EXPECT_EQ(path_combine(out, working_folder, "0123456789.bas"), -290);
  EXPECT_EQ(out, "unchanged");
  EXPECT_EQ(port.output, "ERROR - Invalid Path.\nERROR - Invalid Path.\nERROR - Invalid Path.\n");
}

TEST_F(SvcPathsTest, CombineJoinsWithOneSeparator) {
  struct combine_case {
    const char* folder;
    const char* name;
    const char* expected;
  };
  const combine_case cases[] = {
      {"/a", "b.txt", "/a/b.txt"},
      {"/a/", "b.txt", "/a/b.txt"},
      {"/", "b.txt", "/b.txt"},
      {"", "b.txt", "/b.txt"},
      {"/a", "", "before"},  // an empty name changes nothing
  };
  for (const combine_case& c : cases) {
    std::string out = "before";
    EXPECT_EQ(path_combine(out, c.folder, c.name), 0);
    EXPECT_EQ(out, c.expected) << c.folder << " + " << c.name;
  }
  std::string same = "/x/y";
  EXPECT_EQ(path_combine(same, same, "z"), 0);  // out may be an input
  EXPECT_EQ(same, "/x/y/z");
}

TEST_F(SvcPathsTest, TrimTrailingKeepsTheRoot) {
  const std::pair<const char*, const char*> cases[] = {
      {"/a/b/ / ", "/a/b"}, {"/a\\ \\", "/a"}, {"/", "/"}, {"///  ", "/"}, {"abc", "abc"}, {"", ""},
  };
  for (auto [in, expected] : cases) {
    std::string text = in;
    path_trim_trailing(text);
    EXPECT_EQ(text, expected) << in;
  }
}

TEST_F(SvcPathsTest, ResolveSplitAndNormalize) {
  console_mode = 1;  // path_split would take the current directory, resolve uses the working folder
  std::string folder, name;
  EXPECT_EQ(path_resolve_split("sub/x.bas", folder, name), 1);
  EXPECT_EQ(folder, "/w/work/sub");
  EXPECT_EQ(name, "x.bas");
  EXPECT_EQ(path_resolve_split("/abs/y.bas", folder, name), 1);
  EXPECT_EQ(folder, "/abs");

  console_mode = 0;
  std::string text = "run\\me.bas";
  EXPECT_EQ(path_normalize(text), 0);
  EXPECT_EQ(text, "/w/work/run/me.bas");
  text = "chained.bas";
  EXPECT_EQ(path_normalize_in_program_folder(text), 0);
  EXPECT_EQ(text, "/progs/main/chained.bas");
}

TEST_F(SvcPathsTest, DisplayFormIsRelativeInsideTheWorkingFolder) {
  struct display_case {
    unsigned use;
    const char* folder;
    const char* name;
    const char* expected;
  };
  const display_case cases[] = {
      {1, "/w/work/sub", "a.txt", "sub/a.txt"},
      {1, "/w/work", "a.txt", "a.txt"},
      {1, "/w/workshop", "a.txt", "/w/workshop/a.txt"},  // no separator after the prefix
      {1, "/W/WORK/sub", "a.txt", "/W/WORK/sub/a.txt"},  // names differ in case on this system
      {0, "/w/work/sub", "a.txt", "/w/work/sub/a.txt"},
  };
  for (const display_case& c : cases) {
    use_working_dir = c.use;
    std::string out;
    path_display_form(c.folder, c.name, out);
    EXPECT_EQ(out, c.expected) << c.folder;
  }
}

// Answers the working-folder questions from a script and records what it was told.
class ScriptedFolderUi final : public WorkingFolderUi {
 public:
  bool answer_yes = false;
  bool ticked = true;
  std::vector<std::string> log;
  void message(const std::string& text, const char* title) override { log.push_back(std::string(title) + ": " + text); }
  bool ask_yes_no(const std::string& text, const char* title) override {
    log.push_back(std::string(title) + "? " + text);
    return answer_yes;
  }
  void show_working_folder(const std::string& text, bool select) override {
    log.push_back("1085 " + text + (select ? " (selected)" : ""));
  }
  bool use_working_dir_ticked() override { return ticked; }
  void show_source_program(const std::string& text) override { log.push_back("1083 " + text); }
  void show_log_file(const std::string& text) override { log.push_back("1081 " + text); }
};

class SvcWorkingFolderTest : public SvcPathsTest {
 protected:
  std::string root;
  ScriptedFolderUi ui;
  void SetUp() override {
    SvcPathsTest::SetUp();
    char tmpl[] = "/tmp/svc_paths_XXXXXX";
    ASSERT_NE(::mkdtemp(tmpl), nullptr);
    root = tmpl;
    default_work_folder = root;
    working_folder = root;
    recent_list_clear(recent_working_dirs);
    src_pgm_path = root + "/src";
    src_pgm_name = "p.bas";
    log_file_path = "/var/log";
    log_file_name = "x.log";
    install_working_folder_ui(&ui);
  }
  void TearDown() override {
    SvcPathsTest::TearDown();
    std::string cmd = "rm -rf '" + root + "'";
    (void)std::system(cmd.c_str());
  }
};

TEST_F(SvcWorkingFolderTest, ExistingFolderBecomesWorkingFolderOnce) {
  std::string target = root + "/proj";
  ASSERT_EQ(::mkdir(target.c_str(), 0700), 0);
  EXPECT_EQ(set_working_directory(target + "/"), 0);
  EXPECT_EQ(working_folder, target);
  EXPECT_EQ(path_current_directory(), target);
  ASSERT_NE(recent_list_newest(recent_working_dirs), nullptr);
  EXPECT_EQ(*recent_list_newest(recent_working_dirs), target);
  const std::vector<std::string> expected = {"1083 " + root + "/src/p.bas", "1081 /var/log/x.log", "1085 " + target};
  EXPECT_EQ(ui.log, expected);
  EXPECT_EQ(set_working_directory(target), 0);
  EXPECT_EQ(recent_working_dirs.first_used, 9);  // the same folder is not pushed twice
}

TEST_F(SvcWorkingFolderTest, RefusalsFallBackOrKeepTheFolder) {
  recent_list_push(recent_working_dirs, "/recent");
  // Empty text: told, back to the newest recent folder.
  EXPECT_EQ(set_working_directory(""), -1);
  EXPECT_EQ(working_folder, "/recent");
  EXPECT_EQ(ui.log.front(), "Tovarelle: Please specify a path for the Working Directory");

  // Missing folder, answered No: back to the recent folder, nothing created.
  ui.log.clear();
  working_folder = root;
  std::string missing = root + "/missing";
  EXPECT_EQ(set_working_directory(missing), -1);
  EXPECT_EQ(ui.log.front(), "Tovarelle? Path " + missing + " does not exist.  Do you wish to create it?");
  EXPECT_FALSE(path_exists(missing));
  EXPECT_EQ(working_folder, "/recent");

  // A file, not a folder: told, working folder unchanged.
  ui.log.clear();
  working_folder = root;
  std::string file = root + "/plain.txt";
  std::ofstream(file) << "x";
  EXPECT_EQ(set_working_directory(file), -1);
  EXPECT_EQ(ui.log.front(), "Tovarelle: Path " + file + " is not a valid directory.");
  EXPECT_EQ(working_folder, root);

  // A leading "." is an invalid path.
  EXPECT_EQ(set_working_directory("./here"), -290);
  EXPECT_NE(port.output.find("ERROR - Invalid Path.\n"), std::string::npos);
}

TEST_F(SvcWorkingFolderTest, MissingFolderIsCreatedOnYes) {
  ui.answer_yes = true;
  std::string fresh = root + "/fresh";
  EXPECT_EQ(set_working_directory(fresh), 0);
  EXPECT_TRUE(path_is_folder(fresh));
  EXPECT_EQ(working_folder, fresh);
  // Creation failing (parent missing): told, back to the default folder.
  ui.log.clear();
  EXPECT_EQ(set_working_directory(root + "/no/such/parent"), -1);
  EXPECT_EQ(ui.log.back(), "1085 " + fresh + " (selected)");
  EXPECT_EQ(ui.log[1], "Tovarelle: Unable to create directory.");
}

TEST_F(SvcWorkingFolderTest, KillOrNoDialog) {
  kill_requested = 1;
  EXPECT_EQ(set_working_directory(""), 0);
  EXPECT_TRUE(ui.log.empty());
  kill_requested = 0;
  install_working_folder_ui(nullptr);
  EXPECT_EQ(set_working_directory(root + "/missing"), -290);
  EXPECT_EQ(port.output, "ERROR - Asking to create a folder is not available in this build.\n");
}

TEST_F(SvcWorkingFolderTest, RestoreGoesBackToTheRunStartFolder) {
  std::string other = root + "/other";
  ASSERT_EQ(::mkdir(other.c_str(), 0700), 0);
  run_start_folder = root;
  ASSERT_EQ(::chdir(other.c_str()), 0);
  working_folder = other;
  restore_working_folder();
  EXPECT_EQ(working_folder, root);
  EXPECT_EQ(path_current_directory(), root);
  EXPECT_EQ(ui.log.back(), "1085 " + root);
}

}  // namespace
