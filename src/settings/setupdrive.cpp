#include "settings/setupdrive.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>

#include <algorithm>

namespace {

bool ReadsOne(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.readAll().trimmed() == "1";
}

bool IsCardVolume(const QStorageInfo& volume) {
    static const QList<QByteArray> kExcludedTypes = {"iso9660", "udf", "squashfs"};
    return volume.isValid() && volume.isReady() && volume.device().startsWith("/dev/") &&
           !kExcludedTypes.contains(volume.fileSystemType()) &&
           QFileInfo(volume.rootPath()).isDir();
}

}  // namespace

QString SetupDrive::DisplayText() const {
    return label.isEmpty() ? rootPath : label + " (" + rootPath + ")";
}

bool IsRemovableBlockDevice(const QString& device) {
    const QString name = QFileInfo(QFileInfo(device).canonicalFilePath()).fileName();
    if (name.isEmpty()) {
        return false;
    }
    if (name.startsWith("mmcblk")) {
        return true;
    }
    // /sys/class/block/sdb1 links to .../block/sdb/sdb1; a partition has no "removable" of its
    // own, its disk (the parent folder) has.
    const QString node = QFileInfo("/sys/class/block/" + name).canonicalFilePath();
    if (node.isEmpty()) {
        return false;
    }
    if (QFileInfo::exists(node + "/partition")) {
        return ReadsOne(QFileInfo(node).path() + "/removable");
    }
    return ReadsOne(node + "/removable");
}

std::vector<SetupDrive> ListMountedDrives() {
    std::vector<SetupDrive> drives;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (!IsCardVolume(volume)) {
            continue;
        }
        SetupDrive drive;
        drive.rootPath = volume.rootPath();
        drive.label = volume.name();
        drive.device = QString::fromLocal8Bit(volume.device());
        drive.removable = IsRemovableBlockDevice(drive.device);
        drives.push_back(drive);
    }
    std::stable_sort(drives.begin(), drives.end(), [](const SetupDrive& a, const SetupDrive& b) {
        if (a.removable != b.removable) {
            return a.removable;
        }
        return a.rootPath < b.rootPath;
    });
    return drives;
}
