#pragma once

#include "core/ScenarioState.h"
#include "core/ResultSet.h"

enum class SecurityBand { HighSec, LowSec, NullSec };

// The band of a system security text, by the first band one of whose values
// the text contains: high (1.0 to 0.5), then low (0.4 to 0.1), else null.
SecurityBand classifySecurityBand(const ChoiceText& systemSecurityText);

// Empties the four result lines; the verdict stays as it was.
void resetResults(ResultSet& results);

// Writes the consequences of player 1 attacking player 2: the base outcome of
// the system's band, location and corporation, then the overrides that make
// player 2 a legal target, the last that holds deciding. Always sets the verdict.
void evaluateConsequences(const ScenarioState& scenario, ResultSet& results);
