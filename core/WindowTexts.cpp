#include "core/WindowTexts.h"

#include <cstddef>

namespace {

template <typename Texts>
struct ShownText {
  int control;
  const char* (*text)(const Texts&);
};

template <typename Texts, std::size_t Count>
const char* lookUp(const ShownText<Texts> (&table)[Count], const Texts& texts, int control) {
  for (const ShownText<Texts>& shown : table) {
    if (shown.control == control) return shown.text(texts);
  }
  return "";
}

using Results = ResultsWindowTexts;
const ShownText<Results> kResultsTexts[] = {
    {IDC_RESULTS_LINE1, [](const Results& t) { return t.results->resultLine1.c_str(); }},
    {IDC_RESULTS_LINE2, [](const Results& t) { return t.results->resultLine2.c_str(); }},
    {IDC_RESULTS_LINE3, [](const Results& t) { return t.results->resultLine3.c_str(); }},
    {IDC_RESULTS_LINE4, [](const Results& t) { return t.results->resultLine4.c_str(); }},
    {IDC_RESULTS_AGGRESSION, [](const Results& t) { return t.sentences.aggression.c_str(); }},
    {IDC_RESULTS_AGGRESSION_SHIPKILL, [](const Results& t) { return t.sentences.aggressionShipkill.c_str(); }},
    {IDC_RESULTS_AGGRESSION_SHIPKILL_PODKILL,
     [](const Results& t) { return t.sentences.aggressionShipkillPodkill.c_str(); }},
};

// The boxes stay empty when the status has no count.
template <std::size_t Width>
const char* countBox(const StatisticsTexts& s, const FixedText<Width>& text) {
  return s.filled == 1 ? text.c_str() : "";
}

using Statistics = StatisticsTexts;
const ShownText<Statistics> kStatisticsTexts[] = {
    {IDD_STATISTICS, [](const Statistics& t) { return t.title.c_str(); }},
    {IDC_STATISTICS_A_OUTLAW,
     [](const Statistics& t) { return countBox(t, t.aggressionsUntilOutlaw); }},
    {IDC_STATISTICS_AS_OUTLAW,
     [](const Statistics& t) { return countBox(t, t.aggressionShipkillsUntilOutlaw); }},
    {IDC_STATISTICS_ASP_OUTLAW,
     [](const Statistics& t) { return countBox(t, t.aggressionShipkillPodkillsUntilOutlaw); }},
    {IDC_STATISTICS_A_BOTTOM,
     [](const Statistics& t) { return countBox(t, t.aggressionsUntilBottom); }},
    {IDC_STATISTICS_AS_BOTTOM,
     [](const Statistics& t) { return countBox(t, t.aggressionShipkillsUntilBottom); }},
    {IDC_STATISTICS_ASP_BOTTOM,
     [](const Statistics& t) { return countBox(t, t.aggressionShipkillPodkillsUntilBottom); }},
    {IDC_STATISTICS_TRAVEL, [](const Statistics& t) { return countBox(t, t.travelSentence); }},
};

}  // namespace

void composeResultsWindow(Encounter& encounter, ResultsWindowTexts& out) {
  markSecurityUnchanged(encounter.scenario, encounter.projection);
  composeSecuritySentences(encounter.scenario, encounter.projection, out.sentences);
  out.results = &encounter.results;
}

const char* resultsWindowText(const ResultsWindowTexts& texts, int control) {
  return texts.results == nullptr ? "" : lookUp(kResultsTexts, texts, control);
}

const char* statisticsWindowText(const StatisticsTexts& texts, int control) {
  return lookUp(kStatisticsTexts, texts, control);
}
