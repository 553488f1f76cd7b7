#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "Encounter.h"
#include "core/ConsequenceRules.h"
#include "core/Encounter.h"
#include "core/SecurityArithmetic.h"
#include "windows/AboutWindow.h"
#include "windows/MainWindow.h"
#include "windows/ResultsWindow.h"
#include "windows/StatisticsWindow.h"

namespace e2e {
namespace {

std::string temporaryDirectory(const char* name) {
  char base[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, base);
  const std::string directory = std::string(base) + name;
  CreateDirectoryA(directory.c_str(), nullptr);
  return directory;
}

// Opens Results (tick, then cross) and statistics twice each: the pictures
// must be there every time, which they would not be had a load left the
// working directory elsewhere. Each check waits for the picture to reach the
// screen; a picture that must be missing is read once, as click() has let the
// program paint all it will.
void expectPicturesEveryTime(Session& s, PictureColour expected) {
  const PictureColour cross = expected == PictureColour::None ? PictureColour::None : PictureColour::Red;
  const bool withIcon = expected != PictureColour::None;
  for (int round = 0; round < 2; ++round) {
    for (const char* security : {"0.0", "0.0"}) {
      s.choose(IDC_MAIN_SYSTEM_SECURITY, security);
      s.tick(IDC_MAIN_SAME_CORPORATION, round == 0);
      HWND results = calculate(s);
      ASSERT_NE(results, nullptr);
      EXPECT_EQ(eventually([results] { return pictureColour(results, IDC_RESULTS_VERDICT); }, cross), cross);
      EXPECT_EQ(eventually([results] { return showsProgramIcon(results); }, withIcon), withIcon);
      EXPECT_EQ(text(results, IDC_RESULTS_LINE1), "Player 1 will not be able to dock or use a jumpgate for one minute");
      s.click(results, IDC_RESULTS_CLOSE);
      EXPECT_TRUE(s.waitUntilGone(results));
    }
    s.choose(IDC_MAIN_SYSTEM_SECURITY, "1.0");
    s.tick(IDC_MAIN_SAME_CORPORATION, true);
    HWND results = calculate(s);
    ASSERT_NE(results, nullptr);
    EXPECT_EQ(eventually([results] { return pictureColour(results, IDC_RESULTS_VERDICT); }, expected), expected);
    s.click(results, IDC_RESULTS_CLOSE);
    EXPECT_TRUE(s.waitUntilGone(results));
    HWND window = statistics(s, IDC_MAIN_PLAYER1_SSS, "Security Status Statistics for Player 1");
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(eventually([window] { return showsProgramIcon(window); }, withIcon), withIcon);
    s.click(window, IDC_STATISTICS_CLOSE);
    EXPECT_TRUE(s.waitUntilGone(window));
  }
}

TEST(Graphics, WithoutTheFolderTheProgramWorksWithoutPictures) {
  Session s(temporaryDirectory("brawlwise-without-graphics"));
  EXPECT_FALSE(showsProgramIcon(s.main()));  // the session starts once the program has painted
  s.choose(IDC_MAIN_LOCATION, "Gate");
  expectPicturesEveryTime(s, PictureColour::None);
  s.closeBox(s.main());
  EXPECT_EQ(s.exitCode(), 0u);
}

TEST(Graphics, LoadingLeavesTheWorkingDirectoryAlone) {
  Session s;
  s.choose(IDC_MAIN_LOCATION, "Gate");
  expectPicturesEveryTime(s, PictureColour::Green);
}

TEST(Graphics, AFolderThatIsALinkWorksAsWell) {
  const char* linked = std::getenv("BRAWLWISE_LINKED_WORKDIR");
  if (linked == nullptr || *linked == '\0') GTEST_SKIP() << "no linked graphics folder prepared";
  Session s(linked);
  EXPECT_TRUE(eventually([&] { return showsProgramIcon(s.main()); }, true));
  s.choose(IDC_MAIN_LOCATION, "Gate");
  expectPicturesEveryTime(s, PictureColour::Green);
}

// The program's windows run here, in this process, so that the images they
// load can be looked at after they close.
struct Loaded {
  HICON icon;
  HBITMAP picture;
};
Loaded loaded;
WPARAM iconSlot;

BOOL CALLBACK findDialog(HWND window, LPARAM found) {
  char kind[16] = {};
  GetClassNameA(window, kind, sizeof kind);
  if (IsWindowVisible(window) && std::string(kind) == "#32770") *reinterpret_cast<HWND*>(found) = window;
  return TRUE;
}

void CALLBACK recordAndClose(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND dialog = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), findDialog, reinterpret_cast<LPARAM>(&dialog));
  if (dialog == nullptr) return;
  KillTimer(nullptr, timer);
  loaded.icon = reinterpret_cast<HICON>(SendMessageA(dialog, WM_GETICON, iconSlot, 0));
  loaded.picture =
      reinterpret_cast<HBITMAP>(SendDlgItemMessageA(dialog, IDC_RESULTS_VERDICT, STM_GETIMAGE, IMAGE_BITMAP, 0));
  PostMessageA(dialog, WM_CLOSE, 0, 0);
}

Loaded openAndClose(int templateId, DLGPROC procedure, WPARAM slot) {
  loaded = {};
  iconSlot = slot;
  SetTimer(nullptr, 0, 20, recordAndClose);
  DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId), nullptr, procedure, 0);
  return loaded;
}

bool iconAlive(HICON icon) {
  ICONINFO info;
  if (!GetIconInfo(icon, &info)) return false;
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  return true;
}

TEST(Graphics, ImagesAreReleasedWhenTheirWindowCloses) {
  char saved[MAX_PATH] = {};
  GetCurrentDirectoryA(MAX_PATH, saved);
  ASSERT_TRUE(SetCurrentDirectoryA(workingDirectory().c_str()));
  theEncounter.scenario.player1Name.assign("Ann");
  theEncounter.scenario.player2Name.assign("Bob");
  theEncounter.scenario.locationText.assign("Gate");
  theEncounter.scenario.player1SecurityText.assign("5");
  theEncounter.scenario.player2SecurityText.assign("Empty");
  struct Case {
    const char* window;
    int templateId;
    DLGPROC procedure;
    WPARAM slot;
    const char* security;
  };
  const Case cases[] = {
      {"main", IDD_MAIN, MainWindow, ICON_BIG, nullptr},
      {"About", IDD_ABOUT, AboutWindow, ICON_SMALL, nullptr},
      {"statistics", IDD_STATISTICS, StatisticsWindow, ICON_SMALL, nullptr},
      {"Results with the cross", IDD_RESULTS, ResultsWindow, ICON_SMALL, "1.0"},
      {"Results with the tick", IDD_RESULTS, ResultsWindow, ICON_SMALL, "0.0"},
  };
  for (const Case& c : cases) {
    if (c.security != nullptr) {
      theEncounter.scenario.systemSecurityText.assign(c.security);
      theEncounter.scenario.hasKillrights = c.security[2] == '0' ? 1 : 0;
      evaluateConsequences(theEncounter.scenario, theEncounter.results);
      projectSecurity(theEncounter.scenario, theEncounter.projection);
    }
    const Loaded images = openAndClose(c.templateId, c.procedure, c.slot);
    ASSERT_NE(images.icon, nullptr) << c.window;
    EXPECT_FALSE(iconAlive(images.icon)) << c.window << ": icon not released";
    if (c.templateId == IDD_RESULTS) {
      ASSERT_NE(images.picture, nullptr) << c.window;
      EXPECT_EQ(GetObjectType(images.picture), 0u) << c.window << ": picture not released";
    }
  }
  SetCurrentDirectoryA(saved);
}

// Where the platform reports them, the program's GDI and USER object counts
// stay flat while each window opens and closes 300 times.
TEST(Graphics, ObjectCountsStayFlatOverManyOpenings) {
  Session s;
  describe(s, {"Ann", "Bob", "1", "1", "Gate", "0.5", {}});
  const auto counts = [&s] {
    return std::make_pair(GetGuiResources(s.process(), GR_GDIOBJECTS), GetGuiResources(s.process(), GR_USEROBJECTS));
  };
  const auto openAndCloseEach = [&s](int times) {
    for (int i = 0; i < times; ++i) {
      s.click(s.main(), IDC_MAIN_CALCULATE);
      HWND results = s.waitForWindow("Results");
      ASSERT_NE(results, nullptr);
      s.click(results, IDC_RESULTS_CLOSE);
      ASSERT_TRUE(s.waitUntilGone(results));
      s.click(s.main(), IDC_MAIN_PLAYER1_SSS);
      HWND window = s.waitForWindow("Security Status Statistics for Ann");
      ASSERT_NE(window, nullptr);
      s.closeBox(window);
      ASSERT_TRUE(s.waitUntilGone(window));
      s.menu(IDM_HELP_ABOUT);
      HWND about = s.waitForWindow("About Brawlwise");
      ASSERT_NE(about, nullptr);
      s.click(about, IDC_ABOUT_OK);
      ASSERT_TRUE(s.waitUntilGone(about));
    }
  };
  openAndCloseEach(5);
  const auto before = counts();
  if (before.first == 0 && before.second == 0) {
    GTEST_SKIP() << "this platform does not report GDI and USER object counts; "
                    "Graphics.ImagesAreReleasedWhenTheirWindowCloses checks the release";
  }
  openAndCloseEach(300);
  const auto after = counts();
  EXPECT_LE(after.first, before.first + 2) << "GDI objects";
  EXPECT_LE(after.second, before.second + 2) << "USER objects";
}

}  // namespace
}  // namespace e2e
