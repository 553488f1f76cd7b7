#pragma once

#include <cstdint>

#include "core/FixedText.h"
#include "core/ScenarioState.h"
#include "core/SecurityArithmetic.h"

// The acts of one cycle, in order; `length` is 1 to 3.
struct SecurityCycle {
  SecurityAct acts[3];
  int length;
};

inline constexpr SecurityCycle kAggressionCycle = {{SecurityAct::Aggression}, 1};
inline constexpr SecurityCycle kAggressionShipkillCycle = {{SecurityAct::Aggression, SecurityAct::Shipkill}, 2};
inline constexpr SecurityCycle kAggressionShipkillPodkillCycle = {
    {SecurityAct::Aggression, SecurityAct::Shipkill, SecurityAct::Podkill}, 3};

// The outlaw threshold, and the bottom of the counts that the window calls
// -10: counting to -10 itself would never end, as every loss shrinks with the
// distance above it.
inline constexpr double kOutlawStatus = -5.0;
inline constexpr double kBottomStatus = -9.9;

// The number of cycles after which a running single-precision status, starting
// at `start` rounded, is at or below `threshold`. The test comes before every
// cycle, so a start at or below the threshold gives 0.
std::int32_t countCycles(double start, const SecurityCycle& cycle, double threshold);

// The six counts of the statistics window: each cycle until the outlaw
// threshold and until the bottom.
struct StandingCounts {
  std::int32_t aggressionsUntilOutlaw;
  std::int32_t aggressionShipkillsUntilOutlaw;
  std::int32_t aggressionShipkillPodkillsUntilOutlaw;
  std::int32_t aggressionsUntilBottom;
  std::int32_t aggressionShipkillsUntilBottom;
  std::int32_t aggressionShipkillPodkillsUntilBottom;
};

// The same six counts as countCycles gives, found in one walk per cycle, the
// three walks side by side.
StandingCounts countStanding(double start);

// Which high-security systems a player of this status can enter without being
// attacked by faction navies; the fragment follows the name and begins with a blank.
const char* travelRestrictionFragment(double status);

using CountText = FixedText<12>;

// What the statistics window shows for the subject of the last capture.
// `filled` is 0 when the seven boxes stay empty: a status not given, or one
// whose single-precision rounding is not a number or plus infinity.
struct StatisticsTexts {
  FixedText<61> title;
  std::int32_t filled;
  CountText aggressionsUntilOutlaw;
  CountText aggressionShipkillsUntilOutlaw;
  CountText aggressionShipkillPodkillsUntilOutlaw;
  CountText aggressionsUntilBottom;
  CountText aggressionShipkillsUntilBottom;
  CountText aggressionShipkillPodkillsUntilBottom;
  FixedText<162> travelSentence;
};

// Composes the title, the six counts and the travel sentence for the player
// that `statsSubject` names.
void composeStatistics(const ScenarioState& scenario, StatisticsTexts& texts);
