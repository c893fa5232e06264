#include "recordings/fileloader.h"

#include "mp4/mp4fileparser.h"
#include "recordings/recordingscan.h"

#include <iterator>
#include <utility>

namespace {

constexpr std::int32_t kNotMp4TypeFile = 287;
constexpr std::int32_t kVideoFileNotFound = 300;

}  // namespace

bool CFileLoader::LoadMetadata(CRecordingInfo& /*recording*/) {
    return false;
}

RecordingList CFileLoader::LoadFiles(const std::vector<std::string>& folders,
                                     const std::vector<std::string>& files) {
    recordings.clear();
    std::vector<std::string> work = files;
    for (const std::string& folder : folders) {
        std::vector<std::string> found = recordingscan::ScanFolder(folder);
        work.insert(work.end(), std::make_move_iterator(found.begin()),
                    std::make_move_iterator(found.end()));
    }

    bool unsupportedSeen = false;
    for (const std::string& path : work) {
        if (!recordingscan::HasRecordingExtension(path)) {
            unsupportedSeen = true;
            continue;
        }
        MP4FileParser parser;
        if (!parser.Open(path)) {
            continue;  // not a recording the reader accepts: skipped without a message
        }
        recordingscan::AddRecording(recordings, path);
    }
    if (unsupportedSeen) {
        ShowMessage(kNotMp4TypeFile);
    }
    if (recordings.empty()) {
        ShowMessage(kVideoFileNotFound);
    }
    recordingscan::SortAndNumber(recordings);
    // The descriptors now belong to the caller.
    return std::exchange(recordings, {});
}
