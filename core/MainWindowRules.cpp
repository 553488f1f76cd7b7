#include "core/MainWindowRules.h"

#include "core/ControlNumbers.h"
#include "core/ConsequenceRules.h"

const TickBox kTickBoxes[9] = {
    {IDC_MAIN_SAME_CORPORATION, &ScenarioState::sameCorporation},
    {IDC_MAIN_SAME_ALLIANCE, &ScenarioState::sameAlliance},
    {IDC_MAIN_SAME_GANG, &ScenarioState::sameGang},
    {IDC_MAIN_WARRING_CORPS, &ScenarioState::warringCorps},
    {IDC_MAIN_CONCORD, &ScenarioState::concordFlag},
    {IDC_MAIN_FLAGGED_TO_PLAYER1, &ScenarioState::flaggedToPlayer1},
    {IDC_MAIN_FLAGGED_TO_CORPMATE, &ScenarioState::flaggedToCorpmate},
    {IDC_MAIN_FLAGGED_TO_GANGMATE, &ScenarioState::flaggedToGangmate},
    {IDC_MAIN_KILLRIGHTS, &ScenarioState::hasKillrights},
};

const int kEditBoxes[4] = {IDC_MAIN_PLAYER1_NAME, IDC_MAIN_PLAYER2_NAME, IDC_MAIN_PLAYER1_STATUS,
                           IDC_MAIN_PLAYER2_STATUS};

namespace {

// A player's controls, fields and default name.
struct Player {
  int nameBox;
  int statusBox;
  NameText ScenarioState::*name;
  StatusText ScenarioState::*status;
  const char* defaultName;
};

const Player kPlayers[2] = {
    {IDC_MAIN_PLAYER1_NAME, IDC_MAIN_PLAYER1_STATUS, &ScenarioState::player1Name,
     &ScenarioState::player1SecurityText, "Player 1"},
    {IDC_MAIN_PLAYER2_NAME, IDC_MAIN_PLAYER2_STATUS, &ScenarioState::player2Name,
     &ScenarioState::player2SecurityText, "Player 2"},
};

// Reads a control into a field; an empty control gives `fallback`. Returns
// false in that case.
template <std::size_t Width>
bool capture(MainWindowControls& controls, int control, FixedText<Width>& field, const char* fallback) {
  ControlText text;
  if (!controls.readText(control, text)) {
    field.assign(fallback);
    return false;
  }
  field.assign(text.view());
  return true;
}

void captureName(MainWindowControls& controls, ScenarioState& s, const Player& p, bool writeBack) {
  if (!capture(controls, p.nameBox, s.*p.name, p.defaultName) && writeBack) {
    controls.writeText(p.nameBox, p.defaultName);
  }
}

void captureScenario(MainWindowControls& controls, ScenarioState& s) {
  capture(controls, IDC_MAIN_LOCATION, s.locationText, kEmptyMarker);
  capture(controls, IDC_MAIN_SYSTEM_SECURITY, s.systemSecurityText, kEmptyMarker);
  for (const TickBox& box : kTickBoxes) s.*box.flag = controls.isTicked(box.control) ? 1 : 0;
  captureName(controls, s, kPlayers[0], true);
  captureName(controls, s, kPlayers[1], true);
  capture(controls, kPlayers[0].statusBox, s.*kPlayers[0].status, kEmptyMarker);
  capture(controls, kPlayers[1].statusBox, s.*kPlayers[1].status, kEmptyMarker);
}

}  // namespace

void fillChoiceLists(MainWindowControls& controls) {
  for (const char* item : kLocationItems) controls.addListItem(IDC_MAIN_LOCATION, item);
  for (const char* item : kSystemSecurityItems) controls.addListItem(IDC_MAIN_SYSTEM_SECURITY, item);
}

const char* calculate(MainWindowControls& controls, Encounter& encounter) {
  ScenarioState& scenario = encounter.scenario;
  resetResults(encounter.results);
  captureScenario(controls, scenario);
  if (scenario.locationText.contains(kEmptyMarker)) return "You need to specify a location";
  if (scenario.systemSecurityText.contains(kEmptyMarker)) return "You need to specify a system security";
  evaluateConsequences(scenario, encounter.results);
  projectSecurity(scenario, encounter.projection);
  return nullptr;
}

void capturePlayer(MainWindowControls& controls, ScenarioState& scenario, std::int32_t player) {
  const Player& p = kPlayers[player == 0 ? 0 : 1];
  capture(controls, p.statusBox, scenario.*p.status, kEmptyMarker);
  captureName(controls, scenario, p, false);
  scenario.statsSubject = player == 0 ? 0 : 1;
}

void clearInputs(MainWindowControls& controls) {
  for (int box : kEditBoxes) controls.writeText(box, "");
  controls.emptyList(IDC_MAIN_LOCATION);
  controls.emptyList(IDC_MAIN_SYSTEM_SECURITY);
  fillChoiceLists(controls);
  for (const TickBox& box : kTickBoxes) controls.untick(box.control);
}
