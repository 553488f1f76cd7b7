#include "app/MainWindow.h"

#include "app/AboutWindow.h"
#include "app/Graphics.h"
#include "app/ScenarioState.h"
#include "app/Win32Controls.h"
#include "resources/resource.h"
#include "results/ResultsWindow.h"
#include "rules/ConsequenceRules.h"
#include "security/SecurityArithmetic.h"
#include "statistics/StatisticsWindow.h"

namespace {

const int kEditBoxes[] = {IDC_MAIN_PLAYER1_NAME, IDC_MAIN_PLAYER2_NAME, IDC_MAIN_PLAYER1_STATUS,
                          IDC_MAIN_PLAYER2_STATUS};

// The tick-boxes in the order of capture and of clearing.
const int kTickBoxes[] = {IDC_MAIN_SAME_CORPORATION, IDC_MAIN_SAME_ALLIANCE,       IDC_MAIN_SAME_GANG,
                          IDC_MAIN_WARRING_CORPS,    IDC_MAIN_CONCORD,             IDC_MAIN_FLAGGED_TO_PLAYER1,
                          IDC_MAIN_FLAGGED_TO_CORPMATE, IDC_MAIN_FLAGGED_TO_GANGMATE, IDC_MAIN_KILLRIGHTS};

void fillChoiceLists(HWND window) {
  for (const char* location : {"Gate", "Station", "Other"}) {
    SendDlgItemMessageA(window, IDC_MAIN_LOCATION, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(location));
  }
  for (const char* security : {"1.0", "0.9", "0.8", "0.7", "0.6", "0.5", "0.4", "0.3", "0.2", "0.1", "0.0"}) {
    SendDlgItemMessageA(window, IDC_MAIN_SYSTEM_SECURITY, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(security));
  }
}

// Reads a name box; an empty box gives the default name, which Calculate also
// writes back into the box.
void captureName(HWND window, int box, NameText& name, const char* defaultName, bool writeBack) {
  if (!readControlText(window, box, name, defaultName) && writeBack) setControlText(window, box, defaultName);
}

void captureScenario(HWND window, ScenarioState& s) {
  readControlText(window, IDC_MAIN_LOCATION, s.locationText, kEmptyMarker);
  readControlText(window, IDC_MAIN_SYSTEM_SECURITY, s.systemSecurityText, kEmptyMarker);
  std::int32_t* const flags[] = {&s.sameCorporation,   &s.sameAlliance,      &s.sameGang,
                                 &s.warringCorps,      &s.concordFlag,       &s.flaggedToPlayer1,
                                 &s.flaggedToCorpmate, &s.flaggedToGangmate, &s.hasKillrights};
  for (int i = 0; i < 9; ++i) *flags[i] = readTickBox(window, kTickBoxes[i]);
  captureName(window, IDC_MAIN_PLAYER1_NAME, s.player1Name, "Player 1", true);
  captureName(window, IDC_MAIN_PLAYER2_NAME, s.player2Name, "Player 2", true);
  readControlText(window, IDC_MAIN_PLAYER1_STATUS, s.player1SecurityText, kEmptyMarker);
  readControlText(window, IDC_MAIN_PLAYER2_STATUS, s.player2SecurityText, kEmptyMarker);
}

void capturePlayer(HWND window, ScenarioState& s, std::int32_t player) {
  if (player == 0) {
    readControlText(window, IDC_MAIN_PLAYER1_STATUS, s.player1SecurityText, kEmptyMarker);
    captureName(window, IDC_MAIN_PLAYER1_NAME, s.player1Name, "Player 1", false);
  } else {
    readControlText(window, IDC_MAIN_PLAYER2_STATUS, s.player2SecurityText, kEmptyMarker);
    captureName(window, IDC_MAIN_PLAYER2_NAME, s.player2Name, "Player 2", false);
  }
  s.statsSubject = player;
}

void clearInputs(HWND window) {
  for (int box : kEditBoxes) setControlText(window, box, "");
  SendDlgItemMessageA(window, IDC_MAIN_LOCATION, CB_RESETCONTENT, 0, 0);
  SendDlgItemMessageA(window, IDC_MAIN_SYSTEM_SECURITY, CB_RESETCONTENT, 0, 0);
  fillChoiceLists(window);
  for (int box : kTickBoxes) untickBox(window, box);
}

void refuse(HWND window, const char* message) { MessageBoxA(window, message, "Error", MB_OK); }

void calculate(HWND window) {
  resetResults(theResults);
  captureScenario(window, theScenario);
  if (theScenario.locationText.contains(kEmptyMarker)) return refuse(window, "You need to specify a location");
  if (theScenario.systemSecurityText.contains(kEmptyMarker)) {
    return refuse(window, "You need to specify a system security");
  }
  evaluateConsequences(theScenario, theResults);
  projectSecurity(theScenario, theProjection);
  runModalWindow(window, IDD_RESULTS, ResultsWindow);
}

void showStatistics(HWND window, std::int32_t player) {
  capturePlayer(window, theScenario, player);
  runModalWindow(window, IDD_STATISTICS, StatisticsWindow);
}

BOOL onInitDialog(HWND window) {
  setWindowIcon(window, ICON_BIG);
  // The record keeps 29 characters of each box; the boxes take no more.
  for (int box : kEditBoxes) SendDlgItemMessageA(window, box, EM_LIMITTEXT, NameText::kMaxLength, 0);
  fillChoiceLists(window);
  return TRUE;
}

void onCommand(HWND window, WORD command) {
  switch (command) {
    case IDM_FILE_EXIT:
      EndDialog(window, 0);
      break;
    case IDM_FILE_CLEAR:
    case IDC_MAIN_CLEAR:
      clearInputs(window);
      break;
    case IDM_HELP_ABOUT:
      runModalWindow(window, IDD_ABOUT, AboutWindow);
      break;
    case IDC_MAIN_CALCULATE:
      calculate(window);
      break;
    case IDC_MAIN_PLAYER1_SSS:
      showStatistics(window, 0);
      break;
    case IDC_MAIN_PLAYER2_SSS:
      showStatistics(window, 1);
      break;
    default:  // among them Enter (1) and Esc (2): nothing
      break;
  }
}

}  // namespace

INT_PTR CALLBACK MainWindow(HWND window, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      return onInitDialog(window);
    case WM_COMMAND:
      onCommand(window, LOWORD(wParam));
      return TRUE;
    case WM_CLOSE:
      EndDialog(window, 0);
      return TRUE;
    case WM_DESTROY:
      releaseWindowIcon(window, ICON_BIG);
      return FALSE;
    default:
      return FALSE;
  }
}
