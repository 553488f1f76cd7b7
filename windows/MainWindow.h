#pragma once

#include <windows.h>

// The main window (template 1000, menu 100): captures the encounter into the
// scenario record and opens the Results, statistics and About windows.
INT_PTR CALLBACK MainWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
