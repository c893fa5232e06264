#pragma once

#include <memory>

#include "settings/cardformatter.h"
#include "settings/setupdrive.h"
#include "settings/setupprompt.h"
#include "settings/tarsensetupdata.h"

// What the settings dialog takes from the system: the drives, the card formatter, the
// user's answers and the clock. Standard() gives the real ones; tests replace any of them.
struct SetupServices {
    DriveProvider listDrives;
    CardFormatter formatCard;
    std::shared_ptr<ISetupPrompt> prompt;
    LocalClock clock;

    static SetupServices Standard();
};
