#pragma once

#include <windows.h>

// The Results window (template 1200): the result lines, the tick or the
// cross, and the three sentences on player 1's security status.
INT_PTR CALLBACK ResultsWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
