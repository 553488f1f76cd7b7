#pragma once

#include <cstdint>

#include "core/FixedText.h"

// Wide enough for the longest composition: the second line of the Concord
// flag override with three names of 29 characters is 183 characters.
using ResultLine = FixedText<184>;

// The lines of text and the verdict that the rules give for one encounter.
struct ResultSet {
  ResultLine resultLine1;
  ResultLine resultLine2;
  ResultLine resultLine3;
  ResultLine resultLine4;
  std::int32_t verdict = 0;  // 0: attack without sanction (tick), 1: consequences (cross)
};
