#pragma once

#include <cstdint>

#include "core/FixedText.h"

using NameText = FixedText<30>;
using ChoiceText = FixedText<70>;
using StatusText = FixedText<30>;

// The empty marker, stored for a list or security status box left empty and
// recognised wherever it occurs in a text.
inline constexpr const char* kEmptyMarker = "Empty";

// The encounter as the main window captured it. Flags are 1 when their
// tick-box was ticked at the last capture and 0 when not.
struct ScenarioState {
  NameText player1Name;
  NameText player2Name;
  ChoiceText locationText;
  ChoiceText systemSecurityText;
  StatusText player1SecurityText;
  StatusText player2SecurityText;
  std::int32_t sameCorporation = 0;
  std::int32_t sameAlliance = 0;
  std::int32_t sameGang = 0;
  std::int32_t warringCorps = 0;
  std::int32_t concordFlag = 0;
  std::int32_t flaggedToPlayer1 = 0;
  std::int32_t flaggedToCorpmate = 0;
  std::int32_t flaggedToGangmate = 0;
  std::int32_t hasKillrights = 0;
  std::int32_t statsSubject = 0;  // 0: player 1, 1: player 2
};
