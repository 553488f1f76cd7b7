#include "core/ConsequenceRules.h"

#include <string_view>

#include "core/NumberText.h"

namespace {

using Pieces = std::initializer_list<std::string_view>;

constexpr std::int32_t kOutlawThreshold = -5;

bool containsAny(const ChoiceText& text, std::initializer_list<std::string_view> values) {
  for (std::string_view value : values) {
    if (text.contains(value)) return true;
  }
  return false;
}

void writeLines(ResultSet& results, Pieces line1, Pieces line2, Pieces line3) {
  compose(results.resultLine1, line1);
  compose(results.resultLine2, line2);
  compose(results.resultLine3, line3);
}

void writeOverride(ResultSet& results, Pieces line1, Pieces line2, Pieces line3, Pieces line4) {
  writeLines(results, line1, line2, line3);
  compose(results.resultLine4, line4);
  results.verdict = 0;
}

void writeBaseOutcome(const ScenarioState& s, ResultSet& results) {
  const std::string_view p1 = s.player1Name.view();
  const std::string_view p2 = s.player2Name.view();
  const Pieces legalAttack = {p1, " may attack and destroy ", p2, "s ship and pod"};
  const Pieces retaliation = {"If ",      p2, " loses his ship, ", p2, " can legally attack and destroy ",
                              p1,         "s ship for 30 days"};
  const Pieces criminalFlag = {p1, " will become criminally flagged for 15 minutes, meaning any player can legally attack"};
  const Pieces mustBlowUp = {p1, "s ship must blow up - it is an exploit to get away from concord"};

  const SecurityBand band = classifySecurityBand(s.systemSecurityText);
  const bool atGateOrStation = s.locationText.contains("Gate") || s.locationText.contains("Station");

  results.verdict = 1;
  if (band == SecurityBand::NullSec) {
    writeLines(results, {p1, " will not be able to dock or use a jumpgate for one minute"},
               {"0.0 space is lawless so no other consequences occur"}, {});
  } else if (s.sameCorporation == 1) {
    writeLines(results, legalAttack, {"Sentries and Concord will not respond"}, {});
    results.verdict = 0;
  } else if (band == SecurityBand::HighSec) {
    if (atGateOrStation) {
      writeLines(results, {p1, " will be destroyed by sentries"}, mustBlowUp, retaliation);
    } else {
      writeLines(results, {"Concord will spawn near ", p1, " and destroy his/her ship"}, mustBlowUp, retaliation);
    }
  } else if (atGateOrStation) {
    writeLines(results, {p1, " will be attacked by sentries"}, criminalFlag, retaliation);
  } else {
    writeLines(results, criminalFlag, {}, retaliation);
  }
}

void applyOverrides(const ScenarioState& s, ResultSet& results) {
  const std::string_view p1 = s.player1Name.view();
  const std::string_view p2 = s.player2Name.view();
  if (s.warringCorps == 1) {
    writeOverride(results, {p2, " is a valid target and can be attacked anywhere"},
                  {p2, " can be shipkilled and podkilled"}, {}, {});
  }
  if (s.concordFlag == 1) {
    writeOverride(results, {p2, " is a valid target and can be attacked anywhere"},
                  {p1, " can attack ", p2,
                   " while he/she is criminally flagged which is 15 mins from the last agressive act by ", p2},
                  {p2, " can be shipkilled"}, {});
  }
  if (s.flaggedToPlayer1 == 1) {
    writeOverride(results, {p2, " is a valid target and can be attacked anywhere for 15 minutes"},
                  {"A player is flagged to you for 15 minutes after taking out of your jetcan or attacking you"},
                  {p2, " can be shipkilled"}, {});
  }
  if (s.flaggedToCorpmate == 1) {
    writeOverride(results, {p2, " is a valid target and can be attacked anywhere for 15 minutes"},
                  {"A player is flagged to all members in your corporation for 15 minutes after taking out of a "
                   "corp members jetcan or attacking a corporation pilot"},
                  {"An exception to this is NPC corporations - only the player who was robbed or attacked, may "
                   "attack ",
                   p2},
                  {p2, " can be shipkilled"});
  }
  if (s.hasKillrights == 1) {
    writeOverride(results, {p2, " is a valid target and can be attacked anywhere"}, {p2, " can be shipkilled"},
                  {"Killrights are gained from an illegal destruction of a ship in empire space"},
                  {"Killrights last for 30 days"});
  }
  if (parseIntegerText(s.player2SecurityText.c_str()) <= kOutlawThreshold) {
    writeOverride(results, {p2, " can be shipkilled and podkilled"},
                  {"As soon as ", p1, " attacks, ", p2, " can legally fire back"},
                  {"If ", p2, " has a bounty, it can be claimed by destroying ", p2, "s pod"}, {});
  }
}

}  // namespace

SecurityBand classifySecurityBand(const ChoiceText& systemSecurityText) {
  if (containsAny(systemSecurityText, {"1.0", "0.9", "0.8", "0.7", "0.6", "0.5"})) return SecurityBand::HighSec;
  if (containsAny(systemSecurityText, {"0.4", "0.3", "0.2", "0.1"})) return SecurityBand::LowSec;
  return SecurityBand::NullSec;
}

void resetResults(ResultSet& results) {
  results.resultLine1.clear();
  results.resultLine2.clear();
  results.resultLine3.clear();
  results.resultLine4.clear();
}

void evaluateConsequences(const ScenarioState& scenario, ResultSet& results) {
  writeBaseOutcome(scenario, results);
  applyOverrides(scenario, results);
}

// The one result record of the running program.
