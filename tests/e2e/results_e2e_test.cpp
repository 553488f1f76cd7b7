#include <gtest/gtest.h>

#include "Encounter.h"

namespace e2e {
namespace {

const std::string kPrompt = "Enter Player 1s Security Level to See this";

struct Shown {
  std::string lines[4];
  PictureColour picture;
  std::string sentences[3];
};

// The texts are in place before the window first shows; the picture is
// waited for, as it reaches the screen later.
Shown read(HWND results, PictureColour expectedPicture) {
  return {{text(results, IDC_RESULTS_LINE1), text(results, IDC_RESULTS_LINE2), text(results, IDC_RESULTS_LINE3),
           text(results, IDC_RESULTS_LINE4)},
          eventually([results] { return pictureColour(results, IDC_RESULTS_VERDICT); }, expectedPicture),
          {text(results, IDC_RESULTS_AGGRESSION), text(results, IDC_RESULTS_AGGRESSION_SHIPKILL),
           text(results, IDC_RESULTS_AGGRESSION_SHIPKILL_PODKILL)}};
}

std::string unchanged(const std::string& prefix, const std::string& name) {
  return prefix + name + "s security would not change";
}

struct Case {
  const char* name;
  Encounter encounter;
  Shown expected;
  const char* screenshot;
};

TEST(ResultsWindow, ShowsLinesVerdictAndSecuritySentences) {
  const std::string n29(29, 'n');
  const std::string q29(29, 'q');
  const Case cases[] = {
      {"default names, status 5",
       {"", "", "5", "", "Gate", "0.5", {}},
       {{"Player 1 will be destroyed by sentries",
         "Player 1s ship must blow up - it is an exploit to get away from concord",
         "If Player 2 loses his ship, Player 2 can legally attack and destroy Player 1s ship for 30 days", ""},
        PictureColour::Red,
        {"Aggression: Player 1s security would change to 4.925000 - a change of 0.075000",
         "Aggression and Shipkill: Player 1s security would change to 4.626500 - a change of 0.373500",
         "Aggression, Shipkill and Podding: Player 1s security would change to 2.798188 - a change of 2.201812"}},
       "results-cross"},
      {"same corporation, no status",
       {"Ann", "Bob", "", "", "Other", "0.9", {IDC_MAIN_SAME_CORPORATION}},
       {{"Ann may attack and destroy Bobs ship and pod", "Sentries and Concord will not respond", "", ""},
        PictureColour::Green,
        {unchanged("Aggression: ", "Ann"), unchanged("Aggression and Shipkill: ", "Ann"),
         unchanged("Aggression, Shipkill and Podding: ", "Ann")}},
       "results-tick"},
      {"no status, no exemption",
       {"Ann", "Bob", "", "", "Other", "0.3", {IDC_MAIN_SAME_GANG}},
       {{"Ann will become criminally flagged for 15 minutes, meaning any player can legally attack", "",
         "If Bob loses his ship, Bob can legally attack and destroy Anns ship for 30 days", ""},
        PictureColour::Red,
        {kPrompt, kPrompt, kPrompt}},
       nullptr},
      {"lawless space",
       {"Ann", "Bob", "-3", "", "Station", "0.0", {IDC_MAIN_SAME_CORPORATION}},
       {{"Ann will not be able to dock or use a jumpgate for one minute",
         "0.0 space is lawless so no other consequences occur", "", ""},
        PictureColour::Red,
        {unchanged("Aggression: ", "Ann"), unchanged("Aggression and Shipkill: ", "Ann"),
         unchanged("Aggression, Shipkill and Podding: ", "Ann")}},
       nullptr},
      {"typed -10 is not -10.000000",
       {"Ann", "Bob", "-10", "", "Gate", "0.4", {}},
       {{"Ann will be attacked by sentries",
         "Ann will become criminally flagged for 15 minutes, meaning any player can legally attack",
         "If Bob loses his ship, Bob can legally attack and destroy Anns ship for 30 days", ""},
        PictureColour::Red,
        {"Aggression: Anns security would change to -10.000000 - a change of 0.000000",
         "Aggression and Shipkill: Anns security would change to -10.000000 - a change of 0.000000",
         "Aggression, Shipkill and Podding: Anns security would change to -10.000000 - a change of 0.000000"}},
       nullptr},
      {"player 2 an outlaw",
       {"Ann", "Bob", "-10.000000", "-5.9", "Gate", "1.0", {IDC_MAIN_WARRING_CORPS}},
       {{"Bob can be shipkilled and podkilled", "As soon as Ann attacks, Bob can legally fire back",
         "If Bob has a bounty, it can be claimed by destroying Bobs pod", ""},
        PictureColour::Green,
        {unchanged("Aggression: ", "Ann"), unchanged("Aggression and Shipkill: ", "Ann"),
         unchanged("Aggression, Shipkill and Podding: ", "Ann")}},
       nullptr},
      {"a huge positive status is no outlaw; a status without value prompts",
       {"Ann", "Bob", "1e300", "3000000000", "Gate", "0.6", {IDC_MAIN_FLAGGED_TO_CORPMATE}},
       {{"Bob is a valid target and can be attacked anywhere for 15 minutes",
         "A player is flagged to all members in your corporation for 15 minutes after taking out of a corp members "
         "jetcan or attacking a corporation pilot",
         "An exception to this is NPC corporations - only the player who was robbed or attacked, may attack Bob",
         "Bob can be shipkilled"},
        PictureColour::Green,
        {kPrompt, kPrompt, kPrompt}},
       nullptr},
      {"longest names, whole",
       {n29 + "overflow", q29, "-1", "", "Other", "0.1", {IDC_MAIN_CONCORD}},
       {{q29 + " is a valid target and can be attacked anywhere",
         n29 + " can attack " + q29 +
             " while he/she is criminally flagged which is 15 mins from the last agressive act by " + q29,
         q29 + " can be shipkilled", ""},
        PictureColour::Green,
        {unchanged("Aggression: ", n29), unchanged("Aggression and Shipkill: ", n29),
         unchanged("Aggression, Shipkill and Podding: ", n29)}},
       nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Session s;
    describe(s, c.encounter);
    HWND results = calculate(s);
    ASSERT_NE(results, nullptr);
    const Shown shown = read(results, c.expected.picture);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(shown.lines[i], c.expected.lines[i]) << "line " << i + 1;
    EXPECT_EQ(shown.picture, c.expected.picture);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(shown.sentences[i], c.expected.sentences[i]) << "sentence " << i + 1;
    EXPECT_TRUE(eventually([results] { return showsProgramIcon(results); }, true));
    if (c.screenshot != nullptr) saveScreenshot(results, c.screenshot);
    s.click(results, IDC_RESULTS_CLOSE);
    EXPECT_TRUE(s.waitUntilGone(results));
  }
}

TEST(ResultsWindow, CalculateWritesDefaultNamesBackAndKeepsStatusBoxesEmpty) {
  Session s;
  describe(s, {"", "", "", "", "Station", "0.7", {}});
  HWND results = calculate(s);
  ASSERT_NE(results, nullptr);
  s.click(results, IDC_RESULTS_CLOSE);
  ASSERT_TRUE(s.waitUntilGone(results));
  EXPECT_EQ(eventually([&] { return text(s.main(), IDC_MAIN_PLAYER1_NAME); }, "Player 1"), "Player 1");
  EXPECT_EQ(eventually([&] { return text(s.main(), IDC_MAIN_PLAYER2_NAME); }, "Player 2"), "Player 2");
  EXPECT_EQ(text(s.main(), IDC_MAIN_PLAYER1_STATUS), "");
  EXPECT_EQ(text(s.main(), IDC_MAIN_PLAYER2_STATUS), "");
}

TEST(ResultsWindow, EscLeavesItOpenAndEveryCloseEndsIt) {
  Session s;
  describe(s, {"Ann", "Bob", "0", "0", "Gate", "0.5", {}});
  for (const char* way : {"Close", "Enter on Close", "close box", "Alt+F4"}) {
    HWND results = calculate(s);
    ASSERT_NE(results, nullptr) << way;
    EXPECT_FALSE(eventually([&] { return IsWindowEnabled(s.main()) != FALSE; }, false)) << "the main window waits";
    s.pressKeys(results, {VK_ESCAPE});
    EXPECT_TRUE(IsWindowVisible(results)) << way;  // pressKeys() lets the program handle the key first
    if (std::string(way) == "Close") s.click(results, IDC_RESULTS_CLOSE);
    if (std::string(way) == "Enter on Close") {
      // Enter presses the push button that has the focus.
      s.focus(results, IDC_RESULTS_CLOSE);
      s.pressKeys(results, {VK_RETURN});
    }
    if (std::string(way) == "close box") s.closeBox(results);
    if (std::string(way) == "Alt+F4") s.pressKeys(results, {VK_MENU, VK_F4});
    EXPECT_TRUE(s.waitUntilGone(results)) << way;
    EXPECT_TRUE(eventually([&] { return IsWindowEnabled(s.main()) != FALSE; }, true)) << way;
  }
  s.closeBox(s.main());
  EXPECT_EQ(s.exitCode(), 0u);
}

}  // namespace
}  // namespace e2e
