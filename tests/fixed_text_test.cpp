#include "core/FixedText.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(FixedText, StartsEmptyAndTerminated) {
  FixedText<5> text;
  EXPECT_TRUE(text.empty());
  EXPECT_STREQ(text.c_str(), "");
  EXPECT_FALSE(text.wasCut());
}

TEST(FixedText, CopyAndAppendStopAtCapacityAndReportTheCut) {
  struct Case {
    const char* first;
    const char* second;
    const char* expected;
    bool whole;
  };
  const Case cases[] = {
      {"", "", "", true},         {"ab", "cd", "abcd", true},   {"abcd", "", "abcd", true},
      {"abc", "de", "abcd", false}, {"abcdef", "x", "abcd", false}, {"", "abcdefgh", "abcd", false},
  };
  for (const Case& c : cases) {
    FixedText<5> text;
    const bool firstWhole = text.assign(c.first);
    const bool secondWhole = text.append(c.second);
    EXPECT_STREQ(text.c_str(), c.expected) << c.first << " + " << c.second;
    EXPECT_EQ(firstWhole && secondWhole, c.whole) << c.first << " + " << c.second;
    EXPECT_EQ(text.wasCut(), !c.whole) << c.first << " + " << c.second;
    EXPECT_EQ(text.length(), std::strlen(c.expected));
  }
}

TEST(FixedText, NeverWritesPastItsBuffer) {
  struct Guarded {
    FixedText<4> text;
    char guard[8];
  } g;
  std::memset(g.guard, 'G', sizeof g.guard);
  g.text.assign("0123456789");
  g.text.append("more");
  EXPECT_EQ(std::memcmp(g.guard, "GGGGGGGG", 8), 0);
  EXPECT_STREQ(g.text.c_str(), "012");
}

TEST(FixedText, TerminateSealsARawFill) {
  FixedText<4> text;
  std::memset(text.data(), 'x', 4);
  text.terminate();
  EXPECT_STREQ(text.c_str(), "xxx");
}

TEST(FixedText, ContainsIsACaseSensitiveSubstringTest) {
  FixedText<30> text;
  text.assign("5Empty");
  EXPECT_TRUE(text.contains("Empty"));
  EXPECT_TRUE(text.contains(""));
  EXPECT_FALSE(text.contains("empty"));
  EXPECT_FALSE(text.contains("Emptyy"));
}

TEST(FixedText, ComposeJoinsPiecesWithNothingBetween) {
  FixedText<20> text;
  text.assign("old");
  EXPECT_TRUE(compose(text, {"Player 1", "s ship", ""}));
  EXPECT_STREQ(text.c_str(), "Player 1s ship");
  EXPECT_FALSE(compose(text, {"0123456789", "0123456789", ""}));
  EXPECT_STREQ(text.c_str(), "0123456789012345678");
  EXPECT_TRUE(text.wasCut());
  EXPECT_TRUE(compose(text, {"short"}));
  EXPECT_FALSE(text.wasCut());
}

}  // namespace
