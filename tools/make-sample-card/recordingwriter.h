#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

// One track of a recording as the recorder writes it: time scale 1000, one sample per chunk.
struct RecordingTrack {
    enum class Kind { Video, Metadata };

    Kind kind = Kind::Video;
    // Video: the complete stsd box of the encoded stream. Metadata: unused (the recorder's own
    // sample description is written).
    std::span<const std::uint8_t> sampleDescription;
    std::vector<std::span<const std::uint8_t>> samples;  // in decode order
    std::vector<std::uint32_t> durations;                // milliseconds, one per sample
    // Every sample has the size of the first: the size table holds one size and no entries.
    bool constantSize = false;
    // Video only: sample 1, 31, 61, ... are sync samples.
    std::uint32_t syncInterval = 30;
    int width = 0;
    int height = 0;
};

// Writes an MP4 file in the recorder's layout: ftyp, mdat, moov{mvhd, iods, trak...}, each trak
// {tkhd, mdia{mdhd, hdlr, minf{vmhd or nmhd, dinf, stbl}}} with stbl last, version 0 headers,
// the samples interleaved in the order they end (video before metadata at equal times) behind
// 28 bytes of leading data in mdat. `created` is the recording's start, in seconds since 1970.
bool WriteRecording(const std::filesystem::path& path, std::span<const RecordingTrack> tracks,
                    std::int64_t created, std::string& error);
