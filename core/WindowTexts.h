#pragma once

// What the Results and statistics windows show, by control number, composed
// once for both front ends: a front end copies each text into its control.
#include <cstdint>

#include "core/ControlNumbers.h"
#include "core/Encounter.h"
#include "core/SecuritySentences.h"
#include "core/StandingCounts.h"

// The Results window's seven text boxes: the four result lines, then the
// three security sentences.
inline constexpr int kResultsBoxes[] = {IDC_RESULTS_LINE1,
                                        IDC_RESULTS_LINE2,
                                        IDC_RESULTS_LINE3,
                                        IDC_RESULTS_LINE4,
                                        IDC_RESULTS_AGGRESSION,
                                        IDC_RESULTS_AGGRESSION_SHIPKILL,
                                        IDC_RESULTS_AGGRESSION_SHIPKILL_PODKILL};

// The statistics window's seven boxes: the six counts and the travel sentence.
inline constexpr int kStatisticsBoxes[] = {IDC_STATISTICS_A_OUTLAW,  IDC_STATISTICS_AS_OUTLAW,
                                           IDC_STATISTICS_ASP_OUTLAW, IDC_STATISTICS_A_BOTTOM,
                                           IDC_STATISTICS_AS_BOTTOM,  IDC_STATISTICS_ASP_BOTTOM,
                                           IDC_STATISTICS_TRAVEL};

// The Results window of the last accepted Calculate.
struct ResultsWindowTexts {
  const ResultSet* results = nullptr;
  SecuritySentences sentences;
};

// Opens the Results window's texts on the encounter: first marks player 1's
// security unchanged where the encounter leaves it so (overwriting part of
// the projection, as the window always has), then composes the sentences.
// The texts read the encounter's result lines, so they last as long as it.
void composeResultsWindow(Encounter& encounter, ResultsWindowTexts& out);

// The Results window's verdict: 0 the tick, 1 the cross.
inline std::int32_t resultsWindowVerdict(const ResultsWindowTexts& texts) {
  return texts.results == nullptr ? 0 : texts.results->verdict;
}

// The text of one of the Results window's boxes; "" for any other control.
const char* resultsWindowText(const ResultsWindowTexts& texts, int control);

// The statistics window's caption (IDD_STATISTICS) or the text of one of its
// seven boxes, from the texts that composeStatistics gave; the boxes stay
// empty when the status has no count. "" for any other control.
const char* statisticsWindowText(const StatisticsTexts& texts, int control);
