#pragma once

#include <windows.h>

// The statistics window (template 1300): the six counts and the travel
// sentence for the player that the last SSS button named.
INT_PTR CALLBACK StatisticsWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
