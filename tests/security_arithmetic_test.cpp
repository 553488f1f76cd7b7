#include "core/SecurityArithmetic.h"

#include <gtest/gtest.h>

#include <string>

namespace {

SecurityProjection project(const char* typed) {
  ScenarioState s;
  s.player1SecurityText.assign(typed);
  SecurityProjection p;
  projectSecurity(s, p);
  return p;
}

// Status and change of the five courses: aggression, shipkill, podkill,
// aggression and shipkill, all three.
struct Projection {
  const char* typed;
  const char* texts[10];
};

void expectProjection(const SecurityProjection& p, const Projection& e) {
  const ProjectionText* fields[10] = {&p.aggressionStatus,
                                      &p.aggressionChange,
                                      &p.shipkillStatus,
                                      &p.shipkillChange,
                                      &p.podkillStatus,
                                      &p.podkillChange,
                                      &p.aggressionShipkillStatus,
                                      &p.aggressionShipkillChange,
                                      &p.aggressionShipkillPodkillStatus,
                                      &p.aggressionShipkillPodkillChange};
  for (int i = 0; i < 10; ++i) {
    if (e.texts[i] != nullptr) {
      EXPECT_STREQ(fields[i]->c_str(), e.texts[i]) << e.typed << " field " << i;
    }
  }
}

TEST(ProjectSecurity, FiveCoursesWithTheirRoundings) {
  const Projection cases[] = {
      {"0", {"-0.050000", "0.050000", "-0.200000", "0.200000", "-1.250000", "1.250000", "-0.249000", "0.249000",
             "-1.467875", "1.467875"}},
      {"5", {"4.925000", "0.075000", "4.700000", "0.300000", "3.125000", "1.875000", "4.626500", "0.373500",
             "2.798188", "2.201812"}},
      {"10", {"9.900000", "0.100000", "9.600000", "0.400000", "7.500000", "2.500000", "9.502000", "0.498000",
              "7.064250", "2.935750"}},
      {"1.5", {"1.442500", "0.057500", nullptr, nullptr, nullptr, nullptr, "1.213650", "0.286350", "-0.188056",
               "1.688056"}},
      {"-10", {"-10.000000", "0.000000", "-10.000000", "0.000000", "-10.000000", "0.000000", "-10.000000",
               "0.000000", "-10.000000", "0.000000"}},
      {"-11", {"-10.995000", "-0.005000", "-10.980000", "-0.020000", "-10.875000", "-0.125000", "-10.975100",
               "-0.024900", "-10.853212", "-0.146788"}},
      // Single-precision roundings show: plain double arithmetic would give
      // 0.002500, -9.982936 and 0.002936.
      {"-9.98", {nullptr, nullptr, nullptr, nullptr, nullptr, "0.002501", nullptr, nullptr, "-9.982935", "0.002935"}},
      // The lone aggression's loss comes from the typed value, not its rounding.
      {"5.680743", {"5.602340", "0.078403"}},
      // 29 characters, the most that a status box holds.
      {"00000000000000000000000000010", {"9.900000", "0.100000"}},
      {"Empty", {"-0.050000", "0.050000", "-0.200000", "0.200000", "-1.250000", "1.250000", "-0.249000", "0.249000",
                 "-1.467875", "1.467875"}},
      {"abc", {"-0.050000", "0.050000", nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, "-1.467875", "1.467875"}},
  };
  for (const Projection& c : cases) {
    const SecurityProjection p = project(c.typed);
    EXPECT_EQ(p.usable, 1) << c.typed;
    expectProjection(p, c);
  }
}

TEST(ProjectSecurity, StatusWithoutUsableValueLeavesNoNumber) {
  // Not finite, beyond single precision, or too long for a field of 29; the
  // last two only in the lone aggression's status, every other text fits.
  for (const char* typed :
       {"nan", "inf", "-infinity", "1e300", "-1e39", "3.4028235e38", "1e23", "-1e22", "1.008e22", "-1.008e21"}) {
    const SecurityProjection p = project(typed);
    EXPECT_EQ(p.usable, 0) << typed;
    expectProjection(p, {typed, {"", "", "", "", "", "", "", "", "", ""}});
  }
}

TEST(ProjectSecurity, HugeStatusWhoseTextsFitIsProjected) {
  const SecurityProjection p = project("1e20");
  EXPECT_EQ(p.usable, 1);
  EXPECT_STREQ(p.aggressionStatus.c_str(), "99500002011934359552.000000");
}

TEST(ProjectSecurity, RewritesEveryFieldEachTime) {
  ScenarioState s;
  SecurityProjection p;
  s.player1SecurityText.assign("1e30");
  projectSecurity(s, p);
  s.player1SecurityText.assign("5");
  projectSecurity(s, p);
  EXPECT_EQ(p.usable, 1);
  expectProjection(p, {"5", {"4.925000", "0.075000", "4.700000", "0.300000", "3.125000", "1.875000", "4.626500",
                             "0.373500", "2.798188", "2.201812"}});
}

TEST(SecurityLoss, VanishesAtMinusTenAndTurnsNegativeBelow) {
  for (SecurityAct act : {SecurityAct::Aggression, SecurityAct::Shipkill, SecurityAct::Podkill}) {
    EXPECT_EQ(securityLoss(act, -10.0), 0.0f);
    EXPECT_LT(securityLoss(act, -11.0), 0.0f);
    EXPECT_EQ(applySecurityAct(act, -10.0), -10.0);
  }
  EXPECT_EQ(securityLoss(SecurityAct::Aggression, 10.0), 0.1f);
  EXPECT_EQ(securityLoss(SecurityAct::Shipkill, 10.0), 0.4f);
  EXPECT_EQ(securityLoss(SecurityAct::Podkill, 10.0), 2.5f);
}

}  // namespace
