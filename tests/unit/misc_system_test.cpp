// Child processes, the sound player, console colours, parameter ranges and
// SPAWN's argument splitting.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

#include "core_test_support.h"
#include "session/paths.h"
#include "interpreter/run_control.h"
#include "interpreter/run_state.h"
#include "interpreter/system_statements.h"
#include "ports/frontend_port.h"
#include "tests/support/scripted_port.h"
#include "platform/process.h"

namespace {

std::string make_temp_folder() {
  char pattern[] = "/tmp/misc_system_XXXXXX";
  const char* made = mkdtemp(pattern);
  return made ? made : "";
}

bool wait_for_file(const std::string& path, int timeout_ms) {
  for (int waited = 0; waited < timeout_ms; waited += 20) {
    if (access(path.c_str(), F_OK) == 0) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return false;
}

}  // namespace

TEST(MiscSystem, SpawnParametersSplitAtBlanksKeepingQuotedParts) {
  struct Case {
    const char* text;
    std::vector<std::string> args;
  } cases[] = {
      {"", {}},
      {"   ", {}},
      {"a b  c", {"a", "b", "c"}},
      {"\"two words\" x", {"two words", "x"}},
      {"-n \"\" end", {"-n", "", "end"}},
      {"\"unclosed quote", {"unclosed quote"}},
      {"a;rm -rf $HOME", {"a;rm", "-rf", "$HOME"}},  // no shell ever sees it
  };
  for (const Case& c : cases) EXPECT_EQ(split_spawn_parameters(c.text), c.args) << c.text;
}

TEST(MiscSystem, SpawnRunsProgramInFolderWithArgumentArray) {
  std::string folder = make_temp_folder();
  ASSERT_FALSE(folder.empty());
  // The argument with blanks and a semicolon stays one file name.
  ASSERT_EQ(process_spawn({"touch", "made; here.txt"}, folder), 0);
  EXPECT_TRUE(wait_for_file(folder + "/made; here.txt", 3000));
  EXPECT_EQ(process_spawn({"no-such-program-for-sure"}, folder), -1);
  EXPECT_FALSE(process_last_error().empty());
  EXPECT_EQ(process_spawn({"touch", "x"}, folder + "/missing-folder"), -1);
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  process_reap_children();
  std::remove((folder + "/made; here.txt").c_str());
  rmdir(folder.c_str());
}

TEST(MiscSystem, SoundPlaysOneAtATimeAndStops) {
  std::string folder = make_temp_folder();
  ASSERT_FALSE(folder.empty());
  std::string player = folder + "/player.sh";
  std::string sound = folder + "/beep.wav";
  {
    std::ofstream(player) << "#!/bin/sh\nexec sleep 5\n";
    std::ofstream(sound) << "RIFF";
  }
  ASSERT_EQ(chmod(player.c_str(), 0755), 0);
  sound_set_player(player);

  EXPECT_EQ(sound_play_file(folder + "/missing.wav"), 2);  // the bell instead
  EXPECT_FALSE(sound_is_playing());
  EXPECT_EQ(sound_play_file(sound), 0);
  EXPECT_TRUE(sound_is_playing());
  EXPECT_EQ(sound_play_file(sound), 1);  // a playing sound is not interrupted
  sound_stop();
  EXPECT_FALSE(sound_is_playing());
  EXPECT_EQ(sound_play_file(sound), 0);  // free again after the stop
  sound_stop();

  // A player that ignores the polite request is still ended.
  std::ofstream(player) << "#!/bin/sh\ntrap '' TERM\nexec sleep 5\n";
  EXPECT_EQ(sound_play_file(sound), 0);
  std::this_thread::sleep_for(std::chrono::milliseconds(100));  // let it install the trap
  auto start = std::chrono::steady_clock::now();
  sound_stop();
  EXPECT_FALSE(sound_is_playing());
  EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(), 2.0);

  sound_set_player(folder + "/no-player");
  EXPECT_EQ(sound_play_file(sound), 2);
  sound_set_player("");
  std::remove(player.c_str());
  std::remove(sound.c_str());
  rmdir(folder.c_str());
}

TEST(MiscSystem, ConsoleColourSequences) {
  struct Case {
    int attribute;
    const char* sequence;
  } cases[] = {
      {-1, "\x1b[0m"},          {7, "\x1b[0;37;40m"},   {14, "\x1b[0;93;40m"},
      {0x1F, "\x1b[0;97;44m"},  {0x4E, "\x1b[0;93;41m"}, {0x12C, "\x1b[0;91;42m"},  // higher bits ignored
  };
  for (const Case& c : cases) EXPECT_EQ(console_color_sequence(c.attribute), c.sequence) << c.attribute;
}

TEST(MiscSystem, CheckParamRangeIsInclusiveAndRefusesNaN) {
  ScriptedPort port;
  install_frontend_port(&port);
  struct Case {
    double value;
    int result;
  } cases[] = {{1.0, 0}, {10000.0, 0}, {500.5, 0}, {0.0, -297}, {0.999, -297}, {20000.0, -297},
               {std::nan(""), -297}, {-INFINITY, -297}};
  for (const Case& c : cases) {
    double_accumulator = c.value;
    EXPECT_EQ(check_param_range(1.0, 10000.0), c.result) << c.value;
  }
  install_frontend_port(nullptr);
  EXPECT_NE(port.output.find("ERROR - Invalid value for parameter."), std::string::npos);
}

TEST(MiscSystem, HelpTopicsHaveOneDocumentEach) {
  EXPECT_STREQ(help_topic_titles[0], "Introduction to BASIC");
  EXPECT_STREQ(help_topic_titles[8], "User-Defined Funtions");
  EXPECT_STREQ(help_topic_titles[14], "Quick Reference Booklet");
  EXPECT_EQ(help_topic_document(0), "");
  EXPECT_EQ(help_topic_document(16), "");
  EXPECT_NE(help_topic_document(1), help_topic_document(15));
}

// ---------------------------------------------------------------- the statements

namespace {

// BEEP, CHDIR, DELAY and SPAWN run as statements in a scratch folder.
class MiscSystemStatements : public CoreTest {
 protected:
  std::string folder, previous;
  std::uint32_t saved_console_mode = 0;

  void SetUp() override {
    CoreTest::SetUp();
    ASSERT_EQ(start(), 0) << port.output;
    previous = path_current_directory();
    folder = make_temp_folder();
    ASSERT_FALSE(folder.empty());
    ASSERT_EQ(chdir(folder.c_str()), 0);
    saved_console_mode = console_mode;
    console_mode = 1;
  }
  void TearDown() override {
    sound_stop();
    sound_set_player("");
    console_mode = saved_console_mode;
    ASSERT_EQ(chdir(previous.c_str()), 0);
    std::string command = "rm -rf '" + folder + "'";
    (void)std::system(command.c_str());
    CoreTest::TearDown();
  }
  int run(const std::string& text) {
    port.output.clear();
    return execute_statement_text(text.c_str());
  }
};

double seconds_of(const std::function<void()>& work) {
  auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

TEST_F(MiscSystemStatements, DelayPausesForTheGivenMilliseconds) {
  double waited = seconds_of([&] { EXPECT_GE(run("DELAY 300"), 0) << port.output; });
  EXPECT_GE(waited, 0.29);
  EXPECT_LT(waited, 1.0);
  waited = seconds_of([&] { EXPECT_GE(run("IF 1 = 2 THEN DELAY 3000"), 0); });
  EXPECT_LT(waited, 0.5);
}

TEST_F(MiscSystemStatements, BeepPlaysTheDefaultSoundAndAnEmptyNameStopsIt) {
  std::string player = folder + "/player.sh";
  std::ofstream(player) << "#!/bin/sh\nexec sleep 5\n";
  ASSERT_EQ(chmod(player.c_str(), 0755), 0);
  sound_set_player(player);
  EXPECT_GE(run("BEEP"), 0);
  EXPECT_FALSE(sound_is_playing());  // no beep.wav here: the bell instead
  std::ofstream(folder + "/beep.wav") << "RIFF";
  std::ofstream(folder + "/other.wav") << "RIFF";
  EXPECT_GE(run("IF 1 = 2 THEN BEEP"), 0);
  EXPECT_FALSE(sound_is_playing());
  EXPECT_GE(run("BEEP"), 0);
  EXPECT_TRUE(sound_is_playing());
  EXPECT_GE(run("BEEP \"\""), 0);
  EXPECT_FALSE(sound_is_playing());
  EXPECT_GE(run("s$ = \"other.wav\": BEEP s$"), 0);
  EXPECT_TRUE(sound_is_playing());
}

TEST_F(MiscSystemStatements, ChdirChangesTheFolderAndReportsAMissingOne) {
  ASSERT_EQ(mkdir((folder + "/sub dir").c_str(), 0755), 0);
  EXPECT_GE(run("CHDIR \"sub dir\""), 0) << port.output;
  EXPECT_EQ(path_current_directory(), folder + "/sub dir");
  EXPECT_EQ(working_folder, folder + "/sub dir");
  EXPECT_EQ(port.output, "Current directory is: " + folder + "/sub dir\n");

  EXPECT_LT(run("CHDIR \"no such\""), 0);
  EXPECT_TRUE(reported_code(291));
  EXPECT_NE(port.output.find("Current directory is: " + folder + "/sub dir\n"), std::string::npos);
  EXPECT_EQ(path_current_directory(), folder + "/sub dir");
}

TEST_F(MiscSystemStatements, SpawnStartsAProgramWithItsParametersInItsFolder) {
  ASSERT_EQ(mkdir((folder + "/out").c_str(), 0755), 0);
  EXPECT_GE(run("SPAWN \"touch\", \"first \" + CHR$(34) + \"second one\" + CHR$(34), \"" + folder + "/out\""), 0) << port.output;
  EXPECT_TRUE(wait_for_file(folder + "/out/first", 3000));
  EXPECT_TRUE(wait_for_file(folder + "/out/second one", 3000));
  EXPECT_LT(run("SPAWN \"surely-no-such-program\""), 0);
  EXPECT_TRUE(reported_code(301));
  EXPECT_GE(run("IF 1 = 2 THEN SPAWN \"touch\", \"skipped\""), 0);
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_NE(access((folder + "/skipped").c_str(), F_OK), 0);
  process_reap_children();
}

TEST_F(MiscSystemStatements, SpawnFindsProgramsInARelativeFolderOrByRelativePath) {
  ASSERT_EQ(mkdir((folder + "/tools").c_str(), 0755), 0);
  std::string tool = folder + "/tools/mark.sh";
  std::ofstream(tool) << "#!/bin/sh\ntouch \"$1\"\n";
  ASSERT_EQ(chmod(tool.c_str(), 0755), 0);
  struct Case {
    const char* statement;
    const char* made;  // the file the tool leaves behind, relative to folder
  } cases[] = {
      {"SPAWN \"mark.sh\", \"in_tools\", \"tools\"", "tools/in_tools"},  // found in the relative folder, runs there
      {"SPAWN \"tools/mark.sh\", \"here\"", "here"},                    // relative path, runs in the current folder
      {"SPAWN \"tools/mark.sh\", \"again\", \"tools\"", "tools/again"},  // relative path from here, runs in the folder
  };
  for (const Case& c : cases) {
    EXPECT_GE(run(c.statement), 0) << c.statement << port.output;
    EXPECT_TRUE(wait_for_file(folder + "/" + c.made, 3000)) << c.statement;
  }
  process_reap_children();
}
