#include "web/PageInterface.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/MainWindowRules.h"
#include "core/ControlNumbers.h"
#include "core/SecuritySentences.h"
#include "core/ResultSet.h"
#include "core/SecurityArithmetic.h"
#include "core/StandingCounts.h"

namespace {

// Code page 1252 from 0x80 to 0x9F; 0 where the byte stands for the Unicode
// character of the same number (the five bytes that 1252 leaves undefined).
constexpr char16_t kHighControls[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char32_t unicodeOf(unsigned char byte) {
  if (byte < 0x80 || byte >= 0xA0 || kHighControls[byte - 0x80] == 0) return byte;
  return kHighControls[byte - 0x80];
}

char codePage1252Of(char32_t character) {
  for (unsigned byte = 0x80; byte < 0xA0; ++byte) {
    if (unicodeOf(static_cast<unsigned char>(byte)) == character) return static_cast<char>(byte);
  }
  if (character < 0x80 || (character >= 0xA0 && character <= 0xFF)) return static_cast<char>(character);
  return '?';
}

// The character that starts `text`, and how many bytes it takes; a byte that
// does not start a well-formed UTF-8 sequence counts as one character that
// 1252 lacks.
struct Decoded {
  char32_t character;
  std::size_t length;
};
constexpr char32_t kNotUnicode = 0xFFFD;

Decoded decodeUtf8(std::string_view text) {
  const auto byte = [&text](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(0);
  if (lead < 0x80) return {lead, 1};
  std::size_t length = 0;
  char32_t character = 0;
  char32_t smallest = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, character = lead & 0x1Fu, smallest = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, character = lead & 0x0Fu, smallest = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, character = lead & 0x07u, smallest = 0x10000;
  } else {
    return {kNotUnicode, 1};
  }
  if (text.size() < length) return {kNotUnicode, 1};
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(i) & 0xC0u) != 0x80u) return {kNotUnicode, 1};
    character = (character << 6) | (byte(i) & 0x3Fu);
  }
  if (character < smallest || character > 0x10FFFF || (character >= 0xD800 && character <= 0xDFFF)) {
    return {kNotUnicode, 1};
  }
  return {character, length};
}

// Replaces `out` with the first characters of `utf8` (up to a zero byte) in
// code page 1252, as many as `out` holds.
template <std::size_t Width>
void assignFromUtf8(std::string_view utf8, FixedText<Width>& out) {
  out.clear();
  for (std::size_t count = 0; !utf8.empty() && utf8.front() != '\0' && count < out.kMaxLength; ++count) {
    const Decoded d = decodeUtf8(utf8);
    const char converted = codePage1252Of(d.character);
    out.append(std::string_view(&converted, 1));
    utf8.remove_prefix(d.length);
  }
}

// Wide enough for the longest result line with every byte taking three.
FixedText<ResultLine::kWidth * 3> output;

const char* handOut(std::string_view codePage1252) {
  output.clear();
  for (char c : codePage1252) {
    const char32_t u = unicodeOf(static_cast<unsigned char>(c));
    char bytes[3];
    std::size_t length = 1;
    if (u < 0x80) {
      bytes[0] = static_cast<char>(u);
    } else if (u < 0x800) {
      bytes[0] = static_cast<char>(0xC0 | (u >> 6));
      bytes[1] = static_cast<char>(0x80 | (u & 0x3F));
      length = 2;
    } else {
      bytes[0] = static_cast<char>(0xE0 | (u >> 12));
      bytes[1] = static_cast<char>(0x80 | ((u >> 6) & 0x3F));
      bytes[2] = static_cast<char>(0x80 | (u & 0x3F));
      length = 3;
    }
    output.append(std::string_view(bytes, length));
  }
  return output.c_str();
}

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
SecuritySentences sentences;
StatisticsTexts statistics;

// What a window shows in one of its controls.
struct ShownText {
  int control;
  std::string_view (*text)();
};

const ShownText kResultsTexts[] = {
    {IDC_RESULTS_LINE1, [] { return theResults.resultLine1.view(); }},
    {IDC_RESULTS_LINE2, [] { return theResults.resultLine2.view(); }},
    {IDC_RESULTS_LINE3, [] { return theResults.resultLine3.view(); }},
    {IDC_RESULTS_LINE4, [] { return theResults.resultLine4.view(); }},
    {IDC_RESULTS_AGGRESSION, [] { return sentences.aggression.view(); }},
    {IDC_RESULTS_AGGRESSION_SHIPKILL, [] { return sentences.aggressionShipkill.view(); }},
    {IDC_RESULTS_AGGRESSION_SHIPKILL_PODKILL, [] { return sentences.aggressionShipkillPodkill.view(); }},
};

// The statistics window leaves its boxes empty when the status has no count.
template <std::size_t Width>
std::string_view countBox(const FixedText<Width>& text) {
  return statistics.filled == 1 ? text.view() : std::string_view();
}

const ShownText kStatisticsTexts[] = {
    {IDD_STATISTICS, [] { return statistics.title.view(); }},
    {IDC_STATISTICS_A_OUTLAW, [] { return countBox(statistics.aggressionsUntilOutlaw); }},
    {IDC_STATISTICS_AS_OUTLAW, [] { return countBox(statistics.aggressionShipkillsUntilOutlaw); }},
    {IDC_STATISTICS_ASP_OUTLAW, [] { return countBox(statistics.aggressionShipkillPodkillsUntilOutlaw); }},
    {IDC_STATISTICS_A_BOTTOM, [] { return countBox(statistics.aggressionsUntilBottom); }},
    {IDC_STATISTICS_AS_BOTTOM, [] { return countBox(statistics.aggressionShipkillsUntilBottom); }},
    {IDC_STATISTICS_ASP_BOTTOM, [] { return countBox(statistics.aggressionShipkillPodkillsUntilBottom); }},
    {IDC_STATISTICS_TRAVEL, [] { return countBox(statistics.travelSentence); }},
};

template <std::size_t Count>
std::string_view shownText(const ShownText (&table)[Count], int control) {
  for (const ShownText& shown : table) {
    if (shown.control == control) return shown.text();
  }
  return {};
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
  assignFromUtf8(std::string_view(textBuffer, size < sizeof textBuffer ? size : sizeof textBuffer), box->text);
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
  const char* refused = calculate(controls, theScenario, theResults, theProjection);
  refusal = refused != nullptr ? refused : "";
  if (refused != nullptr) return 1;
  markSecurityUnchanged(theScenario, theProjection);
  composeSecuritySentences(theScenario, theProjection, sentences);
  return 0;
}

void bw_statistics(int player) {
  startCommand();
  capturePlayer(controls, theScenario, player == 0 ? 0 : 1);
  composeStatistics(theScenario, statistics);
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

const char* bw_results_text(int control) { return handOut(shownText(kResultsTexts, control)); }

int bw_verdict() { return theResults.verdict; }

const char* bw_statistics_text(int control) { return handOut(shownText(kStatisticsTexts, control)); }

}  // extern "C"
