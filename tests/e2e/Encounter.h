#pragma once

#include <string>
#include <vector>

#include "BrawlwiseDriver.h"
#include "core/ControlNumbers.h"

namespace e2e {

// One encounter as a person would enter it in the main window; empty texts
// leave their box or list untouched.
struct Encounter {
  std::string player1Name;
  std::string player2Name;
  std::string player1Status;
  std::string player2Status;
  std::string location = "Gate";
  std::string security = "0.5";
  std::vector<int> ticks;
};

inline void describe(Session& s, const Encounter& e) {
  s.type(IDC_MAIN_PLAYER1_NAME, e.player1Name);
  s.type(IDC_MAIN_PLAYER2_NAME, e.player2Name);
  s.type(IDC_MAIN_PLAYER1_STATUS, e.player1Status);
  s.type(IDC_MAIN_PLAYER2_STATUS, e.player2Status);
  if (!e.location.empty()) s.choose(IDC_MAIN_LOCATION, e.location);
  if (!e.security.empty()) s.choose(IDC_MAIN_SYSTEM_SECURITY, e.security);
  for (int box : e.ticks) s.tick(box);
}

// Presses Calculate and gives the Results window, or null.
inline HWND calculate(Session& s) {
  s.click(s.main(), IDC_MAIN_CALCULATE);
  return s.waitForWindow("Results");
}

// Presses an SSS button and gives the statistics window, or null.
inline HWND statistics(Session& s, int button, const std::string& title) {
  s.click(s.main(), button);
  return s.waitForWindow(title);
}

}  // namespace e2e
