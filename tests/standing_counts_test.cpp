#include "core/StandingCounts.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>

#include "core/NumberText.h"

namespace {

// Counts in the window's order from the top: aggressions, aggression and
// shipkills, all three, until the outlaw threshold and then until -10.
struct Standing {
  const char* typed;
  std::int32_t counts[6];
  int fragmentRow;
};

const char* const kFragments[] = {
    nullptr,
    " cannot enter 0.5 systems or above without being attacked by faction navies - they can legally be attacked by "
    "other players anywhere",
    " cannot enter 0.5 systems or above without being attacked by faction navies",
    " cannot enter 0.6 systems or above without being attacked by faction navies",
    " cannot enter 0.7 systems or above without being attacked by faction navies",
    " cannot enter 0.8 systems or above without being attacked by faction navies",
    " cannot enter 0.9 systems or above without being attacked by faction navies",
    " cannot enter 1.0 systems without being attacked by faction navies",
    " can enter all systems",
};

const Standing kStandings[] = {
    {"10", {277, 55, 9, 1058, 211, 34}, 8},
    {"5", {220, 44, 7, 1000, 199, 32}, 8},
    {"0", {139, 28, 5, 919, 183, 30}, 8},
    {"-1", {118, 24, 4, 898, 179, 29}, 8},
    {"-2", {94, 19, 3, 875, 174, 28}, 7},
    {"-2.5", {81, 17, 3, 862, 172, 28}, 6},
    {"-3", {68, 14, 3, 848, 169, 27}, 5},
    {"-3.5", {53, 11, 2, 833, 166, 27}, 4},
    {"-4", {37, 8, 2, 817, 163, 26}, 3},
    {"-4.5", {20, 4, 1, 800, 159, 26}, 2},
    {"-4.99", {1, 1, 1, 781, 156, 25}, 2},
    {"-5", {0, 0, 0, 781, 156, 25}, 1},
    {"-9", {0, 0, 0, 460, 92, 15}, 1},
    // Its single-precision rounding lies just above the double -9.9.
    {"-9.9", {0, 0, 0, 1, 1, 1}, 1},
    {"-9.91", {0, 0, 0, 0, 0, 0}, 1},
    {"-10", {0, 0, 0, 0, 0, 0}, 1},
    {"-1e300", {0, 0, 0, 0, 0, 0}, 1},
    {"-inf", {0, 0, 0, 0, 0, 0}, 1},
    {"3.4028235e38", {17380, 3455, 549, 18160, 3610, 574}, 8},
    {"abc", {139, 28, 5, 919, 183, 30}, 8},
};

std::int32_t countInOrder(double v, int box) {
  const SecurityCycle* const cycles[] = {&kAggressionCycle, &kAggressionShipkillCycle,
                                         &kAggressionShipkillPodkillCycle};
  return countCycles(v, *cycles[box % 3], box < 3 ? kOutlawStatus : kBottomStatus);
}

TEST(CountCycles, CountsUntilEachThreshold) {
  for (const Standing& c : kStandings) {
    const double v = parseDecimalText(c.typed);
    for (int box = 0; box < 6; ++box) EXPECT_EQ(countInOrder(v, box), c.counts[box]) << c.typed << " box " << box;
    EXPECT_STREQ(travelRestrictionFragment(v), kFragments[c.fragmentRow]) << c.typed;
  }
}

TEST(CountStanding, GivesTheSixCountsOfCountCycles) {
  std::mt19937 random(5);
  std::uniform_real_distribution<double> near(-12.0, 12.0);
  std::uniform_int_distribution<std::uint32_t> anyBits;
  for (int i = 0; i < 3000; ++i) {
    double v = near(random);
    if (i % 3 == 0) {
      std::uint32_t bits = anyBits(random);
      float f;
      std::memcpy(&f, &bits, sizeof f);
      v = f;
    }
    const StandingCounts s = countStanding(v);
    const std::int32_t together[6] = {s.aggressionsUntilOutlaw,  s.aggressionShipkillsUntilOutlaw,
                                      s.aggressionShipkillPodkillsUntilOutlaw, s.aggressionsUntilBottom,
                                      s.aggressionShipkillsUntilBottom, s.aggressionShipkillPodkillsUntilBottom};
    for (int box = 0; box < 6; ++box) {
      ASSERT_EQ(together[box], countInOrder(v, box)) << v << " box " << box;
      ASSERT_LE(together[box], 18160) << v;
    }
  }
}

// Each threshold, a status between each two of them, and beyond the outermost.
TEST(TravelRestriction, BoundariesBelongToTheStricterRow) {
  const struct {
    double status;
    int row;
  } cases[] = {{-5.0, 1},  {-4.9999, 2}, {-4.5, 2},    {-4.0, 3},  {-3.5, 4},  {-3.0, 5},
               {-2.5, 6},  {-2.0, 7},    {-1.9999, 8}, {-7.0, 1},  {-4.75, 2}, {-4.25, 3},
               {-3.75, 4}, {-3.25, 5},   {-2.75, 6},   {-2.25, 7}, {3.0, 8}};
  for (const auto& c : cases) EXPECT_STREQ(travelRestrictionFragment(c.status), kFragments[c.row]) << c.status;
}

ScenarioState subject(std::int32_t who, const char* name, const char* status) {
  ScenarioState s;
  s.player1Name.assign("Ann");
  s.player1SecurityText.assign("10");
  s.player2Name.assign("Bob");
  s.player2SecurityText.assign("-9");
  (who == 0 ? s.player1Name : s.player2Name).assign(name);
  (who == 0 ? s.player1SecurityText : s.player2SecurityText).assign(status);
  s.statsSubject = who;
  return s;
}

std::string boxes(const StatisticsTexts& t) {
  return std::string(t.aggressionsUntilOutlaw.c_str()) + "," + t.aggressionShipkillsUntilOutlaw.c_str() + "," +
         t.aggressionShipkillPodkillsUntilOutlaw.c_str() + "," + t.aggressionsUntilBottom.c_str() + "," +
         t.aggressionShipkillsUntilBottom.c_str() + "," + t.aggressionShipkillPodkillsUntilBottom.c_str() + "|" +
         t.travelSentence.c_str();
}

TEST(ComposeStatistics, DescribesTheChosenSubject) {
  StatisticsTexts t;
  composeStatistics(subject(1, "Player 2", "-4.5"), t);
  EXPECT_STREQ(t.title.c_str(), "Security Status Statistics for Player 2");
  EXPECT_EQ(t.filled, 1);
  EXPECT_EQ(boxes(t), std::string("20,4,1,800,159,26|Player 2") + kFragments[2]);

  composeStatistics(subject(0, "Ann", "0"), t);
  EXPECT_STREQ(t.title.c_str(), "Security Status Statistics for Ann");
  EXPECT_EQ(boxes(t), std::string("139,28,5,919,183,30|Ann") + kFragments[8]);
}

TEST(ComposeStatistics, LeavesTheBoxesEmptyWithoutACountableStatus) {
  // Not given, or never reaching a threshold: NaN or plus infinity once
  // rounded to single precision.
  for (const char* status : {"Empty", "5Empty", "nan", "-nan", "inf", "infinity", "3.4028235677973366e38", "1e39"}) {
    StatisticsTexts t;
    composeStatistics(subject(0, "Ann", "5"), t);
    composeStatistics(subject(1, "Bob", status), t);
    EXPECT_STREQ(t.title.c_str(), "Security Status Statistics for Bob") << status;
    EXPECT_EQ(t.filled, 0) << status;
    EXPECT_EQ(boxes(t), ",,,,,|") << status;
  }
}

TEST(ComposeStatistics, LargestFiniteStatusAndMinusInfinityAreCounted) {
  StatisticsTexts t;
  composeStatistics(subject(0, "Ann", "3.4028235e38"), t);
  EXPECT_EQ(boxes(t), std::string("17380,3455,549,18160,3610,574|Ann") + kFragments[8]);
  composeStatistics(subject(0, "Ann", "-inf"), t);
  EXPECT_EQ(boxes(t), std::string("0,0,0,0,0,0|Ann") + kFragments[1]);
}

TEST(ComposeStatistics, LongestNameIsNeverCut) {
  const std::string name(29, 'z');
  StatisticsTexts t;
  composeStatistics(subject(1, name.c_str(), "-5"), t);
  EXPECT_EQ(t.title.view(), "Security Status Statistics for " + name);
  EXPECT_EQ(t.travelSentence.view(), name + kFragments[1]);
}

}  // namespace
