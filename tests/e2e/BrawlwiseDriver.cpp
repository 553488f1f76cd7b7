#include "BrawlwiseDriver.h"

#include <cstdio>
#include <cstdlib>
#include <stdexcept>

namespace e2e {

namespace {

std::string environment(const char* name, const char* fallback) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0' ? value : fallback;
}

struct Search {
  DWORD process;
  const std::string* caption;
  std::vector<HWND> found;
};

BOOL CALLBACK collect(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<Search*>(parameter);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != search->process || !IsWindowVisible(window)) return TRUE;
  if (search->caption == nullptr || caption(window) == *search->caption) search->found.push_back(window);
  return TRUE;
}

BOOL CALLBACK collectStatic(HWND child, LPARAM parameter) {
  char kind[32] = {};
  GetClassNameA(child, kind, sizeof kind);
  if (lstrcmpiA(kind, "Static") == 0) {
    std::string t(static_cast<std::size_t>(GetWindowTextLengthA(child)) + 1, '\0');
    GetWindowTextA(child, &t[0], static_cast<int>(t.size()));
    t.resize(t.size() - 1);
    if (!t.empty()) reinterpret_cast<std::vector<std::string>*>(parameter)->push_back(t);
  }
  return TRUE;
}

// Copies a rectangle of the screen into a 24-bit top-down buffer.
std::vector<unsigned char> grab(const RECT& r, int& width, int& height) {
  width = r.right - r.left;
  height = r.bottom - r.top;
  std::vector<unsigned char> pixels;
  if (width <= 0 || height <= 0) return pixels;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
  GdiFlush();
  const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) & ~static_cast<std::size_t>(3);
  pixels.assign(static_cast<unsigned char*>(bits), static_cast<unsigned char*>(bits) + stride * static_cast<std::size_t>(height));
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return pixels;
}

}  // namespace

std::string programPath() { return environment("BRAWLWISE_EXE", "Brawlwise.exe"); }
std::string workingDirectory() { return environment("BRAWLWISE_WORKDIR", "."); }
std::string screenshotDirectory() { return environment("BRAWLWISE_SHOTS", ""); }

Session::Session(const std::string& directory) {
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  std::string commandLine = "\"" + programPath() + "\"";
  if (!CreateProcessA(programPath().c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                      directory.c_str(), &startup, &process_)) {
    throw std::runtime_error("cannot start " + programPath());
  }
  WaitForInputIdle(process_.hProcess, 10000);
  main_ = waitForWindow("Brawlwise");
  if (main_ == nullptr) throw std::runtime_error("the main window did not appear");
  settle();
}

Session::~Session() {
  if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(process_.hProcess, 99);
  WaitForSingleObject(process_.hProcess, 5000);
  CloseHandle(process_.hThread);
  CloseHandle(process_.hProcess);
}

void Session::type(int box, const std::string& value) {
  SendMessageA(GetDlgItem(main_, box), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(value.c_str()));
}

void Session::typeKeys(int box, const std::string& value) {
  HWND control = GetDlgItem(main_, box);
  for (char c : value) PostMessageA(control, WM_CHAR, static_cast<unsigned char>(c), 1);
  settle();
}

void Session::choose(int list, const std::string& item) {
  HWND control = GetDlgItem(main_, list);
  const LRESULT index = SendMessageA(control, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                     reinterpret_cast<LPARAM>(item.c_str()));
  SendMessageA(control, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void Session::tick(int box, bool on) {
  if (ticked(box) != on) SendMessageA(GetDlgItem(main_, box), BM_CLICK, 0, 0);
}

bool Session::ticked(int box) const {
  return SendMessageA(GetDlgItem(main_, box), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

int Session::listCount(int list) const {
  return static_cast<int>(SendMessageA(GetDlgItem(main_, list), CB_GETCOUNT, 0, 0));
}

int Session::listSelection(int list) const {
  return static_cast<int>(SendMessageA(GetDlgItem(main_, list), CB_GETCURSEL, 0, 0));
}

std::string Session::listItem(int list, int index) const {
  // The wide form: Wine carries it across processes whole.
  wchar_t item[64] = {};
  SendMessageW(GetDlgItem(main_, list), CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(item));
  char narrow[64] = {};
  WideCharToMultiByte(CP_ACP, 0, item, -1, narrow, sizeof narrow, nullptr, nullptr);
  return narrow;
}

void Session::click(HWND window, int button) {
  press(window, button);
  settle();
}

void Session::press(HWND window, int button) {
  // Posted, so that a modal window it opens does not hold the driver.
  PostMessageA(GetDlgItem(window, button), BM_CLICK, 0, 0);
}

void Session::menu(int command) {
  PostMessageA(main_, WM_COMMAND, MAKEWPARAM(command, 0), 0);
  settle();
}

void Session::closeBox(HWND window) {
  PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
  settle();
}

void Session::focus(HWND window, int control) {
  PostMessageA(window, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(window, control)), TRUE);
  settle();
}

void Session::pressKeys(HWND window, std::initializer_list<WORD> chord) {
  SetForegroundWindow(window);
  eventually(GetForegroundWindow, window, 1000);
  std::vector<INPUT> inputs;
  for (WORD key : chord) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    inputs.push_back(input);
  }
  for (auto it = chord.end(); it != chord.begin();) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = *--it;
    input.ki.dwFlags = KEYEVENTF_KEYUP;
    inputs.push_back(input);
  }
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
  settle();
}

void Session::settle() {
  // A repaint is handed to the program only when no message or key queued
  // before it is left, so once this corner of the main window is valid again
  // the program has handled them all (and painted the windows above it).
  RECT corner = {0, 0, 1, 1};
  InvalidateRect(main_, &corner, FALSE);
  const bool stuck = eventually([this] { return GetUpdateRect(main_, nullptr, FALSE) != FALSE; }, false);
  if (stuck) return;
  // Wine copies the windows to the screen before the program next waits for
  // a message, which is when WaitForInputIdle returns. (Called first, it can
  // return before a posted message is handled.)
  if (IsWindow(main_)) WaitForInputIdle(process_.hProcess, static_cast<DWORD>(kPatience));
}

std::vector<HWND> Session::windows() const {
  Search search = {process_.dwProcessId, nullptr, {}};
  EnumWindows(collect, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND Session::findWindow(const std::string& wanted) const {
  Search search = {process_.dwProcessId, &wanted, {}};
  EnumWindows(collect, reinterpret_cast<LPARAM>(&search));
  return search.found.empty() ? nullptr : search.found.front();
}

HWND Session::waitForWindow(const std::string& wanted, int milliseconds) const {
  HWND found = nullptr;
  eventually(
      [&] {
        found = findWindow(wanted);
        return found != nullptr || WaitForSingleObject(process_.hProcess, 0) == WAIT_OBJECT_0;
      },
      true, milliseconds);
  return found;
}

bool Session::waitUntilGone(HWND window, int milliseconds) const {
  return eventually([window] { return !IsWindow(window) || !IsWindowVisible(window); }, true, milliseconds);
}

DWORD Session::exitCode(int milliseconds) {
  WaitForSingleObject(process_.hProcess, static_cast<DWORD>(milliseconds));
  DWORD code = STILL_ACTIVE;
  GetExitCodeProcess(process_.hProcess, &code);
  return code;
}

std::string text(HWND window, int control) {
  HWND child = GetDlgItem(window, control);
  std::string t(static_cast<std::size_t>(SendMessageA(child, WM_GETTEXTLENGTH, 0, 0)) + 1, '\0');
  SendMessageA(child, WM_GETTEXT, t.size(), reinterpret_cast<LPARAM>(&t[0]));
  t.resize(t.size() - 1);
  return t;
}

std::ostream& operator<<(std::ostream& out, PictureColour colour) {
  const char* const names[] = {"no colour", "green", "red"};
  return out << names[static_cast<int>(colour)];
}

std::string caption(HWND window) {
  char t[256] = {};
  GetWindowTextA(window, t, sizeof t);
  return t;
}

std::vector<std::string> staticTexts(HWND window) {
  std::vector<std::string> texts;
  EnumChildWindows(window, collectStatic, reinterpret_cast<LPARAM>(&texts));
  return texts;
}

PictureColour pictureColour(HWND window, int control) {
  RECT r;
  GetWindowRect(GetDlgItem(window, control), &r);
  int width = 0;
  int height = 0;
  const std::vector<unsigned char> pixels = grab(r, width, height);
  const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) & ~static_cast<std::size_t>(3);
  int green = 0;
  int red = 0;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const unsigned char* p = &pixels[static_cast<std::size_t>(y) * stride + static_cast<std::size_t>(x) * 3];
      const int b = p[0], g = p[1], rd = p[2];
      if (g > rd + 60 && g > b + 60) ++green;
      if (rd > g + 60 && rd > b + 60) ++red;
    }
  }
  const int enough = width * height / 20;
  if (green > enough && green > red) return PictureColour::Green;
  if (red > enough && red > green) return PictureColour::Red;
  return PictureColour::None;
}

bool showsProgramIcon(HWND window) {
  // The icon's yellow gun sight over its blue planet, in the caption's corner.
  RECT r;
  GetWindowRect(window, &r);
  r.right = r.left + 32;
  r.bottom = r.top + 32;
  int width = 0;
  int height = 0;
  const std::vector<unsigned char> pixels = grab(r, width, height);
  const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) & ~static_cast<std::size_t>(3);
  int yellow = 0;
  int blue = 0;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const unsigned char* p = &pixels[static_cast<std::size_t>(y) * stride + static_cast<std::size_t>(x) * 3];
      if (p[2] > 180 && p[1] > 180 && p[0] < 100) ++yellow;
      if (p[0] > 180 && p[1] < 80 && p[2] < 80) ++blue;
    }
  }
  return yellow >= 3 && blue >= 10;
}

void saveScreenshot(HWND window, const std::string& name) {
  const std::string directory = screenshotDirectory();
  if (directory.empty()) return;
  RECT r;
  GetWindowRect(window, &r);
  int width = 0;
  int height = 0;
  const std::vector<unsigned char> pixels = grab(r, width, height);
  if (pixels.empty()) return;
  BITMAPFILEHEADER file = {};
  BITMAPINFOHEADER info = {};
  info.biSize = sizeof info;
  info.biWidth = width;
  info.biHeight = -height;
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biSizeImage = static_cast<DWORD>(pixels.size());
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = file.bfOffBits + info.biSizeImage;
  const std::string path = directory + "\\" + name + ".bmp";
  if (FILE* out = std::fopen(path.c_str(), "wb")) {
    std::fwrite(&file, sizeof file, 1, out);
    std::fwrite(&info, sizeof info, 1, out);
    std::fwrite(pixels.data(), 1, pixels.size(), out);
    std::fclose(out);
  }
}

}  // namespace e2e
