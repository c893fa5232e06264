#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "recordings/fileloader.h"
#include "recordings/recordinginfo.h"

// The recorder's naming rules and the folder walk that finds its recordings.
//
// A recording's name is cut into tokens at every '_' (empty tokens dropped, the extension stays
// on the last token). The first token may be a marker: "REC", "EVT", "PRK", "MDI", "PAK" or
// "EVS". The names carry the start time (REC_2012_03_04_05_06_07.mp4, EVT_20120304_050607_F.mp4,
// 20120304_050607_1.mp4, 120304_050607_1.mp4) and, through their letters, the kind.
namespace recordingscan {

// True when the last three characters are exactly "mp4" (lowercase).
bool HasRecordingExtension(std::string_view name);

// The paths below `folder` whose names pass HasRecordingExtension, depth first in the order the
// file system lists the entries. Directories whose name contains a '.' count as file entries.
// Every folder is entered once, however many links lead to it, so link cycles end; folders that
// cannot be read are passed over.
std::vector<std::string> ScanFolder(const std::filesystem::path& folder);

// The start time that the file name tells, if it tells a valid date and time of day.
std::optional<DateTime> ParseNameTime(std::string_view fileName);
// The start time of the recording at `path`: from its name, else the file's last-write time in
// local time. A file whose time cannot be read dates from DateTime{} (30 Dec 1899, 00:00:00),
// so it sorts first.
DateTime ParseRecordingTime(const std::filesystem::path& path);

// The kind told by the name's letters and marker; the extension is not looked at.
RecordingType ClassifyRecording(std::string_view fileName);

// How a dropped name is taken: as a folder when it is an existing directory (a mount point
// included) or when its path has no '.' except as the first character; as a file otherwise.
bool IsDroppedFolder(const std::string& path);

// Appends a descriptor for `path` to `recordings` when a file exists there.
void AddRecording(RecordingList& recordings, const std::string& path);

// Orders oldest first, keeping the order of recordings with equal start times, and numbers the
// rows from 1.
void SortAndNumber(RecordingList& recordings);

}  // namespace recordingscan
