#include "core/Encounter.h"

Encounter theEncounter;
