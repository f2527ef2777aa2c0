// The settings store, saved settings and their defaults, size settings, recent
// lists and the default working folder.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <functional>
#include <dirent.h>
#include <vector>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "session/paths.h"
#include "frontend/settings.h"
#include "session/size_settings.h"
#include "ports/frontend_port.h"
#include "tests/support/scripted_port.h"
#include "platform/settings_store.h"

namespace {

std::string read_whole_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

// Each test gets its own home and config folders, so nothing leaks between tests.
class SvcSettingsTest : public ::testing::Test {
 protected:
  std::string root;
  std::string home;
  std::string config;
  std::string settings_file;
  ScriptedPort port;
  std::vector<std::string> told;  // settings failures told to the user

  void SetUp() override {
    char tmpl[] = "/tmp/svc_settings_XXXXXX";
    ASSERT_NE(::mkdtemp(tmpl), nullptr);
    root = tmpl;
    home = root + "/home";
    config = home + "/.config";
    ASSERT_EQ(::mkdir(home.c_str(), 0700), 0);
    ::setenv("HOME", home.c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    ::unsetenv("XDG_DOCUMENTS_DIR");
    settings_file = config + "/tovarelle/settings";
    startup_folder = root;
    install_frontend_port(&port);
    settings_install_teller([this](const std::string& text) { told.push_back(text); });
  }
  void TearDown() override {
    settings_store_close();
    settings_key = 0;
    size_settings_reset_current();
    install_frontend_port(nullptr);
    settings_install_teller(nullptr);
    std::string cmd = "rm -rf '" + root + "'";
    (void)std::system(cmd.c_str());
  }
  // Writes a settings file as an earlier run would have left it.
  void write_settings(const std::string& content) {
    std::string folder = config + "/tovarelle";
    std::string cmd = "mkdir -p '" + folder + "'";
    ASSERT_EQ(std::system(cmd.c_str()), 0);
    std::ofstream(settings_file) << content;
  }
};

TEST_F(SvcSettingsTest, StoreRoundTripsTypedValuesWithCaseBlindNames) {
  ASSERT_TRUE(settings_store_open(settings_file));
  const std::string awkward = "a\\b\nc\rd=e:f";
  EXPECT_TRUE(settings_store_write_text("LogFilePath", awkward));
  EXPECT_TRUE(settings_store_write_number("WorkingDIr", 0));
  EXPECT_TRUE(settings_store_write_number("JPEGQuality", 4294967295u));
  ASSERT_TRUE(settings_store_commit());
  settings_store_close();

  ASSERT_TRUE(settings_store_open(settings_file));
  std::string text;
  std::uint32_t number = 7;
  EXPECT_TRUE(settings_store_read_text("logfilepath", text));
  EXPECT_EQ(text, awkward);
  EXPECT_TRUE(settings_store_read_number("WorkingDir", number));
  EXPECT_EQ(number, 0u);
  EXPECT_TRUE(settings_store_read_number("JPEGQUALITY", number));
  EXPECT_EQ(number, 4294967295u);
  // A value read with the other type is not there.
  EXPECT_FALSE(settings_store_read_number("LogFilePath", number));
  EXPECT_FALSE(settings_store_read_text("WorkingDir", text));

  // Names the file could not hold are refused.
  for (const char* bad : {"", "a=b", "line\nbreak", "#comment"}) EXPECT_FALSE(settings_store_write_number(bad, 1)) << bad;

  // Writing under another spelling replaces the one value.
  EXPECT_TRUE(settings_store_write_number("WORKINGDIR", 1));
  ASSERT_TRUE(settings_store_commit());
  std::string file = read_whole_file(settings_file);
  EXPECT_NE(file.find("WorkingDIr=n:1\n"), std::string::npos) << file;
  EXPECT_EQ(file.find("WORKINGDIR"), std::string::npos) << file;
}

TEST_F(SvcSettingsTest, StoreIgnoresDamagedLinesAndKeepsOtherWritersValues) {
  write_settings("# note\ngarbage\nNumVariables=n:12x\nBig=n:4294967296\nGood=n:42\n=s:noname\nText=s:ok\n");
  ASSERT_TRUE(settings_store_open(settings_file));
  std::uint32_t number = 0;
  std::string text;
  EXPECT_FALSE(settings_store_read_number("NumVariables", number));
  EXPECT_FALSE(settings_store_read_number("Big", number));
  EXPECT_TRUE(settings_store_read_number("Good", number));
  EXPECT_EQ(number, 42u);
  EXPECT_TRUE(settings_store_read_text("Text", text));
  EXPECT_EQ(text, "ok");

  // Another process adds a value after we opened: our commit keeps it.
  std::ofstream(settings_file, std::ios::app) << "Other=s:theirs\n";
  settings_store_write_text("Mine", "ours");
  ASSERT_TRUE(settings_store_commit());
  std::string file = read_whole_file(settings_file);
  EXPECT_NE(file.find("Other=s:theirs\n"), std::string::npos);
  EXPECT_NE(file.find("Mine=s:ours\n"), std::string::npos);
  // No temporary file is left beside it.
  std::vector<std::string> names;
  if (DIR* dir = ::opendir((config + "/tovarelle").c_str())) {
    while (dirent* e = ::readdir(dir))
      if (e->d_name[0] != '.') names.emplace_back(e->d_name);
    ::closedir(dir);
  }
  EXPECT_EQ(names, std::vector<std::string>{"settings"});
}

// Reading refuses what is not a settings file: it never blocks on a FIFO nor
// reads a device or a huge file, and says why; start-up then uses the
// defaults and tells that nothing will be saved. (An alarm ends the test if
// a read hangs.)
TEST_F(SvcSettingsTest, StoreRefusesFilesThatAreNotSettingsFiles) {
  write_settings("");
  ASSERT_EQ(::unlink(settings_file.c_str()), 0);
  struct refused_case {
    const char* name;
    std::function<int()> make;
    const char* reason;
  };
  const refused_case cases[] = {
      {"fifo", [&] { return ::mkfifo(settings_file.c_str(), 0600); }, "not a regular file"},
      {"link to /dev/zero", [&] { return ::symlink("/dev/zero", settings_file.c_str()); }, "not a regular file"},
      {"folder", [&] { return ::mkdir(settings_file.c_str(), 0700); }, "not a regular file"},
      {"1 GB file",
       [&] {
         std::ofstream(settings_file) << "ScreenSize=n:2\n";
         return ::truncate(settings_file.c_str(), 1 << 30);  // sparse: takes no room
       },
       "larger than 1048576 bytes"},
  };
  ::alarm(20);
  for (const refused_case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_EQ(c.make(), 0);
    EXPECT_FALSE(settings_store_open(settings_file));
    EXPECT_EQ(settings_store_failure(), settings_file + ": " + c.reason);
    told.clear();
    settings_load_at_startup();
    EXPECT_EQ(settings_key, 0);
    ASSERT_EQ(told.size(), 1u);
    EXPECT_EQ(told[0], "The settings file was not read (" + settings_file + ": " + c.reason +
                           "); the defaults are used and no settings will be saved.");
    EXPECT_EQ(reg_save_settings(), 0);  // the exit road says it again
    EXPECT_EQ(told.size(), 2u);
    std::string cmd = "rm -rf '" + settings_file + "'";
    ASSERT_EQ(std::system(cmd.c_str()), 0);
  }
  ::alarm(0);
}

// A failed save is told with its reason, the old file stays whole and the
// change stays pending; a later save that works writes it.
TEST_F(SvcSettingsTest, FailedSaveIsToldAndNothingIsLost) {
  write_settings("LogFileName=s:old.log\n");
  settings_load_at_startup();
  ASSERT_EQ(settings_key, 1);
  told.clear();
  std::string folder = config + "/tovarelle";
  std::string moved = root + "/moved";
  ASSERT_EQ(::rename(folder.c_str(), moved.c_str()), 0);  // the folder went away
  log_file_name = "new.log";
  EXPECT_EQ(reg_save_settings(), 0);
  ASSERT_EQ(told.size(), 1u);
  EXPECT_EQ(told[0], "The settings could not be saved (" + settings_file + ": No such file or directory).");

  // A write that fails half-way (a full disk, here a file size limit).
  ASSERT_EQ(::rename(moved.c_str(), folder.c_str()), 0);
  rlimit saved{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
  auto old_handler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit tiny = saved;
  tiny.rlim_cur = 16;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &tiny), 0);
  told.clear();
  EXPECT_EQ(reg_save_settings(), 0);
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &saved), 0);
  std::signal(SIGXFSZ, old_handler);
  ASSERT_EQ(told.size(), 1u);
  EXPECT_EQ(told[0], "The settings could not be saved (" + settings_file + ": File too large).");
  EXPECT_EQ(read_whole_file(settings_file).find("LogFileName=s:new.log"), std::string::npos);
  EXPECT_NE(read_whole_file(settings_file).find("LogFileName=s:old.log\n"), std::string::npos);

  told.clear();
  EXPECT_EQ(reg_save_settings(), 1);
  EXPECT_TRUE(told.empty());
  EXPECT_NE(read_whole_file(settings_file).find("LogFileName=s:new.log\n"), std::string::npos);
}

// The rewrite keeps the lines it does not understand where they stand,
// changes a value in its own line, and writes nothing when nothing changed.
TEST_F(SvcSettingsTest, RewriteKeepsCommentsAndUnreadLines) {
  const std::string before =
      "# my own note\n"
      "NumVariables=n:5\n"
      "\n"
      "garbage line\n"
      "Odd=n:12x\r\n"
      "# another note\n"
      "ScreenSize=n:2\n";
  write_settings(before);
  settings_load_at_startup();
  std::string after = read_whole_file(settings_file);
  const std::string kept = "# my own note\nNumVariables=n:200\n\ngarbage line\nOdd=n:12x\r\n# another note\n";
  ASSERT_EQ(after.substr(0, kept.size()), kept);
  EXPECT_NE(after.find("ScreenSize=n:2\n"), std::string::npos);
  EXPECT_NE(after.find("StringSpace=n:65536\n"), std::string::npos);  // new values at the end
  EXPECT_EQ(after.find("NumVariables=n:5"), std::string::npos);

  struct stat first {};
  ASSERT_EQ(::stat(settings_file.c_str(), &first), 0);
  settings_store_close();
  settings_load_at_startup();  // nothing changed: the file is not replaced
  struct stat second {};
  ASSERT_EQ(::stat(settings_file.c_str(), &second), 0);
  EXPECT_EQ(first.st_ino, second.st_ino);
  EXPECT_EQ(read_whole_file(settings_file), after);

  // A settings file that is a link stays a link; the file it names changes.
  std::string real = root + "/real-settings";
  ASSERT_EQ(::rename(settings_file.c_str(), real.c_str()), 0);
  ASSERT_EQ(::symlink(real.c_str(), settings_file.c_str()), 0);
  settings_store_close();
  settings_load_at_startup();
  log_file_name = "linked.log";
  ASSERT_EQ(reg_save_settings(), 1);
  struct stat link {};
  ASSERT_EQ(::lstat(settings_file.c_str(), &link), 0);
  EXPECT_TRUE(S_ISLNK(link.st_mode));
  EXPECT_NE(read_whole_file(real).find("LogFileName=s:linked.log\n"), std::string::npos);
  EXPECT_EQ(read_whole_file(real).substr(0, 14), "# my own note\n");
}

// Told before any teller exists, a text waits (once) for the next teller.
TEST_F(SvcSettingsTest, TextsToldBeforeATellerWaitForIt) {
  settings_install_teller(nullptr);
  settings_tell("first");
  settings_tell("first");
  settings_tell("second");
  settings_install_teller([this](const std::string& text) { told.push_back(text); });
  EXPECT_EQ(told, (std::vector<std::string>{"first", "second"}));
  settings_tell("third");
  EXPECT_EQ(told.size(), 3u);
}

// Writing back the values the file already holds (every start does so with
// the size settings) leaves the file untouched; a changed value rewrites it.
TEST_F(SvcSettingsTest, CommitOfUnchangedValuesLeavesFileAlone) {
  write_settings("Good=n:42\nText=s:ok\n");
  ASSERT_TRUE(settings_store_open(settings_file));
  struct stat before {};
  ASSERT_EQ(::stat(settings_file.c_str(), &before), 0);
  settings_store_write_number("GOOD", 42);
  settings_store_write_text("Text", "ok");
  ASSERT_TRUE(settings_store_commit());
  struct stat after {};
  ASSERT_EQ(::stat(settings_file.c_str(), &after), 0);
  EXPECT_EQ(after.st_ino, before.st_ino);  // a rewrite renames a new file over it

  settings_store_write_text("Text", "changed");
  ASSERT_TRUE(settings_store_commit());
  ASSERT_EQ(::stat(settings_file.c_str(), &after), 0);
  EXPECT_NE(after.st_ino, before.st_ino);
  EXPECT_NE(read_whole_file(settings_file).find("Text=s:changed\n"), std::string::npos);
}

TEST_F(SvcSettingsTest, ClosedStoreReadsNothingAndWritesNothing) {
  std::uint32_t number = 5;
  std::string text = "keep";
  EXPECT_FALSE(settings_store_read_number("NumVariables", number));
  EXPECT_FALSE(settings_store_write_text("A", "b"));
  EXPECT_FALSE(settings_store_commit());
  settings_key = 0;
  EXPECT_FALSE(reg_read_string("WorkPath", text));
  EXPECT_EQ(text, "keep");
  EXPECT_EQ(number, 5u);
  EXPECT_EQ(reg_save_settings(), 0);
}

TEST_F(SvcSettingsTest, FreshUserGetsDocumentsFolderAndDefaults) {
  settings_load_at_startup();
  EXPECT_EQ(settings_key, 1);
  std::string expected = home + "/Documents/Tovarelle";
  EXPECT_EQ(default_work_folder, expected);
  EXPECT_TRUE(path_is_folder(expected));
  EXPECT_EQ(working_folder, expected);
  EXPECT_EQ(src_pgm_path, expected);
  EXPECT_EQ(src_pgm_name, "program.txt");
  EXPECT_EQ(log_file_path, expected);
  EXPECT_EQ(log_file_name, "logfile.log");
  EXPECT_EQ(jpeg_full_path, expected + "/test.jpg");
  EXPECT_EQ(jpeg_quality, 100u);
  EXPECT_EQ(jpeg_resolution, 80u);
  EXPECT_EQ(create_log_file, 1u);
  EXPECT_EQ(use_working_dir, 1u);
  EXPECT_EQ(recent_source_programs.first_used, 10);
  EXPECT_EQ(recent_list_newest(recent_working_dirs), nullptr);
  // The size settings were written back at once.
  std::string file = read_whole_file(settings_file);
  EXPECT_NE(file.find("NumVariables=n:200\n"), std::string::npos) << file;
  EXPECT_NE(file.find("ScreenSize=n:1\n"), std::string::npos) << file;
}

TEST_F(SvcSettingsTest, DocumentsFolderComesFromXdgSettings) {
  std::string cmd = "mkdir -p '" + config + "'";
  ASSERT_EQ(std::system(cmd.c_str()), 0);
  std::ofstream(config + "/user-dirs.dirs") << "# user dirs\nXDG_DESKTOP_DIR=\"$HOME/Desk\"\nXDG_DOCUMENTS_DIR=\"$HOME/Papers\"\n";
  EXPECT_EQ(documents_folder(), home + "/Papers");
  ::setenv("XDG_DOCUMENTS_DIR", (root + "/docs").c_str(), 1);
  EXPECT_EQ(documents_folder(), root + "/docs");
  ::unsetenv("XDG_DOCUMENTS_DIR");
  ::unlink((config + "/user-dirs.dirs").c_str());
  EXPECT_EQ(documents_folder(), home + "/Documents");
}

TEST_F(SvcSettingsTest, SavedWorkPathIsUsedOrForgottenWhenDeleted) {
  std::string saved = root + "/saved";
  ASSERT_EQ(::mkdir(saved.c_str(), 0700), 0);
  write_settings("WorkPath=s:" + saved + "\n");
  EXPECT_EQ(reg_init_work_folder(), 1);
  EXPECT_EQ(default_work_folder, saved);

  ASSERT_EQ(::rmdir(saved.c_str()), 0);
  EXPECT_EQ(reg_init_work_folder(), 1);
  EXPECT_EQ(default_work_folder, home + "/Documents/Tovarelle");
  EXPECT_NE(read_whole_file(settings_file).find("WorkPath=s:\n"), std::string::npos);
}

TEST_F(SvcSettingsTest, WithoutDocumentsFolderFallsBackToProgramsUnderStartFolder) {
  ::unsetenv("HOME");
  ::setenv("XDG_CONFIG_HOME", config.c_str(), 1);
  EXPECT_EQ(reg_init_work_folder(), 1);
  EXPECT_EQ(default_work_folder, root + "/programs");
  EXPECT_TRUE(path_is_folder(root + "/programs"));
  ::setenv("HOME", home.c_str(), 1);
}

TEST_F(SvcSettingsTest, StoredValuesAreReadCheckedAndClamped) {
  std::string long_text(260, 'x');
  write_settings(
      "LogFileName=s:run.log\n"
      "SrcPgmName=s:" + std::string(259, 'p') + "\n"
      "SrcPgmPath=s:" + long_text + "\n"
      "JpegPath=s:/pictures\nJpegFile=s:plot.jpg\n"
      "JPEGQuality=n:10\nJPEGResolution=n:1000\n"
      "CreateLogFile=n:0\nWorkingDIr=n:0\n"
      "RecentCommand3=s:print 3\nRecentCommand7=s:print 7\n"
      "RecentLogFile9=s:" + std::string(256, 'l') + "\n"
      "NumVariables=n:5\nStringSpace=n:100000\nNumberOfFiles=s:7\n"
      "NumberOfDataStatements=n:4294967396\n");
  settings_load_at_startup();
  EXPECT_EQ(log_file_name, "run.log");
  EXPECT_EQ(src_pgm_name, std::string(259, 'p'));  // 259 characters fit
  EXPECT_EQ(src_pgm_path, default_work_folder);    // 260 do not: the default holds
  EXPECT_EQ(jpeg_full_path, "/pictures/plot.jpg");
  EXPECT_EQ(jpeg_quality, 25u);
  EXPECT_EQ(jpeg_resolution, 600u);
  EXPECT_EQ(create_log_file, 0u);
  EXPECT_EQ(use_working_dir, 0u);
  EXPECT_EQ(command_history.first_used, 3);
  EXPECT_EQ(command_history.browse_pos, 20);
  EXPECT_EQ(command_history.slots[7], "print 7");
  EXPECT_EQ(recent_log_files.first_used, 10);  // the over-long slot was ignored
  EXPECT_EQ(size_settings[SIZE_NUM_VARIABLES].current, 200u);
  EXPECT_EQ(size_settings[SIZE_STRING_SPACE].current, 100000u);
  EXPECT_EQ(size_settings[SIZE_NUMBER_OF_FILES].current, 5u);  // a text is no number
  EXPECT_EQ(size_settings[SIZE_NUMBER_OF_DATA_STATEMENTS].current, 500u);  // not wrapped to 100
  std::string file = read_whole_file(settings_file);
  EXPECT_NE(file.find("NumVariables=n:200\n"), std::string::npos) << file;
  EXPECT_NE(file.find("NumberOfFiles=n:5\n"), std::string::npos) << file;
}

TEST_F(SvcSettingsTest, SizeSettingRangeCheck) {
  struct size_case {
    const char* stored;  // nullptr: missing
    std::uint32_t start;
    std::uint32_t expected;
  };
  const size_case cases[] = {
      {nullptr, 333, 333}, {"30", 200, 30},     {"1000", 200, 1000},
      {"29", 200, 200},    {"1001", 200, 200},  {"0", 500, 200},
      // Beyond 32 bits: no number at all, never wrapped into a small one.
      {"4294967396", 333, 333}, {"99999999999999999999999", 333, 333},
  };
  for (const size_case& c : cases) {
    settings_store_close();
    write_settings(c.stored ? std::string("NumVariables=n:") + c.stored + "\n" : std::string());
    ASSERT_TRUE(settings_store_open(settings_file));
    settings_key = 1;
    size_setting record = size_settings[SIZE_NUM_VARIABLES];
    record.current = c.start;
    reg_read_size_setting("NumVariables", record);
    EXPECT_EQ(record.current, c.expected) << (c.stored ? c.stored : "missing");
  }
  size_settings[SIZE_SCREEN_SIZE].edited = 2;
  size_settings_reset_edited();
  EXPECT_EQ(size_settings[SIZE_SCREEN_SIZE].edited, 1u);
}

TEST(SvcSizeSettings, EditTextParsesWithRangeChecks) {
  struct text_case {
    const char* text;
    std::uint32_t value;
    bool in_range;  // for NumVariables, 30..1000
  };
  const text_case cases[] = {
      {"200", 200, true},
      {"  1000\r\n", 1000, true},
      {"30x", 30, true},
      {"", 0, false},
      {"abc", 0, false},
      {"29", 29, false},
      {"4294967396", UINT32_MAX, false},  // a bare "%u" would read 100 here
      {"4294967295", UINT32_MAX, false},
      {"-5", UINT32_MAX, false},
      {"00000000000000000000000000000000000000000000000500", 50, true},  // cut after the 49 characters of the field
  };
  const size_setting& record = size_settings[SIZE_NUM_VARIABLES];
  for (const text_case& c : cases) {
    std::uint32_t value = size_setting_parse_text(c.text);
    EXPECT_EQ(value, c.value) << "'" << c.text << "'";
    EXPECT_EQ(size_setting_in_range(record, value), c.in_range) << "'" << c.text << "'";
  }
}

TEST_F(SvcSettingsTest, SaveThenLoadKeepsEveryValue) {
  settings_load_at_startup();
  std::string work = root + "/work";
  ASSERT_EQ(::mkdir(work.c_str(), 0700), 0);
  working_folder = work;
  log_file_name = "mine.log";
  use_working_dir = 0;
  jpeg_quality = 60;
  recent_list_push(recent_working_dirs, "/a");
  recent_list_push(recent_working_dirs, "/b");
  command_history_push("print 1");
  ASSERT_EQ(reg_save_settings(), 1);
  std::string file = read_whole_file(settings_file);
  EXPECT_NE(file.find("WorkingDIr=n:0\n"), std::string::npos);
  EXPECT_NE(file.find("RecentCommand0=s:\n"), std::string::npos);  // empty slots are written empty

  settings_store_close();
  set_default_settings();
  command_history_push("reset");
  settings_load_at_startup();
  EXPECT_EQ(default_work_folder, work);
  EXPECT_EQ(working_folder, work);
  EXPECT_EQ(log_file_name, "mine.log");
  EXPECT_EQ(use_working_dir, 0u);
  EXPECT_EQ(jpeg_quality, 60u);
  EXPECT_EQ(recent_working_dirs.first_used, 8);
  ASSERT_NE(recent_list_newest(recent_working_dirs), nullptr);
  EXPECT_EQ(*recent_list_newest(recent_working_dirs), "/b");
  EXPECT_EQ(command_history.slots[19], "print 1");
  EXPECT_EQ(command_history.first_used, 19);
}

TEST(SvcRecentList, PushMovesSlotsAndTracksFirstUsed) {
  recent_list list{10, {}, 10, 10};
  for (int i = 0; i < 12; ++i) EXPECT_TRUE(recent_list_push(list, "t" + std::to_string(i)));
  EXPECT_EQ(list.first_used, 0);
  EXPECT_EQ(list.slots[0], "t2");  // the two oldest fell out
  EXPECT_EQ(list.slots[9], "t11");
  EXPECT_FALSE(recent_list_push(list, std::string(256, 'z')));  // never cut: not stored
  EXPECT_EQ(list.slots[9], "t11");

  recent_list paths{10, {}, 10, 10};
  EXPECT_TRUE(recent_list_push_path(paths, "/x", true));
  EXPECT_EQ(paths.browse_pos, 9);
  EXPECT_EQ(paths.first_used, 9);
  paths.browse_pos = 10;
  EXPECT_FALSE(recent_list_push_path(paths, "/x", true));  // same as the newest
  EXPECT_EQ(paths.browse_pos, 10);
  EXPECT_TRUE(recent_list_push_path(paths, "/X", false));  // case counts
  EXPECT_EQ(paths.browse_pos, 10);
  EXPECT_EQ(paths.first_used, 8);

  recent_list_clear(command_history);
  command_history.browse_pos = 4;
  command_history_push("a");
  command_history_push("a");  // the history keeps repeats
  EXPECT_EQ(command_history.first_used, 18);
  EXPECT_EQ(command_history.browse_pos, 20);
}

}  // namespace
