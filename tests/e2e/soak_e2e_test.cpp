// A soak of the real program: many calculations and statistics windows with
// varied inputs (long names, odd security texts among them). Every window
// must show what the core computes for the same entries, appear promptly,
// and leave the program's memory (and, where reported, its GDI and USER
// objects) as flat at the end as at the start. Results windows with 32-bit
// pictures must leave it as flat.
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which it needs.
#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "Encounter.h"
#include "core/ScenarioState.h"
#include "core/SecuritySentences.h"
#include "core/ConsequenceRules.h"
#include "core/StandingCounts.h"

namespace e2e {
namespace {

int fromEnvironment(const char* name, int fallback) {
  const char* value = std::getenv(name);
  return value != nullptr && std::atoi(value) > 0 ? std::atoi(value) : fallback;
}

const int kTickBoxes[] = {IDC_MAIN_SAME_CORPORATION,    IDC_MAIN_SAME_ALLIANCE,       IDC_MAIN_SAME_GANG,
                          IDC_MAIN_WARRING_CORPS,       IDC_MAIN_CONCORD,             IDC_MAIN_FLAGGED_TO_PLAYER1,
                          IDC_MAIN_FLAGGED_TO_CORPMATE, IDC_MAIN_FLAGGED_TO_GANGMATE, IDC_MAIN_KILLRIGHTS};

struct Entries {
  std::string names[2];
  std::string statuses[2];
  std::string location;
  std::string security;
  unsigned ticks;
};

Entries varied(std::mt19937& random) {
  static const char* const names[] = {"", "Ann", "Bob", "  ", "Player 1s", "ZZZZZZZZZZZZZZZZZZZZZZZZZZZZZ",
                                      "A name far longer than the twenty-nine that fit"};
  static const char* const statuses[] = {
      "",      "5",      "-4.99",         "-5",           "-9.9",          "10",   "nan",    "inf",
      "-inf",  "1e300",  "-1e39",         "3.4028235e38", "Empty",         "5Empty", "abc",   " -0.5",
      "0x1p-3", "-9.98", "5.680743",      "12345678901234567890123456789", "-99999999999", "3000000000", "-10.000000"};
  static const char* const locations[] = {"Gate", "Station", "Other"};
  static const char* const securities[] = {"1.0", "0.9", "0.8", "0.7", "0.6", "0.5",
                                           "0.4", "0.3", "0.2", "0.1", "0.0"};
  const auto pick = [&random](std::size_t count) { return static_cast<std::size_t>(random() % count); };
  Entries e;
  for (std::string& name : e.names) name = names[pick(std::size(names))];
  for (std::string& status : e.statuses) {
    if (random() % 3 == 0) {
      char text[32];
      std::snprintf(text, sizeof text, "%.3f", static_cast<double>(random() % 24001) / 1000.0 - 12.0);
      status = text;
    } else {
      status = statuses[pick(std::size(statuses))];
    }
  }
  e.location = locations[pick(3)];
  e.security = securities[pick(11)];
  e.ticks = static_cast<unsigned>(random()) & 0x1FFu & static_cast<unsigned>(random());
  return e;
}

void enter(Session& s, const Entries& e) {
  s.type(IDC_MAIN_PLAYER1_NAME, e.names[0]);
  s.type(IDC_MAIN_PLAYER2_NAME, e.names[1]);
  s.type(IDC_MAIN_PLAYER1_STATUS, e.statuses[0]);
  s.type(IDC_MAIN_PLAYER2_STATUS, e.statuses[1]);
  s.choose(IDC_MAIN_LOCATION, e.location);
  s.choose(IDC_MAIN_SYSTEM_SECURITY, e.security);
  for (int i = 0; i < 9; ++i) s.tick(kTickBoxes[i], ((e.ticks >> i) & 1u) != 0);
}

// What the capture stores for these entries.
ScenarioState captured(const Entries& e, std::int32_t subject) {
  ScenarioState s;
  s.player1Name.assign(e.names[0].empty() ? "Player 1" : e.names[0]);
  s.player2Name.assign(e.names[1].empty() ? "Player 2" : e.names[1]);
  s.player1SecurityText.assign(e.statuses[0].empty() ? kEmptyMarker : e.statuses[0]);
  s.player2SecurityText.assign(e.statuses[1].empty() ? kEmptyMarker : e.statuses[1]);
  s.locationText.assign(e.location);
  s.systemSecurityText.assign(e.security);
  std::int32_t* const flags[] = {&s.sameCorporation,   &s.sameAlliance,      &s.sameGang,
                                 &s.warringCorps,      &s.concordFlag,       &s.flaggedToPlayer1,
                                 &s.flaggedToCorpmate, &s.flaggedToGangmate, &s.hasKillrights};
  for (int i = 0; i < 9; ++i) *flags[i] = static_cast<std::int32_t>((e.ticks >> i) & 1u);
  s.statsSubject = subject;
  return s;
}

struct Sample {
  SIZE_T privateBytes;
  DWORD gdiObjects;
  DWORD userObjects;
};

std::string readFile(const std::string& path) {
  std::string content;
  if (FILE* file = std::fopen(path.c_str(), "rb")) {
    char chunk[4096];
    for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, file)) > 0;) content.append(chunk, n);
    std::fclose(file);
  }
  return content;
}

// Under Wine another process's memory counters read as zero; the Linux
// process behind it tells its anonymous resident memory instead, through the
// drive that Wine maps to the root of the file system.
std::string linuxStatusOfProgram() {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA("Z:\\proc\\*", &found);
  if (search == INVALID_HANDLE_VALUE) return "";
  std::string status;
  do {
    const std::string name = found.cFileName;
    if (name.find_first_not_of("0123456789") != std::string::npos) continue;
    const std::string commandLine = readFile("Z:\\proc\\" + name + "\\cmdline");
    // Wine names the process by its Windows path; the scripts that started
    // the run name it by a Linux one.
    if (commandLine.find("\\Brawlwise.exe") != std::string::npos) status = "Z:\\proc\\" + name + "\\status";
  } while (status.empty() && FindNextFileA(search, &found));
  FindClose(search);
  return status;
}

SIZE_T anonymousResidentBytes(const std::string& status) {
  const std::string content = readFile(status);
  const std::size_t at = content.find("RssAnon:");
  return at == std::string::npos ? 0 : static_cast<SIZE_T>(std::atol(content.c_str() + at + 8)) * 1024;
}

Sample measure(HANDLE process, const std::string& linuxStatus) {
  PROCESS_MEMORY_COUNTERS_EX memory = {};
  memory.cb = sizeof memory;
  GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory);
  const SIZE_T bytes = memory.PrivateUsage != 0 ? memory.PrivateUsage : anonymousResidentBytes(linuxStatus);
  return {bytes, GetGuiResources(process, GR_GDIOBJECTS), GetGuiResources(process, GR_USEROBJECTS)};
}

double meanPrivateBytes(std::vector<Sample>::const_iterator first, std::vector<Sample>::const_iterator last) {
  double sum = 0;
  for (auto it = first; it != last; ++it) sum += static_cast<double>(it->privateBytes);
  return sum / static_cast<double>(last - first);
}

// The soak's first and last sample, for the check of the object counts.
std::vector<Sample> soakObjectCounts;

double elapsedMilliseconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - since).count();
}

TEST(Soak, ManyWindowsStayCorrectResponsiveAndFlat) {
  const int calculations = fromEnvironment("BRAWLWISE_SOAK_CALCULATIONS", 200);
  const int statisticsWindows = fromEnvironment("BRAWLWISE_SOAK_STATISTICS", 50);
  const int statisticsEvery = std::max(1, calculations / statisticsWindows);
  Session s;
  const std::string linuxStatus = linuxStatusOfProgram();
  std::mt19937 random(20261207);
  std::vector<Sample> samples;
  double slowest = 0;
  int opened = 0;
  int statisticsOpened = 0;
  for (int i = 0; i < calculations; ++i) {
    const Entries e = varied(random);
    enter(s, e);
    const ScenarioState scenario = captured(e, 0);
    ResultSet results;
    evaluateConsequences(scenario, results);
    SecurityProjection projection;
    projectSecurity(scenario, projection);
    SecuritySentences sentences;
    markSecurityUnchanged(scenario, projection);
    composeSecuritySentences(scenario, projection, sentences);

    const auto clicked = std::chrono::steady_clock::now();
    s.press(s.main(), IDC_MAIN_CALCULATE);
    HWND window = s.waitForWindow("Results", 5000);
    ASSERT_NE(window, nullptr) << "calculation " << i << " got no answer within 5 s";
    slowest = std::max(slowest, elapsedMilliseconds(clicked));
    // The texts are in place before the window first shows.
    ASSERT_EQ(text(window, IDC_RESULTS_LINE1), results.resultLine1.c_str()) << i;
    ASSERT_EQ(text(window, IDC_RESULTS_LINE2), results.resultLine2.c_str()) << i;
    ASSERT_EQ(text(window, IDC_RESULTS_LINE3), results.resultLine3.c_str()) << i;
    ASSERT_EQ(text(window, IDC_RESULTS_LINE4), results.resultLine4.c_str()) << i;
    ASSERT_EQ(text(window, IDC_RESULTS_AGGRESSION), sentences.aggression.c_str()) << i;
    ASSERT_EQ(text(window, IDC_RESULTS_AGGRESSION_SHIPKILL), sentences.aggressionShipkill.c_str()) << i;
    ASSERT_EQ(text(window, IDC_RESULTS_AGGRESSION_SHIPKILL_PODKILL), sentences.aggressionShipkillPodkill.c_str()) << i;
    s.press(window, IDC_RESULTS_CLOSE);
    ASSERT_TRUE(s.waitUntilGone(window, 5000)) << i;
    ++opened;

    if (i % statisticsEvery == 0 && statisticsOpened < statisticsWindows) {
      const std::int32_t subject = (i / statisticsEvery) % 2;
      StatisticsTexts expected;
      composeStatistics(captured(e, subject), expected);
      const auto asked = std::chrono::steady_clock::now();
      s.press(s.main(), subject == 0 ? IDC_MAIN_PLAYER1_SSS : IDC_MAIN_PLAYER2_SSS);
      HWND statistics = s.waitForWindow(expected.title.c_str(), 5000);
      ASSERT_NE(statistics, nullptr) << "statistics " << i << " did not open within 5 s";
      slowest = std::max(slowest, elapsedMilliseconds(asked));
      ASSERT_EQ(text(statistics, IDC_STATISTICS_A_BOTTOM), expected.aggressionsUntilBottom.c_str()) << i;
      ASSERT_EQ(text(statistics, IDC_STATISTICS_ASP_OUTLAW), expected.aggressionShipkillPodkillsUntilOutlaw.c_str());
      ASSERT_EQ(text(statistics, IDC_STATISTICS_TRAVEL), expected.travelSentence.c_str()) << i;
      s.press(statistics, IDC_STATISTICS_CLOSE);
      ASSERT_TRUE(s.waitUntilGone(statistics, 5000)) << i;
      ++statisticsOpened;
    }
    samples.push_back(measure(s.process(), linuxStatus));
    if (std::getenv("BRAWLWISE_SOAK_TRACE") != nullptr && i % 100 == 0) {
      std::printf("soak: %d %lu KiB\n", i, static_cast<unsigned long>(samples.back().privateBytes / 1024));
      std::fflush(stdout);
    }
  }

  const std::size_t window = std::min<std::size_t>(100, samples.size() / 2);
  const double first = meanPrivateBytes(samples.begin(), samples.begin() + static_cast<long>(window));
  const double last = meanPrivateBytes(samples.end() - static_cast<long>(window), samples.end());
  std::printf("soak: %d calculations, %d statistics windows; slowest window %.0f ms\n", opened, statisticsOpened,
              slowest);
  std::printf("soak: %s, mean of the first %zu: %.0f KiB, of the last %zu: %.0f KiB\n",
              linuxStatus.empty() ? "private bytes" : "anonymous resident memory of the Linux process", window,
              first / 1024, window, last / 1024);
  std::printf("soak: GDI objects %lu -> %lu, USER objects %lu -> %lu%s\n", samples.front().gdiObjects,
              samples.back().gdiObjects, samples.front().userObjects, samples.back().userObjects,
              samples.front().gdiObjects == 0 ? " (not reported by this platform)" : "");
  RecordProperty("slowest_ms", static_cast<int>(slowest));
  RecordProperty("private_kib_first", static_cast<int>(first / 1024));
  RecordProperty("private_kib_last", static_cast<int>(last / 1024));
  EXPECT_GT(first, 0.0) << "memory counters not reported";
  // Under Wine the figure is the whole Linux process, Wine's own libraries
  // included, and it creeps by a few hundred bytes per window that Wine
  // creates and destroys. A window that kept any image it loaded would add
  // several KiB each, far above this allowance.
  const double windowsBetween = static_cast<double>(opened + statisticsOpened) *
                                static_cast<double>(samples.size() - window) / static_cast<double>(samples.size());
  const double allowance = 128.0 * 1024 + 512.0 * windowsBetween;
  std::printf("soak: growth %.0f B per window over %.0f windows (allowed %.0f KiB in all)\n",
              (last - first) / windowsBetween, windowsBetween, allowance / 1024);
  EXPECT_LE(last, first + allowance) << "memory grew";
  soakObjectCounts = {samples.front(), samples.back()};
  s.menu(IDM_FILE_EXIT);
  EXPECT_EQ(s.exitCode(), 0u);
}

// The GDI and USER object counts of the soak above, at its start and end.
TEST(Soak, ObjectCountsStayFlat) {
  if (soakObjectCounts.empty()) GTEST_SKIP() << "the soak did not run to its end";
  const Sample& start = soakObjectCounts.front();
  const Sample& end = soakObjectCounts.back();
  if (start.gdiObjects == 0 && start.userObjects == 0) {
    GTEST_SKIP() << "this platform does not report GDI and USER object counts";
  }
  EXPECT_LE(end.gdiObjects, start.gdiObjects + 2) << "GDI objects";
  EXPECT_LE(end.userObjects, start.userObjects + 2) << "USER objects";
}

// A 48 by 48 bitmap of 32 bits with alpha, all of one colour, half of its
// pixels only half opaque: with Common Controls 6 the Results picture then
// keeps a copy of its own.
void writeAlphaBitmap(const std::string& path, BYTE red, BYTE green) {
  const LONG side = 48;
  BITMAPINFOHEADER info = {};
  info.biSize = sizeof info;
  info.biWidth = side;
  info.biHeight = side;
  info.biPlanes = 1;
  info.biBitCount = 32;
  info.biCompression = BI_RGB;
  info.biSizeImage = static_cast<DWORD>(side * side * 4);
  BITMAPFILEHEADER file = {};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = file.bfOffBits + info.biSizeImage;
  std::vector<BYTE> pixels;
  for (LONG i = 0; i < side * side; ++i) {
    const BYTE alpha = i % 2 == 0 ? 255 : 128;
    // Premultiplied, as alpha bitmaps are drawn.
    pixels.insert(pixels.end(), {0, static_cast<BYTE>(green * alpha / 255), static_cast<BYTE>(red * alpha / 255),
                                 alpha});
  }
  FILE* out = std::fopen(path.c_str(), "wb");
  ASSERT_NE(out, nullptr) << path;
  std::fwrite(&file, sizeof file, 1, out);
  std::fwrite(&info, sizeof info, 1, out);
  std::fwrite(pixels.data(), 1, pixels.size(), out);
  std::fclose(out);
}

// A user may replace the tick and the cross by 32-bit bitmaps: each Results
// window must still release what it loaded, and what the picture kept.
TEST(Soak, ThirtyTwoBitPicturesAreReleased) {
  const int windows = fromEnvironment("BRAWLWISE_SOAK_ALPHA_WINDOWS", 300);
  char base[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, base);
  const std::string directory = std::string(base) + "brawlwise-alpha-pictures";
  CreateDirectoryA(directory.c_str(), nullptr);
  CreateDirectoryA((directory + "\\graphics").c_str(), nullptr);
  CopyFileA((workingDirectory() + "\\graphics\\res1.ico").c_str(), (directory + "\\graphics\\res1.ico").c_str(),
            FALSE);
  writeAlphaBitmap(directory + "\\graphics\\tick.bmp", 0, 200);
  writeAlphaBitmap(directory + "\\graphics\\cross.bmp", 200, 0);

  Session s(directory);
  const std::string linuxStatus = linuxStatusOfProgram();
  describe(s, {"Ann", "Bob", "5", "1", "Gate", "1.0", {IDC_MAIN_SAME_CORPORATION}});
  std::vector<Sample> samples;
  for (int i = 0; i < windows; ++i) {
    s.press(s.main(), IDC_MAIN_CALCULATE);
    HWND results = s.waitForWindow("Results", 5000);
    ASSERT_NE(results, nullptr) << i;
    if (i == 0) {
      const auto tick = [results] { return pictureColour(results, IDC_RESULTS_VERDICT); };
      ASSERT_EQ(eventually(tick, PictureColour::Green), PictureColour::Green) << "the 32-bit tick";
    }
    s.press(results, IDC_RESULTS_CLOSE);
    ASSERT_TRUE(s.waitUntilGone(results, 5000)) << i;
    samples.push_back(measure(s.process(), linuxStatus));
  }
  const std::size_t window = std::min<std::size_t>(50, samples.size() / 2);
  const double first = meanPrivateBytes(samples.begin(), samples.begin() + static_cast<long>(window));
  const double last = meanPrivateBytes(samples.end() - static_cast<long>(window), samples.end());
  const double windowsBetween = static_cast<double>(samples.size() - window);
  std::printf("soak: 32-bit pictures: growth %.0f B per Results window over %.0f windows\n",
              (last - first) / windowsBetween, windowsBetween);
  EXPECT_GT(first, 0.0) << "memory counters not reported";
  // A kept 48 by 48 bitmap of 32 bits is 9 KiB a window.
  EXPECT_LE(last, first + 128.0 * 1024 + 512.0 * windowsBetween) << "memory grew";
  s.menu(IDM_FILE_EXIT);
  EXPECT_EQ(s.exitCode(), 0u);
}

}  // namespace
}  // namespace e2e
