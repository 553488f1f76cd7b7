#include "core/ConsequenceRules.h"

#include <gtest/gtest.h>

#include <string>

namespace {

ScenarioState encounter(const char* security, const char* location, const char* p1 = "Ann", const char* p2 = "Bob") {
  ScenarioState s;
  s.player1Name.assign(p1);
  s.player2Name.assign(p2);
  s.systemSecurityText.assign(security);
  s.locationText.assign(location);
  s.player1SecurityText.assign("Empty");
  s.player2SecurityText.assign("Empty");
  return s;
}

struct Outcome {
  const char* line1;
  const char* line2;
  const char* line3;
  const char* line4;
  std::int32_t verdict;
};

void expectOutcome(const ResultSet& r, const Outcome& o, const std::string& label) {
  EXPECT_STREQ(r.resultLine1.c_str(), o.line1) << label;
  EXPECT_STREQ(r.resultLine2.c_str(), o.line2) << label;
  EXPECT_STREQ(r.resultLine3.c_str(), o.line3) << label;
  EXPECT_STREQ(r.resultLine4.c_str(), o.line4) << label;
  EXPECT_EQ(r.verdict, o.verdict) << label;
}

ResultSet evaluate(const ScenarioState& s) {
  ResultSet r;
  r.verdict = 7;  // every evaluation must set it afresh
  evaluateConsequences(s, r);
  return r;
}

const char* const kRetaliation = "If Bob loses his ship, Bob can legally attack and destroy Anns ship for 30 days";
const char* const kMustBlowUp = "Anns ship must blow up - it is an exploit to get away from concord";
const char* const kCriminalFlag =
    "Ann will become criminally flagged for 15 minutes, meaning any player can legally attack";

TEST(SecurityBand, EachSystemSecurityFallsInOneBand) {
  struct Case {
    const char* text;
    SecurityBand band;
  };
  const Case cases[] = {
      {"1.0", SecurityBand::HighSec}, {"0.9", SecurityBand::HighSec}, {"0.8", SecurityBand::HighSec},
      {"0.7", SecurityBand::HighSec}, {"0.6", SecurityBand::HighSec}, {"0.5", SecurityBand::HighSec},
      {"0.4", SecurityBand::LowSec},  {"0.3", SecurityBand::LowSec},  {"0.2", SecurityBand::LowSec},
      {"0.1", SecurityBand::LowSec},  {"0.0", SecurityBand::NullSec},
  };
  for (const Case& c : cases) {
    ChoiceText text;
    text.assign(c.text);
    EXPECT_EQ(classifySecurityBand(text), c.band) << c.text;
  }
}

TEST(BaseOutcome, FollowsBandLocationAndCorporation) {
  struct Case {
    const char* security;
    const char* location;
    std::int32_t sameCorporation;
    Outcome outcome;
  };
  const Case cases[] = {
      {"1.0", "Gate", 0, {"Ann will be destroyed by sentries", kMustBlowUp, kRetaliation, "", 1}},
      {"0.5", "Station", 0, {"Ann will be destroyed by sentries", kMustBlowUp, kRetaliation, "", 1}},
      {"0.7", "Other", 0, {"Concord will spawn near Ann and destroy his/her ship", kMustBlowUp, kRetaliation, "", 1}},
      {"0.4", "Gate", 0, {"Ann will be attacked by sentries", kCriminalFlag, kRetaliation, "", 1}},
      {"0.1", "Station", 0, {"Ann will be attacked by sentries", kCriminalFlag, kRetaliation, "", 1}},
      {"0.3", "Other", 0, {kCriminalFlag, "", kRetaliation, "", 1}},
      {"0.9", "Gate", 1, {"Ann may attack and destroy Bobs ship and pod", "Sentries and Concord will not respond", "", "", 0}},
      {"0.6", "Other", 1, {"Ann may attack and destroy Bobs ship and pod", "Sentries and Concord will not respond", "", "", 0}},
      {"0.2", "Station", 1, {"Ann may attack and destroy Bobs ship and pod", "Sentries and Concord will not respond", "", "", 0}},
      {"0.0", "Gate", 0, {"Ann will not be able to dock or use a jumpgate for one minute", "0.0 space is lawless so no other consequences occur", "", "", 1}},
      {"0.0", "Other", 1, {"Ann will not be able to dock or use a jumpgate for one minute", "0.0 space is lawless so no other consequences occur", "", "", 1}},
  };
  for (const Case& c : cases) {
    ScenarioState s = encounter(c.security, c.location);
    s.sameCorporation = c.sameCorporation;
    expectOutcome(evaluate(s), c.outcome, std::string(c.security) + " " + c.location);
  }
}

TEST(Overrides, EachMakesPlayer2ALegalTarget) {
  struct Case {
    const char* name;
    std::int32_t ScenarioState::*flag;
    Outcome outcome;
  };
  const Case cases[] = {
      {"war", &ScenarioState::warringCorps,
       {"Bob is a valid target and can be attacked anywhere", "Bob can be shipkilled and podkilled", "", "", 0}},
      {"concord", &ScenarioState::concordFlag,
       {"Bob is a valid target and can be attacked anywhere",
        "Ann can attack Bob while he/she is criminally flagged which is 15 mins from the last agressive act by Bob",
        "Bob can be shipkilled", "", 0}},
      {"flagged to player 1", &ScenarioState::flaggedToPlayer1,
       {"Bob is a valid target and can be attacked anywhere for 15 minutes",
        "A player is flagged to you for 15 minutes after taking out of your jetcan or attacking you",
        "Bob can be shipkilled", "", 0}},
      {"flagged to corpmate", &ScenarioState::flaggedToCorpmate,
       {"Bob is a valid target and can be attacked anywhere for 15 minutes",
        "A player is flagged to all members in your corporation for 15 minutes after taking out of a corp members "
        "jetcan or attacking a corporation pilot",
        "An exception to this is NPC corporations - only the player who was robbed or attacked, may attack Bob",
        "Bob can be shipkilled", 0}},
      {"kill rights", &ScenarioState::hasKillrights,
       {"Bob is a valid target and can be attacked anywhere", "Bob can be shipkilled",
        "Killrights are gained from an illegal destruction of a ship in empire space", "Killrights last for 30 days",
        0}},
  };
  for (const char* security : {"1.0", "0.4", "0.0"}) {
    for (const Case& c : cases) {
      ScenarioState s = encounter(security, "Gate");
      s.*c.flag = 1;
      expectOutcome(evaluate(s), c.outcome, std::string(c.name) + " in " + security);
    }
  }
}

TEST(Overrides, TheLastThatHoldsDecides) {
  ScenarioState s = encounter("1.0", "Other");
  s.warringCorps = 1;
  s.hasKillrights = 1;
  EXPECT_STREQ(evaluate(s).resultLine4.c_str(), "Killrights last for 30 days");

  s = encounter("0.3", "Gate");
  s.concordFlag = 1;
  s.flaggedToPlayer1 = 1;
  EXPECT_STREQ(evaluate(s).resultLine2.c_str(),
               "A player is flagged to you for 15 minutes after taking out of your jetcan or attacking you");

  s.warringCorps = 1;
  s.flaggedToCorpmate = 1;
  s.hasKillrights = 1;
  s.player2SecurityText.assign("-5");
  expectOutcome(evaluate(s),
                {"Bob can be shipkilled and podkilled", "As soon as Ann attacks, Bob can legally fire back",
                 "If Bob has a bounty, it can be claimed by destroying Bobs pod", "", 0},
                "all overrides");
}

TEST(Overrides, OutlawThresholdReadsPlayer2sIntegerPart) {
  struct Case {
    const char* status;
    bool outlaw;
  };
  const Case cases[] = {
      {"-5", true},          {"-5.0", true},         {"-5.9", true},       {" -10", true},  {"-99999999999", true},
      {"-4.9", false},       {"-4", false},          {"Empty", false},     {"abc", false},  {"3000000000", false},
      {"4294967295", false}, {"2147483648", false},  {"-5Empty", true},
  };
  for (const Case& c : cases) {
    ScenarioState s = encounter("1.0", "Gate");
    s.player2SecurityText.assign(c.status);
    const ResultSet r = evaluate(s);
    EXPECT_EQ(r.resultLine1.view() == "Bob can be shipkilled and podkilled", c.outlaw) << c.status;
    EXPECT_EQ(r.verdict, c.outlaw ? 0 : 1) << c.status;
  }
}

TEST(Rules, IgnoreAllianceGangGangmateAndPlayer1sStatus) {
  for (const char* security : {"0.8", "0.2", "0.0"}) {
    for (std::int32_t sameCorporation : {0, 1}) {
      ScenarioState plain = encounter(security, "Station");
      plain.sameCorporation = sameCorporation;
      const ResultSet expected = evaluate(plain);
      for (int mask = 1; mask < 16; ++mask) {
        ScenarioState s = plain;
        s.sameAlliance = mask & 1;
        s.sameGang = (mask >> 1) & 1;
        s.flaggedToGangmate = (mask >> 2) & 1;
        s.player1SecurityText.assign((mask & 8) != 0 ? "-9.9" : "5");
        const ResultSet r = evaluate(s);
        expectOutcome(r,
                      {expected.resultLine1.c_str(), expected.resultLine2.c_str(), expected.resultLine3.c_str(),
                       expected.resultLine4.c_str(), expected.verdict},
                      std::string(security) + " mask " + std::to_string(mask));
      }
    }
  }
}

TEST(Rules, WorkedExampleWithDefaultNames) {
  ScenarioState s = encounter("1.0", "Gate", "Player 1", "Player 2");
  expectOutcome(evaluate(s),
                {"Player 1 will be destroyed by sentries",
                 "Player 1s ship must blow up - it is an exploit to get away from concord",
                 "If Player 2 loses his ship, Player 2 can legally attack and destroy Player 1s ship for 30 days", "",
                 1},
                "no tick-box");
  s.sameCorporation = 1;
  expectOutcome(evaluate(s),
                {"Player 1 may attack and destroy Player 2s ship and pod", "Sentries and Concord will not respond", "",
                 "", 0},
                "same corporation");
  s.warringCorps = 1;
  expectOutcome(evaluate(s),
                {"Player 2 is a valid target and can be attacked anywhere", "Player 2 can be shipkilled and podkilled",
                 "", "", 0},
                "same corporation and war");
}

TEST(Rules, LongestNamesAreNeverCut) {
  const std::string a(29, 'a');
  const std::string b(29, 'b');
  ScenarioState s = encounter("1.0", "Gate", a.c_str(), b.c_str());
  EXPECT_EQ(evaluate(s).resultLine3.view(),
            "If " + b + " loses his ship, " + b + " can legally attack and destroy " + a + "s ship for 30 days");
  s.concordFlag = 1;
  const ResultSet r = evaluate(s);
  EXPECT_EQ(r.resultLine2.view(), a + " can attack " + b +
                                      " while he/she is criminally flagged which is 15 mins from the last agressive "
                                      "act by " +
                                      b);
  EXPECT_EQ(r.resultLine2.length(), 183u);
}

TEST(ResetResults, EmptiesTheLinesAndKeepsTheVerdict) {
  ResultSet r = evaluate(encounter("1.0", "Gate"));
  r.resultLine4.assign("x");
  resetResults(r);
  expectOutcome(r, {"", "", "", "", 1}, "after reset");
}

}  // namespace
