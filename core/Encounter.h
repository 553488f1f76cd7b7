#pragma once

#include "core/ResultSet.h"
#include "core/ScenarioState.h"
#include "core/SecurityArithmetic.h"

// The three records of the running program, zero at start and never
// allocated: the scenario, written only by the main window's captures; the
// result lines and verdict, written by the rules and emptied at the start of
// every Calculate; player 1's projection, written on every accepted
// Calculate and partly overwritten when the Results window opens.
struct Encounter {
  ScenarioState scenario;
  ResultSet results;
  SecurityProjection projection;
};

// The program's one encounter: the main window's commands write it, the
// Results and statistics windows read it through their texts.
extern Encounter theEncounter;
