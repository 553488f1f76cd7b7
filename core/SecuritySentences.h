#pragma once

#include "core/FixedText.h"
#include "core/ScenarioState.h"
#include "core/SecurityArithmetic.h"

// Wide enough for the longest sentence: the podding prefix with a name, a
// status and a change of 29 characters each.
using SecuritySentence = FixedText<164>;

// The three sentences of the Results window on player 1's security status.
struct SecuritySentences {
  SecuritySentence aggression;
  SecuritySentence aggressionShipkill;
  SecuritySentence aggressionShipkillPodkill;
};

// True when the encounter leaves player 1's security untouched: lawless
// space, the same corporation, warring corporations, player 2 flagged to
// Concord or to player 1, or kill rights on player 2.
bool securityUnchanged(const ScenarioState& scenario);

// When the encounter leaves player 1's security untouched, overwrites the five
// status fields of the projection with player 1's typed status; otherwise
// leaves the projection as it is.
void markSecurityUnchanged(const ScenarioState& scenario, SecurityProjection& projection);

// Composes the three sentences from a projection that markSecurityUnchanged
// has seen: "would not change" when the typed status contains the last
// course's status, the prompt for a status that was not given or has no usable
// projection, and the new status with its change otherwise.
void composeSecuritySentences(const ScenarioState& scenario, const SecurityProjection& projection,
                              SecuritySentences& sentences);
