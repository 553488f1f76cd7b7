#include "windows/ResultsWindow.h"

#include "core/ControlNumbers.h"
#include "core/WindowTexts.h"
#include "windows/Graphics.h"
#include "windows/Win32Controls.h"

namespace {

// The picture as loaded is kept with the window: with Common Controls 6 a
// static control keeps its own copy of a 32-bit bitmap with alpha, so the
// handle it hands back at release need not be the loaded one.
void showVerdict(HWND window, std::int32_t verdict) {
  HANDLE picture = loadGraphic(verdict == 0 ? "tick.bmp" : "cross.bmp", IMAGE_BITMAP, 48);
  if (picture == nullptr) return;
  SetWindowLongPtrA(window, DWLP_USER, reinterpret_cast<LONG_PTR>(picture));
  SendDlgItemMessageA(window, IDC_RESULTS_VERDICT, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture));
}

void releaseVerdict(HWND window) {
  HGDIOBJ shown =
      reinterpret_cast<HGDIOBJ>(SendDlgItemMessageA(window, IDC_RESULTS_VERDICT, STM_SETIMAGE, IMAGE_BITMAP, 0));
  HGDIOBJ loaded = reinterpret_cast<HGDIOBJ>(SetWindowLongPtrA(window, DWLP_USER, 0));
  if (loaded != nullptr) DeleteObject(loaded);
  if (shown != nullptr && shown != loaded) DeleteObject(shown);
}

void fillResultsWindow(HWND window) {
  setWindowIcon(window, ICON_SMALL);
  ResultsWindowTexts texts;
  composeResultsWindow(theEncounter, texts);
  showVerdict(window, resultsWindowVerdict(texts));
  for (int box : kResultsBoxes) setControlText(window, box, resultsWindowText(texts, box));
}

}  // namespace

INT_PTR CALLBACK ResultsWindow(HWND window, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      fillResultsWindow(window);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDC_RESULTS_CLOSE) EndDialog(window, 0);
      return TRUE;
    case WM_CLOSE:
      EndDialog(window, 0);
      return TRUE;
    case WM_DESTROY:
      releaseVerdict(window);
      releaseWindowIcon(window, ICON_SMALL);
      return FALSE;
    default:
      return FALSE;
  }
}
