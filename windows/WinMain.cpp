#include <windows.h>
#include <commctrl.h>

#include "windows/MainWindow.h"
#include "core/ControlNumbers.h"

// Runs the main window; its result (0, or -1 when it cannot be built) is the
// exit code. The command line and the show state are not used.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  return static_cast<int>(DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_MAIN), nullptr, MainWindow, 0));
}
