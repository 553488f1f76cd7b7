#include "windows/StatisticsWindow.h"

#include "windows/Graphics.h"
#include "windows/Win32Controls.h"
#include "core/ControlNumbers.h"
#include "core/StandingCounts.h"

namespace {

void fillStatisticsWindow(HWND window) {
  setWindowIcon(window, ICON_SMALL);
  StatisticsTexts texts;
  composeStatistics(theScenario, texts);
  SetWindowTextA(window, texts.title.c_str());
  if (texts.filled == 0) return;
  setControlText(window, IDC_STATISTICS_AS_OUTLAW, texts.aggressionShipkillsUntilOutlaw.c_str());
  setControlText(window, IDC_STATISTICS_ASP_OUTLAW, texts.aggressionShipkillPodkillsUntilOutlaw.c_str());
  setControlText(window, IDC_STATISTICS_AS_BOTTOM, texts.aggressionShipkillsUntilBottom.c_str());
  setControlText(window, IDC_STATISTICS_ASP_BOTTOM, texts.aggressionShipkillPodkillsUntilBottom.c_str());
  setControlText(window, IDC_STATISTICS_TRAVEL, texts.travelSentence.c_str());
  setControlText(window, IDC_STATISTICS_A_OUTLAW, texts.aggressionsUntilOutlaw.c_str());
  setControlText(window, IDC_STATISTICS_A_BOTTOM, texts.aggressionsUntilBottom.c_str());
}

}  // namespace

INT_PTR CALLBACK StatisticsWindow(HWND window, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      fillStatisticsWindow(window);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDC_STATISTICS_CLOSE) EndDialog(window, 0);
      return TRUE;
    case WM_CLOSE:
      EndDialog(window, 0);
      return TRUE;
    case WM_DESTROY:
      releaseWindowIcon(window, ICON_SMALL);
      return FALSE;
    default:
      return FALSE;
  }
}
