// Cached name lookups and the fast literal road give the answers of the full
// searches and conversions they stand in for.
#include <cmath>
#include <string>

#include "core_test_support.h"
#include "interpreter/keywords.h"

namespace {

class PerfLookupTest : public CoreTest {};

struct tokens_case {
  const char* name;
  int logical, command, statement, predefined, function, special_name;
};

TEST_F(PerfLookupTest, PerfNameTokensMatchEveryTable) {
  ASSERT_EQ(start(), 0) << port.output;
  const tokens_case cases[] = {
      {"Long", -1, -1, STMT_LONG, -1, FUNC_LONG, -1},
      {"INPUT", -1, -1, STMT_INPUT, -1, FUNC_INPUT, -1},
      {"not", LOGICAL_NOT, -1, -1, -1, -1, -1},
      {"Run", -1, CMD_RUN, -1, -1, -1, -1},
      {"date$", -1, -1, -1, PREDEF_DATE, -1, -1},
      {"PI", -1, -1, -1, PREDEF_PI, -1, -1},
      {"longpi", -1, -1, -1, -1, -1, SPECIAL_LONGPI},
      {"Browseoutputfile$", -1, -1, -1, -1, FUNC_BROWSEOUTPUTFILE_STR, -1},
      {"x", -1, -1, -1, -1, -1, -1},
      {"long1", -1, -1, -1, -1, -1, -1},
      {"abcdefghijklmnopqrstuvwxyz", -1, -1, -1, -1, -1, -1},  // longer than the cache keeps
      {"defaultprintformat$$", -1, -1, -1, PREDEF_DEFAULTPRINTFORMAT, -1, -1},
  };
  for (int round = 0; round < 2; ++round) {  // the second round is answered from the cache
    for (const tokens_case& c : cases) {
      name_tokens t = lookup_name_tokens(c.name);
      EXPECT_EQ(t.logical, c.logical) << c.name;
      EXPECT_EQ(t.command, c.command) << c.name;
      EXPECT_EQ(t.statement, c.statement) << c.name;
      EXPECT_EQ(t.predefined, c.predefined) << c.name;
      EXPECT_EQ(t.function, c.function) << c.name;
      EXPECT_EQ(t.special_name, c.special_name) << c.name;
    }
  }
  // A NUL inside a name never matches the name it ends early.
  EXPECT_EQ(lookup_name_tokens(std::string_view("pi\0", 3)).predefined, -1);
}

struct literal_case {
  const char* text;
  double value;
};

TEST_F(PerfLookupTest, PerfIntegerLiteralsConvertExactly) {
  ASSERT_EQ(start(), 0) << port.output;
  const literal_case cases[] = {
      {"007 * 1", 7.0},
      {"123456789012345 + 0", 123456789012345.0},
      {"1234567890123456 + 0", 1234567890123456.0},  // past the short road
      {"7 / 2", 3.5},
      {"0 - 5", -5.0},
      {"1e3 + 0", 1000.0},
  };
  for (const literal_case& c : cases) {
    ASSERT_EQ(eval(c.text), ITEM_DOUBLE) << c.text;
    EXPECT_EQ(double_accumulator, c.value) << c.text;
  }
  // "-0" reads as plus zero, as the decimal parser gives it.
  ASSERT_EQ(eval("-0 * 1"), ITEM_DOUBLE);
  EXPECT_EQ(double_accumulator, 0.0);
  EXPECT_FALSE(std::signbit(double_accumulator));
}

}  // namespace
