#include "windows/AboutWindow.h"

#include "windows/Graphics.h"
#include "core/ControlNumbers.h"

INT_PTR CALLBACK AboutWindow(HWND window, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      setWindowIcon(window, ICON_SMALL);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDC_ABOUT_OK) EndDialog(window, 0);
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
