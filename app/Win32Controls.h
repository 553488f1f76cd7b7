#pragma once

// Small named helpers for the Win32 calls that the windows repeat.
#include <windows.h>

#include <cstdint>

#include "app/FixedText.h"

inline void setControlText(HWND window, int control, const char* text) { SetDlgItemTextA(window, control, text); }

// Reads a control's text into `out`, at most its width less one characters.
// An empty control gives `fallback`; returns false in that case.
template <std::size_t Width>
bool readControlText(HWND window, int control, FixedText<Width>& out, const char* fallback) {
  if (GetWindowTextLengthA(GetDlgItem(window, control)) == 0) {
    out.assign(fallback);
    return false;
  }
  GetDlgItemTextA(window, control, out.data(), static_cast<int>(Width));
  out.terminate();
  return true;
}

inline std::int32_t readTickBox(HWND window, int control) {
  return IsDlgButtonChecked(window, control) == BST_CHECKED ? 1 : 0;
}

inline void untickBox(HWND window, int control) { CheckDlgButton(window, control, BST_UNCHECKED); }

// Runs a modal window of the program's own templates, owned by `owner`.
inline INT_PTR runModalWindow(HWND owner, int templateId, DLGPROC procedure) {
  return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId), owner, procedure, 0);
}
