// Memory of work the scanner has done on the loaded program text: what a name
// at a given offset of the text turned out to be. The text stays the source of
// truth; this only says which texts may be remembered and when to forget.
#pragma once
#include <cstdint>

struct scan_memo_state {
  std::uint32_t epoch = 1;       // changes whenever the program text may have changed
  std::uint32_t text_limit = 0;  // offsets below this are the pre-scanned program
};
extern scan_memo_state scan_memo;

// The program text was loaded, replaced or emptied: nothing remembered holds,
// and nothing is remembered again until the next pre-scan has finished.
inline void scan_memo_program_changed() {
  ++scan_memo.epoch;
  scan_memo.text_limit = 0;
}

// The pre-scan has finished over the first length bytes of the text; typed
// lines and function bodies appended behind them are never remembered.
inline void scan_memo_program_scanned(std::uint32_t length) { scan_memo.text_limit = length; }
