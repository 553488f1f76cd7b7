#pragma once

// What the main window decides, apart from the platform that shows it: the
// items of its two lists, how its controls are captured into the scenario
// record, the default names and when they are written back, the refusals of
// Calculate, and what Clear empties. A front end hands over its controls
// through MainWindowControls and only shows what comes back.
#include <cstddef>
#include <cstdint>

#include "core/Encounter.h"

// The items of the location list (1004) and of the system security list
// (1005), in their order.
inline constexpr const char* kLocationItems[] = {"Gate", "Station", "Other"};
inline constexpr const char* kSystemSecurityItems[] = {"1.0", "0.9", "0.8", "0.7", "0.6", "0.5",
                                                       "0.4", "0.3", "0.2", "0.1", "0.0"};
inline constexpr std::size_t kLocationItemCount = sizeof kLocationItems / sizeof kLocationItems[0];
inline constexpr std::size_t kSystemSecurityItemCount = sizeof kSystemSecurityItems / sizeof kSystemSecurityItems[0];

// A tick-box and the flag of the record that it fills.
struct TickBox {
  int control;
  std::int32_t ScenarioState::*flag;
};

// The nine tick-boxes, in the order of capture and of clearing.
extern const TickBox kTickBoxes[9];

// The four edit boxes, in the order of clearing: the two names, the two
// security statuses.
extern const int kEditBoxes[4];

// The caption of the box that shows a refusal.
inline constexpr const char* kRefusalCaption = "Error";

// Wide enough for any control's text that a field of the record keeps.
using ControlText = FixedText<70>;

// The main window's controls as a front end holds them, by control number.
class MainWindowControls {
 public:
  // Replaces `out` with the text of an edit box, or of a list's chosen item
  // (as much as fits). Returns false when the box is empty or the list has
  // no choice.
  virtual bool readText(int control, ControlText& out) = 0;
  // True when the tick-box is ticked.
  virtual bool isTicked(int control) = 0;
  // Replaces the text of an edit box.
  virtual void writeText(int control, const char* text) = 0;
  // Removes every item, and with them the choice, from a list.
  virtual void emptyList(int control) = 0;
  // Adds an item at the end of a list.
  virtual void addListItem(int control, const char* item) = 0;
  // Unticks a tick-box.
  virtual void untick(int control) = 0;

 protected:
  ~MainWindowControls() = default;
};

// Fills both lists with their items, in order, choosing none.
void fillChoiceLists(MainWindowControls& controls);

// Calculate: empties the encounter's result lines, captures every control
// into its scenario (storing the empty marker for an empty list or status box, and
// writing the default name back into an empty name box), then refuses when
// the location or else the system security was not given. Returns the
// refusal's text, or null when the consequences and the projection were
// written and the Results window may open.
const char* calculate(MainWindowControls& controls, Encounter& encounter);

// SSS for player 0 or 1: captures that player's security status and name
// (the default name is not written back) and makes them the statistics'
// subject. Nothing else changes.
void capturePlayer(MainWindowControls& controls, ScenarioState& scenario, std::int32_t player);

// Clear: empties the four edit boxes, refills both lists with no choice, and
// unticks the nine tick-boxes. The records are not touched.
void clearInputs(MainWindowControls& controls);
