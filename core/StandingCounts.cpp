#include "core/StandingCounts.h"

#include <limits>

#include "core/NumberText.h"

namespace {

float runCycle(float status, const SecurityCycle& cycle) {
  double x = status;
  for (int i = 0; i < cycle.length; ++i) x = applySecurityAct(cycle.acts[i], x);
  return static_cast<float>(x);
}

// One walk of a cycle down to the bottom, counting on the way the cycles taken
// before the status first reached the outlaw threshold.
struct Walk {
  float status;
  std::int32_t untilOutlaw;
  std::int32_t untilBottom;
  bool aboveOutlaw;

  explicit Walk(float start) : status(start), untilOutlaw(0), untilBottom(0), aboveOutlaw(true) {}

  bool active() const { return status > kBottomStatus; }

  void step(const SecurityCycle& cycle) {
    aboveOutlaw = aboveOutlaw && status > kOutlawStatus;
    untilOutlaw += aboveOutlaw ? 1 : 0;
    ++untilBottom;
    status = runCycle(status, cycle);
  }
};

}  // namespace

std::int32_t countCycles(double start, const SecurityCycle& cycle, double threshold) {
  float status = static_cast<float>(start);
  std::int32_t count = 0;
  while (status > threshold) {
    status = runCycle(status, cycle);
    ++count;
  }
  return count;
}

StandingCounts countStanding(double start) {
  const auto first = static_cast<float>(start);
  Walk aggression(first);
  Walk aggressionShipkill(first);
  Walk aggressionShipkillPodkill(first);
  // The walks are independent chains of dependent arithmetic; stepping them
  // together lets the processor overlap them.
  for (;;) {
    const bool a = aggression.active();
    const bool as = aggressionShipkill.active();
    const bool asp = aggressionShipkillPodkill.active();
    if (!(a || as || asp)) break;
    if (a) aggression.step(kAggressionCycle);
    if (as) aggressionShipkill.step(kAggressionShipkillCycle);
    if (asp) aggressionShipkillPodkill.step(kAggressionShipkillPodkillCycle);
  }
  return {aggression.untilOutlaw,  aggressionShipkill.untilOutlaw,  aggressionShipkillPodkill.untilOutlaw,
          aggression.untilBottom, aggressionShipkill.untilBottom, aggressionShipkillPodkill.untilBottom};
}

const char* travelRestrictionFragment(double status) {
  if (status <= kOutlawStatus) {
    return " cannot enter 0.5 systems or above without being attacked by faction navies - they can legally be "
           "attacked by other players anywhere";
  }
  if (status <= -4.5) return " cannot enter 0.5 systems or above without being attacked by faction navies";
  if (status <= -4.0) return " cannot enter 0.6 systems or above without being attacked by faction navies";
  if (status <= -3.5) return " cannot enter 0.7 systems or above without being attacked by faction navies";
  if (status <= -3.0) return " cannot enter 0.8 systems or above without being attacked by faction navies";
  if (status <= -2.5) return " cannot enter 0.9 systems or above without being attacked by faction navies";
  if (status <= -2.0) return " cannot enter 1.0 systems without being attacked by faction navies";
  return " can enter all systems";
}

void composeStatistics(const ScenarioState& s, StatisticsTexts& t) {
  const bool second = s.statsSubject == 1;
  const NameText& name = second ? s.player2Name : s.player1Name;
  const StatusText& status = second ? s.player2SecurityText : s.player1SecurityText;

  compose(t.title, {"Security Status Statistics for ", name.view()});
  t.filled = 0;
  for (CountText* box : {&t.aggressionsUntilOutlaw, &t.aggressionShipkillsUntilOutlaw,
                         &t.aggressionShipkillPodkillsUntilOutlaw, &t.aggressionsUntilBottom,
                         &t.aggressionShipkillsUntilBottom, &t.aggressionShipkillPodkillsUntilBottom}) {
    box->clear();
  }
  t.travelSentence.clear();
  if (status.contains(kEmptyMarker)) return;

  const double v = parseDecimalText(status.c_str());
  const auto rounded = static_cast<float>(v);
  // Such a status never reaches a threshold: the boxes stay empty.
  if (rounded != rounded || rounded == std::numeric_limits<float>::infinity()) return;

  const StandingCounts counts = countStanding(v);
  writeInteger(counts.aggressionsUntilOutlaw, t.aggressionsUntilOutlaw);
  writeInteger(counts.aggressionShipkillsUntilOutlaw, t.aggressionShipkillsUntilOutlaw);
  writeInteger(counts.aggressionShipkillPodkillsUntilOutlaw, t.aggressionShipkillPodkillsUntilOutlaw);
  writeInteger(counts.aggressionsUntilBottom, t.aggressionsUntilBottom);
  writeInteger(counts.aggressionShipkillsUntilBottom, t.aggressionShipkillsUntilBottom);
  writeInteger(counts.aggressionShipkillPodkillsUntilBottom, t.aggressionShipkillPodkillsUntilBottom);
  compose(t.travelSentence, {name.view(), travelRestrictionFragment(v)});
  t.filled = 1;
}
