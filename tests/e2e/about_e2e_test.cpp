#include <gtest/gtest.h>

#include "Encounter.h"

namespace e2e {
namespace {

TEST(AboutWindow, ShowsItsTextsAndClosesOnlyOnPurpose) {
  Session s;
  for (const char* way : {"OK", "close box", "Alt+F4"}) {
    s.menu(IDM_HELP_ABOUT);
    HWND about = s.waitForWindow("About Brawlwise");
    ASSERT_NE(about, nullptr) << way;
    // Its texts are in place before it first shows; its pictures may come later.
    EXPECT_EQ(text(about, IDC_ABOUT_TITLE), "Brawlwise - Clashmark");
    EXPECT_EQ(text(about, IDC_ABOUT_HELP_HINT), "See Help File for more information and contact details");
    EXPECT_EQ(text(about, IDC_ABOUT_GROUP), "About this program...");
    EXPECT_FALSE(text(about, IDC_ABOUT_CREDIT).empty());
    EXPECT_TRUE(eventually([about] { return showsProgramIcon(about); }, true));
    if (std::string(way) == "OK") saveScreenshot(about, "about");
    s.pressKeys(about, {VK_ESCAPE});
    EXPECT_TRUE(IsWindowVisible(about)) << way;  // pressKeys() lets the program handle the key first
    if (std::string(way) == "OK") s.click(about, IDC_ABOUT_OK);
    if (std::string(way) == "close box") s.closeBox(about);
    if (std::string(way) == "Alt+F4") s.pressKeys(about, {VK_MENU, VK_F4});
    EXPECT_TRUE(s.waitUntilGone(about)) << way;
  }
  s.menu(IDM_FILE_EXIT);
  EXPECT_EQ(s.exitCode(), 0u);
}

}  // namespace
}  // namespace e2e
