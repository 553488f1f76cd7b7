#pragma once

// Drives a running Brawlwise.exe from another process, as a person would:
// typing into boxes, choosing list items, ticking boxes, clicking buttons and
// menu items, pressing keys, and reading back what the windows show.
#include <windows.h>

#include <initializer_list>
#include <ostream>
#include <string>
#include <vector>

namespace e2e {

// Where the program and its pictures are, from the environment the runner sets.
std::string programPath();
std::string workingDirectory();
std::string screenshotDirectory();

// The colour that dominates a picture: its tick or its cross, or nothing.
enum class PictureColour { None, Green, Red };
std::ostream& operator<<(std::ostream& out, PictureColour colour);

// How long a check waits for the program to show what it expects.
constexpr int kPatience = 5000;

// Reads `read()` until it gives `expected` or `milliseconds` have passed, and
// gives the last value read, so that EXPECT_EQ(eventually(read, x), x) fails
// with what the program last showed.
template <typename Read, typename Expected>
auto eventually(Read read, const Expected& expected, int milliseconds = kPatience) {
  const DWORD start = GetTickCount();
  for (;;) {
    auto seen = read();
    if (seen == expected || GetTickCount() - start >= static_cast<DWORD>(milliseconds)) return seen;
    Sleep(5);
  }
}

class Session {
 public:
  // Starts the program in `directory` and waits for its main window.
  explicit Session(const std::string& directory = workingDirectory());
  ~Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  HWND main() const { return main_; }
  HANDLE process() const { return process_.hProcess; }

  // The main window's controls.
  void type(int box, const std::string& text);     // replaces the text, then types nothing more
  void typeKeys(int box, const std::string& text);  // one character at a time, as keys are pressed
  void choose(int list, const std::string& item);
  void tick(int box, bool on = true);
  bool ticked(int box) const;
  int listCount(int list) const;
  int listSelection(int list) const;
  std::string listItem(int list, int index) const;

  // Presses a push button of `window` and lets the program work; press()
  // does not wait.
  void click(HWND window, int button);
  void press(HWND window, int button);
  void menu(int command);
  void closeBox(HWND window);
  void pressKeys(HWND window, std::initializer_list<WORD> chord);
  void focus(HWND window, int control);
  // Returns once the program has handled all that was sent to it and put
  // what that changed on the screen, or after kPatience.
  void settle();

  // A visible window of the program with this caption, once it appears.
  HWND waitForWindow(const std::string& caption, int milliseconds = 10000) const;
  HWND findWindow(const std::string& caption) const;
  std::vector<HWND> windows() const;
  bool waitUntilGone(HWND window, int milliseconds = 10000) const;

  // Waits for the program to end and gives its exit code (STILL_ACTIVE if it did not).
  DWORD exitCode(int milliseconds = 10000);

 private:
  PROCESS_INFORMATION process_ = {};
  HWND main_ = nullptr;
};

std::string text(HWND window, int control);
std::string caption(HWND window);
std::vector<std::string> staticTexts(HWND window);
PictureColour pictureColour(HWND window, int control);
bool showsProgramIcon(HWND window);
void saveScreenshot(HWND window, const std::string& name);

}  // namespace e2e
