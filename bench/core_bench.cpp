// The six counts at the largest finite status, against the one walk of
// aggression cycles that bounds them, and one whole calculation.
#include <benchmark/benchmark.h>

#include "core/SecuritySentences.h"
#include "core/ConsequenceRules.h"
#include "core/StandingCounts.h"
#include "web/PageInterface.h"

namespace {

// Read anew in every iteration, so that no count can be folded away.
volatile double largestStatus = 3.4028235e38;

void LongestAggressionWalk(benchmark::State& state) {
  for (auto _ : state) {
    const double start = largestStatus;
    benchmark::DoNotOptimize(countCycles(start, kAggressionCycle, kBottomStatus));
  }
}
BENCHMARK(LongestAggressionWalk)->Unit(benchmark::kMicrosecond);

void SixCountsAtLargestStatus(benchmark::State& state) {
  for (auto _ : state) {
    const double start = largestStatus;
    benchmark::DoNotOptimize(countStanding(start));
  }
}
BENCHMARK(SixCountsAtLargestStatus)->Unit(benchmark::kMicrosecond);

void SixSeparateCountCycles(benchmark::State& state) {
  const SecurityCycle* const cycles[] = {&kAggressionCycle, &kAggressionShipkillCycle,
                                         &kAggressionShipkillPodkillCycle};
  for (auto _ : state) {
    const double start = largestStatus;
    for (const SecurityCycle* cycle : cycles) {
      benchmark::DoNotOptimize(countCycles(start, *cycle, kOutlawStatus));
      benchmark::DoNotOptimize(countCycles(start, *cycle, kBottomStatus));
    }
  }
}
BENCHMARK(SixSeparateCountCycles)->Unit(benchmark::kMicrosecond);

void WholeCalculation(benchmark::State& state) {
  ScenarioState s;
  s.player1Name.assign("Player 1");
  s.player2Name.assign("Player 2");
  s.locationText.assign("Gate");
  s.systemSecurityText.assign("0.5");
  s.player1SecurityText.assign("5.680743");
  s.player2SecurityText.assign("-4.9");
  for (auto _ : state) {
    ResultSet results;
    resetResults(results);
    evaluateConsequences(s, results);
    SecurityProjection projection;
    projectSecurity(s, projection);
    SecuritySentences sentences;
    markSecurityUnchanged(s, projection);
    composeSecuritySentences(s, projection, sentences);
    benchmark::DoNotOptimize(sentences);
    benchmark::DoNotOptimize(results);
  }
}
BENCHMARK(WholeCalculation)->Unit(benchmark::kMicrosecond);

// The page's calls, natively: bench/page_bench.mjs makes the same calls in
// the WebAssembly module and sets the two side by side.
void setPageText(int control, const char* text) {
  std::size_t length = 0;
  for (char* buffer = bw_text_buffer(); text[length] != '\0'; ++length) buffer[length] = text[length];
  bw_set_text(control, static_cast<int>(length));
}

void PageCalculate(benchmark::State& state) {
  setPageText(4006, "5.680743");
  setPageText(4007, "-4.9");
  bw_set_choice(1004, 0);
  bw_set_choice(1005, 5);
  for (auto _ : state) benchmark::DoNotOptimize(bw_calculate());
}
BENCHMARK(PageCalculate)->Unit(benchmark::kMicrosecond);

void PageStatisticsAtLargestStatus(benchmark::State& state) {
  setPageText(4006, "3.4028235e38");
  for (auto _ : state) {
    bw_statistics(0);
    benchmark::DoNotOptimize(bw_statistics_text(1308));
  }
}
BENCHMARK(PageStatisticsAtLargestStatus)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
