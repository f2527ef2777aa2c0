// Child processes: programs started with an argument array, documents opened
// with the desktop's opener, the sound player and the terminal bell.
#pragma once
#include <string>
#include <vector>

// Starts args[0] (looked up on PATH) with the whole array as its arguments,
// in folder when it is not empty; never through a shell. The child runs on
// its own with stdin, stdout and stderr on /dev/null; it is reaped later.
// Returns 0, or -1 when the program could not be started (errno-style reason
// in process_last_error). pid_out, when given, receives the child's id.
int process_spawn(const std::vector<std::string>& args, const std::string& folder, long* pid_out = nullptr);
// True while a child started here has not ended (ended ones are reaped).
bool process_running(long pid);

// Opens a document or URL with xdg-open; the same result rules as process_spawn.
int process_open_document(const std::string& target, const std::string& folder);

// Text of the last start failure ("No such file or directory", ...).
const std::string& process_last_error();

// Reaps children started here that have ended; returns how many were reaped.
int process_reap_children();

// True when a program of that name is on PATH (an absolute or relative name
// with "/" is checked as it stands).
bool process_find_program(const std::string& name, std::string* full_path = nullptr);

// Sound: plays a file asynchronously through a player child. When a sound is
// still playing nothing new is started (result 1); a missing file or no player
// program rings the terminal bell instead (result 2). 0 when the player started.
int sound_play_file(const std::string& path);
// Stops a playing sound (ends the player child).
void sound_stop();
// True while the player child of the last sound runs.
bool sound_is_playing();
// The player program; empty picks the first of paplay, pw-play, aplay on PATH.
void sound_set_player(const std::string& program);
// Rings the terminal bell when standard output is a terminal.
void sound_bell();
