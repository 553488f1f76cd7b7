#include "web/PageInterface.h"

#include <cstddef>
#include <string_view>

#include "core/ControlNumbers.h"
#include "core/MainWindowRules.h"
#include "core/StandingCounts.h"
#include "core/WindowTexts.h"
#include "web/CodePage1252.h"

namespace {

// Four bytes are the most that one character takes in UTF-8.
char textBuffer[NameText::kMaxLength * 4];

// The main window's controls, as the page last reported them.
struct Box {
  int control;
  NameText text;
  bool changed;
};
Box boxes[] = {{IDC_MAIN_PLAYER1_NAME, {}, false},
               {IDC_MAIN_PLAYER2_NAME, {}, false},
               {IDC_MAIN_PLAYER1_STATUS, {}, false},
               {IDC_MAIN_PLAYER2_STATUS, {}, false}};

struct List {
  int control;
  const char* items[kSystemSecurityItemCount];
  int count;
  int choice;
};
List lists[] = {{IDC_MAIN_LOCATION, {}, 0, -1}, {IDC_MAIN_SYSTEM_SECURITY, {}, 0, -1}};

bool ticks[sizeof kTickBoxes / sizeof kTickBoxes[0]];

Box* findBox(int control) {
  for (Box& box : boxes) {
    if (box.control == control) return &box;
  }
  return nullptr;
}

List* findList(int control) {
  for (List& list : lists) {
    if (list.control == control) return &list;
  }
  return nullptr;
}

bool* findTick(int control) {
  for (std::size_t i = 0; i < sizeof ticks / sizeof ticks[0]; ++i) {
    if (kTickBoxes[i].control == control) return &ticks[i];
  }
  return nullptr;
}

class PageControls final : public MainWindowControls {
 public:
  bool readText(int control, ControlText& out) override {
    if (const Box* box = findBox(control)) {
      if (box->text.empty()) return false;
      out.assign(box->text.view());
      return true;
    }
    const List* list = findList(control);
    if (list == nullptr || list->choice < 0 || list->choice >= list->count) return false;
    out.assign(list->items[list->choice]);
    return true;
  }
  bool isTicked(int control) override {
    const bool* tick = findTick(control);
    return tick != nullptr && *tick;
  }
  void writeText(int control, const char* text) override {
    if (Box* box = findBox(control)) {
      box->text.assign(text);
      box->changed = true;
    }
  }
  void emptyList(int control) override {
    if (List* list = findList(control)) list->count = 0, list->choice = -1;
  }
  void addListItem(int control, const char* item) override {
    List* list = findList(control);
    if (list != nullptr && list->count < static_cast<int>(kSystemSecurityItemCount)) list->items[list->count++] = item;
  }
  void untick(int control) override {
    if (bool* tick = findTick(control)) *tick = false;
  }
};

PageControls controls;
const char* refusal = "";
ResultsWindowTexts results;
StatisticsTexts statistics;

// Each text handed out, in UTF-8; wide enough for the longest result line
// with every character taking three bytes.
FixedText<ResultLine::kWidth * 3> output;

const char* handOut(std::string_view codePage1252) {
  assignUtf8From1252(codePage1252, output);
  return output.c_str();
}

// The main window as it opens: both lists filled, nothing chosen.
void open() {
  static bool opened = false;
  if (opened) return;
  opened = true;
  fillChoiceLists(controls);
}

// A command starts with no box written.
void startCommand() {
  open();
  for (Box& box : boxes) box.changed = false;
}

}  // namespace

extern "C" {

char* bw_text_buffer() { return textBuffer; }
int bw_text_buffer_size() { return static_cast<int>(sizeof textBuffer); }

void bw_set_text(int control, int length) {
  Box* box = findBox(control);
  if (box == nullptr) return;
  const std::size_t size = length <= 0 ? 0 : static_cast<std::size_t>(length);
  assign1252FromUtf8(std::string_view(textBuffer, size < sizeof textBuffer ? size : sizeof textBuffer), box->text);
}

void bw_set_choice(int control, int index) {
  open();
  if (List* list = findList(control)) list->choice = index >= 0 && index < list->count ? index : -1;
}

void bw_set_tick(int control, int value) {
  if (bool* tick = findTick(control)) *tick = value == 1;
}

int bw_calculate() {
  startCommand();
  const char* refused = calculate(controls, theEncounter);
  refusal = refused != nullptr ? refused : "";
  if (refused != nullptr) return 1;
  composeResultsWindow(theEncounter, results);
  return 0;
}

void bw_statistics(int player) {
  startCommand();
  capturePlayer(controls, theEncounter.scenario, player == 0 ? 0 : 1);
  composeStatistics(theEncounter.scenario, statistics);
}

void bw_clear() {
  startCommand();
  clearInputs(controls);
}

const char* bw_box_text(int control) {
  const Box* box = findBox(control);
  return handOut(box != nullptr ? box->text.view() : std::string_view());
}

int bw_box_changed(int control) {
  const Box* box = findBox(control);
  return box != nullptr && box->changed ? 1 : 0;
}

int bw_list_count(int control) {
  open();
  const List* list = findList(control);
  return list != nullptr ? list->count : 0;
}

const char* bw_list_item(int control, int index) {
  open();
  const List* list = findList(control);
  const bool inRange = list != nullptr && index >= 0 && index < list->count;
  return handOut(inRange ? list->items[index] : "");
}

int bw_choice(int control) {
  open();
  const List* list = findList(control);
  return list != nullptr ? list->choice : -1;
}

int bw_ticked(int control) {
  const bool* tick = findTick(control);
  return tick != nullptr && *tick ? 1 : 0;
}

const char* bw_refusal() { return handOut(refusal); }
const char* bw_refusal_caption() { return handOut(kRefusalCaption); }

const char* bw_results_text(int control) { return handOut(resultsWindowText(results, control)); }

int bw_verdict() { return resultsWindowVerdict(results); }

const char* bw_statistics_text(int control) { return handOut(statisticsWindowText(statistics, control)); }

}  // extern "C"
