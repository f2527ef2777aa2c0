// The rules every memo shares: a slot answers only for the whole key and the
// stamp it was stored under, and no key is given while something watches
// statements or the memos are off.
#include <gtest/gtest.h>

#include "interpreter/memo.h"
#include "interpreter/run_state.h"

namespace {

TEST(CoreMemoTest, SlotsAnswerOnlyForTheirWholeKeyAndStamp) {
  static memo_table<int, 16> table;
  const memo_key stored = make_memo_key(memo.epoch, 40);
  table.store(stored, memo.stamp) = 7;
  struct Case {
    const char* what;
    memo_key key;
    bool found;
  };
  const Case cases[] = {
      {"the same key", stored, true},
      {"an offset one table further on (same slot)", make_memo_key(memo.epoch, 40 + 16), false},
      {"the same offset in another text", make_memo_key(memo.epoch + 1, 40), false},
      {"a neighbour", make_memo_key(memo.epoch, 41), false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(table.find(c.key) != nullptr, c.found);
    EXPECT_EQ(table.find_text(c.key) != nullptr, c.found);
  }
  ASSERT_NE(table.find(stored), nullptr);
  EXPECT_EQ(*table.find(stored), 7);

  // A change a memo may depend on: the entry is stale, though the text is not.
  memo_changed();
  EXPECT_EQ(table.find(stored), nullptr);
  EXPECT_NE(table.find_text(stored), nullptr);

  // Work that began before the change is stored as stale.
  const memo_stamp before = memo.stamp;
  memo_changed();
  table.store(stored, before) = 8;
  EXPECT_EQ(table.find(stored), nullptr);
}

TEST(CoreMemoTest, NoKeyWhileWatchedOrSwitchedOff) {
  const bool saved_off = memo.off;
  memo_switch_off(false);
  memo_program_scanned(100);
  char line[] = "x = y + 1";
  point_scan_at(line, line + sizeof line - 1);
  line_text_origin = 1 + 20;  // a copy of the text at offset 20
  line_text_epoch = memo.epoch;
  EXPECT_EQ(memo_key_at(line + 4), make_memo_key(memo.epoch, 24));

  int* const watchers[] = {&debug_mode, &trace_mode, &step_mode, &prescan_mode};
  for (int* watcher : watchers) {
    *watcher = 1;
    EXPECT_EQ(memo_key_at(line + 4), 0u);
    *watcher = 0;
  }

  // Switched off: the text is forgotten (the line's copy is of an older
  // epoch) and no pre-scan makes any of it remembered again.
  memo_switch_off(true);
  EXPECT_EQ(memo_key_at(line + 4), 0u);
  memo_program_scanned(100);
  EXPECT_EQ(memo.text_limit, 0u);

  memo_switch_off(saved_off);
  line_text_origin = 0;
  line_start = line_end = scan_pointer = statement_start = nullptr;
}

}  // namespace
