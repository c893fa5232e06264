#include "mp4/mp4fileloader.h"

#include "app/logwriter.h"
#include "mp4/metadatadecoder.h"

#include <system_error>

namespace {

constexpr const char* kClassName = "MP4FileLoader";
constexpr const char* kMethodName = "GetMetadataFromMP4File";

}  // namespace

bool MP4FileLoader::LoadMetadata(CRecordingInfo& recording) {
    return GetMetadataFromMP4File(recording);
}

bool MP4FileLoader::GetMetadataFromMP4File(CRecordingInfo& recording) {
    if (recording.metadataLoaded) {
        return true;
    }
    std::error_code error;
    if (!std::filesystem::exists(recording.path, error)) {
        lastError_ = "No such file: " + recording.path;
        return false;
    }
    if (!parser.Open(recording.path)) {
        lastError_ = parser.LastError();
        return false;
    }
    return ReadOpenFile(recording);
}

bool MP4FileLoader::GetMetadataFromSource(std::unique_ptr<ByteSource> source,
                                          CRecordingInfo& recording) {
    if (recording.metadataLoaded) {
        return true;
    }
    if (!parser.OpenSource(std::move(source))) {
        lastError_ = parser.LastError();
        return false;
    }
    return ReadOpenFile(recording);
}

bool MP4FileLoader::ReadOpenFile(CRecordingInfo& recording) {
    // The duration of the first track header (version 0 layout), in milliseconds whatever the
    // movie's time scale; unsigned, as the field is. No track header: no duration.
    NodeList trackHeaders;
    parser.FindNodes(trackHeaders, "tkhd");
    const std::optional<std::uint32_t> duration =
        trackHeaders.empty() ? std::nullopt : parser.ReadInt32(trackHeaders.front()->offset + 28);
    recording.durationSeconds = static_cast<std::int32_t>(duration.value_or(0) / 1000);

    WriteLog(kClassName, kMethodName, "Meta Data Parse Start!");
    metadata::DecodeMetadataTrack(parser, recording);
    WriteLog(kClassName, kMethodName, "Meta Data Parse end!");
    recording.metadataLoaded = true;

    NodeList videoHeaders;
    parser.FindNodes(videoHeaders, "vmhd");
    recording.videoTrackCount = static_cast<std::int32_t>(videoHeaders.size());

    // The chunk count of the last track that holds video anywhere below it.
    recording.videoChunkCount = -1;
    NodeList tracks;
    parser.FindNodes(tracks, "trak");
    for (const FileNode* track : tracks) {
        if (parser.FindNodesBelow(*track, "vmhd").empty()) {
            continue;
        }
        const NodeList chunkOffsets = parser.FindNodesBelow(*track, "stco");
        if (chunkOffsets.empty()) {
            continue;
        }
        if (const auto count = parser.ReadInt32(chunkOffsets.front()->offset + 12)) {
            recording.videoChunkCount = static_cast<std::int32_t>(*count);
        }
    }
    if (recording.videoChunkCount == 0) {
        lastError_ = "The video track has no chunks";
        return false;
    }
    return true;
}
