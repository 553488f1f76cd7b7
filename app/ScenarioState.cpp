#include "app/ScenarioState.h"

ScenarioState theScenario;
