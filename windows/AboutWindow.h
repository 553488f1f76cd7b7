#pragma once

#include <windows.h>

// The About window (template 1100): ends on OK or its close command.
INT_PTR CALLBACK AboutWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
