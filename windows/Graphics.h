#pragma once

#include <windows.h>

// Reads an image by its bare file name from "graphics" beneath the working
// directory, at `size` by `size` pixels, as an icon (IMAGE_ICON) or a bitmap
// (IMAGE_BITMAP). Returns null when the file is missing or unreadable. The
// working directory is left as it was.
HANDLE loadGraphic(const char* fileName, UINT kind, int size);

// Gives `window` the icon "res1.ico" at 32 by 32 pixels in `slot` (ICON_BIG or
// ICON_SMALL); without the file the window keeps its default icon.
void setWindowIcon(HWND window, WPARAM slot);

// Takes back the icon that setWindowIcon gave `window` in `slot` and frees it.
void releaseWindowIcon(HWND window, WPARAM slot);
