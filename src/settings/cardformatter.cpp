#include "settings/cardformatter.h"

#include <QProcess>
#include <QStandardPaths>

FormatLaunch LaunchDiskUtility(const SetupDrive& drive) {
    const QString program = QStandardPaths::findExecutable("gnome-disks");
    if (program.isEmpty()) {
        return FormatLaunch::NoTool;
    }
    if (drive.device.isEmpty()) {
        return FormatLaunch::Failed;
    }
    const bool started =
        QProcess::startDetached(program, {"--block-device", drive.device, "--format-device"});
    return started ? FormatLaunch::Started : FormatLaunch::Failed;
}
