// Memory of work already done on the loaded program text: what a name, an
// expression, a jump's number, a line or a passed-over run at a given offset
// of the text turned out to be. The text stays the source of truth; every
// memo is only a shortcut that must give what scanning the text again gives.
//
// The rules all memos share live here:
// - a memo entry is keyed by the whole text offset and the text's epoch
//   (memo_key), and a hit compares the whole key;
// - one validity stamp (memo.stamp) stands for everything besides the text a
//   memo may depend on (the variable, array, user-function and keyword
//   tables, the number modes); every change to them goes through
//   memo_changed(), and an entry holds only under the stamp it was made under;
// - work is remembered under the stamp it began under, and only when the stamp
//   still holds at its end; remembered work that makes calls (a function in
//   a remembered expression) checks the stamp after each call and takes the
//   general road for the rest once it moved;
// - nothing is remembered or recalled while anything watches statements as
//   they run (DEBUG, TRACE, stepping) or during the pre-scan;
// - TOV_NO_MEMO=1 in the environment at start switches every memo off, so
//   that the interpreter takes the general road everywhere;
// - a user-function body, scanned from a copy of its own (an expression body)
//   or from the line appended behind the program (a GOSUB body), is
//   remembered under offsets of its own: body_text_base plus the body's offset
//   in the pre-scanned text, its first character at column 0. The DEF line's
//   memos, whose columns differ, never meet them.
#pragma once
#include <cstddef>
#include <cstdint>

#include "interpreter/run_state.h"

// The validity stamp: 64 bits, so that it never comes round again.
using memo_stamp = std::uint64_t;

struct memo_state {
  std::uint32_t epoch = 1;       // changes whenever the program text may have changed
  std::uint32_t text_limit = 0;  // offsets below this are the pre-scanned program
  memo_stamp stamp = 1;          // changes whenever anything else a memo depends on changes
  bool off = false;              // every memo switched off (TOV_NO_MEMO=1)
};
extern memo_state memo;

// Switches every memo off or on (start-up reads TOV_NO_MEMO; tests may set it).
void memo_switch_off(bool off);

// The one call for every change a memo may depend on: variables or arrays
// created, reset, erased or dimensioned, user functions or FIELDs defined,
// keyword tables changed, number modes switched. Nothing remembered before it
// is used again.
inline void memo_changed() { ++memo.stamp; }

// LONG ALL switched on or off: a number mode memos depend on.
inline void set_long_all_mode(int on) {
  long_all_mode = on;
  memo_changed();
}

// The program text was loaded, replaced or emptied: nothing remembered holds,
// and nothing is remembered again until the next pre-scan has finished.
inline void memo_program_changed() {
  ++memo.epoch;
  memo.text_limit = 0;
  memo_changed();
}

// The pre-scan has finished over the first length bytes of the text; typed
// lines appended behind them are never remembered (a function body appended
// there is, under the body's own offsets).
inline void memo_program_scanned(std::uint32_t length) { memo.text_limit = memo.off ? 0 : length; }

// Offsets from here up stand for function bodies (no program text is as long).
constexpr std::uint32_t body_text_base = 0x80000000u;

// The line a GOSUB body was appended as behind the program while its call
// runs: the line's offset in the buffer and the origin of its text (1 + its
// offset among the function bodies; 0 when it may not be remembered).
struct appended_body {
  std::uint32_t offset = 0;
  std::uint32_t origin = 0;
};
extern appended_body appended_body_line;

// The origin of a line fetched at start behind the pre-scanned text: the
// appended body's when it is that line, else 0 (typed lines are not
// remembered).
inline std::uint32_t appended_line_origin(std::uint32_t start) {
  return start == appended_body_line.offset ? appended_body_line.origin : 0;
}

// Whether something watches statements as they run, so that every step must
// be taken (and shown) as the text says.
inline bool memo_watched() { return debug_mode || trace_mode || step_mode || prescan_mode; }

// A memo key: the text's epoch and 1 + the offset in the text. 0 is no key.
using memo_key = std::uint64_t;

inline memo_key make_memo_key(std::uint32_t epoch, std::uint32_t offset) {
  return (static_cast<memo_key>(epoch) << 32) | (static_cast<memo_key>(offset) + 1);
}

// The key of the text at p in the current line, or 0 when work there may not
// be remembered: the line is not a copy of the pre-scanned text of this
// epoch, or something watches.
inline memo_key memo_key_at(const char* p) {
  if (line_text_origin == 0 || line_text_epoch != memo.epoch || memo_watched()) return 0;
  return make_memo_key(line_text_epoch, line_text_origin - 1 + static_cast<std::uint32_t>(p - line_start));
}

// Whether work remembered under stamp may still be used: nothing changed
// since and nothing watches.
inline bool memo_holds(memo_stamp stamp) { return memo.stamp == stamp && !memo_watched(); }

// A table of N (a power of two) memo entries of type T. Entries of nearby
// text offsets sit in nearby slots; a slot answers only for the whole key it
// was stored under. Entries that depend on more than the text carry the stamp
// they were made under and are found only while it holds.
template <class T, std::size_t N>
class memo_table {
  static_assert((N & (N - 1)) == 0, "memo tables have a power-of-two size");

 public:
  // The entry stored under key (with any stamp), or null.
  T* find_text(memo_key key) {
    slot& s = slot_of(key);
    return s.key == key ? &s.value : nullptr;
  }
  // The entry stored under key while the stamp it was made under holds, or null.
  T* find(memo_key key) {
    slot& s = slot_of(key);
    return s.key == key && s.stamp == memo.stamp ? &s.value : nullptr;
  }
  // The entry for key, made under stamp (the stamp when the work it records
  // began), to be filled in.
  T& store(memo_key key, memo_stamp stamp) {
    slot& s = slot_of(key);
    s.key = key;
    s.stamp = stamp;
    return s.value;
  }

 private:
  struct slot {
    memo_key key = 0;
    memo_stamp stamp = 0;
    T value{};
  };
  slot& slot_of(memo_key key) { return slots_[static_cast<std::uint32_t>(key) & (N - 1)]; }
  slot slots_[N]{};
};
