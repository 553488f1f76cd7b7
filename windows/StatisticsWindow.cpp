#include "windows/StatisticsWindow.h"

#include "core/ControlNumbers.h"
#include "core/StandingCounts.h"
#include "core/WindowTexts.h"
#include "windows/Graphics.h"
#include "windows/Win32Controls.h"

namespace {

void fillStatisticsWindow(HWND window) {
  setWindowIcon(window, ICON_SMALL);
  StatisticsTexts texts;
  composeStatistics(theEncounter.scenario, texts);
  SetWindowTextA(window, statisticsWindowText(texts, IDD_STATISTICS));
  for (int box : kStatisticsBoxes) setControlText(window, box, statisticsWindowText(texts, box));
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
