// The page's interface: the character rule, what any argument may do, and the
// main window's decisions as the page meets them.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

#include "core/ConsequenceRules.h"
#include "core/ControlNumbers.h"
#include "core/Encounter.h"
#include "core/MainWindowRules.h"
#include "core/SecuritySentences.h"
#include "core/StandingCounts.h"
#include "core/WindowTexts.h"
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
    EXPECT_EQ(bw_box_changed(control), 0) << control;
    EXPECT_STREQ(bw_list_item(control, 0), "") << control;
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
  // The counts that the encounter-texts program draws its choices from.
  EXPECT_EQ(kLocationItemCount, 3u);
  EXPECT_EQ(kSystemSecurityItemCount, 11u);
}

TEST(PageInterface, CalculateCapturesEachTickAsOneIntoItsOwnFlag) {
  // The rules ask for a flag of exactly 1; at a gate in 1.0 without a tick
  // the attack has consequences.
  const struct {
    int control;
    std::int32_t ScenarioState::*flag;
    int verdict;
  } rows[] = {
      {IDC_MAIN_SAME_CORPORATION, &ScenarioState::sameCorporation, 0},
      {IDC_MAIN_SAME_ALLIANCE, &ScenarioState::sameAlliance, 1},
      {IDC_MAIN_SAME_GANG, &ScenarioState::sameGang, 1},
      {IDC_MAIN_WARRING_CORPS, &ScenarioState::warringCorps, 0},
      {IDC_MAIN_CONCORD, &ScenarioState::concordFlag, 0},
      {IDC_MAIN_FLAGGED_TO_PLAYER1, &ScenarioState::flaggedToPlayer1, 0},
      {IDC_MAIN_FLAGGED_TO_CORPMATE, &ScenarioState::flaggedToCorpmate, 0},
      {IDC_MAIN_FLAGGED_TO_GANGMATE, &ScenarioState::flaggedToGangmate, 1},
      {IDC_MAIN_KILLRIGHTS, &ScenarioState::hasKillrights, 0},
  };
  for (const auto& ticked : rows) {
    describe("Ann", "5", 0, 0);
    bw_set_tick(ticked.control, 1);
    ASSERT_EQ(bw_calculate(), 0);
    EXPECT_EQ(bw_verdict(), ticked.verdict) << ticked.control;
    for (const auto& row : rows) {
      EXPECT_EQ(theEncounter.scenario.*row.flag, row.control == ticked.control ? 1 : 0) << ticked.control;
    }
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
  // Each box shows its own text of the core's.
  const ScenarioState& s = theEncounter.scenario;
  ResultSet results;
  evaluateConsequences(s, results);
  SecurityProjection projection;
  projectSecurity(s, projection);
  SecuritySentences sentences;
  composeSecuritySentences(s, projection, sentences);
  EXPECT_EQ(bw_verdict(), results.verdict);
  struct Row {
    int box;
    const char* text;
  };
  for (const Row& row :
       {Row{IDC_RESULTS_LINE1, results.resultLine1.c_str()}, Row{IDC_RESULTS_LINE2, results.resultLine2.c_str()},
        Row{IDC_RESULTS_LINE3, results.resultLine3.c_str()}, Row{IDC_RESULTS_LINE4, results.resultLine4.c_str()},
        Row{IDC_RESULTS_AGGRESSION, sentences.aggression.c_str()},
        Row{IDC_RESULTS_AGGRESSION_SHIPKILL, sentences.aggressionShipkill.c_str()},
        Row{IDC_RESULTS_AGGRESSION_SHIPKILL_PODKILL, sentences.aggressionShipkillPodkill.c_str()}}) {
    EXPECT_STREQ(bw_results_text(row.box), row.text) << row.box;
  }
  EXPECT_STREQ(bw_results_text(IDC_RESULTS_AGGRESSION),
               "Aggression: Anns security would change to 2.437500 - a change of 0.062500");
  const ResultsWindowTexts unopened;
  EXPECT_EQ(resultsWindowVerdict(unopened), 0) << "a window not opened yet has the tick";
  bw_statistics(0);
  StatisticsTexts t;
  composeStatistics(s, t);
  for (const Row& row : {Row{IDC_STATISTICS_A_OUTLAW, t.aggressionsUntilOutlaw.c_str()},
                         Row{IDC_STATISTICS_AS_OUTLAW, t.aggressionShipkillsUntilOutlaw.c_str()},
                         Row{IDC_STATISTICS_ASP_OUTLAW, t.aggressionShipkillPodkillsUntilOutlaw.c_str()},
                         Row{IDC_STATISTICS_A_BOTTOM, t.aggressionsUntilBottom.c_str()},
                         Row{IDC_STATISTICS_AS_BOTTOM, t.aggressionShipkillsUntilBottom.c_str()},
                         Row{IDC_STATISTICS_ASP_BOTTOM, t.aggressionShipkillPodkillsUntilBottom.c_str()},
                         Row{IDC_STATISTICS_TRAVEL, t.travelSentence.c_str()}}) {
    EXPECT_STREQ(bw_statistics_text(row.box), row.text) << row.box;
  }
}

TEST(PageInterface, EachPlayersBoxesGoToThatPlayer) {
  describe("", "-4.9", 0, 0);
  setText(IDC_MAIN_PLAYER2_NAME, "Bob");
  setText(IDC_MAIN_PLAYER2_STATUS, "-5");
  ASSERT_EQ(bw_calculate(), 0);
  EXPECT_STREQ(bw_results_text(IDC_RESULTS_LINE1), "Bob can be shipkilled and podkilled");
  EXPECT_STREQ(bw_results_text(IDC_RESULTS_AGGRESSION),
               "Aggression: Player 1s security would change to -4.925500 - a change of 0.025500");
  struct Row {
    int player;
    const char* title;
    const char* aggressionsUntilOutlaw;
  };
  for (const Row& row :
       {Row{1, "Security Status Statistics for Bob", "0"}, Row{0, "Security Status Statistics for Player 1", "4"}}) {
    bw_statistics(row.player);
    EXPECT_EQ(theEncounter.scenario.statsSubject, row.player);
    EXPECT_STREQ(bw_statistics_text(IDD_STATISTICS), row.title);
    EXPECT_STREQ(bw_statistics_text(IDC_STATISTICS_A_OUTLAW), row.aggressionsUntilOutlaw) << row.player;
  }
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
