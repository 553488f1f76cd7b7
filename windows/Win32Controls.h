#pragma once

// Small named helpers for the Win32 calls that the windows repeat.
#include <windows.h>

#include "core/FixedText.h"

inline void setControlText(HWND window, int control, const char* text) { SetDlgItemTextA(window, control, text); }

// Replaces `out` with a control's text, as much as fits. Returns false,
// leaving `out` alone, when the control is empty.
template <std::size_t Width>
bool readControlText(HWND window, int control, FixedText<Width>& out) {
  if (GetWindowTextLengthA(GetDlgItem(window, control)) == 0) return false;
  GetDlgItemTextA(window, control, out.data(), static_cast<int>(Width));
  out.terminate();
  return true;
}

// Runs a modal window of the program's own templates, owned by `owner`.
inline INT_PTR runModalWindow(HWND owner, int templateId, DLGPROC procedure) {
  return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId), owner, procedure, 0);
}
