// Child processes started with posix_spawnp and an argument array (never a
// shell string), the document opener, the sound player child and the bell.
#include "platform/process.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/console.h"

extern char** environ;

namespace {

std::vector<pid_t> running_children;  // started and not yet reaped
std::string last_error_text;
pid_t sound_player_pid = 0;           // 0: no player child
std::string sound_player_program;     // empty: look one up

// Starts the child; stdin/stdout/stderr go to /dev/null so a child never
// writes into the interpreter's output. Returns the pid or -1.
pid_t spawn_child(const std::vector<std::string>& args, const std::string& folder) {
  if (args.empty() || args[0].empty()) {
    last_error_text = "No program named";
    return -1;
  }
  posix_spawn_file_actions_t actions;
  if (posix_spawn_file_actions_init(&actions) != 0) {
    last_error_text = "Cannot prepare the child process";
    return -1;
  }
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  if (!folder.empty()) posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());

  std::vector<char*> argv;
  argv.reserve(args.size() + 1);
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);

  pid_t pid = 0;
  int rc = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) {
    last_error_text = std::strerror(rc);
    return -1;
  }
  last_error_text.clear();
  return pid;
}

}  // namespace

int process_reap_children() {
  int reaped = 0;
  for (std::size_t i = 0; i < running_children.size();) {
    int status = 0;
    pid_t r = waitpid(running_children[i], &status, WNOHANG);
    if (r == running_children[i] || (r < 0 && errno == ECHILD)) {
      if (running_children[i] == sound_player_pid) sound_player_pid = 0;
      running_children.erase(running_children.begin() + static_cast<std::ptrdiff_t>(i));
      ++reaped;
    } else {
      ++i;
    }
  }
  return reaped;
}

int process_spawn(const std::vector<std::string>& args, const std::string& folder, long* pid_out) {
  process_reap_children();
  pid_t pid = spawn_child(args, folder);
  if (pid < 0) return -1;
  running_children.push_back(pid);
  if (pid_out != nullptr) *pid_out = pid;
  return 0;
}

bool process_running(long pid) {
  process_reap_children();
  for (pid_t child : running_children)
    if (child == pid) return true;
  return false;
}

int process_open_document(const std::string& target, const std::string& folder) {
  return process_spawn({"xdg-open", target}, folder);
}

const std::string& process_last_error() { return last_error_text; }

bool process_find_program(const std::string& name, std::string* full_path) {
  if (name.empty()) return false;
  if (name.find('/') != std::string::npos) {
    struct stat st {};
    bool ok = stat(name.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(name.c_str(), X_OK) == 0;
    if (ok && full_path) *full_path = name;
    return ok;
  }
  const char* path = std::getenv("PATH");
  std::string dirs = path ? path : "/usr/local/bin:/usr/bin:/bin";
  std::size_t start = 0;
  while (start <= dirs.size()) {
    std::size_t end = dirs.find(':', start);
    if (end == std::string::npos) end = dirs.size();
    std::string dir = dirs.substr(start, end - start);
    if (dir.empty()) dir = ".";
    std::string candidate = dir + "/" + name;
    struct stat st {};
    if (stat(candidate.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(candidate.c_str(), X_OK) == 0) {
      if (full_path) *full_path = candidate;
      return true;
    }
    start = end + 1;
  }
  return false;
}

void sound_set_player(const std::string& program) { sound_player_program = program; }

bool sound_is_playing() {
  if (sound_player_pid == 0) return false;
  process_reap_children();
  return sound_player_pid != 0;
}

void sound_stop() {
  if (!sound_is_playing()) return;
  pid_t pid = sound_player_pid;
  kill(pid, SIGTERM);
  int status = 0;
  // A player that ignores the request is ended after half a second.
  bool ended = false;
  for (int waited_ms = 0; waited_ms < 500 && !ended; waited_ms += 10) {
    ended = waitpid(pid, &status, WNOHANG) != 0;
    if (!ended) usleep(10000);
  }
  if (!ended) {
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
  }
  for (std::size_t i = 0; i < running_children.size(); ++i) {
    if (running_children[i] == pid) {
      running_children.erase(running_children.begin() + static_cast<std::ptrdiff_t>(i));
      break;
    }
  }
  sound_player_pid = 0;
}

void sound_bell() {
  if (console_output_is_terminal()) {
    console_write("\a");
    console_flush();
  }
}

int sound_play_file(const std::string& path) {
  if (sound_is_playing()) return 1;  // a sound already playing is not interrupted
  struct stat st {};
  if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
    sound_bell();
    return 2;
  }
  std::string player = sound_player_program;
  if (player.empty()) {
    for (const char* candidate : {"paplay", "pw-play", "aplay"}) {
      if (process_find_program(candidate)) {
        player = candidate;
        break;
      }
    }
  }
  if (player.empty()) {
    sound_bell();
    return 2;
  }
  process_reap_children();
  pid_t pid = spawn_child({player, path}, "");
  if (pid < 0) {
    sound_bell();
    return 2;
  }
  running_children.push_back(pid);
  sound_player_pid = pid;
  return 0;
}
