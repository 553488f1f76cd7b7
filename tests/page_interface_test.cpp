// The page's interface: the character rule, what any argument may do, and the
// main window's decisions as the page meets them.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

#include "core/ConsequenceRules.h"
#include "core/ControlNumbers.h"
#include "core/Encounter.h"
#include "core/SecuritySentences.h"
#include "web/PageInterface.h"

namespace {

void setText(int control, const std::string& utf8) {
  const std::size_t size = static_cast<std::size_t>(bw_text_buffer_size());
  const std::size_t length = utf8.size() < size ? utf8.size() : size;
  std::memcpy(bw_text_buffer(), utf8.data(), length);
  bw_set_text(control, static_cast<int>(length));
}

void describe(const char* name1, const char* status1, int location, int security) {
  bw_clear();
  setText(IDC_MAIN_PLAYER1_NAME, name1);
  setText(IDC_MAIN_PLAYER2_NAME, "");
  setText(IDC_MAIN_PLAYER1_STATUS, status1);
  setText(IDC_MAIN_PLAYER2_STATUS, "");
  bw_set_choice(IDC_MAIN_LOCATION, location);
  bw_set_choice(IDC_MAIN_SYSTEM_SECURITY, security);
}

TEST(PageInterface, BoxesHoldCodePage1252AndGiveUtf8) {
  struct Row {
    std::string typed;
    const char* held;   // in code page 1252, as the Windows program holds it
    const char* shown;  // back in UTF-8
  };
  const std::string twentyEight(28, 'a');
  const Row rows[] = {
      {"\xC3\x86r\xC3\xB8", "\xC6r\xF8", "\xC3\x86r\xC3\xB8"},          // Ærø
      {"\xC5\x81\xC3\xB3\x64\xC5\xBA", "?\xF3\x64?", "?\xC3\xB3\x64?"},  // Łódź
  };
  for (const Row& row : rows) {
    setText(IDC_MAIN_PLAYER1_NAME, row.typed);
    EXPECT_STREQ(bw_box_text(IDC_MAIN_PLAYER1_NAME), row.shown) << row.typed;
    bw_statistics(0);
    EXPECT_EQ(theEncounter.scenario.player1Name.view(), row.held) << row.typed;
  }
  // 29 characters are kept, never part of one.
  setText(IDC_MAIN_PLAYER2_NAME, twentyEight + "\xF0\x9F\x98\x80" + "\xC3\x86" + "z");
  EXPECT_EQ(std::string(bw_box_text(IDC_MAIN_PLAYER2_NAME)), twentyEight + "?");
  setText(IDC_MAIN_PLAYER2_NAME, std::string(29, '\xC3') + "z");
  EXPECT_EQ(std::string(bw_box_text(IDC_MAIN_PLAYER2_NAME)), std::string(29, '?'));
}

TEST(PageInterface, AnyArgumentIsSafe) {
  for (int length : {INT_MIN, -1, 0, bw_text_buffer_size(), bw_text_buffer_size() + 1, INT_MAX}) {
    std::memset(bw_text_buffer(), 'x', static_cast<std::size_t>(bw_text_buffer_size()));
    bw_set_text(IDC_MAIN_PLAYER1_STATUS, length);
    EXPECT_EQ(std::strlen(bw_box_text(IDC_MAIN_PLAYER1_STATUS)), length > 0 ? 29u : 0u) << length;
  }
  for (int control : {INT_MIN, -1, 0, 1, 1001, 1023, 4003, 65535, INT_MAX}) {
    bw_set_text(control, 5);
    bw_set_choice(control, 0);
    bw_set_tick(control, 1);
    EXPECT_STREQ(bw_box_text(control), "") << control;
    EXPECT_EQ(bw_list_count(control), 0) << control;
    EXPECT_EQ(bw_choice(control), -1) << control;
    EXPECT_EQ(bw_ticked(control), 0) << control;
    EXPECT_STREQ(bw_results_text(control), "") << control;
    EXPECT_STREQ(bw_statistics_text(control), "") << control;
  }
  for (int index : {INT_MIN, -2, 3, 11, INT_MAX}) EXPECT_STREQ(bw_list_item(IDC_MAIN_LOCATION, index), "") << index;
}

TEST(PageInterface, ListsChoicesAndTicks) {
  ASSERT_EQ(bw_list_count(IDC_MAIN_LOCATION), 3);
  ASSERT_EQ(bw_list_count(IDC_MAIN_SYSTEM_SECURITY), 11);
  EXPECT_STREQ(bw_list_item(IDC_MAIN_LOCATION, 1), "Station");
  EXPECT_STREQ(bw_list_item(IDC_MAIN_SYSTEM_SECURITY, 10), "0.0");
  struct Row {
    int index;
    int chosen;
  };
  for (const Row& row : {Row{0, 0}, Row{2, 2}, Row{-1, -1}, Row{3, -1}, Row{INT_MIN, -1}}) {
    bw_set_choice(IDC_MAIN_LOCATION, row.index);
    EXPECT_EQ(bw_choice(IDC_MAIN_LOCATION), row.chosen) << row.index;
  }
  for (int value : {1, 0, 2, -1, 257}) {
    bw_set_tick(IDC_MAIN_KILLRIGHTS, value);
    EXPECT_EQ(bw_ticked(IDC_MAIN_KILLRIGHTS), value == 1 ? 1 : 0) << value;
  }
}

TEST(PageInterface, CalculateRefusesInOrderAndWritesDefaultNamesBack) {
  struct Row {
    int location;
    int security;
    const char* refusal;
  };
  const Row rows[] = {
      {-1, -1, "You need to specify a location"},
      {-1, 5, "You need to specify a location"},
      {0, 11, "You need to specify a system security"},
      {1, 0, ""},
  };
  for (const Row& row : rows) {
    describe("", "", row.location, row.security);
    EXPECT_EQ(bw_calculate(), row.refusal[0] != '\0' ? 1 : 0);
    EXPECT_STREQ(bw_refusal(), row.refusal);
    EXPECT_STREQ(bw_refusal_caption(), "Error");
    EXPECT_STREQ(bw_box_text(IDC_MAIN_PLAYER1_NAME), "Player 1");
    EXPECT_STREQ(bw_box_text(IDC_MAIN_PLAYER2_NAME), "Player 2");
    EXPECT_EQ(bw_box_changed(IDC_MAIN_PLAYER1_NAME), 1);
    EXPECT_EQ(bw_box_changed(IDC_MAIN_PLAYER1_STATUS), 0) << "a status box stays empty";
    EXPECT_STREQ(bw_box_text(IDC_MAIN_PLAYER1_STATUS), "");
  }
  // A refused Calculate has already emptied the result lines.
  EXPECT_STRNE(bw_results_text(IDC_RESULTS_LINE1), "");
  describe("Ann", "", -1, -1);
  bw_calculate();
  EXPECT_STREQ(bw_results_text(IDC_RESULTS_LINE1), "");
  EXPECT_EQ(bw_box_changed(IDC_MAIN_PLAYER1_NAME), 0) << "a typed name stays";
}

TEST(PageInterface, ResultsAreTheCoresForTheCapturedEncounter) {
  describe("Ann", "2.5", 0, 5);
  bw_set_tick(IDC_MAIN_FLAGGED_TO_CORPMATE, 1);
  ASSERT_EQ(bw_calculate(), 0);
  ResultSet results;
  evaluateConsequences(theEncounter.scenario, results);
  EXPECT_EQ(bw_verdict(), results.verdict);
  EXPECT_EQ(bw_results_text(IDC_RESULTS_LINE1), results.resultLine1.view());
  EXPECT_EQ(bw_results_text(IDC_RESULTS_LINE4), results.resultLine4.view());
  EXPECT_STREQ(bw_results_text(IDC_RESULTS_AGGRESSION),
               "Aggression: Anns security would change to 2.437500 - a change of 0.062500");
}

TEST(PageInterface, StatisticsCaptureOnePlayerAndWriteNothingBack) {
  describe("", "-4.9", 0, 0);
  setText(IDC_MAIN_PLAYER2_STATUS, "abc");
  bw_statistics(0);
  EXPECT_STREQ(bw_statistics_text(IDD_STATISTICS), "Security Status Statistics for Player 1");
  EXPECT_STREQ(bw_box_text(IDC_MAIN_PLAYER1_NAME), "");
  EXPECT_EQ(bw_box_changed(IDC_MAIN_PLAYER1_NAME), 0);
  EXPECT_STRNE(bw_statistics_text(IDC_STATISTICS_TRAVEL), "");
  setText(IDC_MAIN_PLAYER2_STATUS, "");
  bw_statistics(1);
  EXPECT_EQ(theEncounter.scenario.statsSubject, 1);
  EXPECT_STREQ(bw_statistics_text(IDC_STATISTICS_A_OUTLAW), "") << "no status, no counts";
}

TEST(PageInterface, ClearEmptiesEveryControl) {
  describe("Ann", "5", 1, 3);
  bw_set_tick(IDC_MAIN_SAME_GANG, 1);
  bw_set_tick(IDC_MAIN_KILLRIGHTS, 1);
  bw_clear();
  for (int box : {IDC_MAIN_PLAYER1_NAME, IDC_MAIN_PLAYER2_NAME, IDC_MAIN_PLAYER1_STATUS, IDC_MAIN_PLAYER2_STATUS}) {
    EXPECT_STREQ(bw_box_text(box), "") << box;
    EXPECT_EQ(bw_box_changed(box), 1) << box;
  }
  EXPECT_EQ(bw_choice(IDC_MAIN_LOCATION), -1);
  EXPECT_EQ(bw_choice(IDC_MAIN_SYSTEM_SECURITY), -1);
  EXPECT_EQ(bw_list_count(IDC_MAIN_SYSTEM_SECURITY), 11);
  EXPECT_EQ(bw_ticked(IDC_MAIN_SAME_GANG) + bw_ticked(IDC_MAIN_KILLRIGHTS), 0);
}

}  // namespace
