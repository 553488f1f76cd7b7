#include <gtest/gtest.h>

#include "BrawlwiseDriver.h"
#include "core/ControlNumbers.h"

namespace e2e {
namespace {

const int kTickBoxes[] = {IDC_MAIN_SAME_CORPORATION,    IDC_MAIN_SAME_ALLIANCE,       IDC_MAIN_SAME_GANG,
                          IDC_MAIN_WARRING_CORPS,       IDC_MAIN_CONCORD,             IDC_MAIN_FLAGGED_TO_PLAYER1,
                          IDC_MAIN_FLAGGED_TO_CORPMATE, IDC_MAIN_FLAGGED_TO_GANGMATE, IDC_MAIN_KILLRIGHTS};
const int kEditBoxes[] = {IDC_MAIN_PLAYER1_NAME, IDC_MAIN_PLAYER2_NAME, IDC_MAIN_PLAYER1_STATUS,
                          IDC_MAIN_PLAYER2_STATUS};

void expectPristine(const Session& s) {
  for (int box : kEditBoxes) EXPECT_EQ(eventually([&] { return text(s.main(), box); }, ""), "") << box;
  for (int box : kTickBoxes) EXPECT_FALSE(eventually([&] { return s.ticked(box); }, false)) << box;
  const char* const locations[] = {"Gate", "Station", "Other"};
  const char* const securities[] = {"1.0", "0.9", "0.8", "0.7", "0.6", "0.5", "0.4", "0.3", "0.2", "0.1", "0.0"};
  ASSERT_EQ(eventually([&] { return s.listCount(IDC_MAIN_LOCATION); }, 3), 3);
  ASSERT_EQ(eventually([&] { return s.listCount(IDC_MAIN_SYSTEM_SECURITY); }, 11), 11);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(s.listItem(IDC_MAIN_LOCATION, i), locations[i]);
  for (int i = 0; i < 11; ++i) EXPECT_EQ(s.listItem(IDC_MAIN_SYSTEM_SECURITY, i), securities[i]);
  EXPECT_EQ(eventually([&] { return s.listSelection(IDC_MAIN_LOCATION); }, CB_ERR), CB_ERR);
  EXPECT_EQ(eventually([&] { return s.listSelection(IDC_MAIN_SYSTEM_SECURITY); }, CB_ERR), CB_ERR);
  EXPECT_EQ(eventually([&] { return text(s.main(), IDC_MAIN_LOCATION); }, ""), "");
}

// Reads the refusal that a Calculate shows, closes it, and gives its text,
// which the box has from before it shows.
std::string refusal(Session& s) {
  HWND box = s.waitForWindow("Error");
  if (box == nullptr) return "(no message box)";
  std::string said;
  for (const std::string& t : staticTexts(box)) said += t;
  s.click(box, IDOK);
  EXPECT_TRUE(s.waitUntilGone(box));
  return said;
}

TEST(MainWindow, StartsWithEmptyBoxesAndFilledLists) {
  Session s;
  EXPECT_EQ(caption(s.main()), "Brawlwise");
  expectPristine(s);
  EXPECT_TRUE(eventually([&] { return showsProgramIcon(s.main()); }, true));
  saveScreenshot(s.main(), "main-window");
  s.menu(IDM_FILE_EXIT);
  EXPECT_EQ(s.exitCode(), 0u);
}

TEST(MainWindow, RefusesAMissingLocationBeforeAMissingSystemSecurity) {
  Session s;
  s.click(s.main(), IDC_MAIN_CALCULATE);
  EXPECT_EQ(refusal(s), "You need to specify a location");
  // The refused Calculate still wrote the default names back.
  EXPECT_EQ(eventually([&] { return text(s.main(), IDC_MAIN_PLAYER1_NAME); }, "Player 1"), "Player 1");
  EXPECT_EQ(eventually([&] { return text(s.main(), IDC_MAIN_PLAYER2_NAME); }, "Player 2"), "Player 2");
  EXPECT_EQ(text(s.main(), IDC_MAIN_PLAYER1_STATUS), "");

  s.choose(IDC_MAIN_LOCATION, "Gate");
  s.click(s.main(), IDC_MAIN_CALCULATE);
  EXPECT_EQ(refusal(s), "You need to specify a system security");

  s.choose(IDC_MAIN_LOCATION, "");
  s.choose(IDC_MAIN_SYSTEM_SECURITY, "0.5");
  SendMessageA(GetDlgItem(s.main(), IDC_MAIN_LOCATION), CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  s.click(s.main(), IDC_MAIN_CALCULATE);
  EXPECT_EQ(refusal(s), "You need to specify a location");
  // The program has handled the refusal's OK, so a Results window would be up.
  EXPECT_EQ(s.findWindow("Results"), nullptr);
}

TEST(MainWindow, ClearFromMenuAndButtonEmptiesEverything) {
  for (int command : {IDM_FILE_CLEAR, IDC_MAIN_CLEAR}) {
    Session s;
    for (int box : kEditBoxes) s.type(box, "-5");
    for (int box : kTickBoxes) s.tick(box);
    s.choose(IDC_MAIN_LOCATION, "Station");
    s.choose(IDC_MAIN_SYSTEM_SECURITY, "0.0");
    if (command == IDM_FILE_CLEAR) {
      s.menu(command);
    } else {
      s.click(s.main(), command);
    }
    expectPristine(s);
    s.click(s.main(), IDC_MAIN_CALCULATE);
    EXPECT_EQ(refusal(s), "You need to specify a location") << command;
  }
}

TEST(MainWindow, EditBoxesTakeNoMoreThan29Characters) {
  Session s;
  s.typeKeys(IDC_MAIN_PLAYER1_NAME, std::string(35, 'k'));
  const std::string limited(29, 'k');
  EXPECT_EQ(eventually([&] { return text(s.main(), IDC_MAIN_PLAYER1_NAME); }, limited), limited);
}

TEST(MainWindow, EscAndEnterCloseNothing) {
  Session s;
  s.focus(s.main(), IDC_MAIN_PLAYER1_NAME);
  s.pressKeys(s.main(), {VK_ESCAPE});
  s.pressKeys(s.main(), {VK_RETURN});
  // pressKeys() lets the program handle the keys, so what they closed is gone.
  EXPECT_TRUE(IsWindowVisible(s.main()));
  EXPECT_EQ(s.windows().size(), 1u);
  EXPECT_EQ(s.exitCode(300), static_cast<DWORD>(STILL_ACTIVE));
}

TEST(MainWindow, EnterPressesTheFocusedButton) {
  Session s;
  s.focus(s.main(), IDC_MAIN_CALCULATE);
  s.pressKeys(s.main(), {VK_RETURN});
  EXPECT_EQ(refusal(s), "You need to specify a location");
}

TEST(MainWindow, EndsWithExitCodeZero) {
  {
    Session s;
    s.closeBox(s.main());
    EXPECT_EQ(s.exitCode(), 0u) << "close box";
  }
  {
    Session s;
    s.pressKeys(s.main(), {VK_MENU, VK_F4});
    EXPECT_EQ(s.exitCode(), 0u) << "Alt+F4";
  }
  {
    Session s;
    s.menu(IDM_FILE_EXIT);
    EXPECT_EQ(s.exitCode(), 0u) << "File, Exit";
  }
}

}  // namespace
}  // namespace e2e
