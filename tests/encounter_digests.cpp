// Runs a fixed series of random encounters through the core as the windows
// use it (the main window's controls, Calculate, the Results window, SSS and
// the statistics window) and prints, for each block of them, one FNV-1a 64
// digest of every text and figure that those windows show. Every build of
// the core, at any optimisation level and on any platform, must print the
// same lines: the inputs come from the program's own generator and integer
// formatting, never from the C library.
//
// Usage: brawlwise_encounter_digests [BLOCKS]   one line a block: "block N: DIGEST"
//        brawlwise_encounter_digests --texts N  each input and text of block N, one a line
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/ControlNumbers.h"
#include "core/Encounter.h"
#include "core/MainWindowRules.h"
#include "core/WindowTexts.h"

namespace {

constexpr long kEncountersPerBlock = 1000;
constexpr long kDefaultBlocks = 100;

// SplitMix64: the same numbers from every compiler and library.
class Random {
 public:
  std::uint64_t next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15u);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
    return z ^ (z >> 31);
  }
  // 0 to n - 1.
  int below(std::size_t n) { return static_cast<int>(next() % n); }
  bool chance(int percent) { return below(100) < percent; }

 private:
  std::uint64_t state_ = 20260214;
};

std::string decimal(std::uint64_t value) {
  std::string digits;
  do {
    digits.insert(digits.begin(), static_cast<char>('0' + value % 10));
    value /= 10;
  } while (value != 0);
  return digits;
}

std::string decimal(int value) {
  return value < 0 ? "-" + decimal(static_cast<std::uint64_t>(-static_cast<std::int64_t>(value)))
                   : decimal(static_cast<std::uint64_t>(value));
}

// A number of billionths as decimal text with `places` of its nine decimals.
std::string billionths(std::int64_t value, int places) {
  const std::uint64_t magnitude = static_cast<std::uint64_t>(value < 0 ? -value : value);
  std::string text = (value < 0 ? "-" : "") + decimal(magnitude / 1000000000);
  if (places == 0) return text;
  return text + "." + decimal(magnitude % 1000000000 + 1000000000).substr(1, static_cast<std::size_t>(places));
}

// Statuses that the formulas below do not write.
const char* const kOddStatuses[] = {
    // Not numbers, infinities and the edges of single precision.
    "nan", "-nan", "inf", "-inf", "Infinity", "3.4028235e38", "3.4028234e38", "-3.4028235e38", "1e39", "-1e300",
    // Other forms of numbers, and text before or after them.
    "0x1p-3", "-0x1.8p1", "5Empty", "Empty", "abc", " 2.5", "\t-7", "1e-7", "-0", "+3", "1,5",
    "0.000000000000000000001", "99999999999999999999", "-9.9", "-9.90000001", "-4.99999999999", "10"};

// The thresholds and boundaries near which a status is written, in billionths.
const std::int64_t kNearStatuses[] = {-5000000000, -4500000000, -4000000000, -3500000000,  -3000000000,
                                      -2500000000, -2000000000, -9900000000, -10000000000, 0};

// At most the 29 characters that a status box keeps. Each draw is a statement
// of its own: compilers order the operands of one expression differently.
std::string statusText(Random& random) {
  const int kind = random.below(100);
  std::string text;
  if (kind < 8) return text;
  if (kind < 58) {
    const std::int64_t value = random.below(21000001) * std::int64_t{1000} - 10500000000;
    text = billionths(value, random.below(10));
  } else if (kind < 73) {
    std::int64_t offset = 1 + random.below(999);
    for (int k = random.below(7); k > 0; --k) offset *= 10;
    const std::int64_t near = kNearStatuses[random.below(sizeof kNearStatuses / sizeof kNearStatuses[0])];
    text = billionths(near + (random.chance(50) ? offset : -offset), 9);
  } else if (kind < 88) {
    text = kOddStatuses[random.below(sizeof kOddStatuses / sizeof kOddStatuses[0])];
  } else if (kind < 92) {
    // Far above the thresholds, up to the largest single-precision value: the
    // longest walks of the statistics window.
    text = decimal(1 + static_cast<std::uint64_t>(random.below(340282)));
    text += "e" + decimal(random.below(34));
  } else {
    text = random.chance(50) ? "-" : "";
    text += decimal(random.below(21));
    text += random.chance(50) ? "." : "";
    text += decimal(random.below(1000));
  }
  if (random.chance(5)) text = " " + text;
  if (random.chance(5)) text += "x";
  return text;
}

// The characters of a name, in code page 1252 as the boxes hold them: ASCII,
// accented letters, and bytes of 0x80 to 0x9F.
constexpr char kNameCharacters[] = "AnzQ -7_'?\xC6\xE9\x80\x8A\xFF\xD8";

// Up to the 29 characters that a name box keeps.
std::string nameText(Random& random) {
  std::string text;
  for (int length = random.below(30); length > 0; --length) {
    text += kNameCharacters[random.below(sizeof kNameCharacters - 1)];
  }
  return text;
}

// The main window's controls as a user left them.
class Controls final : public MainWindowControls {
 public:
  std::string boxes[4];  // in the order of kEditBoxes
  int location = -1;
  int security = -1;
  bool ticks[9] = {};  // in the order of kTickBoxes

  bool readText(int control, ControlText& out) override {
    for (int i = 0; i < 4; ++i) {
      if (kEditBoxes[i] != control) continue;
      out.assign(boxes[i]);
      return !boxes[i].empty();
    }
    const int choice = control == IDC_MAIN_LOCATION ? location : security;
    const std::size_t count = control == IDC_MAIN_LOCATION ? kLocationItemCount : kSystemSecurityItemCount;
    if (choice < 0 || static_cast<std::size_t>(choice) >= count) return false;
    out.assign(control == IDC_MAIN_LOCATION ? kLocationItems[choice] : kSystemSecurityItems[choice]);
    return true;
  }
  bool isTicked(int control) override {
    for (int i = 0; i < 9; ++i) {
      if (kTickBoxes[i].control == control) return ticks[i];
    }
    return false;
  }
  void writeText(int control, const char* text) override {
    for (int i = 0; i < 4; ++i) {
      if (kEditBoxes[i] == control) boxes[i] = text;
    }
  }
  // The lists always hold their items, so filling and emptying them is moot.
  void emptyList(int) override {}
  void addListItem(int, const char*) override {}
  void untick(int) override {}
};

// Every text and figure of the encounters, fed to a digest and, when shown,
// written out one a line (bytes below 0x20 and above 0x7E as \xNN).
class Sink {
 public:
  explicit Sink(bool show) : show_(show) {}
  void start(long encounter) { encounter_ = encounter; }
  void text(const char* label, int control, const std::string& value) {
    for (char c : value) add(static_cast<unsigned char>(c));
    add(0);
    if (!show_) return;
    std::printf("encounter %ld %s", encounter_, label);
    if (control != 0) std::printf(" %d", control);
    std::fputs(": ", stdout);
    for (char c : value) {
      const auto byte = static_cast<unsigned char>(c);
      if (byte < 0x20 || byte > 0x7E || byte == '\\') {
        std::printf("\\x%02X", byte);
      } else {
        std::putchar(c);
      }
    }
    std::putchar('\n');
  }
  void figure(const char* label, int value) { text(label, 0, decimal(value)); }
  // The digest so far in hexadecimal, and a fresh start.
  std::string take() {
    std::string hex(16, '0');
    for (std::size_t i = 16; i-- > 0; digest_ >>= 4) hex[i] = "0123456789abcdef"[digest_ & 15];
    digest_ = kOffsetBasis;
    return hex;
  }

 private:
  static constexpr std::uint64_t kOffsetBasis = 0xCBF29CE484222325u;
  void add(unsigned char byte) { digest_ = (digest_ ^ byte) * 0x100000001B3u; }
  bool show_;
  long encounter_ = 0;
  std::uint64_t digest_ = kOffsetBasis;
};

void runEncounter(Random& random, Controls& controls, Sink& sink) {
  controls.boxes[0] = random.chance(15) ? std::string() : nameText(random);
  controls.boxes[1] = random.chance(15) ? std::string() : nameText(random);
  controls.boxes[2] = statusText(random);
  controls.boxes[3] = statusText(random);
  // Mostly an item; sometimes none.
  controls.location = random.chance(5) ? -1 : random.below(kLocationItemCount);
  controls.security = random.chance(5) ? -1 : random.below(kSystemSecurityItemCount);
  for (bool& tick : controls.ticks) tick = random.chance(25);
  for (int i = 0; i < 4; ++i) sink.text("typed", kEditBoxes[i], controls.boxes[i]);
  sink.figure("location", controls.location);
  sink.figure("security", controls.security);
  for (int i = 0; i < 9; ++i) sink.text("ticked", kTickBoxes[i].control, controls.ticks[i] ? "1" : "0");

  const char* refusal = calculate(controls, theEncounter);
  sink.text("refusal", IDD_MAIN, refusal != nullptr ? refusal : "");
  sink.text("name", IDC_MAIN_PLAYER1_NAME, controls.boxes[0]);
  sink.text("name", IDC_MAIN_PLAYER2_NAME, controls.boxes[1]);
  if (refusal == nullptr) {
    ResultsWindowTexts results;
    composeResultsWindow(theEncounter, results);
    for (int box : kResultsBoxes) sink.text("results", box, resultsWindowText(results, box));
    sink.figure("verdict", resultsWindowVerdict(results));
  }
  // A statistics window walks a status down a thousand times or more (up to
  // 18,160 for the largest), so one encounter in twenty opens one.
  if (random.chance(5)) {
    const int player = random.below(2);
    capturePlayer(controls, theEncounter.scenario, player);
    StatisticsTexts statistics;
    composeStatistics(theEncounter.scenario, statistics);
    sink.figure("statistics of player", player);
    sink.text("statistics", IDD_STATISTICS, statisticsWindowText(statistics, IDD_STATISTICS));
    for (int box : kStatisticsBoxes) sink.text("statistics", box, statisticsWindowText(statistics, box));
  }
}

}  // namespace

int main(int argc, char** argv) {
  const bool texts = argc == 3 && std::strcmp(argv[1], "--texts") == 0;
  if (argc > 2 && !texts) {
    std::fputs("usage: brawlwise_encounter_digests [BLOCKS] | --texts BLOCK\n", stderr);
    return 2;
  }
  const long chosen = argc >= 2 ? std::strtol(argv[argc - 1], nullptr, 10) : kDefaultBlocks;
  const long blocks = texts ? chosen + 1 : chosen;
  Random random;
  Controls controls;
  Sink quiet(false);
  Sink shown(true);
  for (long block = 0; block < blocks; ++block) {
    Sink& sink = texts && block == chosen ? shown : quiet;
    for (long i = 0; i < kEncountersPerBlock; ++i) {
      sink.start(block * kEncountersPerBlock + i);
      runEncounter(random, controls, sink);
    }
    const std::string digest = sink.take();
    if (!texts) std::printf("block %ld: %s\n", block, digest.c_str());
  }
  return 0;
}
