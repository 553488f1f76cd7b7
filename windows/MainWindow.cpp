#include "windows/MainWindow.h"

#include "core/ControlNumbers.h"
#include "core/MainWindowRules.h"
#include "windows/AboutWindow.h"
#include "windows/Graphics.h"
#include "windows/ResultsWindow.h"
#include "windows/StatisticsWindow.h"
#include "windows/Win32Controls.h"

namespace {

// The main window's controls as the rules see them.
class DialogControls final : public MainWindowControls {
 public:
  explicit DialogControls(HWND window) : window_(window) {}
  bool readText(int control, ControlText& out) override { return readControlText(window_, control, out); }
  bool isTicked(int control) override { return IsDlgButtonChecked(window_, control) == BST_CHECKED; }
  void writeText(int control, const char* text) override { setControlText(window_, control, text); }
  void emptyList(int control) override { SendDlgItemMessageA(window_, control, CB_RESETCONTENT, 0, 0); }
  void addListItem(int control, const char* item) override {
    SendDlgItemMessageA(window_, control, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
  }
  void untick(int control) override { CheckDlgButton(window_, control, BST_UNCHECKED); }

 private:
  HWND window_;
};

void calculate(HWND window) {
  DialogControls controls(window);
  if (const char* refusal = calculate(controls, theEncounter)) {
    MessageBoxA(window, refusal, kRefusalCaption, MB_OK);
    return;
  }
  runModalWindow(window, IDD_RESULTS, ResultsWindow);
}

void showStatistics(HWND window, std::int32_t player) {
  DialogControls controls(window);
  capturePlayer(controls, theEncounter.scenario, player);
  runModalWindow(window, IDD_STATISTICS, StatisticsWindow);
}

void clear(HWND window) {
  DialogControls controls(window);
  clearInputs(controls);
}

BOOL onInitDialog(HWND window) {
  setWindowIcon(window, ICON_BIG);
  // The record keeps 29 characters of each box; the boxes take no more.
  for (int box : kEditBoxes) SendDlgItemMessageA(window, box, EM_LIMITTEXT, NameText::kMaxLength, 0);
  DialogControls controls(window);
  fillChoiceLists(controls);
  return TRUE;
}

void onCommand(HWND window, WORD command) {
  switch (command) {
    case IDM_FILE_EXIT:
      EndDialog(window, 0);
      break;
    case IDM_FILE_CLEAR:
    case IDC_MAIN_CLEAR:
      clear(window);
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
