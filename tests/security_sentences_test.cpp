#include "core/SecuritySentences.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Filled {
  SecurityProjection projection;
  SecuritySentences sentences;
};

ScenarioState encounter(const char* status, const char* security = "0.5", const char* name = "Player 1") {
  ScenarioState s;
  s.player1Name.assign(name);
  s.player2Name.assign("Player 2");
  s.systemSecurityText.assign(security);
  s.locationText.assign("Gate");
  s.player1SecurityText.assign(status);
  return s;
}

Filled fill(const ScenarioState& s) {
  Filled f;
  projectSecurity(s, f.projection);
  markSecurityUnchanged(s, f.projection);
  composeSecuritySentences(s, f.projection, f.sentences);
  return f;
}

void expectSentences(const SecuritySentences& s, const std::string& a, const std::string& as,
                     const std::string& asp) {
  EXPECT_EQ(s.aggression.view(), a);
  EXPECT_EQ(s.aggressionShipkill.view(), as);
  EXPECT_EQ(s.aggressionShipkillPodkill.view(), asp);
}

void expectUnchanged(const SecuritySentences& s, const std::string& name = "Player 1") {
  expectSentences(s, "Aggression: " + name + "s security would not change",
                  "Aggression and Shipkill: " + name + "s security would not change",
                  "Aggression, Shipkill and Podding: " + name + "s security would not change");
}

const char* const kPrompt = "Enter Player 1s Security Level to See this";

TEST(SecuritySentences, TellTheNewStatusAndTheChange) {
  expectSentences(fill(encounter("5")).sentences,
                  "Aggression: Player 1s security would change to 4.925000 - a change of 0.075000",
                  "Aggression and Shipkill: Player 1s security would change to 4.626500 - a change of 0.373500",
                  "Aggression, Shipkill and Podding: Player 1s security would change to 2.798188 - a change of 2.201812");
}

TEST(SecuritySentences, UnchangedSecurityCopiesTheTypedStatus) {
  struct Case {
    const char* name;
    std::int32_t ScenarioState::*flag;
  };
  const Case cases[] = {{"same corporation", &ScenarioState::sameCorporation},
                        {"war", &ScenarioState::warringCorps},
                        {"concord", &ScenarioState::concordFlag},
                        {"flagged to player 1", &ScenarioState::flaggedToPlayer1},
                        {"kill rights", &ScenarioState::hasKillrights}};
  for (const Case& c : cases) {
    ScenarioState s = encounter("5");
    s.*c.flag = 1;
    const Filled f = fill(s);
    expectUnchanged(f.sentences);
    for (const ProjectionText* field :
         {&f.projection.aggressionStatus, &f.projection.shipkillStatus, &f.projection.podkillStatus,
          &f.projection.aggressionShipkillStatus, &f.projection.aggressionShipkillPodkillStatus}) {
      EXPECT_STREQ(field->c_str(), "5") << c.name;
    }
    EXPECT_STREQ(f.projection.aggressionChange.c_str(), "0.075000") << c.name;
  }
}

TEST(SecuritySentences, LawlessSpaceLeavesAnyStatusUnchanged) {
  for (const char* status : {"5", "abc", "Empty", "1e300", "nan"}) {
    SCOPED_TRACE(status);
    expectUnchanged(fill(encounter(status, "0.0")).sentences);
  }
}

TEST(SecuritySentences, OtherFlagsDoNotLeaveItUnchanged) {
  for (std::int32_t ScenarioState::*flag : {&ScenarioState::sameAlliance, &ScenarioState::sameGang,
                                            &ScenarioState::flaggedToCorpmate, &ScenarioState::flaggedToGangmate}) {
    ScenarioState s = encounter("5");
    s.*flag = 1;
    EXPECT_FALSE(securityUnchanged(s));
    EXPECT_EQ(fill(s).sentences.aggression.view(),
              "Aggression: Player 1s security would change to 4.925000 - a change of 0.075000");
  }
}

TEST(SecuritySentences, PromptWhenTheStatusWasNotGiven) {
  expectSentences(fill(encounter("Empty")).sentences, kPrompt, kPrompt, kPrompt);
  // Once copied, "Empty" contains the course's status: nothing would change.
  ScenarioState s = encounter("Empty");
  s.sameCorporation = 1;
  expectUnchanged(fill(s).sentences);
}

TEST(SecuritySentences, PromptWhenTheProjectionHasNoValue) {
  for (const char* status : {"nan", "inf", "1e300", "-1e39", "1e23"}) {
    SCOPED_TRACE(status);
    expectSentences(fill(encounter(status)).sentences, kPrompt, kPrompt, kPrompt);
    ScenarioState s = encounter(status);
    s.hasKillrights = 1;
    expectUnchanged(fill(s).sentences);
  }
}

TEST(SecuritySentences, ComparisonIsByContainment) {
  // -10 does not contain -10.000000; -10.000000 does.
  expectSentences(fill(encounter("-10")).sentences,
                  "Aggression: Player 1s security would change to -10.000000 - a change of 0.000000",
                  "Aggression and Shipkill: Player 1s security would change to -10.000000 - a change of 0.000000",
                  "Aggression, Shipkill and Podding: Player 1s security would change to -10.000000 - a change of "
                  "0.000000");
  expectUnchanged(fill(encounter("-10.000000")).sentences);
  expectUnchanged(fill(encounter("-10.0000001")).sentences);
}

TEST(SecuritySentences, LongestPiecesAreNeverCut) {
  const std::string name(29, 'n');
  const Filled f = fill(encounter("-9.95e20", "0.5", name.c_str()));
  ASSERT_EQ(f.projection.usable, 1);
  const std::string status = f.projection.aggressionShipkillPodkillStatus.c_str();
  const std::string change = f.projection.aggressionShipkillPodkillChange.c_str();
  EXPECT_EQ(status.size(), 29u);
  EXPECT_EQ(f.sentences.aggressionShipkillPodkill.view(), "Aggression, Shipkill and Podding: " + name +
                                                              "s security would change to " + status +
                                                              " - a change of " + change);
}

}  // namespace
