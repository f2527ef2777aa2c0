// Row sorting: key order, direction, stability, case, NaN and unassigned
// long elements, and whole rows moving together.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "interpreter/run_state.h"
#include "interpreter/sort.h"
#include "interpreter/variables.h"
#include "rizozira/long_number.h"

namespace {

std::vector<value_slot> number_rows(const std::vector<double>& values) {
  std::vector<value_slot> slots(values.size());
  for (std::size_t i = 0; i < values.size(); ++i) slots[i].number = values[i];
  return slots;
}

void set_up_state(std::vector<value_slot>& slots, std::uint32_t type, std::uint32_t row_size,
                  std::int32_t key1 = 0, std::int32_t key2 = -1) {
  sort_state = sort_state_record{};
  sort_state.element_type = type;
  sort_state.rows = slots.data();
  sort_state.row_size = row_size;
  sort_state.key_offsets[0] = key1;
  sort_state.key_offsets[1] = key2;
}

// Texts of string slots, for comparing results.
std::vector<std::string> texts_of(const std::vector<value_slot>& slots) {
  std::vector<std::string> out;
  for (const value_slot& s : slots) out.emplace_back(string_space_text(s.string_offset));
  return out;
}

}  // namespace

TEST(MiscSort, DoublesAscendingDescendingAndNaNLast) {
  const double nan = std::nan("");
  struct Case {
    std::vector<double> values;
    int descending;
    int stable;
    std::vector<double> sorted;
  } cases[] = {
      {{3, 1.5, 1.2, 9, 0}, 0, 1, {0, 1.2, 1.5, 3, 9}},
      {{3, 1.5, 1.2, 9, 0}, 1, 1, {9, 3, 1.5, 1.2, 0}},
      {{3, 1.5, 1.2, 9, 0}, 0, 0, {0, 1.2, 1.5, 3, 9}},
      {{nan, 2, -1, nan, 1}, 0, 1, {-1, 1, 2, nan, nan}},
      {{nan, 2, -1, nan, 1}, 1, 1, {2, 1, -1, nan, nan}},
      {{-INFINITY, nan, INFINITY, 0}, 0, 0, {-INFINITY, 0, INFINITY, nan}},
  };
  for (const Case& c : cases) {
    std::vector<value_slot> rows = number_rows(c.values);
    set_up_state(rows, 2, 1);
    sort_state.descending = c.descending;
    sort_state.stable = c.stable;
    ASSERT_EQ(sort_rows(static_cast<std::uint32_t>(rows.size())), 0);
    for (std::size_t i = 0; i < rows.size(); ++i) {
      if (std::isnan(c.sorted[i])) {
        EXPECT_TRUE(std::isnan(rows[i].number)) << "case " << &c - cases << " row " << i;
      } else {
        EXPECT_EQ(rows[i].number, c.sorted[i]) << "case " << &c - cases << " row " << i;
      }
    }
  }
}

TEST(MiscSort, WholeRowsMoveAndEqualKeysKeepTheirOrder) {
  // Five rows of three columns, sorted by column 2; column 0 tags each row.
  std::vector<double> table = {1, 0, 7,  //
                               2, 0, 5,  //
                               3, 0, 7,  //
                               4, 0, 1,  //
                               5, 0, 5};
  struct Case {
    int descending;
    std::vector<double> tags;
  } cases[] = {
      {0, {4, 2, 5, 1, 3}},
      // Descending turns the row-number tie-break around too.
      {1, {3, 1, 5, 2, 4}},
  };
  for (const Case& c : cases) {
    std::vector<value_slot> rows = number_rows(table);
    set_up_state(rows, 2, 3, 2);
    sort_state.descending = c.descending;
    ASSERT_EQ(sort_rows(5), 0);
    for (int i = 0; i < 5; ++i) {
      EXPECT_EQ(rows[static_cast<std::size_t>(i) * 3].number, c.tags[static_cast<std::size_t>(i)]);
      // The key travelled with its row.
      double key = rows[static_cast<std::size_t>(i) * 3 + 2].number;
      double original_key = table[static_cast<std::size_t>(c.tags[static_cast<std::size_t>(i)] - 1) * 3 + 2];
      EXPECT_EQ(key, original_key);
    }
  }
}

TEST(MiscSort, SecondKeyBreaksTiesOfTheFirst) {
  std::vector<value_slot> rows = number_rows({2, 9,  //
                                              1, 5,  //
                                              2, 3,  //
                                              1, 8});
  set_up_state(rows, 2, 2, 0, 1);
  ASSERT_EQ(sort_rows(4), 0);
  std::vector<double> got;
  for (const value_slot& s : rows) got.push_back(s.number);
  EXPECT_EQ(got, (std::vector<double>{1, 5, 1, 8, 2, 3, 2, 9}));
}

TEST(MiscSort, OnlyTheCountedRowsAreSorted) {
  std::vector<value_slot> rows = number_rows({5, 4, 3, 2, 1});
  set_up_state(rows, 2, 1);
  ASSERT_EQ(sort_rows(3), 0);
  std::vector<double> got;
  for (const value_slot& s : rows) got.push_back(s.number);
  EXPECT_EQ(got, (std::vector<double>{3, 4, 5, 2, 1}));
}

TEST(MiscSort, StringsWithAndWithoutCase) {
  ASSERT_EQ(allocate_string_space(4096), 0);
  string_space_used = 1;
  auto make = [](const std::vector<std::string>& texts) {
    std::vector<value_slot> slots(texts.size());
    for (std::size_t i = 0; i < texts.size(); ++i) {
      std::snprintf(string_accumulator, string_accumulator_size, "%s", texts[i].c_str());
      string_accumulator_length = static_cast<std::int32_t>(texts[i].size());
      slots[i].string_offset = 0;
      EXPECT_EQ(assign_string_variable(&slots[i], 0), 3);
    }
    return slots;
  };
  struct Case {
    std::vector<std::string> texts;
    int case_sensitive;
    std::vector<std::string> sorted;
  } cases[] = {
      {{"b", "A", "a"}, 0, {"A", "a", "b"}},
      {{"b", "A", "a"}, 1, {"A", "a", "b"}},
      {{"b", "a", "A"}, 0, {"a", "A", "b"}},
      {{"b", "a", "A"}, 1, {"A", "a", "b"}},
      {{"", "zeta", "Alpha", ""}, 0, {"", "", "Alpha", "zeta"}},
  };
  for (const Case& c : cases) {
    std::vector<value_slot> rows = make(c.texts);
    set_up_state(rows, 3, 1);
    sort_state.case_sensitive = c.case_sensitive;
    ASSERT_EQ(sort_rows(static_cast<std::uint32_t>(rows.size())), 0);
    EXPECT_EQ(texts_of(rows), c.sorted);
  }
}

TEST(MiscSort, UnassignedLongElementsCountAsZero) {
  long_statics_init();
  long_slot five, minus_three;
  long_init(&five.number, five.buffer, long_slot_inline_bytes);
  long_init(&minus_three.number, minus_three.buffer, long_slot_inline_bytes);
  ASSERT_GE(long_from_int(&five.number, 5), 0);
  ASSERT_GE(long_from_int(&minus_three.number, -3), 0);
  std::vector<value_slot> rows(3);
  rows[0].long_value = &five.number;
  rows[1].long_value = nullptr;
  rows[2].long_value = &minus_three.number;
  set_up_state(rows, 14, 1);
  long_set_zero(long_accumulator);
  ASSERT_EQ(sort_rows(3), 0);
  EXPECT_EQ(rows[0].long_value, &minus_three.number);
  EXPECT_EQ(rows[1].long_value, nullptr);
  EXPECT_EQ(rows[2].long_value, &five.number);
}

TEST(MiscSort, ManyRowsLandWhereAStableSortPutsThem) {
  // Many rows and few key values: long permutation cycles and many ties.
  // Each row is (key, tag, tag * 10); the tags must arrive in stable order.
  constexpr std::uint32_t count = 500;
  std::vector<double> table;
  std::uint32_t seed = 12345;
  for (std::uint32_t i = 0; i < count; ++i) {
    seed = seed * 214013u + 2531011u;
    table.push_back(static_cast<double>((seed >> 16) % 17));
    table.push_back(i);
    table.push_back(i * 10.0);
  }
  std::vector<std::uint32_t> expected(count);
  for (std::uint32_t i = 0; i < count; ++i) expected[i] = i;
  std::stable_sort(expected.begin(), expected.end(),
                   [&](std::uint32_t a, std::uint32_t b) { return table[a * 3] < table[b * 3]; });
  std::vector<value_slot> rows = number_rows(table);
  set_up_state(rows, 2, 3);
  ASSERT_EQ(sort_rows(count), 0);
  for (std::uint32_t i = 0; i < count; ++i) {
    ASSERT_EQ(rows[i * 3 + 1].number, expected[i]) << "row " << i;
    ASSERT_EQ(rows[i * 3].number, table[expected[i] * 3]) << "row " << i;
    ASSERT_EQ(rows[i * 3 + 2].number, expected[i] * 10.0) << "row " << i;
  }
}
