// A whole calculation from arbitrary inputs: the six texts as the capture
// would store them, any tick-boxes, either statistics subject. Checks that
// every text ends inside its buffer, that nothing composed is cut, that the
// verdict is 0 or 1, that the counts stay within the longest possible walk,
// and that a second run gives the same output.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "core/NumberText.h"
#include "core/SecuritySentences.h"
#include "core/ConsequenceRules.h"
#include "core/StandingCounts.h"

namespace {

struct Output {
  ResultSet results;
  SecurityProjection projection;
  SecuritySentences sentences;
  StatisticsTexts statistics;
};

void require(bool condition) {
  if (!condition) std::abort();
}

template <std::size_t Width>
void requireWhole(const FixedText<Width>& text) {
  require(std::memchr(const_cast<FixedText<Width>&>(text).data(), '\0', Width) != nullptr);
  require(!text.wasCut());
}

// Splits the input at bytes of value 1 into the six texts; the first two
// bytes give the tick-boxes and the subject.
ScenarioState scenarioFrom(const std::uint8_t* data, std::size_t size) {
  ScenarioState s;
  const unsigned bits = size >= 2 ? static_cast<unsigned>(data[0] | (data[1] << 8)) : 0;
  std::int32_t* const flags[] = {&s.sameCorporation,   &s.sameAlliance,      &s.sameGang,
                                 &s.warringCorps,      &s.concordFlag,       &s.flaggedToPlayer1,
                                 &s.flaggedToCorpmate, &s.flaggedToGangmate, &s.hasKillrights};
  for (int i = 0; i < 9; ++i) *flags[i] = static_cast<std::int32_t>((bits >> i) & 1u);
  s.statsSubject = static_cast<std::int32_t>((bits >> 9) & 1u);
  std::string_view rest = size >= 2 ? std::string_view(reinterpret_cast<const char*>(data) + 2, size - 2)
                                    : std::string_view();
  std::string_view texts[6];
  for (std::string_view& text : texts) {
    const std::size_t end = rest.find('\x01');
    text = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
  }
  // The capture keeps the first 29 (or 69) characters, up to a zero byte.
  s.player1Name.assign(texts[0].substr(0, texts[0].find('\0')));
  s.player2Name.assign(texts[1].substr(0, texts[1].find('\0')));
  s.locationText.assign(texts[2].substr(0, texts[2].find('\0')));
  s.systemSecurityText.assign(texts[3].substr(0, texts[3].find('\0')));
  s.player1SecurityText.assign(texts[4].substr(0, texts[4].find('\0')));
  s.player2SecurityText.assign(texts[5].substr(0, texts[5].find('\0')));
  return s;
}

void calculate(const ScenarioState& s, Output& out) {
  std::memset(static_cast<void*>(&out), 0, sizeof out);
  resetResults(out.results);
  evaluateConsequences(s, out.results);
  projectSecurity(s, out.projection);
  markSecurityUnchanged(s, out.projection);
  composeSecuritySentences(s, out.projection, out.sentences);
  composeStatistics(s, out.statistics);
}

void check(const Output& out) {
  const ResultSet& r = out.results;
  require(r.verdict == 0 || r.verdict == 1);
  for (const ResultLine* line : {&r.resultLine1, &r.resultLine2, &r.resultLine3, &r.resultLine4}) requireWhole(*line);
  const SecurityProjection& p = out.projection;
  for (const ProjectionText* field :
       {&p.aggressionStatus, &p.shipkillStatus, &p.podkillStatus, &p.aggressionShipkillStatus,
        &p.aggressionShipkillPodkillStatus, &p.aggressionChange, &p.shipkillChange, &p.podkillChange,
        &p.aggressionShipkillChange, &p.aggressionShipkillPodkillChange}) {
    requireWhole(*field);
  }
  require(p.usable == 0 || p.usable == 1);
  if (p.usable == 0) require(p.aggressionChange.empty());
  for (const SecuritySentence* s : {&out.sentences.aggression, &out.sentences.aggressionShipkill,
                                    &out.sentences.aggressionShipkillPodkill}) {
    requireWhole(*s);
    require(!s->empty());
  }
  const StatisticsTexts& t = out.statistics;
  requireWhole(t.title);
  requireWhole(t.travelSentence);
  require(t.filled == 0 || t.filled == 1);
  for (const CountText* count : {&t.aggressionsUntilOutlaw, &t.aggressionShipkillsUntilOutlaw,
                                 &t.aggressionShipkillPodkillsUntilOutlaw, &t.aggressionsUntilBottom,
                                 &t.aggressionShipkillsUntilBottom, &t.aggressionShipkillPodkillsUntilBottom}) {
    requireWhole(*count);
    require(count->empty() == (t.filled == 0));
    const std::int32_t n = parseIntegerText(count->c_str());
    require(n >= 0 && n <= 18160);
  }
  require(t.travelSentence.empty() == (t.filled == 0));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const ScenarioState scenario = scenarioFrom(data, size);
  static Output first;
  static Output second;
  calculate(scenario, first);
  check(first);
  calculate(scenario, second);
  require(std::memcmp(&first, &second, sizeof first) == 0);
  return 0;
}
