#include "settings/setupservices.h"

SetupServices SetupServices::Standard() {
    return SetupServices{ListMountedDrives, LaunchDiskUtility, std::make_shared<MessageBoxPrompt>(),
                         SystemLocalTime};
}
