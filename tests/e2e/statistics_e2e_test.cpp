#include <gtest/gtest.h>

#include "Encounter.h"

namespace e2e {
namespace {

// The boxes from the top: aggressions, aggression and shipkills, all three,
// until the outlaw threshold, then until -10; then the travel sentence.
const int kBoxes[] = {IDC_STATISTICS_A_OUTLAW, IDC_STATISTICS_AS_OUTLAW, IDC_STATISTICS_ASP_OUTLAW,
                      IDC_STATISTICS_A_BOTTOM, IDC_STATISTICS_AS_BOTTOM, IDC_STATISTICS_ASP_BOTTOM,
                      IDC_STATISTICS_TRAVEL};

struct Case {
  int player;  // 1 or 2
  const char* name;
  const char* status;
  const char* title;
  const char* boxes[7];
  const char* screenshot;
};

TEST(StatisticsWindow, CountsAndTravelForEitherPlayer) {
  const Case cases[] = {
      {1, "Ann", "10", "Security Status Statistics for Ann",
       {"277", "55", "9", "1058", "211", "34", "Ann can enter all systems"}, "statistics"},
      {2, "", "-4.5", "Security Status Statistics for Player 2",
       {"20", "4", "1", "800", "159", "26",
        "Player 2 cannot enter 0.5 systems or above without being attacked by faction navies"},
       nullptr},
      {1, "", "-9.9", "Security Status Statistics for Player 1",
       {"0", "0", "0", "1", "1", "1",
        "Player 1 cannot enter 0.5 systems or above without being attacked by faction navies - they can legally be "
        "attacked by other players anywhere"},
       nullptr},
      {2, "Bob", "3.4028235e38", "Security Status Statistics for Bob",
       {"17380", "3455", "549", "18160", "3610", "574", "Bob can enter all systems"}, nullptr},
      {2, "Bob", "abc", "Security Status Statistics for Bob",
       {"139", "28", "5", "919", "183", "30", "Bob can enter all systems"}, nullptr},
      {1, "Ann", "", "Security Status Statistics for Ann", {"", "", "", "", "", "", ""}, nullptr},
      {2, "Bob", "5Empty", "Security Status Statistics for Bob", {"", "", "", "", "", "", ""}, nullptr},
      {1, "Ann", "nan", "Security Status Statistics for Ann", {"", "", "", "", "", "", ""}, nullptr},
      {2, "Bob", "infinity", "Security Status Statistics for Bob", {"", "", "", "", "", "", ""}, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.title + std::string(" ") + c.status);
    Session s;
    const bool first = c.player == 1;
    s.type(first ? IDC_MAIN_PLAYER1_NAME : IDC_MAIN_PLAYER2_NAME, c.name);
    s.type(first ? IDC_MAIN_PLAYER1_STATUS : IDC_MAIN_PLAYER2_STATUS, c.status);
    // The other player's entries must not leak into the window.
    s.type(first ? IDC_MAIN_PLAYER2_NAME : IDC_MAIN_PLAYER1_NAME, "Other");
    s.type(first ? IDC_MAIN_PLAYER2_STATUS : IDC_MAIN_PLAYER1_STATUS, "-2");
    HWND window = statistics(s, first ? IDC_MAIN_PLAYER1_SSS : IDC_MAIN_PLAYER2_SSS, c.title);
    ASSERT_NE(window, nullptr);
    // The boxes are filled before the window first shows; the icon may come later.
    for (int i = 0; i < 7; ++i) EXPECT_EQ(text(window, kBoxes[i]), c.boxes[i]) << "box " << kBoxes[i];
    EXPECT_TRUE(eventually([window] { return showsProgramIcon(window); }, true));
    if (c.screenshot != nullptr) saveScreenshot(window, c.screenshot);
    s.click(window, IDC_STATISTICS_CLOSE);
    EXPECT_TRUE(s.waitUntilGone(window));
    // SSS writes no default name back.
    EXPECT_EQ(text(s.main(), first ? IDC_MAIN_PLAYER1_NAME : IDC_MAIN_PLAYER2_NAME), c.name);
  }
}

TEST(StatisticsWindow, EscLeavesItOpenAndEveryCloseEndsIt) {
  Session s;
  s.type(IDC_MAIN_PLAYER2_STATUS, "1");
  for (const char* way : {"Close", "close box", "Alt+F4"}) {
    HWND window = statistics(s, IDC_MAIN_PLAYER2_SSS, "Security Status Statistics for Player 2");
    ASSERT_NE(window, nullptr) << way;
    s.pressKeys(window, {VK_ESCAPE});
    EXPECT_TRUE(IsWindowVisible(window)) << way;  // pressKeys() lets the program handle the key first
    if (std::string(way) == "Close") s.click(window, IDC_STATISTICS_CLOSE);
    if (std::string(way) == "close box") s.closeBox(window);
    if (std::string(way) == "Alt+F4") s.pressKeys(window, {VK_MENU, VK_F4});
    EXPECT_TRUE(s.waitUntilGone(window)) << way;
  }
  EXPECT_EQ(text(s.main(), IDC_MAIN_PLAYER2_NAME), "");
  s.click(s.main(), IDC_MAIN_CALCULATE);
  HWND refusal = s.waitForWindow("Error");
  ASSERT_NE(refusal, nullptr);
  s.click(refusal, IDOK);
  EXPECT_EQ(eventually([&] { return text(s.main(), IDC_MAIN_PLAYER2_NAME); }, "Player 2"), "Player 2")
      << "Calculate writes it back";
}

}  // namespace
}  // namespace e2e
