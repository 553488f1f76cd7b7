#include "core/SecurityArithmetic.h"

#include "core/NumberText.h"

float securityLoss(SecurityAct act, double x) {
  double loss = x + 10.0;
  switch (act) {
    case SecurityAct::Aggression:
      loss = loss / 100.0 / 2.0;
      break;
    case SecurityAct::Shipkill:
      loss = loss / 100.0 * 2.0;
      break;
    case SecurityAct::Podkill:
      loss = loss / 8.0;
      break;
  }
  return static_cast<float>(loss);
}

double applySecurityAct(SecurityAct act, double x) {
  const float loss = securityLoss(act, x);
  return roundToSingle(x) - static_cast<double>(loss);
}

namespace {

struct Course {
  double status;  // unrounded, as the last act left it
  double change;
};

Course runCourse(double start, double roundedStart, std::initializer_list<SecurityAct> acts) {
  double x = start;
  for (SecurityAct act : acts) x = applySecurityAct(act, x);
  return {x, roundedStart - roundToSingle(x)};
}

bool writeCourse(const Course& course, ProjectionText& status, ProjectionText& change) {
  const bool statusWritten = writeFixed6(course.status, status);
  const bool changeWritten = writeFixed6(course.change, change);
  return statusWritten && changeWritten;
}

}  // namespace

void projectSecurity(const ScenarioState& scenario, SecurityProjection& p) {
  const double v = parseDecimalText(scenario.player1SecurityText.c_str());
  const double s = roundToSingle(v);
  using A = SecurityAct;
  // The lone aggression computes its loss from the typed value itself; every
  // other course starts from its single-precision rounding.
  bool usable = writeCourse(runCourse(v, s, {A::Aggression}), p.aggressionStatus, p.aggressionChange);
  usable = writeCourse(runCourse(s, s, {A::Shipkill}), p.shipkillStatus, p.shipkillChange) && usable;
  usable = writeCourse(runCourse(s, s, {A::Podkill}), p.podkillStatus, p.podkillChange) && usable;
  usable = writeCourse(runCourse(s, s, {A::Aggression, A::Shipkill}), p.aggressionShipkillStatus,
                       p.aggressionShipkillChange) &&
           usable;
  usable = writeCourse(runCourse(s, s, {A::Aggression, A::Shipkill, A::Podkill}), p.aggressionShipkillPodkillStatus,
                       p.aggressionShipkillPodkillChange) &&
           usable;
  p.usable = usable ? 1 : 0;
  if (!usable) {
    // No field may hold a number that belongs to a projection without value.
    for (ProjectionText* field : {&p.aggressionStatus, &p.shipkillStatus, &p.podkillStatus,
                                  &p.aggressionShipkillStatus, &p.aggressionShipkillPodkillStatus,
                                  &p.aggressionChange, &p.shipkillChange, &p.podkillChange,
                                  &p.aggressionShipkillChange, &p.aggressionShipkillPodkillChange}) {
      field->clear();
    }
  }
}
