#include "windows/Graphics.h"

#include "core/FixedText.h"

HANDLE loadGraphic(const char* fileName, UINT kind, int size) {
  // A path relative to the working directory reads the file without ever
  // changing that directory.
  FixedText<MAX_PATH> path;
  if (!compose(path, {"graphics\\", fileName})) return nullptr;
  return LoadImageA(nullptr, path.c_str(), kind, size, size, LR_LOADFROMFILE);
}

void setWindowIcon(HWND window, WPARAM slot) {
  HANDLE icon = loadGraphic("res1.ico", IMAGE_ICON, 32);
  if (icon == nullptr) return;
  HICON previous = reinterpret_cast<HICON>(SendMessageA(window, WM_SETICON, slot, reinterpret_cast<LPARAM>(icon)));
  if (previous != nullptr) DestroyIcon(previous);
}

void releaseWindowIcon(HWND window, WPARAM slot) {
  HICON icon = reinterpret_cast<HICON>(SendMessageA(window, WM_SETICON, slot, 0));
  if (icon != nullptr) DestroyIcon(icon);
}
