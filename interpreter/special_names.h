// Special names: argument-less words that yield a value in an expression
// (long-number constants, the angle mode, a stopwatch, the math-error flag,
// folders, the last graph event, INKEY$ and choosefont$).
#pragma once
#include <cstdint>

extern std::int64_t stopwatch_start;  // counter stamp taken by starttimer

// The key wait shared with the windows: while key_waiting is set a window
// stores a typed character in key_char and sets key_ready.
extern std::uint32_t key_waiting;
extern std::uint32_t key_ready;
extern unsigned char key_char;

// Evaluates special name index (0..12, the special-name keyword order).
// Returns 2 (double_accumulator), 3 (string_accumulator) or 14
// (long_accumulator), or a negative code. In skip mode every name yields 0.0
// and the empty string as type 2 without doing anything.
int do_special_name(int index);

// Waits for one key; the character is left in key_char (0 for a key without
// one). Returns 0, -1 when a window wait was ended (Kill, quit), or a
// negative reported code when the console input has ended.
int wait_for_keystroke();
