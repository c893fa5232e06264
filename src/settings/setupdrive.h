#pragma once

#include <QString>

#include <functional>
#include <vector>

// A mounted volume that may hold the recorder's card: the settings dialog's drive list.
struct SetupDrive {
    QString rootPath;  // mount point; the settings file lives in its "setting" folder
    QString label;     // volume label, may be empty
    QString device;    // block device such as /dev/sdb1; empty when none is known
    bool removable = false;

    // "LABEL (/media/user/LABEL)", or the mount point alone for a volume without a label.
    QString DisplayText() const;
};

using DriveProvider = std::function<std::vector<SetupDrive>()>;

// The mounted volumes backed by a block device, removable ones first, each group ordered by
// mount point. Optical discs and read-only images (squashfs) are left out, as are pseudo file
// systems.
std::vector<SetupDrive> ListMountedDrives();

// Whether the kernel reports the block device (or the disk a partition belongs to) as
// removable media. SD cards in a built-in reader ("mmcblk") count as removable even though
// their slot reports a fixed disk.
bool IsRemovableBlockDevice(const QString& device);
