#pragma once

#include "core/FixedText.h"
#include "core/ScenarioState.h"

// Security statuses are held in single precision; every computation between
// two roundings runs in double precision.
enum class SecurityAct { Aggression, Shipkill, Podkill };

// The loss of one act at status x, computed from x unrounded in double
// precision and rounded to single precision: (x + 10) / 100 / 2 for an
// aggression, (x + 10) / 100 * 2 for a shipkill, (x + 10) / 8 for a podkill.
float securityLoss(SecurityAct act, double x);

// The status after one act at x: x rounded to single precision, less the
// act's loss at x; the result is left unrounded, for the next act of a chain.
double applySecurityAct(SecurityAct act, double x);

// Rounds to single precision and widens back.
inline double roundToSingle(double x) { return static_cast<double>(static_cast<float>(x)); }

using ProjectionText = FixedText<30>;

// Player 1's status after five courses of events and the change each means
// (old status less new), as "%f" texts. `usable` is 0, and every text empty,
// when a course does not give a finite number or a text would not fit.
struct SecurityProjection {
  ProjectionText aggressionStatus;
  ProjectionText shipkillStatus;
  ProjectionText podkillStatus;
  ProjectionText aggressionShipkillStatus;
  ProjectionText aggressionShipkillPodkillStatus;
  ProjectionText aggressionChange;
  ProjectionText shipkillChange;
  ProjectionText podkillChange;
  ProjectionText aggressionShipkillChange;
  ProjectionText aggressionShipkillPodkillChange;
  std::int32_t usable = 0;
};

// Reads player 1's security text (no number reads as 0) and rewrites every
// field of the projection: an aggression, a shipkill, a podkill, an aggression
// and a shipkill, and all three in that order.
void projectSecurity(const ScenarioState& scenario, SecurityProjection& projection);
