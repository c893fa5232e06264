#pragma once

#include <functional>

#include "settings/setupdrive.h"

// How a request to format a card ended. The formatting itself, with its own confirmation and
// progress, belongs to the desktop's disk utility.
enum class FormatLaunch {
    Started,  // the disk utility was opened on the card's device
    NoTool,   // no disk utility is installed
    Failed,   // the utility could not be started, or the drive has no block device
};

using CardFormatter = std::function<FormatLaunch(const SetupDrive& drive)>;

// Opens GNOME Disks at the format dialog of the drive's device, when it is installed.
FormatLaunch LaunchDiskUtility(const SetupDrive& drive);
