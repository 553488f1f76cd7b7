#include "core/ScenarioState.h"

ScenarioState theScenario;
