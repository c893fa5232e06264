#pragma once

#include "mp4/bytesource.h"
#include "mp4/mp4fileparser.h"
#include "recordings/fileloader.h"

#include <memory>
#include <string>

// Reads the metadata of the recorder's MP4 recordings: duration, video tracks and the GPS and
// G-sensor samples of the metadata track. One loader serves one read (the playlist makes a new
// one each time); it is used by one thread at a time.
class MP4FileLoader : public CFileLoader {
public:
    MP4FileLoader() = default;

    bool LoadMetadata(CRecordingInfo& recording) override;

    // Fills the metadata fields of `recording` from its file, once: a descriptor whose metadata
    // is loaded is returned as is. False when the file is missing or refused (the descriptor
    // is then unchanged and a later call tries again) or when the last video track has no
    // chunks; true otherwise, also for a file without video or without a metadata track.
    bool GetMetadataFromMP4File(CRecordingInfo& recording);
    // The same read over bytes that do not come from `recording.path` (tests and fuzzing).
    bool GetMetadataFromSource(std::unique_ptr<ByteSource> source, CRecordingInfo& recording);

    // Why the last read returned false.
    const std::string& LastError() const { return lastError_; }

private:
    bool ReadOpenFile(CRecordingInfo& recording);

    MP4FileParser parser;
    std::string lastError_;
};
